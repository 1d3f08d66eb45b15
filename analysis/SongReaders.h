// The title readers and their common entry. Every reader reads from a SongFile
// byte source; ReadSongInfo opens the song, picks the reader by kind and turns
// failures into the bracketed titles the song list shows.
#pragma once

#include <cstdint>

#include "analysis/MidiReset.h"
#include "core/SongFile.h"

struct SongInfo;

// Reader results.
constexpr int32_t kReadUnsupported = -1;  // unsupported or malformed data
constexpr int32_t kReadCannotRead = -2;   // the file cannot be read
constexpr int32_t kReadLocked = -3;       // sharing violation
constexpr int32_t kReadDenied = -4;       // access denied

constexpr int kTitleBufferBytes = 512;    // path on entry, title on return (<= 255 bytes + NUL)
constexpr int kCommentBufferBytes = 512;  // comment, at most 511 bytes + NUL

// MIDI (SMF and RMID). Writes at most 255 title bytes into title, not
// terminated; returns their number or a negative result. reset, when given,
// receives the reset message found in the file's head as first read.
int32_t ReadMidiFile(SongFile& file, SongInfo* info, char* title, bool titleSearch, MidiReset* reset = nullptr);

// Recomposer. Same convention as ReadMidiFile.
int32_t ReadRecomposerFile(SongFile& file, SongInfo* info, char* title);

// Audio readers: write a terminated title (artist joined as the list shows it)
// and, when comment is given, a terminated comment. Return the title's length
// (0 when no tag gave a title) or a negative result.
int32_t ReadWaveFile(SongFile& file, SongInfo* info, char* title, char* comment);
int32_t ReadMpegFile(SongFile& file, SongInfo* info, char* title, char* comment);
int32_t ReadAsfFile(SongFile& file, SongInfo* info, char* title, char* comment);
int32_t ReadApeFile(SongFile& file, SongInfo* info, char* title, char* comment);
int32_t ReadOggFile(SongFile& file, SongInfo* info, char* title, char* comment);

// Windows Media through the platform runtime, tried before ReadAsfFile; set by
// the Win32 shell when the runtime is present. Returns kReadUnsupported when
// the runtime cannot open the file, so that our own ASF parser is used.
using PlatformAsfReader = int32_t (*)(const char* path, SongInfo* info, char* title, char* comment);
void SetPlatformAsfReader(PlatformAsfReader reader);

// Reads title and comment of one song. titleBuffer (kTitleBufferBytes) holds
// the path on entry and the title on return; commentBuffer may be null. kind
// -1 classifies the path. Returns the reader's result; negative results leave
// a bracketed explanation in titleBuffer and an empty comment. midiReset,
// when given, receives the reset message of a MIDI song (kNone otherwise).
int32_t ReadSongInfo(SongInfo* info,
                     char* titleBuffer,
                     char* commentBuffer,
                     int kind,
                     const char* fallbackTitle,
                     bool titleSearch,
                     MidiReset* midiReset = nullptr);
