// LZH archives through the finder and the song file reader: members listed
// like folder entries and decoded into memory by our own decoder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/FileFinder.h"
#include "core/SongFile.h"

namespace {

class LzhArchive : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveAvailable(kArchiveLzh, true);
        InstallArchiveAccess();
    }
    static std::string Archive(const char* rel) {
        return CorpusPath(std::string("lzh/archives/") + rel);
    }
};

TEST_F(LzhArchive, FinderListsMatchingMembers) {
    const struct {
        const char* archive;
        const char* pattern;
        const char* names;
    } cases[] = {
        {"explzh_723/h2_subdir.lzh", "*.*", "subdir/|subdir/subdir2/|subdir/subdir2/hello.txt"},
        {"explzh_723/h2_subdir.lzh", "*.txt", "subdir/subdir2/hello.txt"},
        {"regression/multiple.lzh", "file2*", "file2-1.txt|file2-2.txt"},
        {"regression/multiple.lzh", "FILE?.TXT", "file1.txt|file3.txt|file4.txt"},
        {"lha213/sfx.exe", "*.*", ""},  // ".exe" is no archive path: a plain search finds nothing
    };
    for (const auto& c : cases) {
        std::string path = Archive(c.archive) + ">" + c.pattern;
        FindRecord record;
        std::string names;
        std::unique_ptr<FileFinder> finder = FinderOpen(&record, path.c_str(), nullptr);
        for (bool found = finder->Found(); found; found = finder->Next(&record)) {
            names += (names.empty() ? "" : "|") + record.name;
        }
        EXPECT_EQ(names, c.names) << path;
    }
}

TEST_F(LzhArchive, FolderEntriesCarryTheFolderAttribute) {
    std::string path = Archive("explzh_723/h1_subdir.lzh") + ">*.*";
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, path.c_str(), nullptr);
    ASSERT_TRUE(finder->Found());
    EXPECT_EQ(record.attributes, kAttrDirectory);
    ASSERT_TRUE(finder->Next(&record));
    ASSERT_TRUE(finder->Next(&record));
    EXPECT_EQ(record.name, "subdir/subdir2/hello.txt");
    EXPECT_EQ(record.attributes, 0u);
    EXPECT_EQ(record.size, 12u);
}

TEST_F(LzhArchive, MembersDecodeIntoMemory) {
    const std::string gpl = ReadWholeFile(CorpusPath("lzh/content/gpl-2"));
    for (const char* archive :
         {"explzh_723/h2_lh5.lzh>GPL-2", "lha_amiga_122/lh1.lzh>gpl-2", "lharc_atari_313a/lz5.lzh>gpl2"}) {
        std::string path = Archive(archive);
        SongOpenRequest request;
        uint32_t error = 99;
        std::unique_ptr<SongFile> song = OpenSongFile(path.c_str(), request, &error);
        ASSERT_NE(song, nullptr) << archive;
        EXPECT_EQ(error, 0u);
        EXPECT_EQ(song->ArchiveKind(), kArchiveLzh);
        ASSERT_EQ(song->Size(nullptr), gpl.size()) << archive;
        EXPECT_TRUE(std::string(reinterpret_cast<const char*>(song->Buffer()), gpl.size()) == gpl) << archive;
    }
}

TEST_F(LzhArchive, BrokenMembersAreNotProduced) {
    const char* paths[] = {
        "regression/truncated.lzh>GPL-2",  // cut short
        "lhark04d/lh7.lzh>GPL-2",          // checksum does not match
        "unlha32/h2_lhx.lzh>GPL-2",        // unknown method
        "lha_os2_208/h3_lh5.lzh>gpl-2",    // header level 3
        "explzh_723/h2_lh5.lzh>none",
    };
    for (const char* rel : paths) {
        std::string path = Archive(rel);
        SongOpenRequest request;
        uint32_t error = 0;
        EXPECT_EQ(OpenSongFile(path.c_str(), request, &error), nullptr) << rel;
        EXPECT_EQ(error, kErrorFileNotFound) << rel;
    }
}

}  // namespace
