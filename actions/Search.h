// Text search over the song list: the search settings' bits, the history of
// search texts, and the matching of one text against a search key (fuzzy
// widths and kana, case folding, whole text or contained, several words).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/BagBox.h"
#include "core/Settings.h"

// SearchTarget bits: the song list columns and the related files searched.
constexpr uint32_t kSearchName = 0x01;
constexpr uint32_t kSearchTitle = 0x02;
constexpr uint32_t kSearchComment = 0x04;
constexpr uint32_t kSearchModule = 0x08;
constexpr uint32_t kSearchDate = 0x10;
constexpr uint32_t kSearchWrd = 0x20;
constexpr uint32_t kSearchDocuments = 0x40;
constexpr uint32_t kSearchColumnTargets = 0x1F;
constexpr uint32_t kSearchAllTargets = 0x7F;

// Bits of the "StrFlag" setting.
constexpr uint32_t kSearchFuzzy = 0x1;
constexpr uint32_t kSearchIgnoreCase = 0x2;
constexpr uint32_t kSearchContains = 0x4;

// Values of the "StrAndOr" setting: how a text with spaces is matched.
constexpr uint32_t kWordsAsIs = 0;
constexpr uint32_t kWordsAnd = 1;
constexpr uint32_t kWordsOr = 2;

// A search key ready for matching, made once per search.
struct SearchKeyText {
    std::string key;     // the search text in the form the flags ask for
    uint32_t flags = 0;  // "StrFlag" bits
    uint32_t mode = 0;   // kWordsAsIs, kWordsAnd or kWordsOr
};

// Puts text at the front of the history: nothing when it is already the
// first entry, moved when it is further down, else inserted with the oldest
// dropped past kSearchHistoryLimit. True when the history changed.
bool AddToHistory(BagBox* history, const char* text);

// Makes text (cut to kSearchTextBytes - 1 bytes without splitting a character) the
// current search text and adds it to the history. True when the history
// changed.
bool SetSearchText(SearchSettings* settings, const char* text);

// The history entries, newest first.
std::vector<std::string> HistoryEntries(const BagBox& history);

// Code page 932 upper case: ASCII letters, full-width Latin, Greek and
// Cyrillic letters. Every other character stays.
std::string UpperCp932(const char* text);

// The key of the current search text under the settings' flags and mode.
SearchKeyText PrepareSearchKey(const SearchSettings& settings);

// True when text matches the key: the whole text or a part of it (contains
// flag), every word (AND) or one word (OR). A key without words never
// matches; no character is a wildcard.
bool MatchText(const SearchKeyText& key, const char* text);

// The text of a related file as searched: the file's bytes, from byte 128 on
// when the first byte is 0 and the file is longer than 128 bytes (a binary
// header before the script), cut at the first NUL.
std::string RelatedFileText(const std::string& bytes);
