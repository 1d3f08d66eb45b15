// Raw deflate decoding for ZIP members.
#pragma once

#include <cstddef>
#include <cstdint>

// Inflates a raw deflate stream into exactly outSize bytes. False when the
// stream is corrupt or yields a different number of bytes.
bool InflateRaw(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize);

// CRC-32 of n bytes (the ZIP checksum).
uint32_t ZipCrc32(const uint8_t* bytes, size_t n);
