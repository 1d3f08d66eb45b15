// The control link to a running player: finding it, giving it a song, the
// pause, stop and quit commands and the status query, per kind.
#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "core/Settings.h"
#include "player/LaunchRules.h"
#include "player/PlayController_win.h"

// How long the user's open player may take to say whether it plays.
static constexpr UINT kOpenPlayerAnswerMs = 500;

struct AudioactiveSearch {
    HWND found;
};

static BOOL CALLBACK FindAudioactive(HWND window, LPARAM lParam) {
    char title[32] = {};
    GetWindowTextA(window, title, sizeof(title));
    if (std::strncmp(title, "Audioactive Player", 18) != 0) {
        return TRUE;
    }
    reinterpret_cast<AudioactiveSearch*>(lParam)->found = window;
    return FALSE;
}

struct AudioactiveControls {
    HWND pause;
    HWND stop;
    HWND slider;
};

static BOOL CALLBACK FindAudioactiveControl(HWND child, LPARAM lParam) {
    AudioactiveControls* controls = reinterpret_cast<AudioactiveControls*>(lParam);
    char className[64] = {};
    char text[32] = {};
    GetClassNameA(child, className, sizeof(className));
    GetWindowTextA(child, text, sizeof(text));
    if (std::strncmp(className, "Button", 6) == 0) {
        if (std::strncmp(text, "pause", 5) == 0) {
            controls->pause = child;
        } else if (std::strncmp(text, "stop", 4) == 0) {
            controls->stop = child;
        }
    } else if (std::strcmp(className, "msctls_trackbar32") == 0) {
        RECT rect;
        GetWindowRect(child, &rect);
        if (rect.right - rect.left >= 128) {
            controls->slider = child;
        }
    }
    return TRUE;
}

bool PlayController::LinkPlayer(bool quiet) {
    const PlayerRow* row = FindPlayerRow(linkedKind_);
    if (!row) {
        return false;
    }
    if (row->channel == PlayerChannel::kWindowMessages) {
        HWND window = nullptr;
        if (linkedKind_ == PlayerKind::AudioactivePlayer) {
            AudioactiveSearch search = {nullptr};
            EnumWindows(FindAudioactive, reinterpret_cast<LPARAM>(&search));
            window = search.found;
        } else if (row->windowClass[0]) {
            window = FindWindowA(row->windowClass, nullptr);
        } else {
            window = FindWindowA(nullptr, row->windowTitle);
        }
        windowCount_ = window ? 1 : 0;
        windows_[0] = window;
        if (window && linkedKind_ == PlayerKind::AudioactivePlayer) {
            AudioactiveControls controls = {nullptr, nullptr, nullptr};
            EnumChildWindows(window, FindAudioactiveControl, reinterpret_cast<LPARAM>(&controls));
            aaPause_ = controls.pause;
            aaStop_ = controls.stop;
            aaSlider_ = controls.slider;
            aaPauseId_ = aaPause_ ? static_cast<int32_t>(GetWindowLongA(aaPause_, GWL_ID)) : 0;
            aaStopId_ = aaStop_ ? static_cast<int32_t>(GetWindowLongA(aaStop_, GWL_ID)) : 0;
        }
        return window != nullptr;
    }
    if (row->channel == PlayerChannel::kDde) {
        const bool connected = dde_.Connect(row->ddeName, row->ddeName, quiet);
        if (!connected && !quiet) {
            EndContinuousPlay();
        }
        return connected;
    }
    return false;
}

