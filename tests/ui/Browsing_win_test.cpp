// The folder tree and the song list on real windows: a host window with a
// real catalogue over a scratch folder of generated MIDI songs with Japanese
// titles; selecting nodes, reading the list's texts, column clicks,
// type-ahead, the selection commands and list-file nodes.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "analysis/SoundModules.h"
#include "catalogue/FullSongAnalyzer.h"
#include "catalogue/ListFile.h"
#include "core/CommandIds.h"
#include "ui/FolderTreeWindow_win.h"
#include "ui/SongListWindow_win.h"

namespace {

// The songs of the scratch folder: file, title (track name), a text event
// (MIDI songs have no comment; the list shows "[なし]"), written at.
struct Song {
    const char* file;
    const char* title;
    const char* text;
    SYSTEMTIME written;  // local time
};

const Song kSongs[] = {
    {"b_sonata.mid", "表題のソナタ GS", "第一楽章", {2023, 4, 0, 5, 9, 30, 0, 0}},
    {"a_umi.mid", "春の海 XG", "箏と尺八", {2024, 1, 0, 2, 23, 59, 0, 0}},
    {"c_fa.mid", "ソ・ファ", "能", {2019, 12, 0, 31, 0, 5, 0, 0}},
};

void AppendMeta(std::string* track, uint8_t type, const std::string& text) {
    *track += std::string("\x00\xFF", 2);
    *track += char(type);
    *track += char(text.size());
    *track += text;
}

// A format-0 song with a track name (the title) and a text event (the comment).
std::string MidiBytes(const Song& song) {
    std::string track;
    AppendMeta(&track, 0x03, song.title);
    AppendMeta(&track, 0x01, song.text);
    track += std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);
    std::string bytes("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14);
    bytes += "MTrk";
    const uint32_t size = uint32_t(track.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += char((size >> shift) & 0xFF);
    }
    return bytes + track;
}

void WriteFileBytes(const std::string& path, const std::string& bytes, const SYSTEMTIME* written) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD done = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    if (written) {
        FILETIME local;
        FILETIME utc;
        SystemTimeToFileTime(written, &local);
        LocalFileTimeToFileTime(&local, &utc);
        SetFileTime(file, nullptr, nullptr, &utc);
    }
    CloseHandle(file);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Holds Shift and Ctrl in the thread's key state for the next click.
void SetModifiers(bool shift, bool ctrl) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
}

// The window of the two panes, in the role of the client window.
class BrowsingTestWindow : public SWindow, public BrowsingHost, public CatalogueHost {
   public:
    BrowsingTestWindow() : SWindow("QuilloryBrowsingTest", nullptr, kWindowKind), tree(this, *this), list(this, *this) {
        SetStyle(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0);
        SetBounds(0, 0, 900, 480);
        SetTitle("Quillory");
        InitializeCriticalSection(&lock_);
        SetDefaultSoundModules(&modules_, &detectors_);
        state.host = this;
        state.analyzer = &analyzer_;
        state.playerTypeMask = PlayerTypeMask(0);
        settings.mode.keyboardFileOperation = false;
    }
    ~BrowsingTestWindow() override {
        DeleteCriticalSection(&lock_);
    }

    bool Open() {
        if (!Create() || !tree.CreateTree() || !list.CreateList(&tree, 96)) {
            return false;
        }
        tree.Move(0, 0, 260, 440, true);
        list.Move(262, 0, 620, 440, true);
        tree.BuildTree();
        return true;
    }

    CatalogueState& Catalogue() override {
        return state;
    }
    ClientSettings& Settings() override {
        return settings;
    }
    void LockCatalogue() override {
        EnterCriticalSection(&lock_);
        lockDepth++;
    }
    void UnlockCatalogue() override {
        lockDepth--;
        LeaveCriticalSection(&lock_);
    }
    void SetStatusText(int part, const char* text) override {
        if (part == 0) {
            countText = text;
        }
    }
    int32_t NarrowDepth() override {
        return 0;
    }
    bool SequencedPlayRunning() override {
        return sequencedPlay;
    }
    bool HandOverRunning() override {
        return false;
    }
    void PostMainCommand(int command) override {
        commands.push_back(command);
    }
    void SendMainCommand(int command) override {
        commands.push_back(command);
    }
    HWND ClientHandle() override {
        return Handle();
    }
    void CheckMenuRadio(int, int, int checked) override {
        radioChecks.push_back(checked);
    }
    void StopFolderWatchers() override {
    }
    void StartFolderWatchers() override {
    }
    void StartDrag(bool) override {
    }

