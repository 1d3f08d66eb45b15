// Journeys of everyday use: the keys of the tree and the song list, the song
// list's menu under the mouse, the tool bar buttons that follow what can be
// done, the sound module tables kept from one start to the next, and what the
// program says when a player or a path of its command line is not there.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

class DailyUseJourney : public Journey {
   protected:
    void SetUp() override {
        Journey::SetUp();
        MakeSongsAndPlayerFolder();
    }

    // Starts on a song (or folder) and waits until rows songs are listed.
    // The fake player's songs last a minute, so a run stays on its song.
    Variables PlayerEnvironment() const {
        return {{"FAKEPLAYER_LOG", Folder() + "player.log"}, {"FAKEPLAYER_SONG_MS", "60000"}};
    }
    bool WaitForSongs(const std::vector<std::string>& songs) const {
        return WaitUntil([&] { return SongsPlayed() == songs; }, 10000);
    }

    bool Enabled(int command) const {
        const int state = ButtonState(command);
        EXPECT_GE(state, 0) << "no button " << command;
        return state >= 0 && (state & TBSTATE_ENABLED) != 0;
    }

    // Types text into an edit control of the program, a character at a time,
    // and waits until the control holds it.
    void Type(HWND edit, const std::string& text) const {
        ASSERT_TRUE(edit);
        for (char c : text) {
            PostMessageA(edit, WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
        }
        const bool typed = WaitUntil(
            [&] {
                char held[256] = {};
                DWORD_PTR length = 0;
                SendMessageTimeoutA(edit, WM_GETTEXT, sizeof held, LPARAM(held), SMTO_ABORTIFHUNG, 5000, &length);
                return text == held;
            },
            5000);
        ASSERT_TRUE(typed) << text;
    }

    static std::string ClassOf(HWND window) {
        char name[64] = {};
        GetClassNameA(window, name, sizeof name);
        return name;
    }
};

std::string Joined(const std::vector<std::string>& texts) {
    std::string joined;
    for (const std::string& text : texts) {
        joined += text + " ";
    }
    return joined;
}

TEST_F(DailyUseJourney, DeleteInTheTreeDeletesItsFolderNotTheSongsSelectedInTheList) {
    ASSERT_TRUE(MakeFolder("songs\\old"));
    StartOn(Song("a"), 3);
    ASSERT_EQ(std::vector<int>{0}, SelectedRows());
    ASSERT_EQ("songs", TreeSelection());

    // The tree asks about its own node; cancelled, nothing goes.
    Key(Tree(), VK_DELETE);
    ShownBox question = WaitForBox();
    EXPECT_EQ("フォルダを削除 - Quillory", question.caption);
    EXPECT_EQ("songs を削除します。", question.text);
    ASSERT_TRUE(Answer(question, IDCANCEL));
    // The list's Delete is still the songs'.
    Key(List(), VK_DELETE);
    question = WaitForBox();
    EXPECT_EQ("削除 - Quillory", question.caption);
    EXPECT_EQ("選択オブジェクトを削除します。", question.text);
    ASSERT_TRUE(Answer(question, IDCANCEL));
    EXPECT_FALSE(WaitForBox(500).window);
    question = ShownBox();
    for (const char* name : {"a", "b", "c"}) {
        EXPECT_TRUE(FileExists(std::string("songs\\") + name + ".mid")) << name;
    }
    ASSERT_TRUE(Close());

    // Confirmed, the folder of the tree's node goes, and only it.
    StartOn("\"" + Folder() + "songs\\old\"", 0);
    ASSERT_EQ("old", TreeSelection());
    // While the start still reads the folder, the key is refused; pressed
    // again, it asks.
    for (int press = 0; press < 10 && !question.window; ++press) {
        Key(Tree(), VK_DELETE);
        question = WaitForBox(2000);
    }
    EXPECT_EQ("old を削除します。", question.text);
    ASSERT_TRUE(Answer(question, IDOK));
    EXPECT_TRUE(WaitUntil([&] { return !FileExists("songs\\old"); }, 5000));
    EXPECT_FALSE(WaitForBox(1000).window) << WaitForBox(0).caption << ": " << WaitForBox(0).text;
    EXPECT_TRUE(FileExists("songs\\a.mid"));
    EXPECT_TRUE(Close());
}

TEST_F(DailyUseJourney, TheKeysOfTheTreeAndTheListReachTheirCommands) {
    InstallPlayer();
    StartOn("/p:tmidi " + Song("b"), 3, PlayerEnvironment());
    ASSERT_EQ(List(), FocusedWindow());

    // Enter plays the focused song; Alt+arrows go on and back in a run,
    // from either pane.
    Key(List(), VK_RETURN);
    ASSERT_TRUE(WaitForSongs({"b"})) << Joined(SongsPlayed());
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitForSongs({"b", "b"})) << Joined(SongsPlayed());
    KeyWith(Tree(), VK_MENU, VK_RIGHT);
    EXPECT_TRUE(WaitForSongs({"b", "b", "c"})) << Joined(SongsPlayed());
    KeyWith(List(), VK_MENU, VK_LEFT);
    EXPECT_TRUE(WaitForSongs({"b", "b", "c", "b"})) << Joined(SongsPlayed());
    Menu(kCmdPlayCancel);

