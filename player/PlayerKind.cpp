// The player table and the texts of each player's control channel.
#include "player/PlayerKind.h"

#include <cstring>

#include "core/CommandIds.h"
#include "core/Text.h"

static const PlayerRow kPlayers[] = {
    {PlayerKind::MediaPlayer, "Media Player", "mplay32.exe", PlayerChannel::kCommandLine, "", "", "", "", "", "", "",
     ""},
    {PlayerKind::WinMediaPlayer, "Win Media Player", "mplayer2.exe", PlayerChannel::kCommandLine, "", "", "", "", "",
     "", "", ""},
    {PlayerKind::WrdFilePlayer, "WRD File Player", "WFP.exe", PlayerChannel::kDde, "WFP", "", "", "PlayStatus", "Play",
     "", "Pause", "Stop"},
    {PlayerKind::Mpvg, "MPVG", "mpvg.exe", PlayerChannel::kDde, "mpvg", "", "", "playStatus", "play", "", "pause",
     "end"},
    {PlayerKind::TmidiPlayer, "TMIDI Player", "TMIDI.EXE", PlayerChannel::kDde, "TMIDI", "", "", "getstatus", "play",
     "", "pause", "stop"},
    {PlayerKind::Decoplay, "DECOPLAY", "DPW.EXE", PlayerChannel::kDde, "DpwDDE", "", "", "PlayStatus", "Play", "",
     "Pause", "Stop"},
    {PlayerKind::KbMediaPlayer, "KbMedia Player", "Kbmplay.exe", PlayerChannel::kDde, "KbMedia Player", "", "",
     "Status", "Playing", "Seeking", "Pause", "Stop"},
    {PlayerKind::Winamp2, "WINAMP2", "winamp.exe", PlayerChannel::kWindowMessages, "", "Winamp v1.x", "", "", "", "",
     "", ""},
    {PlayerKind::Scmpx, "SCMPX", "SCMPX.EXE", PlayerChannel::kWindowMessages, "", "SCMPX", "", "", "", "", "", ""},
    {PlayerKind::GratzerSS, "Gratzer SS", "Gratzer.exe", PlayerChannel::kWindowMessages, "", "",
     "Gratzer Sound Station", "", "", "", "", ""},
    {PlayerKind::AudioactivePlayer, "Audioactive Player", "aaplay32.exe", PlayerChannel::kWindowMessages, "", "",
     "Audioactive Player", "", "", "", "", ""},
    {PlayerKind::Lilith, "Lilith", "Lilith.exe", PlayerChannel::kDde, "LILITH_EXT_CONTROL", "", "", "/status", "play",
     "", "pause", "stop"},
    {PlayerKind::UserDefined, "ユーザー定義", "", PlayerChannel::kCommandLine, "", "", "", "", "", "", "", ""},
};

const PlayerRow* FindPlayerRow(int32_t kind) {
    for (const PlayerRow& row : kPlayers) {
        if (row.kind == kind) {
            return &row;
        }
    }
    return nullptr;
}

const char* PlayerDisplayName(int32_t kind) {
    const PlayerRow* row = FindPlayerRow(kind);
    return row ? row->displayName : "";
}

const char* PlayerExecutableName(int32_t kind, bool windowsNt) {
    if (kind == PlayerKind::MediaPlayer && !windowsNt) {
        return "MPLAYER.EXE";
    }
    const PlayerRow* row = FindPlayerRow(kind);
    return row ? row->executable : "";
}

bool IsControllable(int32_t kind) {
    return kind >= PlayerKind::WrdFilePlayer && kind <= PlayerKind::Lilith;
}

bool UsesDde(int32_t kind) {
    const PlayerRow* row = FindPlayerRow(kind);
    return row && row->channel == PlayerChannel::kDde;
}

bool UsesWindowMessages(int32_t kind) {
    const PlayerRow* row = FindPlayerRow(kind);
    return row && row->channel == PlayerChannel::kWindowMessages;
}

int32_t PlayerCommandOfKind(int32_t kind) {
    if (kind == PlayerKind::UserDefined) {
        return kCmdPlayerUser;
    }
    return FindPlayerRow(kind) ? kCmdPlayerFirst + kind : -1;
}

int32_t PlayerKindOfCommand(int32_t command) {
    if (command == kCmdPlayerUser) {
        return PlayerKind::UserDefined;
    }
    return command >= kCmdPlayerFirst && command < kCmdPlayerUser ? command - kCmdPlayerFirst : -1;
}

