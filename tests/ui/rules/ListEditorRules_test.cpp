// The list editor's entry kinds, remove rules, titles and its document's
// open, edit and save cycle.
#include "ui/rules/ListEditorRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/ListFile.h"
#include "catalogue/ListLineEnds.h"
#include "core/AtomicFile.h"

namespace {

using Names = std::vector<std::string>;

TEST(ListEntryKinds, RulesAreTestedInOrder) {
    struct Case {
        const char* entry;
        int32_t kind;
    } cases[] = {
        {"", kEntryEmpty},
        {"|include C:\\a.lst", kEntryInclude},
        {"|INCLUDE b.lst", kEntryInclude},
        {"// note", kEntryComment},
        {";x.mid", kEntryComment},
        {":x", kEntryComment},
        {"C:\\Music\\ /s", kEntryFolderRecursive},
        {"C:\\Music\\*.mid /S", kEntryFolderRecursive},
        {"C:\\a.lzh>*.* /s", kEntryArchiveRecursive},
        {"C:\\Music\\a.mid", kEntrySong},
        {"C:\\ソ\\表", kEntrySong},
        {"a.lzh>x.mid", kEntrySong},
        {"C:\\a.lzh>*.*", kEntryArchive},
        {"C:\\Music\\", kEntryFolder},
        {"C:\\Music\\*.mid", kEntryFolder},
        {"C:\\Music\\?.mid", kEntryFolder},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.kind, ListEntryKind(c.entry)) << c.entry;
    }
    EXPECT_STREQ("[コメント]", ListEntryDescription(ListEntryKind(";x.mid")));
    EXPECT_STREQ("[書庫ファイル検索]", ListEntryDescription(kEntryArchiveRecursive));
    EXPECT_STREQ("[フォルダ検索 (サブフォルダを含む)]", ListEntryDescription(kEntryFolderRecursive));
}

TEST(ListEntryRemoval, DriveNamesAndPathsKeepIncludeAndOptions) {
    struct Case {
        const char* entry;
        const char* withoutDrive;
        const char* withoutPath;
    } cases[] = {
        {"C:\\Music\\a.mid", "\\Music\\a.mid", "a.mid"},
        {"|include D:\\lists\\b.lst", "|include \\lists\\b.lst", "|include b.lst"},
        {"C:\\Music\\ /s", "\\Music\\ /s", "*.* /s"},
        {"C:\\Music\\", "\\Music\\", "*.*"},
        {"a.mid", "a.mid", "a.mid"},
        {"C:\\ソ\\表.mid", "\\ソ\\表.mid", "表.mid"},  // trail bytes 0x5C are no separators
        // A ':' in an archive member's name is no drive.
        {"pack.lzh>a:b.mid", "pack.lzh>a:b.mid", "pack.lzh>a:b.mid"},
        {"C:\\m\\pack.lzh>a:b.mid", "\\m\\pack.lzh>a:b.mid", "pack.lzh>a:b.mid"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.withoutDrive, RemoveDriveName(c.entry)) << c.entry;
        EXPECT_EQ(c.withoutPath, RemovePath(c.entry)) << c.entry;
    }
}

TEST(ListEntryRemoval, DocumentLeavesCommentsAndEmptyLinesAlone) {
    ScratchFolder folder;
    const std::string path = folder.File("a.lst");
    ASSERT_EQ(0u, WriteListFile(path.c_str(), {"; C:\\keep\\x.mid", "C:\\Music\\a.mid", "b.mid"}));
    ListDocument doc;
    ASSERT_EQ(0u, doc.Open(path));
    EXPECT_EQ(1u, doc.StripDriveNames({0, 1, 2, 7}));
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(1u, doc.StripPaths({0, 1, 2}));
    EXPECT_EQ((Names{"; C:\\keep\\x.mid", "a.mid", "b.mid"}), doc.Entries());
}

TEST(ListEntryDrops, FoldersGetPatternsAndAltAddsSubFolders) {
    EXPECT_EQ("C:\\Music\\*.* /s", DroppedPathEntry("C:\\Music", true, true));
    EXPECT_EQ("D:\\*.*", DroppedPathEntry("D:\\", true, false));
    EXPECT_EQ("|include C:\\x.LST", DroppedPathEntry("C:\\x.LST", false, true));
    EXPECT_EQ("C:\\Music\\*.* /s", PrivateStringEntry("C:\\Music\\*.*", true, true));
    EXPECT_EQ("C:\\Music\\*.*", PrivateStringEntry("C:\\Music\\*.*", false, true));
    EXPECT_EQ("C:\\a.mid", PrivateStringEntry("C:\\a.mid", true, true));
}

TEST(ListEditorTexts, UntitledAndModifiedStates) {
    EXPECT_EQ("(無題) - リストファイルの編集", ListEditorTitle("", false));
    EXPECT_EQ("C:\\ソ\\a.lst(変更) - リストファイルの編集", ListEditorTitle("C:\\ソ\\a.lst", true));
    EXPECT_EQ("(無題) は更新されています。\n保存しますか ?", SaveQuestionText(""));
    EXPECT_EQ("a.lst は更新されています。\n保存しますか ?", SaveQuestionText("C:\\ソ\\a.lst"));
}

