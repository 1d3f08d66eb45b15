// Feeds arbitrary bytes to the Recomposer reader in list and full mode,
// checking the title bound, the memo text bound and the track tables.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24)) {
        return 0;
    }
    char title[kTitleBufferBytes];
    for (bool full : {false, true}) {
        MemorySongFile file(data, uint32_t(size));
        SongInfo info;
        std::memset(title, 0x5A, sizeof(title));
        const int32_t result = ReadRecomposerFile(file, full ? &info : nullptr, title);
        Check(result >= kReadUnsupported && result <= 64);
        Check(title[64] == 0x5A);
        if (full && result >= 0) {
            Check(std::strlen(info.secondText) <= 384);
            Check(info.shownTracks >= 0 && info.shownTracks <= kMaxShownTracks);
            Check(info.trackNames.Count() == info.shownTracks);
        }
    }
    return 0;
}
