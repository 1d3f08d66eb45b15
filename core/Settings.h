// The program's settings as they live in the settings store: every value of
// every subkey with its default, read once at start-up and written back once
// at exit. The windows copy what they need from these structs and put their
// live values (widths, location, placement) back before the save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/BagBox.h"

class SettingsStore;

// The system's "use the default position" value for positions and sizes.
constexpr int32_t kUseDefaultPosition = INT32_MIN;  // 0x80000000

// Layout version written to "RegVersion"; stored bands older than it are ignored.
constexpr uint32_t kSettingsVersion = 4;

// Bits of "RegWrite": what is remembered across runs.
constexpr uint32_t kRegWriteMainPosition = 0x1;      // "WinX", "WinY" of the main window
constexpr uint32_t kRegWriteMainSize = 0x2;          // "WinW", "WinH" of the main window
constexpr uint32_t kRegWritePlayMode = 0x4;          // otherwise "PlayMode" is saved as 0
constexpr uint32_t kRegWritePropertyPosition = 0x8;  // "WinX", "WinY" of the property window
constexpr uint32_t kRegWriteReopenProperty = 0x10;   // reopen the property window at start
constexpr uint32_t kDefaultRegWrite = 0x1B;

// Buffer sizes of the text values, in bytes including the terminator.
constexpr size_t kSettingsPathBytes = 512;
constexpr size_t kUserTextExtBytes = 8;
constexpr size_t kSearchTextBytes = 256;
constexpr size_t kExecPathBytes = 5120;
constexpr size_t kEditorVerbBytes = 32;

// Entries of the search history read back at start ("Hist_0" to "Hist_2f").
constexpr int32_t kSearchHistoryLimit = 48;

// One band of a rebar, by its position in the bar.
struct RebarBand {
    uint32_t id;
    uint32_t cx;  // pixels
    bool show;
    bool breakLine;  // starts a new row
};

constexpr int kMainBandCount = 3;

// The main window's placement and bands ("Window" subkey), owned by MainWindow.
struct MainPlacement {
    uint32_t window = 0;  // 0 normal, 1 minimized, 2 maximized
    int32_t winX = kUseDefaultPosition;
    int32_t winY = kUseDefaultPosition;
    int32_t winW = kUseDefaultPosition;
    int32_t winH = kUseDefaultPosition;
    RebarBand bands[kMainBandCount] = {{1, 180, true, false}, {2, 242, true, false}, {3, 228, true, false}};
    bool showStatusBar = true;
};

// Pane and column widths of the "Window" subkey, in pixels.
struct WindowSettings {
    uint32_t treeWindWidth = 208;
    uint32_t listWindFileNameWidth = 96;
    uint32_t listWindTitleWidth = 276;
    uint32_t listWindCommentWidth = 96;
    uint32_t listWindLastWriteTimeWidth = 90;
    uint32_t listWindModuleWidth = 66;
    // Not a stored value: whether the key held any column width. Without one
    // the song list fits its first-start widths to its font and size.
    bool columnWidthsStored = false;
};

struct FloatingToolBarSettings {
    bool show = false;
    bool showMinOnly = false;
    bool vertical = false;
    bool topMost = false;
    int32_t winX = kUseDefaultPosition;
    int32_t winY = kUseDefaultPosition;
};

struct PropertySettings {
    bool show = false;
    int32_t winX = kUseDefaultPosition;
    int32_t winY = kUseDefaultPosition;
    uint32_t window = 0;  // reopened at start only when not 1
    uint32_t tabSelect = 0;
};

struct LastSelectSettings {
    std::string path;
    std::string file;  // relative to path
    bool searchSubFolder = false;
};

struct ModeSettings {
    uint32_t playerMode = 0;
    uint32_t regWrite = kDefaultRegWrite;
    uint32_t playMode = 0;
    bool titleSearch = true;
    bool playMouseSingleClk = false;
    bool cutTitleSpace = false;
    bool autoCache = true;
    bool storeTaskTray = false;
    bool changeHtmlKana = true;
    bool shellFolderImage = true;
    bool keyboardFileOperation = true;
    bool useRecycler = false;
    bool loopPlay = false;
    bool mesDragDrop = true;
    std::string userTextExt;
};

struct TreeWindowSettings {
    bool sort = true;
    bool showListFile = true;
};

