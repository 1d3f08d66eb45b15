// The play order of continuous play with its random shuffle, the
// arithmetic of next and previous, the end-of-song rule of the 500 ms tick and
// the play indicator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "player/PlayerKind.h"

class RandomGenerator;

// Sequenced play in effect (the play modes of play control).
enum class PlayMode : int32_t { kNone = 0, kSequential = 1, kRandom = 2, kRepeat = 3 };

// The status bar's play mode part, starting with the tab that centres it.
std::string PlayModeStatusText(PlayMode mode);

// Auto, Random and Repeat: continuous play.
bool IsContinuous(PlayMode mode);

// Shuffles entries 0..orderLast: for three or more each entry i is swapped
// with a drawn j != i; two entries are swapped with one draw; j is
// floor(r * n / 2^32) for a fresh random r.
void ShufflePlayOrder(std::vector<int32_t>* order, RandomGenerator* random);

// The order keeps its entries and its position to itself: the position is
// always an index of an entry (0 when the order is empty), whatever the
// rebuilds, ranges and steps did, so a hand-over never reads past the end.
class PlayOrder {
   public:
    bool wrapped = false;    // ran past the end since the last play command
    bool playRange = false;  // the order is the user's multiple selection

    // Rebuilds the order. With a play range it is refilled from markedRows
    // (list order, at most as many as it held). Otherwise two or more
    // selectedRows make a new range, else the whole list of objectCount
    // songs. Returns the rows that take the play-range mark (empty unless a
    // new range was made).
    std::vector<int32_t> Build(int32_t objectCount,
                               const std::vector<int32_t>& selectedRows,
                               const std::vector<int32_t>& markedRows);

    // Index of the last entry; -1 when the order is empty.
    int32_t orderLast() const;
    // Index of the entry to hand over next (Repeat: the current one).
    int32_t orderPos() const;
    // The song list positions in play order.
    const std::vector<int32_t>& entries() const;
    // The song list position of the entry at orderPos; -1 when the order is empty.
    int32_t RowToHandOver() const;
    // Index of row in the order; -1 when absent.
    int32_t IndexOf(int32_t row) const;

    // Moves orderPos to index; an index outside the order gives 0.
    void SetPosition(int32_t index);
    // orderPos for the start of Auto (shiftHeld starts at the top) and Repeat
    // from the focused row.
    int32_t StartIndex(int32_t focusedRow, bool shiftHeld) const;
    // Shuffles and moves firstRow (when >= 0 and present) to the front.
    void StartRandom(int32_t firstRow, RandomGenerator* random);

    // After a hand-over: Auto and Random step forward; past the end Random
    // reshuffles, orderPos returns to 0 and wrapped is set.
    void Advance(PlayMode mode, RandomGenerator* random);
    // The Previous and Next commands in continuous play: move orderPos to the
    // song to hand over next, wrapping around; clear wrapped.
    void StepBack(PlayMode mode);
    void StepForward(PlayMode mode);

   private:
    std::vector<int32_t> order_;
    int32_t pos_ = 0;
};

// Previous and Next in Normal mode: the neighbouring row of focusedRow in a
// list whose last row is lastRow, wrapping around.
int32_t PreviousRow(int32_t focusedRow, int32_t lastRow);
int32_t NextRow(int32_t focusedRow, int32_t lastRow);

// The first steps of the end-of-song tick, before the player is asked.
enum class TickStart { kPostPending, kSkip, kPoll };
TickStart StartTick(bool pendingCommand, int32_t busyCount, bool handOverRunning, bool exiting);

// What the tick does with the polled status.
enum class TickAction { kNone, kEndRun, kHandOverNext };
constexpr int32_t kGraceTicks = 6;  // 3 s of 500 ms ticks after every hand-over
TickAction DecideTick(PlayMode mode,
                      int32_t* graceCounter,
                      PlayerStatus status,
                      int32_t busyCount,
                      bool loopPlay,
                      bool wrapped);

// The play indicator: pictures 1/2 while playing, 3/4 while paused
// (alternating), 0 when stopped.
class PlayIndicator {
   public:
    // True when the picture changed; other states leave it.
    bool Set(PlayerStatus status);
    int32_t picture() const {
        return picture_;
    }

   private:
    int32_t picture_ = -1;
    bool phase_ = false;
};
