// The LZH decoder: turns a member's packed bytes into its contents for the
// methods -lh0- to -lh7-, -lzs-, -lz4- and -lz5-. It writes only through the
// member output it is given, and a corrupt stream is reported, never trusted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "catalogue/LzhBits.h"
#include "catalogue/MemberData.h"

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

// Copies a match of length bytes from distance bytes back (at most
// MemberOutput::kHistoryBytes) to to, the place of the byte at position.
// History before the member's first byte reads as spaces, the way the
// original decoders' ring buffers start.
inline void CopyLzhMatch(uint8_t* to, size_t position, size_t distance, size_t length) {
    if (distance <= position) {
        const uint8_t* from = to - distance;
        if (distance >= length) {
            std::memcpy(to, from, length);
        } else {
            for (size_t i = 0; i < length; i++) {
                to[i] = from[i];
            }
        }
        return;
    }
    for (size_t i = 0; i < length; i++) {
        to[i] = position + i >= distance ? *(to + i - distance) : ' ';
    }
}
