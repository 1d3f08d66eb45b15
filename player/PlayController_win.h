// PlayController: the player of the moment and the run of songs. It hands
// songs over, drives the player through its control channel, and on every
// 500 ms tick decides whether the song ended and what plays next. The client
// window owns one, routes the play and player commands to OnCommand and its
// timer to EndOfSongTick.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/RandomGenerator.h"
#include "player/DdeClient_win.h"
#include "player/PlayOrder.h"
#include "player/PlayerHost.h"
#include "player/PlayerKind.h"

class PlayController {
   public:
    // Seeds the random generator from the system time.
    explicit PlayController(PlayerHost* host);
    ~PlayController();
    PlayController(const PlayController&) = delete;
    PlayController& operator=(const PlayController&) = delete;

    // Commands 500 to 509, 600 to 612 and 690; false for other identifiers.
    bool OnCommand(int32_t id);
    // The end-of-song timer tick.
    void EndOfSongTick();
    // At program exit: closes the player or only ends the DDE conversation
    // (only the conversation while Windows shuts down).
    void CloseAtExit(bool windowsShuttingDown);

    // True when it did nothing because a hand-over ran or the old player did not close.
    bool HandOverSong(int32_t index, const std::string& path);
    void StartPlayerOnly();
    void PlayFocused();
    void StartAuto();
    void StartRandom(int32_t firstRow);
    void StartRepeat();
    void PlayPrevious();
    void PlayNext();
    void EndContinuousPlay();
    // Before another list replaces the shown one: the run ends, and with it
    // a play range, whose marks go with the old list.
    void LeaveList();
    void SetPlayMode(PlayMode mode);
    void BuildPlayOrder();

    // True when a command was sent.
    bool PausePlayer();
    bool StopPlayer();
    bool QuitPlayer();
    PlayerStatus QueryPlayerStatus();
    PlayerStatus PollPlayer();
    bool IsPlayerAlive();
    // True when the player did not close.
    bool ClosePlayerAndWait();
    // The executable of a kind: a registry path, a setting or the table's name.
    std::string PlayerExecutable(int32_t kind);

    PlayMode mode() const {
        return mode_;
    }
    const PlayOrder& order() const {
        return order_;
    }
    DdeClient& dde() {
        return dde_;
    }
    bool handOverRunning() const {
        return handOverRunning_;
    }
    const char* emulationModule() const {
        return hasEmulation_ ? emulationModule_.c_str() : nullptr;
    }
    RandomGenerator& random() {
        return random_;
    }

   private:
    int32_t SelectedKind();
    bool LinkPlayer(bool quiet);
    bool LinkLaunchedPlayer();
    bool SendSongToPlayer(const std::string& path, int32_t fileType);
    bool SendWindowCommand(UINT message, WPARAM wParam, bool post);
    PlayerStatus QueryWindowStatus();
    bool DdeCommand(PlayerCommand command, uint32_t timeOutMs, const char* label);
    DWORD LaunchProcess(const std::string& command, int32_t showState, bool wait, bool keepHandle);
    void RememberThreadWindows(DWORD threadId, int32_t kind);
    void ShowIndicator(PlayerStatus status);
    void PlayerLost();
    void HandOverNext();
    bool CommandAllowed(int32_t id);
    void SelectPlayer(int32_t kind);
    void SetEmulation(const char* module);

    PlayerHost* host_;
    DdeClient dde_;
    RandomGenerator random_;

    int32_t lastKind_;
    int32_t linkedKind_ = -1;
    HANDLE process_ = nullptr;
    HWND windows_[kMaxPlayerWindows] = {};
    int32_t windowCount_ = 0;
    bool startedWithoutSong_ = false;
    bool songless_ = false;
    bool handOverRunning_ = false;
    bool hasEmulation_ = false;
    std::string emulationModule_;
    char executable_[512] = {};
    HWND aaPause_ = nullptr;
    HWND aaStop_ = nullptr;
    int32_t aaPauseId_ = 0;
    int32_t aaStopId_ = 0;
    HWND aaSlider_ = nullptr;

    PlayMode mode_ = PlayMode::kNone;
    PlayOrder order_;
    int32_t graceCounter_ = 0;
    PlayIndicator indicator_;
};

// Posts WM_DROPFILES with a DROPFILES block of path (UTF-16 when wide) to window.
bool PostFileDrop(HWND window, const std::string& path, bool wide);
