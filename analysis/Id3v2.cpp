// ID3v2 frame walk. The whole tag is in memory; every size read from it is
// checked against what is left, so a frame that claims more ends the walk.
#include "analysis/Id3v2.h"

#include <cstring>

namespace {

constexpr size_t kFrameHeaderBytes = 10;

// Second frame flag byte, version 2.3.
constexpr uint8_t kV3Compressed = 0x80;
constexpr uint8_t kV3Encrypted = 0x40;
constexpr uint8_t kV3Grouped = 0x20;

// Second frame flag byte, version 2.4.
constexpr uint8_t kV4Grouped = 0x40;
constexpr uint8_t kV4Compressed = 0x08;
constexpr uint8_t kV4Encrypted = 0x04;
constexpr uint8_t kV4Unsynchronised = 0x02;
constexpr uint8_t kV4DataLength = 0x01;

constexpr uint8_t kLatin = 0;
constexpr uint8_t kUtf16 = 1;
constexpr uint8_t kUtf16BigEndian = 2;
constexpr uint8_t kUtf8 = 3;

constexpr size_t kLanguageBytes = 3;

struct Span {
    const uint8_t* bytes;
    size_t size;
};

}  // namespace

uint32_t ReadSynchsafe(const uint8_t* p) {
    return uint32_t(p[0] & 0x7F) << 21 | uint32_t(p[1] & 0x7F) << 14 | uint32_t(p[2] & 0x7F) << 7 | (p[3] & 0x7F);
}

static uint32_t ReadBe32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Removes every 0x00 that follows a 0xFF (the byte stuffing that keeps a
// tag from looking like an MPEG sync word).
static std::vector<uint8_t> Resynchronise(const uint8_t* bytes, size_t size) {
    std::vector<uint8_t> out;
    out.reserve(size);
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] == 0 && i > 0 && bytes[i - 1] == 0xFF) {
            continue;
        }
        out.push_back(bytes[i]);
    }
    return out;
}

// Decodes text in one of the four frame encodings into at most limit bytes.
// False for an unknown encoding.
static bool DecodeText(uint8_t encoding, Span text, size_t limit, std::string* out) {
    switch (encoding) {
        case kLatin:
            *out = TagBytesText(text.bytes, text.size, limit);
            return true;
        case kUtf16:
            *out = TagUtf16Text(text.bytes, text.size, true, true, limit);
            return true;
        case kUtf16BigEndian:
            *out = TagUtf16Text(text.bytes, text.size, true, false, limit);
            return true;
        case kUtf8:
            *out = TagUtf8Text(text.bytes, text.size, limit);
            return true;
        default:
            return false;
    }
}

// A text frame: the encoding byte, then the text. An empty frame gives an
// empty text.
static void DecodeTextFrame(Span data, std::string* out) {
    out->clear();
    if (data.size == 0) {
        return;
    }
    DecodeText(data.bytes[0], Span{data.bytes + 1, data.size - 1}, kTagTitleBytes, out);
}

// Offset just past the terminator of the description that starts the span, or
// size when it has none. UTF-16 descriptions end with a zero 16-bit unit.
static size_t SkipDescription(uint8_t encoding, Span rest) {
    const bool wide = encoding == kUtf16 || encoding == kUtf16BigEndian;
    if (!wide) {
        const void* nul = memchr(rest.bytes, 0, rest.size);
        return nul != nullptr ? size_t(static_cast<const uint8_t*>(nul) - rest.bytes) + 1 : rest.size;
    }
    for (size_t i = 0; rest.size - i >= 2; i += 2) {
        if (rest.bytes[i] == 0 && rest.bytes[i + 1] == 0) {
            return i + 2;
        }
    }
    return rest.size;
}

// A comment frame: encoding, language, a terminated description, the text.
// When no text follows the description, the description is the comment.
static void DecodeCommentFrame(Span data, std::string* out) {
    out->clear();
    if (data.size == 0) {
        return;
    }
    const uint8_t encoding = data.bytes[0];
    const size_t header = data.size - 1 < kLanguageBytes ? data.size : 1 + kLanguageBytes;
    const Span rest{data.bytes + header, data.size - header};
    const size_t textStart = SkipDescription(encoding, rest);
    const Span text = textStart < rest.size ? Span{rest.bytes + textStart, rest.size - textStart} : rest;
    DecodeText(encoding, text, kTagCommentBytes, out);
}

