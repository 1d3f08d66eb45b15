// File system services of the archive layer on Windows.
#include <windows.h>

#include <memory>
#include <string>

#include "catalogue/archive/ArchiveFiles.h"

std::string SystemTempFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    if (length == 0 || length > MAX_PATH) {
        return ".\\";
    }
    return buffer;
}

bool PathExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool EnsureFolder(const char* path) {
    if (CreateDirectoryA(path, nullptr)) {
        return true;
    }
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFilePath(const char* path) {
    return DeleteFileA(path) != FALSE;
}

void RemoveFolderTree(const char* path) {
    std::string pattern = std::string(path) + "\\*";
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            std::string child = std::string(path) + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveFolderTree(child.c_str());
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path);
}

namespace {

class MemberFile : public OutputFile {
   public:
    explicit MemberFile(HANDLE file) : file_(file) {
    }
    ~MemberFile() override {
        if (file_ != INVALID_HANDLE_VALUE) {
            CloseHandle(file_);
        }
    }
    uint32_t Write(const void* bytes, uint32_t n) override {
        DWORD written = 0;
        if (!WriteFile(file_, bytes, n, &written, nullptr)) {
            return GetLastError();
        }
        return written == n ? 0 : ERROR_WRITE_FAULT;
    }
    uint32_t Commit() override {
        const BOOL closed = CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
        return closed ? 0 : GetLastError();
    }

   private:
    HANDLE file_;
};

}  // namespace

std::unique_ptr<OutputFile> CreateMemberFile(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    return std::make_unique<MemberFile>(file);
}
