// An empty archive member is listed with the title an empty file of the same
// kind gets, not as a file that cannot be read.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "StoredArchives.h"
#include "TestPaths.h"
#include "tools/cli/CliCommands.h"

namespace {

// The title column of every row, by the row's path.
std::map<std::string, std::string> TitlesOf(const std::string& listing) {
    std::map<std::string, std::string> titles;
    std::istringstream in(listing);
    for (std::string line; std::getline(in, line);) {
        const size_t name = line.find('\t');
        const size_t title = line.find('\t', name + 1);
        const size_t end = line.find('\t', title + 1);
        titles[line.substr(0, name)] = line.substr(title + 1, end - title - 1);
    }
    return titles;
}

TEST(EmptyMember, TakesTheTitleOfAnEmptyFile) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("e.mid"), ""));
    // Python's zipfile deflates an empty member into 2 bytes; an LZH archive
    // stores it with -lh0- in none.
    ASSERT_TRUE(WriteWholeFile(folder.File("p.zip"), ReadWholeFile(TestDataPath("zip/pipe-python.zip"))));
    ASSERT_TRUE(WriteWholeFile(folder.File("l.lzh"), stored::Member(kArchiveLzh, "e.mid", "") +
                                                         stored::Member(kArchiveLzh, "x.mid", "MThd") +
                                                         stored::End(kArchiveLzh)));
    std::ostringstream out, err;
    ASSERT_EQ(kCliSuccess, RunCli({"list", folder.Path(), "--no-cache-update"}, out, err)) << err.str();
    std::map<std::string, std::string> titles = TitlesOf(out.str());
    ASSERT_EQ(1u, titles.count("e.mid")) << out.str();
    EXPECT_EQ("[対応していない形式のデータです]", titles["e.mid"]);
    for (const char* member : {"p.zip>songs/empty.mid", "l.lzh>e.mid"}) {
        ASSERT_EQ(1u, titles.count(member)) << member << "\n" << out.str();
        EXPECT_EQ(titles["e.mid"], titles[member]) << member;
    }
}

}  // namespace
