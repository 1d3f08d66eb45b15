// The two panes of the client area, made in one place so that the client
// does not depend on how they are built: the folder tree on the left and the
// song list on the right.
#pragma once

#include <memory>

#include "ui/SWindow_win.h"

constexpr int kTreePaneId = 1;  // child identifiers in the client area
constexpr int kListPaneId = 2;

// Each returns the pane's window object, created as a child of parent, or
// null when the window could not be created.
std::unique_ptr<SWindow> CreateTreePane(SWindow* parent);
std::unique_ptr<SWindow> CreateListPane(SWindow* parent, const int columnWidths[5], bool fullRowSelect);
