// Narrowing of the song list: stacked levels, each keeping the rows that
// matched one more search. Every path that survived the first level is kept
// with the number of levels it survived; an object is listed while that
// number reaches the current level.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BagBox.h"

struct NarrowState {
    NarrowState();
    int32_t level = 0;              // levels in force; 0 = not narrowed
    BagBox paths;                   // 1 string column, sorted once the first level is made
    std::vector<int32_t> counters;  // levels survived, by order position in paths
};

// True when an object of the location is listed: no narrowing, or its path
// survived every level in force.
bool NarrowKeepsPath(const NarrowState& state, const char* path);

// Adds a level made of the paths found. At level 0 the found paths become
// the table; above it, each found path already in the table survives one
// more level (when it survived every level so far). An empty set changes
// nothing. True when a level was added.
bool ApplyNarrowing(NarrowState* state, const std::vector<std::string>& found);

// Drops the newest level (clearing everything at level 1).
void UndoNarrowLevel(NarrowState* state);

// Drops every level.
void ClearNarrowing(NarrowState* state);
