// The title cache: per folder and per list file, a file holding each song's
// title, comment, sound module and related-file flags with the song's time
// stamp, so that the song list need not open every song. This file reads and
// writes that file, brings it up to date with a scan, and answers the song
// list's lookups.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/MidiReset.h"
#include "core/BagBox.h"

// TitleCache columns.
namespace TitleCacheColumn {
constexpr int32_t path = 0;         // the object's path, the key
constexpr int32_t title = 1;        // "[なし]" when the song has none
constexpr int32_t stamp = 2;        // timeText of the song when the entry was made
constexpr int32_t soundModule = 3;  // sequence kinds only; empty for audio
constexpr int32_t comment = 4;      // "[なし]" when the song has none
// Integer column.
constexpr int32_t relatedFlags = 0;
constexpr int32_t kStrings = 5;
constexpr int32_t kIntegers = 1;
}  // namespace TitleCacheColumn

// The text stored for a missing title or comment.
extern const char kNoText[];

// An empty TitleCache table: bytewise comparison, so lookups by path are
// binary searches over the file's ascending order.
BagBox MakeTitleCache();

// The cache of the current location and its flags.
struct TitleCacheState {
    BagBox TitleCache = MakeTitleCache();
    bool cacheLoaded = false;
    bool refreshRunning = false;
    std::string location;  // folder ending in '\\', or list file path followed by '>'
    int32_t kind = 0;      // LocationKind: 0 none, 1 folder, 2 list file
};

// What the cache learns about one song when it has no valid entry. The
// default reads title and comment through ReadSongInfo and knows nothing of
// sound modules and related files; the program installs one that does.
class SongAnalyzer {
   public:
    virtual ~SongAnalyzer() = default;
    // Title and comment, kNoText for a missing one. False when the file
    // cannot be read (missing, locked, access denied).
    virtual bool ReadTexts(const char* fullPath, int32_t fileType, std::string* title, std::string* comment);
    // The sound module text of a sequence song.
    virtual std::string SoundModule(const char* fullPath, int32_t fileType);
    // The related-file flags for the WRD companions ("wrd", "sry", "nbf").
    virtual int32_t RelatedFlags(const char* fullPath, int32_t fileType);

    // The "TitleSearch" setting, handed to the MIDI reader.
    bool titleSearch = true;

   protected:
    // The reset message of the song ReadTexts read last.
    MidiReset lastMidiReset_ = MidiReset::kNone;
};

// What the cache operations show the user. Every call has a silent default,
// so the command-line tool and tests override only what they watch.
class TitleCacheHost {
   public:
    virtual ~TitleCacheHost() = default;
    virtual void ShowStatus(const char* text);
    virtual void RestoreStatus();
    virtual void OpenProgress(const char* caption);
    // The song being read, (i + 1) * 100 / n, and the songs that could not be read.
    virtual void ShowProgress(const char* path, int32_t percent, int32_t unreadable);
    virtual void CloseProgress();
    // Lets pending messages be processed; a cancel clears refreshRunning.
    virtual void ProcessMessages(TitleCacheState& state);
    // Repaints the song list.
    virtual void Redisplay();
    // Reports a failed file operation: the error number and the text after it.
    virtual void ShowFileError(uint32_t error, const std::string& text);
};

// The cache file of a location: "_Kadrel.cac" in a folder (kind 1); beside a
// list file, "_" + its name without extension + ".cac" (kind 2). Empty for
// other kinds.
std::string TitleCacheFilePath(const char* location, int32_t kind);

// Header of the cache file as written, and the older one still read.
constexpr char kTitleCacheHeader[] = "Kadrel Title Cache 0004";          // 24 bytes with NUL
constexpr char kOldTitleCacheHeader[] = "Kadrel MIDI Title Cache 0003";  // 29 bytes with NUL

// Fills the table from a cache file's bytes. True when the header was
// recognised (the table is then marked sorted on path); false leaves it empty.
bool ParseTitleCache(const uint8_t* bytes, size_t size, BagBox* table);

// The file bytes of a table, its rows in their current order.
std::string TitleCacheBytes(const BagBox& table);

// Empties the table and loads the location's cache file. False when the file
// cannot be opened; true otherwise, even when its header is unknown.
bool LoadTitleCache(TitleCacheState& state);

// Writes the table to the location's cache file (sorted on path first when
// sortFirst). True when the save failed (reported through the host).
bool SaveTitleCache(TitleCacheState& state, TitleCacheHost& host, bool sortFirst, bool redisplay);

// Brings the table up to date with scanList (path, timeText, fileType,
// fileSize; sorted on path first unless it is), writes it and reloads it.
// With update off the cache is made anew. True when the user cancelled.
bool RefreshTitleCache(TitleCacheState& state,
                       BagBox& scanList,
                       TitleCacheHost& host,
                       SongAnalyzer& analyzer,
                       bool update,
                       bool redisplay);

// Deletes a cache file and empties the table. True when the file was
// deleted; the caller then reopens or repaints the list.
bool DeleteTitleCache(TitleCacheState& state, TitleCacheHost& host, const char* cachePath);

// The song list's lookups. timeText may be null (no stamp check). Each
// returns true when the answer came from the cache.
bool LookUpTitleAndComment(const TitleCacheState& state,
                           SongAnalyzer& analyzer,
                           const char* path,
                           const char* timeText,
                           int32_t fileType,
                           std::string* title,
                           std::string* comment);
bool LookUpSoundModule(const TitleCacheState& state,
                       SongAnalyzer& analyzer,
                       const char* path,
                       const char* timeText,
                       int32_t fileType,
                       std::string* soundModule);
bool LookUpRelatedFlags(const TitleCacheState& state,
                        SongAnalyzer& analyzer,
                        const char* path,
                        int32_t fileType,
                        int32_t* relatedFlags);
