// The settings: defaults on a first start, every value written at exit, the
// round trip, buffer limits, "RegWrite" rules, bands and the search history.
#include "core/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SettingsStore.h"

namespace {

// Remembers the order in which subkeys are first touched.
class RecordingStore : public MemorySettingsStore {
   public:
    std::vector<std::string> keys;
    bool ReadNumber(const std::string& key, const std::string& name, uint32_t* value) override {
        Note(key);
        return MemorySettingsStore::ReadNumber(key, name, value);
    }
    bool ReadText(const std::string& key, const std::string& name, size_t maxBytes, std::string* value) override {
        Note(key);
        return MemorySettingsStore::ReadText(key, name, maxBytes, value);
    }
    bool WriteNumber(const std::string& key, const std::string& name, uint32_t value) override {
        Note(key);
        return MemorySettingsStore::WriteNumber(key, name, value);
    }
    bool WriteText(const std::string& key, const std::string& name, const std::string& value) override {
        Note(key);
        return MemorySettingsStore::WriteText(key, name, value);
    }

   private:
    void Note(const std::string& key) {
        if (keys.empty() || keys.back() != key) {
            keys.push_back(key);
        }
    }
};

struct NumberValue {
    const char* key;
    const char* name;
    uint32_t value;
};

// Every number and switch a first run leaves behind, with its default.
const NumberValue kDefaultNumbers[] = {
    {"", "RegVersion", 4},
    {"Window", "TreeWindWidth", 208},
    {"Window", "ListWindFileNameWidth", 96},
    {"Window", "ListWindTitleWidth", 276},
    {"Window", "ListWindCommentWidth", 96},
    {"Window", "ListWindLastWriteTimeWidth", 90},
    {"Window", "ListWindModuleWidth", 66},
    {"Window", "Window", 0},
    {"Window", "WinX", 0x80000000},
    {"Window", "WinY", 0x80000000},
    {"Window", "WinW", 0x80000000},
    {"Window", "WinH", 0x80000000},
    {"Window", "ReBarBand_1_id", 1},
    {"Window", "ReBarBand_2_id", 2},
    {"Window", "ReBarBand_3_id", 3},
    {"Window", "ReBarBand_1_cx", 180},
    {"Window", "ReBarBand_2_cx", 242},
    {"Window", "ReBarBand_3_cx", 228},
    {"Window", "ReBarBand_1_Show", 1},
    {"Window", "ReBarBand_3_Show", 1},
    {"Window", "ReBarBand_2_BreakLine", 0},
    {"Window", "ShowStatusBar", 1},
    {"FloatingToolBar", "Show", 0},
    {"FloatingToolBar", "ShowMinOnly", 0},
    {"FloatingToolBar", "Vertical", 0},
    {"FloatingToolBar", "TopMost", 0},
    {"FloatingToolBar", "WinX", 0x80000000},
    {"FloatingToolBar", "WinY", 0x80000000},
    {"Property", "Show", 0},
    {"Property", "WinX", 0x80000000},
    {"Property", "WinY", 0x80000000},
    {"Property", "Window", 0},
    {"Property", "TabSelect", 0},
    {"LastSelect", "SearchSubFolder", 0},
    {"Mode", "PlayerMode", 0},
    {"Mode", "RegWrite", 0x1B},
    {"Mode", "PlayMode", 0},
    {"Mode", "TitleSearch", 1},
    {"Mode", "PlayMouseSingleClk", 0},
    {"Mode", "CutTitleSpace", 0},
    {"Mode", "AutoCache", 1},
    {"Mode", "StoreTaskTray", 0},
    {"Mode", "ChangeHtmlKana", 1},
    {"Mode", "ShellFolderImage", 1},
    {"Mode", "KeyboardFileOperation", 1},
    {"Mode", "UseRecycler", 0},
    {"Mode", "LoopPlay", 0},
    {"Mode", "MesDragDrop", 1},
    {"TreeWindow", "Sort", 1},
    {"TreeWindow", "ShowListFile", 1},
    {"ListWindow", "Show", 3},
    {"ListWindow", "Sort", 0},
    {"ListWindow", "SortFlag", 0},
    {"ListWindow", "ShellPropertySel", 1},
    {"ListWindow", "TvnSelChangedLastSel", 0},
    {"ListWindow", "ShowFileNameExt", 0},
    {"ListWindow", "FullRowSelect", 1},
    {"ListWindow", "ColumnAutoSize", 0},
    {"ListWindow", "SearchSubFolder", 0},
    {"ListWindow", "SearchArchive", 1},
    {"Search", "WinX", 0x80000000},
    {"Search", "WinY", 0x80000000},
    {"Search", "SubIndex", 7},
    {"Search", "Up", 0},
    {"Search", "StrFlag", 7},
    {"Search", "StrAndOr", 1},
    {"Emulation", "SearchStrFlag", 15},
    {"Emulation", "SearchResetMessage", 1},
    {"Player", "IconSelectorNormal", 0},
    {"Player", "IconSelectorMin", 1},
    {"Player", "IconSelectorMax", 1},
    {"Player", "ModuleEmulation", 1},
    {"Player", "ClosePlayer", 1},
    {"Player", "PlayTimeOut", 10},
    {"Editor", "MidiChain", 1},
    {"Editor", "WrdChain", 1},
    {"Editor", "SherryWrdChain", 1},
    {"Editor", "NeoWrdChain", 1},
    {"Editor", "TextChain", 1},
    {"MakeList", "ReBarBand_1_id", 1},
    {"MakeList", "ReBarBand_1_cx", 140},
    {"MakeList", "ReBarBand_1_Show", 1},
    {"MakeList", "ReBarBand_1_BreakLine", 0},
    {"MakeList", "ShowStatusBar", 1},
    {"MakeList", "ListWindFileNameWidth", 258},
    {"MakeList", "ListWindTitleWidth", 294},
    {"MakeList", "WinX", 0x80000000},
    {"MakeList", "WinY", 0x80000000},
    {"MakeList", "WinW", 580},
    {"MakeList", "WinH", 388},
};

struct TextValue {
    const char* key;
    const char* name;
    const char* value;
};

const TextValue kDefaultTexts[] = {
    {"LastSelect", "Path", ""},
    {"LastSelect", "File", ""},
    {"Mode", "UserTextExt", ""},
    {"ListWindow", "ShellPropertyTab", ""},
    {"Player", "ExecPath", ""},
    {"Player", "UserPlayerFilename", ""},
    {"Editor", "MidiAction", "edit"},
    {"Editor", "WrdAction", "open"},
    {"Editor", "SherryWrdAction", "open"},
    {"Editor", "NeoWrdAction", "open"},
    {"Editor", "TextAction", "open"},
    {"Editor", "MidiFilename", ""},
    {"Editor", "WrdFilename", "notepad.exe"},
    {"Editor", "SherryWrdFilename", ""},
    {"Editor", "NeoWrdFilename", ""},
    {"Editor", "TextFilename", "notepad.exe"},
};

// One run of the program: load everything, then save everything.
void RunOnce(SettingsStore* store, ClientSettings* settings, MainPlacement* placement) {
    LoadMainPlacement(store, placement);
    LoadSettings(store, settings);
    SaveSettings(store, *settings);
    SaveMainPlacement(store, *placement, settings->mode.regWrite);
}

TEST(Settings, FirstStartWritesEveryValueWithItsDefault) {
    MemorySettingsStore store;
    ClientSettings settings;
    MainPlacement placement;
    RunOnce(&store, &settings, &placement);
    for (const NumberValue& expected : kDefaultNumbers) {
        uint32_t value = 0xDEADBEEF;
        EXPECT_TRUE(store.ReadNumber(expected.key, expected.name, &value)) << expected.key << " " << expected.name;
        EXPECT_EQ(expected.value, value) << expected.key << " " << expected.name;
    }
    for (const TextValue& expected : kDefaultTexts) {
        std::string value = "unset";
        EXPECT_TRUE(store.ReadText(expected.key, expected.name, 5120, &value)) << expected.name;
        EXPECT_EQ(expected.value, value) << expected.key << " " << expected.name;
    }
    std::string history;
    EXPECT_FALSE(store.ReadText("Search", "Hist_0", 256, &history));
}

TEST(Settings, SubkeysAreReadAndWrittenInTheirOrder) {
    RecordingStore store;
    ClientSettings settings;
    LoadSettings(&store, &settings);
    const std::vector<std::string> loadOrder = {"Window",    "FloatingToolBar", "Property",   "LastSelect",
                                                "Mode",      "TreeWindow",      "ListWindow", "Search",
                                                "Emulation", "Player",          "Editor",     "MakeList"};
    EXPECT_EQ(loadOrder, store.keys);
    store.keys.clear();
    SaveSettings(&store, settings);
    std::vector<std::string> saveOrder = loadOrder;
    saveOrder.insert(saveOrder.begin(), "");
    EXPECT_EQ(saveOrder, store.keys);
}

TEST(Settings, ChangedValuesSurviveARoundTrip) {
    MemorySettingsStore store;
    {
        ClientSettings settings;
        settings.window.treeWindWidth = 333;
        settings.property.winX = -40;
        settings.lastSelect.path = "C:\\曲\\表示ソフト\\";  // trail bytes 0x5C
        settings.lastSelect.file = "能.mid";
        settings.mode.cutTitleSpace = true;
        settings.mode.autoCache = false;
        settings.mode.userTextExt = "doc";
        settings.listWindow.show = 1;
        settings.search.strAndOr = 2;
        settings.emulation.searchStrFlag = 5;
        settings.emulation.searchResetMessage = false;
        settings.player.execPath = "C:\\Players;D:\\予備";
        settings.editor.textChain = false;
        settings.editor.midiFilename = "C:\\Tools\\edit.exe";
        settings.makeList.band = {1, 99, false, true};
        settings.makeList.winW = 700;
        SaveSettings(&store, settings);
    }
    ClientSettings loaded;
    LoadSettings(&store, &loaded);
    EXPECT_EQ(333u, loaded.window.treeWindWidth);
    EXPECT_EQ(-40, loaded.property.winX);
    EXPECT_EQ("C:\\曲\\表示ソフト\\", loaded.lastSelect.path);
    EXPECT_EQ("能.mid", loaded.lastSelect.file);
    EXPECT_TRUE(loaded.mode.cutTitleSpace);
    EXPECT_FALSE(loaded.mode.autoCache);
    EXPECT_EQ("doc", loaded.mode.userTextExt);
    EXPECT_EQ(1u, loaded.listWindow.show);
    EXPECT_EQ(2u, loaded.search.strAndOr);
    EXPECT_EQ(5u, loaded.emulation.searchStrFlag);
    EXPECT_FALSE(loaded.emulation.searchResetMessage);
    EXPECT_EQ("C:\\Players;D:\\予備", loaded.player.execPath);
    EXPECT_FALSE(loaded.editor.textChain);
    EXPECT_EQ("C:\\Tools\\edit.exe", loaded.editor.midiFilename);
    EXPECT_EQ(99u, loaded.makeList.band.cx);
    EXPECT_FALSE(loaded.makeList.band.show);
    EXPECT_TRUE(loaded.makeList.band.breakLine);
    EXPECT_EQ(700, loaded.makeList.winW);
}

TEST(Settings, TextsThatDoNotFitTheirBufferKeepTheDefault) {
    struct Case {
        const char* key;
        const char* name;
        size_t length;
        bool fits;
    };
    const Case cases[] = {
        {"Mode", "UserTextExt", 7, true},      {"Mode", "UserTextExt", 8, false},
        {"LastSelect", "Path", 511, true},     {"LastSelect", "Path", 512, false},
        {"Editor", "WrdFilename", 512, false}, {"Editor", "MidiAction", 31, true},
        {"Editor", "MidiAction", 32, false},   {"Player", "ExecPath", 5119, true},
        {"Player", "ExecPath", 5120, false},   {"ListWindow", "ShellPropertyTab", 600, false},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        const std::string stored(c.length, 'x');
        store.WriteText(c.key, c.name, stored);
        ClientSettings defaults;
        ClientSettings settings;
        LoadSettings(&store, &settings);
        MemorySettingsStore written;
        SaveSettings(&written, settings);
        std::string value;
        ASSERT_TRUE(written.ReadText(c.key, c.name, 8192, &value));
        MemorySettingsStore expected;
        SaveSettings(&expected, defaults);
        std::string defaultValue;
        ASSERT_TRUE(expected.ReadText(c.key, c.name, 8192, &defaultValue));
        EXPECT_EQ(c.fits ? stored : defaultValue, value) << c.name << " " << c.length;
    }
}

TEST(Settings, AnyStoredColumnWidthMarksTheWidthsAsStored) {
    // A first start has none; the tree's width alone is not a column's.
    {
        MemorySettingsStore store;
        store.WriteNumber("Window", "TreeWindWidth", 300);
        ClientSettings settings;
        LoadSettings(&store, &settings);
        EXPECT_FALSE(settings.window.columnWidthsStored);
    }
    for (const char* name : {"ListWindFileNameWidth", "ListWindTitleWidth", "ListWindCommentWidth",
                             "ListWindLastWriteTimeWidth", "ListWindModuleWidth"}) {
        MemorySettingsStore store;
        store.WriteNumber("Window", name, 40);
        ClientSettings settings;
        LoadSettings(&store, &settings);
        EXPECT_TRUE(settings.window.columnWidthsStored) << name;
    }
    // After an exit every width is stored.
    MemorySettingsStore store;
    SaveSettings(&store, ClientSettings());
    ClientSettings settings;
    LoadSettings(&store, &settings);
    EXPECT_TRUE(settings.window.columnWidthsStored);
}

TEST(Settings, ValuesOfTheWrongTypeKeepTheDefault) {
    MemorySettingsStore store;
    store.WriteText("ListWindow", "Show", "1");
    store.WriteNumber("LastSelect", "Path", 7);
    store.WriteNumber("Mode", "AutoCache", 0);
    store.WriteNumber("Mode", "TitleSearch", 2);  // any non-zero number is on
    ClientSettings settings;
    LoadSettings(&store, &settings);
    EXPECT_EQ(3u, settings.listWindow.show);
    EXPECT_EQ("", settings.lastSelect.path);
    EXPECT_FALSE(settings.mode.autoCache);
    EXPECT_TRUE(settings.mode.titleSearch);
}

TEST(Settings, RegWriteBitsDecideWhatIsRemembered) {
    struct Case {
        uint32_t regWrite;
        uint32_t playMode;
        int32_t mainX;
        int32_t mainW;
        int32_t propertyX;
    };
    // Earlier run: position 10, size 500, property at 30; now 11, 600, 31, random play (2).
    const Case cases[] = {
        {0x1B, 0, 11, 600, 31}, {0x1F, 2, 11, 600, 31}, {0x00, 0, 10, 500, 30},
        {0x01, 0, 11, 500, 30}, {0x02, 0, 10, 600, 30}, {0x0C, 2, 10, 500, 31},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        store.WriteNumber("Window", "WinX", 10);
        store.WriteNumber("Window", "WinY", 10);
        store.WriteNumber("Window", "WinW", 500);
        store.WriteNumber("Window", "WinH", 500);
        store.WriteNumber("Property", "WinX", 30);
        ClientSettings settings;
        settings.mode.regWrite = c.regWrite;
        settings.mode.playMode = 2;
        settings.property.winX = 31;
        MainPlacement placement;
        placement.winX = placement.winY = 11;
        placement.winW = placement.winH = 600;
        SaveSettings(&store, settings);
        SaveMainPlacement(&store, placement, c.regWrite);
        uint32_t value = 0;
        EXPECT_TRUE(store.ReadNumber("Mode", "PlayMode", &value));
        EXPECT_EQ(c.playMode, value) << c.regWrite;
        MainPlacement loaded;
        LoadMainPlacement(&store, &loaded);
        EXPECT_EQ(c.mainX, loaded.winX) << c.regWrite;
        EXPECT_EQ(c.mainX, loaded.winY) << c.regWrite;
        EXPECT_EQ(c.mainW, loaded.winW) << c.regWrite;
        EXPECT_EQ(c.mainW, loaded.winH) << c.regWrite;
        ClientSettings reloaded;
        LoadSettings(&store, &reloaded);
        EXPECT_EQ(c.propertyX, reloaded.property.winX) << c.regWrite;
    }
}

TEST(Settings, BandsAreTakenWholeOrNotAtAll) {
    struct Case {
        const char* missing;  // value removed from a saved layout, or null
        uint32_t version;     // "RegVersion", 0 for none
        bool stored;          // the saved bands come back
    };
    const Case cases[] = {
        {nullptr, 4, true},
        {nullptr, 0, true},
        {nullptr, 5, true},
        {nullptr, 3, false},
        {"ReBarBand_3_BreakLine", 4, false},
        {"ReBarBand_2_cx", 4, false},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        MainPlacement saved;
        saved.winX = 77;
        saved.bands[0] = {3, 300, false, false};
        saved.bands[1] = {1, 100, true, true};
        saved.bands[2] = {2, 200, true, false};
        SaveMainPlacement(&store, saved, kDefaultRegWrite);
        if (c.missing) {
            store.DeleteValue("Window", c.missing);
        }
        if (c.version == 0) {
            store.DeleteValue("", "RegVersion");
        } else {
            store.WriteNumber("", "RegVersion", c.version);
        }
        MainPlacement loaded;
        LoadMainPlacement(&store, &loaded);
        const MainPlacement& expected = c.stored ? saved : MainPlacement();
        for (int i = 0; i < kMainBandCount; i++) {
            EXPECT_EQ(expected.bands[i].id, loaded.bands[i].id) << i;
            EXPECT_EQ(expected.bands[i].cx, loaded.bands[i].cx) << i;
            EXPECT_EQ(expected.bands[i].show, loaded.bands[i].show) << i;
            EXPECT_EQ(expected.bands[i].breakLine, loaded.bands[i].breakLine) << i;
        }
        EXPECT_EQ(77, loaded.winX) << "the position stays whatever the bands do";
    }
    MemorySettingsStore store;
    store.WriteNumber("MakeList", "ReBarBand_1_id", 1);
    store.WriteNumber("MakeList", "ReBarBand_1_cx", 50);
    ClientSettings settings;
    LoadSettings(&store, &settings);
    EXPECT_EQ(140u, settings.makeList.band.cx);
}

std::vector<std::string> HistoryOf(const BagBox& history) {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < history.Count(); i++) {
        texts.push_back(history.Read(i, 0));
    }
    return texts;
}

