// Feeds arbitrary bytes to the reader of Windows Media files (our own ASF header parser),
// in list and properties mode, checking that every text stays in bounds.
#include "fuzz/AudioFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzAudioReader(ReadAsfFile, data, size);
}
