// Loading and saving the settings: one table of value names per subkey, read
// and written in the order of the subkeys below.
#include "core/Settings.h"

#include <cstdio>

#include "core/SettingsStore.h"

namespace {

// One value of a subkey and the member of its section that holds it.
template <typename Section>
struct Field {
    const char* name;
    uint32_t Section::*number;
    int32_t Section::*integer;
    bool Section::*flag;
    std::string Section::*text;
    size_t textBytes;
    uint32_t writeBit;  // 0: always written; else only when "RegWrite" has it
};

template <typename Section>
constexpr Field<Section> Number(const char* name, uint32_t Section::*member) {
    return {name, member, nullptr, nullptr, nullptr, 0, 0};
}

template <typename Section>
constexpr Field<Section> Integer(const char* name, int32_t Section::*member, uint32_t writeBit = 0) {
    return {name, nullptr, member, nullptr, nullptr, 0, writeBit};
}

template <typename Section>
constexpr Field<Section> Flag(const char* name, bool Section::*member) {
    return {name, nullptr, nullptr, member, nullptr, 0, 0};
}

template <typename Section>
constexpr Field<Section> Text(const char* name, std::string Section::*member, size_t bytes) {
    return {name, nullptr, nullptr, nullptr, member, bytes, 0};
}

template <typename Section, size_t N>
void LoadFields(SettingsStore* store, const char* key, const Field<Section> (&fields)[N], Section* section) {
    for (const Field<Section>& field : fields) {
        uint32_t number = 0;
        if (field.text) {
            store->ReadText(key, field.name, field.textBytes, &(section->*field.text));
        } else if (!store->ReadNumber(key, field.name, &number)) {
            continue;
        } else if (field.number) {
            section->*field.number = number;
        } else if (field.integer) {
            section->*field.integer = int32_t(number);
        } else {
            section->*field.flag = number != 0;
        }
    }
}

template <typename Section, size_t N>
void SaveFields(SettingsStore* store,
                const char* key,
                const Field<Section> (&fields)[N],
                const Section& section,
                uint32_t regWrite) {
    for (const Field<Section>& field : fields) {
        if (field.writeBit != 0 && (regWrite & field.writeBit) == 0) {
            continue;
        }
        if (field.text) {
            store->WriteText(key, field.name, section.*field.text);
        } else if (field.number) {
            store->WriteNumber(key, field.name, section.*field.number);
        } else if (field.integer) {
            store->WriteNumber(key, field.name, uint32_t(section.*field.integer));
        } else {
            store->WriteNumber(key, field.name, section.*field.flag ? 1 : 0);
        }
    }
}

const char kVersionName[] = "RegVersion";
const char kWindowKey[] = "Window";
const char kSearchKey[] = "Search";
const char kEmulationKey[] = "Emulation";
const char kMakeListKey[] = "MakeList";

const Field<WindowSettings> kWindowFields[] = {
    Number("TreeWindWidth", &WindowSettings::treeWindWidth),
    Number("ListWindFileNameWidth", &WindowSettings::listWindFileNameWidth),
    Number("ListWindTitleWidth", &WindowSettings::listWindTitleWidth),
    Number("ListWindCommentWidth", &WindowSettings::listWindCommentWidth),
    Number("ListWindLastWriteTimeWidth", &WindowSettings::listWindLastWriteTimeWidth),
    Number("ListWindModuleWidth", &WindowSettings::listWindModuleWidth),
};

const Field<MainPlacement> kPlacementFields[] = {
    Number("Window", &MainPlacement::window),
    Integer("WinX", &MainPlacement::winX, kRegWriteMainPosition),
    Integer("WinY", &MainPlacement::winY, kRegWriteMainPosition),
    Integer("WinW", &MainPlacement::winW, kRegWriteMainSize),
    Integer("WinH", &MainPlacement::winH, kRegWriteMainSize),
    Flag("ShowStatusBar", &MainPlacement::showStatusBar),
};

const Field<FloatingToolBarSettings> kFloatingToolBarFields[] = {
    Flag("Show", &FloatingToolBarSettings::show),         Flag("ShowMinOnly", &FloatingToolBarSettings::showMinOnly),
    Flag("Vertical", &FloatingToolBarSettings::vertical), Flag("TopMost", &FloatingToolBarSettings::topMost),
    Integer("WinX", &FloatingToolBarSettings::winX),      Integer("WinY", &FloatingToolBarSettings::winY),
};

const Field<PropertySettings> kPropertyFields[] = {
    Flag("Show", &PropertySettings::show),
    Integer("WinX", &PropertySettings::winX, kRegWritePropertyPosition),
    Integer("WinY", &PropertySettings::winY, kRegWritePropertyPosition),
    Number("Window", &PropertySettings::window),
    Number("TabSelect", &PropertySettings::tabSelect),
};

const Field<LastSelectSettings> kLastSelectFields[] = {
    Text("Path", &LastSelectSettings::path, kSettingsPathBytes),
    Text("File", &LastSelectSettings::file, kSettingsPathBytes),
    Flag("SearchSubFolder", &LastSelectSettings::searchSubFolder),
};

const Field<ModeSettings> kModeFields[] = {
    Number("PlayerMode", &ModeSettings::playerMode),
    Number("RegWrite", &ModeSettings::regWrite),
    Number("PlayMode", &ModeSettings::playMode),
    Flag("TitleSearch", &ModeSettings::titleSearch),
    Flag("PlayMouseSingleClk", &ModeSettings::playMouseSingleClk),
    Flag("CutTitleSpace", &ModeSettings::cutTitleSpace),
    Flag("AutoCache", &ModeSettings::autoCache),
    Flag("StoreTaskTray", &ModeSettings::storeTaskTray),
    Flag("ChangeHtmlKana", &ModeSettings::changeHtmlKana),
    Flag("ShellFolderImage", &ModeSettings::shellFolderImage),
    Flag("KeyboardFileOperation", &ModeSettings::keyboardFileOperation),
    Flag("UseRecycler", &ModeSettings::useRecycler),
    Flag("LoopPlay", &ModeSettings::loopPlay),
    Flag("MesDragDrop", &ModeSettings::mesDragDrop),
    Text("UserTextExt", &ModeSettings::userTextExt, kUserTextExtBytes),
};

const Field<TreeWindowSettings> kTreeWindowFields[] = {
    Flag("Sort", &TreeWindowSettings::sort),
    Flag("ShowListFile", &TreeWindowSettings::showListFile),
};

const Field<ListWindowSettings> kListWindowFields[] = {
    Number("Show", &ListWindowSettings::show),
    Number("Sort", &ListWindowSettings::sort),
    Flag("SortFlag", &ListWindowSettings::sortFlag),
    Number("ShellPropertySel", &ListWindowSettings::shellPropertySel),
    Text("ShellPropertyTab", &ListWindowSettings::shellPropertyTab, kSettingsPathBytes),
    Flag("TvnSelChangedLastSel", &ListWindowSettings::tvnSelChangedLastSel),
    Flag("ShowFileNameExt", &ListWindowSettings::showFileNameExt),
    Flag("FullRowSelect", &ListWindowSettings::fullRowSelect),
    Flag("ColumnAutoSize", &ListWindowSettings::columnAutoSize),
    Flag("SearchSubFolder", &ListWindowSettings::searchSubFolder),
    Flag("SearchArchive", &ListWindowSettings::searchArchive),
};

const Field<SearchSettings> kSearchFields[] = {
    Integer("WinX", &SearchSettings::winX),        Integer("WinY", &SearchSettings::winY),
    Number("SubIndex", &SearchSettings::subIndex), Flag("Up", &SearchSettings::up),
    Number("StrFlag", &SearchSettings::strFlag),   Number("StrAndOr", &SearchSettings::strAndOr),
};

const Field<EmulationSettings> kEmulationFields[] = {
    Number("SearchStrFlag", &EmulationSettings::searchStrFlag),
    Flag("SearchResetMessage", &EmulationSettings::searchResetMessage),
};

const Field<PlayerSettings> kPlayerFields[] = {
    Text("ExecPath", &PlayerSettings::execPath, kExecPathBytes),
    Text("UserPlayerFilename", &PlayerSettings::userPlayerFilename, kSettingsPathBytes),
    Flag("IconSelectorNormal", &PlayerSettings::iconSelectorNormal),
    Flag("IconSelectorMin", &PlayerSettings::iconSelectorMin),
    Flag("IconSelectorMax", &PlayerSettings::iconSelectorMax),
    Flag("ModuleEmulation", &PlayerSettings::moduleEmulation),
    Flag("ClosePlayer", &PlayerSettings::closePlayer),
    Number("PlayTimeOut", &PlayerSettings::playTimeOut),
};

const Field<EditorSettings> kEditorFields[] = {
    Flag("MidiChain", &EditorSettings::midiChain),
    Flag("WrdChain", &EditorSettings::wrdChain),
    Flag("SherryWrdChain", &EditorSettings::sherryWrdChain),
    Flag("NeoWrdChain", &EditorSettings::neoWrdChain),
    Flag("TextChain", &EditorSettings::textChain),
    Text("MidiAction", &EditorSettings::midiAction, kEditorVerbBytes),
    Text("WrdAction", &EditorSettings::wrdAction, kEditorVerbBytes),
    Text("SherryWrdAction", &EditorSettings::sherryWrdAction, kEditorVerbBytes),
    Text("NeoWrdAction", &EditorSettings::neoWrdAction, kEditorVerbBytes),
    Text("TextAction", &EditorSettings::textAction, kEditorVerbBytes),
    Text("MidiFilename", &EditorSettings::midiFilename, kSettingsPathBytes),
    Text("WrdFilename", &EditorSettings::wrdFilename, kSettingsPathBytes),
    Text("SherryWrdFilename", &EditorSettings::sherryWrdFilename, kSettingsPathBytes),
    Text("NeoWrdFilename", &EditorSettings::neoWrdFilename, kSettingsPathBytes),
    Text("TextFilename", &EditorSettings::textFilename, kSettingsPathBytes),
};

const Field<MakeListSettings> kMakeListFields[] = {
    Flag("ShowStatusBar", &MakeListSettings::showStatusBar),
    Number("ListWindFileNameWidth", &MakeListSettings::listWindFileNameWidth),
    Number("ListWindTitleWidth", &MakeListSettings::listWindTitleWidth),
    Integer("WinX", &MakeListSettings::winX),
    Integer("WinY", &MakeListSettings::winY),
    Integer("WinW", &MakeListSettings::winW),
    Integer("WinH", &MakeListSettings::winH),
};

// All bands or none: one missing value of any band leaves every band as it
// was (the caller's defaults), so a half-written layout never mixes in.
void LoadBands(SettingsStore* store, const char* key, RebarBand* bands, int count) {
    RebarBand read[kMainBandCount];
    for (int i = 0; i < count; i++) {
        uint32_t show = 0;
        uint32_t breakLine = 0;
        int position = i + 1;
        if (!store->ReadNumber(key, BandValueName(position, "id"), &read[i].id) ||
            !store->ReadNumber(key, BandValueName(position, "cx"), &read[i].cx) ||
            !store->ReadNumber(key, BandValueName(position, "Show"), &show) ||
            !store->ReadNumber(key, BandValueName(position, "BreakLine"), &breakLine)) {
            return;
        }
        read[i].show = show != 0;
        read[i].breakLine = breakLine != 0;
    }
    for (int i = 0; i < count; i++) {
        bands[i] = read[i];
    }
}

void SaveBands(SettingsStore* store, const char* key, const RebarBand* bands, int count) {
    for (int i = 0; i < count; i++) {
        int position = i + 1;
        store->WriteNumber(key, BandValueName(position, "id"), bands[i].id);
        store->WriteNumber(key, BandValueName(position, "cx"), bands[i].cx);
        store->WriteNumber(key, BandValueName(position, "Show"), bands[i].show ? 1 : 0);
        store->WriteNumber(key, BandValueName(position, "BreakLine"), bands[i].breakLine ? 1 : 0);
    }
}

void LoadSearchHistory(SettingsStore* store, SearchSettings* search) {
    search->history.Clear();
    for (int32_t i = 0; i < kSearchHistoryLimit; i++) {
        std::string text;
        if (!store->ReadText(kSearchKey, HistoryValueName(i), kSearchTextBytes, &text)) {
            break;
        }
        search->history.Add({text.c_str()});
        if (i == 0) {
            search->searchText = text;
        }
    }
}

// Entries beyond the table are removed up to the loader's limit, so that a
// shorter history does not come back with stale entries behind it.
void SaveSearchHistory(SettingsStore* store, const BagBox& history) {
    int32_t count = history.Count() < 0 ? 0 : history.Count();
    for (int32_t i = 0; i < count; i++) {
        store->WriteText(kSearchKey, HistoryValueName(i), history.Read(i, 0));
    }
    for (int32_t i = count; i < kSearchHistoryLimit; i++) {
        store->DeleteValue(kSearchKey, HistoryValueName(i));
    }
}

const char* const kPlainSubkeys[] = {"Window",     "FloatingToolBar", "Property", "LastSelect", "Mode",    "TreeWindow",
                                     "ListWindow", "Search",          "Player",   "Editor",     "MakeList"};

}  // namespace

