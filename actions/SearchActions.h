// The search actions of the song list: find the next matching row, select
// every matching row, narrow the list to the matching or selected rows, and
// undo narrowing. The walks poll Escape before each row and hold the
// catalogue lock, so the folder watcher cannot change the list meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "actions/Narrowing.h"
#include "actions/Search.h"
#include "actions/SongRows.h"
#include "core/Settings.h"

// Status texts of the searches.
extern const char kSearchingText[];  // "検索中 (中止=ESC)"
extern const char kNotFoundText[];   // "見つかりません"
extern const char kAbortedText[];    // "中止しました"

// FindNextMatch results besides a row number.
constexpr int32_t kNoMatch = -1;
constexpr int32_t kSearchAborted = -2;

// What the actions need from the song list, the status bar and the input.
class SearchHost {
   public:
    virtual ~SearchHost() = default;
    // True when Escape is down; polled before each row.
    virtual bool EscapePressed() = 0;
    // After an abort: drops the pending key presses up to Escape and every
    // pending mouse message, so that the press does not act again.
    virtual void DiscardPendingInput() = 0;
    virtual void ShowStatus(const char* text) = 0;
    virtual void ShowWaitCursor(bool on) = 0;
    // The catalogue lock, taken around every walk (re-entrant).
    virtual void LockCatalogue() = 0;
    virtual void UnlockCatalogue() = 0;
    // Focused row, -1 when none.
    virtual int32_t FocusedRow() = 0;
    // Makes a row the focused and visible one and the only selected row, as
    // a click on it does.
    virtual void FocusRow(int32_t row) = 0;
    // Moves the focus to a row and shows it; the selection stays as it is.
    virtual void MoveFocus(int32_t row) = 0;
    virtual bool IsSelected(int32_t row) = 0;
    virtual void SelectRow(int32_t row) = 0;
    virtual void ClearSelection() = 0;
    // Refreshes the object count text and the command states.
    virtual void RefreshCount() = 0;
    // Lists the location again, narrowing applied.
    virtual void ReloadList() = 0;
};

// The joined text of the ticked column targets: the texts in column order,
// each followed by CR LF when the contains flag is on.
std::string RowSearchText(SongRows& rows, int32_t row, uint32_t targets, uint32_t flags);

// True when the row's columns, else its WRD file, else one of its document
// files match the key, as far as targets ticks them.
bool MatchRow(SongRows& rows, int32_t row, const SearchKeyText& key, uint32_t targets);

// The first matching row from start towards the end (or, upward, towards
// row 0): its number, kNoMatch, or kSearchAborted when Escape was pressed.
int32_t FindNextMatch(SongRows& rows,
                      SearchHost& host,
                      const SearchKeyText& key,
                      uint32_t targets,
                      int32_t start,
                      bool upward);

// Moves the focus to the next matching row above or below the focused one.
// True when a row was found.
bool FindAgain(const SearchSettings& settings, SongRows& rows, SearchHost& host, bool upward);

// Selects every matching row, replacing the selection or adding to it. True
// when some row matched and the search was not aborted.
bool SelectMatching(const SearchSettings& settings, SongRows& rows, SearchHost& host, bool replace);

// Adds a narrowing level of the matching rows and reloads the list. False
// (list unchanged) when nothing matched or the search was aborted.
bool NarrowByMatch(const SearchSettings& settings, SongRows& rows, SearchHost& host, NarrowState* narrow);

// Adds a narrowing level of the selected rows and reloads the list. False
// when no row is selected.
bool NarrowToSelection(SongRows& rows, SearchHost& host, NarrowState* narrow);

// Drops the newest level, or every level, and reloads the list.
void UndoNarrowLevelAndReload(SearchHost& host, NarrowState* narrow);
void ClearNarrowingAndReload(SearchHost& host, NarrowState* narrow);