    LocationKind SelectedNodeKind() override {
        return tree.SelectedNodeKind();
    }
    void RememberTexts(int32_t row, const char* title, const char* comment, const char* soundModule) override {
        list.RememberTexts(row, title, comment, soundModule);
    }
    void ClearDisplay() override {
        list.ClearDisplay();
    }
    void SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition) override {
        list.SaveListPosition(selectedRow, scrollPosition);
    }
    void ShowRows(int32_t count, int32_t selectedRow, int32_t scrollPosition) override {
        list.ShowRows(count, selectedRow, scrollPosition);
    }
    void UpdateTree(bool expand) override {
        tree.UpdateTree(expand);
    }

    // The five texts of a row as the list view shows them.
    std::vector<std::string> RowTexts(int row) {
        std::vector<std::string> texts;
        for (int column = 0; column < kSongListColumns; column++) {
            char text[260] = {};
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = sizeof text;
            list.Send(LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
            texts.push_back(text);
        }
        return texts;
    }
    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        for (int row = 0; row < list.GetItemCount(); row++) {
            texts.push_back(RowTexts(row)[size_t(column)]);
        }
        return texts;
    }
    // A click on a column header with the given keys held.
    void ClickColumn(int column, bool shift, bool ctrl) {
        SetModifiers(shift, ctrl);
        NMLISTVIEW click = {};
        click.hdr.hwndFrom = list.Handle();
        click.hdr.idFrom = kSongListId;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        Send(WM_NOTIFY, kSongListId, reinterpret_cast<LPARAM>(&click));
        SetModifiers(false, false);
        Pump();
    }
    // The header image of every column (0: no mark).
    std::vector<int> HeaderMarks() {
        std::vector<int> marks;
        HWND header = ListView_GetHeader(list.Handle());
        for (int column = 0; column < kSongListColumns; column++) {
            HDITEMA item = {};
            item.mask = HDI_FORMAT | HDI_IMAGE;
            SendMessageA(header, HDM_GETITEMA, WPARAM(column), reinterpret_cast<LPARAM>(&item));
            marks.push_back((item.fmt & HDF_IMAGE) ? item.iImage : 0);
        }
        return marks;
    }

    CatalogueState state;
    ClientSettings settings;
    FolderTreeWindow tree;
    SongListWindow list;
    std::string countText;
    std::vector<int> commands;
    std::vector<int> radioChecks;
    bool sequencedPlay = false;
    int lockDepth = 0;

   protected:
    void OnNotify(MessageContext& m) override {
        if (!tree.HandleNotify(m)) {
            list.HandleNotify(m);
        }
    }
    void OnPrivateMessage(MessageContext& m) override {
        if (m.message == kMsgSortColumn) {
            list.OnSortColumn(int32_t(m.wParam));
            m.handled = 1;
        }
    }

   private:
    CRITICAL_SECTION lock_;
    BagBox modules_ = MakeSoundModuleTable();
    BagBox detectors_ = MakeSoundModuleDetectorTable();
    FullSongAnalyzer analyzer_{&detectors_, kDefaultSearchStrFlag};
};

class Browsing : public ::testing::Test {
   protected:
    static void SetUpTestSuite() {
        InitCommonControls();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "quillory-browse\\";
        folder = root + "曲集\\";
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const Song& song : kSongs) {
            WriteFileBytes(folder + song.file, MidiBytes(song), &song.written);
        }
        const std::string listText =
            std::string(kListFileHeader) + "\r\n" + folder + kSongs[2].file + "\r\n" + folder + kSongs[0].file + "\r\n";
        WriteFileBytes(root + "best.lst", listText, nullptr);
    }

    void SetUp() override {
        window = std::make_unique<BrowsingTestWindow>();
        ASSERT_TRUE(window->Open());
    }
    void TearDown() override {
        window->Close(0);
        Pump();
    }

    void OpenFolder() {
        ASSERT_TRUE(window->tree.SelectTreePath(folder));
        Pump();
        ASSERT_EQ(3, window->list.GetItemCount());
    }

    static std::string root;
    static std::string folder;
    std::unique_ptr<BrowsingTestWindow> window;
};

std::string Browsing::root;
std::string Browsing::folder;

using Texts = std::vector<std::string>;

