// Memory-mode song files, the archive hooks and the common open entry.
#include "core/SongFile.h"

#include <cstring>

MemorySongFile::MemorySongFile(std::unique_ptr<uint8_t[]> bytes, uint32_t size, int archiveKind)
    : bytes_(std::move(bytes)), size_(size), archiveKind_(archiveKind) {}

MemorySongFile::MemorySongFile(const void* bytes, uint32_t size)
    : bytes_(new uint8_t[size ? size : 1]), size_(size), archiveKind_(0) {
    if (size) {
        std::memcpy(bytes_.get(), bytes, size);
    }
}

bool MemorySongFile::Read(void* buffer, uint32_t n, uint32_t* count) {
    // A read that would pass the end delivers nothing at all, not the rest:
    // callers read fixed-size records and treat a short read as the end.
    if (n == 0 || position_ > size_ || n > size_ - position_) {
        *count = 0;
        return true;
    }
    std::memcpy(buffer, bytes_.get() + position_, n);
    position_ += n;
    *count = n;
    return true;
}

uint32_t MemorySongFile::Seek(int32_t offset, int origin) {
    switch (origin) {
        case kSeekBegin:
            position_ = uint32_t(offset);
            break;
        case kSeekCurrent:
            position_ += uint32_t(offset);
            break;
        case kSeekEnd:
            position_ = size_ + uint32_t(offset);
            break;
        default:
            break;
    }
    return position_;
}

uint32_t MemorySongFile::Size(uint32_t* high) {
    if (high) {
        *high = 0;
    }
    return size_;
}

const char* MemorySongFile::OpenedPath() const {
    return "";
}

int MemorySongFile::ArchiveKind() const {
    return archiveKind_;
}

const uint8_t* MemorySongFile::Buffer() const {
    return bytes_.get();
}

static ArchiveKindOfPathFn archiveKindOfPath = nullptr;
static ArchiveMemberOpener archiveMemberOpener = nullptr;

void SetArchiveHooks(ArchiveKindOfPathFn kindOfPath, ArchiveMemberOpener opener) {
    archiveKindOfPath = kindOfPath;
    archiveMemberOpener = opener;
}

int ArchiveKindOfPathHook(const char* path) {
    return archiveKindOfPath ? archiveKindOfPath(path) : 0;
}

ArchiveMemberOpener ArchiveOpenerHook() {
    return archiveMemberOpener;
}

std::unique_ptr<SongFile> OpenSongFile(const char* path, const SongOpenRequest& request, uint32_t* lastError) {
    int kind = ArchiveKindOfPathHook(path);
    if (kind == 0) {
        if (std::strlen(path) > kMaxPathBytes) {
            *lastError = kErrorFilenameExcedRange;
            return nullptr;
        }
        return OpenPlainSongFile(path, request, lastError);
    }
    if (!archiveMemberOpener) {
        *lastError = kErrorFileNotFound;
        return nullptr;
    }
    return archiveMemberOpener(path, kind, request, lastError);
}

int32_t ReaderResultOfOpenError(uint32_t lastError) {
    switch (lastError) {
        case kErrorAccessDenied:
            return -4;
        case kErrorSharingViolation:
            return -3;
        default:
            return -2;
    }
}
