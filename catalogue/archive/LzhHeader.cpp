// Reading LZH headers. Three header levels are in use: level 0 (MS-DOS
// LHarc), level 1 (extended headers stored in front of the packed data and
// counted in the packed size) and level 2 (a 16-bit header length, extended
// headers inside it and a UTC Unix time).
#include "catalogue/archive/LzhHeader.h"

#include <cstring>

#include "catalogue/archive/ArchiveKind.h"
#include "core/Text.h"

static constexpr uint32_t kMaxExtendedHeaders = 256;  // per member

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
static void CivilOfDays(int64_t days, int* year, int* month, int* day) {
    days += 719468;
    int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    int64_t dayOfEra = days - era * 146097;
    int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    int64_t mp = (5 * dayOfYear + 2) / 153;
    *day = int(dayOfYear - (153 * mp + 2) / 5 + 1);
    *month = int(mp < 10 ? mp + 3 : mp - 9);
    *year = int(yearOfEra + era * 400 + (*month <= 2));
}

// Days since 1970-01-01 of a civil date.
static int64_t DaysOfCivil(int year, int month, int day) {
    year -= month <= 2;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void DosDateTimeOfUnix(int64_t utcSeconds, LocalTimeFn toLocal, uint16_t* dosDate, uint16_t* dosTime) {
    int64_t local = toLocal(utcSeconds);
    int64_t days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
    int64_t secondOfDay = local - days * 86400;
    int year, month, day;
    CivilOfDays(days, &year, &month, &day);
    if (year < 1980 || year > 2107) {
        *dosDate = 0x21;
        *dosTime = 0;
        return;
    }
    *dosDate = uint16_t(((year - 1980) << 9) | (month << 5) | day);
    *dosTime = uint16_t(((secondOfDay / 3600) << 11) | ((secondOfDay / 60 % 60) << 5) | (secondOfDay % 60 / 2));
}

bool LocalSecondsOfDos(uint16_t dosDate, uint16_t dosTime, int64_t* localSeconds) {
    int day = dosDate & 0x1F;
    int month = (dosDate >> 5) & 0x0F;
    int year = 1980 + (dosDate >> 9);
    int second = (dosTime & 0x1F) * 2;
    int minute = (dosTime >> 5) & 0x3F;
    int hour = dosTime >> 11;
    if (day == 0 || month == 0 || month > 12 || hour > 23 || minute > 59 || second > 59) {
        return false;
    }
    *localSeconds = DaysOfCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
    return true;
}

static bool IsMethodName(const uint8_t* p) {
    return p[0] == '-' && p[1] == 'l' && p[4] == '-';
}

bool FindFirstLzhHeader(ArchiveSource* source, uint32_t* headerOffset) {
    uint8_t bytes[16];
    uint32_t position = 2;
    size_t want = 5;
    for (;;) {
        size_t got = source->ReadAt(position, bytes, want);
        if (got == 0) {
            return false;
        }
        // A header starts with its non-zero length; self-extracting programs
        // hold method names in their own text, with other bytes before them.
        uint8_t headerLength = 0;
        if (got >= 5 && IsMethodName(bytes) && source->ByteAt(position - 2, &headerLength) && headerLength != 0) {
            *headerOffset = position - 2;
            return true;
        }
        // Without a '-' in sight no method name can start inside these bytes.
        position += std::memchr(bytes, '-', got) ? 1 : uint32_t(got);
        want = sizeof bytes;
    }
}

// Keeps only what follows the last '\\' (level 0 names carry MS-DOS paths).
static std::string LastElement(const std::string& name) {
    size_t start = 0;
    for (size_t i = 0; i < name.size(); i += CharBytes(name.c_str() + i)) {
        if (name[i] == '\\') {
            start = i + 1;
        }
    }
    return name.substr(start);
}

// A name field: up to its first NUL (some archivers put a comment after one).
static std::string NameOfField(const uint8_t* bytes, size_t length) {
    const void* nul = std::memchr(bytes, 0, length);
    return std::string(reinterpret_cast<const char*>(bytes), nul ? static_cast<const uint8_t*>(nul) - bytes : length);
}

// A folder extended header: 0xFF separates folders; the name ends in '/'.
static std::string FolderOfField(const uint8_t* bytes, size_t length) {
    std::string folder = NameOfField(bytes, length);
    for (size_t i = 0; i < folder.size(); i += CharBytes(folder.c_str() + i)) {
        if (uint8_t(folder[i]) == 0xFF) {
            folder[i] = '/';
        }
    }
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// Walks the extended headers whose first size field is at sizeAt and which
// must end before limit. Fills the names and attributes it finds and
// *total with the bytes the headers took. False on a broken chain.
static bool ReadExtendedHeaders(ArchiveSource* source,
                                uint32_t sizeAt,
                                uint32_t limit,
                                std::string* fileName,
                                std::string* folderName,
                                uint16_t* attributes,
                                uint32_t* total) {
    uint8_t data[65536];
    uint16_t size = 0;
    *total = 0;
    for (uint32_t count = 0;; count++) {
        if (sizeAt > limit || limit - sizeAt < 2 || !source->Word16At(sizeAt, &size)) {
            return false;
        }
        if (size == 0) {
            return true;
        }
        if (size < 3 || count >= kMaxExtendedHeaders || size > limit - sizeAt) {
            return false;
        }
        // The header is its type byte, size - 3 data bytes and the next size field.
        if (source->ReadAt(sizeAt + 2, data, size - 2u) != size - 2u) {
            return false;
        }
        const uint8_t* payload = data + 1;
        size_t payloadLength = size - 3u;
        switch (data[0]) {
            case 0x01:
                *fileName = NameOfField(payload, payloadLength);
                break;
            case 0x02:
                *folderName = FolderOfField(payload, payloadLength);
                break;
            case 0x40:
                if (payloadLength >= 2) {
                    *attributes = Le16(payload);
                }
                break;
            default:
                break;
        }
        *total += size;
        sizeAt += size;
    }
}

// Level 0 and 1: a one-byte header length, MS-DOS time, the name in the base
// header; level 1 adds extended headers counted in the packed size.
static int ReadLowLevelHeader(ArchiveSource* source,
                              uint32_t offset,
                              LzhEntry* entry,
                              std::string* fileName,
                              std::string* folderName,
                              uint64_t* nextOffset) {
    uint8_t head[257];
    uint32_t headerLength = 0;
    if (!source->ByteAt(offset, &head[0])) {
        return kArchiveErrorBroken;
    }
    headerLength = head[0] + 2u;
    if (source->ReadAt(offset, head, headerLength) != headerLength || headerLength < 24) {
        return kArchiveErrorBroken;
    }
    uint32_t packed = Le32(head + 7);
    entry->dosTime = Le16(head + 15);
    entry->dosDate = Le16(head + 17);
    uint32_t nameLength = head[21];
    // Name, CRC, and for level 1 the OS byte and the first extended size field.
    uint32_t fixedAfterName = entry->level == 0 ? 2 : 5;
    // A header too short for its fixed fields after the name is broken; the
    // check comes first so the subtraction below cannot wrap.
    if (headerLength < 22 + fixedAfterName || nameLength > headerLength - 22 - fixedAfterName) {
        return kArchiveErrorBroken;
    }
    *fileName = NameOfField(head + 22, nameLength);
    entry->crc = Le16(head + 22 + nameLength);
    entry->dataOffset = offset + headerLength;
    entry->packedSize = packed;
    if (entry->level == 0) {
        *fileName = LastElement(*fileName);
    } else {
        uint32_t extendedBytes = 0;
        if (!ReadExtendedHeaders(source, offset + head[0], source->Size(), fileName, folderName, &entry->attributes,
                                 &extendedBytes) ||
            extendedBytes > packed) {
            return kArchiveErrorBroken;
        }
        entry->dataOffset += extendedBytes;
        entry->packedSize = packed - extendedBytes;
    }
    *nextOffset = uint64_t(offset) + headerLength + packed;
    return 0;
}

// Level 2: a 16-bit header length holding the extended headers, UTC time.
static int ReadLevel2Header(ArchiveSource* source,
                            uint32_t offset,
                            LocalTimeFn toLocal,
                            LzhEntry* entry,
                            std::string* fileName,
                            std::string* folderName,
                            uint64_t* nextOffset) {
    uint8_t head[26];
    if (source->ReadAt(offset, head, sizeof head) != sizeof head) {
        return kArchiveErrorBroken;
    }
    uint32_t headerLength = Le16(head);
    // LHa for OS-9/68k (OS byte 'K') writes a header length two bytes short of
    // its extended headers.
    const uint32_t slack = head[23] == 'K' ? 2 : 0;
    if (headerLength < sizeof head || headerLength + slack > source->Size() - offset) {
        return kArchiveErrorBroken;
    }
    uint32_t extendedBytes = 0;
    if (!ReadExtendedHeaders(source, offset + 24, offset + headerLength + slack, fileName, folderName,
                             &entry->attributes, &extendedBytes)) {
        return kArchiveErrorBroken;
    }
    if (slack != 0 && 24 + extendedBytes + 2 == headerLength + slack) {
        headerLength += slack;
    }
    entry->packedSize = Le32(head + 7);
    DosDateTimeOfUnix(int64_t(Le32(head + 15)), toLocal, &entry->dosDate, &entry->dosTime);
    entry->crc = Le16(head + 21);
    entry->dataOffset = offset + headerLength;
    *nextOffset = uint64_t(offset) + headerLength + entry->packedSize;
    return 0;
}

int ReadLzhHeader(ArchiveSource* source, uint32_t offset, LocalTimeFn toLocal, LzhEntry* entry, uint32_t* next) {
    uint8_t head[22];
    size_t got = source->ReadAt(offset, head, sizeof head);
    if (got == 0 || head[0] == 0) {
        return kArchiveNoMore;
    }
    if (got < sizeof head || !IsMethodName(head + 2)) {
        return kArchiveErrorBroken;
    }
    if (head[20] > 2) {
        return kArchiveErrorLevel;
    }
    *entry = LzhEntry();
    entry->level = head[20];
    std::memcpy(entry->method, head + 2, 5);
    entry->size = Le32(head + 11);
    std::string fileName;
    std::string folderName;
    uint64_t nextOffset = 0;
    int result = entry->level < 2
                     ? ReadLowLevelHeader(source, offset, entry, &fileName, &folderName, &nextOffset)
                     : ReadLevel2Header(source, offset, toLocal, entry, &fileName, &folderName, &nextOffset);
    if (result != 0) {
        return result;
    }
    if (folderName.size() + fileName.size() > kMemberNameMax) {
        return kArchiveErrorLongName;
    }
    entry->name = folderName + fileName;
    *next = nextOffset > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(nextOffset);
    return 0;
}
