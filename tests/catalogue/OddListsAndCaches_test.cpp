// Lists and title caches as other tools and mishaps leave them, through
// quillory-cli: a list saved in UTF-8 with a byte order mark, a list that is
// only its header without a line end, and a folder where the title cache
// file belongs. Each is read or reported, and nothing is lost.
#include <gtest/gtest.h>

#include <string>

#include "CliRun.h"
#include "TestPaths.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

CliRun List(const std::string& location) {
    return RunTool({"list", location});
}

class OddListsAndCachesTest : public ::testing::Test {
   protected:
    void SetUp() override {
        ASSERT_TRUE(
            WriteWholeFile(folder_.File("song.mid"), ReadWholeFile(TestDataPath("midi/conductor-format1.mid"))));
    }
    ScratchFolder folder_;
};

TEST_F(OddListsAndCachesTest, ListsWithAByteOrderMarkOrABareHeaderAreRead) {
    const struct {
        const char* what;
        std::string bytes;
        bool listsTheSong;
    } cases[] = {
        {"UTF-8 byte order mark", "\xEF\xBB\xBF[Kadrel File List]\r\nsong.mid\r\n", true},
        {"header without a line end", "[Kadrel File List]", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteWholeFile(folder_.File("odd.lst"), c.bytes));
        const CliRun run = List(folder_.File("odd.lst"));
        EXPECT_EQ(kCliSuccess, run.code) << run.err;
        EXPECT_EQ(c.listsTheSong, run.out.find("song.mid") != std::string::npos) << run.out;
    }
}

TEST_F(OddListsAndCachesTest, AFolderNamedLikeTheCacheIsReportedAndKept) {
#ifdef _WIN32
    ASSERT_TRUE(CreateDirectoryA(folder_.File("_Kadrel.cac").c_str(), nullptr));
#else
    ASSERT_EQ(0, mkdir(folder_.File("_Kadrel.cac").c_str(), 0700));
#endif
    ASSERT_TRUE(WriteWholeFile(folder_.File("_Kadrel.cac/keep.txt"), "mine"));

    const CliRun run = List(folder_.Path());

    // The songs are listed, and the folder is left alone.
    EXPECT_EQ(kCliSuccess, run.code);
    EXPECT_NE(std::string::npos, run.out.find("song.mid"));
    EXPECT_EQ("mine", ReadWholeFile(folder_.File("_Kadrel.cac/keep.txt")));

    // Making the cache there fails and names it; the folder and what it
    // holds stay.
    const CliRun make = RunTool({"cache", "new", folder_.Path()});
    EXPECT_EQ(kCliFailed, make.code);
    EXPECT_NE(std::string::npos, make.err.find("_Kadrel.cac")) << make.err;
    EXPECT_EQ("mine", ReadWholeFile(folder_.File("_Kadrel.cac/keep.txt")));
}

}  // namespace
