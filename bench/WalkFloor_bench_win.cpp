// The floor of listing a folder under Windows, as a program of its own so a
// script can time it as a whole process next to quillory-cli.exe: walks the
// folder with FindFirstFileA/FindNextFileA and opens, reads the first 4 KiB
// and the last 128 bytes of, and closes each file. Prints the files read.
// Usage: WalkFloor_bench_win.exe FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: WalkFloor_bench_win.exe FOLDER\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.empty() || folder.back() != '\\') {
        folder += '\\';
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot list %s\n", folder.c_str());
        return 1;
    }
    static char buffer[4096];
    long files = 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            continue;
        }
        HANDLE file = CreateFileA((folder + found.cFileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            continue;
        }
        DWORD got = 0;
        ReadFile(file, buffer, sizeof buffer, &got, nullptr);
        if (found.nFileSizeLow > 128) {
            SetFilePointer(file, LONG(found.nFileSizeLow - 128), nullptr, FILE_BEGIN);
            ReadFile(file, buffer, 128, &got, nullptr);
        }
        CloseHandle(file);
        files++;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::printf("%ld files read\n", files);
    return 0;
}
