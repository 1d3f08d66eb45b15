// Journeys through players that misbehave: a DDE player that answers busy,
// one that never opens its DDE service, one that ends the conversation on
// its own side or is closed by its user, and a command-line player whose
// process stays on after its song. The program's window keeps answering,
// nothing is handed over twice, and only the failures a user must know of
// are shown.
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
constexpr char kShortSongMs[] = "300";
constexpr char kLongSongMs[] = "60000";

class PlayerFaultsJourney : public Journey {
   protected:
    // Songs a, b and c in "songs\", the fake TMIDI Player in "players\".
    void SetUp() override {
        Journey::SetUp();
        MakeSongsAndPlayerFolder();
        InstallPlayer();
    }

    bool WaitForMode(const std::string& mode, DWORD milliseconds = 10000) const {
        return WaitUntil([&] { return Status(3).find("PlayMode : " + mode) != std::string::npos; }, milliseconds);
    }

    // Whether the song list answers within half a second, as it does for a
    // user while the program waits on a player.
    bool ListAnswers() const {
        DWORD_PTR count = 0;
        return SendMessageTimeoutA(List(), LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 500, &count) && count == 3;
    }
};

// A status request the player answers busy counts as answered: the run waits
// for the player instead of taking it for lost, and goes on to the next song
// once the player says the song stopped.
TEST_F(PlayerFaultsJourney, AStatusAnsweredBusyKeepsTheRunGoing) {
    StartOnSongs("/p:tmidi", PlayerEnvironment(kShortSongMs, {{"FAKEPLAYER_BUSY_MS", "4500"}}));
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitUntil([&] { return !Logged("status busy").empty(); }, 10000)) << Played();
    EXPECT_TRUE(WaitUntil([&] { return Played() == "abc"; }, 40000)) << Played();
    EXPECT_TRUE(WaitForMode("Normal", 15000)) << Status(3);
    EXPECT_GE(Logged("status busy").size(), 3u);
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
}

// A play command the player answers busy fails as the system reports it, as
// busy (4001), with the command's label; the run ends.
TEST_F(PlayerFaultsJourney, APlayCommandAnsweredBusyIsReportedAsBusyAndEndsTheRun) {
    StartOnSongs("/p:tmidi", PlayerEnvironment(kLongSongMs, {{"FAKEPLAYER_BUSY_PLAY", "1"}}));
    Menu(kCmdPlaySequential);
    const ShownBox box = WaitForBox(15000);
    ASSERT_TRUE(box.window != nullptr) << Status(3);
    EXPECT_EQ("Quillory", box.caption);
    EXPECT_NE(std::string::npos, box.text.find("DDE : トランザクションに失敗しました。(4001)")) << box.text;
    EXPECT_NE(std::string::npos, box.text.find("DdePlayerPlay\nXTYP_EXECUTE 'playfile \"")) << box.text;
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(WaitForMode("Normal")) << Status(3);
    EXPECT_EQ(1u, Logged("busy playfile").size());
    EXPECT_EQ("", Played());
}

// A player whose DDE service never opens (its process starts and sits) is
// given up after the wait for it: the connection failure is shown, the run
// ends, and the window answered all along and still takes keys.
TEST_F(PlayerFaultsJourney, APlayerThatNeverOpensItsServiceIsGivenUpAndTheWindowAnswers) {
    StartOnSongs("/p:tmidi", PlayerEnvironment(kLongSongMs, {{"FAKEPLAYER_OPEN_DELAY_MS", "60000"}}));
    const DWORD asked = GetTickCount();
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForMode("Auto")) << Status(3);
    int answers = 0;
    ShownBox box;
    while (!(box = WaitForBox(200)).window && GetTickCount() - asked < 30000) {
        answers += ListAnswers() ? 1 : 0;
    }
    ASSERT_TRUE(box.window != nullptr);
    EXPECT_LT(GetTickCount() - asked, 15000u);
    EXPECT_GE(answers, 3);
    EXPECT_EQ("Quillory", box.caption);
    EXPECT_NE(std::string::npos, box.text.find("DDE : コネクトできません。")) << box.text;
    EXPECT_NE(std::string::npos, box.text.find("Service 'TMIDI'\nTopic 'TMIDI'")) << box.text;
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(WaitForMode("Normal")) << Status(3);
    Key(List(), VK_DOWN);
    EXPECT_TRUE(WaitUntil([&] { return FocusedRow() == 1; }, 5000)) << FocusedRow();
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
    EXPECT_EQ("", Played());
}

