// The location's commands: refresh, the views and the sort order of the song
// list, the title cache's commands, the list editor; the start location and
// the private messages of the watches and the list's header.
#include <windows.h>

#include "app/BrowseSession_win.h"
#include "app/MainWindow_win.h"
#include "app/PlayRun_win.h"
#include "catalogue/ListFile.h"
#include "catalogue/OpenLocation.h"
#include "core/CommandIds.h"
#include "core/Location.h"
#include "core/Text.h"
#include "ui/ListEditor_win.h"
#include "ui/rules/BrowseRules.h"
#include "ui/rules/MainWindowRules.h"

using B = BrowseSession;

const CommandRoute<BrowseSession> BrowseSession::kCommands[] = {
    {kCmdListNew, &B::NewListFile},
    {kCmdListEdit, &B::EditListFile},
    {kCmdCacheUpdate, &B::UpdateCache},
    {kCmdCacheForceUpdate, &B::ForceUpdateCache},
    {kCmdCacheNew, &B::NewCache},
    {kCmdCacheDelete, &B::DeleteCache},
    {kCmdSelectAll, &B::SelectAll},
    {kCmdInvertSelection, &B::InvertSelection},
    {kCmdViewButton, &B::NextView},
    {kCmdViewLargeIcons, &B::ViewLargeIcons},
    {kCmdViewSmallIcons, &B::ViewSmallIcons},
    {kCmdViewList, &B::ViewList},
    {kCmdViewDetails, &B::ViewDetails},
    {kCmdSortAscending, &B::SortAscending},
    {kCmdSortDescending, &B::SortDescending},
    {kCmdSortByName, &B::SortByName},
    {kCmdSortByTitle, &B::SortByTitle},
    {kCmdSortByComment, &B::SortByComment},
    {kCmdSortByModule, &B::SortByModule},
    {kCmdSortByDate, &B::SortByDate},
    {kCmdSortNone, &B::SortNone},
    {kCmdRefresh, &B::Refresh},
};

const MessageRoute<BrowseSession> BrowseSession::kMessages[] = {
    {kMsgSortColumn, &B::OnSortColumn},
    {WM_DRIVE_CHANGED, &B::OnDriveChanged},
    {WM_FOLDER_CHANGED, &B::OnFolderChanged},
};

bool BrowseSession::RunCommand(MessageContext& m) {
    return RouteCommand(this, kCommands, m);
}

bool BrowseSession::RunMessage(MessageContext& m) {
    return RouteMessage(this, kMessages, m);
}

LRESULT BrowseSession::OnSortColumn(WPARAM column, LPARAM) {
    if (panes_.list) {
        panes_.list->OnSortColumn(int32_t(column));
    }
    return 0;
}

// Lists the location again with the narrowing in force, keeping the focused song.
void BrowseSession::ReloadList() {
    RememberFocusedSong(catalogue_, panes_.list->FocusedPath());
    OpenLocation(catalogue_, OpenOptions());
    panes_.list->UpdateCount();
}

void BrowseSession::Refresh() {
    RememberFocusedSong(catalogue_, panes_.list->FocusedPath());
    OpenOptions options;
    options.updateTree = true;
    OpenLocation(catalogue_, options);
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
    SplitPath(Location(state.location).WithoutMark().c_str(), &base.folder, nullptr, false);
    return ResolveListPath(file, base);
}

void BrowseSession::OpenStartLocation() {
    const LastSelectSettings& last = app_.settings.lastSelect;
    const std::string& path = last.path;
    if (!panes_.tree || path.empty()) {
        return;
    }
    if (!panes_.tree->SelectStartPath(path, last.searchSubFolder)) {
        // A location gone since is passed over; one given with a path too
        // long for the system would leave an empty list without a word.
        const uint32_t error = LocationPathError(path);
        if (error != 0) {
            ShowFileError(error, path);
        }
        return;
    }
    const std::string file = StartSongPath(catalogue_, last.file);
    for (int32_t row = 0; !file.empty() && row < catalogue_.objectList.Count(); ++row) {
        if (lstrcmpiA(catalogue_.objectList.Read(row, ObjectListColumn::path), file.c_str()) == 0) {
            selection_.FocusRow(row);
            panes_.list->SetFocus();
            break;
        }
    }
}

