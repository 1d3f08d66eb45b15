// Search texts and their matching. Keys and texts are compared only at
// character boundaries, so a search for a single-byte character never lands
// on the trail byte of a double-byte one.
#include "actions/Search.h"

#include <cstring>

#include "core/Text.h"

// A related file's text starts past this header when its first byte is 0.
constexpr size_t kBinaryHeaderBytes = 128;

bool AddToHistory(BagBox* history, const char* text) {
    const int32_t found = history->Find(text, 0);
    if (found == 0) {
        return false;
    }
    if (found > 0) {
        history->Move(0, found);
        return true;
    }
    history->Insert(0, {text});
    if (history->Count() > kSearchHistoryLimit) {
        history->Delete(history->Count() - 1);
    }
    return true;
}

bool SetSearchText(SearchSettings* settings, const char* text) {
    char bounded[kSearchTextBytes];
    CopyBounded(bounded, text, kSearchTextBytes - 1);
    settings->searchText = bounded;
    return AddToHistory(&settings->history, bounded);
}

std::vector<std::string> HistoryEntries(const BagBox& history) {
    std::vector<std::string> entries;
    for (int32_t i = 0; i < history.Count(); i++) {
        entries.push_back(history.Read(i, 0));
    }
    return entries;
}

std::string UpperCp932(const char* text) {
    std::string out;
    for (const char* p = text; *p;) {
        const size_t n = CharBytes(p);
        if (n == 2) {
            const uint16_t code = UpperWide(uint16_t(uint8_t(p[0]) << 8 | uint8_t(p[1])));
            out += char(code >> 8);
            out += char(code & 0xFF);
        } else {
            out += (*p >= 'a' && *p <= 'z') ? char(*p - 'a' + 'A') : *p;
        }
        p += n;
    }
    return out;
}

// The form key and text are compared in.
static std::string Normalise(const char* text, uint32_t flags, uint32_t mode) {
    if (flags & kSearchFuzzy) {
        return SearchKey(text, mode == kWordsAsIs);
    }
    if (flags & kSearchIgnoreCase) {
        return UpperCp932(text);
    }
    return text;
}

SearchKeyText PrepareSearchKey(const SearchSettings& settings) {
    char bounded[kSearchTextBytes];
    CopyBounded(bounded, settings.searchText.c_str(), kSearchTextBytes - 1);
    SearchKeyText key;
    key.flags = settings.strFlag;
    key.mode = settings.strAndOr;
    key.key = Normalise(bounded, key.flags, key.mode);
    return key;
}

// True when word occurs in text starting at a character boundary.
static bool ContainsAtBoundary(const std::string& text, const char* word, size_t wordBytes) {
    const char* p = text.c_str();
    const char* end = p + text.size();
    while (p < end && size_t(end - p) >= wordBytes) {
        if (std::memcmp(p, word, wordBytes) == 0) {
            return true;
        }
        p += CharBytes(p);
    }
    return false;
}

static bool MatchWord(const std::string& text, const char* word, size_t wordBytes, bool contains) {
    if (contains) {
        return ContainsAtBoundary(text, word, wordBytes);
    }
    return text.size() == wordBytes && std::memcmp(text.data(), word, wordBytes) == 0;
}

// The words of a key: runs of bytes other than the single-byte space. A
// space is never a trail byte, so a byte scan splits correctly.
static std::vector<std::string> SplitWords(const std::string& key) {
    std::vector<std::string> words;
    size_t start = 0;
    while (start < key.size()) {
        size_t stop = key.find(' ', start);
        if (stop == std::string::npos) {
            stop = key.size();
        }
        if (stop > start) {
            words.push_back(key.substr(start, stop - start));
        }
        start = stop + 1;
    }
    return words;
}

bool MatchText(const SearchKeyText& key, const char* text) {
    if (key.key.empty()) {
        return false;
    }
    const std::string prepared = Normalise(text, key.flags, key.mode);
    const bool contains = (key.flags & kSearchContains) != 0;
    if (key.mode != kWordsAnd && key.mode != kWordsOr) {
        return MatchWord(prepared, key.key.c_str(), key.key.size(), contains);
    }
    const std::vector<std::string> words = SplitWords(key.key);
    if (words.empty()) {
        return false;
    }
    const bool all = key.mode == kWordsAnd;
    for (const std::string& word : words) {
        if (MatchWord(prepared, word.c_str(), word.size(), contains) != all) {
            return !all;
        }
    }
    return all;
}

std::string RelatedFileText(const std::string& bytes) {
    size_t start = 0;
    if (!bytes.empty() && bytes[0] == '\0' && bytes.size() > kBinaryHeaderBytes) {
        start = kBinaryHeaderBytes;
    }
    return std::string(bytes.c_str() + start);
}
