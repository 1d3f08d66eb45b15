// Streamed ZIP archives, whose local headers leave the sizes to a data
// descriptor after the data (written by zip and Python's zipfile to a pipe,
// tests/data/zip): listed and read through the central directory, and a
// streamed archive cut before its directory reported as damaged.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveList.h"
#include "catalogue/archive/ZipHeader.h"
#include "core/FileFinder.h"
#include "core/SongFile.h"
#include "tools/cli/CliCommands.h"

namespace {

class StreamedZip : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveAvailable(kArchiveZip, true);
        InstallArchiveAccess();
    }
    static std::string Zip(const char* name) {
        return TestDataPath(std::string("zip/") + name);
    }
    // The bytes of a member of the archive that zip wrote to a file.
    static std::string Reference(const char* member) {
        MemberBytes bytes;
        EXPECT_EQ(0, ReadWholeMember(kArchiveZip, Zip("deflated.zip").c_str(), member, &bytes)) << member;
        return std::string(reinterpret_cast<const char*>(bytes.bytes.get()), bytes.size);
    }
};

struct Listed {
    std::string name;
    uint32_t size;
    bool operator==(const Listed& other) const {
        return name == other.name && size == other.size;
    }
};

std::ostream& operator<<(std::ostream& out, const Listed& listed) {
    return out << listed.name << " (" << listed.size << ")";
}

std::vector<Listed> List(const std::string& archive, int* end) {
    std::unique_ptr<ArchiveList> list = OpenArchiveList(kArchiveZip, archive.c_str(), nullptr);
    std::vector<Listed> listed;
    ArchiveEntry entry;
    int result = FindFirstMember(list.get(), "*.*", &entry);
    for (; result == 0; result = FindNextMember(list.get(), &entry)) {
        EXPECT_EQ(entry.dosDate, 0x3c21) << entry.name;
        EXPECT_EQ(entry.dosTime, 0x645c) << entry.name;
        listed.push_back({entry.name, entry.size});
    }
    *end = result;
    return listed;
}

TEST_F(StreamedZip, MembersAreListedWithTheSizesOfTheCentralDirectory) {
    const struct {
        const char* file;
        std::vector<Listed> members;
    } cases[] = {
        // zip leaves out empty members; Python deflates them into 2 bytes.
        {"zip-pipe.zip",
         {{"songs/a.mid", 48}, {"songs/text.txt", 11200}, {"songs/sub/b.mid", 47}, {"songs/\x95\\.mid", 48}}},
        {"pipe-python.zip",
         {{"songs/a.mid", 48}, {"songs/text.txt", 11200}, {"songs/sub/b.mid", 47}, {"songs/empty.mid", 0}}},
    };
    for (const auto& c : cases) {
        int end = 0;
        EXPECT_EQ(List(Zip(c.file), &end), c.members) << c.file;
        EXPECT_EQ(end, kArchiveNoMore) << c.file;
    }
}

TEST_F(StreamedZip, MembersReadAndExtractLikeThoseOfAnOrdinaryArchive) {
    ScratchFolder folder;
    const std::string destination = folder.Path().substr(0, folder.Path().size() - 1);
    for (const char* file : {"zip-pipe.zip", "pipe-python.zip"}) {
        for (const char* member : {"songs/a.mid", "songs/text.txt", "songs/sub/b.mid"}) {
            const std::string path = Zip(file) + ">" + member;
            const std::string expected = Reference(member);
            // In memory, the size looked up in a listing and given by the caller.
            for (uint32_t size : {0u, uint32_t(expected.size())}) {
                SongOpenRequest request;
                request.memberSize = size;
                uint32_t error = 99;
                std::unique_ptr<SongFile> song = OpenSongFile(path.c_str(), request, &error);
                ASSERT_NE(song, nullptr) << path;
                EXPECT_EQ(error, 0u);
                ASSERT_EQ(song->Size(nullptr), expected.size()) << path;
                EXPECT_EQ(std::string(reinterpret_cast<const char*>(song->Buffer()), expected.size()), expected)
                    << path;
            }
            // To disk, as for a player.
            ASSERT_EQ(0, ExtractMemberOwn(path.c_str(), destination.c_str())) << path;
            const std::string name = std::string(member).substr(std::string(member).find_last_of('/') + 1);
            EXPECT_EQ(ReadWholeFile(folder.File(name)), expected) << path;
        }
    }
}

