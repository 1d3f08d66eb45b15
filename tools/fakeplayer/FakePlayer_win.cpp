// fakeplayer: a stand-in for the external players in tests. Its behaviour
// follows its own executable name: DDE players serve their service, topic and
// status item; window-message players create their window class or title and
// answer the player messages; other names act as command-line players that
// play the song on their command line for a while and exit. A "song" lasts
// FAKEPLAYER_SONG_MS milliseconds (default 1000). Every command received is
// appended as one line to the file named by FAKEPLAYER_LOG, and so is the end
// of a DDE conversation by the selector ("terminate"). A DDE player
// answers a play command only after FAKEPLAYER_DDE_DELAY_MS milliseconds
// (default 0), as a player busy loading a song does. With FAKEPLAYER_LIST_FOLDER
// set, every song played is followed by a line naming the files beside it.
// FAKEPLAYER_SLIDER_WIDTH sets the width of Audioactive Player's position slider.
// FAKEPLAYER_OPEN_DELAY_MS delays the window, as a player slow to start does.
// Misbehaviour on request: FAKEPLAYER_QUIT_DELAY_MS holds the answer to a DDE
// quit command that long; FAKEPLAYER_CLOSE_DELAY_MS keeps the process running
// that long after it was told to close (its window gone); FAKEPLAYER_NO_CLOSE
// makes it ignore every request to close; FAKEPLAYER_LATE_ANSWER_MS leaves
// the status message or DDE status request unanswered that long.
// FAKEPLAYER_BUSY_MS answers DDE status requests busy (a negative
// acknowledgement with the busy flag) for that long after each song starts, as
// a player busy loading does; FAKEPLAYER_BUSY_PLAY answers every DDE play
// command busy and plays nothing; FAKEPLAYER_HANG_UP_AFTER_STATUS ends the DDE
// conversation from the player's side right after answering that many status
// requests, the process running on. FAKEPLAYER_STAY_OPEN keeps a command-line
// player open after its song, stopped, taking further songs by file drops.
#include <windows.h>

#include <commctrl.h>
#include <dde.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

enum class Kind { kCommandLine, kDde, kWinamp, kScmpx, kGratzer, kAudioactive };
enum class State { kStopped, kPlaying, kPaused };

// The DDE command words of one player: its play command is the prefix, the
// path (in double quotes when quoted) and then exactly the tail, a sound
// module option being allowed after it where the player takes one; pause,
// resume, stop and quit are its own words. Another kind's words are refused
// as the real player refuses what it does not know.
struct DdeWords {
    const char* playPrefix;
    bool quoted;
    const char* playTail;
    // How a sound module option begins ("" for a letter or digit); null
    // when the player takes none.
    const char* optionLead;
    const char* pause;
    const char* resume;  // empty when pause toggles
    const char* stop;
    const char* quit;
};

struct Profile {
    const char* exe;
    Kind kind;
    const char* service;
    const char* statusItem;
    const char* replies[3];  // stopped, playing, paused
    DdeWords words;
};

static const Profile kProfiles[] = {
    {"wfp.exe",
     Kind::kDde,
     "WFP",
     "PlayStatus",
     {"Stop", "Play", "Pause"},
     {"", true, " /DQ", "/D ", "/PAUSE", "/RESUME", "/STOP", "/QUIT"}},
    {"mpvg.exe",
     Kind::kDde,
     "mpvg",
     "playStatus",
     {"end", "play", "pause"},
     {"open ", false, "", nullptr, "playPause", "", "playEnd", "appExit"}},
    {"tmidi.exe",
     Kind::kDde,
     "TMIDI",
     "getstatus",
     {"stop", "play", "pause"},
     {"playfile ", true, "", "", "pause", "resume", "stop", "EXIT"}},
    {"dpw.exe",
     Kind::kDde,
     "DpwDDE",
     "PlayStatus",
     {"Stop", "Play", "Pause"},
     {"", true, "", "-", "<pause", "<resume", "<stop", "<exit"}},
    {"kbmplay.exe",
     Kind::kDde,
     "KbMedia Player",
     "Status",
     {"Stop", "Playing", "Pause"},
     {"", true, " /na /play", nullptr, "/pause", "", "/stop", "/quit"}},
    {"lilith.exe",
     Kind::kDde,
     "LILITH_EXT_CONTROL",
     "/status",
     {"stop", "play", "pause"},
     {"/dopen ", true, " /play", nullptr, "/pause", "", "/stop", "/exit"}},
    {"winamp.exe", Kind::kWinamp, "", "", {}, {}},
    {"scmpx.exe", Kind::kScmpx, "", "", {}, {}},
    {"gratzer.exe", Kind::kGratzer, "", "", {}, {}},
    {"aaplay32.exe", Kind::kAudioactive, "", "", {}, {}},
};

