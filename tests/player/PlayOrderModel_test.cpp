// The play order under a random mix of what a user does during continuous
// play: other locations opened, play ranges made and ended, marks lost,
// Auto, Random and Repeat started, songs ending, Next and Previous in every
// mode. Whatever the mix, the song handed over is a row of the list shown
// (and of the range while one lives), and the order's position names one of
// its entries. Built natively, the walk runs under ASan and UBSan.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "core/RandomGenerator.h"
#include "player/PlayOrder.h"

namespace {

class PlayModel {
   public:
    explicit PlayModel(uint32_t seed) : dice_(seed) {
        random_.seed(seed);
        OpenLocation();
    }

    void Step() {
        switch (Roll(9)) {
            case 0:
                OpenLocation();
                break;
            case 1:
                SelectSome();
                break;
            case 2:
                Start(PlayMode::kSequential);
                break;
            case 3:
                Start(PlayMode::kRandom);
                break;
            case 4:
                Start(PlayMode::kRepeat);
                break;
            case 5:
            case 6:
                SongEnded();
                break;
            case 7:
                NextOrPrevious(Roll(2) == 0);
                break;
            default:
                if (Roll(2) == 0) {
                    EndRun();
                } else {
                    LoseMarkAndRebuild();
                }
                break;
        }
        CheckOrder();
    }

    int handOvers = 0;

   private:
    int32_t Roll(int32_t n) {
        return int32_t(dice_() % uint32_t(n));
    }

    std::vector<int32_t> Marked() const {
        return std::vector<int32_t>(marks_.begin(), marks_.end());
    }

    void Build() {
        const std::vector<int32_t> selected(selected_.begin(), selected_.end());
        for (int32_t row : order_.Build(count_, selected, Marked())) {
            marks_.insert(row);
        }
    }

    // The list loader: the run ends and the range goes with the old rows.
    void OpenLocation() {
        mode_ = PlayMode::kNone;
        order_.playRange = false;
        marks_.clear();
        selected_.clear();
        count_ = Roll(4) == 0 ? Roll(3) : Roll(12);
        focused_ = count_ > 0 ? Roll(count_) : -1;
        Build();
    }

    void SelectSome() {
        selected_.clear();
        for (int32_t row = 0; row < count_; ++row) {
            if (Roll(3) == 0) {
                selected_.insert(row);
            }
        }
        if (count_ > 0) {
            focused_ = Roll(count_);
        }
    }

    void Start(PlayMode mode) {
        if (count_ == 0 || (mode != PlayMode::kRandom && focused_ < 0) || order_.orderLast() < 0) {
            return;
        }
        order_.wrapped = false;
        Build();
        if (mode == PlayMode::kRandom) {
            order_.StartRandom(Roll(2) == 0 ? focused_ : -1, &random_);
        } else {
            order_.SetPosition(order_.StartIndex(focused_, mode == PlayMode::kSequential && Roll(4) == 0));
        }
        mode_ = mode;
        HandOverNext();
    }

    void HandOverNext() {
        const int32_t row = order_.RowToHandOver();
        if (row < 0) {
            EXPECT_TRUE(order_.entries().empty());
            return;
        }
        ASSERT_LT(row, count_);
        if (order_.playRange) {
            EXPECT_EQ(1u, marks_.count(row)) << "row " << row << " left the range";
        }
        focused_ = row;
        ++handOvers;
        order_.Advance(mode_, &random_);
    }

    void SongEnded() {
        if (mode_ == PlayMode::kNone) {
            return;
        }
        if (mode_ != PlayMode::kRepeat && order_.wrapped && Roll(2) == 0) {
            EndRun();  // the run is over, loop play off
            return;
        }
        HandOverNext();
    }

    void NextOrPrevious(bool next) {
        if (focused_ < 0) {
            return;
        }
        if (mode_ == PlayMode::kNone) {
            // Normal mode walks the list itself, whatever order the last run left.
            focused_ = next ? NextRow(focused_, count_ - 1) : PreviousRow(focused_, count_ - 1);
            ASSERT_GE(focused_, 0);
            ASSERT_LT(focused_, count_);
            return;
        }
        if (next) {
            order_.StepForward(mode_);
        } else {
            order_.StepBack(mode_);
        }
        HandOverNext();
    }

    void EndRun() {
        if (mode_ == PlayMode::kNone) {
            return;
        }
        mode_ = PlayMode::kNone;
        if (order_.playRange) {
            selected_ = marks_;
            marks_.clear();
            order_.playRange = false;
        }
    }

    // A marked row loses its mark (its object went away under the range);
    // the next rebuild refills the order from the marks still there.
    void LoseMarkAndRebuild() {
        if (!marks_.empty()) {
            auto gone = marks_.begin();
            std::advance(gone, Roll(int32_t(marks_.size())));
            marks_.erase(gone);
        }
        Build();
    }

    void CheckOrder() {
        const std::vector<int32_t>& entries = order_.entries();
        EXPECT_EQ(int32_t(entries.size()) - 1, order_.orderLast());
        EXPECT_GE(order_.orderPos(), 0);
        EXPECT_LE(order_.orderPos(), std::max(order_.orderLast(), 0));
        EXPECT_EQ(entries.empty(), order_.RowToHandOver() < 0);
        for (int32_t row : entries) {
            EXPECT_GE(row, 0);
            EXPECT_LT(row, count_);
            if (order_.playRange) {
                EXPECT_EQ(1u, marks_.count(row));
            }
        }
        if (order_.playRange) {
            EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()) || mode_ == PlayMode::kRandom);
        }
    }

    std::mt19937 dice_;
    RandomGenerator random_;
    PlayOrder order_;
    PlayMode mode_ = PlayMode::kNone;
    int32_t count_ = 0;
    int32_t focused_ = -1;
    std::set<int32_t> selected_;
    std::set<int32_t> marks_;
};

TEST(PlayOrderModel, RandomMixOfLocationsRangesAndStepsNeverLeavesTheList) {
    int handOvers = 0;
    for (uint32_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE(seed);
        PlayModel model(seed);
        for (int step = 0; step < 400 && !::testing::Test::HasFatalFailure(); ++step) {
            model.Step();
        }
        ASSERT_FALSE(::testing::Test::HasFailure());
        handOvers += model.handOvers;
    }
    // The walk did reach the hand-overs it is about.
    EXPECT_GT(handOvers, 10000);
}

// A range refilled from fewer marks than it had: the position that named
// its last entry now names an entry that is still there.
TEST(PlayOrderModel, ARangeThatLostMarksKeepsItsPositionInside) {
    PlayOrder order;
    ASSERT_EQ((std::vector<int32_t>{2, 4, 6, 8}), order.Build(10, {2, 4, 6, 8}, {}));
    order.SetPosition(3);
    ASSERT_EQ(8, order.RowToHandOver());
    order.Build(10, {}, {2, 4});
    EXPECT_EQ(1, order.orderLast());
    EXPECT_EQ(0, order.orderPos());
    EXPECT_EQ(2, order.RowToHandOver());
    order.Build(10, {}, {});
    EXPECT_EQ(-1, order.orderLast());
    EXPECT_EQ(-1, order.RowToHandOver());
    RandomGenerator random;
    order.Advance(PlayMode::kSequential, &random);
    order.StepBack(PlayMode::kRandom);
    order.StepForward(PlayMode::kRepeat);
    EXPECT_EQ(-1, order.RowToHandOver());
}

}  // namespace
