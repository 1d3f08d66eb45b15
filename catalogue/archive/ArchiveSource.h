// Random access to an archive file through a read window, so the header
// walks can look at a few bytes at a time without a system call each.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "catalogue/archive/MemberData.h"
#include "core/SongFile.h"

class ArchiveSource {
   public:
    explicit ArchiveSource(SongFile* file);

    // The archive's size; an archive past 4 GiB is seen as its first 4 GiB.
    uint32_t Size() const {
        return size_;
    }

    // Copies up to n bytes at offset into out. Returns the bytes copied: fewer
    // than n only at the end of the file or when the file cannot be read.
    size_t ReadAt(uint32_t offset, void* out, size_t n);

    // The same, straight from the file and leaving the window as it is: for
    // a look at a far place (the end records) between reads close together.
    size_t ReadAside(uint32_t offset, void* out, size_t n) {
        return ReadThrough(offset, static_cast<uint8_t*>(out), n);
    }

    // The 8-bit, 16-bit and 32-bit little-endian values at offset; false when
    // the file ends first.
    bool ByteAt(uint32_t offset, uint8_t* value);
    bool Word16At(uint32_t offset, uint16_t* value);
    bool Word32At(uint32_t offset, uint32_t* value);

   private:
    bool Fill(uint32_t offset);
    size_t ReadThrough(uint32_t offset, uint8_t* out, size_t n);

    SongFile* file_;
    uint32_t size_;
    std::vector<uint8_t> window_;
    uint32_t windowStart_ = 0;
    uint32_t windowLength_ = 0;
};

// The packed bytes of one member, read piece by piece: no more than the
// archive really holds after offset, and never all at once.
class ArchiveRange : public PackedFeed {
   public:
    ArchiveRange(ArchiveSource* source, uint32_t offset, uint32_t size);
    // The bytes the range delivers in all.
    uint32_t Size() const {
        return size_;
    }
    bool Next(const uint8_t** bytes, size_t* size) override;

   private:
    ArchiveSource* source_;
    uint32_t offset_;
    uint32_t size_;
    uint32_t done_ = 0;
    std::vector<uint8_t> piece_;
};

// Little-endian values from bytes that are known to be there.
inline uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}
inline uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