static const Profile* profile = nullptr;
static Kind kind = Kind::kCommandLine;
static State state = State::kStopped;
static HWND mainWindow = nullptr;
static HWND slider = nullptr;
static UINT songMs = 1000;
static UINT ddeDelayMs = 0;
static UINT quitDelayMs = 0;
static UINT closeDelayMs = 0;
static bool refuseClose = false;
static bool stayOpen = false;
// Until this tick count the status message gets no state (0), as a player
// still busy starting answers (FAKEPLAYER_LATE_ANSWER_MS after the start).
static DWORD answerFrom = 0;
static bool listFolder = false;
// Busy answers on request, and the player's own end of the conversation.
static DWORD busyMs = 0;
static DWORD songStart = 0;
static bool busyPlay = false;
static unsigned statusAnswersLeft = 0;
static const ULONG_PTR kDdeBusy = 0x4000;
static void EndDdeConversation(HWND window);
// SCMPX's path as it arrives byte by byte: spoilt by a byte that was not
// sign-extended, complete with its terminating NUL.
static std::string scmpxPath;
static bool scmpxSpoilt = false;
static bool scmpxTerminated = false;
// Winamp's steps towards playing: 1 playlist cleared, 2 file added by
// WM_COPYDATA, 3 and 4 the two messages that follow; play only after 4.
static int winampStep = 0;
static std::string winampPath;
static const UINT_PTR kSongTimer = 1;
static const UINT_PTR kFavoritesTimer = 2;
static const UINT_PTR kExitTimer = 3;
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
    songStart = GetTickCount();
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

// The path of a play command in this player's words, or false when the
// command is not one.
static bool ParsePlayCommand(const std::string& command, std::string* path) {
    const DdeWords& words = profile->words;
    if (!StartsWith(command, words.playPrefix)) {
        return false;
    }
    std::string rest = command.substr(std::strlen(words.playPrefix));
    if (words.quoted) {
        const size_t close = rest.size() > 1 && rest[0] == '"' ? rest.find('"', 1) : std::string::npos;
        if (close == std::string::npos) {
            return false;
        }
        *path = rest.substr(1, close - 1);
        rest = rest.substr(close + 1);
    } else {
        *path = rest;
        rest.clear();
    }
    if (!StartsWith(rest, words.playTail)) {
        return false;
    }
    rest = rest.substr(std::strlen(words.playTail));
    // A sound module option: one blank and an option of the player's own form.
    if (rest.empty()) {
        return true;
    }
    if (!words.optionLead || rest.size() < 2 || rest[0] != ' ') {
        return false;
    }
    const std::string option = rest.substr(1);
    return words.optionLead[0] ? StartsWith(option, words.optionLead) : IsCharAlphaNumericA(option[0]) != 0;
}

// One DDE command; false when this player does not know it.
static bool ExecuteDde(const std::string& command) {
    const DdeWords& words = profile->words;
    std::string path;
    if (ParsePlayCommand(command, &path)) {
        Log("execute " + command);
        if (ddeDelayMs) {
            Sleep(ddeDelayMs);
        }
        Play(command);
        if (listFolder) {
            LogFolder(path);
        }
    } else if (command == words.pause) {
        Log("execute " + command);
        if (!words.resume[0] || state == State::kPlaying) {
            TogglePause();
        }
    } else if (words.resume[0] && command == words.resume) {
        Log("execute " + command);
        if (state == State::kPaused) {
            TogglePause();
        }
    } else if (command == words.stop) {
        Log("execute " + command);
        SetState(State::kStopped);
    } else if (command == words.quit) {
        Log("execute " + command);
        if (quitDelayMs) {
            Sleep(quitDelayMs);
        }
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    } else {
        Log("refused " + command);
        return false;
    }
    return true;
}

// The DDE side speaks the DDE messages itself, as a player's DDEML does on
// Windows: one reply per transaction. (Wine's DDEML server follows each
// answered request with an extra acknowledgement, which the client, when it
// arrives late, takes as the reply to its next transaction.) One conversation
// at a time, served by the main window.
static HWND ddeClient = nullptr;

static bool AtomNames(ATOM atom, const char* name) {
    char text[256] = {};
    return GlobalGetAtomNameA(atom, text, sizeof(text)) > 0 && lstrcmpiA(text, name) == 0;
}

// The topic is the service's own name; a zero atom matches anything.
static void OnDdeInitiate(HWND window, HWND client, LPARAM lParam) {
    const ATOM service = LOWORD(lParam);
    const ATOM topic = HIWORD(lParam);
    if ((service && !AtomNames(service, profile->service)) || (topic && !AtomNames(topic, profile->service))) {
        return;
    }
    ddeClient = client;
    SendMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window),
                 MAKELPARAM(GlobalAddAtomA(profile->service), GlobalAddAtomA(profile->service)));
}

