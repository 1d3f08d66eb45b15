// The real main window in-process: menus and help texts from the program's
// own resources, status bar parts, band and palette commands, minimizing to
// the tray or the task bar, the exit refusal and the settings written at exit
// under a scratch registry key.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "WindowTestSupport_win.h"
#include "app/MainWindow_win.h"
#include "core/CommandIds.h"
#include "core/Settings.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/rules/MainWindowRules.h"

namespace {

const char kScratchRoot[] = "Software\\Brenvik\\KadrelWindowTest";

std::string StatusText(HWND statusBar, int part) {
    char text[256] = {};
    SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
}

// The height of the font a control draws with, in pixels.
int FontHeight(HWND control) {
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    LOGFONTA look = {};
    GetObjectA(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof look, &look);
    return look.lfHeight < 0 ? -look.lfHeight : look.lfHeight;
}

bool ReadNumber(const char* key, const char* name, DWORD* value) {
    DWORD bytes = sizeof *value;
    const std::string path = std::string(kScratchRoot) + "\\" + key;
    return RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, value, &bytes) ==
           ERROR_SUCCESS;
}

class MainWindowTest : public ProgramWindowTest {
   protected:
    void SetUp() override {
        ASSERT_TRUE(OpenWindow(kScratchRoot));
        Pump();
    }
    // The window closes as the program's does, writing its settings.
    void TearDown() override {
        CloseWindow(true);
    }
};

