// ReadSongInfo: classification, dispatch and the titles shown for songs that
// cannot be read. Songs are small MIDI files built here, written to a scratch
// folder or served from memory as archive members.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "TestPaths.h"
#include "analysis/FileTypes.h"
#include "analysis/SongReaders.h"
#include "core/SongFile.h"
#include "core/Text.h"

namespace {

const char kFallback[] = "[なし]";
const char kDenied[] = "[アクセスが拒否されました]";
const char kCannotRead[] = "[ファイルを読めません]";
const char kUnsupported[] = "[対応していない形式のデータです]";

std::string BigEndian32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

// A format 0 Standard MIDI File whose only track starts with a track name.
std::string MidiWithTrackName(const std::string& name) {
    std::string track = std::string("\x00\xFF\x03", 3) + char(name.size()) + name;
    track += std::string("\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00", 12);
    std::string header = std::string("MThd") + BigEndian32(6) + std::string("\x00\x00\x00\x01\x01\xE0", 6);
    return header + "MTrk" + BigEndian32(uint32_t(track.size())) + track;
}

// Archive members: "member-locked>..." and "member-denied>..." fail to open
// with the matching error, "member>..." is served from `memberBytes`.
std::string memberBytes;

int MemberKindOfPath(const char* path) {
    return std::strncmp(path, "member", 6) == 0 ? 1 : 0;
}

std::unique_ptr<SongFile> OpenMember(const char* path, int, const SongOpenRequest&, uint32_t* lastError) {
    if (std::strncmp(path, "member-locked>", 14) == 0) {
        *lastError = kErrorSharingViolation;
        return nullptr;
    }
    if (std::strncmp(path, "member-denied>", 14) == 0) {
        *lastError = kErrorAccessDenied;
        return nullptr;
    }
    return std::make_unique<MemorySongFile>(memberBytes.data(), uint32_t(memberBytes.size()));
}

int platformCalls = 0;
std::string platformPath;

int32_t PlatformReaderGivingTitle(const char* path, SongInfo*, char* title, char* comment) {
    ++platformCalls;
    platformPath = path;
    CopyBounded(title, "WM title", 255);
    if (comment) {
        CopyBounded(comment, "WM comment", 255);
    }
    return 8;
}

int32_t PlatformReaderWithoutTitle(const char*, SongInfo*, char* title, char*) {
    ++platformCalls;
    title[0] = '\0';
    return 0;
}

int32_t PlatformReaderThatCannotOpen(const char*, SongInfo*, char* title, char*) {
    ++platformCalls;
    CopyBounded(title, "half-written", 255);
    return kReadUnsupported;
}

class ReadSongInfoTest : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveHooks(MemberKindOfPath, OpenMember);
        SetPlatformAsfReader(nullptr);
        SetWindowsMediaAvailable(false);
        platformCalls = 0;
        platformPath.clear();
        memberBytes.clear();
    }
    void TearDown() override {
        SetArchiveHooks(nullptr, nullptr);
        SetPlatformAsfReader(nullptr);
        SetWindowsMediaAvailable(false);
    }

    // Runs ReadSongInfo on path; title_ and comment_ hold what it left.
    int32_t Read(const std::string& path, int kind) {
        std::memset(title_, 'T', sizeof title_);
        std::memset(comment_, 'C', sizeof comment_);
        CopyBounded(title_, path.c_str(), kTitleBufferBytes - 1);
        return ReadSongInfo(nullptr, title_, comment_, kind, kFallback, true);
    }

    std::string WriteSong(const std::string& name, const std::string& bytes) {
        const std::string path = scratch_.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }

    ScratchFolder scratch_;
    char title_[kTitleBufferBytes];
    char comment_[kCommentBufferBytes];
};

}  // namespace

