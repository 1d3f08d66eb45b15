// The song list's focus and selection through its list view.
#include "app/ListSelection_win.h"

#include <windows.h>

#include <commctrl.h>

ListSelection::ListSelection(ClientPanes& panes) : panes_(panes) {
}

int32_t ListSelection::FocusedRow() const {
    return panes_.list && panes_.list->Handle() ? panes_.list->FocusedRow() : -1;
}

void ListSelection::FocusRow(int32_t row) {
    SongListWindow& list = *panes_.list;
    list.SetItemState(-1, 0, LVIS_SELECTED);
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.Send(LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
    list.UpdateCount();
}

void ListSelection::MoveFocus(int32_t row) {
    panes_.list->SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
    panes_.list->Send(LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

bool ListSelection::IsSelected(int32_t row) const {
    return (panes_.list->Send(LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ListSelection::SelectRow(int32_t row) {
    panes_.list->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void ListSelection::ClearSelection() {
    panes_.list->SetItemState(-1, 0, LVIS_SELECTED);
}

std::vector<int32_t> ListSelection::SelectedRows() const {
    SongListWindow& list = *panes_.list;
    std::vector<int32_t> rows;
    for (int32_t row = list.GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list.GetNextItem(row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

void ListSelection::RefreshCount() {
    panes_.list->UpdateCount();
}

HWND ListSelection::ListHandle() const {
    return panes_.list ? panes_.list->Handle() : nullptr;
}
