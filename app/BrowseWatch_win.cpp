// The client's change watch: the folder watch follows the location, the drive
// watches follow the tree's drive list and its drive-ready checks, and their
// private messages re-read the tree's drive or the song list on this thread.
#include "app/BrowseSession_win.h"
#include "app/ClientWindow_win.h"
#include "core/Text.h"
#include "ui/rules/BrowseRules.h"

void BrowseSession::StartWatchers() {
    folderWatcher_.Start(client_.Handle(), &catalogueLock);
    panes_.tree->SetDriveCheckListener([this](const char* root, bool ready) { OnDriveChecked(root, ready); });
}

// Before the tree reads the drives again: no watch may report an index into
// the old drive list.
void BrowseSession::StopFolderWatchers() {
    RefreshFolderWatch(nullptr, false);
    fixedDriveWatcher_.Stop();
    driveWatchers_.StopAll();
}

void BrowseSession::StartFolderWatchers() {
    const BagBox& drives = panes_.tree->DriveList();
    fixedDriveWatcher_.Start(client_.Handle(), drives);
    driveWatchers_.Build(client_.Handle(), drives);
    RefreshFolderWatch(nullptr, true);
}

void BrowseSession::RefreshFolderWatch(const char* driveRoot, bool start) {
    const std::string& location = catalogue_.location;
    const bool folder = catalogue_.kind == kLocationFolder && !location.empty();
    if (driveRoot && (!folder || CompareNoCase(DriveRootOfPath(location.c_str()).c_str(), driveRoot) != 0)) {
        return;
    }
    if (start && folder) {
        folderWatcher_.Watch(location, catalogue_.includeSubFolders);
    } else {
        folderWatcher_.Unwatch();
    }
}

// The watchers end before the catalogue lock they share goes away.
void BrowseSession::StopWatchers() {
    folderWatcher_.Stop();
    driveWatchers_.StopAll();
    fixedDriveWatcher_.Stop();
}

void BrowseSession::WatchDrive(const char* root, bool on) {
    if (on) {
        driveWatchers_.StartDrive(root);
    } else {
        driveWatchers_.StopDrive(root);
    }
    RefreshFolderWatch(root, on);
}

// A drive the user gave up is neither watched nor is the current folder on it.
void BrowseSession::OnDriveChecked(const char* root, bool ready) {
    if (ready) {
        driveWatchers_.StartDrive(root);
        return;
    }
    driveWatchers_.StopDrive(root);
    RefreshFolderWatch(root, false);
}

void BrowseSession::ReleaseWatch() {
    RefreshFolderWatch(nullptr, false);
}

bool BrowseSession::WatchesChanges() {
    return true;
}

// Right after a scan of the folder without sub-folders, the scan's listing
// is the watch's baseline; else the watch lists the folder for one.
void BrowseSession::SetUpWatch() {
    const FolderChildren& listed = catalogue_.children;
    if (catalogue_.kind == kLocationFolder && listed.signatureRead && !listed.folder.empty() &&
        CompareNoCase(listed.folder.c_str(), catalogue_.location.c_str()) == 0) {
        folderWatcher_.Watch(catalogue_.location, catalogue_.includeSubFolders, &listed.signature);
        return;
    }
    RefreshFolderWatch(nullptr, true);
}

// Sent by a drive watcher, which waits until the tree has read the drive.
LRESULT BrowseSession::OnDriveChanged(WPARAM driveRow, LPARAM) {
    if (panes_.tree && panes_.tree->Handle()) {
        CatalogueLockScope lock(*this);
        panes_.tree->RescanDrive(int32_t(driveRow));
    }
    return 0;
}

// The songs of the current folder changed on disk. A scan under way reads
// them anyway.
LRESULT BrowseSession::OnFolderChanged(WPARAM, LPARAM) {
    if (panes_.list && panes_.list->Handle() && !catalogue_.busy && catalogue_.kind == kLocationFolder) {
        Refresh();
    }
    return 0;
}
