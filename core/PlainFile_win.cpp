// Plain files and folder searches on Windows.
#include <windows.h>

#include <string>

#include "core/FileFinder.h"
#include "core/SongFile.h"

namespace {

// An open file read at a position kept here: a seek costs no call into the
// system, the size is asked once, and the handle's own file pointer is moved
// only when a read does not start where the last one ended. Reads go without
// an OVERLAPPED record: with one, every read also queues a completion, which
// under Wine is a round trip to its server for each read.
class Win32SongFile : public SongFile {
  public:
    Win32SongFile(HANDLE handle, const char* path) : handle_(handle), path_(path) {}
    ~Win32SongFile() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    bool Read(void* buffer, uint32_t n, uint32_t* count) override {
        *count = 0;
        if (handle_ == INVALID_HANDLE_VALUE) {
            return false;
        }
        if (position_ != handlePosition_) {
            LARGE_INTEGER to = {};
            to.QuadPart = LONGLONG(position_);
            if (!SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN)) {
                return false;
            }
            handlePosition_ = position_;
        }
        // A read that starts at or past the end delivers nothing.
        DWORD got = 0;
        if (!ReadFile(handle_, buffer, n, &got, nullptr)) {
            handlePosition_ = kUnknownPosition;
            return false;
        }
        *count = got;
        position_ += got;
        handlePosition_ = position_;
        return true;
    }
    uint32_t Seek(int32_t offset, int origin) override {
        if (handle_ == INVALID_HANDLE_VALUE) {
            return uint32_t(-1);
        }
        const int64_t base = origin == kSeekCurrent ? int64_t(position_) : origin == kSeekEnd ? int64_t(FullSize()) : 0;
        const int64_t at = base + offset;
        if (at < 0) {
            SetLastError(ERROR_NEGATIVE_SEEK);
            return uint32_t(-1);  // before the start: refused, the position stays
        }
        position_ = uint64_t(at);
        return uint32_t(position_);
    }
    uint32_t Size(uint32_t* high) override {
        const uint64_t size = handle_ != INVALID_HANDLE_VALUE ? FullSize() : 0;
        if (high) {
            *high = uint32_t(size >> 32);
        }
        return uint32_t(size);
    }
    const char* OpenedPath() const override {
        return path_.c_str();
    }

  private:
    uint64_t FullSize() {
        if (!sizeKnown_) {
            LARGE_INTEGER size = {};
            size_ = GetFileSizeEx(handle_, &size) ? uint64_t(size.QuadPart) : 0;
            sizeKnown_ = true;
        }
        return size_;
    }

    HANDLE handle_;
    std::string path_;
    uint64_t position_ = 0;
    static constexpr uint64_t kUnknownPosition = ~uint64_t(0);
    uint64_t handlePosition_ = 0;  // where the handle's file pointer stands
    uint64_t size_ = 0;
    bool sizeKnown_ = false;
};

uint64_t ToUint64(const FILETIME& t) {
    return uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime;
}

void FillRecord(const WIN32_FIND_DATAA& data, FindRecord* record) {
    record->attributes = data.dwFileAttributes;
    record->creationTime = ToUint64(data.ftCreationTime);
    record->lastAccessTime = ToUint64(data.ftLastAccessTime);
    record->lastWriteTime = ToUint64(data.ftLastWriteTime);
    record->size = uint64_t(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    record->name = data.cFileName;
    record->alternateName = data.cAlternateFileName;
}

class Win32Finder : public FileFinder {
  public:
    Win32Finder(FindRecord* record, const char* pattern) {
        SetLastError(0);
        WIN32_FIND_DATAA data;
        handle_ = FindFirstFileA(pattern, &data);
        error_ = GetLastError();
        found_ = handle_ != INVALID_HANDLE_VALUE;
        if (found_) {
            FillRecord(data, record);
        }
    }
    ~Win32Finder() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            FindClose(handle_);
        }
    }
    bool Next(FindRecord* record) override {
        WIN32_FIND_DATAA data;
        found_ = handle_ != INVALID_HANDLE_VALUE && FindNextFileA(handle_, &data);
        if (found_) {
            FillRecord(data, record);
        }
        return found_;
    }

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

std::unique_ptr<SongFile> OpenPlainSongFile(const char* path, const SongOpenRequest& request, uint32_t* lastError) {
    if (request.flags & kOpenPrepareOnly) {
        *lastError = kErrorSuccess;
        return std::make_unique<Win32SongFile>(INVALID_HANDLE_VALUE, path);
    }
    SetLastError(0);
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *lastError = GetLastError();
        if (*lastError == kErrorSuccess) {
            *lastError = kErrorFileNotFound;
        }
        return nullptr;
    }
    *lastError = kErrorSuccess;
    return std::make_unique<Win32SongFile>(handle, path);
}

std::unique_ptr<FileFinder> OpenPlainFinder(FindRecord* record, const char* pattern) {
    return std::make_unique<Win32Finder>(record, pattern);
}

// The Windows file layer keeps nothing between a listing and its reads.
WalkedFoldersScope::WalkedFoldersScope() = default;
WalkedFoldersScope::~WalkedFoldersScope() = default;
