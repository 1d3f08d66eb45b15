// Raw deflate decoding for ZIP members.
#pragma once

#include <cstddef>
#include <cstdint>

#include "catalogue/archive/MemberData.h"

// Inflates a raw deflate stream into exactly outSize bytes. False when the
// stream is corrupt or yields a different number of bytes.
bool InflateRaw(const uint8_t* packed, size_t packedSize, uint8_t* out, size_t outSize);

// Inflates a raw deflate stream from feed into out->Limit() bytes. With
// whole set the stream must end there; else decoding stops at the limit.
// Returns 0, or kArchiveErrorBroken when the stream is corrupt, ends early,
// runs on past a whole member's end, or out fails.
int InflateMember(PackedFeed* feed, MemberOutput* out, bool whole);

// CRC-32 of n bytes (the ZIP checksum).
uint32_t ZipCrc32(const uint8_t* bytes, size_t n);
// The same continued from crc (0 at the start), as a member output's checksum.
uint32_t ZipCrc32From(const uint8_t* bytes, size_t n, uint32_t crc);
