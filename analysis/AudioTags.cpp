// Text decoding and result composition shared by the audio tag readers.
#include "analysis/AudioTags.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <vector>

#include "analysis/SongInfo.h"
#include "core/Cp932.h"
#include "core/Text.h"

bool WantsComment(const SongInfo* info, const char* comment) {
    return info != nullptr || comment != nullptr;
}

bool TagComplete(const AudioTag& tag, bool wantComment) {
    return tag.hasTitle && tag.hasArtist && (tag.hasComment || !wantComment);
}

uint32_t TagLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint32_t SongFileSize32(SongFile& file) {
    uint32_t high = 0;
    const uint32_t low = file.Size(&high);
    return high != 0 ? UINT32_MAX : low;
}

bool ReadSongBytes(SongFile& file, uint32_t offset, void* buffer, uint32_t n) {
    // Offsets past 2 GiB cannot be reached with a signed seek.
    if (offset > uint32_t(INT32_MAX)) {
        return false;
    }
    const uint32_t size = SongFileSize32(file);
    if (offset > size || n > size - offset) {
        return false;
    }
    if (n == 0) {
        return true;
    }
    if (file.Seek(int32_t(offset), kSeekBegin) != offset) {
        return false;
    }
    uint32_t count = 0;
    return file.Read(buffer, n, &count) && count == n;
}

bool ReadSongTail(SongFile& file, void* buffer, uint32_t n) {
    if (n > uint32_t(INT32_MAX) || n > SongFileSize32(file)) {
        return false;
    }
    if (n == 0) {
        return true;
    }
    file.Seek(-int32_t(n), kSeekEnd);
    uint32_t count = 0;
    return file.Read(buffer, n, &count) && count == n;
}

// Copies text into dst (room for limit + 1 bytes), never ending on a lone
// lead byte.
static void CopyCut(char* dst, const std::string& text, size_t limit) {
    CopyBounded(dst, text.c_str(), limit);
}

static std::string CutText(const std::string& text, size_t limit) {
    std::vector<char> buffer(limit + 1);
    CopyCut(buffer.data(), text, limit);
    return std::string(buffer.data());
}

static void ResetTrackTables(SongInfo* info) {
    info->trackNames.Clear();
    memset(info->ports, 0, sizeof(info->ports));
    memset(info->channels, 0xFF, sizeof(info->channels));
    info->shownTracks = 0;
}

int32_t ComposeTagResult(const AudioTag& tag, SongInfo* info, char* title, char* comment) {
    if (comment != nullptr) {
        CopyCut(comment, tag.comment, kListCommentBytes);
    }
    std::string shown = tag.title;
    if (info != nullptr) {
        CopyCut(info->copyright, tag.artist, sizeof(info->copyright) - 1);
        CopyCut(info->secondText, tag.comment, kInfoCommentBytes);
        ResetTrackTables(info);
    } else if (!tag.artist.empty()) {
        if (!shown.empty()) {
            shown += ' ';
        }
        shown += "/ ";
        shown += tag.artist;
    }
    return int32_t(CopyBounded(title, shown.c_str(), kTagTitleBytes));
}

int32_t ComposeNoTag(SongInfo* info, char* comment) {
    if (comment != nullptr) {
        comment[0] = '\0';
    }
    if (info != nullptr) {
        info->copyright[0] = '\0';
        info->secondText[0] = '\0';
    }
    return 0;
}

std::string TagBytesText(const uint8_t* bytes, size_t size, size_t limit) {
    const void* nul = memchr(bytes, 0, size);
    const size_t length = nul != nullptr ? size_t(static_cast<const uint8_t*>(nul) - bytes) : size;
    return CutText(std::string(reinterpret_cast<const char*>(bytes), length), limit);
}

std::string TagUtf16Text(const uint8_t* bytes, size_t size, bool bigEndian, bool detectBom, size_t limit) {
    if (detectBom && size >= 2) {
        if (bytes[0] == 0xFE && bytes[1] == 0xFF) {
            bigEndian = true;
            bytes += 2;
            size -= 2;
        } else if (bytes[0] == 0xFF && bytes[1] == 0xFE) {
            bigEndian = false;
            bytes += 2;
            size -= 2;
        }
    }
    std::u16string units(size / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) {
        const uint8_t first = bytes[2 * i];
        const uint8_t second = bytes[2 * i + 1];
        units[i] = bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
    return CutText(Utf16ToCp932(units.data(), units.size()), limit);
}

std::string TagUtf8Text(const uint8_t* bytes, size_t size, size_t limit) {
    return CutText(Utf8ToCp932(bytes, size), limit);
}

// The text of one INFO chunk, or false when the list has none.
static bool ReadInfoText(RiffWalker& walker, const RiffChunk& list, uint32_t id, size_t limit, std::string* text) {
    RiffChunk chunk;
    if (!walker.FindChunk(list, list.dataOffset, id, 0, &chunk)) {
        return false;
    }
    std::vector<uint8_t> bytes(limit);
    const uint32_t count = walker.ReadData(chunk, bytes.data(), uint32_t(limit));
    *text = TagBytesText(bytes.data(), count, limit);
    return true;
}

bool ReadRiffListTag(RiffWalker& walker, const RiffChunk& form, uint32_t titleId, bool wantComment, AudioTag* tag) {
    RiffChunk list;
    if (!walker.FindChunk(form, form.dataOffset, MakeFourCC('L', 'I', 'S', 'T'), 0, &list)) {
        return false;
    }
    tag->hasTitle = ReadInfoText(walker, list, titleId, kTagTitleBytes, &tag->title);
    tag->hasArtist = ReadInfoText(walker, list, MakeFourCC('I', 'A', 'R', 'T'), kTagTitleBytes, &tag->artist);
    if (wantComment) {
        tag->hasComment = ReadInfoText(walker, list, MakeFourCC('I', 'C', 'M', 'T'), kTagCommentBytes, &tag->comment);
    }
    return true;
}
