// Loading the application state before the windows are made: the stored
// settings and sound modules, the command line's choices, the desktop's look
// and the search path as the program found it.
#include "app/AppState_win.h"

#include <windows.h>

#include "app/RegistryStore_win.h"
#include "core/CommandLine.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/framework/Splitter_win.h"
#include "ui/rules/MainWindowRules.h"

// A desktop value under the current user as text; false when it is missing.
static bool ReadDesktopValue(const char* key, const char* name, char* value, DWORD bytes) {
    return RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, value, &bytes) == ERROR_SUCCESS;
}

// An environment variable of the process, however long; empty when missing.
static std::string EnvironmentValue(const char* name) {
    const DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0) {
        return std::string();
    }
    std::string value(size, '\0');
    const DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

static void ReadDesktopFlags(AppState* app) {
    char value[32];
    const bool bpp = ReadDesktopValue("Control Panel\\Desktop\\WindowMetrics", "Shell Icon BPP", value, sizeof value);
    app->highColourIcons = HighColourIconsOf(bpp ? value : nullptr);
    app->fullWindowDrag = ReadDragFullWindows();
}

// The options override the stored start-up choices.
static void ParseCommandLine(AppState* app) {
    ClientSettings& settings = app->settings;
    CommandLineRequest request;
    request.startPlayMode = int32_t(settings.mode.playMode);
    request.playerKind = int32_t(settings.mode.playerMode);
    request.lastPath = settings.lastSelect.path;
    request.lastFile = settings.lastSelect.file;
    request.includeSubFolders = settings.lastSelect.searchSubFolder;
    SystemCommandLineFiles files;
    ParseClientCommandLine(Program().commandLine.c_str(), &files, &request);
    app->startPlayMode = request.startPlayMode;
    settings.mode.playerMode = uint32_t(request.playerKind);
    settings.lastSelect.path = request.lastPath;
    settings.lastSelect.file = request.lastFile;
    settings.lastSelect.searchSubFolder = request.includeSubFolders;
    app->missingStartPath = request.missingPath;
}

std::unique_ptr<AppState> LoadAppState() {
    auto app = std::make_unique<AppState>();
    app->savedSearchPath = SavedSearchPath(EnvironmentValue("Path").c_str());
    ReadDesktopFlags(app.get());
    Program().clipboardFormat = RegisterClipboardFormatA("Kadrel ClipboardFormat");
    RegistryStore store(Program().settingsRoot);
    LoadSettings(&store, &app->settings);
    LoadSoundModules(&store, &app->modules, &app->detectors);
    ParseCommandLine(app.get());
    SYSTEMTIME now;
    GetSystemTime(&now);
    app->random.seed(
        StartupSeed(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds));
    return app;
}

void ApplySearchPath(const AppState& app) {
    SetEnvironmentVariableA("Path",
                            ExtendedSearchPath(app.savedSearchPath, app.settings.player.execPath.c_str()).c_str());
}
