// Journeys through continuous play and the searches that select rows: play
// ranges made from the selection and shown in the list, runs that end when
// the list is replaced, Next and Previous at the ends of the list, a player
// started without a song, a command given while the old player closes, and
// select, add-select and narrowing through the dialogs and the search bar.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

// Songs that end at once, and songs that outlast any journey.
constexpr char kShortSongMs[] = "200";
constexpr char kLongSongMs[] = "60000";
// The end of a song is noticed three seconds after its hand-over at the
// earliest; a run of a few songs takes some seconds more.
constexpr DWORD kRunMs = 20000;

// The select dialog's text box and its "追加選択" button.
constexpr int kSearchTextCombo = 1001;
constexpr int kAddSelectButton = 1050;

class PlayRunJourney : public Journey {
   protected:
    // Five songs in "songs\", a to e; three of them have "Red" in their title.
    void SetUp() override {
        Journey::SetUp();
        ASSERT_TRUE(MakeFolder("songs"));
        const char* titles[] = {"Blue sky", "Red sea", "Red sun", "Green hill", "Red moon"};
        for (int i = 0; i < 5; ++i) {
            const std::string name(1, char('a' + i));
            ASSERT_TRUE(WriteFile("songs\\" + name + ".mid", MidiSong(titles[i])));
        }
        ASSERT_TRUE(MakeFolder("players"));
        ASSERT_TRUE(WriteSetting("Player", "ExecPath", Folder() + "players"));
    }

    // Starts with a player option on the songs folder and waits for its rows.
    void StartOnSongs(const std::string& playerOption, const Variables& environment) {
        ASSERT_TRUE(Start(playerOption + " \"" + Folder() + "songs\"", environment));
        ASSERT_TRUE(WaitUntil([&] { return RowCount() == 5; }, 10000)) << RowCount();
    }

    // The row whose name column shows the song ("b" or "b.mid"); -1 when none.
    int RowOf(char song) const {
        for (int row = 0; row < RowCount(); ++row) {
            const std::string name = Cell(row, 0);
            if (!name.empty() && name[0] == song && (name.size() == 1 || name[1] == '.')) {
                return row;
            }
        }
        return -1;
    }

