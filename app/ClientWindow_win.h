// ClientWindow: the client area of the main window ("Kadrel Client") and the
// owner of the application state: settings, the catalogue and its lock, the
// folder tree and song list, play control, narrowing, the client timer with
// its pending message and the command router. It is the host of the panes,
// the catalogue, the player and the searches.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "actions/DragDrop_win.h"
#include "actions/EditCommands.h"
#include "actions/FileOps_win.h"
#include "actions/Narrowing.h"
#include "actions/SearchActions.h"
#include "actions/SongRows.h"
#include "analysis/SoundModules.h"
#include "catalogue/FolderWatcher_win.h"
#include "catalogue/FullSongAnalyzer.h"
#include "core/RandomGenerator.h"
#include "core/Settings.h"
#include "core/Startup.h"
#include "player/PlayController_win.h"
#include "ui/BrowsingHost_win.h"
#include "ui/FolderTreeWindow_win.h"
#include "ui/SongListWindow_win.h"
#include "ui/framework/SWindow_win.h"
#include "ui/framework/Splitter_win.h"
#include "ui/rules/MainWindowRules.h"

class MainWindow;

constexpr char kClientWindowClass[] = "Kadrel Client";
constexpr UINT_PTR kClientTimerId = 1;
constexpr UINT kClientTimerPeriod = 500;  // milliseconds

class ClientWindow : public SWindow, public BrowsingHost, public CatalogueHost, public PlayerHost, public SearchHost {
   public:
    // Loads the settings, reads the command line, extends the search path and
    // seeds the random generator; the window comes with Create.
    explicit ClientWindow(MainWindow* main);
    ~ClientWindow() override;

    // Runs a command from any source; true when the router has a row for it.
    bool RunCommand(MessageContext& m);
    // Whether the program may close now; a refusal leaves everything running.
    bool PrepareExit();
    // True while player control waits on a DDE transaction.
    bool PlayerInTransaction() const;
    // Keeps a message for the timer to post to the main window again.
    void HoldMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Restores the last location and starts the start-up play mode.
    void RunStartAction();
    // Opens the location or song a second start's command line names.
    void OpenHandedOver(const std::string& commandLine);
    // Writes every setting (only while saving on exit is on).
    void SaveAllSettings();
    // Once the frame has its first size: the first-start column widths.
    void FitFirstStartColumns();
    // The frame moved to a screen of another density: the tree pane and the
    // columns keep their share of the screen.
    void RescaleForDpi(int previous, int dpi);
    // Sets "Path" to the saved search path and the player's "ExecPath".
    void ApplySearchPath();

    HWND TreeHandle() const;
    HWND ListHandle() const;
    PlayMode CurrentPlayMode() const;
    // Title of the focused song as the list shows it; false when none is focused.
    bool FocusedTitle(std::string* title) const;
    FolderTreeWindow* Tree() const;
    SongListWindow* List() const;
    PlayController* Player() const;
    const NarrowState& Narrowing() const;
    // The rows the searches and the export read.
    CatalogueRows Rows();
    // What the file operations show the user (ClientFileOps_win.cpp); a test
    // puts its own host in to answer the questions.
    FileOpsHost& FileOps();
    void SetFileOps(std::unique_ptr<FileOpsHost> host);
    // Drops on the panes (ClientDragDrop_win.cpp): the folder a drop at a
    // screen point goes to (empty: refused), and the drop itself with its
    // effect for the drag source.
    std::string DropTargetFolder(bool tree, POINT screen);
    DWORD DropFiles(bool tree, IDataObject* data, POINT screen, bool move);

    // BrowsingHost.
    CatalogueState& Catalogue() override;
    ClientSettings& Settings() override;
    void LockCatalogue() override;
    void UnlockCatalogue() override;
    void SetStatusText(int part, const char* text) override;
    int32_t NarrowDepth() override;
    bool SequencedPlayRunning() override;
    bool HandOverRunning() override;
    void PostMainCommand(int command) override;
    void SendMainCommand(int command) override;
    HWND ClientHandle() override;
    void CheckMenuRadio(int first, int last, int checked) override;
    void StopFolderWatchers() override;
    void StartFolderWatchers() override;
    void StartDrag(bool rightButton) override;
    void StartTreeDrag(HTREEITEM node) override;

