// ZIP members through the local header walk, the listings, the finder and
// the song file reader, on archives made by Debian's zip (tests/data/zip).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveList.h"
#include "catalogue/archive/LzhHeader.h"
#include "catalogue/archive/ZipHeader.h"
#include "core/SongFile.h"

namespace {

class ZipArchive : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveAvailable(kArchiveLzh, true);
        SetArchiveAvailable(kArchiveZip, true);
        InstallArchiveAccess();
    }
    static std::string Zip(const char* name) {
        return TestDataPath(std::string("zip/") + name);
    }
};

std::vector<std::string> ListNames(const std::string& archive, const char* pattern, int* end) {
    std::unique_ptr<ArchiveList> list = OpenArchiveList(kArchiveZip, archive.c_str(), nullptr);
    std::vector<std::string> names;
    ArchiveEntry entry;
    int result = FindFirstMember(list.get(), pattern, &entry);
    for (; result == 0; result = FindNextMember(list.get(), &entry)) {
        names.push_back(entry.name);
    }
    *end = result;
    return names;
}

TEST_F(ZipArchive, ListingSkipsFoldersAndEmptyMembers) {
    int end = 0;
    std::vector<std::string> names = ListNames(Zip("deflated.zip"), "*.*", &end);
    std::vector<std::string> expected = {"songs/a.mid", "songs/text.txt", "songs/sub/b.mid", "songs/\x95\\.mid"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(end, kArchiveNoMore);
    names = ListNames(Zip("deflated.zip"), "*.MID", &end);
    expected = {"songs/a.mid", "songs/sub/b.mid", "songs/\x95\\.mid"};
    EXPECT_EQ(names, expected);
}

TEST_F(ZipArchive, BrokenArchivesEndTheListingWithAnError) {
    const struct {
        const char* file;
        int end;
    } cases[] = {
        {"notzip.zip", kArchiveErrorBroken},
        {"truncated.zip", kArchiveErrorBroken},
    };
    for (const auto& c : cases) {
        int end = 0;
        ListNames(Zip(c.file), "*.*", &end);
        EXPECT_EQ(end, c.end) << c.file;
    }
    EXPECT_EQ(OpenArchiveList(kArchiveZip, Zip("missing.zip").c_str(), nullptr), nullptr);
}

TEST_F(ZipArchive, HeaderWalkReadsTheLocalHeaders) {
    std::string bytes = ReadWholeFile(Zip("stored.zip"));
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    ArchiveSource source(&file);
    ZipEntry entry;
    uint32_t next = 0;
    ASSERT_EQ(ReadZipHeader(&source, 0, &entry, &next), 0);
    EXPECT_EQ(entry.name, "songs/a.mid");
    EXPECT_EQ(entry.dosDate, 0x3c21);
    EXPECT_EQ(entry.dosTime, 0x645c);
    EXPECT_EQ(entry.size, 48u);
    EXPECT_EQ(entry.crc, 0x1d5e624fu);
    EXPECT_EQ(next, 30u + 11 + 48);
    // A name longer than 511 bytes.
    std::string longName = bytes.substr(0, 30) + std::string(600, 'n');
    longName[26] = char(600 & 0xFF);
    longName[27] = char(600 >> 8);
    MemorySongFile longFile(longName.data(), uint32_t(longName.size()));
    ArchiveSource longSource(&longFile);
    EXPECT_EQ(ReadZipHeader(&longSource, 0, &entry, &next), kArchiveErrorLongName);
}

TEST_F(ZipArchive, MembersReadIntoMemoryMatchTheirFiles) {
    const std::string a = ReadWholeFile(Zip("stored.zip")).substr(30 + 11, 48);
    const struct {
        std::string path;
        uint32_t size;
    } cases[] = {
        {Zip("stored.zip") + ">songs/a.mid", 48},
        {Zip("deflated.zip") + ">songs/a.mid", 0},  // size looked up in a listing
        {Zip("deflated.zip") + ">SONGS/A.MID", 0},
        {Zip("deflated.zip") + ">songs/\x95\\.mid", 48},
    };
    for (const auto& c : cases) {
        SongOpenRequest request;
        request.memberSize = c.size;
        uint32_t error = 99;
        std::unique_ptr<SongFile> song = OpenSongFile(c.path.c_str(), request, &error);
        ASSERT_NE(song, nullptr) << c.path;
        EXPECT_EQ(error, 0u);
        EXPECT_EQ(song->ArchiveKind(), kArchiveZip);
        ASSERT_EQ(song->Size(nullptr), 48u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(song->Buffer()), 48), a) << c.path;
    }
    uint8_t text[11200];
    EXPECT_EQ(ReadMemberToMemory(kArchiveZip, Zip("deflated.zip").c_str(), "songs/text.txt", text, sizeof text), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 28), "Lorem ipsum dolor sit amet. ");
}

