// Journeys through what the settings dialog promises and the exit refuses:
// each box of "終了時に保存するもの" keeps its value for the next start or
// leaves the stored one alone, the first song focused in a new location,
// the title and tray tip of the minimized window, and a list editor with
// unsaved changes that holds the exit back.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/RegistryStore_win.h"
#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

constexpr char kSettingsCaption[] = "設定 - Quillory";
// A play or a window that was not asked for shows within this time.
constexpr DWORD kNothingShowsMs = 2000;

class SettingsJourney : public Journey {
   protected:
    void SetUp() override {
        Journey::SetUp();
        MakeSongsAndPlayerFolder();
    }

    // Opens 設定, lets change act on the dialog and presses OK.
    void ChangeSettings(const std::function<void(HWND)>& change) {
        Menu(kCmdSettings);
        const ShownBox settings = WaitForBoxTitled(kSettingsCaption);
        ASSERT_TRUE(settings.window);
        change(settings.window);
        ASSERT_TRUE(Answer(settings, IDOK));
    }

    // Checks or clears a box (or picks a radio button) of the dialog's pages.
    static void SetBox(HWND dialog, const std::string& label, bool checked) {
        const HWND box = ButtonTitled(dialog, label);
        ASSERT_TRUE(box) << label;
        if (Checked(box) != checked) {
            Click(box);
        }
        ASSERT_EQ(checked, Checked(box)) << label;
    }

    static RECT PlaceOf(HWND window) {
        RECT place = {};
        GetWindowRect(window, &place);
        return place;
    }
};

// Each box with what it keeps: the main window's place and size, the
// properties window's place and whether it opens again, the play mode.
enum class Kept { kMainPlace, kMainSize, kPropertyPlace, kPropertyOpen, kPlayMode };

struct SaveBox {
    const char* label;
    uint32_t bit;
    Kept kept;
};

const SaveBox kSaveBoxes[] = {
    {"メインウィンドウの位置", 1, Kept::kMainPlace},
    {"メインウィンドウのサイズ", 2, Kept::kMainSize},
    {"プロパティウィンドウの位置", 8, Kept::kPropertyPlace},
    {"プロパティウィンドウの表示状態", 16, Kept::kPropertyOpen},
    {"演奏状態", 4, Kept::kPlayMode},
};

