// Play control against the fake players: the fake is copied under each
// player's executable name into a scratch folder on the search path, and the
// controller is driven through a recording host. Ticks come every 100 ms here,
// so the six-tick grace after a hand-over is 0.6 s.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/SoundModules.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/Archivers.h"
#include "core/Settings.h"
#include "player/PlayController_win.h"
#include "player/PlayablePath.h"
#include "tests/catalogue/archive/ZipTestFiles.h"

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
    // As the song list does: the focused row becomes the only selected one.
    void FocusRow(int32_t row) override {
        focused = row;
        selected = {row};
    }
    void SelectRow(int32_t row) override {
        selected.push_back(row);
    }
    void SetPlayRangeMark(int32_t row, bool on) override {
        if (on) {
            marks.insert(row);
        } else {
            marks.erase(row);
        }
    }
    bool HasPlayRangeMark(int32_t row) override {
        return marks.count(row) != 0;
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
    // As the client window does: archive members come out with their related files.
    PlayableSong PreparePlayablePath(int32_t row, const std::string& path) override {
        return PrepareSongForPlayer(Location(path), SongFileType(row), nullptr);
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
    void PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        posted.push_back(wParam);
        if (mainWindow) {
            PostMessageA(mainWindow, message, wParam, lParam);
        }
    }

    ClientSettings settings;
    BagBox modules;
    PendingCommand pending;
    std::vector<std::string> songs;
    std::vector<int32_t> selected;
    std::set<int32_t> marks;
    int32_t focused = 0;
    std::string module = "SC-88Pro";
    std::string emulationText;
    std::vector<std::string> errors;
    std::vector<uintptr_t> posted;
    HWND mainWindow = nullptr;  // receives posted messages when set
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
        for (const char* name : {"WFP.exe", "winamp.exe", "mplay32.exe", "mplayer2.exe", "TMIDI.EXE", "aaplay32.exe",
                                 "SCMPX.EXE", "Gratzer.exe"}) {
            // The copy is refreshed so that a rebuilt fake is the one that runs;
            // a copy left running by an earlier test cannot be replaced, and it
            // is the same program.
            const std::string copy = folder_ + "\\" + name;
            const bool copied = CopyFileA(FakePlayerPath().c_str(), copy.c_str(), FALSE) ||
                                GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES;
            ASSERT_TRUE(copied) << name;
        }
        char path[32768];
        GetEnvironmentVariableA("PATH", path, sizeof(path));
        SetEnvironmentVariableA("PATH", (folder_ + ";" + path).c_str());
        log_ = folder_ + "\\log.txt";
        DeleteFileA(log_.c_str());
        SetEnvironmentVariableA("FAKEPLAYER_LOG", log_.c_str());
        SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "1000");
        SetEnvironmentVariableA("FAKEPLAYER_DDE_DELAY_MS", nullptr);
        SetEnvironmentVariableA("FAKEPLAYER_LIST_FOLDER", nullptr);
        SetEnvironmentVariableA("FAKEPLAYER_SLIDER_WIDTH", nullptr);
        SetEnvironmentVariableA("FAKEPLAYER_OPEN_DELAY_MS", nullptr);
        SetEnvironmentVariableA("FAKEPLAYER_LATE_ANSWER_MS", nullptr);
        for (const char* song : {"one.mid", "two.mid", "three.mid"}) {
            host_.songs.push_back(folder_ + "\\" + song);
        }
    }

    void TearDown() override {
        controller_.ClosePlayerAndWait();
        if (host_.mainWindow) {
            DestroyWindow(host_.mainWindow);
        }
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

    // Lets the message queue run until the log holds count lines with prefix.
    void WaitForLog(const char* prefix, size_t count, DWORD ms) {
        const DWORD start = GetTickCount();
        while (LogLines(prefix).size() < count && GetTickCount() - start < ms) {
            Pump(20);
        }
    }

    // Ticks every 100 ms until the log holds count lines with prefix (or
    // seconds pass); no tick follows the one that wrote the last of them.
    void TickUntilLogged(const char* prefix, size_t count, int seconds) {
        for (int i = 0; i < seconds * 10 && LogLines(prefix).size() < count; ++i) {
            Pump(100);
            controller_.EndOfSongTick();
        }
    }

    // The song each "execute" play line of a DDE player names, by row.
    std::vector<int32_t> PlayedRows() {
        std::vector<int32_t> rows;
        for (const std::string& line : LogLines("execute \"")) {
            int32_t row = -1;
            for (size_t i = 0; i < host_.songs.size(); ++i) {
                if (line.compare(9, host_.songs[i].size() + 1, host_.songs[i] + "\"") == 0) {
                    row = static_cast<int32_t>(i);
                }
            }
            rows.push_back(row);
        }
        return rows;
    }

    // A main window of the test: the play commands it receives go to the
    // controller, and the host posts deferred commands to it.
    static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND) {
            auto* controller = reinterpret_cast<PlayController*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            controller->OnCommand(static_cast<int32_t>(LOWORD(wParam)));
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    void CreateMainWindow() {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuilloryPlayersTestMain";
        RegisterClassA(&windowClass);
        host_.mainWindow = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                         windowClass.hInstance, nullptr);
        SetWindowLongPtrA(host_.mainWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&controller_));
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
    // The fake plays only after the messages came in their order.
    const std::vector<std::string> plays = LogLines("play ");
    ASSERT_EQ(plays.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(plays[i], "play " + host_.songs[i]);
    }
    EXPECT_TRUE(LogLines("refused").empty());
}

