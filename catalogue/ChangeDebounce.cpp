// The change debouncer's state: the pending delay, the re-arm request and the
// baseline signature of the watched folder.
#include "catalogue/ChangeDebounce.h"

void ChangeDebounce::Kick(uint32_t delayMs) {
    delay_ = delayMs;
}

void ChangeDebounce::Rearm(const std::string& folder, bool includeSubFolders, const FolderSignature* baseline) {
    target_.folder = folder;
    target_.includeSubFolders = includeSubFolders;
    target_.generation++;
    resetRequested_ = baseline == nullptr;
    if (baseline) {
        baseline_ = *baseline;
    }
    delay_ = kDebounceDisarmed;
}

uint32_t ChangeDebounce::Delay() const {
    return delay_;
}

bool ChangeDebounce::Pending() const {
    return delay_ != kDebounceDisarmed;
}

DebounceStep ChangeDebounce::Wake(bool timedOut) {
    if (resetRequested_) {
        return DebounceStep::kTakeBaseline;
    }
    if (!timedOut) {
        return DebounceStep::kNone;
    }
    delay_ = kDebounceDisarmed;
    return DebounceStep::kCompare;
}

DebounceTarget ChangeDebounce::Target() const {
    return target_;
}

void ChangeDebounce::SetBaseline(const DebounceTarget& target, const FolderSignature& signature) {
    if (target.generation != target_.generation) {
        return;
    }
    baseline_ = signature;
    resetRequested_ = false;
}

bool ChangeDebounce::Settle(const DebounceTarget& target, const FolderSignature& current) {
    if (resetRequested_ || target.generation != target_.generation) {
        return false;
    }
    const bool changed = current != baseline_;
    baseline_ = current;
    return changed;
}
