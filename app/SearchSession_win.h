// SearchSession: the client's searches. It owns the narrowing (NarrowState),
// is the searches' host, and runs the find, select, narrow and widen commands
// of the menus and the search bar, and the HTML export of the selection.
#pragma once

#include <cstdint>

#include "actions/Narrowing.h"
#include "actions/SearchActions.h"
#include "app/AppState_win.h"
#include "app/ListSelection_win.h"
#include "ui/framework/SWindow_win.h"

class BrowseSession;
class MainWindow;

class SearchSession : public SearchHost {
   public:
    SearchSession(MainWindow* main, AppState& app, ListSelection& selection, BrowseSession& browse);
    SearchSession(const SearchSession&) = delete;
    SearchSession& operator=(const SearchSession&) = delete;

    // Runs a search command; true when it was one.
    bool RunCommand(MessageContext& m);
    NarrowState& Narrowing();

    // SearchHost.
    bool EscapePressed() override;
    void DiscardPendingInput() override;
    void ShowStatus(const char* text) override;
    void ShowWaitCursor(bool on) override;
    void LockCatalogue() override;
    void UnlockCatalogue() override;
    int32_t FocusedRow() override;
    void FocusRow(int32_t row) override;
    void MoveFocus(int32_t row) override;
    bool IsSelected(int32_t row) override;
    void SelectRow(int32_t row) override;
    void ClearSelection() override;
    void RefreshCount() override;
    void ReloadList() override;

   private:
    // Refills the search bar's history list.
    void FillSearchHistory();
    // Takes the search bar's text as the search text; false when it is empty.
    bool TakeSearchBarText();

    // Commands.
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
    void FocusSearchBar();
    void ExportHtmlList();

    static const CommandRoute<SearchSession> kCommands[];

    MainWindow* main_;
    AppState& app_;
    ListSelection& selection_;
    BrowseSession& browse_;
    NarrowState narrow_;
};
