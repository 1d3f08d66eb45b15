// The find dialog as the user drives it: its fields start from the settings,
// fuzzy forces ignore case, the default button waits for a text and a
// target, and a find stores the fields and the history and keeps the dialog
// open.
#include "ui/SearchDialogs_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void TypeText(HWND dialog, const char* text) {
    const HWND combo = GetDlgItem(dialog, 1001);
    SetWindowTextA(combo, text);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1001, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo));
}

TEST(FindDialog, FieldsButtonsAndFindStoreTheSettings) {
    SearchSettings settings;
    settings.strFlag = kSearchContains;
    settings.subIndex = kSearchTitle;
    AddToHistory(&settings.history, "older");
    std::vector<bool> finds;
    OpenFindDialog(nullptr, &settings, 10, 9, [&](bool upward) { finds.push_back(upward); });
    const HWND dialog = FindDialogWindow();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(1, SendMessageA(GetDlgItem(dialog, 1001), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, 1011));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, 1010));
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, 1040));  // focused on the last row: upward
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));   // no text yet

    TypeText(dialog, "表ソ");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    Click(dialog, 1011);  // untick the only target
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    Click(dialog, 1010);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));

    Click(dialog, 1020);  // fuzzy
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, 1021));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1021)));

    Click(dialog, IDOK);
    EXPECT_EQ((std::vector<bool>{true}), finds);
    EXPECT_EQ("表ソ", settings.searchText);
    EXPECT_EQ(kSearchName, settings.subIndex);
    EXPECT_EQ(kSearchFuzzy | kSearchIgnoreCase | kSearchContains, settings.strFlag);
    EXPECT_EQ((std::vector<std::string>{"表ソ", "older"}), HistoryEntries(settings.history));
    EXPECT_EQ(2, SendMessageA(GetDlgItem(dialog, 1001), CB_GETCOUNT, 0, 0));
    ASSERT_EQ(dialog, FindDialogWindow());  // stays open

    Click(dialog, IDCANCEL);
    Pump();
    EXPECT_EQ(nullptr, FindDialogWindow());
    EXPECT_NE(kUseDefaultPosition, settings.winX);
}

}  // namespace
