// Our archiver libraries loaded as the program loads them: versions, the
// kinds they make available, extraction with the program's own command
// lines, and hostile member names that must stay inside the folder and
// never reach a device or a wildcard.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiverCommand.h"
#include "catalogue/archive/Archivers.h"
#include "tests/catalogue/archive/ZipTestFiles.h"

namespace {

// The libraries are built into bin\ beside Quillory.exe; the tests run from
// tests\ next to it.
std::string LibraryFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    folder.resize(folder.find_last_of('\\'));
    return folder + "\\..\\bin";
}

using CommandFn = int(WINAPI*)(HWND, LPCSTR, LPSTR, DWORD);
using ExtractMemFn = int(WINAPI*)(HWND, LPCSTR, LPBYTE, DWORD, time_t*, LPWORD, LPDWORD);

class Archivers : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiverFolder(LibraryFolder());
        LoadArchivers();
    }
    void TearDown() override {
        FreeArchivers();
        SetArchiverFolder("");
    }
    // A library of our own, loaded a second time for its entry points.
    static HMODULE Library(const char* name) {
        return LoadLibraryA((LibraryFolder() + "\\" + name).c_str());
    }
    ScratchFolder folder_;
};

TEST_F(Archivers, OurLibrariesLoadWithTheirVersionsAndGcaStaysOff) {
    EXPECT_EQ(102, ArchiverVersion(kArchiveLzh));
    EXPECT_EQ(540, ArchiverVersion(kArchiveZip));
    EXPECT_EQ(0, ArchiverVersion(kArchiveGca));
    EXPECT_TRUE(ArchiveAvailable(kArchiveLzh));
    EXPECT_TRUE(ArchiveAvailable(kArchiveZip));
    EXPECT_FALSE(ArchiveAvailable(kArchiveGca));
    EXPECT_EQ(kArchiveNone, ArchiveKindOfName("a.gca"));
    FreeArchivers();
    EXPECT_EQ(0, ArchiverVersion(kArchiveLzh));
    EXPECT_FALSE(ArchiveAvailable(kArchiveZip));
}

TEST_F(Archivers, WithoutLibrariesNothingIsAvailable) {
    FreeArchivers();
    SetArchiverFolder(folder_.Path().substr(0, folder_.Path().size() - 1));
    LoadArchivers();
    EXPECT_FALSE(ArchiveAvailable(kArchiveLzh));
    EXPECT_FALSE(ArchiveAvailable(kArchiveZip));
    EXPECT_FALSE(ArchiveAvailable(kArchiveGca));
}

TEST_F(Archivers, MembersAreExtractedThroughTheLibraries) {
    const std::string destination = folder_.Path().substr(0, folder_.Path().size() - 1);
    const std::string lzh = TestDataPath("lzh/songs.lzh");
    const std::string zip = TestDataPath("zip/deflated.zip");
    EXPECT_EQ(0, ExtractMember((lzh + ">sub/y.mid").c_str(), destination.c_str(), nullptr, ExtractPurpose::kQuiet));
    EXPECT_EQ(44u, ReadWholeFile(folder_.File("y.mid")).size());
    EXPECT_EQ(
        0, ExtractMember((zip + ">songs/表.mid").c_str(), destination.c_str(), nullptr, ExtractPurpose::kForReading));
    EXPECT_EQ(48u, ReadWholeFile(folder_.File("表.mid")).size());
    EXPECT_EQ(kArchiveErrorNotFound,
              ExtractMember((lzh + ">none.mid").c_str(), destination.c_str(), nullptr, ExtractPurpose::kQuiet));
    EXPECT_EQ(0, ExtractRelatedMembers({lzh + ">x.mid", lzh + ">readme.txt"}, destination.c_str(), nullptr,
                                       ExtractPurpose::kQuiet));
    EXPECT_EQ(21u, ReadWholeFile(folder_.File("readme.txt")).size());
}