static bool StartsWith(const char* text, const char* prefix) {
    return prefix[0] != '\0' && std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

PlayerStatus ParseDdeStatusReply(int32_t kind, const char* reply) {
    const PlayerRow* row = FindPlayerRow(kind);
    if (!row || row->channel != PlayerChannel::kDde) {
        return Alive;
    }
    if (StartsWith(reply, row->playingReply) || StartsWith(reply, row->playingReply2)) {
        return Playing;
    }
    if (StartsWith(reply, row->pausedReply)) {
        return Paused;
    }
    if (StartsWith(reply, row->stoppedReply)) {
        return Stopped;
    }
    return Alive;
}

PlayerStatus ParseWindowStatusReply(int32_t kind, intptr_t reply) {
    switch (kind) {
        case PlayerKind::Winamp2:
        case PlayerKind::Scmpx:
            return reply == 0 ? Stopped : reply == 1 ? Playing : reply == 3 ? Paused : Alive;
        case PlayerKind::GratzerSS:
            return reply == 1 ? Playing : reply == 2 ? Paused : reply == 3 ? Stopped : Alive;
        case PlayerKind::AudioactivePlayer:
            return reply == 0 ? Stopped : Playing;
        default:
            return Alive;
    }
}

std::string PlayerPathText(const std::string& path) {
    std::string text;
    for (const char* p = path.c_str(); *p != '\0';) {
        const size_t n = CharBytes(p);
        if (n != 1 || *p != '"') {
            text.append(p, n);
        }
        p += n;
    }
    return text;
}

std::string QuotedPlayerPath(const std::string& path) {
    return "\"" + PlayerPathText(path) + "\"";
}

std::string DdePlayCommand(int32_t kind, const std::string& path) {
    switch (kind) {
        case PlayerKind::WrdFilePlayer:
            return QuotedPlayerPath(path) + " /DQ";
        case PlayerKind::Mpvg:
            return "open " + PlayerPathText(path);
        case PlayerKind::TmidiPlayer:
            return "playfile " + QuotedPlayerPath(path);
        case PlayerKind::Decoplay:
            return QuotedPlayerPath(path);
        case PlayerKind::KbMediaPlayer:
            return QuotedPlayerPath(path) + " /na /play";
        case PlayerKind::Lilith:
            return "/dopen " + QuotedPlayerPath(path) + " /play";
        default:
            return "";
    }
}

// Pause texts: while playing, while paused (null when the kind toggles with
// one command); then stop and quit.
struct DdeCommandRow {
    int32_t kind;
    const char* pause;
    const char* resume;
    const char* stop;
    const char* quit;
};

static const DdeCommandRow kDdeCommands[] = {
    {PlayerKind::WrdFilePlayer, "/PAUSE", "/RESUME", "/STOP", "/QUIT"},
    {PlayerKind::Mpvg, "playPause", nullptr, "playEnd", "appExit"},
    {PlayerKind::TmidiPlayer, "pause", "resume", "stop", "EXIT"},
    {PlayerKind::Decoplay, "<pause", "<resume", "<stop", "<exit"},
    {PlayerKind::KbMediaPlayer, "/pause", nullptr, "/stop", "/quit"},
    {PlayerKind::Lilith, "/pause", nullptr, "/stop", "/exit"},
};

const char* DdeControlCommand(int32_t kind, PlayerCommand command, PlayerStatus status) {
    for (const DdeCommandRow& row : kDdeCommands) {
        if (row.kind != kind) {
            continue;
        }
        switch (command) {
            case PlayerCommand::kPause:
                if (status == Playing) {
                    return row.pause;
                }
                if (status == Paused) {
                    return row.resume ? row.resume : row.pause;
                }
                return "";
            case PlayerCommand::kStop:
                return status == Stopped ? "" : row.stop;
            case PlayerCommand::kQuit:
                return row.quit;
        }
    }
    return "";
}

static const PlayerRegistryPath kKbMediaRegistry = {"Software\\Kobarin's Soft\\KbMedia Player\\Path", "Kbmplay",
                                                    "Software\\Kobarin's Soft\\KbMIDI Player\\SearchPath", "Kbmplay"};
static const PlayerRegistryPath kLilithRegistry = {"Software\\Project9k_Lilith\\Path", "", nullptr, nullptr};

const PlayerRegistryPath* FindPlayerRegistryPath(int32_t kind) {
    if (kind == PlayerKind::KbMediaPlayer) {
        return &kKbMediaRegistry;
    }
    return kind == PlayerKind::Lilith ? &kLilithRegistry : nullptr;
}
