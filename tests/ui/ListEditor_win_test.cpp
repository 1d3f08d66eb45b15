// The list editor window driven by its commands under Wine: the remove
// commands, the clipboard between the song list's data and the editor, the
// save question at exit and a failed save that keeps the old file.
#include "ui/ListEditor_win.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <deque>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "actions/Clipboard_win.h"
#include "app/ProgramSetUp_win.h"
#include "catalogue/ListFile.h"
#include "core/AtomicFile.h"
#include "ui/framework/ProgramValues_win.h"

namespace {

using Names = std::vector<std::string>;

class AnsweringHost : public FileOpsHost {
   public:
    AnsweringHost() : FileOpsHost(nullptr) {
    }
    int ShowMessage(const std::string& text, const std::string& caption, UINT) override {
        shown.push_back(text);
        captions.push_back(caption);
        if (answers.empty()) {
            return IDOK;
        }
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    Names shown;
    Names captions;
    std::deque<int> answers;
};

uint32_t FailEveryWrite(uint32_t) {
    return 112;
}

class ListEditorTest : public ::testing::Test {
   protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        SetProgramPaths();  // titles of member entries are read as the program reads them
        SetUpArchives();
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
    }
    void TearDown() override {
        for (AnsweringHost* host : hosts_) {
            host->answers.assign(8, IDNO);
        }
        EXPECT_TRUE(CloseAllListEditors());
        OleUninitialize();
    }
    ListEditor* Open(const std::string& path, AnsweringHost** host) {
        auto owned = std::make_unique<AnsweringHost>();
        *host = owned.get();
        hosts_.push_back(owned.get());
        ListEditor* editor = new ListEditor(std::move(owned));
        EXPECT_TRUE(editor->OpenWindow(path));
        return editor;
    }
    static void Command(ListEditor* editor, int id) {
        SendMessageA(editor->Handle(), WM_COMMAND, id, 0);
    }
    static std::string Cell(ListEditor* editor, int row, int column) {
        char text[512] = {};
        ListView_GetItemText(editor->ListHandle(), row, column, text, sizeof text);
        return text;
    }
    static std::string Title(ListEditor* editor) {
        return editor->GetText();
    }
    std::vector<AnsweringHost*> hosts_;
    ScratchFolder folder_;
};

TEST_F(ListEditorTest, RemoveCommandsChangeSelectedEntriesButNotComments) {
    const std::string path = folder_.File("edit.lst");
    const Names entries = {"C:\\Music\\a.mid", "|include D:\\lists\\b.lst", "; C:\\keep.mid", "C:\\Music\\ /s"};
    ASSERT_EQ(0u, WriteListFile(path.c_str(), entries));
    AnsweringHost* host = nullptr;
    ListEditor* editor = Open(path, &host);
    ASSERT_EQ(5, ListView_GetItemCount(editor->ListHandle()));
    EXPECT_EQ("[EOF]", Cell(editor, 4, 0));
    EXPECT_EQ("[結合リストファイル]", Cell(editor, 1, 1));
    EXPECT_EQ("[コメント]", Cell(editor, 2, 1));
    EXPECT_EQ("[フォルダ検索 (サブフォルダを含む)]", Cell(editor, 3, 1));
    EXPECT_EQ(path + " - リストファイルの編集", Title(editor));

    Command(editor, 238);
    host->answers = {IDCANCEL};
    Command(editor, 233);
    EXPECT_EQ(entries, editor->Document().Entries());
    Command(editor, 233);
    EXPECT_EQ((Names{"\\Music\\a.mid", "|include \\lists\\b.lst", "; C:\\keep.mid", "\\Music\\ /s"}),
              editor->Document().Entries());
    EXPECT_EQ("選択範囲のファイル名からドライブ名を削除します。", host->shown[0]);
    EXPECT_EQ("リストファイルの編集", host->captions[0]);
    Command(editor, 234);
    EXPECT_EQ((Names{"a.mid", "|include b.lst", "; C:\\keep.mid", "*.* /s"}), editor->Document().Entries());
    EXPECT_EQ(path + "(変更) - リストファイルの編集", Title(editor));
}

TEST_F(ListEditorTest, ClipboardCarriesEntriesBetweenTheSongListAndTheEditor) {
    ASSERT_TRUE(WriteWholeFile(folder_.File("song.mid"), "x"));
    const std::string song = folder_.File("song.mid");
    const std::string archive = folder_.File("set.lzh");
    ASSERT_TRUE(WriteWholeFile(archive, ReadWholeFile(TestDataPath("lzh/songs.lzh"))));
    const Names strings = {song, archive + ">x/表.mid", "C:\\ソ\\*.*"};
    ASSERT_TRUE(PutOnClipboard({song}, strings));
    AnsweringHost* host = nullptr;
    ListEditor* editor = Open("", &host);
    Command(editor, 237);
    EXPECT_EQ(strings, editor->Document().Entries());
    EXPECT_EQ("(無題)(変更) - リストファイルの編集", Title(editor));

    Command(editor, 238);
    Command(editor, 236);
    IDataObject* data = nullptr;
    ASSERT_TRUE(SUCCEEDED(OleGetClipboard(&data)));
    Names backStrings;
    Names backFiles;
    EXPECT_TRUE(ReadPrivateStrings(data, &backStrings));
    EXPECT_TRUE(ReadDropFiles(data, &backFiles));
    data->Release();
    EXPECT_EQ(strings, backStrings);
    EXPECT_EQ((Names{song, archive}), backFiles);  // song entries only, a member's archive instead

    Command(editor, 235);
    EXPECT_TRUE(editor->Document().Entries().empty());
    EXPECT_EQ(1, ListView_GetItemCount(editor->ListHandle()));
    Command(editor, 237);
    EXPECT_EQ(strings, editor->Document().Entries());
}

TEST_F(ListEditorTest, CancelledSaveQuestionKeepsEditorsOpenAtExit) {
    AnsweringHost* first = nullptr;
    AnsweringHost* second = nullptr;
    ListEditor* untitled = Open("", &first);
    Open("", &second);
    ASSERT_TRUE(PutOnClipboard({}, {"a.mid"}));
    Command(untitled, 237);
    first->answers = {IDCANCEL};
    EXPECT_FALSE(CloseAllListEditors());
    ASSERT_EQ(1u, first->shown.size());
    EXPECT_EQ("(無題) は更新されています。\n保存しますか ?", first->shown[0]);
    EXPECT_TRUE(IsWindow(untitled->Handle()));
    first->answers = {IDNO};
    EXPECT_TRUE(CloseAllListEditors());
    hosts_.clear();  // every editor is gone
}

TEST_F(ListEditorTest, FailedSaveKeepsThePreviousFileAndTheModifiedState) {
    const std::string path = folder_.File("keep.lst");
    ASSERT_EQ(0u, WriteListFile(path.c_str(), {"C:\\old.mid"}));
    const std::string before = ReadWholeFile(path);
    AnsweringHost* host = nullptr;
    ListEditor* editor = Open(path, &host);
    ASSERT_TRUE(PutOnClipboard({}, {"C:\\new.mid", "// comment"}));
    Command(editor, 237);

    SetAtomicWriteFault(FailEveryWrite);
    Command(editor, 132);
    SetAtomicWriteFault(nullptr);
    EXPECT_EQ(before, ReadWholeFile(path));
    ASSERT_EQ(1u, host->shown.size());
    EXPECT_EQ("ドライブに十分な容量がありません。(112)\n\n" + path, host->shown[0]);
    EXPECT_TRUE(editor->Document().Modified());

    Command(editor, 132);
    EXPECT_FALSE(editor->Document().Modified());
    EXPECT_EQ(path + " - リストファイルの編集", Title(editor));
    ListDocument reopened;
    ASSERT_EQ(0u, reopened.Open(path));
    EXPECT_EQ((Names{"C:\\old.mid", "C:\\new.mid", "// comment"}), reopened.Entries());
    EXPECT_EQ(std::string::npos, ReadWholeFile(path).find("[EOF]"));
}

TEST_F(ListEditorTest, LayoutIsTakenFromTheSettingsAndLeftThereOnClose) {
    MakeListSettings layout;
    layout.winX = 40;
    layout.winY = 30;
    layout.winW = 500;
    layout.winH = 300;
    layout.listWindTitleWidth = 120;
    layout.showStatusBar = false;
    SetListEditorSettings(&layout);
    AnsweringHost* host = nullptr;
    ListEditor* editor = Open("", &host);
    const RECT frame = editor->WindowRect();
    EXPECT_EQ(40, frame.left);
    EXPECT_EQ(30, frame.top);
    EXPECT_EQ(500, frame.right - frame.left);
    EXPECT_EQ(120, ListView_GetColumnWidth(editor->ListHandle(), 1));

    // The tool bar holds new, open, save, cut, copy and paste; hiding it
    // gives its room to the list.
    HWND toolBar = FindWindowExA(FindWindowExA(editor->Handle(), nullptr, REBARCLASSNAMEA, nullptr), nullptr,
                                 TOOLBARCLASSNAMEA, nullptr);
    ASSERT_TRUE(toolBar);
    Names commands;
    const int buttons = int(SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < buttons; ++i) {
        TBBUTTON button = {};
        SendMessageA(toolBar, TB_GETBUTTON, WPARAM(i), reinterpret_cast<LPARAM>(&button));
        commands.push_back(std::to_string(button.idCommand));
    }
    EXPECT_EQ((Names{"130", "131", "132", "0", "235", "236", "237"}), commands);
    RECT list = {};
    GetWindowRect(editor->ListHandle(), &list);
    const LONG listTopWithBar = list.top;
    Command(editor, 330);
    GetWindowRect(editor->ListHandle(), &list);
    EXPECT_LT(list.top, listTopWithBar);
    EXPECT_EQ(UINT(MF_UNCHECKED), GetMenuState(GetMenu(editor->Handle()), 330, MF_BYCOMMAND) & MF_CHECKED);

    ListView_SetColumnWidth(editor->ListHandle(), 0, 200);
    Command(editor, 331);  // the status bar comes back
    SendMessageA(editor->Handle(), WM_CLOSE, 0, 0);
    hosts_.clear();
    SetListEditorSettings(nullptr);
    EXPECT_FALSE(layout.band.show);
    EXPECT_TRUE(layout.showStatusBar);
    EXPECT_EQ(200u, layout.listWindFileNameWidth);
    EXPECT_EQ(40, layout.winX);
    EXPECT_EQ(500, layout.winW);
    EXPECT_EQ(300, layout.winH);
}

TEST_F(ListEditorTest, TitleColumnShowsWhatTheSongListShows) {
    // A sequence name with two spaces in it, after the song's first note.
    const std::string track = std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x03\x0BLate  Title", 23) +
                              std::string("\x00\xFF\x2F\x00", 4);
    ASSERT_TRUE(WriteWholeFile(
        folder_.File("late.mid"),
        std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk\x00\x00\x00", 21) + char(track.size()) + track));
    ASSERT_TRUE(WriteWholeFile(folder_.File("tag.mp3"), ReadWholeFile(TestDataPath("audio/sjis-5c-trail.mp3"))));
    ASSERT_TRUE(WriteWholeFile(folder_.File("t.lst"), "[Kadrel File List]\r\nlate.mid\r\ntag.mp3\r\n"));
    const struct {
        bool titleSearch;
        bool cutTitleSpace;
        const char* late;
    } cases[] = {
        {true, false, "Late  Title"},
        {true, true, "Late Title"},
        {false, false, "[なし]"},
    };
    for (const auto& c : cases) {
        ModeSettings mode;
        mode.titleSearch = c.titleSearch;
        mode.cutTitleSpace = c.cutTitleSpace;
        SetListEditorTitleSettings(&mode);
        AnsweringHost* host = nullptr;
        ListEditor* editor = Open(folder_.File("t.lst"), &host);
        EXPECT_EQ(c.late, Cell(editor, 0, 1));
        EXPECT_EQ("表示ソフト / 能登", Cell(editor, 1, 1));
        SendMessageA(editor->Handle(), WM_CLOSE, 0, 0);
        hosts_.clear();
    }
    SetListEditorTitleSettings(nullptr);
}

}  // namespace
