// The ZIP local header walk: members are found by following the local file
// headers from the start of the file, without the central directory.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/ArchiveSource.h"

struct ZipEntry {
    std::string name;     // as stored, with '/' between folders
    uint16_t flags = 0;   // general purpose bits (bit 0: encrypted)
    uint16_t method = 0;  // 0 stored, 8 deflated
    uint16_t dosTime = 0;
    uint16_t dosDate = 0;
    uint32_t crc = 0;  // CRC-32 of the uncompressed bytes
    uint32_t packedSize = 0;
    uint32_t size = 0;
    uint32_t dataOffset = 0;  // where the compressed bytes start
};

// True when the file starts with a local file header signature.
bool IsZipArchive(ArchiveSource* source);

// Reads the local header at offset. Returns 0 with *entry and *next filled,
// kArchiveNoMore when another "PK" record (the central directory) or nothing
// follows, kArchiveErrorBroken for anything else, kArchiveErrorLongName for a
// name past 511 bytes. Folders and empty members are returned too; the
// listing skips them.
int ReadZipHeader(ArchiveSource* source, uint32_t offset, ZipEntry* entry, uint32_t* next);

// True for an entry a listing shows: not a folder, not empty.
bool IsListedZipEntry(const ZipEntry& entry);
