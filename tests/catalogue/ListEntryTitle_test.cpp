// The list editor's title column follows the title settings the song list
// reads with: the title search, compacted spaces and audio titles joined
// with their artist.
#include <gtest/gtest.h>

#include <string>

#include "TestPaths.h"
#include "ui/rules/ListEditorRules.h"

namespace {

// A format 0 song whose sequence name comes at tick 0 before or after its
// first note.
std::string Song(const std::string& title, bool noteFirst) {
    const std::string name = std::string("\x00\xFF\x03", 3) + char(title.size()) + title;
    const std::string note = std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00", 8);
    const std::string track = (noteFirst ? note + name : name + note) + std::string("\x00\xFF\x2F\x00", 4);
    return std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk\x00\x00\x00", 21) + char(track.size()) + track;
}

TEST(ListEntryTitle, FollowsTheTitleSettings) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("late.mid"), Song("Late  Title", true)));
    ASSERT_TRUE(WriteWholeFile(folder.File("tag.mp3"), ReadWholeFile(TestDataPath("audio/sjis-5c-trail.mp3"))));
    const struct {
        const char* file;
        bool titleSearch;
        bool cutTitleSpace;
        const char* title;
    } cases[] = {
        {"late.mid", true, false, "Late  Title"},      {"late.mid", true, true, "Late Title"},
        {"late.mid", false, false, "[なし]"},  // the title comes after the first note
        {"tag.mp3", true, false, "表示ソフト / 能登"}, {"tag.mp3", false, true, "表示ソフト / 能登"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListEntryTitle(folder.File(c.file), c.titleSearch, c.cutTitleSpace), c.title)
            << c.file << " " << c.titleSearch << c.cutTitleSpace;
    }
}

}  // namespace
