// Where dialogs and the play palette open: centred on the owner and kept on
// the work area, and the palette clear of the main window's bars, for main
// windows in the middle, at the edges, off the screen and maximised.
#include "ui/rules/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

// A 1024 by 768 screen whose task bar takes the lowest 30 pixels.
constexpr ScreenRect kWork = {0, 0, 1024, 738};

::testing::AssertionResult Same(const ScreenRect& expected, const ScreenRect& actual) {
    if (expected.left == actual.left && expected.top == actual.top && expected.right == actual.right &&
        expected.bottom == actual.bottom) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "{" << actual.left << ", " << actual.top << ", " << actual.right << ", "
                                         << actual.bottom << "}";
}

bool Inside(const ScreenRect& rect, const ScreenRect& area) {
    return rect.left >= area.left && rect.top >= area.top && rect.right <= area.right && rect.bottom <= area.bottom;
}

TEST(WindowPlacement, DialogsAreCentredOnTheirOwnerAndKeptOnTheWorkArea) {
    struct Case {
        const char* what;
        int width;
        int height;
        ScreenRect owner;
        ScreenRect work;
        ScreenRect expected;
    };
    const Case cases[] = {
        {"owner in the middle", 200, 100, {100, 100, 700, 500}, kWork, {300, 250, 500, 350}},
        {"an odd spare pixel goes right and down", 201, 101, {100, 100, 700, 500}, kWork, {299, 249, 500, 350}},
        {"owner mostly off the right edge", 300, 200, {900, 100, 1500, 500}, kWork, {724, 200, 1024, 400}},
        {"owner off the top left corner", 300, 200, {-400, -300, 200, 300}, kWork, {0, 0, 300, 200}},
        {"owner below the work area", 300, 200, {100, 600, 700, 1000}, kWork, {250, 538, 550, 738}},
        {"task bar at the top", 300, 200, {0, 0, 400, 200}, {0, 30, 1024, 768}, {50, 30, 350, 230}},
        {"a second monitor left of the first",
         300,
         200,
         {-1000, 0, -900, 100},
         {-1280, 0, 0, 1024},
         {-1100, 0, -800, 200}},
        {"larger than the work area: caption and left edge stay",
         1200,
         900,
         {0, 0, 1024, 738},
         kWork,
         {0, 0, 1200, 900}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(Same(c.expected, CentreOn(c.width, c.height, c.owner, c.work))) << c.what;
    }
}

TEST(WindowPlacement, ThePaletteCoversNoneOfTheMainWindowsBars) {
    // A palette of 336 by 51 pixels with its frame; the list's scroll bar is 17 wide.
    constexpr int kWidth = 336;
    constexpr int kHeight = 51;
    constexpr int kInset = 17;
    struct Case {
        const char* what;
        ScreenRect frame;
        int barsBottom;
        int clientBottom;
        ScreenRect expected;
    };
    const Case cases[] = {
        {"room below the window: under it, right-aligned", {100, 50, 800, 500}, 120, 480, {464, 500, 800, 551}},
        {"room only above the window", {100, 400, 800, 730}, 470, 710, {464, 349, 800, 400}},
        {"below a window off the right edge, kept on the screen",
         {900, 200, 1600, 600},
         270,
         580,
         {688, 600, 1024, 651}},
        {"maximised: the list's lower right corner", {-4, -4, 1028, 742}, 100, 715, {671, 647, 1007, 698}},
        {"a tall narrow window: its lower right corner", {300, 0, 600, 738}, 90, 715, {243, 647, 579, 698}},
        {"a client too short for it: right under the bars", {0, 0, 1024, 738}, 60, 90, {667, 60, 1003, 111}},
    };
    for (const Case& c : cases) {
        const ScreenRect keepClear = {c.frame.left, c.frame.top, c.frame.right, c.barsBottom};
        const ScreenRect client = {c.frame.left + 4, c.barsBottom, c.frame.right - 4, c.clientBottom};
        const ScreenRect placed = PlacePalette(kWidth, kHeight, c.frame, keepClear, client, kInset, kWork);
        EXPECT_TRUE(Same(c.expected, placed)) << c.what;
        EXPECT_EQ(kWidth, placed.right - placed.left) << c.what;
        EXPECT_EQ(kHeight, placed.bottom - placed.top) << c.what;
        EXPECT_TRUE(Inside(placed, kWork)) << c.what;
        EXPECT_FALSE(Overlaps(placed, keepClear)) << c.what;
    }
}

TEST(WindowPlacement, RectanglesThatOnlyTouchDoNotOverlap) {
    const ScreenRect a = {0, 0, 100, 50};
    EXPECT_FALSE(Overlaps(a, {100, 0, 200, 50}));
    EXPECT_FALSE(Overlaps(a, {0, 50, 100, 90}));
    EXPECT_TRUE(Overlaps(a, {99, 49, 200, 90}));
    EXPECT_TRUE(Overlaps(a, {10, 10, 20, 20}));
    EXPECT_FALSE(Overlaps(a, {10, 10, 10, 20}));  // empty
}

}  // namespace