void BrowseSession::CheckViewMenus() {
    const int32_t sort = catalogue_.settings.sortKind;
    CheckMenuRadio(kCmdViewLargeIcons, kCmdViewDetails, int(kCmdViewLargeIcons + (app_.settings.listWindow.show & 3)));
    CheckMenuRadio(kCmdSortByName, kCmdSortNone, sort == kSortNone ? kCmdSortNone : kCmdSortByName + sort);
    CheckMenuRadio(kCmdSortAscending, kCmdSortDescending,
                   catalogue_.settings.sortDescending ? kCmdSortDescending : kCmdSortAscending);
}

void BrowseSession::RefreshCache(bool update) {
    if (catalogue_.kind == kLocationNone || catalogue_.busy) {
        return;
    }
    app_.exitFlags.busy = true;
    {
        CatalogueLockScope lock(*this);
        RefreshTitleCache(catalogue_.cache, catalogue_.scanList, *this, *analyzer_, update, true);
    }
    app_.exitFlags.busy = false;
    RestoreStatus();
}

void BrowseSession::UpdateCache() {
    RefreshCache(true);
}

// The selected songs' entries are dropped, so the reopened list reads them again.
void BrowseSession::ForceUpdateCache() {
    if (catalogue_.kind == kLocationNone || catalogue_.busy) {
        return;
    }
    {
        CatalogueLockScope lock(*this);
        BagBox& cache = catalogue_.cache.TitleCache;
        for (int32_t row : selection_.SelectedRows()) {
            const int32_t entry =
                cache.Find(catalogue_.objectList.Read(row, ObjectListColumn::path), TitleCacheColumn::path);
            if (entry >= 0) {
                cache.Delete(entry);
            }
        }
        SaveTitleCache(catalogue_.cache, *this, false, false);
    }
    ReloadList();
}

void BrowseSession::NewCache() {
    RefreshCache(false);
}

void BrowseSession::DeleteCache() {
    if (catalogue_.kind == kLocationNone) {
        return;
    }
    const std::string cachePath = TitleCacheFilePath(catalogue_.location.c_str(), catalogue_.kind);
    bool deleted = false;
    {
        CatalogueLockScope lock(*this);
        deleted = DeleteTitleCache(catalogue_.cache, *this, cachePath.c_str());
    }
    // Sorted by title or comment, the order came from the cache's texts.
    const int32_t sort = catalogue_.settings.sortKind;
    if (deleted && (sort == kSortByTitle || sort == kSortByComment)) {
        ReloadList();
    } else {
        RestoreStatus();
        panes_.list->Invalidate(false);
    }
}

void BrowseSession::NewListFile() {
    OpenListEditor("");
}

// Edits the list file that is the current location, else starts a new list.
void BrowseSession::EditListFile() {
    std::string path;
    if (catalogue_.kind == kLocationListFile) {
        path = Location(catalogue_.location).WithoutMark();
    }
    OpenListEditor(path);
}

void BrowseSession::SetListView(uint32_t view) {
    if (panes_.list && panes_.list->Handle()) {
        panes_.list->SetView(view & 3, false);
    }
}

// The view button steps through the views only while no sequenced play runs.
void BrowseSession::NextView() {
    if (play_->CurrentPlayMode() == PlayMode::kNone) {
        SetListView(NextListView(app_.settings.listWindow.show));
    }
}

void BrowseSession::ViewLargeIcons() {
    SetListView(0);
}

void BrowseSession::ViewSmallIcons() {
    SetListView(1);
}

void BrowseSession::ViewList() {
    SetListView(2);
}

void BrowseSession::ViewDetails() {
    SetListView(3);
}

void BrowseSession::SelectAll() {
    panes_.list->SelectAll();
}

void BrowseSession::InvertSelection() {
    panes_.list->InvertSelection();
}

void BrowseSession::SortAscending() {
    panes_.list->SetSortOrder(false, false);
}

void BrowseSession::SortDescending() {
    panes_.list->SetSortOrder(true, false);
}

void BrowseSession::SortByName() {
    panes_.list->SetSortKind(kSortByName, false);
}

void BrowseSession::SortByTitle() {
    panes_.list->SetSortKind(kSortByTitle, false);
}

void BrowseSession::SortByComment() {
    panes_.list->SetSortKind(kSortByComment, false);
}

void BrowseSession::SortByModule() {
    panes_.list->SetSortKind(kSortBySoundModule, false);
}

void BrowseSession::SortByDate() {
    panes_.list->SetSortKind(kSortByDate, false);
}

void BrowseSession::SortNone() {
    panes_.list->SetSortKind(kSortNone, false);
}
