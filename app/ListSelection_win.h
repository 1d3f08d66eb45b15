// The client window's two panes, which the window makes and its parts use,
// and the song list's focus and selection, which the play run, the searches
// and the file commands all read and move.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ui/FolderTreeWindow_win.h"
#include "ui/SongListWindow_win.h"

struct ClientPanes {
    std::unique_ptr<FolderTreeWindow> tree;
    std::unique_ptr<SongListWindow> list;
};

class ListSelection {
   public:
    explicit ListSelection(ClientPanes& panes);

    // The focused row; -1 when none or before the list exists.
    int32_t FocusedRow() const;
    // Makes a row the focused, visible and only selected row, as a click does.
    void FocusRow(int32_t row);
    // Moves the focus to a row and shows it; the selection stays.
    void MoveFocus(int32_t row);
    bool IsSelected(int32_t row) const;
    void SelectRow(int32_t row);
    void ClearSelection();
    std::vector<int32_t> SelectedRows() const;
    // The song list's window; null before it exists.
    HWND ListHandle() const;
    // The object count text after the focus or selection changed.
    void RefreshCount();

   private:
    ClientPanes& panes_;
};
