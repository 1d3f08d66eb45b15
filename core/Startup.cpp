// Start-up and exit rules of the application shell that need no window.
#include "core/Startup.h"

#include <climits>
#include <cstring>

#include "core/CommandLine.h"
#include "core/Text.h"

const char kHandOverExitRefusal[] =
    "現在、MIDI/Audioファイル受け渡し部分を実行中なので終了できません。\n"
    "もう少し時間が経ってから終了させてください。";

// At most max bytes of text, never ending in half a character.
static std::string Bounded(const std::string& text, size_t max) {
    std::string out(max + 1, '\0');
    out.resize(CopyBounded(&out[0], text.c_str(), max));
    return out;
}

const char* GreetingTitle(int month, int day) {
    if (month == 12 && day == 31) {
        return "A HAPPY NEW YEAR ! - Quillory";
    }
    if (month == 1 && day >= 1 && day <= 3) {
        return "あけましておめでとう ! - Quillory";
    }
    return "Quillory";
}

std::string ProgramFolderOf(const char* moduleFileName) {
    std::string folder;
    SplitPath(moduleFileName, &folder, nullptr, false);
    return Bounded(folder, kStartupPathMax);
}

std::string WorkFilePathOf(const char* tempFolder) {
    return Bounded(std::string(tempFolder) + "Kadrel.$$$", kStartupPathMax);
}

std::string SavedSearchPath(const char* pathVariable) {
    std::string saved = pathVariable;
    if (!saved.empty() && saved.back() == ';') {
        saved.pop_back();
    }
    return saved;
}

// At most max bytes of a ';'-separated list, ending after a whole entry:
// half a folder name could name another folder. ';' is never a trail byte,
// so a plain search finds only separators.
static std::string WholeEntries(const std::string& list, size_t max) {
    if (list.size() <= max) {
        return list;
    }
    const size_t separator = list.rfind(';', max);
    return list.substr(0, separator == std::string::npos ? 0 : separator);
}

std::string ExtendedSearchPath(const std::string& savedSearchPath, const char* execPath) {
    std::string path = savedSearchPath + ";";
    const size_t firstFolder = path.size();
    // Each line of the setting holds a folder (or folders separated by ';').
    for (const char* line = execPath; *line;) {
        const int end = FindEitherChar(line, '\r', '\n');
        const size_t length = end < 0 ? std::strlen(line) : size_t(end);
        if (length > 0) {
            if (path.size() > firstFolder) {
                path += ';';
            }
            path.append(line, length);
        }
        line += end < 0 ? length : length + 1;
    }
    return WholeEntries(path, kSearchPathMax);
}

// The number at the start of text, as the system's string-to-number routine
// reads it; values beyond 32 bits saturate.
static long long LeadingNumber(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= INT_MAX) {
            value = value * 10 + (*p - '0');
        }
    }
    return negative ? -value : value;
}

bool HighColourIconsOf(const char* shellIconBpp) {
    return shellIconBpp && LeadingNumber(shellIconBpp) > 4;
}

bool FullWindowDragOf(const char* dragFullWindows) {
    return dragFullWindows && LeadingNumber(dragFullWindows) != 0;
}

FirstShow FirstShowFor(int32_t windowState) {
    switch (windowState) {
        case kWindowStateMinimized:
            return FirstShow::kAfterStartAction;
        case kWindowStateMaximized:
            return FirstShow::kMaximized;
        default:
            return FirstShow::kNormal;
    }
}

int32_t StartupPlayMode(int32_t startPlayMode, bool ctrlHeld) {
    return ctrlHeld ? kStartPlayNone : startPlayMode;
}

ExitVerdict PrepareExit(ExitFlags* flags, const std::function<bool()>& closeEditors) {
    if (!flags->busy && !flags->exiting) {
        flags->exiting = true;
        if (!closeEditors()) {
            flags->saveSettingsOnExit = true;
            flags->exiting = false;
            return ExitVerdict::kRefusedByEditor;
        }
    }
    if (flags->handOverRunning) {
        flags->saveSettingsOnExit = true;
        flags->exiting = false;
        return ExitVerdict::kRefusedHandOver;
    }
    return ExitVerdict::kAllow;
}
