// Start-up of the program: the single instance and the main window.
#pragma once

#include <windows.h>

// Names other programs and a second instance rely on.
constexpr char kMainWindowClass[] = "Kadrel";
constexpr char kInstanceMutexName[] = "Kadrel Running";
constexpr char kProductName[] = "Quillory";

// Runs the program; returns its exit code. A second start activates the
// running window and returns at once.
int RunApplication(HINSTANCE instance, const char* commandLine, int showCommand);

// Shows internal errors of the container and the type table in a message box.
void InstallInternalErrorBox();