TEST_F(SettingsJourney, EachSaveBoxKeepsItsValueOnlyWhenChecked) {
    InstallPlayer();
    const std::string properties = "b のプロパティ - Quillory";
    for (const SaveBox& only : kSaveBoxes) {
        SCOPED_TRACE(only.label);
        auto on = [&](Kept kept) { return only.kept == kept; };
        // What an earlier exit left, every box checked.
        ASSERT_TRUE(WriteSetting("Mode", "RegWrite", 0x1Fu));
        ASSERT_TRUE(WriteSetting("Mode", "PlayMode", 0u));
        ASSERT_TRUE(WriteSetting("Window", "Window", 0u));
        ASSERT_TRUE(WriteSetting("Window", "WinX", 40u));
        ASSERT_TRUE(WriteSetting("Window", "WinY", 30u));
        ASSERT_TRUE(WriteSetting("Window", "WinW", 640u));
        ASSERT_TRUE(WriteSetting("Window", "WinH", 480u));
        ASSERT_TRUE(WriteSetting("Property", "WinX", 20u));
        ASSERT_TRUE(WriteSetting("Property", "WinY", 20u));
        ASSERT_TRUE(WriteSetting("Property", "Show", 0u));
        ASSERT_TRUE(WriteSetting("LastSelect", "Path", Folder() + "songs\\"));
        ASSERT_TRUE(WriteSetting("LastSelect", "File", "b.mid"));
        DeleteFileA((Folder() + "player.log").c_str());

        // Only this box is left checked; then everything it could keep changes.
        StartOn("/p:tmidi", 3, LongSongsEnvironment());
        ChangeSettings([&](HWND dialog) {
            for (const SaveBox& box : kSaveBoxes) {
                SetBox(dialog, box.label, &box == &only);
            }
        });
        SetWindowPos(MainWindow(), nullptr, 100, 90, 700, 500, SWP_NOZORDER | SWP_NOACTIVATE);
        Menu(kCmdProperties);
        ShownBox window = WaitForBoxTitled(properties);
        ASSERT_TRUE(window.window);
        SetWindowPos(window.window, nullptr, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Menu(kCmdPlayRepeat);
        ASSERT_TRUE(WaitUntil([&] { return PlayModeShown() == "Repeat" && !SongsPlayed().empty(); }, 10000));
        ASSERT_TRUE(Close());

        EXPECT_EQ(only.bit, StoredNumber("Mode", "RegWrite"));
        EXPECT_EQ(on(Kept::kMainPlace) ? 100u : 40u, StoredNumber("Window", "WinX"));
        EXPECT_EQ(on(Kept::kMainPlace) ? 90u : 30u, StoredNumber("Window", "WinY"));
        EXPECT_EQ(on(Kept::kMainSize) ? 700u : 640u, StoredNumber("Window", "WinW"));
        EXPECT_EQ(on(Kept::kMainSize) ? 500u : 480u, StoredNumber("Window", "WinH"));
        EXPECT_EQ(on(Kept::kPropertyPlace) ? 60u : 20u, StoredNumber("Property", "WinX"));
        EXPECT_EQ(on(Kept::kPropertyPlace) ? 70u : 20u, StoredNumber("Property", "WinY"));
        EXPECT_EQ(on(Kept::kPlayMode) ? 3u : 0u, StoredNumber("Mode", "PlayMode"));

        // The next start shows what was kept, and only that.
        DeleteFileA((Folder() + "player.log").c_str());
        StartOn("", 3, LongSongsEnvironment());
        const RECT main = PlaceOf(MainWindow());
        EXPECT_EQ(on(Kept::kMainPlace) ? 100 : 40, main.left);
        EXPECT_EQ(on(Kept::kMainPlace) ? 90 : 30, main.top);
        EXPECT_EQ(on(Kept::kMainSize) ? 700 : 640, main.right - main.left);
        EXPECT_EQ(on(Kept::kMainSize) ? 500 : 480, main.bottom - main.top);
        // What is kept shows by itself; what is not stays away for a while.
        auto reopened = [&] { return WaitForBoxTitled(properties, 0).window != nullptr; };
        auto playing = [&] { return PlayModeShown() == "Repeat" && !SongsPlayed().empty(); };
        EXPECT_TRUE(WaitUntil([&] { return reopened() == on(Kept::kPropertyOpen) && playing() == on(Kept::kPlayMode); },
                              10000));
        Sleep(kNothingShowsMs);
        EXPECT_EQ(on(Kept::kPropertyOpen), reopened());
        EXPECT_EQ(on(Kept::kPlayMode), playing()) << PlayModeShown();
        if (!on(Kept::kPropertyOpen)) {
            Menu(kCmdProperties);
        }
        window = WaitForBoxTitled(properties);
        ASSERT_TRUE(window.window);
        const RECT place = PlaceOf(window.window);
        EXPECT_EQ(on(Kept::kPropertyPlace) ? 60 : 20, place.left);
        EXPECT_EQ(on(Kept::kPropertyPlace) ? 70 : 20, place.top);
        ASSERT_TRUE(Close());
    }
}

TEST_F(SettingsJourney, ANewLocationFocusesTheSongTheListSettingNames) {
    ASSERT_TRUE(MakeFolder("more"));
    for (const char* name : {"d", "e", "f", "g"}) {
        ASSERT_TRUE(WriteFile(std::string("more\\") + name + ".mid", MidiSong(std::string("Song ") + name)));
    }
    const std::string songs = "\"" + Folder() + "songs\"";
    const std::string more = "\"" + Folder() + "more\"";
    StartOn(songs, 3);
    EXPECT_EQ(0, FocusedRow());

    // 最後尾のオブジェクト: the next location opens on its last song.
    ChangeSettings([&](HWND dialog) { SetBox(dialog, "最後尾のオブジェクト", true); });
    EXPECT_EQ(0, StartSecond(more));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 4 && TreeSelection() == "more"; }, 10000)) << RowCount();
    EXPECT_TRUE(WaitUntil([&] { return FocusedRow() == 3; }, 3000)) << FocusedRow();
    EXPECT_EQ(std::vector<int>{3}, SelectedRows());
    ASSERT_TRUE(Close());
    EXPECT_EQ(1u, StoredNumber("ListWindow", "TvnSelChangedLastSel"));

    // Kept for the next start, until 先頭のオブジェクト is chosen again.
    StartOn(songs, 3);
    ChangeSettings([&](HWND dialog) { SetBox(dialog, "先頭のオブジェクト", true); });
    EXPECT_EQ(0, StartSecond(more));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 4 && TreeSelection() == "more"; }, 10000)) << RowCount();
    EXPECT_TRUE(WaitUntil([&] { return FocusedRow() == 0; }, 3000)) << FocusedRow();
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, StoredNumber("ListWindow", "TvnSelChangedLastSel"));
}

