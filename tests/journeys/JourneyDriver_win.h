// Drives Quillory.exe as its own process, the way a user does: a command
// line, keys posted into the program's own message loop, menu commands,
// message boxes answered, the window closed. It reads back only what a user
// sees or keeps: the window title, the status bar, the song list's rows, the
// message boxes, and files on disk and the registry after exit.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// A message box (or any dialog) the program shows.
struct ShownBox {
    HWND window = nullptr;
    std::string caption;
    std::string text;  // its non-empty static texts, joined by line breaks
};

class Journey : public ::testing::Test {
   public:
    using Variables = std::vector<std::pair<std::string, std::string>>;

   protected:
    // The program's settings are cleared before and after each journey, so
    // every journey starts as a new user's first start.
    void SetUp() override;
    void TearDown() override;

    // Starts the program with arguments and waits until its main window is
    // up; false when it did not come up.
    bool Start(const std::string& arguments);
    // Starts the program with environment variables (name, value) on top of
    // the journey's own environment, replacing those of the same name.
    bool Start(const std::string& arguments, const Variables& environment);
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

    bool MakeFolder(const std::string& name) const;
    // A file of the scratch folder in lines (without their line breaks);
    // none when it cannot be read.
    std::vector<std::string> FileLines(const std::string& name) const;

    // A small Standard MIDI File whose first track is named title.
    static std::string MidiSong(const std::string& title);

    // The test fake player (tools/fakeplayer) copied into the scratch folder
    // under a player's program name, which picks the player it imitates
    // ("players\\TMIDI.EXE"); its folders must exist. It logs what it gets to
    // the file named by the variable FAKEPLAYER_LOG of its environment, which
    // it inherits from the program. Programs started from the scratch folder
    // end with the journey.
    bool CopyFakePlayer(const std::string& name) const;

    // The program's settings, a key below its own ("Mode", "Player", ...) and
    // a value name: prepared before a start, read after an exit. Numbers are
    // REG_DWORD, texts REG_SZ. Each returns false when the value could not be
    // written or read (missing, or of the other type).
    static bool WriteSetting(const std::string& key, const std::string& name, uint32_t value);
    static bool WriteSetting(const std::string& key, const std::string& name, const std::string& text);
    static bool ReadSetting(const std::string& key, const std::string& name, uint32_t* value);
    static bool ReadSetting(const std::string& key, const std::string& name, std::string* text);

    // A row's state bits of the song list (LVIS_FOCUSED, LVIS_CUT, ...) as
    // the list answers them, and its focused row (-1 when none).
    UINT RowState(int row, UINT mask) const;
    int FocusedRow() const;
    // The window that has the keyboard focus in the program.
    HWND FocusedWindow() const;
    // Types text (single-byte characters) into a control, one posted
    // character at a time, as the keyboard does.
    void Type(HWND target, const std::string& text) const;
    // A dialog item of a shown box, e.g. an edit control to type into.
    static HWND BoxItem(const ShownBox& box, int itemId);
    // The edit box of the search bar's combo box.
    HWND SearchBarEdit() const;
    // A menu command that reaches the program while it waits inside an
    // operation (a DDE transaction, a wait for a player), as a click on its
    // tool bar does then: it is sent without waiting for an answer.
    void CommandDuringWait(int commandId) const;

   private:
    void EndProgramsOfFolder() const;

    PROCESS_INFORMATION process_ = {};
    HWND main_ = nullptr;
    std::string folder_;

