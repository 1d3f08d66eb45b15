// fakeplayer: a stand-in for the external players in tests. Its behaviour
// follows its own executable name: DDE players serve their service, topic and
// status item; window-message players create their window class or title and
// answer the player messages; other names act as command-line players that
// play the song on their command line for a while and exit. A "song" lasts
// FAKEPLAYER_SONG_MS milliseconds (default 1000). Every command received is
// appended as one line to the file named by FAKEPLAYER_LOG. A DDE player
// answers a play command only after FAKEPLAYER_DDE_DELAY_MS milliseconds
// (default 0), as a player busy loading a song does. With FAKEPLAYER_LIST_FOLDER
// set, every song played is followed by a line naming the files beside it.
// FAKEPLAYER_SLIDER_WIDTH sets the width of Audioactive Player's position slider.
#include <windows.h>

#include <commctrl.h>
#include <ddeml.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

enum class Kind { kCommandLine, kDde, kWinamp, kScmpx, kGratzer, kAudioactive };
enum class State { kStopped, kPlaying, kPaused };

struct Profile {
    const char* exe;
    Kind kind;
    const char* service;
    const char* statusItem;
    const char* replies[3];  // stopped, playing, paused
};

static const Profile kProfiles[] = {
    {"wfp.exe", Kind::kDde, "WFP", "PlayStatus", {"Stop", "Play", "Pause"}},
    {"mpvg.exe", Kind::kDde, "mpvg", "playStatus", {"end", "play", "pause"}},
    {"tmidi.exe", Kind::kDde, "TMIDI", "getstatus", {"stop", "play", "pause"}},
    {"dpw.exe", Kind::kDde, "DpwDDE", "PlayStatus", {"Stop", "Play", "Pause"}},
    {"kbmplay.exe", Kind::kDde, "KbMedia Player", "Status", {"Stop", "Playing", "Pause"}},
    {"lilith.exe", Kind::kDde, "LILITH_EXT_CONTROL", "/status", {"stop", "play", "pause"}},
    {"winamp.exe", Kind::kWinamp, "", "", {}},
    {"scmpx.exe", Kind::kScmpx, "", "", {}},
    {"gratzer.exe", Kind::kGratzer, "", "", {}},
    {"aaplay32.exe", Kind::kAudioactive, "", "", {}},
};

static const Profile* profile = nullptr;
static Kind kind = Kind::kCommandLine;
static State state = State::kStopped;
static HWND mainWindow = nullptr;
static HWND slider = nullptr;
static DWORD ddeInstance = 0;
static HSZ serviceHandle = nullptr;
static UINT songMs = 1000;
static UINT ddeDelayMs = 0;
static bool listFolder = false;
static std::string scmpxPath;
static const UINT_PTR kSongTimer = 1;
static const UINT_PTR kFavoritesTimer = 2;
static const int kPauseId = 201;
static const int kStopId = 202;

static void Log(const std::string& line) {
    const char* path = std::getenv("FAKEPLAYER_LOG");
    if (!path) {
        return;
    }
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

static void SetState(State next) {
    state = next;
    if (slider) {
        SendMessageA(slider, TBM_SETPOS, TRUE, next == State::kStopped ? 0 : 50);
    }
    if (next == State::kPlaying) {
        SetTimer(mainWindow, kSongTimer, songMs, nullptr);
    } else if (next == State::kStopped) {
        KillTimer(mainWindow, kSongTimer);
    }
}

// "folder a.mid|b.wrd|...": the files in the folder of path, in the system's
// listing order, so a test sees what a player could open beside the song.
static void LogFolder(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    if (slash == std::string::npos) {
        return;
    }
    std::string names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path.substr(0, slash) + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names += (names.empty() ? "" : "|") + std::string(found.cFileName);
        }
    } while (FindNextFileA(find, &found));
    FindClose(find);
    Log("folder " + names);
}

static void Play(const std::string& what) {
    Log("play " + what);
    SetState(State::kPlaying);
}

// A song given as a file: played, and its folder listed when asked for.
static void PlayFile(const std::string& path) {
    Play(path);
    if (listFolder) {
        LogFolder(path);
    }
}

