// Handing a song to the player: launching it, reusing a running one, closing
// it, and the file drop of players that take songs by drag-and-drop.
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

#include <cstring>

#include "core/Settings.h"
#include "player/LaunchRules.h"
#include "player/PendingMessages_win.h"
#include "player/PlayController_win.h"
#include "player/PlayablePath.h"

// How long a launched player may take to open its window or DDE service.
static constexpr DWORD kLaunchLinkWaitMs = 5000;

PlayController::PlayController(PlayerHost* host) : host_(host), dde_(host) {
    lastKind_ = SelectedKind();
    SYSTEMTIME now;
    GetSystemTime(&now);
    random_.seed(StartupSeed(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds));
    dde_.SetLostHandler([this] { PlayerLost(); });
}

PlayController::~PlayController() {
    if (process_) {
        CloseHandle(process_);
    }
}

int32_t PlayController::SelectedKind() {
    return static_cast<int32_t>(host_->CurrentSettings()->mode.playerMode);
}

std::string PlayController::PlayerExecutable(int32_t kind) {
    if (kind == PlayerKind::UserDefined) {
        return host_->CurrentSettings()->player.userPlayerFilename;
    }
    if (const PlayerRegistryPath* place = FindPlayerRegistryPath(kind)) {
        const char* keys[2][2] = {{place->key1, place->value1}, {place->key2, place->value2}};
        for (const auto& key : keys) {
            if (!key[0]) {
                continue;
            }
            DWORD size = sizeof(executable_) - 1;
            if (RegGetValueA(HKEY_CURRENT_USER, key[0], key[1][0] ? key[1] : nullptr, RRF_RT_REG_SZ, nullptr,
                             executable_, &size) == ERROR_SUCCESS) {
                return executable_;
            }
        }
    }
    return PlayerExecutableName(kind, true);
}

void PlayController::SetEmulation(const char* module) {
    hasEmulation_ = module != nullptr;
    emulationModule_ = module ? module : "";
    host_->ShowEmulationText(EmulationStatusText(module));
}

bool PlayController::IsPlayerAlive() {
    if (process_) {
        DWORD code = 0;
        return GetExitCodeProcess(process_, &code) && code == STILL_ACTIVE;
    }
    if (linkedKind_ == -1) {
        return false;
    }
    if (UsesWindowMessages(linkedKind_)) {
        return windowCount_ != 0 && IsWindow(windows_[0]);
    }
    return dde_.Conversation() != nullptr;
}

DWORD PlayController::LaunchProcess(const std::string& command, int32_t showState, bool wait, bool keepHandle) {
    SetLastError(0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION info = {};
    std::string line = command;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                        &info)) {
        return 0;
    }
    if (wait) {
        WaitForInputIdle(info.hProcess, 5000);
    }
    CloseHandle(info.hThread);
    if (keepHandle) {
        process_ = info.hProcess;
    } else {
        CloseHandle(info.hProcess);
    }
    return info.dwThreadId;
}

// A launched player is linked as soon as its window or DDE service is there.
// Input idle normally means it is, but a player that opens them late, or a
// start slow enough that the wait for input idle gives up early, gets a few
// more seconds while its process runs instead of being left without its song.
bool PlayController::LinkLaunchedPlayer() {
    const DWORD start = GetTickCount();
    while (!LinkPlayer(true)) {
        if (GetTickCount() - start >= kLaunchLinkWaitMs || !IsPlayerAlive()) {
            return LinkPlayer(false);
        }
        DispatchPendingMessages();
        Sleep(100);
    }
    return true;
}

struct ThreadWindowWalk {
    PlayController* controller;
    int32_t kind;
    HWND* windows;
    int32_t* count;
};

