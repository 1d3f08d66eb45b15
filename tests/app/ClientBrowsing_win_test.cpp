// The real client window inside the real main window: a scratch library of
// generated MIDI songs with Japanese titles and an MP3, browsed through the
// folder tree, sorted by the menu and by a column click, narrowed through the
// search bar, a list file opened, and a song played through the fake player.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "WindowTestSupport_win.h"
#include "app/MainWindow_win.h"
#include "catalogue/ListFile.h"
#include "core/CommandIds.h"
#include "player/PlayerKind.h"
#include "ui/framework/ProgramValues_win.h"

namespace {

const char kScratchRoot[] = "Software\\Brenvik\\KadrelClientTest";

struct Song {
    const char* file;
    const char* title;
};

const Song kSongs[] = {
    {"b_sonata.mid", "表題のソナタ GS"},
    {"a_umi.mid", "春の海 XG"},
    {"c_fa.mid", "ソ・ファ"},
};

// A format-0 song whose track name is the title.
std::string MidiBytes(const std::string& title) {
    std::string track = std::string("\x00\xFF\x03", 3) + char(title.size()) + title;
    track += std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);
    std::string bytes("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0MTrk", 18);
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += char((track.size() >> shift) & 0xFF);
    }
    return bytes + track;
}

// One silent MPEG-1 layer III frame and an ID3v1 tag carrying the title.
std::string Mp3Bytes(const std::string& title) {
    std::string bytes("\xFF\xFB\x90\x64", 4);
    bytes.resize(417, '\0');
    std::string tag = "TAG" + title;
    tag.resize(128, '\0');
    return bytes + tag;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void PumpFor(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        Pump();
        Sleep(10);
    }
}

using Texts = std::vector<std::string>;

