// Matching rules of the text search, the search history, and the find,
// select and narrow actions over a song list held in memory.
#include "actions/Search.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SearchRowsFake.h"
#include "actions/SearchActions.h"

namespace {

SearchKeyText Key(const char* text, uint32_t flags, uint32_t mode) {
    SearchSettings settings;
    settings.searchText = text;
    settings.strFlag = flags;
    settings.strAndOr = mode;
    return PrepareSearchKey(settings);
}

constexpr uint32_t kFuzzy = kSearchFuzzy | kSearchIgnoreCase | kSearchContains;
constexpr uint32_t kIgnoreCase = kSearchIgnoreCase | kSearchContains;
constexpr uint32_t kExactCase = kSearchContains;

struct MatchCase {
    const char* key;
    const char* text;
    uint32_t flags;
    uint32_t mode;
    bool matches;
};

void CheckMatches(const std::vector<MatchCase>& cases) {
    for (const MatchCase& c : cases) {
        EXPECT_EQ(c.matches, MatchText(Key(c.key, c.flags, c.mode), c.text))
            << "key " << c.key << " text " << c.text << " flags " << c.flags << " mode " << c.mode;
    }
}

TEST(MatchText, FuzzyFoldsWidthKanaAndCase) {
    CheckMatches({
        {"abc", "ＡＢＣ", kFuzzy, kWordsAsIs, true},
        {"ＡＢＣ", "xyz abc", kFuzzy, kWordsAsIs, true},
        {"ｶﾞｲﾄﾞ", "旅のガイド", kFuzzy, kWordsAsIs, true},
        {"がいど", "旅のガイド", kFuzzy, kWordsAsIs, true},
        {"ガイド", "旅のｶﾞｲﾄﾞ", kFuzzy, kWordsAsIs, true},
        {"ｶｲﾄ", "ガイド", kFuzzy, kWordsAsIs, false},  // a voiced sound is another character
        {"ａｂ １", "AB 1", kFuzzy, kWordsAsIs, true},
        {"ab 1", "ab  1", kFuzzy, kWordsAsIs, false},
        {"αβ", "ΑΒ", kFuzzy, kWordsAsIs, true},
    });
}

TEST(MatchText, IgnoreCaseWithoutFuzzyKeepsWidthAndKana) {
    CheckMatches({
        {"abc", "xABCx", kIgnoreCase, kWordsAsIs, true},
        {"ａｂｃ", "ＡＢＣ", kIgnoreCase, kWordsAsIs, true},
        {"жя", "ЖЯ", kIgnoreCase, kWordsAsIs, true},
        {"abc", "ＡＢＣ", kIgnoreCase, kWordsAsIs, false},
        {"がいど", "ガイド", kIgnoreCase, kWordsAsIs, false},
        {"abc", "ABC", kExactCase, kWordsAsIs, false},
        {"ABC", "ABC", kExactCase, kWordsAsIs, true},
    });
}

TEST(MatchText, MatchesOnlyAtCharacterBoundaries) {
    CheckMatches({
        {"\\", "表", kExactCase, kWordsAsIs, false},  // 0x95 0x5C: the trail byte is no backslash
        {"\\", "表\\", kExactCase, kWordsAsIs, true},
        {"\\", "ソ", kFuzzy, kWordsAsIs, false},
        {"\x5C\x83", "表ソ", kExactCase, kWordsAsIs, false},  // spans two characters' bytes
        {"ソ", "ソ表", kFuzzy, kWordsAsIs, true},
        {"*", "abc", kFuzzy, kWordsAsIs, false},  // no wildcards
        {"a?c", "abc", kFuzzy, kWordsAsIs, false},
        {"a?c", "xa?cx", kFuzzy, kWordsAsIs, true},
    });
}

TEST(MatchText, WordsSplitAtSpacesForAndAndOr) {
    CheckMatches({
        {"abc  def", "def xyz abc", kFuzzy, kWordsAnd, true},
        {"abc  def", "abc only", kFuzzy, kWordsAnd, false},
        {"   ", "any text", kFuzzy, kWordsOr, false},
        {"   ", "any text", kFuzzy, kWordsAnd, false},
        {"", "any text", kFuzzy, kWordsAsIs, false},
        {"zzz abc", "ABC", kFuzzy, kWordsOr, true},
        {"zzz yyy", "ABC", kFuzzy, kWordsOr, false},
        {"abc def", "abc", kSearchIgnoreCase, kWordsAnd, false},  // each word equals the whole text
        {"abc def", "DEF", kSearchIgnoreCase, kWordsOr, true},
        {"abc def", "abc def", kSearchIgnoreCase, kWordsAsIs, true},
        {"abc def", "abc  def", kSearchIgnoreCase, kWordsAsIs, false},
        {"ab", "xaby", kSearchIgnoreCase, kWordsAsIs, false},
    });
}

TEST(MatchText, SearchTextIsCutAt255BytesOnACharacter) {
    SearchSettings settings;
    std::string longText;
    for (int i = 0; i < 150; i++) {
        longText += "あ";
    }
    SetSearchText(&settings, longText.c_str());
    EXPECT_EQ(254u, settings.searchText.size());
    EXPECT_EQ(settings.searchText, settings.history.Read(0, 0));
    settings.strFlag = kExactCase;
    EXPECT_TRUE(MatchText(PrepareSearchKey(settings), longText.c_str()));
}

TEST(SearchHistory, NewestFirstMovedOrInsertedAndCappedAt48) {
    BagBox history = MakeSearchHistoryTable();
    for (int i = 0; i < 49; i++) {
        EXPECT_TRUE(AddToHistory(&history, std::to_string(i).c_str()));
    }
    std::vector<std::string> entries = HistoryEntries(history);
    ASSERT_EQ(48u, entries.size());
    EXPECT_EQ("48", entries.front());
    EXPECT_EQ("1", entries.back());  // "0" was pushed out

    EXPECT_FALSE(AddToHistory(&history, "48"));
    EXPECT_EQ(entries, HistoryEntries(history));

    EXPECT_TRUE(AddToHistory(&history, "10"));
    entries = HistoryEntries(history);
    ASSERT_EQ(48u, entries.size());
    EXPECT_EQ((std::vector<std::string>{"10", "48", "47"}),
              std::vector<std::string>(entries.begin(), entries.begin() + 3));
    EXPECT_EQ("1", entries.back());
}

std::vector<FakeSong> Songs() {
    std::vector<FakeSong> songs;
    const char* const titles[] = {"Red Sky", "Blue Sea", "Red Sea", "Green Hill", "Blue Sky"};
    for (int i = 0; i < 5; i++) {
        FakeSong song;
        song.path = "song" + std::to_string(i) + ".mid";
        song.columns = {"song" + std::to_string(i), titles[i], "[なし]", "GS", "01/05/03 09:05"};
        songs.push_back(song);
    }
    return songs;
}

// Default settings with a search text and targets.
struct Settings : SearchSettings {
    Settings(const char* text, uint32_t targets) {
        searchText = text;
        subIndex = targets;
    }
};

TEST(MatchRow, ContainsOffNeedsTheJoinedColumnsExactly) {
    FakeSongList list(Songs());
    const struct {
        const char* text;
        uint32_t targets;
        uint32_t flags;
        bool matches;
    } cases[] = {
        {"song1", kSearchName, kSearchIgnoreCase, true},
        {"song1", kSearchName | kSearchTitle, kSearchIgnoreCase, false},
        {"song1Blue Sea", kSearchName | kSearchTitle, kSearchIgnoreCase, true},
        {"1Blue", kSearchName | kSearchTitle, kFuzzy, false},  // CR LF between the columns
        {"Blue Sea", kSearchName | kSearchTitle, kFuzzy, true},
        {"01/05/03", kSearchDate, kFuzzy, true},
        {"Blue", kSearchDate | kSearchModule, kFuzzy, false},
    };
    for (const auto& c : cases) {
        Settings settings(c.text, c.targets);
        settings.strFlag = c.flags;
        settings.strAndOr = kWordsAsIs;
        EXPECT_EQ(c.matches, MatchRow(list, 1, PrepareSearchKey(settings), c.targets)) << c.text;
    }
}

TEST(MatchRow, RelatedFilesAreSearchedWhenTicked) {
    std::vector<FakeSong> songs = Songs();
    songs[0].wrd = std::string("@MESSAGE(lyrics of the night)\r\n");
    songs[1].wrd = std::string(128, '\0') + "after the binary header";
    songs[2].wrd = std::string("\0night", 6);  // too short for a header: nothing after the NUL
    songs[3].txt = "notes about the night";
    FakeSongList list(songs);
    const SearchKeyText key = Key("night", kFuzzy, kWordsAsIs);
    EXPECT_FALSE(MatchRow(list, 0, key, kSearchColumnTargets));
    EXPECT_TRUE(MatchRow(list, 0, key, kSearchTitle | kSearchWrd));
    EXPECT_TRUE(MatchRow(list, 1, Key("binary", kFuzzy, kWordsAsIs), kSearchWrd));
    EXPECT_FALSE(MatchRow(list, 2, key, kSearchWrd));
    EXPECT_FALSE(MatchRow(list, 3, key, kSearchWrd));
    EXPECT_TRUE(MatchRow(list, 3, key, kSearchDocuments));
}

TEST(FindAgain, WalksFromTheFocusedRowAndReportsWhy) {
    FakeSongList list(Songs());
    const Settings settings("blue", kSearchTitle);
    list.focused = 3;
    EXPECT_TRUE(FindAgain(settings, list, list, true));
    EXPECT_EQ(1, list.focused);
    EXPECT_TRUE(FindAgain(settings, list, list, false));
    EXPECT_EQ(4, list.focused);

    list.polls = 0;
    EXPECT_FALSE(FindAgain(settings, list, list, false));  // from the last row
    EXPECT_EQ(kNotFoundText, list.status);
    EXPECT_EQ(0, list.polls);

    list.focused = 0;
    EXPECT_FALSE(FindAgain(settings, list, list, true));
    EXPECT_EQ(0, list.polls);

    EXPECT_FALSE(FindAgain(Settings("blue", 0), list, list, false));
    EXPECT_EQ(0, list.polls);

    list.escapeAtPoll = 0;  // before row 1, which matches
    EXPECT_FALSE(FindAgain(settings, list, list, false));
    EXPECT_EQ(kAbortedText, list.status);
    EXPECT_EQ(0, list.focused);
    EXPECT_EQ(1, list.discarded);
    EXPECT_EQ(0, list.locks);
}

TEST(SelectMatching, ReplaceClearsTheSelectionAndAddKeepsIt) {
    FakeSongList list(Songs());
    list.SelectRow(3);
    EXPECT_TRUE(SelectMatching(Settings("red", kSearchTitle), list, list, false));
    EXPECT_EQ((std::vector<int32_t>{0, 2, 3}), list.SelectedRows());
    EXPECT_EQ(0, list.focused);

    EXPECT_TRUE(SelectMatching(Settings("sky", kSearchTitle), list, list, true));
    EXPECT_EQ((std::vector<int32_t>{0, 4}), list.SelectedRows());

    EXPECT_FALSE(SelectMatching(Settings("purple", kSearchTitle), list, list, false));
    EXPECT_EQ((std::vector<int32_t>{0, 4}), list.SelectedRows());
    EXPECT_FALSE(SelectMatching(Settings("purple", kSearchTitle), list, list, true));
    EXPECT_TRUE(list.SelectedRows().empty());
    EXPECT_EQ(kNotFoundText, list.status);

    list.escapeAtPoll = 3;  // Escape after rows 0 to 2 were tested
    EXPECT_FALSE(SelectMatching(Settings("sea", kSearchTitle), list, list, true));
    EXPECT_EQ((std::vector<int32_t>{1, 2}), list.SelectedRows());
    EXPECT_EQ(kAbortedText, list.status);
    EXPECT_EQ(0, list.locks);
}

TEST(Narrowing, LevelsStackAndUndoRestoresThePreviousRows) {
    FakeSongList list(Songs());
    const std::vector<std::string> all = list.ListedPaths();
    EXPECT_TRUE(NarrowByMatch(Settings("sea", kSearchTitle), list, list, &list.narrow));
    const std::vector<std::string> first = list.ListedPaths();
    EXPECT_EQ((std::vector<std::string>{"song1.mid", "song2.mid"}), first);
    EXPECT_EQ("2 個のオブジェクト [1]", list.countText);

    EXPECT_TRUE(NarrowByMatch(Settings("red", kSearchTitle), list, list, &list.narrow));
    EXPECT_EQ((std::vector<std::string>{"song2.mid"}), list.ListedPaths());
    EXPECT_EQ("1 個のオブジェクト [2]", list.countText);

    UndoNarrowLevelAndReload(list, &list.narrow);
    EXPECT_EQ(first, list.ListedPaths());
    EXPECT_EQ("2 個のオブジェクト [1]", list.countText);
    UndoNarrowLevelAndReload(list, &list.narrow);
    EXPECT_EQ(all, list.ListedPaths());
    EXPECT_EQ("5 個のオブジェクト", list.countText);
    EXPECT_EQ(0, list.locks);
}

TEST(Narrowing, NoMatchOrAbortKeepsTheLevelAndTheList) {
    FakeSongList list(Songs());
    ASSERT_TRUE(NarrowByMatch(Settings("sky", kSearchTitle), list, list, &list.narrow));
    const std::vector<std::string> narrowed = list.ListedPaths();

    EXPECT_FALSE(NarrowByMatch(Settings("blue red", kSearchTitle), list, list, &list.narrow));  // AND: none has both
    EXPECT_EQ(kNotFoundText, list.status);
    EXPECT_EQ(narrowed, list.ListedPaths());
    EXPECT_EQ(1, list.narrow.level);

    list.escapeAtPoll = list.polls + 1;
    EXPECT_FALSE(NarrowByMatch(Settings("sky", kSearchTitle), list, list, &list.narrow));
    EXPECT_EQ(kAbortedText, list.status);
    EXPECT_EQ(narrowed, list.ListedPaths());
    EXPECT_EQ(1, list.narrow.level);
}

TEST(Narrowing, SelectionNarrowsAndClearListsEverything) {
    FakeSongList list(Songs());
    EXPECT_FALSE(NarrowToSelection(list, list, &list.narrow));
    EXPECT_EQ(0, list.narrow.level);

    list.SelectRow(1);
    list.SelectRow(3);
    EXPECT_TRUE(NarrowToSelection(list, list, &list.narrow));
    EXPECT_EQ((std::vector<std::string>{"song1.mid", "song3.mid"}), list.ListedPaths());
    list.SelectRow(0);
    EXPECT_TRUE(NarrowToSelection(list, list, &list.narrow));
    EXPECT_EQ((std::vector<std::string>{"song1.mid"}), list.ListedPaths());
    EXPECT_EQ(2, list.narrow.level);

    ClearNarrowingAndReload(list, &list.narrow);
    EXPECT_EQ(5u, list.ListedPaths().size());
    EXPECT_EQ("5 個のオブジェクト", list.countText);
}

TEST(Narrowing, PathsCompareIgnoringCaseAndCountOnceEach) {
    NarrowState state;
    ASSERT_TRUE(ApplyNarrowing(&state, {"b.mid", "A.MID", "a.mid", "表\\x.mid"}));
    EXPECT_TRUE(NarrowKeepsPath(state, "a.mid"));
    EXPECT_TRUE(NarrowKeepsPath(state, "表\\X.MID"));
    EXPECT_FALSE(NarrowKeepsPath(state, "c.mid"));
    ASSERT_TRUE(ApplyNarrowing(&state, {"a.mid", "A.mid", "c.mid"}));
    ASSERT_TRUE(ApplyNarrowing(&state, {"b.mid"}));  // b missed level 2
    EXPECT_FALSE(NarrowKeepsPath(state, "b.mid"));
    EXPECT_FALSE(NarrowKeepsPath(state, "a.mid"));  // counted once at level 2, missed level 3
    UndoNarrowLevel(&state);
    EXPECT_TRUE(NarrowKeepsPath(state, "a.mid"));
    EXPECT_FALSE(NarrowKeepsPath(state, "b.mid"));
    EXPECT_FALSE(ApplyNarrowing(&state, {}));
    EXPECT_EQ(2, state.level);
}

}  // namespace