static BOOL CALLBACK RememberWindow(HWND window, LPARAM lParam) {
    ThreadWindowWalk* walk = reinterpret_cast<ThreadWindowWalk*>(lParam);
    if (GetParent(window)) {
        return TRUE;
    }
    char title[16] = {};
    char className[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    GetClassNameA(window, className, sizeof(className));
    const WindowPick pick = PickLaunchedWindow(walk->kind, title, className, *walk->count);
    if (pick.remember) {
        walk->windows[(*walk->count)++] = window;
    }
    return pick.stop ? FALSE : TRUE;
}

void PlayController::RememberThreadWindows(DWORD threadId, int32_t kind) {
    windowCount_ = 0;
    ThreadWindowWalk walk = {this, kind, windows_, &windowCount_};
    EnumThreadWindows(threadId, RememberWindow, reinterpret_cast<LPARAM>(&walk));
}

bool PlayController::HandOverSong(int32_t index, const std::string& path) {
    if (handOverRunning_) {
        return true;
    }
    handOverRunning_ = true;
    host_->SetBusy(true);
    const int32_t kind = SelectedKind();
    const bool withSong = index >= 0 && !path.empty();
    const bool controllable = IsControllable(kind);
    const bool restart = NeedsRestart(kind, lastKind_, withSong, startedWithoutSong_, mode_ != PlayMode::kNone);
    if (restart && ClosePlayerAndWait()) {
        host_->SetBusy(false);
        handOverRunning_ = false;
        return true;
    }
    // Whether the player now running (or about to be) got a song: a
    // command-line player started without one is restarted for the first
    // song of continuous play instead of being handed it.
    startedWithoutSong_ = !withSong;
    lastKind_ = kind;
    const std::string executable = PlayerExecutable(kind);
    std::string playable;
    int32_t fileType = -1;
    if (withSong) {
        fileType = host_->SongFileType(index);
        const PlayableSong prepared = host_->PreparePlayablePath(index, path);
        playable = prepared.path;
        if (playable.empty()) {
            // A member that did not come out of its archive: the player is
            // left as it is, and a run ends as after a failed launch rather
            // than meeting the same archive song after song.
            EndContinuousPlay();
            host_->ShowError(prepared.failure);
            host_->SetBusy(false);
            handOverRunning_ = false;
            return false;
        }
        const ClientSettings& settings = *host_->CurrentSettings();
        const std::string module = host_->SongSoundModule(index);
        const bool emulate = settings.player.moduleEmulation && fileType >= 0 && fileType <= 2 &&
                             TakesModuleOption(kind) &&
                             AppendModuleOption(nullptr, host_->SoundModules(), module.c_str(), kind);
        SetEmulation(emulate ? module.c_str() : nullptr);
        ShowIndicator(Playing);
    }
    std::string command = HandOverCommand(kind, executable, playable, withSong);
    songless_ = !withSong;

    DWORD error = 0;
    bool launchedCommandLine = false;
    DWORD threadId = 0;
    if (!restart && IsPlayerAlive()) {
        if (linkedKind_ != -1) {
            SendSongToPlayer(playable, fileType);
        } else if (kind == PlayerKind::UserDefined) {
            if (windowCount_ > 0) {
                PostFileDrop(windows_[0], playable, true);
            }
        } else {
            const LaunchCommand launch = BuildLaunchCommand(
                kind, command, executable, MinimiseFlag(host_->CurrentSettings()->player, host_->WindowShow()));
            if (LaunchProcess(launch.command, launch.showState, true, false) == 0) {
                error = GetLastError();
            }
        }
    } else {
        if (process_) {
            CloseHandle(process_);
            process_ = nullptr;
        }
        bool linked = false;
        if (controllable) {
            linkedKind_ = kind;
            linked = LinkPlayer(true);
            if (linked) {
                SendSongToPlayer(playable, fileType);
            }
        } else {
            linkedKind_ = -1;
        }
        if (!linked) {
            const LaunchCommand launch = BuildLaunchCommand(
                kind, command, executable, MinimiseFlag(host_->CurrentSettings()->player, host_->WindowShow()));
            threadId = LaunchProcess(launch.command, launch.showState, true, true);
            if (threadId == 0) {
                error = GetLastError();
                if (error == 0) {
                    error = ERROR_FILE_NOT_FOUND;
                }
            } else if (linkedKind_ != -1) {
                if (LinkLaunchedPlayer()) {
                    SendSongToPlayer(playable, fileType);
                }
            } else {
                launchedCommandLine = true;
            }
        }
    }
    if (error != 0) {
        EndContinuousPlay();
        host_->ShowError(LaunchFailureMessage(error, executable));
    } else if (launchedCommandLine) {
        Sleep(500);
        RememberThreadWindows(threadId, kind);
    }
    graceCounter_ = 0;
    host_->SetBusy(false);
    handOverRunning_ = false;
    return false;
}

void PlayController::StartPlayerOnly() {
    host_->SetEndTimer(false);
    HandOverSong(-1, "");
    host_->SetEndTimer(true);
}

bool PlayController::ClosePlayerAndWait() {
    if (!IsPlayerAlive()) {
        return false;
    }
    host_->ShowStatusMessage(kWaitingForPlayerText);
    SetEmulation(nullptr);
    bool sent = false;
    if (linkedKind_ != -1) {
        sent = QuitPlayer();
        if (UsesDde(linkedKind_)) {
            dde_.Disconnect();
        }
    } else {
        for (int32_t i = 0; i < windowCount_; ++i) {
            PostMessageA(windows_[i], WM_CLOSE, 0, 0);
        }
        sent = windowCount_ > 0;
    }
    bool closed = false;
    if (sent) {
        const bool wasEnabled = host_->EnableMainWindow(false);
        const DWORD start = GetTickCount();
        closed = true;
        while (IsPlayerAlive()) {
            if (GetTickCount() - start >= 10000) {
                EndContinuousPlay();
                closed = false;
                break;
            }
            DispatchPendingMessages();
            Sleep(200);
        }
        if (wasEnabled) {
            host_->EnableMainWindow(true);
        }
    }
    if (!closed) {
        host_->ShowError(kPlayerCannotCloseText);
    }
    host_->ShowStatusMessage("");
    return !closed;
}

void PlayController::CloseAtExit(bool windowsShuttingDown) {
    // Windows ends the player itself; only the conversation is ended here.
    if (windowsShuttingDown) {
        dde_.Disconnect();
        return;
    }
    if (host_->CurrentSettings()->player.closePlayer) {
        ClosePlayerAndWait();
    } else {
        dde_.Disconnect();
    }
}

// The block is fixed global memory: a drop handle is a global memory handle,
// the receiver's DragFinish frees it with GlobalFree, and the system copies
// only such a block into another process.
bool PostFileDrop(HWND window, const std::string& path, bool wide) {
    std::wstring widePath;
    if (wide) {
        const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
        widePath.resize(n > 0 ? n : 1);
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &widePath[0], n);
    }
    // The path with its NUL and the list's closing NUL.
    const size_t textBytes = wide ? (widePath.size() + 1) * sizeof(wchar_t) : path.size() + 2;
    const size_t total = sizeof(DROPFILES) + textBytes;
    DROPFILES* drop = static_cast<DROPFILES*>(GlobalAlloc(GPTR, total));
    if (!drop) {
        return false;
    }
    drop->pFiles = sizeof(DROPFILES);
    drop->fNC = TRUE;
    drop->fWide = wide ? TRUE : FALSE;
    char* text = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    if (wide) {
        std::memcpy(text, widePath.data(), widePath.size() * sizeof(wchar_t));
    } else {
        std::memcpy(text, path.data(), path.size());
    }
    if (!PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) {
        GlobalFree(drop);
        return false;
    }
    return true;
}
