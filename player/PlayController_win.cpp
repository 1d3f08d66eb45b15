// Play commands, continuous play and the end-of-song tick.
#include <windows.h>

#include "core/CommandIds.h"
#include "core/Settings.h"
#include "player/PlayController_win.h"

void PlayController::ShowIndicator(PlayerStatus status) {
    if (indicator_.Set(status)) {
        host_->SetIndicatorPicture(indicator_.picture());
    }
}

void PlayController::PlayerLost() {
    EndContinuousPlay();
    SetEmulation(nullptr);
    host_->RefreshCommandStates();
}

void PlayController::SetPlayMode(PlayMode mode) {
    if (mode != mode_) {
        mode_ = mode;
    }
    host_->ShowPlayModeText(PlayModeStatusText(mode_));
    if (host_->WindowShow() == SelectorShow::kMinimized) {
        host_->RefreshMinimizedTitle();
    }
}

void PlayController::EndContinuousPlay() {
    if (mode_ == PlayMode::kNone) {
        return;
    }
    SetPlayMode(PlayMode::kNone);
    if (order_.playRange) {
        for (int32_t row : order_.entries()) {
            if (host_->HasPlayRangeMark(row)) {
                host_->SelectRow(row);
                host_->SetPlayRangeMark(row, false);
            }
        }
        host_->RedrawList();
        order_.playRange = false;
    }
    host_->RefreshObjectCount();
}

void PlayController::LeaveList() {
    EndContinuousPlay();
    order_.playRange = false;
}

void PlayController::BuildPlayOrder() {
    std::vector<int32_t> marked;
    const int32_t count = host_->ObjectCount();
    if (order_.playRange) {
        for (int32_t row = 0; row < count; ++row) {
            if (host_->HasPlayRangeMark(row)) {
                marked.push_back(row);
            }
        }
    }
    for (int32_t row : order_.Build(count, host_->SelectedRows(), marked)) {
        host_->SetPlayRangeMark(row, true);
    }
}

void PlayController::PlayFocused() {
    const int32_t row = host_->FocusedRow();
    if (row < 0) {
        return;
    }
    host_->RefreshObjectCount();
    const std::string path = host_->SongPath(row);
    host_->SetEndTimer(false);
    const bool skipped = HandOverSong(row, path);
    host_->SetEndTimer(true);
    host_->RefreshCommandStates();
    if (!skipped) {
        host_->UpdateSongInfoWindow();
        if (host_->WindowShow() == SelectorShow::kMinimized) {
            host_->RefreshMinimizedTitle();
        }
    }
}

void PlayController::HandOverNext() {
    const int32_t row = order_.RowToHandOver();
    if (row < 0 || row >= host_->ObjectCount()) {
        return;
    }
    host_->FocusRow(row);
    PlayFocused();
    order_.Advance(mode_, &random_);
}

void PlayController::StartAuto() {
    order_.wrapped = false;
    BuildPlayOrder();
    order_.SetPosition(order_.StartIndex(host_->FocusedRow(), host_->ShiftHeld()));
    SetPlayMode(PlayMode::kSequential);
    HandOverNext();
}

void PlayController::StartRandom(int32_t firstRow) {
    if (order_.orderLast() < 0) {
        return;
    }
    order_.wrapped = false;
    BuildPlayOrder();
    order_.StartRandom(firstRow, &random_);
    SetPlayMode(PlayMode::kRandom);
    HandOverNext();
}

void PlayController::StartRepeat() {
    order_.wrapped = false;
    BuildPlayOrder();
    order_.SetPosition(order_.StartIndex(host_->FocusedRow(), false));
    SetPlayMode(PlayMode::kRepeat);
    HandOverNext();
}

void PlayController::PlayPrevious() {
    if (mode_ == PlayMode::kNone) {
        host_->FocusRow(PreviousRow(host_->FocusedRow(), host_->ObjectCount() - 1));
        PlayFocused();
        return;
    }
    order_.StepBack(mode_);
    HandOverNext();
}

void PlayController::PlayNext() {
    if (mode_ == PlayMode::kNone) {
        host_->FocusRow(NextRow(host_->FocusedRow(), host_->ObjectCount() - 1));
        PlayFocused();
        return;
    }
    order_.StepForward(mode_);
    HandOverNext();
}