    std::vector<int> RowsOf(const std::string& songs) const {
        std::vector<int> rows;
        for (char song : songs) {
            rows.push_back(RowOf(song));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    // The songs given to the player, in order, by name: "ab".
    std::string SongsPlayed() const {
        std::string songs;
        for (const std::string& line : FileLines("player.log")) {
            const size_t song = line.find(".mid");
            if (line.compare(0, 5, "play ") != 0 || song == std::string::npos || song == 0) {
                continue;
            }
            songs += line[song - 1];
        }
        return songs;
    }

    std::string PlayModeShown() const {
        const std::string text = Status(3);
        const size_t name = text.find("PlayMode : ");
        return name == std::string::npos ? text : text.substr(name + 11);
    }

    bool WaitForMode(const std::string& mode, DWORD milliseconds = 10000) const {
        return WaitUntil([&] { return PlayModeShown() == mode; }, milliseconds);
    }

    bool WaitForSongs(const std::string& songs, DWORD milliseconds = kRunMs) const {
        return WaitUntil([&] { return SongsPlayed() == songs; }, milliseconds);
    }

    // Selects the songs' rows as the keyboard does: the first by moving the
    // focus to it, each following one with the space bar, which adds the
    // next row. The songs must stand in consecutive rows.
    void SelectFromTo(char first, char last) {
        Key(List(), VK_HOME);
        for (int row = 0; row < RowOf(first); ++row) {
            Key(List(), VK_DOWN);
        }
        for (char song = first; song < last; ++song) {
            Key(List(), VK_SPACE);
        }
        std::string songs;
        for (char song = first; song <= last; ++song) {
            songs += song;
        }
        ASSERT_TRUE(WaitUntil([&] { return SelectedRows() == RowsOf(songs); }, 5000)) << SelectedRows().size();
    }

    // Moves the focus (and the selection) to the song's row.
    void FocusSong(char song) {
        Key(List(), VK_HOME);
        for (int row = 0; row < RowOf(song); ++row) {
            Key(List(), VK_DOWN);
        }
        ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == RowOf(song); }, 5000)) << FocusedRow();
    }

    // Replaces the text of an edit box as the keyboard does.
    void Enter(HWND edit, const std::string& text) const {
        ASSERT_TRUE(edit != nullptr);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(edit, WM_SETTEXT, 0, LPARAM(""), SMTO_ABORTIFHUNG, 5000, &ignored);
        Type(edit, text);
        WaitUntil(
            [&] {
                char shown[256] = {};
                SendMessageTimeoutA(edit, WM_GETTEXT, sizeof shown, LPARAM(shown), SMTO_ABORTIFHUNG, 5000, &ignored);
                return text == shown;
            },
            5000);
    }

    // Opens the select dialog, types the text and presses a button.
    void SelectThroughDialog(const std::string& text, int button) {
        Menu(kCmdSelect);
        const ShownBox box = WaitForBox();
        ASSERT_TRUE(box.window != nullptr);
        ASSERT_EQ("選択 - Quillory", box.caption);
        Enter(BoxItem(box, kSearchTextCombo), text);
        ASSERT_TRUE(Answer(box, button));
    }

    // The user's own player (the fake as "players\\myplayer.exe") started
    // without a song on the song's row, as "start player only" does.
    void StartUsersPlayerWithoutSong(char song, const Variables& more) {
        ASSERT_TRUE(CopyFakePlayer("players\\myplayer.exe"));
        ASSERT_TRUE(WriteSetting("Player", "UserPlayerFilename", Folder() + "players\\myplayer.exe"));
        StartOnSongs("/p:user", PlayerEnvironment(kLongSongMs, more));
        FocusSong(song);
        Menu(kCmdLaunchPlayer);
        ASSERT_TRUE(WaitUntil([&] { return Logged("start").size() == 1; }, 10000));
    }

    bool RowMarked(int row) const {
        return (RowState(row, LVIS_CUT) & LVIS_CUT) != 0;
    }

    std::vector<int> MarkedRows() const {
        std::vector<int> rows;
        for (int row = 0; row < RowCount(); ++row) {
            if (RowMarked(row)) {
                rows.push_back(row);
            }
        }
        return rows;
    }
};

TEST_F(PlayRunJourney, SelectAndAddSelectKeepEveryMatchingRow) {
    StartOnSongs("", Variables());
    const std::vector<int> red = RowsOf("bce");

    SelectThroughDialog("Red", IDOK);
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows() == red; }, 5000)) << SelectedRows().size();
    EXPECT_EQ(RowOf('b'), FocusedRow());

    // Add-select keeps the row the user had selected.
    FocusSong('d');
    SelectThroughDialog("Red", kAddSelectButton);
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows() == RowsOf("bcde"); }, 5000)) << SelectedRows().size();

    // The search bar's select replaces the selection and hands the keyboard
    // to the song list.
    FocusSong('a');
    Enter(SearchBarEdit(), "red");
    Menu(kCmdBarSelect);
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows() == red; }, 5000)) << SelectedRows().size();
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow() == List(); }, 5000));

    // Nothing matches: the selection is cleared and the status bar says so.
    Enter(SearchBarEdit(), "purple");
    Menu(kCmdBarSelect);
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows().empty(); }, 5000));
    EXPECT_EQ("見つかりません", Status(0));
}

TEST_F(PlayRunJourney, NarrowingStepsAndUndoThroughTheDialogAndTheSearchBar) {
    StartOnSongs("", Variables());
    Menu(kCmdNarrow);
    const ShownBox box = WaitForBox();
    ASSERT_TRUE(box.window != nullptr);
    EXPECT_EQ("絞り込み - Quillory", box.caption);
    Enter(BoxItem(box, kSearchTextCombo), "Red");
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 5000)) << RowCount();

    Enter(SearchBarEdit(), "sea");
    Menu(kCmdBarNarrow);
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 1; }, 5000)) << RowCount();
    EXPECT_EQ(0, RowOf('b'));
    EXPECT_NE(std::string::npos, Status(0).find("[2]")) << Status(0);

    // A narrow that finds nothing keeps the level and the rows.
    Enter(SearchBarEdit(), "purple");
    Menu(kCmdBarNarrow);
    EXPECT_TRUE(WaitUntil([&] { return Status(0) == "見つかりません"; }, 5000)) << Status(0);
    EXPECT_EQ(1, RowCount());

    Menu(kCmdWidenOne);
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 5000)) << RowCount();
    Menu(kCmdBarWiden);
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 5; }, 5000)) << RowCount();
    EXPECT_EQ(std::string::npos, Status(0).find('[')) << Status(0);
}