TEST_F(ReadSongInfoTest, MidiTitlesAreTrimmed) {
    const struct {
        std::string stored;
        const char* shown;
    } cases[] = {
        {"Song ソ表", "Song ソ表"}, {"Title  ", "Title"}, {"Title\r\n", "Title"},
        {"Lead  \r\n", "Lead  "},   {"    ", kFallback},  {"", kFallback},
    };
    for (const auto& c : cases) {
        const std::string path = WriteSong("song.mid", MidiWithTrackName(c.stored));
        const int32_t result = Read(path, -1);
        EXPECT_EQ(int32_t(c.stored.size()), result) << c.stored;
        EXPECT_STREQ(c.shown, title_) << c.stored;
        EXPECT_STREQ("", comment_) << c.stored;
    }
}

TEST_F(ReadSongInfoTest, FailuresBecomeBracketedTitles) {
    const std::string garbage = WriteSong("noise.mid", std::string(300, 'x'));
    memberBytes = MidiWithTrackName("unused");
    const struct {
        std::string path;
        int kind;
        int32_t result;
        const char* shown;
    } cases[] = {
        {scratch_.File("missing.mid"), -1, kReadCannotRead, kCannotRead},
        {garbage, -1, kReadUnsupported, kUnsupported},
        {garbage, 5, kReadUnsupported, kUnsupported},
        {scratch_.File("notes.txt"), -1, kReadUnsupported, kUnsupported},
        {scratch_.File("x.wma"), -1, kReadUnsupported, kUnsupported},
        {"member-locked>a.mid", -1, kReadLocked, kDenied},
        {"member-denied>a.mid", -1, kReadDenied, kDenied},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.result, Read(c.path, c.kind)) << c.path;
        EXPECT_STREQ(c.shown, title_) << c.path;
        EXPECT_STREQ("", comment_) << c.path;
    }
}

TEST_F(ReadSongInfoTest, ArchiveMembersAreReadFromMemory) {
    memberBytes = MidiWithTrackName("In the archive");
    EXPECT_EQ(14, Read("member>dir\\SONG.MID", -1));
    EXPECT_STREQ("In the archive", title_);
}

TEST_F(ReadSongInfoTest, WindowsMediaGoesToThePlatformReaderFirst) {
    SetWindowsMediaAvailable(true);
    SetPlatformAsfReader(PlatformReaderGivingTitle);
    const std::string path = WriteSong("x.wma", std::string(64, '\0'));
    EXPECT_EQ(8, Read(path, -1));
    EXPECT_STREQ("WM title", title_);
    EXPECT_STREQ("WM comment", comment_);
    EXPECT_EQ(path, platformPath);
}

TEST_F(ReadSongInfoTest, AudioWithoutTitleShowsTheFallback) {
    SetPlatformAsfReader(PlatformReaderWithoutTitle);
    const std::string path = WriteSong("x.asf", std::string(64, '\0'));
    EXPECT_EQ(0, Read(path, kKindWindowsMedia));
    EXPECT_STREQ(kFallback, title_);
    EXPECT_EQ(1, platformCalls);
}

// What our own ASF parser makes of the bytes, read directly.
static int32_t OwnAsfResult(const std::string& bytes) {
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    char title[kTitleBufferBytes] = {};
    char comment[kCommentBufferBytes] = {};
    return ReadAsfFile(file, nullptr, title, comment);
}

TEST_F(ReadSongInfoTest, PlatformReaderFailureFallsBackToOurAsfParser) {
    SetPlatformAsfReader(PlatformReaderThatCannotOpen);
    const std::string bytes(64, 'z');
    const std::string path = WriteSong("x.asf", bytes);
    const int32_t own = OwnAsfResult(bytes);
    ASSERT_LT(own, 0);
    EXPECT_EQ(own, Read(path, kKindWindowsMedia));
    EXPECT_STRNE("half-written", title_);
    EXPECT_EQ('[', title_[0]);
    EXPECT_EQ(1, platformCalls);
}

TEST_F(ReadSongInfoTest, MembersInMemorySkipThePlatformReader) {
    SetPlatformAsfReader(PlatformReaderGivingTitle);
    memberBytes = std::string(64, 'z');
    EXPECT_EQ(OwnAsfResult(memberBytes), Read("member>x.wma", kKindWindowsMedia));
    EXPECT_EQ(0, platformCalls);
}