TEST_F(Browsing, FolderNodeFillsTheListWithNamesTitlesModulesAndDates) {
    OpenFolder();
    EXPECT_EQ(folder, window->state.location);
    EXPECT_EQ(kLocationFolder, window->state.kind);
    EXPECT_EQ((Texts{"a_umi", "春の海 XG", "[なし]", "XG", "24/01/02 23:59"}), window->RowTexts(0));
    EXPECT_EQ((Texts{"b_sonata", "表題のソナタ GS", "[なし]", "GS", "23/04/05 09:30"}), window->RowTexts(1));
    EXPECT_EQ((Texts{"c_fa", "ソ・ファ", "[なし]", "その他", "19/12/31 00:05"}), window->RowTexts(2));
    EXPECT_EQ("3 個のオブジェクト (選択 1 個)", window->countText);
    // The tree node of the folder is selected and gives back the same path.
    const HTREEITEM selected = window->tree.GetNextItem(nullptr, TVGN_CARET);
    EXPECT_EQ(folder, window->tree.NodePath(selected));
}

TEST_F(Browsing, ColumnClicksSortReverseAndCtrlClickUnsorts) {
    OpenFolder();
    window->ClickColumn(1, false, false);
    EXPECT_EQ((Texts{"ソ・ファ", "春の海 XG", "表題のソナタ GS"}), window->Column(1));
    EXPECT_EQ((std::vector<int>{0, 1, 0, 0, 0}), window->HeaderMarks());
    window->ClickColumn(1, false, false);
    EXPECT_EQ((Texts{"表題のソナタ GS", "春の海 XG", "ソ・ファ"}), window->Column(1));
    EXPECT_EQ((std::vector<int>{0, 2, 0, 0, 0}), window->HeaderMarks());
    // Shift+click on the date column while ascending by title: dates descending.
    window->ClickColumn(1, false, false);
    window->ClickColumn(4, true, false);
    EXPECT_EQ((Texts{"24/01/02 23:59", "23/04/05 09:30", "19/12/31 00:05"}), window->Column(4));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 2}), window->HeaderMarks());
    // Another column keeps the direction: modules descending, the songs
    // without a detected module ("その他") first.
    window->ClickColumn(3, false, false);
    EXPECT_EQ((Texts{"その他", "XG", "GS"}), window->Column(3));
    // Equal comments (MIDI songs have none): names break the tie.
    window->ClickColumn(2, false, false);
    EXPECT_EQ((Texts{"c_fa", "b_sonata", "a_umi"}), window->Column(0));
    EXPECT_EQ((std::vector<int>{0, 0, 2, 0, 0}), window->HeaderMarks());
    window->ClickColumn(0, false, false);
    EXPECT_EQ((Texts{"c_fa", "b_sonata", "a_umi"}), window->Column(0));
    window->ClickColumn(0, false, false);
    EXPECT_EQ((Texts{"a_umi", "b_sonata", "c_fa"}), window->Column(0));
    // Ctrl+click: scan order, no mark, the menu's "no sorting" item.
    window->ClickColumn(2, false, true);
    EXPECT_EQ(kSortNone, window->state.settings.sortKind);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0, 0}), window->HeaderMarks());
    EXPECT_EQ(kCmdSortNone, window->radioChecks.back());
    EXPECT_EQ(3, window->list.GetItemCount());
}

TEST_F(Browsing, ColumnClicksAreIgnoredDuringSequencedPlay) {
    OpenFolder();
    window->sequencedPlay = true;
    window->ClickColumn(1, false, false);
    EXPECT_EQ(kSortByName, window->state.settings.sortKind);
    EXPECT_EQ((Texts{"a_umi", "b_sonata", "c_fa"}), window->Column(0));
}

TEST_F(Browsing, ListFileNodeOpensTheListAsLocation) {
    ASSERT_TRUE(window->tree.SelectTreePath(root + "BEST.lst>"));
    Pump();
    EXPECT_EQ(root + "best.lst>", window->state.location);
    EXPECT_EQ(kLocationListFile, window->state.kind);
    EXPECT_EQ((Texts{"b_sonata", "c_fa"}), window->Column(0));
    EXPECT_EQ((Texts{"表題のソナタ GS", "ソ・ファ"}), window->Column(1));
    // A missing step or drive selects nothing.
    EXPECT_FALSE(window->tree.SelectTreePath(root + "none\\"));
    EXPECT_FALSE(window->tree.SelectTreePath("Y:\\"));
    EXPECT_EQ(root + "best.lst>", window->state.location);
}

