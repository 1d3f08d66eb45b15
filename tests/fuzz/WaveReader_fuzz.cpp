// Feeds arbitrary bytes to the reader of WAVE files (the LIST INFO texts),
// in list and properties mode, checking that every text stays in bounds.
#include "fuzz/AudioFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzAudioReader(ReadWaveFile, data, size);
}