TEST(ListDocumentEditing, InsertMoveAndDeleteKeepOrder) {
    ListDocument doc;
    EXPECT_EQ(0u, doc.Insert(5, {"a", "b", "c", "d"}));
    EXPECT_EQ(1u, doc.Insert(1, {"x"}));
    EXPECT_EQ((Names{"a", "x", "b", "c", "d"}), doc.Entries());
    EXPECT_EQ(3u, doc.MoveBefore({0, 2}, 5));
    EXPECT_EQ((Names{"x", "c", "d", "a", "b"}), doc.Entries());
    EXPECT_EQ(0u, doc.MoveBefore({3}, 0));
    EXPECT_EQ((Names{"a", "x", "c", "d", "b"}), doc.Entries());
    doc.Delete({4, 0, 0, 9});
    EXPECT_EQ((Names{"x", "c", "d"}), doc.Entries());
    EXPECT_FALSE(doc.Replace(0, "x"));
    EXPECT_FALSE(doc.Replace(3, "y"));
}

uint32_t FailSecondWrite(uint32_t index) {
    return index == 0 ? 0 : 112;
}

uint32_t FailFirstWrite(uint32_t) {
    return 112;
}

TEST(ListDocumentSaving, SavedListReopensAndFailureKeepsThePreviousFile) {
    ScratchFolder folder;
    const std::string path = folder.File("list.lst");
    ListDocument doc;
    doc.Insert(0, {"C:\\ソ\\a.mid", "// c", "b.mid"});
    ASSERT_EQ(0u, doc.SaveAs(path));
    EXPECT_FALSE(doc.Modified());
    const std::string saved = ReadWholeFile(path);
    EXPECT_EQ(ListFileBytes(doc.Entries()), saved);
    EXPECT_EQ(std::string::npos, saved.find("[EOF]"));

    ListDocument again;
    ASSERT_EQ(0u, again.Open(path));
    EXPECT_EQ(doc.Entries(), again.Entries());

    // Big enough for several writes, so that a failure after the first is seen too.
    again.Insert(0, Names(4000, "C:\\Music\\long-name-0123456789.mid"));
    for (AtomicWriteFault fault : {FailFirstWrite, FailSecondWrite}) {
        SetAtomicWriteFault(fault);
        EXPECT_EQ(112u, again.SaveAs(folder.File("list.lst")));
        SetAtomicWriteFault(nullptr);
        EXPECT_TRUE(again.Modified());
        EXPECT_EQ(saved, ReadWholeFile(path));
    }
}

TEST(ListDocumentSaving, OpenAndSaveKeepEveryEntryWhateverTheLineEnds) {
    // Entries whose first byte a misread line end would eat or keep: a
    // comment, a 0x5C trail byte, an include and a line longer than the
    // reader's line buffer, which the editor keeps as it is.
    const Names entries = {"music\\a.mid",
                           ";コメント",
                           "表\\ソ.mid",
                           "|include lists\\b.lst",
                           "C:\\x\\*.mid /s",
                           "// two",
                           "m" + std::string(600, 'x') + ".mid"};
    ScratchFolder folder;
    for (const char* header : {kListFileHeader, kOldListFileHeader}) {
        for (const ListLineEndForm& form : ListLineEndForms()) {
            SCOPED_TRACE(std::string(header) + " " + form.name);
            Names lines = {header, ""};  // an empty line before the entries, as written
            lines.insert(lines.end(), entries.begin(), entries.end());
            ASSERT_TRUE(WriteWholeFile(folder.File("in.lst"), JoinLines(lines, form, true)));
            ListDocument doc;
            ASSERT_EQ(0u, doc.Open(folder.File("in.lst")));
            EXPECT_EQ(entries, doc.Entries());

            // Saved unedited, the list comes out in the program's own form.
            ASSERT_EQ(0u, doc.SaveAs(folder.File("out.lst")));
            const std::string saved = ReadWholeFile(folder.File("out.lst"));
            EXPECT_EQ(ListFileBytes(entries), saved);
            EXPECT_EQ(0u, saved.find(std::string(kListFileHeader) + "\r\n"));
            ListDocument again;
            ASSERT_EQ(0u, again.Open(folder.File("out.lst")));
            EXPECT_EQ(entries, again.Entries());
        }
    }
}

TEST(ListDocumentSaving, OpeningANonListKeepsTheDocument) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("x.lst"), "not a list\r\n"));
    ListDocument doc;
    doc.Insert(0, {"keep.mid"});
    EXPECT_EQ(kNotAListFile, doc.Open(folder.File("x.lst")));
    EXPECT_NE(0u, doc.Open(folder.File("missing.lst")));
    EXPECT_EQ((Names{"keep.mid"}), doc.Entries());
    EXPECT_TRUE(doc.Modified());
}

}  // namespace