    // F5 lists what came since, from either pane.
    ASSERT_TRUE(WriteFile("songs\\d.mid", MidiSong("Song d")));
    Key(List(), VK_F5);
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 4; }, 5000)) << RowCount();
    ASSERT_TRUE(WriteFile("songs\\e.mid", MidiSong("Song e")));
    Key(Tree(), VK_F5);
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 5; }, 5000)) << RowCount();

    // Ctrl+R takes the keyboard to the search bar's text.
    KeyWith(List(), VK_CONTROL, 'R');
    EXPECT_TRUE(WaitUntil([&] { return ClassOf(FocusedWindow()) == "Edit"; }, 5000)) << ClassOf(FocusedWindow());

    // Backspace in the list goes to the tree's parent node, and in the tree
    // on up.
    const std::string top = Folder().substr(Folder().rfind('\\', Folder().size() - 2) + 1);
    Key(List(), VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return TreeSelection() + "\\" == top; }, 5000)) << TreeSelection();
    EXPECT_EQ(Tree(), FocusedWindow());
    Key(Tree(), VK_BACK);
    EXPECT_TRUE(WaitUntil([&] { return TreeSelection() + "\\" != top; }, 5000)) << TreeSelection();
    EXPECT_FALSE(WaitForBox(300).window) << WaitForBox(0).text;
    EXPECT_TRUE(Close());
}