// A player whose window (and DDE service) opens after the wait for input
// idle has ended still gets the song it was started for.
TEST_F(PlayersTest, PlayerOpeningLateAfterLaunchStillGetsItsSong) {
    SetEnvironmentVariableA("FAKEPLAYER_OPEN_DELAY_MS", "1500");
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    UseKind(PlayerKind::Winamp2);
    controller_.OnCommand(500);
    EXPECT_EQ(LogLines("copydata 100 "), std::vector<std::string>({"copydata 100 " + host_.songs[0]}));
    EXPECT_EQ(controller_.QueryPlayerStatus(), Playing);
    controller_.ClosePlayerAndWait();

    UseKind(PlayerKind::WrdFilePlayer);
    controller_.OnCommand(500);
    SetEnvironmentVariableA("FAKEPLAYER_OPEN_DELAY_MS", nullptr);
    EXPECT_EQ(LogLines("execute \""),
              std::vector<std::string>({"execute \"" + host_.songs[0] + "\" /DQ /D \"SC-88Pro\""}));
    EXPECT_EQ(controller_.QueryPlayerStatus(), Playing);
    EXPECT_TRUE(host_.errors.empty());
}

// The waits for a player run the window messages meanwhile; a quit asked for
// then must still reach the program's own message loop.
TEST_F(PlayersTest, QuitRequestedWhileWaitingOnAPlayerIsKept) {
    SetEnvironmentVariableA("FAKEPLAYER_OPEN_DELAY_MS", "1000");
    UseKind(PlayerKind::Winamp2);
    PostQuitMessage(3);
    controller_.OnCommand(500);
    SetEnvironmentVariableA("FAKEPLAYER_OPEN_DELAY_MS", nullptr);
    EXPECT_EQ(LogLines("copydata 100 ").size(), 1u);
    controller_.ClosePlayerAndWait();
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(PlayersTest, MediaPlayersAreLaunchedAnewForEverySong) {
    for (const int32_t kind : {PlayerKind::MediaPlayer, PlayerKind::WinMediaPlayer}) {
        SCOPED_TRACE(kind);
        DeleteFileA(log_.c_str());
        UseKind(kind);
        host_.FocusRow(0);  // the run starts at the focused song
        controller_.BuildPlayOrder();
        controller_.OnCommand(501);
        TickUntilNormal(25);
        const std::vector<std::string> starts = LogLines("start ");
        ASSERT_EQ(starts.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(starts[i], "start /play /close \"" + host_.songs[i] + "\"");
        }
        EXPECT_EQ(LogLines("exit").size(), 3u);
        EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    }
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

// DDEML reports the player's end of the conversation from the message
// queue. When the queue is drained before a command, the disconnect found
// there makes the command fail quietly, as a command after it would.
static LRESULT CALLBACK DeliverDisconnect(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) {
        DdeClient::Callback(XTYP_DISCONNECT, 0, nullptr, nullptr, nullptr, nullptr, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(PlayersTest, ADisconnectQueuedBeforeACommandMakesItFailWithoutAMessage) {
    UseKind(PlayerKind::WrdFilePlayer);
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    ASSERT_NE(controller_.dde().Conversation(), nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DeliverDisconnect;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuilloryPlayersTestDisconnect";
    RegisterClassA(&windowClass);
    HWND courier = CreateWindowA(windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 windowClass.hInstance, nullptr);
    ASSERT_NE(courier, nullptr);
    PostMessageA(courier, WM_APP, 0, 0);
    EXPECT_FALSE(controller_.dde().Execute("/STOP", 4000, 1, "DdePlayerStop"));
    EXPECT_EQ(controller_.dde().Conversation(), nullptr);
    EXPECT_EQ(controller_.dde().BusyCount(), 0);
    EXPECT_TRUE(host_.errors.empty()) << host_.errors.front();
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    EXPECT_TRUE(LogLines("execute /STOP").empty());
    DestroyWindow(courier);
    HWND player = FindWindowA("FakePlayer", nullptr);
    ASSERT_NE(player, nullptr);
    PostMessageA(player, WM_CLOSE, 0, 0);
    Pump(500);
}

// Each DDE player is found (KbMedia Player and Lilith through their
// registry paths), launched with its own options and given the song in its
// own words, with the sound module option where it takes one. Its fake
// refuses the words of another kind, which fails the transaction.
TEST_F(PlayersTest, EachDdePlayerIsLaunchedAndGivenTheSongInItsOwnWords) {
    // The players' registry paths go with the test, whatever its outcome.
    struct RegistryPaths {
        ~RegistryPaths() {
            RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Kobarin's Soft");
            RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Project9k_Lilith");
        }
    } registryPaths;
    const std::string song = host_.songs[0];
    const struct {
        int32_t kind;
        const char* program;   // under the scratch folder
        const char* registry;  // key holding the program's path, or null
        const char* value;
        const char* started;
        std::string play;
        std::string foreign;
        const char* quit;
    } cases[] = {
        {PlayerKind::Mpvg, "mpvg.exe", nullptr, nullptr, "start ", "open " + song, "playfile \"" + song + "\"",
         "appExit"},
        {PlayerKind::TmidiPlayer, "TMIDI.EXE", nullptr, nullptr, "start ", "playfile \"" + song + "\" SC-88PRO",
         "\"" + song + "\" /DQ", "EXIT"},
        {PlayerKind::Decoplay, "DPW.EXE", nullptr, nullptr, "start ", "\"" + song + "\" -M8P",
         "\"" + song + "\" /na /play", "<exit"},
        {PlayerKind::KbMediaPlayer, "kb\\Kbmplay.exe", "Software\\Kobarin's Soft\\KbMedia Player\\Path", "Kbmplay",
         "start ", "\"" + song + "\" /na /play", "/dopen \"" + song + "\" /play", "/quit"},
        {PlayerKind::Lilith, "li\\Lilith.exe", "Software\\Project9k_Lilith\\Path", "", "start /dde",
         "/dopen \"" + song + "\" /play", "open " + song, "/exit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        const std::string program = folder_ + "\\" + c.program;
        CreateDirectoryA(program.substr(0, program.rfind('\\')).c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(FakePlayerPath().c_str(), program.c_str(), FALSE) ||
                    GetFileAttributesA(program.c_str()) != INVALID_FILE_ATTRIBUTES);
        if (c.registry) {
            HKEY key = nullptr;
            ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, c.registry, 0, nullptr, 0, KEY_SET_VALUE,
                                                     nullptr, &key, nullptr));
            RegSetValueExA(key, c.value[0] ? c.value : nullptr, 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(program.c_str()), DWORD(program.size() + 1));
            RegCloseKey(key);
        }
        DeleteFileA(log_.c_str());
        UseKind(c.kind);
        controller_.OnCommand(500);
        EXPECT_EQ(LogLines("start"), std::vector<std::string>{c.started});
        EXPECT_EQ(LogLines("execute "), std::vector<std::string>{"execute " + c.play});
        EXPECT_FALSE(controller_.dde().Execute(c.foreign.c_str(), 2000, 1, nullptr));
        EXPECT_EQ(LogLines("refused "), std::vector<std::string>{"refused " + c.foreign});
        EXPECT_FALSE(controller_.ClosePlayerAndWait());
        EXPECT_EQ(LogLines("execute ").back(), std::string("execute ") + c.quit);
        EXPECT_EQ(LogLines("exit").size(), 1u);
        EXPECT_TRUE(host_.errors.empty()) << host_.errors.front();
    }
}

TEST_F(PlayersTest, LaunchFailureShowsNotFoundAndEndsTheRun) {
    UseKind(PlayerKind::Lilith);  // no Lilith.exe anywhere
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    ASSERT_EQ(host_.errors.size(), 1u);
    // The fixed first line, then the program looked for and where to set the folders.
    EXPECT_EQ(host_.errors[0].rfind("プレイヤーが見つかりません。\n", 0), 0u) << host_.errors[0];
    EXPECT_NE(host_.errors[0].find("Lilith.exe"), std::string::npos) << host_.errors[0];
    EXPECT_NE(host_.errors[0].find("設定 → プレイヤー"), std::string::npos) << host_.errors[0];
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

// Audioactive Player takes each song as a file dropped on its window (in
// UTF-16, so a Shift_JIS name must survive the conversion there and back),
// reports its state by its position slider, and is stopped by a click on its
// stop button when the run ends.
TEST_F(PlayersTest, AudioactiveTakesSongsByFileDropAndTheRunEndsWithItsStopButton) {
    UseKind(PlayerKind::AudioactivePlayer);
    host_.songs[1] = folder_ + "\\表ソ曲.mid";
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    TickUntilNormal(20);
    const std::vector<std::string> drops = LogLines("drop ");
    ASSERT_EQ(drops.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(drops[i], "drop 1 " + host_.songs[i]);
    }
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    EXPECT_EQ(LogLines("start ").size(), 1u);
    EXPECT_EQ(LogLines("command 202 ").size(), 1u);   // the stop button, once, at the end
    EXPECT_EQ(LogLines("command 202 0").size(), 0u);  // with the button's window
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(PlayersTest, AudioactivePauseAndStopAreButtonClicksAndTheSliderGivesTheState) {
    UseKind(PlayerKind::AudioactivePlayer);
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    controller_.BuildPlayOrder();
    controller_.OnCommand(500);
    WaitForLog("drop ", 1, 3000);
    ASSERT_EQ(LogLines("drop ").size(), 1u);
    EXPECT_EQ(controller_.QueryPlayerStatus(), Playing);
    EXPECT_TRUE(controller_.PausePlayer());
    EXPECT_EQ(LogLines("command 201 ").size(), 1u);
    controller_.OnCommand(507);
    EXPECT_EQ(LogLines("command 202 ").size(), 1u);
    EXPECT_EQ(controller_.QueryPlayerStatus(), Stopped);
    // The next song goes to the same player by another drop.
    controller_.OnCommand(509);
    WaitForLog("drop ", 2, 3000);
    ASSERT_EQ(LogLines("drop ").size(), 2u);
    EXPECT_EQ(LogLines("drop ")[1], "drop 1 " + host_.songs[1]);
    EXPECT_EQ(LogLines("start ").size(), 1u);
    EXPECT_EQ(controller_.QueryPlayerStatus(), Playing);
}

// A slider narrower than 128 pixels is not the position slider; without one
// the player cannot report its state and is lost instead of read as stopped.
TEST_F(PlayersTest, AudioactiveWithoutItsPositionSliderIsLostNotStopped) {
    UseKind(PlayerKind::AudioactivePlayer);
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    SetEnvironmentVariableA("FAKEPLAYER_SLIDER_WIDTH", "100");
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    SetEnvironmentVariableA("FAKEPLAYER_SLIDER_WIDTH", nullptr);
    WaitForLog("drop ", 1, 3000);
    EXPECT_EQ(controller_.mode(), PlayMode::kSequential);
    for (int i = 0; i < 10 && controller_.mode() != PlayMode::kNone; ++i) {
        Pump(100);
        controller_.EndOfSongTick();
    }
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    EXPECT_EQ(LogLines("drop ").size(), 1u);  // never a second song
    EXPECT_EQ(controller_.QueryPlayerStatus(), Unreachable);
    EXPECT_TRUE(host_.errors.empty());
    // The link is gone, so the test closes the player itself.
    HWND player = FindWindowA("FakePlayer", "Audioactive Player - fake");
    ASSERT_NE(player, nullptr);
    PostMessageA(player, WM_CLOSE, 0, 0);
    WaitForLog("exit", 1, 3000);
}

// SCMPX receives the path one byte per message; bytes of 0x80 and above
// arrive sign-extended and must come back as the same Shift_JIS bytes.
TEST_F(PlayersTest, ScmpxTakesSongsByteByByteAndStopsAfterTheLast) {
    UseKind(PlayerKind::Scmpx);
    host_.songs[2] = folder_ + "\\ソ表\\曲.mid";
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    TickUntilNormal(20);
    const std::vector<std::string> plays = LogLines("play ");
    ASSERT_EQ(plays.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(plays[i], "play " + host_.songs[i]);
    }
    EXPECT_EQ(LogLines("user 101").size(), 3u);
    EXPECT_EQ(LogLines("start ").size(), 1u);
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    // The player had stopped by itself: no stop key follows.
    EXPECT_EQ(LogLines("keydown ").size(), 0u);
}

TEST_F(PlayersTest, ScmpxStopIsTheSpaceKey) {
    UseKind(PlayerKind::Scmpx);
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    controller_.OnCommand(500);
    EXPECT_EQ(controller_.QueryPlayerStatus(), Playing);
    EXPECT_FALSE(controller_.PausePlayer());  // SCMPX has no pause command
    controller_.OnCommand(507);
    EXPECT_EQ(LogLines("keydown 32").size(), 1u);
    EXPECT_EQ(controller_.QueryPlayerStatus(), Stopped);
}

// Gratzer Sound Station is told to play its favourite, and the favourite is
// the song written to the registry.
TEST_F(PlayersTest, GratzerPlaysEachSongAsItsFavoriteAndStopsAfterTheLast) {
    UseKind(PlayerKind::GratzerSS);
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    TickUntilNormal(20);
    const std::vector<std::string> favorites = LogLines("favorites ");
    ASSERT_EQ(favorites.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(favorites[i], "favorites " + host_.songs[i]);
    }
    EXPECT_EQ(LogLines("command 40022 3").size(), 3u);
    EXPECT_EQ(LogLines("start ").size(), 1u);
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    EXPECT_EQ(LogLines("command 40047 ").size(), 0u);  // stopped by itself
}

// A DDE status request that times out counts as an answer without a state:
// the song is handed over, the run goes on and no message is shown.
TEST_F(PlayersTest, ADdeStatusRequestThatTimesOutKeepsTheRunGoing) {
    SetEnvironmentVariableA("FAKEPLAYER_LATE_ANSWER_MS", "4500");
    UseKind(PlayerKind::WrdFilePlayer);
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0}));
    EXPECT_EQ(controller_.QueryPlayerStatus(), Alive);
    EXPECT_GE(LogLines("status unanswered").size(), 2u);
    EXPECT_EQ(controller_.mode(), PlayMode::kSequential);
    TickUntilNormal(30);
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0, 1, 2}));
    EXPECT_TRUE(host_.errors.empty()) << host_.errors.front();
}

