// Play order, shuffle, next/previous arithmetic and the end-of-song rule.
#include "player/PlayOrder.h"

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>

#include "core/RandomGenerator.h"

bool IsContinuous(PlayMode mode) {
    return mode != PlayMode::kNone;
}

static size_t Draw(RandomGenerator* random, size_t n) {
    return static_cast<size_t>((static_cast<uint64_t>(random->next()) * n) >> 32);
}

void ShufflePlayOrder(std::vector<int32_t>* order, RandomGenerator* random) {
    const size_t n = order->size();
    if (n <= 1) {
        return;
    }
    if (n == 2) {
        std::swap((*order)[0], (*order)[Draw(random, n)]);
        return;
    }
    for (size_t i = 0; i < n; ++i) {
        size_t j = Draw(random, n);
        while (j == i) {
            j = Draw(random, n);
        }
        std::swap((*order)[i], (*order)[j]);
    }
}

std::vector<int32_t> PlayOrder::Build(int32_t objectCount,
                                      const std::vector<int32_t>& selectedRows,
                                      const std::vector<int32_t>& markedRows) {
    std::vector<int32_t> marks;
    if (playRange) {
        // The range never grows: rows marked since do not join it.
        const size_t keep = std::min(order_.size(), markedRows.size());
        order_.assign(markedRows.begin(), markedRows.begin() + static_cast<std::ptrdiff_t>(keep));
        std::sort(order_.begin(), order_.end());
    } else if (selectedRows.size() >= 2) {
        playRange = true;
        order_ = selectedRows;
        std::sort(order_.begin(), order_.end());
        marks = order_;
    } else {
        order_.clear();
        for (int32_t i = 0; i < objectCount; ++i) {
            order_.push_back(i);
        }
    }
    SetPosition(pos_);
    return marks;
}

int32_t PlayOrder::orderLast() const {
    return static_cast<int32_t>(order_.size()) - 1;
}

int32_t PlayOrder::orderPos() const {
    return pos_;
}

const std::vector<int32_t>& PlayOrder::entries() const {
    return order_;
}

int32_t PlayOrder::RowToHandOver() const {
    return pos_ >= 0 && static_cast<size_t>(pos_) < order_.size() ? order_[static_cast<size_t>(pos_)] : -1;
}

int32_t PlayOrder::IndexOf(int32_t row) const {
    for (size_t i = 0; i < order_.size(); ++i) {
        if (order_[i] == row) {
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void PlayOrder::SetPosition(int32_t index) {
    pos_ = index >= 0 && index <= orderLast() ? index : 0;
}

int32_t PlayOrder::StartIndex(int32_t focusedRow, bool shiftHeld) const {
    if (shiftHeld) {
        return 0;
    }
    const int32_t index = playRange ? IndexOf(focusedRow) : focusedRow;
    return index < 0 || index > orderLast() ? 0 : index;
}

void PlayOrder::StartRandom(int32_t firstRow, RandomGenerator* random) {
    ShufflePlayOrder(&order_, random);
    const int32_t first = firstRow >= 0 ? IndexOf(firstRow) : -1;
    if (first > 0) {
        std::swap(order_[0], order_[static_cast<size_t>(first)]);
    }
    pos_ = 0;
}

void PlayOrder::Advance(PlayMode mode, RandomGenerator* random) {
    if (mode != PlayMode::kSequential && mode != PlayMode::kRandom) {
        return;
    }
    if (pos_ + 1 <= orderLast()) {
        ++pos_;
        return;
    }
    if (mode == PlayMode::kRandom) {
        ShufflePlayOrder(&order_, random);
    }
    pos_ = 0;
    wrapped = true;
}

void PlayOrder::StepBack(PlayMode mode) {
    wrapped = false;
    const int32_t n = orderLast() + 1;
    if (n <= 0) {
        pos_ = 0;
        return;
    }
    const int32_t step = mode == PlayMode::kRepeat ? 1 : 2;
    pos_ = ((pos_ - step) % n + n) % n;
}

void PlayOrder::StepForward(PlayMode mode) {
    wrapped = false;
    if (mode == PlayMode::kRepeat) {
        SetPosition(pos_ >= orderLast() ? 0 : pos_ + 1);
    }
}

int32_t PreviousRow(int32_t focusedRow, int32_t lastRow) {
    return focusedRow <= 0 ? lastRow : focusedRow - 1;
}

int32_t NextRow(int32_t focusedRow, int32_t lastRow) {
    return focusedRow >= lastRow ? 0 : focusedRow + 1;
}

TickStart StartTick(bool pendingCommand, int32_t busyCount, bool handOverRunning, bool exiting) {
    if (pendingCommand && busyCount == 0) {
        return TickStart::kPostPending;
    }
    return handOverRunning || exiting ? TickStart::kSkip : TickStart::kPoll;
}

TickAction DecideTick(PlayMode mode,
                      int32_t* graceCounter,
                      PlayerStatus status,
                      int32_t busyCount,
                      bool loopPlay,
                      bool wrapped) {
    if (mode == PlayMode::kNone) {
        return TickAction::kNone;
    }
    if (*graceCounter < kGraceTicks) {
        ++*graceCounter;
        return TickAction::kNone;
    }
    if (status != Stopped || busyCount != 0) {
        return TickAction::kNone;
    }
    if (mode != PlayMode::kRepeat && !loopPlay && wrapped) {
        return TickAction::kEndRun;
    }
    return TickAction::kHandOverNext;
}

bool PlayIndicator::Set(PlayerStatus status) {
    int32_t picture;
    if (status == Playing || status == Paused) {
        picture = (status == Playing ? 1 : 3) + (phase_ ? 1 : 0);
        phase_ = !phase_;
    } else if (status == Stopped) {
        picture = 0;
    } else {
        return false;
    }
    if (picture == picture_) {
        return false;
    }
    picture_ = picture;
    return true;
}

std::string PlayModeStatusText(PlayMode mode) {
    static const char* const kNames[] = {"Normal", "Auto", "Random", "Repeat"};
    return std::string("\tPlayMode : ") + kNames[static_cast<int>(mode) & 3];
}
