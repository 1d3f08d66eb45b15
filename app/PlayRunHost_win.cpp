// The play run as play control's host: the song list's rows, focus,
// selection and range marks, the songs' paths (archive members extracted
// first) and sound modules, the status bar and the main window's state; and
// the play and player commands run under the catalogue lock.
#include <windows.h>

#include "app/BrowseSession_win.h"
#include "app/DialogCommands_win.h"
#include "app/MainWindow_win.h"
#include "app/PlayRun_win.h"
#include "core/CommandIds.h"
#include "core/Location.h"
#include "player/PlayablePath.h"
#include "player/PlayerKind.h"

bool PlayRun::IsPlayerCommand(int id) {
    return (id >= kCmdPlay && id <= kCmdNext) || (id >= kCmdPlayerFirst && id <= kCmdPlayerUser) ||
           id == kCmdLaunchPlayer;
}

void PlayRun::RunPlayCommand(int id) {
    {
        CatalogueLockScope lock(browse_);
        player_->OnCommand(id);
    }
    if (id >= kCmdPlayerFirst && id <= kCmdPlayerUser) {
        browse_.Catalogue().playerTypeMask = PlayerTypeMask(int32_t(app_.settings.mode.playerMode));
        CheckPlayerMenu();
        main_->SetStatusPlayer(PlayerDisplayName(int32_t(app_.settings.mode.playerMode)));
        browse_.ReloadList();
    }
    main_->SetStatusPlayMode();
}

// The user's own player has the last item; a kind of no player, the first.
void PlayRun::CheckPlayerMenu() {
    const int32_t id = PlayerCommandOfKind(int32_t(app_.settings.mode.playerMode));
    browse_.CheckMenuRadio(kCmdPlayerFirst, kCmdPlayerUser, id >= 0 ? int(id) : kCmdPlayerFirst);
}

ClientSettings* PlayRun::CurrentSettings() {
    return &app_.settings;
}

const BagBox& PlayRun::SoundModules() {
    return app_.modules;
}

PendingCommand* PlayRun::Pending() {
    return &pending_;
}

int32_t PlayRun::ObjectCount() {
    return browse_.ObjectCount();
}

int32_t PlayRun::FocusedRow() {
    return selection_.FocusedRow();
}

void PlayRun::FocusRow(int32_t row) {
    selection_.FocusRow(row);
}

void PlayRun::SelectRow(int32_t row) {
    selection_.SelectRow(row);
}

std::vector<int32_t> PlayRun::SelectedRows() {
    return selection_.SelectedRows();
}

void PlayRun::SetPlayRangeMark(int32_t row, bool on) {
    if (row >= 0 && row < ObjectCount()) {
        panes_.list->SetRangeMark(row, on);
    }
}

bool PlayRun::HasPlayRangeMark(int32_t row) {
    return panes_.list->HasRangeMark(row);
}

void PlayRun::RedrawList() {
    panes_.list->Invalidate(false);
}

std::string PlayRun::SongPath(int32_t row) {
    return browse_.SongPath(row);
}

int32_t PlayRun::SongFileType(int32_t row) {
    return browse_.SongFileType(row);
}

std::string PlayRun::SongSoundModule(int32_t row) {
    return browse_.Rows().ColumnText(row, kColumnModule);
}

// A member is extracted with its related files into the emptied working folder.
PlayableSong PlayRun::PreparePlayablePath(int32_t row, const std::string& path) {
    return PrepareSongForPlayer(Location(path), SongFileType(row), main_->Handle());
}

void PlayRun::ShowEmulationText(const std::string& text) {
    browse_.SetStatusText(2, text.c_str());
}

void PlayRun::ShowPlayModeText(const std::string& text) {
    browse_.SetStatusText(3, text.c_str());
}

void PlayRun::ShowStatusMessage(const std::string& text) {
    if (text.empty()) {
        browse_.RestoreStatus();
    } else {
        main_->SetStatusText(text.c_str());
    }
}

void PlayRun::RefreshObjectCount() {
    panes_.list->UpdateCount();
}

void PlayRun::RefreshCommandStates() {
    main_->SetStatusPlayMode();
    main_->UpdateButtonStates();
}

void PlayRun::RefreshMinimizedTitle() {
    main_->UpdateTitle();
}

// An open properties window shows the song play has moved the focus to.
void PlayRun::UpdateSongInfoWindow() {
    dialogs_.ShowPropertiesOfFocus(false);
}

void PlayRun::SetIndicatorPicture(int32_t picture) {
    main_->SetStatusIndicator(picture);
}

void PlayRun::SetBusy(bool busy) {
    busy_ = busy;
}

// Stopped, not only flagged off: a tick during a hand-over's waits would
// post a deferred command into the hand-over, which drops it.
void PlayRun::SetEndTimer(bool run) {
    if (run) {
        client_.SetTimer(kClientTimerId, kClientTimerPeriod);
    } else {
        client_.KillTimer(kClientTimerId);
    }
}

SelectorShow PlayRun::WindowShow() {
    if (IsIconic(main_->Handle())) {
        return SelectorShow::kMinimized;
    }
    return IsZoomed(main_->Handle()) ? SelectorShow::kMaximized : SelectorShow::kNormal;
}

bool PlayRun::IsLoadingList() {
    return browse_.Catalogue().busy || busy_;
}

bool PlayRun::IsExiting() {
    return app_.exitFlags.exiting;
}

bool PlayRun::EnableMainWindow(bool enable) {
    return !EnableWindow(main_->Handle(), enable);
}

bool PlayRun::ShiftHeld() {
    return GetKeyState(VK_SHIFT) < 0;
}

bool PlayRun::CtrlHeld() {
    return GetKeyState(VK_CONTROL) < 0;
}

void PlayRun::ShowError(const std::string& text) {
    MessageBoxA(main_->Handle(), text.c_str(), "Quillory", MB_OK | MB_ICONSTOP);
}

void PlayRun::PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    main_->Post(message, WPARAM(wParam), LPARAM(lParam));
}
