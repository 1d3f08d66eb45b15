// Launch and restart rules of the players.
#include "player/LaunchRules.h"

#include <cstring>

#include "analysis/SoundModules.h"
#include "core/Settings.h"
#include "player/PlayerKind.h"

const char kWaitingForPlayerText[] = "プレイヤーの終了を待機中 (10 秒間)";
const char kPlayerNotFoundText[] = "プレイヤーが見つかりません。";
const char kPlayerCannotStartText[] = "プレイヤーが起動できません。";
const char kPlayerCannotCloseText[] = "プレイヤーを終了できません。";
const char kMessageCaption[] = "Quillory";

bool MinimiseFlag(const PlayerSettings& settings, SelectorShow show) {
    switch (show) {
        case SelectorShow::kMinimized:
            return settings.iconSelectorMin;
        case SelectorShow::kMaximized:
            return settings.iconSelectorMax;
        case SelectorShow::kNormal:
            break;
    }
    return settings.iconSelectorNormal;
}

bool NeedsRestart(int32_t kind, int32_t lastKind, bool withSong, bool startedWithoutSong, bool continuousPlay) {
    if (!withSong || kind != lastKind) {
        return true;
    }
    if (kind == PlayerKind::MediaPlayer || kind == PlayerKind::WinMediaPlayer) {
        return true;
    }
    return startedWithoutSong && continuousPlay && !IsControllable(kind);
}

std::string HandOverCommand(int32_t kind, const std::string& executable, const std::string& path, bool withSong) {
    std::string command = IsControllable(kind) ? "" : executable;
    if (!withSong || IsControllable(kind)) {
        return command;
    }
    if (kind == PlayerKind::MediaPlayer || kind == PlayerKind::WinMediaPlayer) {
        command += " /play /close";
    }
    return command + " " + QuotedPlayerPath(path);
}

LaunchCommand BuildLaunchCommand(int32_t kind,
                                 const std::string& command,
                                 const std::string& executable,
                                 bool minimise) {
    if (!IsControllable(kind)) {
        return {command, minimise ? kShowMinNoActive : kShowNoActivate};
    }
    std::string full = executable;
    if (kind == PlayerKind::Lilith) {
        full += " /dde";
    }
    if (minimise) {
        if (kind == PlayerKind::WrdFilePlayer) {
            full += " /DM";
        } else if (kind == PlayerKind::KbMediaPlayer) {
            full += " /tray";
        } else if (kind == PlayerKind::Lilith) {
            full += " /tasktray";
        }
    }
    return {full, kShowNormal};
}

bool TakesModuleOption(int32_t kind) {
    return kind == PlayerKind::WrdFilePlayer || kind == PlayerKind::TmidiPlayer || kind == PlayerKind::Decoplay;
}

bool AppendModuleOption(std::string* command, const BagBox& modules, const char* module, int32_t kind) {
    if (!module || !TakesModuleOption(kind)) {
        return false;
    }
    const char* option = SoundModuleOption(modules, module, kind);
    if (option[0] == '\0') {
        return false;
    }
    if (command) {
        *command += ' ';
        *command += option;
    }
    return true;
}

const char* LaunchFailureText(uint32_t error) {
    return error == 2 ? kPlayerNotFoundText : kPlayerCannotStartText;
}

WindowPick PickLaunchedWindow(int32_t kind, const char* title, const char* className, int32_t count) {
    if (kind == PlayerKind::UserDefined && std::strncmp(title, "Wyvern", 6) == 0) {
        if (std::strncmp(className, "TApplication", 12) == 0) {
            return {false, false};
        }
        return {true, true};
    }
    return {true, count + 1 >= kMaxPlayerWindows};
}

std::string LaunchFailureMessage(uint32_t error, const std::string& executable) {
    std::string message = LaunchFailureText(error);
    if (error != 2) {
        return message;
    }
    message += "\n\n探したプログラム : ";
    message += executable.empty() ? "(未設定)" : executable;
    message +=
        "\nプレイヤーのあるフォルダは「設定 → プレイヤー」の「フォルダ」に追加してください"
        " (ユーザー定義プレイヤーはそのプログラムを指定します)。";
    return message;
}

std::string EmulationStatusText(const char* emulationName) {
    return std::string("\tEmulation : ") + (emulationName ? emulationName : "OFF");
}
