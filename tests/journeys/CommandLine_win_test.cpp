// Journeys through the command line: each kind of location a word can name,
// each play option with the stored player and with the user's own, each
// player option, and the window options with the tray, and a second start
// while the first sits in the tray.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/archive/ZipTestFiles.h"
#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

// A play that was not asked for shows within this time.
constexpr DWORD kNoPlayMs = 2500;

class CommandLineJourney : public Journey {
   protected:
    // "songs\" holds a, b and c (titled "Song a" ...) and the list file
    // best.lst naming them backwards (listed by name all the same); "my
    // songs\" d and e; "packs\pack.zip" the member y.mid.
    void SetUp() override {
        Journey::SetUp();
        MakeSongsAndPlayerFolder();
        ASSERT_TRUE(WriteFile("songs\\best.lst", "[Kadrel File List]\r\nc.mid\r\nb.mid\r\na.mid\r\n"));
        ASSERT_TRUE(MakeFolder("my songs"));
        ASSERT_TRUE(WriteFile("my songs\\d.mid", MidiSong("Song d")));
        ASSERT_TRUE(WriteFile("my songs\\e.mid", MidiSong("Song e")));
        ASSERT_TRUE(MakeFolder("packs"));
        ASSERT_TRUE(WriteFile("packs\\pack.zip", StoredZip({"y.mid"}, MidiSong("Song y"))));
    }

    std::string Quoted(const std::string& name) const {
        return "\"" + Folder() + name + "\"";
    }

    // Whether the tool bar offers to cancel a run: it does while one runs.
    bool RunCancelOffered() const {
        const int state = ButtonState(kCmdPlayCancel);
        return state >= 0 && (state & TBSTATE_ENABLED) != 0;
    }

    std::string StoredText(const std::string& key, const std::string& name) const {
        std::string text = "(missing)";
        ReadSetting(key, name, &text);
        return text;
    }
};

TEST_F(CommandLineJourney, EachKindOfLocationOpensWithItsSongFocused) {
    // The focused song as the name column shows it, and the location and
    // song kept for the next start (a list keeps its songs' own paths, an
    // archive's member is kept with the archive's name).
    const struct {
        std::string words;
        const char* node;
        int rows;
        const char* focused;
        std::string storedPath;
        std::string storedFile;
    } cases[] = {
        {Quoted("songs"), "songs", 3, "a", Folder() + "songs\\", "a.mid"},
        {Quoted("songs\\"), "songs", 3, "a", Folder() + "songs\\", "a.mid"},
        {Quoted("songs\\best.lst"), "best", 3, "a", Folder() + "songs\\best.lst>", Folder() + "songs\\a.mid"},
        {Quoted("packs\\pack.zip>y.mid"), "packs", 1, "y", Folder() + "packs\\", "pack.zip>y.mid"},
        // The last path wins; a quoted word keeps its space.
        {Quoted("songs\\a.mid") + " " + Quoted("my songs\\e.mid"), "my songs", 2, "e", Folder() + "my songs\\",
         "e.mid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        ASSERT_TRUE(Start(c.words));
        EXPECT_TRUE(WaitUntil([&] { return RowCount() == c.rows; }, 10000)) << RowCount();
        EXPECT_EQ(c.node, TreeSelection());
        const int focused = FocusedRow();
        EXPECT_EQ(0u, Cell(focused, 0).find(c.focused)) << focused << " " << Cell(focused, 0);
        EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
        ASSERT_TRUE(Close());
        EXPECT_EQ(c.storedPath, StoredText("LastSelect", "Path"));
        EXPECT_EQ(c.storedFile, StoredText("LastSelect", "File"));
    }
}

TEST_F(CommandLineJourney, EachPlayOptionWithTheStoredPlayerAndWithTheUsersOwn) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    ASSERT_TRUE(CopyFakePlayer("players\\myplayer.exe"));
    ASSERT_TRUE(WriteSetting("Player", "ExecPath", Folder() + "players"));
    ASSERT_TRUE(WriteSetting("Player", "UserPlayerFilename", Folder() + "players\\myplayer.exe"));
    // The stored player is TMIDI Player; "" as the first song: any song.
    const struct {
        const char* words;
        const char* mode;
        const char* first;
        uint32_t storedPlayMode;  // what the settings hold before the start
    } cases[] = {
        {"/play", "Normal", "b", 0},           {"-Auto", "Auto", "b", 0},
        {"/random", "Random", "", 0},          {"/randomp", "Random", "b", 0},
        {"/repeat", "Repeat", "b", 0},         {"/stop", "Normal", nullptr, 2},  // overrides the stored random play
        {"/p:user /play", "Normal", "b", 0},   {"/p:user /auto", "Normal", "b", 0},
        {"/p:user /random", "Normal", "b", 0}, {"/stop /p:user", "Normal", nullptr, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        ASSERT_TRUE(WriteSetting("Mode", "PlayerMode", 4u));
        ASSERT_TRUE(WriteSetting("Mode", "PlayMode", c.storedPlayMode));
        DeleteFileA((Folder() + "player.log").c_str());
        ASSERT_TRUE(Start(std::string(c.words) + " " + Song("b"), LongSongsEnvironment()));
        ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000)) << RowCount();
        if (c.first) {
            EXPECT_TRUE(WaitUntil([&] { return !SongsPlayed().empty() && PlayModeShown() == c.mode; }, 10000))
                << PlayModeShown();
            const std::vector<std::string> songs = SongsPlayed();
            ASSERT_EQ(1u, songs.size());
            if (*c.first) {
                EXPECT_EQ(c.first, songs[0]);
            }
        } else {
            Sleep(kNoPlayMs);
            EXPECT_TRUE(SongsPlayed().empty());
            EXPECT_EQ(c.mode, PlayModeShown());
        }
        // The tool bar offers to cancel only a run.
        EXPECT_TRUE(WaitUntil([&] { return RunCancelOffered() == (std::string(c.mode) != "Normal"); }, 3000));
        EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
        ASSERT_TRUE(Close());
    }
}

