// How a hand-over starts a player: the restart rule, the command line of each
// kind, the show state, the sound module option, and the status bar and
// message texts of launching and closing.
#pragma once

#include <cstdint>
#include <string>

#include "core/BagBox.h"

struct PlayerSettings;

// How the selector window is shown; picks the minimise setting.
enum class SelectorShow { kNormal, kMinimized, kMaximized };

// ShowWindow values used for players.
constexpr int32_t kShowNormal = 1;       // SW_SHOWNORMAL
constexpr int32_t kShowMinNoActive = 7;  // SW_SHOWMINNOACTIVE
constexpr int32_t kShowNoActivate = 8;   // SW_SHOWNA

// Whether the player starts minimised (or in the tray) for the selector's show state.
bool MinimiseFlag(const PlayerSettings& settings, SelectorShow show);

// True when the running player must be closed before the hand-over.
bool NeedsRestart(int32_t kind, int32_t lastKind, bool withSong, bool startedWithoutSong, bool continuousPlay);

// The command a hand-over builds before launching: the executable, for Media
// Player kinds " /play /close", and for command-line kinds the quoted path
// (QuotedPlayerPath: one argument whatever the path holds).
std::string HandOverCommand(int32_t kind, const std::string& executable, const std::string& path, bool withSong);

struct LaunchCommand {
    std::string command;
    int32_t showState;
};
// Completes a launch: controllable kinds get their executable and options in
// place of command (never the path), command-line kinds keep command.
LaunchCommand BuildLaunchCommand(int32_t kind,
                                 const std::string& command,
                                 const std::string& executable,
                                 bool minimise);

// Appends one blank and the player option of module (when command is not
// null). False when there is no module, the kind takes no option or the
// option is empty.
bool AppendModuleOption(std::string* command, const BagBox& modules, const char* module, int32_t kind);

// Kinds whose play command can carry a sound module option.
bool TakesModuleOption(int32_t kind);

// Status bar and message texts.
extern const char kWaitingForPlayerText[];
extern const char kPlayerNotFoundText[];
extern const char kPlayerCannotStartText[];
extern const char kPlayerCannotCloseText[];
extern const char kMessageCaption[];

// The message of a failed launch by its error code.
const char* LaunchFailureText(uint32_t error);

// Whether a top-level window of a command-line launch is remembered and
// whether the walk stops after it.
struct WindowPick {
    bool remember;
    bool stop;
};
// title and className as read (title into 16 bytes); count is the number
// already remembered, up to kMaxPlayerWindows.
constexpr int32_t kMaxPlayerWindows = 6;
WindowPick PickLaunchedWindow(int32_t kind, const char* title, const char* className, int32_t count);

// The whole message of a failed launch: LaunchFailureText and, when the
// player was not found, the program looked for (empty when none is set) and
// where the user sets the folders players are found in.
std::string LaunchFailureMessage(uint32_t error, const std::string& executable);

// The status bar's emulation part, starting with the tab that centres it;
// "OFF" when emulationName is null.
std::string EmulationStatusText(const char* emulationName);
