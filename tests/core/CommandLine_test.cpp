// The command line over the words that trip naive splitters: quotes around
// spaces, options in either pass, paths whose trail bytes are '\\' ("表" 95 5C,
// "ソ" 83 5C), words past the 511-byte buffer with a lead byte at the cut.
#include "core/CommandLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveKind.h"

namespace {

// Folders from a list; archive members as the catalogue recognises them.
class TableFiles : public CommandLineFiles {
   public:
    explicit TableFiles(std::set<std::string> folders) : folders_(std::move(folders)) {
    }
    bool IsFolder(const char* path) override {
        asked.push_back(path);
        return folders_.count(path) > 0;
    }
    int ArchiveKindOfMember(const char* path) override {
        return ArchiveKindOfPath(path, false);
    }
    std::vector<std::string> asked;

   private:
    std::set<std::string> folders_;
};

class CommandLineTest : public ::testing::Test {
   protected:
    void SetUp() override {
        for (int kind = kArchiveLzh; kind <= kArchiveGca; ++kind) {
            saved_[kind] = ArchiveAvailable(kind);
        }
        // GCA's library is usually missing: its members are plain paths then.
        SetArchiveAvailable(kArchiveLzh, true);
        SetArchiveAvailable(kArchiveZip, true);
        SetArchiveAvailable(kArchiveGca, false);
    }
    void TearDown() override {
        for (int kind = kArchiveLzh; kind <= kArchiveGca; ++kind) {
            SetArchiveAvailable(kind, saved_[kind]);
        }
    }

    // The settings as loaded before the command line is read.
    static CommandLineRequest Stored() {
        CommandLineRequest stored;
        stored.startPlayMode = kStartPlayRepeat;
        stored.playerKind = 4;
        stored.lastPath = "C:\\old\\";
        stored.lastFile = "old.mid";
        stored.includeSubFolders = true;
        return stored;
    }

    CommandLineRequest Parse(const std::string& line) {
        CommandLineRequest request = Stored();
        ParseClientCommandLine(line.c_str(), &files_, &request);
        return request;
    }

    TableFiles files_{{"D:\\midi", "D:\\music", "D:\\表", "D:\\x.lst"}};

   private:
    bool saved_[kArchiveGca + 1] = {};
};

TEST_F(CommandLineTest, PlayOptionsAnyCaseEitherPrefixLastWins) {
    const struct {
        const char* line;
        int32_t mode;
    } cases[] = {
        {"Q.exe", kStartPlayRepeat},
        {"Q.exe /PLAY", kStartPlaySelection},
        {"Q.exe -play", kStartPlaySelection},
        {"Q.exe /Auto", kStartPlayAuto},
        {"Q.exe -RANDOM", kStartPlayRandom},
        {"Q.exe /randomp", kStartPlayRandomFromSelection},
        {"Q.exe /stop", kStartPlayNone},
        {"Q.exe /play /random", kStartPlayRandom},
        {"Q.exe /random /stop", kStartPlayNone},
        {"Q.exe /playx /plays /p /", kStartPlayRepeat},
        {"Q.exe /w:min /w:max", kStartPlayRepeat},
        {"Q.exe \"/play\"", kStartPlaySelection},
        {"  \"C:\\Program Files\\Q.exe\"   /auto  ", kStartPlayAuto},
        {"/play", kStartPlayRepeat},  // the program's own path is never an option
    };
    for (const auto& c : cases) {
        const CommandLineRequest request = Parse(c.line);
        EXPECT_EQ(c.mode, request.startPlayMode) << c.line;
        EXPECT_EQ("C:\\old\\", request.lastPath) << c.line;
        EXPECT_TRUE(request.includeSubFolders) << c.line;
    }
}

TEST_F(CommandLineTest, PlayerOptionsSelectTheirKind) {
    const struct {
        const char* option;
        int32_t kind;
    } cases[] = {
        {"/p:mplay", 0},        {"/p:wmplay", 1},  {"/p:wfp", 2},    {"/p:mpvg", 3},    {"/p:tmidi", 4},
        {"/p:decop", 5},        {"/p:kbmedia", 6}, {"-P:WinAmp", 7}, {"/p:scmpx", 8},   {"/p:gratzer", 9},
        {"/p:audioactive", 10}, {"/p:lilith", 11}, {"/P:USER", 100}, {"/p:unknown", 4}, {"/p:", 4},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.kind, Parse(std::string("Q.exe /stop ") + c.option).playerKind) << c.option;
    }
}

