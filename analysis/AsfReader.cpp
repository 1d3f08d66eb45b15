// Windows Media (ASF) files read without the Windows Media runtime, for when
// it cannot open a file (as under Wine): the title, author and description of
// the header's Content Description object, or, where that object lacks them,
// the descriptors of those names in the Extended Content Description object.
#include <cstring>
#include <vector>

#include "analysis/AudioTags.h"
#include "analysis/SongReaders.h"

namespace {

constexpr size_t kGuidBytes = 16;
constexpr uint32_t kObjectHeaderBytes = 24;  // GUID and 64-bit size
constexpr uint32_t kHeaderObjectBytes = 30;  // plus child count and two reserved bytes
constexpr uint32_t kMaxChildren = 1024;

// GUIDs as stored (the first three fields little-endian).
constexpr uint8_t kHeaderGuid[kGuidBytes] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                             0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr uint8_t kContentGuid[kGuidBytes] = {0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                              0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
constexpr uint8_t kExtendedGuid[kGuidBytes] = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                               0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};

// The runtime's attribute buffers hold 256 bytes of UTF-16 for title and
// author and 385 for the description; longer values are cut to them.
constexpr size_t kTitleValueBytes = 256;
constexpr size_t kDescriptionValueBytes = 384;

constexpr uint16_t kUnicodeValue = 0;  // descriptor value type of a string

// Content Description fields in the order their lengths are stored.
enum ContentField { kTitle, kAuthor, kCopyright, kDescription, kRating, kContentFields };

struct Span {
    const uint8_t* bytes;
    size_t size;
};

}  // namespace

static uint16_t ReadLe16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

static uint64_t ReadLe64(const uint8_t* p) {
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = value << 8 | p[i];
    }
    return value;
}

// Converts a stored UTF-16LE value, cut to the runtime's buffer size.
static std::string ValueText(Span value, size_t valueLimit, size_t limit) {
    const size_t size = value.size < valueLimit ? value.size : valueLimit;
    return TagUtf16Text(value.bytes, size, false, false, limit);
}

static void TakeValue(Span value, bool wanted, size_t valueLimit, size_t limit, bool* has, std::string* out) {
    if (wanted && !*has) {
        *out = ValueText(value, valueLimit, limit);
        *has = true;
    }
}

// The Content Description object: five lengths, then the five strings.
static void ParseContentDescription(Span data, bool wantComment, AudioTag* tag) {
    if (data.size < 2 * kContentFields) {
        return;
    }
    size_t pos = 2 * kContentFields;
    Span fields[kContentFields];
    for (int i = 0; i < kContentFields; ++i) {
        const uint16_t length = ReadLe16(data.bytes + 2 * i);
        if (length > data.size - pos) {
            return;
        }
        fields[i] = Span{data.bytes + pos, length};
        pos += length;
    }
    TakeValue(fields[kTitle], true, kTitleValueBytes, kTagTitleBytes, &tag->hasTitle, &tag->title);
    TakeValue(fields[kAuthor], true, kTitleValueBytes, kTagTitleBytes, &tag->hasArtist, &tag->artist);
    TakeValue(fields[kDescription], wantComment, kDescriptionValueBytes, kTagCommentBytes, &tag->hasComment,
              &tag->comment);
}

// True when a descriptor name (UTF-16LE, NUL-terminated or not) is the ASCII
// name given.
static bool NameIs(Span name, const char* ascii) {
    const size_t length = strlen(ascii);
    if (name.size < 2 * length || (name.size > 2 * length + 1 && ReadLe16(name.bytes + 2 * length) != 0)) {
        return false;
    }
    for (size_t i = 0; i < length; ++i) {
        if (ReadLe16(name.bytes + 2 * i) != uint8_t(ascii[i])) {
            return false;
        }
    }
    return true;
}

