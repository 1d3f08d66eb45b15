// Journeys through the program's start and exit: the play, player and
// sub-folder options of the command line, the search path its players are
// found through, and what it remembers of them for the next start.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

// A song of the fake player lasts a moment; the program notices its end no
// sooner than three seconds after handing it over.
constexpr char kSongMs[] = "200";
constexpr DWORD kSecondSongMs = 10000;

// "RegWrite" with and without its "演奏状態" box (the play mode), and with the
// main window's position and size only.
constexpr uint32_t kRememberPlayMode = 0x1F;
constexpr uint32_t kForgetPlayMode = 0x1B;
constexpr uint32_t kRememberMainWindowOnly = 0x03;

class StartAndExitJourney : public Journey {
   protected:
    // Three songs in "songs\": a, b and c.
    void SetUp() override {
        Journey::SetUp();
        MakeSongsAndPlayerFolder();
    }

    Variables PlayerEnvironment() const {
        return {{"FAKEPLAYER_LOG", Folder() + "player.log"}, {"FAKEPLAYER_SONG_MS", kSongMs}};
    }

    void ForgetSongsPlayed() const {
        DeleteFileA((Folder() + "player.log").c_str());
    }

    // The play mode the status bar shows ("Normal", "Auto", ...).
    std::string PlayModeShown() const {
        const std::string text = Status(3);
        const size_t name = text.find("PlayMode : ");
        return name == std::string::npos ? text : text.substr(name + 11);
    }

    // Waits until the status bar shows mode and the player got songs songs.
    bool WaitForPlay(const std::string& mode, size_t songs) const {
        return WaitUntil([&] { return PlayModeShown() == mode && SongsPlayed().size() >= songs; }, kSecondSongMs);
    }

    // The play command once the start has listed the songs (a command given
    // while a location is being read is dropped).
    void PlayFocusedSong() const {
        ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000));
        Menu(kCmdPlay);
    }

    // Starts on a location and waits until its songs are listed.
    int StartAndCountRows(const std::string& arguments) {
        EXPECT_TRUE(Start(arguments));
        WaitUntil([&] { return RowCount() > 0; }, 10000);
        return RowCount();
    }

    uint32_t Setting(const std::string& key, const std::string& name) const {
        uint32_t value = 0xDEAD;
        EXPECT_TRUE(ReadSetting(key, name, &value)) << key << "\\" << name;
        return value;
    }
};

std::string Joined(const std::vector<std::string>& songs) {
    std::string text;
    for (const std::string& song : songs) {
        text += song + " ";
    }
    return text;
}

TEST_F(StartAndExitJourney, EachPlayOptionStartsItsOwnPlayMode) {
    InstallPlayer();
    // Started on b: the play starts from it, except plain random play,
    // which may start anywhere. Auto and repeat are followed to the second
    // song, which tells them apart.
    const struct {
        const char* option;
        const char* mode;
        std::vector<std::string> first;
    } cases[] = {
        {"/auto", "Auto", {"b", "c"}},      // on in list order
        {"-REPEAT", "Repeat", {"b", "b"}},  // b again
        {"/play", "Normal", {"b"}},         // b once
        {"/randomp", "Random", {"b"}},      // b first, then at random
        {"/random", "Random", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        ForgetSongsPlayed();
        ASSERT_TRUE(Start(std::string("/p:tmidi ") + c.option + " " + Song("b"), PlayerEnvironment()));
        EXPECT_TRUE(WaitForPlay(c.mode, std::max<size_t>(c.first.size(), 1)))
            << PlayModeShown() << " / " << Joined(SongsPlayed());
        const std::vector<std::string> songs = SongsPlayed();
        ASSERT_FALSE(songs.empty());
        if (c.first.empty()) {
            EXPECT_TRUE(songs[0] == "a" || songs[0] == "b" || songs[0] == "c") << songs[0];
        } else {
            EXPECT_EQ(c.first,
                      std::vector<std::string>(songs.begin(), songs.begin() + std::min(songs.size(), c.first.size())));
        }
        EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
        ASSERT_TRUE(Close());
    }
}

TEST_F(StartAndExitJourney, TheUsersOwnPlayerPlaysTheSelectionOnceWhateverThePlayOption) {
    ASSERT_TRUE(CopyFakePlayer("players\\myplayer.exe"));
    ASSERT_TRUE(WriteSetting("Player", "UserPlayerFilename", Folder() + "players\\myplayer.exe"));
    for (const char* option : {"/repeat", "/randomp"}) {
        SCOPED_TRACE(option);
        ForgetSongsPlayed();
        ASSERT_TRUE(Start(std::string("/p:user ") + option + " " + Song("c"), PlayerEnvironment()));
        EXPECT_TRUE(WaitForPlay("Normal", 1)) << PlayModeShown();
        EXPECT_EQ(std::vector<std::string>{"c"}, SongsPlayed());
        ASSERT_TRUE(Close());
    }
}

TEST_F(StartAndExitJourney, ThePlayModeInEffectAtExitIsRememberedWhenAskedFor) {
    InstallPlayer();
    ASSERT_TRUE(WriteSetting("Mode", "RegWrite", kRememberPlayMode));
    ASSERT_TRUE(Start("/p:tmidi /repeat " + Song("b"), PlayerEnvironment()));
    ASSERT_TRUE(WaitForPlay("Repeat", 1)) << PlayModeShown();
    ASSERT_TRUE(Close());
    EXPECT_EQ(3u, Setting("Mode", "PlayMode"));

    // The next start takes the run up again, on the remembered song and
    // player; stopped before the exit, it is not remembered any more.
    ForgetSongsPlayed();
    ASSERT_TRUE(Start("", PlayerEnvironment()));
    ASSERT_TRUE(WaitForPlay("Repeat", 1)) << PlayModeShown();
    EXPECT_EQ("b", SongsPlayed()[0]);
    Menu(kCmdStop);
    EXPECT_TRUE(WaitUntil([&] { return PlayModeShown() == "Normal"; }, 5000)) << PlayModeShown();
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, Setting("Mode", "PlayMode"));

    // Without the box the mode in effect is not kept.
    ASSERT_TRUE(WriteSetting("Mode", "RegWrite", kForgetPlayMode));
    ForgetSongsPlayed();
    ASSERT_TRUE(Start("/auto", PlayerEnvironment()));
    ASSERT_TRUE(WaitForPlay("Auto", 1)) << PlayModeShown();
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, Setting("Mode", "PlayMode"));
    EXPECT_EQ(kForgetPlayMode, Setting("Mode", "RegWrite"));
}

