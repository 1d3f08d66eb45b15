// Vorbis comments of Ogg files.
#include <gtest/gtest.h>

#include "tests/analysis/AudioTestFiles.h"

namespace {

// One page holding the whole packet (lacing values of 255 and a last one).
std::string Page(const std::string& packet, uint8_t flags) {
    std::string lacing;
    size_t rest = packet.size();
    for (; rest >= 255; rest -= 255) {
        lacing += '\xFF';
    }
    lacing += char(rest);
    return "OggS" + std::string(1, '\0') + char(flags) + std::string(20, '\0') + char(lacing.size()) + lacing + packet;
}

std::string Identification() {
    return Page(std::string("\x01vorbis", 7) + std::string(23, '\0'), 2);
}

std::string Comments(std::initializer_list<std::string> fields) {
    std::string packet = std::string("\x03vorbis", 7) + Le32(4) + "test" + Le32(uint32_t(fields.size()));
    for (const std::string& field : fields) {
        packet += Le32(uint32_t(field.size())) + field;
    }
    return Page(packet + '\x01', 0);
}

TEST(OggReader, ReadsCommentHeader) {
    const CorpusListCase cases[] = {
        {"audio/ogg/nirvana-2sec.vorbis.ogg", 18, "In Bloom / Nirvana", "Nirvana's Greatest Album"},
        {"audio/ogg/issue_62.ogg", 46, "Al-Fatihah / Mishary Alafasi - www.TvQuran.com",
         "http://www.archive.org/details/TvQuran.com__Alafasi"},
        // Title and artist follow a picture that runs over two further pages.
        {"audio/ogg/musicbrainz-sinners-prayer.ogg", 43, "Sinner's Prayer / Beth Hart & Joe Bonamassa", "Test 123"},
        {"audio/ogg/ogg-multipagemetadata-bug.ogg", 95,
         "Modestep - To The Stars (Break the Noize & The Autobots Remix) / Break The Noize & The Autobots",
         "(Break the Noize & the Autobots Remix)"},
        // A comment header with only an encoder field.
        {"audio/ogg/audio.vorbis.ogg", 0, "", ""},
        // Opus is not Vorbis: no tag.
        {"audio/ogg/audio.opus.ogg", 0, kUnchangedTitle, ""},
    };
    ExpectListReads(ReadOggFile, cases);
}

// A packet over as many pages as it needs: full pages of 255 segments of 255
// bytes carry it on, the last page ends it.
std::string Pages(const std::string& packet) {
    const size_t kFullPage = 255 * 255;
    std::string pages;
    size_t pos = 0;
    for (; packet.size() - pos > kFullPage; pos += kFullPage) {
        pages += "OggS" + std::string(1, '\0') + char(pos ? 1 : 0) + std::string(20, '\0') + char(255) +
                 std::string(255, '\xFF') + packet.substr(pos, kFullPage);
    }
    return pages + Page(packet.substr(pos), 1);
}

// A comment header declaring 0xFFFFFFFF comments: a title, then as many empty
// comments (a bare zero length each) as floodBytes hold, over many pages.
std::string CommentFlood(size_t floodBytes) {
    const std::string packet = std::string("\x03vorbis", 7) + Le32(4) + "test" + Le32(0xFFFFFFFF) + Le32(11) +
                               "TITLE=Flood" + std::string(floodBytes, '\0') + '\x01';
    return Identification() + Pages(packet);
}

TEST(OggReader, MillionsOfDeclaredCommentsCostNoMoreReadsThanAFew) {
    // Without an artist or a comment the walk does not end early: it goes on
    // over the empty comments. Their number must not drive the work.
    const CountedRead few = ReadCounted(ReadOggFile, CommentFlood(64 << 10));
    const CountedRead many = ReadCounted(ReadOggFile, CommentFlood(4 << 20));
    EXPECT_EQ("Flood", few.read.title);
    EXPECT_EQ("Flood", many.read.title);
    EXPECT_EQ(few.reads, many.reads);
    EXPECT_LT(many.reads, 20u);
    // The small copy kept as a fixture (and fuzz seed) behaves alike.
    const CountedRead fixture = ReadCounted(ReadOggFile, ReadWholeFile(TestDataPath("audio/comment-count-flood.ogg")));
    EXPECT_EQ("Flood", fixture.read.title);
    EXPECT_LT(fixture.reads, 20u);
}

TEST(OggReader, FieldsNeedAValueAndCountOnce) {
    const struct {
        std::string bytes;
        const char* title;
    } cases[] = {
        {Identification() + Comments({"title="}), ""},
        {Identification() + Comments({"title=", "TITLE=Second"}), "Second"},
        {Identification() + Comments({"Title=First", "TITLE=Second"}), "First"},
        {Identification() + Comments({"ARTIST=Solo"}), "/ Solo"},
        {Identification() + Comments({"titles=no", "TITLE=\xE8\xA1\xA8\xE3\x82\xBD"}), "表ソ"},
        // A comment length past the end stops the walk; what came before stays.
        {ReadWholeFile(TestDataPath("audio/comment-length-past-end.ogg")), "Before The Cut"},
        // The comment header must start one of the first three pages.
        {Identification() + Identification() + Identification() + Comments({"TITLE=Late"}), kUnchangedTitle},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.title, ReadForList(ReadOggFile, c.bytes).title);
    }
}

TEST(OggReader, PropertiesGetArtistAndComment) {
    const InfoRead read = ReadForInfo(ReadOggFile, Identification() + Comments({"COMMENT=c", "artist=a", "title=t"}));
    EXPECT_EQ(1, read.result);
    EXPECT_EQ("t", read.title);
    EXPECT_EQ("a", read.artist);
    EXPECT_EQ("c", read.secondText);
}

TEST(OggReader, TruncatedFilesNeverFail) {
    const std::string bytes = ReadWholeFile(CorpusPath("audio/ogg/nirvana-2sec.vorbis.ogg"));
    for (size_t cut = 0; cut < bytes.size(); cut += 97) {
        EXPECT_GE(ReadForList(ReadOggFile, bytes.substr(0, cut)).result, 0);
    }
}

}  // namespace
