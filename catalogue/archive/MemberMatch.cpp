// The member-name matcher of archive listings. It deliberately differs from
// the folder search's wildcard match: a star jumps to the next occurrence of
// the following character and never backtracks.
#include "catalogue/archive/MemberMatch.h"

#include <cstdint>

#include "core/Text.h"

// One character as a comparable value: double-byte characters whole, ASCII
// letters folded to upper case.
static unsigned CharValue(const char* p) {
    uint8_t c = uint8_t(p[0]);
    if (CharBytes(p) == 2) {
        return (unsigned(c) << 8) | uint8_t(p[1]);
    }
    return (c >= 'a' && c <= 'z') ? c - 0x20u : c;
}

static int CountDots(const char* p) {
    int dots = 0;
    for (; *p != '\0'; p += CharBytes(p)) {
        dots += *p == '.';
    }
    return dots;
}

// Moves the name past its first dots until only `keep` dots remain after it.
static const char* SkipLeadingDots(const char* name, int keep) {
    int surplus = CountDots(name) - keep;
    for (; surplus > 0; name += CharBytes(name)) {
        surplus -= *name == '.';
    }
    return name;
}

bool MatchMemberName(const char* pattern, const char* name) {
    const char* p = pattern;
    const char* n = name;
    bool firstStar = true;
    while (*p != '\0') {
        if (*p == '*') {
            while (*p == '*') {
                p++;
            }
            if (*p == '\0') {
                return true;
            }
            if (firstStar) {
                int dots = CountDots(p);
                if (dots > 0) {
                    if (CountDots(n) < dots) {
                        return false;
                    }
                    n = SkipLeadingDots(n, dots);
                }
                firstStar = false;
            }
            unsigned wanted = CharValue(p);
            while (*n != '\0' && CharValue(n) != wanted) {
                n += CharBytes(n);
            }
            if (*n == '\0') {
                return false;
            }
            n += CharBytes(n);
            p += CharBytes(p);
            continue;
        }
        if (*n == '\0') {
            return false;
        }
        if (*p != '?' && CharValue(p) != CharValue(n)) {
            return false;
        }
        p += CharBytes(p);
        n += CharBytes(n);
    }
    return *n == '\0';
}
