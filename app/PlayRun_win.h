// PlayRun: the client's play run. It owns play control (PlayController) with
// the message held while a DDE transaction waits and the busy flag of a
// hand-over, is play control's host, and runs the play and player commands
// under the catalogue lock and the end-of-song tick.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppState_win.h"
#include "app/ListSelection_win.h"
#include "player/PlayController_win.h"
#include "ui/framework/SWindow_win.h"

class BrowseSession;
class DialogCommands;
class MainWindow;

constexpr UINT_PTR kClientTimerId = 1;
constexpr UINT kClientTimerPeriod = 500;  // milliseconds

class PlayRun : public PlayerHost {
   public:
    // client is the window whose timer ticks the end of a song; dialogs
    // keeps the properties window on the song play moves to.
    PlayRun(MainWindow* main,
            SWindow& client,
            AppState& app,
            ClientPanes& panes,
            ListSelection& selection,
            BrowseSession& browse,
            DialogCommands& dialogs);
    ~PlayRun() override;
    PlayRun(const PlayRun&) = delete;
    PlayRun& operator=(const PlayRun&) = delete;

    // Runs a play, player or tree play command; true when it was one.
    bool RunCommand(MessageContext& m);
    // The palette's second play message.
    bool RunMessage(MessageContext& m);
    void RunPlayCommand(int id);
    // Ticks the user's player among the player items.
    void CheckPlayerMenu();
    // The end-of-song timer's tick.
    void Tick();
    // Keeps a message for the timer to post to the main window again.
    void HoldMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // True while player control waits on a DDE transaction.
    bool InTransaction() const;
    bool HandOverRunning() const;
    bool Busy() const;
    PlayMode CurrentPlayMode() const;
    PlayController* Player() const;

    // PlayerHost.
    ClientSettings* CurrentSettings() override;
    const BagBox& SoundModules() override;
    PendingCommand* Pending() override;
    int32_t ObjectCount() override;
    int32_t FocusedRow() override;
    std::vector<int32_t> SelectedRows() override;
    void FocusRow(int32_t row) override;
    void SelectRow(int32_t row) override;
    void SetPlayRangeMark(int32_t row, bool on) override;
    bool HasPlayRangeMark(int32_t row) override;
    void RedrawList() override;
    std::string SongPath(int32_t row) override;
    int32_t SongFileType(int32_t row) override;
    std::string SongSoundModule(int32_t row) override;
    PlayableSong PreparePlayablePath(int32_t row, const std::string& path) override;
    void ShowEmulationText(const std::string& text) override;
    void ShowPlayModeText(const std::string& text) override;
    void ShowStatusMessage(const std::string& text) override;
    void RefreshObjectCount() override;
    void RefreshCommandStates() override;
    void RefreshMinimizedTitle() override;
    void UpdateSongInfoWindow() override;
    void SetIndicatorPicture(int32_t picture) override;
    void SetBusy(bool busy) override;
    void SetEndTimer(bool run) override;
    SelectorShow WindowShow() override;
    bool IsLoadingList() override;
    bool IsExiting() override;
    bool EnableMainWindow(bool enable) override;
    bool ShiftHeld() override;
    bool CtrlHeld() override;
    void ShowError(const std::string& text) override;
    void PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

   private:
    static bool IsPlayerCommand(int id);
    LRESULT OnPlayControl2(WPARAM, LPARAM);
    void PlayTreeSequential();
    void PlayTreeRandom();
    void PlayTreeNode(int playCommand);

    static const CommandRoute<PlayRun> kCommands[];
    static const MessageRoute<PlayRun> kMessages[];

    MainWindow* main_;
    SWindow& client_;
    AppState& app_;
    ClientPanes& panes_;
    ListSelection& selection_;
    BrowseSession& browse_;
    DialogCommands& dialogs_;
    PendingCommand pending_;
    bool busy_ = false;
    std::unique_ptr<PlayController> player_;
};
