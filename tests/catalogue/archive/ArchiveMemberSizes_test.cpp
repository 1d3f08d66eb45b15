// Members whose headers claim more than they hold, or more than is read into
// memory for the song readers: such a member cannot be read into memory and
// costs no memory for its claim, the rest of its archive still lists and
// reads, and extraction to disk streams members of any real size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArchiveReadWatch.h"
#include "TestPaths.h"
#include "bench/BenchSongs.h"
#include "catalogue/StoredArchives.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveSource.h"
#include "catalogue/archive/LzhHeader.h"
#include "catalogue/archive/MemberData.h"
#include "catalogue/archive/ZipHeader.h"
#include "core/FileFinder.h"

namespace {

using namespace stored;

constexpr uint32_t kMiB = 1u << 20;
// Far above what the honest members here need, far below every claim.
constexpr uint64_t kSmall = 1 * kMiB;

class MemberSizes : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveAvailable(kArchiveLzh, true);
        SetArchiveAvailable(kArchiveZip, true);
        InstallArchiveAccess();
        ResetLargestMemberBuffer();
    }

    ScratchFolder folder_;
    WatchArchiveReads watch_;
};

// The names and sizes an archive lists with, as the folder scan sees them.
std::vector<std::string> Listed(const std::string& archive, std::vector<uint64_t>* sizes) {
    std::vector<std::string> names;
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, (archive + ">*.*").c_str(), nullptr);
    for (bool found = finder->Found(); found; found = finder->Next(&record)) {
        names.push_back(record.name);
        sizes->push_back(record.size);
    }
    return names;
}

// A member read the way the title readers read it: into memory. Its bytes,
// or "" with *error set when it cannot be read.
std::string ReadSong(const std::string& path, uint32_t* error) {
    SongOpenRequest request;
    *error = 99;
    std::unique_ptr<SongFile> song = OpenSongFile(path.c_str(), request, error);
    if (!song) {
        return std::string();
    }
    return std::string(reinterpret_cast<const char*>(song->Buffer()), song->Size(nullptr));
}

TEST_F(MemberSizes, ClaimsPastTheBytesThereMakeOnlyThatMemberUnreadable) {
    const std::string one = bench::MidiSong(1);
    const std::string two = bench::MidiSong(2);
    const uint32_t held = uint32_t(bench::MidiSong(3).size());
    const struct {
        const char* what;
        uint32_t size;
        uint32_t packedSize;
        bool followed;  // a member comes after it
    } cases[] = {
        {"claims 4 GiB, holds one song", 0xFFFFFFFFu, held, true},
        {"claims 60 MiB, holds one song", 60 * kMiB, held, true},
        {"packed bytes past the archive's end", 60 * kMiB, 0xFFFFFF00u, false},
    };
    for (int kind : {kArchiveLzh, kArchiveZip}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(Extension(kind)) + ": " + c.what);
            const std::string archive = folder_.File(std::string("claims") + Extension(kind));
            ASSERT_TRUE(WriteWholeFile(archive, ArchiveWithClaim(kind, c.size, c.packedSize, c.followed)));
            ResetLargestMemberBuffer();
            readWatch = ReadWatch();

            std::vector<uint64_t> sizes;
            std::vector<std::string> expected = {"one.mid", "big.mid"};
            if (c.followed) {
                expected.push_back("two.mid");
            }
            ASSERT_EQ(Listed(archive, &sizes), expected);
            EXPECT_EQ(sizes[1], c.size);
            uint32_t error = 0;
            EXPECT_EQ(ReadSong(archive + ">one.mid", &error), one);
            EXPECT_TRUE(ReadSong(archive + ">big.mid", &error).empty());
            EXPECT_EQ(error, kErrorFileNotFound);
            if (c.followed) {
                EXPECT_EQ(ReadSong(archive + ">two.mid", &error), two);
            }
            EXPECT_LE(LargestMemberBuffer(), kSmall);
            EXPECT_LE(readWatch.bytes, kSmall);
        }
    }
}

// Puts a new uncompressed size into the header of member in an archive's bytes.
// Writes size into the central directory entry of a ZIP member, where the
// listing takes sizes from. False when there is no such entry.
bool ClaimDirectorySize(std::string* bytes, const std::string& member, uint32_t size) {
    MemorySongFile file(bytes->data(), uint32_t(bytes->size()));
    ArchiveSource source(&file);
    ZipDirectory directory;
    ZipEntry zip;
    uint32_t next = 0;
    if (!FindZipDirectory(&source, &directory)) {
        return false;
    }
    for (uint32_t offset = directory.offset; ReadZipDirectoryEntry(&source, offset, &zip, &next) == 0; offset = next) {
        if (zip.name == member) {
            for (int i = 0; i < 4; i++) {
                (*bytes)[offset + 24 + i] = char(size >> (8 * i));
            }
            return true;
        }
    }
    return false;
}

