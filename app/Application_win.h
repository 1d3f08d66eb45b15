// Start-up of the program: the single instance, the main window, the message
// loop and the exit.
#pragma once

#include <windows.h>

constexpr char kInstanceMutexName[] = "Kadrel Running";
constexpr char kProductName[] = "Quillory";

// Runs the program; returns the quit message's code. A second start activates
// the running window and returns 0 at once.
int RunApplication(HINSTANCE instance, const char* commandLine);

// Shows internal errors of the container and the type table in a message box.
void InstallInternalErrorBox();

// Offers msg to the modeless windows and the accelerator tables; true when
// one of them consumed it.
bool PreTranslate(MSG* msg);
