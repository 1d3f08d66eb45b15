// Monkey's Audio files: the "Title", "Artist" and "Comment" items of the APE
// tag (version 1 or 2) that ends the file. Values are taken as stored.
#include <cstring>
#include <vector>

#include "analysis/AudioTags.h"
#include "analysis/SongReaders.h"
#include "core/Text.h"

namespace {

constexpr uint32_t kFooterBytes = 32;
constexpr size_t kTagSizeOffset = 12;  // items plus footer, little-endian
constexpr size_t kItemCountOffset = 16;
constexpr size_t kItemHeaderBytes = 8;  // value length and flags
// Pictures make tags of a few MiB; anything past this is not a tag.
constexpr uint32_t kMaxTagBytes = 64u << 20;

}  // namespace

// Takes an item's value into the field it names, if the key is wanted and
// its first occurrence.
static void TakeItem(const char* key, const uint8_t* value, size_t size, bool wantComment, AudioTag* tag) {
    if (!tag->hasTitle && CompareNoCase(key, "title") == 0) {
        tag->title = TagBytesText(value, size, kTagTitleBytes);
        tag->hasTitle = true;
    } else if (!tag->hasArtist && CompareNoCase(key, "artist") == 0) {
        tag->artist = TagBytesText(value, size, kTagTitleBytes);
        tag->hasArtist = true;
    } else if (wantComment && !tag->hasComment && CompareNoCase(key, "comment") == 0) {
        tag->comment = TagBytesText(value, size, kTagCommentBytes);
        tag->hasComment = true;
    }
}

// Walks the items that precede the footer. The count comes from the file, so
// the walk also stops where the items run out.
static void WalkItems(const uint8_t* items, size_t size, uint32_t count, bool wantComment, AudioTag* tag) {
    size_t pos = 0;
    for (uint32_t i = 0; i < count && !TagComplete(*tag, wantComment); ++i) {
        if (size - pos < kItemHeaderBytes) {
            return;
        }
        const uint32_t valueSize = TagLe32(items + pos);
        const size_t keyStart = pos + kItemHeaderBytes;
        const void* nul = memchr(items + keyStart, 0, size - keyStart);
        if (nul == nullptr) {
            return;
        }
        const size_t valueStart = size_t(static_cast<const uint8_t*>(nul) - items) + 1;
        if (valueSize > size - valueStart) {
            return;
        }
        TakeItem(reinterpret_cast<const char*>(items + keyStart), items + valueStart, valueSize, wantComment, tag);
        pos = valueStart + valueSize;
    }
}

int32_t ReadApeFile(SongFile& file, SongInfo* info, char* title, char* comment) {
    const uint32_t fileSize = SongFileSize32(file);
    uint8_t footer[kFooterBytes];
    if (fileSize < kFooterBytes || !ReadSongTail(file, footer, kFooterBytes) || memcmp(footer, "APETAGEX", 8) != 0) {
        return ComposeNoTag(info, comment);
    }
    const uint32_t tagSize = TagLe32(footer + kTagSizeOffset);
    if (tagSize > fileSize || tagSize > kMaxTagBytes) {
        return ComposeNoTag(info, comment);
    }
    std::vector<uint8_t> bytes(tagSize);
    if (!ReadSongTail(file, bytes.data(), tagSize)) {
        return ComposeNoTag(info, comment);
    }
    const bool wantComment = WantsComment(info, comment);
    AudioTag tag;
    const size_t itemBytes = tagSize > kFooterBytes ? tagSize - kFooterBytes : 0;
    WalkItems(bytes.data(), itemBytes, TagLe32(footer + kItemCountOffset), wantComment, &tag);
    return ComposeTagResult(tag, info, title, comment);
}
