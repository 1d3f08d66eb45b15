// The panes of the client area: a tree view and a report list view with the
// song list's five columns.
#include "app/ClientPanes_win.h"

#include "ui/Controls_win.h"

std::unique_ptr<SWindow> CreateTreePane(SWindow* parent) {
    auto tree = std::make_unique<STreeView>(
        parent, kTreePaneId, TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP);
    tree->SetStyle(
        WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
        WS_EX_CLIENTEDGE);
    if (!tree->Create()) {
        return nullptr;
    }
    return tree;
}

std::unique_ptr<SWindow> CreateListPane(SWindow* parent, const int columnWidths[5], bool fullRowSelect) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS;
    auto list = std::make_unique<SListView>(parent, kListPaneId, style);
    list->SetStyle(style, WS_EX_CLIENTEDGE);
    if (!list->Create()) {
        return nullptr;
    }
    static const char* const kColumns[] = {"ファイル名", "タイトル", "コメント", "更新日時", "音源"};
    for (int i = 0; i < 5; ++i) {
        list->InsertColumn(i, kColumns[i], columnWidths[i], LVCFMT_LEFT);
    }
    if (fullRowSelect) {
        list->SetExtendedStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    }
    return list;
}
