// The music file type table: each supported extension with its file kind and
// the bit that player type masks use. Everything the program lists, caches or
// plays is classified here by its name alone.
#pragma once

#include <cstdint>
#include <memory>

using MusicFileKind = int32_t;

constexpr MusicFileKind kKindNotMusic = -1;
constexpr MusicFileKind kKindMidi = 0;        // Standard MIDI File
constexpr MusicFileKind kKindRmid = 1;        // RIFF MIDI
constexpr MusicFileKind kKindRecomposer = 2;  // Recomposer song
constexpr MusicFileKind kKindWave = 10;       // RIFF WAVE
constexpr MusicFileKind kKindMpeg = 11;       // MPEG audio
constexpr MusicFileKind kKindRiffMpeg = 12;   // RIFF-wrapped MPEG audio
constexpr MusicFileKind kKindWindowsMedia = 13;
constexpr MusicFileKind kKindMonkey = 14;  // Monkey's Audio
constexpr MusicFileKind kKindOgg = 15;     // Ogg Vorbis

struct FileTypeEntry {
    const char* extension;  // with its dot, lower case (".mid")
    MusicFileKind kind;
    uint32_t typeBit;  // exactly one bit set
};

class Search_MUSIC_File_Type {
   public:
    static constexpr uint32_t bucketCount = 192;

    // Builds the table with the seventeen built-in extensions.
    Search_MUSIC_File_Type();

    // Inserts an entry; extension must outlive the table. False when the
    // bucket is taken (reported as an internal error) or memory ran out.
    bool Add(const char* extension, MusicFileKind kind, uint32_t typeBit);

    // Kind of an extension with its dot, or -1. entry (optional) receives the
    // kind and type bit when found.
    MusicFileKind Find(const char* extension, FileTypeEntry* entry) const;

    // Kind of a file name or path by its last four bytes, or -1 (also for
    // Windows Media when its runtime is missing). entry as for Find.
    MusicFileKind GetMusicFileKind(const char* path, FileTypeEntry* entry) const;

    // Bucket index of an extension: its hash modulo bucketCount.
    static uint32_t BucketOf(const char* extension);

   private:
    std::unique_ptr<std::unique_ptr<FileTypeEntry>[]> buckets;
};

// The program's one table, built on first use.
const Search_MUSIC_File_Type& MusicFileTypes();

// Records whether the Windows Media runtime is present (false until set).
void SetWindowsMediaAvailable(bool available);
bool WindowsMediaAvailable();

// True for the audio kinds (above 2); kinds 0 to 2 are MIDI-like.
bool IsAudioKind(MusicFileKind kind);

// What the module column shows for an audio kind ("WAVE", "MPEG", ...); ""
// for MIDI-like and unknown kinds.
const char* AudioKindLabel(MusicFileKind kind);
