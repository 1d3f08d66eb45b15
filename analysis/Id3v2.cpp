// ID3v2 frame walk. The tag is read through a window of kId3v2WindowBytes and
// only the frames wanted are kept, each up to kId3v2FrameBytesKept, so the
// memory taken does not depend on the sizes the tag declares. Every size is
// checked against what is left, so a frame that claims more ends the walk.
#include "analysis/Id3v2.h"

#include <algorithm>
#include <cstring>
#include <vector>

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

// The bytes of a tag body as the frame walk sees them: read from the file
// one window at a time and, for a tag unsynchronised as a whole, with the
// stuffed zero bytes left out. Positions count the bytes delivered.
class TagStream {
   public:
    static constexpr uint64_t kUnknownSize = UINT64_MAX;

    TagStream(SongFile& file, uint32_t start, uint32_t size, bool resynchronise)
        : file_(file), start_(start), size_(size), resynchronise_(resynchronise) {
    }

    // Copies up to n bytes into out; the count copied (less at the tag's end).
    size_t Read(uint8_t* out, size_t n) {
        size_t copied = 0;
        while (copied < n && (windowPos_ < windowLength_ || Fill())) {
            const uint8_t* from = window_.data() + windowPos_;
            size_t take = std::min(n - copied, windowLength_ - windowPos_);
            if (resynchronise_) {
                if (previousFF_ && from[0] == 0) {
                    previousFF_ = false;
                    windowPos_++;
                    continue;
                }
                // Up to and including the next 0xFF, after which a zero is
                // left out.
                const void* ff = std::memchr(from, 0xFF, take);
                previousFF_ = ff != nullptr;
                if (ff) {
                    take = size_t(static_cast<const uint8_t*>(ff) - from) + 1;
                }
            }
            std::memcpy(out + copied, from, take);
            windowPos_ += take;
            copied += take;
        }
        delivered_ += copied;
        return copied;
    }

    // Passes over n bytes. False when the tag ends first.
    bool Skip(uint64_t n) {
        const size_t inWindow = windowLength_ - windowPos_;
        if (!resynchronise_ && n > inWindow) {
            const uint64_t beyond = n - inWindow;
            windowPos_ = windowLength_;
            if (beyond > size_ - fetched_) {
                fetched_ = size_;
                return false;
            }
            fetched_ += uint32_t(beyond);
            delivered_ += n;
            return true;
        }
        uint8_t scratch[4096];
        while (n > 0) {
            const size_t step = size_t(std::min<uint64_t>(n, sizeof scratch));
            if (Read(scratch, step) != step) {
                return false;
            }
            n -= step;
        }
        return true;
    }

    uint64_t Position() const {
        return delivered_;
    }

    // Back to the first byte of the body.
    void Rewind() {
        fetched_ = 0;
        delivered_ = 0;
        windowPos_ = windowLength_ = 0;
        previousFF_ = false;
    }

    // The bytes the body delivers in all, or kUnknownSize for an
    // unsynchronised tag, whose walk ends where the stream does.
    uint64_t KnownSize() const {
        return resynchronise_ ? kUnknownSize : size_;
    }

    // The bytes the body delivers in all; for an unsynchronised tag this
    // takes a pass over it.
    uint64_t DeliveredSize() {
        if (!resynchronise_) {
            return size_;
        }
        TagStream counter(file_, start_, size_, true);
        uint64_t total = 0;
        uint8_t scratch[4096];
        for (size_t got; (got = counter.Read(scratch, sizeof scratch)) > 0;) {
            total += got;
        }
        return total;
    }

   private:
    bool Fill() {
        if (fetched_ >= size_) {
            return false;
        }
        const uint32_t n = std::min(size_ - fetched_, kId3v2WindowBytes);
        window_.resize(std::max<size_t>(window_.size(), n));
        if (!ReadSongBytes(file_, start_ + fetched_, window_.data(), n)) {
            fetched_ = size_;
            return false;
        }
        fetched_ += n;
        windowPos_ = 0;
        windowLength_ = n;
        return true;
    }

