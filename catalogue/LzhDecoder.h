// The LZH decoder: turns a member's packed bytes into its contents for the
// methods -lh0- to -lh7-, -lzs-, -lz4- and -lz5-. It writes only into the
// output buffer it is given, and a corrupt stream is reported, never trusted.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The method decoders (each fills out completely or fails with
// kArchiveErrorBroken).
int DecodeLzhStatic(int dictionaryBits, const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize);
int DecodeLzhAdaptive(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize);
int DecodeLzhEarly(bool adaptive, const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize);
