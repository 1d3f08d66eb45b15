// What the tests that drive the program's real windows share.
#pragma once

#include <windows.h>

#include <string>

// The build folder (the tests' exe lives in its tests\ sub-folder), ending in '\\'.
inline std::string BuildFolder() {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path.resize(path.find_last_of('\\'));
    path.resize(path.find_last_of('\\') + 1);
    return path;
}

// Dispatches every queued message; a quit request is dropped, so a window
// closed by a test cannot end the test run's own loop.
inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message != WM_QUIT) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
