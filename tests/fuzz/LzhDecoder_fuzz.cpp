// Decodes every member of any bytes read as an LZH archive into a buffer
// fenced by guard bytes: a corrupt stream may fail but must never write
// outside the buffer or run away.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/LzhDecoder.h"
#include "catalogue/archive/LzhHeader.h"
#include "core/SongFile.h"

static int64_t Utc(int64_t utc) {
    return utc;
}

// Bounds that keep a run to a fraction of a millisecond: songs are small, and
// what a decoder does wrong it does within its first kilobyte of output. The
// adaptive methods update their trees at every bit of every symbol, so each
// byte of output costs much here; a kilobyte still reaches every way a copy
// is made (from before the member's start, overlapping, whole) and, for
// -lh2-, the growth of its distance tree.
static constexpr uint32_t kMaxOutput = 1u << 10;  // bytes decoded per member at most
static constexpr int kMaxMembers = 4;
static constexpr size_t kMaxInput = 64u << 10;
static constexpr size_t kGuard = 32;

// One output buffer for every run; only its guards are set each time.
static uint8_t output[kMaxOutput + 2 * kGuard];

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kMaxInput) {
        return 0;
    }
    MemorySongFile file(data, uint32_t(size));
    ArchiveSource source(&file);
    uint32_t offset = 0;
    if (!FindFirstLzhHeader(&source, &offset)) {
        return 0;
    }
    for (int members = 0; members < kMaxMembers; members++) {
        LzhEntry entry;
        uint32_t next = 0;
        if (ReadLzhHeader(&source, offset, Utc, &entry, &next) != 0) {
            break;
        }
        offset = next;
        uint32_t available = entry.dataOffset < size ? uint32_t(size) - entry.dataOffset : 0;
        uint32_t packedSize = entry.packedSize < available ? entry.packedSize : available;
        uint32_t outSize = entry.size < kMaxOutput ? entry.size : kMaxOutput;
        uint8_t* out = output;
        std::memset(out, 0xA5, kGuard);
        std::memset(out + kGuard + outSize, 0xA5, kGuard);
        int result =
            DecodeLzh(entry.method, data + (available ? entry.dataOffset : 0), packedSize, out + kGuard, outSize);
        if (result != 0 && result != kArchiveErrorBroken && result != kArchiveErrorMethod) {
            __builtin_trap();
        }
        for (size_t i = 0; i < kGuard; i++) {
            if (out[i] != 0xA5 || out[kGuard + outSize + i] != 0xA5) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
