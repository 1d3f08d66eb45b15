// Reading ZIP local file headers.
#include "catalogue/ZipHeader.h"

#include "catalogue/ArchiveKind.h"

static constexpr uint32_t kLocalHeaderBytes = 30;

static bool IsLocalSignature(const uint8_t* p) {
    return p[0] == 0x50 && p[1] == 0x4B && p[2] == 0x03 && p[3] == 0x04;
}

bool IsZipArchive(ArchiveSource* source) {
    uint8_t signature[4];
    return source->ReadAt(0, signature, 4) == 4 && IsLocalSignature(signature);
}

int ReadZipHeader(ArchiveSource* source, uint32_t offset, ZipEntry* entry, uint32_t* next) {
    uint8_t head[kLocalHeaderBytes];
    size_t got = source->ReadAt(offset, head, sizeof head);
    if (got < 4 || !IsLocalSignature(head)) {
        // The central directory and the end record also start with "PK".
        return (got >= 2 && head[0] == 0x50 && head[1] == 0x4B) ? kArchiveNoMore : kArchiveErrorBroken;
    }
    if (got < sizeof head) {
        return kArchiveErrorBroken;
    }
    *entry = ZipEntry();
    entry->flags = Le16(head + 6);
    entry->method = Le16(head + 8);
    entry->dosTime = Le16(head + 10);
    entry->dosDate = Le16(head + 12);
    entry->crc = Le32(head + 14);
    entry->packedSize = Le32(head + 18);
    entry->size = Le32(head + 22);
    uint32_t nameLength = Le16(head + 26);
    uint32_t extraLength = Le16(head + 28);
    if (nameLength > kMemberNameMax) {
        return kArchiveErrorLongName;
    }
    char name[kMemberNameMax];
    if (source->ReadAt(offset + kLocalHeaderBytes, name, nameLength) != nameLength) {
        return kArchiveErrorBroken;
    }
    entry->name.assign(name, nameLength);
    uint64_t dataOffset = uint64_t(offset) + kLocalHeaderBytes + nameLength + extraLength;
    uint64_t nextOffset = dataOffset + entry->packedSize;
    entry->dataOffset = dataOffset > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(dataOffset);
    *next = nextOffset > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(nextOffset);
    return 0;
}

bool IsListedZipEntry(const ZipEntry& entry) {
    return entry.packedSize != 0 && !(!entry.name.empty() && entry.name.back() == '/');
}
