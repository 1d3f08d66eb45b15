// File operations on Windows.
#include <windows.h>

#include "core/FileSystem.h"

namespace {

class Win32OutputFile : public OutputFile {
   public:
    explicit Win32OutputFile(HANDLE handle) : handle_(handle) {
    }
    ~Win32OutputFile() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            CloseHandle(handle_);
        }
    }
    uint32_t Write(const void* bytes, uint32_t n) override {
        DWORD wrote = 0;
        SetLastError(0);
        if (!WriteFile(handle_, bytes, n, &wrote, nullptr)) {
            const DWORD error = GetLastError();
            return error != 0 ? error : ERROR_WRITE_FAULT;
        }
        // A short write without an error means the disk is full.
        return wrote == n ? 0 : ERROR_DISK_FULL;
    }
    uint32_t Commit() override {
        const DWORD flushError = FlushFileBuffers(handle_) ? 0 : GetLastError();
        const DWORD closeError = CloseHandle(handle_) ? 0 : GetLastError();
        handle_ = INVALID_HANDLE_VALUE;
        return flushError != 0 ? flushError : closeError;
    }

   private:
    HANDLE handle_;
};

}  // namespace

std::unique_ptr<OutputFile> CreateNewFile(const char* path, uint32_t* error) {
    SetLastError(0);
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return nullptr;
    }
    *error = 0;
    return std::make_unique<Win32OutputFile>(handle);
}

uint32_t MoveOverFile(const char* source, const char* target) {
    if (!MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return GetLastError();
    }
    return 0;
}

uint32_t RemoveFile(const char* path) {
    SetLastError(0);
    return DeleteFileA(path) ? 0 : GetLastError();
}

bool ReadFolderIdentity(const char* folder, FolderIdentity* identity) {
    // No access rights are asked for: the handle only answers the question.
    // A folder opens only with FILE_FLAG_BACKUP_SEMANTICS.
    HANDLE handle = CreateFileA(folder, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    BY_HANDLE_FILE_INFORMATION info = {};
    const bool read = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!read || !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    identity->volume = info.dwVolumeSerialNumber;
    identity->file = uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    return true;
}
