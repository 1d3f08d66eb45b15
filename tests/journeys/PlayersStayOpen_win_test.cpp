// Journeys through players that stay on after their song: the user's own
// player, which stays open and takes the following songs dropped on its
// window, and Media Player, whose process lingers after it closed its window.
// For both the song ends with the player's process; each song is handed over
// once, and Next and Previous move on while the player stays. Also the play palette's copy
// of the play indicator, which follows the status bar's through a song.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

// Songs over at once, and songs that outlast any journey.
constexpr char kShortSongMs[] = "300";
constexpr char kLongSongMs[] = "60000";

class PlayersStayOpenJourney : public Journey {
   protected:
    // Songs a, b and c in "songs\", and "players\" as the player folder.
    void SetUp() override {
        Journey::SetUp();
        MakeSongsAndPlayerFolder();
        ASSERT_TRUE(WriteSetting("Player", "ExecPath", Folder() + "players"));
    }

    // The fake as the user's own player, "players\\myplayer.exe".
    void InstallUsersPlayer() const {
        ASSERT_TRUE(CopyFakePlayer("players\\myplayer.exe"));
        ASSERT_TRUE(WriteSetting("Player", "UserPlayerFilename", Folder() + "players\\myplayer.exe"));
    }

    bool WaitForSongs(const std::string& songs, DWORD milliseconds) const {
        return WaitUntil([&] { return Played() == songs; }, milliseconds);
    }

    bool WaitForMode(const std::string& mode, DWORD milliseconds = 10000) const {
        return WaitUntil([&] { return PlayModeShown() == mode; }, milliseconds);
    }

    // The player's starts and exits in the order logged: "s" and "x".
    std::string StartsAndExits() const {
        std::string order;
        for (const std::string& line : FileLines("player.log")) {
            order += line.compare(0, 6, "start ") == 0 ? "s" : line == "exit" ? "x" : "";
        }
        return order;
    }

    // Each of songs played exactly once.
    void ExpectEachPlayedOnce(const std::string& songs) const {
        const std::string played = Played();
        for (char song : songs) {
            EXPECT_EQ(1, std::count(played.begin(), played.end(), song)) << song << " in " << played;
        }
    }

    // The state the status bar's indicator shows, by the name the palette's
    // indicator gives it.
    std::string StatusBarState() const {
        const int picture = Indicator();
        if (picture == 1 || picture == 2) {
            return "演奏中";
        }
        if (picture == 3 || picture == 4) {
            return "一時停止";
        }
        return picture == 0 ? "停止" : "?";
    }

    // The play palette's indicator, once the palette shows; null when none.
    HWND PaletteIndicator() const {
        HWND palette = WaitForWindowOfClass("Kadrel PlayPalette", 5000);
        return palette ? FindWindowExA(palette, nullptr, "Static", nullptr) : nullptr;
    }

    // Both indicators show state.
    bool BothShow(HWND indicator, const std::string& state) const {
        return WaitUntil([&] { return TextOf(indicator) == state && StatusBarState() == state; }, 5000);
    }

    // The palette's indicator lies inside the palette, clear of its tool bar
    // and big enough to be seen.
    void ExpectIndicatorFits(HWND indicator) const {
        ASSERT_TRUE(indicator != nullptr);
        HWND palette = GetParent(indicator);
        HWND bar = FindWindowExA(palette, nullptr, TOOLBARCLASSNAMEA, nullptr);
        ASSERT_TRUE(bar != nullptr);
        RECT client;
        GetClientRect(palette, &client);
        MapWindowPoints(palette, nullptr, reinterpret_cast<POINT*>(&client), 2);
        RECT shown;
        RECT buttons;
        RECT overlap;
        GetWindowRect(indicator, &shown);
        GetWindowRect(bar, &buttons);
        EXPECT_TRUE(IsWindowVisible(indicator));
        EXPECT_GE(shown.right - shown.left, 12);
        EXPECT_GE(shown.bottom - shown.top, 12);
        EXPECT_TRUE(shown.left >= client.left && shown.top >= client.top && shown.right <= client.right &&
                    shown.bottom <= client.bottom);
        EXPECT_FALSE(IntersectRect(&overlap, &shown, &buttons));
    }
};

