// The read window over an archive file.
#include "catalogue/archive/ArchiveSource.h"

#include <algorithm>
#include <cstring>

// The window starts small, since reading one member touches a few bytes,
// and doubles with every refill up to its full size, since a walk over the
// headers moves on through the whole file.
static constexpr uint32_t kFirstWindowBytes = 4 * 1024;
static constexpr uint32_t kWindowBytes = 64 * 1024;
// Bytes of a member's packed data read at once.
static constexpr uint32_t kPieceBytes = 64 * 1024;

ArchiveSource::ArchiveSource(SongFile* file) : file_(file) {
    uint32_t high = 0;
    uint32_t low = file_->Size(&high);
    size_ = high ? 0xFFFFFFFFu : low;
}

// Moves the file to offset. A seek takes a signed 32-bit distance, so an
// offset past 2 GiB is reached in two steps.
static bool SeekTo(SongFile* file, uint32_t offset) {
    const uint32_t kLongestStep = 0x7FFFFFFFu;
    if (offset <= kLongestStep) {
        return file->Seek(int32_t(offset), kSeekBegin) == offset;
    }
    return file->Seek(int32_t(kLongestStep), kSeekBegin) == kLongestStep &&
           file->Seek(int32_t(offset - kLongestStep), kSeekCurrent) == offset;
}

// Reads n bytes at offset straight from the file. Returns the bytes read.
size_t ArchiveSource::ReadThrough(uint32_t offset, uint8_t* out, size_t n) {
    if (offset >= size_ || !SeekTo(file_, offset)) {
        return 0;
    }
    uint32_t want = uint32_t(std::min<size_t>(n, size_ - offset));
    uint32_t got = 0;
    // Files read in memory deliver all or nothing; the request never passes
    // the end, so both kinds of reader fill the same way.
    if (!file_->Read(out, want, &got)) {
        return 0;
    }
    return got;
}

// Loads the window so that it starts at offset. False when nothing could be read.
bool ArchiveSource::Fill(uint32_t offset) {
    // Never larger than the file: a small archive is read in one piece of its size.
    const size_t grown = std::min<size_t>(
        window_.empty() ? kFirstWindowBytes : std::min<size_t>(window_.size() * 2, kWindowBytes), size_);
    if (grown > window_.size()) {
        window_.resize(grown);
    }
    windowStart_ = offset;
    windowLength_ = uint32_t(ReadThrough(offset, window_.data(), window_.size()));
    return windowLength_ > 0;
}

size_t ArchiveSource::ReadAt(uint32_t offset, void* out, size_t n) {
    uint8_t* dst = static_cast<uint8_t*>(out);
    size_t copied = 0;
    while (copied < n) {
        uint32_t at = offset + uint32_t(copied);
        if (at < offset) {
            break;  // wrapped past 4 GiB
        }
        if (at < windowStart_ || at - windowStart_ >= windowLength_) {
            // A long read bypasses the window.
            if (n - copied >= kWindowBytes) {
                const size_t got = ReadThrough(at, dst + copied, n - copied);
                copied += got;
                break;
            }
            if (!Fill(at)) {
                break;
            }
        }
        size_t available = windowLength_ - (at - windowStart_);
        size_t take = std::min(available, n - copied);
        std::memcpy(dst + copied, window_.data() + (at - windowStart_), take);
        copied += take;
    }
    return copied;
}

bool ArchiveSource::ByteAt(uint32_t offset, uint8_t* value) {
    return ReadAt(offset, value, 1) == 1;
}

bool ArchiveSource::Word16At(uint32_t offset, uint16_t* value) {
    uint8_t bytes[2];
    if (ReadAt(offset, bytes, 2) != 2) {
        return false;
    }
    *value = Le16(bytes);
    return true;
}

bool ArchiveSource::Word32At(uint32_t offset, uint32_t* value) {
    uint8_t bytes[4];
    if (ReadAt(offset, bytes, 4) != 4) {
        return false;
    }
    *value = Le32(bytes);
    return true;
}

ArchiveRange::ArchiveRange(ArchiveSource* source, uint32_t offset, uint32_t size)
    : source_(source), offset_(offset), size_(offset < source->Size() ? std::min(size, source->Size() - offset) : 0) {
}

bool ArchiveRange::Next(const uint8_t** bytes, size_t* size) {
    if (done_ >= size_) {
        return false;
    }
    const uint32_t want = std::min(kPieceBytes, size_ - done_);
    if (piece_.size() < want) {
        piece_.resize(want);
    }
    const size_t got = source_->ReadAt(offset_ + done_, piece_.data(), want);
    if (got == 0) {
        done_ = size_;
        return false;
    }
    done_ += uint32_t(got);
    *bytes = piece_.data();
    *size = got;
    return true;
}
