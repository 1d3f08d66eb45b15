// File operations outside Windows: the program's '\\' paths are mapped to
// native ones and errno values to the Win32 numbers.
#include "core/FileSystem.h"

#include <fcntl.h>
#include <unistd.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "core/PosixFiles.h"

namespace {

class PosixOutputFile : public OutputFile {
   public:
    explicit PosixOutputFile(int fd) : fd_(fd) {
    }
    ~PosixOutputFile() override {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    uint32_t Write(const void* bytes, uint32_t n) override {
        const uint8_t* p = static_cast<const uint8_t*>(bytes);
        while (n > 0) {
            const ssize_t wrote = write(fd_, p, n);
            if (wrote < 0 && errno == EINTR) {
                continue;
            }
            if (wrote <= 0) {
                return ErrorOfErrno(wrote < 0 ? errno : ENOSPC);
            }
            p += wrote;
            n -= uint32_t(wrote);
        }
        return 0;
    }
    uint32_t Commit() override {
        const int synced = fsync(fd_);
        const int syncError = errno;
        const int closed = close(fd_);
        const int closeError = errno;
        fd_ = -1;
        if (synced != 0) {
            return ErrorOfErrno(syncError);
        }
        return closed == 0 ? 0 : ErrorOfErrno(closeError);
    }

   private:
    int fd_;
};

// The folder part of a native path ("." for a bare name).
std::string NativeFolderOf(const std::string& native) {
    const size_t slash = native.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : native.substr(0, slash);
}

}  // namespace

std::unique_ptr<OutputFile> CreateNewFile(const char* path, uint32_t* error) {
    ForgetWalkedSizes();
    const int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = ErrorOfErrno(errno);
        return nullptr;
    }
    *error = 0;
    return std::make_unique<PosixOutputFile>(fd);
}

uint32_t MoveOverFile(const char* source, const char* target) {
    ForgetWalkedSizes();
    const std::string nativeTarget = NativePath(target);
    if (rename(NativePath(source).c_str(), nativeTarget.c_str()) != 0) {
        return ErrorOfErrno(errno);
    }
    // The new name is only durable once the folder itself is synced.
    const int folder = open(NativeFolderOf(nativeTarget).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return 0;
}

uint32_t RemoveFile(const char* path) {
    ForgetWalkedSizes();
    return unlink(NativePath(path).c_str()) == 0 ? 0 : ErrorOfErrno(errno);
}

bool ReadFolderIdentity(const char* folder, FolderIdentity* identity) {
    struct stat st;
    if (stat(NativePath(folder).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return false;
    }
    identity->volume = uint64_t(st.st_dev);
    identity->file = uint64_t(st.st_ino);
    return true;
}
