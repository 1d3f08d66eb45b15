// Play order, shuffle, next/previous arithmetic and the end-of-song rule.
#include "player/PlayOrder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/RandomGenerator.h"

static std::vector<int32_t> Iota(int32_t n) {
    std::vector<int32_t> v;
    for (int32_t i = 0; i < n; ++i) {
        v.push_back(i);
    }
    return v;
}

TEST(PlayOrder, ShuffleKeepsEveryEntryAndMovesEachForThreeOrMore) {
    RandomGenerator random;
    random.seed(12345);
    for (int32_t n : {3, 4, 7, 50}) {
        for (int round = 0; round < 20; ++round) {
            std::vector<int32_t> order = Iota(n);
            ShufflePlayOrder(&order, &random);
            std::vector<int32_t> sorted = order;
            std::sort(sorted.begin(), sorted.end());
            EXPECT_EQ(sorted, Iota(n));
        }
    }
}

TEST(PlayOrder, ShuffleOfTwoSwapsAboutHalfTheTimeAndOfOneNever) {
    RandomGenerator random;
    random.seed(4357);
    int swapped = 0;
    for (int i = 0; i < 1000; ++i) {
        std::vector<int32_t> order = {0, 1};
        ShufflePlayOrder(&order, &random);
        swapped += order[0] == 1 ? 1 : 0;
    }
    EXPECT_GT(swapped, 400);
    EXPECT_LT(swapped, 600);
    std::vector<int32_t> one = {5};
    ShufflePlayOrder(&one, &random);
    EXPECT_EQ(one, std::vector<int32_t>{5});
}

TEST(PlayOrder, ShuffleDrawsFromTheGeneratorInOrder) {
    // Same seed, same permutation: the shuffle uses only this generator.
    RandomGenerator a;
    RandomGenerator b;
    a.seed(99);
    b.seed(99);
    std::vector<int32_t> x = Iota(10);
    std::vector<int32_t> y = Iota(10);
    ShufflePlayOrder(&x, &a);
    ShufflePlayOrder(&y, &b);
    EXPECT_EQ(x, y);
    EXPECT_NE(x, Iota(10));
}

TEST(PlayOrder, BuildUsesSelectionOfTwoOrMoreAsRangeElseWholeList) {
    PlayOrder order;
    EXPECT_TRUE(order.Build(4, {2}, {}).empty());
    EXPECT_EQ(order.entries(), Iota(4));
    EXPECT_EQ(order.orderLast(), 3);
    EXPECT_FALSE(order.playRange);

    std::vector<int32_t> marks = order.Build(6, {4, 1, 3}, {});
    EXPECT_EQ(marks, (std::vector<int32_t>{1, 3, 4}));
    EXPECT_EQ(order.entries(), (std::vector<int32_t>{1, 3, 4}));
    EXPECT_EQ(order.orderLast(), 2);
    EXPECT_TRUE(order.playRange);

    // A live range ignores the selection and refills from the marks.
    EXPECT_TRUE(order.Build(6, {0, 5}, {1, 4}).empty());
    EXPECT_EQ(order.entries(), (std::vector<int32_t>{1, 4}));

    PlayOrder empty;
    empty.Build(0, {}, {});
    EXPECT_EQ(empty.orderLast(), -1);
    EXPECT_TRUE(empty.entries().empty());
}

TEST(PlayOrder, AutoRunWrapsAfterLastSongAndRandomReshuffles) {
    RandomGenerator random;
    random.seed(1);
    PlayOrder order;
    order.Build(3, {}, {});
    std::vector<int32_t> played;
    for (int i = 0; i < 3; ++i) {
        played.push_back(order.RowToHandOver());
        order.Advance(PlayMode::kSequential, &random);
        EXPECT_EQ(order.wrapped, i == 2);
    }
    EXPECT_EQ(played, Iota(3));
    EXPECT_EQ(order.orderPos(), 0);

    PlayOrder shuffled;
    shuffled.Build(5, {}, {});
    shuffled.StartRandom(3, &random);
    EXPECT_EQ(shuffled.entries()[0], 3);
    std::set<int32_t> seen;
    for (int i = 0; i < 5; ++i) {
        seen.insert(shuffled.RowToHandOver());
        shuffled.Advance(PlayMode::kRandom, &random);
    }
    EXPECT_EQ(seen.size(), 5u);
    EXPECT_TRUE(shuffled.wrapped);

    PlayOrder repeat;
    repeat.Build(3, {}, {});
    repeat.SetPosition(1);
    repeat.Advance(PlayMode::kRepeat, &random);
    EXPECT_EQ(repeat.orderPos(), 1);
}