TEST_F(Browsing, NodesCanBeSelectedOneAfterAnother) {
    // Opening a drive sorts its children and marks the drive node so; the
    // next selection has to find the drive node all the same.
    struct Step {
        std::string path;
        std::string location;
        LocationKind kind;
        int rows;
    } steps[] = {
        {folder, folder, kLocationFolder, 3},
        {root + "best.lst>", root + "best.lst>", kLocationListFile, 2},  // list file after a folder
        {"", "", kLocationNone, 0},                                      // the root closes the location
        {folder, folder, kLocationFolder, 3},                            // a folder after the root
        {root, root, kLocationFolder, 0},                                // holds no songs, only 曲集 and best.lst
        {root + "BEST.LST>", root + "best.lst>", kLocationListFile, 2},  // case of the step ignored
    };
    for (const Step& step : steps) {
        ASSERT_TRUE(window->tree.SelectTreePath(step.path)) << step.path;
        Pump();
        const HTREEITEM selected = window->tree.GetNextItem(nullptr, TVGN_CARET);
        EXPECT_EQ(step.location, window->tree.NodePath(selected)) << step.path;
        EXPECT_EQ(step.location, window->state.location) << step.path;
        EXPECT_EQ(step.kind, window->state.kind) << step.path;
        EXPECT_EQ(step.rows, window->list.GetItemCount()) << step.path;
    }
}

TEST_F(Browsing, FindRequestAnswersFirstRowWithThatInitial) {
    OpenFolder();
    NMLVFINDITEMA find = {};
    find.hdr.hwndFrom = window->list.Handle();
    find.hdr.idFrom = kSongListId;
    find.hdr.code = LVN_ODFINDITEMA;
    find.lvfi.flags = LVFI_STRING | LVFI_PARTIAL;
    find.lvfi.psz = "Cx";
    EXPECT_EQ(2, window->Send(WM_NOTIFY, kSongListId, reinterpret_cast<LPARAM>(&find)));
    find.lvfi.psz = "a";
    find.iStart = 1;
    EXPECT_EQ(-1, window->Send(WM_NOTIFY, kSongListId, reinterpret_cast<LPARAM>(&find)));
    find.lvfi.flags = LVFI_PARAM;
    find.iStart = 0;
    EXPECT_EQ(-1, window->Send(WM_NOTIFY, kSongListId, reinterpret_cast<LPARAM>(&find)));
    // Single-key commands on: letters post commands; with Ctrl they do not.
    window->settings.mode.keyboardFileOperation = true;
    window->list.Send(WM_KEYDOWN, 'A', 0);
    window->list.Send(WM_KEYDOWN, 'D', 0);
    window->list.Send(WM_KEYDOWN, VK_NUMPAD3, 0);
    SetModifiers(false, true);
    window->list.Send(WM_KEYDOWN, 'K', 0);
    SetModifiers(false, false);
    window->tree.Send(WM_KEYDOWN, 'D', 0);
    window->tree.Send(WM_KEYDOWN, 'R', 0);
    EXPECT_EQ((std::vector<int>{kCmdPlayerFirst, kCmdDelete, kCmdPlayerFirst + 5, kCmdFolderDelete, kCmdFolderRename}),
              window->commands);
}

TEST_F(Browsing, SelectionCommandsCountUnderTheLock) {
    OpenFolder();
    window->list.SelectAll();
    EXPECT_EQ("3 個のオブジェクト (選択 3 個)", window->countText);
    window->list.SetItemState(1, 0, LVIS_SELECTED);
    window->list.InvertSelection();
    EXPECT_EQ("3 個のオブジェクト (選択 1 個)", window->countText);
    EXPECT_EQ(0, window->lockDepth);
    // The root node closes the location: an empty list counts 0.
    window->tree.SelectTreePath("");
    Pump();
    window->list.SelectAll();
    window->list.InvertSelection();
    EXPECT_EQ("0 個のオブジェクト", window->countText);
}

TEST_F(Browsing, SwitchingViewsKeepsTheColumnWidths) {
    OpenFolder();
    window->list.SetColumnWidth(1, 321);
    window->list.SetView(2, false);
    window->list.SetView(3, false);
    EXPECT_EQ(321, window->list.GetColumnWidth(1));
    EXPECT_EQ(321u, window->settings.window.listWindTitleWidth);
    // Left on screen for a while when asked, to be photographed.
    const char* pause = std::getenv("QUILLORY_BROWSE_PAUSE_MS");
    const DWORD until = GetTickCount() + (pause ? DWORD(std::atoi(pause)) : 0);
    while (GetTickCount() < until) {
        Pump();
        Sleep(20);
    }
}

}  // namespace
