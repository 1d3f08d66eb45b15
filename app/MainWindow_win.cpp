// The frame: construction, first show, title, status bar texts, command and
// notification routing, and the orderly exit.
#include "app/MainWindow_win.h"

#include <commctrl.h>
#include <ole2.h>
#include <shellapi.h>

#include "app/PlayPalette_win.h"
#include "app/ProgramSetUp_win.h"
#include "app/RegistryStore_win.h"
#include "app/SearchBar_win.h"
#include "core/CommandIds.h"
#include "core/CommandLine.h"
#include "player/LaunchRules.h"
#include "player/PlayerKind.h"
#include "ui/framework/Dpi_win.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/rules/MainWindowRules.h"

MainWindow::MainWindow(AppState& app) : SWindow(kMainWindowClass, nullptr, kWindowKind), app_(app) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    baseTitle_ = GreetingTitle(now.wMonth, now.wDay);
    ProgramValues& program = Program();
    program.mainWindow = this;
    HICON icon = LoadIconA(program.instance, "ICON_KADREL");
    SetClassLook(icon, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SetStyle(WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0);
    SetTitle(baseTitle_.c_str());
    SetMenu(LoadMenuA(program.instance, MAKEINTRESOURCEA(kMainMenu)));

    INITCOMMONCONTROLSEX controls = {sizeof controls, 0x43F};
    InitCommonControlsEx(&controls);
    oleReady_ = SUCCEEDED(OleInitialize(nullptr));
    SetProgramPaths();

    RegistryStore store(program.settingsRoot);
    LoadMainPlacement(&store, &placement);
    windowStateToRestore = ParseWindowStateOptions(program.commandLine.c_str(), int32_t(placement.window));
    SetBounds(placement.winX, placement.winY, placement.winW, placement.winH);
    toolBitmap_ = LoadBitmapA(program.instance, MAKEINTRESOURCEA(1));
}

MainWindow::~MainWindow() {
    if (Handle()) {
        DestroyWindow(Handle());
    }
    if (oleReady_) {
        OleFlushClipboard();
        OleUninitialize();
    }
    if (toolBitmap_) {
        DeleteObject(toolBitmap_);
    }
    for (HFONT font : paneFonts_) {
        if (font) {
            DeleteObject(font);
        }
    }
    if (Program().mainWindow == this) {
        Program().mainWindow = nullptr;
    }
}

bool MainWindow::CreateFrame() {
    return Create();
}