static void OnDdeExecute(HWND window, HWND client, LPARAM lParam) {
    UINT_PTR unused = 0;
    UINT_PTR handle = 0;
    UnpackDDElParam(WM_DDE_EXECUTE, lParam, &unused, &handle);
    const HGLOBAL commands = reinterpret_cast<HGLOBAL>(handle);
    std::string command;
    if (const char* text = static_cast<const char*>(GlobalLock(commands))) {
        command.assign(text, strnlen(text, GlobalSize(commands)));
        GlobalUnlock(commands);
    }
    // A command the player does not know is answered with a negative
    // acknowledgement, which fails the client's transaction.
    std::string path;
    const bool busy = busyPlay && ParsePlayCommand(command, &path);
    if (busy) {
        Log("busy " + command);
    }
    const UINT_PTR answer = busy ? kDdeBusy : ExecuteDde(command) ? 0x8000 : 0;
    PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window),
                 PackDDElParam(WM_DDE_ACK, answer, reinterpret_cast<UINT_PTR>(commands)));
}

// The status item in CF_TEXT is answered with data; anything else with a
// negative acknowledgement.
static void OnDdeRequest(HWND window, HWND client, LPARAM lParam) {
    const UINT format = LOWORD(lParam);
    const ATOM item = HIWORD(lParam);
    if (format != CF_TEXT || !AtomNames(item, profile->statusItem)) {
        PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window), PackDDElParam(WM_DDE_ACK, 0, item));
        return;
    }
    if (GetTickCount() < answerFrom) {
        // Still starting: the request is left unanswered and times out.
        Log("status unanswered");
        return;
    }
    if (GetTickCount() - songStart < busyMs) {
        Log("status busy");
        PostMessageA(client, WM_DDE_ACK, reinterpret_cast<WPARAM>(window), PackDDElParam(WM_DDE_ACK, kDdeBusy, item));
        return;
    }
    const char* reply = profile->replies[static_cast<int>(state)];
    const size_t size = std::strlen(reply) + 1;
    const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, offsetof(DDEDATA, Value) + size);
    DDEDATA* block = static_cast<DDEDATA*>(GlobalLock(data));
    block->unused = 0;
    block->fResponse = 1;
    block->fRelease = 1;
    block->reserved = 0;
    block->fAckReq = 0;
    block->cfFormat = CF_TEXT;
    std::memcpy(block->Value, reply, size);
    GlobalUnlock(data);
    if (!PostMessageA(client, WM_DDE_DATA, reinterpret_cast<WPARAM>(window),
                      PackDDElParam(WM_DDE_DATA, reinterpret_cast<UINT_PTR>(data), item))) {
        GlobalFree(data);
    }
    if (statusAnswersLeft > 0 && --statusAnswersLeft == 0) {
        Log("hang up");
        EndDdeConversation(window);
    }
}

// The conversation ends from either side with a terminate, answered by one.
static void EndDdeConversation(HWND window) {
    if (ddeClient) {
        PostMessageA(ddeClient, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window), 0);
        ddeClient = nullptr;
    }
}

static bool OnDdeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (kind != Kind::kDde || message < WM_DDE_FIRST || message > WM_DDE_LAST) {
        return false;
    }
    const HWND client = reinterpret_cast<HWND>(wParam);
    switch (message) {
        case WM_DDE_INITIATE:
            OnDdeInitiate(window, client, lParam);
            break;
        case WM_DDE_EXECUTE:
            OnDdeExecute(window, client, lParam);
            break;
        case WM_DDE_REQUEST:
            OnDdeRequest(window, client, lParam);
            break;
        case WM_DDE_TERMINATE:
            if (client == ddeClient) {
                Log("terminate");
                EndDdeConversation(window);
            }
            break;
        default:
            break;
    }
    return true;
}

// Replies of the window-message players to their status message.
static LRESULT WindowStatus() {
    if (GetTickCount() < answerFrom) {
        Log("status unanswered");
        return 0;
    }
    if (kind == Kind::kGratzer) {
        return state == State::kPlaying ? 1 : state == State::kPaused ? 2 : 3;
    }
    return state == State::kPlaying ? 1 : state == State::kPaused ? 3 : 0;
}