TEST_F(CommandLineTest, UserPlayerOnlyEverPlaysTheSelection) {
    const struct {
        const char* line;
        int32_t kind;
        int32_t mode;
    } cases[] = {
        {"Q.exe /p:user /random", 100, kStartPlaySelection},
        {"Q.exe /repeat /p:user", 100, kStartPlaySelection},
        {"Q.exe /p:user /randomp", 100, kStartPlaySelection},
        {"Q.exe /p:user", 100, kStartPlaySelection},  // the stored repeat mode too
        {"Q.exe /p:user /stop", 100, kStartPlayNone},
        {"Q.exe /p:user /p:winamp /random", 7, kStartPlayRandom},
    };
    for (const auto& c : cases) {
        const CommandLineRequest request = Parse(c.line);
        EXPECT_EQ(c.kind, request.playerKind) << c.line;
        EXPECT_EQ(c.mode, request.startPlayMode) << c.line;
    }
}

TEST_F(CommandLineTest, SubFolderOptionBeatsPathsWhereverItStands) {
    const struct {
        const char* line;
        bool on;
    } cases[] = {
        {"Q.exe /s:0 D:\\music", false}, {"Q.exe D:\\music /s:0", false}, {"Q.exe D:\\music", false},
        {"Q.exe D:\\music /s", true},    {"Q.exe /S D:\\music", true},    {"Q.exe /s:1 D:\\music", true},
        {"Q.exe /s:0", false},           {"Q.exe /s /s:0", false},        {"Q.exe /s:2", true},
        {"Q.exe /play", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.on, Parse(c.line).includeSubFolders) << c.line;
    }
}

TEST_F(CommandLineTest, PathWordsChooseLocationAndFile) {
    const struct {
        const char* line;
        const char* location;
        const char* file;
    } cases[] = {
        {"Q.exe D:\\midi", "D:\\midi\\", ""},
        {"Q.exe D:\\midi\\", "D:\\midi\\", ""},
        {"Q.exe D:\\lists\\best.lst", "D:\\lists\\best.lst>", ""},
        {"Q.exe D:\\lists\\BEST.LST", "D:\\lists\\BEST.LST>", ""},
        {"Q.exe D:\\lists\\best.lst>song.mid", "D:\\lists\\best.lst>", "song.mid"},
        {"Q.exe D:\\lists\\best.lst>", "D:\\lists\\best.lst>", ""},
        {"Q.exe D:\\x.lst", "D:\\x.lst\\", ""},  // a folder with a list file's name
        {"Q.exe D:\\midi\\a.lzh>song.mid", "D:\\midi\\", "a.lzh>song.mid"},
        {"Q.exe D:\\midi\\A.ZIP>sub\\x.mid", "D:\\midi\\", "A.ZIP>sub\\x.mid"},
        {"Q.exe D:\\midi\\a.neo>b>c.mid", "D:\\midi\\", "a.neo>b>c.mid"},
        {"Q.exe a.lzh>s.mid", "", "a.lzh>s.mid"},
        {"Q.exe D:\\表\\ソ.lzh>表\\s.mid", "D:\\表\\", "ソ.lzh>表\\s.mid"},
        {"Q.exe D:\\m\\a.gca>s.mid", "D:\\m\\a.gca>", "s.mid"},  // no GCA library
        {"Q.exe D:\\m\\a.lzh\\s.mid", "D:\\m\\a.lzh\\", "s.mid"},
        {"Q.exe D:\\songs\\missing.mid", "D:\\songs\\", "missing.mid"},
        {"Q.exe D:\\表", "D:\\表\\", ""},
        {"Q.exe D:\\表\\ソ.mid", "D:\\表\\", "ソ.mid"},
        {"Q.exe D:\\能ソ", "D:\\", "能ソ"},
        {"Q.exe play", "", "play"},
        {"Q.exe \"D:\\my music\\a b.mid\"", "D:\\my music\\", "a b.mid"},
        {"Q.exe D:\\\"my music\"\\a.mid", "D:\\my music\\", "a.mid"},
        {"Q.exe \"D:\\open quote\\a.mid /play", "D:\\open quote\\", "a.mid /play"},
        {"Q.exe D:\\a\\one.mid D:\\midi", "D:\\midi\\", ""},
        {"Q.exe D:\\midi D:\\a\\two.mid /play", "D:\\a\\", "two.mid"},
        // A lead byte takes the space after it: one path word, no option.
        {"Q.exe D:\\x\x81 /play", "D:\\", "x\x81 /play"},
    };
    for (const auto& c : cases) {
        const CommandLineRequest request = Parse(c.line);
        EXPECT_EQ(c.location, request.lastPath) << c.line;
        EXPECT_EQ(c.file, request.lastFile) << c.line;
        EXPECT_FALSE(request.includeSubFolders) << c.line;
    }
}