TEST_F(ZipArchive, MembersThatCannotBeProducedReportNotFound) {
    const std::string cases[] = {
        Zip("deflated.zip") + ">songs/none.mid",
        Zip("deflated.zip") + ">songs/empty.mid",  // size 0
        Zip("notzip.zip") + ">a.mid",
        Zip("missing.zip") + ">a.mid",
        Zip("truncated.zip") + ">songs/text.txt",
    };
    for (const std::string& path : cases) {
        SongOpenRequest request;
        uint32_t error = 0;
        EXPECT_EQ(OpenSongFile(path.c_str(), request, &error), nullptr) << path;
        EXPECT_EQ(error, kErrorFileNotFound) << path;
    }
    uint8_t out[48];
    EXPECT_EQ(ReadMemberToMemory(kArchiveZip, Zip("deflated.zip").c_str(), "x.mid", out, 48), kArchiveErrorNotFound);
    EXPECT_EQ(ReadMemberToMemory(kArchiveZip, Zip("missing.zip").c_str(), "x.mid", out, 48), kArchiveErrorCannotOpen);
}

TEST_F(ZipArchive, FinderRecordsReadBackAsTheStoredLocalTime) {
    FindRecord record;
    std::string pattern = Zip("stored.zip") + ">*.mid";
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, pattern.c_str(), nullptr);
    ASSERT_TRUE(finder->Found());
    EXPECT_EQ(finder->Error(), 0u);
    EXPECT_EQ(record.name, "songs/a.mid");
    EXPECT_EQ(record.size, 48u);
    EXPECT_EQ(record.attributes, 0u);
    int64_t utc = int64_t(record.lastWriteTime / 10000000ULL) - 11644473600LL;
    int64_t local = 0;
    ASSERT_TRUE(LocalSecondsOfDos(0x3c21, 0x645c, &local));
    EXPECT_EQ(LocalSecondsOfUtc(utc), local);
    EXPECT_FALSE(finder->Next(&record));

    std::string missing = Zip("missing.zip") + ">*.*";
    std::unique_ptr<FileFinder> none = FinderOpen(&record, missing.c_str(), nullptr);
    EXPECT_FALSE(none->Found());
    EXPECT_EQ(none->Error(), uint32_t(-1));
}

TEST_F(ZipArchive, FileModeCopiesAreDeletedUnlessTheyExisted) {
    ScratchFolder scratch;
    std::string folder = scratch.File("Kadrel.$$$");
    SetWorkingFolder(folder);
    std::string path = Zip("deflated.zip") + ">songs/sub/b.mid";
    SongOpenRequest request;
    request.flags = 0;
    uint32_t error = 99;
    {
        std::unique_ptr<SongFile> song = OpenSongFile(path.c_str(), request, &error);
        ASSERT_NE(song, nullptr);
        EXPECT_EQ(error, 0u);
        EXPECT_EQ(std::string(song->OpenedPath()), folder + "\\b.mid");
        char head[4];
        uint32_t got = 0;
        EXPECT_TRUE(song->Read(head, 4, &got));
        EXPECT_EQ(std::string(head, got), "MThd");
        EXPECT_EQ(ReadWholeFile(folder + "/b.mid").size(), 47u);
    }
    EXPECT_TRUE(ReadWholeFile(folder + "/b.mid").empty());
    ASSERT_TRUE(WriteWholeFile(folder + "/b.mid", "old"));
    {
        std::unique_ptr<SongFile> song = OpenSongFile(path.c_str(), request, &error);
        ASSERT_NE(song, nullptr);
    }
    EXPECT_EQ(ReadWholeFile(folder + "/b.mid").size(), 47u);  // overwritten by the extraction, kept
    std::string bad = Zip("deflated.zip") + ">songs/none.mid";
    EXPECT_EQ(OpenSongFile(bad.c_str(), request, &error), nullptr);
    EXPECT_EQ(error, kErrorFileNotFound);
    SetWorkingFolder("");
}

TEST(ArchiveKind, RecognisesArchivesByExtension) {
    SetArchiveAvailable(kArchiveLzh, true);
    SetArchiveAvailable(kArchiveZip, true);
    SetArchiveAvailable(kArchiveGca, false);
    const struct {
        const char* path;
        int kind;
    } cases[] = {
        {"D:\\music\\set.lzh>song.mid", kArchiveLzh},
        {"D:\\music\\SET.LZH>*.*", kArchiveLzh},
        {"a.zip>x", kArchiveZip},
        {"a.NEO>x", kArchiveZip},
        {"a.gca>x", kArchiveNone},  // no library
        {".lzh>x", kArchiveNone},   // shorter than 6 bytes
        {"D:\\music\\set.lzh", kArchiveNone},
        {"D:\\a.lzh\\b.mid", kArchiveNone},
        {"D:\\x.mid>a.lzh>y", kArchiveNone},  // only the first '>' counts
        {"\x95\\.lzh>a", kArchiveLzh},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ArchiveKindOfPath(c.path, false), c.kind) << c.path;
    }
    EXPECT_EQ(ArchiveKindOfPath("set.lzh>", true), kArchiveLzh);
    EXPECT_EQ(ArchiveKindOfPath("set.lzh>a.mid", true), kArchiveNone);
    EXPECT_EQ(ArchiveKindOfName("song.LZH"), kArchiveLzh);
    EXPECT_EQ(ArchiveKindOfName(".zip"), kArchiveNone);
    EXPECT_EQ(ArchiveKindOfName("x.neo"), kArchiveZip);
    SetArchiveAvailable(kArchiveZip, false);
    EXPECT_EQ(ArchiveKindOfName("x.zip"), kArchiveNone);
    EXPECT_EQ(ArchiveKindOfPath("a.zip>x", false), kArchiveNone);
    SetArchiveAvailable(kArchiveZip, true);
}

}  // namespace
