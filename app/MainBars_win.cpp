// The main window's bars: the rebar with the property bar, the search bar and
// the play bar, the six-part status bar, their layout, tool tips and the
// view button's drop-down.
#include <windows.h>

#include <commctrl.h>

#include "app/MainWindow_win.h"
#include "app/PlayPalette_win.h"
#include "app/SearchBar_win.h"
#include "core/CommandIds.h"
#include "ui/framework/Dpi_win.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/rules/MainWindowRules.h"

static const int kRebarId = 10;
static const int kStatusBarId = 20;
static const int kBandHeight = 22;  // 96-DPI pixels, the bands' minimum child height
static const COLORREF kImageMask = RGB(0xC0, 0xC0, 0xC0);
static const int kToolImageCount = 20;
static const int kToolImageSide = 16;  // 96-DPI pixels

struct ToolTipRow {
    int command;
    const char* text;
};

static const ToolTipRow kToolTips[] = {
    {kCmdProperties, "プロパティ"},
    {kCmdShellProperties, "シェルのプロパティ"},
    {kCmdEditSong, "MIDI/Audioファイルを編集"},
    {kCmdEditWrd, "WRDファイルを編集"},
    {kCmdEditDocument, "ドキュメントファイルを編集"},
    {kCmdViewButton, "表示"},
    {kCmdPlay, "演奏"},
    {kCmdPlaySequential, "順次演奏"},
    {kCmdPlayRandom, "ランダム演奏"},
    {kCmdPlayRepeat, "リピート演奏"},
    {kCmdPause, "一時停止"},
    {kCmdStop, "停止"},
    {kCmdPrevious, "前に戻る"},
    {kCmdNext, "次に進む"},
    {kCmdBarSearchUp, "上方向に検索"},
    {kCmdBarSearchDown, "下方向に検索"},
    {kCmdBarSelect, "選択"},
    {kCmdBarNarrow, "絞り込み"},
    {kCmdBarWiden, "絞り込みを解除"},
};

// A button: its command and image, or a separator (command 0).
struct ButtonRow {
    int command;
    int image;
    BYTE style;
};

static const ButtonRow kPropertyButtons[] = {
    {kCmdProperties, 9, BTNS_BUTTON},
    {kCmdShellProperties, 10, BTNS_BUTTON},
    {0, 0, BTNS_SEP},
    {kCmdEditSong, 11, BTNS_BUTTON},
    {kCmdEditWrd, 12, BTNS_BUTTON},
    {kCmdEditDocument, 13, BTNS_BUTTON},
    {0, 0, BTNS_SEP},
    {kCmdViewButton, 14, BTNS_DROPDOWN},
};

static const ButtonRow kPlayButtons[] = {
    {kCmdPlay, 0, BTNS_BUTTON},       {kCmdPlaySequential, 1, BTNS_BUTTON}, {kCmdPlayRandom, 2, BTNS_BUTTON},
    {kCmdPlayRepeat, 3, BTNS_BUTTON}, {kCmdPlayCancel, 4, BTNS_BUTTON},     {0, 0, BTNS_SEP},
    {kCmdPause, 5, BTNS_BUTTON},      {kCmdStop, 6, BTNS_BUTTON},           {kCmdPrevious, 7, BTNS_BUTTON},
    {kCmdNext, 8, BTNS_BUTTON},
};

