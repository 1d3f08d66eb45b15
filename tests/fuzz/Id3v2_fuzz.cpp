// Feeds arbitrary bytes to the MPEG audio reader (ID3v2 at the start, the RIFF
// container, ID3v1 at the end) in list and properties mode, and to the quick
// tag kind test, checking that every text stays in bounds.
#include "analysis/MpegReader.h"
#include "fuzz/AudioFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kMaxAudioFuzzInput) {
        return 0;
    }
    MemorySongFile file(data, uint32_t(size));
    const int kind = DetectMp3TagKind(file);
    CheckFuzz(kind >= kMp3TagNone && kind <= kMp3TagId3v2);
    return FuzzAudioReader(ReadMpegFile, data, size);
}
