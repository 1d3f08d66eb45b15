// Finding the reset messages of a MIDI song.
#include "analysis/MidiReset.h"

#include <cstring>

#include "analysis/SoundModules.h"
#include "core/Text.h"

namespace {

constexpr uint8_t kSysEx = 0xF0;
constexpr uint8_t kEndOfExclusive = 0xF7;
constexpr uint8_t kAnyByte = 0xFF;  // in a pattern: the device number, which senders choose

struct ResetPattern {
    MidiReset reset;
    uint8_t length;  // body bytes after F0, F7 included
    uint8_t body[10];
    const char* module;  // the default table's row
};

// Bodies as a Standard MIDI File stores them after F0 and the length.
const ResetPattern kResetPatterns[] = {
    {MidiReset::kGm1, 5, {0x7E, kAnyByte, 0x09, 0x01, kEndOfExclusive}, "GM1"},
    {MidiReset::kGm2, 5, {0x7E, kAnyByte, 0x09, 0x03, kEndOfExclusive}, "GM2"},
    {MidiReset::kXg, 8, {0x43, kAnyByte, 0x4C, 0x00, 0x00, 0x7E, 0x00, kEndOfExclusive}, "XG"},
    {MidiReset::kGs, 10, {0x41, kAnyByte, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, kEndOfExclusive}, "GS"},
    // System mode set: single module (checksum 01) or double module (00).
    {MidiReset::kSc88, 10, {0x41, kAnyByte, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x00, 0x01, kEndOfExclusive}, "SC-88"},
    {MidiReset::kSc88, 10, {0x41, kAnyByte, 0x42, 0x12, 0x00, 0x00, 0x7F, 0x01, 0x00, kEndOfExclusive}, "SC-88"},
};

bool BodyMatches(const ResetPattern& pattern, const uint8_t* body) {
    for (uint8_t i = 0; i < pattern.length; i++) {
        if (pattern.body[i] != kAnyByte && pattern.body[i] != body[i]) {
            return false;
        }
    }
    // Device numbers are 7-bit: Roland's 0x10 to 0x1F, YAMAHA's 0x1n, 0x7F for all.
    return body[1] < 0x80;
}

}  // namespace

MidiReset FindMidiReset(const uint8_t* bytes, size_t size) {
    MidiReset found = MidiReset::kNone;
    for (size_t i = 0; i < size; i++) {
        if (bytes[i] != kSysEx) {
            continue;
        }
        uint32_t length = 0;
        const size_t lengthBytes = size_t(ReadVarLen(bytes + i + 1, size - i - 1, &length));
        const size_t body = i + 1 + lengthBytes;
        if (lengthBytes == 0 || length > size - body) {
            continue;
        }
        for (const ResetPattern& pattern : kResetPatterns) {
            if (length == pattern.length && BodyMatches(pattern, bytes + body) && pattern.reset > found) {
                found = pattern.reset;
            }
        }
    }
    return found;
}

const char* ModuleOfMidiReset(const BagBox& modules, MidiReset reset) {
    for (const ResetPattern& pattern : kResetPatterns) {
        if (pattern.reset != reset) {
            continue;
        }
        const int32_t row = modules.Find(pattern.module, SoundModuleColumn::name);
        return row < 0 ? nullptr : modules.Read(row, SoundModuleColumn::name);
    }
    return nullptr;
}
