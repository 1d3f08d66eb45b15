// The title cache over fixtures and real folder trees: the file format both
// ways, the refresh against a scan (new, changed, deleted, unreadable and
// cancelled songs), the lookups, deleting, and a save that fails half-way.
#include "catalogue/TitleCache.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>
#ifdef _WIN32
#include <sys/utime.h>
#else
#include <utime.h>
#endif

#include "TableTestSupport.h"
#include "TestPaths.h"
#include "analysis/FileTypes.h"
#include "catalogue/FolderScan.h"
#include "core/AtomicFile.h"

namespace {

using Rows = std::vector<std::string>;

// Sets a file's last-write time to 2020/01/01 10:00:ss local time.
bool SetSecond(const std::string& path, int second) {
    struct tm fields = {};
    fields.tm_year = 2020 - 1900;
    fields.tm_mday = 1;
    fields.tm_hour = 10;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    struct utimbuf times;
    times.actime = times.modtime = mktime(&fields);
    return utime(path.c_str(), &times) == 0;
}

// Records what the cache shows; can cancel at a given message pump.
class RecordingHost : public TitleCacheHost {
   public:
    void ShowStatus(const char* text) override {
        statuses.push_back(text);
    }
    void OpenProgress(const char* caption) override {
        captions.push_back(caption);
    }
    void ShowProgress(const char* path, int32_t percent, int32_t unreadable) override {
        progress.push_back(std::string(path) + " " + std::to_string(percent) + "% " + std::to_string(unreadable));
    }
    void ProcessMessages(TitleCacheState& state) override {
        if (++pumps == cancelAtPump) {
            state.refreshRunning = false;
        }
    }
    void ShowFileError(uint32_t error, const std::string& text) override {
        errors.push_back(std::to_string(error) + " " + text);
    }
    bool Wrote() const {
        for (const std::string& s : statuses) {
            if (s == "タイトルキャッシュを書き込み中") {
                return true;
            }
        }
        return false;
    }
    Rows statuses;
    Rows captions;
    Rows progress;
    Rows errors;
    int pumps = 0;
    int cancelAtPump = -1;
};

// Answers without reading the songs; counts what it was asked and can refuse
// one song as unreadable.
class CountingAnalyzer : public SongAnalyzer {
   public:
    bool ReadTexts(const char* fullPath, int32_t, std::string* title, std::string* comment) override {
        const std::string path = fullPath;
        read.push_back(path.substr(path.find_last_of("\\/") + 1));
        *title = "T:" + read.back();
        *comment = kNoText;
        return read.back() != unreadable;
    }
    std::string SoundModule(const char*, int32_t) override {
        return "SC-88";
    }
    int32_t RelatedFlags(const char*, int32_t) override {
        return 7;
    }
    Rows read;
    std::string unreadable;
};

class TitleCacheTest : public ::testing::Test {
   protected:
    void SetUp() override {
        scan_.location = folder_.Path();
        scan_.kind = kLocationFolder;
        scan_.playerTypeMask = PlayerTypeMask(100);
        cache_.location = folder_.Path();
        cache_.kind = 1;
        Make("b.mid", 1);
        Make("a.mid", 2);
        ASSERT_TRUE(folder_.MakeFolder("sub"));
        Make("sub/c.mid", 3);
        Make("x.wav", 4);
        Make("notes.txt", 5);
    }
    void Make(const std::string& name, int second) {
        ASSERT_TRUE(WriteWholeFile(folder_.File(name), "MThd"));
        ASSERT_TRUE(SetSecond(folder_.File(name), second));
    }
    // Scans the folder as opening it would, then refreshes the cache.
    bool Refresh(bool update) {
        scan_.scanList.Clear();
        ScanFolder(scan_, scan_.location.c_str(), nullptr, "*.*", false, true, false);
        scan_.scanList.Sort(ScanListColumn::path, false);
        host_ = RecordingHost();
        analyzer_.read.clear();
        return RefreshTitleCache(cache_, scan_.scanList, host_, analyzer_, update, true);
    }
    std::string CacheFile() const {
        return folder_.File("_Kadrel.cac");
    }
    ScratchFolder folder_;
    CatalogueState scan_;
    TitleCacheState cache_;
    RecordingHost host_;
    CountingAnalyzer analyzer_;
};

TEST(TitleCacheFilePath, FolderAndListLocations) {
    const struct {
        const char* location;
        int32_t kind;
        const char* expected;
    } cases[] = {
        {"D:\\music\\", 1, "D:\\music\\_Kadrel.cac"}, {"D:\\music\\best.lst>", 2, "D:\\music\\_best.cac"},
        {"D:\\表\\ソ.lst>", 2, "D:\\表\\_ソ.cac"},  // 0x5C trail bytes in folder and name
        {"D:\\a.b\\list>", 2, "D:\\a.b\\_list.cac"},  {"D:\\music\\", 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, TitleCacheFilePath(c.location, c.kind)) << c.location;
    }
}

TEST(TitleCacheFormat, FixturesLoadToTheEndOfTheFile) {
    const struct {
        const char* fixture;
        bool recognised;
        int32_t rows;
        const char* lastPath;
    } cases[] = {
        {"golden-0004.cac", true, 3, "z.lzh>x.mid"}, {"old-header-0003.cac", true, 3, "z.lzh>x.mid"},  // count says 1
        {"unknown-header.cac", false, 0, nullptr},   {"truncated-record.cac", true, 1, "a.mid"},
        {"count-field-cut.cac", false, 0, nullptr},  {"huge-count.cac", true, 1, "a.mid"},
        {"empty-0004.cac", true, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        const std::string bytes = ReadWholeFile(TestDataPath(std::string("cache/") + c.fixture));
        ASSERT_FALSE(bytes.empty());
        BagBox table = MakeTitleCache();
        table.Add({"stale", "", "", "", ""}, {0});
        EXPECT_EQ(c.recognised, ParseTitleCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &table));
        ASSERT_EQ(c.rows, table.Count());
        if (c.lastPath) {
            EXPECT_EQ(c.lastPath, std::string(table.Read(c.rows - 1, TitleCacheColumn::path)));
            EXPECT_EQ(0, table.Find("a.mid", TitleCacheColumn::path));
        }
    }
}

TEST(TitleCacheFormat, RowsWriteTheGoldenBytes) {
    BagBox table = MakeTitleCache();
    table.Add({"a.mid", "Alpha", "2024/01/02 03:04:05", "SC-55", "[なし]"}, {0});
    table.Add({"sub\\表.mid", "表示テスト", "2023/12/31 23:59:59", "", "ソフトのコメント"}, {2});
    table.Add({"z.lzh>x.mid", "[なし]", "1999/09/09 09:09:09", "GS", "[なし]"}, {-1});
    EXPECT_EQ(ReadWholeFile(TestDataPath("cache/golden-0004.cac")), TitleCacheBytes(table));
}

TEST_F(TitleCacheTest, OldHeaderFileIsSavedInTheCurrentForm) {
    ASSERT_TRUE(WriteWholeFile(CacheFile(), ReadWholeFile(TestDataPath("cache/old-header-0003.cac"))));
    ASSERT_TRUE(LoadTitleCache(cache_));
    EXPECT_TRUE(cache_.cacheLoaded);
    EXPECT_EQ("表示テスト", std::string(cache_.TitleCache.Read(1, TitleCacheColumn::title)));
    EXPECT_EQ(2, cache_.TitleCache.iRead(1, TitleCacheColumn::relatedFlags));

    EXPECT_FALSE(SaveTitleCache(cache_, host_, false, false));
    EXPECT_EQ(ReadWholeFile(TestDataPath("cache/golden-0004.cac")), ReadWholeFile(CacheFile()));
}

TEST_F(TitleCacheTest, MissingAndUnknownFiles) {
    EXPECT_FALSE(LoadTitleCache(cache_));
    ASSERT_TRUE(WriteWholeFile(CacheFile(), ReadWholeFile(TestDataPath("cache/unknown-header.cac"))));
    EXPECT_TRUE(LoadTitleCache(cache_));
    EXPECT_FALSE(cache_.cacheLoaded);
    EXPECT_EQ(0, cache_.TitleCache.Count());
}

TEST_F(TitleCacheTest, CreatedAnewFromAScanAndLoadedBack) {
    EXPECT_FALSE(Refresh(false));

    EXPECT_EQ((Rows{"タイトルキャッシュを新規作成 - Quillory"}), host_.captions);
    EXPECT_EQ((Rows{"タイトルキャッシュを調査中", "タイトルを検索中", "タイトルキャッシュを書き込み中"}),
              host_.statuses);
    EXPECT_EQ((Rows{"a.mid 25% 0", "b.mid 50% 0", "sub\\c.mid 75% 0", "x.wav 100% 0"}), host_.progress);
    EXPECT_TRUE(cache_.cacheLoaded);
    const BagBox& table = cache_.TitleCache;
    EXPECT_EQ((Rows{"a.mid", "b.mid", "sub\\c.mid", "x.wav"}), Column(table, TitleCacheColumn::path));
    EXPECT_EQ((Rows{"T:a.mid", "T:b.mid", "T:c.mid", "T:x.wav"}), Column(table, TitleCacheColumn::title));
    EXPECT_EQ((Rows{"SC-88", "SC-88", "SC-88", ""}), Column(table, TitleCacheColumn::soundModule));
    EXPECT_EQ("2020/01/01 10:00:03", std::string(table.Read(2, TitleCacheColumn::stamp)));
    EXPECT_EQ(7, table.iRead(0, TitleCacheColumn::relatedFlags));
    EXPECT_EQ(2, table.iRead(3, TitleCacheColumn::relatedFlags));  // audio keeps only the 2 bit
    EXPECT_TRUE(table.IsSorted());

    // Nothing changed: nothing is read or written.
    const std::string written = ReadWholeFile(CacheFile());
    EXPECT_FALSE(Refresh(true));
    EXPECT_TRUE(analyzer_.read.empty());
    EXPECT_FALSE(host_.Wrote());
    EXPECT_TRUE(host_.captions.empty());
    EXPECT_EQ(written, ReadWholeFile(CacheFile()));
}

TEST_F(TitleCacheTest, ChangedStampIsReadAgainAndNewSongsSorted) {
    ASSERT_FALSE(Refresh(false));
    ASSERT_TRUE(SetSecond(folder_.File("b.mid"), 2));  // one second later
    Make("0.mid", 9);

    EXPECT_FALSE(Refresh(true));

    EXPECT_EQ((Rows{"0.mid", "b.mid"}), analyzer_.read);
    EXPECT_EQ((Rows{"タイトルキャッシュを更新 - Quillory"}), host_.captions);
    // Reloaded from the file, which was written in ascending path order.
    EXPECT_EQ((Rows{"0.mid", "a.mid", "b.mid", "sub\\c.mid", "x.wav"}), Column(cache_.TitleCache, 0));
    EXPECT_EQ("2020/01/01 10:00:02", std::string(cache_.TitleCache.Read(2, TitleCacheColumn::stamp)));
}

TEST_F(TitleCacheTest, DeletedSongLosesItsEntry) {
    ASSERT_FALSE(Refresh(false));
    ASSERT_EQ(0, std::remove(folder_.File("sub/c.mid").c_str()));

    EXPECT_FALSE(Refresh(true));

    EXPECT_TRUE(analyzer_.read.empty());
    EXPECT_TRUE(host_.Wrote());
    BagBox reloaded = MakeTitleCache();
    const std::string bytes = ReadWholeFile(CacheFile());
    ParseTitleCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &reloaded);
    EXPECT_EQ((Rows{"a.mid", "b.mid", "x.wav"}), Column(reloaded, 0));
}

