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
        // The shell's delete stops at a link to a folder under Wine; the
        // Unix rm removes links and all.
        if (madeLinks_) {
            RunUnixTool("/bin/rm -rf \"" + UnixPathOf(path_) + "\"");
            AwaitPresence(path_.substr(0, path_.size() - 1), false);
        }
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

    // Makes name a symbolic link to target, a path relative to the link's
    // folder with '/' between its parts ("." or "../other"); false when no
    // link was made. Under Wine, whose CreateSymbolicLinkA reports success
    // and makes nothing, the Unix ln makes the link: Wine starts a Unix
    // program named by a Unix path, but hands back no process to wait for,
    // so the link itself is waited for.
    bool MakeLink(const std::string& name, const std::string& target) {
#ifdef _WIN32
        const std::string unixPath = UnixPathOf(File(name));
        if (unixPath.empty() || !RunUnixTool("/bin/ln -s \"" + target + "\" \"" + unixPath + "\"")) {
            return false;
        }
        madeLinks_ = true;
        return AwaitPresence(File(name), true);
#else
        return symlink(target.c_str(), SystemPath(File(name)).c_str()) == 0;
#endif
    }

    const std::string& Path() const {
        return path_;
    }
    std::string File(const std::string& name) const {
        return path_ + name;
    }

  private:
#ifdef _WIN32
    // The Unix path Wine keeps a Windows path at; empty outside Wine.
    static std::string UnixPathOf(const std::string& path) {
        using UnixFileNameFn = char*(CDECL*)(const wchar_t*);
        const auto unixFileName = reinterpret_cast<UnixFileNameFn>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        wchar_t wide[MAX_PATH];
        if (!unixFileName || MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) == 0) {
            return std::string();
        }
        char* unixPath = unixFileName(wide);
        const std::string result = unixPath ? unixPath : "";
        HeapFree(GetProcessHeap(), 0, unixPath);
        return result;
    }
    // Starts a Unix program; command begins with its Unix path.
    static bool RunUnixTool(std::string command) {
        const std::string program = "Z:" + command.substr(0, command.find(' '));
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            return false;
        }
        for (HANDLE handle : {process.hProcess, process.hThread}) {
            if (handle) {
                CloseHandle(handle);
            }
        }
        return true;
    }
    // Waits up to 10 s until a path is there (present) or gone; true when it came to be.
    static bool AwaitPresence(const std::string& path, bool present) {
        for (int waited = 0; waited < 10000; waited += 10) {
            if ((GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) == present) {
                return true;
            }
            Sleep(10);
        }
        return false;
    }
    bool madeLinks_ = false;
#endif
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
