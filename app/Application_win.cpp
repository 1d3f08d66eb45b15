// Start-up: single instance through the "Kadrel Running" mutex, the main
// window, the message loop and the exit.
#include "app/Application_win.h"

#include "app/CommandIds.h"
#include "app/MainWindow_win.h"
#include "app/ProgramValues_win.h"
#include "catalogue/Archivers.h"
#include "core/InternalError.h"
#include "ui/ListEditor_win.h"
#include "ui/PropertyWindow_win.h"
#include "ui/SearchDialogs_win.h"

static void ShowInternalError(const char* caption, const char* message) {
    MessageBoxA(nullptr, message, caption, MB_OK | MB_ICONSTOP);
}

void InstallInternalErrorBox() {
    SetInternalErrorSink(ShowInternalError);
}

// A second instance brings the first one's window forward and passes nothing.
static void ActivateRunningInstance() {
    HWND running = FindWindowA(kMainWindowClass, nullptr);
    if (!running) {
        return;
    }
    ShowWindow(running, IsIconic(running) || !IsWindowVisible(running) ? SW_RESTORE : SW_SHOWNORMAL);
    SetForegroundWindow(running);
}

bool PreTranslate(MSG* msg) {
    const ProgramValues& program = Program();
    MainWindow* main = program.mainWindow;
    if (!main || !main->Handle()) {
        return false;
    }
    // The palette, the find dialog and the properties window are modeless;
    // they take their keyboard navigation like dialogs.
    HWND palette = FindWindowExA(nullptr, nullptr, "Kadrel PlayPalette", nullptr);
    if (palette && GetWindow(palette, GW_OWNER) == main->Handle() && IsDialogMessageA(palette, msg)) {
        return true;
    }
    HWND find = FindDialogWindow();
    if (find && IsDialogMessageA(find, msg)) {
        return true;
    }
    HWND properties = PropertyWindowHandle();
    if (properties && IsDialogMessageA(properties, msg)) {
        return true;
    }
    if (TranslateListEditorMessage(msg, program.editorAccelerators)) {
        return true;
    }
    ClientWindow* client = main->Client();
    if (client && msg->hwnd && (msg->hwnd == client->TreeHandle() || msg->hwnd == client->ListHandle())) {
        return TranslateAcceleratorA(main->Handle(), program.mainAccelerators, msg) != 0;
    }
    return false;
}

int RunApplication(HINSTANCE instance, const char* commandLine) {
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, TRUE, kInstanceMutexName);
    if (existing) {
        CloseHandle(existing);
        ActivateRunningInstance();
        return 0;
    }
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    InstallInternalErrorBox();

    ProgramValues& program = Program();
    program.instance = instance;
    program.commandLine = commandLine;
    program.mainAccelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(kMainAccelerators));
    program.editorAccelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(kEditorAccelerators));
    SetUpArchives();

    int code = 1;
    {
        MainWindow main;
        if (main.CreateFrame()) {
            main.ShowFirst(false);
            main.Client()->RunStartAction();
            main.ShowFirst(true);
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
                if (!PreTranslate(&msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
            code = int(msg.wParam);
        }
    }
    FreeArchivers();
    if (mutex) {
        CloseHandle(mutex);
    }
    return code;
}