TEST_F(Archivers, LibraryEntriesTakeTheProgramsCommandLines) {
    HMODULE unlha = Library("UNLHA32.DLL");
    HMODULE unzip = Library("UNZIP32.DLL");
    ASSERT_TRUE(unlha && unzip);
    auto lha = reinterpret_cast<CommandFn>(reinterpret_cast<void*>(GetProcAddress(unlha, "Unlha")));
    auto mem = reinterpret_cast<ExtractMemFn>(reinterpret_cast<void*>(GetProcAddress(unzip, "UnZipExtractMem")));
    ASSERT_TRUE(lha && mem);
    ASSERT_TRUE(folder_.MakeFolder("out"));
    const std::string out = folder_.File("out");

    char output[514] = {};
    std::string line =
        ExtractCommandLine(kArchiveLzh, ExtractPurpose::kShown, TestDataPath("lzh/songs.lzh"), out, "x.mid");
    EXPECT_EQ(0, lha(nullptr, line.c_str(), output, sizeof output)) << output;
    EXPECT_EQ(48u, ReadWholeFile(out + "\\x.mid").size());

    // "..\evil.mid" is refused; ok.mid beside it still arrives.
    line = "x \"" + TestDataPath("lzh/hostile.lzh") + "\" \"" + out + "\\\"";
    EXPECT_EQ(kArchiverErrorUnsafeName, lha(nullptr, line.c_str(), output, sizeof output));
    EXPECT_NE(nullptr, std::strstr(output, "refused")) << output;
    EXPECT_EQ(42u, ReadWholeFile(out + "\\ok.mid").size());
    EXPECT_EQ("", ReadWholeFile(folder_.File("evil.mid")));
    // A short output buffer is filled and terminated, never overrun.
    char shortOutput[8];
    std::memset(shortOutput, 'z', sizeof shortOutput);
    lha(nullptr, line.c_str(), shortOutput, 4);
    EXPECT_EQ('\0', shortOutput[3]);
    EXPECT_EQ('z', shortOutput[4]);

    uint8_t bytes[64] = {};
    DWORD written = 0;
    WORD attributes = 1;
    time_t stamp = 0;
    line = MemoryCommandLine(kArchiveZip, TestDataPath("zip/stored.zip"), "songs/a.mid");
    EXPECT_EQ(0, mem(nullptr, line.c_str(), bytes, sizeof bytes, &stamp, &attributes, &written));
    EXPECT_EQ(48u, written);
    EXPECT_EQ(0, std::memcmp(bytes, "MThd", 4));
    EXPECT_EQ(0, attributes);
    EXPECT_NE(0, stamp);
    FreeLibrary(unlha);
    FreeLibrary(unzip);
}

TEST_F(Archivers, DeviceWildcardQuoteAndColonNamesNeverReachALibrary) {
    // Through the libraries as the program uses them: "*.mid" would bring out
    // every song, NUL.mid and con/x.mid would be written to devices and
    // reported as extracted, a quote would split the command line, a colon
    // would write a stream of "a".
    const std::string zip = folder_.File("names.zip");
    const std::vector<std::string> hostile = {"*.mid",     "NUL.mid",   "aux",    "con/x.mid",
                                              "Com1 .mid", "a\" b.mid", "a:b.mid"};
    std::vector<std::string> names = hostile;
    names.insert(names.end(), {"a.mid", "b.mid", "a"});
    ASSERT_TRUE(WriteWholeFile(zip, StoredZip(names, "MThd")));
    const std::string destination = folder_.Path().substr(0, folder_.Path().size() - 1);
    for (const std::string& name : hostile) {
        EXPECT_EQ(kArchiverErrorUnsafeName,
                  ExtractMember((zip + ">" + name).c_str(), destination.c_str(), nullptr, ExtractPurpose::kQuiet))
            << name;
    }
    for (const char* other : {"a.mid", "b.mid", "a", "x.mid"}) {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder_.File(other).c_str())) << other;
    }
    EXPECT_EQ(0, ExtractMember((zip + ">b.mid").c_str(), destination.c_str(), nullptr, ExtractPurpose::kQuiet));
    EXPECT_EQ("MThd", ReadWholeFile(folder_.File("b.mid")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(folder_.File("a.mid").c_str()));

    // Our own library refuses a device name that another program hands it.
    HMODULE unzip = Library("UNZIP32.DLL");
    ASSERT_TRUE(unzip);
    auto command = reinterpret_cast<CommandFn>(reinterpret_cast<void*>(GetProcAddress(unzip, "UnZip")));
    ASSERT_TRUE(command);
    char output[514] = {};
    const std::string line = ExtractCommandLine(kArchiveZip, ExtractPurpose::kQuiet, zip, destination, "NUL.mid");
    EXPECT_EQ(kArchiverErrorUnsafeName, command(nullptr, line.c_str(), output, sizeof output));
    EXPECT_NE(nullptr, std::strstr(output, "NUL.mid: refused")) << output;
    FreeLibrary(unzip);
}

// Streamed archives and UTF-8 member names, read and extracted by our
// UNZIP32.DLL with the program's command lines.
TEST_F(Archivers, StreamedAndUtf8NamedZipMembersComeOutOfOurLibrary) {
    HMODULE unzip = Library("UNZIP32.DLL");
    ASSERT_TRUE(unzip);
    auto mem = reinterpret_cast<ExtractMemFn>(reinterpret_cast<void*>(GetProcAddress(unzip, "UnZipExtractMem")));
    ASSERT_TRUE(mem);
    const std::string destination = folder_.Path().substr(0, folder_.Path().size() - 1);
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
        EXPECT_EQ(
            0, ExtractMember((archive + ">" + c.member).c_str(), destination.c_str(), nullptr, ExtractPurpose::kShown))
            << c.member;
        EXPECT_EQ(written, ReadWholeFile(folder_.File(c.file)).size()) << c.member;
    }
    FreeLibrary(unzip);
}

}  // namespace