static void TogglePause() {
    if (state == State::kPlaying) {
        KillTimer(mainWindow, kSongTimer);
        state = State::kPaused;
    } else if (state == State::kPaused) {
        SetState(State::kPlaying);
    }
}

static bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// One DDE command of any of the DDE players.
static void ExecuteDde(const std::string& command) {
    Log("execute " + command);
    if (StartsWith(command, "\"") || StartsWith(command, "open ") || StartsWith(command, "playfile ") ||
        StartsWith(command, "/dopen ")) {
        if (ddeDelayMs) {
            Sleep(ddeDelayMs);
        }
        Play(command);
        const size_t open = command.find('"');
        const size_t close = open == std::string::npos ? open : command.find('"', open + 1);
        if (listFolder && close != std::string::npos) {
            LogFolder(command.substr(open + 1, close - open - 1));
        }
    } else if (command == "/PAUSE" || command == "pause" || command == "<pause") {
        if (state == State::kPlaying) {
            TogglePause();
        }
    } else if (command == "/RESUME" || command == "resume" || command == "<resume") {
        if (state == State::kPaused) {
            TogglePause();
        }
    } else if (command == "playPause" || command == "/pause") {
        TogglePause();
    } else if (command == "/STOP" || command == "stop" || command == "<stop" || command == "playEnd" ||
               command == "/stop") {
        SetState(State::kStopped);
    } else if (command == "/QUIT" || command == "EXIT" || command == "<exit" || command == "appExit" ||
               command == "/quit" || command == "/exit") {
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
}

static HDDEDATA CALLBACK
DdeCallback(UINT type, UINT format, HCONV, HSZ topic, HSZ item, HDDEDATA data, ULONG_PTR, ULONG_PTR) {
    switch (type) {
        case XTYP_CONNECT:
            return reinterpret_cast<HDDEDATA>(static_cast<ULONG_PTR>(DdeCmpStringHandles(topic, serviceHandle) == 0));
        case XTYP_EXECUTE: {
            char command[1024] = {};
            DdeGetData(data, reinterpret_cast<LPBYTE>(command), sizeof(command) - 1, 0);
            ExecuteDde(command);
            return reinterpret_cast<HDDEDATA>(DDE_FACK);
        }
        case XTYP_REQUEST: {
            char name[64] = {};
            DdeQueryStringA(ddeInstance, item, name, sizeof(name), CP_WINANSI);
            if (format != CF_TEXT || std::strcmp(name, profile->statusItem) != 0) {
                return nullptr;
            }
            const char* reply = profile->replies[static_cast<int>(state)];
            return DdeCreateDataHandle(ddeInstance, reinterpret_cast<LPBYTE>(const_cast<char*>(reply)),
                                       static_cast<DWORD>(std::strlen(reply) + 1), 0, item, CF_TEXT, 0);
        }
        default:
            return nullptr;
    }
}

// Replies of the window-message players to their status message.
static LRESULT WindowStatus() {
    if (kind == Kind::kGratzer) {
        return state == State::kPlaying ? 1 : state == State::kPaused ? 2 : 3;
    }
    return state == State::kPlaying ? 1 : state == State::kPaused ? 3 : 0;
}

static bool OnUserMessage(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (kind == Kind::kGratzer && wParam == 104) {
        *result = WindowStatus();
        return true;
    }
    if (lParam == 104) {
        *result = WindowStatus();
        return true;
    }
    if (kind == Kind::kScmpx) {
        if (lParam == 101) {
            scmpxPath.clear();
            Log("user 101");
        } else if (lParam == 100) {
            if (static_cast<intptr_t>(wParam) != 0) {
                scmpxPath += static_cast<char>(wParam);
            }
        } else if (lParam == 102) {
            PlayFile(scmpxPath);
        }
        return true;
    }
    Log("user " + std::to_string(static_cast<long long>(wParam)) + " " +
        std::to_string(static_cast<long long>(lParam)));
    return true;
}

static void OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    Log("command " + std::to_string(id) + " " + std::to_string(static_cast<long long>(lParam)));
    if (id == 40045) {
        Play(std::to_string(id));
    } else if (id == 40022) {
        // Gratzer plays its favourite, which the selector writes to the
        // registry right after this command: read it a moment later.
        Play(std::to_string(id));
        SetTimer(mainWindow, kFavoritesTimer, 300, nullptr);
    } else if (id == 40046 || id == kPauseId) {
        TogglePause();
    } else if (id == 40047 || id == kStopId) {
        SetState(State::kStopped);
    } else if (id == 40001) {
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    }
}

