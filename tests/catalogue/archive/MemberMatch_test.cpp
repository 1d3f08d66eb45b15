// The member-name matcher: double-byte characters, case folding, the
// first-star dot rule and the lack of backtracking.
#include "catalogue/archive/MemberMatch.h"

#include <gtest/gtest.h>

namespace {

struct MatchCase {
    const char* pattern;
    const char* name;
    bool matches;
};

TEST(MemberMatch, FollowsTheListingRules) {
    const MatchCase cases[] = {
        {"*.mid", "a.b.mid", true},  // the name skips to its last dot
        {"*.mid", "A.MID", true},    // a-z fold to upper case
        {"*.MID", "song.mid", true},
        {"*.mid", "mid", false},  // too few dots
        {"*.mid", "song.mi", false},
        {"*.mid", "song.midi", false},     // the pattern ends before the name
        {"*.*", "noext", false},           // no dot in the name
        {"*", "anything/at/all.x", true},  // a final star takes the rest
        {"***.mid", "x.mid", true},        // a run of stars is one star
        {"a?c", "abc", true},
        {"a?c", "ac", false},  // '?' never matches the end
        {"a?", "a表", true},   // a double-byte character is one character
        {"a??", "a表", false},
        {"表*.mid", "表ソ.mid", true},
        {"表.mid", "表.MID", true},
        {"?.mid", "ソ.mid", true},
        {"ソ*", "ソ\\x", true},
        {"*表", "x表", true},
        {"*\\", "表", false},  // 0x5C trail byte of 表 is not a backslash
        {"dir/*.mid", "dir/a.mid", true},
        {"dir/*.mid", "dir/sub/a.mid", true},
        {"a*b*c", "axbxc", true},
        {"a*bc", "abxbc", false},  // no backtracking: the star stops at the first 'b'
        {"*a.mid", "xa.mid", true},
        {"*x.mid", "a.x.mid", true},  // the dot rule moves the name to "x.mid" first
        {"*x.mid", "xa.mid", false},  // without it the star would stop at the first 'x'
        {"*b.mid", "b.b.mid", true},
        {"", "", true},
        {"", "a", false},
        {"a", "", false},
    };
    for (const MatchCase& c : cases) {
        EXPECT_EQ(MatchMemberName(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
    }
}

TEST(MemberMatch, LeadByteAtTheEndOfAPatternCountsAlone) {
    const char pattern[] = {'a', char(0x95), 0};
    const char name[] = {'a', char(0x95), 0};
    EXPECT_TRUE(MatchMemberName(pattern, name));
    const char longer[] = {'a', char(0x95), 'x', 0};
    EXPECT_FALSE(MatchMemberName(pattern, longer));
}

}  // namespace
