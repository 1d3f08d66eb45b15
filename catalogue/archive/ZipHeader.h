// The ZIP header walks: members are found through the central directory at
// the end of the file, or, when there is none, by following the local file
// headers from the start of the file.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/archive/ArchiveSource.h"

struct ZipEntry {
    std::string name;     // as stored, with '/' between folders
    uint16_t flags = 0;   // general purpose bits (bit 0: encrypted)
    uint16_t method = 0;  // 0 stored, 8 deflated
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;  // CRC-32 of the uncompressed bytes
    uint32_t packedSize = 0;
    uint32_t size = 0;
    uint32_t dataOffset = 0;    // where the compressed bytes start
    uint32_t headerOffset = 0;  // where the member's local header starts
};

// General purpose bit 3: the sizes and the CRC follow the data in a data
// descriptor, and the local header holds zeros for them.
constexpr uint16_t kZipFlagSizesAfterData = 0x0008;

// Where the central directory lies.
struct ZipDirectory {
    uint32_t offset = 0;  // of the first entry
    uint32_t count = 0;   // entries the end record claims
};

// True when the file starts with a local file header signature.
bool IsZipArchive(ArchiveSource* source);

// Reads the local header at offset. Returns 0 with *entry and *next filled,
// kArchiveNoMore when another "PK" record (the central directory) or nothing
// follows, kArchiveErrorBroken for anything else and for a member whose sizes
// follow its data (flag bit 3: the next header cannot be found),
// kArchiveErrorLongName for a name past 511 bytes. Folders and empty members are returned too; the
// listing skips them.
int ReadZipHeader(ArchiveSource* source, uint32_t offset, ZipEntry* entry, uint32_t* next);

// Finds the central directory through the end record (also its Zip64 form)
// in the last 64 KiB of the file. True when the record is there, claims
// entries and the directory it names starts with one.
bool FindZipDirectory(ArchiveSource* source, ZipDirectory* directory);

// Reads the central directory entry at offset. Returns 0 with *entry and
// *next filled (entry->dataOffset is not known yet: LocateZipData finds it),
// kArchiveNoMore when another "PK" record (the end records) follows,
// kArchiveErrorBroken for anything else, kArchiveErrorLongName for a name
// past 511 bytes. Zip64 sizes past 4 GiB are kept as 0xFFFFFFFF.
int ReadZipDirectoryEntry(ArchiveSource* source, uint32_t offset, ZipEntry* entry, uint32_t* next);

// Sets entry->dataOffset from the local header at entry->headerOffset, whose
// name and extra field may differ in length from the directory's. Returns 0
// or kArchiveErrorBroken when no local header is there.
int LocateZipData(ArchiveSource* source, ZipEntry* entry);

// True for an entry a listing shows: not a folder, not empty.
bool IsListedZipEntry(const ZipEntry& entry);
