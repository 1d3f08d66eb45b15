// Feeds arbitrary bytes to the MIDI reader in list mode (title search on and
// off) and in full mode, checking that a title never exceeds 255 bytes and
// that the song record stays within its tables.
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

static void ReadOnce(const uint8_t* data, size_t size, SongInfo* info, bool titleSearch) {
    MemorySongFile file(data, uint32_t(size));
    // Guard bytes after the 255 the reader may write.
    char title[kTitleBufferBytes];
    std::memset(title, 0x5A, sizeof(title));
    const int32_t result = ReadMidiFile(file, info, title, titleSearch);
    Check(result >= kReadUnsupported && result <= 255);
    Check(title[255] == 0x5A);
    if (info != nullptr && result >= 0) {
        Check(info->shownTracks >= 0 && info->shownTracks <= kMaxShownTracks);
        Check(info->trackNames.Count() <= kMaxShownTracks);
        Check(std::memchr(info->copyright, '\0', sizeof(info->copyright)) != nullptr);
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24)) {
        return 0;
    }
    ReadOnce(data, size, nullptr, false);
    ReadOnce(data, size, nullptr, true);
    SongInfo info;
    ReadOnce(data, size, &info, true);
    return 0;
}