TEST_F(DailyUseJourney, TheSoundModulesEditedInTheSettingsAreThereAtTheNextStart) {
    // Module names are read from the songs each time: no title cache.
    ASSERT_TRUE(WriteSetting("Mode", "AutoCache", 0u));
    // The folder's name is searched too: "songs" would read as GS.
    ASSERT_TRUE(MakeFolder("tunes"));
    ASSERT_TRUE(WriteFile("tunes\\d.mid", MidiSong("GM tune")));
    ASSERT_TRUE(WriteFile("tunes\\e.mid", MidiSong("Zither tune")));
    StartOn("\"" + Folder() + "tunes\"", 2);
    EXPECT_EQ("GM1", Cell(0, 3));
    EXPECT_EQ("その他", Cell(1, 3));

    // 設定 → プレイヤー → 音源エミュレーションの設定: the first module, GM1,
    // is selected when the dialog opens; it is deleted.
    Menu(kCmdSettings);
    const ShownBox settings = WaitForBoxTitled("設定 - Quillory");
    ASSERT_TRUE(settings.window);
    HWND emulationButton = nullptr;
    EnumChildWindows(
        settings.window,
        [](HWND window, LPARAM found) -> BOOL {
            if (GetDlgCtrlID(window) != 131) {
                return TRUE;
            }
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        LPARAM(&emulationButton));
    ASSERT_TRUE(emulationButton);
    PostMessageA(emulationButton, BM_CLICK, 0, 0);
    const ShownBox emulation = WaitForBoxTitled("音源エミュレーションの設定 - Quillory");
    ASSERT_TRUE(emulation.window);
    PostMessageA(emulation.window, WM_COMMAND, MAKEWPARAM(1012, BN_CLICKED), 0);  // 削除(&D)...
    const ShownBox question = WaitForBoxTitled("削除 - Quillory");
    EXPECT_EQ("GM1 を削除します。", question.text);
    ASSERT_TRUE(Answer(question, IDOK));
    ASSERT_TRUE(Answer(emulation, IDOK));
    ASSERT_TRUE(Answer(settings, IDOK));
    ASSERT_TRUE(Close());

    std::string stored;
    EXPECT_FALSE(ReadSetting("Emulation\\GM1", "SearchStr", &stored));
    ASSERT_TRUE(ReadSetting("Emulation\\GS", "SearchStr", &stored));
    EXPECT_EQ("GS;ＧＳ", stored);
    // A module the user keeps in the store by hand is honoured as well.
    ASSERT_TRUE(WriteSetting("Emulation\\Zither", "Order", 18u));
    ASSERT_TRUE(WriteSetting("Emulation\\Zither", "Comment", "Zither box"));
    ASSERT_TRUE(WriteSetting("Emulation\\Zither", "SearchOrder", 5u));
    ASSERT_TRUE(WriteSetting("Emulation\\Zither", "SearchStr", "ZITHER"));

    StartOn("", 2);
    EXPECT_EQ("その他", Cell(0, 3));
    EXPECT_EQ("Zither", Cell(1, 3));
    ASSERT_TRUE(Close());
    EXPECT_FALSE(ReadSetting("Emulation\\GM1", "SearchStr", &stored));
    ASSERT_TRUE(ReadSetting("Emulation\\Zither", "SearchStr", &stored));
    EXPECT_EQ("ZITHER", stored);
}

TEST_F(DailyUseJourney, ToolBarButtonsAreEnabledOnlyWhenTheyCanAct) {
    // A first start shows no songs: nothing to play or show.
    ASSERT_TRUE(Start(""));
    for (int command : {kCmdPlay, kCmdPlaySequential, kCmdProperties, kCmdEditSong, kCmdPlayCancel, kCmdNext}) {
        EXPECT_FALSE(Enabled(command)) << command;
    }
    EXPECT_TRUE(Enabled(kCmdViewButton));
    ASSERT_TRUE(Close());

    InstallPlayer();
    StartOn("/p:tmidi " + Song("a"), 3, PlayerEnvironment());
    for (int command : {kCmdPlay, kCmdPlaySequential, kCmdPlayRandom, kCmdProperties, kCmdViewButton}) {
        EXPECT_TRUE(Enabled(command)) << command;
    }
    for (int command : {kCmdPlayCancel, kCmdPrevious, kCmdNext, kCmdPause, kCmdStop}) {
        EXPECT_FALSE(Enabled(command)) << command;
    }
    // A run: it can be cancelled, stepped and paused, not viewed otherwise.
    Menu(kCmdPlayRandom);
    ASSERT_TRUE(WaitUntil([&] { return !SongsPlayed().empty(); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return Enabled(kCmdPlayCancel); }, 5000));
    for (int command : {kCmdPrevious, kCmdNext, kCmdPause, kCmdStop}) {
        EXPECT_TRUE(Enabled(command)) << command;
    }
    EXPECT_FALSE(Enabled(kCmdViewButton));
    Menu(kCmdPlayCancel);
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(kCmdPlayCancel); }, 5000));
    EXPECT_FALSE(Enabled(kCmdNext));
    EXPECT_TRUE(Enabled(kCmdViewButton));
    EXPECT_TRUE(Enabled(kCmdStop)) << "the player still runs";
    EXPECT_TRUE(Close());
}

