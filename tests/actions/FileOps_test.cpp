// The files a selection stands for, the private clipboard bytes, the
// overwrite rules and the file error texts.
#include "actions/FileOps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/FileTypes.h"

namespace {

using Names = std::vector<std::string>;

std::string CatalogueForm(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

class CollectFilesTest : public ::testing::Test {
   protected:
    void SetUp() override {
        for (const char* name : {"song.mid", "SONG.TXT", "pic1.mag", "PIC2.MAG", "other.mid", "set.lzh"}) {
            ASSERT_TRUE(WriteWholeFile(folder_.File(name), "x")) << name;
        }
        ASSERT_TRUE(WriteWholeFile(folder_.File("song.wrd"), "@MAG(pic1.mag)\r\n@PLOAD(PIC2.MAG,1)\r\n"));
    }
    SelectedObject Object(const std::string& name) const {
        return {CatalogueForm(folder_.File(name)), kKindMidi};
    }
    Names Relative(const Names& files) const {
        Names names;
        for (const std::string& f : files) {
            names.push_back(f.substr(folder_.Path().size()));
        }
        return names;
    }
    ScratchFolder folder_;
};

TEST_F(CollectFilesTest, SongBringsItsRelatedSetUnlessWithoutRelated) {
    struct Case {
        bool withoutRelated;
        Names files;
    } cases[] = {
        {false, {"song.mid", "song.wrd", "SONG.TXT", "pic1.mag", "PIC2.MAG", "other.mid"}},
        {true, {"song.mid", "other.mid"}},
    };
    for (const Case& c : cases) {
        Names files;
        Names objects;
        ASSERT_TRUE(CollectFiles({Object("song.mid"), Object("other.mid")}, c.withoutRelated, &files, &objects));
        EXPECT_EQ(c.files, Relative(files)) << c.withoutRelated;
        EXPECT_EQ((Names{"song.mid", "other.mid"}), Relative(objects));
    }
}

TEST_F(CollectFilesTest, ArchiveMembersBringTheArchiveOnceAndRepeatsAreDropped) {
    Names files;
    const SelectedObject a = {CatalogueForm(folder_.File("set.lzh")) + ">dir/a.mid", kKindMidi};
    const SelectedObject b = {CatalogueForm(folder_.File("SET.LZH")) + ">b.mid", kKindMidi};
    ASSERT_TRUE(CollectFiles({a, b, Object("other.mid"), Object("OTHER.MID")}, false, &files, nullptr));
    EXPECT_EQ((Names{"set.lzh", "other.mid"}), Relative(files));
    EXPECT_FALSE(CollectFiles({}, false, &files, nullptr));
}

// Each object's own file leads its group, so a delete that cannot remove
// it knows which related files to leave; groups may share files.
TEST_F(CollectFilesTest, GroupsLeadWithTheObjectsOwnFile) {
    ASSERT_TRUE(WriteWholeFile(folder_.File("other.wrd"), "@MAG(pic1.mag)\r\n"));
    const SelectedObject member = {CatalogueForm(folder_.File("set.lzh")) + ">dir/a.mid", kKindMidi};
    const std::vector<FileGroup> groups =
        CollectFileGroups({Object("song.mid"), Object("other.mid"), member}, false);
    ASSERT_EQ(3u, groups.size());
    EXPECT_EQ((Names{"song.mid", "song.wrd", "SONG.TXT", "pic1.mag", "PIC2.MAG"}), Relative(groups[0]));
    EXPECT_EQ((Names{"other.mid", "other.wrd", "pic1.mag"}), Relative(groups[1]));
    EXPECT_EQ((Names{"set.lzh"}), Relative(groups[2]));
    EXPECT_TRUE(CollectFileGroups({}, false).empty());
}

TEST(PrivateClipboard, RoundTripsAndKeepsTheLayout) {
    const Names strings = {"C:\\ソ\\a.mid", "D:\\set.lzh>x/表.mid", "|include C:\\l.lst"};
    const std::string bytes = PrivateClipboardBytes(strings);
    ASSERT_EQ(12u + 12 + 20 + 18 + 1, bytes.size());
    EXPECT_EQ(std::string("\x0c\0\0\0\x03\0\0\0", 8), bytes.substr(0, 8));
    EXPECT_EQ(static_cast<char>(bytes.size() - 12), bytes[8]);
    Names back;
    ASSERT_TRUE(ParsePrivateClipboard(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &back));
    EXPECT_EQ(strings, back);
}

TEST(PrivateClipboard, HostileHeadersReadNothingPastTheEnd) {
    struct Case {
        std::string bytes;
        bool ok;
        Names strings;
    } cases[] = {
        {std::string("\x0c\0\0\0\x01\0\0", 7), false, {}},                                  // header cut short
        {std::string("\xff\xff\xff\xff\x01\0\0\0\0\0\0\0", 12), false, {}},                 // offset past the end
        {std::string("\x0c\0\0\0\xff\xff\xff\xff\x04\0\0\0a\0b\0", 16), true, {"a", "b"}},  // huge count
        {std::string("\x0c\0\0\0\x02\0\0\0\x04\0\0\0ab\0cd", 17), true, {"ab"}},            // missing terminator
    };
    for (const Case& c : cases) {
        Names back;
        EXPECT_EQ(c.ok, ParsePrivateClipboard(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), &back));
        EXPECT_EQ(c.strings, back);
    }
}

TEST(TreeItemData, ListsFoldersAndDrivesOfferTheirOwnForms) {
    EXPECT_EQ((Names{"|include C:\\l\\a.lst"}), TreeItemPrivateStrings("C:\\l\\a.lst", true));
    EXPECT_EQ((Names{"C:\\l\\a.lst"}), TreeItemDropFiles("C:\\l\\a.lst"));
    EXPECT_EQ((Names{"C:\\表\\*.*"}), TreeItemPrivateStrings("C:\\表\\", false));
    EXPECT_EQ((Names{"C:\\表"}), TreeItemDropFiles("C:\\表\\"));
    EXPECT_EQ((Names{"D:\\*.*"}), TreeItemPrivateStrings("D:\\", false));
    EXPECT_TRUE(TreeItemDropFiles("D:\\").empty());
}

TEST(Overwrite, ModesAndAllDecideWithoutAskingAgain) {
    struct Case {
        int32_t mode;
        uint64_t source;
        uint64_t destination;
        bool replaces;
    } cases[] = {
        {kOverwriteIfNewer, 200, 100, true}, {kOverwriteIfNewer, 100, 100, false}, {kOverwriteIfNewer, 100, 200, false},
        {kOverwriteAlways, 100, 200, true},  {kOverwriteNever, 200, 100, false},
    };
    for (const Case& c : cases) {
        OverwritePolicy policy;
        ASSERT_TRUE(policy.NeedsQuestion(true));
        ASSERT_TRUE(policy.Answer(OverwriteAnswer::kOk, c.mode));
        EXPECT_EQ(c.replaces, policy.Replaces(c.source, c.destination)) << c.mode;
        EXPECT_TRUE(policy.NeedsQuestion(true));
        EXPECT_FALSE(policy.NeedsQuestion(false));
    }
    OverwritePolicy all;
    ASSERT_TRUE(all.Answer(OverwriteAnswer::kAll, kOverwriteIfNewer));
    EXPECT_FALSE(all.NeedsQuestion(true));
    EXPECT_FALSE(all.Replaces(100, 100));
    OverwritePolicy cancelled;
    EXPECT_FALSE(cancelled.Answer(OverwriteAnswer::kCancel, kOverwriteAlways));
    EXPECT_EQ(kOverwriteIfNewer, cancelled.mode);
}

TEST(FileErrorTexts, CodeTableAndExtraText) {
    struct Case {
        uint32_t code;
        bool writing;
        const char* extra;
        std::string text;
    } cases[] = {
        {2, true, "", "ファイルがありません。(2)"},
        {18, false, "", "ファイルがありません。(18)"},
        {161, true, "", "パスが無効です。(161)"},
        {112, true, "", "ドライブに十分な容量がありません。(112)"},
        {145, true, "", "ディレクトリが空ではありません。(145)"},
        {183, true, "", "同じ名前のファイルがあります。(183)"},
        {1235, true, "コピー先は同じファイルです。", "書き込みを中止しました。(1235)\n\nコピー先は同じファイルです。"},
        {1235, false, "", "読み込みを中止しました。(1235)"},
        {87, true, "", "書き込みできません。(87)"},
        {87, false, "x", "読み込みできません。(87)\n\nx"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.text, FileErrorText(c.code, c.writing, c.extra)) << c.code;
    }
    EXPECT_EQ("削除 - Quillory", FileErrorCaption("削除"));
    EXPECT_EQ("Quillory", FileErrorCaption(nullptr));
    EXPECT_EQ("移動先は同じファイルです。", SameFileText(true));
    EXPECT_EQ("コピー(関連ファイルを含まない) - Quillory", CopyMoveDialogCaption(false, true));
    EXPECT_EQ(100, TransferPercent(2, 3));
    EXPECT_EQ(33, TransferPercent(0, 3));
}

}  // namespace