    SongFile& file_;
    const uint32_t start_;
    const uint32_t size_;
    const bool resynchronise_;
    std::vector<uint8_t> window_;
    size_t windowPos_ = 0;
    size_t windowLength_ = 0;
    uint32_t fetched_ = 0;     // body bytes taken from the file
    uint64_t delivered_ = 0;   // bytes handed to the walk
    bool previousFF_ = false;  // the last byte taken from the file was 0xFF
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

// Where the frames lie: *start after the extended header and *end before
// the padding. The stream is left at *start. False when nothing is left for
// frames.
static bool FrameArea(TagStream& stream, uint8_t major, uint8_t flags, uint64_t* start, uint64_t* end) {
    *start = 0;
    *end = stream.KnownSize();
    if ((flags & kId3v2ExtendedHeader) == 0) {
        return true;
    }
    *end = stream.DeliveredSize();
    uint8_t head[10];
    const size_t got = stream.Read(head, sizeof head);
    if (got < 4) {
        return false;
    }
    if (major == 3) {
        // Version 2.3: the size leaves out its own four bytes, and bytes
        // 6 to 9 hold the padding size.
        const uint32_t size = ReadBe32(head);
        if (got < sizeof head || size > *end - 4) {
            return false;
        }
        *start = 4 + uint64_t(size);
        const uint32_t padding = ReadBe32(head + 6);
        *end = padding > *end - *start ? *start : *end - padding;
    } else {
        // Version 2.4 counts the whole extended header, synchsafe, and
        // keeps no padding size.
        const uint32_t size = ReadSynchsafe(head);
        if (size > *end) {
            return false;
        }
        *start = size;
    }
    // A version 2.4 footer follows the tag: its size never counts it.
    stream.Rewind();
    return stream.Skip(*start);
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

// Reads the first kId3v2FrameBytesKept bytes of a frame of size bytes into
// kept and passes over the rest. False when the tag ends inside the frame.
static bool TakeFrame(TagStream& stream, uint32_t size, std::vector<uint8_t>* kept) {
    kept->resize(std::min(size, kId3v2FrameBytesKept));
    if (stream.Read(kept->data(), kept->size()) != kept->size()) {
        return false;
    }
    return stream.Skip(size - kept->size());
}

void ReadId3v2Tag(SongFile& file, uint32_t bodySize, uint8_t major, uint8_t flags, bool wantComment, AudioTag* tag) {
    // Version 2.3 unsynchronises the whole tag, and its frame sizes count the
    // bytes as they are after undoing it. Version 2.4 does it frame by frame
    // (the tag's flag says every frame is), and a frame's size counts the
    // stuffed bytes, so it is undone for each frame's data only.
    const bool unsynchronised = (flags & kId3v2Unsynchronised) != 0;
    const uint8_t everyFrame = unsynchronised && major > 3 ? kV4Unsynchronised : 0;
    TagStream stream(file, kId3v2HeaderBytes, bodySize, unsynchronised && major == 3);
    uint64_t pos = 0;
    uint64_t end = 0;
    if (!FrameArea(stream, major, flags, &pos, &end)) {
        return;
    }
    std::vector<uint8_t> kept;
    while (end - pos >= kFrameHeaderBytes && !TagComplete(*tag, wantComment)) {
        uint8_t header[kFrameHeaderBytes];
        if (stream.Read(header, sizeof header) != sizeof header || header[0] == 0) {
            break;  // the end, or padding
        }
        const uint32_t size = major == 3 ? ReadBe32(header + 4) : ReadSynchsafe(header + 4);
        const uint64_t dataStart = pos + kFrameHeaderBytes;
        if (size > end - dataStart) {
            break;
        }
        pos = dataStart + size;
        const bool isTitle = memcmp(header, "TIT2", 4) == 0 && !tag->hasTitle;
        const bool isArtist = memcmp(header, "TPE1", 4) == 0 && !tag->hasArtist;
        const bool isComment = memcmp(header, "COMM", 4) == 0 && wantComment && !tag->hasComment;
        if (!(isTitle || isArtist || isComment)) {
            if (!stream.Skip(size)) {
                break;
            }
            continue;
        }
        if (!TakeFrame(stream, size, &kept)) {
            break;
        }
        Span data{kept.data(), kept.size()};
        std::vector<uint8_t> resynchronised;
        if (!FrameData(major, header[9] | everyFrame, &data, &resynchronised)) {
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
