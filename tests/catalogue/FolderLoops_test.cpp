// Walks into the sub-folders of trees that lead back into themselves
// (FolderLoopTrees.h): the folder scan, list entries with " /s",
// quillory-cli's listing with its title cache and HTML export, and the folder
// watcher's signature all finish and meet each song once on every path that
// is no loop; a link to a sibling folder is walked as that folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "FolderLoopTrees.h"
#include "TestPaths.h"
#include "catalogue/FolderScan.h"
#include "catalogue/FolderSignature.h"
#include "catalogue/ListFile.h"
#include "catalogue/TitleCache.h"
#include "tools/cli/CliCommands.h"

namespace {

using Rows = std::vector<std::string>;

// Far more entries than any of the trees has once; a walk that goes round
// a loop reaches it at once and is stopped there.
constexpr int kPumpCap = 5000;

// Stops a scan after kPumpCap entries.
class CappedHost : public CatalogueHost {
   public:
    bool PumpMessages() override {
        return ++pumps >= kPumpCap;
    }
    int pumps = 0;
};

// The path column of a table, less a prefix, sorted.
Rows Paths(const BagBox& table, const std::string& prefix) {
    Rows rows;
    for (int32_t i = 0; i < table.Count(); i++) {
        const std::string path = table.Read(i, ScanListColumn::path);
        rows.push_back(path.compare(0, prefix.size(), prefix) == 0 ? path.substr(prefix.size()) : "?" + path);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

// Runs a walk that has to finish. One that is still running after the
// deadline ends the whole test program with a failure, since it would
// otherwise never stop.
void FinishWithin(int seconds, const std::function<void()>& walk) {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread worker([&walk, &done] {
        walk();
        done.set_value();
    });
    if (finished.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready) {
        std::fprintf(stderr, "%s: the walk did not finish in %d s\n",
                     ::testing::UnitTest::GetInstance()->current_test_info()->name(), seconds);
        std::fflush(stderr);
        std::_Exit(1);
    }
    worker.join();
}

constexpr int kDeadline = 30;  // seconds

TEST(FolderLoops, SubFolderScanEntersNoFolderTwiceOnOnePath) {
    for (const LoopCase& c : kLoopCases) {
        SCOPED_TRACE(c.what);
        LoopTree tree(c);
        ASSERT_TRUE(tree.Made());
        CappedHost host;
        CatalogueState state;
        state.host = &host;
        state.playerTypeMask = PlayerTypeMask(100);
        state.location = tree.Library();
        BagBox found = MakeScanList();
        EXPECT_TRUE(ScanFolder(state, state.location.c_str(), &found, "*.*", false, true, false))
            << "stopped after " << host.pumps << " entries";
        EXPECT_EQ(c.found, Paths(found, ""));
        EXPECT_EQ(c.found, Paths(state.scanList, ""));
    }
}

TEST(FolderLoops, ListEntryWithSubFoldersEntersNoFolderTwiceOnOnePath) {
    for (const LoopCase& c : kLoopCases) {
        SCOPED_TRACE(c.what);
        LoopTree tree(c);
        ASSERT_TRUE(tree.Made());
        ASSERT_TRUE(WriteWholeFile(tree.File("loops.lst"), std::string(kListFileHeader) + "\r\nlib\\ /s\r\n"));
        CappedHost host;
        CatalogueState state;
        state.host = &host;
        state.kind = kLocationListFile;
        state.playerTypeMask = PlayerTypeMask(100);
        state.location = tree.Base() + "loops.lst>";
        BagBox output = MakeScanList();
        EXPECT_TRUE(ReadListFile(state, (tree.Base() + "loops.lst").c_str(), &output, 0))
            << "stopped after " << host.pumps << " entries";
        EXPECT_EQ(c.found, Paths(output, tree.Library()));
    }
}

struct CliRun {
    int code;
    std::string out;
    std::string err;
};

CliRun RunTool(const std::vector<std::string>& args) {
    CliRun run = {};
    FinishWithin(kDeadline, [&] {
        std::ostringstream out;
        std::ostringstream err;
        run.code = RunCli(args, out, err);
        run.out = out.str();
        run.err = err.str();
    });
    return run;
}

// The first column of each printed row, sorted.
Rows PrintedPaths(const std::string& text) {
    Rows rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        rows.push_back(line.substr(0, line.find('\t')));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

size_t CountOf(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        count++;
    }
    return count;
}

// The listing, the title cache it keeps and the HTML export of the tool.
TEST(FolderLoops, CliListCacheAndExportWithSubFoldersFinish) {
    for (const LoopCase& c : kLoopCases) {
        SCOPED_TRACE(c.what);
        LoopTree tree(c);
        ASSERT_TRUE(tree.Made());
        ASSERT_EQ(kCliSuccess, RunTool({"cache", "new", tree.Library(), "--subfolders"}).code);
        const CliRun list = RunTool({"list", tree.Library(), "--subfolders"});
        ASSERT_EQ(kCliSuccess, list.code) << list.err;
        EXPECT_EQ(c.found, PrintedPaths(list.out));

        const std::string cacheBytes = ReadWholeFile(tree.File("lib/_Kadrel.cac"));
        BagBox cache = MakeTitleCache();
        ASSERT_TRUE(ParseTitleCache(reinterpret_cast<const uint8_t*>(cacheBytes.data()), cacheBytes.size(), &cache));
        EXPECT_EQ(c.found, Paths(cache, ""));

        const CliRun html = RunTool({"export-html", tree.Library(), tree.Base() + "list.html", "--subfolders"});
        ASSERT_EQ(kCliSuccess, html.code) << html.err;
        EXPECT_EQ(c.found.size(), CountOf(ReadWholeFile(tree.File("list.html")), "\t\t<TR>"));
    }
}

TEST(FolderLoops, FolderSignatureWithSubFoldersFinishesAndIgnoresLoops) {
    for (const LoopCase& c : kLoopCases) {
        SCOPED_TRACE(c.what);
        LoopTree tree(c, false);
        const FolderSignature withoutLinks = ReadFolderSignature(tree.Library().c_str(), true);
        tree.MakeLinks();
        ASSERT_TRUE(tree.Made());
        FolderSignature withLinks;
        FinishWithin(kDeadline, [&] { withLinks = ReadFolderSignature(tree.Library().c_str(), true); });
        // A link back into the walk adds no songs; a link to a sibling does.
        const bool toSibling = c.found.size() > c.songs.size();
        EXPECT_EQ(toSibling, withLinks != withoutLinks);
        EXPECT_NE(FolderSignature(), withLinks);
    }
}

}  // namespace
