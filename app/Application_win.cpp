// Start-up: single instance through the "Kadrel Running" mutex, the main
// window and the message loop.
#include "app/Application_win.h"

#include "core/InternalError.h"

static void ShowInternalError(const char* caption, const char* message) {
    MessageBoxA(nullptr, message, caption, MB_OK | MB_ICONSTOP);
}

void InstallInternalErrorBox() {
    SetInternalErrorSink(ShowInternalError);
}

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A second instance brings the first one's window forward and passes nothing.
static void ActivateRunningInstance() {
    HWND running = FindWindowA(kMainWindowClass, nullptr);
    if (!running) {
        return;
    }
    if (IsIconic(running)) {
        ShowWindow(running, SW_RESTORE);
    }
    SetForegroundWindow(running);
}

int RunApplication(HINSTANCE instance, const char*, int showCommand) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        ActivateRunningInstance();
        if (mutex) {
            CloseHandle(mutex);
        }
        return 0;
    }
    InstallInternalErrorBox();

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kMainWindowClass;
    windowClass.lpszMenuName = MAKEINTRESOURCEA(1);
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    RegisterClassExA(&windowClass);

    HWND window = CreateWindowExA(0, kMainWindowClass, kProductName, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  800, 560, nullptr, nullptr, instance, nullptr);
    if (!window) {
        CloseHandle(mutex);
        return 1;
    }
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    CloseHandle(mutex);
    return int(msg.wParam);
}
