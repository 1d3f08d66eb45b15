// ID3v2.3 and ID3v2.4 tags: the title ("TIT2"), artist ("TPE1") and comment
// ("COMM") frames of a tag at the start of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include "analysis/AudioTags.h"

constexpr size_t kId3v2HeaderBytes = 10;

// Header flags.
constexpr uint8_t kId3v2Unsynchronised = 0x80;
constexpr uint8_t kId3v2ExtendedHeader = 0x40;
constexpr uint8_t kId3v2Footer = 0x10;

// A 28-bit number stored in four bytes of seven bits, most significant first.
uint32_t ReadSynchsafe(const uint8_t* p);

// Reads the tag body (the bodySize bytes after the 10-byte header, which the
// file must hold) of a tag with the given major version (3 or above) and
// header flags into tag. The comment is read only when wantComment is set.
// Fields the tag lacks stay unset.
void ReadId3v2Tag(SongFile& file, uint32_t bodySize, uint8_t major, uint8_t flags, bool wantComment, AudioTag* tag);
