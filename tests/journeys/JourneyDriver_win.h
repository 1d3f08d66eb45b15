// Drives Quillory.exe as its own process, the way a user does: a command
// line, keys posted into the program's own message loop, menu commands,
// message boxes answered, the window closed. It reads back only what a user
// sees or keeps: the window title, the status bar, the song list's rows, the
// message boxes, and files on disk and the registry after exit.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// A message box (or any dialog) the program shows.
struct ShownBox {
    HWND window = nullptr;
    std::string caption;
    std::string text;  // its non-empty static texts, joined by line breaks
};

class Journey : public ::testing::Test {
   protected:
    // The program's settings are cleared before and after each journey, so
    // every journey starts as a new user's first start.
    void SetUp() override;
    void TearDown() override;

    // Starts the program with arguments and waits until its main window is
    // up; false when it did not come up.
    bool Start(const std::string& arguments);
    // Posts a close request to the main window and waits for the process
    // to end; false when it was still running after milliseconds.
    bool Close(DWORD milliseconds = 15000);
    // Waits for the process to end by itself.
    bool WaitForExit(DWORD milliseconds);

    HWND MainWindow() const {
        return main_;
    }
    HWND List() const;
    HWND StatusBar() const;

    // The song list: row count, a cell's text, the selected rows.
    int RowCount() const;
    std::string Cell(int row, int column) const;
    std::vector<int> SelectedRows() const;
    // A status bar part's text.
    std::string Status(int part) const;

    // Posts a key press (down and up) to a control, so it goes through the
    // program's message loop and its accelerator tables as a real key does.
    void Key(HWND target, UINT virtualKey) const;
    // Posts a menu command to the main window.
    void Menu(int commandId) const;

    // The first dialog window of the program other than its main window that
    // shows within milliseconds; an empty box when none did.
    ShownBox WaitForBox(DWORD milliseconds = 10000) const;
    // Presses a button of a dialog (IDOK, IDCANCEL, ...) and waits for it to go.
    bool Answer(const ShownBox& box, int buttonId) const;

    // Polls condition every 10 ms for up to milliseconds.
    static bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds);

    // The journey's scratch folder (deleted afterwards), ending in '\\'.
    const std::string& Folder() const {
        return folder_;
    }
    // Files of the scratch folder; names may hold sub-folders. The wide
    // forms are for names that have no CP932 form.
    bool WriteFile(const std::string& name, const std::string& bytes) const;
    bool FileExists(const std::string& name) const;
    bool WriteFileW(const std::wstring& name, const std::string& bytes) const;
    bool FileExistsW(const std::wstring& name) const;

    // A small Standard MIDI File whose first track is named title.
    static std::string MidiSong(const std::string& title);

   private:
    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr;
    std::string folder_;
};
