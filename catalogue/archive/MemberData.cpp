// Member outputs: growing memory and the window into a file.
#include "catalogue/archive/MemberData.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>

#include "catalogue/archive/ArchiveKind.h"
#include "core/FileSystem.h"

// The first buffer of a growing output; it doubles from there.
static constexpr size_t kFirstBytes = 64 * 1024;
// Bytes gathered before the window writes them out, beyond the history.
static constexpr size_t kWriteBytes = 256 * 1024;

static std::atomic<size_t> largestBuffer{0};

bool MemoryFeed::Next(const uint8_t** bytes, size_t* size) {
    if (!bytes_) {
        return false;
    }
    *bytes = bytes_;
    *size = size_;
    bytes_ = nullptr;
    return true;
}

MemberOutput::MemberOutput(uint8_t* buffer, size_t size) : limit_(size), data_(buffer), capacity_(size) {
}

MemberOutput::MemberOutput(size_t limit) : limit_(limit), growing_(true) {
}

MemberOutput::MemberOutput(size_t limit, OutputFile* file) : limit_(limit), growing_(true), file_(file) {
}

MemberOutput::~MemberOutput() = default;

uint8_t* MemberOutput::Grow(size_t position, size_t n) {
    if (!growing_ || position < base_ || n > limit_ - position) {
        return nullptr;
    }
    size_t held = position - base_;
    if (file_ && held > kHistoryBytes) {
        // Write out what no copy can reach any more and keep the history.
        const size_t done = held - kHistoryBytes;
        if (!Send(data_, done)) {
            return nullptr;
        }
        std::memmove(data_, data_ + done, kHistoryBytes);
        base_ += done;
        held = kHistoryBytes;
        if (held + n <= capacity_) {
            return data_ + held;
        }
    }
    // Double, but never past what the member can still hold; a file's
    // window stops at the history and one batch of writes.
    size_t wanted = std::max({held + n, capacity_ * 2, kFirstBytes});
    if (file_) {
        wanted = std::max(held + n, std::min(wanted, kHistoryBytes + kWriteBytes));
    }
    wanted = std::min(wanted, limit_ - base_);
    std::unique_ptr<uint8_t[]> bigger(new (std::nothrow) uint8_t[wanted]);
    if (!bigger) {
        return nullptr;
    }
    if (held != 0) {
        std::memcpy(bigger.get(), data_, held);
    }
    owned_ = std::move(bigger);
    data_ = owned_.get();
    capacity_ = wanted;
    size_t largest = largestBuffer.load();
    while (wanted > largest && !largestBuffer.compare_exchange_weak(largest, wanted)) {
    }
    return data_ + held;
}

bool MemberOutput::Send(const uint8_t* bytes, size_t n) {
    if (n == 0) {
        return true;
    }
    if (checksum_) {
        crc_ = checksum_(bytes, n, crc_);
    }
    while (file_ && n > 0) {
        const uint32_t piece = uint32_t(std::min<size_t>(n, kWriteBytes));
        if (file_->Write(bytes, piece) != 0) {
            writeFailed_ = true;
            return false;
        }
        bytes += piece;
        n -= piece;
    }
    return true;
}

bool MemberOutput::Finish(size_t produced) {
    if (produced < base_ || produced - base_ > capacity_) {
        return false;
    }
    return Send(data_, produced - base_);
}

std::unique_ptr<uint8_t[]> MemberOutput::TakeBytes() {
    data_ = nullptr;
    capacity_ = 0;
    return std::move(owned_);
}

int CopyStoredMember(PackedFeed* feed, uint64_t packedSize, MemberOutput* out) {
    const size_t limit = out->Limit();
    if (packedSize < limit) {
        return kArchiveErrorBroken;
    }
    size_t position = 0;
    const uint8_t* piece = nullptr;
    size_t size = 0;
    while (position < limit && feed->Next(&piece, &size)) {
        const size_t take = std::min(size, limit - position);
        if (take == 0) {
            continue;
        }
        uint8_t* to = out->Room(position, take);
        if (!to) {
            return kArchiveErrorBroken;
        }
        std::memcpy(to, piece, take);
        position += take;
    }
    return position == limit ? 0 : kArchiveErrorBroken;
}

size_t LargestMemberBuffer() {
    return largestBuffer.load();
}

void ResetLargestMemberBuffer() {
    largestBuffer.store(0);
}