TEST(Settings, FiftyHistoryEntriesAreWrittenAndFortyEightReadBack) {
    MemorySettingsStore store;
    ClientSettings settings;
    std::vector<std::string> texts;
    for (int i = 0; i < 50; i++) {
        texts.push_back("表" + std::to_string(i));
        settings.search.history.Add({texts.back().c_str()});
    }
    SaveSettings(&store, settings);
    std::string value;
    EXPECT_TRUE(store.ReadText("Search", "Hist_31", 256, &value));
    EXPECT_EQ("表49", value);
    EXPECT_TRUE(store.ReadText("Search", "Hist_a", 256, &value));
    EXPECT_EQ("表10", value);
    ClientSettings loaded;
    LoadSettings(&store, &loaded);
    texts.resize(48);
    EXPECT_EQ(texts, HistoryOf(loaded.search.history));
    EXPECT_EQ("表0", loaded.search.searchText);
}

TEST(Settings, HistoryStopsAtTheFirstMissingOrOverlongEntry) {
    struct Case {
        std::vector<std::string> stored;  // "-" for a missing value
        std::vector<std::string> loaded;
    };
    const std::string overlong(256, 'a');
    const Case cases[] = {
        {{"a", "b", "-", "d"}, {"a", "b"}},
        {{"-", "b"}, {}},
        {{"a", overlong, "c"}, {"a"}},
        {{std::string(255, 'z'), "y"}, {std::string(255, 'z'), "y"}},
    };
    for (const Case& c : cases) {
        MemorySettingsStore store;
        for (size_t i = 0; i < c.stored.size(); i++) {
            if (c.stored[i] != "-") {
                store.WriteText("Search", HistoryValueName(int32_t(i)), c.stored[i]);
            }
        }
        ClientSettings settings;
        LoadSettings(&store, &settings);
        EXPECT_EQ(c.loaded, HistoryOf(settings.search.history));
        EXPECT_EQ(c.loaded.empty() ? "" : c.loaded[0], settings.search.searchText);
    }
}

