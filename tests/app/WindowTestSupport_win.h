// What the tests that drive the program's real windows share.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/AppState_win.h"
#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "ui/framework/ProgramValues_win.h"

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

// A test on the program's real main window, made as the program makes it
// from the program's own resources, with its settings under a scratch
// registry key that is deleted before and after.
class ProgramWindowTest : public ::testing::Test {
   protected:
    // Makes and shows the window; false when the resources or the window
    // could not be made.
    bool OpenWindow(const char* settingsRoot) {
        settingsRoot_ = settingsRoot;
        resources_ = LoadLibraryExA((BuildFolder() + "bin\\Quillory.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!resources_) {
            return false;
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, settingsRoot);
        ProgramValues& program = Program();
        program.instance = resources_;
        program.commandLine = "Quillory.exe";
        program.settingsRoot = settingsRoot;
        app_ = LoadAppState();
        main_ = new MainWindow(*app_);
        if (!main_->CreateFrame()) {
            return false;
        }
        main_->Show(SW_SHOWNORMAL);
        client_ = main_->Client();
        return true;
    }
    // Deletes the window. Unless it is to exit as the program does (writing
    // its settings), it writes none and closes the player it started first.
    void CloseWindow(bool asTheProgramExits = false) {
        if (client_ && !asTheProgramExits) {
            client_->exitFlags.saveSettingsOnExit = false;
            client_->Player()->ClosePlayerAndWait();
        }
        delete main_;
        main_ = nullptr;
        client_ = nullptr;
        app_.reset();
        Pump();
        RegDeleteTreeA(HKEY_CURRENT_USER, settingsRoot_.c_str());
        if (resources_) {
            FreeLibrary(resources_);
            resources_ = nullptr;
        }
    }
    void Command(int id) {
        main_->Send(WM_COMMAND, WPARAM(id), 0);
        Pump();
    }
    int RowCount() {
        return int(SendMessageA(client_->ListHandle(), LVM_GETITEMCOUNT, 0, 0));
    }

    MainWindow* main_ = nullptr;
    ClientWindow* client_ = nullptr;

   private:
    std::string settingsRoot_;
    HMODULE resources_ = nullptr;
    std::unique_ptr<AppState> app_;
};