struct ListWindowSettings {
    uint32_t show = 3;  // list view mode; 3 is the report view
    uint32_t sort = 0;
    bool sortFlag = false;
    uint32_t shellPropertySel = 1;
    std::string shellPropertyTab;
    bool tvnSelChangedLastSel = false;
    bool showFileNameExt = false;
    bool fullRowSelect = true;
    bool columnAutoSize = false;
    bool searchSubFolder = false;
    bool searchArchive = true;
};

// The search history table: one string column, newest entry first.
BagBox MakeSearchHistoryTable();

struct SearchSettings {
    std::string searchText;  // the first history entry at start
    int32_t winX = kUseDefaultPosition;
    int32_t winY = kUseDefaultPosition;
    uint32_t subIndex = 7;
    bool up = false;
    uint32_t strFlag = 7;
    uint32_t strAndOr = 1;
    BagBox history = MakeSearchHistoryTable();
};

struct EmulationSettings {
    uint32_t searchStrFlag = 0xF;  // every text of a song is searched
    // A MIDI song no detection string names a module for takes the module
    // of its reset message.
    bool searchResetMessage = true;
};

struct PlayerSettings {
    std::string execPath;
    std::string userPlayerFilename;
    bool iconSelectorNormal = false;
    bool iconSelectorMin = true;
    bool iconSelectorMax = true;
    bool moduleEmulation = true;
    bool closePlayer = true;
    uint32_t playTimeOut = 10;
};

struct EditorSettings {
    bool midiChain = true;
    bool wrdChain = true;
    bool sherryWrdChain = true;
    bool neoWrdChain = true;
    bool textChain = true;
    std::string midiAction = "edit";
    std::string wrdAction = "open";
    std::string sherryWrdAction = "open";
    std::string neoWrdAction = "open";
    std::string textAction = "open";
    std::string midiFilename;
    std::string wrdFilename = "notepad.exe";
    std::string sherryWrdFilename;
    std::string neoWrdFilename;
    std::string textFilename = "notepad.exe";
};

// The list file editor's window ("MakeList" subkey).
struct MakeListSettings {
    RebarBand band = {1, 140, true, false};
    bool showStatusBar = true;
    uint32_t listWindFileNameWidth = 258;
    uint32_t listWindTitleWidth = 294;
    int32_t winX = kUseDefaultPosition;
    int32_t winY = kUseDefaultPosition;
    int32_t winW = 580;
    int32_t winH = 388;
};

// Everything ClientWindow loads and saves, one member per subkey.
struct ClientSettings {
    WindowSettings window;
    FloatingToolBarSettings floatingToolBar;
    PropertySettings property;
    LastSelectSettings lastSelect;
    ModeSettings mode;
    TreeWindowSettings treeWindow;
    ListWindowSettings listWindow;
    SearchSettings search;
    EmulationSettings emulation;
    PlayerSettings player;
    EditorSettings editor;
    MakeListSettings makeList;
};

// Value names of a band ("ReBarBand_1_cx") and of a history entry ("Hist_2f").
std::string BandValueName(int position, const char* part);
std::string HistoryValueName(int32_t index);

// Reads every subkey in order into a default-constructed settings struct; a
// value that is missing, of another type or too long for its buffer keeps its
// default. The sound module table is loaded separately.
void LoadSettings(SettingsStore* store, ClientSettings* settings);
// Writes every subkey in order, creating missing keys; failures skip values
// silently. "PlayMode" is 0 unless "RegWrite" asks for it, the property
// window's position is written only when "RegWrite" asks for it.
void SaveSettings(SettingsStore* store, const ClientSettings& settings);

// The main window's placement and bands; the stored bands are used only when
// all their values exist and "RegVersion" is at least 4.
void LoadMainPlacement(SettingsStore* store, MainPlacement* placement);
// Writes the placement; position and size only as far as regWrite allows.
void SaveMainPlacement(SettingsStore* store, const MainPlacement& placement, uint32_t regWrite);

// Deletes every subkey of "Emulation"; true when none is left.
bool DeleteEmulationSubkeys(SettingsStore* store);
// Deletes the program's whole key, subkey by subkey and then the key itself
// (the maker's key above it stays); true when the key is gone.
bool DeleteAllSettings(SettingsStore* store);
