// The list editor's dialogs: the entry dialog of add and change (with its
// browse button) and the open and save dialogs of list files.
#pragma once

#include <windows.h>

#include <string>

#include "ui/framework/SWindow_win.h"

// The entry dialog: *text prefills the field and receives the result. True on OK.
bool AskEntryText(SWindow* owner, bool change, std::string* text);

// The list file dialog for opening or saving, starting at current's folder
// and name. True with *path set when the user chose a file.
bool AskListPath(HWND owner, bool save, const std::string& current, std::string* path);
