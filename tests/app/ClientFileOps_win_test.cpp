// The song list's file commands through the real main window: two songs
// copied to the clipboard and pasted into another folder, and a selection
// deleted after the question, answered by a host that records what it shows.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "WindowTestSupport_win.h"
#include "actions/Clipboard_win.h"
#include "app/MainWindow_win.h"
#include "catalogue/ListFile.h"
#include "catalogue/TitleCache.h"
#include "core/CommandIds.h"
#include "core/Text.h"
#include "player/PlayerKind.h"
#include "ui/ListEditor_win.h"
#include "ui/framework/ProgramValues_win.h"

namespace {

const char kScratchRoot[] = "Software\\Brenvik\\KadrelFileOpsTest";

const char* const kSongFiles[] = {"a_表.mid", "b_ソナタ.mid", "c_umi.mid"};

// A format-0 song with one note.
std::string MidiBytes() {
    const std::string track("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);
    std::string bytes("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0MTrk\x00\x00\x00", 21);
    return bytes + char(track.size()) + track;
}

std::string NameOf(const std::string& path) {
    return path.substr(size_t(LastSeparator(path.c_str()) + 1));
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes a folder with everything in it.
void RemoveTree(std::string folder) {
    folder.pop_back();
    folder.append(2, '\0');  // the operation takes a list ending in two NULs
    SHFILEOPSTRUCTA operation = {};
    operation.wFunc = FO_DELETE;
    operation.pFrom = folder.c_str();
    operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&operation);
}

// Empties folder of its songs and puts the given ones in.
void FillFolder(const std::string& folder, size_t count) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const char* file : kSongFiles) {
        DeleteFileA((folder + file).c_str());
    }
    for (size_t i = 0; i < count; ++i) {
        std::ofstream(folder + kSongFiles[i], std::ios::binary) << MidiBytes();
    }
}

struct Shown {
    std::string text;
    std::string caption;
};

// What the user types into the name and folder dialogs, and what the host
// was asked and started.
struct Script {
    std::deque<std::string> answers;   // names and folders, in order; empty: Cancel
    std::vector<Shown> asked;          // caption and prefilled text of every dialog
    std::vector<std::string> started;  // "shell <verb> <file>" or "run <command line>"
};

// Answers every message box with a fixed button, the dialogs from the
// script, and keeps what was shown.
class AnsweringHost : public FileOpsHost {
   public:
    AnsweringHost(HWND owner, int answer, std::vector<Shown>* shown, Script* script)
        : FileOpsHost(owner), answer_(answer), shown_(shown), script_(script) {
    }
    int ShowMessage(const std::string& text, const std::string& caption, UINT) override {
        shown_->push_back({text, caption});
        return answer_;
    }
    OverwriteAnswer AskOverwrite(bool move, const std::string& destination, int32_t* mode) override {
        shown_->push_back({"overwrite " + destination, TransferCaption(move)});
        *mode = kOverwriteAlways;
        return OverwriteAnswer::kOk;
    }
    bool AskName(const char* caption, std::string* name) override {
        return Next(caption, name);
    }
    bool AskFolder(const char* caption, std::string* folder) override {
        return Next(caption, folder);
    }
    uint32_t OpenWithShell(const std::string& verb, const std::string& file) override {
        script_->started.push_back("shell " + verb + " " + file);
        return 0;
    }
    uint32_t StartProgram(const std::string& commandLine) override {
        script_->started.push_back("run " + commandLine);
        return 0;
    }

   private:
    bool Next(const char* caption, std::string* text) {
        script_->asked.push_back({*text, caption});
        if (script_->answers.empty()) {
            return false;
        }
        *text = script_->answers.front();
        script_->answers.pop_front();
        return true;
    }

    int answer_;
    std::vector<Shown>* shown_;
    Script* script_;
};