// The range is made by the select dialog, which leaves the focus on the
// first matching row, so the run starts there.
TEST_F(PlayRunJourney, RangeMarksShowWhileTheRangePlaysAndItsRowsAreSelectedAgainAtTheEnd) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    StartOnSongs("/p:tmidi", PlayerEnvironment(kLongSongMs));
    SelectThroughDialog("Red", IDOK);
    ASSERT_TRUE(WaitUntil([&] { return SelectedRows() == RowsOf("bce"); }, 5000));
    EXPECT_TRUE(MarkedRows().empty());
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForMode("Auto")) << PlayModeShown();
    ASSERT_TRUE(WaitForSongs("b")) << SongsPlayed();
    // The hand-over moved the selection to b; the range stays marked.
    EXPECT_TRUE(WaitUntil([&] { return MarkedRows() == RowsOf("bce"); }, 5000)) << MarkedRows().size();
    EXPECT_EQ(std::vector<int>{RowOf('b')}, SelectedRows());

    Menu(kCmdPlayCancel);
    ASSERT_TRUE(WaitForMode("Normal")) << PlayModeShown();
    EXPECT_TRUE(WaitUntil([&] { return MarkedRows().empty(); }, 5000)) << MarkedRows().size();
    EXPECT_EQ(RowsOf("bce"), SelectedRows());
}

TEST_F(PlayRunJourney, ARangePlaysOnlyItsRowsFromStartToEnd) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    StartOnSongs("/p:tmidi", PlayerEnvironment(kShortSongMs));
    SelectThroughDialog("Red", IDOK);
    ASSERT_TRUE(WaitUntil([&] { return SelectedRows() == RowsOf("bce"); }, 5000));
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForSongs("bce")) << SongsPlayed();
    EXPECT_TRUE(WaitForMode("Normal", kRunMs)) << PlayModeShown();
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows() == RowsOf("bce"); }, 5000)) << SelectedRows().size();
    EXPECT_TRUE(MarkedRows().empty());
    Sleep(4000);  // more than the grace after a hand-over: nothing follows e
    EXPECT_EQ("bce", SongsPlayed());
}

// Each continuous mode is ended by another list replacing the shown one: a
// sort from the menu, a narrowing from the search bar, a file the folder
// watch notices. The run's range goes with it, and nothing more is handed
// over from rows that are gone.
TEST_F(PlayRunJourney, AnotherListEndsAutoRandomAndRepeat) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    StartOnSongs("/p:tmidi", PlayerEnvironment(kShortSongMs));

    SelectFromTo('b', 'd');
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForMode("Auto")) << PlayModeShown();
    ASSERT_TRUE(WaitForSongs("d")) << SongsPlayed();  // the focused row of the range first
    Menu(kCmdSortByTitle);
    EXPECT_TRUE(WaitForMode("Normal")) << PlayModeShown();
    EXPECT_TRUE(MarkedRows().empty());
    const std::string afterAuto = SongsPlayed();
    Sleep(4500);
    EXPECT_EQ(afterAuto, SongsPlayed());
    EXPECT_EQ(std::string::npos, afterAuto.find_first_of("ae")) << afterAuto;

    Menu(kCmdPlayRandom);
    ASSERT_TRUE(WaitForMode("Random")) << PlayModeShown();
    Enter(SearchBarEdit(), "Red");
    Menu(kCmdBarNarrow);
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 5000)) << RowCount();
    EXPECT_TRUE(WaitForMode("Normal")) << PlayModeShown();
    Menu(kCmdWidenAll);
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 5; }, 5000)) << RowCount();

    Menu(kCmdPlayRepeat);
    ASSERT_TRUE(WaitForMode("Repeat")) << PlayModeShown();
    ASSERT_TRUE(WriteFile("songs\\f.mid", MidiSong("Yellow")));
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 6; }, 10000)) << RowCount();
    EXPECT_TRUE(WaitForMode("Normal")) << PlayModeShown();
    const std::string afterRepeat = SongsPlayed();
    Sleep(4500);
    EXPECT_EQ(afterRepeat, SongsPlayed());
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
}

