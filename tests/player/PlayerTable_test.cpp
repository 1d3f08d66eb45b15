// The player table, launch commands, restart rule, module options and status replies.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/SoundModules.h"
#include "core/Settings.h"
#include "core/Text.h"
#include "player/LaunchRules.h"
#include "player/PlayerKind.h"

TEST(PlayerTable, NamesExecutablesAndChannels) {
    struct Case {
        int32_t kind;
        const char* name;
        const char* exe;
        bool dde;
        bool window;
    };
    const Case cases[] = {
        {0, "Media Player", "mplay32.exe", false, false},
        {1, "Win Media Player", "mplayer2.exe", false, false},
        {2, "WRD File Player", "WFP.exe", true, false},
        {3, "MPVG", "mpvg.exe", true, false},
        {4, "TMIDI Player", "TMIDI.EXE", true, false},
        {5, "DECOPLAY", "DPW.EXE", true, false},
        {6, "KbMedia Player", "Kbmplay.exe", true, false},
        {7, "WINAMP2", "winamp.exe", false, true},
        {8, "SCMPX", "SCMPX.EXE", false, true},
        {9, "Gratzer SS", "Gratzer.exe", false, true},
        {10, "Audioactive Player", "aaplay32.exe", false, true},
        {11, "Lilith", "Lilith.exe", true, false},
        {100, "ユーザー定義", "", false, false},
        {12, "", "", false, false},
        {-1, "", "", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(PlayerDisplayName(c.kind), c.name) << c.kind;
        EXPECT_STREQ(PlayerExecutableName(c.kind, true), c.exe) << c.kind;
        EXPECT_EQ(UsesDde(c.kind), c.dde) << c.kind;
        EXPECT_EQ(UsesWindowMessages(c.kind), c.window) << c.kind;
        EXPECT_EQ(IsControllable(c.kind), c.dde || c.window) << c.kind;
    }
    EXPECT_STREQ(PlayerExecutableName(PlayerKind::MediaPlayer, false), "MPLAYER.EXE");
    EXPECT_EQ(PlayerCommandOfKind(PlayerKind::UserDefined), 612);
    EXPECT_EQ(PlayerKindOfCommand(611), PlayerKind::Lilith);
    EXPECT_EQ(PlayerKindOfCommand(612), PlayerKind::UserDefined);
    EXPECT_EQ(PlayerKindOfCommand(613), -1);
}

TEST(PlayerTable, LaunchCommandsCarryOptionsAndShowStates) {
    struct Case {
        int32_t kind;
        bool minimise;
        const char* command;
        int32_t show;
    };
    const Case cases[] = {
        {PlayerKind::WrdFilePlayer, true, "WFP.exe /DM", kShowNormal},
        {PlayerKind::WrdFilePlayer, false, "WFP.exe", kShowNormal},
        {PlayerKind::KbMediaPlayer, true, "Kbmplay.exe /tray", kShowNormal},
        {PlayerKind::Lilith, true, "Lilith.exe /dde /tasktray", kShowNormal},
        {PlayerKind::Lilith, false, "Lilith.exe /dde", kShowNormal},
        {PlayerKind::Winamp2, true, "winamp.exe", kShowNormal},
        {PlayerKind::MediaPlayer, true, "mplay32.exe /play /close \"C:\\ソ.mid\"", kShowMinNoActive},
        {PlayerKind::WinMediaPlayer, false, "mplayer2.exe /play /close \"C:\\ソ.mid\"", kShowNoActivate},
        {PlayerKind::UserDefined, false, "my.exe \"C:\\ソ.mid\"", kShowNoActivate},
    };
    for (const Case& c : cases) {
        const std::string exe = c.kind == PlayerKind::UserDefined ? "my.exe" : PlayerExecutableName(c.kind, true);
        const std::string handOver = HandOverCommand(c.kind, exe, "C:\\ソ.mid", true);
        LaunchCommand launch = BuildLaunchCommand(c.kind, handOver, exe, c.minimise);
        EXPECT_EQ(launch.command, c.command) << c.kind;
        EXPECT_EQ(launch.showState, c.show) << c.kind;
    }
    EXPECT_EQ(HandOverCommand(PlayerKind::MediaPlayer, "mplay32.exe", "", false), "mplay32.exe");
}

// The words a player reads from a command, as a command line splits them.
static std::vector<std::string> CommandWords(const std::string& command) {
    std::vector<std::string> words;
    char word[1024];
    for (const char* p = NextCommandWord(word, sizeof word, command.c_str()); p != nullptr;
         p = NextCommandWord(word, sizeof word, p)) {
        words.push_back(word);
    }
    return words;
}

TEST(PlayerTable, ASongPathIsOneArgumentWhateverItsMemberNameHolds) {
    // Member names of archives made elsewhere: the player must never see
    // "/quit" or "y.mid" as arguments or commands of their own.
    const char* paths[] = {"C:\\a.zip>x\" /quit \"y.mid", "C:\\a.zip>x\" y.mid", "C:\\a.zip>\"",
                           "C:\\a.zip>ソ\" \".mid"};
    for (const char* path : paths) {
        for (int32_t kind : {PlayerKind::MediaPlayer, PlayerKind::WinMediaPlayer, PlayerKind::UserDefined}) {
            const std::vector<std::string> plain = CommandWords(HandOverCommand(kind, "p.exe", "C:\\a.mid", true));
            const std::vector<std::string> words = CommandWords(HandOverCommand(kind, "p.exe", path, true));
            ASSERT_EQ(plain.size(), words.size()) << path;
            EXPECT_EQ(0u, words.back().find("C:\\a.zip>")) << path;
        }
        for (int32_t kind : {PlayerKind::WrdFilePlayer, PlayerKind::TmidiPlayer, PlayerKind::Decoplay,
                             PlayerKind::KbMediaPlayer, PlayerKind::Lilith}) {
            const std::string command = DdePlayCommand(kind, path);
            EXPECT_EQ(CommandWords(DdePlayCommand(kind, "C:\\a.mid")).size(), CommandWords(command).size()) << command;
            EXPECT_NE(std::string::npos, command.find("\"C:\\a.zip>")) << command;
        }
        // MPVG takes the path unquoted after "open": no quote to end it early.
        EXPECT_EQ(std::string::npos, DdePlayCommand(PlayerKind::Mpvg, path).find('"')) << path;
    }
    EXPECT_EQ("\"C:\\a.zip>x /quit y.mid\"", QuotedPlayerPath(paths[0]));
}

TEST(PlayerTable, RestartWhenKindChangesNoSongMediaPlayerOrSonglessContinuous) {
    EXPECT_TRUE(NeedsRestart(2, 2, false, false, false));
    EXPECT_TRUE(NeedsRestart(2, 3, true, false, false));
    EXPECT_TRUE(NeedsRestart(0, 0, true, false, false));
    EXPECT_TRUE(NeedsRestart(1, 1, true, false, false));
    EXPECT_FALSE(NeedsRestart(2, 2, true, true, true));
    EXPECT_TRUE(NeedsRestart(100, 100, true, true, true));
    EXPECT_FALSE(NeedsRestart(100, 100, true, true, false));
    EXPECT_FALSE(NeedsRestart(7, 7, true, false, true));
}

TEST(PlayerTable, MinimiseFlagFollowsSelectorShowState) {
    PlayerSettings settings;
    EXPECT_FALSE(MinimiseFlag(settings, SelectorShow::kNormal));
    EXPECT_TRUE(MinimiseFlag(settings, SelectorShow::kMinimized));
    settings.iconSelectorMax = false;
    EXPECT_FALSE(MinimiseFlag(settings, SelectorShow::kMaximized));
}

TEST(PlayerTable, ModuleOptionOnlyForPlayersWithAColumn) {
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    SetDefaultSoundModules(&modules, &detectors);
    std::string command = "\"a.mid\" /DQ";
    EXPECT_TRUE(AppendModuleOption(&command, modules, "SC-88Pro", PlayerKind::WrdFilePlayer));
    EXPECT_EQ(command, "\"a.mid\" /DQ /D \"SC-88Pro\"");
    EXPECT_FALSE(AppendModuleOption(&command, modules, "SC-88Pro", PlayerKind::Mpvg));
    EXPECT_FALSE(AppendModuleOption(&command, modules, nullptr, PlayerKind::WrdFilePlayer));
    EXPECT_FALSE(AppendModuleOption(&command, modules, "NoSuchModule", PlayerKind::TmidiPlayer));
    EXPECT_TRUE(AppendModuleOption(nullptr, modules, "SC-88Pro", PlayerKind::TmidiPlayer));
}

TEST(PlayerTable, DdeCommandsAndStatusReplies) {
    EXPECT_EQ(DdePlayCommand(PlayerKind::WrdFilePlayer, "C:\\表.mid"), "\"C:\\表.mid\" /DQ");
    EXPECT_EQ(DdePlayCommand(PlayerKind::Mpvg, "C:\\a.mid"), "open C:\\a.mid");
    EXPECT_EQ(DdePlayCommand(PlayerKind::TmidiPlayer, "a"), "playfile \"a\"");
    EXPECT_EQ(DdePlayCommand(PlayerKind::KbMediaPlayer, "a"), "\"a\" /na /play");
    EXPECT_EQ(DdePlayCommand(PlayerKind::Lilith, "a"), "/dopen \"a\" /play");
    EXPECT_EQ(DdePlayCommand(PlayerKind::Winamp2, "a"), "");

    EXPECT_STREQ(DdeControlCommand(PlayerKind::WrdFilePlayer, PlayerCommand::kPause, Playing), "/PAUSE");
    EXPECT_STREQ(DdeControlCommand(PlayerKind::WrdFilePlayer, PlayerCommand::kPause, Paused), "/RESUME");
    EXPECT_STREQ(DdeControlCommand(PlayerKind::Mpvg, PlayerCommand::kPause, Paused), "playPause");
    EXPECT_STREQ(DdeControlCommand(PlayerKind::TmidiPlayer, PlayerCommand::kPause, Stopped), "");
    EXPECT_STREQ(DdeControlCommand(PlayerKind::Decoplay, PlayerCommand::kStop, Playing), "<stop");
    EXPECT_STREQ(DdeControlCommand(PlayerKind::Decoplay, PlayerCommand::kStop, Stopped), "");
    EXPECT_STREQ(DdeControlCommand(PlayerKind::Lilith, PlayerCommand::kQuit, Alive), "/exit");

    struct Reply {
        int32_t kind;
        const char* text;
        PlayerStatus status;
    };
    const Reply replies[] = {
        {PlayerKind::WrdFilePlayer, "Play", Playing}, {PlayerKind::Decoplay, "Pause", Paused},
        {PlayerKind::Mpvg, "end", Stopped},           {PlayerKind::TmidiPlayer, "stop", Stopped},
        {PlayerKind::Lilith, "playing", Playing},     {PlayerKind::KbMediaPlayer, "Seeking", Playing},
        {PlayerKind::KbMediaPlayer, "Stop", Stopped}, {PlayerKind::WrdFilePlayer, "", Alive},
        {PlayerKind::WrdFilePlayer, "play", Alive},   {PlayerKind::Winamp2, "Play", Alive},
    };
    for (const Reply& r : replies) {
        EXPECT_EQ(ParseDdeStatusReply(r.kind, r.text), r.status) << r.kind << " " << r.text;
    }
    EXPECT_EQ(ParseWindowStatusReply(PlayerKind::Winamp2, 3), Paused);
    EXPECT_EQ(ParseWindowStatusReply(PlayerKind::Scmpx, 0), Stopped);
    EXPECT_EQ(ParseWindowStatusReply(PlayerKind::GratzerSS, 3), Stopped);
    EXPECT_EQ(ParseWindowStatusReply(PlayerKind::GratzerSS, 0), Alive);
    EXPECT_EQ(ParseWindowStatusReply(PlayerKind::AudioactivePlayer, 57), Playing);
}

// The user's open player ends its song by saying twice in a row that it
// stopped, and only after it said it played: a program that does not know
// the status message answers 0 from the start (or something else), and its
// songs end with its process.
TEST(PlayerTable, UserPlayerStopsOnlyAfterSayingItPlays) {
    struct Poll {
        bool answered;
        intptr_t reply;
        PlayerStatus status;
    };
    const std::vector<std::vector<Poll>> runs = {
        {{true, 0, Playing}, {true, 0, Playing}, {false, 0, Playing}, {true, 0, Playing}},
        {{true, 0, Playing},
         {true, 1, Playing},
         {true, 3, Paused},
         {true, 0, Playing},
         {false, 0, Playing},
         {true, 0, Playing},
         {true, 0, Stopped},
         {true, 0, Stopped}},
        {{true, 0x534B0001, Playing}, {true, 7, Playing}, {true, 1, Playing}, {true, 7, Playing}},
    };
    for (size_t run = 0; run < runs.size(); ++run) {
        UserPlayerAnswers answers;
        for (size_t poll = 0; poll < runs[run].size(); ++poll) {
            const Poll& p = runs[run][poll];
            EXPECT_EQ(OpenUserPlayerStatus(p.answered, p.reply, &answers), p.status) << run << " " << poll;
        }
    }
}

TEST(PlayerTable, WindowsOfCommandLineLaunch) {
    EXPECT_FALSE(PickLaunchedWindow(PlayerKind::UserDefined, "Wyvern", "TApplication", 0).remember);
    WindowPick wyvern = PickLaunchedWindow(PlayerKind::UserDefined, "Wyvern Player", "TForm", 0);
    EXPECT_TRUE(wyvern.remember && wyvern.stop);
    EXPECT_FALSE(PickLaunchedWindow(PlayerKind::MediaPlayer, "Wyvern", "TApplication", 0).stop);
    EXPECT_TRUE(PickLaunchedWindow(PlayerKind::MediaPlayer, "x", "y", 5).stop);
}
