// The bytes of one archive member on their way through a decoder: packed
// bytes come in pieces, and decoded bytes go into the caller's buffer, into
// memory that grows only as bytes are really produced, or through a small
// window into a file. No size a header claims is ever reserved up front.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

class OutputFile;

// The largest member read into memory for the song readers: 64 MiB. Titles
// sit near a song's start, but the readers see a member as a whole file
// (tags at its end, chunks anywhere), so a larger member is not read into
// memory at all. Extraction to disk streams members of any size.
constexpr uint32_t kMemberInMemoryMax = 64u << 20;

// Packed bytes delivered piece by piece.
class PackedFeed {
   public:
    virtual ~PackedFeed() = default;
    // Points *bytes at the next piece and sets *size. False when none is left.
    virtual bool Next(const uint8_t** bytes, size_t* size) = 0;
};

// A feed of bytes that are all in memory already: one piece.
class MemoryFeed : public PackedFeed {
   public:
    MemoryFeed(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {
    }
    bool Next(const uint8_t** bytes, size_t* size) override;

   private:
    const uint8_t* bytes_;
    size_t size_;
};

// A running checksum: the value after n more bytes, continued from crc (0 at
// the start).
using ChecksumFn = uint32_t (*)(const uint8_t* bytes, size_t n, uint32_t crc);

// Where a decoder writes a member of Limit() bytes. Positions count from the
// member's first byte; a decoder asks for room before every write and may
// read back up to kHistoryBytes before the position it writes.
class MemberOutput {
   public:
    // The farthest any of our decoders looks back (the -lh7- dictionary).
    static constexpr size_t kHistoryBytes = 64 * 1024;

    // Exactly size bytes into the caller's buffer.
    MemberOutput(uint8_t* buffer, size_t size);
    // limit bytes into memory that grows as they are produced.
    explicit MemberOutput(size_t limit);
    // limit bytes into a file: only a window of recent bytes stays in memory.
    MemberOutput(size_t limit, OutputFile* file);
    ~MemberOutput();
    MemberOutput(const MemberOutput&) = delete;
    MemberOutput& operator=(const MemberOutput&) = delete;

    size_t Limit() const {
        return limit_;
    }

    // The byte at position, with room for n bytes from there and the bytes
    // before it (up to kHistoryBytes) still in place. position is the count
    // of bytes produced so far and n at most Limit() - position. Null when
    // memory cannot be had or the file cannot be written.
    uint8_t* Room(size_t position, size_t n) {
        const size_t held = position - base_;
        if (held + n <= capacity_) {
            return data_ + held;
        }
        return Grow(position, n);
    }

    // Checksums the bytes as they are finished (set before decoding).
    void SetChecksum(ChecksumFn checksum) {
        checksum_ = checksum;
    }

    // Ends the output after produced bytes: the rest reaches the file and
    // the checksum. False when the file cannot be written.
    bool Finish(size_t produced);

    // The checksum of the bytes finished.
    uint32_t Checksum() const {
        return crc_;
    }

    // True when the file could not be written.
    bool WriteFailed() const {
        return writeFailed_;
    }

    // The bytes held in memory (the growing kind), handed over.
    std::unique_ptr<uint8_t[]> TakeBytes();

   private:
    uint8_t* Grow(size_t position, size_t n);
    bool Send(const uint8_t* bytes, size_t n);

    size_t limit_;
    uint8_t* data_ = nullptr;
    size_t capacity_ = 0;
    size_t base_ = 0;  // the position of data_[0]
    std::unique_ptr<uint8_t[]> owned_;
    bool growing_ = false;
    OutputFile* file_ = nullptr;
    ChecksumFn checksum_ = nullptr;
    uint32_t crc_ = 0;
    bool writeFailed_ = false;
};

// Copies a stored member (packedSize bytes in the feed) into out. Returns 0,
// or kArchiveErrorBroken when the packed bytes are fewer than out's limit or
// out fails.
int CopyStoredMember(PackedFeed* feed, uint64_t packedSize, MemberOutput* out);

// The largest buffer a member output has taken since the last reset, in
// bytes: shows that what a header claims is not what memory is taken for.
size_t LargestMemberBuffer();
void ResetLargestMemberBuffer();