bool PlayController::SendSongToPlayer(const std::string& path, int32_t fileType) {
    if (path.empty()) {
        return false;
    }
    if (UsesWindowMessages(linkedKind_)) {
        if (windowCount_ == 0) {
            return false;
        }
        HWND window = windows_[0];
        switch (linkedKind_) {
            case PlayerKind::Winamp2: {
                SendMessageA(window, WM_USER, 0, 101);
                COPYDATASTRUCT copy = {100, static_cast<DWORD>(path.size() + 1), const_cast<char*>(path.c_str())};
                SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
                SendMessageA(window, WM_USER, 0, 252);
                SendMessageA(window, WM_USER, 0, 253);
                SendMessageA(window, WM_COMMAND, 40045, 0);
                return true;
            }
            case PlayerKind::Scmpx:
                SendMessageA(window, WM_USER, 0, 101);
                for (size_t i = 0; i <= path.size(); ++i) {
                    // Each byte sign-extended, as the player reads a char.
                    const WPARAM byte =
                        static_cast<WPARAM>(static_cast<intptr_t>(static_cast<signed char>(path.c_str()[i])));
                    SendMessageA(window, WM_USER, byte, 100);
                }
                SendMessageA(window, WM_USER, 0, 102);
                return true;
            case PlayerKind::GratzerSS: {
                for (;;) {
                    SetLastError(0);
                    const LRESULT reply = SendMessageA(window, WM_USER, 104, 0);
                    if (GetLastError() != 0) {
                        return false;
                    }
                    if (reply >= 1 && reply <= 3) {
                        break;
                    }
                    Sleep(500);
                }
                SendMessageA(window, WM_COMMAND, 40022, 3);
                HKEY key;
                if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Gratzer", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                                    nullptr) == ERROR_SUCCESS) {
                    RegSetValueExA(key, "Favorites", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                                   static_cast<DWORD>(path.size() + 1));
                    RegCloseKey(key);
                }
                return true;
            }
            default:
                return PostFileDrop(window, path, true);
        }
    }
    if (!UsesDde(linkedKind_)) {
        return false;
    }
    if (dde_.Conversation() && QueryPlayerStatus() == Unreachable) {
        EndContinuousPlay();
        return false;
    }
    std::string command = DdePlayCommand(linkedKind_, path);
    const ClientSettings& settings = *host_->CurrentSettings();
    if (settings.player.moduleEmulation && fileType >= 0 && fileType <= 2) {
        AppendModuleOption(&command, host_->SoundModules(), emulationModule(), linkedKind_);
    }
    if (!dde_.Conversation()) {
        EndContinuousPlay();
        return false;
    }
    if (!dde_.Execute(command.c_str(), settings.player.playTimeOut * 1000, 1, "DdePlayerPlay")) {
        EndContinuousPlay();
        return false;
    }
    return true;
}

PlayerStatus PlayController::QueryWindowStatus() {
    if (windowCount_ == 0) {
        return Unreachable;
    }
    SetLastError(0);
    LRESULT reply = 0;
    switch (linkedKind_) {
        case PlayerKind::GratzerSS:
            reply = SendMessageA(windows_[0], WM_USER, 104, 0);
            break;
        case PlayerKind::AudioactivePlayer:
            // Without its position slider the player cannot be asked: the
            // failed call makes it unreachable rather than forever stopped.
            reply = SendMessageA(aaSlider_, TBM_GETPOS, 0, 0);
            break;
        default:
            reply = SendMessageA(windows_[0], WM_USER, 0, 104);
            break;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_MOD_NOT_FOUND) {
        return Alive;
    }
    if (error != 0) {
        windowCount_ = 0;
        return Unreachable;
    }
    return ParseWindowStatusReply(linkedKind_, reply);
}

// A command-line player mostly ends its song by exiting. The user's own
// player may instead stay open and take the next song dropped on its window;
// such a player, still on show, is asked whether it plays. One whose window
// went out of sight is closing, and its song ends with its process.
PlayerStatus PlayController::RunningCommandLinePlayerStatus() {
    if (lastKind_ != PlayerKind::UserDefined || windowCount_ == 0 || !IsWindowVisible(windows_[0])) {
        return Playing;
    }
    DWORD_PTR reply = 0;
    const bool answered = SendMessageTimeoutA(windows_[0], WM_USER, 0, 104, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                                              kOpenPlayerAnswerMs, &reply) != 0;
    return OpenUserPlayerStatus(answered, static_cast<intptr_t>(reply), &userPlayerAnswers_);
}

