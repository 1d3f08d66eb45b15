// Archives of many songs: listing one and reading every member, or
// extracting them all, reads the archive in proportion to its members. A
// member read goes to the header the listing found, instead of walking the
// archive from its start again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArchiveReadWatch.h"
#include "TestPaths.h"
#include "bench/BenchSongs.h"
#include "catalogue/StoredArchives.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiversOwn.h"
#include "core/FileFinder.h"

namespace {

using namespace stored;

// Doubling the members may at most about double the work.
constexpr double kLinearRatio = 2.2;
constexpr int kMembers = 1000;
// Fewer for extraction, which writes a file per member.
constexpr int kExtractedMembers = 250;

class ManyMembers : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveAvailable(kArchiveLzh, true);
        SetArchiveAvailable(kArchiveZip, true);
        InstallArchiveAccess();
    }

    // Writes an archive of n songs; its path.
    std::string WriteArchive(int kind, int n) {
        const std::string path = folder_.File("songs" + std::to_string(n) + Extension(kind));
        return WriteWholeFile(path, ArchiveOfSongs(kind, n)) ? path : std::string();
    }

   public:
    // Lists the archive as the folder scan does, then reads every member as
    // the title refresh does. The bytes read from the archive file.
    uint64_t ListAndReadEveryMember(int kind, int n) {
        const std::string archive = WriteArchive(kind, n);
        readWatch = ReadWatch();
        std::vector<std::string> names;
        FindRecord record;
        std::unique_ptr<FileFinder> finder = FinderOpen(&record, (archive + ">*.*").c_str(), nullptr);
        for (bool found = finder->Found(); found; found = finder->Next(&record)) {
            names.push_back(record.name);
        }
        finder.reset();
        EXPECT_EQ(names.size(), size_t(n));
        int read = 0;
        for (size_t i = 0; i < names.size(); i++) {
            SongOpenRequest request;
            uint32_t error = 0;
            std::unique_ptr<SongFile> song = OpenSongFile((archive + ">" + names[i]).c_str(), request, &error);
            const std::string expected = bench::MidiSong(i);
            read += song && song->Size(nullptr) == expected.size() &&
                    std::string(reinterpret_cast<const char*>(song->Buffer()), expected.size()) == expected;
        }
        EXPECT_EQ(read, n);
        return readWatch.bytes;
    }

    // Extracts every member with the command line our libraries run. The
    // bytes read from the archive file.
    uint64_t ExtractEveryMember(int kind, int n) {
        const std::string archive = WriteArchive(kind, n);
        const std::string out = "out" + std::to_string(n) + Extension(kind);
        EXPECT_TRUE(folder_.MakeFolder(out));
        const std::string destination = "\"" + folder_.File(out) + "\\\"";
        const std::string line =
            kind == kArchiveLzh ? "x \"" + archive + "\" " + destination : "-x -C \"" + archive + "\" " + destination;
        readWatch = ReadWatch();
        std::string output;
        EXPECT_EQ(RunOwnArchiver(kind, line.c_str(), &output), 0);
        EXPECT_EQ(ReadWholeFile(folder_.File(out + "/" + SongName(n - 1))), bench::MidiSong(n - 1));
        return readWatch.bytes;
    }

   protected:
    // Runs work on archives of n and of twice as many members, of both
    // kinds, and compares the bytes read.
    void ExpectLinear(uint64_t (ManyMembers::*work)(int kind, int n), int n) {
        for (int kind : {kArchiveLzh, kArchiveZip}) {
            SCOPED_TRACE(Extension(kind));
            const uint64_t some = (this->*work)(kind, n);
            const uint64_t twice = (this->*work)(kind, 2 * n);
            ASSERT_GT(some, 0u);
            EXPECT_LE(double(twice) / double(some), kLinearRatio) << some << " bytes, then " << twice;
        }
    }

    ScratchFolder folder_;
    WatchArchiveReads watch_;
};

TEST_F(ManyMembers, ListingAndReadingEveryMemberGrowsLinearly) {
    ExpectLinear(&ManyMembers::ListAndReadEveryMember, kMembers);
}

TEST_F(ManyMembers, ExtractingEveryMemberGrowsLinearly) {
    ExpectLinear(&ManyMembers::ExtractEveryMember, kExtractedMembers);
}

}  // namespace
