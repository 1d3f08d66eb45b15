// The browsing panes' decisions: node paths and steps, key tables, column
// clicks, type-ahead, count text, the node menu, the eject test and the
// display store.
#include "ui/rules/BrowseRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/DisplayStore.h"
#include "catalogue/Drives.h"

namespace {

// A drive list of C: and Q:.
struct TwoDrives {
    TwoDrives() {
        list.Add({"C:\\"});
        list.Add({"Q:\\"});
    }
    BagBox list = MakeDriveList();
};

TEST(BrowseRules, NodePathJoinsStepsFromTheDriveDown) {
    const TwoDrives drives;
    const uint32_t folder = kNodeFolderBit;
    const uint32_t list = kListFileNodeBit;
    const uint32_t driveQ = kNodeDriveBit | 1;
    const uint32_t root = kRootNodeAttributes;
    struct Case {
        std::vector<NodeStep> upward;
        const char* path;
    } cases[] = {
        {{{"曲", folder}, {"Q:", driveQ}, {"PC", root}}, "Q:\\曲\\"},
        {{{"表", list}, {"ソ", folder}, {"Q:", driveQ}}, "Q:\\ソ\\表.lst>"},
        {{{"Q:", driveQ}, {"PC", root}}, "Q:\\"},
        {{{"PC", root}}, ""},
        // Steps above the stopping node are never used.
        {{{"a", folder}, {"C:", kNodeDriveBit | 0}, {"x", folder}}, "C:\\a\\"},
        // A drive row past the list contributes nothing rather than crashing.
        {{{"a", folder}, {"?", kNodeDriveBit | 7}}, "a\\"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.path, BuildNodePath(c.upward, drives.list));
    }
}

TEST(BrowseRules, ChildStepMatchesTextAndKindIgnoringCase) {
    struct Case {
        const char* text;
        uint32_t attributes;
        const char* remaining;
        size_t consumed;
    } cases[] = {
        {"Music", kNodeFolderBit, "music\\midi\\", 6}, {"Music", kNodeFolderBit, "Music", 0},  // no separator after it
        {"Music", kNodeFolderBit, "Musicals\\", 0},                                            // a longer name
        {"best", kListFileNodeBit, "BEST.LST>", 9},                                            // list file step
        {"best", kListFileNodeBit, "best\\", 0},                                               // a folder of that name
        {"best", kNodeFolderBit, "best.lst>", 0},  // a list file of that name
        {"表", kNodeFolderBit, "表\\ソ\\", 3},     // 0x5C trail byte is no separator
        {"\x95", kNodeFolderBit, "表\\", 0},       // a step ending inside a character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.consumed, MatchChildStep(c.text, c.attributes, c.remaining)) << c.text << " " << c.remaining;
    }
}

TEST(BrowseRules, RescanKeepsChildOnlyWithSameTextAndKind) {
    EXPECT_TRUE(IsSameChild("a", kNodeFolderBit | kNodeScanMarkBit, "a", kNodeFolderBit));
    EXPECT_FALSE(IsSameChild("a", kNodeFolderBit, "a", kListFileNodeBit));
    EXPECT_FALSE(IsSameChild("a", kNodeFolderBit, "A", kNodeFolderBit));
    EXPECT_EQ(kLocationListFile, NodeLocationKind(kListFileNodeBit));
    EXPECT_EQ(kLocationFolder, NodeLocationKind(kNodeFolderBit));
}

TEST(BrowseRules, DriveNodeIsFoundByRowOnceItsChildrenAreSorted) {
    struct Case {
        uint32_t attributes;
        int32_t row;
        bool drive;
    } cases[] = {
        {kNodeDriveBit | 1, 1, true},
        // A drive node that was opened once carries the sorted bit.
        {kNodeDriveBit | kNodeSortedBit | 1, 1, true},
        {kNodeDriveBit | kNodeScanMarkBit | 0, 0, true},
        {kNodeDriveBit | 1, 0, false},
        {kNodeFolderBit | 1, 1, false},
        {kRootNodeAttributes, 0, false},
        {kNodeDriveBit | 0xFFFF, -1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.drive, IsDriveNodeOfRow(c.attributes, c.row)) << std::hex << c.attributes << " " << c.row;
    }
}

TEST(BrowseRules, DriveRootOfPathIsUpperCaseWithSeparator) {
    EXPECT_EQ("C:\\", DriveRootOfPath("c:\\music\\"));
    EXPECT_EQ("Z:\\", DriveRootOfPath("Z:"));
    EXPECT_EQ("", DriveRootOfPath(""));
    EXPECT_EQ("", DriveRootOfPath("\\\\server\\share\\"));
    EXPECT_EQ("", DriveRootOfPath("表:\\"));
}

TEST(BrowseRules, SingleKeysPostCommandsOnlyWithTheSettingAndNoCtrl) {
    struct Case {
        int key;
        bool ctrl;
        bool setting;
        int32_t list;
        int32_t tree;
    } cases[] = {
        {'A', false, true, 600, 600},
        {'B', false, true, 601, 601},
        {'0', false, true, 602, 602},
        {'9', false, true, 611, 611},
        {KeyCode::numpad0, false, true, 602, 602},
        {KeyCode::numpad0 + 9, false, true, 611, 611},
        {'C', false, true, 51, 0},
        {'M', false, true, 52, 0},
        {'L', false, true, 53, 53},
        {'D', false, true, 202, 102},
        {'E', false, true, 104, 104},
        {'I', false, true, 103, 103},
        {'K', false, true, 100, 100},
        {'R', false, true, 0, 101},
        {'Z', false, true, 0, 0},
        {'A', true, true, 0, 0},
        {'A', false, false, 0, 0},
        {KeyCode::enter, false, true, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.list, SingleKeyCommand(c.key, c.ctrl, c.setting, false)) << c.key;
        EXPECT_EQ(c.tree, SingleKeyCommand(c.key, c.ctrl, c.setting, true)) << c.key;
    }
}

TEST(BrowseRules, TypedLettersAndDigitsAreSwallowedOnlyWithTheSetting) {
    EXPECT_TRUE(SwallowsTypedChar('b', true));
    EXPECT_TRUE(SwallowsTypedChar('7', true));
    EXPECT_FALSE(SwallowsTypedChar('b', false));
    EXPECT_FALSE(SwallowsTypedChar(0xB1, true));  // half-width kana still searches
    EXPECT_FALSE(SwallowsTypedChar('_', true));
}

TEST(BrowseRules, ListKeysMapToTheirActions) {
    EXPECT_EQ(ListKeyAction::play, ListKeyActionFor(KeyCode::enter, false));
    EXPECT_EQ(ListKeyAction::deleteItems, ListKeyActionFor(KeyCode::deleteKey, false));
    EXPECT_EQ(ListKeyAction::extend, ListKeyActionFor(KeyCode::space, false));
    EXPECT_EQ(ListKeyAction::treeBack, ListKeyActionFor(KeyCode::backspace, false));
    EXPECT_EQ(ListKeyAction::treeFocus, ListKeyActionFor(KeyCode::tab, false));
    EXPECT_EQ(ListKeyAction::contextMenu, ListKeyActionFor(KeyCode::apps, false));
    EXPECT_EQ(ListKeyAction::contextMenu, ListKeyActionFor(KeyCode::f10, true));
    EXPECT_EQ(ListKeyAction::none, ListKeyActionFor(KeyCode::f10, false));
}

// Click then the answer to the posted column, from a given sort state.
struct ClickCase {
    int32_t column;
    bool shift;
    bool ctrl;
    int32_t sortKind;
    bool descending;
    int32_t newKind;
    bool newDescending;
};

TEST(BrowseRules, ColumnClicksSortReverseAndUnsort) {
    const ClickCase cases[] = {
        {kSortByTitle, false, false, kSortByName, false, kSortByTitle, false},  // another column
        {kSortByTitle, false, false, kSortByTitle, false, kSortByTitle, true},  // same column reverses
        {kSortByTitle, false, false, kSortByTitle, true, kSortByTitle, false},
        {kSortByDate, true, false, kSortByTitle, false, kSortByDate, true},    // Shift: opposite direction
        {kSortByTitle, true, false, kSortByTitle, false, kSortByTitle, true},  // Shift on the sort column
        {kSortByComment, false, true, kSortByName, true, kSortNone, true},     // Ctrl unsorts
        {kSortByName, false, false, kSortNone, false, kSortByName, false},
    };
    for (const ClickCase& c : cases) {
        const ColumnClick click = DecideColumnClick(c.column, c.sortKind, c.shift, c.ctrl);
        const bool descending = click.reverseFirst ? !c.descending : c.descending;
        const SortChange change = DecideSortChange(click.postedColumn, c.sortKind, descending);
        const int32_t kind = change.changeOrder ? c.sortKind : change.kind;
        EXPECT_EQ(c.newKind, kind) << c.column;
        EXPECT_EQ(c.newDescending, change.descending) << c.column;
    }
}

TEST(BrowseRules, HeaderMarkOnlyOnTheSortColumnInReportView) {
    EXPECT_EQ(1, HeaderSortImage(1, 1, false, true));
    EXPECT_EQ(2, HeaderSortImage(1, 1, true, true));
    EXPECT_EQ(0, HeaderSortImage(0, 1, false, true));
    EXPECT_EQ(0, HeaderSortImage(1, 1, false, false));
    EXPECT_EQ(0, HeaderSortImage(0, kSortNone, false, true));
}

TEST(BrowseRules, TypeAheadMatchesFirstCharacterOnlyFromStartWithoutWrapping) {
    BagBox list = MakeObjectList();
    for (const char* name : {"alpha", "Bolero", "表紙", "bach", "ソナタ", "\x95"}) {
        list.Add({name, name, "2024/01/02 03:04:05"}, {0, 0});
    }
    struct Case {
        const char* typed;
        int32_t start;
        int32_t row;
    } cases[] = {
        {"b", 0, 1},  {"bo", 2, 3}, {"B", 2, 3}, {"b", 4, -1},   {"表x", 0, 2},
        {"ソ", 0, 4}, {"z", 0, -1}, {"", 0, -1}, {"\x95", 0, 5}, {"a", -3, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.row, FindTypeAheadRow(list, c.typed, c.start)) << c.typed << " from " << c.start;
    }
}

TEST(BrowseRules, ColumnsAutoSizeOnlyInFilledReportView) {
    EXPECT_TRUE(AutoSizesColumns(true, 3, 1));
    EXPECT_FALSE(AutoSizesColumns(true, 3, 0));
    EXPECT_FALSE(AutoSizesColumns(true, 2, 5));
    EXPECT_FALSE(AutoSizesColumns(false, 3, 5));
}

std::vector<std::string> MenuTexts(uint32_t attributes, bool ejectable) {
    std::vector<std::string> texts;
    for (const MenuEntry& e : NodeMenuEntries(attributes, ejectable)) {
        switch (e.kind) {
            case MenuEntryKind::separator:
                texts.push_back("-");
                break;
            case MenuEntryKind::endSubMenu:
                texts.push_back(">");
                break;
            default:
                texts.push_back(std::to_string(e.command) + e.text);
        }
    }
    return texts;
}

TEST(BrowseRules, NodeMenuItemsDependOnTheNodeKind) {
    using V = std::vector<std::string>;
    EXPECT_EQ((V{"570順次演奏(&U)", "571ランダム演奏(&R)", "-", "572編集(&E)...", "-", "575名前を変更(&A)...",
                 "576削除(&D)..."}),
              MenuTexts(kListFileNodeBit, false));
    EXPECT_EQ((V{"570順次演奏(&U)", "571ランダム演奏(&R)", "-", "0新規作成(&N)", "573フォルダ(&F)...",
                 "574リストファイル(&L)...", ">", "-", "575名前を変更(&A)...", "576削除(&D)..."}),
              MenuTexts(kNodeFolderBit, false));
    EXPECT_EQ((V{"570順次演奏(&U)", "571ランダム演奏(&R)", "-", "0新規作成(&N)", "573フォルダ(&F)...",
                 "574リストファイル(&L)...", ">", "-", "577取り出し(&J)"}),
              MenuTexts(kNodeDriveBit | 3, true));
    EXPECT_EQ(7u, MenuTexts(kNodeDriveBit, false).size());
}

TEST(BrowseRules, EjectOfferedForReadyRemovableMediaButNotFloppies) {
    struct Case {
        uint32_t type;
        bool ready;
        bool geometry;
        int32_t media;
        bool offered;
    } cases[] = {
        {kDriveCdRom, true, false, 0, true},
        {kDriveCdRom, false, false, 0, false},
        {kDriveRemovable, true, true, 11, true},
        {kDriveRemovable, true, true, 12, true},
        {kDriveRemovable, true, true, 1, false},
        {kDriveRemovable, true, true, 10, false},
        {kDriveRemovable, true, true, 13, false},
        {kDriveRemovable, true, true, 19, false},
        {kDriveRemovable, true, true, 22, false},
        {kDriveRemovable, true, true, 20, true},
        {3, true, false, 0, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.offered, OffersEject(c.type, c.ready, c.geometry, c.media)) << c.type << " " << c.media;
    }
}

TEST(DisplayStore, CachesTextsAndImagesPerRowUntilCleared) {
    DisplayStore store;
    EXPECT_EQ(nullptr, store.Text(0, DisplayText::title));
    EXPECT_EQ(-1, store.Image(0));
    store.SetText(1, DisplayText::title, "表題");
    store.SetText(1, DisplayText::soundModule, "");
    store.SetText(2, DisplayText::comment, nullptr);
    store.SetImage(2, 0);
    store.SetText(-1, DisplayText::title, "outside");
    store.SetText(kDisplayStoreRowLimit, DisplayText::title, "outside");
    EXPECT_STREQ("表題", store.Text(1, DisplayText::title));
    EXPECT_STREQ("", store.Text(1, DisplayText::soundModule));
    EXPECT_EQ(nullptr, store.Text(1, DisplayText::comment));
    EXPECT_EQ(nullptr, store.Text(2, DisplayText::comment));
    EXPECT_EQ(0, store.Image(2));
    EXPECT_EQ(nullptr, store.Text(-1, DisplayText::title));
    EXPECT_EQ(nullptr, store.Text(9, DisplayText::title));
    store.SetText(1, DisplayText::title, "新");
    EXPECT_STREQ("新", store.Text(1, DisplayText::title));
    store.Clear();
    EXPECT_EQ(nullptr, store.Text(1, DisplayText::title));
    EXPECT_EQ(-1, store.Image(2));
}

TEST(DisplayStore, RangeMarksLiveBesideTheCachedValuesUntilCleared) {
    DisplayStore store;
    store.SetText(3, DisplayText::title, "表題");
    store.SetRangeMark(3, true);
    store.SetRangeMark(5, true);  // a row not fetched yet
    store.SetRangeMark(7, false);
    store.SetRangeMark(-1, true);
    store.SetRangeMark(kDisplayStoreRowLimit, true);
    std::vector<int32_t> marked;
    for (int32_t row = -1; row < 9; ++row) {
        if (store.HasRangeMark(row)) {
            marked.push_back(row);
        }
    }
    EXPECT_EQ((std::vector<int32_t>{3, 5}), marked);
    EXPECT_STREQ("表題", store.Text(3, DisplayText::title));
    EXPECT_EQ(-1, store.Image(5));
    store.SetImage(5, 1);
    store.SetRangeMark(3, false);
    EXPECT_FALSE(store.HasRangeMark(3));
    EXPECT_TRUE(store.HasRangeMark(5));
    EXPECT_EQ(1, store.Image(5));
    store.Clear();
    EXPECT_FALSE(store.HasRangeMark(5));
}

}  // namespace
