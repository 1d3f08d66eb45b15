// The music file type table: bucket layout of the built-in extensions,
// classification of names, collisions and the Windows Media gate.
#include "analysis/FileTypes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/InternalError.h"

namespace {

std::vector<std::string> reported;

void RecordInternalError(const char* caption, const char* message) {
    reported.push_back(std::string(caption) + "|" + message);
}

class FileTypesTest : public ::testing::Test {
   protected:
    void SetUp() override {
        reported.clear();
        SetInternalErrorSink(RecordInternalError);
        SetWindowsMediaAvailable(false);
    }
    void TearDown() override {
        SetInternalErrorSink(nullptr);
        SetWindowsMediaAvailable(false);
    }
};

}  // namespace

TEST_F(FileTypesTest, BuiltInExtensionsFillDistinctBuckets) {
    const struct {
        const char* extension;
        uint32_t bucket;
        MusicFileKind kind;
        uint32_t typeBit;
    } cases[] = {
        {".mid", 108, 0, 0x1},      {".std", 89, 0, 0x2},       {".mff", 191, 0, 0x4},      {".rmi", 2, 1, 0x8},
        {".rcp", 23, 2, 0x10},      {".r36", 109, 2, 0x20},     {".g18", 146, 2, 0x40},     {".g36", 26, 2, 0x80},
        {".wav", 80, 10, 0x1000},   {".mp1", 124, 11, 0x2000},  {".mp2", 125, 11, 0x4000},  {".mp3", 126, 11, 0x8000},
        {".rmp", 9, 12, 0x10000},   {".asf", 180, 13, 0x20000}, {".wma", 119, 13, 0x40000}, {".ape", 68, 14, 0x80000},
        {".ogg", 87, 15, 0x100000},
    };
    const Search_MUSIC_File_Type table;
    EXPECT_TRUE(reported.empty());
    for (const auto& c : cases) {
        EXPECT_EQ(c.bucket, Search_MUSIC_File_Type::BucketOf(c.extension)) << c.extension;
        FileTypeEntry entry = {};
        EXPECT_EQ(c.kind, table.Find(c.extension, &entry)) << c.extension;
        EXPECT_EQ(c.kind, entry.kind) << c.extension;
        EXPECT_EQ(c.typeBit, entry.typeBit) << c.extension;
    }
}

TEST_F(FileTypesTest, HashFoldsAsciiCaseOnly) {
    EXPECT_EQ(Search_MUSIC_File_Type::BucketOf(".mid"), Search_MUSIC_File_Type::BucketOf(".MiD"));
    // Bytes from 0x80 count as negative: h = (37 * 46 - 0x7D) mod 2^32 for ".\x83".
    EXPECT_EQ((37u * '.' + static_cast<uint32_t>(-0x7D)) % 192u, Search_MUSIC_File_Type::BucketOf(".\x83"));
}

TEST_F(FileTypesTest, ClassifiesByTheLastFourBytes) {
    const struct {
        const char* path;
        MusicFileKind kind;
    } cases[] = {
        {"SONG.MID", 0},  {"song.Mid", 0},       {"song.mid", 0},
        {"a.mid", 0},     {".mid", -1},          {"mid", -1},
        {"", -1},         {"song.midi", -1},     {"song.mp3x", -1},
        {"song", -1},     {"C:\\表\\ソ.RCP", 2}, {"C:\\x\\b.lzh>dir\\s.mp3", 11},
        {"take.Rmp", 12}, {"track.ogg", 15},     {"x.ape", 14},
        {"x.wav", 10},    {"x.rmi", 1},
    };
    const Search_MUSIC_File_Type table;
    for (const auto& c : cases) {
        EXPECT_EQ(c.kind, table.GetMusicFileKind(c.path, nullptr)) << c.path;
    }
}

TEST_F(FileTypesTest, WindowsMediaNeedsItsRuntime) {
    const Search_MUSIC_File_Type table;
    FileTypeEntry entry = {};
    EXPECT_EQ(-1, table.GetMusicFileKind("x.wma", &entry));
    EXPECT_EQ(-1, table.GetMusicFileKind("x.asf", nullptr));
    SetWindowsMediaAvailable(true);
    EXPECT_EQ(13, table.GetMusicFileKind("x.wma", &entry));
    EXPECT_EQ(0x40000u, entry.typeBit);
    EXPECT_EQ(13, table.GetMusicFileKind("X.ASF", nullptr));
}

TEST_F(FileTypesTest, CollidingExtensionIsReportedAndNotAdded) {
    // ".dog" lands in the bucket of ".mid" (108) without being ".mid".
    ASSERT_EQ(108u, Search_MUSIC_File_Type::BucketOf(".dog"));
    Search_MUSIC_File_Type table;
    EXPECT_EQ(-1, table.GetMusicFileKind("song.dog", nullptr));
    EXPECT_FALSE(table.Add(".dog", 2, 0x200));
    ASSERT_EQ(1u, reported.size());
    EXPECT_EQ("Search_MUSIC_File_Type class (内部エラー)|ハッシュ値が重なりました。", reported[0]);
    EXPECT_EQ(0, table.Find(".mid", nullptr));
    EXPECT_EQ(-1, table.GetMusicFileKind("song.DOG", nullptr));
}

TEST_F(FileTypesTest, AddedExtensionIsFound) {
    Search_MUSIC_File_Type table;
    ASSERT_NE(Search_MUSIC_File_Type::BucketOf(".kar"), Search_MUSIC_File_Type::BucketOf(".mid"));
    EXPECT_EQ(-1, table.GetMusicFileKind("song.kar", nullptr));
    EXPECT_TRUE(table.Add(".kar", 0, 0x100));
    FileTypeEntry entry = {};
    EXPECT_EQ(0, table.GetMusicFileKind("SONG.KAR", &entry));
    EXPECT_EQ(0x100u, entry.typeBit);
    EXPECT_TRUE(reported.empty());
}

TEST_F(FileTypesTest, AudioKindsAndTheirLabels) {
    const struct {
        MusicFileKind kind;
        bool audio;
        const char* label;
    } cases[] = {
        {0, false, ""},     {1, false, ""},    {2, false, ""},       {10, true, "WAVE"},       {11, true, "MPEG"},
        {12, true, "MPEG"}, {13, true, "ASF"}, {14, true, "Monkey"}, {15, true, "Ogg Vorbis"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.audio, IsAudioKind(c.kind)) << c.kind;
        EXPECT_STREQ(c.label, AudioKindLabel(c.kind)) << c.kind;
    }
}

TEST_F(FileTypesTest, ProgramTableIsBuiltOnce) {
    EXPECT_EQ(&MusicFileTypes(), &MusicFileTypes());
    EXPECT_EQ(0, MusicFileTypes().GetMusicFileKind("a.MID", nullptr));
}
