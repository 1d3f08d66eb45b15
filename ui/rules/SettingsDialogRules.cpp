// Settings dialog pages: settings into page values and back, writing a
// setting only when its value differs and reporting what must be refreshed.
#include "ui/rules/SettingsDialogRules.h"

#include <vector>

#include "core/Text.h"

const char* const kSettingsTabCaptions[kSettingsTabCount] = {
    "全般 1", "全般 2", "曲リストウィンドウ", "プレイヤー", "MIDI/Audioファイル", "WRDファイル", "ドキュメントファイル",
};
const char* const kSettingsTabHelpPages[kSettingsTabCount] = {
    "Vexa3AA.html", "Vexa3AA.html", "Vexa3AB.html", "Vexa3AC.html", "Vexa3AD.html", "Vexa3AE.html", "Vexa3AF.html",
};
const char* const kShellPropertyTabs[kShellPropertyTabCount] = {"全般", "セキュリティ", "概要"};

// Controls 100 to 104: main position, main size, property position,
// property window shown, play state.
const uint32_t kRegWriteBoxBits[kRegWriteBoxCount] = {
    kRegWriteMainPosition, kRegWriteMainSize, kRegWritePropertyPosition, kRegWriteReopenProperty, kRegWritePlayMode,
};

// Sets *target to value; true when that changed it.
template <typename T>
static bool Store(T* target, const T& value) {
    if (*target == value) {
        return false;
    }
    *target = value;
    return true;
}

// An edit's text cut to the setting's buffer (bytes including the
// terminator) without splitting a double-byte character.
static std::string Bounded(const std::string& text, size_t bufferBytes) {
    std::vector<char> buffer(bufferBytes);
    CopyBounded(buffer.data(), text.c_str(), bufferBytes - 1);
    return buffer.data();
}

uint32_t PlayTimeOutFromText(const char* text) {
    // The edit's text is read as the system reads an unsigned number: an
    // optional sign, then digits; "-5" wraps around to a huge value.
    size_t i = 0;
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') {
        negative = text[i] == '-';
        i++;
    }
    uint32_t value = 0;
    for (; i < kPlayTimeOutTextBytes && text[i] >= '0' && text[i] <= '9'; i++) {
        value = value * 10 + uint32_t(text[i] - '0');
    }
    if (negative) {
        value = 0u - value;
    }
    if (value < kMinPlayTimeOut) {
        return kMinPlayTimeOut;
    }
    return value > kMaxPlayTimeOut ? kMaxPlayTimeOut : value;
}

GeneralPage1 LoadGeneralPage1(const ClientSettings& settings) {
    GeneralPage1 page;
    for (int i = 0; i < kRegWriteBoxCount; i++) {
        page.save[i] = (settings.mode.regWrite & kRegWriteBoxBits[i]) != 0;
    }
    page.showListFile = settings.treeWindow.showListFile;
    page.simpleTitleSearch = !settings.mode.titleSearch;
    page.cutTitleSpace = settings.mode.cutTitleSpace;
    page.autoCache = settings.mode.autoCache;
    page.singleClick = settings.mode.playMouseSingleClk;
    return page;
}

uint32_t ApplyGeneralPage1(const GeneralPage1& page, ClientSettings* settings) {
    uint32_t regWrite = 0;
    for (int i = 0; i < kRegWriteBoxCount; i++) {
        regWrite |= page.save[i] ? kRegWriteBoxBits[i] : 0;
    }
    Store(&settings->mode.regWrite, regWrite);
    const bool tree = Store(&settings->treeWindow.showListFile, page.showListFile);
    Store(&settings->mode.titleSearch, !page.simpleTitleSearch);
    Store(&settings->mode.cutTitleSpace, page.cutTitleSpace);
    Store(&settings->mode.autoCache, page.autoCache);
    Store(&settings->mode.playMouseSingleClk, page.singleClick);
    return tree ? kRefreshTree : 0;
}

// The settings of tab 1's boxes, in control order.
static bool* GeneralPage2Setting(ModeSettings* modeSettings, int index) {
    ModeSettings& mode = *modeSettings;
    bool* const fields[kGeneralPage2BoxCount] = {
        &mode.storeTaskTray, &mode.changeHtmlKana, &mode.shellFolderImage, &mode.keyboardFileOperation,
        &mode.useRecycler,   &mode.loopPlay,       &mode.mesDragDrop,
    };
    return fields[index];
}

GeneralPage2 LoadGeneralPage2(const ClientSettings& settings) {
    GeneralPage2 page;
    ModeSettings copy = settings.mode;
    for (int i = 0; i < kGeneralPage2BoxCount; i++) {
        page.boxes[i] = *GeneralPage2Setting(&copy, i);
    }
    return page;
}

uint32_t ApplyGeneralPage2(const GeneralPage2& page, ClientSettings* settings) {
    uint32_t refresh = 0;
    for (int i = 0; i < kGeneralPage2BoxCount; i++) {
        bool* setting = GeneralPage2Setting(&settings->mode, i);
        if (Store(setting, page.boxes[i]) && setting == &settings->mode.shellFolderImage) {
            refresh |= kRefreshTree;
        }
    }
    return refresh;
}

