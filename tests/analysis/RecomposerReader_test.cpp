// The Recomposer reader on two real songs (a version 2 and a version 3 file)
// and on hand-made ones: memo lines that cut a double-byte character, muted
// tracks, track counts above 64 and files that end early.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/SongInfo.h"
#include "analysis/SongReaders.h"
#include "core/Text.h"

namespace {

struct RcpRead {
    int32_t result;
    std::string title;
};

RcpRead ReadBytes(const std::string& bytes, SongInfo* info) {
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    char title[kTitleBufferBytes];
    std::snprintf(title, sizeof(title), "%s", "C:\\songs\\path.rcp");
    const int32_t result = ReadRecomposerFile(file, info, title);
    if (result < 0) {
        return {result, ""};
    }
    TrimTitle(size_t(result), title);
    return {result, title};
}

RcpRead ReadRcp(const std::string& path, SongInfo* info) {
    const std::string bytes = ReadWholeFile(path);
    EXPECT_FALSE(bytes.empty()) << path;
    return ReadBytes(bytes, info);
}

// The memo text split at its CR LF pairs.
std::vector<std::string> MemoLines(const SongInfo& info) {
    std::vector<std::string> lines;
    const std::string text = info.secondText;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "memo text does not end in CR LF";
    return lines;
}

std::string Trimmed(const std::string& s) {
    const size_t first = s.find_first_not_of(' ');
    const size_t last = s.find_last_not_of(' ');
    return first == std::string::npos ? "" : s.substr(first, last - first + 1);
}

TEST(RecomposerReader, Version3SongUnderAnRcpName) {
    SongInfo info;
    const RcpRead read = ReadRcp(CorpusPath("rcp/test.rcp"), &info);
    EXPECT_EQ(read.result, 64);
    EXPECT_EQ(read.title, "Test song");
    EXPECT_EQ(info.format, 3);
    EXPECT_EQ(info.trackCount, 36);
    EXPECT_EQ(info.shownTracks, 36);
    EXPECT_EQ(info.trackNames.Count(), 36);
    EXPECT_EQ(info.timeBase, 48);
    EXPECT_EQ(info.tempo, 120);
    EXPECT_EQ(info.beatsPerBar, 4);
    EXPECT_EQ(info.beatUnit, 4);
    EXPECT_STREQ(KeyName(info.key), "C Major");
    EXPECT_EQ(info.channels[0], 0);
    EXPECT_EQ(info.channels[15], 15);
    EXPECT_EQ(info.channels[16], 0xFF);
    EXPECT_STREQ(info.copyright, "");
    const std::vector<std::string> lines = MemoLines(info);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], "This is a song file for testin");
    EXPECT_EQ(Trimmed(lines[1]), "g recomposer-file.");
    EXPECT_EQ(Trimmed(lines[2]), "これ");
    EXPECT_EQ(lines[3], "は recompser-file のテスト用た");
    EXPECT_EQ(Trimmed(lines[4]), "めのソングファイルです。");
    EXPECT_EQ(lines[4].size(), 30u);
}

TEST(RecomposerReader, Version2SongWithShiftJisTitle) {
    SongInfo info;
    const RcpRead read = ReadRcp(CorpusPath("rcp/grand-slam-v201.rcp"), &info);
    EXPECT_EQ(read.result, 64);
    EXPECT_EQ(read.title, " 【 Grand Slam Ver.2.01  】(GS) ｂｙ　あのまりあ  1994,30,March");
    EXPECT_EQ(info.format, 2);
    EXPECT_EQ(info.trackCount, 18);
    EXPECT_EQ(info.shownTracks, 18);
    EXPECT_EQ(info.timeBase, 48);
    EXPECT_EQ(info.tempo, 120);
    EXPECT_EQ(info.beatsPerBar, 4);
    EXPECT_EQ(info.key, 0);
    EXPECT_EQ(info.channels[9], 9);
    EXPECT_EQ(info.channels[16], 0xFF);
    const std::vector<std::string> lines = MemoLines(info);
    ASSERT_EQ(lines.size(), 12u);
    // Version 2 lines start with a space of their own.
    EXPECT_EQ(lines[1], "  【 Grand Slam Ver.2.01  】 ");
    EXPECT_EQ(lines[2], "      ｂｙ  あのまりあ       ");
    EXPECT_LE(std::string(info.secondText).size(), 384u);
}