TEST_F(StartAndExitJourney, TheSubFolderOptionsListTheStartLocationAndAreRemembered) {
    ASSERT_TRUE(MakeFolder("songs\\more"));
    ASSERT_TRUE(WriteFile("songs\\more\\d.mid", MidiSong("Song d")));
    ASSERT_TRUE(WriteFile("songs\\more\\e.mid", MidiSong("Song e")));
    const std::string songs = "\"" + Folder() + "songs\"";

    EXPECT_EQ(5, StartAndCountRows(songs + " /s"));
    ASSERT_TRUE(Close());
    EXPECT_EQ(1u, Setting("LastSelect", "SearchSubFolder"));
    EXPECT_EQ(5, StartAndCountRows(""));
    ASSERT_TRUE(Close());

    EXPECT_EQ(3, StartAndCountRows("/s:0"));
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, Setting("LastSelect", "SearchSubFolder"));
    EXPECT_EQ(3, StartAndCountRows(""));
    ASSERT_TRUE(Close());

    // An "s" option counts wherever it stands, a path after it included.
    EXPECT_EQ(5, StartAndCountRows("-s:1 " + songs));
    ASSERT_TRUE(Close());
}

TEST_F(StartAndExitJourney, PlayersAreFoundInEachFolderAddedInTheSettings) {
    ASSERT_TRUE(MakeFolder("more players"));
    ASSERT_TRUE(CopyFakePlayer("more players\\TMIDI.EXE"));
    // One folder a line, as the settings dialog's 参照... button adds them.
    ASSERT_TRUE(WriteSetting("Player", "ExecPath", Folder() + "players\r\n" + Folder() + "more players"));
    ASSERT_TRUE(Start("/p:tmidi " + Song("c"), PlayerEnvironment()));
    PlayFocusedSong();
    EXPECT_TRUE(WaitUntil([&] { return !SongsPlayed().empty(); }, 10000)) << WaitForBox(1000).text;
    EXPECT_EQ(std::vector<std::string>{"c"}, SongsPlayed());
    ASSERT_TRUE(Close());
    std::string stored;
    ASSERT_TRUE(ReadSetting("Player", "ExecPath", &stored));
    EXPECT_EQ(Folder() + "players\r\n" + Folder() + "more players", stored);
}

TEST_F(StartAndExitJourney, APlayerOnALongSearchPathIsFound) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    char own[32768] = {};
    GetEnvironmentVariableA("PATH", own, sizeof own);
    std::string path = own;
    for (int i = 0; i < 30; ++i) {
        path += ";C:\\Program Files\\Tool " + std::to_string(i) + "\\bin";
    }
    path += ";" + Folder() + "players";
    ASSERT_GT(path.size(), 511u);
    Variables environment = PlayerEnvironment();
    environment.push_back({"PATH", path});
    ASSERT_TRUE(Start("/p:tmidi " + Song("a"), environment));
    PlayFocusedSong();
    EXPECT_TRUE(WaitUntil([&] { return !SongsPlayed().empty(); }, 10000)) << WaitForBox(1000).text;
    EXPECT_EQ(std::vector<std::string>{"a"}, SongsPlayed());
    ASSERT_TRUE(Close());
}

