// Quillory.exe as a real process: one instance, the "Kadrel" window titled
// "Quillory", a second start that only activates the first and exits.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "WindowTestSupport_win.h"

namespace {

std::string ProgramPath() {
    return BuildFolder() + "bin\\Quillory.exe";
}

struct Process {
    PROCESS_INFORMATION info = {};
    bool Start(const std::string& exe) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        std::string command = "\"" + exe + "\"";
        return CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                              &info) != 0;
    }
    ~Process() {
        if (info.hProcess) {
            if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info.hProcess, 1);
            }
            CloseHandle(info.hProcess);
            CloseHandle(info.hThread);
        }
    }
};

HWND WaitForWindow(const char* className, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
        if (HWND window = FindWindowA(className, nullptr)) {
            return window;
        }
        Sleep(50);
    }
    return nullptr;
}

TEST(Startup, RunsInJapaneseCodePage) {
    EXPECT_EQ(932u, GetACP());
}

TEST(Startup, SecondInstanceActivatesTheFirstAndExits) {
    Process first;
    ASSERT_TRUE(first.Start(ProgramPath())) << ProgramPath();
    WaitForInputIdle(first.info.hProcess, 10000);
    HWND window = WaitForWindow("Kadrel", 10000);
    ASSERT_TRUE(window);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ("Quillory", title);

    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, "Kadrel Running");
    EXPECT_TRUE(mutex);
    if (mutex) {
        CloseHandle(mutex);
    }

    Process second;
    ASSERT_TRUE(second.Start(ProgramPath()));
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second.info.hProcess, 10000));
    DWORD code = 1;
    GetExitCodeProcess(second.info.hProcess, &code);
    EXPECT_EQ(0u, code);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(first.info.hProcess, 0));
    EXPECT_EQ(window, FindWindowA("Kadrel", nullptr));

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.info.hProcess, 10000));
}

}  // namespace
