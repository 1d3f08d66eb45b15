// The player table: the thirteen kinds of external player the selector can
// hand a song to, how each is found and launched, and the commands, status
// items and replies of its control channel.
#pragma once

#include <cstdint>
#include <string>

namespace PlayerKind {
constexpr int32_t MediaPlayer = 0;
constexpr int32_t WinMediaPlayer = 1;
constexpr int32_t WrdFilePlayer = 2;
constexpr int32_t Mpvg = 3;
constexpr int32_t TmidiPlayer = 4;
constexpr int32_t Decoplay = 5;
constexpr int32_t KbMediaPlayer = 6;
constexpr int32_t Winamp2 = 7;
constexpr int32_t Scmpx = 8;
constexpr int32_t GratzerSS = 9;
constexpr int32_t AudioactivePlayer = 10;
constexpr int32_t Lilith = 11;
constexpr int32_t UserDefined = 100;
}  // namespace PlayerKind

enum class PlayerChannel { kNone, kCommandLine, kDde, kWindowMessages };

// What a status query of the player gives.
enum PlayerStatus : int32_t {
    Unreachable = 0,
    Alive = 1,
    Playing = 2,
    Paused = 3,
    Stopped = 4,
};

// One row of the table; texts are "" where a kind has none.
struct PlayerRow {
    int32_t kind;
    const char* displayName;
    const char* executable;  // for MediaPlayer: the name on Windows NT
    PlayerChannel channel;
    const char* ddeName;        // DDE service and topic
    const char* windowClass;    // class of the player's top-level window
    const char* windowTitle;    // title (or title prefix) of that window
    const char* statusItem;     // DDE item asked for the play state
    const char* playingReply;   // reply prefixes of the three states
    const char* playingReply2;  // a second prefix that also means Playing
    const char* pausedReply;
    const char* stoppedReply;
};

// The row of a kind; null for a value outside the table.
const PlayerRow* FindPlayerRow(int32_t kind);

// The display name; "" for an unknown kind.
const char* PlayerDisplayName(int32_t kind);
// The bare executable name ("MPLAYER.EXE" for MediaPlayer outside Windows NT);
// "" for an unknown kind and for UserDefined, whose executable is a setting.
const char* PlayerExecutableName(int32_t kind, bool windowsNt);

// Kinds 2 to 11, the players with a control link.
bool IsControllable(int32_t kind);
bool UsesDde(int32_t kind);
bool UsesWindowMessages(int32_t kind);

// The menu command of a kind (600 + kind, 612 for UserDefined) and back; -1
// for a command that selects no kind.
int32_t PlayerCommandOfKind(int32_t kind);
int32_t PlayerKindOfCommand(int32_t command);

// A DDE player's reply to its status item; Alive for any other text.
PlayerStatus ParseDdeStatusReply(int32_t kind, const char* reply);
// A window-message player's reply to its status message.
PlayerStatus ParseWindowStatusReply(int32_t kind, intptr_t reply);
// What the user's own player said about the song last handed to it.
struct UserPlayerAnswers {
    bool saidPlaying = false;
    int32_t stoppedInARow = 0;
};
// The state of the user's own player while its process runs after a song was
// handed to it, from its answer to Winamp's status message (WM_USER with
// lParam 104), which many players that take dropped files answer; answered
// is false when it gave no answer in time. A program that does not know the
// message answers 0 as well, so an answer counts only once the player has
// said it plays the song; until then, and for any other answer, the song
// plays on and ends only with the process. Stopped needs two answers in a
// row, so that a player that says so on its way out (its process about to
// end) is not handed the next song. answers is kept from poll to poll and
// cleared at each hand-over.
PlayerStatus OpenUserPlayerStatus(bool answered, intptr_t reply, UserPlayerAnswers* answers);

// A song's path as a player's command is given it: without the '"' that no
// file name holds and that would end a quoted path early, splitting the rest
// into further arguments or commands (a member of an archive made elsewhere
// can be named so; it is never extracted, and the player finds nothing).
std::string PlayerPathText(const std::string& path);

// PlayerPathText in double quotes: always one argument.
std::string QuotedPlayerPath(const std::string& path);

// The DDE command that plays path; "" for a kind without DDE.
std::string DdePlayCommand(int32_t kind, const std::string& path);

// DDE control commands. Pause depends on the current state; "" means the
// command is not sent in that state.
enum class PlayerCommand { kPause, kStop, kQuit };
const char* DdeControlCommand(int32_t kind, PlayerCommand command, PlayerStatus status);

// Where the registry may hold a player's path (both under the current user):
// up to two keys tried in order, each with its value name ("" the default).
struct PlayerRegistryPath {
    const char* key1;
    const char* value1;
    const char* key2;
    const char* value2;
};
// The registry places of KbMediaPlayer and Lilith; null for other kinds.
const PlayerRegistryPath* FindPlayerRegistryPath(int32_t kind);
