// A journey through a GCA archive with a GCA library installed (the test
// stand-in of tools/ungca32, found on the PATH as a user's own library
// would be): the song inside shows its title, and playing it hands the
// player an extracted copy, with the WRD script beside it and the picture
// the script names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "TestPaths.h"
#include "journeys/JourneyDriver_win.h"
#include "tests/catalogue/archive/GcaTestContainer.h"

namespace {

class GcaArchiveJourney : public Journey {
   protected:
    // "songs\set.gca" holds a titled song, its script and the picture the
    // script shows; "players\" waits for the fake player.
    void SetUp() override {
        Journey::SetUp();
        ASSERT_TRUE(MakeFolder("songs"));
        ASSERT_TRUE(MakeFolder("players"));
        ASSERT_TRUE(MakeFolder("temp"));
        const std::string container = GcaTestContainer({
            {"music/song.mid", MidiSong("GCA の歌")},
            {"music/song.wrd", "@MAG(pic.mag)\r\n@WAIT(10)\r\n"},
            {"music/pic.mag", "MAKI02  picture"},
            {"music/other.mag", "not named by the script"},
        });
        ASSERT_TRUE(WriteFile("songs\\set.gca", container));
    }

    // The library's folder first on the PATH, the working folder below the
    // journey's own temp folder, and the fake player's log.
    Variables Environment() const {
        char path[32768] = {};
        GetEnvironmentVariableA("PATH", path, sizeof path);
        const std::string temp = Folder() + "temp";
        return {{"PATH", BuildPath() + "testlib;" + path},
                {"TEMP", temp},
                {"TMP", temp},
                {"FAKEPLAYER_LOG", Folder() + "player.log"},
                {"FAKEPLAYER_SONG_MS", "60000"}};
    }

    // What the fake player was asked to play, as it logged it.
    std::string PlayedPath() const {
        for (const std::string& line : FileLines("player.log")) {
            if (line.compare(0, 5, "play ") == 0) {
                return line.substr(5);
            }
        }
        return std::string();
    }
};

TEST_F(GcaArchiveJourney, TheSongShowsItsTitleAndIsPlayedFromAnExtractedCopy) {
    InstallPlayer();
    ASSERT_TRUE(Start("/p:tmidi \"" + Folder() + "songs\\\"", Environment()));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 1 && !Cell(0, 1).empty(); }, 10000)) << RowCount();
    EXPECT_EQ("music/song", Cell(0, 0));
    EXPECT_EQ("GCA の歌", Cell(0, 1));

    Key(List(), VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !PlayedPath().empty(); }, 10000));
    // The player gets the copy in the working folder, never the member path,
    // and the script and its picture lie beside it; what the script does
    // not name stays in the archive.
    const std::string working = "temp\\Kadrel.$$$\\";
    EXPECT_NE(std::string::npos, PlayedPath().find(working + "song.mid")) << PlayedPath();
    EXPECT_EQ(std::string::npos, PlayedPath().find('>')) << PlayedPath();
    EXPECT_EQ(MidiSong("GCA の歌"), ReadWholeFile(Folder() + working + "song.mid"));
    EXPECT_TRUE(FileExists(working + "song.wrd"));
    EXPECT_TRUE(FileExists(working + "pic.mag"));
    EXPECT_FALSE(FileExists(working + "other.mag"));
    EXPECT_TRUE(Close());
}

}  // namespace
