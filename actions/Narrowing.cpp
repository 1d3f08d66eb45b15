// Narrowing levels over the paths of the location's objects.
#include "actions/Narrowing.h"

#include <algorithm>

#include "core/Text.h"

// Sizes of the paths table: rows and row step, text bytes and text step.
constexpr int kPathRows = 512;
constexpr int kPathRowStep = 256;
constexpr uint32_t kPathTextBytes = 8192;
constexpr uint32_t kPathTextStep = 4096;

// Paths compare ignoring case, as the file system names them.
NarrowState::NarrowState() : paths(nullptr, true, false, 1, 0, kPathRows, kPathRowStep, kPathTextBytes, kPathTextStep) {
}

bool NarrowKeepsPath(const NarrowState& state, const char* path) {
    if (state.level == 0) {
        return true;
    }
    const int32_t row = state.paths.Find(path, 0);
    return row >= 0 && size_t(row) < state.counters.size() && state.counters[size_t(row)] >= state.level;
}

bool ApplyNarrowing(NarrowState* state, const std::vector<std::string>& found) {
    if (found.empty()) {
        return false;
    }
    if (state->level == 0) {
        // Each path once, so that every lookup finds the one counter it has.
        std::vector<std::string> unique = found;
        std::sort(unique.begin(), unique.end(),
                  [](const std::string& a, const std::string& b) { return CompareNoCase(a.c_str(), b.c_str()) < 0; });
        unique.erase(std::unique(unique.begin(), unique.end(),
                                 [](const std::string& a, const std::string& b) {
                                     return CompareNoCase(a.c_str(), b.c_str()) == 0;
                                 }),
                     unique.end());
        state->paths.Clear();
        for (const std::string& path : unique) {
            state->paths.Add({path.c_str()});
        }
        state->paths.Sort(0, false);
        state->counters.assign(size_t(state->paths.Count()), 1);
        state->level = 1;
        return true;
    }
    // Only a path still listed can survive one more level, and a path listed
    // twice (a list file may name a song twice) survives it only once.
    std::vector<bool> counted(state->counters.size(), false);
    for (const std::string& path : found) {
        const int32_t row = state->paths.Find(path.c_str(), 0);
        if (row >= 0 && size_t(row) < counted.size() && !counted[size_t(row)] &&
            state->counters[size_t(row)] >= state->level) {
            counted[size_t(row)] = true;
            state->counters[size_t(row)]++;
        }
    }
    state->level++;
    return true;
}

void UndoNarrowLevel(NarrowState* state) {
    if (state->level <= 1) {
        ClearNarrowing(state);
        return;
    }
    state->level--;
    for (int32_t& counter : state->counters) {
        if (counter > state->level) {
            counter = state->level;
        }
    }
}

void ClearNarrowing(NarrowState* state) {
    state->paths.Clear();
    state->counters.clear();
    state->level = 0;
}