static void LogFavorites() {
    char path[1024] = {};
    DWORD size = sizeof(path) - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Gratzer", "Favorites", RRF_RT_REG_SZ, nullptr, path, &size) !=
        ERROR_SUCCESS) {
        Log("favorites none");
        return;
    }
    Log(std::string("favorites ") + path);
    if (listFolder) {
        LogFolder(path);
    }
}

// The process that started this one: the selector, in the tests.
static HANDLE OpenParentProcess() {
    const DWORD self = GetCurrentProcessId();
    DWORD parent = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == self) {
            parent = entry.th32ParentProcessID;
        }
    }
    CloseHandle(snapshot);
    return parent ? OpenProcess(PROCESS_VM_READ, FALSE, parent) : nullptr;
}

// Windows copies a WM_DROPFILES block posted from another process into the
// receiver; Wine passes the sender's address as it is. Under Wine the fake
// therefore reads the block (a fixed global memory block, whose handle is its
// address) from the process that started it. The first file's name, or "".
static std::string ReadForeignDrop(HDROP drop) {
    HANDLE parent = OpenParentProcess();
    if (!parent) {
        return std::string();
    }
    const char* base = reinterpret_cast<const char*>(drop);
    DROPFILES header = {};
    SIZE_T got = 0;
    std::string bytes;
    if (ReadProcessMemory(parent, base, &header, sizeof(header), &got) && got == sizeof(header) &&
        header.pFiles >= sizeof(header) && header.pFiles < 4096) {
        const size_t unit = header.fWide ? 2 : 1;
        char chunk[2] = {};
        for (size_t at = header.pFiles; bytes.size() < 8192; at += unit) {
            if (!ReadProcessMemory(parent, base + at, chunk, unit, &got) || got != unit ||
                (chunk[0] == 0 && (unit == 1 || chunk[1] == 0))) {
                break;
            }
            bytes.append(chunk, unit);
        }
        if (header.fWide && !bytes.empty()) {
            const std::wstring wide(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
            const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                              nullptr, nullptr);
            bytes.assign(n, '\0');
            WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0], n, nullptr, nullptr);
        }
    }
    CloseHandle(parent);
    return bytes;
}

static bool UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// A file dropped on the window: the first file of the drop is played.
static void OnDropFiles(HDROP drop) {
    std::string path;
    UINT count = 0;
    if (UnderWine()) {
        path = ReadForeignDrop(drop);
        count = path.empty() ? 0 : 1;
    } else {
        char name[MAX_PATH * 2] = {};
        count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        if (count > 0 && DragQueryFileA(drop, 0, name, sizeof(name)) > 0) {
            path = name;
        }
        DragFinish(drop);
    }
    if (path.empty()) {
        Log("drop empty");
        return;
    }
    Log("drop " + std::to_string(count) + " " + path);
    PlayFile(path);
}

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
        case WM_USER:
            if (OnUserMessage(wParam, lParam, &result)) {
                return result;
            }
            break;
        case WM_COPYDATA: {
            const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            Log("copydata " + std::to_string(copy->dwData) + " " +
                std::string(static_cast<const char*>(copy->lpData), copy->cbData > 0 ? copy->cbData - 1 : 0));
            return TRUE;
        }
        case WM_COMMAND:
            OnCommand(wParam, lParam);
            return 0;
        case WM_KEYDOWN:
            Log("keydown " + std::to_string(wParam));
            if (wParam == VK_SPACE) {
                SetState(State::kStopped);
            }
            return 0;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_TIMER:
            if (wParam == kFavoritesTimer) {
                KillTimer(window, kFavoritesTimer);
                LogFavorites();
            } else if (wParam == kSongTimer) {
                Log("end");
                SetState(State::kStopped);
                if (kind == Kind::kCommandLine) {
                    PostMessageA(window, WM_CLOSE, 0, 0);
                }
            }
            return 0;
        case WM_CLOSE:
            Log("close");
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static void FindProfile() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    const char* name = std::strrchr(path, '\\');
    name = name ? name + 1 : path;
    for (const Profile& row : kProfiles) {
        if (lstrcmpiA(name, row.exe) == 0) {
            profile = &row;
            kind = row.kind;
        }
    }
}

