// The module a MIDI song was written for, told by the system exclusive
// message that resets the module in its first bars (GM System On, GS Reset,
// XG System On, the SC-88 mode set). Used when no detection string names a
// module.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/BagBox.h"

// The reset messages told apart, from the least to the most specific.
enum class MidiReset { kNone, kGm1, kGm2, kXg, kGs, kSc88 };

// The most specific reset message among the system exclusive events in
// bytes (the head of a Standard MIDI File as a reader has it in memory);
// between two as specific, the first. kNone when there is none.
MidiReset FindMidiReset(const uint8_t* bytes, size_t size);

// The row of the module table that a reset message stands for ("GM1", "GM2",
// "GS", "XG", "SC-88"). Null for kNone and when the table has no such row;
// else the name in the table, valid until it changes.
const char* ModuleOfMidiReset(const BagBox& modules, MidiReset reset);
