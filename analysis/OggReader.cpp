// Ogg Vorbis files: the TITLE, ARTIST and COMMENT fields of the Vorbis comment
// header, which must begin one of the first three pages. The header itself
// may go on over further pages (pictures make it long). Everything is read
// through one read-ahead window, so walking many small comments costs one
// read per window, not one per comment.
#include <cstring>
#include <vector>

#include "analysis/AudioTags.h"
#include "analysis/ByteWindow.h"
#include "analysis/SongReaders.h"
#include "core/Text.h"

namespace {

constexpr uint32_t kPageHeaderBytes = 27;
constexpr size_t kSegmentCountOffset = 26;
constexpr int kPagesSearched = 3;
constexpr uint32_t kPacketMagicBytes = 7;  // packet type and "vorbis"
constexpr uint8_t kCommentPacket = 3;
// Enough of one field for its key and a value that fills the longest text.
constexpr uint32_t kFieldBytesRead = 2048;
// Bytes fetched per read: the head of a file, or a run of small comments.
constexpr uint32_t kWindowBytes = 4096;
constexpr uint32_t kCommentLengthBytes = 4;  // each comment starts with its length
// Taggers write a few dozen comments (MusicBrainz about fifty); a header
// declaring millions, each a bare length, is walked no further than this.
constexpr uint32_t kMaxCommentsWalked = 1024;

struct OggField {
    const char* key;  // with its '='
    size_t limit;
};

constexpr OggField kTitleField = {"title=", kTagTitleBytes};
constexpr OggField kArtistField = {"artist=", kTagTitleBytes};
constexpr OggField kCommentField = {"comment=", kTagCommentBytes};

}  // namespace

// Page header fields.
struct OggPage {
    uint32_t data;  // file offset of the page's first packet byte
    uint32_t end;   // file offset just past the page's packet bytes
};

// Copies exactly n bytes at pos (n at most the window's capacity); false when
// the file ends first.
static bool ReadWindowBytes(ByteWindow& window, uint32_t pos, void* buffer, uint32_t n) {
    return window.CopyOut(pos, n, buffer) == n;
}

// Reads the page header at pos; false when there is no page there.
static bool ReadPage(ByteWindow& window, uint32_t fileSize, uint32_t pos, OggPage* page) {
    uint8_t header[kPageHeaderBytes];
    if (!ReadWindowBytes(window, pos, header, sizeof(header)) || memcmp(header, "OggS", 4) != 0) {
        return false;
    }
    const uint8_t segments = header[kSegmentCountOffset];
    uint8_t lacing[255];
    if (!ReadWindowBytes(window, pos + kPageHeaderBytes, lacing, segments)) {
        return false;
    }
    uint32_t body = 0;
    for (uint8_t i = 0; i < segments; ++i) {
        body += lacing[i];
    }
    page->data = pos + kPageHeaderBytes + segments;
    if (body > fileSize - page->data) {
        return false;
    }
    page->end = page->data + body;
    return true;
}

namespace {

// Reads a packet that may go on over the following pages.
class PacketReader {
   public:
    PacketReader(ByteWindow& window, uint32_t fileSize, const OggPage& page, uint32_t pos)
        : window_(window), fileSize_(fileSize), pos_(pos), end_(page.end) {
    }

    // Reads n bytes into buffer (or skips them when buffer is null). False
    // when the pages end first.
    bool Read(uint8_t* buffer, uint32_t n) {
        while (n > 0) {
            if (pos_ == end_ && !NextPage()) {
                return false;
            }
            uint32_t part = n < end_ - pos_ ? n : end_ - pos_;
            if (buffer != nullptr) {
                part = part < kWindowBytes ? part : kWindowBytes;
                if (!ReadWindowBytes(window_, pos_, buffer, part)) {
                    return false;
                }
                buffer += part;
            }
            pos_ += part;
            n -= part;
        }
        return true;
    }

    bool ReadNumber(uint32_t* value) {
        uint8_t bytes[4];
        if (!Read(bytes, sizeof(bytes))) {
            return false;
        }
        *value = TagLe32(bytes);
        return true;
    }

    // Bytes of the file after the read position: no length can exceed them.
    uint32_t Remaining() const {
        return fileSize_ - pos_;
    }