// The user's own command-line player closes its window after the song but
// its process stays on for a while. The song ends with the process: the next
// one is launched only after it, on a fresh player's command line, and every
// song is handed over once.
TEST_F(PlayerFaultsJourney, ACommandLinePlayerThatStaysOnAfterItsSongEndsItWithItsProcess) {
    ASSERT_TRUE(CopyFakePlayer("players\\myplayer.exe"));
    ASSERT_TRUE(WriteSetting("Player", "UserPlayerFilename", Folder() + "players\\myplayer.exe"));
    StartOnSongs("/p:user", PlayerEnvironment(kShortSongMs, {{"FAKEPLAYER_CLOSE_DELAY_MS", "4000"}}));
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitUntil([&] { return Played() == "abc"; }, 40000)) << Played();
    EXPECT_TRUE(WaitForMode("Normal", 15000)) << Status(3);
    // start, play, end, close, exit: each player exits before the next starts.
    std::string order;
    for (const std::string& line : FileLines("player.log")) {
        order += line.compare(0, 6, "start ") == 0 ? "s" : line == "exit" ? "x" : "";
    }
    EXPECT_EQ("sxsxsx", order);
    EXPECT_TRUE(Logged("drop").empty());
    const std::string played = Played();
    for (char song : {'a', 'b', 'c'}) {
        EXPECT_EQ(1, std::count(played.begin(), played.end(), song)) << song;
    }
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
}

// The player ends the conversation from its side while the process runs on:
// the next status poll fails without a message and the run ends; the
// indicator shows the player stopped.
TEST_F(PlayerFaultsJourney, APlayerThatEndsTheConversationEndsTheRunWithoutAMessage) {
    StartOnSongs("/p:tmidi", PlayerEnvironment(kLongSongMs, {{"FAKEPLAYER_HANG_UP_AFTER_STATUS", "3"}}));
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitUntil([&] { return Played() == "a"; }, 10000)) << Played();
    ASSERT_TRUE(WaitUntil([&] { return Logged("hang up").size() == 1; }, 10000));
    EXPECT_TRUE(WaitForMode("Normal")) << Status(3);
    EXPECT_TRUE(WaitUntil([&] { return Indicator() == 0; }, 5000)) << Indicator();
    Sleep(1500);
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
    EXPECT_EQ("a", Played());
}

// The user started the player before the program, so the program only
// linked to it; then the user closes it. The program notices that the
// conversation ended, and the next song starts the player anew instead of
// going to the one that is gone. The user closes that one too, and the song
// after it starts a third.
TEST_F(PlayerFaultsJourney, APlayerItsUserClosedIsStartedAnewForTheNextSong) {
    const Variables environment = PlayerEnvironment(kLongSongMs);
    for (const auto& variable : environment) {
        SetEnvironmentVariableA(variable.first.c_str(), variable.second.c_str());
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION player = {};
    std::string command = "\"" + Folder() + "players\\TMIDI.EXE\"";
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &player));
    for (const auto& variable : environment) {
        SetEnvironmentVariableA(variable.first.c_str(), nullptr);
    }
    CloseHandle(player.hThread);
    ASSERT_TRUE(WaitUntil([&] { return Logged("start").size() == 1; }, 10000));

    StartOnSongs("/p:tmidi", environment);
    Menu(kCmdPlay);
    ASSERT_TRUE(WaitUntil([&] { return Played() == "a"; }, 10000)) << Played();
    EXPECT_EQ(1u, Logged("start").size());  // the running player took it

    CloseHandle(player.hProcess);
    // The user closes the player, and plays the next song.
    const auto closePlayerAndPlayNext = [&](int row) {
        const size_t exits = Logged("exit").size();
        HWND window = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (window = FindWindowA("FakePlayer", nullptr)) != nullptr; }, 5000));
        PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return Logged("exit").size() == exits + 1; }, 10000));
        Sleep(1500);  // a few of the program's polls of the player
        Key(List(), VK_DOWN);
        ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == row; }, 5000)) << FocusedRow();
        Menu(kCmdPlay);
    };
    closePlayerAndPlayNext(1);
    EXPECT_TRUE(WaitUntil([&] { return Played() == "ab"; }, 15000)) << Played();
    EXPECT_EQ(2u, Logged("start").size());
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;

    closePlayerAndPlayNext(2);
    EXPECT_TRUE(WaitUntil([&] { return Played() == "abc"; }, 15000)) << Played();
    EXPECT_EQ(3u, Logged("start").size());
    EXPECT_FALSE(WaitForBox(0).window) << WaitForBox(0).text;
}

}  // namespace
