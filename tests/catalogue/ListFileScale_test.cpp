// List files that ask for much through quillory-cli: a list including itself
// many times, and a list naming one song of a large folder many times. Each
// is checked for its result and bounded by a limit only a blow-up crosses.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "CliRun.h"
#include "ListsAskingMuch.h"
#include "TestPaths.h"
#include "catalogue/ListFile.h"
#include "catalogue/TitleCache.h"
#include "tools/cli/CliCommands.h"

namespace {

struct Listing {
    int code;
    int rows;
    std::string err;
    double seconds;
};

Listing List(const std::string& location) {
    const auto start = std::chrono::steady_clock::now();
    const CliRun run = RunTool({"list", location});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int rows = 0;
    for (char c : run.out) {
        rows += c == '\n';
    }
    return Listing{run.code, rows, run.err, seconds};
}

std::string SongName(int i) {
    return "song" + std::to_string(10000 + i) + ".mid";
}

class ListFileScaleTest : public ::testing::Test {
   protected:
    void SetUp() override {
        song_ = ReadWholeFile(TestDataPath("midi/conductor-format1.mid"));
        ASSERT_FALSE(song_.empty());
    }
    ScratchFolder folder_;
    std::string song_;
};

TEST_F(ListFileScaleTest, AListIncludingItselfSixTimesStopsAtTheLimitWithAWarning) {
    // Read in full, every level would multiply the reads by six: 6^9 of them.
    ASSERT_TRUE(WriteWholeFile(folder_.File("a.mid"), song_));
    ASSERT_TRUE(WriteWholeFile(folder_.File("self.lst"), SelfIncludingList("self.lst", "a.mid", 6)));

    const Listing listing = List(folder_.File("self.lst"));

    EXPECT_EQ(kCliSuccess, listing.code);
    // One row per read of the list, up to the limit of reads.
    EXPECT_EQ(ListExpansionLimits().listReads, listing.rows);
    EXPECT_NE(std::string::npos, listing.err.find("warning: ")) << listing.err;
    EXPECT_NE(std::string::npos, listing.err.find("self.lst\n\n")) << listing.err;
    EXPECT_LT(listing.seconds, 60.0);
}

TEST_F(ListFileScaleTest, RepeatedEntriesOfALargeFolderListEveryRowAndCacheTheSongOnce) {
    // A list naming one song of a folder of many songs many times: each entry
    // is looked up by its name, not by searching the folder.
    constexpr int kSongs = 2000;
    constexpr int kEntries = 20000;
    for (int i = 0; i < kSongs; i++) {
        ASSERT_TRUE(WriteWholeFile(folder_.File(SongName(i)), song_));
    }
    ASSERT_TRUE(WriteWholeFile(folder_.File("repeated.lst"), RepeatedEntryList(SongName(kSongs / 2), kEntries)));

    const Listing folder = List(folder_.Path());
    const Listing list = List(folder_.File("repeated.lst"));

    EXPECT_EQ(kSongs, folder.rows);
    EXPECT_EQ(kEntries, list.rows);
    // What a row of the list costs next to a row of the folder is measured
    // by bench/ListFile_bench, not here, where other work shares the machine.

    // The song is read once and cached once, however often the list names it.
    ASSERT_EQ(kCliSuccess, RunTool({"cache", "new", folder_.File("repeated.lst")}).code);
    const std::string bytes = ReadWholeFile(folder_.File("_repeated.cac"));
    BagBox cache = MakeTitleCache();
    ASSERT_TRUE(ParseTitleCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &cache));
    EXPECT_EQ(1, cache.Count());
}

}  // namespace