// The Extended Content Description object: a count, then descriptors of a
// name, a value type and a value.
static void ParseExtendedDescription(Span data, bool wantComment, AudioTag* tag) {
    if (data.size < 2) {
        return;
    }
    const uint16_t count = ReadLe16(data.bytes);
    size_t pos = 2;
    for (uint16_t i = 0; i < count && !TagComplete(*tag, wantComment); ++i) {
        if (data.size - pos < 2 || ReadLe16(data.bytes + pos) > data.size - pos - 2) {
            return;
        }
        const Span name{data.bytes + pos + 2, ReadLe16(data.bytes + pos)};
        pos += 2 + name.size;
        if (data.size - pos < 4 || ReadLe16(data.bytes + pos + 2) > data.size - pos - 4) {
            return;
        }
        const uint16_t type = ReadLe16(data.bytes + pos);
        const Span value{data.bytes + pos + 4, ReadLe16(data.bytes + pos + 2)};
        pos += 4 + value.size;
        if (type != kUnicodeValue) {
            continue;
        }
        TakeValue(value, NameIs(name, "Title"), kTitleValueBytes, kTagTitleBytes, &tag->hasTitle, &tag->title);
        TakeValue(value, NameIs(name, "Author"), kTitleValueBytes, kTagTitleBytes, &tag->hasArtist, &tag->artist);
        TakeValue(value, wantComment && NameIs(name, "Description"), kDescriptionValueBytes, kTagCommentBytes,
                  &tag->hasComment, &tag->comment);
    }
}

// Reads an object's data (after its 24-byte header) into bytes, at most
// kAsfObjectBytesKept of it. The Content Description holds at most five
// strings of 65,535 bytes, and real Extended Content Descriptions stay far
// below the cap too. A larger size, even one the file really holds (a video
// of gigabytes with a broken header), is read only this far: the parsers stop
// at the first string that runs past what was kept.
static bool ReadObjectData(SongFile& file, uint32_t pos, uint32_t size, std::vector<uint8_t>* bytes) {
    const uint32_t dataSize = size - kObjectHeaderBytes;
    bytes->resize(dataSize < kAsfObjectBytesKept ? dataSize : kAsfObjectBytesKept);
    return ReadSongBytes(file, pos + kObjectHeaderBytes, bytes->data(), uint32_t(bytes->size()));
}

// Walks the header object's children; the content description is taken
// before the extended one wherever they stand.
static void WalkHeader(SongFile& file, uint32_t end, uint32_t children, bool wantComment, AudioTag* tag) {
    std::vector<uint8_t> content;
    std::vector<uint8_t> extended;
    uint32_t pos = kHeaderObjectBytes;
    for (uint32_t i = 0; i < children && i < kMaxChildren; ++i) {
        uint8_t header[kObjectHeaderBytes];
        if (end - pos < kObjectHeaderBytes || !ReadSongBytes(file, pos, header, sizeof(header))) {
            break;
        }
        const uint64_t size = ReadLe64(header + kGuidBytes);
        // A size below the object header would never move on.
        if (size < kObjectHeaderBytes || size > end - pos) {
            break;
        }
        if (memcmp(header, kContentGuid, kGuidBytes) == 0 && content.empty()) {
            if (!ReadObjectData(file, pos, uint32_t(size), &content)) {
                break;
            }
        } else if (memcmp(header, kExtendedGuid, kGuidBytes) == 0 && extended.empty()) {
            if (!ReadObjectData(file, pos, uint32_t(size), &extended)) {
                break;
            }
        }
        pos += uint32_t(size);
    }
    ParseContentDescription(Span{content.data(), content.size()}, wantComment, tag);
    ParseExtendedDescription(Span{extended.data(), extended.size()}, wantComment, tag);
}

int32_t ReadAsfFile(SongFile& file, SongInfo* info, char* title, char* comment) {
    const uint32_t fileSize = SongFileSize32(file);
    uint8_t header[kHeaderObjectBytes];
    if (!ReadSongBytes(file, 0, header, sizeof(header)) || memcmp(header, kHeaderGuid, kGuidBytes) != 0) {
        // Not a Windows Media file at all: the runtime could not open it either.
        ComposeNoTag(info, comment);
        return kReadCannotRead;
    }
    const uint64_t headerSize = ReadLe64(header + kGuidBytes);
    // A header that claims more than the file holds is read as far as it goes.
    const uint32_t end = headerSize < fileSize ? uint32_t(headerSize) : fileSize;
    if (end < kHeaderObjectBytes) {
        return ComposeNoTag(info, comment);
    }
    const bool wantComment = WantsComment(info, comment);
    AudioTag tag;
    WalkHeader(file, end, TagLe32(header + kObjectHeaderBytes), wantComment, &tag);
    return ComposeTagResult(tag, info, title, comment);
}
