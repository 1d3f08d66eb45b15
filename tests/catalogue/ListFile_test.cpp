// List files: header and line parsing, path resolution and options, reading
// real list files against a real folder tree (includes, patterns, " /s",
// nesting limits), entry texts, and the bytes the editor writes.
#include "catalogue/ListFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ListLineEnds.h"
#include "TestPaths.h"
#include "catalogue/archive/ArchiveKind.h"

namespace {

using Rows = std::vector<std::string>;

// A scratch folder in the catalogue's form: its last separator is '\\'.
std::string CatalogueFolder(const ScratchFolder& folder) {
    std::string path = folder.Path();
    path.back() = '\\';
    return path;
}

class RecordingHost : public CatalogueHost {
   public:
    bool PumpMessages() override {
        return ++pumps == abortAtPump;
    }
    void ShowFileError(uint32_t error, const std::string& text) override {
        errors.push_back(std::to_string(error) + " " + text);
    }
    void ShowWarning(const std::string& text) override {
        warnings.push_back(text);
    }
    int pumps = 0;
    int abortAtPump = -1;
    Rows errors;
    Rows warnings;
};

class ListFileTest : public ::testing::Test {
   protected:
    void SetUp() override {
        base_ = CatalogueFolder(folder_);
        state_.host = &host_;
        state_.kind = kLocationListFile;
        state_.playerTypeMask = PlayerTypeMask(2);  // WRD File Player: no audio
        midi_ = ReadWholeFile(TestDataPath("midi/conductor-format1.mid"));
        for (const char* sub : {"sub", "sub/deep", "m.mid", "other", "表", "lists"}) {
            ASSERT_TRUE(folder_.MakeFolder(sub)) << sub;
        }
        for (const char* name : {"a.mid", "b.mid", "sub/c.mid", "sub/d.mid", "sub/deep/e.mid", "m.mid/f.mid",
                                 "other/g.mid", "表/h.mid", "x.wav", "notes.txt"}) {
            ASSERT_TRUE(WriteWholeFile(folder_.File(name), midi_)) << name;
        }
    }
    void WriteList(const std::string& name, const std::string& body) {
        ASSERT_TRUE(WriteWholeFile(folder_.File(name), std::string(kListFileHeader) + "\r\n" + body));
    }
    // Reads a list of the scratch folder as its location; true unless stopped.
    bool Read(const std::string& name) {
        state_.location = base_ + name + ">";
        state_.scanList.Clear();
        output_.Clear();
        return ReadListFile(state_, (base_ + name).c_str(), &output_, 0);
    }
    // Paths of a table relative to the scratch folder, sorted (folder
    // listings come in the file system's order).
    Rows Relative(const BagBox& table) const {
        Rows rows;
        for (int32_t i = 0; i < table.Count(); i++) {
            const std::string path = table.Read(i, ScanListColumn::path);
            EXPECT_EQ(0u, path.find(base_)) << path;
            rows.push_back(path.substr(base_.size()));
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    ScratchFolder folder_;
    std::string base_;
    RecordingHost host_;
    CatalogueState state_;
    BagBox output_ = MakeScanList();
    std::string midi_;
};

TEST(ListFileHeader, CurrentAndOldHeadersWithAnyLineEnd) {
    const struct {
        std::string bytes;
        size_t expected;
    } cases[] = {
        {"[Kadrel File List]\r\n", 20},
        {"[Kadrel File List]\nmusic\\a.mid", 19},
        {"[Kadrel File List]\rmusic\\a.mid", 19},
        {"[Kadrel File List]\r\r\n", 19},  // the second CR ends an empty line
        {"[Kadrel File List]", 18},        // header only, no line end
        {"[Kadrel MIDI File List]\r\nx", 25},
        {"[Kadrel MIDI File List]\nx", 24},
        {"[Kadrel MIDI File List]\rx", 24},
        {"[Kadrel File List]x\r\n", 0},  // text after the header on its line
        // A byte order mark left by an editor saving in UTF-8.
        {"\xEF\xBB\xBF[Kadrel File List]\r\n", 23},
        {"\xEF\xBB\xBF[Kadrel File List]", 21},
        {"\xEF\xBB\xBF[Kadrel MIDI File List]\nx", 27},
        {"\xEF\xBB[Kadrel File List]\r\n", 0},
        {"[Kadrel File Lis", 0},
        {"[kadrel file list]\r\n", 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, ListHeaderLength(c.bytes.data(), c.bytes.size())) << c.bytes;
    }
}

TEST(ListFileLines, EveryLineEndFormGivesTheLinesWhole) {
    const Rows lines = {"music\\a.mid", "表\\x.mid", "", "ソ\\b.mid", "|include 能.lst", "last"};
    for (const ListLineEndForm& form : ListLineEndForms()) {
        for (bool finalEnd : {false, true}) {
            SCOPED_TRACE(std::string(form.name) + (finalEnd ? ", final line end" : ", no final line end"));
            const std::string body = JoinLines(lines, form, finalEnd);
            Rows read;
            size_t position = 0;
            std::string line;
            while (ReadLine(body, &position, &line)) {
                read.push_back(line);
            }
            EXPECT_EQ(lines, read);
            EXPECT_EQ(body.size(), position);
        }
    }
}

TEST(ListFileLines, ClassifiedAndResolved) {
    const ListPathBase base{"C:", "D:\\lists\\"};
    const struct {
        std::string line;
        ListLine::Kind kind;
        const char* path;
        bool recurse;
    } cases[] = {
        {"", ListLine::kIgnored, "", false},
        {"; comment", ListLine::kIgnored, "", false},
        {"// comment", ListLine::kIgnored, "", false},
        {":comment", ListLine::kIgnored, "", false},
        {"a/b.mid", ListLine::kIgnored, "", false},
        {"/x.mid", ListLine::kIgnored, "", false},
        {"|include   sub.lst", ListLine::kInclude, "D:\\lists\\sub.lst", false},
        {"|INCLUDE \t sub.lst", ListLine::kInclude, "D:\\lists\\sub.lst", false},
        {"|include E:\\x.lst", ListLine::kInclude, "E:\\x.lst", false},
        {"|include /native/x.lst", ListLine::kInclude, "/native/x.lst", false},
        {"sub\\a.mid", ListLine::kEntry, "D:\\lists\\sub\\a.mid", false},
        {"\\songs\\a.mid", ListLine::kEntry, "C:\\songs\\a.mid", false},
        {"\\\\server\\share\\a.mid", ListLine::kEntry, "\\\\server\\share\\a.mid", false},
        {"表\\ソ.mid", ListLine::kEntry, "D:\\lists\\表\\ソ.mid", false},
        {"E:\\x y\\*.mid /s", ListLine::kEntry, "E:\\x y\\*.mid", true},
        {"E:\\x\\ /S", ListLine::kEntry, "E:\\x\\", true},
        {"E:\\x\\a.mid /x", ListLine::kEntry, "E:\\x\\a.mid", false},
        {"E:\\x\\a.mid /x /s", ListLine::kEntry, "E:\\x\\a.mid", true},
        {"E:\\a.lzh>*.* /s", ListLine::kEntry, "E:\\a.lzh>*.*", true},
        // A ':' inside an archive member's name is part of the name.
        {"pack.lzh>a:b.mid", ListLine::kEntry, "D:\\lists\\pack.lzh>a:b.mid", false},
        {"E:\\" + std::string(508, 'a'), ListLine::kEntry, nullptr, false},  // 511 bytes fit
        {"E:\\" + std::string(509, 'a'), ListLine::kIgnored, "", false},     // 512 bytes do not
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const ListLine parsed = ParseListLine(c.line, base);
        EXPECT_EQ(c.kind, parsed.kind);
        EXPECT_EQ(c.path ? std::string(c.path) : c.line, parsed.path);
        EXPECT_EQ(c.recurse, parsed.recurse);
    }
}

TEST(ListFileNames, NamesAndEntriesForDroppedPaths) {
    SetArchiveAvailable(kArchiveLzh, true);
    const struct {
        const char* path;
        bool listName;
        const char* entry;
        const char* shiftEntry;
    } cases[] = {
        {"D:\\best.lst", true, "|include D:\\best.lst", "|include D:\\best.lst"},
        {"D:\\BEST.LST", true, "|include D:\\BEST.LST", "|include D:\\BEST.LST"},
        {".lst", false, ".lst", ".lst"},
        {"D:\\songs.lzh", false, "D:\\songs.lzh>*.*", "D:\\songs.lzh>*.* /s"},
        {"D:\\表\\a.mid", false, "D:\\表\\a.mid", "D:\\表\\a.mid"},
        {"D:\\lists\\", false, "D:\\lists\\", "D:\\lists\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.listName, IsListFileName(c.path));
        EXPECT_EQ(c.entry, MakeListEntry(c.path, false));
        EXPECT_EQ(c.shiftEntry, MakeListEntry(c.path, true));
    }
}

TEST_F(ListFileTest, EntriesPatternsFoldersAndIncludes) {
    WriteList("top.lst",
              "; songs\r\n"
              "a.mid\r\n"
              "missing.mid\r\n"
              "notes.txt\r\n"
              "sub\\\r\n"
              "*.wav\r\n"
              "|include   lists\\inner.lst\r\n"
              "|include lists\\missing.lst\r\n"
              "*.mid /s\r\n");
    // Relative paths of an included list start from the top-level list's folder.
    WriteList("lists/inner.lst", "表\\h.mid\r\nother\\g.mid\r\n");

    EXPECT_TRUE(Read("top.lst"));

    // "*.mid /s" descends only into folders whose names match the pattern.
    const Rows all = {"a.mid",      "a.mid",      "b.mid", "m.mid\\f.mid", "other\\g.mid",
                      "sub\\c.mid", "sub\\d.mid", "x.wav", "表\\h.mid"};
    EXPECT_EQ(all, Relative(state_.scanList));
    Rows playable = all;
    playable.erase(std::find(playable.begin(), playable.end(), "x.wav"));
    EXPECT_EQ(playable, Relative(output_));
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(ListFileTest, ListsWithAnyLineEndFormListTheirEntriesWhole) {
    for (const char* header : {kListFileHeader, kOldListFileHeader}) {
        for (const ListLineEndForm& form : ListLineEndForms()) {
            SCOPED_TRACE(std::string(header) + " " + form.name);
            const Rows inner = {header, "other\\g.mid", "m.mid\\f.mid"};
            ASSERT_TRUE(WriteWholeFile(folder_.File("lists/inner.lst"), JoinLines(inner, form, true)));
            const Rows top = {header,    "; songs", "a.mid", "sub\\c.mid", "表\\h.mid", "|include lists\\inner.lst",
                              "*.mid /s"};
            ASSERT_TRUE(WriteWholeFile(folder_.File("top.lst"), JoinLines(top, form, false)));

            EXPECT_TRUE(Read("top.lst"));
            // "*.mid /s" adds a.mid, b.mid and m.mid\\f.mid (its folder's name matches).
            const Rows expected = {"a.mid",        "a.mid",        "b.mid",      "m.mid\\f.mid",
                                   "m.mid\\f.mid", "other\\g.mid", "sub\\c.mid", "表\\h.mid"};
            EXPECT_EQ(expected, Relative(state_.scanList));
        }
    }
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(ListFileTest, SelfIncludeReadsNineTimes) {
    WriteList("self.lst", "|include self.lst\r\na.mid\r\n");
    EXPECT_TRUE(Read("self.lst"));
    EXPECT_EQ(Rows(kMaxListDepth + 1, "a.mid"), Relative(state_.scanList));
    EXPECT_TRUE(host_.warnings.empty());
}

TEST_F(ListFileTest, ExpansionStopsAtTheLimitsWithOneWarning) {
    WriteList("self.lst", "a.mid\r\nb.mid\r\nsub\\c.mid\r\n|include self.lst\r\n|include self.lst\r\n");
    const struct {
        const char* what;
        ListExpansionLimits limits;
        size_t rows;
    } cases[] = {
        // Three rows a read, the reads stopping after the fifth.
        {"list reads", {5, 1000}, 15},
        // The rows stop at the first line read past ten of them.
        {"rows", {1000, 10}, 10},
        // The list is 63 bytes: the fourth read passes 200 bytes of list text.
        {"bytes of list text", {1000, 1000, 200}, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host_.warnings.clear();
        state_.listLimits = c.limits;
        EXPECT_TRUE(Read("self.lst"));
        EXPECT_EQ(c.rows, Relative(state_.scanList).size());
        ASSERT_EQ(1u, host_.warnings.size());
        EXPECT_EQ(0u, host_.warnings[0].find(base_ + "self.lst\n\n"));
    }
}

TEST_F(ListFileTest, FixtureListsReadFromTheirFolder) {
    const struct {
        const char* fixture;
        Rows rows;
    } cases[] = {
        {"old-header.lst", {"a.mid", "sub\\c.mid", "sub\\d.mid"}},
        {"no-final-crlf.lst", {"a.mid", "b.mid"}},
        {"header-only.lst", {}},
        {"wrong-header.lst", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        ASSERT_TRUE(
            WriteWholeFile(folder_.File(c.fixture), ReadWholeFile(TestDataPath(std::string("list/") + c.fixture))));
        EXPECT_TRUE(Read(c.fixture));
        EXPECT_EQ(c.rows, Relative(state_.scanList));
        EXPECT_EQ(std::string(c.fixture) != "wrong-header.lst", IsListFileValid((base_ + c.fixture).c_str()));
    }
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(ListFileTest, MissingTopListIsReportedAndAbortStops) {
    EXPECT_TRUE(Read("gone.lst"));
    EXPECT_EQ((Rows{"2 " + base_ + "gone.lst"}), host_.errors);

    WriteList("long.lst", "a.mid\r\nb.mid\r\nsub\\c.mid\r\n");
    host_.abortAtPump = host_.pumps + 2;
    EXPECT_FALSE(Read("long.lst"));
    EXPECT_EQ((Rows{"a.mid"}), Relative(state_.scanList));
}

TEST_F(ListFileTest, WrittenListMatchesGoldenBytesAndReadsBack) {
    const std::vector<std::string> entries = {";最初のコメント", "a.mid",    "sub\\表\\",         "// two slashes",
                                              ":colon",          "*.mid /s", "|include other.lst"};
    const std::string golden = ReadWholeFile(TestDataPath("list/grouped.lst"));
    EXPECT_EQ(golden, ListFileBytes(entries));

    const std::string path = base_ + "written.lst";
    ASSERT_TRUE(WriteWholeFile(folder_.File("written.lst"), "[Kadrel File List]\r\nold.mid\r\n"));
    EXPECT_EQ(0u, WriteListFile(path.c_str(), entries));
    EXPECT_EQ(golden, ReadWholeFile(folder_.File("written.lst")));

    std::string body;
    uint32_t error = 99;
    ASSERT_TRUE(OpenListFile(path.c_str(), &body, &error));
    EXPECT_EQ(0u, error);
    EXPECT_EQ(golden.substr(20), body);
}

}  // namespace
