// The settings dialog's conversions between controls and settings: the play
// time-out range, the "RegWrite" boxes, the inverted boxes, the list page's
// refresh bits and the bounded edit texts.
#include "ui/rules/SettingsDialogRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SettingsDialogRules, PlayTimeOutIsHeldBetweenOneAndHundred) {
    const struct {
        const char* text;
        uint32_t stored;
    } cases[] = {
        {"0", 1},
        {"", 1},
        {"abc", 1},
        {"1", 1},
        {"100", 100},
        {"101", 100},
        {"250", 100},
        {"-5", 100},
        {"12s", 12},
        {"+7", 7},
        {"000000050", 5},  // only 8 bytes are read
        {"99999999999", 100},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.stored, PlayTimeOutFromText(c.text)) << c.text;
        ClientSettings settings;
        PlayerPage page = LoadPlayerPage(settings);
        page.playTimeOut = c.text;
        ApplyPlayerPage(page, &settings);
        EXPECT_EQ(c.stored, settings.player.playTimeOut) << c.text;
    }
}

TEST(SettingsDialogRules, SaveBoxesRebuildRegWrite) {
    ClientSettings settings;
    GeneralPage1 page = LoadGeneralPage1(settings);
    // Default 0x1B: everything but the play state.
    EXPECT_TRUE(page.save[0] && page.save[1] && page.save[2] && page.save[3]);
    EXPECT_FALSE(page.save[4]);
    for (bool& box : page.save) {
        box = false;
    }
    ApplyGeneralPage1(page, &settings);
    EXPECT_EQ(0u, settings.mode.regWrite);
    page.save[2] = true;  // property window position
    page.save[4] = true;  // play state
    ApplyGeneralPage1(page, &settings);
    EXPECT_EQ(kRegWritePropertyPosition | kRegWritePlayMode, settings.mode.regWrite);
    // Bits the dialog has no box for are not kept.
    settings.mode.regWrite = 0xFF;
    ApplyGeneralPage1(LoadGeneralPage1(settings), &settings);
    EXPECT_EQ(0x1Fu, settings.mode.regWrite);
}

TEST(SettingsDialogRules, InvertedBoxesAndRadioPairs) {
    ClientSettings settings;
    GeneralPage1 general = LoadGeneralPage1(settings);
    EXPECT_FALSE(general.simpleTitleSearch);  // "TitleSearch" on by default
    general.simpleTitleSearch = true;
    general.singleClick = true;
    ApplyGeneralPage1(general, &settings);
    EXPECT_FALSE(settings.mode.titleSearch);
    EXPECT_TRUE(settings.mode.playMouseSingleClk);

    ListWindowPage list = LoadListWindowPage(settings);
    EXPECT_TRUE(list.hideExtensions);  // extensions hidden by default
    EXPECT_TRUE(list.useMp3infp);
    list.hideExtensions = false;
    list.useMp3infp = false;
    list.focusLast = true;
    list.shellPropertyTab = 2;
    ApplyListWindowPage(list, false, &settings);
    EXPECT_TRUE(settings.listWindow.showFileNameExt);
    EXPECT_EQ(0u, settings.listWindow.shellPropertySel);
    EXPECT_TRUE(settings.listWindow.tvnSelChangedLastSel);
    EXPECT_EQ("概要", settings.listWindow.shellPropertyTab);
    EXPECT_EQ(2, LoadListWindowPage(settings).shellPropertyTab);
}

TEST(SettingsDialogRules, ListPageReportsWhatToRefresh) {
    struct Case {
        void (*change)(ListWindowPage*);
        bool locationOpen;
        uint32_t refresh;
    } cases[] = {
        {[](ListWindowPage*) {}, true, 0},
        {[](ListWindowPage* p) { p->searchSubFolder = !p->searchSubFolder; }, false, kRefreshLocation},
        {[](ListWindowPage* p) { p->searchArchive = !p->searchArchive; }, true, kRefreshLocation},
        {[](ListWindowPage* p) { p->searchArchive = !p->searchArchive; }, false, 0},
        {[](ListWindowPage* p) { p->hideExtensions = !p->hideExtensions; }, true, kRefreshDisplayNames},
        {[](ListWindowPage* p) { p->fullRowSelect = !p->fullRowSelect; }, true, kRefreshFullRow},
        {[](ListWindowPage* p) { p->columnAutoSize = true; }, true, kRefreshColumnSizes},
    };
    for (const Case& c : cases) {
        ClientSettings settings;
        ListWindowPage page = LoadListWindowPage(settings);
        c.change(&page);
        EXPECT_EQ(c.refresh, ApplyListWindowPage(page, c.locationOpen, &settings));
    }
    // Switching automatic sizing off sizes nothing.
    ClientSettings settings;
    settings.listWindow.columnAutoSize = true;
    ListWindowPage page = LoadListWindowPage(settings);
    page.columnAutoSize = false;
    EXPECT_EQ(0u, ApplyListWindowPage(page, true, &settings));
    EXPECT_FALSE(settings.listWindow.columnAutoSize);
}

TEST(SettingsDialogRules, TreeAndSearchPathChangesAreReported) {
    ClientSettings settings;
    GeneralPage1 general = LoadGeneralPage1(settings);
    general.showListFile = !general.showListFile;
    EXPECT_EQ(kRefreshTree, ApplyGeneralPage1(general, &settings));
    GeneralPage2 general2 = LoadGeneralPage2(settings);
    general2.boxes[2] = !general2.boxes[2];  // "ShellFolderImage"
    general2.boxes[4] = !general2.boxes[4];  // "UseRecycler"
    EXPECT_EQ(kRefreshTree, ApplyGeneralPage2(general2, &settings));
    EXPECT_TRUE(settings.mode.useRecycler);
    PlayerPage player = LoadPlayerPage(settings);
    EXPECT_EQ(0u, ApplyPlayerPage(player, &settings));
    player.execPath = "C:\\players\r\nD:\\表ソ";
    EXPECT_EQ(kRefreshSearchPath, ApplyPlayerPage(player, &settings));
    EXPECT_EQ(0u, ApplyPlayerPage(player, &settings));
}

TEST(SettingsDialogRules, EditTextsAreCutToTheirSettingsWithoutSplittingCharacters) {
    ClientSettings settings;
    EditorPages pages = LoadEditorPages(settings);
    EXPECT_EQ("edit", pages.groups[0].action);
    EXPECT_EQ("notepad.exe", pages.groups[4].filename);
    pages.groups[1].chain = false;
    pages.groups[3].filename = "neo.exe";
    pages.userTextExt = "表ソ表ソ";  // 8 bytes: the last character does not fit beside the terminator
    pages.groups[2].action = std::string(40, 'a');
    ApplyEditorPages(pages, &settings);
    EXPECT_FALSE(settings.editor.wrdChain);
    EXPECT_EQ("neo.exe", settings.editor.neoWrdFilename);
    EXPECT_EQ("表ソ表", settings.mode.userTextExt);
    EXPECT_EQ(std::string(31, 'a'), settings.editor.sherryWrdAction);
}

}  // namespace
