// Feeds arbitrary bytes to the reader of Ogg Vorbis files (the comment header over one or more pages),
// in list and properties mode, checking that every text stays in bounds.
#include "fuzz/AudioFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzAudioReader(ReadOggFile, data, size);
}
