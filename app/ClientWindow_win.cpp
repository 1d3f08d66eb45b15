// The client area: the application state's set-up and tear-down, the panes
// with the splitter between them, the client timer and the exit preparation.
#include "app/ClientWindow_win.h"

#include <windowsx.h>

#include "app/ClientPanes_win.h"
#include "app/MainWindow_win.h"
#include "app/ProgramValues_win.h"
#include "app/RegistryStore_win.h"
#include "core/CommandLine.h"

static const int kClientId = 30;

// A desktop value under the current user as text; false when it is missing.
static bool ReadDesktopValue(const char* key, const char* name, char* value, DWORD bytes) {
    return RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &bytes) == ERROR_SUCCESS;
}

ClientWindow::ClientWindow(MainWindow* main)
    : SWindow(kClientWindowClass, main, kWindowKind), main_(main), splitter_(this, [this](int x) { LayOutPanes(x); }) {
    SetStyle(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0);
    SetClassLook(nullptr, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SetChildId(kClientId);
    char path[512] = {};
    GetEnvironmentVariableA("Path", path, sizeof path);
    savedSearchPath = SavedSearchPath(path);
    ReadDesktopFlags();
    Program().clipboardFormat = RegisterClipboardFormatA("Kadrel ClipboardFormat");
    RegistryStore store(Program().settingsRoot);
    LoadSettings(&store, &settings);
    ParseCommandLine();
    ApplySearchPath();
    SYSTEMTIME now;
    GetSystemTime(&now);
    random.seed(StartupSeed(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds));
    InitializeCriticalSection(&catalogueLock);
}

ClientWindow::~ClientWindow() {
    tree_.reset();
    list_.reset();
    if (Handle()) {
        DestroyWindow(Handle());
    }
    DeleteCriticalSection(&catalogueLock);
}

void ClientWindow::ReadDesktopFlags() {
    char value[32];
    const bool bpp = ReadDesktopValue("Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP", value, sizeof value);
    highColourIcons = HighColourIconsOf(bpp ? value : nullptr);
    const bool drag = ReadDesktopValue("Control Panel\\Desktop", "DragFullWindows", value, sizeof value);
    fullWindowDrag = FullWindowDragOf(drag ? value : nullptr);
}

// The options override the stored start-up choices.
void ClientWindow::ParseCommandLine() {
    CommandLineRequest request;
    request.startPlayMode = int32_t(settings.mode.playMode);
    request.playerKind = int32_t(settings.mode.playerMode);
    request.lastPath = settings.lastSelect.path;
    request.lastFile = settings.lastSelect.file;
    request.includeSubFolders = settings.lastSelect.searchSubFolder;
    SystemCommandLineFiles files;
    ParseClientCommandLine(Program().commandLine.c_str(), &files, &request);
    startPlayMode = request.startPlayMode;
    settings.mode.playerMode = uint32_t(request.playerKind);
    settings.lastSelect.path = request.lastPath;
    settings.lastSelect.file = request.lastFile;
    settings.lastSelect.searchSubFolder = request.includeSubFolders;
}

void ClientWindow::ApplySearchPath() {
    SetEnvironmentVariableA("Path", ExtendedSearchPath(savedSearchPath, settings.player.execPath.c_str()).c_str());
}

void ClientWindow::OnCreate(MessageContext&) {
    splitterCursor_ = LoadCursor(nullptr, IDC_SIZEWE);
    tree_ = CreateTreePane(this);
    const WindowSettings& widths = settings.window;
    const int columns[5] = {int(widths.listWindFileNameWidth), int(widths.listWindTitleWidth),
                            int(widths.listWindCommentWidth), int(widths.listWindLastWriteTimeWidth),
                            int(widths.listWindModuleWidth)};
    list_ = CreateListPane(this, columns, settings.listWindow.fullRowSelect);
    SetListView(settings.listWindow.show);
    splitter_.SetPosition(int(widths.treeWindWidth));
    SetTimer(kClientTimerId, kClientTimerPeriod);
}

void ClientWindow::LayOutPanes(int splitterX) {
    const RECT r = ClientRect();
    if (tree_ && tree_->Handle()) {
        tree_->Move(0, 0, splitterX, r.bottom, true);
    }
    const int listX = splitterX + kSplitterWidth;
    if (list_ && list_->Handle()) {
        list_->Move(listX, 0, r.right > listX ? r.right - listX : 0, r.bottom, true);
    }
}

void ClientWindow::OnSize(MessageContext& m) {
    SWindow::OnSize(m);
    LayOutPanes(splitter_.Position());
}

void ClientWindow::OnLButtonDown(MessageContext& m) {
    m.handled = splitter_.ButtonDown(GET_X_LPARAM(m.lParam), fullWindowDrag);
}

void ClientWindow::OnMouseMove(MessageContext& m) {
    m.handled = splitter_.MouseMove(GET_X_LPARAM(m.lParam));
}

void ClientWindow::OnLButtonUp(MessageContext& m) {
    m.handled = splitter_.ButtonUp(GET_X_LPARAM(m.lParam));
}

void ClientWindow::OnSetCursor(MessageContext& m) {
    if (reinterpret_cast<HWND>(m.wParam) == Handle() && LOWORD(m.lParam) == HTCLIENT) {
        SetCursor(splitterCursor_);
        m.handled = 1;
        m.result = TRUE;
    }
}

void ClientWindow::OnTimer(MessageContext& m) {
    if (m.wParam != kClientTimerId) {
        return;
    }
    m.handled = 1;
    if (pending_.waiting && !PlayerInTransaction()) {
        pending_.waiting = false;
        main_->Post(pending_.message, pending_.wParam, pending_.lParam);
    }
}

void ClientWindow::HoldMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    pending_ = {true, message, wParam, lParam};
}