TEST_F(StartAndExitJourney, TheNextStartShowsTheWindowAsItWasLeft) {
    ASSERT_TRUE(Start("/w:max"));
    EXPECT_TRUE(IsZoomed(MainWindow()));
    ASSERT_TRUE(Close());
    EXPECT_EQ(2u, Setting("Window", "Window"));

    // Minimized by the user before the exit.
    ASSERT_TRUE(Start(""));
    EXPECT_TRUE(IsZoomed(MainWindow()));
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) != 0; }, 5000));
    ASSERT_TRUE(Close());
    EXPECT_EQ(1u, Setting("Window", "Window"));

    ASSERT_TRUE(Start(""));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) != 0; }, 5000));
    ASSERT_TRUE(Close());
    EXPECT_EQ(1u, Setting("Window", "Window"));

    ASSERT_TRUE(Start("-W:NORMAL"));
    EXPECT_FALSE(IsIconic(MainWindow()) || IsZoomed(MainWindow()));
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, Setting("Window", "Window"));

    // Minimized from the command line, and so left.
    ASSERT_TRUE(Start("/w:min"));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) != 0; }, 5000));
    ASSERT_TRUE(Close());
    EXPECT_EQ(1u, Setting("Window", "Window"));
}

TEST_F(StartAndExitJourney, ThePropertiesWindowOpenAtExitOpensAgainWhereItWas) {
    ASSERT_TRUE(Start(Song("c")));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000));
    Menu(kCmdProperties);
    ShownBox properties = WaitForBox();
    ASSERT_EQ("c のプロパティ - Quillory", properties.caption);
    SetWindowPos(properties.window, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Close());
    EXPECT_EQ(1u, Setting("Property", "Show"));
    EXPECT_EQ(100u, Setting("Property", "WinX"));
    EXPECT_EQ(120u, Setting("Property", "WinY"));

    ASSERT_TRUE(Start(""));
    properties = WaitForBox();
    EXPECT_EQ("c のプロパティ - Quillory", properties.caption);
    RECT place = {};
    GetWindowRect(properties.window, &place);
    EXPECT_EQ(100, place.left);
    EXPECT_EQ(120, place.top);
    // Closed before the exit, it stays closed.
    ASSERT_TRUE(Answer(properties, IDCANCEL));
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, Setting("Property", "Show"));

    // Neither its state nor its place is kept without their boxes.
    ASSERT_TRUE(WriteSetting("Mode", "RegWrite", kRememberMainWindowOnly));
    ASSERT_TRUE(WriteSetting("Property", "Show", 1u));
    ASSERT_TRUE(Start(""));
    EXPECT_FALSE(WaitForBox(1500).window);
    Menu(kCmdProperties);
    properties = WaitForBox();
    ASSERT_TRUE(properties.window);
    SetWindowPos(properties.window, nullptr, 200, 220, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(Close());
    EXPECT_EQ(100u, Setting("Property", "WinX"));
}

TEST_F(StartAndExitJourney, ASongOfAListFileNamedOnTheCommandLineIsTheOnePlayed) {
    InstallPlayer();
    ASSERT_TRUE(WriteFile("songs\\best.lst", "[Kadrel File List]\r\nc.mid\r\nb.mid\r\na.mid\r\n"));
    ASSERT_TRUE(Start("/p:tmidi /play \"" + Folder() + "songs\\best.lst>b.mid\"", PlayerEnvironment()));
    EXPECT_TRUE(WaitForPlay("Normal", 1)) << WaitForBox(1000).text;
    EXPECT_EQ(std::vector<std::string>{"b"}, SongsPlayed());
    EXPECT_EQ(std::vector<int>{1}, SelectedRows());
    ASSERT_TRUE(Close());
    // The list remembers its song by the song's own path.
    std::string file;
    ASSERT_TRUE(ReadSetting("LastSelect", "File", &file));
    EXPECT_EQ(Folder() + "songs\\b.mid", file);
    ForgetSongsPlayed();
    ASSERT_TRUE(Start("/play", PlayerEnvironment()));
    EXPECT_TRUE(WaitForPlay("Normal", 1));
    EXPECT_EQ(std::vector<std::string>{"b"}, SongsPlayed());
    ASSERT_TRUE(Close());
}

TEST_F(StartAndExitJourney, WhenTheSessionEndsTheSettingsAreWrittenAndThePlayerKeepsPlaying) {
    InstallPlayer();
    ASSERT_TRUE(WriteSetting("Mode", "RegWrite", kRememberPlayMode));
    Variables environment = PlayerEnvironment();
    environment.push_back({"FAKEPLAYER_SONG_MS", "60000"});
    ASSERT_TRUE(Start("/p:tmidi /repeat " + Song("b"), environment));
    ASSERT_TRUE(WaitForPlay("Repeat", 1));
    // Asked while a DDE transaction waits, the program says no without a
    // word; it is asked again.
    const bool mayEnd = WaitUntil(
        [&] {
            DWORD_PTR answer = 0;
            return SendMessageTimeoutA(MainWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000,
                                       &answer) &&
                   answer;
        },
        5000);
    ASSERT_TRUE(mayEnd);
    EXPECT_EQ(3u, Setting("Mode", "PlayMode"));
    std::string path;
    EXPECT_TRUE(ReadSetting("LastSelect", "File", &path));
    EXPECT_EQ("b.mid", path);
    // The conversation ends; the player is not closed.
    const std::vector<std::string> log = FileLines("player.log");
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "terminate")) << Joined(log);
    EXPECT_EQ(log.end(), std::find(log.begin(), log.end(), "close")) << Joined(log);
}

}  // namespace
