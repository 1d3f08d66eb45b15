// Plain files and folder searches on Windows.
#include <windows.h>

#include <string>

#include "core/FileFinder.h"
#include "core/SongFile.h"

namespace {

class Win32SongFile : public SongFile {
  public:
    Win32SongFile(HANDLE handle, const char* path) : handle_(handle), path_(path) {}
    ~Win32SongFile() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    bool Read(void* buffer, uint32_t n, uint32_t* count) override {
        DWORD got = 0;
        BOOL ok = handle_ != INVALID_HANDLE_VALUE && ReadFile(handle_, buffer, n, &got, nullptr);
        *count = got;
        return ok != FALSE;
    }
    uint32_t Seek(int32_t offset, int origin) override {
        DWORD method = origin == kSeekCurrent ? FILE_CURRENT : origin == kSeekEnd ? FILE_END : FILE_BEGIN;
        return SetFilePointer(handle_, offset, nullptr, method);
    }
    uint32_t Size(uint32_t* high) override {
        DWORD highPart = 0;
        DWORD low = GetFileSize(handle_, &highPart);
        if (high) {
            *high = highPart;
        }
        return low;
    }
    const char* OpenedPath() const override {
        return path_.c_str();
    }

  private:
    HANDLE handle_;
    std::string path_;
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
