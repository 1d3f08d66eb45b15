// Journeys with a damaged archive: a member whose bytes do not match the
// checksum its header stores is listed like the others, but when it is to be
// played it does not come out of the archive. The player is handed nothing
// for it, the user is told which archive it was, and a run stops there.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"
#include "tests/catalogue/StoredArchives.h"

namespace {

// The fake player's songs end at once; the run moves on three seconds after
// each hand-over.
constexpr char kShortSongMs[] = "200";
constexpr DWORD kRunMs = 20000;

class DamagedArchiveJourney : public Journey {
   protected:
    void SetUp() override {
        Journey::SetUp();
        MakeSongsAndPlayerFolder();
        InstallPlayer();
        ASSERT_TRUE(MakeFolder("archive"));
    }

    // "archive\set.lzh" (or .zip) with the songs a, b and c; b's checksum is
    // wrong. Returns the archive's path.
    std::string WriteArchiveWithDamagedB(int kind) const {
        std::string bytes;
        for (const char* name : {"a", "b", "c"}) {
            const std::string data = MidiSong(std::string("Song ") + name);
            const std::string member = std::string(name) + ".mid";
            if (name[0] == 'b') {
                const uint32_t wrong = stored::Checksum(kind, data) ^ 0x5A5A;
                bytes += stored::Header(kind, member, uint32_t(data.size()), uint32_t(data.size()), wrong) + data;
            } else {
                bytes += stored::Member(kind, member, data);
            }
        }
        bytes += stored::End(kind);
        const std::string name = std::string("archive\\set") + stored::Extension(kind);
        EXPECT_TRUE(WriteFile(name, bytes));
        return Folder() + name;
    }

    // Starts on the archive with song a selected and the fake TMIDI Player.
    void StartOnArchive(const std::string& archive) {
        const Variables environment = {{"FAKEPLAYER_LOG", Folder() + "player.log"},
                                       {"FAKEPLAYER_SONG_MS", kShortSongMs}};
        ASSERT_TRUE(Start("/p:tmidi \"" + archive + ">a.mid\"", environment));
        ASSERT_TRUE(WaitUntil([&] { return RowCount() == 3; }, 10000)) << RowCount();
        ASSERT_EQ(std::vector<int>{0}, SelectedRows());
    }

    // The box that names the archive; answered.
    void ExpectBoxNaming(const std::string& archive) {
        const ShownBox box = WaitForBox(kRunMs);
        ASSERT_TRUE(box.window) << "no message";
        EXPECT_EQ("Quillory", box.caption);
        EXPECT_NE(std::string::npos, box.text.find(archive)) << box.text;
        EXPECT_NE(std::string::npos, box.text.find("b.mid")) << box.text;
        EXPECT_TRUE(Answer(box, IDOK));
    }

    static std::string Joined(const std::vector<std::string>& songs) {
        std::string joined;
        for (const std::string& song : songs) {
            joined += song + " ";
        }
        return joined;
    }
};

TEST_F(DamagedArchiveJourney, ARunReachingADamagedLzhMemberStopsThereWithAMessageNamingTheArchive) {
    const std::string archive = WriteArchiveWithDamagedB(kArchiveLzh);
    StartOnArchive(archive);
    Menu(kCmdPlaySequential);
    ASSERT_TRUE(WaitUntil([&] { return SongsPlayed() == std::vector<std::string>{"a"}; }, kRunMs))
        << Joined(SongsPlayed());

    // When a ends, b is next: it does not come out, the player gets nothing
    // and the run is over, so c is not played either.
    ExpectBoxNaming(archive);
    EXPECT_TRUE(WaitUntil([&] { return Status(3).find("Normal") != std::string::npos; }, 5000)) << Status(3);
    EXPECT_FALSE(WaitForBox(4000).window) << "told twice";
    EXPECT_EQ(std::vector<std::string>{"a"}, SongsPlayed()) << Joined(SongsPlayed());
    EXPECT_TRUE(Close());
}

TEST_F(DamagedArchiveJourney, ADamagedZipMemberPlayedByItselfIsNotHandedToThePlayer) {
    const std::string archive = WriteArchiveWithDamagedB(kArchiveZip);
    StartOnArchive(archive);
    Key(List(), VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return SongsPlayed() == std::vector<std::string>{"a"}; }, 10000))
        << Joined(SongsPlayed());

    Key(List(), VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == 1; }, 5000));
    Key(List(), VK_RETURN);
    ExpectBoxNaming(archive);
    Sleep(1000);
    EXPECT_EQ(std::vector<std::string>{"a"}, SongsPlayed()) << Joined(SongsPlayed());

    // The archive's good songs still play.
    Key(List(), VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return FocusedRow() == 2; }, 5000));
    Key(List(), VK_RETURN);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return SongsPlayed() == std::vector<std::string>{"a", "c"};
        },
        10000))
        << Joined(SongsPlayed());
    EXPECT_TRUE(Close());
}

}  // namespace
