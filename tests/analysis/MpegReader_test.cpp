// MPEG audio tags: ID3v2.3/2.4, the RIFF container and ID3v1, over real files
// and tags built in memory.
#include <gtest/gtest.h>

#include <chrono>

#include "analysis/AudioTags.h"
#include "analysis/Id3v2.h"
#include "analysis/MpegReader.h"
#include "tests/analysis/AudioTestFiles.h"

namespace {

struct ListCase {
    const char* file;  // under the corpus, or "data:" for tests/data
    const char* title;
};

std::string LoadAudio(const std::string& name) {
    if (name.compare(0, 5, "data:") == 0) {
        return ReadWholeFile(TestDataPath("audio/" + name.substr(5)));
    }
    return ReadWholeFile(CorpusPath("audio/" + name));
}

std::string Id3v23(const std::string& frames) {
    return std::string("ID3\x03\x00\x00", 6) + Synchsafe(uint32_t(frames.size())) + frames;
}

TEST(MpegReader, ListTitleJoinsTitleAndArtist) {
    const ListCase cases[] = {
        {"mp3/04-Strawberry.mp3", "Strawberry / Union Youth"},
        // UTF-16 with BOM FF FE; the raw artist holds slashes of its own.
        {"mp3/id3v2.3.mp3", "Home / Explosions In The Sky/Another/And Another"},
        {"mp3/id3v2-utf16.mp3", "Redial (Feat. LeafRunner and Nowacking) / YourEnigma"},
        {"mp3/bug-utf16bom-encoding.mp3", "It's All Over You Know / The Apers"},
        // ID3v2.4, UTF-8, whole tag unsynchronised; values end at the NUL.
        {"mp3/id3v2.4.mp3", "Home / Explo"},
        {"mp3/issue-979.mp3", "Minnie & Me / Alexander Hacke"},
        {"mp3/musicbrainz-sinners-prayer.id3v24.mp3", "Sinner's Prayer / Beth Hart & Joe Bonamassa"},
        // Extended header and a data length indicator before the text.
        {"mp3/id3v2-xheader.mp3", "title"},
        // No TPE1 frame: the title alone.
        {"mp3/issue-795.mp3", "FDP (Clean Edit)"},
        {"mp3/id3v1_Blood_Sugar.mp3", "Blood Sugar / Pendulum"},
        {"mp3/luomo-tessio-id3v10.mp3", "Luomo - Tessio (Spektre Remix)"},
        // ID3v1 fields ended by NUL and followed by garbage.
        {"mp3/issue_69.mp3", "Skupinove foto / Pavel Dobes"},
        // ID3v2.2 is passed over for the ID3v1 tag; its padding is trimmed.
        {"data:id3v22-with-id3v1.mp3", "V1 Title / V1 Artist"},
        // Single-byte text is CP932 as stored, 0x5C trail bytes and all.
        {"data:sjis-5c-trail.mp3", "表示ソフト / 能登"},
        // TIT2 claims more than the tag holds: the walk stops, the artist
        // read before stays, and ID3v1 is not consulted.
        {"data:truncated-frame-size.mp3", "/ Kept Artist"},
        // A RIFF WAVE holding INAM: the MPEG reader takes INAM as the title.
        {"wav/riff-iprt-tag.wav", "Sinner's Prayer / Beth Hart & Joe Bonamassa"},
    };
    for (const ListCase& c : cases) {
        const std::string bytes = LoadAudio(c.file);
        ASSERT_FALSE(bytes.empty()) << c.file;
        const ListRead read = ReadForList(ReadMpegFile, bytes);
        EXPECT_EQ(c.title, read.title) << c.file;
        EXPECT_EQ(int32_t(read.title.size()), read.result) << c.file;
    }
}

TEST(MpegReader, FileWithoutUsableTagKeepsTitleAndEmptiesComment) {
    // A version 2.2 tag only, no tag at all, and a file shorter than 4 bytes.
    for (const std::string& bytes :
         {LoadAudio("mp3/id3v2.2.mp3"), LoadAudio("mp3/silence-2s-16000-no-tags.mp3"), std::string("ID3")}) {
        const ListRead read = ReadForList(ReadMpegFile, bytes);
        EXPECT_EQ(0, read.result);
        EXPECT_EQ(kUnchangedTitle, read.title);
        EXPECT_EQ("", read.comment);
    }
}

TEST(MpegReader, Id3v2WithoutTitleDoesNotFallBackToId3v1) {
    const ListRead read = ReadForList(ReadMpegFile, LoadAudio("mp3/pr-544-id3v24.mp3"));
    EXPECT_EQ(0, read.result);
    EXPECT_EQ("", read.title);
    EXPECT_EQ("Tagged with Mp3tag v3.01", read.comment);
}

TEST(MpegReader, CommentComesFromFirstCommFrame) {
    const struct {
        const char* file;
        const char* comment;
    } cases[] = {
        {"mp3/musicbrainz-sinners-prayer.id3v23.mp3", "Test 123"},
        {"mp3/musicbrainz-sinners-prayer.id3v24.mp3", "Test 123"},
        // The first COMM carries the description iTunPGAP and the text 0.
        {"mp3/issue-502.mp3", "0"},
        {"data:sjis-5c-trail.mp3", "予定表"},
        // ID3v1.1: 28 comment bytes before the track number.
        {"mp3/id3v1_Blood_Sugar.mp3", "abcdefg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.comment, ReadForList(ReadMpegFile, LoadAudio(c.file)).comment) << c.file;
    }
}

TEST(MpegReader, CommDescriptionRules) {
    const std::string noDescription = Utf16LeWithBom("") + std::string(2, '\0') + Utf16LeWithBom("abc");
    const std::string oneCharDescription = Utf16LeWithBom("d") + std::string(2, '\0') + Utf16LeWithBom("text");
    const std::string descriptionOnly = Utf16LeWithBom("only") + std::string(2, '\0');
    const struct {
        std::string data;
        const char* comment;
    } cases[] = {
        {std::string("\x01"
                     "eng",
                     4) +
             noDescription,
         "abc"},
        {std::string("\x01"
                     "eng",
                     4) +
             oneCharDescription,
         "text"},
        {std::string("\x01"
                     "eng",
                     4) +
             descriptionOnly,
         "only"},
        {std::string("\x00"
                     "engdesc\x00"
                     "latin",
                     14),
         "latin"},
        {std::string("\x03"
                     "eng"
                     "\x00"
                     "\xE6\x97\xA5\xE6\x9C\xAC",
                     11),
         "日本"},
    };
    for (const auto& c : cases) {
        const ListRead read = ReadForList(ReadMpegFile, Id3v23(Frame23("COMM", c.data)));
        EXPECT_EQ(c.comment, read.comment);
    }
}

TEST(MpegReader, UnknownTextEncodingLeavesEmptyTerminatedTitle) {
    const ListRead read = ReadForList(ReadMpegFile, Id3v23(Frame23("TIT2", "\x05junk")));
    EXPECT_EQ(0, read.result);
    EXPECT_EQ("", read.title);
}

TEST(MpegReader, Id3v24FrameSizeIsSynchsafe) {
    // 200 bytes: stored as 01 48, which read as a plain number is 328.
    const std::string text(199, 'x');
    const std::string frame = std::string("TIT2", 4) + Synchsafe(200) + std::string(2, '\0') + '\0' + text;
    const std::string tag = std::string("ID3\x04\x00\x00", 6) + Synchsafe(uint32_t(frame.size())) + frame;
    EXPECT_EQ(text, ReadForList(ReadMpegFile, tag).title);
}

// Version 2.4 undoes unsynchronisation frame by frame (a frame's size counts
// its stuffed bytes) and keeps its footer outside the tag size; version 2.3
// undoes it over the whole tag, whose frame sizes count the bytes without it.
TEST(MpegReader, Id3v24UnsynchronisationIsPerFrameAndTheFooterIsOutsideTheTag) {
    const auto frame24 = [](const char* id, const std::string& data, char flags) {
        return std::string(id, 4) + Synchsafe(uint32_t(data.size())) + '\0' + flags + data;
    };
    const auto tag24 = [](char flags, const std::string& frames) {
        return std::string("ID3\x04\x00", 5) + flags + Synchsafe(uint32_t(frames.size())) + frames;
    };
    // A picture whose bytes were stuffed (each FF followed by a 00), before the title.
    std::string picture("\x00image/jpeg\x00\x03\x00", 14);
    for (int i = 0; i < 8; i++) {
        picture += std::string("\xFF\x00\xD8", 3);
    }
    const std::string title = frame24("TIT2", std::string("\x03Late Title", 11), '\0');
    const std::string artist = frame24("TPE1", std::string("\x03" "Artist", 7), '\0');
    const struct {
        const char* what;
        std::string tag;
        const char* expected;
    } cases[] = {
        {"tag flag: every frame unsynchronised", tag24('\x80', frame24("APIC", picture, '\x02') + title + artist),
         "Late Title / Artist"},
        {"frame flag only", tag24('\0', frame24("APIC", picture, '\x02') + title + artist), "Late Title / Artist"},
        {"footer after the frames", tag24('\x10', artist + title) + std::string("3DI\x04\x00\x10", 6) +
                                        Synchsafe(uint32_t(artist.size() + title.size())),
         "Late Title / Artist"},
        // Version 2.3: the whole tag stuffed, the frame's size counting "\0A\xFF" "B".
        {"2.3 whole tag", std::string("ID3\x03\x00\x80", 6) + Synchsafe(15) + std::string("TIT2", 4) + Be32(4) +
                              std::string(2, '\0') + std::string("\0A\xFF\x00" "B", 5),
         "A\xFF" "B"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, ReadForList(ReadMpegFile, c.tag).title) << c.what;
    }
}

TEST(MpegReader, LongTitlesAreCutBetweenCharacters) {
    // 254 ASCII bytes then "表": the cut at 255 would split it.
    EXPECT_EQ(std::string(254, 'a'), ReadForList(ReadMpegFile, LoadAudio("data:long-sjis-title.mp3")).title);
    // 128 UTF-16 "表" give 256 bytes; 127 whole characters remain.
    std::string wide("\x01\xFF\xFE", 3);
    std::string expected;
    for (int i = 0; i < 128; ++i) {
        wide += "\x68\x88";
        expected += i < 127 ? "表" : "";
    }
    const ListRead read = ReadForList(ReadMpegFile, Id3v23(Frame23("TIT2", wide)));
    EXPECT_EQ(expected, read.title);
    // Title and artist together are cut to 255 bytes.
    const std::string joined =
        Id3v23(Frame23("TIT2", '\0' + std::string(250, 't')) + Frame23("TPE1", std::string("\0artist", 7)));
    EXPECT_EQ(std::string(250, 't') + " / ar", ReadForList(ReadMpegFile, joined).title);
}

TEST(MpegReader, PropertiesKeepTitleAndArtistApart) {
    const InfoRead read = ReadForInfo(ReadMpegFile, LoadAudio("mp3/musicbrainz-sinners-prayer.id3v23.mp3"));
    EXPECT_EQ(15, read.result);
    EXPECT_EQ("Sinner's Prayer", read.title);
    EXPECT_EQ("Beth Hart & Joe Bonamassa", read.artist);
    EXPECT_EQ("Test 123", read.secondText);
    EXPECT_EQ(0, read.trackNames);
    EXPECT_EQ(0, read.shownTracks);
    EXPECT_EQ(0xFF, read.firstChannel);
}

TEST(MpegReader, ArtistOnlyShowsSlashAndArtist) {
    const ListRead read = ReadForList(ReadMpegFile, Id3v23(Frame23("TPE1", std::string("\0Solo", 5))));
    EXPECT_EQ("/ Solo", read.title);
    EXPECT_EQ(6, read.result);
}

TEST(MpegReader, DetectsTagKindAndPageName) {
    const std::string rmp3 = "RIFF" + Le32(16) + "RMP3" + "LIST" + Le32(4) + "INFO";
    const struct {
        std::string bytes;
        int kind;
        const char* page;
    } cases[] = {
        {LoadAudio("mp3/id3v2.3.mp3"), kMp3TagId3v2, "ID3v2"},
        {LoadAudio("mp3/id3v1_Blood_Sugar.mp3"), kMp3TagId3v1, "ID3v1"},
        {LoadAudio("mp3/silence-2s-16000-no-tags.mp3"), kMp3TagNone, "ID3v1(*)"},
        {LoadAudio("wav/riff-iprt-tag.wav"), kMp3TagRiffWave, "mp3infp"},
        {rmp3, kMp3TagRiffRmp3, "Riff SIF"},
        {"ID3", kMp3TagNone, "ID3v1(*)"},
    };
    for (const auto& c : cases) {
        MemorySongFile file(c.bytes.data(), uint32_t(c.bytes.size()));
        const int kind = DetectMp3TagKind(file);
        EXPECT_EQ(c.kind, kind);
        EXPECT_STREQ(c.page, Mp3TagPageName(kind));
    }
}

TEST(MpegReader, HugeId3v2TagsAreWalkedInWindows) {
    // Tags of the largest size the header can state (256 MiB, the file sparse),
    // whole or unsynchronised: the title in the first frame, or behind a
    // picture frame of nearly the whole tag. The reader holds no more than a
    // window of the tag at a time, whatever it claims.
    const uint32_t bodySize = kLargestId3v2Body;
    const std::string title = Frame23("TIT2", std::string("\0Big Tag Title", 14));
    const std::string picture = std::string("APIC", 4) + Be32(uint32_t(bodySize - 10 - title.size())) + "\0\0";
    const struct {
        const char* name;
        const char* header;  // "ID3", version, revision, flags
        std::string first;   // what begins the tag
        std::string last;    // what ends it
    } cases[] = {
        {"2.3 title first", "ID3\x03\x00\x00", title, ""},
        {"2.3 unsynchronised, title first", "ID3\x03\x00\x80", title, ""},
        {"2.4 unsynchronised, title first", "ID3\x04\x00\x80",
         std::string("TIT2", 4) + Synchsafe(14) + std::string("\0\0\0Big Tag Title", 16), ""},
        {"2.3 title behind a picture", "ID3\x03\x00\x00", picture, title},
        {"2.3 unsynchronised, title behind a picture", "ID3\x03\x00\x80", picture, title},
    };
    ScratchFolder folder;
    const std::string path = folder.File("huge-tag.mp3");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteLargestId3v2File(path, c.header, c.first, c.last));
        const auto start = std::chrono::steady_clock::now();
        const CountedRead read = ReadCountedFile(ReadMpegFile, path);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ("Big Tag Title", read.read.title);
        EXPECT_LE(read.largestRead, kId3v2WindowBytes);
        // Passing over 256 MiB takes a second or two in the sanitizer build.
        EXPECT_LT(seconds, 30.0);
    }
}

TEST(MpegReader, TruncatedFilesNeverFail) {
    for (const char* name : {"mp3/id3v2.4.mp3", "mp3/id3v2-xheader.mp3", "mp3/issue-979.mp3"}) {
        const std::string bytes = LoadAudio(name);
        for (size_t cut = 0; cut < bytes.size() && cut < 20000; cut += 37) {
            const ListRead read = ReadForList(ReadMpegFile, bytes.substr(0, cut));
            EXPECT_GE(read.result, 0);
            EXPECT_LE(read.title.size(), 255u);
        }
    }
}

}  // namespace