// The user's own player stays open after its song. Like every player that
// takes its songs on the command line, its song ends with its process: the
// run stays on the song while the player is open (handing nothing over
// twice), and goes on, on a fresh player, once the user closes it.
TEST_F(PlayersStayOpenJourney, TheUsersPlayerThatStaysOpenHoldsTheRunUntilTheUserClosesIt) {
    InstallUsersPlayer();
    StartOnSongs("/p:user", PlayerEnvironment(kShortSongMs, {{"FAKEPLAYER_STAY_OPEN", "1"}}));
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForSongs("a", 10000)) << Played();
    ASSERT_TRUE(WaitForMode("Auto")) << PlayModeShown();
    ASSERT_TRUE(WaitUntil([&] { return Logged("end").size() == 1; }, 5000));
    Sleep(2500);  // five polls after the song ended, the player still open
    EXPECT_EQ("a", Played());
    EXPECT_EQ("s", StartsAndExits());
    EXPECT_EQ("Auto", PlayModeShown());
    EXPECT_TRUE(Logged("drop ").empty());

    // The user closes the player: b goes to a fresh one on its command line.
    HWND player = FindWindowA("FakePlayer", nullptr);
    ASSERT_TRUE(player != nullptr);
    PostMessageA(player, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForSongs("ab", 10000)) << Played();
    EXPECT_TRUE(WaitUntil([&] { return StartsAndExits() == "sxs"; }, 5000)) << StartsAndExits();
    const std::vector<std::string> starts = Logged("start ");
    ASSERT_EQ(2u, starts.size());
    EXPECT_NE(std::string::npos, starts[1].find("songs\\b.mid")) << starts[1];
    EXPECT_TRUE(Logged("drop ").empty());
    ExpectEachPlayedOnce("ab");
    Menu(kCmdStop);
    EXPECT_TRUE(WaitForMode("Normal")) << PlayModeShown();
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
}

// Next and Previous during a run on the user's open player drop the song
// they name on it, once each, while the player stays the one started first.
TEST_F(PlayersStayOpenJourney, NextAndPreviousMoveOnWhileTheUsersPlayerStaysOpen) {
    InstallUsersPlayer();
    StartOnSongs("/p:user", PlayerEnvironment(kLongSongMs, {{"FAKEPLAYER_STAY_OPEN", "1"}}));
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForSongs("a", 10000)) << Played();
    ASSERT_TRUE(WaitForMode("Auto")) << PlayModeShown();
    Menu(kCmdNext);
    ASSERT_TRUE(WaitForSongs("ab", 10000)) << Played();
    Menu(kCmdNext);
    ASSERT_TRUE(WaitForSongs("abc", 10000)) << Played();
    Menu(kCmdPrevious);  // the run wrapped past c: back to the song before it
    ASSERT_TRUE(WaitForSongs("abcb", 10000)) << Played();
    Sleep(2000);
    EXPECT_EQ("abcb", Played());
    EXPECT_EQ(3u, Logged("drop ").size());
    EXPECT_EQ("s", StartsAndExits());
    EXPECT_EQ("Auto", PlayModeShown());
    Menu(kCmdStop);
    EXPECT_TRUE(WaitForMode("Normal")) << PlayModeShown();
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
}