// Where the frames of the body lie, after the extended header and before the
// padding. False when nothing is left for frames.
static bool FrameArea(const std::vector<uint8_t>& body, uint8_t major, uint8_t flags, size_t* start, size_t* end) {
    *start = 0;
    *end = body.size();
    if (flags & kId3v2ExtendedHeader) {
        if (body.size() < 4) {
            return false;
        }
        if (major == 3) {
            // Version 2.3: the size leaves out its own four bytes, and bytes
            // 6 to 9 hold the padding size.
            const uint32_t size = ReadBe32(body.data());
            if (size > body.size() - 4 || body.size() < 10) {
                return false;
            }
            *start = 4 + size;
            const uint32_t padding = ReadBe32(body.data() + 6);
            *end = padding > body.size() - *start ? *start : body.size() - padding;
        } else {
            // Version 2.4 counts the whole extended header, synchsafe, and
            // keeps no padding size.
            const uint32_t size = ReadSynchsafe(body.data());
            if (size > body.size()) {
                return false;
            }
            *start = size;
        }
    }
    // A version 2.4 footer follows the tag: its size never counts it.
    return true;
}

// Strips what the frame flags put before the data. False when the frame is
// compressed or encrypted (it is passed over) or too short for its fields.
static bool FrameData(uint8_t major, uint8_t frameFlags, Span* data, std::vector<uint8_t>* resynchronised) {
    size_t prefix = 0;
    if (major == 3) {
        if (frameFlags & (kV3Compressed | kV3Encrypted)) {
            return false;
        }
        prefix = (frameFlags & kV3Grouped) ? 1 : 0;
    } else {
        if (frameFlags & (kV4Compressed | kV4Encrypted)) {
            return false;
        }
        prefix = ((frameFlags & kV4Grouped) ? 1 : 0) + ((frameFlags & kV4DataLength) ? 4 : 0);
    }
    if (prefix > data->size) {
        return false;
    }
    data->bytes += prefix;
    data->size -= prefix;
    if (major > 3 && (frameFlags & kV4Unsynchronised)) {
        *resynchronised = Resynchronise(data->bytes, data->size);
        *data = Span{resynchronised->data(), resynchronised->size()};
    }
    return true;
}

void ParseId3v2Tag(std::vector<uint8_t> body, uint8_t major, uint8_t flags, bool wantComment, AudioTag* tag) {
    // Version 2.3 unsynchronises the whole tag, and its frame sizes count the
    // bytes as they are after undoing it. Version 2.4 does it frame by frame
    // (the tag's flag says every frame is), and a frame's size counts the
    // stuffed bytes, so it is undone for each frame's data only.
    uint8_t everyFrame = 0;
    if (flags & kId3v2Unsynchronised) {
        if (major == 3) {
            body = Resynchronise(body.data(), body.size());
        } else {
            everyFrame = kV4Unsynchronised;
        }
    }
    size_t pos = 0;
    size_t end = 0;
    if (!FrameArea(body, major, flags, &pos, &end)) {
        return;
    }
    while (end - pos >= kFrameHeaderBytes && !TagComplete(*tag, wantComment)) {
        const uint8_t* header = body.data() + pos;
        if (header[0] == 0) {
            break;  // padding
        }
        const uint32_t size = major == 3 ? ReadBe32(header + 4) : ReadSynchsafe(header + 4);
        const size_t dataStart = pos + kFrameHeaderBytes;
        if (size > end - dataStart) {
            break;
        }
        pos = dataStart + size;
        const bool isTitle = memcmp(header, "TIT2", 4) == 0 && !tag->hasTitle;
        const bool isArtist = memcmp(header, "TPE1", 4) == 0 && !tag->hasArtist;
        const bool isComment = memcmp(header, "COMM", 4) == 0 && wantComment && !tag->hasComment;
        Span data{body.data() + dataStart, size};
        std::vector<uint8_t> resynchronised;
        if (!(isTitle || isArtist || isComment) || !FrameData(major, header[9] | everyFrame, &data, &resynchronised)) {
            continue;
        }
        if (isTitle) {
            DecodeTextFrame(data, &tag->title);
            tag->hasTitle = true;
        } else if (isArtist) {
            DecodeTextFrame(data, &tag->artist);
            tag->hasArtist = true;
        } else {
            DecodeCommentFrame(data, &tag->comment);
            tag->hasComment = true;
        }
    }
}
