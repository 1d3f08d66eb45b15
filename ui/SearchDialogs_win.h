// The search dialogs of the song list (find, modeless; narrow and select,
// modal) built from templates in memory, and the save dialog and writing of
// the HTML export. The dialogs only edit SearchSettings; the searches
// themselves are the pure actions, run by the caller.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "actions/HtmlExport.h"
#include "actions/SearchActions.h"
#include "core/Settings.h"
#include "ui/framework/Dialog_win.h"

enum SearchDialogKind {
    kFindDialog = 0,    // "検索 - Quillory", with the direction group
    kNarrowDialog = 1,  // "絞り込み - Quillory"
    kSelectDialog = 2,  // "選択 - Quillory", with "追加選択"
};

// Results of RunSelectDialog.
constexpr int kSelectCancelled = 0;
constexpr int kSelectReplace = 1;
constexpr int kSelectAdd = 2;

class SearchDialog : public SDialog {
   public:
    // find: run on the find dialog's default button with the direction chosen.
    SearchDialog(SearchDialogKind kind, SWindow* owner, SearchSettings* settings, std::function<void(bool)> find);

    // The song list's size and focused row, which set the find direction.
    void SetListPosition(int32_t rows, int32_t focusedRow);

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;
    void OnDestroy(MessageContext& m) override;

   private:
    void LoadFields();
    void StoreFields();
    void UpdateButtons();
    void FollowFuzzy();
    std::string ComboText(bool selectionChanged) const;

    SearchDialogKind kind_;
    SearchSettings* settings_;
    std::function<void(bool)> find_;
    int32_t rows_ = 0;
    int32_t focusedRow_ = -1;
};

// Command 300: opens the modeless find dialog, or activates the one already
// open. find runs FindAgain in the chosen direction.
void OpenFindDialog(SWindow* owner,
                    SearchSettings* settings,
                    int32_t rows,
                    int32_t focusedRow,
                    std::function<void(bool)> find);

// The open find dialog's window, for the message loop's IsDialogMessage;
// null when none is open.
HWND FindDialogWindow();

// Command 310: true when the user chose "絞り込み" (the settings then hold
// the fields and the text is in the history).
bool RunNarrowDialog(SWindow* owner, SearchSettings* settings);

// Command 303: kSelectReplace ("選択"), kSelectAdd ("追加選択") or
// kSelectCancelled.
int RunSelectDialog(SWindow* owner, SearchSettings* settings);

// Asks where to write the list. True with the chosen path.
bool AskHtmlExportPath(HWND owner, std::string* path);

// Command 115: with rows selected, asks for the file and writes the page
// under the catalogue lock. True when a file was written; false when nothing
// was selected, the user cancelled or the write failed (then *error is the
// error number and *path the file, for the file error message).
bool ExportHtml(HWND owner,
                SongRows& rows,
                const std::vector<int32_t>& selected,
                const HtmlListSummary& summary,
                SearchHost& host,
                std::string* path,
                uint32_t* error);
