// The song list: the right pane, a virtual list view over ObjectList. It
// holds no rows of its own; texts and images are fetched when the control
// draws a row and kept in the display store.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <string>

#include "catalogue/DisplayStore.h"
#include "ui/BrowsingHost_win.h"
#include "ui/framework/Controls_win.h"

class FolderTreeWindow;

constexpr int kSongListId = 96;
constexpr int kSongListColumns = 5;

class SongListWindow : public SListView {
   public:
    SongListWindow(SWindow* parent, BrowsingHost& host);

    // Creates the control with the stored view, columns and widths on a
    // screen of dpi; true when it exists.
    bool CreateList(FolderTreeWindow* tree, int dpi);
    // Without stored widths, sizes the columns to the list's font and its
    // present width: the module and date columns as wide as their texts, the
    // others sharing the rest.
    void FitFirstStartColumns();
    // The list moved to a screen of another density: the columns keep their
    // share of the screen.
    void RescaleForDpi(int previous, int dpi);

    // Handles the control's notifications reaching the parent (WM_NOTIFY);
    // true when m came from this list.
    bool HandleNotify(MessageContext& m);
    // The parent's answer to the posted sort-column message (wParam: column or -1).
    void OnSortColumn(int32_t column);

    void SetView(uint32_t view, bool force);
    void SetSortKind(int32_t kind, bool force);
    void SetSortOrder(bool descending, bool force);
    void SelectAll();
    void InvertSelection();
    // The focused row, or -1; and its path (empty when none).
    int32_t FocusedRow();
    std::string FocusedPath();
    // The focused row's title as its title column shows it; false when no
    // row is focused.
    bool FocusedTitle(std::string* title);
    void UpdateCount();

    // The catalogue's display hooks.
    void ClearDisplay();
    void RememberTexts(int32_t row, const char* title, const char* comment, const char* soundModule);
    void SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition);
    void ShowRows(int32_t count, int32_t selectedRow, int32_t scrollPosition);
    // Replaces a cached text after a command changed it in the song.
    void UpdateText(int32_t row, DisplayText which, const char* text);
    // Reads the column widths into the settings (report view only), as
    // 96-DPI lengths.
    void SaveColumnWidths();
    // The play-range mark of a row, kept in the display store and shown
    // (the row drawn on a tinted ground, its image cut) while it is set.
    void SetRangeMark(int32_t row, bool on);
    bool HasRangeMark(int32_t row) const;

   protected:
    void OnKeyDown(MessageContext& m) override;
    void OnChar(MessageContext& m) override;

   private:
    void FillItem(LVITEMA* item);
    LRESULT CustomDraw(NMLVCUSTOMDRAW* draw) const;
    std::string CellText(int32_t row, int column);
    const char* CachedText(int32_t row, DisplayText which);
    int32_t ImageOf(int32_t row);
    int32_t FindTyped(const NMLVFINDITEMA* find);
    int32_t FindTypedWide(const NMLVFINDITEMW* find);
    void ClickColumn(int column);
    void ExtendSelection();
    void ApplyHeaderMarks();
    void AutoSizeColumns();
    void ReopenKeepingFocus();
    void CreateImageLists();
    uint32_t& ColumnWidth(int column);
    int TextWidth(HWND window, const char* text);

    BrowsingHost& host_;
    FolderTreeWindow* tree_ = nullptr;
    DisplayStore store_;
    SImageList smallImages_;
    SImageList largeImages_;
    SImageList headerImages_;
    int dpi_ = 96;
};
