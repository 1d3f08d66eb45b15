// The journey driver: Quillory.exe in a process of its own, driven through
// its message loop and read back through its windows.
#include "journeys/JourneyDriver_win.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <memory>

#include "TestPaths.h"
#include "app/RegistryStore_win.h"

namespace {

// Time a question to the program's windows may take before the journey
// takes the program for hung.
constexpr UINT kAnswerTimeoutMs = 10000;

// The build folder, one above the test program's own; ends in '\\'.
std::string BuildFolder() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path.resize(path.find_last_of('\\'));
    path.resize(path.find_last_of('\\') + 1);
    return path;
}

std::string ProgramPath() {
    return BuildFolder() + "bin\\Quillory.exe";
}

// FAKEPLAYER_EXE when set, else the one built beside the program.
std::string FakePlayerProgram() {
    const char* path = std::getenv("FAKEPLAYER_EXE");
    return path ? path : BuildFolder() + "fakeplayer\\fakeplayer.exe";
}

// The journey's environment block with the variables replaced or added.
std::string EnvironmentBlock(const Journey::Variables& variables) {
    std::vector<std::string> entries;
    if (char* block = GetEnvironmentStringsA()) {
        for (const char* entry = block; *entry; entry += strlen(entry) + 1) {
            entries.push_back(entry);
        }
        FreeEnvironmentStringsA(block);
    }
    for (const auto& variable : variables) {
        const std::string prefix = variable.first + "=";
        const auto same = std::find_if(entries.begin(), entries.end(), [&](const std::string& entry) {
            return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, entry.c_str(),
                                  int(std::min(entry.size(), prefix.size())), prefix.c_str(),
                                  int(prefix.size())) == CSTR_EQUAL;
        });
        if (same != entries.end()) {
            *same = prefix + variable.second;
        } else {
            entries.push_back(prefix + variable.second);
        }
    }
    std::string block;
    for (const std::string& entry : entries) {
        block += entry;
        block += '\0';
    }
    block += '\0';
    return block;
}

std::string SettingsKey(const std::string& key) {
    return std::string(kSettingsRootKey) + "\\" + key;
}

bool WriteSettingValue(const std::string& key, const std::string& name, DWORD type, const void* data, DWORD bytes) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKey(key).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const bool written = RegSetValueExA(handle, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes) == 0;
    RegCloseKey(handle);
    return written;
}

// A block of memory inside the program's process, for the control messages
// whose arguments point to memory of the control's own process.
class RemoteBlock {
   public:
    RemoteBlock(HANDLE process, size_t size) : process_(process) {
        base_ = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteBlock() {
        if (base_) {
            VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        }
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool Valid() const {
        return base_ != nullptr;
    }
    char* At(size_t offset) const {
        return base_ + offset;
    }
    bool Write(size_t offset, const void* bytes, size_t n) const {
        return WriteProcessMemory(process_, base_ + offset, bytes, n, nullptr) != 0;
    }
    std::string ReadText(size_t offset, size_t capacity) const {
        std::string text(capacity, '\0');
        if (!ReadProcessMemory(process_, base_ + offset, &text[0], capacity, nullptr)) {
            return std::string();
        }
        text.resize(strnlen(text.c_str(), capacity));
        return text;
    }

   private:
    HANDLE process_;
    char* base_ = nullptr;
};

// A message to a window of the program, answered within the time-out; -1
// when it was not answered.
LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &result)) {
        return -1;
    }
    return LRESULT(result);
}

struct ChildSearch {
    const char* className;
    HWND found;
};

HWND FindDescendant(HWND parent, const char* className) {
    ChildSearch search = {className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<ChildSearch*>(data);
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpiA(name, s->className) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

struct BoxSearch {
    DWORD processId;
    HWND main;
    HWND found;
};

HWND FindDialogOf(DWORD processId, HWND main) {
    BoxSearch search = {processId, main, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<BoxSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (owner == s->processId && window != s->main && IsWindowVisible(window) &&
                lstrcmpA(name, "#32770") == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&search));
    return search.found;
}

std::string WindowText(HWND window) {
    char text[2048] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length);
    return text;
}

// The non-empty static texts of a dialog, joined by line breaks.
std::string StaticTexts(HWND dialog) {
    std::string texts;
    for (HWND child = nullptr; (child = FindWindowExA(dialog, child, "Static", nullptr)) != nullptr;) {
        const std::string text = WindowText(child);
        if (!text.empty()) {
            texts += (texts.empty() ? "" : "\n") + text;
        }
    }
    return texts;
}

// The program's main window that is as wanted, or null.
HWND MainWindowOf(DWORD processId, const std::function<bool(HWND)>& wanted) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "Kadrel", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && wanted(window)) {
            return window;
        }
    }
    return nullptr;
}