// Media Player closes its window after its song but its process stays on for
// a while. The song ends with the process: each song is launched on a fresh
// player's command line only after the last one exited, and handed over once.
// Next and Previous close the running player and launch the song they name.
TEST_F(PlayersStayOpenJourney, MediaPlayerThatStaysOnAfterItsSongEndsItWithItsProcess) {
    ASSERT_TRUE(CopyFakePlayer("players\\mplay32.exe"));
    StartOnSongs("/p:mplay", PlayerEnvironment(kShortSongMs, {{"FAKEPLAYER_CLOSE_DELAY_MS", "4000"}}));
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForSongs("abc", 40000)) << Played();
    EXPECT_TRUE(WaitForMode("Normal", 15000)) << PlayModeShown();
    EXPECT_TRUE(WaitUntil([&] { return StartsAndExits() == "sxsxsx"; }, 10000)) << StartsAndExits();
    const std::vector<std::string> starts = Logged("start ");
    ASSERT_EQ(3u, starts.size());
    for (size_t i = 0; i < starts.size(); ++i) {
        const std::string song = "songs\\" + std::string(1, char('a' + i)) + ".mid\"";
        EXPECT_EQ(0u, starts[i].find("start /play /close \"")) << starts[i];
        EXPECT_NE(std::string::npos, starts[i].find(song)) << starts[i];
    }
    ExpectEachPlayedOnce("abc");
    EXPECT_TRUE(Logged("drop").empty());
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
    ASSERT_TRUE(Close());

    ASSERT_TRUE(DeleteFileA((Folder() + "player.log").c_str()));
    StartOnSongs("/p:mplay", PlayerEnvironment(kLongSongMs, {{"FAKEPLAYER_CLOSE_DELAY_MS", "1500"}}));
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForSongs("a", 10000)) << Played();
    Menu(kCmdNext);
    ASSERT_TRUE(WaitForSongs("ab", 15000)) << Played();
    Menu(kCmdNext);
    ASSERT_TRUE(WaitForSongs("abc", 15000)) << Played();
    Menu(kCmdPrevious);
    ASSERT_TRUE(WaitForSongs("abcb", 15000)) << Played();
    Sleep(1500);
    EXPECT_EQ("abcb", Played());
    EXPECT_EQ("sxsxsxs", StartsAndExits());
    EXPECT_EQ("Auto", PlayModeShown());
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
}

// The play palette shows the play indicator after its buttons, in both its
// layouts, and it follows the status bar's through play, pause, resume and
// stop; a palette opened while a song is paused or plays shows that at once.
TEST_F(PlayersStayOpenJourney, ThePalettesIndicatorFollowsTheStatusBars) {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    StartOnSongs("/p:tmidi", PlayerEnvironment(kLongSongMs));
    Menu(kCmdPlayPalette);
    HWND indicator = PaletteIndicator();
    ExpectIndicatorFits(indicator);
    ASSERT_TRUE(BothShow(indicator, "停止")) << TextOf(indicator) << " " << Indicator();

    Menu(kCmdPlay);
    ASSERT_TRUE(WaitForSongs("a", 10000)) << Played();
    EXPECT_TRUE(BothShow(indicator, "演奏中")) << TextOf(indicator) << " " << Indicator();
    Menu(kCmdPause);
    ASSERT_TRUE(WaitUntil([&] { return Logged("execute pause").size() == 1; }, 5000));
    EXPECT_TRUE(BothShow(indicator, "一時停止")) << TextOf(indicator) << " " << Indicator();

    // Closed and opened again while the song is paused.
    Menu(kCmdPlayPalette);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(indicator); }, 5000));
    Menu(kCmdPlayPalette);
    indicator = PaletteIndicator();
    ASSERT_TRUE(indicator != nullptr);
    EXPECT_EQ("一時停止", TextOf(indicator));

    Menu(kCmdPause);
    ASSERT_TRUE(WaitUntil([&] { return Logged("execute resume").size() == 1; }, 5000));
    EXPECT_TRUE(BothShow(indicator, "演奏中")) << TextOf(indicator) << " " << Indicator();
    Menu(kCmdStop);
    ASSERT_TRUE(WaitUntil([&] { return Logged("execute stop").size() == 1; }, 5000));
    EXPECT_TRUE(BothShow(indicator, "停止")) << TextOf(indicator) << " " << Indicator();
    ASSERT_TRUE(Close());

    // The vertical palette, opened while a song plays.
    ASSERT_TRUE(WriteSetting("FloatingToolBar", "Vertical", 1u));
    StartOnSongs("/p:tmidi", PlayerEnvironment(kLongSongMs));
    Menu(kCmdPlay);
    ASSERT_TRUE(WaitUntil([&] { return StatusBarState() == "演奏中"; }, 10000)) << Indicator();
    Menu(kCmdPlayPalette);
    indicator = PaletteIndicator();
    ExpectIndicatorFits(indicator);
    EXPECT_EQ("演奏中", TextOf(indicator));
    EXPECT_TRUE(BothShow(indicator, "演奏中")) << TextOf(indicator) << " " << Indicator();
}

}  // namespace