TEST_F(TitleCacheTest, UnreadableSongIsCountedAndTriedAgainLater) {
    analyzer_.unreadable = "b.mid";
    ASSERT_FALSE(Refresh(false));
    EXPECT_EQ("sub\\c.mid 75% 1", host_.progress[2]);
    EXPECT_EQ((Rows{"a.mid", "sub\\c.mid", "x.wav"}), Column(cache_.TitleCache, 0));

    analyzer_.unreadable.clear();
    EXPECT_FALSE(Refresh(true));
    EXPECT_EQ((Rows{"b.mid"}), analyzer_.read);
    EXPECT_EQ(4, cache_.TitleCache.Count());
}

TEST_F(TitleCacheTest, CancelReloadsTheFileAsItWas) {
    ASSERT_FALSE(Refresh(false));
    const std::string before = ReadWholeFile(CacheFile());
    Make("0.mid", 9);
    Make("1.mid", 9);
    host_ = RecordingHost();
    host_.cancelAtPump = 2;
    scan_.scanList.Clear();
    ScanFolder(scan_, scan_.location.c_str(), nullptr, "*.*", false, true, false);
    scan_.scanList.Sort(ScanListColumn::path, false);

    EXPECT_TRUE(RefreshTitleCache(cache_, scan_.scanList, host_, analyzer_, false, true));

    EXPECT_EQ(1u, host_.progress.size());
    EXPECT_FALSE(host_.Wrote());
    EXPECT_EQ(before, ReadWholeFile(CacheFile()));
    EXPECT_EQ((Rows{"a.mid", "b.mid", "sub\\c.mid", "x.wav"}), Column(cache_.TitleCache, 0));
    EXPECT_FALSE(cache_.refreshRunning);
}