// In Normal mode Next and Previous walk the whole list and wrap at its ends,
// also after a run over a range of fewer rows.
TEST_F(PlayRunJourney, NextAndPreviousWrapAtTheEndsOfTheList) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    StartOnSongs("/p:tmidi", PlayerEnvironment(kShortSongMs));
    // Previous on the first row plays the last, Next on the last the first.
    const auto wrapAtBothEnds = [&](const std::string& before) {
        FocusSong('a');
        Menu(kCmdPrevious);
        EXPECT_TRUE(WaitForSongs(before + "e")) << SongsPlayed();
        Key(List(), VK_END);
        ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == RowOf('e'); }, 5000));
        Menu(kCmdNext);
        EXPECT_TRUE(WaitForSongs(before + "ea")) << SongsPlayed();
    };
    wrapAtBothEnds("");

    // A range of b and c, started from its focused row c, plays c and ends.
    SelectFromTo('b', 'c');
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForSongs("eac")) << SongsPlayed();
    ASSERT_TRUE(WaitForMode("Normal", kRunMs)) << PlayModeShown();
    ASSERT_EQ(RowOf('c'), FocusedRow());
    Menu(kCmdNext);
    EXPECT_TRUE(WaitForSongs("eacd")) << SongsPlayed();
    wrapAtBothEnds("eacd");
    EXPECT_EQ("Normal", PlayModeShown());
}

// A command-line player started without a song is closed for the first song
// of continuous play, which starts a fresh one with the song on its command
// line instead of dropping the song on the idle one.
TEST_F(PlayRunJourney, AfterStartingThePlayerOnlyAutoStartsItAgainWithTheSong) {
    StartUsersPlayerWithoutSong('a', Variables());
    EXPECT_EQ(std::string::npos, Logged("start")[0].find(".mid")) << Logged("start")[0];

    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitUntil([&] { return Logged("start").size() == 2; }, 10000)) << Logged("drop").size();
    EXPECT_EQ(1u, Logged("close").size());
    EXPECT_NE(std::string::npos, Logged("start")[1].find("songs\\a.mid\"")) << Logged("start")[1];
    EXPECT_TRUE(Logged("drop").empty());
    EXPECT_EQ("a", SongsPlayed());
    EXPECT_EQ("Auto", PlayModeShown());
}

// In Normal mode the user's own player, started without a song, is kept:
// the song is dropped on the window remembered from its start.
TEST_F(PlayRunJourney, PlayDropsTheSongOnTheUsersPlayerStartedWithoutOne) {
    StartUsersPlayerWithoutSong('b', Variables());
    Sleep(1000);  // the program remembers the player's windows half a second after its start
    Menu(kCmdPlay);
    ASSERT_TRUE(WaitUntil([&] { return Logged("drop").size() == 1; }, 10000)) << SongsPlayed();
    EXPECT_NE(std::string::npos, Logged("drop")[0].find("songs\\b.mid")) << Logged("drop")[0];
    EXPECT_EQ("b", SongsPlayed());
    EXPECT_EQ(1u, Logged("start").size());
    EXPECT_TRUE(Logged("close").empty());
}