static void CreatePlayerWindow(HINSTANCE instance) {
    const char* className = "FakePlayer";
    const char* title = "Fake Player";
    if (kind == Kind::kWinamp) {
        className = "Winamp v1.x";
    } else if (kind == Kind::kScmpx) {
        className = "SCMPX";
    } else if (kind == Kind::kGratzer) {
        title = "Gratzer Sound Station";
    } else if (kind == Kind::kAudioactive) {
        title = "Audioactive Player - fake";
    }
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    // Audioactive Player takes its songs by drag-and-drop.
    const DWORD exStyle = kind == Kind::kAudioactive ? WS_EX_ACCEPTFILES : 0;
    mainWindow = CreateWindowExA(exStyle, className, title, WS_OVERLAPPEDWINDOW, 0, 0, 320, 120, nullptr, nullptr,
                                 instance, nullptr);
    if (kind == Kind::kAudioactive) {
        CreateWindowA("Button", "pause", WS_CHILD | WS_VISIBLE, 0, 0, 60, 20, mainWindow,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPauseId)), instance, nullptr);
        CreateWindowA("Button", "stop", WS_CHILD | WS_VISIBLE, 60, 0, 60, 20, mainWindow,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStopId)), instance, nullptr);
        // FAKEPLAYER_SLIDER_WIDTH makes a slider too narrow to be the position slider.
        const char* width = std::getenv("FAKEPLAYER_SLIDER_WIDTH");
        slider = CreateWindowA(TRACKBAR_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 30,
                               width ? static_cast<int>(std::strtol(width, nullptr, 10)) : 200, 24, mainWindow, nullptr,
                               instance, nullptr);
        SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showState) {
    InitCommonControls();
    FindProfile();
    if (const char* ms = std::getenv("FAKEPLAYER_SONG_MS")) {
        songMs = static_cast<UINT>(std::strtoul(ms, nullptr, 10));
    }
    if (const char* ms = std::getenv("FAKEPLAYER_DDE_DELAY_MS")) {
        ddeDelayMs = static_cast<UINT>(std::strtoul(ms, nullptr, 10));
    }
    listFolder = std::getenv("FAKEPLAYER_LIST_FOLDER") != nullptr;
    CreatePlayerWindow(instance);
    ShowWindow(mainWindow, showState);
    Log(std::string("start ") + commandLine);
    if (kind == Kind::kDde) {
        DdeInitializeA(&ddeInstance, reinterpret_cast<PFNCALLBACK>(DdeCallback),
                       APPCLASS_STANDARD | CBF_SKIP_REGISTRATIONS | CBF_SKIP_UNREGISTRATIONS, 0);
        serviceHandle = DdeCreateStringHandleA(ddeInstance, profile->service, CP_WINANSI);
        DdeNameService(ddeInstance, serviceHandle, nullptr, DNS_REGISTER);
    }
    // A command-line player plays the quoted song it was given, then exits.
    if (kind == Kind::kCommandLine && std::strchr(commandLine, '"')) {
        Play(commandLine);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (ddeInstance) {
        DdeNameService(ddeInstance, serviceHandle, nullptr, DNS_UNREGISTER);
        DdeFreeStringHandle(ddeInstance, serviceHandle);
        DdeUninitialize(ddeInstance);
    }
    Log("exit");
    return 0;
}
