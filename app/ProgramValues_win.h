// Values set once by the user-interface thread during start-up and read by
// everyone afterwards: the instance whose resources the windows load, the
// accelerator tables, the main window, the program's own paths.
#pragma once

#include <windows.h>

#include <string>

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
    std::string settingsRoot;  // key under HKEY_CURRENT_USER holding the settings
};

// The one set of program values.
ProgramValues& Program();

// Fills programFolder, workFilePath and wmaReadable from the system and tells
// the type table and the archive code about them.
void SetProgramPaths();

// Installs the archive branches, loads the archiver libraries found and
// keeps LZH and ZIP available, which our own decoders read without them.
void SetUpArchives();
