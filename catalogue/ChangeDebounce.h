// The decisions of the change debouncer, apart from its thread and events.
// Every change notification restarts a wait; only when a whole delay passes
// without one is the folder's signature taken and compared with the last, so
// a burst of copies costs one comparison and at most one refresh. A newly
// watched folder first gets a baseline, and a signature taken of a folder
// that is no longer watched is dropped, so one folder's changes are never
// measured against another's.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/FolderSignature.h"

constexpr uint32_t kDebounceDelay = 1500;           // ms of quiet before comparing
constexpr uint32_t kDebounceDisarmed = 0xFFFFFFFF;  // no time-out (the system's INFINITE)

// What the debouncer thread does after its wait for a kick ended.
enum class DebounceStep {
    kNone,          // kicked: wait again with the new delay
    kTakeBaseline,  // re-armed: take the new folder's baseline
    kCompare,       // quiet for the whole delay: take a signature and compare
};

// The folder a signature is taken of, with the re-arm it belongs to.
struct DebounceTarget {
    std::string folder;  // ends in its separator
    bool includeSubFolders = false;
    uint32_t generation = 0;
};

// Not thread-safe: the debouncer thread and its callers share one under a lock.
class ChangeDebounce {
   public:
    // A change arrived: the next wait lasts delayMs (kDebounceDisarmed: none).
    void Kick(uint32_t delayMs);

    // Watches another folder, disarmed: the next wake takes its baseline,
    // unless one is given (a signature of the folder read just before).
    void Rearm(const std::string& folder, bool includeSubFolders, const FolderSignature* baseline = nullptr);

    // The time-out of the next wait, in ms (kDebounceDisarmed: none).
    uint32_t Delay() const;

    // True while a comparison is due when the delay runs out.
    bool Pending() const;

    // The step after a wait ended, kicked or timed out. A comparison disarms
    // first, so a change arriving while it runs arms the next one.
    DebounceStep Wake(bool timedOut);

    // The folder being watched, for the signature the step needs.
    DebounceTarget Target() const;

    // Stores the baseline taken of target and clears the re-arm request.
    // Ignored when the folder was re-armed since.
    void SetBaseline(const DebounceTarget& target, const FolderSignature& signature);

    // Compares the signature taken of target with the baseline and makes it
    // the new baseline. Returns true when the folder's songs changed, that is
    // when the song list has to be read again; false also when the folder was
    // re-armed since or still waits for its baseline.
    bool Settle(const DebounceTarget& target, const FolderSignature& current);

   private:
    uint32_t delay_ = kDebounceDisarmed;
    bool resetRequested_ = false;
    DebounceTarget target_;
    FolderSignature baseline_;
};
