// What the audio tag readers share: the three texts a tag gives, their
// decoding from the tag's character encoding, and the one way every reader
// turns them into the title, comment and SongInfo its caller sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/RiffChunks.h"
#include "core/SongFile.h"

struct SongInfo;

constexpr size_t kTagTitleBytes = 255;     // title and artist as read from a tag
constexpr size_t kTagCommentBytes = 511;   // comment as read from a tag
constexpr size_t kListCommentBytes = 255;  // what a comment buffer receives
constexpr size_t kInfoCommentBytes = 384;  // what SongInfo::secondText receives

// The most the tag readers take into memory at once from sizes a file
// declares, whatever size the file claims and holds.
constexpr uint32_t kAsfObjectBytesKept = 1u << 20;    // 1 MiB of one ASF description object
constexpr uint32_t kId3v2WindowBytes = 64u << 10;     // 64 KiB of an ID3v2 tag read at once
constexpr uint32_t kId3v2FrameBytesKept = 64u << 10;  // 64 KiB of one wanted ID3v2 frame

// The texts of one tag. A reader sets a has-flag when the field's first
// occurrence has been taken, so later occurrences are passed over.
struct AudioTag {
    std::string title;
    std::string artist;
    std::string comment;
    bool hasTitle = false;
    bool hasArtist = false;
    bool hasComment = false;
};

// True when the caller asks for the comment (a comment buffer or a SongInfo).
bool WantsComment(const SongInfo* info, const char* comment);

// True when the walk over a tag can stop: title and artist taken, and the
// comment taken or not wanted.
bool TagComplete(const AudioTag& tag, bool wantComment);

// Delivers a tag: the comment buffer gets the comment, SongInfo the artist
// and the comment, and title the title (in the list, without SongInfo, joined
// with the artist as "title / artist"). Returns the final title's length.
int32_t ComposeTagResult(const AudioTag& tag, SongInfo* info, char* title, char* comment);

// Delivers "no tag": title stays as it is, comment and the SongInfo texts are
// emptied. Returns 0.
int32_t ComposeNoTag(SongInfo* info, char* comment);

// Single-byte tag text taken unchanged: the bytes up to a NUL, cut to limit
// bytes without splitting a double-byte character.
std::string TagBytesText(const uint8_t* bytes, size_t size, size_t limit);

// UTF-16 tag text in CP932, cut to limit bytes. With detectBom and at least
// two bytes, FE FF (big-endian) or FF FE (little-endian) decides the order and
// is skipped; otherwise bigEndian decides.
std::string TagUtf16Text(const uint8_t* bytes, size_t size, bool bigEndian, bool detectBom, size_t limit);

// UTF-8 tag text in CP932, cut to limit bytes.
std::string TagUtf8Text(const uint8_t* bytes, size_t size, size_t limit);

// A little-endian 32-bit number.
uint32_t TagLe32(const uint8_t* p);

// Size of the file, saturated at 0xFFFFFFFF for files of 4 GiB and more.
uint32_t SongFileSize32(SongFile& file);

// Reads exactly n bytes at offset. False when the file does not hold them.
bool ReadSongBytes(SongFile& file, uint32_t offset, void* buffer, uint32_t n);

// Reads exactly the last n bytes (n no more than the file size). False when
// the read fails.
bool ReadSongTail(SongFile& file, void* buffer, uint32_t n);

// Reads the texts of the first "LIST" chunk inside a RIFF form: titleId gives
// the title, "IART" the artist and, when wanted, "ICMT" the comment. False
// when the form holds no "LIST" chunk.
bool ReadRiffListTag(RiffWalker& walker, const RiffChunk& form, uint32_t titleId, bool wantComment, AudioTag* tag);
