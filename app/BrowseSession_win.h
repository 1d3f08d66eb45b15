// BrowseSession: the client's location and its catalogue. It owns the
// CatalogueState with its lock and song analyzer, and the folder and drive
// watches that follow the location; it is the host of the browsing panes and
// of the catalogue's scans and title cache, and runs the location's commands
// (refresh, sorting, views, the title cache, the list editor).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "actions/Narrowing.h"
#include "actions/SongRows.h"
#include "app/AppState_win.h"
#include "app/ListSelection_win.h"
#include "catalogue/FolderScan.h"
#include "catalogue/FolderWatcher_win.h"
#include "catalogue/FullSongAnalyzer.h"
#include "ui/BrowsingHost_win.h"
#include "ui/framework/SWindow_win.h"

class MainWindow;
class PlayRun;
class FileCommands;

class BrowseSession : public BrowsingHost, public CatalogueHost {
   public:
    // client is the window the watches and the panes post to.
    BrowseSession(MainWindow* main, SWindow& client, AppState& app, ClientPanes& panes, ListSelection& selection);
    ~BrowseSession() override;
    BrowseSession(const BrowseSession&) = delete;
    BrowseSession& operator=(const BrowseSession&) = delete;

    // The parts a location's display reaches: the narrowing its scans apply,
    // the play run a new list ends and the drags the panes start.
    void Link(NarrowState* narrow, PlayRun* play, FileCommands* files);
    // Runs a location command; true when it was one.
    bool RunCommand(MessageContext& m);
    // The private messages of the watches and the song list's header.
    bool RunMessage(MessageContext& m);

    // The rows the searches, the play run and the export read.
    CatalogueRows Rows();
    int32_t ObjectCount();
    std::string SongPath(int32_t row);
    int32_t SongFileType(int32_t row);
    // The folder of the location: a folder as it is, a list file's own
    // folder ending in its separator; empty when there is none.
    std::string CurrentFolder() const;
    // Lists the location again with the narrowing in force, keeping the focused song.
    void ReloadList();
    // F5: the tree node and the list read again.
    void Refresh();
    // The remembered location, with the remembered song focused when it is still there.
    void OpenStartLocation();
    // Brings the cache up to date with the scan (update) or makes it anew.
    void RefreshCache(bool update);
    // Takes again what the catalogue and the analyzer keep of the settings.
    void TakeChangedSettings();
    // Ticks the start-up choices of the view and sort menus.
    void CheckViewMenus();
    // While Escape is down / drops the input an abort leaves behind.
    bool EscapePressed();
    void DiscardPendingInput();

    // The change watch (BrowseWatch_win.cpp). With a drive root, acts only
    // when the location is a folder on that drive; start watches the
    // location, otherwise the watch is dropped.
    void StartWatchers();
    void StopWatchers();
    void RefreshFolderWatch(const char* driveRoot, bool start);
    // A drive's watches stop (and the folder's, when on it) or start again.
    void WatchDrive(const char* root, bool on);

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
    bool WatchesChanges() override;
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

   private:
    void TakeScanSettings();
    void MakeAnalyzer();
    void SetListView(uint32_t view);
    void OnDriveChecked(const char* root, bool ready);
    LRESULT OnDriveChanged(WPARAM driveRow, LPARAM);
    LRESULT OnFolderChanged(WPARAM, LPARAM);
    LRESULT OnSortColumn(WPARAM column, LPARAM);

    // Commands.
    void NewListFile();
    void EditListFile();
    void NextView();
    void ViewLargeIcons();
    void ViewSmallIcons();
    void ViewList();
    void ViewDetails();
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
    void UpdateCache();
    void ForceUpdateCache();
    void NewCache();
    void DeleteCache();

    static const CommandRoute<BrowseSession> kCommands[];
    static const MessageRoute<BrowseSession> kMessages[];

    MainWindow* main_;
    SWindow& client_;
    AppState& app_;
    ClientPanes& panes_;
    ListSelection& selection_;
    NarrowState* narrow_ = nullptr;
    PlayRun* play_ = nullptr;
    FileCommands* files_ = nullptr;
    CatalogueState catalogue_;
    CRITICAL_SECTION catalogueLock;
    int32_t lockDepth_ = 0;
    std::unique_ptr<FullSongAnalyzer> analyzer_;
    FolderWatcher folderWatcher_;
    DriveWatcherSet driveWatchers_;
    FixedDriveWatcher fixedDriveWatcher_;
};