ListWindowPage LoadListWindowPage(const ClientSettings& settings) {
    const ListWindowSettings& list = settings.listWindow;
    ListWindowPage page;
    page.focusLast = list.tvnSelChangedLastSel;
    for (int i = 0; i < kShellPropertyTabCount; i++) {
        if (list.shellPropertyTab == kShellPropertyTabs[i]) {
            page.shellPropertyTab = i;
        }
    }
    page.useMp3infp = list.shellPropertySel == 1;
    page.searchSubFolder = list.searchSubFolder;
    page.searchArchive = list.searchArchive;
    page.fullRowSelect = list.fullRowSelect;
    page.hideExtensions = !list.showFileNameExt;
    page.columnAutoSize = list.columnAutoSize;
    return page;
}

uint32_t ApplyListWindowPage(const ListWindowPage& page, bool locationOpen, ClientSettings* settings) {
    ListWindowSettings& list = settings->listWindow;
    uint32_t refresh = 0;
    Store(&list.tvnSelChangedLastSel, page.focusLast);
    const int tab =
        page.shellPropertyTab >= 0 && page.shellPropertyTab < kShellPropertyTabCount ? page.shellPropertyTab : 0;
    Store(&list.shellPropertyTab, std::string(kShellPropertyTabs[tab]));
    Store(&list.shellPropertySel, page.useMp3infp ? 1u : 0u);
    if (Store(&list.searchSubFolder, page.searchSubFolder)) {
        refresh |= kRefreshLocation;
    }
    if (Store(&list.searchArchive, page.searchArchive) && locationOpen) {
        refresh |= kRefreshLocation;
    }
    if (Store(&list.showFileNameExt, !page.hideExtensions)) {
        refresh |= kRefreshDisplayNames;
    }
    if (Store(&list.fullRowSelect, page.fullRowSelect)) {
        refresh |= kRefreshFullRow;
    }
    if (Store(&list.columnAutoSize, page.columnAutoSize) && page.columnAutoSize) {
        refresh |= kRefreshColumnSizes;
    }
    return refresh;
}

PlayerPage LoadPlayerPage(const ClientSettings& settings) {
    const PlayerSettings& player = settings.player;
    PlayerPage page;
    page.execPath = player.execPath;
    page.userPlayerFilename = player.userPlayerFilename;
    page.moduleEmulation = player.moduleEmulation;
    page.iconSelectorMin = player.iconSelectorMin;
    page.iconSelectorNormal = player.iconSelectorNormal;
    page.iconSelectorMax = player.iconSelectorMax;
    page.playTimeOut = std::to_string(player.playTimeOut);
    page.closePlayer = player.closePlayer;
    return page;
}

uint32_t ApplyPlayerPage(const PlayerPage& page, ClientSettings* settings) {
    PlayerSettings& player = settings->player;
    const bool searchPath = Store(&player.execPath, Bounded(page.execPath, kExecPathBytes));
    Store(&player.userPlayerFilename, Bounded(page.userPlayerFilename, kSettingsPathBytes));
    Store(&player.moduleEmulation, page.moduleEmulation);
    Store(&player.iconSelectorMin, page.iconSelectorMin);
    Store(&player.iconSelectorNormal, page.iconSelectorNormal);
    Store(&player.iconSelectorMax, page.iconSelectorMax);
    Store(&player.playTimeOut, PlayTimeOutFromText(page.playTimeOut.c_str()));
    Store(&player.closePlayer, page.closePlayer);
    return searchPath ? kRefreshSearchPath : 0;
}

// The settings of one editor group, in group order.
struct EditorFields {
    bool* chain;
    std::string* action;
    std::string* filename;
};

static EditorFields EditorGroupFields(EditorSettings* editor, int index) {
    const EditorFields fields[kEditorGroupCount] = {
        {&editor->midiChain, &editor->midiAction, &editor->midiFilename},
        {&editor->wrdChain, &editor->wrdAction, &editor->wrdFilename},
        {&editor->sherryWrdChain, &editor->sherryWrdAction, &editor->sherryWrdFilename},
        {&editor->neoWrdChain, &editor->neoWrdAction, &editor->neoWrdFilename},
        {&editor->textChain, &editor->textAction, &editor->textFilename},
    };
    return fields[index];
}

EditorPages LoadEditorPages(const ClientSettings& settings) {
    EditorPages pages;
    EditorSettings editor = settings.editor;
    for (int i = 0; i < kEditorGroupCount; i++) {
        const EditorFields fields = EditorGroupFields(&editor, i);
        pages.groups[i] = {*fields.chain, *fields.action, *fields.filename};
    }
    pages.userTextExt = settings.mode.userTextExt;
    return pages;
}

uint32_t ApplyEditorPages(const EditorPages& pages, ClientSettings* settings) {
    for (int i = 0; i < kEditorGroupCount; i++) {
        const EditorFields fields = EditorGroupFields(&settings->editor, i);
        const EditorGroup& group = pages.groups[i];
        Store(fields.chain, group.chain);
        Store(fields.action, Bounded(group.action, kEditorVerbBytes));
        Store(fields.filename, Bounded(group.filename, kSettingsPathBytes));
    }
    Store(&settings->mode.userTextExt, Bounded(pages.userTextExt, kUserTextExtBytes));
    return 0;
}