TEST_F(SettingsJourney, TheMinimizedTitleAndTheTrayTipNameThePlayModeAndTheSongsTitle) {
    InstallPlayer();
    StartOn("/p:tmidi " + Song("b"), 3, LongSongsEnvironment());
    Menu(kCmdPlayRepeat);
    ASSERT_TRUE(WaitUntil([&] { return PlayModeShown() == "Repeat" && !SongsPlayed().empty(); }, 10000));
    const std::string minimized = "(Rep)  [Song b] - Kadrel";

    // On the task bar, the title says it.
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(MainWindow()) != 0; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return TextOf(MainWindow()) == minimized; }, 3000)) << TextOf(MainWindow());
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return TextOf(MainWindow()) == "Quillory"; }, 3000)) << TextOf(MainWindow());

    // In the tray, the icon's tip says it.
    ChangeSettings([&](HWND dialog) { SetBox(dialog, "最小化時はタスクトレイに格納する(&S)", true); });
    PostMessageA(MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(MainWindow()); }, 5000));
    std::vector<std::string> tips;
    EXPECT_TRUE(WaitUntil(
        [&] {
            tips = TrayTips();
            return tips == std::vector<std::string>{minimized};
        },
        5000))
        << (tips.empty() ? "no tip" : tips[0]);
    PostMessageA(MainWindow(), kMsgTrayIcon, 0, WM_LBUTTONDOWN);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(MainWindow()) && !IsIconic(MainWindow()); }, 5000));
    EXPECT_EQ("Quillory", TextOf(MainWindow()));
    ASSERT_TRUE(Close());
}

TEST_F(SettingsJourney, AListEditorWithChangesHoldsTheExitBackUntilAnswered) {
    const std::string header = "[Kadrel File List]";
    ASSERT_TRUE(WriteFile("songs\\best.lst", header + "\r\nc.mid\r\nb.mid\r\n"));
    const std::vector<std::string> before = FileLines("songs\\best.lst");
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDNO ? "no" : "yes");
        StartOn("\"" + Folder() + "songs\\best.lst\"", 2);
        Menu(kCmdListEdit);
        const HWND editor = WaitForWindowOfClass("Kadrel MakeList");
        ASSERT_TRUE(editor);
        // Every entry cut: the editor's title marks the change.
        PostMessageA(editor, WM_COMMAND, MAKEWPARAM(kCmdEditorSelectAll, 0), 0);
        PostMessageA(editor, WM_COMMAND, MAKEWPARAM(kCmdEditorCut, 0), 0);
        ASSERT_TRUE(WaitUntil([&] { return TextOf(editor).find("(変更)") != std::string::npos; }, 5000))
            << TextOf(editor);

        // Cancelled, both windows stay and nothing is written.
        PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
        ShownBox question = WaitForBox();
        EXPECT_EQ("リストファイルの編集", question.caption);
        EXPECT_EQ("best.lst は更新されています。\n保存しますか ?", question.text);
        ASSERT_TRUE(Answer(question, IDCANCEL));
        EXPECT_FALSE(WaitForExit(1000));
        EXPECT_TRUE(IsWindowVisible(MainWindow()));
        EXPECT_TRUE(IsWindowVisible(editor));
        EXPECT_EQ(before, FileLines("songs\\best.lst"));
        uint32_t ignored = 0;
        EXPECT_FALSE(ReadSetting("Mode", "RegWrite", &ignored)) << "settings written by a refused exit";

        // Asked again and answered, the program ends; the list is saved only
        // when the answer says so.
        PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
        question = WaitForBox();
        EXPECT_EQ("リストファイルの編集", question.caption);
        PostMessageA(question.window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
        ASSERT_TRUE(WaitForExit(15000));
        EXPECT_EQ(answer == IDNO ? before : std::vector<std::string>{header}, FileLines("songs\\best.lst"));
        EXPECT_TRUE(ReadSetting("Mode", "RegWrite", &ignored));
        RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsRootKey);
    }
}

