// The detailed song record and the names of its key codes.
#include "analysis/SongInfo.h"

#include <cstring>

namespace {

// trackNames: one string column, at most 64 short names.
constexpr int kTrackNameRows = 16;
constexpr int kTrackNameRowStep = 16;
constexpr uint32_t kTrackNameTextBytes = 256;
constexpr uint32_t kTrackNameTextStep = 256;

// Index: key code 0..31. Codes 0-7 are majors with 0-7 sharps, 9-15 majors
// with 1-7 flats (8 doubles as C major); 16 more gives the relative minor.
const char* const kKeyNames[32] = {
    "C Major", "G Major", "D Major",  "A Major",  "E Major",  "B Major",  "F# Major", "C# Major",
    "C Major", "F Major", "Bb Major", "Eb Major", "Ab Major", "Db Major", "Gb Major", "Cb Major",
    "A Minor", "E Minor", "B Minor",  "F# Minor", "C# Minor", "G# Minor", "D# Minor", "A# Minor",
    "A Minor", "D Minor", "G Minor",  "C Minor",  "F Minor",  "Bb Minor", "Eb Minor", "Ab Minor",
};

}  // namespace

SongInfo::SongInfo()
    : trackNames(nullptr,
                 false,
                 false,
                 1,
                 0,
                 kTrackNameRows,
                 kTrackNameRowStep,
                 kTrackNameTextBytes,
                 kTrackNameTextStep) {
    Reset();
}

void SongInfo::Reset() {
    copyright[0] = '\0';
    secondText[0] = '\0';
    trackNames.Clear();
    std::memset(ports, 0, sizeof(ports));
    std::memset(channels, 0xFF, sizeof(channels));
    timeBase = 0;
    trackCount = 0;
    shownTracks = 0;
    tempo = 120;
    key = -1;
    beatsPerBar = 4;
    beatUnit = 4;
    format = 0;
}

const char* KeyName(int32_t key) {
    if (key < 0 || key >= 32) {
        return "";
    }
    return kKeyNames[key];
}
