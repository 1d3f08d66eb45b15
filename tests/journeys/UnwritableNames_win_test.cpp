// A journey with a song whose name code page 932 cannot write: the list
// shows the name as the code page allows and the song's own title, and the
// player is handed a path that opens it (its short name).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "journeys/JourneyDriver_win.h"

namespace {

class UnwritableNamesJourney : public Journey {
   protected:
    // The quoted path of the first play command the fake player logged.
    std::string PlayedPath() const {
        for (const std::string& line : FileLines("player.log")) {
            const size_t open = line.find('"');
            const size_t close = open == std::string::npos ? open : line.find('"', open + 1);
            if (line.compare(0, 5, "play ") == 0 && close != std::string::npos) {
                return line.substr(open + 1, close - open - 1);
            }
        }
        return std::string();
    }
};

TEST_F(UnwritableNamesJourney, TheSongIsListedWithItsTitleAndPlayedByItsShortName) {
    ASSERT_TRUE(MakeFolder("songs"));
    ASSERT_TRUE(MakeFolder("players"));
    const std::wstring name = L"\uD55C\u00F1\u20AC\U0001F600";
    ASSERT_TRUE(WriteFileW(L"songs\\" + name + L".mid", MidiSong("Unwritable")));
    // The name as the code page writes it, '?' for what it cannot.
    char shown[64] = {};
    WideCharToMultiByte(932, 0, name.c_str(), -1, shown, sizeof shown, nullptr, nullptr);
    InstallPlayer();
    ASSERT_TRUE(Start("/p:tmidi \"" + Folder() + "songs\\\"",
                      {{"FAKEPLAYER_LOG", Folder() + "player.log"}, {"FAKEPLAYER_SONG_MS", "60000"}}));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == 1 && !Cell(0, 1).empty(); }, 10000)) << RowCount();
    EXPECT_EQ(shown, Cell(0, 0));
    EXPECT_EQ("Unwritable", Cell(0, 1));

    Key(List(), VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !PlayedPath().empty(); }, 10000));
    // The path the player got names the very file.
    const std::string played = PlayedPath();
    EXPECT_EQ(std::string::npos, played.find('?')) << played;
    HANDLE file = CreateFileA(played.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, file) << played;
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    EXPECT_TRUE(Close());
}

}  // namespace