TEST(PlayOrder, PreviousAndNextStepAndWrap) {
    struct Case {
        PlayMode mode;
        int32_t count;
        int32_t pos;
        bool back;
        int32_t expected;
    };
    const Case cases[] = {
        {PlayMode::kSequential, 3, 0, true, 1},  // just wrapped: the song before the last
        {PlayMode::kSequential, 3, 2, true, 0},  // pos names the next song, so two back
        {PlayMode::kRandom, 4, 1, true, 3},      // wraps below zero
        {PlayMode::kSequential, 1, 0, true, 0},  // one song plays again
        {PlayMode::kRepeat, 3, 0, true, 2},      // Repeat: pos is the current song
        {PlayMode::kRepeat, 3, 2, false, 0},     {PlayMode::kRepeat, 3, 0, false, 1},
        {PlayMode::kSequential, 3, 2, false, 2},  // Auto: pos already names the next song
    };
    for (const Case& c : cases) {
        PlayOrder order;
        order.Build(c.count, {}, {});
        order.SetPosition(c.pos);
        order.wrapped = true;
        if (c.back) {
            order.StepBack(c.mode);
        } else {
            order.StepForward(c.mode);
        }
        EXPECT_EQ(order.orderPos(), c.expected) << static_cast<int>(c.mode) << " " << c.pos;
        EXPECT_FALSE(order.wrapped);
    }
    EXPECT_EQ(PreviousRow(0, 4), 4);
    EXPECT_EQ(PreviousRow(3, 4), 2);
    EXPECT_EQ(NextRow(4, 4), 0);
    EXPECT_EQ(NextRow(1, 4), 2);
}

TEST(PlayOrder, StartIndexFollowsRangeAndShift) {
    PlayOrder order;
    order.Build(8, {2, 5, 7}, {});
    EXPECT_EQ(order.StartIndex(5, false), 1);
    EXPECT_EQ(order.StartIndex(4, false), 0);  // focus outside the range
    EXPECT_EQ(order.StartIndex(7, true), 0);
    PlayOrder whole;
    whole.Build(8, {}, {});
    EXPECT_EQ(whole.StartIndex(6, false), 6);
}

TEST(PlayOrder, TickWaitsOutGraceAndEndsRunOnlyWhenWrapped) {
    EXPECT_EQ(StartTick(true, 0, true, false), TickStart::kPostPending);
    EXPECT_EQ(StartTick(true, 1, false, false), TickStart::kPoll);
    EXPECT_EQ(StartTick(false, 0, true, false), TickStart::kSkip);
    EXPECT_EQ(StartTick(false, 0, false, true), TickStart::kSkip);

    int32_t grace = 0;
    for (int i = 0; i < kGraceTicks; ++i) {
        EXPECT_EQ(DecideTick(PlayMode::kSequential, &grace, Stopped, 0, false, false), TickAction::kNone);
    }
    EXPECT_EQ(DecideTick(PlayMode::kSequential, &grace, Stopped, 0, false, false), TickAction::kHandOverNext);
    EXPECT_EQ(DecideTick(PlayMode::kSequential, &grace, Stopped, 0, false, true), TickAction::kEndRun);
    EXPECT_EQ(DecideTick(PlayMode::kSequential, &grace, Stopped, 0, true, true), TickAction::kHandOverNext);
    EXPECT_EQ(DecideTick(PlayMode::kRepeat, &grace, Stopped, 0, false, true), TickAction::kHandOverNext);
    EXPECT_EQ(DecideTick(PlayMode::kSequential, &grace, Stopped, 1, false, false), TickAction::kNone);
    EXPECT_EQ(DecideTick(PlayMode::kSequential, &grace, Alive, 0, false, false), TickAction::kNone);
    EXPECT_EQ(DecideTick(PlayMode::kSequential, &grace, Playing, 0, false, false), TickAction::kNone);
    int32_t fresh = 0;
    EXPECT_EQ(DecideTick(PlayMode::kNone, &fresh, Stopped, 0, false, false), TickAction::kNone);
    EXPECT_EQ(fresh, 0);
}

TEST(PlayOrder, IndicatorAlternatesAndReportsChanges) {
    PlayIndicator indicator;
    EXPECT_TRUE(indicator.Set(Playing));
    EXPECT_EQ(indicator.picture(), 1);
    EXPECT_TRUE(indicator.Set(Playing));
    EXPECT_EQ(indicator.picture(), 2);
    EXPECT_TRUE(indicator.Set(Paused));
    EXPECT_EQ(indicator.picture(), 3);
    EXPECT_FALSE(indicator.Set(Alive));
    EXPECT_TRUE(indicator.Set(Stopped));
    EXPECT_EQ(indicator.picture(), 0);
    EXPECT_FALSE(indicator.Set(Stopped));
}