   protected:
    // The build folder the program and its tools were built in, ending in '\\'.
    static std::string BuildPath();
    // The folder tree, and the text of its selected node.
    HWND Tree() const;
    std::string TreeSelection() const;
    // A tool bar button's state (TBSTATE_ENABLED, ...) from the first tool
    // bar of the main window that has it; -1 when none has.
    int ButtonState(int commandId) const;
    // A song list row's rectangle in the list's client coordinates.
    bool RowRect(int row, RECT* rect) const;
    // The first dialog of the program whose caption is caption.
    ShownBox WaitForBoxTitled(const std::string& caption, DWORD milliseconds = 10000) const;
    // The pop-up menu the program shows, or null when none shows within
    // milliseconds.
    HWND WaitForMenu(DWORD milliseconds = 10000) const;
    // A key pressed while a modifier (VK_CONTROL, VK_MENU, VK_SHIFT) is held:
    // the program's keyboard state holds the modifier down until the key has
    // gone through its message loop.
    void KeyWith(HWND target, UINT modifier, UINT virtualKey) const;
    // Starts the program a second time while the first runs and waits for
    // that second process to end; its exit code, or -1 when it did not end
    // within milliseconds or could not start.
    long StartSecond(const std::string& arguments, DWORD milliseconds = 15000) const;
    // Starts the program the way it starts into the tray: true once its main
    // window exists, minimized and hidden.
    bool StartInTray(const std::string& arguments);

    // Three songs in "songs\": a, b and c, titled "Song a" and so on, and an
    // empty "players\".
    void MakeSongsAndPlayerFolder() const;
    // A song of "songs\" ("b") as a quoted command-line word.
    std::string Song(const char* name) const;
    // The fake TMIDI Player in "players\", found through the player folder
    // setting.
    void InstallPlayer() const;
    // The songs the fake player was given to play ("player.log"), in order,
    // by name ("b").
    std::vector<std::string> SongsPlayed() const;

   private:
    // Creates the program's process with arguments; false when it could not.
    static bool CreateProgram(const std::string& arguments, PROCESS_INFORMATION* process);

   protected:
    // The tips of the notification area's icons, as the tray shows them when
    // the pointer rests on an icon (Wine's tray keeps one tool tip per icon).
    static std::vector<std::string> TrayTips();
    // A visible top-level window of the program of a class, or null when
    // none shows within milliseconds.
    HWND WaitForWindowOfClass(const char* className, DWORD milliseconds = 10000) const;
    // A button of a dialog or of its pages by its text ("演奏状態"), or null.
    static HWND ButtonTitled(HWND dialog, const std::string& text);
    // Whether a check box or radio button is checked.
    static bool Checked(HWND button);
    // A click on a button of the program that opens no window (a check box,
    // a radio button); returns once the program has taken it.
    static void Click(HWND button);
    // The text of a window of the program (its title).
    static std::string TextOf(HWND window);
    // A status bar part's rectangle in the bar's client coordinates.
    bool StatusPartRect(int part, RECT* rect) const;
    // A right click at a point of a window's client area that goes through
    // the program's own message loop, as the key messages do: the pointer is
    // put on the point (where the program opens a menu) and the button's
    // messages are posted to the window.
    void PostRightClick(HWND window, POINT client) const;
    // The play mode the status bar shows ("Normal", "Auto", ...).
    std::string PlayModeShown() const;
    // A number of the program's settings; 0xDEAD when it is not there.
    static uint32_t StoredNumber(const std::string& key, const std::string& name);
    // The fake player's log in the scratch folder, its songs lasting longer
    // than any journey, so that a run stays on its first song.
    Variables LongSongsEnvironment() const;
    // The exit code of the program once it has ended; STILL_ACTIVE while it runs.
    DWORD ExitCode() const;
    // The picture the play indicator shows in the status bar: 0 stopped,
    // 1 or 2 playing, 3 or 4 paused; -1 when the bar did not answer.
    int Indicator() const;
    // The environment for a fake player that logs to "player.log" and plays
    // each song for songMs milliseconds, with more variables added.
    Variables PlayerEnvironment(const char* songMs, Variables more = Variables()) const;
    // Lines of the fake player's log that begin with prefix.
    std::vector<std::string> Logged(const std::string& prefix) const;
    // Starts the program with arguments and waits until its list shows rows
    // songs; a failure fails the journey.
    void StartOn(const std::string& arguments,
                 int rows,
                 const Variables& environment = Variables(),
                 DWORD milliseconds = 10000);
    // Starts with a player option on the folder of the three songs of
    // MakeSongsAndPlayerFolder, waits for their rows and puts the focus on
    // the first, a.
    void StartOnSongs(const std::string& playerOption, const Variables& environment);
    // The songs given to the fake player, in order, by name: "ab".
    std::string Played() const;
};
