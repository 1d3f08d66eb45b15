// Reading ZIP local file headers and the central directory.
#include "catalogue/archive/ZipHeader.h"

#include <vector>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ZipNames.h"

static constexpr uint32_t kLocalHeaderBytes = 30;
static constexpr uint32_t kDirectoryEntryBytes = 46;
static constexpr uint32_t kEndRecordBytes = 22;
static constexpr uint32_t kEndCommentMax = 0xFFFF;
static constexpr uint32_t kZip64LocatorBytes = 20;
static constexpr uint32_t kZip64EndRecordBytes = 56;
static constexpr uint32_t kNoValue32 = 0xFFFFFFFFu;

static bool HasSignature(const uint8_t* p, uint8_t third, uint8_t fourth) {
    return p[0] == 0x50 && p[1] == 0x4B && p[2] == third && p[3] == fourth;
}

static uint64_t Le64(const uint8_t* p) {
    return uint64_t(Le32(p)) | (uint64_t(Le32(p + 4)) << 32);
}

static uint32_t Clamp32(uint64_t value) {
    return value > kNoValue32 ? kNoValue32 : uint32_t(value);
}

// After a record that is not the one expected: another "PK" record ends
// the walk, anything else is damage.
static int EndOfRecords(const uint8_t* head, size_t got) {
    return (got >= 2 && head[0] == 0x50 && head[1] == 0x4B) ? kArchiveNoMore : kArchiveErrorBroken;
}

static bool IsLocalSignature(const uint8_t* p) {
    return p[0] == 0x50 && p[1] == 0x4B && p[2] == 0x03 && p[3] == 0x04;
}

bool IsZipArchive(ArchiveSource* source) {
    uint8_t signature[4];
    return source->ReadAt(0, signature, 4) == 4 && IsLocalSignature(signature);
}

// The fields that local headers and directory entries share, in the same
// order, from the general purpose flags on: fills *entry and gives the name
// and extra field lengths.
static void ReadSharedFields(const uint8_t* fields, ZipEntry* entry, uint32_t* nameLength, uint32_t* extraLength) {
    *entry = ZipEntry();
    entry->flags = Le16(fields);
    entry->method = Le16(fields + 2);
    entry->dosTime = Le16(fields + 4);
    entry->dosDate = Le16(fields + 6);
    entry->crc = Le32(fields + 8);
    entry->packedSize = Le32(fields + 12);
    entry->size = Le32(fields + 16);
    *nameLength = Le16(fields + 20);
    *extraLength = Le16(fields + 22);
}

// Reads the fixed part of a record whose signature is "PK", third, third + 1
// (a local header or a directory entry): 0, or what ends the walk there.
static int ReadFixedPart(ArchiveSource* source, uint32_t offset, uint8_t third, uint8_t* head, size_t size) {
    const size_t got = source->ReadAt(offset, head, size);
    if (got < 4 || !HasSignature(head, third, uint8_t(third + 1))) {
        // The central directory and the end records also start with "PK".
        return EndOfRecords(head, got);
    }
    return got < size ? kArchiveErrorBroken : 0;
}

int ReadZipHeader(ArchiveSource* source, uint32_t offset, ZipEntry* entry, uint32_t* next) {
    uint8_t head[kLocalHeaderBytes];
    const int fixed = ReadFixedPart(source, offset, 0x03, head, sizeof head);
    if (fixed != 0) {
        return fixed;
    }
    uint32_t nameLength = 0;
    uint32_t extraLength = 0;
    ReadSharedFields(head + 6, entry, &nameLength, &extraLength);
    if (nameLength > kMemberNameMax) {
        return kArchiveErrorLongName;
    }
    char name[kMemberNameMax];
    if (source->ReadAt(offset + kLocalHeaderBytes, name, nameLength) != nameLength) {
        return kArchiveErrorBroken;
    }
    entry->name = ZipDisplayName(std::string(name, nameLength), entry->flags);
    if ((entry->flags & kZipFlagSizesAfterData) && entry->packedSize == 0) {
        // A streamed member: its size is only in the data descriptor after
        // it and in the central directory, so the next header is not found.
        return kArchiveErrorBroken;
    }
    entry->headerOffset = offset;
    uint64_t dataOffset = uint64_t(offset) + kLocalHeaderBytes + nameLength + extraLength;
    uint64_t nextOffset = dataOffset + entry->packedSize;
    entry->dataOffset = dataOffset > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(dataOffset);
    *next = nextOffset > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(nextOffset);
    return 0;
}

bool IsListedZipEntry(const ZipEntry& entry) {
    return entry.packedSize != 0 && !(!entry.name.empty() && entry.name.back() == '/');
}

// Reads the Zip64 end record that the locator before the end record points
// at. True with *directory filled.
static bool ReadZip64End(ArchiveSource* source, uint32_t endOffset, ZipDirectory* directory) {
    uint8_t locator[kZip64LocatorBytes];
    if (endOffset < kZip64LocatorBytes ||
        source->ReadAside(endOffset - kZip64LocatorBytes, locator, sizeof locator) != sizeof locator ||
        !HasSignature(locator, 0x06, 0x07)) {
        return false;
    }
    const uint64_t recordOffset = Le64(locator + 8);
    uint8_t record[kZip64EndRecordBytes];
    if (recordOffset >= source->Size() ||
        source->ReadAside(uint32_t(recordOffset), record, sizeof record) != sizeof record ||
        !HasSignature(record, 0x06, 0x06)) {
        return false;
    }
    const uint64_t count = Le64(record + 32);
    const uint64_t offset = Le64(record + 48);
    if (offset >= source->Size()) {
        return false;
    }
    directory->offset = uint32_t(offset);
    directory->count = Clamp32(count);
    return true;
}