// A byte of 0x80 and above arrives sign-extended, as the player reads a
// char; the path plays only once its terminating NUL came.
static void OnScmpxMessage(intptr_t value, LPARAM lParam) {
    if (lParam == 101) {
        scmpxPath.clear();
        scmpxSpoilt = false;
        scmpxTerminated = false;
        Log("user 101");
    } else if (lParam == 100) {
        if (value == 0) {
            scmpxTerminated = true;
        } else if (value < -128 || value > 127 || scmpxTerminated) {
            scmpxSpoilt = true;
        } else {
            scmpxPath += static_cast<char>(value);
        }
    } else if (lParam == 102) {
        if (scmpxSpoilt || !scmpxTerminated) {
            Log("refused " + scmpxPath);
        } else {
            PlayFile(scmpxPath);
        }
    }
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
        OnScmpxMessage(static_cast<intptr_t>(wParam), lParam);
        return true;
    }
    if (kind == Kind::kWinamp) {
        // 101 clears the playlist; 252 and 253 must follow the added file in order.
        winampStep = lParam == 101                      ? 1
                     : lParam == 252 && winampStep == 2 ? 3
                     : lParam == 253 && winampStep == 3 ? 4
                                                        : 0;
    }
    Log("user " + std::to_string(static_cast<long long>(wParam)) + " " +
        std::to_string(static_cast<long long>(lParam)));
    return true;
}

static void OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    Log("command " + std::to_string(id) + " " + std::to_string(static_cast<long long>(lParam)));
    if (id == 40045) {
        if (winampStep == 4) {
            PlayFile(winampPath);
        } else {
            Log("refused 40045");
        }
        winampStep = 0;
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
    if (OnDdeMessage(window, message, wParam, lParam)) {
        return 0;
    }
    switch (message) {
        case WM_USER:
            if (OnUserMessage(wParam, lParam, &result)) {
                return result;
            }
            break;
        case WM_COPYDATA: {
            const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            const std::string path(static_cast<const char*>(copy->lpData), copy->cbData > 0 ? copy->cbData - 1 : 0);
            Log("copydata " + std::to_string(copy->dwData) + " " + path);
            winampPath = path;
            winampStep = winampStep == 1 && copy->dwData == 100 ? 2 : 0;
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
            if (wParam == kExitTimer) {
                DestroyWindow(window);
            } else if (wParam == kFavoritesTimer) {
                KillTimer(window, kFavoritesTimer);
                LogFavorites();
            } else if (wParam == kSongTimer) {
                Log("end");
                SetState(State::kStopped);
                if (kind == Kind::kCommandLine && !stayOpen) {
                    PostMessageA(window, WM_CLOSE, 0, 0);
                }
            }
            return 0;
        case WM_CLOSE:
            if (refuseClose) {
                Log("close refused");
                return 0;
            }
            Log("close");
            EndDdeConversation(window);
            if (closeDelayMs) {
                // Gone from sight, but the process lingers.
                ShowWindow(window, SW_HIDE);
                SetTimer(window, kExitTimer, closeDelayMs, nullptr);
                return 0;
            }
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
    if (const char* ms = std::getenv("FAKEPLAYER_QUIT_DELAY_MS")) {
        quitDelayMs = static_cast<UINT>(std::strtoul(ms, nullptr, 10));
    }
    if (const char* ms = std::getenv("FAKEPLAYER_CLOSE_DELAY_MS")) {
        closeDelayMs = static_cast<UINT>(std::strtoul(ms, nullptr, 10));
    }
    refuseClose = std::getenv("FAKEPLAYER_NO_CLOSE") != nullptr;
    stayOpen = std::getenv("FAKEPLAYER_STAY_OPEN") != nullptr;
    if (const char* ms = std::getenv("FAKEPLAYER_LATE_ANSWER_MS")) {
        answerFrom = GetTickCount() + static_cast<DWORD>(std::strtoul(ms, nullptr, 10));
    }
    if (const char* ms = std::getenv("FAKEPLAYER_BUSY_MS")) {
        busyMs = static_cast<DWORD>(std::strtoul(ms, nullptr, 10));
    }
    busyPlay = std::getenv("FAKEPLAYER_BUSY_PLAY") != nullptr;
    if (const char* count = std::getenv("FAKEPLAYER_HANG_UP_AFTER_STATUS")) {
        statusAnswersLeft = static_cast<unsigned>(std::strtoul(count, nullptr, 10));
    }
    if (const char* ms = std::getenv("FAKEPLAYER_OPEN_DELAY_MS")) {
        // Idle in a message loop first, so the launcher's wait for input idle
        // ends before the window (and with it the DDE service) exists.
        SetTimer(nullptr, 0, static_cast<UINT>(std::strtoul(ms, nullptr, 10)), nullptr);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != WM_TIMER) {
            DispatchMessageA(&msg);
        }
    }
    CreatePlayerWindow(instance);
    ShowWindow(mainWindow, showState);
    Log(std::string("start ") + commandLine);
    // A command-line player plays the quoted song it was given, then exits.
    if (kind == Kind::kCommandLine && std::strchr(commandLine, '"')) {
        Play(commandLine);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Log("exit");
    return 0;
}