// Gratzer is given its song only once it answers with a state: until then
// the hand-over asks again every half second.
TEST_F(PlayersTest, GratzerAnsweringLateGetsItsSongOnceItAnswers) {
    SetEnvironmentVariableA("FAKEPLAYER_LATE_ANSWER_MS", "1800");
    UseKind(PlayerKind::GratzerSS);
    controller_.OnCommand(500);
    EXPECT_GE(LogLines("status unanswered").size(), 2u);
    EXPECT_EQ(LogLines("command 40022 3").size(), 1u);
    WaitForLog("favorites ", 1, 3000);
    EXPECT_EQ(LogLines("favorites "), std::vector<std::string>{"favorites " + host_.songs[0]});
    EXPECT_TRUE(host_.errors.empty());
}

// Sends play commands to the test's main window from another thread as soon
// as the DDE player has received a play command and is still working on it,
// so that they arrive while the transaction waits. They are sent without
// waiting for their handling, as another program's messages come.
class CommandsDuringPlay {
   public:
    CommandsDuringPlay(HWND window, std::string log, std::vector<int32_t> commands)
        : window_(window), log_(std::move(log)), commands_(std::move(commands)) {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    // Waits for the thread, handling what it sends meanwhile.
    ~CommandsDuringPlay() {
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 20000 &&
               MsgWaitForMultipleObjects(1, &thread_, FALSE, 20000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageA(&msg);
            }
        }
        CloseHandle(thread_);
    }
    bool sent() const {
        return sent_;
    }

