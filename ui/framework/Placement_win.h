// The placement rules on the system's rectangles: the work area a window is
// on, and dialogs opening centred on the window that owns them.
#pragma once

#include <windows.h>

#include "ui/rules/WindowPlacement.h"

ScreenRect ToScreenRect(const RECT& rect);

// The work area (the screen less the task bar) of the monitor nearest window.
ScreenRect WorkAreaOf(HWND window);

// Moves a dialog of its own (not a page inside another window) to the centre
// of its owner, kept on the owner's work area; with no owner shown, to the
// centre of the work area.
void CentreDialogOnOwner(HWND dialog);
