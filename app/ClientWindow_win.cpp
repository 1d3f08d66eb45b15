// The client area: the application state's set-up and tear-down, the panes
// with the splitter between them, their notifications, the client timer and
// the exit preparation.
#include "app/ClientWindow_win.h"

#include <windowsx.h>

#include "app/MainWindow_win.h"
#include "app/RegistryStore_win.h"
#include "catalogue/ListFile.h"
#include "core/CommandIds.h"
#include "core/CommandLine.h"
#include "core/SongFile.h"
#include "core/Text.h"
#include "ui/ListEditor_win.h"
#include "ui/PropertyWindow_win.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/rules/BrowseRules.h"

static const int kClientId = 30;

// A desktop value under the current user as text; false when it is missing.
static bool ReadDesktopValue(const char* key, const char* name, char* value, DWORD bytes) {
    return RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &bytes) == ERROR_SUCCESS;
}

// An environment variable of the process, however long; empty when missing.
static std::string EnvironmentValue(const char* name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return std::string();
    }
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

ClientWindow::ClientWindow(MainWindow* main)
    : SWindow(kClientWindowClass, main, kWindowKind), main_(main), splitter_(this, [this](int x) { LayOutPanes(x); }) {
    SetStyle(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0);
    SetClassLook(nullptr, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SetChildId(kClientId);
    savedSearchPath = SavedSearchPath(EnvironmentValue("Path").c_str());
    ReadDesktopFlags();
    Program().clipboardFormat = RegisterClipboardFormatA("Kadrel ClipboardFormat");
    RegistryStore store(Program().settingsRoot);
    LoadSettings(&store, &settings);
    LoadSoundModules(&store, &modules_, &detectors_);
    ParseCommandLine();
    ApplySearchPath();
    SYSTEMTIME now;
    GetSystemTime(&now);
    random.seed(StartupSeed(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds));
    InitializeCriticalSection(&catalogueLock);
    analyzer_ = std::make_unique<FullSongAnalyzer>(&detectors_, settings.emulation.searchStrFlag,
                                                   settings.emulation.searchResetMessage ? &modules_ : nullptr);
    analyzer_->titleSearch = settings.mode.titleSearch;
    catalogue_.host = this;
    catalogue_.analyzer = analyzer_.get();
    catalogue_.playerTypeMask = PlayerTypeMask(int32_t(settings.mode.playerMode));
    TakeScanSettings();
    ScanSettings& scan = catalogue_.settings;
    scan.sortKind = SortKind(settings.listWindow.sort);
    scan.sortDescending = settings.listWindow.sortFlag;
    catalogue_.includeSubFolders = settings.lastSelect.searchSubFolder;
    player_ = std::make_unique<PlayController>(this);
}

ClientWindow::~ClientWindow() {
    SetListEditorSettings(nullptr);
    SetListEditorTitleSettings(nullptr);
    player_.reset();
    tree_.reset();
    list_.reset();
    if (Handle()) {
        DestroyWindow(Handle());
    }
    DeleteCriticalSection(&catalogueLock);
}

// The settings the catalogue keeps a copy of, which the settings dialog changes.
void ClientWindow::TakeScanSettings() {
    ScanSettings& scan = catalogue_.settings;
    scan.searchArchive = settings.listWindow.searchArchive;
    scan.showFileNameExt = settings.listWindow.showFileNameExt;
    scan.autoCache = settings.mode.autoCache;
    scan.focusLastRow = settings.listWindow.tvnSelChangedLastSel;
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
    missingStartPath_ = request.missingPath;
}

void ClientWindow::ApplySearchPath() {
    SetEnvironmentVariableA("Path", ExtendedSearchPath(savedSearchPath, settings.player.execPath.c_str()).c_str());
}

void ClientWindow::OnCreate(MessageContext&) {
    splitterCursor_ = LoadCursor(nullptr, IDC_SIZEWE);
    tree_ = std::make_unique<FolderTreeWindow>(this, *this);
    list_ = std::make_unique<SongListWindow>(this, *this);
    if (!tree_->CreateTree() || !list_->CreateList(tree_.get(), main_->Dpi())) {
        return;
    }
    // The tree's stored width is a 96-DPI length, as the columns' are.
    splitter_.SetPosition(ScaleFromBase(int(settings.window.treeWindWidth), main_->Dpi()));
    SetListEditorSettings(&settings.makeList);
    SetListEditorTitleSettings(&settings.mode);
    RegisterDropTargets();
    StartWatchers();
    tree_->BuildTree();
    SetTimer(kClientTimerId, kClientTimerPeriod);
}

void ClientWindow::OnNotify(MessageContext& m) {
    if (tree_ && tree_->HandleNotify(m)) {
        return;
    }
    if (list_) {
        list_->HandleNotify(m);
        FollowFocus(m);
    }
}

const MessageRoute<ClientWindow> ClientWindow::kMessages[] = {
    {kMsgSortColumn, &ClientWindow::OnSortColumn},
    {kMsgPlayControl2, &ClientWindow::OnPlayControl2},
    {WM_DRIVE_CHANGED, &ClientWindow::OnDriveChanged},
    {WM_FOLDER_CHANGED, &ClientWindow::OnFolderChanged},
};

void ClientWindow::OnPrivateMessage(MessageContext& m) {
    RouteMessage(this, kMessages, m);
}

LRESULT ClientWindow::OnSortColumn(WPARAM column, LPARAM) {
    if (list_) {
        list_->OnSortColumn(int32_t(column));
    }
    return 0;
}

LRESULT ClientWindow::OnPlayControl2(WPARAM, LPARAM) {
    RunPlayCommand(kCmdPlay);
    return 0;
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

void ClientWindow::FitFirstStartColumns() {
    if (list_ && list_->Handle()) {
        list_->FitFirstStartColumns();
    }
}

void ClientWindow::RescaleForDpi(int previous, int dpi) {
    splitter_.SetPosition(MulDiv(splitter_.Position(), dpi, previous));
    if (list_ && list_->Handle()) {
        list_->RescaleForDpi(previous, dpi);
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
    if (player_) {
        player_->EndOfSongTick();
    }
}

void ClientWindow::HoldMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    pending_ = {true, message, wParam, lParam};
}

bool ClientWindow::PlayerInTransaction() const {
    return player_ && player_->dde().BusyCount() != 0;
}

PlayMode ClientWindow::CurrentPlayMode() const {
    return player_ ? player_->mode() : PlayMode::kNone;
}

bool ClientWindow::FocusedTitle(std::string* title) const {
    return list_ && list_->Handle() && list_->FocusedTitle(title);
}

FolderTreeWindow* ClientWindow::Tree() const {
    return tree_.get();
}

SongListWindow* ClientWindow::List() const {
    return list_.get();
}

PlayController* ClientWindow::Player() const {
    return player_.get();
}

const NarrowState& ClientWindow::Narrowing() const {
    return narrow_;
}

CatalogueRows ClientWindow::Rows() {
    return CatalogueRows(catalogue_, *analyzer_, settings.mode.cutTitleSpace, settings.mode.userTextExt.c_str());
}

HWND ClientWindow::TreeHandle() const {
    return tree_ ? tree_->Handle() : nullptr;
}

HWND ClientWindow::ListHandle() const {
    return list_ ? list_->Handle() : nullptr;
}

void ClientWindow::SetListView(uint32_t view) {
    if (list_ && list_->Handle()) {
        list_->SetView(view & 3, false);
    }
}

// The song to focus at start as the rows of the location name it. A list
// file's rows hold full paths: a song named relative to the list
// (best.lst>song.mid on the command line) is where the list would find it.
static std::string StartSongPath(const CatalogueState& state, const std::string& file) {
    if (state.kind != kLocationListFile || file.empty() || state.location.empty()) {
        return file;
    }
    ListPathBase base;
    base.drive = state.driveBase;
    SplitPath(state.location.substr(0, state.location.size() - 1).c_str(), &base.folder, nullptr, false);
    return ResolveListPath(file, base);
}

// The remembered location, with the remembered song focused when it is still there.
void ClientWindow::OpenStartLocation() {
    const std::string& path = settings.lastSelect.path;
    if (!tree_ || path.empty()) {
        return;
    }
    if (!tree_->SelectStartPath(path, settings.lastSelect.searchSubFolder)) {
        // A location gone since is passed over; one given with a path too
        // long for the system would leave an empty list without a word.
        const uint32_t error = LocationPathError(path);
        if (error != 0) {
            ShowFileError(error, path);
        }
        return;
    }
    const std::string file = StartSongPath(catalogue_, settings.lastSelect.file);
    for (int32_t row = 0; !file.empty() && row < catalogue_.objectList.Count(); ++row) {
        if (lstrcmpiA(catalogue_.objectList.Read(row, ObjectListColumn::path), file.c_str()) == 0) {
            FocusRow(row);
            list_->SetFocus();
            break;
        }
    }
}

void ClientWindow::OpenHandedOver(const std::string& commandLine) {
    CommandLineRequest request;
    SystemCommandLineFiles files;
    ParseClientCommandLine(commandLine.c_str(), &files, &request);
    if (!request.missingPath.empty()) {
        ::ShowFileError(FileOps(), kErrorPathNotFound, false, request.missingPath, MB_OK, nullptr);
    }
    if (request.lastPath.empty() || IsLoadingList()) {
        return;
    }
    settings.lastSelect.path = request.lastPath;
    settings.lastSelect.file = request.lastFile;
    settings.lastSelect.searchSubFolder = request.includeSubFolders;
    OpenStartLocation();
}

// The play command each start play mode runs once the window is up.
struct StartCommand {
    int32_t playMode;
    int command;
};

static const StartCommand kStartCommands[] = {
    {kStartPlayAuto, kCmdPlaySequential},
    {kStartPlayRandom, kCmdPlayRandom},
    {kStartPlayRepeat, kCmdPlayRepeat},
    {kStartPlaySelection, kCmdPlay},
    {kStartPlayRandomFromSelection, kCmdPlayRandomFromHere},
};

void ClientWindow::RunStartAction() {
    // A path of the command line that is not there is told once; the start
    // goes on as if it had not been given.
    if (!missingStartPath_.empty()) {
        ::ShowFileError(FileOps(), kErrorPathNotFound, false, missingStartPath_, MB_OK, nullptr);
    }
    OpenStartLocation();
    CheckPlayerMenu();
    const int32_t sort = catalogue_.settings.sortKind;
    CheckMenuRadio(kCmdViewLargeIcons, kCmdViewDetails, int(kCmdViewLargeIcons + (settings.listWindow.show & 3)));
    CheckMenuRadio(kCmdSortByName, kCmdSortNone, sort == kSortNone ? kCmdSortNone : kCmdSortByName + sort);
    CheckMenuRadio(kCmdSortAscending, kCmdSortDescending,
                   catalogue_.settings.sortDescending ? kCmdSortDescending : kCmdSortAscending);
    startPlayMode = StartupPlayMode(startPlayMode, GetKeyState(VK_CONTROL) < 0);
    for (const StartCommand& start : kStartCommands) {
        if (start.playMode == startPlayMode) {
            player_->BuildPlayOrder();
            RunPlayCommand(start.command);
        }
    }
    const PropertySettings& properties = settings.property;
    if ((settings.mode.regWrite & kRegWriteReopenProperty) && properties.show && properties.window != 1) {
        ShowPropertiesOfFocus(true);
    }
    main_->UpdateButtonStates();
}

bool ClientWindow::PrepareExit() {
    // The scan and the hand-over add their state to the flags for this question only.
    const ExitFlags before = exitFlags;
    exitFlags.busy = before.busy || catalogue_.busy || busy_;
    exitFlags.handOverRunning = before.handOverRunning || player_->handOverRunning();
    const ExitVerdict verdict = ::PrepareExit(&exitFlags, [] { return CloseAllListEditors(); });
    exitFlags.busy = before.busy;
    exitFlags.handOverRunning = before.handOverRunning;
    if (verdict == ExitVerdict::kRefusedHandOver) {
        ShowMessageBox(kHandOverExitRefusal, "Quillory", MB_OK | MB_ICONSTOP);
    }
    if (verdict != ExitVerdict::kAllow) {
        return false;
    }
    main_->SetStatusText("終了処理中");
    // Taken before the player is closed, which may end the run.
    settings.mode.playMode = uint32_t(CurrentPlayMode());
    KillTimer(kClientTimerId);
    main_->ClosePlayPaletteForExit();
    // Closing the properties window keeps its place in the settings.
    HWND properties = PropertyWindowHandle();
    settings.property.show = properties != nullptr;
    if (properties) {
        DestroyWindow(properties);
    }
    player_->CloseAtExit(main_->shutdownPending != 0);
    return true;
}

void ClientWindow::SaveAllSettings() {
    if (!exitFlags.saveSettingsOnExit) {
        return;
    }
    settings.window.treeWindWidth = uint32_t(ScaleToBase(splitter_.Position(), main_->Dpi()));
    if (list_ && list_->Handle()) {
        list_->SaveColumnWidths();
        settings.lastSelect.path = catalogue_.location;
        settings.lastSelect.file = list_->FocusedPath();
        settings.lastSelect.searchSubFolder = catalogue_.includeSubFolders;
    }
    RegistryStore store(Program().settingsRoot);
    SaveSettings(&store, settings);
    SaveSoundModules(&store, modules_, detectors_);
}

// The watchers end before the catalogue lock they share goes away.
void ClientWindow::OnDestroy(MessageContext&) {
    RevokeDropTargets();
    SaveAllSettings();
    folderWatcher_.Stop();
    driveWatchers_.StopAll();
    fixedDriveWatcher_.Stop();
}
