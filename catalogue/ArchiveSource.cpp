// The read window over an archive file.
#include "catalogue/ArchiveSource.h"

#include <algorithm>
#include <cstring>

static constexpr uint32_t kWindowBytes = 64 * 1024;

ArchiveSource::ArchiveSource(SongFile* file) : file_(file), window_(kWindowBytes) {
    uint32_t high = 0;
    uint32_t low = file_->Size(&high);
    size_ = high ? 0xFFFFFFFFu : low;
}

// Loads the window so that it starts at offset. False when nothing could be read.
bool ArchiveSource::Fill(uint32_t offset) {
    windowStart_ = offset;
    windowLength_ = 0;
    if (offset >= size_) {
        return false;
    }
    uint32_t want = std::min(kWindowBytes, size_ - offset);
    if (file_->Seek(int32_t(offset), kSeekBegin) != offset) {
        return false;
    }
    uint32_t got = 0;
    // Files read in memory deliver all or nothing; the request never passes
    // the end, so both kinds of reader fill the window the same way.
    if (!file_->Read(window_.data(), want, &got)) {
        return false;
    }
    windowLength_ = got;
    return got > 0;
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
