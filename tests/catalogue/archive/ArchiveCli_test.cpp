// quillory-cli over archives: the songs inside LZH and ZIP archives of a
// folder are listed as "a.lzh>x.mid" with titles read from the members.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "core/FileFinder.h"
#include "tools/cli/CliCommands.h"

namespace {

std::vector<std::string> ListLines(const std::vector<std::string>& args, std::string* err) {
    std::ostringstream out;
    std::ostringstream errors;
    EXPECT_EQ(kCliSuccess, RunCli(args, out, errors));
    *err = errors.str();
    std::vector<std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

class ArchiveCli : public ::testing::Test {
   protected:
    void SetUp() override {
        ASSERT_TRUE(WriteWholeFile(folder_.File("a.lzh"), ReadWholeFile(TestDataPath("lzh/songs.lzh"))));
        ASSERT_TRUE(WriteWholeFile(folder_.File("b.zip"), ReadWholeFile(TestDataPath("zip/deflated.zip"))));
    }
    ScratchFolder folder_;
};

TEST_F(ArchiveCli, FolderListsTheSongsInsideItsArchives) {
    std::string err;
    const std::vector<std::string> lines = ListLines({"list", folder_.Path()}, &err);
    EXPECT_EQ("", err);
    const std::vector<std::string> expected = {
        "b.zip>songs/a.mid\tsongs/a\tZip Song A\t",
        "b.zip>songs/sub/b.mid\tsongs/sub/b\t表ソ Song\t",
        "b.zip>songs/表.mid\tsongs/表\tZip Song A\t",
        "a.lzh>sub/y.mid\tsub/y\t表ソ曲\t",
        "a.lzh>x.mid\tx\tLzh Song X\t",
    };
    ASSERT_EQ(expected.size(), lines.size());
    for (size_t i = 0; i < expected.size(); i++) {
        EXPECT_EQ(0u, lines[i].find(expected[i])) << lines[i];
        // The stored local time comes back unchanged.
        EXPECT_EQ(lines[i].size() - 15, lines[i].find("\t10/01/01 12:34")) << lines[i];
    }
    // A second run lists the same.
    EXPECT_EQ(lines, ListLines({"list", folder_.Path(), "--no-cache-update"}, &err));
}

TEST_F(ArchiveCli, AnArchiveIsAlsoALocationOfItsOwn) {
    std::string err;
    const std::vector<std::string> lines = ListLines({"list", folder_.File("a.lzh")}, &err);
    ASSERT_EQ(2u, lines.size()) << err;
    EXPECT_EQ(0u, lines[0].find("sub/y.mid\tsub/y\t表ソ曲\t")) << lines[0];
    EXPECT_EQ(0u, lines[1].find("x.mid\tx\tLzh Song X\t")) << lines[1];
    // A location inside an archive has no title cache: nothing is written beside it.
    FindRecord record;
    EXPECT_FALSE(FinderOpen(&record, (folder_.Path() + "*.cac").c_str(), nullptr)->Found()) << record.name;
}

TEST_F(ArchiveCli, ABrokenArchiveDoesNotHideTheOthers) {
    ASSERT_TRUE(WriteWholeFile(folder_.File("c.lzh"), "not an archive at all, just text"));
    std::string err;
    const std::vector<std::string> lines = ListLines({"list", folder_.Path(), "--no-cache-update"}, &err);
    ASSERT_EQ(5u, lines.size()) << err;
    EXPECT_EQ(0u, lines[4].find("a.lzh>x.mid\t")) << lines[4];
}

}  // namespace
