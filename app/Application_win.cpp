// Start-up: single instance through the "Kadrel Running" mutex, the main
// window, the message loop and the exit.
#include "app/Application_win.h"

#include "app/AppState_win.h"
#include "app/MainWindow_win.h"
#include "app/ProgramSetUp_win.h"
#include "catalogue/archive/Archivers.h"
#include "core/CommandIds.h"
#include "core/InternalError.h"
#include "ui/ListEditor_win.h"
#include "ui/PropertyWindow_win.h"
#include "ui/SearchDialogs_win.h"
#include "ui/framework/ProgramValues_win.h"

static void ShowInternalError(const char* caption, const char* message) {
    MessageBoxA(nullptr, message, caption, MB_OK | MB_ICONSTOP);
}

void InstallInternalErrorBox() {
    SetInternalErrorSink(ShowInternalError);
}

// A second instance brings the first one's window forward, restoring it only
// from the task bar or the tray (a maximized window stays so), and hands it
// its command line, whose location or song the first one opens.
static void ActivateRunningInstance(const char* commandLine) {
    HWND running = FindWindowA(kMainWindowClass, nullptr);
    if (!running) {
        return;
    }
    if (IsIconic(running) || !IsWindowVisible(running)) {
        ShowWindow(running, SW_RESTORE);
    }
    SetForegroundWindow(running);
    COPYDATASTRUCT data = {};
    data.dwData = kCopyDataCommandLine;
    data.cbData = DWORD(strlen(commandLine) + 1);
    data.lpData = const_cast<char*>(commandLine);
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000, &answer);
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
    // Delete in the tree deletes the folder or list file of its node; the
    // accelerator's Delete is the song list's and would delete the songs
    // selected there instead.
    if (client && msg->hwnd == client->TreeHandle() && msg->message == WM_KEYDOWN && msg->wParam == VK_DELETE) {
        return false;
    }
    if (client && msg->hwnd && (msg->hwnd == client->TreeHandle() || msg->hwnd == client->ListHandle())) {
        return TranslateAcceleratorA(main->Handle(), program.mainAccelerators, msg) != 0;
    }
    return false;
}

// The program's message loop; the exit code the quit request carries.
static int RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!PreTranslate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return int(msg.wParam);
}

int RunApplication(HINSTANCE instance, const char* commandLine) {
    HANDLE existing = OpenMutexA(MUTEX_ALL_ACCESS, TRUE, kInstanceMutexName);
    if (existing) {
        CloseHandle(existing);
        ActivateRunningInstance(commandLine);
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
        std::unique_ptr<AppState> app = LoadAppState();
        MainWindow main(*app);
        if (main.CreateFrame()) {
            main.ShowFirst(false);
            main.Client()->RunStartAction();
            main.ShowFirst(true);
            code = RunMessageLoop();
        }
    }
    FreeArchivers();
    if (mutex) {
        CloseHandle(mutex);
    }
    return code;
}
