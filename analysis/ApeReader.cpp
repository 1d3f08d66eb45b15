// Monkey's Audio files: the "Title", "Artist" and "Comment" items of the APE
// tag (version 1 or 2) that ends the file. Values are taken as stored. The
// items are walked through a window, so a tag of pictures (or one claiming to
// be) takes no more memory than a small one.
#include <algorithm>
#include <cstring>
#include <string>

#include "analysis/AudioTags.h"
#include "analysis/ByteWindow.h"
#include "analysis/SongReaders.h"
#include "core/Text.h"

namespace {

constexpr uint32_t kFooterBytes = 32;
constexpr size_t kTagSizeOffset = 12;  // items plus footer, little-endian
constexpr size_t kItemCountOffset = 16;
constexpr uint32_t kItemHeaderBytes = 8;  // value length and flags
// Bytes of the tag read at once; a key must end within them.
constexpr uint32_t kItemWindowBytes = 64u << 10;

}  // namespace

// The field an item's key names when it is still wanted, or null.
static std::string* WantedField(const char* key, bool wantComment, AudioTag* tag, size_t* limit) {
    *limit = kTagTitleBytes;
    if (!tag->hasTitle && CompareNoCase(key, "title") == 0) {
        tag->hasTitle = true;
        return &tag->title;
    }
    if (!tag->hasArtist && CompareNoCase(key, "artist") == 0) {
        tag->hasArtist = true;
        return &tag->artist;
    }
    if (wantComment && !tag->hasComment && CompareNoCase(key, "comment") == 0) {
        tag->hasComment = true;
        *limit = kTagCommentBytes;
        return &tag->comment;
    }
    return nullptr;
}

// Walks the size bytes of items that start at offset start. The count comes
// from the file, so the walk also stops where the items run out.
static void WalkItems(SongFile& file, uint32_t start, uint32_t size, uint32_t count, bool wantComment, AudioTag* tag) {
    ByteWindow window(file, kItemWindowBytes);
    uint32_t pos = 0;
    for (uint32_t i = 0; i < count && !TagComplete(*tag, wantComment); ++i) {
        if (size - pos < kItemHeaderBytes) {
            return;
        }
        uint32_t got = 0;
        const uint8_t* item = window.Fetch(uint64_t(start) + pos, std::min(size - pos, kItemWindowBytes), &got);
        if (got < kItemHeaderBytes) {
            return;
        }
        const uint32_t valueSize = TagLe32(item);
        const void* nul = memchr(item + kItemHeaderBytes, 0, got - kItemHeaderBytes);
        if (nul == nullptr) {
            return;
        }
        const std::string key(reinterpret_cast<const char*>(item + kItemHeaderBytes));
        const uint32_t valueStart = pos + uint32_t(static_cast<const uint8_t*>(nul) - item) + 1;
        if (valueSize > size - valueStart) {
            return;
        }
        size_t limit = 0;
        if (std::string* field = WantedField(key.c_str(), wantComment, tag, &limit)) {
            // One byte past the limit is all the cut between characters needs.
            const uint32_t wanted = uint32_t(std::min<size_t>(valueSize, limit + 1));
            const uint8_t* value = window.Fetch(uint64_t(start) + valueStart, wanted, &got);
            *field = TagBytesText(value, got, limit);
        }
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
    if (tagSize > fileSize) {
        return ComposeNoTag(info, comment);
    }
    const bool wantComment = WantsComment(info, comment);
    AudioTag tag;
    const uint32_t itemBytes = tagSize > kFooterBytes ? tagSize - kFooterBytes : 0;
    WalkItems(file, fileSize - tagSize, itemBytes, TagLe32(footer + kItemCountOffset), wantComment, &tag);
    return ComposeTagResult(tag, info, title, comment);
}
