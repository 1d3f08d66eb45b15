// Our own reader of Windows Media (ASF) headers.
#include <gtest/gtest.h>

#include "analysis/AudioTags.h"
#include "tests/analysis/AudioTestFiles.h"

namespace {

TEST(AsfReader, ReadsContentDescription) {
    const CorpusListCase cases[] = {
        {"audio/wma/asf.wma", 46, "Don't Bring Me Down / Electric Light Orchestra", "USSM10015734"},
        {"audio/wma/musicbrainz-sinners-prayer.wma", 43, "Sinner's Prayer / Beth Hart & Joe Bonamassa", "Test 123"},
        // Title, author and description present but empty.
        {"audio/wma/elephant.asf", 0, "", ""},
        // A header object of size 0 must not loop.
        {"audio/wma/CWE-835.wma", 0, "", ""},
    };
    ExpectListReads(ReadAsfFile, cases);
}

TEST(AsfReader, ObjectSizesPastTheEndAreBounded) {
    // The header claims a gigabyte and the extended description a megabyte:
    // the content description before them still counts.
    const std::string bytes = ReadWholeFile(TestDataPath("audio/object-size-past-end.wma"));
    const InfoRead read = ReadForInfo(ReadAsfFile, bytes);
    EXPECT_EQ("Sized Title", read.title);
    EXPECT_EQ("Sized Author", read.artist);
    EXPECT_EQ("Sized Description", read.secondText);
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_GE(ReadForList(ReadAsfFile, bytes.substr(0, cut)).result, kReadCannotRead);
    }
}

// GUIDs as stored: the header object and the content description.
const std::string kHeaderGuid("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
const std::string kContentGuid("\x33\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);

std::string Le64(uint64_t n) {
    return Le32(uint32_t(n)) + Le32(uint32_t(n >> 32));
}

TEST(AsfReader, AnObjectSizeTheFileHoldsIsReadOnlyUpToTheCap) {
    // A 48 MiB file whose content description claims 40 MiB: a broken header
    // in front of real data. Its strings come first and are still read.
    const uint32_t fileSize = 48u << 20;
    const uint32_t objectSize = 40u << 20;
    const std::string title = Utf16LeWithBom("Big Title").substr(2) + std::string(2, '\0');
    const std::string content =
        kContentGuid + Le64(objectSize) + std::string(1, char(title.size())) + std::string(9, '\0') + title;
    const std::string head = kHeaderGuid + Le64(fileSize) + Le32(1) + "\x01\x02" + content;
    ScratchFolder folder;
    const std::string path = folder.File("broken-size.wma");
    ASSERT_TRUE(WriteSparseFile(path, head, fileSize, ""));
    const CountedRead read = ReadCountedFile(ReadAsfFile, path);
    EXPECT_EQ("Big Title", read.read.title);
    EXPECT_LE(read.largestRead, kAsfObjectBytesKept);
    // The small copy kept as a fixture (and fuzz seed).
    EXPECT_EQ("Whole Title",
              ReadForList(ReadAsfFile, ReadWholeFile(TestDataPath("audio/description-claims-whole-file.wma"))).title);
}

TEST(AsfReader, OtherFilesCannotBeRead) {
    const ListRead read = ReadForList(ReadAsfFile, ReadWholeFile(CorpusPath("audio/mp3/id3v2.3.mp3")));
    EXPECT_EQ(kReadCannotRead, read.result);
    EXPECT_EQ("", read.comment);
}

}  // namespace
