// The song list of the real program window on a folder of 20,000 songs: the
// time from selecting the folder's tree node to the list filled and its
// first screen of rows drawn, with a warm title cache next to `quillory-cli
// list` of the same folder, and on the first open (no cache, the automatic
// cache setting on and off) next to the CLI's cold list; the I/O floor too,
// all in the same run. Runs under Wine.
#include <windows.h>

#include <algorithm>
#include <sstream>

#include "app/MainWindow_win.h"
#include "bench/BenchSongs.h"
#include "player/PlayerKind.h"
#include "tools/cli/CliCommands.h"
#include "ui/framework/ProgramValues_win.h"

namespace {

using namespace bench;

constexpr int kSongsPerKind = 10000;
constexpr int kRounds = 3;
constexpr int kFirstScreenRows = 40;
const char kScratchRoot[] = "Software\\Brenvik\\KadrelGuiBench";

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

std::string BuildFolder() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path.resize(path.find_last_of('\\'));
    path.resize(path.find_last_of('\\') + 1);
    return path;
}

void RemoveCache(const std::string& folder) {
    DeleteFileA((folder + "_Kadrel.cac").c_str());
}

double TimeCliList(const std::string& folder, bool cold = false) {
    std::ostringstream out;
    std::ostringstream err;
    if (cold) {
        RemoveCache(folder);
    }
    const Clock::time_point start = Clock::now();
    const int code = RunCli({"list", folder}, out, err);
    const double ms = MillisecondsSince(start);
    return code == kCliSuccess ? ms : -1;
}

// Selects the folder's node in the tree of a fresh main window and waits for
// the list to hold every song, then reads the first screen of rows as drawing
// would. The time in ms, or -1.
double TimeGuiList(const std::string& folder, int expected, bool autoCache = true) {
    std::unique_ptr<AppState> app = LoadAppState();
    MainWindow* main = new MainWindow(*app);
    if (!main->CreateFrame()) {
        delete main;
        return -1;
    }
    main->Show(SW_SHOWNORMAL);
    ClientWindow* client = main->Client();
    client->settings.mode.playerMode = PlayerKind::Winamp2;
    client->Browse().Catalogue().playerTypeMask = PlayerTypeMask(PlayerKind::Winamp2);
    client->Browse().Catalogue().settings.autoCache = autoCache;
    Pump();
    // The user clicks a node the tree already shows: reach it once, step back
    // to the root, then measure the selection itself, as the click makes it
    // (finding the node by its path again would also read every folder on
    // the way to it, which a click does not).
    FolderTreeWindow* tree = client->Tree();
    bool selected = tree->SelectTreePath(folder);
    const HTREEITEM node = tree->GetNextItem(nullptr, TVGN_CARET);
    selected = selected && node && tree->SelectTreePath("");
    Pump();
    const Clock::time_point start = Clock::now();
    selected = selected && tree->SelectItem(node);
    Pump();
    HWND list = client->ListHandle();
    while (selected && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < expected && MillisecondsSince(start) < 120000) {
        Pump();
    }
    char text[260];
    for (int row = 0; row < kFirstScreenRows; row++) {
        for (int column = 0; column < 5; column++) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            SendMessageA(list, LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
        }
    }
    const double ms = MillisecondsSince(start);
    const bool filled = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) == expected;
    client->exitFlags.saveSettingsOnExit = false;
    delete main;
    Pump();
    return selected && filled ? ms : -1;
}

}  // namespace

int main() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "qbench-gui\\";
    if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        RemoveFolder(folder);
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::vector<std::string> paths = WriteSongs(folder, kSongsPerKind);
    if (paths.empty()) {
        return 1;
    }
    HMODULE resources =
        LoadLibraryExA((BuildFolder() + "bin\\Quillory.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!resources) {
        std::fprintf(stderr, "cannot load the program's resources\n");
        return 1;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    Program().instance = resources;
    Program().commandLine = "Quillory.exe";
    Program().settingsRoot = kScratchRoot;

    const int expected = int(paths.size());
    double floor = 1e300;
    double cold = 1e300;
    double guiFirst[2] = {1e300, 1e300};  // automatic cache off, on
    for (int round = 0; round < kRounds; round++) {
        floor = std::min(floor, IoFloor(paths));
        for (int autoCache = 0; autoCache < 2; autoCache++) {
            RemoveCache(folder);
            const double ms = TimeGuiList(folder, expected, autoCache == 1);
            guiFirst[autoCache] = ms < 0 ? guiFirst[autoCache] : std::min(guiFirst[autoCache], ms);
        }
        cold = std::min(cold, TimeCliList(folder, true));
    }
    // A list refreshes only a cache that is there, as the window does: the
    // warm rounds need one made.
    {
        std::ostringstream out;
        std::ostringstream err;
        if (RunCli({"cache", "new", folder}, out, err) != kCliSuccess) {
            std::fprintf(stderr, "cannot make the title cache: %s\n", err.str().c_str());
            return 1;
        }
    }
    double cli = 1e300;
    double gui = 1e300;
    for (int round = 0; round < kRounds; round++) {
        cli = std::min(cli, TimeCliList(folder));
        const double ms = TimeGuiList(folder, expected);
        gui = ms < 0 ? gui : std::min(gui, ms);
    }
    std::printf("song list of %zu songs, best of %d rounds\n", paths.size(), kRounds);
    std::printf("  I/O floor (open, read 4 KiB, close):   %8.1f ms\n", floor);
    std::printf("  quillory-cli list (cold, no cache):   %8.1f ms\n", cold);
    std::printf("  quillory-cli list (warm):              %8.1f ms\n", cli);
    std::printf("  window, warm cache:                    %8.1f ms  %.2fx quillory-cli warm  (goal <= 1.2x)\n", gui,
                gui / cli);
    for (int autoCache = 0; autoCache < 2; autoCache++) {
        std::printf("  window, first open, automatic cache %s: %8.1f ms  %.2fx quillory-cli cold  (goal <= 1.3x)\n",
                    autoCache ? "on: " : "off:", guiFirst[autoCache], guiFirst[autoCache] / cold);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
    FreeLibrary(resources);
    RemoveFolder(folder);
    return gui < 1e300 && guiFirst[0] < 1e300 && guiFirst[1] < 1e300 ? 0 : 1;
}
