// Values set once by the user-interface thread during start-up and read by
// everyone afterwards: the instance whose resources the windows load, the
// accelerator tables, the main window, the program's own paths.
#pragma once

#include <windows.h>

#include <string>

#include "core/SettingsStore.h"

class MainWindow;

struct ProgramValues {
    HINSTANCE instance = nullptr;  // where menus, bitmaps, icons and strings come from
    HACCEL mainAccelerators = nullptr;
    HACCEL editorAccelerators = nullptr;
    MainWindow* mainWindow = nullptr;
    std::string programFolder;  // ends with '\\'
    std::string workFilePath;   // the scratch file "Kadrel.$$$" in the temporary folder
    bool wmaReadable = false;
    UINT clipboardFormat = 0;
    std::string commandLine;   // the program's own command line, its path first
    std::string settingsRoot = kSettingsRootKey;  // key under HKEY_CURRENT_USER holding the settings
};

// The one set of program values.
ProgramValues& Program();