uint32_t FailThirdWrite(uint32_t writeIndex) {
    return writeIndex == 2 ? 112 : 0;
}

TEST_F(TitleCacheTest, FailedSaveKeepsTheOldCacheIntact) {
    ASSERT_FALSE(Refresh(false));
    const std::string before = ReadWholeFile(CacheFile());
    // Enough rows for several writes, so the failure comes half-way.
    for (int i = 0; i < 4000; i++) {
        const std::string path = "song" + std::to_string(i) + ".mid";
        cache_.TitleCache.Add({path.c_str(), "a long enough title", "2020/01/01 10:00:00", "GS", kNoText}, {0});
    }
    SetAtomicWriteFault(FailThirdWrite);
    cache_.cacheLoaded = false;
    const bool failed = SaveTitleCache(cache_, host_, true, false);
    SetAtomicWriteFault(nullptr);

    EXPECT_TRUE(failed);
    EXPECT_FALSE(cache_.cacheLoaded);
    EXPECT_EQ((Rows{"112 " + CacheFile() + "\n\nタイトルキャッシュを書き込めません。"}), host_.errors);
    EXPECT_EQ(before, ReadWholeFile(CacheFile()));
    ASSERT_TRUE(LoadTitleCache(cache_));
    EXPECT_EQ(4, cache_.TitleCache.Count());
}

