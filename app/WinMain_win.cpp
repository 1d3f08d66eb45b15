// Entry point of Quillory.exe.
#include <windows.h>

#include "app/Application_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunApplication(instance, GetCommandLineA());
}
