// Read-ahead window for the sequence readers (see ByteWindow.h).
#include "analysis/ByteWindow.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint64_t kMaxSeekable = 0x7FFFFFFF;  // Seek takes a signed 32-bit offset

}  // namespace

ByteWindow::ByteWindow(SongFile& file, uint32_t capacity)
    : file_(file), buffer_(new uint8_t[capacity > 0 ? capacity : 1]), capacity_(capacity) {
    uint32_t high = 0;
    const uint32_t low = file.Size(&high);
    fileSize_ = high != 0 ? kMaxSeekable : std::min<uint64_t>(low, kMaxSeekable);
}

const uint8_t* ByteWindow::Fetch(uint64_t pos, uint32_t n, uint32_t* got) {
    *got = 0;
    if (pos >= fileSize_) {
        return buffer_.get();
    }
    const uint32_t want = uint32_t(std::min<uint64_t>({n, capacity_, fileSize_ - pos}));
    if (pos >= start_ && pos - start_ <= length_ && want <= length_ - (pos - start_)) {
        *got = want;
        return buffer_.get() + (pos - start_);
    }
    // Refill from pos, reading only what the file holds: a memory-mode song
    // delivers nothing at all for a read that passes its end.
    const uint32_t fill = uint32_t(std::min<uint64_t>(capacity_, fileSize_ - pos));
    file_.Seek(int32_t(pos), kSeekBegin);
    uint32_t count = 0;
    if (!file_.Read(buffer_.get(), fill, &count)) {
        count = 0;
    }
    start_ = pos;
    length_ = std::min(count, fill);
    *got = std::min(want, length_);
    return buffer_.get();
}

uint32_t ByteWindow::CopyOut(uint64_t pos, uint32_t n, void* dst) {
    uint32_t got = 0;
    const uint8_t* bytes = Fetch(pos, n, &got);
    std::memcpy(dst, bytes, got);
    return got;
}

uint8_t ByteWindow::ByteAt(uint64_t pos) {
    uint32_t got = 0;
    const uint8_t* bytes = Fetch(pos, 1, &got);
    return got == 1 ? bytes[0] : 0;
}
