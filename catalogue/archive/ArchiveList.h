// Listing the members of an archive, and reading one member into memory.
// LZH and ZIP archives are read by our own header walks; GCA archives only
// through their archiver library, which the Windows layer plugs in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "catalogue/archive/MemberData.h"

class SongFile;

// What a listing returns for one member.
struct ArchiveEntry {
    uint32_t size = 0;        // uncompressed bytes
    uint16_t dosTime = 0;     // local MS-DOS time
    uint16_t dosDate = 0;     // local MS-DOS date
    uint16_t attributes = 0;  // 1 read-only, 2 hidden, 4 system, 0x10 folder; 0 for ZIP
    std::string name;         // full name inside the archive
};

class ArchiveList {
   public:
    virtual ~ArchiveList() = default;
    // 0 with *entry filled for the first member matching pattern ("*.*" is
    // every member), kArchiveNoMore, or an error number.
    virtual int FindFirst(const char* pattern, ArchiveEntry* entry) = 0;
    // The next matching member, as FindFirst.
    virtual int FindNext(ArchiveEntry* entry) = 0;
    // Attributes of the member found last.
    uint16_t Attributes() const {
        return attributes_;
    }

   protected:
    uint16_t attributes_ = 0;
};

// Opens the listing of an archive of the given kind. Null when the file
// cannot be opened (a file that is no archive lists with kArchiveErrorBroken).
std::unique_ptr<ArchiveList> OpenArchiveList(int kind, const char* archivePath, void* ownerWindow);
int FindFirstMember(ArchiveList* list, const char* pattern, ArchiveEntry* entry);
int FindNextMember(ArchiveList* list, ArchiveEntry* entry);
uint16_t MemberAttributes(const ArchiveList* list);
void CloseArchiveList(std::unique_ptr<ArchiveList>* list);

// A listing of GCA archives, supplied by the layer that loads UnGCA32.dll.
using GcaListOpener = std::unique_ptr<ArchiveList> (*)(const char* archivePath, void* ownerWindow);
void SetGcaListOpener(GcaListOpener opener);

// The memory extraction of UnGCA32.dll, supplied by the same layer: fills out
// (size bytes) with the named member, a longer member cut, and sets *written
// to the bytes filled. Returns 0 or the library's error.
using GcaMemberReader =
    int (*)(const char* archivePath, const char* memberName, uint8_t* out, uint32_t size, uint32_t* written);
void SetGcaMemberReader(GcaMemberReader reader);

// True when a name matches a listing pattern ("*.*" matches every name).
bool MemberMatchesPattern(const char* pattern, const char* name);

// Reads a member into out, which holds size bytes (a member longer than that
// is cut, a shorter one leaves the rest zero). LZH members go through our
// decoder, ZIP members through inflate; whole members are checked against
// their CRC. GCA members come from the library's memory extraction, which
// checks them itself. Returns 0, kArchiveErrorCannotOpen,
// kArchiveErrorNotFound, kArchiveErrorMethod, kArchiveErrorBroken, or for
// GCA the library's error.
int ReadMemberToMemory(int kind, const char* archivePath, const char* memberName, uint8_t* out, uint32_t size);

// A whole member in memory.
struct MemberBytes {
    std::unique_ptr<uint8_t[]> bytes;
    uint32_t size = 0;
};

// Reads a whole member into memory that grows as its bytes are decoded; a
// member whose header claims more than kMemberInMemoryMax bytes is not read.
// Returns 0, kArchiveErrorTooLarge, or an error as ReadMemberToMemory.
int ReadWholeMember(int kind, const char* archivePath, const char* memberName, MemberBytes* member);

// Writes a member to targetPath, decoded piece by piece, whatever its size.
// A member that fails to decode leaves no file. Returns 0, kArchiverErrorWrite
// when the file cannot be written, or an error as ReadMemberToMemory.
int ExtractMemberToFile(int kind, const char* archivePath, const char* memberName, const char* targetPath);

// How the listings and member reads open archive files: plain files unless
// a test puts a watching opener in place (null restores plain files).
using ArchiveFileOpener = std::unique_ptr<SongFile> (*)(const char* archivePath);
void SetArchiveFileOpener(ArchiveFileOpener opener);
