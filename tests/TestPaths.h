// Where tests find the shared sample corpus, their own fixtures and a
// scratch folder of their own.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include "core/PosixFiles.h"
#endif

// The name the system knows a program (CP932) path by: Unix names are UTF-8.
inline std::string SystemPath(const std::string& path) {
#ifdef _WIN32
    return path;
#else
    return NativePath(path.c_str());
#endif
}

#ifndef QUILLORY_CORPUS_DIR
#define QUILLORY_CORPUS_DIR "../shared/corpus"
#endif
#ifndef QUILLORY_TESTDATA_DIR
#define QUILLORY_TESTDATA_DIR "tests/data"
#endif

inline std::string CorpusPath(const std::string& rel) {
    const char* r = std::getenv("QUILLORY_CORPUS");
    return std::string(r ? r : QUILLORY_CORPUS_DIR) + "/" + rel;
}

inline std::string TestDataPath(const std::string& rel) {
    const char* r = std::getenv("QUILLORY_TESTDATA");
    return std::string(r ? r : QUILLORY_TESTDATA_DIR) + "/" + rel;
}

// Reads a whole file; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    if (FILE* f = std::fopen(SystemPath(path).c_str(), "rb")) {
        char buffer[65536];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
            bytes.append(buffer, n);
        }
        std::fclose(f);
    }
    return bytes;
}

// Writes a whole file; false when it cannot be written.
inline bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(SystemPath(path).c_str(), "wb");
    if (!f) {
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes. Path() ends in the separator of the world
// the test runs in ('\\' on Windows, '/' elsewhere).
class ScratchFolder {
  public:
    ScratchFolder() {
#ifdef _WIN32
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string base = temp;
        unsigned seed = unsigned(GetCurrentProcessId()) * 7919u + unsigned(GetTickCount());
#else
        const char* tmp = std::getenv("TMPDIR");
        const std::string base = std::string(tmp ? tmp : "/tmp") + "/";
        unsigned seed = unsigned(getpid()) * 7919u + unsigned(time(nullptr));
#endif
        for (unsigned attempt = 0; attempt < 1000; attempt++) {
            const std::string candidate = base + "qtest" + Letters(seed + attempt * 104729u);
#ifdef _WIN32
            const bool made = CreateDirectoryA(candidate.c_str(), nullptr) != 0;
            const char separator = '\\';
#else
            const bool made = mkdir(candidate.c_str(), 0700) == 0;
            const char separator = '/';
#endif
            if (made) {
                path_ = candidate + separator;
                break;
            }
        }
    }
    ~ScratchFolder() {
#ifdef _WIN32
        std::string from = path_.substr(0, path_.size() - 1);
        from.push_back('\0');
        SHFILEOPSTRUCTA op = {};
        op.wFunc = FO_DELETE;
        op.pFrom = from.c_str();
        op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        SHFileOperationA(&op);
#else
        std::string command = "rm -rf '" + path_ + "'";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "could not remove %s\n", path_.c_str());
        }
#endif
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Makes a sub-folder (name relative to this folder); false on failure.
    bool MakeFolder(const std::string& name) const {
#ifdef _WIN32
        return CreateDirectoryA(File(name).c_str(), nullptr) != 0;
#else
        return mkdir(SystemPath(File(name)).c_str(), 0755) == 0;
#endif
    }

    const std::string& Path() const {
        return path_;
    }
    std::string File(const std::string& name) const {
        return path_ + name;
    }

  private:
    // Folder names use letters that spell no sound module detection string
    // (no digits, no G, S, X, C, M, T, U or P), so a scratch path never makes
    // a song look written for a module.
    static std::string Letters(unsigned n) {
        static const char kAlphabet[] = "abdefhijklnoqrvwyz";
        std::string letters;
        for (int i = 0; i < 7; i++) {
            letters += kAlphabet[n % (sizeof kAlphabet - 1)];
            n /= sizeof kAlphabet - 1;
        }
        return letters;
    }

    std::string path_;
};