   private:
    static DWORD WINAPI Run(void* self) {
        static_cast<CommandsDuringPlay*>(self)->SendWhenPlaying();
        return 0;
    }
    void SendWhenPlaying() {
        for (int i = 0; i < 1000; ++i) {
            std::ifstream in(log_);
            std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (text.find("execute \"") != std::string::npos) {
                for (int32_t command : commands_) {
                    SendNotifyMessageA(window_, WM_COMMAND, static_cast<WPARAM>(command), 0);
                }
                sent_ = true;
                return;
            }
            Sleep(20);
        }
    }
    HWND window_;
    std::string log_;
    std::vector<int32_t> commands_;
    HANDLE thread_ = nullptr;
    std::atomic<bool> sent_{false};
};

TEST_F(PlayersTest, NextGivenWhileThePlayCommandWaitsRunsAfterIt) {
    UseKind(PlayerKind::WrdFilePlayer);
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    SetEnvironmentVariableA("FAKEPLAYER_DDE_DELAY_MS", "1500");
    CreateMainWindow();
    controller_.BuildPlayOrder();
    {
        CommandsDuringPlay next(host_.mainWindow, log_, {509});
        controller_.OnCommand(501);
    }
    // Still on the first song: the command waits for the next tick.
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0}));
    ASSERT_TRUE(host_.pending.pending);
    EXPECT_EQ(host_.pending.wParam, 509u);
    TickUntilLogged("execute \"", 2, 10);
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0, 1}));
    EXPECT_EQ(host_.posted, std::vector<uintptr_t>({509}));
    EXPECT_FALSE(host_.pending.pending);
    EXPECT_EQ(controller_.mode(), PlayMode::kSequential);
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(PlayersTest, OfTwoCommandsGivenWhileThePlayCommandWaitsOnlyTheLastRuns) {
    UseKind(PlayerKind::WrdFilePlayer);
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    SetEnvironmentVariableA("FAKEPLAYER_DDE_DELAY_MS", "1500");
    CreateMainWindow();
    controller_.BuildPlayOrder();
    {
        CommandsDuringPlay nextThenStop(host_.mainWindow, log_, {509, 507});
        controller_.OnCommand(501);
    }
    EXPECT_EQ(controller_.mode(), PlayMode::kSequential);
    for (int i = 0; i < 10 && LogLines("execute /STOP").empty(); ++i) {
        Pump(100);
        controller_.EndOfSongTick();
    }
    EXPECT_EQ(LogLines("execute /STOP").size(), 1u);
    EXPECT_EQ(host_.posted, std::vector<uintptr_t>({507}));
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
    Pump(500);
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0}));  // Next never ran
}

