// The song list's file commands through the real main window: two songs
// copied to the clipboard and pasted into another folder, and a selection
// deleted after the question, answered by a host that records what it shows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "WindowTestSupport_win.h"
#include "app/CommandIds.h"
#include "app/MainWindow_win.h"
#include "app/ProgramValues_win.h"
#include "core/Text.h"

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

// Answers every message box with a fixed button and keeps what was shown.
class AnsweringHost : public FileOpsHost {
   public:
    AnsweringHost(HWND owner, int answer, std::vector<Shown>* shown)
        : FileOpsHost(owner), answer_(answer), shown_(shown) {
    }
    int ShowMessage(const std::string& text, const std::string& caption, UINT) override {
        shown_->push_back({text, caption});
        return answer_;
    }

   private:
    int answer_;
    std::vector<Shown>* shown_;
};

class ClientFileOps : public ::testing::Test {
   protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        const std::string root = std::string(temp) + "quillory-fileops\\";
        CreateDirectoryA(root.c_str(), nullptr);
        source_ = root + "曲集\\";
        target_ = root + "表示先\\";
        FillFolder(source_, 3);
        FillFolder(target_, 0);
        resources_ = LoadLibraryExA((BuildFolder() + "bin\\Quillory.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(resources_);
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        ProgramValues& program = Program();
        program.instance = resources_;
        program.commandLine = "Quillory.exe";
        program.settingsRoot = kScratchRoot;
        main_ = new MainWindow;
        ASSERT_TRUE(main_->CreateFrame());
        main_->Show(SW_SHOWNORMAL);
        client_ = main_->Client();
        Pump();
    }
    void TearDown() override {
        client_->exitFlags.saveSettingsOnExit = false;
        client_->Player()->ClosePlayerAndWait();
        delete main_;
        Pump();
        RegDeleteTreeA(HKEY_CURRENT_USER, kScratchRoot);
        FreeLibrary(resources_);
    }

    void Command(int id) {
        main_->Send(WM_COMMAND, WPARAM(id), 0);
        Pump();
    }
    void Open(const std::string& folder, int rows) {
        ASSERT_TRUE(client_->Tree()->SelectTreePath(folder));
        Pump();
        ASSERT_EQ(folder, client_->Catalogue().location);
        ASSERT_EQ(rows, RowCount());
    }
    int RowCount() {
        return int(SendMessageA(client_->ListHandle(), LVM_GETITEMCOUNT, 0, 0));
    }
    std::vector<std::string> ListedPaths() {
        std::vector<std::string> paths;
        for (int row = 0; row < RowCount(); ++row) {
            paths.push_back(client_->SongPath(row));
        }
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    void SelectOnly(const std::vector<int>& rows) {
        client_->ClearSelection();
        for (int row : rows) {
            client_->SelectRow(row);
        }
    }
    void Answer(int button) {
        client_->SetFileOps(std::make_unique<AnsweringHost>(main_->Handle(), button, &shown_));
    }

    std::string source_;
    std::string target_;
    std::vector<Shown> shown_;
    HMODULE resources_ = nullptr;
    MainWindow* main_ = nullptr;
    ClientWindow* client_ = nullptr;
};

TEST_F(ClientFileOps, CopiedSongsArePastedIntoAnotherFolderAndListed) {
    Answer(IDOK);
    Open(source_, 3);
    SelectOnly({0, 2});
    const std::string left = client_->SongPath(1);
    std::vector<std::string> pasted = {target_ + NameOf(client_->SongPath(0)), target_ + NameOf(client_->SongPath(2))};
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
        const std::vector<std::string> selected = {client_->SongPath(0), client_->SongPath(1)};
        const std::string kept = client_->SongPath(2);
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

}  // namespace