TEST(Settings, ShorterHistoryDoesNotBringBackStaleEntries) {
    MemorySettingsStore store;
    ClientSettings settings;
    for (const char* text : {"a", "b", "c", "d"}) {
        settings.search.history.Add({text});
    }
    SaveSettings(&store, settings);
    settings.search.history.Delete(0);
    settings.search.history.Delete(0);
    SaveSettings(&store, settings);
    ClientSettings loaded;
    LoadSettings(&store, &loaded);
    EXPECT_EQ((std::vector<std::string>{"c", "d"}), HistoryOf(loaded.search.history));
}

TEST(Settings, ValueNamesUseLowerCaseHexadecimal) {
    EXPECT_EQ("Hist_0", HistoryValueName(0));
    EXPECT_EQ("Hist_f", HistoryValueName(15));
    EXPECT_EQ("Hist_2f", HistoryValueName(47));
    EXPECT_EQ("ReBarBand_3_BreakLine", BandValueName(3, "BreakLine"));
}

TEST(Settings, DeleteAllLeavesNoKey) {
    MemorySettingsStore store;
    ClientSettings settings;
    MainPlacement placement;
    RunOnce(&store, &settings, &placement);
    store.WriteText("Emulation\\GS", "Comment", "x");
    store.WriteText("Emulation\\SC-55", "Comment", "y");
    EXPECT_TRUE(DeleteEmulationSubkeys(&store));
    EXPECT_TRUE(store.KeyExists("Emulation"));
    store.WriteText("Emulation\\MT-32", "Comment", "z");
    EXPECT_TRUE(DeleteAllSettings(&store));
    for (const char* key : {"", "Window", "Mode", "Emulation", "Emulation\\MT-32", "MakeList"}) {
        EXPECT_FALSE(store.KeyExists(key)) << key;
    }
    ClientSettings reloaded;
    MainPlacement reloadedPlacement;
    LoadSettings(&store, &reloaded);
    LoadMainPlacement(&store, &reloadedPlacement);
    EXPECT_EQ(208u, reloaded.window.treeWindWidth);
    EXPECT_EQ(kUseDefaultPosition, reloadedPlacement.winX);
}

}  // namespace