// Previous steps back from the song after the current one: right after the
// order wrapped that is the song before the last; at the first song of the
// next round it is the last song.
TEST_F(PlayersTest, PreviousAfterTheOrderWrappedWithLoopPlay) {
    UseKind(PlayerKind::WrdFilePlayer);
    host_.settings.mode.loopPlay = true;
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    TickUntilLogged("execute \"", 3, 20);
    ASSERT_EQ(PlayedRows(), std::vector<int32_t>({0, 1, 2}));
    ASSERT_TRUE(controller_.order().wrapped);
    controller_.OnCommand(508);  // the third song plays: back to the second
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0, 1, 2, 1}));
    TickUntilLogged("execute \"", 6, 20);
    ASSERT_EQ(PlayedRows(), std::vector<int32_t>({0, 1, 2, 1, 2, 0}));
    controller_.OnCommand(508);  // the first song of the next round: back to the last
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0, 1, 2, 1, 2, 0, 2}));
    EXPECT_EQ(controller_.mode(), PlayMode::kSequential);
}

TEST_F(PlayersTest, PreviousAfterARandomRunWrappedKeepsTheRunGoing) {
    UseKind(PlayerKind::WrdFilePlayer);
    controller_.BuildPlayOrder();
    controller_.OnCommand(502);
    TickUntilLogged("execute \"", 3, 20);
    ASSERT_EQ(PlayedRows().size(), 3u);
    ASSERT_TRUE(controller_.order().wrapped);
    ASSERT_EQ(controller_.mode(), PlayMode::kRandom);
    // The order was shuffled anew at the wrap; Previous plays its second entry
    // and the run goes on to the end of that order instead of stopping.
    const std::vector<int32_t> reshuffled = controller_.order().entries();
    controller_.OnCommand(508);
    EXPECT_FALSE(controller_.order().wrapped);
    TickUntilNormal(20);
    const std::vector<int32_t> rows = PlayedRows();
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[3], reshuffled[1]);
    EXPECT_EQ(rows[4], reshuffled[2]);
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
}

