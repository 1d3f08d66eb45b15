// Fixed sizes on screens of other densities, and the song list's first-start
// column widths.
#include "ui/rules/ScreenLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenLayout, BaseLengthsScaleToTheNearestPixel) {
    struct Case {
        int pixels;
        int dpi;
        int scaled;
    };
    const Case cases[] = {
        {22, 96, 22},    {22, 144, 33}, {145, 144, 218}, {19, 144, 29}, {87, 120, 109},
        {330, 192, 660}, {0, 144, 0},   {-6, 144, -9},   {1, 144, 2},   {22, 72, 17},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.scaled, ScaleFromBase(c.pixels, c.dpi)) << c.pixels << " at " << c.dpi;
    }
    // A density nothing answered for leaves lengths as they are.
    EXPECT_EQ(57, ScaleFromBase(57, 0));
    // Large lengths at large densities do not overflow.
    EXPECT_EQ(2000000000, ScaleFromBase(400000000, 480));
}

TEST(ScreenLayout, StoredLengthsDoNotCreepFromRunToRun) {
    // A width stored as 96-DPI pixels is scaled up at start and back down at
    // exit; at any density from 96 up it comes back unchanged.
    for (int dpi : {96, 120, 144, 168, 192, 240, 288}) {
        for (int stored = 0; stored <= 2000; ++stored) {
            ASSERT_EQ(stored, ScaleToBase(ScaleFromBase(stored, dpi), dpi)) << stored << " at " << dpi;
        }
    }
}

TEST(ScreenLayout, FirstStartColumnsFillTheListAndKeepTheirNeeds) {
    struct Case {
        int listWidth;
        int needed[kListColumnCount];
    };
    const Case cases[] = {
        // A 96-DPI list of a 768-pixel window and one at 144 DPI.
        {540, {60, 50, 60, 70, 100}},
        {810, {90, 75, 90, 105, 150}},
        // Exactly the needs, and one pixel more.
        {500, {100, 100, 100, 100, 100}},
        {501, {100, 100, 100, 100, 100}},
    };
    for (const Case& c : cases) {
        int widths[kListColumnCount];
        FitColumnWidths(c.listWidth, c.needed, widths);
        int total = 0;
        for (int i = 0; i < kListColumnCount; ++i) {
            EXPECT_GE(widths[i], c.needed[i]) << c.listWidth << " column " << i;
            total += widths[i];
        }
        EXPECT_EQ(c.listWidth, total);
        // The module and date columns get what they need, no more.
        EXPECT_EQ(c.needed[3], widths[3]);
        EXPECT_EQ(c.needed[4], widths[4]);
    }
    // With room to share, the title column takes the largest share.
    int widths[kListColumnCount];
    const int needed[kListColumnCount] = {60, 50, 60, 70, 100};
    FitColumnWidths(1000, needed, widths);
    EXPECT_GT(widths[1], widths[0]);
    EXPECT_GT(widths[1], widths[2]);
}

TEST(ScreenLayout, AListTooNarrowGivesEveryColumnItsNeed) {
    const int needed[kListColumnCount] = {60, 50, 60, 70, 100};
    for (int listWidth : {339, 100, 0, -20}) {
        int widths[kListColumnCount];
        FitColumnWidths(listWidth, needed, widths);
        for (int i = 0; i < kListColumnCount; ++i) {
            EXPECT_EQ(needed[i], widths[i]) << listWidth << " column " << i;
        }
    }
}

}  // namespace
