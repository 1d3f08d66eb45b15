// The application state, loaded before any window exists: the settings, the
// sound module tables, the exit flags, the start-up play mode the command
// line asked for, the desktop's look and the search path as the program
// found it. The application makes it and hands it to the main window, which
// hands it on to the client window and its parts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "analysis/SoundModules.h"
#include "core/BagBox.h"
#include "core/RandomGenerator.h"
#include "core/Settings.h"
#include "core/Startup.h"

struct AppState {
    ClientSettings settings;
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    ExitFlags exitFlags;
    RandomGenerator random;
    int32_t startPlayMode = 0;
    bool highColourIcons = false;
    bool fullWindowDrag = false;
    std::string savedSearchPath;   // "Path" as the program found it
    std::string missingStartPath;  // the command line's first path that is not there
};

// Loads the settings and sound modules from the program's settings root,
// reads the command line and seeds the random generator. Never null. The
// search path is extended later, by the client window (ApplySearchPath):
// the main window looks for the media runtime along the path as found.
std::unique_ptr<AppState> LoadAppState();

// Sets "Path" to the saved search path and the player's "ExecPath".
void ApplySearchPath(const AppState& app);