// The click goes through the list's own message loop: a click of the real
// pointer under Xvfb sometimes reached no window at all.
TEST_F(DailyUseJourney, ARightClickOnASongOpensItsMenuAtThePointer) {
    StartOn(Song("a"), 3);
    RECT row = {};
    ASSERT_TRUE(RowRect(2, &row));
    POINT at = {row.left + 20, (row.top + row.bottom) / 2};
    // A click while the start still reads the songs is dropped with the
    // other pending input, or reaches the list before its rows are there
    // (a menu for no row); the user closes such a menu and clicks again.
    POINT screen = at;
    ClientToScreen(List(), &screen);
    HWND menu = nullptr;
    RECT place = {};
    for (int click = 0; click < 4 && !menu; ++click) {
        PostRightClick(List(), at);
        menu = WaitForMenu(3000);
        GetWindowRect(menu, &place);
        if (menu && SelectedRows().empty()) {
            PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
            WaitUntil([&] { return !IsWindowVisible(menu); }, 3000);
            menu = nullptr;
        }
    }
    ASSERT_TRUE(menu) << "no menu";
    // The row under the pointer is the one selected, alone, and the menu
    // opens where the click was.
    EXPECT_EQ(std::vector<int>{2}, SelectedRows());
    at = screen;
    EXPECT_LE(std::abs(place.left - at.x), 2) << place.left << " " << at.x;
    EXPECT_LE(std::abs(place.top - at.y), 2) << place.top << " " << at.y;
    // Its プロパティ(&R) is for that song.
    PostMessageA(menu, WM_CHAR, 'r', 0);
    const ShownBox properties = WaitForBox();
    EXPECT_EQ("c のプロパティ - Quillory", properties.caption);
    ASSERT_TRUE(Answer(properties, IDCANCEL));

    // A click on a row of a larger selection keeps the selection.
    Menu(kCmdSelectAll);
    ASSERT_TRUE(WaitUntil([&] { return SelectedRows().size() == 3; }, 5000));
    ASSERT_TRUE(RowRect(1, &row));
    at = {row.left + 20, (row.top + row.bottom) / 2};
    PostRightClick(List(), at);
    menu = WaitForMenu();
    ASSERT_TRUE(menu);
    EXPECT_EQ((std::vector<int>{0, 1, 2}), SelectedRows());
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
    EXPECT_TRUE(Close());
}

TEST_F(DailyUseJourney, APlayerNotFoundIsNamedWithWhereToSetItsFolder) {
    StartOn("/p:tmidi " + Song("b"), 3);
    Menu(kCmdPlay);
    const ShownBox box = WaitForBox();
    EXPECT_EQ("Quillory", box.caption);
    EXPECT_EQ(0u, box.text.find("プレイヤーが見つかりません。")) << box.text;
    EXPECT_NE(std::string::npos, box.text.find("TMIDI.EXE")) << box.text;
    EXPECT_NE(std::string::npos, box.text.find("設定 → プレイヤー")) << box.text;
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_TRUE(Close());
}

TEST_F(DailyUseJourney, AMissingPathOnTheCommandLineIsToldOnceAndTheStartGoesOn) {
    ASSERT_TRUE(WriteSetting("LastSelect", "Path", Folder() + "songs\\"));
    ASSERT_TRUE(WriteSetting("LastSelect", "File", "b.mid"));
    for (const std::string& missing :
         {Folder() + "gone\\x.mid", Folder() + "songs\\gone", Folder() + "gone.lst>a.mid"}) {
        SCOPED_TRACE(missing);
        ASSERT_TRUE(Start("/s \"" + missing + "\""));
        const ShownBox box = WaitForBox();
        EXPECT_EQ("Quillory", box.caption);
        EXPECT_EQ("パスが無効です。(3)\n\n" + missing, box.text);
        ASSERT_TRUE(Answer(box, IDOK));
        // The remembered location and song, as if the path had not been given.
        EXPECT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000)) << RowCount();
        EXPECT_EQ(std::vector<int>{1}, SelectedRows());
        EXPECT_FALSE(WaitForBox(500).window) << "said twice";
        ASSERT_TRUE(Close());
        std::string path;
        ASSERT_TRUE(ReadSetting("LastSelect", "Path", &path));
        EXPECT_EQ(Folder() + "songs\\", path);
    }
}

TEST_F(DailyUseJourney, ASecondStartHandsItsSongToTheRunningWindowAndKeepsItMaximized) {
    StartOn("/w:max " + Song("a"), 3);
    ASSERT_TRUE(IsZoomed(MainWindow()));
    EXPECT_EQ(0, StartSecond(Song("c")));
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows() == std::vector<int>{2}; }, 10000)) << SelectedRows().size();
    EXPECT_TRUE(IsZoomed(MainWindow()));

    // Minimized, it comes back, on the folder handed over.
    ASSERT_TRUE(MakeFolder("more"));
    ASSERT_TRUE(WriteFile("more\\x.mid", MidiSong("Song x")));
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) != 0; }, 5000));
    EXPECT_EQ(0, StartSecond("/auto \"" + Folder() + "more\""));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(MainWindow()) && RowCount() == 1; }, 10000)) << RowCount();
    EXPECT_EQ("more", TreeSelection());
    // Still one program, and it plays nothing it was not asked to.
    EXPECT_EQ(MainWindow(), FindWindowA("Kadrel", nullptr));
    EXPECT_EQ(nullptr, FindWindowExA(nullptr, MainWindow(), "Kadrel", nullptr));
    EXPECT_FALSE(WaitForBox(300).window) << WaitForBox(0).text;
    EXPECT_TRUE(Close());
}

