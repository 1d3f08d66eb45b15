// MPEG audio files (.mp1, .mp2, .mp3, .rmp): the title, artist and comment of
// an ID3v2 tag at the start, else of a RIFF "RMP3" or "WAVE" container's LIST
// chunk, else of an ID3v1 tag in the last 128 bytes.
#include "analysis/MpegReader.h"

#include <cstring>
#include <vector>

#include "analysis/AudioTags.h"
#include "analysis/Id3v2.h"
#include "analysis/RiffChunks.h"
#include "analysis/SongReaders.h"
#include "core/Text.h"

namespace {

constexpr uint32_t kId3v1Bytes = 128;
constexpr size_t kId3v1FieldBytes = 30;
constexpr size_t kId3v1TitleOffset = 3;
constexpr size_t kId3v1ArtistOffset = 33;
constexpr size_t kId3v1CommentOffset = 97;
constexpr size_t kId3v1TrackMarker = 125;  // zero in ID3v1.1: the comment is 28 bytes
constexpr size_t kId3v11CommentBytes = 28;

}  // namespace

static bool StartsWith(const uint8_t* bytes, const char* magic) {
    return memcmp(bytes, magic, strlen(magic)) == 0;
}

// ID3v2.3 or later at the start of the file. False when no such tag applies
// (version 2.2, or a tag larger than the file). The tag is walked in windows,
// so a broken size in a long recording cannot take hundreds of megabytes.
static bool ReadId3v2(SongFile& file, uint32_t fileSize, const uint8_t* head, bool wantComment, AudioTag* tag) {
    if (fileSize < kId3v2HeaderBytes || !StartsWith(head, "ID3") || head[3] < 3) {
        return false;
    }
    const uint32_t size = ReadSynchsafe(head + 6);
    if (size > fileSize - kId3v2HeaderBytes) {
        return false;
    }
    ReadId3v2Tag(file, size, head[3], head[5], wantComment, tag);
    return true;
}

// The LIST chunk of a RIFF "RMP3" or "WAVE" container. False when the file
// has neither form or the form has no LIST chunk.
static bool ReadRiffContainer(SongFile& file, bool wantComment, AudioTag* tag) {
    RiffWalker walker(file);
    RiffChunk form;
    if (!walker.OpenForm(MakeFourCC('R', 'M', 'P', '3'), &form) &&
        !walker.OpenForm(MakeFourCC('W', 'A', 'V', 'E'), &form)) {
        return false;
    }
    return ReadRiffListTag(walker, form, MakeFourCC('I', 'N', 'A', 'M'), wantComment, tag);
}

// One fixed-size ID3v1 field, trimmed of its space or NUL padding.
static std::string Id3v1Field(const uint8_t* block, size_t offset, size_t length) {
    char field[kId3v1FieldBytes + 1];
    memcpy(field, block + offset, length);
    TrimTitle(length, field);
    return std::string(field);
}

// Reads the last 128 bytes; false when the file is shorter or they do not
// start with "TAG".
static bool ReadId3v1Block(SongFile& file, uint32_t fileSize, uint8_t* block) {
    return fileSize >= kId3v1Bytes && ReadSongTail(file, block, kId3v1Bytes) && StartsWith(block, "TAG");
}

static bool ReadId3v1(SongFile& file, uint32_t fileSize, bool wantComment, AudioTag* tag) {
    uint8_t block[kId3v1Bytes];
    if (!ReadId3v1Block(file, fileSize, block)) {
        return false;
    }
    tag->title = Id3v1Field(block, kId3v1TitleOffset, kId3v1FieldBytes);
    tag->artist = Id3v1Field(block, kId3v1ArtistOffset, kId3v1FieldBytes);
    tag->hasTitle = tag->hasArtist = true;
    if (wantComment) {
        const size_t length = block[kId3v1TrackMarker] == 0 ? kId3v11CommentBytes : kId3v1FieldBytes;
        tag->comment = Id3v1Field(block, kId3v1CommentOffset, length);
        tag->hasComment = true;
    }
    return true;
}

int32_t ReadMpegFile(SongFile& file, SongInfo* info, char* title, char* comment) {
    const uint32_t fileSize = SongFileSize32(file);
    uint8_t head[kId3v2HeaderBytes] = {};
    if (fileSize < 4 || !ReadSongBytes(file, 0, head, fileSize < sizeof(head) ? 4 : sizeof(head))) {
        return ComposeNoTag(info, comment);
    }
    const bool wantComment = WantsComment(info, comment);
    AudioTag tag;
    if (ReadId3v2(file, fileSize, head, wantComment, &tag) || ReadRiffContainer(file, wantComment, &tag) ||
        ReadId3v1(file, fileSize, wantComment, &tag)) {
        return ComposeTagResult(tag, info, title, comment);
    }
    return ComposeNoTag(info, comment);
}

int DetectMp3TagKind(SongFile& file) {
    const uint32_t fileSize = SongFileSize32(file);
    uint8_t head[4];
    if (fileSize < sizeof(head) || !ReadSongBytes(file, 0, head, sizeof(head))) {
        return kMp3TagNone;
    }
    if (fileSize >= kId3v2HeaderBytes && StartsWith(head, "ID3")) {
        return kMp3TagId3v2;
    }
    if (StartsWith(head, "RIFF")) {
        RiffWalker walker(file);
        RiffChunk form;
        RiffChunk list;
        const uint32_t listId = MakeFourCC('L', 'I', 'S', 'T');
        if (walker.OpenForm(MakeFourCC('R', 'M', 'P', '3'), &form) &&
            walker.FindChunk(form, form.dataOffset, listId, 0, &list)) {
            return kMp3TagRiffRmp3;
        }
        if (walker.OpenForm(MakeFourCC('W', 'A', 'V', 'E'), &form) &&
            walker.FindChunk(form, form.dataOffset, listId, 0, &list)) {
            return kMp3TagRiffWave;
        }
    }
    uint8_t block[kId3v1Bytes];
    return ReadId3v1Block(file, fileSize, block) ? kMp3TagId3v1 : kMp3TagNone;
}

const char* Mp3TagPageName(int tagKind) {
    static const char* const kNames[] = {"ID3v1(*)", "Riff SIF", "mp3infp", "ID3v1", "ID3v2"};
    if (tagKind < kMp3TagNone || tagKind > kMp3TagId3v2) {
        return kNames[kMp3TagNone];
    }
    return kNames[tagKind];
}
