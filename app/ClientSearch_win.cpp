// The client's search, narrowing, HTML export and title cache commands: the
// dialogs and the search bar set the search text, the actions walk the
// catalogue's rows.
#include <windows.h>

#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "ui/SearchDialogs_win.h"

void ClientWindow::FillSearchHistory() {
    HWND combo = main_->SearchComboHandle();
    if (!combo) {
        return;
    }
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : HistoryEntries(settings.search.history)) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SetWindowTextA(combo, settings.search.searchText.c_str());
}

bool ClientWindow::TakeSearchBarText() {
    HWND combo = main_->SearchComboHandle();
    char text[kSearchTextBytes] = {};
    if (combo) {
        GetWindowTextA(combo, text, sizeof text);
    }
    if (!text[0]) {
        return false;
    }
    if (SetSearchText(&settings.search, text)) {
        FillSearchHistory();
    }
    return true;
}

void ClientWindow::Find() {
    OpenFindDialog(main_, &settings.search, ObjectCount(), FocusedRow(), [this](bool up) {
        CatalogueRows rows = Rows();
        FindAgain(settings.search, rows, *this, up);
    });
}

void ClientWindow::FindPrevious() {
    CatalogueRows rows = Rows();
    FindAgain(settings.search, rows, *this, true);
}

void ClientWindow::FindNext() {
    CatalogueRows rows = Rows();
    FindAgain(settings.search, rows, *this, false);
}

void ClientWindow::SelectByDialog() {
    const int choice = RunSelectDialog(main_, &settings.search);
    if (choice != kSelectCancelled) {
        CatalogueRows rows = Rows();
        SelectMatching(settings.search, rows, *this, choice == kSelectReplace);
    }
}

void ClientWindow::NarrowByDialog() {
    if (RunNarrowDialog(main_, &settings.search)) {
        CatalogueRows rows = Rows();
        NarrowByMatch(settings.search, rows, *this, &narrow_);
    }
}

void ClientWindow::NarrowSelection() {
    CatalogueRows rows = Rows();
    NarrowToSelection(rows, *this, &narrow_);
}

void ClientWindow::WidenOne() {
    UndoNarrowLevelAndReload(*this, &narrow_);
}

void ClientWindow::WidenAll() {
    ClearNarrowingAndReload(*this, &narrow_);
}

void ClientWindow::BarSearchUp() {
    if (TakeSearchBarText()) {
        FindPrevious();
    }
}

void ClientWindow::BarSearchDown() {
    if (TakeSearchBarText()) {
        FindNext();
    }
}

// A select or narrow that found rows hands the keyboard to the song list.
void ClientWindow::BarSelect() {
    if (TakeSearchBarText()) {
        CatalogueRows rows = Rows();
        if (SelectMatching(settings.search, rows, *this, true)) {
            ::SetFocus(ListHandle());
        }
    }
}

void ClientWindow::BarNarrow() {
    if (TakeSearchBarText()) {
        CatalogueRows rows = Rows();
        if (NarrowByMatch(settings.search, rows, *this, &narrow_)) {
            ::SetFocus(ListHandle());
        }
    }
}

void ClientWindow::ExportHtmlList() {
    HtmlListSummary summary;
    summary.location = catalogue_.location;
    summary.totalObjects = ObjectCount();
    summary.sortKind = catalogue_.settings.sortKind;
    summary.sortDescending = catalogue_.settings.sortDescending;
    summary.time = CurrentLocalTime();
    summary.widenKana = settings.mode.changeHtmlKana;
    CatalogueRows rows = Rows();
    std::string path;
    uint32_t error = 0;
    if (!ExportHtml(main_->Handle(), rows, SelectedRows(), summary, *this, &path, &error) && error != 0) {
        ShowFileError(error, "\n" + path);
    }
}

// Brings the cache up to date with the scan (update) or makes it anew, then
// shows the list with the texts read.
void ClientWindow::RefreshCache(bool update) {
    if (catalogue_.kind == kLocationNone || catalogue_.busy) {
        return;
    }
    exitFlags.busy = true;
    {
        CatalogueLockScope lock(*this);
        RefreshTitleCache(catalogue_.cache, catalogue_.scanList, *this, *analyzer_, update, true);
    }
    exitFlags.busy = false;
    RestoreStatus();
}

void ClientWindow::UpdateCache() {
    RefreshCache(true);
}

// The selected songs' entries are dropped, so the reopened list reads them again.
void ClientWindow::ForceUpdateCache() {
    if (catalogue_.kind == kLocationNone || catalogue_.busy) {
        return;
    }
    {
        CatalogueLockScope lock(*this);
        BagBox& cache = catalogue_.cache.TitleCache;
        for (int32_t row : SelectedRows()) {
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

void ClientWindow::NewCache() {
    RefreshCache(false);
}

void ClientWindow::DeleteCache() {
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
        list_->Invalidate(false);
    }
}