TEST_F(TitleCacheTest, LookupsUseOnlyEntriesWithAMatchingStamp) {
    ASSERT_FALSE(Refresh(false));
    analyzer_.read.clear();
    std::string title;
    std::string comment;
    std::string module;
    int32_t flags = 0;

    EXPECT_TRUE(LookUpTitleAndComment(cache_, analyzer_, "a.mid", "2020/01/01 10:00:02", kKindMidi, &title, &comment));
    EXPECT_EQ("T:a.mid", title);
    EXPECT_TRUE(LookUpTitleAndComment(cache_, analyzer_, "a.mid", nullptr, kKindMidi, &title, &comment));
    EXPECT_TRUE(LookUpSoundModule(cache_, analyzer_, "sub\\c.mid", "2020/01/01 10:00:03", kKindMidi, &module));
    EXPECT_TRUE(analyzer_.read.empty());

    EXPECT_FALSE(LookUpTitleAndComment(cache_, analyzer_, "a.mid", "2020/01/01 10:00:09", kKindMidi, &title, &comment));
    EXPECT_FALSE(LookUpTitleAndComment(cache_, analyzer_, "new.mid", nullptr, kKindMidi, &title, &comment));
    EXPECT_EQ((Rows{"a.mid", "new.mid"}), analyzer_.read);

    EXPECT_FALSE(LookUpSoundModule(cache_, analyzer_, "x.wav", "2020/01/01 10:00:04", kKindWave, &module));
    EXPECT_EQ("WAVE", module);
    // Related flags ignore the stamp.
    EXPECT_TRUE(LookUpRelatedFlags(cache_, analyzer_, "x.wav", kKindWave, &flags));
    EXPECT_EQ(2, flags);
    EXPECT_FALSE(LookUpRelatedFlags(cache_, analyzer_, "new.mid", kKindMidi, &flags));
    EXPECT_EQ(7, flags);
}

TEST_F(TitleCacheTest, DeleteEmptiesTheTableAndReportsAMissingFile) {
    ASSERT_FALSE(Refresh(false));
    EXPECT_TRUE(DeleteTitleCache(cache_, host_, CacheFile().c_str()));
    EXPECT_EQ(0, cache_.TitleCache.Count());
    EXPECT_FALSE(cache_.cacheLoaded);
    EXPECT_FALSE(LoadTitleCache(cache_));

    EXPECT_FALSE(DeleteTitleCache(cache_, host_, CacheFile().c_str()));
    EXPECT_EQ((Rows{"2 " + CacheFile() + "\n\nタイトルキャッシュを削除できません。"}), host_.errors);
}

TEST(TitleCacheAnalyzer, DefaultReadsTitlesThroughTheReaders) {
    SongAnalyzer analyzer;
    std::string title;
    std::string comment;
    EXPECT_TRUE(analyzer.ReadTexts(TestDataPath("midi/conductor-format1.mid").c_str(), kKindMidi, &title, &comment));
    EXPECT_EQ("Conductor Song", title);
    EXPECT_EQ(kNoText, comment);
    EXPECT_TRUE(analyzer.ReadTexts(TestDataPath("midi/instrument-name-only.mid").c_str(), kKindMidi, &title, &comment));
    EXPECT_EQ(kNoText, title);
    EXPECT_FALSE(analyzer.ReadTexts(TestDataPath("midi/missing.mid").c_str(), kKindMidi, &title, &comment));
}

}  // namespace