// Next pressed while the old player is being told to quit is held and runs
// after the hand-over that closed it, not dropped inside it.
TEST_F(PlayRunJourney, NextGivenWhileTheOldPlayerQuitsRunsAfterTheHandOver) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    StartOnSongs("/p:tmidi", PlayerEnvironment(kLongSongMs, {{"FAKEPLAYER_QUIT_DELAY_MS", "1500"},
                                                             {"FAKEPLAYER_CLOSE_DELAY_MS", "1500"}}));
    FocusSong('a');
    Menu(kCmdPlay);
    ASSERT_TRUE(WaitForSongs("a")) << SongsPlayed();
    Menu(kCmdLaunchPlayer);  // closes the player and starts it again without a song
    ASSERT_TRUE(WaitUntil([&] { return !Logged("execute EXIT").empty(); }, 10000));
    CommandDuringWait(kCmdNext);
    EXPECT_TRUE(WaitForSongs("ab", 15000)) << SongsPlayed();
    EXPECT_EQ(2u, Logged("start").size());
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
}

// Pause and resume go to the DDE player in its own words, and the status
// bar's indicator shows playing, paused, playing again and stopped; a play
// command it does not answer within the time-out is reported with its label
// and ends the run.
TEST_F(PlayRunJourney, PauseResumesAndAPlayCommandThatTimesOutEndsTheRun) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    ASSERT_TRUE(WriteSetting("Player", "PlayTimeOut", 1u));
    StartOnSongs("/p:tmidi", PlayerEnvironment(kLongSongMs));
    // Each state has two pictures, which alternate while it lasts.
    const auto shows = [&](int first) {
        return WaitUntil([&] { return Indicator() == first || Indicator() == first + 1; }, 5000);
    };
    FocusSong('a');
    Menu(kCmdPlay);
    ASSERT_TRUE(WaitForSongs("a")) << SongsPlayed();
    EXPECT_TRUE(shows(1)) << Indicator();
    Menu(kCmdPause);
    EXPECT_TRUE(WaitUntil([&] { return Logged("execute pause").size() == 1; }, 5000));
    EXPECT_TRUE(shows(3)) << Indicator();
    Menu(kCmdPause);
    EXPECT_TRUE(WaitUntil([&] { return Logged("execute resume").size() == 1; }, 5000));
    EXPECT_TRUE(shows(1)) << Indicator();
    Menu(kCmdStop);
    EXPECT_TRUE(WaitUntil([&] { return Logged("execute stop").size() == 1; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return Indicator() == 0; }, 5000)) << Indicator();
    ASSERT_TRUE(Close());
    ASSERT_TRUE(WaitUntil([&] { return Logged("exit").size() == 1; }, 10000));

    // The player now takes longer over a song than the selector waits.
    ASSERT_TRUE(Start("/p:tmidi", PlayerEnvironment(kLongSongMs, {{"FAKEPLAYER_DDE_DELAY_MS", "3000"}})));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 5; }, 10000));
    Menu(kCmdPlaySequential);
    const ShownBox box = WaitForBox(15000);
    ASSERT_TRUE(box.window != nullptr) << PlayModeShown();
    EXPECT_EQ("Quillory", box.caption);
    EXPECT_NE(std::string::npos, box.text.find("DDE : トランザクションに失敗しました。")) << box.text;
    EXPECT_NE(std::string::npos, box.text.find("DdePlayerPlay")) << box.text;
    EXPECT_NE(std::string::npos, box.text.find("XTYP_EXECUTE 'playfile")) << box.text;
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(WaitForMode("Normal")) << PlayModeShown();
}

// A player that will not close holds the hand-over for ten seconds, then the
// user is told and the player is left running.
TEST_F(PlayRunJourney, APlayerThatWillNotCloseIsReportedAfterTenSeconds) {
    StartUsersPlayerWithoutSong('a', {{"FAKEPLAYER_NO_CLOSE", "1"}});
    const DWORD asked = GetTickCount();
    Menu(kCmdLaunchPlayer);  // closes the running player first
    const ShownBox box = WaitForBox(20000);
    ASSERT_TRUE(box.window != nullptr);
    EXPECT_GE(GetTickCount() - asked, 9000u);
    EXPECT_EQ("Quillory", box.caption);
    EXPECT_NE(std::string::npos, box.text.find("プレイヤーを終了できません。")) << box.text;
    EXPECT_EQ(1u, Logged("close refused").size());
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(1u, Logged("start").size());  // no second player was started
}

}  // namespace
