// Play control against the fake players: the fake is copied under each
// player's executable name into a scratch folder on the search path, and the
// controller is driven through a recording host. Ticks come every 100 ms here,
// so the six-tick grace after a hand-over is 0.6 s.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/SoundModules.h"
#include "core/Settings.h"
#include "player/PlayController_win.h"

namespace {

class FakeHost : public PlayerHost {
   public:
    FakeHost() : modules(MakeSoundModuleTable()) {
        BagBox detectors = MakeSoundModuleDetectorTable();
        SetDefaultSoundModules(&modules, &detectors);
    }
    ClientSettings* CurrentSettings() override {
        return &settings;
    }
    const BagBox& SoundModules() override {
        return modules;
    }
    PendingCommand* Pending() override {
        return &pending;
    }
    int32_t ObjectCount() override {
        return static_cast<int32_t>(songs.size());
    }
    int32_t FocusedRow() override {
        return focused;
    }
    std::vector<int32_t> SelectedRows() override {
        return selected;
    }
    void FocusRow(int32_t row) override {
        focused = row;
    }
    void SelectRow(int32_t) override {
    }
    void SetPlayRangeMark(int32_t, bool) override {
    }
    bool HasPlayRangeMark(int32_t) override {
        return false;
    }
    void RedrawList() override {
    }
    std::string SongPath(int32_t row) override {
        return songs[row];
    }
    int32_t SongFileType(int32_t) override {
        return 0;
    }
    std::string SongSoundModule(int32_t) override {
        return module;
    }
    std::string PreparePlayablePath(int32_t, const std::string& path) override {
        return path;
    }
    void ShowEmulationText(const std::string& text) override {
        emulationText = text;
    }
    void ShowPlayModeText(const std::string&) override {
    }
    void ShowStatusMessage(const std::string&) override {
    }
    void RefreshObjectCount() override {
    }
    void RefreshCommandStates() override {
    }
    void RefreshMinimizedTitle() override {
    }
    void UpdateSongInfoWindow() override {
    }
    void SetIndicatorPicture(int32_t) override {
    }
    void SetBusy(bool) override {
    }
    void SetEndTimer(bool) override {
    }
    SelectorShow WindowShow() override {
        return SelectorShow::kNormal;
    }
    bool IsLoadingList() override {
        return false;
    }
    bool IsExiting() override {
        return false;
    }
    bool EnableMainWindow(bool) override {
        return true;
    }
    bool ShiftHeld() override {
        return false;
    }
    bool CtrlHeld() override {
        return false;
    }
    void ShowError(const std::string& text) override {
        errors.push_back(text);
    }
    void PostToMainWindow(uint32_t, uintptr_t wParam, intptr_t) override {
        posted.push_back(wParam);
    }

    ClientSettings settings;
    BagBox modules;
    PendingCommand pending;
    std::vector<std::string> songs;
    std::vector<int32_t> selected;
    int32_t focused = 0;
    std::string module = "SC-88Pro";
    std::string emulationText;
    std::vector<std::string> errors;
    std::vector<uintptr_t> posted;
};

std::string ScratchFolder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    return std::string(temp) + "quillory-players";
}

// The fake's path: FAKEPLAYER_EXE, else beside the test's build folder.
std::string FakePlayerPath() {
    if (const char* path = std::getenv("FAKEPLAYER_EXE")) {
        return path;
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof(self));
    std::string folder(self);
    folder.resize(folder.rfind('\\'));
    folder.resize(folder.rfind('\\'));
    return folder + "\\fakeplayer\\fakeplayer.exe";
}