void PlayController::SelectPlayer(int32_t kind) {
    host_->CurrentSettings()->mode.playerMode = static_cast<uint32_t>(kind);
    host_->RefreshCommandStates();
}

// Guards of the play commands: an empty list, no focus, a hand-over or a
// list load in progress, an empty order.
bool PlayController::CommandAllowed(int32_t id) {
    if (handOverRunning_ || host_->IsLoadingList()) {
        return false;
    }
    if (id <= kCmdPlayRandom && host_->ObjectCount() == 0) {
        return false;
    }
    if ((id == kCmdPlayRandomFromHere || id == kCmdPlayRepeat || id == kCmdPrevious || id == kCmdNext) && host_->FocusedRow() < 0) {
        return false;
    }
    return !(id >= kCmdPlaySequential && id <= kCmdPlayRepeat && order_.orderLast() < 0);
}

bool PlayController::OnCommand(int32_t id) {
    const int32_t kind = PlayerKindOfCommand(id);
    if (kind >= 0) {
        SelectPlayer(kind);
        return true;
    }
    if (id == kCmdLaunchPlayer) {
        StartPlayerOnly();
        return true;
    }
    if (id < kCmdPlay || id > kCmdNext) {
        return false;
    }
    if (dde_.BusyCount() != 0) {
        PendingCommand* pending = host_->Pending();
        *pending = {true, WM_COMMAND, static_cast<uintptr_t>(id), 0};
        return true;
    }
    if (id == kCmdPlayRandom && (host_->ShiftHeld() || host_->CtrlHeld())) {
        id = kCmdPlayRandomFromHere;
    }
    if ((id <= kCmdPlayRepeat || id >= kCmdPrevious) && !CommandAllowed(id)) {
        return true;
    }
    switch (id) {
        case kCmdPlay:
            PlayFocused();
            break;
        case kCmdPlaySequential:
            StartAuto();
            break;
        case kCmdPlayRandom:
            StartRandom(-1);
            break;
        case kCmdPlayRandomFromHere:
            StartRandom(host_->FocusedRow());
            break;
        case kCmdPlayRepeat:
            StartRepeat();
            break;
        case kCmdPlayCancel:
            EndContinuousPlay();
            break;
        case kCmdPause:
            PausePlayer();
            break;
        case kCmdStop:
            ShowIndicator(Stopped);
            EndContinuousPlay();
            StopPlayer();
            break;
        case kCmdPrevious:
            PlayPrevious();
            break;
        default:
            PlayNext();
            break;
    }
    return true;
}

PlayerStatus PlayController::PollPlayer() {
    if (linkedKind_ != -1) {
        const bool windowLink = UsesWindowMessages(linkedKind_) && windowCount_ != 0;
        if (!dde_.Conversation() && !windowLink) {
            ShowIndicator(Stopped);
            return Unreachable;
        }
        const PlayerStatus status = QueryPlayerStatus();
        if (status == Unreachable) {
            PlayerLost();
            ShowIndicator(Stopped);
            return Unreachable;
        }
        if (status != Alive) {
            ShowIndicator(status);
        }
        return status;
    }
    if (!songless_ && IsPlayerAlive()) {
        ShowIndicator(Playing);
        return Playing;
    }
    if (mode_ == PlayMode::kNone) {
        SetEmulation(nullptr);
    }
    ShowIndicator(Stopped);
    return Stopped;
}

void PlayController::EndOfSongTick() {
    PendingCommand* pending = host_->Pending();
    switch (StartTick(pending->pending, dde_.BusyCount(), handOverRunning_, host_->IsExiting())) {
        case TickStart::kPostPending:
            host_->PostToMainWindow(pending->message, pending->wParam, pending->lParam);
            *pending = PendingCommand();
            return;
        case TickStart::kSkip:
            return;
        case TickStart::kPoll:
            break;
    }
    const PlayerStatus status = PollPlayer();
    const bool loopPlay = host_->CurrentSettings()->mode.loopPlay;
    switch (DecideTick(mode_, &graceCounter_, status, dde_.BusyCount(), loopPlay, order_.wrapped)) {
        case TickAction::kNone:
            return;
        case TickAction::kEndRun:
            ShowIndicator(Stopped);
            EndContinuousPlay();
            StopPlayer();
            host_->RefreshCommandStates();
            return;
        case TickAction::kHandOverNext:
            HandOverNext();
            return;
    }
}
