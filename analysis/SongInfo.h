// SongInfo: the detailed record of one song that the properties window shows.
// The MIDI, Recomposer and audio readers fill it when a caller passes one.
#pragma once

#include <cstdint>

#include "core/BagBox.h"

constexpr int kMaxShownTracks = 64;
constexpr int kSecondTextBytes = 388;  // room for 384 bytes plus NUL

struct SongInfo {
    SongInfo();
    void Reset();

    char copyright[256];                // MIDI copyright / ICOP; audio: artist
    char secondText[kSecondTextBytes];  // Recomposer memo lines; audio: comment
    BagBox trackNames;                  // one string column, one row per shown track
    uint8_t ports[kMaxShownTracks];     // default 0
    uint8_t channels[kMaxShownTracks];  // 0..15, 0xFF when no channel message
    int32_t timeBase;
    int32_t trackCount;
    int32_t shownTracks;
    int32_t tempo;  // quarter notes per minute, default 120
    int32_t key;    // key code, -1 none
    int32_t beatsPerBar;
    int32_t beatUnit;
    int32_t format;
};

// Name of a key code ("C Major", ...); "" for codes without a name.
const char* KeyName(int32_t key);
