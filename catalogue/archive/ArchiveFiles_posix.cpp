// File system services of the archive layer outside Windows.
#include <dirent.h>
#include <unistd.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "catalogue/archive/ArchiveFiles.h"
#include "core/PosixFiles.h"

std::string SystemTempFolder() {
    const char* folder = std::getenv("TMPDIR");
    std::string path = folder && *folder ? folder : "/tmp";
    if (path.back() != '/') {
        path += '/';
    }
    // The program's own separator; NativePath turns it back.
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

bool PathExists(const char* path) {
    struct stat st;
    return stat(NativePath(path).c_str(), &st) == 0;
}

bool EnsureFolder(const char* path) {
    std::string native = NativePath(path);
    struct stat st;
    return mkdir(native.c_str(), 0755) == 0 || (stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode));
}

bool DeleteFilePath(const char* path) {
    ForgetWalkedSizes();
    return unlink(NativePath(path).c_str()) == 0;
}

static void RemoveNativeTree(const std::string& native) {
    if (DIR* dir = opendir(native.c_str())) {
        while (struct dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            std::string child = native + "/" + name;
            struct stat st;
            if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
                RemoveNativeTree(child);
            } else {
                unlink(child.c_str());
            }
        }
        closedir(dir);
    }
    rmdir(native.c_str());
}

void RemoveFolderTree(const char* path) {
    ForgetWalkedSizes();
    RemoveNativeTree(NativePath(path));
}

namespace {

// The error of a failed write or close; never 0, even when errno is not set.
uint32_t WriteError() {
    return ErrorOfErrno(errno != 0 ? errno : EIO);
}

class MemberFile : public OutputFile {
   public:
    explicit MemberFile(FILE* file) : file_(file) {
    }
    ~MemberFile() override {
        if (file_) {
            std::fclose(file_);
        }
    }
    uint32_t Write(const void* bytes, uint32_t n) override {
        return std::fwrite(bytes, 1, n, file_) == n ? 0 : WriteError();
    }
    uint32_t Commit() override {
        const int closed = std::fclose(file_);
        file_ = nullptr;
        return closed == 0 ? 0 : WriteError();
    }

   private:
    FILE* file_;
};

}  // namespace

std::unique_ptr<OutputFile> CreateMemberFile(const char* path) {
    ForgetWalkedSizes();
    FILE* file = std::fopen(NativePath(path).c_str(), "wb");
    if (!file) {
        return nullptr;
    }
    return std::make_unique<MemberFile>(file);
}
