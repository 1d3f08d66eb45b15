// Journeys through songs the chosen player cannot play: the list leaves
// them out, and the status bar says how many there are and why, so a list
// that shows fewer songs than the folder holds (or none) is not mistaken
// for a folder without them.
#include <gtest/gtest.h>

#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"
#include "player/PlayerKind.h"

namespace {

class HiddenSongsJourney : public Journey {
   protected:
    // One MIDI song and two MP3 songs in "songs\".
    void SetUp() override {
        Journey::SetUp();
        ASSERT_TRUE(MakeFolder("songs"));
        ASSERT_TRUE(WriteFile("songs\\a.mid", MidiSong("Song a")));
        ASSERT_TRUE(WriteFile("songs\\b.mp3", std::string("ID3\x03\0\0\0\0\0\0", 10)));
        ASSERT_TRUE(WriteFile("songs\\c.mp3", std::string("ID3\x03\0\0\0\0\0\0", 10)));
    }

    bool WaitForCount(const std::string& text) const {
        return WaitUntil([&] { return Status(0) == text; }, 15000);
    }
};

TEST_F(HiddenSongsJourney, TheStatusBarCountsTheSongsThePlayerCannotPlay) {
    // The WRD File Player plays MIDI songs only.
    ASSERT_TRUE(WriteSetting("Mode", "PlayerMode", uint32_t(PlayerKind::WrdFilePlayer)));
    ASSERT_TRUE(Start("\"" + Folder() + "songs\\\""));
    EXPECT_TRUE(WaitForCount("1 個のオブジェクト (選択 1 個) / 他 2 曲はこのプレイヤーで演奏できない形式のため非表示")) << Status(0);
    EXPECT_EQ(1, RowCount());

    // A player of MP3 songs as well: all three show, nothing is hidden. (The
    // first row of a list is selected when it opens.)
    Menu(kCmdPlayerFirst + PlayerKind::Winamp2);
    EXPECT_TRUE(WaitForCount("3 個のオブジェクト (選択 1 個)")) << Status(0);
    EXPECT_EQ(3, RowCount());

    // SCMPX plays MP3 songs only: the MIDI song is the one left out.
    Menu(kCmdPlayerFirst + PlayerKind::Scmpx);
    EXPECT_TRUE(WaitForCount("2 個のオブジェクト (選択 1 個) / 他 1 曲はこのプレイヤーで演奏できない形式のため非表示"))
        << Status(0);
    EXPECT_TRUE(Close());
}

}  // namespace
