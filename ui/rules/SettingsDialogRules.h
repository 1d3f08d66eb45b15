// The settings dialog's pages as values: each page's controls (check boxes,
// radio pairs, edits) held in a plain struct, filled from the settings and
// written back with the few conversions between control and setting
// (inverted boxes, the "RegWrite" bits, the play time-out range). The
// dialog only copies these values into its controls and out again.
#pragma once

#include <cstdint>
#include <string>

#include "core/Settings.h"

constexpr int kSettingsTabCount = 7;

// Tab captions and the help page each tab's "ヘルプ(&H)" opens.
extern const char* const kSettingsTabCaptions[kSettingsTabCount];
extern const char* const kSettingsTabHelpPages[kSettingsTabCount];

// The entries of the shell property tab list, in list order.
constexpr int kShellPropertyTabCount = 3;
extern const char* const kShellPropertyTabs[kShellPropertyTabCount];

// What Apply asks the rest of the program to refresh.
constexpr uint32_t kRefreshLocation = 0x2;      // re-read the location
constexpr uint32_t kRefreshDisplayNames = 0x4;  // rebuild the display names
constexpr uint32_t kRefreshColumnSizes = 0x10;  // size the columns to their contents
constexpr uint32_t kRefreshFullRow = 0x20;      // switch the list's full-row style
constexpr uint32_t kRefreshTree = 0x40;         // refill the folder tree
constexpr uint32_t kRefreshSearchPath = 0x80;   // extend the process search path again

// The play time-out range, seconds.
constexpr uint32_t kMinPlayTimeOut = 1;
constexpr uint32_t kMaxPlayTimeOut = 100;
// Bytes of the time-out edit that are read.
constexpr size_t kPlayTimeOutTextBytes = 8;

// The five boxes of "終了時に保存するもの(&W)", controls 100 to 104.
constexpr int kRegWriteBoxCount = 5;
extern const uint32_t kRegWriteBoxBits[kRegWriteBoxCount];

// "PlayTimeOut" from the edit's text: the leading decimal digits of its
// first 8 bytes read as an unsigned number (a '-' makes it huge), 0 raised
// to 1, anything above 100 lowered to 100.
uint32_t PlayTimeOutFromText(const char* text);

// Tab 0, "全般 1".
struct GeneralPage1 {
    bool save[kRegWriteBoxCount] = {};
    bool showListFile = false;
    bool simpleTitleSearch = false;  // inverted "TitleSearch"
    bool cutTitleSpace = false;
    bool autoCache = false;
    bool singleClick = false;  // radio 120, else 121
};
GeneralPage1 LoadGeneralPage1(const ClientSettings& settings);
// Returns the refresh bits the changes need.
uint32_t ApplyGeneralPage1(const GeneralPage1& page, ClientSettings* settings);

// Tab 1, "全般 2": controls 100 to 106 in order.
constexpr int kGeneralPage2BoxCount = 7;
struct GeneralPage2 {
    bool boxes[kGeneralPage2BoxCount] = {};
};
GeneralPage2 LoadGeneralPage2(const ClientSettings& settings);
uint32_t ApplyGeneralPage2(const GeneralPage2& page, ClientSettings* settings);

// Tab 2, "曲リストウィンドウ".
struct ListWindowPage {
    bool focusLast = false;    // radio 101, else 100
    int shellPropertyTab = 0;  // index into kShellPropertyTabs
    bool useMp3infp = false;   // "ShellPropertySel" 1
    bool searchSubFolder = false;
    bool searchArchive = false;
    bool fullRowSelect = false;
    bool hideExtensions = false;  // inverted "ShowFileNameExt"
    bool columnAutoSize = false;
};
ListWindowPage LoadListWindowPage(const ClientSettings& settings);
// locationOpen: a location is shown, so a changed archive search re-reads it.
uint32_t ApplyListWindowPage(const ListWindowPage& page, bool locationOpen, ClientSettings* settings);

// Tab 3, "プレイヤー".
struct PlayerPage {
    std::string execPath;
    std::string userPlayerFilename;
    bool moduleEmulation = false;
    bool iconSelectorMin = false;
    bool iconSelectorNormal = false;
    bool iconSelectorMax = false;
    std::string playTimeOut;  // the edit's text
    bool closePlayer = false;
};
PlayerPage LoadPlayerPage(const ClientSettings& settings);
uint32_t ApplyPlayerPage(const PlayerPage& page, ClientSettings* settings);

// One editor group of tabs 4 to 6.
struct EditorGroup {
    bool chain = false;  // "関連付けを使用する"
    std::string action;
    std::string filename;
};
// The groups in tab order: 0 sequencer (tab 4), 1 MIMPI, 2 Sherry, 3 Neo
// WRD (tab 5), 4 text editor (tab 6).
constexpr int kEditorGroupCount = 5;
struct EditorPages {
    EditorGroup groups[kEditorGroupCount];
    std::string userTextExt;
};
EditorPages LoadEditorPages(const ClientSettings& settings);
uint32_t ApplyEditorPages(const EditorPages& pages, ClientSettings* settings);
