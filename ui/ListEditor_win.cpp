// The list file editor window: menu, list, commands, clipboard and drops.
// The rules live in ListDocument; this file shows them.
#include "ui/ListEditor_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>

#include "actions/Clipboard_win.h"
#include "catalogue/TitleCache.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/CommandIds.h"
#include "core/Text.h"
#include "ui/ListEditorDialogs_win.h"
#include "ui/framework/Dpi_win.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/rules/ScreenLayout.h"

namespace {

constexpr int kListId = 1;
constexpr int kStatusId = 2;
constexpr int kRebarId = 3;
constexpr int kToolBarId = 4;
constexpr int kBandHeight = 22;  // 96-DPI pixels, the band's minimum child height

MakeListSettings* editorSettings = nullptr;
const ModeSettings* titleSettings = nullptr;

// The tool bar: new, open, save, cut, copy, paste, with the system's images.
struct ToolButton {
    int command;
    int image;
    const char* tip;
};
constexpr ToolButton kToolButtons[] = {
    {130, STD_FILENEW, "新規作成"}, {131, STD_FILEOPEN, "開く"}, {132, STD_FILESAVE, "上書き保存"}, {0, 0, nullptr},
    {235, STD_CUT, "切り取り"},     {236, STD_COPY, "コピー"},   {237, STD_PASTE, "貼り付け"},
};

const char* ToolTipOf(UINT_PTR command) {
    for (const ToolButton& button : kToolButtons) {
        if (button.command != 0 && UINT_PTR(button.command) == command) {
            return button.tip;
        }
    }
    return "";
}
constexpr char kEditorCaption[] = "リストファイルの編集";
constexpr char kEndRow[] = "[EOF]";

std::vector<ListEditor*>& OpenEditors() {
    static std::vector<ListEditor*> editors;
    return editors;
}

struct MenuItem {
    UINT id;  // 0: separator
    const char* text;
};

HMENU MakePopup(std::initializer_list<MenuItem> items) {
    HMENU popup = CreatePopupMenu();
    for (const MenuItem& item : items) {
        if (item.id == 0) {
            AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuA(popup, MF_STRING, item.id, item.text);
        }
    }
    return popup;
}

HMENU MakeEditorMenu() {
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(MakePopup({{130, "新規作成(&N)\tCtrl+N"},
                                                      {131, "開く(&O)...\tCtrl+O"},
                                                      {132, "上書き保存(&S)\tCtrl+S"},
                                                      {133, "名前を付けて保存(&A)..."},
                                                      {0, nullptr},
                                                      {134, "閉じる(&C)"}})),
                "ファイル(&F)");
    AppendMenuA(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(MakePopup({{230, "追加(&N)...\tCtrl+I"},
                                                      {231, "変更(&E)..."},
                                                      {0, nullptr},
                                                      {233, "ドライブ名を削除(&V)..."},
                                                      {234, "パスを削除(&H)..."},
                                                      {0, nullptr},
                                                      {235, "切り取り(&T)\tCtrl+X"},
                                                      {236, "コピー(&C)\tCtrl+C"},
                                                      {237, "貼り付け(&P)\tCtrl+V"},
                                                      {0, nullptr},
                                                      {238, "すべて選択(&A)\tCtrl+A"},
                                                      {239, "選択の切り替え(&I)"}})),
                "編集(&E)");
    AppendMenuA(
        bar, MF_POPUP,
        reinterpret_cast<UINT_PTR>(MakePopup(
            {{330, "ツールバー(&T)"}, {331, "ステータスバー(&A)"}, {0, nullptr}, {332, "最新の情報に更新(&R)\tF5"}})),
        "表示(&V)");
    AppendMenuA(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(
                    MakePopup({{430, "リストファイルについて(&L)"}, {431, "リストファイル編集ウィンドウ(&W)"}})),
                "ヘルプ(&H)");
    return bar;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

using E = ListEditor;

const CommandRoute<ListEditor> ListEditor::kCommands[] = {
    {130, &E::NewList},       {131, &E::OpenList},        {132, &E::Save},
    {133, &E::SaveAs},        {134, &E::CloseEditor},     {230, &E::AddEntry},
    {231, &E::ChangeEntry},   {232, &E::ChangeEntry},     {233, &E::RemoveDriveNames},
    {234, &E::RemovePaths},   {235, &E::CutEntries},      {236, &E::CopyEntries},
    {237, &E::PasteEntries},  {238, &E::SelectAll},       {239, &E::InvertSelection},
    {330, &E::ToggleToolBar}, {331, &E::ToggleStatusBar}, {332, &E::Redraw},
    {430, &E::OpenListHelp},  {431, &E::OpenEditorHelp},  {50, &E::ShowContextMenu},
};

ListEditor::ListEditor(std::unique_ptr<FileOpsHost> messages)
    : SWindow(kListEditorClass, nullptr, kWindowKind), messages_(std::move(messages)) {
    OpenEditors().push_back(this);
}

ListEditor::~ListEditor() {
    auto& editors = OpenEditors();
    editors.erase(std::remove(editors.begin(), editors.end(), this), editors.end());
}

bool ListEditor::OpenWindow(const std::string& path) {
    SetStyle(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
    MakeListSettings defaults;
    const MakeListSettings& layout = editorSettings ? *editorSettings : defaults;
    const bool defaultPlace = layout.winX == kUseDefaultPosition || layout.winY == kUseDefaultPosition;
    SetBounds(defaultPlace ? CW_USEDEFAULT : layout.winX, defaultPlace ? CW_USEDEFAULT : layout.winY, layout.winW,
              layout.winH);
    showStatusBar_ = layout.showStatusBar;
    showToolBar_ = layout.band.show;
    columnWidths_[0] = int(layout.listWindFileNameWidth);
    columnWidths_[1] = int(layout.listWindTitleWidth);
    SetClassLook(LoadIconA(GetModuleHandleA(nullptr), "ICON_KADREL"), LoadCursor(nullptr, IDC_ARROW),
                 reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SetMenu(MakeEditorMenu());
    SetTitle(ListEditorTitle("", false).c_str());
    SetAutoDelete(true);
    if (!Create()) {
        return false;
    }
    if (!path.empty()) {
        LoadFile(path);
    }
    return true;
}

const ListDocument& ListEditor::Document() const {
    return document_;
}

HWND ListEditor::ListHandle() const {
    return list_ ? list_->Handle() : nullptr;
}

void ListEditor::OnCreate(MessageContext& m) {
    list_ = std::make_unique<SListView>(this, kListId,
                                        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_EDITLABELS);
    list_->Create();
    list_->SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // Stored widths inside the window are 96-DPI lengths; the window's own
    // place and size are screen pixels.
    list_->InsertColumn(0, "ファイル名・キーワード", ScaledFor(Handle(), columnWidths_[0]), LVCFMT_LEFT);
    list_->InsertColumn(1, "タイトル・[説明]", ScaledFor(Handle(), columnWidths_[1]), LVCFMT_LEFT);
    status_ =
        std::make_unique<SStatusBar>(this, kStatusId, WS_CHILD | SBARS_SIZEGRIP | (showStatusBar_ ? WS_VISIBLE : 0));
    status_->Create();
    CreateToolBar(editorSettings ? editorSettings->band : MakeListSettings().band);
    HMENU menu = GetMenu(Handle());
    CheckMenuItem(menu, 330, showToolBar_ ? MF_CHECKED : MF_UNCHECKED);
    CheckMenuItem(menu, 331, showStatusBar_ ? MF_CHECKED : MF_UNCHECKED);
    dropTarget_ = CreateDropTarget(Handle(), this);
    RegisterDropTarget(dropTarget_);
    Refill();
    m.handled = 1;
}

// One band holding the tool bar, placed and shown as last left.
void ListEditor::CreateToolBar(const RebarBand& band) {
    rebar_ = std::make_unique<SReBar>(this, kRebarId,
                                      WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS |
                                          CCS_NODIVIDER | CCS_TOP | (showToolBar_ ? WS_VISIBLE : 0));
    if (!rebar_->Create()) {
        rebar_.reset();
        return;
    }
    toolBar_ = std::make_unique<SToolBar>(
        rebar_.get(), kToolBarId,
        WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN);
    if (!toolBar_->Create()) {
        toolBar_.reset();
        return;
    }
    toolBar_->SetButtonStructSize();
    toolBar_->Send(TB_SETPARENT, reinterpret_cast<WPARAM>(Handle()), 0);
    TBADDBITMAP system = {HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    toolBar_->Send(TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&system));
    TBBUTTON buttons[sizeof kToolButtons / sizeof kToolButtons[0]] = {};
    for (size_t i = 0; i < sizeof kToolButtons / sizeof kToolButtons[0]; ++i) {
        buttons[i].iBitmap = kToolButtons[i].image;
        buttons[i].idCommand = kToolButtons[i].command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = kToolButtons[i].command ? BTNS_BUTTON : BTNS_SEP;
    }
    toolBar_->AddButtons(int(sizeof buttons / sizeof buttons[0]), buttons);
    SIZE size = {};
    toolBar_->Send(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_ID;
    info.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE | (band.breakLine ? RBBS_BREAK : 0);
    info.hwndChild = toolBar_->Handle();
    info.cxMinChild = UINT(size.cx);
    info.cyMinChild = UINT(ScaledFor(Handle(), kBandHeight));
    info.cx = UINT(ScaledFor(Handle(), int(band.cx)));
    info.wID = band.id;
    rebar_->InsertBand(-1, &info);
}

void ListEditor::OnSize(MessageContext& m) {
    SWindow::OnSize(m);
    LayOut();
}

// The bars that are shown take the top and the bottom; the list the rest.
void ListEditor::LayOut() {
    const RECT client = ClientRect();
    int top = 0;
    int statusHeight = 0;
    if (rebar_ && showToolBar_) {
        rebar_->Send(WM_SIZE, 0, 0);
        top = int(rebar_->GetBarHeight());
    }
    if (status_ && showStatusBar_) {
        status_->Send(WM_SIZE, 0, 0);
        const RECT r = status_->WindowRect();
        statusHeight = r.bottom - r.top;
    }
    if (list_) {
        const int height = client.bottom - top - statusHeight;
        list_->Move(0, top, client.right, height > 0 ? height : 0, true);
    }
}

// What the next editor opens with: the window's normal place, the column
// widths and the bars.
void ListEditor::RememberLayout() {
    if (editorSettings == nullptr) {
        return;
    }
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(Handle(), &placement)) {
        const RECT& r = placement.rcNormalPosition;
        editorSettings->winX = r.left;
        editorSettings->winY = r.top;
        editorSettings->winW = r.right - r.left;
        editorSettings->winH = r.bottom - r.top;
    }
    if (list_) {
        const int dpi = WindowDpi(Handle());
        editorSettings->listWindFileNameWidth = uint32_t(ScaleToBase(ListView_GetColumnWidth(list_->Handle(), 0), dpi));
        editorSettings->listWindTitleWidth = uint32_t(ScaleToBase(ListView_GetColumnWidth(list_->Handle(), 1), dpi));
    }
    editorSettings->showStatusBar = showStatusBar_;
    editorSettings->band.show = showToolBar_;
    if (rebar_ && rebar_->GetBandCount() > 0) {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_STYLE | RBBIM_SIZE | RBBIM_ID;
        if (rebar_->GetBandInfo(0, &info)) {
            editorSettings->band.id = info.wID;
            editorSettings->band.cx = uint32_t(ScaleToBase(int(info.cx), WindowDpi(Handle())));
            editorSettings->band.breakLine = (info.fStyle & RBBS_BREAK) != 0;
        }
    }
}

void ListEditor::OnCommand(MessageContext& m) {
    RouteCommand(this, kCommands, m);
}

void ListEditor::OnNotify(MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(m.lParam);
        lstrcpynA(info->szText, ToolTipOf(header->idFrom), sizeof info->szText);
        info->lpszText = info->szText;
        m.handled = 1;
        return;
    }
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(m.lParam);
        MultiByteToWideChar(CP_ACP, 0, ToolTipOf(header->idFrom), -1, info->szText,
                            int(sizeof info->szText / sizeof info->szText[0]));
        info->lpszText = info->szText;
        m.handled = 1;
        return;
    }
    if (header->code == RBN_HEIGHTCHANGE) {
        LayOut();
        return;
    }
    if (header->idFrom != kListId) {
        return;
    }
    switch (header->code) {
        case LVN_BEGINDRAG:
        case LVN_BEGINRDRAG:
            DragRows();
            break;
        case LVN_ITEMCHANGED:
            RefreshStatus();
            break;
        case LVN_BEGINLABELEDITA: {
            const NMLVDISPINFOA* info = reinterpret_cast<const NMLVDISPINFOA*>(m.lParam);
            m.result = static_cast<size_t>(info->item.iItem) >= document_.Entries().size();  // not the end row
            m.handled = 1;
            break;
        }
        case LVN_ENDLABELEDITA: {
            const NMLVDISPINFOA* info = reinterpret_cast<const NMLVDISPINFOA*>(m.lParam);
            if (info->item.pszText && document_.Replace(info->item.iItem, info->item.pszText)) {
                Refill();
            }
            m.handled = 1;
            break;
        }
        default:
            break;
    }
}

void ListEditor::OnContextMenu(MessageContext& m) {
    ShowContextMenu();
    m.handled = 1;
}

// A close that goes ahead deletes the editor before the window is
// destroyed, so the window lets go of its layout and drop target here.
void ListEditor::OnClose(MessageContext& m) {
    if (!AskToSave()) {
        m.handled = 1;
        return;
    }
    LetGoOfWindow();
}

void ListEditor::OnDestroy(MessageContext& m) {
    LetGoOfWindow();
    SWindow::OnDestroy(m);
}

void ListEditor::LetGoOfWindow() {
    RememberLayout();
    if (dropTarget_) {
        RevokeDropTarget();
        dropTarget_->Release();
        dropTarget_ = nullptr;
    }
}

int ListEditor::Message(const std::string& text, const char* caption, UINT type) {
    if (messages_) {
        return messages_->ShowMessage(text, caption, type);
    }
    return ShowMessageBox(text.c_str(), caption, type);
}

bool ListEditor::AskToSave() {
    if (!document_.Modified()) {
        return true;
    }
    const int answer = Message(SaveQuestionText(document_.Path()), kEditorCaption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) {
        return false;
    }
    if (answer == IDYES) {
        Save();
        return !document_.Modified();
    }
    return true;
}

void ListEditor::NewList() {
    if (AskToSave()) {
        document_.Reset();
        titles_.clear();
        Refill();
    }
}

void ListEditor::OpenList() {
    std::string path;
    if (AskToSave() && AskListPath(Handle(), false, document_.Path(), &path)) {
        LoadFile(path);
    }
}

void ListEditor::LoadFile(const std::string& path) {
    const uint32_t error = document_.Open(path);
    if (error == kNotAListFile) {
        Message("リストファイルではありません。", kEditorCaption, MB_OK | MB_ICONERROR);
    } else if (error != 0) {
        FileOpsHost fallback(Handle());
        ShowFileError(messages_ ? *messages_ : fallback, error, false, path, MB_OK, nullptr);
    }
    titles_.clear();
    Refill();
}

void ListEditor::Save() {
    if (document_.Path().empty()) {
        SaveAs();
    } else {
        SaveTo(document_.Path());
    }
}

void ListEditor::SaveAs() {
    std::string path;
    if (AskListPath(Handle(), true, document_.Path(), &path)) {
        SaveTo(path);
    }
}

bool ListEditor::SaveTo(const std::string& path) {
    const uint32_t error = document_.SaveAs(path);
    if (error != 0) {
        FileOpsHost fallback(Handle());
        ShowFileError(messages_ ? *messages_ : fallback, error, true, path, MB_OK, nullptr);
    }
    RefreshTitle();
    return error == 0;
}

void ListEditor::CloseEditor() {
    Post(WM_CLOSE, 0, 0);
}

void ListEditor::AddEntry() {
    std::string text;
    if (AskEntryText(this, false, &text)) {
        InsertEntries(FocusedPosition(), {text});
    }
}

void ListEditor::ChangeEntry() {
    const size_t position = FocusedPosition();
    if (position >= document_.Entries().size()) {
        return;
    }
    std::string text = document_.Entries()[position];
    if (AskEntryText(this, true, &text) && document_.Replace(position, text)) {
        Refill();
        SelectEntries({position});
    }
}

bool ListEditor::ConfirmRemoval(const char* text) {
    return Message(text, kEditorCaption, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

void ListEditor::RemoveDriveNames() {
    const std::vector<size_t> selected = SelectedEntries();
    if (selected.empty() || !ConfirmRemoval("選択範囲のファイル名からドライブ名を削除します。")) {
        return;
    }
    if (document_.StripDriveNames(selected) > 0) {
        Refill();
        SelectEntries(selected);
    }
}

void ListEditor::RemovePaths() {
    const std::vector<size_t> selected = SelectedEntries();
    if (selected.empty() || !ConfirmRemoval("選択範囲のファイル名からパスを削除します。")) {
        return;
    }
    if (document_.StripPaths(selected) > 0) {
        Refill();
        SelectEntries(selected);
    }
}

void ListEditor::CutEntries() {
    const std::vector<size_t> selected = SelectedEntries();
    if (selected.empty()) {
        return;
    }
    CopyEntries();
    document_.Delete(selected);
    Refill();
}

IDataObject* ListEditor::MakeDataObject() const {
    std::vector<std::string> strings;
    std::vector<std::string> files;
    for (size_t p : SelectedEntries()) {
        const std::string& entry = document_.Entries()[p];
        strings.push_back(entry);
        if (ListEntryKind(entry) != kEntrySong) {
            continue;
        }
        std::string path = ListEntryFullPath(entry, document_.Path());
        std::string archive;
        std::string member;
        if (SplitMemberPath(path.c_str(), &archive, &member)) {
            path = archive;
        }
        if (std::none_of(files.begin(), files.end(),
                         [&](const std::string& f) { return CompareNoCase(f.c_str(), path.c_str()) == 0; })) {
            files.push_back(path);
        }
    }
    return CreateSongDataObject(files, strings);
}

void ListEditor::CopyEntries() {
    if (SelectedEntries().empty()) {
        return;
    }
    if (IDataObject* data = MakeDataObject()) {
        OleSetClipboard(data);
        data->Release();
    }
}

void ListEditor::PasteEntries() {
    IDataObject* data = nullptr;
    if (SUCCEEDED(OleGetClipboard(&data)) && data) {
        InsertFromData(data, FocusedPosition(), false);
        data->Release();
    }
}

void ListEditor::SelectAll() {
    std::vector<size_t> all(document_.Entries().size());
    for (size_t i = 0; i < all.size(); ++i) {
        all[i] = i;
    }
    SelectEntries(all);
}

void ListEditor::InvertSelection() {
    for (size_t i = 0; i < document_.Entries().size(); ++i) {
        const bool selected = ListView_GetItemState(ListHandle(), int(i), LVIS_SELECTED) != 0;
        list_->SetItemState(int(i), selected ? 0 : LVIS_SELECTED, LVIS_SELECTED);
    }
}

void ListEditor::ToggleToolBar() {
    showToolBar_ = !showToolBar_;
    if (rebar_) {
        rebar_->Show(showToolBar_ ? SW_SHOW : SW_HIDE);
    }
    CheckMenuItem(GetMenu(Handle()), 330, showToolBar_ ? MF_CHECKED : MF_UNCHECKED);
    LayOut();
}

void ListEditor::ToggleStatusBar() {
    showStatusBar_ = !showStatusBar_;
    status_->Show(showStatusBar_ ? SW_SHOW : SW_HIDE);
    CheckMenuItem(GetMenu(Handle()), 331, showStatusBar_ ? MF_CHECKED : MF_UNCHECKED);
    LayOut();
}

void ListEditor::Redraw() {
    list_->Invalidate(true);
}

void ListEditor::ShowContextMenu() {
    HMENU menu = MakePopup({{230, "追加(&N)..."},
                            {231, "変更(&E)..."},
                            {0, nullptr},
                            {233, "ドライブ名を削除(&V)..."},
                            {234, "パスを削除(&H)..."},
                            {0, nullptr},
                            {235, "切り取り(&T)"},
                            {236, "コピー(&C)"},
                            {237, "貼り付け(&P)"},
                            {0, nullptr},
                            {238, "すべて選択(&A)"}});
    POINT cursor;
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, Handle(), nullptr);
    DestroyMenu(menu);
}

void ListEditor::OpenListHelp() {
    const std::string page = Program().programFolder + "Vexa2A.html";
    ShellExecuteA(Handle(), "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ListEditor::OpenEditorHelp() {
    const std::string page = Program().programFolder + "Vexa5.html";
    ShellExecuteA(Handle(), "open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

std::vector<size_t> ListEditor::SelectedEntries() const {
    std::vector<size_t> selected;
    if (!list_) {
        return selected;
    }
    for (int i = list_->GetNextItem(-1, LVNI_SELECTED); i >= 0; i = list_->GetNextItem(i, LVNI_SELECTED)) {
        if (static_cast<size_t>(i) < document_.Entries().size()) {
            selected.push_back(size_t(i));
        }
    }
    return selected;
}

size_t ListEditor::FocusedPosition() const {
    const int focused = list_ ? list_->GetNextItem(-1, LVNI_FOCUSED) : -1;
    return focused < 0 ? document_.Entries().size() : std::min(size_t(focused), document_.Entries().size());
}

void ListEditor::SelectEntries(const std::vector<size_t>& positions) {
    list_->SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (size_t p : positions) {
        list_->SetItemState(int(p), LVIS_SELECTED, LVIS_SELECTED);
    }
    if (!positions.empty()) {
        list_->SetItemState(int(positions.front()), LVIS_FOCUSED, LVIS_FOCUSED);
        list_->EnsureVisible(int(positions.front()), false);
    }
}

void ListEditor::InsertEntries(size_t position, const std::vector<std::string>& texts) {
    if (texts.empty()) {
        return;
    }
    const size_t first = document_.Insert(position, texts);
    Refill();
    std::vector<size_t> inserted(texts.size());
    for (size_t i = 0; i < inserted.size(); ++i) {
        inserted[i] = first + i;
    }
    SelectEntries(inserted);
}

bool ListEditor::InsertFromData(IDataObject* data, size_t position, bool altHeld) {
    std::vector<std::string> strings;
    std::vector<std::string> texts;
    if (ReadPrivateStrings(data, &strings)) {
        for (const std::string& s : strings) {
            texts.push_back(PrivateStringEntry(s, MainWindowDragActive(), altHeld));
        }
    } else if (ReadDropFiles(data, &strings)) {
        for (const std::string& path : strings) {
            texts.push_back(DroppedPathEntry(path, IsFolder(path), altHeld));
        }
    }
    InsertEntries(position, texts);
    return !texts.empty();
}

void ListEditor::DragRows() {
    IDataObject* data = MakeDataObject();
    if (!data) {
        return;
    }
    draggingRows_ = true;
    DragData(data, false);
    draggingRows_ = false;
    data->Release();
}

bool ListEditor::AcceptsDropAt(POINT) {
    return true;
}

DWORD ListEditor::Drop(IDataObject* data, POINT screen, DWORD effect, DWORD keys) {
    LVHITTESTINFO hit = {};
    hit.pt = screen;
    ::ScreenToClient(ListHandle(), &hit.pt);
    const int row = ListView_HitTest(ListHandle(), &hit);
    const size_t position = row < 0 ? document_.Entries().size() : size_t(row);
    if (draggingRows_) {
        const std::vector<size_t> selected = SelectedEntries();
        if (effect == DROPEFFECT_MOVE) {
            const size_t first = document_.MoveBefore(selected, position);
            Refill();
            std::vector<size_t> moved(selected.size());
            for (size_t i = 0; i < moved.size(); ++i) {
                moved[i] = first + i;
            }
            SelectEntries(moved);
        } else {
            std::vector<std::string> copies;
            for (size_t p : selected) {
                copies.push_back(document_.Entries()[p]);
            }
            InsertEntries(position, copies);
        }
        return DROPEFFECT_NONE;  // the rows are already where they belong
    }
    return InsertFromData(data, position, (keys & MK_ALT) != 0) ? effect : DROPEFFECT_NONE;
}

std::string ListEditor::SecondColumn(size_t position) {
    const std::string& entry = document_.Entries()[position];
    const int32_t kind = ListEntryKind(entry);
    if (kind != kEntrySong) {
        return ListEntryDescription(kind);
    }
    auto found = titles_.find(entry);
    if (found != titles_.end()) {
        return found->second;
    }
    const ModeSettings mode = titleSettings ? *titleSettings : ModeSettings();
    return titles_[entry] =
               ListEntryTitle(ListEntryFullPath(entry, document_.Path()), mode.titleSearch, mode.cutTitleSpace);
}

void ListEditor::Refill() {
    if (!list_) {
        return;
    }
    list_->DeleteAllItems();
    const size_t count = document_.Entries().size();
    for (size_t i = 0; i <= count; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = int(i);
        item.pszText = const_cast<char*>(i < count ? document_.Entries()[i].c_str() : kEndRow);
        list_->InsertItem(&item);
        if (i < count) {
            const std::string second = SecondColumn(i);
            ListView_SetItemText(ListHandle(), int(i), 1, const_cast<char*>(second.c_str()));
        }
    }
    RefreshTitle();
    RefreshStatus();
}

void ListEditor::RefreshTitle() {
    SetText(ListEditorTitle(document_.Path(), document_.Modified()).c_str());
}

void ListEditor::RefreshStatus() {
    if (!status_) {
        return;
    }
    std::string text = std::to_string(document_.Entries().size()) + " 個のオブジェクト";
    const size_t selected = SelectedEntries().size();
    if (selected > 0) {
        text += " (選択 " + std::to_string(selected) + " 個)";
    }
    status_->SetSimple(true);
    status_->SetPartText(SB_SIMPLEID, text.c_str());
}

bool CloseAllListEditors() {
    const std::vector<ListEditor*> editors = OpenEditors();
    for (ListEditor* editor : editors) {
        if (!editor->AskToSave()) {
            return false;
        }
        DestroyWindow(editor->Handle());
    }
    return true;
}

bool AnyListEditorOpen() {
    return !OpenEditors().empty();
}

bool TranslateListEditorMessage(MSG* msg, HACCEL accelerators) {
    for (ListEditor* editor : OpenEditors()) {
        const HWND window = editor->Handle();
        if (window && (msg->hwnd == window || IsChild(window, msg->hwnd))) {
            return TranslateAcceleratorA(window, accelerators, msg) != 0;
        }
    }
    return false;
}

ListEditor* OpenListEditor(const std::string& path) {
    ListEditor* editor = new ListEditor(nullptr);
    if (!editor->OpenWindow(path)) {
        delete editor;
        return nullptr;
    }
    return editor;
}

void SetListEditorSettings(MakeListSettings* settings) {
    editorSettings = settings;
}

void SetListEditorTitleSettings(const ModeSettings* mode) {
    titleSettings = mode;
}