TEST_F(SettingsJourney, SingleKeysAreCommandsOnlyWhileKeyboardFileOperationIsOn) {
    StartOn(Song("a"), 3);
    ASSERT_EQ(List(), FocusedWindow());
    auto playerShown = [&](const char* name) {
        return WaitUntil([&] { return Status(1) == std::string("\t") + name; }, 3000);
    };
    auto asksAndIsCancelled = [&](const std::string& caption) {
        const ShownBox box = WaitForBoxTitled(caption, 5000);
        return box.window && Answer(box, IDCANCEL);
    };
    // On (the first start's setting): digits and letters choose players and
    // run the file commands, in the list and in the tree.
    // A new player lists the location again; keys pressed meanwhile are
    // dropped, so each waits for the list.
    auto listed = [&] { return WaitUntil([&] { return Status(0).find("3 個のオブジェクト") == 0; }, 5000); };
    Key(List(), '4');
    EXPECT_TRUE(playerShown("KbMedia Player")) << Status(1);
    Key(List(), VK_NUMPAD5);
    EXPECT_TRUE(playerShown("WINAMP2")) << Status(1);
    Key(List(), 'B');
    EXPECT_TRUE(playerShown("Win Media Player")) << Status(1);
    EXPECT_TRUE(listed());
    Sleep(500);
    Key(List(), 'D');
    EXPECT_TRUE(asksAndIsCancelled("削除 - Quillory"));
    Key(Tree(), 'K');
    EXPECT_TRUE(asksAndIsCancelled("フォルダを新規作成 - Quillory"));
    Key(Tree(), 'D');
    EXPECT_TRUE(asksAndIsCancelled("フォルダを削除 - Quillory"));
    // Space adds the next song, Tab goes to the tree, whose context-menu key
    // opens its node's menu.
    Key(List(), VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows() == std::vector<int>{0, 1}; }, 3000)) << SelectedRows().size();
    EXPECT_EQ(1, FocusedRow());
    Key(List(), VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow() == Tree(); }, 3000));
    Key(Tree(), VK_APPS);
    const HWND menu = WaitForMenu(5000);
    ASSERT_TRUE(menu);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, 5000));

    // Off: the same keys are keys again; a letter finds its song by name.
    ChangeSettings([&](HWND dialog) { SetBox(dialog, "キーボードでファイル操作をおこなう(&K)", false); });
    Key(List(), 'C');
    EXPECT_TRUE(WaitUntil([&] { return FocusedRow() == 2; }, 3000)) << FocusedRow();
    Key(List(), '0');
    Key(Tree(), 'K');
    EXPECT_FALSE(WaitForBox(kNothingShowsMs).window) << WaitForBox(0).caption;
    EXPECT_EQ("\tWin Media Player", Status(1));
    ASSERT_TRUE(Close());
    EXPECT_EQ(0u, StoredNumber("Mode", "KeyboardFileOperation"));
    EXPECT_EQ(1u, StoredNumber("Mode", "PlayerMode"));
}

// The desktop's "show window contents while dragging" setting, changed while
// the program runs, is followed from the next press on the splitter: on, the
// panes follow the mouse; off, they move only when the button is released.
TEST_F(SettingsJourney, TheSplitterFollowsTheDesktopDragSettingAsItIsAtThePress) {
    // The user's desktop value, put back as it was however the journey ends.
    class DesktopDragSetting {
       public:
        DesktopDragSetting() {
            DWORD bytes = sizeof before_;
            had_ = RegGetValueA(HKEY_CURRENT_USER, kKey, kName, RRF_RT_REG_SZ, nullptr, before_, &bytes) ==
                   ERROR_SUCCESS;
        }
        ~DesktopDragSetting() {
            if (had_) {
                Set(before_);
            } else {
                RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, kName);
            }
        }
        void Set(const char* text) const {
            RegSetKeyValueA(HKEY_CURRENT_USER, kKey, kName, REG_SZ, text, DWORD(std::strlen(text) + 1));
        }

       private:
        const char* const kKey = "Control Panel\\Desktop";
        const char* const kName = "DragFullWindows";
        char before_[16] = {};
        bool had_ = false;
    } setting;
    setting.Set("0");
    StartOn(Song("a"), 3);
    HWND client = GetParent(Tree());
    auto treeWidth = [&] { return int(PlaceOf(Tree()).right - PlaceOf(Tree()).left); };
    auto press = [&](int x) {
        PostMessageA(client, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(treeWidth() + 1, 40));
        PostMessageA(client, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 40));
    };

    setting.Set("1");
    press(200);
    EXPECT_TRUE(WaitUntil([&] { return treeWidth() == 199; }, 3000)) << treeWidth();
    PostMessageA(client, WM_LBUTTONUP, 0, MAKELPARAM(200, 40));

    setting.Set("0");
    press(260);
    Sleep(kNothingShowsMs);
    EXPECT_EQ(199, treeWidth());
    PostMessageA(client, WM_LBUTTONUP, 0, MAKELPARAM(260, 40));
    EXPECT_TRUE(WaitUntil([&] { return treeWidth() == 259; }, 3000)) << treeWidth();
    ASSERT_TRUE(Close());
}

