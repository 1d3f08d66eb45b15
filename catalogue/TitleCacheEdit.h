// Texts the user sets by hand: a new title, comment or sound module for a
// song replaces that column of the song's title cache entry, and the cache
// file is written and read back, so the text stands for the song like one
// read from it until the song itself changes.
#pragma once

#include <cstdint>

#include "catalogue/TitleCache.h"

// Replaces column (TitleCacheColumn::title, comment or soundModule) of the
// entry of path with text. Returns true when the entry existed and was
// replaced and saved; false when the location has no entry for the song (the
// caller then brings the cache up to date) or the column is not one of the
// three. A failed save is reported through the host and the table reloaded.
bool ChangeTitleCacheText(TitleCacheState& state,
                          TitleCacheHost& host,
                          const char* path,
                          int32_t column,
                          const char* text);