TEST_F(PlayersTest, PreviousWithASingleSongPlaysItAgainAndTheRunEnds) {
    UseKind(PlayerKind::WrdFilePlayer);
    host_.songs.resize(1);
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    ASSERT_TRUE(controller_.order().wrapped);
    controller_.OnCommand(508);
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0, 0}));
    TickUntilNormal(20);
    EXPECT_EQ(PlayedRows(), std::vector<int32_t>({0, 0}));
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
}

// A song inside an archive reaches the player as an extracted copy, with its
// WRD script, the pictures and font the script names and its document beside
// it, and without the archive's other songs and their files.
class ArchivePlayersTest : public PlayersTest {
   protected:
    void SetUp() override {
        PlayersTest::SetUp();
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string libraries = self;
        libraries.resize(libraries.find_last_of('\\'));
        SetArchiverFolder(libraries + "\\..\\bin");
        LoadArchivers();
        InstallArchiveAccess();
        work_ = folder_ + "\\work";
        SetWorkingFolder(work_);
        for (const char* name : {"wrdsong.lzh", "wrdsong.zip"}) {
            ASSERT_TRUE(
                CopyFileA(TestDataPath(std::string("player/") + name).c_str(), (folder_ + "\\" + name).c_str(), FALSE))
                << name;
        }
    }
    void TearDown() override {
        PlayersTest::TearDown();
        FreeArchivers();
        SetArchiverFolder("");
        SetWorkingFolder("");
    }
    std::string work_;
};

