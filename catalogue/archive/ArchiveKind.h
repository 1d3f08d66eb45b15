// Archive kinds, the member path notation "archive.lzh>member" and the error
// numbers that the archive listings and the LZH decoder return.
#pragma once

#include <string>

constexpr int kArchiveNone = 0;
constexpr int kArchiveLzh = 1;
constexpr int kArchiveZip = 2;  // also ".neo"
constexpr int kArchiveGca = 3;

// Results of the listings and decoders besides 0 (success).
constexpr int kArchiveNoMore = -1;               // no further member
constexpr int kArchiveErrorLevel = 0x8008;       // LZH header level above 2
constexpr int kArchiveErrorMethod = 0x8009;      // method outside the table
constexpr int kArchiveErrorBroken = 0x8019;      // not an archive, broken header chain
constexpr int kArchiveErrorLongName = 0x8026;    // name longer than 511 bytes
constexpr int kArchiveErrorCannotOpen = 0x8029;  // archive file cannot be opened
constexpr int kArchiveErrorNotFound = 0x8031;    // no member of that name
constexpr int kArchiveErrorTooLarge = 0x8032;    // a member too large to read into memory
constexpr int kArchiveErrorNoArchive = 0x803e;   // no open archive

constexpr size_t kMemberNameMax = 511;  // bytes

// Which kinds can be used: a kind is usable only while its archiver library
// is loaded (LoadArchivers), or where the program handles it alone.
void SetArchiveAvailable(int kind, bool available);
bool ArchiveAvailable(int kind);

// Kind named by the last four bytes of a name of at least 5 bytes (".lzh",
// ".zip", ".neo", ".gca", any case), or 0 when that kind is not available.
int ArchiveKindOfName(const char* name);

// Kind of the archive a path points into: the path up to and including its
// first '>' must end in ".lzh>", ".zip>", ".neo>" or ".gca>" (any case) and be
// at least 6 bytes long. With wholePath the path itself is tested. 0 when not.
int ArchiveKindOfPath(const char* path, bool wholePath);

// Splits "D:\\a\\set.lzh>dir/x.mid" at its first '>' into the archive path and
// the member name. False when the path holds no '>'.
bool SplitMemberPath(const char* path, std::string* archive, std::string* member);
