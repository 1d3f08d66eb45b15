// Titles, comments and modules set by hand: the entry changes, the file is
// rewritten, and a fresh load (as at the next start) still answers the new
// text; songs without an entry and other columns change nothing. A change of
// many songs at once writes the file once, with the same bytes as changing
// them one after the other, and a failed write leaves the old file.
#include "catalogue/TitleCacheEdit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "core/AtomicFile.h"

namespace {

class Host : public TitleCacheHost {
   public:
    void Redisplay() override {
        redisplays++;
    }
    void ShowFileError(uint32_t error, const std::string& text) override {
        errors.push_back(std::to_string(error) + " " + text);
    }
    int redisplays = 0;
    std::vector<std::string> errors;
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

TEST_F(TitleCacheEditTest, ABatchWithoutAnyEntryWritesNothing) {
    const std::string before = ReadWholeFile(folder_.File("_Kadrel.cac"));
    EXPECT_EQ(0, ChangeTitleCacheTexts(state_, host_, {"c.mid", "d.mid"}, TitleCacheColumn::title, "x"));
    EXPECT_EQ(0, ChangeTitleCacheTexts(state_, host_, {"a.mid", "b.mid"}, TitleCacheColumn::stamp, "x"));
    EXPECT_EQ(0, ChangeTitleCacheTexts(state_, host_, {}, TitleCacheColumn::title, "x"));
    EXPECT_EQ(before, ReadWholeFile(folder_.File("_Kadrel.cac")));
    EXPECT_EQ(0, host_.redisplays);
    EXPECT_TRUE(TitleCacheHasEntries(state_, {"b.mid", "a.mid"}));
    EXPECT_FALSE(TitleCacheHasEntries(state_, {"a.mid", "c.mid"}));
}

// Files written by the atomic writer: its first chunk is write 0.
int fileWrites = 0;
uint32_t failingWrite = UINT32_MAX;

uint32_t CountWrites(uint32_t writeIndex) {
    if (writeIndex == 0) {
        fileWrites++;
    }
    return writeIndex == failingWrite ? 112 : 0;
}

class WriteCounter {
   public:
    explicit WriteCounter(uint32_t failAt = UINT32_MAX) {
        fileWrites = 0;
        failingWrite = failAt;
        SetAtomicWriteFault(CountWrites);
    }
    ~WriteCounter() {
        SetAtomicWriteFault(nullptr);
        failingWrite = UINT32_MAX;
    }
    WriteCounter(const WriteCounter&) = delete;
    WriteCounter& operator=(const WriteCounter&) = delete;
};

// Two folders holding the same cache file: one changed song by song, the
// other with one batch.
class TitleCacheBatchTest : public ::testing::Test {
   protected:
    // A cache as the program writes it: rows sorted on path, several chunks
    // long, with double-byte names whose second byte is a backslash.
    static std::string SortedCacheBytes(int32_t rows) {
        TitleCacheState state;
        for (int32_t i = 0; i < rows; i++) {
            const std::string n = std::to_string((i * 7919) % rows);
            const std::string path = (i % 3 == 0 ? "表ソ\\曲" : "song") + n + ".mid";
            const std::string title = "Title of " + n;
            state.TitleCache.Add(
                {path.c_str(), title.c_str(), "2024/03/04 05:06:07", i % 2 ? "GS" : "XG", i % 5 ? kNoText : "memo"},
                {i % 4});
        }
        state.TitleCache.Sort(TitleCacheColumn::path, false);
        return TitleCacheBytes(state.TitleCache);
    }
    // Writes bytes as the cache of both folders and loads them.
    void Start(const std::string& bytes) {
        for (TitleCacheState* state : {&oneByOne_, &batch_}) {
            const ScratchFolder& folder = state == &oneByOne_ ? oneFolder_ : batchFolder_;
            ASSERT_TRUE(WriteWholeFile(folder.File("_Kadrel.cac"), bytes));
            state->location = folder.Path();
            state->kind = 1;
            ASSERT_TRUE(LoadTitleCache(*state));
        }
    }
    std::string OneByOneFile() const {
        return ReadWholeFile(oneFolder_.File("_Kadrel.cac"));
    }
    std::string BatchFile() const {
        return ReadWholeFile(batchFolder_.File("_Kadrel.cac"));
    }
    // Every thirtieth song, from the last to the first, one of them twice, and a
    // song the cache does not know.
    std::vector<std::string> Selection(const TitleCacheState& state) const {
        std::vector<std::string> paths;
        for (int32_t row = state.TitleCache.Count() - 1; row >= 0; row -= 30) {
            paths.push_back(state.TitleCache.Read(row, TitleCacheColumn::path));
        }
        paths.push_back(paths[paths.size() / 2]);
        paths.push_back("unknown.mid");
        return paths;
    }
    // Changes the songs one by one in the first folder and at once in the
    // other; the files must be the same and the batch written once.
    void ChangeBoth(const std::vector<std::string>& paths, int32_t column, const char* text) {
        int32_t stored = 0;
        for (const std::string& path : paths) {
            stored += ChangeTitleCacheText(oneByOne_, oneHost_, path.c_str(), column, text) ? 1 : 0;
        }
        const int redisplays = batchHost_.redisplays;
        int32_t changed = 0;
        {
            WriteCounter counter;
            changed = ChangeTitleCacheTexts(batch_, batchHost_, paths, column, text);
            EXPECT_EQ(1, fileWrites) << text;
        }
        EXPECT_EQ(stored, changed) << text;
        EXPECT_EQ(redisplays + 1, batchHost_.redisplays);
        EXPECT_TRUE(OneByOneFile() == BatchFile()) << text;
        ASSERT_EQ(oneByOne_.TitleCache.Count(), batch_.TitleCache.Count());
        for (int32_t row = 0; row < batch_.TitleCache.Count(); row++) {
            for (int32_t c = 0; c < TitleCacheColumn::kStrings; c++) {
                ASSERT_STREQ(oneByOne_.TitleCache.Read(row, c), batch_.TitleCache.Read(row, c)) << row;
            }
        }
        EXPECT_TRUE(batch_.cacheLoaded);
        EXPECT_TRUE(batchHost_.errors.empty());
    }
    ScratchFolder oneFolder_;
    ScratchFolder batchFolder_;
    TitleCacheState oneByOne_;
    TitleCacheState batch_;
    Host oneHost_;
    Host batchHost_;
};

TEST_F(TitleCacheBatchTest, ManySongsChangedAtOnceGiveTheBytesOfChangingThemOneByOne) {
    Start(SortedCacheBytes(1500));
    ASSERT_GT(BatchFile().size(), size_t{kAtomicWriteChunk});
    const std::vector<std::string> paths = Selection(batch_);
    ChangeBoth(paths, TitleCacheColumn::title, "手で付けた表題ソ");
    ChangeBoth(paths, TitleCacheColumn::comment, "まとめて付けたコメント");
    ChangeBoth(paths, TitleCacheColumn::soundModule, "SC-88Pro");
    // The new texts are what the next start reads.
    TitleCacheState fresh;
    fresh.location = batch_.location;
    fresh.kind = 1;
    ASSERT_TRUE(LoadTitleCache(fresh));
    int32_t changed = 0;
    for (int32_t row = 0; row < fresh.TitleCache.Count(); row++) {
        if (std::string(fresh.TitleCache.Read(row, TitleCacheColumn::title)) == "手で付けた表題ソ") {
            changed++;
            EXPECT_STREQ("まとめて付けたコメント", fresh.TitleCache.Read(row, TitleCacheColumn::comment));
            EXPECT_STREQ("SC-88Pro", fresh.TitleCache.Read(row, TitleCacheColumn::soundModule));
            EXPECT_STREQ("2024/03/04 05:06:07", fresh.TitleCache.Read(row, TitleCacheColumn::stamp));
        }
    }
    EXPECT_EQ(int32_t(paths.size()) - 2, changed);
}

// A file not in path order (written by hand or by another tool), with one
// path twice: the single change finds and sorts entries its own way, and the
// batch still comes out the same.
TEST_F(TitleCacheBatchTest, AnOutOfOrderFileWithRepeatedPathsComesOutTheSameToo) {
    TitleCacheState state;
    const char* names[] = {"m.mid", "c.mid", "x.mid", "c.mid", "a.mid", "表ソ.mid", "b.mid", "k.mid", "z.mid"};
    int32_t flags = 0;
    for (const char* name : names) {
        const std::string title = std::string("T ") + name + std::to_string(flags);
        state.TitleCache.Add({name, title.c_str(), "2024/01/01 00:00:00", "GS", kNoText}, {flags++});
    }
    Start(TitleCacheBytes(state.TitleCache));
    ChangeBoth({"c.mid", "z.mid", "a.mid", "c.mid", "表ソ.mid", "m.mid"}, TitleCacheColumn::title, "新");
    ChangeBoth({"k.mid", "b.mid", "x.mid"}, TitleCacheColumn::comment, "メモ");
}

TEST_F(TitleCacheBatchTest, AFailedWriteKeepsTheOldFileAndIsReportedOnce) {
    Start(SortedCacheBytes(1500));
    const std::string before = BatchFile();
    const std::vector<std::string> paths = Selection(batch_);
    const std::string oldTitle = batch_.TitleCache.Read(batch_.TitleCache.Find(paths[0].c_str(), 0), 1);
    {
        // The second chunk fails, after part of the new file was written.
        WriteCounter counter(1);
        ChangeTitleCacheTexts(batch_, batchHost_, paths, TitleCacheColumn::title, "書けない表題");
        EXPECT_EQ(1, fileWrites);
    }
    ASSERT_EQ(1u, batchHost_.errors.size());
    EXPECT_EQ("112 " + batchFolder_.File("_Kadrel.cac") + "\n\nタイトルキャッシュを書き込めません。",
              batchHost_.errors[0]);
    EXPECT_TRUE(before == BatchFile());
    // The table is the old file's again.
    EXPECT_EQ(oldTitle, batch_.TitleCache.Read(batch_.TitleCache.Find(paths[0].c_str(), 0), 1));
    EXPECT_TRUE(batch_.cacheLoaded);
    // A later change succeeds.
    batchHost_.errors.clear();
    ChangeBoth(paths, TitleCacheColumn::title, "書けた表題");
}

}  // namespace
