// The properties texts of real songs (a format 1 MIDI file, MP3 files with
// and without an artist, Recomposer songs, unreadable files) and the size,
// channel and caption texts at their edges.
#include "catalogue/SongProperties.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/SongReaders.h"
#include "analysis/SoundModules.h"
#include "catalogue/RelatedFiles.h"

namespace {

SongPropertyTexts Fill(const std::string& path, const char* userExt = "") {
    SongPropertyRequest request;
    request.path = path;
    request.displayName = "song";
    request.userTextExt = userExt;
    SongPropertyTexts texts;
    FillSongProperties(request, &texts);
    return texts;
}

TEST(SongPropertyTexts, SizeTextsAtTheUnitEdges) {
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 バイト"},
        {512, "512 バイト"},
        {1023, "1,023 バイト"},
        {1024, "1KB (1,024 バイト)"},
        {1034, "1KB (1,034 バイト)"},  // 9 thousandths are not shown
        {1035, "1.01KB (1,035 バイト)"},
        {1536, "1.5KB (1,536 バイト)"},
        {12800, "12.5KB (12,800 バイト)"},
        {1048575, "1023.99KB (1,048,575 バイト)"},
        {1048576, "1MB (1,048,576 バイト)"},
        {1310720, "1.25MB (1,310,720 バイト)"},
        {5000000000ull, "4768.37MB (5,000,000,000 バイト)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.text, SizeText(c.bytes)) << c.bytes;
    }
    EXPECT_EQ("1,023", GroupThousands(1023));
    EXPECT_EQ("999", GroupThousands(999));
    EXPECT_EQ("1,000,000", GroupThousands(1000000));
}

TEST(SongPropertyTexts, ChannelCellsNamePortAndChannel) {
    EXPECT_EQ("A01", ChannelText(0, 0));
    EXPECT_EQ("B10", ChannelText(1, 9));
    EXPECT_EQ("Z16", ChannelText(25, 15));
    EXPECT_EQ("-16", ChannelText(26, 15));
    EXPECT_EQ("-", ChannelText(1, 0xFF));
}

TEST(SongPropertyTexts, CaptionFormatAndDocumentLabels) {
    EXPECT_EQ("表ソ のプロパティ - Quillory", PropertiesCaption("表ソ"));
    EXPECT_EQ("プロパティ - Quillory", PropertiesCaption(""));
    EXPECT_EQ("標準 MIDIファイル (Format1)", FormatText(0, 1));
    EXPECT_EQ("RIFF MIDIファイル (Format0)", FormatText(1, 0));
    EXPECT_EQ("レコンポーザ MIDIファイル (Ver.3)", FormatText(2, 3));
    EXPECT_EQ("MPEG Audioファイル (RIFF MP3)", FormatText(12, 0));
    EXPECT_EQ("", FormatText(-1, 0));
    EXPECT_EQ("未定義", UserDocumentLabel(""));
    EXPECT_EQ("me(&U)", UserDocumentLabel("me"));
    EXPECT_EQ(-1, FirstDocumentChoice(0));
    EXPECT_EQ(1, FirstDocumentChoice(kDocumentTxt | kDocumentLog));
    EXPECT_EQ(4, FirstDocumentChoice(kDocumentUser));
}

TEST(SongProperties, FormatOneMidiShowsHeaderKeyAndTracks) {
    const SongPropertyTexts t = Fill(TestDataPath("midi/conductor-format1.mid"));
    ASSERT_GE(t.result, 0);
    EXPECT_EQ("Conductor Song", t.title);
    EXPECT_EQ("著作権 :", t.thirdLabel);
    EXPECT_EQ("見つかりません", t.thirdValue);
    EXPECT_EQ("標準 MIDIファイル (Format1)", t.format);
    EXPECT_EQ("1", t.trackCount);  // the conductor track plays nothing
    EXPECT_EQ("150", t.tempo);
    EXPECT_EQ("6/8", t.timeSignature);
    EXPECT_EQ("C Minor", t.key);
    EXPECT_EQ("その他", t.module);  // no detection table given
    EXPECT_EQ("93 バイト", t.size);
    EXPECT_EQ("なし", t.wrdFile);
    ASSERT_EQ(1u, t.tracks.size());
    EXPECT_EQ("1", t.tracks[0].number);
    EXPECT_EQ("A03", t.tracks[0].channel);
    EXPECT_EQ("Lead", t.tracks[0].memo);
    EXPECT_EQ("", t.comment);
}

TEST(SongProperties, MidiWithoutKeySignatureShowsNotFound) {
    const SongPropertyTexts t = Fill(TestDataPath("midi/title-in-third-track.mid"));
    ASSERT_GE(t.result, 0);
    EXPECT_EQ("見つかりません", t.key);
}

TEST(SongProperties, Mp3ShowsArtistAndDashesForMidiFields) {
    const SongPropertyTexts t = Fill(CorpusPath("audio/mp3/04-Strawberry.mp3"));
    ASSERT_GE(t.result, 0);
    EXPECT_EQ("アーティスト :", t.thirdLabel);
    EXPECT_EQ("Union Youth", t.thirdValue);
    EXPECT_EQ("MPEG Audioファイル", t.format);
    for (const std::string* field : {&t.trackCount, &t.timeBase, &t.tempo, &t.key, &t.timeSignature}) {
        EXPECT_EQ("-", *field);
    }
    EXPECT_EQ("MPEG", t.module);
    EXPECT_EQ("5.02KB (5,141 バイト)", t.size);
    EXPECT_TRUE(t.tracks.empty());
}

TEST(SongProperties, RecomposerShowsDashForCopyrightAndMemoAsComment) {
    const SongPropertyTexts t = Fill(TestDataPath("rcp/v2-split-memo.rcp"));
    ASSERT_GE(t.result, 0);
    EXPECT_EQ("著作権 :", t.thirdLabel);
    EXPECT_EQ("-", t.thirdValue);
    EXPECT_EQ("レコンポーザ MIDIファイル (Ver.2)", t.format);
    EXPECT_EQ("480", t.timeBase);
    EXPECT_EQ("3/4", t.timeSignature);
    ASSERT_GE(t.tracks.size(), 4u);
    EXPECT_EQ("表メロ", t.tracks[0].memo);
    EXPECT_EQ("A01", t.tracks[0].channel);
    EXPECT_EQ("B10", t.tracks[1].channel);
    EXPECT_EQ("-", t.tracks[3].channel);
    EXPECT_NE(std::string::npos, t.comment.find("表示ソフト"));
}

TEST(SongProperties, UnreadableSongsShowOnlyNameAndFailureTitle) {
    ScratchFolder scratch;
    ASSERT_TRUE(WriteWholeFile(scratch.File("broken.mid"), "MThd"));
    for (const std::string& path : {scratch.File("missing.mid"), scratch.File("broken.mid")}) {
        const SongPropertyTexts t = Fill(path);
        EXPECT_LT(t.result, 0) << path;
        EXPECT_EQ(path, t.fileName);
        EXPECT_EQ('[', t.title[0]) << t.title;
        EXPECT_TRUE(t.format.empty() && t.size.empty() && t.thirdValue.empty() && t.tracks.empty()) << path;
    }
}

#ifndef _WIN32
// The properties take the song's whole path, however long: the buffer the
// title comes back in starts with the path and is never overrun by it.
TEST(SongProperties, PathLongerThanTheTitleBufferIsTakenWhole) {
    ScratchFolder scratch;
    std::string relative;
    while (scratch.Path().size() + relative.size() < size_t(kTitleBufferBytes) + 40) {
        relative += std::string(60, 'n') + "/";
        ASSERT_TRUE(scratch.MakeFolder(relative));
    }
    const std::string path = scratch.File(relative + "song.mid");
    ASSERT_TRUE(WriteWholeFile(path, ReadWholeFile(TestDataPath("midi/conductor-format1.mid"))));
    const SongPropertyTexts t = Fill(path);
    EXPECT_LT(t.result, 0);
    EXPECT_EQ(path, t.fileName);
    EXPECT_EQ('[', t.title[0]) << t.title;
}
#endif

TEST(SongProperties, CompanionsAndDocumentsAreFound) {
    ScratchFolder scratch;
    const std::string midi = ReadWholeFile(TestDataPath("midi/conductor-format1.mid"));
    ASSERT_TRUE(WriteWholeFile(scratch.File("song.mid"), midi));
    ASSERT_TRUE(WriteWholeFile(scratch.File("song.sry"), "x"));
    ASSERT_TRUE(WriteWholeFile(scratch.File("song.txt"), "line1\nline2\r\n表ソ\x81"));
    ASSERT_TRUE(WriteWholeFile(scratch.File("song.me"), "mine"));
    const SongPropertyTexts t = Fill(scratch.File("song.mid"), "me");
    ASSERT_GE(t.result, 0);
    EXPECT_EQ("あり (song.sry)", t.wrdFile);
    EXPECT_EQ(kDocumentTxt | kDocumentUser, t.documentFlags);
    EXPECT_FALSE(t.relatedFiles.empty());
    // LF becomes CR LF, the lead byte left alone at the end is dropped.
    EXPECT_EQ("line1\r\nline2\r\n表ソ", ReadDocumentText(scratch.File("song.mid").c_str(), 1, "me", 4096));
    EXPECT_EQ("mine", ReadDocumentText(scratch.File("song.mid").c_str(), 4, "me", 4096));
    EXPECT_EQ("li", ReadDocumentText(scratch.File("song.mid").c_str(), 1, "me", 2));
    EXPECT_EQ("", ReadDocumentText(scratch.File("song.mid").c_str(), 0, "me", 4096));
}

TEST(SongProperties, DetectedModuleComesFromTheTables) {
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    SetDefaultSoundModules(&modules, &detectors);
    ScratchFolder scratch;
    ASSERT_TRUE(scratch.MakeFolder("XG"));
    ASSERT_TRUE(WriteWholeFile(scratch.File("XG/song.mid"), ReadWholeFile(TestDataPath("midi/conductor-format1.mid"))));
    SongPropertyRequest request;
    request.path = scratch.File("XG/song.mid");
    request.detectors = &detectors;
    request.searchStrFlag = kDefaultSearchStrFlag;
    SongPropertyTexts texts;
    ASSERT_GE(FillSongProperties(request, &texts), 0);
    EXPECT_EQ("XG", texts.module);
}

TEST(SongProperties, ModuleOfTheResetMessageWhenNoDetectionStringMatches) {
    BagBox modules = MakeSoundModuleTable();
    BagBox detectors = MakeSoundModuleDetectorTable();
    SetDefaultSoundModules(&modules, &detectors);
    SongPropertyRequest request;
    // An RMID song with a GS Reset and no module in its title.
    request.path = CorpusPath("midi/spessasynth/unreeeal-superhero-3.rmi");
    request.detectors = &detectors;
    request.searchStrFlag = kSearchStrTitle;
    SongPropertyTexts texts;
    ASSERT_GE(FillSongProperties(request, &texts), 0);
    EXPECT_EQ(kOtherSoundModule, texts.module);
    request.resetModules = &modules;
    ASSERT_GE(FillSongProperties(request, &texts), 0);
    EXPECT_EQ("GS", texts.module);
}

}  // namespace
