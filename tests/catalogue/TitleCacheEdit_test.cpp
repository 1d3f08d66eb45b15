// Titles, comments and modules set by hand: the entry changes, the file is
// rewritten, and a fresh load (as at the next start) still answers the new
// text; songs without an entry and other columns change nothing.
#include "catalogue/TitleCacheEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TestPaths.h"

namespace {

class Host : public TitleCacheHost {
   public:
    void Redisplay() override {
        redisplays++;
    }
    int redisplays = 0;
};

class TitleCacheEditTest : public ::testing::Test {
   protected:
    void SetUp() override {
        state_.location = folder_.Path();
        state_.kind = 1;
        state_.TitleCache.Add({"b.mid", "Old B", "2024/01/02 03:04:05", "SC-88", "[なし]"}, {5});
        state_.TitleCache.Add({"a.mid", "表ソ", "2024/01/02 03:04:06", "GS", "memo"}, {1});
        ASSERT_FALSE(SaveTitleCache(state_, host_, true, false));
    }
    // The cache as the next start loads it.
    std::unique_ptr<TitleCacheState> Reloaded() const {
        auto fresh = std::make_unique<TitleCacheState>();
        fresh->location = state_.location;
        fresh->kind = state_.kind;
        EXPECT_TRUE(LoadTitleCache(*fresh));
        return fresh;
    }
    std::string Cell(const TitleCacheState& state, const char* path, int32_t column) const {
        const int32_t row = state.TitleCache.Find(path, TitleCacheColumn::path);
        return row < 0 ? "(none)" : state.TitleCache.Read(row, column);
    }
    ScratchFolder folder_;
    TitleCacheState state_;
    Host host_;
};

TEST_F(TitleCacheEditTest, ChangedTextsSurviveAReload) {
    const struct {
        const char* path;
        int32_t column;
        const char* text;
    } cases[] = {
        {"b.mid", TitleCacheColumn::title, "新しいタイトル"},
        {"a.mid", TitleCacheColumn::comment, "表示ソフト"},
        {"a.mid", TitleCacheColumn::soundModule, "XG"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ChangeTitleCacheText(state_, host_, c.path, c.column, c.text)) << c.text;
        EXPECT_EQ(c.text, Cell(state_, c.path, c.column));
        EXPECT_EQ(c.text, Cell(*Reloaded(), c.path, c.column));
    }
    const std::unique_ptr<TitleCacheState> reloaded = Reloaded();
    const TitleCacheState& fresh = *reloaded;
    EXPECT_EQ(2, fresh.TitleCache.Count());
    // The rest of each entry is kept.
    EXPECT_EQ("2024/01/02 03:04:05", Cell(fresh, "b.mid", TitleCacheColumn::stamp));
    EXPECT_EQ("SC-88", Cell(fresh, "b.mid", TitleCacheColumn::soundModule));
    EXPECT_EQ("表ソ", Cell(fresh, "a.mid", TitleCacheColumn::title));
    EXPECT_EQ(5, fresh.TitleCache.iRead(fresh.TitleCache.Find("b.mid", 0), TitleCacheColumn::relatedFlags));
    EXPECT_EQ(3, host_.redisplays);
    EXPECT_TRUE(state_.cacheLoaded);
}

TEST_F(TitleCacheEditTest, SongsWithoutEntryAndOtherColumnsChangeNothing) {
    const std::string before = ReadWholeFile(folder_.File("_Kadrel.cac"));
    EXPECT_FALSE(ChangeTitleCacheText(state_, host_, "c.mid", TitleCacheColumn::title, "x"));
    EXPECT_FALSE(ChangeTitleCacheText(state_, host_, "a.mid", TitleCacheColumn::path, "x"));
    EXPECT_FALSE(ChangeTitleCacheText(state_, host_, "a.mid", TitleCacheColumn::stamp, "x"));
    EXPECT_EQ(before, ReadWholeFile(folder_.File("_Kadrel.cac")));
    EXPECT_EQ(0, host_.redisplays);
}

}  // namespace
