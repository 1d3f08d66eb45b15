// Walks the ZIP local headers of any bytes and inflates what it finds into
// buffers of the announced size.
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
    if (!IsZipArchive(&source)) {
        return 0;
    }
    uint32_t offset = 0;
    for (int members = 0; members < 1000; members++) {
        ZipEntry entry;
        uint32_t next = 0;
        if (ReadZipHeader(&source, offset, &entry, &next) != 0) {
            break;
        }
        if (entry.name.size() > kMemberNameMax || next < offset) {
            __builtin_trap();
        }
        if (IsListedZipEntry(entry) && entry.method == 8 && entry.size <= kMaxOutput && entry.dataOffset < size) {
            uint32_t available = uint32_t(size) - entry.dataOffset;
            std::vector<uint8_t> out(entry.size ? entry.size : 1);
            InflateRaw(data + entry.dataOffset, entry.packedSize < available ? entry.packedSize : available, out.data(),
                       entry.size);
        }
        if (next == offset) {
            break;
        }
        offset = next;
    }
    return 0;
}
