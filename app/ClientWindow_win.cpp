// The client area: its parts' set-up and tear-down, the panes with the
// splitter between them, their notifications, the client timer, the start
// action and the exit preparation.
#include "app/ClientWindow_win.h"

#include <windowsx.h>

#include "app/MainWindow_win.h"
#include "app/RegistryStore_win.h"
#include "catalogue/ListFile.h"
#include "core/CommandIds.h"
#include "core/CommandLine.h"
#include "core/SongFile.h"
#include "ui/ListEditor_win.h"
#include "ui/PropertyWindow_win.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/rules/BrowseRules.h"

static const int kClientId = 30;

ClientWindow::ClientWindow(MainWindow* main, AppState& app)
    : SWindow(kClientWindowClass, main, kWindowKind),
      settings(app.settings),
      exitFlags(app.exitFlags),
      main_(main),
      app_(app),
      selection_(panes_),
      splitter_(this, [this](int x) { LayOutPanes(x); }) {
    SetStyle(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0);
    SetClassLook(nullptr, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SetChildId(kClientId);
    ApplySearchPath(app);
    browse_ = std::make_unique<BrowseSession>(main, *this, app, panes_, selection_);
    search_ = std::make_unique<SearchSession>(main, app, selection_, *browse_);
    dialogs_ = std::make_unique<DialogCommands>(main, *this, app, panes_, selection_, *browse_);
    play_ = std::make_unique<PlayRun>(main, *this, app, panes_, selection_, *browse_, *dialogs_);
    files_ = std::make_unique<FileCommands>(main, app, panes_, selection_, *browse_, *play_);
    browse_->Link(&search_->Narrowing(), play_.get(), files_.get());
}

// Play control goes first and the panes before the window; the parts stay
// until the window's destruction has run its handlers.
ClientWindow::~ClientWindow() {
    SetListEditorSettings(nullptr);
    SetListEditorTitleSettings(nullptr);
    play_.reset();
    panes_.tree.reset();
    panes_.list.reset();
    if (Handle()) {
        DestroyWindow(Handle());
    }
}

void ClientWindow::OnCreate(MessageContext&) {
    splitterCursor_ = LoadCursor(nullptr, IDC_SIZEWE);
    panes_.tree = std::make_unique<FolderTreeWindow>(this, *browse_);
    panes_.list = std::make_unique<SongListWindow>(this, *browse_);
    if (!panes_.tree->CreateTree() || !panes_.list->CreateList(panes_.tree.get(), main_->Dpi())) {
        return;
    }
    // The tree's stored width is a 96-DPI length, as the columns' are.
    splitter_.SetPosition(ScaleFromBase(int(settings.window.treeWindWidth), main_->Dpi()));
    SetListEditorSettings(&settings.makeList);
    SetListEditorTitleSettings(&settings.mode);
    files_->RegisterDropTargets();
    browse_->StartWatchers();
    panes_.tree->BuildTree();
    SetTimer(kClientTimerId, kClientTimerPeriod);
}

void ClientWindow::OnNotify(MessageContext& m) {
    if (panes_.tree && panes_.tree->HandleNotify(m)) {
        return;
    }
    if (panes_.list) {
        panes_.list->HandleNotify(m);
        dialogs_->FollowFocus(m);
    }
}

void ClientWindow::OnPrivateMessage(MessageContext& m) {
    if (!browse_->RunMessage(m)) {
        play_->RunMessage(m);
    }
}

void ClientWindow::OnContextMenu(MessageContext& m) {
    if (files_->ShowContextMenu(HWND(m.wParam), m.lParam)) {
        m.handled = 1;
    }
}

void ClientWindow::LayOutPanes(int splitterX) {
    const RECT r = ClientRect();
    if (panes_.tree && panes_.tree->Handle()) {
        panes_.tree->Move(0, 0, splitterX, r.bottom, true);
    }
    const int listX = splitterX + kSplitterWidth;
    if (panes_.list && panes_.list->Handle()) {
        panes_.list->Move(listX, 0, r.right > listX ? r.right - listX : 0, r.bottom, true);
    }
}

void ClientWindow::FitFirstStartColumns() {
    if (panes_.list && panes_.list->Handle()) {
        panes_.list->FitFirstStartColumns();
    }
}

void ClientWindow::ScrollSelectionIntoView() {
    if (panes_.tree && panes_.tree->Handle()) {
        if (HTREEITEM node = panes_.tree->GetNextItem(nullptr, TVGN_CARET)) {
            panes_.tree->EnsureVisible(node);
        }
    }
    if (panes_.list && panes_.list->Handle()) {
        const int32_t row = panes_.list->FocusedRow();
        if (row >= 0) {
            panes_.list->EnsureVisible(row, false);
        }
    }
}

void ClientWindow::RescaleForDpi(int previous, int dpi) {
    splitter_.SetPosition(MulDiv(splitter_.Position(), dpi, previous));
    if (panes_.list && panes_.list->Handle()) {
        panes_.list->RescaleForDpi(previous, dpi);
    }
}

void ClientWindow::OnSize(MessageContext& m) {
    SWindow::OnSize(m);
    LayOutPanes(splitter_.Position());
}

void ClientWindow::OnLButtonDown(MessageContext& m) {
    const int x = GET_X_LPARAM(m.lParam);
    if (splitter_.Contains(x) && !splitter_.IsDragging()) {
        // The user may have changed the desktop's drag setting since the start.
        app_.fullWindowDrag = ReadDragFullWindows();
    }
    m.handled = splitter_.ButtonDown(x, app_.fullWindowDrag);
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
    play_->Tick();
}

void ClientWindow::HoldMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    play_->HoldMessage(message, wParam, lParam);
}

