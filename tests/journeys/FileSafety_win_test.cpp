// Journeys where a user's files or the program's own exit are at stake:
// deleting songs keeps every file that is not the song's, and closing the
// window during long work ends the program.
#include <gtest/gtest.h>

#include "core/CommandIds.h"
#include "journeys/JourneyDriver_win.h"

namespace {

// Enough songs that opening the folder and reading their titles take a
// good while under Wine.
constexpr int kManySongs = 3000;

class FileSafetyJourney : public Journey {
   protected:
    // Opens folder in a fresh program and waits for rows songs.
    void StartOnFolder(const std::string& folder, int rows) {
        StartOn("\"" + folder + "\"", rows, Variables(), 20000);
    }
    // Delete on the song list, then OK to the question.
    void DeleteSelectedRow() {
        Key(List(), VK_DELETE);
        const ShownBox question = WaitForBox();
        EXPECT_EQ("削除 - Quillory", question.caption);
        EXPECT_NE(std::string::npos, question.text.find("選択オブジェクトを削除します。")) << question.text;
        ASSERT_TRUE(Answer(question, IDOK));
    }
    void MakeManySongs() {
        for (int i = 0; i < kManySongs; i++) {
            const std::string name = "song" + std::to_string(100000 + i);
            ASSERT_TRUE(WriteFile(name + ".mid", MidiSong("Title " + name)));
        }
    }
};

TEST_F(FileSafetyJourney, DeletingASongWithoutACodePageNameKeepsEveryOtherFile) {
    // U+D55C has no CP932 form: the program lists the song as "?.mid" and
    // reaches it by its short name, and a search for its companions must not
    // take the '?' for a wildcard.
    const std::wstring song = L"\xD55C.mid";
    ASSERT_TRUE(WriteFileW(song, MidiSong("Hangul")));
    const char* others[] = {"a.txt", "b.doc", "x.wrd", "e.jpg"};
    for (const char* name : others) {
        ASSERT_TRUE(WriteFile(name, "not a song"));
    }
    StartOnFolder(Folder(), 1);
    Key(List(), VK_HOME);
    ASSERT_TRUE(WaitUntil([&] { return SelectedRows() == std::vector<int>{0}; }, 5000));

    DeleteSelectedRow();
    ASSERT_TRUE(WaitUntil([&] { return !FileExistsW(song); }, 10000)) << "the song was not deleted";
    EXPECT_FALSE(WaitForBox(1000).window) << "a message after the song was deleted";
    for (const char* name : others) {
        EXPECT_TRUE(FileExists(name)) << name << " was deleted with an unrelated song";
    }
    EXPECT_TRUE(Close());
}

TEST_F(FileSafetyJourney, ASongThatCannotBeDeletedKeepsItsRelatedFiles) {
    ASSERT_TRUE(WriteFile("gone.mid", MidiSong("Gone")));
    ASSERT_TRUE(WriteFile("gone.txt", "read me"));
    ASSERT_TRUE(WriteFile("kept.mid", MidiSong("Kept")));
    ASSERT_TRUE(WriteFile("kept.txt", "read me too"));
    ASSERT_TRUE(WriteFile("gone-notes.txt", "not the song's: another base name"));
    ASSERT_TRUE(SetFileAttributesA((Folder() + "kept.mid").c_str(), FILE_ATTRIBUTE_READONLY));

    StartOnFolder(Folder(), 2);
    // End selects the last row, "kept", whose song is read-only.
    Key(List(), VK_END);
    ASSERT_TRUE(WaitUntil([&] { return SelectedRows() == std::vector<int>{1}; }, 5000));
    ASSERT_EQ("kept", Cell(1, 0));
    DeleteSelectedRow();
    const ShownBox refused = WaitForBox();
    EXPECT_NE(std::string::npos, refused.text.find("(5)")) << refused.text;
    ASSERT_TRUE(Answer(refused, IDOK));
    EXPECT_FALSE(WaitForBox(1000).window);
    EXPECT_TRUE(FileExists("kept.mid"));
    EXPECT_TRUE(FileExists("kept.txt")) << "deleted although its song could not be";

    // Home selects "gone": the song goes with its document, and nothing else.
    Key(List(), VK_HOME);
    ASSERT_TRUE(WaitUntil([&] { return SelectedRows() == std::vector<int>{0}; }, 5000));
    DeleteSelectedRow();
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == 1; }, 10000));
    EXPECT_FALSE(FileExists("gone.mid"));
    EXPECT_FALSE(FileExists("gone.txt"));
    EXPECT_TRUE(FileExists("gone-notes.txt"));
    EXPECT_TRUE(FileExists("kept.txt"));
    SetFileAttributesA((Folder() + "kept.mid").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(Close());
}

TEST_F(FileSafetyJourney, ClosingTheWindowDuringTheFirstScanEndsTheProgram) {
    MakeManySongs();
    // The start opens the folder before the message loop runs, so the close
    // request is met by the scan's own message pump.
    ASSERT_TRUE(Start("\"" + Folder() + "\""));
    EXPECT_TRUE(Close(20000)) << "still running after its window was closed";

    // The single-instance lock went with it: a new start shows a window.
    ASSERT_TRUE(Start("\"" + Folder() + "\""));
    EXPECT_TRUE(WaitUntil([&] { return RowCount() == kManySongs; }, 60000));
    EXPECT_TRUE(Close());
}

TEST_F(FileSafetyJourney, ClosingTheWindowWhileTheTitleCacheIsMadeEndsTheProgram) {
    MakeManySongs();
    StartOnFolder(Folder(), kManySongs);
    Menu(kCmdCacheNew);
    ASSERT_TRUE(WaitUntil([&] { return Status(0) == "タイトルを検索中"; }, 20000)) << Status(0);
    // Reading the remaining songs takes several seconds; the program ends
    // without waiting for them (it takes a tenth of a second).
    EXPECT_TRUE(Close(3000)) << "still running after its window was closed";

    // What is left is a whole cache or none: the next start lists every
    // song with its title.
    ASSERT_TRUE(Start("\"" + Folder() + "\""));
    ASSERT_TRUE(WaitUntil([&] { return RowCount() == kManySongs; }, 60000));
    EXPECT_EQ("Title song100000", Cell(0, 1));
    EXPECT_TRUE(Close());
}

}  // namespace
