// The client window as play control's host: the song list's rows, focus,
// selection and range marks, the songs' paths (archive members extracted
// first) and sound modules, the status bar and the main window's state; and
// the play and player commands run under the catalogue lock.
#include <windows.h>

#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "core/CommandIds.h"
#include "player/PlayablePath.h"
#include "player/PlayerKind.h"

bool ClientWindow::IsPlayerCommand(int id) {
    return (id >= kCmdPlay && id <= kCmdNext) || (id >= kCmdPlayerFirst && id <= kCmdPlayerUser) ||
           id == kCmdLaunchPlayer;
}

void ClientWindow::RunPlayCommand(int id) {
    {
        CatalogueLockScope lock(*this);
        player_->OnCommand(id);
    }
    if (id >= kCmdPlayerFirst && id <= kCmdPlayerUser) {
        catalogue_.playerTypeMask = PlayerTypeMask(int32_t(settings.mode.playerMode));
        CheckPlayerMenu();
        main_->SetStatusPlayer(PlayerDisplayName(int32_t(settings.mode.playerMode)));
        ReloadList();
    }
    main_->SetStatusPlayMode();
}

// The user's own player has the last item; a kind of no player, the first.
void ClientWindow::CheckPlayerMenu() {
    const int32_t id = PlayerCommandOfKind(int32_t(settings.mode.playerMode));
    CheckMenuRadio(kCmdPlayerFirst, kCmdPlayerUser, id >= 0 ? int(id) : kCmdPlayerFirst);
}

ClientSettings* ClientWindow::CurrentSettings() {
    return &settings;
}

const BagBox& ClientWindow::SoundModules() {
    return modules_;
}

PendingCommand* ClientWindow::Pending() {
    return &pending_;
}

int32_t ClientWindow::ObjectCount() {
    return catalogue_.objectList.Count();
}

std::vector<int32_t> ClientWindow::SelectedRows() {
    std::vector<int32_t> rows;
    for (int32_t row = list_->GetNextItem(-1, LVNI_SELECTED); row >= 0; row = list_->GetNextItem(row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

void ClientWindow::SetPlayRangeMark(int32_t row, bool on) {
    if (row >= 0 && row < ObjectCount()) {
        list_->SetRangeMark(row, on);
    }
}

bool ClientWindow::HasPlayRangeMark(int32_t row) {
    return list_->HasRangeMark(row);
}

void ClientWindow::RedrawList() {
    list_->Invalidate(false);
}

std::string ClientWindow::SongPath(int32_t row) {
    const char* path = catalogue_.objectList.Read(row, ObjectListColumn::path);
    return path ? ObjectFullPath(catalogue_, path) : std::string();
}

int32_t ClientWindow::SongFileType(int32_t row) {
    return catalogue_.objectList.iRead(row, ObjectListColumn::fileType);
}

std::string ClientWindow::SongSoundModule(int32_t row) {
    return Rows().ColumnText(row, kColumnModule);
}

// A member is extracted with its related files into the emptied working folder.
PlayableSong ClientWindow::PreparePlayablePath(int32_t row, const std::string& path) {
    return PrepareSongForPlayer(Location(path), SongFileType(row), main_->Handle());
}

void ClientWindow::ShowEmulationText(const std::string& text) {
    SetStatusText(2, text.c_str());
}

void ClientWindow::ShowPlayModeText(const std::string& text) {
    SetStatusText(3, text.c_str());
}

void ClientWindow::ShowStatusMessage(const std::string& text) {
    if (text.empty()) {
        RestoreStatus();
    } else {
        main_->SetStatusText(text.c_str());
    }
}

void ClientWindow::RefreshObjectCount() {
    list_->UpdateCount();
}

void ClientWindow::RefreshCommandStates() {
    main_->SetStatusPlayMode();
    main_->UpdateButtonStates();
}

void ClientWindow::RefreshMinimizedTitle() {
    main_->UpdateTitle();
}

// An open properties window shows the song play has moved the focus to.
void ClientWindow::UpdateSongInfoWindow() {
    ShowPropertiesOfFocus(false);
}

void ClientWindow::SetIndicatorPicture(int32_t picture) {
    main_->SetStatusIndicator(picture);
}

void ClientWindow::SetBusy(bool busy) {
    busy_ = busy;
}

// Stopped, not only flagged off: a tick during a hand-over's waits would
// post a deferred command into the hand-over, which drops it.
void ClientWindow::SetEndTimer(bool run) {
    if (run) {
        SetTimer(kClientTimerId, kClientTimerPeriod);
    } else {
        KillTimer(kClientTimerId);
    }
}

SelectorShow ClientWindow::WindowShow() {
    if (IsIconic(main_->Handle())) {
        return SelectorShow::kMinimized;
    }
    return IsZoomed(main_->Handle()) ? SelectorShow::kMaximized : SelectorShow::kNormal;
}

bool ClientWindow::IsLoadingList() {
    return catalogue_.busy || busy_;
}

bool ClientWindow::IsExiting() {
    return exitFlags.exiting;
}

bool ClientWindow::EnableMainWindow(bool enable) {
    return !EnableWindow(main_->Handle(), enable);
}

bool ClientWindow::ShiftHeld() {
    return GetKeyState(VK_SHIFT) < 0;
}

bool ClientWindow::CtrlHeld() {
    return GetKeyState(VK_CONTROL) < 0;
}

void ClientWindow::ShowError(const std::string& text) {
    MessageBoxA(main_->Handle(), text.c_str(), "Quillory", MB_OK | MB_ICONSTOP);
}

void ClientWindow::PostToMainWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    main_->Post(message, WPARAM(wParam), LPARAM(lParam));
}
