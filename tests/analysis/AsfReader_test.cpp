// Our own reader of Windows Media (ASF) headers.
#include <gtest/gtest.h>

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

TEST(AsfReader, OtherFilesCannotBeRead) {
    const ListRead read = ReadForList(ReadAsfFile, ReadWholeFile(CorpusPath("audio/mp3/id3v2.3.mp3")));
    EXPECT_EQ(kReadCannotRead, read.result);
    EXPECT_EQ("", read.comment);
}

}  // namespace
