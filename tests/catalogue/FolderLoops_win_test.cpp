// The Windows quillory-cli listing sub-folders of trees that lead back into
// themselves through links made on the Unix side, which Wine shows as
// folders: it finishes and lists each song once on every path that is no
// loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "FolderLoopTrees.h"
#include "app/WindowTestSupport_win.h"
#include "tests/catalogue/CliProgram_win.h"

namespace {

// The first column of each printed row, sorted.
std::vector<std::string> PrintedPaths(const std::string& text) {
    std::vector<std::string> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        rows.push_back(line.substr(0, line.find_first_of("\t\r")));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

TEST(FolderLoopsCli, ListingWithSubFoldersEntersNoFolderTwiceOnOnePath) {
    for (const LoopCase& c : kLoopCases) {
        SCOPED_TRACE(c.what);
        LoopTree tree(c);
        ASSERT_TRUE(tree.Made()) << "the links are made by the Unix ln through Wine";
        // Without its final backslash, which would escape the closing quote.
        const std::string library = tree.Base() + "lib";
        const CliProgramRun run =
            RunCliProgram("list \"" + library + "\" --subfolders --no-cache-update", tree.File("out.txt"));
        ASSERT_TRUE(run.finished) << "still listing after " << kCliProgramDeadline << " ms";
        EXPECT_EQ(0u, run.code) << run.out;
        EXPECT_EQ(c.found, PrintedPaths(run.out));
    }
}

}  // namespace
