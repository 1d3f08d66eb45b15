// APE tags at the end of Monkey's Audio files.
#include <gtest/gtest.h>

#include "tests/analysis/AudioTestFiles.h"

namespace {

std::string Item(const std::string& key, const std::string& value) {
    return Le32(uint32_t(value.size())) + Le32(0) + key + '\0' + value;
}

std::string ApeTag(const std::string& items, uint32_t count, uint32_t tagSize) {
    return "MAC " + items + "APETAGEX" + Le32(2000) + Le32(tagSize) + Le32(count) + Le32(0) + std::string(8, '\0');
}

std::string ApeTag(const std::string& items, uint32_t count) {
    return ApeTag(items, count, uint32_t(items.size() + 32));
}

TEST(ApeReader, ReadsTitleArtistAndComment) {
    const struct {
        std::string bytes;
        const char* title;
        const char* comment;
    } cases[] = {
        // Mixed-case keys; the artist value "Audioslave\0Chris Cornell" ends at its NUL.
        {ReadWholeFile(CorpusPath("audio/ape/monkeysaudio.ape")), "07. Shadow On The Sun / Audioslave",
         "This is a sample ape file"},
        {ReadWholeFile(CorpusPath("audio/ape/musicbrainz-sinners-prayer.ape")),
         "Sinner's Prayer / Beth Hart & Joe Bonamassa", "Test 123"},
        // The item count says 0xFFFFFFFF; the walk ends where the items do.
        {ReadWholeFile(TestDataPath("audio/huge-item-count.ape")), "Counted Title", ""},
        // Keys match whole and ignore case; only the first of each counts.
        {ApeTag(Item("Titles", "no") + Item("TITLE", "表示") + Item("title", "second"), 3), "表示", ""},
        {ApeTag(Item("ARTIST", "Only Artist") + Item("CoMmEnT", "ソ"), 2), "/ Only Artist", "ソ"},
    };
    for (const auto& c : cases) {
        const ListRead read = ReadForList(ReadApeFile, c.bytes);
        EXPECT_EQ(c.title, read.title);
        EXPECT_EQ(int32_t(read.title.size()), read.result);
        EXPECT_EQ(c.comment, read.comment);
    }
}

TEST(ApeReader, LongValuesAreCut) {
    const std::string value(300, 'v');
    const std::string tag = ApeTag(Item("Title", value) + Item("Comment", std::string(600, 'c')), 2);
    const InfoRead read = ReadForInfo(ReadApeFile, tag);
    EXPECT_EQ(std::string(255, 'v'), read.title);
    EXPECT_EQ(std::string(384, 'c'), read.secondText);
    EXPECT_EQ(std::string(255, 'c'), ReadForList(ReadApeFile, tag).comment);
}

TEST(ApeReader, BrokenTagsGiveNoTitle) {
    const std::string items = Item("Title", "Lost");
    const std::string cases[] = {
        // Tag size larger than the file.
        ApeTag(items, 1, 0x7FFFFFFF),
        // Value length past the items.
        ApeTag(Le32(0xFFFFFFF0) + Le32(0) + "Title" + '\0' + "Lost", 1),
        // Key without its terminator.
        ApeTag(Le32(4) + Le32(0) + "Title", 1),
        // No footer.
        std::string("MAC ") + items,
    };
    for (const std::string& bytes : cases) {
        const ListRead read = ReadForList(ReadApeFile, bytes);
        EXPECT_EQ(0, read.result);
        EXPECT_NE("Lost", read.title);
    }
}

TEST(ApeReader, AHugeTagIsWalkedInWindows) {
    // A 200 MiB tag (the file sparse): a picture item of nearly all of it,
    // then the title. The reader holds no more than a window at a time.
    const uint32_t fileSize = 200u << 20;
    const std::string title = Item("Title", "Behind The Picture");
    const std::string footer = "APETAGEX" + Le32(2000) + Le32(fileSize - 4) + Le32(2) + Le32(0) + std::string(8, '\0');
    const std::string pictureKey = "Cover Art (Front)";
    const uint32_t pictureBytes = fileSize - 4 - uint32_t(footer.size() + title.size() + 8 + pictureKey.size() + 1);
    const std::string head = "MAC " + Le32(pictureBytes) + Le32(2) + pictureKey + '\0';
    ScratchFolder folder;
    const std::string path = folder.File("huge-tag.ape");
    ASSERT_TRUE(WriteSparseFile(path, head, fileSize, title + footer));
    const CountedRead read = ReadCountedFile(ReadApeFile, path);
    EXPECT_EQ("Behind The Picture", read.read.title);
    EXPECT_LE(read.largestRead, 64u << 10);
}

}  // namespace