TEST_F(DailyUseJourney, AfterNarrowingOrSelectingTheListHasTheKeyboard) {
    StartOn(Song("a"), 3);
    // Typed into the search bar, narrowed with its button.
    KeyWith(List(), VK_CONTROL, 'R');
    ASSERT_TRUE(WaitUntil([&] { return ClassOf(FocusedWindow()) == "Edit"; }, 5000));
    Type(FocusedWindow(), "Song b");
    Menu(kCmdBarNarrow);
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 1; }, 5000)) << RowCount();
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow() == List(); }, 2000)) << ClassOf(FocusedWindow());

    // Widened, and narrowed again through the dialog.
    KeyWith(List(), VK_CONTROL, 'U');
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 5000)) << RowCount();
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow() == List(); }, 2000)) << ClassOf(FocusedWindow());
    // Keys pressed while the list is still being read are dropped with the
    // other pending input: the user presses again.
    ShownBox narrow;
    for (int press = 0; press < 3 && !narrow.window; ++press) {
        KeyWith(List(), VK_CONTROL, 'G');
        narrow = WaitForBox(4000);
    }
    ASSERT_TRUE(narrow.window);
    HWND combo = FindWindowExA(narrow.window, nullptr, "ComboBox", nullptr);
    ASSERT_TRUE(combo);
    Type(FindWindowExA(combo, nullptr, "Edit", nullptr), "Song c");
    ASSERT_TRUE(Answer(narrow, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 1; }, 5000)) << RowCount();
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow() == List(); }, 2000)) << ClassOf(FocusedWindow());
    EXPECT_EQ("c", Cell(0, 0));
    EXPECT_TRUE(Close());
}

// Two sort commands one right after the other: the second comes while the
// list is still being read for the first. The song the user had focused is
// still the focused one when the list is shown in its new order, and a
// narrowed list stays narrowed.
TEST_F(DailyUseJourney, SortCommandsInQuickSuccessionKeepTheFocusedSong) {
    ASSERT_TRUE(MakeFolder("many"));
    constexpr int kSongs = 1500;
    for (int i = 0; i < kSongs; i++) {
        char name[32];
        char title[32];
        std::snprintf(name, sizeof name, "many\\s%04d.mid", i);
        std::snprintf(title, sizeof title, "Title %04d", (i * 7) % kSongs);
        ASSERT_TRUE(WriteFile(name, MidiSong(title)));
    }
    StartOn("\"" + Folder() + "many\"", kSongs, Variables(), 30000);
    Key(List(), VK_END);
    ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == kSongs - 1; }, 5000)) << FocusedRow();
    const std::string focused = Cell(kSongs - 1, 0);
    ASSERT_EQ("s1499", focused);

    Menu(kCmdSortByTitle);
    Menu(kCmdSortDescending);
    // Title 1499 * 7 % 1500 = 1493: the seventh row from the top, descending.
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == kSongs && Cell(0, 1) == "Title 1499"; }, 30000))
        << RowCount() << " " << Cell(0, 1);
    ASSERT_TRUE(WaitUntil([&] { return FocusedRow() >= 0; }, 5000));
    EXPECT_EQ(focused, Cell(FocusedRow(), 0)) << "row " << FocusedRow();
    EXPECT_EQ(6, FocusedRow());

    // Narrowed, the last row focused, then sorted twice in quick
    // succession: the list stays narrowed, and the song stays focused.
    Type(SearchBarEdit(), "14");
    Menu(kCmdBarNarrow);
    ASSERT_TRUE(WaitUntil([&] { return RowCount() > 0 && RowCount() < kSongs; }, 30000)) << RowCount();
    const int narrowed = RowCount();
    Key(List(), VK_END);
    ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == narrowed - 1; }, 5000)) << FocusedRow();
    const std::string narrowedFocus = Cell(narrowed - 1, 0);
    Menu(kCmdSortAscending);
    Menu(kCmdSortByName);
    ASSERT_TRUE(WaitUntil([&] { return Cell(0, 0) < Cell(1, 0) && FocusedRow() >= 0; }, 30000)) << Cell(0, 0);
    EXPECT_EQ(narrowed, RowCount());
    EXPECT_EQ(narrowedFocus, Cell(FocusedRow(), 0)) << "row " << FocusedRow();
    EXPECT_TRUE(Close());
}