template <size_t N>
static void AddButtons(SToolBar* bar, const ButtonRow (&rows)[N]) {
    TBBUTTON buttons[N] = {};
    for (size_t i = 0; i < N; ++i) {
        buttons[i].iBitmap = rows[i].command ? rows[i].image : 0;
        buttons[i].idCommand = rows[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = rows[i].style;
    }
    bar->AddButtons(int(N), buttons);
}

// A flat tool bar with tool tips whose notifications go to notify.
static std::unique_ptr<SToolBar> MakeToolBar(SWindow* parent, int id, HWND notify, HIMAGELIST images) {
    auto bar = std::make_unique<SToolBar>(
        parent, id, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN);
    if (!bar->Create()) {
        return nullptr;
    }
    bar->SetButtonStructSize();
    bar->Send(TB_SETPARENT, reinterpret_cast<WPARAM>(notify), 0);
    bar->Send(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    bar->SetImageList(images);
    return bar;
}

bool MakeToolImages(SImageList* images, HBITMAP strip, int dpi) {
    return images->CreateFromStrip(strip, kToolImageSide, kToolImageCount, kImageMask, dpi);
}

std::unique_ptr<SToolBar> MakePaletteToolBar(SWindow* parent, HWND notify, HIMAGELIST images, bool vertical) {
    static const ButtonRow kPaletteButtons[] = {
        {kCmdProperties, 9, BTNS_BUTTON},
        {kCmdShellProperties, 10, BTNS_BUTTON},
        {0, 0, BTNS_SEP},
        {kCmdEditDocument, 13, BTNS_BUTTON},
        {0, 0, BTNS_SEP},
        {kCmdPlay, 0, BTNS_BUTTON},
        {kCmdPlaySequential, 1, BTNS_BUTTON},
        {kCmdPlayRandom, 2, BTNS_BUTTON},
        {kCmdPlayRepeat, 3, BTNS_BUTTON},
        {kCmdPlayCancel, 4, BTNS_BUTTON},
        {0, 0, BTNS_SEP},
        {kCmdPause, 5, BTNS_BUTTON},
        {kCmdStop, 6, BTNS_BUTTON},
        {kCmdPrevious, 7, BTNS_BUTTON},
        {kCmdNext, 8, BTNS_BUTTON},
    };
    auto bar = MakeToolBar(parent, 1, notify, images);
    if (!bar) {
        return nullptr;
    }
    if (vertical) {
        bar->SetStyle(WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE |
                          CCS_NOPARENTALIGN | CCS_VERT | TBSTYLE_WRAPABLE,
                      0);
    }
    AddButtons(bar.get(), kPaletteButtons);
    return bar;
}

bool MainWindow::CreateBars() {
    MakeToolImages(&images_, toolBitmap_, dpi_);
    rebar_ = std::make_unique<SReBar>(
        this, kRebarId, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP);
    if (!rebar_->Create()) {
        rebar_.reset();
        return false;
    }
    REBARINFO info = {sizeof info, 0, nullptr};
    rebar_->Send(RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));
    toolBars_[0] = MakeToolBar(rebar_.get(), 11, Handle(), images_.Handle());
    if (toolBars_[0]) {
        AddButtons(toolBars_[0].get(), kPropertyButtons);
    }
    toolBars_[1] = MakeToolBar(rebar_.get(), 13, Handle(), images_.Handle());
    if (toolBars_[1]) {
        AddButtons(toolBars_[1].get(), kPlayButtons);
    }
    searchBar_ = std::make_unique<SearchBar>(rebar_.get(), this);
    if (!searchBar_->Create()) {
        searchBar_.reset();
    }
    InsertBands();
    return true;
}

void MainWindow::DestroyBars() {
    toolBars_[0].reset();
    toolBars_[1].reset();
    searchBar_.reset();
    if (rebar_ && rebar_->Handle()) {
        DestroyWindow(rebar_->Handle());
    }
    rebar_.reset();
}

void MainWindow::InsertBands() {
    for (const RebarBand& band : placement.bands) {
        HWND child = nullptr;
        if (band.id == 1 && toolBars_[0]) {
            child = toolBars_[0]->Handle();
        } else if (band.id == 2 && searchBar_) {
            child = searchBar_->Handle();
        } else if (band.id == 3 && toolBars_[1]) {
            child = toolBars_[1]->Handle();
        }
        if (!child) {
            continue;
        }
        SIZE size = {};
        SendMessageA(child, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
        REBARBANDINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
        info.fStyle =
            RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE | (band.show ? 0 : RBBS_HIDDEN) | (band.breakLine ? RBBS_BREAK : 0);
        info.hwndChild = child;
        info.cxMinChild = band.id == 2 ? 0 : UINT(size.cx);
        info.cyMinChild = UINT(ScaleFromBase(kBandHeight, dpi_));
        // Stored band widths are 96-DPI lengths, like every stored width.
        info.cx = UINT(ScaleFromBase(int(band.cx), dpi_));
        info.wID = band.id;
        rebar_->InsertBand(-1, &info);
        // A band inserted hidden keeps its tool bar on show over the others;
        // hiding the band through the rebar hides the bar too.
        if (!band.show) {
            rebar_->ShowBand(rebar_->GetBandCount() - 1, false);
        }
    }
}

void MainWindow::ReadBandLayout() {
    if (!rebar_) {
        return;
    }
    const int count = rebar_->GetBandCount();
    for (int i = 0; i < count && i < kMainBandCount; ++i) {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        if (rebar_->GetBandInfo(i, &info)) {
            placement.bands[i] = {info.wID, uint32_t(ScaleToBase(int(info.cx), dpi_)), !(info.fStyle & RBBS_HIDDEN),
                                  (info.fStyle & RBBS_BREAK) != 0};
        }
    }
}

void MainWindow::CreateStatusBar() {
    statusBar_ = std::make_unique<SStatusBar>(this, kStatusBarId, SBARS_SIZEGRIP | CCS_BOTTOM);
    if (!statusBar_->Create()) {
        statusBar_.reset();
        return;
    }
    LayOutStatusParts();
    if (!placement.showStatusBar) {
        statusBar_->Show(SW_HIDE);
    }
}

void MainWindow::LayOutStatusParts() {
    if (!statusBar_) {
        return;
    }
    const RECT r = statusBar_->ClientRect();
    int edges[kStatusPartCount];
    StatusPartEdges(r.right - r.left, SystemMetricAt(SM_CXVSCROLL, dpi_), dpi_, edges);
    statusBar_->SetParts(kStatusPartCount, edges);
    statusBar_->Send(SB_SETTEXTA, 5 | SBT_OWNERDRAW, 0);
}

void MainWindow::LayOut() {
    const RECT client = ClientRect();
    int top = 0;
    int bottom = client.bottom;
    if (rebar_) {
        rebar_->Send(WM_SIZE, 0, 0);
        const RECT r = rebar_->WindowRect();
        top = r.bottom - r.top;
    }
    if (statusBar_ && placement.showStatusBar) {
        statusBar_->Send(WM_SIZE, 0, 0);
        const RECT r = statusBar_->WindowRect();
        bottom -= r.bottom - r.top;
        LayOutStatusParts();
    }
    if (client_ && client_->Handle()) {
        client_->Move(0, top, client.right, bottom > top ? bottom - top : 0, true);
    }
}

void MainWindow::OnSize(MessageContext& m) {
    SWindow::OnSize(m);
    const int state = m.wParam == SIZE_MINIMIZED ? 1 : m.wParam == SIZE_MAXIMIZED ? 2 : 0;
    const int previous = sizeState_;
    sizeState_ = state;
    if (state == 1 && previous != 1) {
        OnMinimized();
    } else if (state != 1 && previous == 1) {
        OnRestoredFromMinimized();
    }
    if (state != 1) {
        windowStateToRestore = state;
        LayOut();
    }
    UpdateTitle();
}

int MainWindow::Dpi() const {
    return dpi_;
}

// Moved to a screen of another density: the bars are made again at the new
// scale with the bands where the user left them, the panes rescale, and the
// frame takes the rectangle the system suggests.
void MainWindow::OnDpiChanged(MessageContext& m) {
    const int dpi = LOWORD(m.wParam);
    if (dpi <= 0 || dpi == dpi_) {
        return;
    }
    const int previous = dpi_;
    ReadBandLayout();
    dpi_ = dpi;
    DestroyBars();
    CreateBars();
    if (client_) {
        client_->RescaleForDpi(previous, dpi);
    }
    RescalePaneFonts(previous, dpi);
    MoveToSuggestedRect(Handle(), m.lParam);
    LayOut();
    m.handled = 1;
}

// The controls keep the font they were made with; after a move they get it
// again at the new density, and the font they had before is let go.
void MainWindow::RescalePaneFonts(int previous, int dpi) {
    const HWND panes[3] = {StatusBarHandle(), client_ ? client_->TreeHandle() : nullptr,
                           client_ ? client_->ListHandle() : nullptr};
    for (int i = 0; i < 3; ++i) {
        HFONT font = panes[i] ? RescaledFont(panes[i], previous, dpi) : nullptr;
        if (!font) {
            continue;
        }
        SendMessageA(panes[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        if (paneFonts_[i]) {
            DeleteObject(paneFonts_[i]);
        }
        paneFonts_[i] = font;
    }
}

bool MainWindow::BandShown(uint32_t bandId) {
    if (!rebar_) {
        return false;
    }
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE;
    const int index = rebar_->IdToIndex(bandId);
    return index >= 0 && rebar_->GetBandInfo(index, &info) && !(info.fStyle & RBBS_HIDDEN);
}

void MainWindow::ToggleBand(uint32_t bandId) {
    if (!rebar_) {
        return;
    }
    const int index = rebar_->IdToIndex(bandId);
    if (index >= 0) {
        rebar_->ShowBand(index, !BandShown(bandId));
    }
    LayOut();
}

void MainWindow::ResetBands() {
    ::ResetBands(placement.bands);
    DestroyBars();
    CreateBars();
    LayOut();
}

bool MainWindow::StatusBarShown() const {
    return statusBar_ && placement.showStatusBar;
}

HWND MainWindow::StatusBarHandle() const {
    return statusBar_ ? statusBar_->Handle() : nullptr;
}

void MainWindow::ToggleStatusBar() {
    placement.showStatusBar = !placement.showStatusBar;
    if (statusBar_) {
        statusBar_->Show(placement.showStatusBar ? SW_SHOW : SW_HIDE);
    }
    LayOut();
}

void MainWindow::TogglePlayPalette() {
    if (PaletteOpen()) {
        palette_->Close(0);
        palette_.reset();
        return;
    }
    const FloatingToolBarSettings& settings = client_->settings.floatingToolBar;
    const SIZE size = PlayPalette::FrameSize(settings, Handle());
    const ScreenRect place = PaletteFirstPlace(size.cx, size.cy);
    palette_ = std::make_unique<PlayPalette>(this, settings, toolBitmap_, POINT{place.left, place.top});
    if (!palette_->Create()) {
        palette_.reset();
        return;
    }
    palette_->SetIndicator(indicatorPicture_);
}

// Clear of the caption, menu and tool bars, so the palette hides none of them
// nor takes the click meant for them. A minimized window shows nothing: the
// palette then keeps clear of the place it is restored to.
ScreenRect MainWindow::PaletteFirstPlace(int width, int height) const {
    const ScreenRect work = WorkAreaOf(Handle());
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (IsIconic(Handle()) && GetWindowPlacement(Handle(), &placement)) {
        const ScreenRect restored = ToScreenRect(placement.rcNormalPosition);
        return PlacePalette(width, height, restored, restored, restored, 0, work);
    }
    const RECT frame = WindowRect();
    const RECT client = client_->WindowRect();
    const ScreenRect keepClear = {frame.left, frame.top, frame.right, client.top};
    return PlacePalette(width, height, ToScreenRect(frame), keepClear, ToScreenRect(client),
                        GetSystemMetrics(SM_CXVSCROLL), work);
}

void MainWindow::FocusSearchText() {
    if (searchBar_) {
        searchBar_->FocusText();
    }
}

HWND MainWindow::SearchComboHandle() const {
    return searchBar_ ? searchBar_->ComboHandle() : nullptr;
}

// When a tool bar button has something to act on.
enum class ButtonNeeds { kFocusedSong, kSongs, kSequencedPlay, kNoSequencedPlay, kPlayer };

struct ButtonRuleRow {
    int command;
    ButtonNeeds needs;
};

static const ButtonRuleRow kButtonRules[] = {
    {kCmdProperties, ButtonNeeds::kFocusedSong},
    {kCmdShellProperties, ButtonNeeds::kFocusedSong},
    {kCmdEditSong, ButtonNeeds::kFocusedSong},
    {kCmdEditWrd, ButtonNeeds::kFocusedSong},
    {kCmdEditDocument, ButtonNeeds::kFocusedSong},
    // The view button does nothing while songs are played in list order.
    {kCmdViewButton, ButtonNeeds::kNoSequencedPlay},
    {kCmdPlay, ButtonNeeds::kFocusedSong},
    {kCmdPlaySequential, ButtonNeeds::kSongs},
    {kCmdPlayRandom, ButtonNeeds::kSongs},
    {kCmdPlayRepeat, ButtonNeeds::kSongs},
    {kCmdPlayCancel, ButtonNeeds::kSequencedPlay},
    {kCmdPause, ButtonNeeds::kPlayer},
    {kCmdStop, ButtonNeeds::kPlayer},
    {kCmdPrevious, ButtonNeeds::kSequencedPlay},
    {kCmdNext, ButtonNeeds::kSequencedPlay},
};

// Enables the buttons of the property and play bars and of the palette as
// their rules say; the rest stay enabled.
void MainWindow::UpdateButtonStates() {
    if (!client_ || !client_->Handle()) {
        return;
    }
    const bool sequenced = client_->CurrentPlayMode() != PlayMode::kNone;
    const bool player = client_->Player() && client_->Player()->IsPlayerAlive();
    const bool songs = client_->Browse().ObjectCount() > 0;
    const bool focused = client_->Selection().FocusedRow() >= 0;
    SToolBar* bars[] = {toolBars_[0].get(), toolBars_[1].get(), PaletteOpen() ? palette_->Bar() : nullptr};
    for (const ButtonRuleRow& row : kButtonRules) {
        bool enable = true;
        switch (row.needs) {
            case ButtonNeeds::kFocusedSong:
                enable = focused;
                break;
            case ButtonNeeds::kSongs:
                enable = songs;
                break;
            case ButtonNeeds::kSequencedPlay:
                enable = sequenced;
                break;
            case ButtonNeeds::kNoSequencedPlay:
                enable = !sequenced;
                break;
            case ButtonNeeds::kPlayer:
                enable = player;
                break;
        }
        for (SToolBar* bar : bars) {
            if (bar && bar->Handle()) {
                bar->EnableButton(row.command, enable);
            }
        }
    }
}

void MainWindow::UpdateToolBarStates() {
    UpdateButtonStates();
    HMENU menu = GetMenu(Handle());
    if (!menu) {
        return;
    }
    const UINT bandCommands[] = {kCmdBandProperty, kCmdBandSearch, kCmdBandPlay};
    for (int i = 0; i < kMainBandCount; ++i) {
        CheckMenuItem(menu, bandCommands[i], BandShown(uint32_t(i + 1)) ? MF_CHECKED : MF_UNCHECKED);
    }
    CheckMenuItem(menu, kCmdStatusBar, placement.showStatusBar ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, kCmdPlayPalette, PaletteOpen() ? MF_CHECKED : MF_UNCHECKED);
}

std::string MainWindow::ToolTipText(int command) const {
    if (command == kCmdPlayCancel) {
        return PlayCancelToolTip(client_ ? client_->CurrentPlayMode() : PlayMode::kNone);
    }
    for (const ToolTipRow& row : kToolTips) {
        if (row.command == command) {
            return row.text;
        }
    }
    return "";
}

bool MainWindow::AnswerToolTip(MessageContext& m) {
    NMHDR* header = reinterpret_cast<NMHDR*>(m.lParam);
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(m.lParam);
        lstrcpynA(info->szText, ToolTipText(int(header->idFrom)).c_str(), sizeof info->szText);
        info->lpszText = info->szText;
    } else if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(m.lParam);
        MultiByteToWideChar(CP_ACP, 0, ToolTipText(int(header->idFrom)).c_str(), -1, info->szText,
                            int(sizeof info->szText / sizeof info->szText[0]));
        info->lpszText = info->szText;
    } else {
        return false;
    }
    m.handled = 1;
    return true;
}

void MainWindow::ShowViewMenu(const NMTOOLBARA* toolBar) {
    SMenu menu;
    menu.CreatePopup();
    menu.Append(MF_STRING, kCmdViewLargeIcons, "大きいアイコン(&G)");
    menu.Append(MF_STRING, kCmdViewSmallIcons, "小さいアイコン(&M)");
    menu.Append(MF_STRING, kCmdViewList, "一覧(&L)");
    menu.Append(MF_STRING, kCmdViewDetails, "詳細(&D)");
    RECT button = {};
    SendMessageA(toolBar->hdr.hwndFrom, TB_GETRECT, toolBar->iItem, reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(toolBar->hdr.hwndFrom, nullptr, reinterpret_cast<POINT*>(&button), 2);
    menu.Track(TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.bottom, Handle());
}