TEST_F(MainWindowTest, MenusAndHelpTextsAreJapanese) {
    HMENU menu = GetMenu(main_->Handle());
    ASSERT_TRUE(menu);
    struct {
        UINT id;
        const char* text;
    } const items[] = {
        {kCmdExit, "終了(&X)"},
        {kCmdDeleteSettingsAndExit, "レジストリを削除して終了(&Z)..."},
        {kCmdBandProperty, "プロパティバー(&R)"},
        {kCmdBandReset, "初期化(&I)"},
        {kCmdPlayPalette, "プレイパレット(&P)"},
        {kCmdNext, "次に進む(&F)\tAlt+→"},
        {kCmdPlayerFirst + 11, "Lilith(&L)"},
        {kCmdManual, "マニュアルを開く(&M)\tF1"},
    };
    char text[128];
    for (const auto& item : items) {
        ASSERT_GT(GetMenuStringA(menu, item.id, text, sizeof text, MF_BYCOMMAND), 0) << item.id;
        EXPECT_STREQ(item.text, text) << item.id;
    }
    GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("ファイル(&F)", text);

    // Highlighting an item shows its help text in the status bar.
    main_->Send(WM_MENUSELECT, MAKEWPARAM(kCmdExit, MF_STRING), reinterpret_cast<LPARAM>(menu));
    EXPECT_EQ("Quilloryを終了", StatusText(main_->StatusBarHandle(), 0));
    main_->Send(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ("0 個のオブジェクト", StatusText(main_->StatusBarHandle(), 0));
}

TEST_F(MainWindowTest, StatusBarPartsFollowTheLayoutRule) {
    HWND status = main_->StatusBarHandle();
    EXPECT_EQ("0 個のオブジェクト", StatusText(status, 0));
    EXPECT_EQ("\tMedia Player", StatusText(status, 1));
    EXPECT_EQ("\tEmulation : OFF", StatusText(status, 2));
    EXPECT_EQ("\tPlayMode : Normal", StatusText(status, 3));
    EXPECT_EQ("\tCache : OFF", StatusText(status, 4));
    main_->SetStatusCount(128, 3, 2);
    EXPECT_EQ("128 個のオブジェクト (選択 3 個) [2]", StatusText(status, 0));

    // A wide and a narrow frame: the player part goes below 690 pixels.
    for (int width : {1000, 600}) {
        main_->Move(0, 0, width, 400, true);
        Pump();
        RECT client;
        GetClientRect(status, &client);
        int expected[kStatusPartCount];
        StatusPartEdges(client.right, GetSystemMetrics(SM_CXVSCROLL), main_->Dpi(), expected);
        int edges[kStatusPartCount] = {};
        ASSERT_EQ(kStatusPartCount, SendMessageA(status, SB_GETPARTS, kStatusPartCount, LPARAM(edges)));
        for (int i = 0; i < kStatusPartCount; ++i) {
            EXPECT_EQ(expected[i], edges[i]) << "width " << width << " part " << i;
        }
        EXPECT_EQ(width < 700, edges[0] == edges[1]) << width;
    }
}

constexpr int kPropertyToolBarId = 11;  // the main window's first tool bar
constexpr int kPaletteToolBarId = 1;

// The side of the button pictures of the tool bar with control id among the
// windows inside window; 0 when there is none.
int ButtonPictureSide(HWND window, int id) {
    struct Search {
        int id;
        HWND bar;
    } search = {id, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (std::string(name) == TOOLBARCLASSNAMEA && GetDlgCtrlID(child) == s->id) {
                s->bar = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    const HIMAGELIST images =
        search.bar ? reinterpret_cast<HIMAGELIST>(SendMessageA(search.bar, TB_GETIMAGELIST, 0, 0)) : nullptr;
    int width = 0;
    int height = 0;
    return images && ImageList_GetIconSize(images, &width, &height) && width == height ? width : 0;
}

TEST_F(MainWindowTest, AMoveToADenserScreenRescalesPartsPanesAndColumns) {
    ASSERT_EQ(96, main_->Dpi());
    HWND list = main_->Client()->ListHandle();
    const int listFontHeight = FontHeight(list);
    HWND tree = main_->Client()->TreeHandle();
    int columns[5];
    for (int i = 0; i < 5; ++i) {
        columns[i] = ListView_GetColumnWidth(list, i);
    }
    RECT r;
    GetWindowRect(tree, &r);
    const int treeWidth = r.right - r.left;

    // What the system sends when the frame is dragged onto a 144-DPI monitor.
    RECT suggested = {10, 10, 1010, 710};
    main_->Send(WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    EXPECT_EQ(144, main_->Dpi());
    GetWindowRect(main_->Handle(), &r);
    EXPECT_EQ(1000, r.right - r.left);
    EXPECT_EQ(700, r.bottom - r.top);
    // The fixed status parts are half as wide again: 145, 128, 87 and 19
    // become 218, 192, 131 and 29.
    int edges[kStatusPartCount] = {};
    ASSERT_EQ(kStatusPartCount, SendMessageA(main_->StatusBarHandle(), SB_GETPARTS, kStatusPartCount, LPARAM(edges)));
    const int widths[] = {218, 192, 131, 29};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(widths[i], edges[i + 2] - edges[i + 1]) << "part " << i + 2;
    }
    // The tree pane and the columns keep their share of the screen.
    GetWindowRect(tree, &r);
    EXPECT_NEAR(treeWidth * 3 / 2, r.right - r.left, 1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(columns[i] * 3 / 2, ListView_GetColumnWidth(list, i), 1) << "column " << i;
    }
    // Their texts grow with them, and so do the buttons' pictures.
    EXPECT_NEAR(listFontHeight * 3 / 2, FontHeight(list), 1);
    EXPECT_EQ(24, ButtonPictureSide(main_->Handle(), kPropertyToolBarId));

    // And back: the widths return to what they were.
    main_->Send(WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(columns[i], ListView_GetColumnWidth(list, i), 1) << "column " << i;
    }
    EXPECT_EQ(16, ButtonPictureSide(main_->Handle(), kPropertyToolBarId));
}

// The palette on a screen of its own: moved to a denser one, it takes the
// size the system suggests and its buttons and their pictures grow with it,
// each button still inside the palette; the main window's stay as they were.
TEST_F(MainWindowTest, ThePaletteMovedToADenserScreenRescalesItsButtons) {
    Command(kCmdPlayPalette);
    HWND palette = FindWindowA("Kadrel PlayPalette", "プレイパレット - Quillory");
    ASSERT_TRUE(palette);
    ASSERT_EQ(16, ButtonPictureSide(palette, kPaletteToolBarId));
    RECT frame;
    GetWindowRect(palette, &frame);
    RECT client;
    GetClientRect(palette, &client);
    const int frameWidth = (frame.right - frame.left) - client.right;
    const int frameHeight = (frame.bottom - frame.top) - client.bottom;
    RECT suggested = {20, 20, 20 + 495 + frameWidth, 20 + 33 + frameHeight};
    SendMessageA(palette, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    Pump();
    GetWindowRect(palette, &frame);
    EXPECT_EQ(suggested.right - suggested.left, frame.right - frame.left);
    EXPECT_EQ(24, ButtonPictureSide(palette, kPaletteToolBarId));
    EXPECT_EQ(16, ButtonPictureSide(main_->Handle(), kPropertyToolBarId));
    HWND bar = FindWindowExA(palette, nullptr, TOOLBARCLASSNAMEA, nullptr);
    ASSERT_TRUE(bar);
    const int buttons = int(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    ASSERT_GT(buttons, 0);
    RECT last = {};
    SendMessageA(bar, TB_GETITEMRECT, buttons - 1, reinterpret_cast<LPARAM>(&last));
    GetClientRect(palette, &client);
    EXPECT_GE(last.bottom - last.top, 24);
    EXPECT_LE(last.right, client.right);
    EXPECT_LE(last.bottom, client.bottom);
    // The tool bar is the palette's only one: the one it had is gone.
    EXPECT_FALSE(FindWindowExA(palette, bar, TOOLBARCLASSNAMEA, nullptr));
    Command(kCmdPlayPalette);
}

TEST_F(MainWindowTest, BandCommandsHideShowAndReset) {
    for (int id : {kCmdBandProperty, kCmdBandSearch, kCmdBandPlay}) {
        const uint32_t band = BandIdOfCommand(id);
        EXPECT_TRUE(main_->BandShown(band));
        Command(id);
        EXPECT_FALSE(main_->BandShown(band)) << id;
    }
    Command(kCmdBandSearch);
    EXPECT_TRUE(main_->BandShown(2));
    Command(kCmdBandReset);
    for (uint32_t band = 1; band <= 3; ++band) {
        EXPECT_TRUE(main_->BandShown(band)) << band;
    }
    EXPECT_EQ(UINT(MF_CHECKED), GetMenuState(GetMenu(main_->Handle()), kCmdBandPlay, MF_BYCOMMAND));

    Command(kCmdStatusBar);
    EXPECT_FALSE(IsWindowVisible(main_->StatusBarHandle()));
    Command(kCmdStatusBar);
    EXPECT_TRUE(IsWindowVisible(main_->StatusBarHandle()));
}

TEST_F(MainWindowTest, ThePlayerMenuChecksTheChosenPlayer) {
    HMENU menu = GetMenu(main_->Handle());
    for (int chosen : {int(kCmdPlayerFirst) + 7, int(kCmdPlayerUser), int(kCmdPlayerFirst)}) {
        Command(chosen);
        for (int id = kCmdPlayerFirst; id <= kCmdPlayerUser; ++id) {
            EXPECT_EQ(id == chosen, (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0)
                << "chosen " << chosen << ", item " << id;
        }
    }
}

TEST_F(MainWindowTest, PaletteOpensAndClosesWithItsCommand) {
    Command(kCmdPlayPalette);
    HWND palette = FindWindowA("Kadrel PlayPalette", "プレイパレット - Quillory");
    ASSERT_TRUE(palette);
    RECT client;
    GetClientRect(palette, &client);
    EXPECT_EQ(330, client.right);
    EXPECT_EQ(22, client.bottom);
    // Its close box goes through the same command.
    SendMessageA(palette, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(main_->PaletteOpen());
    EXPECT_FALSE(IsWindow(palette));
}

TEST_F(MainWindowTest, ToolTipsNameTheCommands) {
    EXPECT_EQ("表示", main_->ToolTipText(kCmdViewButton));
    EXPECT_EQ("連続演奏を解除", main_->ToolTipText(kCmdPlayCancel));
    EXPECT_EQ("絞り込みを解除", main_->ToolTipText(kCmdBarWiden));
    EXPECT_EQ("", main_->ToolTipText(kCmdExit));
}

TEST_F(MainWindowTest, MinimizingWithStoreTaskTrayHidesInTheTray) {
    main_->Client()->settings.mode.storeTaskTray = true;
    main_->Show(SW_MINIMIZE);
    Pump();
    EXPECT_FALSE(IsWindowVisible(main_->Handle()));
    EXPECT_TRUE(main_->TrayIconShown());
    // A left click on the icon brings the window back and removes the icon.
    main_->Send(kMsgTrayIcon, 0, WM_LBUTTONDOWN);
    Pump();
    EXPECT_TRUE(IsWindowVisible(main_->Handle()));
    EXPECT_FALSE(IsIconic(main_->Handle()));
    EXPECT_FALSE(main_->TrayIconShown());
}

TEST_F(MainWindowTest, MinimizingToTheTaskBarAddsPlayItemsToTheSystemMenu) {
    main_->Show(SW_MINIMIZE);
    Pump();
    EXPECT_TRUE(IsWindowVisible(main_->Handle()));
    EXPECT_FALSE(main_->TrayIconShown());
    EXPECT_STREQ("Quillory", main_->GetText().c_str());
    char text[64] = {};
    GetMenuStringA(GetSystemMenu(main_->Handle(), FALSE), kCmdPlay, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("演奏(&O)", text);
    main_->Show(SW_RESTORE);
    Pump();
    EXPECT_EQ(0, GetMenuStringA(GetSystemMenu(main_->Handle(), FALSE), kCmdPlay, text, sizeof text, MF_BYCOMMAND));
}

TEST_F(MainWindowTest, ExitDuringHandOverIsRefusedAndWritesNothing) {
    main_->Client()->exitFlags.handOverRunning = true;
    // Answer the refusal box from another thread.
    std::thread answer([] {
        for (int i = 0; i < 200; ++i) {
            if (HWND box = FindWindowA("#32770", "Quillory")) {
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(25);
        }
    });
    main_->Send(WM_CLOSE, 0, 0);
    answer.join();
    Pump();
    EXPECT_TRUE(IsWindow(main_->Handle()));
    DWORD value = 0;
    EXPECT_FALSE(ReadNumber("Window", "ShowStatusBar", &value));

    main_->Client()->exitFlags.handOverRunning = false;
    main_->Send(WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(main_->Handle());
}

TEST_F(MainWindowTest, SettingsAreWrittenAtExit) {
    Command(kCmdBandProperty);
    Command(kCmdStatusBar);
    main_->Send(WM_CLOSE, 0, 0);
    Pump();
    ASSERT_FALSE(main_->Handle());
    DWORD value = 1;
    ASSERT_TRUE(ReadNumber("Window", "ShowStatusBar", &value));
    EXPECT_EQ(0u, value);
    ASSERT_TRUE(ReadNumber("Window", BandValueName(1, "Show").c_str(), &value));
    EXPECT_EQ(0u, value);
    ASSERT_TRUE(ReadNumber("Window", BandValueName(1, "id").c_str(), &value));
    EXPECT_EQ(1u, value);
    EXPECT_TRUE(ReadNumber("Mode", "RegWrite", &value));
    EXPECT_EQ(kDefaultRegWrite, value);
}

}  // namespace
