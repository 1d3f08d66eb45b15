// MusicObject: one row of ObjectList, the song list of the current location,
// and the layout of ScanList, the music files a scan finds. Rows live in
// BagBox tables; the constants below name their columns.
#pragma once

#include <cstdint>
#include <string>

#include "core/BagBox.h"

// ObjectList string columns.
namespace ObjectListColumn {
constexpr int32_t path = 0;         // relative to the location unless it holds a drive ':'
constexpr int32_t displayName = 1;  // the name column of the song list
constexpr int32_t timeText = 2;     // last-write time, "YYYY/MM/DD hh:mm:ss"
// Integer columns.
constexpr int32_t fileType = 0;  // music file type number
constexpr int32_t fileSize = 1;  // bytes, low 32 bits
constexpr int32_t kStrings = 3;
constexpr int32_t kIntegers = 2;
}  // namespace ObjectListColumn

// ScanList string columns.
namespace ScanListColumn {
constexpr int32_t path = 0;
constexpr int32_t timeText = 1;
// Integer columns.
constexpr int32_t fileType = 0;
constexpr int32_t fileSize = 1;
constexpr int32_t kStrings = 2;
constexpr int32_t kIntegers = 2;
}  // namespace ScanListColumn

// Sizes of the song-list tables: rows and row step, text bytes and text step.
constexpr int kListInitialRows = 512;
constexpr int kListRowStep = 256;
constexpr uint32_t kListInitialTextBytes = 8192;
constexpr uint32_t kListTextStep = 4096;

// An empty ObjectList: locale comparison ignoring case, as paths compare.
BagBox MakeObjectList();

// An empty ScanList: bytewise comparison, the order the cache lookups use.
BagBox MakeScanList();

// Broken-down local time of a file's last write.
struct LocalTimeFields {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
};

// "YYYY/MM/DD hh:mm:ss", every field zero-padded.
std::string FormatTimeText(const LocalTimeFields& time);

// The song list's date column: "YY/MM/DD hh:mm" cut from a timeText; empty
// when timeText is too short to hold it.
std::string DateColumnText(const char* timeText);

// The name column of a path: the part after its first '>' when it has one,
// else after its last '\\'; without the extension unless showExtension.
std::string MakeDisplayName(const char* path, bool showExtension);

// The full path of an object: the location (a folder with its trailing '\\',
// or a place inside an archive ending in '>' or '/') followed by path, or path
// alone when the location is a folder and path holds a drive colon
// (FindDriveColon: a ':' in an archive member's name does not count).
std::string FullObjectPath(const char* location, const char* path);