std::unique_ptr<ScratchFolder>& JourneyFolder() {
    static std::unique_ptr<ScratchFolder> folder;
    return folder;
}

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], int(wide.size()));
    wide.resize(n > 0 ? size_t(n - 1) : 0);
    return wide;
}

}  // namespace

void Journey::SetUp() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRootKey);
    JourneyFolder() = std::make_unique<ScratchFolder>();
    folder_ = JourneyFolder()->Path();
}

// A player the program started (or a journey's own helper) must not outlive
// the journey: it would hold its files and answer the next journey's program.
void Journey::EndProgramsOfFolder() const {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                     entry.th32ProcessID);
        if (!process) {
            continue;
        }
        char image[MAX_PATH * 2] = {};
        DWORD size = sizeof image;
        if (QueryFullProcessImageNameA(process, 0, image, &size) && size > folder_.size() &&
            CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, image, int(folder_.size()), folder_.c_str(),
                           int(folder_.size())) == CSTR_EQUAL) {
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
    CloseHandle(snapshot);
}

void Journey::TearDown() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            if (main_ && IsWindow(main_)) {
                PostMessageA(main_, WM_CLOSE, 0, 0);
            }
            if (WaitForSingleObject(process_.hProcess, 5000) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 1);
                WaitForSingleObject(process_.hProcess, 5000);
            }
        }
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
        process_ = {};
    }
    EndProgramsOfFolder();
    JourneyFolder().reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRootKey);
}

bool Journey::Start(const std::string& arguments) {
    return Start(arguments, Variables());
}

bool Journey::Start(const std::string& arguments, const Variables& environment) {
    const std::string exe = ProgramPath();
    std::string command = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string block = environment.empty() ? std::string() : EnvironmentBlock(environment);
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, block.empty() ? nullptr : &block[0],
                        nullptr, &startup, &process_)) {
        ADD_FAILURE() << "CreateProcess error " << GetLastError();
        return false;
    }
    const DWORD processId = process_.dwProcessId;
    return WaitUntil(
        [&] {
            main_ = MainWindowOf(processId, [](HWND window) { return IsWindowVisible(window) != 0; });
            return main_ != nullptr;
        },
        15000);
}

bool Journey::Close(DWORD milliseconds) {
    PostMessageA(main_, WM_CLOSE, 0, 0);
    return WaitForExit(milliseconds);
}