TEST_F(CommandLineJourney, EachPlayerOptionChoosesItsPlayerAndIsKept) {
    const struct {
        const char* words;
        const char* shown;
        uint32_t kind;
    } cases[] = {
        {"/p:mplay", "Media Player", 0},
        {"/p:wmplay", "Win Media Player", 1},
        {"/p:wfp", "WRD File Player", 2},
        {"/p:mpvg", "MPVG", 3},
        {"/p:tmidi", "TMIDI Player", 4},
        {"-P:DECOP", "DECOPLAY", 5},
        {"/p:kbmedia", "KbMedia Player", 6},
        {"/p:winamp", "WINAMP2", 7},
        {"/p:scmpx", "SCMPX", 8},
        {"/p:gratzer", "Gratzer SS", 9},
        {"/p:audioactive", "Audioactive Player", 10},
        {"/p:mpvg /p:lilith", "Lilith", 11},  // the last one wins
        {"/p:user", "ユーザー定義", 100},
        {"/p:nosuchplayer", "ユーザー定義", 100},  // ignored: the stored one stays
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        ASSERT_TRUE(Start(c.words));
        EXPECT_EQ(std::string("\t") + c.shown, Status(1));
        ASSERT_TRUE(Close());
        EXPECT_EQ(c.kind, StoredNumber("Mode", "PlayerMode"));
    }
}

TEST_F(CommandLineJourney, StartedMinimizedWithTheTraySettingItWaitsInTheTrayForASecondStart) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    ASSERT_TRUE(WriteSetting("Player", "ExecPath", Folder() + "players"));
    ASSERT_TRUE(WriteSetting("Mode", "StoreTaskTray", 1u));
    ASSERT_TRUE(StartInTray("/w:min /p:tmidi " + Song("b")));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000)) << RowCount();
    EXPECT_FALSE(IsWindowVisible(MainWindow()));

    // A second start brings it back; its play option plays nothing.
    EXPECT_EQ(0, StartSecond("/auto"));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(MainWindow()) && !IsIconic(MainWindow()); }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == MainWindow(); }, 5000));
    Sleep(kNoPlayMs);
    EXPECT_TRUE(SongsPlayed().empty());
    EXPECT_EQ("Normal", PlayModeShown());
    EXPECT_EQ(std::vector<int>{1}, SelectedRows());
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, StoredNumber("Window", "Window"));
}

}  // namespace
