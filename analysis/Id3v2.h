// ID3v2.3 and ID3v2.4 tags: the title ("TIT2"), artist ("TPE1") and comment
// ("COMM") frames of a tag already read into memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/AudioTags.h"

constexpr size_t kId3v2HeaderBytes = 10;

// Header flags.
constexpr uint8_t kId3v2Unsynchronised = 0x80;
constexpr uint8_t kId3v2ExtendedHeader = 0x40;
constexpr uint8_t kId3v2Footer = 0x10;

// A 28-bit number stored in four bytes of seven bits, most significant first.
uint32_t ReadSynchsafe(const uint8_t* p);

// Parses the tag body (the bytes after the 10-byte header) of a tag with the
// given major version (3 or above) and header flags into tag. The comment is
// read only when wantComment is set. Fields the tag lacks stay unset.
void ParseId3v2Tag(std::vector<uint8_t> body, uint8_t major, uint8_t flags, bool wantComment, AudioTag* tag);