class ClientFileOps : public ProgramWindowTest {
   protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string root = std::string(temp) + "quillory-fileops\\";
        RemoveTree(root);
        CreateDirectoryA(root.c_str(), nullptr);
        source_ = root + "曲集\\";
        target_ = root + "表示先\\";
        FillFolder(source_, 3);
        FillFolder(target_, 0);
        ASSERT_TRUE(OpenWindow(kScratchRoot));
        Pump();
    }
    void TearDown() override {
        CloseWindow();
    }

    void Open(const std::string& folder, int rows) {
        ASSERT_TRUE(client_->Tree()->SelectTreePath(folder));
        Pump();
        ASSERT_EQ(folder, client_->Browse().Catalogue().location);
        ASSERT_EQ(rows, RowCount());
    }
    std::vector<std::string> ListedPaths() {
        std::vector<std::string> paths;
        for (int row = 0; row < RowCount(); ++row) {
            paths.push_back(client_->Browse().SongPath(row));
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    void SelectOnly(const std::vector<int>& rows) {
        client_->Selection().ClearSelection();
        for (int row : rows) {
            client_->Selection().SelectRow(row);
        }
    }
    void Answer(int button) {
        client_->Files().SetFileOps(std::make_unique<AnsweringHost>(main_->Handle(), button, &shown_, &script_));
    }

    std::string source_;
    std::string target_;
    std::vector<Shown> shown_;
    Script script_;
};

TEST_F(ClientFileOps, CopiedSongsArePastedIntoAnotherFolderAndListed) {
    Answer(IDOK);
    Open(source_, 3);
    SelectOnly({0, 2});
    const std::string left = client_->Browse().SongPath(1);
    std::vector<std::string> pasted = {target_ + NameOf(client_->Browse().SongPath(0)), target_ + NameOf(client_->Browse().SongPath(2))};
    std::sort(pasted.begin(), pasted.end());
    Command(kCmdCopy);
    Open(target_, 0);
    Command(kCmdPaste);
    EXPECT_EQ(pasted, ListedPaths());
    for (const std::string& path : pasted) {
        EXPECT_TRUE(Exists(path)) << path;
        EXPECT_TRUE(Exists(source_ + NameOf(path))) << path;
    }
    EXPECT_FALSE(Exists(target_ + NameOf(left)));
    EXPECT_TRUE(shown_.empty());
}

TEST_F(ClientFileOps, DeleteAsksFirstAndRemovesOnlyWhenAnsweredYes) {
    struct Case {
        int answer;
        bool deleted;
    };
    const Case cases[] = {{IDCANCEL, false}, {IDOK, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        shown_.clear();
        Answer(c.answer);
        Open(source_, 3);
        SelectOnly({0, 1});
        const std::vector<std::string> selected = {client_->Browse().SongPath(0), client_->Browse().SongPath(1)};
        const std::string kept = client_->Browse().SongPath(2);
        const std::vector<std::string> before = ListedPaths();
        Command(kCmdDelete);
        ASSERT_EQ(1u, shown_.size());
        EXPECT_EQ("選択オブジェクトを削除します。", shown_[0].text);
        EXPECT_EQ("削除 - Quillory", shown_[0].caption);
        for (const std::string& path : selected) {
            EXPECT_EQ(!c.deleted, Exists(path)) << path;
        }
        EXPECT_TRUE(Exists(kept));
        EXPECT_EQ(c.deleted ? std::vector<std::string>{kept} : before, ListedPaths());
    }
}

TEST_F(ClientFileOps, DeleteWithoutSelectionAsksNothing) {
    Answer(IDOK);
    Open(source_, 3);
    SelectOnly({});
    Command(kCmdDelete);
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(3, RowCount());
}

TEST_F(ClientFileOps, CopyAndMoveToAFolderRememberTheFolderChosen) {
    Answer(IDOK);
    Open(source_, 3);
    SelectOnly({0});
    const std::string first = client_->Browse().SongPath(0);
    script_.answers = {target_};
    Command(kCmdCopyTo);
    EXPECT_TRUE(Exists(first));
    EXPECT_TRUE(Exists(target_ + NameOf(first)));

    SelectOnly({1, 2});
    const std::vector<std::string> moved = {client_->Browse().SongPath(1), client_->Browse().SongPath(2)};
    script_.answers = {target_};
    Command(kCmdMoveTo);
    for (const std::string& path : moved) {
        EXPECT_FALSE(Exists(path)) << path;
        EXPECT_TRUE(Exists(target_ + NameOf(path))) << path;
    }
    ASSERT_EQ(2u, script_.asked.size());
    EXPECT_EQ("コピー - Quillory", script_.asked[0].caption);
    EXPECT_EQ("", script_.asked[0].text);  // nothing chosen yet
    EXPECT_EQ("移動 - Quillory", script_.asked[1].caption);
    EXPECT_EQ(target_, script_.asked[1].text);
    EXPECT_TRUE(shown_.empty());

    // Cancelling the dialog copies nothing.
    SelectOnly({0});
    DeleteFileA((target_ + NameOf(first)).c_str());
    Command(kCmdCopyTo);
    EXPECT_FALSE(Exists(target_ + NameOf(first)));
}

TEST_F(ClientFileOps, ChangeFolderOpensTheFolderEntered) {
    Answer(IDOK);
    Open(source_, 3);
    std::string typed = target_;
    typed.pop_back();  // typed without the final separator
    script_.answers = {typed};
    Command(kCmdChangeFolder);
    EXPECT_EQ(target_, client_->Browse().Catalogue().location);
    ASSERT_EQ(1u, script_.asked.size());
    EXPECT_EQ("カレントフォルダを変更 - Quillory", script_.asked[0].caption);
    EXPECT_EQ(source_, script_.asked[0].text);

    script_.answers = {source_ + "ありません\\"};
    Command(kCmdChangeFolder);
    EXPECT_EQ(target_, client_->Browse().Catalogue().location);
    ASSERT_EQ(1u, shown_.size());
    EXPECT_EQ(0u, shown_[0].text.find("パスが無効です。(3)"));
}

TEST_F(ClientFileOps, TreeMakesRenamesAndDeletesFoldersAndListFiles) {
    Answer(IDOK);
    Open(source_, 3);
    script_.answers = {"新しい曲"};
    Command(kCmdFolderNew);
    EXPECT_TRUE(Exists(source_ + "新しい曲"));
    ASSERT_TRUE(client_->Tree()->SelectTreePath(source_));

    script_.answers = {"お気に入り"};
    Command(kCmdTreeNewList);
    const std::string list = source_ + "お気に入り.lst";
    ASSERT_TRUE(IsListFileValid(list.c_str()));
    ASSERT_TRUE(client_->Tree()->SelectTreePath(list + ">"));
    Pump();
    EXPECT_EQ(list + ">", client_->Browse().Catalogue().location);

    // The list's title cache goes along with it.
    const std::string cache = TitleCacheFilePath(list.c_str(), 2);
    std::ofstream(cache, std::ios::binary) << "cache";
    script_.answers = {"好き"};
    Command(kCmdFolderRename);
    const std::string renamed = source_ + "好き.lst";
    EXPECT_FALSE(Exists(list));
    EXPECT_FALSE(Exists(cache));
    EXPECT_TRUE(Exists(renamed));
    EXPECT_TRUE(Exists(TitleCacheFilePath(renamed.c_str(), 2)));
    ASSERT_TRUE(client_->Tree()->SelectTreePath(renamed + ">"));
    Pump();
    EXPECT_EQ("リストファイルの名前を変更 - Quillory", script_.asked[2].caption);
    EXPECT_EQ("お気に入り", script_.asked[2].text);

    Command(kCmdFolderDelete);
    EXPECT_FALSE(Exists(renamed));
    EXPECT_FALSE(Exists(TitleCacheFilePath(renamed.c_str(), 2)));
    ASSERT_EQ(1u, shown_.size());
    EXPECT_EQ("好き.lst を削除します。", shown_[0].text);
    EXPECT_EQ("リストファイルを削除 - Quillory", shown_[0].caption);
    EXPECT_FALSE(client_->Tree()->SelectTreePath(renamed + ">"));

    // A folder with a file in it stays, with the system's reason.
    std::ofstream(source_ + "新しい曲\\memo.txt") << "x";
    ASSERT_TRUE(client_->Tree()->SelectTreePath(source_ + "新しい曲\\"));
    Pump();
    shown_.clear();
    Command(kCmdFolderDelete);
    EXPECT_TRUE(Exists(source_ + "新しい曲"));
    ASSERT_EQ(2u, shown_.size());
    EXPECT_EQ("新しい曲 を削除します。", shown_[0].text);
    EXPECT_EQ(0u, shown_[1].text.find("ディレクトリが空ではありません。(145)"));

    // An existing name is refused for a new list file.
    ASSERT_TRUE(client_->Tree()->SelectTreePath(source_));
    std::ofstream(source_ + "ある.lst") << "x";
    shown_.clear();
    script_.answers = {"ある.lst"};
    Command(kCmdTreeNewList);
    ASSERT_EQ(1u, shown_.size());
    EXPECT_EQ(0u, shown_[0].text.find("同じ名前のファイルがあります。(183)"));
    EXPECT_EQ("x", ReadWholeFile(source_ + "ある.lst"));
}

TEST_F(ClientFileOps, EditCommandsOpenTheSongItsScriptAndItsDocument) {
    Answer(IDOK);
    Open(source_, 3);
    const std::string song = client_->Browse().SongPath(0);
    std::string base;
    SplitExtension(song.c_str(), &base, nullptr);
    std::ofstream(base + ".wrd") << "@MAG(a.mag)";
    std::ofstream(base + ".TXT") << "memo";
    client_->settings.editor.wrdChain = false;
    client_->settings.editor.wrdFilename = "C:\\ツール\\wrd edit.exe";
    client_->Selection().FocusRow(0);
    Command(kCmdEditSong);
    Command(kCmdEditWrd);
    Command(kCmdEditDocument);
    EXPECT_EQ((std::vector<std::string>{"shell edit " + song, "run \"C:\\ツール\\wrd edit.exe\" \"" + base + ".wrd\"",
                                        "shell open " + base + ".TXT"}),
              script_.started);
    EXPECT_TRUE(shown_.empty());

    client_->Selection().FocusRow(1);
    Command(kCmdEditDocument);
    ASSERT_EQ(1u, shown_.size());
    EXPECT_EQ(0u, shown_[0].text.find("ファイルがありません。(2)"));
    EXPECT_NE(std::string::npos, shown_[0].text.find("ドキュメントファイル"));
    EXPECT_EQ("編集 - Quillory", shown_[0].caption);
}

TEST_F(ClientFileOps, DropsOnTheListAndOnATreeFolderCopyOrMoveThere) {
    Answer(IDOK);
    const std::string outside = target_ + "外から.mid";
    std::ofstream(outside, std::ios::binary) << MidiBytes();
    Open(source_, 3);
    IDataObject* data = CreateSongDataObject({outside}, {outside});
    ASSERT_TRUE(data);
    EXPECT_EQ(DWORD(DROPEFFECT_COPY), client_->Files().DropFiles(false, data, POINT{0, 0}, false));
    EXPECT_TRUE(Exists(source_ + "外から.mid"));
    EXPECT_TRUE(Exists(outside));
    EXPECT_TRUE(shown_.empty());  // the list takes drops without asking
    data->Release();

    // The tree asks first ("MesDragDrop") and moves with the effect chosen.
    ASSERT_TRUE(client_->Tree()->SelectTreePath(target_));
    Pump();
    HTREEITEM node = TreeView_GetSelection(client_->TreeHandle());
    RECT rect = {};
    ASSERT_TRUE(TreeView_GetItemRect(client_->TreeHandle(), node, &rect, TRUE));
    POINT over = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(client_->TreeHandle(), &over);
    ASSERT_TRUE(client_->Tree()->SelectTreePath(source_));
    Pump();
    const std::string song = source_ + "外から.mid";
    data = CreateSongDataObject({song}, {song});
    EXPECT_EQ(DWORD(DROPEFFECT_MOVE), client_->Files().DropFiles(true, data, over, true));
    data->Release();
    ASSERT_EQ(2u, shown_.size());
    EXPECT_EQ("選択されたオブジェクトを " + target_ + " に移動します。", shown_[0].text);
    EXPECT_EQ("移動 - Quillory", shown_[0].caption);
    EXPECT_EQ("overwrite " + target_ + "外から.mid", shown_[1].text);
    EXPECT_FALSE(Exists(song));
    EXPECT_TRUE(Exists(outside));

    // Cancelling the question leaves everything where it was.
    shown_.clear();
    Answer(IDCANCEL);
    const std::string stays = client_->Browse().SongPath(0);
    data = CreateSongDataObject({stays}, {stays});
    EXPECT_EQ(DWORD(DROPEFFECT_NONE), client_->Files().DropFiles(true, data, over, true));
    data->Release();
    EXPECT_EQ(1u, shown_.size());
    EXPECT_TRUE(Exists(stays));
    EXPECT_FALSE(Exists(target_ + NameOf(stays)));
}

TEST_F(ClientFileOps, AListMadeInTheEditorListsItsSongsInTheMainWindow) {
    Answer(IDOK);
    Open(source_, 3);
    script_.answers = {"選曲"};
    Command(kCmdTreeNewList);
    const std::string list = source_ + "選曲.lst";
    ASSERT_TRUE(Exists(list));
    SelectOnly({0, 2});
    std::vector<std::string> chosen = {client_->Browse().SongPath(0), client_->Browse().SongPath(2)};
    std::sort(chosen.begin(), chosen.end());
    Command(kCmdCopy);

    ListEditor* editor = OpenListEditor(list);
    ASSERT_TRUE(editor);
    SendMessageA(editor->Handle(), WM_COMMAND, 237, 0);  // paste
    SendMessageA(editor->Handle(), WM_COMMAND, 132, 0);  // save
    SendMessageA(editor->Handle(), WM_CLOSE, 0, 0);
    Pump();
    ASSERT_TRUE(IsListFileValid(list.c_str()));

    ASSERT_TRUE(client_->Tree()->SelectTreePath(list + ">"));
    Pump();
    EXPECT_EQ(list + ">", client_->Browse().Catalogue().location);
    EXPECT_EQ(chosen, ListedPaths());
}

// The tree's "順次演奏(&U)" plays the node's songs from the first one, in
// list order, with the chosen player (the fake DDE player under its name).
TEST_F(ClientFileOps, TreeNodePlaysItsSongsInOrderFromTheFirst) {
    Answer(IDOK);
    const std::string players = target_ + "players";
    CreateDirectoryA(players.c_str(), nullptr);
    ASSERT_TRUE(
        CopyFileA((BuildFolder() + "fakeplayer\\fakeplayer.exe").c_str(), (players + "\\WFP.exe").c_str(), FALSE));
    char path[32768] = {};
    GetEnvironmentVariableA("PATH", path, sizeof path);
    const std::string oldPath = path;
    SetEnvironmentVariableA("PATH", (players + ";" + oldPath).c_str());
    const std::string log = players + "\\log.txt";
    SetEnvironmentVariableA("FAKEPLAYER_LOG", log.c_str());
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "800");

    Open(source_, 3);
    Command(kCmdPlayerFirst + PlayerKind::WrdFilePlayer);
    client_->Selection().FocusRow(2);  // the run starts at the first song whatever is focused
    std::vector<std::string> expected;
    for (int row = 0; row < 3; ++row) {
        expected.push_back("execute \"" + client_->Browse().SongPath(row) + "\"");
    }
    Command(kCmdTreePlaySequential);
    std::vector<std::string> played;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 30000 && (played.size() < 3 || client_->CurrentPlayMode() != PlayMode::kNone)) {
        Pump();
        Sleep(50);
        played.clear();
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) {
            if (line.compare(0, 9, "execute \"") == 0) {
                played.push_back(line.substr(0, line.find('"', 9) + 1));  // options may follow
            }
        }
    }
    SetEnvironmentVariableA("PATH", oldPath.c_str());
    SetEnvironmentVariableA("FAKEPLAYER_LOG", nullptr);
    SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", nullptr);
    EXPECT_EQ(expected, played);
    EXPECT_EQ(PlayMode::kNone, client_->CurrentPlayMode());
    EXPECT_TRUE(shown_.empty());
}

}  // namespace
