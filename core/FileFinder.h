// The finder: enumerates a folder with a wildcard pattern, or the members of
// an archive when the path names one ("archive.lzh>dir/*"), delivering the
// same record either way.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// File attribute bits (the Win32 values).
constexpr uint32_t kAttrReadOnly = 0x1;
constexpr uint32_t kAttrHidden = 0x2;
constexpr uint32_t kAttrSystem = 0x4;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;

// File times are 100 ns units since 1601-01-01 UTC (a FILETIME as one number).
struct FindRecord {
    uint32_t attributes = 0;
    uint64_t creationTime = 0;
    uint64_t lastAccessTime = 0;
    uint64_t lastWriteTime = 0;
    uint64_t size = 0;
    std::string name;
    std::string alternateName;  // 8.3 name where the platform has one
};

class FileFinder {
  public:
    virtual ~FileFinder() = default;

    // True while the current record is valid.
    bool Found() const {
        return found_;
    }
    // The last error of the opening call (-1 when an archive could not be listed).
    uint32_t Error() const {
        return error_;
    }
    // Moves to the next entry; returns Found().
    virtual bool Next(FindRecord* record) = 0;

  protected:
    bool found_ = false;
    uint32_t error_ = 0;
};

// Starts an enumeration and fills the first record when there is one. Never
// null. ownerWindow is passed to archive listings (their progress windows).
std::unique_ptr<FileFinder> FinderOpen(FindRecord* record, const char* pattern, void* ownerWindow);

// Opens an archive listing; installed by the archive layer.
using ArchiveFinderOpener = std::unique_ptr<FileFinder> (*)(FindRecord* record,
                                                            const char* pattern,
                                                            int archiveKind,
                                                            void* ownerWindow);
void SetArchiveFinderHook(ArchiveFinderOpener opener);

// A plain folder search; each world supplies its own.
std::unique_ptr<FileFinder> OpenPlainFinder(FindRecord* record, const char* pattern);

// True when a name matches a pattern of '*' and '?' the way the system's file
// search does: ASCII case folded, double-byte characters matched whole.
bool MatchesWildcard(const char* name, const char* pattern);

// The name a finder reports for the entry path names: an archive member's
// whole member name (after the '>'), else the last name of the path ('\\'
// or '/' before it).
std::string EntryNameOf(const char* path);

// True when name is base itself or base followed by a dot and more: the
// names a search for base + ".*" stands for, with base taken literally, so
// that a '*' or '?' in it matches only itself. ASCII case is folded.
bool IsBaseNameOf(const char* name, const std::string& base);

// Looks up the one entry a path names (a file, a folder or an archive
// member), its name taken literally: the system's search would take a '*'
// or '?' in it for a wildcard and report whatever matched first. False
// when there is no such entry.
bool FindExact(const char* path, FindRecord* record);