bool ClientWindow::PlayerInTransaction() const {
    return play_ && play_->InTransaction();
}

PlayMode ClientWindow::CurrentPlayMode() const {
    return play_ ? play_->CurrentPlayMode() : PlayMode::kNone;
}

bool ClientWindow::FocusedTitle(std::string* title) const {
    return panes_.list && panes_.list->Handle() && panes_.list->FocusedTitle(title);
}

FolderTreeWindow* ClientWindow::Tree() const {
    return panes_.tree.get();
}

SongListWindow* ClientWindow::List() const {
    return panes_.list.get();
}

PlayController* ClientWindow::Player() const {
    return play_ ? play_->Player() : nullptr;
}

BrowseSession& ClientWindow::Browse() {
    return *browse_;
}

PlayRun& ClientWindow::Play() {
    return *play_;
}

SearchSession& ClientWindow::Search() {
    return *search_;
}

FileCommands& ClientWindow::Files() {
    return *files_;
}

ListSelection& ClientWindow::Selection() {
    return selection_;
}

HWND ClientWindow::TreeHandle() const {
    return panes_.tree ? panes_.tree->Handle() : nullptr;
}

HWND ClientWindow::ListHandle() const {
    return selection_.ListHandle();
}

void ClientWindow::OpenHandedOver(const std::string& commandLine) {
    CommandLineRequest request;
    SystemCommandLineFiles files;
    ParseClientCommandLine(commandLine.c_str(), &files, &request);
    if (!request.missingPath.empty()) {
        ::ShowFileError(files_->FileOps(), kErrorPathNotFound, false, request.missingPath, MB_OK, nullptr);
    }
    if (request.lastPath.empty() || play_->IsLoadingList()) {
        return;
    }
    settings.lastSelect.path = request.lastPath;
    settings.lastSelect.file = request.lastFile;
    settings.lastSelect.searchSubFolder = request.includeSubFolders;
    browse_->OpenStartLocation();
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
    if (!app_.missingStartPath.empty()) {
        ::ShowFileError(files_->FileOps(), kErrorPathNotFound, false, app_.missingStartPath, MB_OK, nullptr);
    }
    browse_->OpenStartLocation();
    play_->CheckPlayerMenu();
    browse_->CheckViewMenus();
    app_.startPlayMode = StartupPlayMode(app_.startPlayMode, GetKeyState(VK_CONTROL) < 0);
    for (const StartCommand& start : kStartCommands) {
        if (start.playMode == app_.startPlayMode) {
            play_->Player()->BuildPlayOrder();
            play_->RunPlayCommand(start.command);
        }
    }
    const PropertySettings& properties = settings.property;
    if ((settings.mode.regWrite & kRegWriteReopenProperty) && properties.show && properties.window != 1) {
        dialogs_->ShowPropertiesOfFocus(true);
    }
    main_->UpdateButtonStates();
}

bool ClientWindow::PrepareExit() {
    // The scan and the hand-over add their state to the flags for this question only.
    const ExitFlags before = exitFlags;
    exitFlags.busy = before.busy || browse_->Catalogue().busy || play_->Busy();
    exitFlags.handOverRunning = before.handOverRunning || play_->HandOverRunning();
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
    play_->Player()->CloseAtExit(main_->shutdownPending != 0);
    return true;
}

void ClientWindow::SaveAllSettings() {
    if (!exitFlags.saveSettingsOnExit) {
        return;
    }
    settings.window.treeWindWidth = uint32_t(ScaleToBase(splitter_.Position(), main_->Dpi()));
    if (panes_.list && panes_.list->Handle()) {
        const CatalogueState& catalogue = browse_->Catalogue();
        panes_.list->SaveColumnWidths();
        settings.lastSelect.path = catalogue.location;
        settings.lastSelect.file = panes_.list->FocusedPath();
        settings.lastSelect.searchSubFolder = catalogue.includeSubFolders;
    }
    RegistryStore store(Program().settingsRoot);
    SaveSettings(&store, settings);
    SaveSoundModules(&store, app_.modules, app_.detectors);
}

void ClientWindow::OnDestroy(MessageContext&) {
    files_->RevokeDropTargets();
    SaveAllSettings();
    browse_->StopWatchers();
}
