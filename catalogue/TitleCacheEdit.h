// Texts the user sets by hand: a new title, comment or sound module for a
// song replaces that column of the song's title cache entry, and the cache
// file is written and read back, so the text stands for the song like one
// read from it until the song itself changes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/TitleCache.h"

// Replaces column (TitleCacheColumn::title, comment or soundModule) of the
// entries of every path with text, then writes the cache file once and loads
// it again. The file holds the same bytes as after changing the songs one by
// one in the given order. Returns how many paths had an entry; with none (or
// when the column is not one of the three) nothing is written. A failed save
// is reported once through the host, the previous file stays as it was and
// the table is loaded from it again.
int32_t ChangeTitleCacheTexts(TitleCacheState& state,
                              TitleCacheHost& host,
                              const std::vector<std::string>& paths,
                              int32_t column,
                              const char* text);

// The same for one song. Returns true when the entry existed and was
// replaced and saved; false when the location has no entry for the song (the
// caller then brings the cache up to date) or the column is not one of the
// three.
bool ChangeTitleCacheText(TitleCacheState& state,
                          TitleCacheHost& host,
                          const char* path,
                          int32_t column,
                          const char* text);

// True when the table has an entry for every path.
bool TitleCacheHasEntries(const TitleCacheState& state, const std::vector<std::string>& paths);
