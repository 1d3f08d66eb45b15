// The decisions of start-up and exit that need no window: the greeting title,
// the program's own paths, the search path handed to players, the desktop
// flags, how the main window is first shown, and whether a close may go on.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Longest text of the program's path buffers (512 bytes with the terminator).
constexpr size_t kStartupPathMax = 511;  // bytes
// Longest value given to the "Path" environment variable: the system takes
// 32,767 characters with the terminator. Counted in bytes, which are never
// fewer than the characters.
constexpr size_t kSearchPathMax = 32766;  // bytes

// The frame title's base for a local date: a greeting on 31 December and
// 1 to 3 January, "Quillory" otherwise.
const char* GreetingTitle(int month, int day);

// The folder of the executable: its module file name up to and including the
// last '\\' ("" when it has none), at most kStartupPathMax bytes.
std::string ProgramFolderOf(const char* moduleFileName);

// The scratch file "Kadrel.$$$" in the temporary folder, which the system
// reports with its trailing '\\'. At most kStartupPathMax bytes.
std::string WorkFilePathOf(const char* tempFolder);

// The search path remembered at start-up: the whole "Path" variable with one
// trailing ';' removed.
std::string SavedSearchPath(const char* pathVariable);

// The "Path" value players are found through: the saved search path, ';' and
// the folders of the player's "ExecPath", one per line as the settings dialog
// adds them (';' between folders on one line works too). At most
// kSearchPathMax bytes: a folder that does not fit whole is left out.
std::string ExtendedSearchPath(const std::string& savedSearchPath, const char* execPath);

// The desktop settings read as numbers, as the system itself parses them
// (leading spaces, optional sign, digits). Null means the value is missing.
// High-colour icons: "Shell Icon BPP" above 4.
bool HighColourIconsOf(const char* shellIconBpp);
// Live splitter drawing: "DragFullWindows" not 0.
bool FullWindowDragOf(const char* dragFullWindows);

// How the main window is first shown for a restored window state: a normal
// or maximized window is shown before the start action, a minimized one only
// after it, so that minimizing may hide it in the tray.
enum class FirstShow { kNormal, kMaximized, kAfterStartAction };
FirstShow FirstShowFor(int32_t windowState);

// The play mode started once the window is up: none while Ctrl is held.
int32_t StartupPlayMode(int32_t startPlayMode, bool ctrlHeld);

// Flags of the client the exit preparation reads and changes.
struct ExitFlags {
    bool busy = false;             // a long scan or cache update runs
    bool exiting = false;          // the exit preparation runs
    bool handOverRunning = false;  // a song is being handed to a player
    bool saveSettingsOnExit = true;
};

// The refusal shown while a song is being handed to a player.
extern const char kHandOverExitRefusal[];

enum class ExitVerdict {
    kAllow,            // go on closing
    kRefusedByEditor,  // a list editor kept its unsaved text (it asked itself)
    kRefusedHandOver,  // refuse with the hand-over message
};

// Whether the program may close. Unless busy or already exiting, marks the
// exit and calls closeEditors, which asks every open list editor to close and
// returns false when one refuses. A refusal sets saveSettingsOnExit again
// and clears the exit mark; an allowed exit leaves the mark set.
ExitVerdict PrepareExit(ExitFlags* flags, const std::function<bool()>& closeEditors);
