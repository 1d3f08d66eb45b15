// Walks the ZIP central directory of any bytes, finds each member's data
// through its local header and inflates it into a buffer of the announced
// size.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/Inflate.h"
#include "catalogue/archive/ZipHeader.h"
#include "core/SongFile.h"

static constexpr uint32_t kMaxOutput = 1u << 20;  // bytes inflated per member at most

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 22)) {
        return 0;
    }
    MemorySongFile file(data, uint32_t(size));
    ArchiveSource source(&file);
    ZipDirectory directory;
    if (!FindZipDirectory(&source, &directory)) {
        return 0;
    }
    if (directory.offset >= size && directory.count != 0) {
        __builtin_trap();
    }
    uint32_t offset = directory.offset;
    for (int members = 0; members < 1000; members++) {
        ZipEntry entry;
        uint32_t next = 0;
        if (ReadZipDirectoryEntry(&source, offset, &entry, &next) != 0) {
            break;
        }
        if (entry.name.size() > kMemberNameMax || next <= offset) {
            __builtin_trap();
        }
        if (LocateZipData(&source, &entry) == 0) {
            if (entry.dataOffset > size) {
                __builtin_trap();
            }
            if (IsListedZipEntry(entry) && entry.method == 8 && entry.size <= kMaxOutput) {
                const uint32_t available = uint32_t(size) - entry.dataOffset;
                std::vector<uint8_t> out(entry.size ? entry.size : 1);
                InflateRaw(data + entry.dataOffset, entry.packedSize < available ? entry.packedSize : available,
                           out.data(), entry.size);
            }
        }
        offset = next;
    }
    return 0;
}