    // CatalogueHost and its TitleCacheHost.
    bool PumpMessages() override;
    bool KeepRow(const char* path) override;
    LocationKind SelectedNodeKind() override;
    void RememberTexts(int32_t row, const char* title, const char* comment, const char* soundModule) override;
    void ShowWaitCursor(bool on) override;
    void ClearDisplay() override;
    void SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition) override;
    void ShowRows(int32_t count, int32_t selectedRow, int32_t scrollPosition) override;
    void ReleaseWatch() override;
    void SetUpWatch() override;
    void UpdateTree(bool expand) override;
    void ShowStatus(const char* text) override;
    void RestoreStatus() override;
    void OpenProgress(const char* caption) override;
    void ShowProgress(const char* path, int32_t percent, int32_t unreadable) override;
    void CloseProgress() override;
    void ProcessMessages(TitleCacheState& state) override;
    void Redisplay() override;
    void ShowFileError(uint32_t error, const std::string& text) override;
    void ShowWarning(const std::string& text) override;

    // PlayerHost.
    ClientSettings* CurrentSettings() override;
    const BagBox& SoundModules() override;
    PendingCommand* Pending() override;
    int32_t ObjectCount() override;
    int32_t FocusedRow() override;
    std::vector<int32_t> SelectedRows() override;
    void FocusRow(int32_t row) override;
    void SelectRow(int32_t row) override;
    void SetPlayRangeMark(int32_t row, bool on) override;
    bool HasPlayRangeMark(int32_t row) override;
    void RedrawList() override;
    std::string SongPath(int32_t row) override;
    int32_t SongFileType(int32_t row) override;
    std::string SongSoundModule(int32_t row) override;
    PlayableSong PreparePlayablePath(int32_t row, const std::string& path) override;
    void ShowEmulationText(const std::string& text) override;
    void ShowPlayModeText(const std::string& text) override;
    void ShowStatusMessage(const std::string& text) override;
    void RefreshObjectCount() override;
    void RefreshCommandStates() override;
    void RefreshMinimizedTitle() override;
    void UpdateSongInfoWindow() override;
    void SetIndicatorPicture(int32_t picture) override;
    void SetBusy(bool busy) override;
    void SetEndTimer(bool run) override;
    SelectorShow WindowShow() override;
    bool IsLoadingList() override;
    bool IsExiting() override;
    bool EnableMainWindow(bool enable) override;
    bool ShiftHeld() override;
    bool CtrlHeld() override;
    void ShowError(const std::string& text) override;
    void PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // SearchHost.
    bool EscapePressed() override;
    void DiscardPendingInput() override;
    void MoveFocus(int32_t row) override;
    bool IsSelected(int32_t row) override;
    void ClearSelection() override;
    void RefreshCount() override;
    void ReloadList() override;

    ClientSettings settings;
    ExitFlags exitFlags;
    CRITICAL_SECTION catalogueLock;
    RandomGenerator random;
    int32_t startPlayMode = 0;
    bool highColourIcons = false;
    bool fullWindowDrag = false;
    std::string savedSearchPath;

   protected:
    void OnCreate(MessageContext& m) override;
    void OnSize(MessageContext& m) override;
    void OnTimer(MessageContext& m) override;
    void OnDestroy(MessageContext& m) override;
    void OnNotify(MessageContext& m) override;
    void OnPrivateMessage(MessageContext& m) override;
    void OnLButtonDown(MessageContext& m) override;
    void OnMouseMove(MessageContext& m) override;
    void OnLButtonUp(MessageContext& m) override;
    void OnSetCursor(MessageContext& m) override;
    void OnContextMenu(MessageContext& m) override;

   private:
    void LayOutPanes(int splitterX);
    void ReadDesktopFlags();
    void TakeScanSettings();
    void ParseCommandLine();
    void SetListView(uint32_t view);
    void OpenStartLocation();
    void CheckPlayerMenu();
    // The change watch (ClientWatch_win.cpp). With a drive root, acts only
    // when the location is a folder on that drive; start watches the
    // location, otherwise the watch is dropped.
    void StartWatchers();
    void RefreshFolderWatch(const char* driveRoot, bool start);
    void OnDriveChecked(const char* root, bool ready);
    LRESULT OnDriveChanged(WPARAM driveRow, LPARAM);
    LRESULT OnFolderChanged(WPARAM, LPARAM);
    LRESULT OnSortColumn(WPARAM column, LPARAM);
    LRESULT OnPlayControl2(WPARAM, LPARAM);
    // Refills the search bar's history list.
    void FillSearchHistory();
    // Takes the search bar's text as the search text; false when it is empty.
    bool TakeSearchBarText();

    // Commands.
    void NewListFile();
    void EditListFile();
    void Exit();
    void DeleteSettingsAndExit();
    void ResetBandLayout();
    void ToggleStatusBar();
    void TogglePlayPalette();
    void NextView();
    void ViewLargeIcons();
    void ViewSmallIcons();
    void ViewList();
    void ViewDetails();
    void FocusSearchBar();
    void SelectAll();
    void InvertSelection();
    void SortAscending();
    void SortDescending();
    void SortByName();
    void SortByTitle();
    void SortByComment();
    void SortByModule();
    void SortByDate();
    void SortNone();
    void Refresh();
    static bool IsPlayerCommand(int id);
    void RunPlayCommand(int id);
    void UpdateCache();
    void ForceUpdateCache();
    void NewCache();
    void DeleteCache();
    void RefreshCache(bool update);
    void Find();
    void FindPrevious();
    void FindNext();
    void SelectByDialog();
    void NarrowByDialog();
    void NarrowSelection();
    void WidenOne();
    void WidenAll();
    void BarSearchUp();
    void BarSearchDown();
    void BarSelect();
    void BarNarrow();
    void ExportHtmlList();
    void OpenManual();
    void ShowVersion();
    void ChangeTitle();
    void ChangeComment();
    void ChangeModule();
    void ShowProperties();
    void OpenSettings();
    // The song list's file commands (ClientFileOps_win.cpp).
    void CopyToClipboard();
    void PasteIntoLocation();
    void DeleteSelected();
    std::vector<SelectedObject> SelectedObjects();
    std::string CurrentFolder() const;
    void RegisterDropTargets();
    void RevokeDropTargets();
    // The folder and tree commands, Edit and shell properties (ClientTreeOps_win.cpp).
    void CopyToFolder();
    void MoveToFolder();
    void CopyMoveToFolder(bool move);
    void ChangeFolder();
    HTREEITEM FolderNodeForCommand();
    void NewFolder();
    void NewListInTree();
    void CreateTreeItem(bool listFile);
    bool CommandFileItem(HTREEITEM* node, std::string* item, bool* listFile);
    void RenameTreeItem();
    void DeleteTreeItemCommand();
    void EditTreeList();
    void PlayTreeSequential();
    void PlayTreeRandom();
    void PlayTreeNode(int playCommand);
    void EjectTreeDrive();
    void EditSong();
    void EditWrd();
    void EditDocument();
    void EditFocused(EditWhat what);
    void OpenShellProperties();
    void ShowFocusedPaneMenu();
    void ShowListMenu(POINT at);
    // The dialog commands' helpers (ClientDialogs_win.cpp).
    void ChangeSelectionText(int32_t column);
    void StoreHandSetText(const std::vector<int32_t>& rows, int32_t column, const std::string& text);
    void ShowPropertiesOfFocus(bool activate);
    void FollowFocus(const MessageContext& m);
    void ApplyChangedSettings(uint32_t refresh);

    static const CommandRoute<ClientWindow> kCommands[];
    static const MessageRoute<ClientWindow> kMessages[];

    MainWindow* main_;
    BagBox modules_ = MakeSoundModuleTable();
    BagBox detectors_ = MakeSoundModuleDetectorTable();
    std::unique_ptr<FullSongAnalyzer> analyzer_;
    CatalogueState catalogue_;
    NarrowState narrow_;
    std::unique_ptr<FolderTreeWindow> tree_;
    std::unique_ptr<SongListWindow> list_;
    std::unique_ptr<PlayController> player_;
    Splitter splitter_;
    PendingCommand pending_;
    bool busy_ = false;
    int32_t lockDepth_ = 0;
    HCURSOR splitterCursor_ = nullptr;
    FolderWatcher folderWatcher_;
    DriveWatcherSet driveWatchers_;
    FixedDriveWatcher fixedDriveWatcher_;
    int settingsTab_ = 0;  // the settings dialog's tab when it last closed
    std::unique_ptr<FileOpsHost> fileOps_;
    std::string lastTransferFolder_;  // the folder dialog's last choice
    std::unique_ptr<DropHandler> listDrop_;
    std::unique_ptr<DropHandler> treeDrop_;
    IDropTarget* listDropTarget_ = nullptr;
    IDropTarget* treeDropTarget_ = nullptr;
    std::string missingStartPath_;  // the command line's first path that is not there
};
