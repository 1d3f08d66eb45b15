// PlayerHost: what player control needs from the window that owns it. The
// client window implements it; tests implement it with a recording fake.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BagBox.h"
#include "player/LaunchRules.h"
#include "player/PlayablePath.h"

struct ClientSettings;

// One deferred window message for the main window (a play command that
// arrived while a DDE transaction waited, or a close request).
struct PendingCommand {
    bool pending = false;
    uint32_t message = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

class PlayerHost {
   public:
    virtual ~PlayerHost() = default;

    // Settings and tables.
    virtual ClientSettings* CurrentSettings() = 0;
    virtual const BagBox& SoundModules() = 0;
    virtual PendingCommand* Pending() = 0;

    // The song list: row count, focus, selection, row texts.
    virtual int32_t ObjectCount() = 0;
    virtual int32_t FocusedRow() = 0;  // -1 without focus
    virtual std::vector<int32_t> SelectedRows() = 0;
    // Makes row the focused, selected and visible row.
    virtual void FocusRow(int32_t row) = 0;
    // Selects row again (ending a play range).
    virtual void SelectRow(int32_t row) = 0;
    virtual void SetPlayRangeMark(int32_t row, bool on) = 0;
    virtual bool HasPlayRangeMark(int32_t row) = 0;
    virtual void RedrawList() = 0;
    virtual std::string SongPath(int32_t row) = 0;
    virtual int32_t SongFileType(int32_t row) = 0;
    // The sound module the module column shows for row.
    virtual std::string SongSoundModule(int32_t row) = 0;
    // Empties the extraction folder and gives the path a player can open
    // (archive members and their related files extracted), or why a member
    // could not be extracted (PrepareSongForPlayer with the window as owner).
    virtual PlayableSong PreparePlayablePath(int32_t row, const std::string& path) = 0;

    // Status bar and window state.
    virtual void ShowEmulationText(const std::string& text) = 0;
    virtual void ShowPlayModeText(const std::string& text) = 0;
    virtual void ShowStatusMessage(const std::string& text) = 0;  // "" restores the normal text
    virtual void RefreshObjectCount() = 0;
    virtual void RefreshCommandStates() = 0;
    virtual void RefreshMinimizedTitle() = 0;
    virtual void UpdateSongInfoWindow() = 0;
    virtual void SetIndicatorPicture(int32_t picture) = 0;
    virtual void SetBusy(bool busy) = 0;
    // Starts (killing it first) or stops the 500 ms end-of-song timer.
    virtual void SetEndTimer(bool run) = 0;  // tree and song list busy flags
    virtual SelectorShow WindowShow() = 0;
    virtual bool IsLoadingList() = 0;
    virtual bool IsExiting() = 0;
    // Enables or disables the main window; returns whether it was enabled.
    virtual bool EnableMainWindow(bool enable) = 0;
    virtual bool ShiftHeld() = 0;
    virtual bool CtrlHeld() = 0;

    // An error message box with caption "Quillory".
    virtual void ShowError(const std::string& text) = 0;
    // Posts a deferred message to the main window.
    virtual void PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};