PlayerStatus PlayController::QueryPlayerStatus() {
    if (UsesWindowMessages(linkedKind_)) {
        return QueryWindowStatus();
    }
    const PlayerRow* row = FindPlayerRow(linkedKind_);
    if (!row || row->channel != PlayerChannel::kDde || !dde_.Conversation()) {
        return Unreachable;
    }
    if (dde_.BusyCount() != 0) {
        return Alive;
    }
    char reply[15] = {};
    if (!dde_.Request(reply, sizeof(reply), row->statusItem, CF_TEXT, 2000, nullptr)) {
        return Unreachable;
    }
    return reply[0] == '\0' ? Alive : ParseDdeStatusReply(linkedKind_, reply);
}

bool PlayController::SendWindowCommand(UINT message, WPARAM wParam, bool post) {
    if (windowCount_ == 0) {
        return false;
    }
    if (post) {
        PostMessageA(windows_[0], message, wParam, 0);
    } else {
        SendMessageA(windows_[0], message, wParam, 0);
    }
    return true;
}

bool PlayController::DdeCommand(PlayerCommand command, uint32_t timeOutMs, const char* label) {
    if (!dde_.Conversation()) {
        return false;
    }
    PlayerStatus status = Alive;
    if (command != PlayerCommand::kQuit) {
        status = QueryPlayerStatus();
        if (status == Unreachable) {
            EndContinuousPlay();
            return false;
        }
        if (command == PlayerCommand::kPause && status != Playing && status != Paused) {
            return false;
        }
    }
    const char* text = DdeControlCommand(linkedKind_, command, status);
    if (text[0] == '\0') {
        return false;
    }
    if (command == PlayerCommand::kPause) {
        if (indicator_.picture() == 1 || indicator_.picture() == 2) {
            ShowIndicator(Paused);
        } else if (indicator_.picture() == 3 || indicator_.picture() == 4) {
            ShowIndicator(Playing);
            songless_ = false;
        }
    }
    return dde_.Execute(text, timeOutMs, 1, label);
}

static bool PlayingOrPaused(PlayerStatus status) {
    return status == Playing || status == Paused;
}

bool PlayController::PausePlayer() {
    switch (linkedKind_) {
        case PlayerKind::Winamp2:
        case PlayerKind::GratzerSS:
            return PlayingOrPaused(QueryWindowStatus()) && SendWindowCommand(WM_COMMAND, 40046, false);
        case PlayerKind::AudioactivePlayer:
            return windowCount_ != 0 && SendMessageA(windows_[0], WM_COMMAND, MAKEWPARAM(aaPauseId_, BN_CLICKED),
                                                     reinterpret_cast<LPARAM>(aaPause_)) >= 0;
        default:
            return UsesDde(linkedKind_) && DdeCommand(PlayerCommand::kPause, 4000, "DdePlayerPause");
    }
}

bool PlayController::StopPlayer() {
    switch (linkedKind_) {
        case PlayerKind::Winamp2:
        case PlayerKind::GratzerSS:
            return PlayingOrPaused(QueryWindowStatus()) && SendWindowCommand(WM_COMMAND, 40047, false);
        case PlayerKind::Scmpx:
            return PlayingOrPaused(QueryWindowStatus()) && SendWindowCommand(WM_KEYDOWN, VK_SPACE, false);
        case PlayerKind::AudioactivePlayer:
            return windowCount_ != 0 && SendMessageA(windows_[0], WM_COMMAND, MAKEWPARAM(aaStopId_, BN_CLICKED),
                                                     reinterpret_cast<LPARAM>(aaStop_)) >= 0;
        default:
            return UsesDde(linkedKind_) && DdeCommand(PlayerCommand::kStop, 4000, "DdePlayerStop");
    }
}

bool PlayController::QuitPlayer() {
    switch (linkedKind_) {
        case PlayerKind::Winamp2:
            return SendWindowCommand(WM_COMMAND, 40001, true);
        case PlayerKind::Scmpx:
        case PlayerKind::GratzerSS:
        case PlayerKind::AudioactivePlayer:
            return SendWindowCommand(WM_CLOSE, 0, true);
        default:
            return UsesDde(linkedKind_) && DdeCommand(PlayerCommand::kQuit, 10000, "DdePlayerClose");
    }
}