BagBox MakeSearchHistoryTable() {
    return BagBox(nullptr, false, false, 1, 0, kSearchHistoryLimit + 1, 16, 4096, 4096);
}

std::string BandValueName(int position, const char* part) {
    char name[48];
    std::snprintf(name, sizeof name, "ReBarBand_%x_%s", unsigned(position), part);
    return name;
}

std::string HistoryValueName(int32_t index) {
    char name[24];
    std::snprintf(name, sizeof name, "Hist_%x", unsigned(index));
    return name;
}

void LoadSettings(SettingsStore* store, ClientSettings* settings) {
    LoadFields(store, kWindowKey, kWindowFields, &settings->window);
    // The first field is the tree's width; the others are the columns'.
    for (size_t i = 1; i < sizeof kWindowFields / sizeof kWindowFields[0]; ++i) {
        uint32_t width = 0;
        if (store->ReadNumber(kWindowKey, kWindowFields[i].name, &width)) {
            settings->window.columnWidthsStored = true;
        }
    }
    LoadFields(store, "FloatingToolBar", kFloatingToolBarFields, &settings->floatingToolBar);
    LoadFields(store, "Property", kPropertyFields, &settings->property);
    LoadFields(store, "LastSelect", kLastSelectFields, &settings->lastSelect);
    LoadFields(store, "Mode", kModeFields, &settings->mode);
    LoadFields(store, "TreeWindow", kTreeWindowFields, &settings->treeWindow);
    LoadFields(store, "ListWindow", kListWindowFields, &settings->listWindow);
    LoadFields(store, kSearchKey, kSearchFields, &settings->search);
    LoadSearchHistory(store, &settings->search);
    LoadFields(store, kEmulationKey, kEmulationFields, &settings->emulation);
    LoadFields(store, "Player", kPlayerFields, &settings->player);
    LoadFields(store, "Editor", kEditorFields, &settings->editor);
    LoadFields(store, kMakeListKey, kMakeListFields, &settings->makeList);
    LoadBands(store, kMakeListKey, &settings->makeList.band, 1);
}

