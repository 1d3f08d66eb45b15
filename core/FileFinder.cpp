// The finder's common entry and the wildcard match used by plain searches
// outside Windows and by archive listings.
#include "core/FileFinder.h"

#include <cstring>

#include "core/SongFile.h"
#include "core/Text.h"

static ArchiveFinderOpener archiveFinderOpener = nullptr;

void SetArchiveFinderHook(ArchiveFinderOpener opener) {
    archiveFinderOpener = opener;
}

namespace {

// Reports a listing that could not be opened.
class FailedFinder : public FileFinder {
  public:
    explicit FailedFinder(uint32_t error) {
        error_ = error;
    }
    bool Next(FindRecord*) override {
        return false;
    }
};

}  // namespace

std::unique_ptr<FileFinder> FinderOpen(FindRecord* record, const char* pattern, void* ownerWindow) {
    int kind = ArchiveKindOfPathHook(pattern);
    if (kind == 0) {
        if (std::strlen(pattern) > kMaxPathBytes) {
            return std::make_unique<FailedFinder>(kErrorFilenameExcedRange);
        }
        return OpenPlainFinder(record, pattern);
    }
    if (!archiveFinderOpener) {
        return std::make_unique<FailedFinder>(uint32_t(-1));
    }
    return archiveFinderOpener(record, pattern, kind, ownerWindow);
}

static int FoldAscii(uint8_t c) {
    return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
}

// Length of the character at s: 2 for a complete double-byte character.
static int CharLength(const uint8_t* s) {
    return (IsLeadByte(s[0]) && s[1] != 0) ? 2 : 1;
}

// Matches "*" followed by a 7-bit tail without wildcards (the usual "*.ext")
// against a 7-bit name, as the general match below would: the name ends in
// the tail. *applies is false when the quick answer does not apply.
static bool MatchesStarAndTail(const char* name, const char* pattern, bool* applies) {
    *applies = false;
    if (pattern[0] != '*') {
        return false;
    }
    const char* tail = pattern + 1;
    size_t tailBytes = 0;
    for (; tail[tailBytes] != '\0'; tailBytes++) {
        const uint8_t c = static_cast<uint8_t>(tail[tailBytes]);
        if (c >= 0x80 || c == '*' || c == '?') {
            return false;
        }
    }
    const size_t nameBytes = std::strlen(name);
    if (!IsSevenBit(name, nameBytes)) {
        return false;
    }
    // The general match lets a trailing "." or ".*" match nothing; leave
    // such tails to it.
    if (tailBytes == 0 || tail[tailBytes - 1] == '.') {
        return false;
    }
    *applies = true;
    if (nameBytes < tailBytes) {
        return false;
    }
    const uint8_t* end = reinterpret_cast<const uint8_t*>(name) + (nameBytes - tailBytes);
    for (size_t i = 0; i < tailBytes; i++) {
        if (FoldAscii(end[i]) != FoldAscii(static_cast<uint8_t>(tail[i]))) {
            return false;
        }
    }
    return true;
}

bool MatchesWildcard(const char* name, const char* pattern) {
    bool quick = false;
    const bool quickMatch = MatchesStarAndTail(name, pattern, &quick);
    if (quick) {
        return quickMatch;
    }
    const uint8_t* n = reinterpret_cast<const uint8_t*>(name);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(pattern);
    // Iterative match with one backtrack point for the last '*'.
    const uint8_t* starP = nullptr;
    const uint8_t* starN = nullptr;
    while (*n) {
        if (*p == '*') {
            starP = ++p;
            starN = n;
            continue;
        }
        int ln = CharLength(n);
        if (*p == '?') {
            p++;
            n += ln;
            continue;
        }
        int lp = CharLength(p);
        if (*p && lp == ln && (ln == 1 ? FoldAscii(*p) == FoldAscii(*n) : (p[0] == n[0] && p[1] == n[1]))) {
            p += lp;
            n += ln;
            continue;
        }
        if (!starP) {
            return false;
        }
        p = starP;
        starN += CharLength(starN);
        n = starN;
    }
    // "*.*" matches names without a dot, as the system's search does.
    while (*p == '*' || (*p == '.' && (p[1] == '*' || p[1] == 0))) {
        p += (*p == '.' && p[1] == '*') ? 2 : 1;
    }
    return *p == 0;
}

bool IsBaseNameOf(const char* name, const std::string& base) {
    const size_t n = std::strlen(name);
    if (n < base.size() || (n > base.size() && name[base.size()] != '.')) {
        return false;
    }
    return CompareNoCase(std::string(name, base.size()).c_str(), base.c_str()) == 0;
}

std::string EntryNameOf(const char* path) {
    const int archiveEnd = FindEitherChar(path, '>', '\0');
    if (archiveEnd >= 0) {
        return std::string(path + archiveEnd + 1);
    }
    return std::string(path + (LastSeparator(path) + 1));
}

bool FindExact(const char* path, FindRecord* record) {
    const std::string name = EntryNameOf(path);
    const std::unique_ptr<FileFinder> finder = FinderOpen(record, path, nullptr);
    for (bool more = finder->Found(); more; more = finder->Next(record)) {
        if (CompareNoCase(record->name.c_str(), name.c_str()) == 0 ||
            CompareNoCase(record->alternateName.c_str(), name.c_str()) == 0) {
            return true;
        }
    }
    return false;
}