// Reads the end record at offset at (its 22 bytes in end) and follows it to
// the directory. True when it leads to a directory of this archive.
static bool FollowEndRecord(ArchiveSource* source, uint32_t at, const uint8_t* end, ZipDirectory* directory) {
    directory->offset = Le32(end + 16);
    directory->count = Le16(end + 10);
    if ((directory->offset == kNoValue32 || directory->count == 0xFFFF) && !ReadZip64End(source, at, directory) &&
        directory->offset == kNoValue32) {
        return false;
    }
    if (directory->offset > at) {
        return false;
    }
    // An archive starts with a member, so a directory of none is no
    // directory of this archive (archives written by hand end so).
    uint8_t signature[4];
    return directory->count != 0 && source->ReadAside(directory->offset, signature, 4) == 4 &&
           HasSignature(signature, 0x01, 0x02);
}

static bool IsEndRecordAt(const uint8_t* end, uint32_t at, uint32_t size) {
    return HasSignature(end, 0x05, 0x06) && Le16(end + 20) == size - at - kEndRecordBytes;
}

bool FindZipDirectory(ArchiveSource* source, ZipDirectory* directory) {
    const uint32_t size = source->Size();
    if (size < kEndRecordBytes) {
        return false;
    }
    // The end record is the last 22 bytes unless a comment follows it; every
    // member read opens the archive anew, so that case costs one small read.
    const uint32_t last = size - kEndRecordBytes;
    uint8_t record[kEndRecordBytes];
    if (source->ReadAside(last, record, sizeof record) != sizeof record) {
        return false;
    }
    if (IsEndRecordAt(record, last, size)) {
        return FollowEndRecord(source, last, record, directory);
    }
    const uint32_t first = last > kEndCommentMax ? last - kEndCommentMax : 0;
    std::vector<uint8_t> tail(size - first);
    if (source->ReadAside(first, tail.data(), tail.size()) != tail.size()) {
        return false;
    }
    for (uint32_t at = last; at-- > first;) {
        const uint8_t* end = tail.data() + (at - first);
        if (IsEndRecordAt(end, at, size)) {
            return FollowEndRecord(source, at, end, directory);
        }
    }
    return false;
}

// Takes the sizes and the header offset that the directory entry gives as
// 0xFFFFFFFF from its Zip64 extra field, in the field's order.
static void ReadZip64Sizes(const uint8_t* extra, uint32_t extraLength, ZipEntry* entry) {
    uint32_t at = 0;
    while (extraLength - at >= 4) {
        const uint32_t id = Le16(extra + at);
        const uint32_t length = Le16(extra + at + 2);
        at += 4;
        if (length > extraLength - at) {
            return;
        }
        if (id == 0x0001) {
            uint32_t* fields[] = {&entry->size, &entry->packedSize, &entry->headerOffset};
            uint32_t used = 0;
            for (uint32_t* field : fields) {
                if (*field == kNoValue32 && length - used >= 8) {
                    *field = Clamp32(Le64(extra + at + used));
                    used += 8;
                }
            }
            return;
        }
        at += length;
    }
}

int ReadZipDirectoryEntry(ArchiveSource* source, uint32_t offset, ZipEntry* entry, uint32_t* next) {
    uint8_t head[kDirectoryEntryBytes];
    const int fixed = ReadFixedPart(source, offset, 0x01, head, sizeof head);
    if (fixed != 0) {
        return fixed;
    }
    uint32_t nameLength = 0;
    uint32_t extraLength = 0;
    ReadSharedFields(head + 8, entry, &nameLength, &extraLength);
    const uint32_t commentLength = Le16(head + 32);
    entry->headerOffset = Le32(head + 42);
    if (nameLength > kMemberNameMax) {
        return kArchiveErrorLongName;
    }
    std::vector<uint8_t> variable(nameLength + extraLength);
    if (source->ReadAt(offset + kDirectoryEntryBytes, variable.data(), variable.size()) != variable.size()) {
        return kArchiveErrorBroken;
    }
    entry->name = ZipDisplayName(std::string(reinterpret_cast<const char*>(variable.data()), nameLength), entry->flags);
    ReadZip64Sizes(variable.data() + nameLength, extraLength, entry);
    const uint64_t nextOffset = uint64_t(offset) + kDirectoryEntryBytes + nameLength + extraLength + commentLength;
    *next = Clamp32(nextOffset);
    return 0;
}

int LocateZipData(ArchiveSource* source, ZipEntry* entry) {
    uint8_t head[kLocalHeaderBytes];
    if (source->ReadAt(entry->headerOffset, head, sizeof head) != sizeof head || !IsLocalSignature(head)) {
        return kArchiveErrorBroken;
    }
    const uint64_t dataOffset = uint64_t(entry->headerOffset) + kLocalHeaderBytes + Le16(head + 26) + Le16(head + 28);
    if (dataOffset > source->Size()) {
        return kArchiveErrorBroken;
    }
    entry->dataOffset = uint32_t(dataOffset);
    return 0;
}