void MainWindow::ShowFirst(bool afterStartAction) {
    const FirstShow first = FirstShowFor(windowStateToRestore);
    if (afterStartAction) {
        if (first == FirstShow::kAfterStartAction) {
            Show(SW_SHOWMINIMIZED);
        }
        return;
    }
    if (first == FirstShow::kAfterStartAction) {
        return;
    }
    Show(first == FirstShow::kMaximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    Update();
}

void MainWindow::OnCreate(MessageContext& m) {
    dpi_ = WindowDpi(Handle());
    CreateBars();
    CreateStatusBar();
    client_ = std::make_unique<ClientWindow>(this, app_);
    if (!client_->Create()) {
        m.handled = 1;
        m.result = -1;
        return;
    }
    LayOut();
    client_->FitFirstStartColumns();
    SetStatusCount(0, 0, 0);
    SetStatusPlayMode();
    SetStatusPlayer(PlayerDisplayName(int32_t(client_->settings.mode.playerMode)));
    SetStatusEmulation(nullptr);
    SetStatusCache(false);
    if (client_->settings.floatingToolBar.show && !client_->settings.floatingToolBar.showMinOnly) {
        TogglePlayPalette();
    }
}

void MainWindow::UpdateTitle() {
    if (sizeState_ != 1 || !client_) {
        return;
    }
    std::string focused;
    const bool anyFocused = client_->FocusedTitle(&focused);
    const std::string title = MinimizedTitle(client_->CurrentPlayMode(), anyFocused ? focused.c_str() : nullptr);
    if (!trayShown_) {
        SetText(title.c_str());
        return;
    }
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = Handle();
    icon.uFlags = NIF_TIP;
    lstrcpynA(icon.szTip, title.c_str(), sizeof icon.szTip);
    Shell_NotifyIconA(NIM_MODIFY, &icon);
}

void MainWindow::SetStatusText(const char* text) {
    if (statusBar_) {
        statusBar_->SetPartText(0, text);
    }
}

void MainWindow::SetStatusCount(int64_t count, int64_t selected, int32_t narrowDepth) {
    SetStatusText(ObjectCountText(count, selected, narrowDepth).c_str());
}

void MainWindow::SetStatusPlayer(const char* playerName) {
    if (statusBar_) {
        statusBar_->SetPartText(1, PlayerStatusText(playerName).c_str());
    }
}

void MainWindow::SetStatusEmulation(const char* emulationName) {
    if (statusBar_) {
        statusBar_->SetPartText(2, EmulationStatusText(emulationName).c_str());
    }
}

void MainWindow::SetStatusPlayMode() {
    if (statusBar_ && client_) {
        statusBar_->SetPartText(3, PlayModeStatusText(client_->CurrentPlayMode()).c_str());
    }
}

void MainWindow::SetStatusCache(bool fromCache) {
    if (statusBar_) {
        statusBar_->SetPartText(4, CacheStatusText(fromCache).c_str());
    }
}

// The picture number is the part's owner-draw data: the bar repaints the
// part only when its data changes, and hands the number back to the drawing
// and to anyone who asks the bar for the part (SB_GETTEXT).
void MainWindow::SetStatusIndicator(int value) {
    indicatorPicture_ = value;
    if (statusBar_) {
        statusBar_->Send(SB_SETTEXTA, 5 | SBT_OWNERDRAW, value);
    }
    if (PaletteOpen()) {
        palette_->SetIndicator(value);
    }
}

void MainWindow::OnDrawItem(MessageContext& m) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam);
    if (!statusBar_ || item->hwndItem != statusBar_->Handle()) {
        return;
    }
    DrawPlayIndicator(item->hDC, item->rcItem, static_cast<int>(item->itemData));
    m.handled = 1;
    m.result = TRUE;
}

ClientWindow* MainWindow::Client() const {
    return client_.get();
}

bool MainWindow::PaletteOpen() const {
    return palette_ && palette_->Handle();
}

bool MainWindow::TrayIconShown() const {
    return trayShown_;
}

void MainWindow::RememberFocusedPane(HWND pane) {
    lastFocusedPane_ = pane;
}

void MainWindow::OnActivate(MessageContext& m) {
    if (LOWORD(m.wParam) != WA_INACTIVE && lastFocusedPane_ && IsWindow(lastFocusedPane_)) {
        ::SetFocus(lastFocusedPane_);
        m.handled = 1;
    }
}

// Commands that change which songs the list shows or selects, from a dialog
// or the search bar: the keyboard goes back to the list after them, so that
// the arrows and shortcuts act on what was found.
static const int kListFocusCommands[] = {kCmdSelect,   kCmdNarrow,    kCmdNarrowSelection, kCmdWidenOne,
                                         kCmdWidenAll, kCmdBarSelect, kCmdBarNarrow,       kCmdBarWiden};

static bool ListTakesFocusAfter(int command) {
    for (int listCommand : kListFocusCommands) {
        if (listCommand == command) {
            return true;
        }
    }
    return false;
}

void MainWindow::OnCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    if (id == kCmdRestore || id == kCmdMaximize || id == kCmdClose) {
        RunWindowCommand(id);
        m.handled = 1;
        return;
    }
    if (!client_) {
        return;
    }
    if (rebar_) {
        rebar_->Invalidate(false);
    }
    if (PaletteOpen()) {
        palette_->Invalidate(false);
    }
    client_->RunCommand(m);
    m.handled = 1;
    UpdateToolBarStates();
    if (ListTakesFocusAfter(id) && client_->ListHandle()) {
        ::SetFocus(client_->ListHandle());
    }
}

