// GCA archives through a GCA library loaded as the program loads a user's
// UnGCA32.dll: the test stand-in of tools/ungca32 (built into testlib\, never
// shipped) serves its test container through the library's entry points.
// Listing, reading members into memory and through a work file, extraction
// for the players, and quillory-cli listing a folder that holds one.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/SongReaders.h"
#include "app/WindowTestSupport_win.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveList.h"
#include "catalogue/archive/Archivers.h"
#include "core/FileFinder.h"
#include "core/SongFile.h"
#include "core/Text.h"
#include "tests/catalogue/CliProgram_win.h"
#include "tests/catalogue/archive/GcaTestContainer.h"

namespace {

std::string TestLibraryFolder() {
    return BuildFolder() + "testlib";
}

// A song whose title has trail bytes 0x5C, from the MIDI fixtures.
std::string Song() {
    return ReadWholeFile(TestDataPath("midi/sjis-5c-title.mid"));
}
const char kSongTitle[] = "表示ソフト能力テスト";

class GcaLibrary : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiverFolder(TestLibraryFolder());
        LoadArchivers();
        InstallArchiveAccess();
        SetWorkingFolder(folder_.File("work"));
        archive_ = folder_.File("set.gca");
        ASSERT_TRUE(WriteWholeFile(archive_, GcaTestContainer({
                                                 {"music/song.mid", Song()},
                                                 {"music/song.wrd", "@MAG(pic.mag)\r\n"},
                                                 {"music/pic.mag", "picture", 1},
                                             })));
    }
    void TearDown() override {
        FreeArchivers();
        SetArchiverFolder("");
        SetWorkingFolder("");
    }
    std::string Member(const std::string& name) const {
        return archive_ + ">" + name;
    }
    ScratchFolder folder_;
    std::string archive_;
};

TEST_F(GcaLibrary, TheStandInLoadsAsAUsersLibraryAndListsItsContainer) {
    EXPECT_EQ(7, ArchiverVersion(kArchiveGca));
    ASSERT_TRUE(ArchiveAvailable(kArchiveGca));
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, Member("*.*").c_str(), nullptr);
    std::vector<std::string> names;
    for (bool more = finder->Found(); more; more = finder->Next(&record)) {
        names.push_back(record.name + " " + std::to_string(record.size) + " " + std::to_string(record.attributes));
    }
    const std::vector<std::string> expected = {"music/song.mid " + std::to_string(Song().size()) + " 0",
                                               "music/song.wrd 15 0", "music/pic.mag 7 1"};
    EXPECT_EQ(expected, names);

    // A container cut inside its first record is damage, not an empty archive.
    const std::string cut = folder_.File("cut.gca");
    ASSERT_TRUE(WriteWholeFile(cut, GcaTestContainer({{"a.mid", "MThd"}}).substr(0, 12)));
    finder = FinderOpen(&record, (cut + ">*.*").c_str(), nullptr);
    EXPECT_FALSE(finder->Found());
    EXPECT_EQ(uint32_t(kArchiveErrorBroken), finder->Error());
}

TEST_F(GcaLibrary, MembersAreReadInMemoryThroughAWorkFileAndExtractedForPlayers) {
    char title[kTitleBufferBytes] = {};
    CopyBounded(title, Member("music/song.mid").c_str(), sizeof title - 1);
    ReadSongInfo(nullptr, title, nullptr, -1, "[なし]", true);
    EXPECT_STREQ(kSongTitle, title);

    // Through a work file, which goes again when the reader closes.
    SongOpenRequest request;
    request.flags = 0;
    uint32_t error = 1;
    std::unique_ptr<SongFile> file = OpenSongFile(Member("music/song.wrd").c_str(), request, &error);
    ASSERT_TRUE(file) << error;
    char bytes[32] = {};
    uint32_t count = 0;
    EXPECT_TRUE(file->Read(bytes, 15, &count));
    EXPECT_EQ("@MAG(pic.mag)\r\n", std::string(bytes, count));
    EXPECT_EQ(folder_.File("work") + "\\song.wrd", file->OpenedPath());
    file.reset();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder_.File("work") + "\\song.wrd").c_str()));

    ASSERT_TRUE(folder_.MakeFolder("out"));
    EXPECT_EQ(0, ExtractRelatedMembers({Member("music/song.mid"), Member("music/pic.mag")}, folder_.File("out").c_str(),
                                       nullptr, ExtractPurpose::kQuiet));
    EXPECT_EQ(Song(), ReadWholeFile(folder_.File("out/song.mid")));
    EXPECT_EQ("picture", ReadWholeFile(folder_.File("out/pic.mag")));
    EXPECT_EQ(kArchiveErrorNotFound, ExtractMember(Member("music/none.mid").c_str(), folder_.File("out").c_str(),
                                                   nullptr, ExtractPurpose::kQuiet));
}

TEST_F(GcaLibrary, TheCliListsTheSongsTitleWithTheLibraryOnThePath) {
    // The Windows quillory-cli.exe finds the library on the PATH, where a
    // user's own may be installed.
    char path[32768] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    SetEnvironmentVariableA("PATH", (TestLibraryFolder() + ";" + path).c_str());
    const std::string folder = folder_.Path().substr(0, folder_.Path().size() - 1);
    const CliProgramRun run = RunCliProgram("list \"" + folder + "\" --no-cache-update", folder_.File("out.txt"));
    SetEnvironmentVariableA("PATH", path);
    ASSERT_TRUE(run.finished);
    EXPECT_NE(std::string::npos, run.out.find(std::string("set.gca>music/song.mid\tmusic/song\t") + kSongTitle + "\t"))
        << run.out;
}

}  // namespace
