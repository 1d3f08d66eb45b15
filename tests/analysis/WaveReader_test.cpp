// WAVE files: the LIST INFO texts, with the title from "ISBJ".
#include <gtest/gtest.h>

#include "tests/analysis/AudioTestFiles.h"

namespace {

std::string LoadWave(const char* name) {
    return ReadWholeFile(CorpusPath(std::string("audio/wav/") + name));
}

TEST(WaveReader, TitleComesFromSubjectChunk) {
    const CorpusListCase cases[] = {
        // INAM "The Magic Flute" is not the title here; ISBJ is.
        {"audio/wav/riff_adobe_audition.wav", 46, "An opera in two acts / Wolfgang Amadeus Mozart", "Comments here!"},
        // INAM but no ISBJ: the artist alone.
        {"audio/wav/riff-iprt-tag.wav", 27, "/ Beth Hart & Joe Bonamassa", "Test 123"},
        {"audio/wav/musicbrainz-sinners-prayer.id3v23.wav", 27, "/ Beth Hart & Joe Bonamassa", "Test 123"},
        // The first LIST is an empty "adtl" list: a tag without texts.
        {"audio/wav/issue_75.wav", 0, "", ""},
        {"audio/wav/mpeglayer3.wav", 0, "", ""},
        // No LIST chunk at all: no tag, the title stays.
        {"audio/wav/odd-list-type.wav", 0, kUnchangedTitle, ""},
    };
    ExpectListReads(ReadWaveFile, cases);
}

TEST(WaveReader, PropertiesGetArtistAndComment) {
    const InfoRead read = ReadForInfo(ReadWaveFile, LoadWave("riff_adobe_audition.wav"));
    EXPECT_EQ("An opera in two acts", read.title);
    EXPECT_EQ("Wolfgang Amadeus Mozart", read.artist);
    EXPECT_EQ("Comments here!", read.secondText);
    EXPECT_EQ(0, read.trackNames);
}

TEST(WaveReader, ChunkSizesPastTheEndAreBounded) {
    // ISBJ claims 4000 bytes of a 12-byte list: the bytes that are there count.
    const std::string list = "LIST" + Le32(4000) + "INFO" + "ISBJ" + Le32(4000) + "表ソ";
    const std::string wave = "RIFF" + Le32(uint32_t(4 + list.size())) + "WAVE" + list;
    EXPECT_EQ("表ソ", ReadForList(ReadWaveFile, wave).title);
    const std::string bytes = LoadWave("riff_adobe_audition.wav");
    for (size_t cut = 0; cut < bytes.size(); cut += 251) {
        EXPECT_GE(ReadForList(ReadWaveFile, bytes.substr(0, cut)).result, 0);
    }
}

}  // namespace
