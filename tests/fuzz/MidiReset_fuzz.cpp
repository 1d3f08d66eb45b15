// Looks for reset messages in any bytes, as the MIDI reader does in the head
// of a song.
#include <cstddef>
#include <cstdint>

#include "analysis/MidiReset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const MidiReset reset = FindMidiReset(data, size);
    if (reset < MidiReset::kNone || reset > MidiReset::kSc88) {
        __builtin_trap();
    }
    return 0;
}
