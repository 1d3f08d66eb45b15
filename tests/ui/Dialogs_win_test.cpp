// The dialogs as the user sees them: the properties window's texts for a
// format-1 MIDI song, an MP3 and a Recomposer song; the settings dialog's
// conversions and its remembered tab, driven through its controls and OK;
// the module edit dialog's name checks in their order, read from the message
// boxes it shows; and a title typed into "タイトルを変更" that is still the
// song's title after the title cache is loaded again.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "actions/FileOps_win.h"
#include "analysis/SoundModules.h"
#include "catalogue/FolderScan.h"
#include "catalogue/TitleCacheEdit.h"
#include "catalogue/archive/ArchiveKind.h"
#include "ui/EmulationDialog_win.h"
#include "ui/PropertyWindow_win.h"
#include "ui/SettingsDialog_win.h"
#include "ui/SmallDialogs_win.h"

namespace {

// The user's part while a modal loop runs: each tick of a thread timer runs
// the next step until one returns true.
std::vector<std::function<bool()>>* steps = nullptr;
size_t nextStep = 0;

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
    if (steps && nextStep < steps->size() && (*steps)[nextStep]()) {
        nextStep++;
    }
}

class Script {
   public:
    explicit Script(std::vector<std::function<bool()>> list) : list_(std::move(list)) {
        steps = &list_;
        nextStep = 0;
        timer_ = SetTimer(nullptr, 0, 40, RunStep);
    }
    ~Script() {
        KillTimer(nullptr, timer_);
        steps = nullptr;
    }
    bool Finished() const {
        return nextStep == list_.size();
    }

   private:
    std::vector<std::function<bool()>> list_;
    UINT_PTR timer_ = 0;
};

std::string Text(HWND window) {
    std::vector<char> text(size_t(GetWindowTextLengthA(window)) + 1);
    GetWindowTextA(window, text.data(), int(text.size()));
    return text.data();
}

std::string ItemText(HWND dialog, int id) {
    return Text(GetDlgItem(dialog, id));
}