class ClientBrowsing : public ProgramWindowTest {
   protected:
    static void SetUpTestSuite() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root = std::string(temp) + "quillory-client\\";
        folder = root + "曲集\\";
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        for (const Song& song : kSongs) {
            WriteBytes(folder + song.file, MidiBytes(song.title));
        }
        WriteBytes(folder + "d_yoru.mp3", Mp3Bytes("夜の歌"));
        WriteBytes(root + "best.lst", std::string(kListFileHeader) + "\r\n" + folder + kSongs[2].file + "\r\n" +
                                          folder + kSongs[0].file + "\r\n");
        // The fake player under Winamp's name on the search path.
        players = root + "players";
        CreateDirectoryA(players.c_str(), nullptr);
        CopyFileA((BuildFolder() + "fakeplayer\\fakeplayer.exe").c_str(), (players + "\\winamp.exe").c_str(), TRUE);
        char path[32768];
        GetEnvironmentVariableA("PATH", path, sizeof path);
        SetEnvironmentVariableA("PATH", (players + ";" + path).c_str());
        SetEnvironmentVariableA("FAKEPLAYER_LOG", (players + "\\log.txt").c_str());
        SetEnvironmentVariableA("FAKEPLAYER_SONG_MS", "20000");
    }

    void SetUp() override {
        ASSERT_TRUE(OpenWindow(kScratchRoot));
        client_->settings.mode.playerMode = PlayerKind::Winamp2;
        client_->Browse().Catalogue().playerTypeMask = PlayerTypeMask(PlayerKind::Winamp2);
        Pump();
    }
    void TearDown() override {
        CloseWindow();
    }

    void OpenFolder() {
        ASSERT_TRUE(client_->Tree()->SelectTreePath(folder));
        Pump();
        ASSERT_EQ(4, RowCount());
    }
    std::string Cell(int row, int column) {
        char text[260] = {};
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(client_->ListHandle(), LVM_GETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }
    Texts Column(int column) {
        Texts texts;
        for (int row = 0; row < RowCount(); ++row) {
            texts.push_back(Cell(row, column));
        }
        return texts;
    }
    std::string CountText() {
        char text[256] = {};
        SendMessageA(main_->StatusBarHandle(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
    void SearchBarCommand(const char* text, int command) {
        SetWindowTextA(main_->SearchComboHandle(), text);
        Command(command);
    }

    static std::string root;
    static std::string folder;
    static std::string players;
};

std::string ClientBrowsing::root;
std::string ClientBrowsing::folder;
std::string ClientBrowsing::players;

TEST_F(ClientBrowsing, FolderNodeFillsTheListWithJapaneseTitlesAndTheCount) {
    OpenFolder();
    EXPECT_EQ(folder, client_->Browse().Catalogue().location);
    EXPECT_EQ((Texts{"a_umi", "b_sonata", "c_fa", "d_yoru"}), Column(0));
    EXPECT_EQ((Texts{"春の海 XG", "表題のソナタ GS", "ソ・ファ", "夜の歌"}), Column(1));
    EXPECT_EQ((Texts{"XG", "GS", "その他", "MPEG"}), Column(3));
    EXPECT_EQ("4 個のオブジェクト (選択 1 個)", CountText());
    Command(kCmdSelectAll);
    EXPECT_EQ("4 個のオブジェクト (選択 4 個)", CountText());
}

TEST_F(ClientBrowsing, MenuSortAndColumnClickReorderTheList) {
    OpenFolder();
    Command(kCmdSortByTitle);
    EXPECT_EQ((Texts{"ソ・ファ", "春の海 XG", "表題のソナタ GS", "夜の歌"}), Column(1));
    Command(kCmdSortDescending);
    EXPECT_EQ((Texts{"夜の歌", "表題のソナタ GS", "春の海 XG", "ソ・ファ"}), Column(1));
    // A click on the name column arrives as the posted sort message.
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = client_->ListHandle();
    click.hdr.idFrom = kSongListId;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = 0;
    client_->Send(WM_NOTIFY, kSongListId, reinterpret_cast<LPARAM>(&click));
    Pump();
    EXPECT_EQ((Texts{"d_yoru", "c_fa", "b_sonata", "a_umi"}), Column(0));
    EXPECT_EQ(uint32_t(kSortByName), client_->settings.listWindow.sort);
}

TEST_F(ClientBrowsing, NarrowingTwiceThenUndoingOnceRestoresTheFirstLevel) {
    OpenFolder();
    SearchBarCommand("の", kCmdBarNarrow);
    const Texts first = Column(0);
    EXPECT_EQ((Texts{"a_umi", "b_sonata", "d_yoru"}), first);
    EXPECT_EQ("3 個のオブジェクト (選択 1 個) [1]", CountText());
    SearchBarCommand("海", kCmdBarNarrow);
    EXPECT_EQ((Texts{"a_umi"}), Column(0));
    EXPECT_EQ(2, client_->Search().Narrowing().level);
    // A search matching nothing keeps the list.
    SearchBarCommand("存在しない", kCmdBarNarrow);
    EXPECT_EQ((Texts{"a_umi"}), Column(0));
    Command(kCmdBarWiden);
    EXPECT_EQ(first, Column(0));
    EXPECT_EQ(1, client_->Search().Narrowing().level);
    Command(kCmdWidenAll);
    EXPECT_EQ(4, RowCount());
    EXPECT_EQ("4 個のオブジェクト (選択 1 個)", CountText());
}

TEST_F(ClientBrowsing, ListFileNodeOpensTheListAndNarrowsLikeAFolder) {
    ASSERT_TRUE(client_->Tree()->SelectTreePath(root + "best.lst>"));
    Pump();
    EXPECT_EQ(root + "best.lst>", client_->Browse().Catalogue().location);
    EXPECT_EQ((Texts{"b_sonata", "c_fa"}), Column(0));
    EXPECT_EQ((Texts{"表題のソナタ GS", "ソ・ファ"}), Column(1));
    SearchBarCommand("ファ", kCmdBarNarrow);
    EXPECT_EQ((Texts{"c_fa"}), Column(0));
    EXPECT_EQ("1 個のオブジェクト (選択 1 個) [1]", CountText());
}

TEST_F(ClientBrowsing, PlayHandsTheFocusedSongToThePlayer) {
    DeleteFileA((players + "\\log.txt").c_str());
    OpenFolder();
    client_->Selection().FocusRow(1);
    Command(kCmdPlay);
    std::string log;
    for (int i = 0; i < 100 && log.find("b_sonata") == std::string::npos; ++i) {
        PumpFor(100);
        std::ifstream in(players + "\\log.txt");
        log.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    EXPECT_NE(std::string::npos, log.find(folder + "b_sonata.mid")) << log;
    EXPECT_EQ(PlayMode::kNone, client_->CurrentPlayMode());
    Command(kCmdPlaySequential);
    EXPECT_EQ(PlayMode::kSequential, client_->CurrentPlayMode());
    Command(kCmdPlayCancel);
    EXPECT_EQ(PlayMode::kNone, client_->CurrentPlayMode());
}

}  // namespace