void SaveSettings(SettingsStore* store, const ClientSettings& settings) {
    const uint32_t regWrite = settings.mode.regWrite;
    ModeSettings mode = settings.mode;
    if ((regWrite & kRegWritePlayMode) == 0) {
        mode.playMode = 0;
    }
    store->WriteNumber("", kVersionName, kSettingsVersion);
    SaveFields(store, kWindowKey, kWindowFields, settings.window, regWrite);
    SaveFields(store, "FloatingToolBar", kFloatingToolBarFields, settings.floatingToolBar, regWrite);
    SaveFields(store, "Property", kPropertyFields, settings.property, regWrite);
    SaveFields(store, "LastSelect", kLastSelectFields, settings.lastSelect, regWrite);
    SaveFields(store, "Mode", kModeFields, mode, regWrite);
    SaveFields(store, "TreeWindow", kTreeWindowFields, settings.treeWindow, regWrite);
    SaveFields(store, "ListWindow", kListWindowFields, settings.listWindow, regWrite);
    SaveFields(store, kSearchKey, kSearchFields, settings.search, regWrite);
    SaveSearchHistory(store, settings.search.history);
    SaveFields(store, kEmulationKey, kEmulationFields, settings.emulation, regWrite);
    SaveFields(store, "Player", kPlayerFields, settings.player, regWrite);
    SaveFields(store, "Editor", kEditorFields, settings.editor, regWrite);
    SaveFields(store, kMakeListKey, kMakeListFields, settings.makeList, regWrite);
    SaveBands(store, kMakeListKey, &settings.makeList.band, 1);
}

