// Starts a program as a new user would (no settings yet), waits for its main
// window, closes it as a user does and checks that the program ends by
// itself with exit code 0. Used on the program unpacked from a release
// package. usage: start_and_close PROGRAM WINDOW_CLASS
// Exit code 0 when all went so, 1 otherwise (with the reason on stderr).
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/RegistryStore_win.h"

namespace {

constexpr DWORD kStartTimeoutMs = 15000;
constexpr DWORD kCloseTimeoutMs = 15000;
constexpr DWORD kPollMs = 50;

// The visible top-level window of the class that belongs to the process.
HWND FindMainWindow(const char* windowClass, DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, windowClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

int Fail(const PROCESS_INFORMATION& process, const char* why) {
    std::fprintf(stderr, "start_and_close: %s\n", why);
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, kCloseTimeoutMs);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: start_and_close PROGRAM WINDOW_CLASS\n");
        return 1;
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRootKey);
    std::string command = std::string("\"") + argv[1] + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(argv[1], &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::fprintf(stderr, "start_and_close: cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    HWND window = nullptr;
    for (DWORD waited = 0; !window && waited < kStartTimeoutMs; waited += kPollMs) {
        if (WaitForSingleObject(process.hProcess, kPollMs) == WAIT_OBJECT_0) {
            return Fail(process, "the program ended before its window showed");
        }
        window = FindMainWindow(argv[2], process.dwProcessId);
    }
    int code = 1;
    if (!window) {
        code = Fail(process, "no window of that class showed");
    } else if (!PostMessageA(window, WM_CLOSE, 0, 0) ||
               WaitForSingleObject(process.hProcess, kCloseTimeoutMs) != WAIT_OBJECT_0) {
        code = Fail(process, "the program did not end after its window was closed");
    } else {
        DWORD exitCode = 1;
        GetExitCodeProcess(process.hProcess, &exitCode);
        std::printf("start_and_close: window of class %s shown, closed, exit code %lu\n", argv[2], exitCode);
        code = exitCode == 0 ? 0 : 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRootKey);
    return code;
}