bool ClaimSize(int kind, std::string* bytes, const std::string& member, uint32_t size) {
    if (kind == kArchiveZip && !ClaimDirectorySize(bytes, member, size)) {
        return false;
    }
    MemorySongFile file(bytes->data(), uint32_t(bytes->size()));
    ArchiveSource source(&file);
    uint32_t offset = 0;
    if (kind == kArchiveLzh && !FindFirstLzhHeader(&source, &offset)) {
        return false;
    }
    for (;;) {
        LzhEntry lzh;
        ZipEntry zip;
        uint32_t next = 0;
        const int result = kind == kArchiveLzh ? ReadLzhHeader(&source, offset, LocalSecondsOfUtc, &lzh, &next)
                                               : ReadZipHeader(&source, offset, &zip, &next);
        if (result != 0) {
            return false;
        }
        if ((kind == kArchiveLzh ? lzh.name : zip.name) == member) {
            const uint32_t at = offset + (kind == kArchiveLzh ? 11 : 22);
            for (int i = 0; i < 4; i++) {
                (*bytes)[at + i] = char(size >> (8 * i));
            }
            return true;
        }
        offset = next;
    }
}

TEST_F(MemberSizes, CompressedMembersTakeMemoryOnlyForWhatTheyDecodeTo) {
    // Real -lh5- and deflated members whose headers are made to claim 60 MiB:
    // their streams end after some KiB.
    const struct {
        int kind;
        std::string source;
        const char* member;
        const char* neighbour;  // another member that still reads
    } cases[] = {
        {kArchiveLzh, CorpusPath("lzh/archives/explzh_723/h2_lh5.lzh"), "gpl-2", nullptr},
        {kArchiveZip, TestDataPath("zip/deflated.zip"), "songs/text.txt", "songs/sub/b.mid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        std::string bytes = ReadWholeFile(c.source);
        ASSERT_TRUE(ClaimSize(c.kind, &bytes, c.member, 60 * kMiB));
        const std::string archive = folder_.File(std::string("claims") + Extension(c.kind));
        ASSERT_TRUE(WriteWholeFile(archive, bytes));
        ResetLargestMemberBuffer();

        uint32_t error = 0;
        EXPECT_TRUE(ReadSong(archive + ">" + c.member, &error).empty());
        EXPECT_EQ(error, kErrorFileNotFound);
        EXPECT_LE(LargestMemberBuffer(), kSmall);
        if (c.neighbour) {
            EXPECT_EQ(ReadSong(archive + ">" + c.neighbour, &error).substr(0, 4), "MThd");
        }
    }
}

// The size of a file, or 0 when it is not there.
uint64_t FileSize(const std::string& path) {
    FindRecord record;
    return FindExact(path.c_str(), &record) ? record.size : 0;
}

TEST_F(MemberSizes, MembersPastTheMemoryLimitAreNotReadButExtractInPieces) {
    // Stored members that really are that large, held by sparse files: the
    // bytes between the headers read as zeros.
    const std::string one = bench::MidiSong(1);
    const std::string two = bench::MidiSong(2);
    const struct {
        uint32_t size;
        bool extract;
    } cases[] = {
        {kMemberInMemoryMax + 4096, true}, {0xF0000000u, false},  // 3.75 GiB: not written out here
    };
    const std::string zeros(kMiB, '\0');
    for (int kind : {kArchiveLzh, kArchiveZip}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(Extension(kind)) + " member of " + std::to_string(c.size) + " bytes");
            uint32_t crc = 0;
            for (uint32_t done = 0; c.extract && done < c.size; done += kMiB) {
                const size_t n = std::min<size_t>(kMiB, c.size - done);
                crc = kind == kArchiveLzh ? LzhCrc16(reinterpret_cast<const uint8_t*>(zeros.data()), n, uint16_t(crc))
                                          : ZipCrc32From(reinterpret_cast<const uint8_t*>(zeros.data()), n, crc);
            }
            const std::string head = Member(kind, "one.mid", one) + Header(kind, "big.bin", c.size, c.size, crc);
            const std::string archive = folder_.File(std::string("large") + Extension(kind));
            ASSERT_TRUE(WritePieces(
                archive, {{0, head}, {uint64_t(head.size()) + c.size, Member(kind, "two.mid", two) + End(kind)}}));
            ResetLargestMemberBuffer();
            readWatch = ReadWatch();

            std::vector<uint64_t> sizes;
            ASSERT_EQ(Listed(archive, &sizes), (std::vector<std::string>{"one.mid", "big.bin", "two.mid"}));
            EXPECT_EQ(sizes[1], c.size);
            uint32_t error = 0;
            EXPECT_TRUE(ReadSong(archive + ">big.bin", &error).empty());
            EXPECT_EQ(error, kErrorFileNotFound);
            EXPECT_EQ(ReadSong(archive + ">two.mid", &error), two);
            EXPECT_EQ(ReadSong(archive + ">one.mid", &error), one);
            EXPECT_LE(readWatch.bytes, kSmall);
            EXPECT_LE(LargestMemberBuffer(), kSmall);

            if (c.extract) {
                const std::string out = folder_.File(std::string("out") + Extension(kind));
                ASSERT_TRUE(folder_.MakeFolder(std::string("out") + Extension(kind)));
                EXPECT_EQ(ExtractMemberOwn((archive + ">big.bin").c_str(), out.c_str()), 0);
                EXPECT_EQ(FileSize(out + "\\big.bin"), c.size);
                EXPECT_LE(readWatch.largest, kSmall);
                EXPECT_LE(LargestMemberBuffer(), kSmall);
            }
        }
    }
}

}  // namespace
