// Journeys through inputs an unlucky or hostile user opens: an archive member
// that claims 4 GiB, an archive of thousands of songs, a file whose ID3v2 tag
// claims 256 MiB, a list that includes itself. The window lists what is
// really there, says where it stopped, answers the user while it reads, and
// ends cleanly.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "catalogue/FolderScan.h"
#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"
#include "player/PlayerKind.h"
#include "tests/analysis/AudioTestFiles.h"
#include "tests/catalogue/ListsAskingMuch.h"
#include "tests/catalogue/StoredArchives.h"

namespace {

// The title the list shows for a song that cannot be read.
constexpr char kUnreadableTitle[] = "[ファイルを読めません]";
// Enough songs in one archive that reading all their titles takes a while
// under Wine, so the progress window is there to be cancelled.
constexpr int kManyMembers = 3000;

class HostileInputsJourney : public Journey {
   protected:
    void SetUp() override {
        Journey::SetUp();
        // A player of MIDI and MP3 songs, so that no song is left out.
        ASSERT_TRUE(WriteSetting("Mode", "PlayerMode", uint32_t(PlayerKind::Winamp2)));
    }

    // Starts the program on a location of the scratch folder and waits for
    // rows songs.
    void StartOnName(const std::string& name, int rows) {
        StartOn("\"" + Folder() + name + "\"", rows, Variables(), 60000);
    }

    // Closes the window: the program ends, and with exit code 0.
    void ExpectCleanExit() {
        ASSERT_TRUE(Close()) << "still running after its window was closed";
        EXPECT_EQ(0u, ExitCode());
    }

    // The title shown for each name of the song list.
    std::map<std::string, std::string> TitlesByName() const {
        std::map<std::string, std::string> titles;
        for (int row = 0; row < RowCount(); row++) {
            titles[Cell(row, 0)] = Cell(row, 1);
        }
        return titles;
    }
};

TEST_F(HostileInputsJourney, ClaimsOfGigabytesListWhatIsThereAndTheClaimingMemberIsUnreadable) {
    // "big" claims 4 GiB and holds one small song; the file's ID3v2 tag
    // claims 256 MiB, the file sparse.
    ASSERT_TRUE(WriteFile(
        "claims.lzh", stored::ArchiveWithClaim(kArchiveLzh, 0xFFFFFFFFu, uint32_t(bench::MidiSong(3).size()), true)));
    ASSERT_TRUE(WriteLargestId3v2File(Folder() + "huge-tag.mp3", "ID3\x03\x00\x00",
                                      Frame23("TIT2", std::string("\0Big Tag Title", 14)), ""));

    StartOnName("", 4);
    const std::map<std::string, std::string> expected = {
        {"one", "Benchmark Song 1"},
        {"big", kUnreadableTitle},
        {"two", "Benchmark Song 2"},
        {"huge-tag", "Big Tag Title"},
    };
    EXPECT_EQ(expected, TitlesByName());
    EXPECT_FALSE(WaitForBox(500).window) << "a message about the claims";
    ExpectCleanExit();
}

TEST_F(HostileInputsJourney, ReadingTheTitlesOfAnArchiveOfThousandsOfSongsCanBeCancelledByAKey) {
    ASSERT_TRUE(WriteFile("many.lzh", stored::ArchiveOfSongs(kArchiveLzh, kManyMembers)));
    StartOnName("", kManyMembers);

    // Making the title cache reads every member in a progress window; its
    // キャンセル button, pressed with the space bar, stops it.
    Menu(kCmdCacheNew);
    const ShownBox progress = WaitForBoxTitled("タイトルキャッシュを新規作成 - Quillory");
    ASSERT_TRUE(progress.window) << "no progress window";
    Key(BoxItem(progress, IDCANCEL), VK_SPACE);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(progress.window) || !IsWindowVisible(progress.window); }, 5000))
        << "the progress window did not answer its cancel button";
    // Cancelled, the cache is not written; every song is still listed, its
    // title read when its row shows.
    EXPECT_FALSE(FileExists("_Kadrel.cac")) << "the reading ran to its end instead of stopping";
    EXPECT_EQ(kManyMembers, RowCount());
    EXPECT_EQ("Benchmark Song 0", Cell(0, 1));

    // The list answers keys again: End selects the last song.
    Key(List(), VK_END);
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows() == std::vector<int>{kManyMembers - 1}; }, 10000));
    EXPECT_EQ("Benchmark Song " + std::to_string(kManyMembers - 1), Cell(kManyMembers - 1, 1));
    ExpectCleanExit();
}

TEST_F(HostileInputsJourney, AListIncludingItselfStopsAtItsLimitWithAWarning) {
    ASSERT_TRUE(WriteFile("a.mid", MidiSong("Song a")));
    ASSERT_TRUE(WriteFile("self.lst", SelfIncludingList("self.lst", "a.mid", 6)));

    ASSERT_TRUE(Start("\"" + Folder() + "self.lst\""));
    const ShownBox warning = WaitForBoxTitled("Quillory", 60000);
    ASSERT_TRUE(warning.window) << "no word about the list's expansion";
    EXPECT_NE(std::string::npos, warning.text.find("self.lst")) << warning.text;
    EXPECT_NE(std::string::npos, warning.text.find("リストファイルの展開が上限")) << warning.text;
    ASSERT_TRUE(Answer(warning, IDOK));

    // One row per read of the list, up to the limit of reads.
    const int rows = ListExpansionLimits().listReads;
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == rows; }, 20000)) << RowCount();
    EXPECT_EQ("Song a", Cell(0, 1));
    EXPECT_EQ("Song a", Cell(rows - 1, 1));
    ExpectCleanExit();
}

TEST_F(HostileInputsJourney, AListNamingOneSongAHundredThousandTimesListsEveryRow) {
    constexpr int kEntries = 100000;
    ASSERT_TRUE(WriteFile("a.mid", MidiSong("Song a")));
    ASSERT_TRUE(WriteFile("many.lst", RepeatedEntryList("a.mid", kEntries)));

    ASSERT_TRUE(Start("\"" + Folder() + "many.lst\""));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == kEntries; }, 110000)) << RowCount();
    EXPECT_FALSE(WaitForBox(500).window) << "a message about a list that holds only what it names";
    EXPECT_EQ("Song a", Cell(0, 1));
    // The list answers keys: End selects the last row, whose title shows.
    Key(List(), VK_END);
    EXPECT_TRUE(WaitUntil([&] { return SelectedRows() == std::vector<int>{kEntries - 1}; }, 10000));
    EXPECT_EQ("Song a", Cell(kEntries - 1, 1));
    ExpectCleanExit();
}

}  // namespace
