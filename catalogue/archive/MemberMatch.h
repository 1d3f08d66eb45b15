// Matching archive member names against a listing pattern.
#pragma once

// True when name matches pattern. Characters are compared one at a time (a
// double-byte character is one character, a-z fold to upper case); '?' is any
// one character; a run of '*' skips to just past the next occurrence of the
// character that follows it, without backtracking. For the first star only,
// when the rest of the pattern holds k dots the name must hold at least k and
// is first moved past its leading dots until k remain, so "*.mid" matches
// "a.b.mid". An empty pattern matches only an empty name.
bool MatchMemberName(const char* pattern, const char* name);
