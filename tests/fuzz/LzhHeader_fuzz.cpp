// Walks the LZH headers of any bytes: the walk must end, never read outside
// the file, and report offsets and sizes that stay inside 32 bits.
#include <cstddef>
#include <cstdint>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/LzhHeader.h"
#include "core/SongFile.h"

static int64_t FixedZone(int64_t utc) {
    return utc + 9 * 3600;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24)) {
        return 0;
    }
    MemorySongFile file(data, uint32_t(size));
    ArchiveSource source(&file);
    uint32_t offset = 0;
    if (!FindFirstLzhHeader(&source, &offset)) {
        return 0;
    }
    for (int members = 0; members < 10000; members++) {
        LzhEntry entry;
        uint32_t next = 0;
        if (ReadLzhHeader(&source, offset, FixedZone, &entry, &next) != 0) {
            break;
        }
        if (entry.name.size() > kMemberNameMax || next <= offset) {
            __builtin_trap();
        }
        offset = next;
    }
    return 0;
}
