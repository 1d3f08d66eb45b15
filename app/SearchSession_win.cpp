// The client's search, narrowing and HTML export commands: the dialogs and
// the search bar set the search text, the actions walk the catalogue's rows.
#include "app/SearchSession_win.h"

#include <windows.h>

#include "app/BrowseSession_win.h"
#include "app/MainWindow_win.h"
#include "core/CommandIds.h"
#include "ui/SearchDialogs_win.h"

SearchSession::SearchSession(MainWindow* main, AppState& app, ListSelection& selection, BrowseSession& browse)
    : main_(main), app_(app), selection_(selection), browse_(browse) {
}

using S = SearchSession;

const CommandRoute<SearchSession> SearchSession::kCommands[] = {
    {kCmdExportHtml, &S::ExportHtmlList},
    {kCmdFind, &S::Find},
    {kCmdFindPrevious, &S::FindPrevious},
    {kCmdFindNext, &S::FindNext},
    {kCmdSelect, &S::SelectByDialog},
    {kCmdNarrow, &S::NarrowByDialog},
    {kCmdNarrowSelection, &S::NarrowSelection},
    {kCmdWidenOne, &S::WidenOne},
    {kCmdWidenAll, &S::WidenAll},
    {kCmdBarSearchUp, &S::BarSearchUp},
    {kCmdBarSearchDown, &S::BarSearchDown},
    {kCmdBarSelect, &S::BarSelect},
    {kCmdBarNarrow, &S::BarNarrow},
    {kCmdBarWiden, &S::WidenOne},
    {kCmdFocusSearchBar, &S::FocusSearchBar},
};

bool SearchSession::RunCommand(MessageContext& m) {
    return RouteCommand(this, kCommands, m);
}

NarrowState& SearchSession::Narrowing() {
    return narrow_;
}

bool SearchSession::EscapePressed() {
    return browse_.EscapePressed();
}

void SearchSession::DiscardPendingInput() {
    browse_.DiscardPendingInput();
}

void SearchSession::ShowStatus(const char* text) {
    browse_.ShowStatus(text);
}

void SearchSession::ShowWaitCursor(bool on) {
    browse_.ShowWaitCursor(on);
}

void SearchSession::LockCatalogue() {
    browse_.LockCatalogue();
}

void SearchSession::UnlockCatalogue() {
    browse_.UnlockCatalogue();
}

int32_t SearchSession::FocusedRow() {
    return selection_.FocusedRow();
}

void SearchSession::FocusRow(int32_t row) {
    selection_.FocusRow(row);
}

void SearchSession::MoveFocus(int32_t row) {
    selection_.MoveFocus(row);
}

bool SearchSession::IsSelected(int32_t row) {
    return selection_.IsSelected(row);
}

void SearchSession::SelectRow(int32_t row) {
    selection_.SelectRow(row);
}

void SearchSession::ClearSelection() {
    selection_.ClearSelection();
}

void SearchSession::RefreshCount() {
    selection_.RefreshCount();
}

void SearchSession::ReloadList() {
    browse_.ReloadList();
}

void SearchSession::FocusSearchBar() {
    main_->FocusSearchText();
}

void SearchSession::FillSearchHistory() {
    HWND combo = main_->SearchComboHandle();
    if (!combo) {
        return;
    }
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : HistoryEntries(app_.settings.search.history)) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SetWindowTextA(combo, app_.settings.search.searchText.c_str());
}

bool SearchSession::TakeSearchBarText() {
    HWND combo = main_->SearchComboHandle();
    char text[kSearchTextBytes] = {};
    if (combo) {
        GetWindowTextA(combo, text, sizeof text);
    }
    if (!text[0]) {
        return false;
    }
    if (SetSearchText(&app_.settings.search, text)) {
        FillSearchHistory();
    }
    return true;
}

void SearchSession::Find() {
    OpenFindDialog(main_, &app_.settings.search, browse_.ObjectCount(), FocusedRow(), [this](bool up) {
        CatalogueRows rows = browse_.Rows();
        FindAgain(app_.settings.search, rows, *this, up);
    });
}

void SearchSession::FindPrevious() {
    CatalogueRows rows = browse_.Rows();
    FindAgain(app_.settings.search, rows, *this, true);
}

void SearchSession::FindNext() {
    CatalogueRows rows = browse_.Rows();
    FindAgain(app_.settings.search, rows, *this, false);
}

void SearchSession::SelectByDialog() {
    const int choice = RunSelectDialog(main_, &app_.settings.search);
    if (choice != kSelectCancelled) {
        CatalogueRows rows = browse_.Rows();
        SelectMatching(app_.settings.search, rows, *this, choice == kSelectReplace);
    }
}

void SearchSession::NarrowByDialog() {
    if (RunNarrowDialog(main_, &app_.settings.search)) {
        CatalogueRows rows = browse_.Rows();
        NarrowByMatch(app_.settings.search, rows, *this, &narrow_);
    }
}

void SearchSession::NarrowSelection() {
    CatalogueRows rows = browse_.Rows();
    NarrowToSelection(rows, *this, &narrow_);
}

void SearchSession::WidenOne() {
    UndoNarrowLevelAndReload(*this, &narrow_);
}

void SearchSession::WidenAll() {
    ClearNarrowingAndReload(*this, &narrow_);
}

void SearchSession::BarSearchUp() {
    if (TakeSearchBarText()) {
        FindPrevious();
    }
}

void SearchSession::BarSearchDown() {
    if (TakeSearchBarText()) {
        FindNext();
    }
}

// A select or narrow that found rows hands the keyboard to the song list.
void SearchSession::BarSelect() {
    if (TakeSearchBarText()) {
        CatalogueRows rows = browse_.Rows();
        if (SelectMatching(app_.settings.search, rows, *this, true)) {
            ::SetFocus(selection_.ListHandle());
        }
    }
}

void SearchSession::BarNarrow() {
    if (TakeSearchBarText()) {
        CatalogueRows rows = browse_.Rows();
        if (NarrowByMatch(app_.settings.search, rows, *this, &narrow_)) {
            ::SetFocus(selection_.ListHandle());
        }
    }
}

void SearchSession::ExportHtmlList() {
    HtmlListSummary summary;
    const CatalogueState& catalogue = browse_.Catalogue();
    summary.location = catalogue.location;
    summary.totalObjects = browse_.ObjectCount();
    summary.sortKind = catalogue.settings.sortKind;
    summary.sortDescending = catalogue.settings.sortDescending;
    summary.time = CurrentLocalTime();
    summary.widenKana = app_.settings.mode.changeHtmlKana;
    CatalogueRows rows = browse_.Rows();
    std::string path;
    uint32_t error = 0;
    if (!ExportHtml(main_->Handle(), rows, selection_.SelectedRows(), summary, *this, &path, &error) && error != 0) {
        browse_.ShowFileError(error, "\n" + path);
    }
}
