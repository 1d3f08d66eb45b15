// The main window's rules: status bar layout at the widths where parts move,
// the count text, the minimized title and tool tips.
#include "ui/rules/MainWindowRules.h"

#include <gtest/gtest.h>

#include "player/LaunchRules.h"

namespace {

struct EdgeCase {
    int clientWidth;
    int scrollBarWidth;
    int dpi;
    int edges[kStatusPartCount];
};

TEST(MainWindowRules, StatusPartsFollowTheBarWidthAndTheScreenDensity) {
    const EdgeCase cases[] = {
        // Wide: W = 1000 - 19 = 981; part 0 ends at 981 - 111 - 379.
        {1000, 17, 96, {491, 602, 747, 875, 962, 981}},
        // W - 490 = 200 exactly keeps the player part: W = 690.
        {709, 17, 96, {200, 311, 456, 584, 671, 690}},
        // One pixel narrower hides it and part 0 takes the room.
        {708, 17, 96, {310, 310, 455, 583, 670, 689}},
        // Very narrow: part 0 never shrinks below 200.
        {300, 17, 96, {200, 200, 345, 473, 560, 579}},
        // Zero or negative widths still give a usable layout.
        {0, 17, 96, {200, 200, 345, 473, 560, 579}},
        // 144 DPI: every width and threshold is half as large again (145 ->
        // 218, 128 -> 192, 87 -> 131, 19 -> 29, 111 -> 167, 200 -> 300,
        // 490 -> 735), and the scroll bar is the wider one of that screen.
        // W = 1500 - 26 - 3 = 1471; part 0 ends at 1471 - 167 - 570.
        {1500, 26, 144, {734, 901, 1119, 1311, 1442, 1471}},
        // W - 735 = 300 exactly keeps the player part: W = 1035.
        {1064, 26, 144, {300, 467, 685, 877, 1008, 1037}},
        // Narrow: the player part goes and part 0 stays 300 wide.
        {1000, 26, 144, {401, 401, 619, 811, 942, 971}},
        {0, 26, 144, {300, 300, 518, 710, 841, 870}},
    };
    for (const EdgeCase& c : cases) {
        int edges[kStatusPartCount];
        StatusPartEdges(c.clientWidth, c.scrollBarWidth, c.dpi, edges);
        for (int i = 0; i < kStatusPartCount; ++i) {
            EXPECT_EQ(c.edges[i], edges[i]) << "width " << c.clientWidth << " at " << c.dpi << " DPI, part " << i;
        }
    }
}

TEST(MainWindowRules, ObjectCountNamesSelectionAndNarrowing) {
    EXPECT_EQ("0 個のオブジェクト", ObjectCountText(0, 0, 0));
    EXPECT_EQ("128 個のオブジェクト (選択 3 個) [2]", ObjectCountText(128, 3, 2));
    EXPECT_EQ("5 個のオブジェクト [1]", ObjectCountText(5, 0, 1));
    EXPECT_EQ("5 個のオブジェクト (選択 5 個)", ObjectCountText(5, 5, 0));
    EXPECT_EQ("3000000000 個のオブジェクト", ObjectCountText(3000000000LL, 0, 0));
}

TEST(MainWindowRules, StatusTextsAreCentredByATab) {
    EXPECT_EQ("\tEmulation : OFF", EmulationStatusText(nullptr));
    EXPECT_EQ("\tEmulation : GS", EmulationStatusText("GS"));
    EXPECT_EQ("\tPlayMode : Normal", PlayModeStatusText(PlayMode::kNone));
    EXPECT_EQ("\tPlayMode : Auto", PlayModeStatusText(PlayMode::kSequential));
    EXPECT_EQ("\tPlayMode : Random", PlayModeStatusText(PlayMode::kRandom));
    EXPECT_EQ("\tPlayMode : Repeat", PlayModeStatusText(PlayMode::kRepeat));
    EXPECT_EQ("\tCache : ON", CacheStatusText(true));
    EXPECT_EQ("\tCache : OFF", CacheStatusText(false));
    EXPECT_EQ("\tTMIDI Player", PlayerStatusText("TMIDI Player"));
}

TEST(MainWindowRules, MinimizedTitleBracketsTheSongOnce) {
    struct {
        PlayMode mode;
        const char* title;
        const char* expected;
    } const cases[] = {
        {PlayMode::kRandom, nullptr, "Quillory"},
        {PlayMode::kNone, nullptr, "Quillory"},
        {PlayMode::kRandom, "Song Title", "(Rnd)  [Song Title] - Kadrel"},
        {PlayMode::kRandom, "[Intro]", "(Rnd)  [Intro] - Kadrel"},
        {PlayMode::kSequential, "表ソ", "(Aut)  [表ソ] - Kadrel"},
        {PlayMode::kRepeat, "[", "(Rep)  [[] - Kadrel"},
        {PlayMode::kRepeat, "[]", "(Rep)  [] - Kadrel"},
        {PlayMode::kNone, "[Open", " [[Open] - Kadrel"},
        {PlayMode::kNone, "", " [] - Kadrel"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, MinimizedTitle(c.mode, c.title)) << (c.title ? c.title : "(none)");
    }
}

TEST(MainWindowRules, PlayCancelToolTipNamesTheModeInEffect) {
    EXPECT_EQ("リピート演奏を解除", PlayCancelToolTip(PlayMode::kRepeat));
    EXPECT_EQ("ランダム演奏を解除", PlayCancelToolTip(PlayMode::kRandom));
    EXPECT_EQ("順次演奏を解除", PlayCancelToolTip(PlayMode::kSequential));
    EXPECT_EQ("連続演奏を解除", PlayCancelToolTip(PlayMode::kNone));
}

TEST(MainWindowRules, BandResetRestoresDefaultsWhateverTheLayout) {
    RebarBand bands[kMainBandCount] = {{3, 5, false, true}, {1, 900, false, true}, {2, 0, true, true}};
    ResetBands(bands);
    const RebarBand expected[kMainBandCount] = {{1, 180, true, false}, {2, 242, true, false}, {3, 228, true, false}};
    for (int i = 0; i < kMainBandCount; ++i) {
        EXPECT_EQ(expected[i].id, bands[i].id);
        EXPECT_EQ(expected[i].cx, bands[i].cx);
        EXPECT_EQ(expected[i].show, bands[i].show);
        EXPECT_EQ(expected[i].breakLine, bands[i].breakLine);
    }
}

TEST(MainWindowRules, BandCommandsAndViewOrder) {
    EXPECT_EQ(0u, BandIdOfCommand(399));
    EXPECT_EQ(1u, BandIdOfCommand(400));
    EXPECT_EQ(3u, BandIdOfCommand(402));
    EXPECT_EQ(0u, BandIdOfCommand(403));
    const uint32_t order[] = {1, 2, 3, 0};
    for (uint32_t view = 0; view < 4; ++view) {
        EXPECT_EQ(order[view], NextListView(view));
    }
}

}  // namespace