void LoadMainPlacement(SettingsStore* store, MainPlacement* placement) {
    LoadFields(store, kWindowKey, kPlacementFields, placement);
    uint32_t version = kSettingsVersion;  // a missing version counts as current
    store->ReadNumber("", kVersionName, &version);
    if (version >= kSettingsVersion) {
        LoadBands(store, kWindowKey, placement->bands, kMainBandCount);
    }
}

void SaveMainPlacement(SettingsStore* store, const MainPlacement& placement, uint32_t regWrite) {
    // The bands are only trusted beside a current version, so it goes with them.
    store->WriteNumber("", kVersionName, kSettingsVersion);
    SaveFields(store, kWindowKey, kPlacementFields, placement, regWrite);
    SaveBands(store, kWindowKey, placement.bands, kMainBandCount);
}

bool DeleteEmulationSubkeys(SettingsStore* store) {
    for (const std::string& name : store->SubKeys(kEmulationKey)) {
        store->DeleteKey(std::string(kEmulationKey) + "\\" + name);
    }
    return store->SubKeys(kEmulationKey).empty();
}

bool DeleteAllSettings(SettingsStore* store) {
    for (const char* key : kPlainSubkeys) {
        store->DeleteKey(key);
    }
    DeleteEmulationSubkeys(store);
    store->DeleteKey(kEmulationKey);
    store->DeleteKey("");
    return !store->KeyExists("");
}