bool ClientWindow::PlayerInTransaction() const {
    return false;
}

PlayMode ClientWindow::CurrentPlayMode() const {
    return PlayMode::kNone;
}

const char* ClientWindow::FocusedTitle() const {
    return nullptr;
}

HWND ClientWindow::TreeHandle() const {
    return tree_ ? tree_->Handle() : nullptr;
}

HWND ClientWindow::ListHandle() const {
    return list_ ? list_->Handle() : nullptr;
}

void ClientWindow::SetListView(uint32_t view) {
    static const DWORD kViews[] = {LV_VIEW_ICON, LV_VIEW_SMALLICON, LV_VIEW_LIST, LV_VIEW_DETAILS};
    settings.listWindow.show = view & 3;
    if (list_ && list_->Handle()) {
        list_->Send(LVM_SETVIEW, kViews[view & 3], 0);
    }
}

void ClientWindow::RunStartAction() {
    if (list_ && list_->Handle() && !settings.lastSelect.file.empty()) {
        list_->SetFocus();
    }
    // Play control starts the remembered play mode here unless Ctrl is held.
    startPlayMode = StartupPlayMode(startPlayMode, GetKeyState(VK_CONTROL) < 0);
}

bool ClientWindow::PrepareExit() {
    // No list editor can be open yet, so none can refuse.
    const ExitVerdict verdict = ::PrepareExit(&exitFlags, [] { return true; });
    if (verdict == ExitVerdict::kRefusedHandOver) {
        ShowMessageBox(kHandOverExitRefusal, "Quillory", MB_OK | MB_ICONSTOP);
    }
    if (verdict != ExitVerdict::kAllow) {
        return false;
    }
    main_->SetStatusText("終了処理中");
    KillTimer(kClientTimerId);
    main_->ClosePlayPaletteForExit();
    return true;
}

void ClientWindow::SaveAllSettings() {
    if (!exitFlags.saveSettingsOnExit) {
        return;
    }
    settings.window.treeWindWidth = uint32_t(splitter_.Position());
    if (list_ && list_->Handle()) {
        uint32_t* const widths[5] = {&settings.window.listWindFileNameWidth, &settings.window.listWindTitleWidth,
                                     &settings.window.listWindCommentWidth, &settings.window.listWindLastWriteTimeWidth,
                                     &settings.window.listWindModuleWidth};
        for (int i = 0; i < 5; ++i) {
            *widths[i] = uint32_t(list_->Send(LVM_GETCOLUMNWIDTH, WPARAM(i), 0));
        }
    }
    RegistryStore store(Program().settingsRoot);
    SaveSettings(&store, settings);
}

void ClientWindow::OnDestroy(MessageContext&) {
    SaveAllSettings();
}