void Press(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

struct Found {
    const char* caption;
    int withItem;
    HWND owner;
    HWND window;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM data) {
    Found* found = reinterpret_cast<Found*>(data);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (!IsWindowVisible(window) || lstrcmpA(className, "#32770") != 0 || Text(window) != found->caption) {
        return TRUE;
    }
    if ((found->withItem && !GetDlgItem(window, found->withItem)) ||
        (found->owner && GetWindow(window, GW_OWNER) != found->owner)) {
        return TRUE;
    }
    found->window = window;
    return FALSE;
}

// A visible dialog of this thread with the caption, holding control
// withItem (0: any) and owned by owner (null: any).
HWND FindDialog(const char* caption, int withItem, HWND owner) {
    Found found = {caption, withItem, owner, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchWindow, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

BOOL CALLBACK CollectStatic(HWND window, LPARAM data) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    const std::string text = Text(window);
    if (lstrcmpiA(className, "Static") == 0 && !text.empty()) {
        *reinterpret_cast<std::string*>(data) = text;
    }
    return TRUE;
}

// The message of a message box.
std::string MessageText(HWND box) {
    std::string text;
    EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
    return text;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string WindowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string ScratchFolder(const char* name) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Properties window fields, from the top: file name, title, third field, format, ...
enum Field { kFileName, kTitle, kThird, kFormat, kTracks, kTimeBase, kTempo, kKey, kBeat, kModule, kDate, kSize, kWrd };

struct PropertyCase {
    const char* name;
    std::string path;
    const char* thirdLabel;
    const char* thirdValue;
    const char* format;
    const char* tracks;
    const char* key;
    const char* size;  // null: not checked
};

class SongPropertiesShown : public ::testing::TestWithParam<PropertyCase> {};

TEST_P(SongPropertiesShown, FieldsHoldTheSongTexts) {
    const PropertyCase& c = GetParam();
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    SetDefaultSoundModules(&modules, &detectors);
    SongPropertyRequest request;
    request.path = c.path;
    request.displayName = "曲";
    request.detectors = &detectors;
    request.searchStrFlag = 0xF;
    request.archiveKindOfName = ArchiveKindOfName;
    // Outlives a window that a failed check leaves open.
    static PropertySettings place;
    EXPECT_GE(ShowSongProperties(nullptr, &place, request, true), 0);
    const HWND window = PropertyWindowHandle();
    ASSERT_NE(nullptr, window);
    auto field = [&](Field f) { return ItemText(window, 1200 + f); };
    EXPECT_EQ("曲 のプロパティ - Quillory", Text(window));
    EXPECT_EQ(c.path, field(kFileName));
    EXPECT_EQ(c.thirdLabel, ItemText(window, 1100 + kThird));
    EXPECT_EQ(c.thirdValue, field(kThird));
    EXPECT_EQ(c.format, field(kFormat));
    EXPECT_EQ(c.tracks, field(kTracks));
    EXPECT_EQ(c.key, field(kKey));
    if (c.size) {
        EXPECT_EQ(c.size, field(kSize));
    }
    EXPECT_EQ("なし", field(kWrd));
    DestroyWindow(window);
    Pump();
    EXPECT_EQ(nullptr, PropertyWindowHandle());
}

// conductor-format1.mid padded with zeros to 1,536 bytes after its tracks.
std::string PaddedFormat1Song() {
    std::string bytes = ReadAll(TestDataPath("midi/conductor-format1.mid"));
    bytes.resize(1536, '\0');
    const std::string path = ScratchFolder("QuilloryDialogs") + "format1.mid";
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

INSTANTIATE_TEST_SUITE_P(
    Songs,
    SongPropertiesShown,
    ::testing::Values(PropertyCase{"Format1Midi", PaddedFormat1Song(), "著作権 :", "見つかりません",
                                   "標準 MIDIファイル (Format1)", "1", "C Minor", "1.5KB (1,536 バイト)"},
                      PropertyCase{"Mp3", WindowsPath(CorpusPath("audio/mp3/04-Strawberry.mp3")), "アーティスト :",
                                   "Union Youth", "MPEG Audioファイル", "-", "-", "5.02KB (5,141 バイト)"},
                      PropertyCase{"Recomposer", WindowsPath(TestDataPath("rcp/v2-split-memo.rcp")), "著作権 :", "-",
                                   "レコンポーザ MIDIファイル (Ver.2)", "18", "C Minor", nullptr}),
    [](const ::testing::TestParamInfo<PropertyCase>& info) { return std::string(info.param.name); });

// Default settings and module tables, and the context that edits them.
struct SettingsUnderTest {
    SettingsUnderTest() {
        context.settings = &settings;
        context.modules = &modules;
        context.detectors = &detectors;
        context.rememberedTab = &tab;
    }
    ClientSettings settings;
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    int tab = 0;
    SettingsDialogContext context;
};

// Runs the settings dialog while the script acts; the dialog ends by the script.
void RunSettings(SettingsDialogContext& context, const std::function<void(SettingsDialog&)>& act) {
    SettingsDialog dialog(nullptr, context);
    Script script({[&] {
        if (!SettingsDialogWindow()) {
            return false;
        }
        act(dialog);
        return true;
    }});
    dialog.DoModal();
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(nullptr, SettingsDialogWindow());
}

// The page's own visibility, whether or not the dialog is on screen yet.
bool Shown(HWND page) {
    return (GetWindowLongA(page, GWL_STYLE) & WS_VISIBLE) != 0;
}

void SelectTab(HWND dialog, int tab) {
    const HWND tabs = GetDlgItem(dialog, 52);
    SendMessageA(tabs, TCM_SETCURSEL, WPARAM(tab), 0);
    NMHDR header = {tabs, 52, UINT(TCN_SELCHANGE)};
    SendMessageA(dialog, WM_NOTIFY, 52, reinterpret_cast<LPARAM>(&header));
}

struct TimeOutCase {
    const char* text;
    uint32_t stored;
};

TEST(SettingsDialog, TimeOutTextIsBroughtIntoItsRange) {
    const TimeOutCase cases[] = {{"0", 1}, {"250", 100}, {"-1", 100}, {"37", 37}};
    for (const TimeOutCase& c : cases) {
        SettingsUnderTest under;
        RunSettings(under.context, [&](SettingsDialog& dialog) {
            SetDlgItemTextA(dialog.PageWindow(3), 140, c.text);
            Press(dialog.Handle(), IDOK);
        });
        EXPECT_EQ(c.stored, under.settings.player.playTimeOut) << c.text;
    }
}

TEST(SettingsDialog, AllSaveBoxesOffStoreRegWriteZeroAndApplyReportsRefreshes) {
    SettingsUnderTest under;
    ClientSettings& settings = under.settings;
    settings.listWindow.fullRowSelect = false;
    SettingsDialogContext& context = under.context;
    std::vector<uint32_t> refreshes;
    context.refresh = [&](uint32_t bits) { refreshes.push_back(bits); };
    RunSettings(context, [&](SettingsDialog& dialog) {
        for (int id = 100; id <= 104; id++) {
            CheckDlgButton(dialog.PageWindow(0), id, BST_UNCHECKED);
        }
        CheckDlgButton(dialog.PageWindow(2), 122, BST_CHECKED);
        Press(dialog.Handle(), 50);  // apply, stays open
        EXPECT_EQ(dialog.Handle(), SettingsDialogWindow());
        Press(dialog.Handle(), IDOK);
    });
    EXPECT_EQ(0u, settings.mode.regWrite);
    EXPECT_TRUE(settings.listWindow.fullRowSelect);
    ASSERT_EQ(2u, refreshes.size());
    EXPECT_EQ(kRefreshFullRow, refreshes[0] & kRefreshFullRow);
    EXPECT_EQ(0u, refreshes[1] & kRefreshFullRow);  // nothing changed since
}

TEST(SettingsDialog, ReopensOnTheTabLastSelectedAndCancelKeepsTheSettings) {
    SettingsUnderTest under;
    ClientSettings& settings = under.settings;
    const uint32_t regWrite = settings.mode.regWrite;
    SettingsDialogContext& context = under.context;
    const int& tab = under.tab;
    RunSettings(context, [&](SettingsDialog& dialog) {
        SelectTab(dialog.Handle(), 5);
        EXPECT_TRUE(Shown(dialog.PageWindow(5)));
        EXPECT_FALSE(Shown(dialog.PageWindow(0)));
        CheckDlgButton(dialog.PageWindow(0), 100, BST_UNCHECKED);
        Press(dialog.Handle(), IDCANCEL);
    });
    EXPECT_EQ(5, tab);
    EXPECT_EQ(regWrite, settings.mode.regWrite);
    RunSettings(context, [&](SettingsDialog& dialog) {
        EXPECT_EQ(5, SendMessageA(GetDlgItem(dialog.Handle(), 52), TCM_GETCURSEL, 0, 0));
        EXPECT_TRUE(Shown(dialog.PageWindow(5)));
        Press(dialog.Handle(), IDCANCEL);
    });
}

// One name typed into the add dialog and the message box it brought, if any.
struct NameCheck {
    const char* name;
    const char* message;  // null: accepted, the dialog closes
};

TEST(ModuleEditDialog, NameChecksComeInTheirOrderAndKeepTheDialogOpen) {
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    SetDefaultSoundModules(&modules, &detectors);
    SoundModuleEditor editor(modules, detectors);
    const std::string existing = editor.Rows().front().name;
    const NameCheck checks[] = {
        {"その他\\表", "音源名に '\\' が含まれています。"},
        {"その他", "指定された音源は予約されていますので使用できません。"},
        {existing.c_str(), "すでに同じ音源があります。"},
        {"表ソ音源", nullptr},
    };
    std::vector<std::string> messages;
    std::vector<std::function<bool()>> list;
    for (const NameCheck& check : checks) {
        list.push_back([&] {
            const HWND dialog = FindDialog(kAddSoundModuleCaption, 1101, nullptr);
            if (!dialog) {
                return false;
            }
            SetDlgItemTextA(dialog, 1101, check.name);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return true;
        });
        if (check.message) {
            list.push_back([&] {
                const HWND edit = FindDialog(kAddSoundModuleCaption, 1101, nullptr);
                const HWND box = edit ? FindDialog(kAddSoundModuleCaption, 0, edit) : nullptr;
                if (!box) {
                    return false;
                }
                messages.push_back(MessageText(box));
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return true;
            });
        }
    }
    const size_t before = editor.Rows().size();
    Script script(std::move(list));
    ModuleEditDialog dialog(nullptr, &editor, -1);
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<std::string>{checks[0].message, checks[1].message, checks[2].message}), messages);
    ASSERT_EQ(before + 1, editor.Rows().size());
    EXPECT_EQ("表ソ音源", editor.Rows().back().name);
}

// The catalogue of one scratch folder holding one song, its cache made.
void OpenScratchCatalogue(CatalogueState* state, const std::string& folder) {
    state->location = folder;
    state->playerTypeMask = PlayerTypeMask(0);
    state->kind = kLocationFolder;
    state->cache.location = folder;
    state->cache.kind = kLocationFolder;
    ASSERT_TRUE(BuildObjectList(*state, false));
    TitleCacheHost host;
    SongAnalyzer analyzer;
    RefreshTitleCache(state->cache, state->scanList, host, analyzer, false, false);
    ASSERT_TRUE(LoadTitleCache(state->cache));
}

TEST(ChangeTitle, TitleTypedIntoTheDialogSurvivesReloadingTheCache) {
    const std::string folder = ScratchFolder("QuilloryHandTitle");
    const std::string song = folder + "song.mid";
    std::ofstream(song, std::ios::binary) << ReadAll(TestDataPath("midi/conductor-format1.mid"));
    DeleteFileA((folder + "_Kadrel.cac").c_str());
    CatalogueState state;
    OpenScratchCatalogue(&state, folder);
    ASSERT_EQ(1, state.objectList.Count());
    const std::string path = state.objectList.Read(0, ObjectListColumn::path);

    std::string title = "Conductor Song";
    Script script({[] {
        const HWND dialog = FindDialog("タイトルを変更 - Quillory", 1001, nullptr);
        if (!dialog) {
            return false;
        }
        EXPECT_EQ("Conductor Song", ItemText(dialog, 1001));
        SetDlgItemTextA(dialog, 1001, "手で付けた表題ソ");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    }});
    ASSERT_TRUE(AskTitle(nullptr, &title));
    ASSERT_EQ("手で付けた表題ソ", title);
    TitleCacheHost host;
    ASSERT_TRUE(ChangeTitleCacheText(state.cache, host, path.c_str(), TitleCacheColumn::title, title.c_str()));

    CatalogueState reopened;
    reopened.cache.location = folder;
    reopened.cache.kind = kLocationFolder;
    ASSERT_TRUE(LoadTitleCache(reopened.cache));
    SongAnalyzer analyzer;
    std::string shown;
    std::string comment;
    EXPECT_TRUE(LookUpTitleAndComment(reopened.cache, analyzer, path.c_str(),
                                      state.objectList.Read(0, ObjectListColumn::timeText),
                                      state.objectList.iRead(0, ObjectListColumn::fileType), &shown, &comment));
    EXPECT_EQ("手で付けた表題ソ", shown);
    DeleteFileA((folder + "_Kadrel.cac").c_str());
    DeleteFileA(song.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(FolderDialog, StartsWithTheFolderGivenAndOnlyOkTakesWhatWasTyped) {
    FileOpsHost host(nullptr);
    struct Case {
        int button;
        bool taken;
    };
    for (const Case& c : {Case{IDOK, true}, Case{IDCANCEL, false}}) {
        SCOPED_TRACE(c.button);
        std::string folder = "C:\\曲集\\ソ";  // a trail byte 0x5C in the name
        std::string shown;
        const int button = c.button;
        Script script({[&shown, button] {
            const HWND dialog = FindDialog("移動 - Quillory", 0, nullptr);
            const HWND field = dialog ? FindWindowExA(dialog, nullptr, "Edit", nullptr) : nullptr;
            if (!field) {
                return false;
            }
            shown = Text(field);
            SetWindowTextA(field, "D:\\移動先");
            PostMessageA(dialog, WM_COMMAND, WPARAM(button), 0);
            return true;
        }});
        EXPECT_EQ(c.taken, host.AskFolder("移動 - Quillory", &folder));
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ("C:\\曲集\\ソ", shown);
        EXPECT_EQ(c.taken ? "D:\\移動先" : "C:\\曲集\\ソ", folder);
    }
}

TEST(EmulationDialog, TheResetMessageBoxShowsAndSetsItsSetting) {
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    SetDefaultSoundModules(&modules, &detectors);
    EmulationSettings emulation;
    bool shownChecked = false;
    Script script({[&] {
        const HWND dialog = FindDialog(kSoundModuleSettingsCaption, 1030, nullptr);
        if (!dialog) {
            return false;
        }
        shownChecked = IsDlgButtonChecked(dialog, 1030) == BST_CHECKED;
        SendMessageA(GetDlgItem(dialog, 1030), BM_CLICK, 0, 0);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        return true;
    }});
    EXPECT_TRUE(ShowEmulationDialog(nullptr, &modules, &detectors, &emulation));
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(shownChecked);
    EXPECT_FALSE(emulation.searchResetMessage);
    EXPECT_EQ(0xFu, emulation.searchStrFlag);
}

}  // namespace