TEST_F(StreamedZip, AStreamedArchiveWithoutItsDirectoryIsReportedDamaged) {
    // The local headers alone cannot tell where the next member begins.
    int end = 0;
    EXPECT_TRUE(List(Zip("pipe-python-cut.zip"), &end).empty());
    EXPECT_EQ(end, kArchiveErrorBroken);
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, (Zip("pipe-python-cut.zip") + ">*.*").c_str(), nullptr);
    EXPECT_FALSE(finder->Found());
    EXPECT_EQ(finder->Error(), uint32_t(kArchiveErrorBroken));
    // An archive that is whole and simply holds nothing matching is no error.
    finder = FinderOpen(&record, (Zip("pipe-python.zip") + ">*.rcp").c_str(), nullptr);
    EXPECT_FALSE(finder->Found());
    EXPECT_EQ(finder->Error(), 0u);

    std::ostringstream out, err;
    EXPECT_EQ(kCliFailed, RunCli({"list", Zip("pipe-python-cut.zip")}, out, err));
    EXPECT_NE(std::string::npos, err.str().find("damaged archive")) << err.str();
    EXPECT_EQ("", out.str());
}

TEST_F(StreamedZip, AFolderListsTheSongsOfItsStreamedArchives) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("p.zip"), ReadWholeFile(Zip("pipe-python.zip"))));
    ASSERT_TRUE(WriteWholeFile(folder.File("z.zip"), ReadWholeFile(Zip("zip-pipe.zip"))));
    std::ostringstream out, err;
    ASSERT_EQ(kCliSuccess, RunCli({"list", folder.Path(), "--no-cache-update"}, out, err));
    const std::string listed = out.str();
    for (const char* row :
         {"p.zip>songs/a.mid\tsongs/a\tZip Song A\t", "p.zip>songs/sub/b.mid\tsongs/sub/b\t表ソ Song\t",
          "z.zip>songs/a.mid\tsongs/a\tZip Song A\t", "z.zip>songs/表.mid\tsongs/表\tZip Song A\t"}) {
        EXPECT_NE(std::string::npos, listed.find(row)) << row << "\n" << listed;
    }
    EXPECT_EQ("", err.str());
}

TEST(ZipDirectory, EndRecordsLeadToTheFirstEntry) {
    const std::string bytes = ReadWholeFile(TestDataPath("zip/pipe-python.zip"));
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    ArchiveSource source(&file);
    ZipDirectory directory;
    ASSERT_TRUE(FindZipDirectory(&source, &directory));
    EXPECT_EQ(directory.count, 5u);
    ZipEntry entry;
    uint32_t next = 0;
    ASSERT_EQ(ReadZipDirectoryEntry(&source, directory.offset, &entry, &next), 0);
    EXPECT_EQ(entry.name, "songs/");
    ASSERT_EQ(ReadZipDirectoryEntry(&source, next, &entry, &next), 0);
    EXPECT_EQ(entry.name, "songs/a.mid");
    EXPECT_EQ(entry.crc, 0x1d5e624fu);
    EXPECT_EQ(entry.packedSize, 0x2fu);
    ASSERT_EQ(LocateZipData(&source, &entry), 0);
    EXPECT_EQ(entry.dataOffset, entry.headerOffset + 30 + 11);
    // zip read from a pipe: Zip64 local headers without sizes.
    const std::string zip64 = ReadWholeFile(TestDataPath("zip/streamed.zip"));
    MemorySongFile zip64File(zip64.data(), uint32_t(zip64.size()));
    ArchiveSource zip64Source(&zip64File);
    ASSERT_TRUE(FindZipDirectory(&zip64Source, &directory));
    ASSERT_EQ(ReadZipDirectoryEntry(&zip64Source, directory.offset, &entry, &next), 0);
    EXPECT_EQ(entry.name, "-");
    EXPECT_EQ(entry.size, 0x2au);
    // No end record: the archive written by hand, or one cut short.
    for (const char* cut : {"zip/pipe-python-cut.zip", "zip/truncated.zip"}) {
        const std::string cutBytes = ReadWholeFile(TestDataPath(cut));
        MemorySongFile cutFile(cutBytes.data(), uint32_t(cutBytes.size()));
        ArchiveSource cutSource(&cutFile);
        EXPECT_FALSE(FindZipDirectory(&cutSource, &directory)) << cut;
    }
}

}  // namespace