   private:
    bool NextPage() {
        OggPage page;
        if (!ReadPage(window_, fileSize_, end_, &page) || page.data == page.end) {
            return false;
        }
        pos_ = page.data;
        end_ = page.end;
        return true;
    }

    ByteWindow& window_;
    uint32_t fileSize_;
    uint32_t pos_;
    uint32_t end_;
};

}  // namespace

// Finds the page among the first three whose packet is the comment header;
// *contents receives the offset after the packet's 7 magic bytes.
static bool FindCommentHeader(ByteWindow& window, uint32_t fileSize, OggPage* page, uint32_t* contents) {
    uint32_t pos = 0;
    for (int i = 0; i < kPagesSearched; ++i) {
        uint8_t magic[kPacketMagicBytes];
        if (!ReadPage(window, fileSize, pos, page) || !ReadWindowBytes(window, page->data, magic, sizeof(magic)) ||
            memcmp(magic + 1, "vorbis", 6) != 0) {
            return false;
        }
        if (magic[0] == kCommentPacket) {
            *contents = page->data + kPacketMagicBytes;
            return page->end - page->data >= kPacketMagicBytes;
        }
        pos = page->end;
    }
    return false;
}

// Takes the field's value when the comment starts with its key (ASCII case
// ignored) and holds at least one byte after the '='.
static bool TakeField(const uint8_t* bytes, size_t size, const OggField& field, std::string* out) {
    const size_t keyLength = strlen(field.key);
    if (size <= keyLength) {
        return false;
    }
    const std::string key(reinterpret_cast<const char*>(bytes), keyLength);
    if (CompareNoCase(key.c_str(), field.key) != 0) {
        return false;
    }
    *out = TagUtf8Text(bytes + keyLength, size - keyLength, field.limit);
    return true;
}

static void TakeComment(const uint8_t* bytes, size_t size, bool wantComment, AudioTag* tag) {
    if (!tag->hasTitle && TakeField(bytes, size, kTitleField, &tag->title)) {
        tag->hasTitle = true;
    } else if (!tag->hasArtist && TakeField(bytes, size, kArtistField, &tag->artist)) {
        tag->hasArtist = true;
    } else if (wantComment && !tag->hasComment && TakeField(bytes, size, kCommentField, &tag->comment)) {
        tag->hasComment = true;
    }
}

// Walks the comment header: the vendor string, the count, then each comment
// as a length and its bytes. A length past the end of the file ends the walk,
// and so does a count the rest of the file could not hold (every comment
// needs its length word) or one beyond kMaxCommentsWalked.
static void WalkComments(PacketReader& packet, bool wantComment, AudioTag* tag) {
    uint32_t vendorLength = 0;
    if (!packet.ReadNumber(&vendorLength) || vendorLength > packet.Remaining() || !packet.Read(nullptr, vendorLength)) {
        return;
    }
    uint32_t count = 0;
    if (!packet.ReadNumber(&count)) {
        return;
    }
    const uint32_t held = packet.Remaining() / kCommentLengthBytes;
    count = count < held ? count : held;
    count = count < kMaxCommentsWalked ? count : kMaxCommentsWalked;
    std::vector<uint8_t> field(kFieldBytesRead);
    for (uint32_t i = 0; i < count && !TagComplete(*tag, wantComment); ++i) {
        uint32_t length = 0;
        if (!packet.ReadNumber(&length) || length > packet.Remaining()) {
            return;
        }
        const uint32_t taken = length < kFieldBytesRead ? length : kFieldBytesRead;
        if (!packet.Read(field.data(), taken)) {
            return;
        }
        TakeComment(field.data(), taken, wantComment, tag);
        if (!packet.Read(nullptr, length - taken)) {
            return;
        }
    }
}

int32_t ReadOggFile(SongFile& file, SongInfo* info, char* title, char* comment) {
    ByteWindow window(file, kWindowBytes);
    const uint32_t fileSize = uint32_t(window.FileSize());
    OggPage page;
    uint32_t contents = 0;
    if (fileSize < kPageHeaderBytes || !FindCommentHeader(window, fileSize, &page, &contents)) {
        return ComposeNoTag(info, comment);
    }
    const bool wantComment = WantsComment(info, comment);
    AudioTag tag;
    PacketReader packet(window, fileSize, page, contents);
    WalkComments(packet, wantComment, &tag);
    return ComposeTagResult(tag, info, title, comment);
}
