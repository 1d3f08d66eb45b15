// MPEG audio files: which kind of tag a file carries, for choosing the tag
// page of the shell's properties window.
#pragma once

#include "core/SongFile.h"

// Tag kinds.
constexpr int kMp3TagNone = 0;
constexpr int kMp3TagRiffRmp3 = 1;
constexpr int kMp3TagRiffWave = 2;
constexpr int kMp3TagId3v1 = 3;
constexpr int kMp3TagId3v2 = 4;

// Returns the tag kind of an open MPEG file (kMp3TagNone when it is shorter
// than 4 bytes or has no tag the test knows).
int DetectMp3TagKind(SongFile& file);

// Returns the name of the properties page for a tag kind.
const char* Mp3TagPageName(int tagKind);