TEST_F(CommandLineTest, FoldersAreAskedOnlyForNamesWithoutMark) {
    Parse("Q.exe D:\\midi\\ D:\\midi D:\\l.lst>x.mid D:\\a.lzh>x.mid D:\\b.gca>x.mid D:\\c.mid");
    const std::vector<std::string> expected = {"D:\\midi", "D:\\c.mid"};
    EXPECT_EQ(expected, files_.asked);
}

TEST_F(CommandLineTest, OverlongWordsAreCutOnACharacterAndLaterWordsStillCount) {
    const std::string kanji = "表";
    std::string repeated;
    for (int i = 0; i < 300; ++i) {
        repeated += kanji;
    }
    const struct {
        std::string word;
        std::string location;
        std::string file;
    } cases[] = {
        // 511 bytes fit whole; the 512th byte and beyond are dropped.
        {"D:\\" + std::string(508, 'a'), "D:\\", std::string(508, 'a')},
        {"D:\\" + std::string(700, 'a'), "D:\\", std::string(508, 'a')},
        // Byte 511 is a lead byte: the cut falls before its character.
        {"D:\\x" + repeated, "D:\\", "x" + repeated.substr(0, 506)},
        {"D:\\" + repeated, "D:\\", repeated.substr(0, 508)},
        {"\"D:\\sp ace\\" + repeated + "\"", "D:\\sp ace\\", repeated.substr(0, 500)},
        {"D:\\" + repeated + ">a.mid", "D:\\", repeated.substr(0, 508)},
    };
    for (const auto& c : cases) {
        const CommandLineRequest request = Parse("Q.exe " + c.word + " /play");
        EXPECT_EQ(c.location, request.lastPath) << c.word.size();
        EXPECT_EQ(c.file, request.lastFile) << c.word.size();
        EXPECT_EQ(kStartPlaySelection, request.startPlayMode) << c.word.size();
    }
}

TEST_F(CommandLineTest, LocationsPastTheWordLimitStayWithinTheSetting) {
    // The longest word naming a folder or a list file gains one byte.
    const std::string folder = "D:\\" + std::string(508, 'f');
    const std::string list = "D:\\" + std::string(504, 'f') + ".lst";
    TableFiles files({folder});
    for (const std::string& word : {folder, list}) {
        CommandLineRequest request;
        ParseClientCommandLine(("Q.exe " + word).c_str(), &files, &request);
        EXPECT_EQ(word, request.lastPath);
        EXPECT_EQ("", request.lastFile);
    }
}

TEST(CommandLineWindow, WindowPassReadsOnlyTheWindowOptions) {
    const struct {
        const char* line;
        int32_t state;
    } cases[] = {
        {"Q.exe", kWindowStateMaximized},
        {"Q.exe /w:min", kWindowStateMinimized},
        {"Q.exe -W:MAX", kWindowStateMaximized},
        {"Q.exe /w:normal", kWindowStateNormal},
        {"Q.exe /w:min D:\\midi /play /w:normal", kWindowStateNormal},
        {"Q.exe /w:minimized /w: /w", kWindowStateMaximized},
        {"Q.exe w:min \"/w:min\"", kWindowStateMinimized},
        {"Q.exe w:min", kWindowStateMaximized},
        {"/w:min", kWindowStateMaximized},
        {"", kWindowStateMaximized},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.state, ParseWindowStateOptions(c.line, kWindowStateMaximized)) << c.line;
    }
}