class PlayersTest : public ::testing::Test {
   protected:
    void SetUp() override {
        folder_ = ScratchFolder();
        CreateDirectoryA(folder_.c_str(), nullptr);
        for (const char* name : {"WFP.exe", "winamp.exe", "mplay32.exe", "TMIDI.EXE"}) {
            // A copy left by an earlier test may still be running; it is the same program.
            const bool copied = CopyFileA(FakePlayerPath().c_str(), (folder_ + "\\" + name).c_str(), TRUE) ||
                                GetLastError() == ERROR_FILE_EXISTS;
            ASSERT_TRUE(copied) << name;
        }
        char path[32768];
        GetEnvironmentVariableA("PATH", path, sizeof(path));
        SetEnvironmentVariableA("PATH", (folder_ + ";" + path).c_str());
        log_ = folder_ + "\\log.txt";
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("FAKEPLAYER_LOG", log_.c_str());
        SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "1000");
        for (const char* song : {"one.mid", "two.mid", "three.mid"}) {
            host_.songs.push_back(folder_ + "\\" + song);
        }
    }

    void TearDown() override {
        controller_.ClosePlayerAndWait();
    }

    void Pump(DWORD ms) {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&msg);
            }
            Sleep(10);
        }
    }

    // Ticks every 100 ms until the run ends or seconds pass.
    void TickUntilNormal(int seconds) {
        for (int i = 0; i < seconds * 10 && controller_.mode() != PlayMode::kNone; ++i) {
            Pump(100);
            controller_.EndOfSongTick();
        }
    }

    std::vector<std::string> LogLines(const char* prefix) {
        std::ifstream in(log_);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            if (line.compare(0, std::strlen(prefix), prefix) == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    void UseKind(int32_t kind) {
        host_.settings.mode.playerMode = static_cast<uint32_t>(kind);
    }

    std::string folder_;
    std::string log_;
    FakeHost host_;
    PlayController controller_{&host_};
};

TEST_F(PlayersTest, DdeAutoRunPlaysThreeSongsWithModuleOptionAndStops) {
    UseKind(PlayerKind::WrdFilePlayer);
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    TickUntilNormal(20);
    const std::vector<std::string> plays = LogLines("execute \"");
    ASSERT_EQ(plays.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(plays[i], "execute \"" + host_.songs[i] + "\" /DQ /D \"SC-88Pro\"");
    }
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    EXPECT_EQ(host_.emulationText, "\tEmulation : SC-88Pro");
    EXPECT_EQ(LogLines("start ").size(), 1u);  // one player for the whole run
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(PlayersTest, LoopPlayStartsOverAfterTheLastSong) {
    UseKind(PlayerKind::TmidiPlayer);
    host_.settings.mode.loopPlay = true;
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    for (int i = 0; i < 120 && LogLines("execute playfile").size() < 4; ++i) {
        Pump(100);
        controller_.EndOfSongTick();
    }
    const std::vector<std::string> plays = LogLines("execute playfile");
    ASSERT_GE(plays.size(), 4u);
    EXPECT_EQ(plays[3], plays[0]);
    EXPECT_EQ(controller_.mode(), PlayMode::kSequential);
}

TEST_F(PlayersTest, SongIsNotEndedWithinTheGraceTicks) {
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "50");
    UseKind(PlayerKind::WrdFilePlayer);
    controller_.BuildPlayOrder();
    controller_.OnCommand(504);
    for (int i = 0; i < kGraceTicks; ++i) {
        Pump(100);
        controller_.EndOfSongTick();
    }
    EXPECT_EQ(LogLines("execute \"").size(), 1u);
    Pump(100);
    controller_.EndOfSongTick();
    EXPECT_EQ(LogLines("execute \"").size(), 2u);  // Repeat hands the same song over again
    EXPECT_EQ(LogLines("execute \"")[1], LogLines("execute \"")[0]);
}

TEST_F(PlayersTest, WindowMessagePlayerTakesSongsThroughCopyData) {
    UseKind(PlayerKind::Winamp2);
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    TickUntilNormal(20);
    const std::vector<std::string> songs = LogLines("copydata 100 ");
    ASSERT_EQ(songs.size(), 3u);
    EXPECT_EQ(songs[2], "copydata 100 " + host_.songs[2]);
    EXPECT_EQ(LogLines("play 40045").size(), 3u);
}

TEST_F(PlayersTest, MediaPlayerIsLaunchedAnewForEverySong) {
    UseKind(PlayerKind::MediaPlayer);
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    TickUntilNormal(25);
    const std::vector<std::string> starts = LogLines("start ");
    ASSERT_EQ(starts.size(), 3u);
    EXPECT_EQ(starts[1], "start /play /close \"" + host_.songs[1] + "\"");
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
}

TEST_F(PlayersTest, PlayerLostEndsTheRun) {
    UseKind(PlayerKind::WrdFilePlayer);
    controller_.BuildPlayOrder();
    controller_.OnCommand(502);
    ASSERT_EQ(controller_.mode(), PlayMode::kRandom);
    DdeClient::Callback(XTYP_DISCONNECT, 0, nullptr, nullptr, nullptr, nullptr, 0, 0);
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    EXPECT_EQ(controller_.dde().Conversation(), nullptr);
    EXPECT_EQ(host_.emulationText, "\tEmulation : OFF");
    EXPECT_FALSE(controller_.dde().Execute("/STOP", 1000, 1, "DdePlayerStop"));
    EXPECT_TRUE(host_.errors.empty());
    // The player itself still runs: close it for the next test.
    HWND player = FindWindowA("FakePlayer", nullptr);
    ASSERT_NE(player, nullptr);
    PostMessageA(player, WM_CLOSE, 0, 0);
    Pump(500);
}

TEST_F(PlayersTest, LaunchFailureShowsNotFoundAndEndsTheRun) {
    UseKind(PlayerKind::Lilith);  // no Lilith.exe anywhere
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    ASSERT_EQ(host_.errors.size(), 1u);
    EXPECT_EQ(host_.errors[0], "プレイヤーが見つかりません。");
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
}

TEST_F(PlayersTest, RandomPlaysEverySongOncePerShuffle) {
    UseKind(PlayerKind::WrdFilePlayer);
    controller_.BuildPlayOrder();
    controller_.OnCommand(502);
    TickUntilNormal(20);
    std::vector<std::string> plays = LogLines("execute \"");
    ASSERT_EQ(plays.size(), 3u);
    std::sort(plays.begin(), plays.end());
    EXPECT_EQ(std::unique(plays.begin(), plays.end()), plays.end());
}

TEST_F(PlayersTest, NextAndPreviousInAutoMode) {
    UseKind(PlayerKind::WrdFilePlayer);
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);  // song 0
    controller_.OnCommand(509);  // song 1
    controller_.OnCommand(508);  // back to song 0
    const std::vector<std::string> plays = LogLines("execute \"");
    ASSERT_EQ(plays.size(), 3u);
    EXPECT_NE(plays[0].find("one.mid"), std::string::npos);
    EXPECT_NE(plays[1].find("two.mid"), std::string::npos);
    EXPECT_NE(plays[2].find("one.mid"), std::string::npos);
}

}  // namespace
