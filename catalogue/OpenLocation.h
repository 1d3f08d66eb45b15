// Opening a location with its options named at the call.
#pragma once

#include "catalogue/FolderScan.h"

// How OpenLocation opens a location; every option is off unless set.
struct OpenOptions {
    bool fromTree = false;        // the tree's selection asked for the location
    bool updateTree = false;      // the tree's node takes the scan's folders afterwards
    bool resetSelection = false;  // a redisplay forgets its selected row
};

// Remembers the focused song as the one a redisplay of the location focuses
// again. A request made while a scan runs keeps the song already remembered,
// as the list then shows no focus of its own.
void RememberFocusedSong(CatalogueState& state, const std::string& focusedPath);

// Opens or redisplays the location, restarting while newer requests arrive
// during the scan.
void OpenLocation(CatalogueState& state, const OpenOptions& options);
