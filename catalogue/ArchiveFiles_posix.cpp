// File system services of the archive layer outside Windows.
#include <dirent.h>
#include <unistd.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

#include "catalogue/ArchiveFiles.h"
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
    RemoveNativeTree(NativePath(path));
}

bool WriteFileBytes(const char* path, const uint8_t* bytes, size_t size) {
    FILE* file = std::fopen(NativePath(path).c_str(), "wb");
    if (!file) {
        return false;
    }
    bool ok = std::fwrite(bytes, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}