// The list scrolled away from its focused song, then the window minimized to
// the task bar and restored: the focused song is in view again.
TEST_F(DailyUseJourney, RestoredFromTheTaskBarTheFocusedSongIsInView) {
    ASSERT_TRUE(MakeFolder("many"));
    constexpr int kSongs = 300;
    for (int i = 0; i < kSongs; i++) {
        char name[32];
        std::snprintf(name, sizeof name, "many\\s%03d.mid", i);
        ASSERT_TRUE(WriteFile(name, MidiSong(name + 6)));
    }
    StartOn("\"" + Folder() + "many\"", kSongs);
    auto inView = [&](int row) {
        const int top = int(SendMessageA(List(), LVM_GETTOPINDEX, 0, 0));
        const int rows = int(SendMessageA(List(), LVM_GETCOUNTPERPAGE, 0, 0));
        return row >= top && row < top + rows;
    };
    Key(List(), VK_END);
    ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == kSongs - 1 && inView(kSongs - 1); }, 5000)) << FocusedRow();
    // Clicks above the scroll bar's thumb scroll the list up a page each; the
    // focus stays where it was.
    for (int click = 0; click < 4; click++) {
        PostMessageA(List(), WM_VSCROLL, SB_PAGEUP, 0);
    }
    ASSERT_TRUE(WaitUntil([&] { return !inView(kSongs - 1); }, 5000));
    ASSERT_EQ(kSongs - 1, FocusedRow());

    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) != 0; }, 5000));
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) == 0; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return inView(kSongs - 1); }, 3000))
        << "top row " << SendMessageA(List(), LVM_GETTOPINDEX, 0, 0);
    EXPECT_EQ(kSongs - 1, FocusedRow());
    EXPECT_TRUE(Close());
}

// Minimized while the user works in a list editor, the main window leaves the
// editor in front; with no editor open, the palette comes to the front.
TEST_F(DailyUseJourney, MinimizingLeavesAnOpenListEditorInFrontOfThePalette) {
    StartOn(Song("a"), 3);
    Menu(kCmdPlayPalette);
    const HWND palette = WaitForWindowOfClass("Kadrel PlayPalette", 5000);
    ASSERT_TRUE(palette);
    Menu(kCmdListNew);
    const HWND editor = WaitForWindowOfClass("Kadrel MakeList");
    ASSERT_TRUE(editor);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == editor; }, 5000)) << GetForegroundWindow();

    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) != 0; }, 5000));
    EXPECT_FALSE(WaitUntil([&] { return GetForegroundWindow() == palette; }, 2000));

    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) == 0; }, 5000));
    PostMessageA(editor, WM_CLOSE, 0, 0);  // a new list with nothing in it closes without a question
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, 5000));
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) != 0; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == palette; }, 5000)) << GetForegroundWindow();
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) == 0; }, 5000));
    EXPECT_TRUE(Close());
}

TEST_F(DailyUseJourney, LeftInTheTrayItStartsInTheTrayAgain) {
    ASSERT_TRUE(WriteSetting("Mode", "StoreTaskTray", 1u));
    StartOn(Song("b"), 3);
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(MainWindow()); }, 5000));
    ASSERT_TRUE(Close());
    uint32_t state = 0;
    ASSERT_TRUE(ReadSetting("Window", "Window", &state));
    EXPECT_EQ(1u, state);

    ASSERT_TRUE(StartInTray(""));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000)) << RowCount();
    EXPECT_FALSE(IsWindowVisible(MainWindow()));
    // What the shell sends for the icon: the right button opens its menu,
    // the left one brings the window back.
    PostMessageA(MainWindow(), kMsgTrayIcon, 0, WM_RBUTTONDOWN);
    const HWND menu = WaitForMenu();
    ASSERT_TRUE(menu);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));
    EXPECT_FALSE(IsWindowVisible(MainWindow()));
    PostMessageA(MainWindow(), kMsgTrayIcon, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(MainWindow()) && !IsIconic(MainWindow()); }, 5000));
    EXPECT_EQ(std::vector<int>{1}, SelectedRows());
    ASSERT_TRUE(Close());
    ASSERT_TRUE(ReadSetting("Window", "Window", &state));
    EXPECT_EQ(0u, state);
}

}  // namespace