void MainWindow::OnSysCommand(MessageContext& m) {
    // The play items added to the system menu while minimized.
    if ((m.wParam & 0xFFF0) < 0xF000) {
        MessageContext command = m;
        command.message = WM_COMMAND;
        command.wParam = LOWORD(m.wParam);
        command.lParam = 0;
        OnCommand(command);
        m.handled = 1;
    }
}

void MainWindow::OnNotify(MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (AnswerToolTip(m)) {
        return;
    }
    if (header->code == TBN_DROPDOWN) {
        ShowViewMenu(reinterpret_cast<const NMTOOLBARA*>(m.lParam));
        m.handled = 1;
        m.result = TBDDRET_DEFAULT;
    } else if (header->code == RBN_HEIGHTCHANGE) {
        LayOut();
    } else if (header->code == NM_SETFOCUS && client_ &&
               (header->hwndFrom == client_->TreeHandle() || header->hwndFrom == client_->ListHandle())) {
        lastFocusedPane_ = header->hwndFrom;
    }
}

void MainWindow::OnMenuSelect(MessageContext& m) {
    if (!statusBar_) {
        return;
    }
    const UINT flags = HIWORD(m.wParam);
    if (flags == 0xFFFF && m.lParam == 0) {
        statusBar_->SetSimple(false);
        return;
    }
    char help[256] = {};
    if (!(flags & (MF_POPUP | MF_SEPARATOR))) {
        LoadStringA(Program().instance, LOWORD(m.wParam), help, sizeof help);
    }
    statusBar_->SetSimple(true);
    statusBar_->Send(SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(help));
    m.handled = 1;
}

bool MainWindow::CloseAllowed() {
    if (!client_->PrepareExit()) {
        return false;
    }
    if (shutdownPending) {
        client_->SaveAllSettings();
        SavePlacement();
    }
    return true;
}

void MainWindow::OnClose(MessageContext& m) {
    m.handled = 1;
    if (client_ && client_->PlayerInTransaction()) {
        client_->HoldMessage(WM_CLOSE, 0, 0);
        return;
    }
    if (!client_ || CloseAllowed()) {
        DestroyWindow(Handle());
    }
}

void MainWindow::OnQueryEndSession(MessageContext& m) {
    shutdownPending = 1;
    m.handled = 1;
    m.result = client_ && !client_->PlayerInTransaction() && CloseAllowed();
    if (!m.result) {
        shutdownPending = 0;
    }
}

void MainWindow::OnEndSession(MessageContext& m) {
    if (m.wParam) {
        SavePlacement();
        ShowTrayIcon(false);
    }
}

void MainWindow::SavePlacement() {
    if (!client_ || !client_->exitFlags.saveSettingsOnExit) {
        return;
    }
    WINDOWPLACEMENT place = {};
    place.length = sizeof place;
    if (GetPlacement(&place)) {
        const RECT& r = place.rcNormalPosition;
        placement.winX = r.left;
        placement.winY = r.top;
        placement.winW = r.right - r.left;
        placement.winH = r.bottom - r.top;
    }
    // The state the window is in, minimized too: the next start shows it so.
    placement.window = uint32_t(sizeState_);
    ReadBandLayout();
    RegistryStore store(Program().settingsRoot);
    SaveMainPlacement(&store, placement, client_->settings.mode.regWrite);
}

void MainWindow::ClosePlayPaletteForExit() {
    if (!client_) {
        return;
    }
    FloatingToolBarSettings& floating = client_->settings.floatingToolBar;
    floating.show = PaletteOpen();
    if (floating.show) {
        const RECT r = palette_->WindowRect();
        floating.winX = r.left;
        floating.winY = r.top;
        palette_->Close(0);
    }
    palette_.reset();
}

void MainWindow::OnDestroy(MessageContext& m) {
    SavePlacement();
    ShowTrayIcon(false);
    PostQuitMessage(0);
    m.handled = 1;
}
