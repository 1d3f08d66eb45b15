// The LZH header walk: finding the first header (also behind a
// self-extracting program) and reading level 0, 1 and 2 headers with their
// extended headers into one entry per member.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue/archive/ArchiveSource.h"

struct LzhEntry {
    std::string name;         // folder name (with '/') + file name
    char method[6] = {};      // "-lh5-", terminated
    uint32_t packedSize = 0;  // compressed bytes, extended headers excluded
    uint32_t size = 0;        // uncompressed bytes
    uint16_t dosTime = 0;     // local MS-DOS time
    uint16_t dosDate = 0;     // local MS-DOS date
    uint16_t attributes = 0;  // from the attribute extended header, else 0
    uint16_t crc = 0;         // CRC-16 of the uncompressed bytes
    uint8_t level = 0;        // header level 0, 1 or 2
    uint32_t dataOffset = 0;  // where the compressed bytes start
};

// Turns a UTC Unix time into local seconds since 1970 (the local clock read
// as if it were UTC). Injected so that tests can fix the time zone.
using LocalTimeFn = int64_t (*)(int64_t utcSeconds);

// The process's time zone: each world supplies it.
int64_t LocalSecondsOfUtc(int64_t utcSeconds);
// The inverse: the UTC time at which the local clock shows localSeconds.
int64_t UtcSecondsOfLocal(int64_t localSeconds);

// Local MS-DOS date and time of a UTC Unix time; a time outside 1980-2107
// becomes date 0x21 (1980-01-01) and time 0.
void DosDateTimeOfUnix(int64_t utcSeconds, LocalTimeFn toLocal, uint16_t* dosDate, uint16_t* dosTime);

// Local seconds since 1970 of an MS-DOS date and time. False for a date or
// time with a field out of range (month 0, second 60, ...).
bool LocalSecondsOfDos(uint16_t dosDate, uint16_t dosTime, int64_t* localSeconds);

// Finds the first header: 2 bytes before the first "-l??-" method name found
// from offset 2 on. False when the file holds none.
bool FindFirstLzhHeader(ArchiveSource* source, uint32_t* headerOffset);

// Reads the header at offset. Returns 0 with *entry and *next (the following
// header's offset) filled, kArchiveNoMore at the end of the archive,
// kArchiveErrorBroken, kArchiveErrorLevel or kArchiveErrorLongName.
int ReadLzhHeader(ArchiveSource* source, uint32_t offset, LocalTimeFn toLocal, LzhEntry* entry, uint32_t* next);