TEST(RecomposerReader, MemoLinesMoveACutCharacterWhole) {
    SongInfo info;
    const RcpRead read = ReadRcp(TestDataPath("rcp/v2-split-memo.rcp"), &info);
    EXPECT_EQ(read.result, 64);
    EXPECT_EQ(read.title, "");  // 64 spaces
    const std::vector<std::string> lines = MemoLines(info);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[0], " " + std::string(27, 'a'));
    EXPECT_EQ(lines[1], " あ" + std::string(27, 'b'));
    // A full-width space cut in two becomes a plain space at the next line's start.
    EXPECT_EQ(lines[2], " " + std::string(27, 'c'));
    EXPECT_EQ(lines[3], "  " + std::string(27, 'd'));
    EXPECT_EQ(lines[4], " 表示ソフト" + std::string(18, ' '));
    EXPECT_EQ(lines[11], std::string(29, ' '));
}

TEST(RecomposerReader, TracksShowPortChannelAndName) {
    SongInfo info;
    ReadRcp(TestDataPath("rcp/v2-split-memo.rcp"), &info);
    EXPECT_EQ(info.trackCount, 18);  // stored as 0
    EXPECT_EQ(info.shownTracks, 18);
    EXPECT_EQ(info.timeBase, 480);
    EXPECT_EQ(info.tempo, 150);
    EXPECT_EQ(info.beatsPerBar, 3);
    EXPECT_STREQ(KeyName(info.key), "C Minor");
    const struct {
        int track;
        uint8_t port;
        uint8_t channel;
        const char* name;
    } cases[] = {
        {0, 0, 0, "表メロ"}, {1, 1, 9, "Bass"}, {2, 0, 0xFF, "Muted"}, {3, 0, 0xFF, "No channel"}, {17, 1, 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(info.ports[c.track], c.port) << c.track;
        EXPECT_EQ(info.channels[c.track], c.channel) << c.track;
        EXPECT_STREQ(info.trackNames.Read(c.track, 0), c.name) << c.track;
    }
}

TEST(RecomposerReader, AtMost64TracksShown) {
    SongInfo info;
    EXPECT_EQ(ReadRcp(TestDataPath("rcp/v3-100-tracks.rcp"), &info).title, "Many tracks");
    EXPECT_EQ(info.trackCount, 100);
    EXPECT_EQ(info.shownTracks, 64);
    EXPECT_EQ(info.trackNames.Count(), 64);
    EXPECT_STREQ(info.trackNames.Read(63, 0), "T63");
    EXPECT_EQ(info.ports[63], 1);
    EXPECT_EQ(info.channels[63], 15);
    EXPECT_EQ(info.tempo, 140);
    EXPECT_EQ(info.beatUnit, 8);
    EXPECT_STREQ(KeyName(info.key), "D Major");
}

TEST(RecomposerReader, ShortAndForeignFiles) {
    const std::string v3 = ReadWholeFile(TestDataPath("rcp/v3-100-tracks.rcp"));
    ASSERT_GT(v3.size(), 3300u);
    struct Case {
        const char* name;
        std::string bytes;
        int32_t result;
        std::string title;
    };
    const Case cases[] = {
        {"header only", v3.substr(0, 600), 64, "Many tracks"},
        {"cut inside the title", v3.substr(0, 50), 18, "Many tracks"},
        {"identification only", v3.substr(0, 31), 0, ""},
        {"identification cut", v3.substr(0, 30), kReadUnsupported, ""},
        {"version 2 identification", "RCM-PC98V2.0(C)COME ON MUSIC", 0, ""},
        {"other text", "RCM-PC98V2.0(C)COME ON MUSIX" + std::string(100, ' '), kReadUnsupported, ""},
        {"empty", "", kReadUnsupported, ""},
    };
    for (const Case& c : cases) {
        for (bool full : {false, true}) {
            SongInfo info;
            const RcpRead read = ReadBytes(c.bytes, full ? &info : nullptr);
            EXPECT_EQ(read.result, c.result) << c.name;
            EXPECT_EQ(read.title, c.title) << c.name;
        }
    }
    SongInfo info;
    ReadBytes(v3.substr(0, 3224 + 48 * 2), &info);
    EXPECT_EQ(info.shownTracks, 64);
    EXPECT_EQ(info.channels[1], 1);
    EXPECT_EQ(info.channels[2], 0xFF);  // its header is not in the file
    EXPECT_STREQ(info.trackNames.Read(2, 0), "");
}

}  // namespace