TEST_F(SettingsJourney, WhatTheMenusAndDragsChangeIsThereAtTheNextStart) {
    StartOn(Song("a"), 3);
    // The splitter dragged from its grip to x 300, the title column widened.
    HWND client = GetParent(Tree());
    RECT tree = PlaceOf(Tree());
    const int grip = tree.right - tree.left + 1;
    PostMessageA(client, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip, 40));
    PostMessageA(client, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 40));
    PostMessageA(client, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(300, 40));
    PostMessageA(client, WM_LBUTTONUP, 0, MAKELPARAM(300, 40));
    EXPECT_TRUE(WaitUntil([&] { return PlaceOf(Tree()).right - PlaceOf(Tree()).left == 299; }, 3000));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(List(), LVM_SETCOLUMNWIDTH, 1, 150, SMTO_ABORTIFHUNG, 5000, &ignored);
    // The menus: no status bar, no play bar, the palette, the list view,
    // sorted by title from the end.
    // One at a time, as a user picks them: each may list the songs again.
    for (int command :
         {kCmdStatusBar, kCmdBandPlay, kCmdPlayPalette, kCmdViewList, kCmdSortByTitle, kCmdSortDescending}) {
        Menu(command);
        Sleep(300);
    }
    EXPECT_TRUE(WaitUntil([&] { return Cell(0, 0) == "c"; }, 5000)) << Cell(0, 0);
    EXPECT_TRUE(WaitForWindowOfClass("Kadrel PlayPalette", 5000));
    ASSERT_TRUE(Close());
    const struct {
        const char* key;
        const char* name;
        uint32_t value;
    } stored[] = {
        {"Window", "TreeWindWidth", 299}, {"Window", "ListWindTitleWidth", 150},
        {"Window", "ShowStatusBar", 0},   {"FloatingToolBar", "Show", 1},
        {"ListWindow", "Show", 2},        {"ListWindow", "Sort", 1},
        {"ListWindow", "SortFlag", 1},
    };
    for (const auto& value : stored) {
        EXPECT_EQ(value.value, StoredNumber(value.key, value.name)) << value.key << "\\" << value.name;
    }
    EXPECT_EQ(0u, StoredNumber("Window", "ReBarBand_3_Show"));

    StartOn("", 3);
    EXPECT_EQ("c", Cell(0, 0));
    EXPECT_EQ(2, FocusedRow());
    tree = PlaceOf(Tree());
    EXPECT_EQ(299, tree.right - tree.left);
    EXPECT_FALSE(IsWindowVisible(StatusBar()));
    EXPECT_TRUE(WaitForWindowOfClass("Kadrel PlayPalette", 5000));
    EXPECT_EQ(LVS_LIST, GetWindowLongA(List(), GWL_STYLE) & LVS_TYPEMASK);
    struct Search {
        HWND found;
    } playBar = {nullptr};
    EnumChildWindows(
        MainWindow(),
        [](HWND window, LPARAM data) -> BOOL {
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            DWORD_PTR index = DWORD_PTR(-1);
            if (lstrcmpiA(name, TOOLBARCLASSNAMEA) == 0 &&
                SendMessageTimeoutA(window, TB_COMMANDTOINDEX, kCmdPlay, 0, SMTO_ABORTIFHUNG, 5000, &index) &&
                LRESULT(index) >= 0 && GetParent(window) != nullptr &&
                GetClassNameA(GetParent(window), name, sizeof name) && lstrcmpiA(name, REBARCLASSNAMEA) == 0) {
                reinterpret_cast<Search*>(data)->found = window;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&playBar));
    ASSERT_TRUE(playBar.found);
    EXPECT_FALSE(IsWindowVisible(playBar.found));
    // Back in details, the title column has its width.
    Menu(kCmdViewDetails);
    EXPECT_TRUE(WaitUntil(
        [&] {
            DWORD_PTR width = 0;
            SendMessageTimeoutA(List(), LVM_GETCOLUMNWIDTH, 1, 0, SMTO_ABORTIFHUNG, 5000, &width);
            return width == 150;
        },
        5000));
    ASSERT_TRUE(Close());
}

}  // namespace
