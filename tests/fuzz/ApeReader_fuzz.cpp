// Feeds arbitrary bytes to the reader of Monkey's Audio files (the APE tag at the end),
// in list and properties mode, checking that every text stays in bounds.
#include "fuzz/AudioFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzAudioReader(ReadApeFile, data, size);
}