TEST_F(ArchivePlayersTest, MembersArriveWithTheirRelatedFilesFromLzhAndZip) {
    UseKind(PlayerKind::WrdFilePlayer);
    SetEnvironmentVariableA("FAKEPLAYER_LIST_FOLDER", "1");
    host_.songs = {folder_ + "\\wrdsong.lzh>song.mid", folder_ + "\\wrdsong.zip>set/song.mid"};
    // Left by an earlier hand-over: gone before the next song comes out.
    CreateDirectoryA(work_.c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(work_ + "\\stale.mid", "old"));
    controller_.BuildPlayOrder();
    controller_.OnCommand(501);
    TickUntilNormal(20);
    const std::vector<std::string> plays = LogLines("execute \"");
    ASSERT_EQ(plays.size(), 2u);
    for (const std::string& play : plays) {
        EXPECT_EQ(play.compare(0, 9 + work_.size() + 10, "execute \"" + work_ + "\\song.mid\""), 0) << play;
    }
    const std::vector<std::string> folders = LogLines("folder ");
    ASSERT_EQ(folders.size(), 2u);
    for (const std::string& line : folders) {
        std::vector<std::string> names;
        std::stringstream list(line.substr(7));
        for (std::string name; std::getline(list, name, '|');) {
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names,
                  std::vector<std::string>({"back.mag", "font.fon", "pic2.mag", "song.mid", "song.txt", "song.wrd"}))
            << line;
    }
    EXPECT_EQ(ReadWholeFile(work_ + "\\pic2.mag"), "MAKI02  second picture");
    EXPECT_EQ(ReadWholeFile(work_ + "\\song.mid").compare(0, 4, "MThd"), 0);
    EXPECT_EQ(controller_.mode(), PlayMode::kNone);
}

