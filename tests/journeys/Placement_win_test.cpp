// Journeys about where windows open: the play palette clear of the main
// window's menu and tool bars (and at its remembered place when it has one),
// and dialogs centred on the main window and kept on the screen wherever the
// main window stands.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

std::string Shown(const RECT& r) {
    return "{" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + "}";
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

class PlacementJourney : public Journey {
   protected:
    void SetUp() override {
        Journey::SetUp();
        MakeSongsAndPlayerFolder();
    }

    // The work area of the screen the main window is on.
    RECT WorkArea() const {
        MONITORINFO info = {};
        info.cbSize = sizeof info;
        GetMonitorInfoA(MonitorFromWindow(MainWindow(), MONITOR_DEFAULTTONEAREST), &info);
        return info.rcWork;
    }

    // The main window's caption, menu bar and tool bars: from its top to the
    // bottom of its rebar.
    RECT BarsArea() const {
        HWND rebar = nullptr;
        EnumChildWindows(
            MainWindow(),
            [](HWND window, LPARAM found) -> BOOL {
                char name[32] = {};
                GetClassNameA(window, name, sizeof name);
                if (lstrcmpiA(name, "ReBarWindow32") != 0) {
                    return TRUE;
                }
                *reinterpret_cast<HWND*>(found) = window;
                return FALSE;
            },
            LPARAM(&rebar));
        RECT frame = {};
        RECT bars = {};
        GetWindowRect(MainWindow(), &frame);
        EXPECT_TRUE(rebar && GetWindowRect(rebar, &bars));
        return RECT{frame.left, frame.top, frame.right, bars.bottom};
    }

    // The program's play palette once it shows; null when it does not.
    HWND WaitForPalette() const {
        HWND palette = nullptr;
        WaitUntil(
            [&] {
                palette = FindWindowA("Kadrel PlayPalette", nullptr);
                DWORD owner = 0;
                GetWindowThreadProcessId(palette, &owner);
                return palette && IsWindowVisible(palette) && owner == OwnerProcess();
            },
            10000);
        return palette;
    }

    DWORD OwnerProcess() const {
        DWORD process = 0;
        GetWindowThreadProcessId(MainWindow(), &process);
        return process;
    }

    // Opens a dialog by its command and checks that it opened centred on the
    // main window, as far as the work area lets it, and wholly on the work
    // area; then closes it.
    void ExpectCentredAndOnTheScreen(int command, const std::string& caption, bool centred) {
        Menu(command);
        const ShownBox box = WaitForBoxTitled(caption);
        ASSERT_TRUE(box.window) << caption;
        RECT dialog = {};
        RECT main = {};
        GetWindowRect(box.window, &dialog);
        GetWindowRect(MainWindow(), &main);
        const RECT work = WorkArea();
        EXPECT_TRUE(Inside(dialog, work)) << caption << " " << Shown(dialog) << " on " << Shown(work);
        if (centred) {
            EXPECT_LE(std::abs((dialog.left + dialog.right) - (main.left + main.right)), 2)
                << caption << " " << Shown(dialog) << " on " << Shown(main);
            EXPECT_LE(std::abs((dialog.top + dialog.bottom) - (main.top + main.bottom)), 2)
                << caption << " " << Shown(dialog) << " on " << Shown(main);
        }
        ASSERT_TRUE(Answer(box, IDCANCEL));
    }

    // Moves the main window as a user drags it.
    void MoveMainWindow(int left, int top) const {
        SetWindowPos(MainWindow(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        WaitUntil(
            [&] {
                RECT now = {};
                GetWindowRect(MainWindow(), &now);
                return now.left == left && now.top == top;
            },
            5000);
    }
};

TEST_F(PlacementJourney, ThePaletteOpensClearOfTheMenuAndToolBarsUnlessItsPlaceIsRemembered) {
    ASSERT_TRUE(Start(Song("a")));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000)) << RowCount();
    Menu(kCmdPlayPalette);
    HWND palette = WaitForPalette();
    ASSERT_TRUE(palette);
    RECT place = {};
    GetWindowRect(palette, &place);
    const RECT bars = BarsArea();
    RECT common = {};
    EXPECT_FALSE(IntersectRect(&common, &place, &bars)) << Shown(place) << " over " << Shown(bars);
    EXPECT_TRUE(Inside(place, WorkArea())) << Shown(place) << " on " << Shown(WorkArea());
    // It opened where it takes no click meant for the menu bar.
    POINT menuBar = {20, 0};
    ClientToScreen(MainWindow(), &menuBar);
    menuBar.y -= GetSystemMetrics(SM_CYMENU) / 2;
    EXPECT_EQ(MainWindow(), WindowFromPoint(menuBar));
    ASSERT_TRUE(Close());

    // Left open at exit, it opens again at the next start; a place the user
    // moved it to wins, even over the bars.
    ASSERT_TRUE(WriteSetting("FloatingToolBar", "WinX", 30u));
    ASSERT_TRUE(WriteSetting("FloatingToolBar", "WinY", 40u));
    ASSERT_TRUE(Start(""));
    palette = WaitForPalette();
    ASSERT_TRUE(palette);
    GetWindowRect(palette, &place);
    EXPECT_EQ(30, place.left);
    EXPECT_EQ(40, place.top);
    EXPECT_TRUE(Close());
}

TEST_F(PlacementJourney, DialogsOpenCentredOnTheMainWindowAndStayOnTheScreen) {
    ASSERT_TRUE(Start(Song("a")));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000)) << RowCount();
    ExpectCentredAndOnTheScreen(kCmdSettings, "設定 - Quillory", true);
    ExpectCentredAndOnTheScreen(kCmdNarrow, "絞り込み - Quillory", true);

    // Dragged mostly off the lower right corner of the screen, and off the
    // upper left one: the dialogs come as near the centre as the screen lets.
    const RECT work = WorkArea();
    MoveMainWindow(work.right - 200, work.bottom - 120);
    ExpectCentredAndOnTheScreen(kCmdSettings, "設定 - Quillory", false);
    MoveMainWindow(work.left - 500, work.top - 300);
    ExpectCentredAndOnTheScreen(kCmdSettings, "設定 - Quillory", false);
    EXPECT_TRUE(Close());
}

}  // namespace