bool Journey::WaitForExit(DWORD milliseconds) {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

HWND Journey::List() const {
    return FindDescendant(main_, WC_LISTVIEWA);
}

HWND Journey::StatusBar() const {
    return FindDescendant(main_, STATUSCLASSNAMEA);
}

int Journey::RowCount() const {
    return int(Ask(List(), LVM_GETITEMCOUNT, 0, 0));
}

std::string Journey::Cell(int row, int column) const {
    constexpr size_t kCapacity = 1024;
    RemoteBlock block(process_.hProcess, sizeof(LVITEMA) + kCapacity);
    if (!block.Valid()) {
        return std::string();
    }
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = block.At(sizeof item);
    item.cchTextMax = int(kCapacity);
    block.Write(0, &item, sizeof item);
    Ask(List(), LVM_GETITEMTEXTA, WPARAM(row), LPARAM(block.At(0)));
    return block.ReadText(sizeof item, kCapacity);
}

std::vector<int> Journey::SelectedRows() const {
    std::vector<int> rows;
    HWND list = List();
    for (LRESULT row = -1; (row = Ask(list, LVM_GETNEXTITEM, WPARAM(row), LVNI_SELECTED)) >= 0;) {
        rows.push_back(int(row));
    }
    return rows;
}

std::string Journey::Status(int part) const {
    constexpr size_t kCapacity = 1024;
    RemoteBlock block(process_.hProcess, kCapacity);
    if (!block.Valid()) {
        return std::string();
    }
    HWND bar = StatusBar();
    const LRESULT length = Ask(bar, SB_GETTEXTLENGTHA, WPARAM(part), 0);
    if (length < 0 || LOWORD(length) >= kCapacity) {
        return std::string();
    }
    Ask(bar, SB_GETTEXTA, WPARAM(part), LPARAM(block.At(0)));
    return block.ReadText(0, kCapacity);
}

void Journey::Key(HWND target, UINT virtualKey) const {
    const LPARAM scan = LPARAM(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(target, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageA(target, WM_KEYUP, virtualKey, scan | 1 | (LPARAM(3) << 30));
}

void Journey::Menu(int commandId) const {
    PostMessageA(main_, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

ShownBox Journey::WaitForBox(DWORD milliseconds) const {
    ShownBox box;
    WaitUntil([&] { return (box.window = FindDialogOf(process_.dwProcessId, main_)) != nullptr; }, milliseconds);
    if (!box.window) {
        return box;
    }
    box.caption = WindowText(box.window);
    box.text = StaticTexts(box.window);
    return box;
}

bool Journey::Answer(const ShownBox& box, int buttonId) const {
    if (!box.window) {
        return false;
    }
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
    return WaitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, 10000);
}

bool Journey::WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= milliseconds) {
            return false;
        }
        Sleep(10);
    }
}

bool Journey::WriteFile(const std::string& name, const std::string& bytes) const {
    return WriteWholeFile(folder_ + name, bytes);
}

bool Journey::FileExists(const std::string& name) const {
    return GetFileAttributesA((folder_ + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Journey::WriteFileW(const std::wstring& name, const std::string& bytes) const {
    HANDLE file = CreateFileW((Wide(folder_) + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

bool Journey::FileExistsW(const std::wstring& name) const {
    return GetFileAttributesW((Wide(folder_) + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Journey::MidiSong(const std::string& title) {
    std::string track;
    track += std::string("\x00\xFF\x03", 3) + char(title.size()) + title;
    track += std::string("\x00\xFF\x2F\x00", 4);
    std::string song("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
    song += "MTrk";
    const uint32_t length = uint32_t(track.size());
    song += char(length >> 24);
    song += char(length >> 16);
    song += char(length >> 8);
    song += char(length);
    return song + track;
}

bool Journey::MakeFolder(const std::string& name) const {
    return JourneyFolder()->MakeFolder(name);
}

std::vector<std::string> Journey::FileLines(const std::string& name) const {
    std::vector<std::string> lines;
    const std::string text = ReadWholeFile(folder_ + name);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

bool Journey::CopyFakePlayer(const std::string& name) const {
    return CopyFileA(FakePlayerProgram().c_str(), (folder_ + name).c_str(), FALSE) != 0;
}

bool Journey::WriteSetting(const std::string& key, const std::string& name, uint32_t value) {
    const DWORD number = value;
    return WriteSettingValue(key, name, REG_DWORD, &number, sizeof number);
}

bool Journey::WriteSetting(const std::string& key, const std::string& name, const std::string& text) {
    return WriteSettingValue(key, name, REG_SZ, text.c_str(), DWORD(text.size() + 1));
}

bool Journey::ReadSetting(const std::string& key, const std::string& name, uint32_t* value) {
    DWORD number = 0;
    DWORD bytes = sizeof number;
    if (RegGetValueA(HKEY_CURRENT_USER, SettingsKey(key).c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &number,
                     &bytes) != ERROR_SUCCESS) {
        return false;
    }
    *value = number;
    return true;
}

bool Journey::ReadSetting(const std::string& key, const std::string& name, std::string* text) {
    const std::string path = SettingsKey(key);
    DWORD bytes = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
        ERROR_SUCCESS) {
        return false;
    }
    std::string value(bytes, '\0');
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, &value[0], &bytes) !=
        ERROR_SUCCESS) {
        return false;
    }
    value.resize(strnlen(value.c_str(), value.size()));
    *text = value;
    return true;
}

std::string Journey::BuildPath() {
    return BuildFolder();
}

UINT Journey::RowState(int row, UINT mask) const {
    return UINT(Ask(List(), LVM_GETITEMSTATE, WPARAM(row), LPARAM(mask)));
}

int Journey::FocusedRow() const {
    return int(Ask(List(), LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
}

HWND Journey::Tree() const {
    return FindDescendant(main_, WC_TREEVIEWA);
}

std::string Journey::TreeSelection() const {
    constexpr size_t kCapacity = 512;
    HWND tree = Tree();
    const LRESULT node = Ask(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    RemoteBlock block(process_.hProcess, sizeof(TVITEMA) + kCapacity);
    if (node <= 0 || !block.Valid()) {
        return std::string();
    }
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = HTREEITEM(node);
    item.pszText = block.At(sizeof item);
    item.cchTextMax = int(kCapacity);
    block.Write(0, &item, sizeof item);
    Ask(tree, TVM_GETITEMA, 0, LPARAM(block.At(0)));
    return block.ReadText(sizeof item, kCapacity);
}

HWND Journey::FocusedWindow() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(main_, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

void Journey::Type(HWND target, const std::string& text) const {
    for (unsigned char c : text) {
        PostMessageA(target, WM_CHAR, WPARAM(c), 1);
    }
}

HWND Journey::BoxItem(const ShownBox& box, int itemId) {
    HWND item = GetDlgItem(box.window, itemId);
    char name[16] = {};
    GetClassNameA(item, name, sizeof name);
    // A combo box is typed into through its edit box.
    HWND edit = lstrcmpiA(name, "ComboBox") == 0 ? FindWindowExA(item, nullptr, "Edit", nullptr) : nullptr;
    return edit ? edit : item;
}

HWND Journey::SearchBarEdit() const {
    HWND combo = FindDescendant(main_, "ComboBox");
    return combo ? FindWindowExA(combo, nullptr, "Edit", nullptr) : nullptr;
}

void Journey::CommandDuringWait(int commandId) const {
    SendNotifyMessageA(main_, WM_COMMAND, MAKEWPARAM(commandId, 0), 0);
}

int Journey::ButtonState(int commandId) const {
    struct Search {
        int command;
        int state;
    } search = {commandId, -1};
    EnumChildWindows(
        main_,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            if (lstrcmpiA(name, TOOLBARCLASSNAMEA) != 0 || Ask(window, TB_COMMANDTOINDEX, s->command, 0) < 0) {
                return TRUE;
            }
            s->state = int(Ask(window, TB_GETSTATE, s->command, 0));
            return FALSE;
        },
        LPARAM(&search));
    return search.state;
}

bool Journey::RowRect(int row, RECT* rect) const {
    RemoteBlock block(process_.hProcess, sizeof(RECT));
    RECT asked = {LVIR_BOUNDS, 0, 0, 0};
    if (!block.Valid() || !block.Write(0, &asked, sizeof asked) ||
        Ask(List(), LVM_GETITEMRECT, WPARAM(row), LPARAM(block.At(0))) <= 0) {
        return false;
    }
    return ReadProcessMemory(process_.hProcess, block.At(0), rect, sizeof *rect, nullptr) != 0;
}

ShownBox Journey::WaitForBoxTitled(const std::string& caption, DWORD milliseconds) const {
    ShownBox box;
    WaitUntil(
        [&] {
            for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr;) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process_.dwProcessId && IsWindowVisible(window) && WindowText(window) == caption) {
                    box.window = window;
                    box.caption = caption;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    if (box.caption != caption) {
        return ShownBox();
    }
    box.text = StaticTexts(box.window);
    return box;
}

HWND Journey::WaitForMenu(DWORD milliseconds) const {
    HWND menu = nullptr;
    WaitUntil(
        [&] {
            for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, "#32768", nullptr)) != nullptr;) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process_.dwProcessId && IsWindowVisible(window)) {
                    menu = window;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    return menu;
}

// The driver's thread shares the program's input state for a moment, so the
// program's GetKeyState sees the modifier held as a real key leaves it. The
// key's messages are followed by questions the program answers only after it
// took them from its queue.
void Journey::KeyWith(HWND target, UINT modifier, UINT virtualKey) const {
    const DWORD programThread = GetWindowThreadProcessId(target, nullptr);
    const DWORD ownThread = GetCurrentThreadId();
    if (!AttachThreadInput(ownThread, programThread, TRUE)) {
        ADD_FAILURE() << "cannot share the program's input state: " << GetLastError();
        return;
    }
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[modifier] = 0x80;
    if (modifier == VK_CONTROL || modifier == VK_MENU || modifier == VK_SHIFT) {
        keys[modifier == VK_CONTROL ? VK_LCONTROL : modifier == VK_MENU ? VK_LMENU : VK_LSHIFT] = 0x80;
    }
    SetKeyboardState(keys);
    const bool alt = modifier == VK_MENU;
    const LPARAM scan = LPARAM(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    const LPARAM context = alt ? (LPARAM(1) << 29) : 0;
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, scan | context | 1);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, scan | context | 1 | (LPARAM(3) << 30));
    for (int i = 0; i < 3; ++i) {
        Ask(target, WM_NULL, 0, 0);
    }
    keys[modifier] = 0;
    keys[VK_LCONTROL] = keys[VK_LMENU] = keys[VK_LSHIFT] = 0;
    SetKeyboardState(keys);
    AttachThreadInput(ownThread, programThread, FALSE);
}

bool Journey::CreateProgram(const std::string& arguments, PROCESS_INFORMATION* process) {
    const std::string exe = ProgramPath();
    std::string command = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, process) !=
           0;
}

long Journey::StartSecond(const std::string& arguments, DWORD milliseconds) const {
    PROCESS_INFORMATION second = {};
    if (!CreateProgram(arguments, &second)) {
        return -1;
    }
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(second.hProcess, milliseconds) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(second.hProcess, &code)) {
        TerminateProcess(second.hProcess, 1);
        code = DWORD(-1);
    }
    CloseHandle(second.hProcess);
    CloseHandle(second.hThread);
    return long(int32_t(code));
}

bool Journey::StartInTray(const std::string& arguments) {
    if (!CreateProgram(arguments, &process_)) {
        ADD_FAILURE() << "CreateProcess error " << GetLastError();
        return false;
    }
    const DWORD processId = process_.dwProcessId;
    return WaitUntil(
        [&] {
            main_ = MainWindowOf(processId, [](HWND window) { return IsIconic(window) && !IsWindowVisible(window); });
            return main_ != nullptr;
        },
        15000);
}

void Journey::MakeSongsAndPlayerFolder() const {
    ASSERT_TRUE(MakeFolder("songs"));
    for (const char* name : {"a", "b", "c"}) {
        ASSERT_TRUE(WriteFile(std::string("songs\\") + name + ".mid", MidiSong(std::string("Song ") + name)));
    }
    ASSERT_TRUE(MakeFolder("players"));
}

std::string Journey::Song(const char* name) const {
    return "\"" + folder_ + "songs\\" + name + ".mid\"";
}

void Journey::InstallPlayer() const {
    ASSERT_TRUE(CopyFakePlayer("players\\TMIDI.EXE"));
    ASSERT_TRUE(WriteSetting("Player", "ExecPath", folder_ + "players"));
}

std::vector<std::string> Journey::SongsPlayed() const {
    std::vector<std::string> songs;
    for (const std::string& line : FileLines("player.log")) {
        const size_t song = line.find(".mid");
        if (line.compare(0, 5, "play ") != 0 || song == std::string::npos) {
            continue;
        }
        const size_t folder = line.rfind('\\', song);
        songs.push_back(line.substr(folder + 1, song - folder - 1));
    }
    return songs;
}

namespace {

// The texts of a tool tip window's tools, read through memory of the tool
// tip's own process.
std::vector<std::string> ToolTexts(HWND tip) {
    std::vector<std::string> texts;
    DWORD processId = 0;
    GetWindowThreadProcessId(tip, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process) {
        return texts;
    }
    constexpr size_t kChars = 256;
    const LRESULT count = Ask(tip, TTM_GETTOOLCOUNT, 0, 0);
    {
        RemoteBlock block(process, sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t));
        for (LRESULT i = 0; block.Valid() && i < count; ++i) {
            TTTOOLINFOW tool = {};
            tool.cbSize = sizeof tool;
            tool.lpszText = reinterpret_cast<wchar_t*>(block.At(sizeof tool));
            const wchar_t none = 0;
            block.Write(0, &tool, sizeof tool);
            block.Write(sizeof tool, &none, sizeof none);
            if (Ask(tip, TTM_ENUMTOOLSW, WPARAM(i), LPARAM(block.At(0))) <= 0) {
                continue;
            }
            wchar_t text[kChars] = {};
            ReadProcessMemory(process, block.At(sizeof tool), text, sizeof text - sizeof(wchar_t), nullptr);
            char bytes[kChars * 2] = {};
            WideCharToMultiByte(CP_ACP, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
            texts.push_back(bytes);
        }
    }
    CloseHandle(process);
    return texts;
}

bool IsOfClass(HWND window, const char* className) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, className) == 0;
}

}  // namespace

std::vector<std::string> Journey::TrayTips() {
    std::vector<std::string> tips;
    for (HWND tip = nullptr; (tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr;) {
        // The tray's tips belong to its window, or to icon windows in it.
        const HWND owner = GetWindow(tip, GW_OWNER);
        if (!owner ||
            !(IsOfClass(owner, "Shell_TrayWnd") || IsOfClass(GetAncestor(owner, GA_PARENT), "Shell_TrayWnd"))) {
            continue;
        }
        for (const std::string& text : ToolTexts(tip)) {
            tips.push_back(text);
        }
    }
    return tips;
}

HWND Journey::WaitForWindowOfClass(const char* className, DWORD milliseconds) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr;) {
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == process_.dwProcessId && IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            }
            return false;
        },
        milliseconds);
    return found;
}

HWND Journey::ButtonTitled(HWND dialog, const std::string& text) {
    struct Search {
        const std::string* text;
        HWND found;
    } search = {&text, nullptr};
    EnumChildWindows(
        dialog,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (!IsOfClass(window, "Button") || WindowText(window) != *s->text) {
                return TRUE;
            }
            s->found = window;
            return FALSE;
        },
        LPARAM(&search));
    return search.found;
}

bool Journey::Checked(HWND button) {
    return Ask(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Journey::Click(HWND button) {
    Ask(button, BM_CLICK, 0, 0);
}

std::string Journey::TextOf(HWND window) {
    return WindowText(window);
}

bool Journey::StatusPartRect(int part, RECT* rect) const {
    RemoteBlock block(process_.hProcess, sizeof(RECT));
    if (!block.Valid() || Ask(StatusBar(), SB_GETRECT, WPARAM(part), LPARAM(block.At(0))) <= 0) {
        return false;
    }
    return ReadProcessMemory(process_.hProcess, block.At(0), rect, sizeof *rect, nullptr) != 0;
}

void Journey::PostRightClick(HWND window, POINT client) const {
    POINT screen = client;
    ClientToScreen(window, &screen);
    // The program opens its menu where the pointer is, so the pointer has to
    // be there before the click. Under Wine a motion the display reports late
    // can undo a warp: it is made again until it has held for a moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetCursorPos(screen.x, screen.y);
        Sleep(50);
        POINT now = {};
        if (GetCursorPos(&now) && now.x == screen.x && now.y == screen.y) {
            break;
        }
    }
    const LPARAM at = MAKELPARAM(client.x, client.y);
    PostMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageA(window, WM_RBUTTONUP, 0, at);
}

std::string Journey::PlayModeShown() const {
    const std::string text = Status(3);
    const size_t name = text.find("PlayMode : ");
    return name == std::string::npos ? text : text.substr(name + 11);
}

uint32_t Journey::StoredNumber(const std::string& key, const std::string& name) {
    uint32_t value = 0xDEAD;
    ReadSetting(key, name, &value);
    return value;
}

Journey::Variables Journey::LongSongsEnvironment() const {
    return {{"FAKEPLAYER_LOG", folder_ + "player.log"}, {"FAKEPLAYER_SONG_MS", "60000"}};
}

DWORD Journey::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess) {
        GetExitCodeProcess(process_.hProcess, &code);
    }
    return code;
}

// The indicator is the status bar's owner-drawn part 5, whose data is the
// picture; the bar answers SB_GETTEXT of such a part with that data.
int Journey::Indicator() const {
    RemoteBlock block(process_.hProcess, 1024);
    return block.Valid() ? int(Ask(StatusBar(), SB_GETTEXTA, 5, LPARAM(block.At(0)))) : -1;
}

Journey::Variables Journey::PlayerEnvironment(const char* songMs, Variables more) const {
    more.push_back({"FAKEPLAYER_LOG", folder_ + "player.log"});
    more.push_back({"FAKEPLAYER_SONG_MS", songMs});
    return more;
}

std::vector<std::string> Journey::Logged(const std::string& prefix) const {
    std::vector<std::string> lines;
    for (const std::string& line : FileLines("player.log")) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

void Journey::StartOn(const std::string& arguments, int rows, const Variables& environment, DWORD milliseconds) {
    ASSERT_TRUE(Start(arguments, environment));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == rows; }, milliseconds)) << RowCount();
}

void Journey::StartOnSongs(const std::string& playerOption, const Variables& environment) {
    StartOn(playerOption + " \"" + folder_ + "songs\"", 3, environment);
    if (HasFatalFailure()) {
        return;
    }
    ASSERT_EQ('a', Cell(0, 0)[0]);
    Key(List(), VK_HOME);
    ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == 0; }, 5000)) << FocusedRow();
}

std::string Journey::Played() const {
    std::string songs;
    for (const std::string& song : SongsPlayed()) {
        songs += song;
    }
    return songs;
}