// The path a song prepared for a player gets; the failure text when there is none.
static std::string Prepared(const std::string& path, std::string* failure = nullptr) {
    PlayableSong song = PrepareSongForPlayer(Location(path), 0, nullptr);
    if (failure) {
        *failure = song.failure;
    }
    return song.path;
}

TEST_F(ArchivePlayersTest, EachSongEmptiesTheWorkingFolderAndAnUnextractableMemberGivesNoPath) {
    EXPECT_EQ(Prepared(folder_ + "\\wrdsong.lzh>song.mid"), work_ + "\\song.mid");
    EXPECT_EQ(ReadWholeFile(work_ + "\\song.txt"), "About the song.\r\n");
    EXPECT_EQ(Prepared(folder_ + "\\wrdsong.lzh>other.mid"), work_ + "\\other.mid");
    EXPECT_EQ(ReadWholeFile(work_ + "\\other.mag"), "MAKI02  other picture");
    EXPECT_EQ(GetFileAttributesA((work_ + "\\song.wrd").c_str()), INVALID_FILE_ATTRIBUTES);
    // A missing member: no path, and the user is told the member and the archive.
    std::string failure;
    EXPECT_EQ(Prepared(folder_ + "\\wrdsong.lzh>dir/none.mid", &failure), "");
    EXPECT_EQ(failure,
              "書庫ファイルから none.mid を取り出せません。\n書庫ファイルが壊れている可能性があります。\n\n"
              "書庫ファイル : " +
                  folder_ + "\\wrdsong.lzh");
    EXPECT_EQ(GetFileAttributesA((work_ + "\\other.mid").c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string plain = folder_ + "\\plain.mid";
    EXPECT_EQ(Prepared(plain, &failure), plain);
    EXPECT_EQ(failure, "");
}

TEST_F(ArchivePlayersTest, AMemberNameWithQuotesOrADeviceNameReachesNoPlayer) {
    // Such members cannot be extracted: the player is not started with the
    // member path (whose quote would end its argument), and the user is told
    // which archive it was.
    const std::string zip = folder_ + "\\names.zip";
    ASSERT_TRUE(WriteWholeFile(zip, StoredZip({"x\" /quit \"y.mid", "y.mid", "NUL.mid"}, "MThd")));
    UseKind(PlayerKind::MediaPlayer);
    host_.songs = {zip + ">x\" /quit \"y.mid"};
    controller_.HandOverSong(0, host_.songs[0]);
    ASSERT_EQ(host_.errors.size(), 1u);
    EXPECT_NE(host_.errors[0].find(zip), std::string::npos) << host_.errors[0];
    Sleep(500);
    EXPECT_TRUE(LogLines("start ").empty());
    EXPECT_EQ(GetFileAttributesA((work_ + "\\y.mid").c_str()), INVALID_FILE_ATTRIBUTES);
    // A device name is neither extracted nor taken for a file that exists.
    EXPECT_EQ(Prepared(zip + ">NUL.mid"), "");
}

}  // namespace
