// List files: the program's play lists. A text file in CP932 that names
// songs, folders, wildcard patterns, archives and further list files; reading
// one expands it into ScanList and the song list exactly as a folder scan
// would. The list editor writes the same format with CR LF line ends; lines
// ended by LF or CR alone, as other editors leave them, read the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/FolderScan.h"
#include "core/Location.h"

// Header lines: the current one, written, and the older one, still read.
constexpr char kListFileHeader[] = "[Kadrel File List]";
constexpr char kOldListFileHeader[] = "[Kadrel MIDI File List]";

// Includes nest at most this many levels below the top list.
constexpr int32_t kMaxListDepth = 8;

// The reader's line buffer, terminator included.
constexpr size_t kListLineBytes = 512;

// Bytes before a list's body: the header line and its line end (CR LF, LF or
// CR; none at the end of the file), or 0 when the bytes are no list.
size_t ListHeaderLength(const char* bytes, size_t size);

// Reads a list file and hands back its body (the bytes after the header
// line). False when the file cannot be read (*lastError set) or is no list
// (*lastError 0).
bool OpenListFile(const char* path, std::string* body, uint32_t* lastError);

// True when the file can be read and starts with a list header.
bool IsListFileValid(const char* path);

// Copies the line at *position up to its line end (CR LF, LF or CR) or the
// end of the body into line and moves *position past that line end. False
// when *position is already at or past the end.
bool ReadLine(const std::string& body, size_t* position, std::string* line);

// Removes the option part (from the first blank followed by '/') from entry.
// True when an option letter 's' or 'S' asks for sub-folders.
bool ParseListOptions(std::string* entry);

// Where a list's relative paths are resolved: the drive part of the location
// ("C:") for paths starting with '\\', and the folder of the top-level list
// (ending in '\\') for paths without a drive.
struct ListPathBase {
    std::string drive;
    std::string folder;
};

// The path as the list means it (see ListPathBase).
std::string ResolveListPath(const std::string& path, const ListPathBase& base);

// What one line of a list's body says.
struct ListLine {
    enum Kind { kIgnored, kInclude, kEntry } kind = kIgnored;
    std::string path;      // resolved, options removed
    bool recurse = false;  // " /s"
};

// Classifies a body line: empty lines, comments ("/", ";" or ":" first, or
// "/" second) and lines longer than the line buffer are ignored.
ListLine ParseListLine(const std::string& line, const ListPathBase& base);

// Expands a list file into state.scanList and output (full paths). depth is
// the include level, 0 for the location itself. Past state.listLimits the
// rest is not read and the host shows a warning. False only when a newer
// request stopped the read (abort).
bool ReadListFile(CatalogueState& state, const char* path, BagBox* output, int32_t depth);

// The entry text for a path added to a list: "|include " and the path for a
// list file, the path and ">*.*" for an archive (" /s" added when Shift is
// held), else the path itself.
std::string MakeListEntry(const char* path, bool shiftHeld);

// The file bytes of a list: the header, then the entries with an empty line
// before the first one and wherever the group changes between comment lines
// ("//", ";" or ":" first) and other lines.
std::string ListFileBytes(const std::vector<std::string>& entries);

// Writes a list file atomically; 0 or the error number.
uint32_t WriteListFile(const char* path, const std::vector<std::string>& entries);
