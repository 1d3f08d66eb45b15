// Streamed ZIP archives and UTF-8 member names through our UNZIP32.DLL, as
// the program uses it: memory extraction and extraction to a folder with the
// program's command lines.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestPaths.h"
#include "catalogue/ArchiveAccess.h"
#include "catalogue/ArchiveKind.h"
#include "catalogue/ArchiverCommand.h"
#include "catalogue/Archivers.h"

namespace {

using ExtractMemFn = int(WINAPI*)(HWND, LPCSTR, LPBYTE, DWORD, time_t*, LPWORD, LPDWORD);

std::string LibraryFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder.resize(folder.find_last_of('\\'));
    return folder + "\\..\\bin";
}

TEST(StreamedZipLibrary, MembersComeOutOfOurUnzipLibrary) {
    SetArchiverFolder(LibraryFolder());
    LoadArchivers();
    HMODULE unzip = LoadLibraryA((LibraryFolder() + "\\UNZIP32.DLL").c_str());
    ASSERT_TRUE(unzip);
    auto mem = reinterpret_cast<ExtractMemFn>(reinterpret_cast<void*>(GetProcAddress(unzip, "UnZipExtractMem")));
    ASSERT_TRUE(mem);
    ScratchFolder folder;
    const std::string destination = folder.Path().substr(0, folder.Path().size() - 1);
    const struct {
        const char* archive;
        const char* member;
        const char* file;  // the name extraction writes
    } cases[] = {
        {"zip/pipe-python.zip", "songs/a.mid", "a.mid"},
        {"zip/zip-pipe.zip", "songs/sub/b.mid", "b.mid"},
        {"zip/utf8-names.zip", "曲/表ソ.mid", "表ソ.mid"},
    };
    for (const auto& c : cases) {
        const std::string archive = TestDataPath(c.archive);
        uint8_t bytes[64] = {};
        DWORD written = 0;
        WORD attributes = 1;
        time_t stamp = 0;
        const std::string line = MemoryCommandLine(kArchiveZip, archive, c.member);
        EXPECT_EQ(0, mem(nullptr, line.c_str(), bytes, sizeof bytes, &stamp, &attributes, &written)) << c.member;
        EXPECT_LE(47u, written) << c.member;
        EXPECT_EQ(0, std::memcmp(bytes, "MThd", 4)) << c.member;
        EXPECT_EQ(0, ExtractMember((archive + ">" + c.member).c_str(), destination.c_str(), nullptr,
                                   ExtractPurpose::kShown))
            << c.member;
        EXPECT_EQ(written, ReadWholeFile(folder.File(c.file)).size()) << c.member;
    }
    FreeLibrary(unzip);
    FreeArchivers();
    SetArchiverFolder("");
}

}  // namespace