TEST(CommandLineSystem, RealFoldersFilesAndWildcards) {
    ScratchFolder scratch;
    ASSERT_FALSE(scratch.Path().empty());
    ASSERT_TRUE(scratch.MakeFolder("sub"));
    ASSERT_TRUE(WriteWholeFile(scratch.File("song.mid"), "MThd"));
    SystemCommandLineFiles files;
    EXPECT_TRUE(files.IsFolder(scratch.File("sub").c_str()));
    EXPECT_FALSE(files.IsFolder(scratch.File("song.mid").c_str()));
    EXPECT_FALSE(files.IsFolder(scratch.File("missing").c_str()));
    EXPECT_FALSE(files.IsFolder(scratch.File("s*").c_str()));
    EXPECT_FALSE(files.IsFolder(scratch.File("su?").c_str()));

    // The program's own separators, which the native file layer also takes:
    // a word starting with '/' would be an option.
    std::string sub = scratch.File("sub");
    std::replace(sub.begin(), sub.end(), '/', '\\');
    CommandLineRequest request;
    ParseClientCommandLine(("Q.exe \"" + sub + "\"").c_str(), &files, &request);
    EXPECT_EQ(sub + "\\", request.lastPath);
    EXPECT_EQ("", request.lastFile);
}

TEST(CommandLineSystem, MissingPathsAreLeftOutAndTheFirstIsNamed) {
    ScratchFolder scratch;
    ASSERT_FALSE(scratch.Path().empty());
    ASSERT_TRUE(scratch.MakeFolder("sub"));
    ASSERT_TRUE(WriteWholeFile(scratch.File("song.mid"), "MThd"));
    ASSERT_TRUE(WriteWholeFile(scratch.File("best.lst"), "[Kadrel File List]\r\n"));
    // The program's own separators (a word starting with '/' is an option).
    std::string folder = scratch.Path();
    std::replace(folder.begin(), folder.end(), '/', '\\');
    SystemCommandLineFiles files;
    EXPECT_TRUE(files.Exists((folder + "sub").c_str()));
    EXPECT_TRUE(files.Exists((folder + "sub\\").c_str()));
    EXPECT_TRUE(files.Exists((folder + "song.mid").c_str()));
    EXPECT_FALSE(files.Exists((folder + "gone.mid").c_str()));
    EXPECT_FALSE(files.Exists((folder + "gone\\").c_str()));
    EXPECT_FALSE(files.Exists((folder + "so*").c_str()));

    const struct {
        std::string line;
        std::string path;     // the location chosen
        std::string missing;  // the word named
        bool subFolders;
    } cases[] = {
        // Alone, a missing word leaves the stored location and sub-folder choice.
        {"\"" + folder + "gone.mid\"", "C:\\old\\", folder + "gone.mid", true},
        {"\"" + folder + "gone\\\" /s:0", "C:\\old\\", folder + "gone\\", false},
        // The existing words still count; the first missing one is named.
        {"\"" + folder + "song.mid\" \"" + folder + "x.lzh>a.mid\" \"" + folder + "y\"", folder, folder + "x.lzh>a.mid",
         false},
        // A list file's entry is there when its list file is.
        {"\"" + folder + "best.lst>a.mid\"", folder + "best.lst>", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        CommandLineRequest request;
        request.lastPath = "C:\\old\\";
        request.lastFile = "old.mid";
        request.includeSubFolders = true;
        ParseClientCommandLine(("Q.exe " + c.line).c_str(), &files, &request);
        EXPECT_EQ(c.path, request.lastPath);
        EXPECT_EQ(c.missing, request.missingPath);
        EXPECT_EQ(c.subFolders, request.includeSubFolders);
    }
}

}  // namespace
