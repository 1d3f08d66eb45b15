// The LZH decoder: turns a member's packed bytes into its contents for the
// methods -lh0- to -lh7-, -lzs-, -lz4- and -lz5-. It writes only through the
// member output it is given, and a corrupt stream is reported, never trusted.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "catalogue/archive/LzhBits.h"
#include "catalogue/archive/MemberData.h"

// Index of a method name ("-lh5-") in the method table, or -1.
int LzhMethodIndex(const char* method);

// CRC-16 (polynomial 0xA001, as LZH headers store it) of n bytes, continued
// from crc.
uint16_t LzhCrc16(const uint8_t* bytes, size_t n, uint16_t crc);

// Decodes packed bytes of a member into exactly outSize bytes (a stored
// member is copied up to outSize). Returns 0, kArchiveErrorMethod for a
// method outside the table, or kArchiveErrorBroken when the stream is corrupt
// or ends before outSize bytes were produced.
int DecodeLzh(const char* method, const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize);

// The same for packed bytes from a feed (packedSize bytes in all) into
// out->Limit() bytes; also kArchiveErrorBroken when out fails.
int DecodeLzhMember(const char* method, PackedFeed* feed, uint64_t packedSize, MemberOutput* out);

// The method decoders (each fills out completely or fails with
// kArchiveErrorBroken).
int DecodeLzhStatic(int dictionaryBits, LzhBitReader* bits, MemberOutput* out);
int DecodeLzhAdaptive(LzhBitReader* bits, MemberOutput* out);
int DecodeLzhEarly(bool adaptive, LzhBitReader* bits, MemberOutput* out);

// Appends one byte at *position; false when out fails.
inline bool PutLzhByte(MemberOutput* out, size_t* position, uint8_t byte) {
    uint8_t* to = out->Room(*position, 1);
    if (!to) {
        return false;
    }
    *to = byte;
    ++*position;
    return true;
}

// Appends a match of length bytes (cut at the member's end) copied from
// distance bytes back, at most MemberOutput::kHistoryBytes. History before
// the member's first byte reads as spaces, the way the original decoders'
// ring buffers start. False when out fails.
inline bool PutLzhMatch(MemberOutput* out, size_t* position, size_t distance, size_t length) {
    const size_t at = *position;
    length = std::min(length, out->Limit() - at);
    uint8_t* to = out->Room(at, length);
    if (!to) {
        return false;
    }
    *position += length;
    if (distance <= at) {
        const uint8_t* from = to - distance;
        if (distance >= length) {
            std::memcpy(to, from, length);
        } else {
            for (size_t i = 0; i < length; i++) {
                to[i] = from[i];
            }
        }
        return true;
    }
    for (size_t i = 0; i < length; i++) {
        to[i] = at + i >= distance ? *(to + i - distance) : ' ';
    }
    return true;
}
