// The archiver command lines: what the program issues, how our own
// libraries read them back, the check that keeps members inside their
// folder, and our libraries' extraction on real archives.
#include "catalogue/archive/ArchiverCommand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiversOwn.h"
#include "core/FileFinder.h"
#include "tests/catalogue/archive/ZipTestFiles.h"

namespace {

struct CommandCase {
    int kind;
    ExtractPurpose purpose;
    const char* member;
    const char* expected;
};

TEST(ArchiverCommand, ExtractionCommandLinesAreExact) {
    const CommandCase cases[] = {
        {kArchiveLzh, ExtractPurpose::kForReading, "dir/x.mid",
         "e -c1 -m1 -n1 -jsb1 -gm1 -gp0 \"D:\\m\\a.lzh\" \"C:\\T\\Kadrel.$$$\\\" \"dir/x.mid\""},
        {kArchiveLzh, ExtractPurpose::kQuiet, "x.mid",
         "e -c1 -m1 -n1 -gm1 \"D:\\m\\a.lzh\" \"C:\\T\\Kadrel.$$$\\\" \"x.mid\""},
        {kArchiveLzh, ExtractPurpose::kShown, "x.mid", "e -n0 \"D:\\m\\a.lzh\" \"C:\\T\\Kadrel.$$$\\\" \"x.mid\""},
        // '[' and ']' are escaped for unzip, but not the trail byte 0x5B of "ー" (81 5B).
        {kArchiveZip, ExtractPurpose::kForReading, "[a]ー.mid",
         "-x -C --i -j -o -qq \"D:\\m\\a.lzh\" \"C:\\T\\Kadrel.$$$\\\" \"\\[a\\]ー.mid\""},
        {kArchiveZip, ExtractPurpose::kQuiet, "x.mid",
         "-x -C --i -j -o -qq \"D:\\m\\a.lzh\" \"C:\\T\\Kadrel.$$$\\\" \"x.mid\""},
        {kArchiveZip, ExtractPurpose::kShown, "x.mid",
         "-x -C -i -j \"D:\\m\\a.lzh\" \"C:\\T\\Kadrel.$$$\\\" \"x.mid\""},
        {kArchiveGca, ExtractPurpose::kShown, "[x].mid",
         "ex -xx0 -yx0 -sx0 \"D:\\m\\a.lzh\" \"C:\\T\\Kadrel.$$$\\\" \"[x].mid\""},
    };
    for (const CommandCase& c : cases) {
        EXPECT_EQ(c.expected, ExtractCommandLine(c.kind, c.purpose, "D:\\m\\a.lzh", "C:\\T\\Kadrel.$$$", c.member));
    }
    // A folder already ending in '\\' gets no second one; one ending in the
    // trail byte of "表" (95 5C) does.
    EXPECT_EQ("e -n0 \"a.lzh\" \"C:\\\" \"x\"",
              ExtractCommandLine(kArchiveLzh, ExtractPurpose::kShown, "a.lzh", "C:\\", "x"));
    EXPECT_EQ("e -n0 \"a.lzh\" \"C:\\表\\\" \"x\"",
              ExtractCommandLine(kArchiveLzh, ExtractPurpose::kShown, "a.lzh", "C:\\表", "x"));
    EXPECT_EQ("-C --i -j -o -qq \"a.zip\" \"s/\\[1\\].mid\"", MemoryCommandLine(kArchiveZip, "a.zip", "s/[1].mid"));
    EXPECT_EQ("ex -xx0 -yx0 -sx0 \"a.gca\" \"dummy\\\" \"x.mid\"", MemoryCommandLine(kArchiveGca, "a.gca", "x.mid"));
    EXPECT_EQ("", MemoryCommandLine(kArchiveLzh, "a.lzh", "x.mid"));
}

TEST(ArchiverCommand, OurLibrariesReadTheProgramsCommandLinesBack) {
    const ExtractPurpose purposes[] = {ExtractPurpose::kForReading, ExtractPurpose::kQuiet, ExtractPurpose::kShown};
    const char* members[] = {"dir/x.mid", "表.mid", "[a] b.mid", "-dash.mid"};
    for (int kind : {kArchiveLzh, kArchiveZip, kArchiveGca}) {
        const ArchiverSyntax syntax = kind == kArchiveLzh   ? ArchiverSyntax::kLha
                                      : kind == kArchiveZip ? ArchiverSyntax::kUnzip
                                                            : ArchiverSyntax::kGca;
        for (ExtractPurpose purpose : purposes) {
            for (const char* member : members) {
                const std::string line = ExtractCommandLine(kind, purpose, "D:\\ソ\\a b.lzh", "C:\\表", member);
                ArchiverCommand command;
                ASSERT_TRUE(ParseArchiverCommand(syntax, line.c_str(), &command)) << line;
                EXPECT_EQ("D:\\ソ\\a b.lzh", command.archive) << line;
                EXPECT_EQ("C:\\表\\", command.destination) << line;
                ASSERT_EQ(1u, command.members.size()) << line;
                EXPECT_EQ(member, command.members[0]) << line;
                EXPECT_EQ(kind == kArchiveLzh ? "e" : kind == kArchiveGca ? "ex" : "", command.command);
            }
        }
    }
    ArchiverCommand command;
    ASSERT_TRUE(ParseArchiverCommand(ArchiverSyntax::kUnzip, MemoryCommandLine(kArchiveZip, "a.zip", "[1].mid").c_str(),
                                     &command));
    EXPECT_EQ("", command.destination);
    EXPECT_EQ(std::vector<std::string>{"[1].mid"}, command.members);
    EXPECT_TRUE(HasSwitch(command, "-J"));
    EXPECT_FALSE(HasSwitch(command, "-x"));
    // GCA's memory extraction names a folder that is never written.
    ASSERT_TRUE(ParseArchiverCommand(ArchiverSyntax::kGca, MemoryCommandLine(kArchiveGca, "a.gca", "[1].mid").c_str(),
                                     &command));
    EXPECT_EQ("dummy\\", command.destination);
    EXPECT_EQ(std::vector<std::string>{"[1].mid"}, command.members);
    EXPECT_TRUE(HasSwitch(command, "-xx0"));
}

TEST(ArchiverCommand, UnreadableCommandLinesAreRefused) {
    const struct {
        ArchiverSyntax syntax;
        const char* line;
    } cases[] = {
        {ArchiverSyntax::kLha, ""},
        {ArchiverSyntax::kLha, "l \"a.lzh\""},                   // listing is not ours
        {ArchiverSyntax::kLha, "e -n0"},                         // no archive
        {ArchiverSyntax::kLha, "e \"a.lzh\" \"C:\\\" \"x.mid"},  // open quote
        {ArchiverSyntax::kUnzip, "-x -C"},
        {ArchiverSyntax::kUnzip, "-x \"\""},
        {ArchiverSyntax::kGca, "e \"a.gca\" \"C:\\\" \"x.mid\""},  // an LHA command
        {ArchiverSyntax::kGca, "ex -xx0"},
    };
    for (const auto& c : cases) {
        ArchiverCommand command;
        EXPECT_FALSE(ParseArchiverCommand(c.syntax, c.line, &command)) << c.line;
    }
    std::string many = "e \"a.lzh\"";
    for (size_t i = 0; i <= kArchiverMembersMax; i++) {
        many += " m";
    }
    ArchiverCommand command;
    EXPECT_FALSE(ParseArchiverCommand(ArchiverSyntax::kLha, many.c_str(), &command));
    EXPECT_FALSE(ParseArchiverCommand(ArchiverSyntax::kLha,
                                      ("e \"" + std::string(kArchiverCommandMax, 'a') + "\"").c_str(), &command));
}

TEST(ArchiverCommand, MemberNamesLeavingTheFolderOrNamingADeviceAreUnsafe) {
    const struct {
        const char* name;
        bool safe;
    } cases[] = {
        {"x.mid", true},
        {"dir/sub/x.mid", true},
        {"a..b.mid", true},
        {".hidden", true},
        {"./x.mid", true},
        {"表\\x.mid", true},
        {"ソ..mid", true},
        {"..", false},
        {"../evil.mid", false},
        {"..\\evil.mid", false},
        {"a/../../e", false},
        {"a\\..", false},
        {"/etc/x", false},
        {"\\x.mid", false},
        {"C:x.mid", false},
        {"C:\\x.mid", false},
        {"a/b:stream", false},
        {"... /x", false},
        {"a/. ./x", false},
        {"", false},
        // Devices, in any case, with or without extension, as a folder too,
        // and with the blanks and trailing dots Windows drops.
        {"COM1.mid", false},
        {"aux.mid", false},
        {"NUL.mid", false},
        {"nul", false},
        {"con/x.mid", false},
        {"a\\Lpt9", false},
        {"Com1 .mid", false},
        {"prn. .", false},
        {"aux.", false},
        {"CON .a.b", false},
        {"表/lpt3.txt", false},
        // Names that only look like devices.
        {"COM0.mid", true},
        {"com10.mid", true},
        {"console.mid", true},
        {"nul-x.mid", true},
        {"a.con", true},
        {"LPT.mid", true},
        {"xaux/x.mid", true},
        {"ＣＯＭ１.mid", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.safe, IsSafeMemberName(c.name)) << c.name;
    }
}

TEST(ArchiverCommand, OnlyNamesACommandLineNamesLiterallyAreExtracted) {
    const struct {
        const char* name;
        bool extractable;
    } cases[] = {
        {"x.mid", true},  {"dir/[a] b.mid", true}, {"表ソ.mid", true},     {"-dash.mid", true},
        {"*.mid", false}, {"a?.mid", false},       {"dir/*/x.mid", false}, {"a\" b.mid", false},
        {"\"", false},    {"NUL.mid", false},      {"a:b.mid", false},     {"../x.mid", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.extractable, IsExtractableMemberName(c.name)) << c.name;
    }
}

TEST(ArchiverCommand, TargetPathsKeepOrDropTheMembersFolders) {
    EXPECT_EQ("C:\\T\\x.mid", MemberTargetPath("C:\\T\\", "dir/sub/x.mid", true));
    EXPECT_EQ("C:\\T\\dir\\sub\\x.mid", MemberTargetPath("C:\\T\\", "dir/sub/x.mid", false));
    // The trail byte 0x5C of "表" is no separator.
    EXPECT_EQ("C:\\T\\表.mid", MemberTargetPath("C:\\T\\", "d/表.mid", true));
}

bool Exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file) {
        std::fclose(file);
    }
    return file != nullptr;
}

// The names a listing of a folder shows, sorted. Unlike opening a name, a
// listing never shows a device (Windows opens NUL.mid in any folder).
std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, (folder + "\\*").c_str(), nullptr);
    for (bool more = finder->Found(); more; more = finder->Next(&record)) {
        if (record.name != "." && record.name != "..") {
            names.push_back(record.name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class OwnArchiver : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveAvailable(kArchiveLzh, true);
        SetArchiveAvailable(kArchiveZip, true);
    }
    // The scratch folder as the program writes folders: ending in '\\'.
    std::string Destination() const {
        return folder_.Path().substr(0, folder_.Path().size() - 1) + "\\";
    }
    ScratchFolder folder_;
};

TEST_F(OwnArchiver, ExtractsTheNamedMembersWithTheProgramsCommandLines) {
    const std::string lzh = TestDataPath("lzh/songs.lzh");
    const std::string zip = TestDataPath("zip/deflated.zip");
    std::string output;
    EXPECT_EQ(0,
              RunOwnArchiver(
                  kArchiveLzh,
                  ExtractCommandLine(kArchiveLzh, ExtractPurpose::kForReading, lzh, Destination(), "sub/y.mid").c_str(),
                  &output))
        << output;
    EXPECT_EQ(44u, ReadWholeFile(folder_.File("y.mid")).size());
    EXPECT_NE(std::string::npos, ReadWholeFile(folder_.File("y.mid")).find("表ソ曲"));
    EXPECT_EQ(0,
              RunOwnArchiver(
                  kArchiveZip,
                  ExtractCommandLine(kArchiveZip, ExtractPurpose::kShown, zip, Destination(), "SONGS/表.MID").c_str(),
                  &output))
        << output;
    EXPECT_EQ(48u, ReadWholeFile(folder_.File("表.mid")).size());
    // "x" keeps the folders below the destination.
    EXPECT_EQ(0,
              RunOwnArchiver(kArchiveLzh, ("x \"" + lzh + "\" \"" + Destination() + "\" \"*.mid\"").c_str(), &output));
    EXPECT_EQ(44u, ReadWholeFile(folder_.File("sub/y.mid")).size());
    EXPECT_EQ(48u, ReadWholeFile(folder_.File("x.mid")).size());
}

TEST_F(OwnArchiver, ReportsMissingMembersArchivesAndBrokenData) {
    std::string output;
    const std::string lzh = TestDataPath("lzh/songs.lzh");
    EXPECT_EQ(
        kArchiveErrorNotFound,
        RunOwnArchiver(kArchiveLzh, ("e \"" + lzh + "\" \"" + Destination() + "\" \"none.mid\"").c_str(), &output));
    EXPECT_EQ(kArchiveErrorCannotOpen,
              RunOwnArchiver(kArchiveLzh, ("e \"" + folder_.File("no.lzh") + "\" \"x.mid\"").c_str(), &output));
    EXPECT_EQ(
        kArchiveErrorBroken,
        RunOwnArchiver(
            kArchiveZip,
            ("-x \"" + TestDataPath("zip/truncated.zip") + "\" \"" + Destination() + "\" \"songs/text.txt\"").c_str(),
            &output));
    EXPECT_EQ(kArchiverErrorCommand, RunOwnArchiver(kArchiveLzh, "t \"a.lzh\"", &output));
    EXPECT_NE(std::string::npos, output.find("Command line error"));
}

TEST_F(OwnArchiver, HostileMemberNamesAreNeverWritten) {
    std::string output;
    ASSERT_TRUE(folder_.MakeFolder("out"));
    const std::string out = Destination() + "out\\";
    const std::string lzh = TestDataPath("lzh/hostile.lzh");
    EXPECT_EQ(kArchiverErrorUnsafeName,
              RunOwnArchiver(kArchiveLzh, ("x \"" + lzh + "\" \"" + out + "\"").c_str(), &output));
    EXPECT_NE(std::string::npos, output.find("..\\evil.mid: refused"));
    EXPECT_NE(std::string::npos, output.find("C:evil2.mid: refused"));
    EXPECT_EQ(42u, ReadWholeFile(folder_.File("out/ok.mid")).size());
    EXPECT_FALSE(Exists(folder_.File("evil.mid")));
    EXPECT_FALSE(Exists(folder_.File("out/evil2.mid")));

    const std::string zip = folder_.File("hostile.zip");
    ASSERT_TRUE(WriteWholeFile(zip, StoredZip({"../evil.mid", "/abs.mid", "ok2.mid"}, "MThd")));
    output.clear();
    EXPECT_EQ(kArchiverErrorUnsafeName,
              RunOwnArchiver(kArchiveZip, ("-x -C \"" + zip + "\" \"" + out + "\"").c_str(), &output));
    EXPECT_EQ("MThd", ReadWholeFile(folder_.File("out/ok2.mid")));
    EXPECT_FALSE(Exists(folder_.File("evil.mid")));
    EXPECT_NE(std::string::npos, output.find("/abs.mid: refused"));
}

TEST_F(OwnArchiver, DeviceMembersAreNeverWritten) {
    const std::vector<std::string> devices = {"COM1.mid", "aux", "NUL.mid", "con/x.mid", "Lpt1 .mid", "prn. ."};
    std::vector<std::string> names = devices;
    names.push_back("ok.mid");
    const std::string zip = folder_.File("devices.zip");
    ASSERT_TRUE(WriteWholeFile(zip, StoredZip(names, "MThd")));
    ASSERT_TRUE(folder_.MakeFolder("out"));
    const std::string out = Destination() + "out\\";
    std::string output;
    EXPECT_EQ(kArchiverErrorUnsafeName,
              RunOwnArchiver(kArchiveZip, ("-x -C \"" + zip + "\" \"" + out + "\"").c_str(), &output));
    EXPECT_EQ("MThd", ReadWholeFile(folder_.File("out/ok.mid")));
    for (const std::string& device : devices) {
        EXPECT_NE(std::string::npos, output.find(device + ": refused")) << output;
    }
    EXPECT_EQ(std::vector<std::string>{"ok.mid"}, FolderNames(folder_.File("out")));
}

// Stands in for a library: the program's command line, read by our own code
// as UNLHA32.DLL and UNZIP32.DLL read it. Counts the calls.
int libraryCalls = 0;
int ExtractLikeALibrary(const char* memberPath, const char* destinationFolder, void*, ExtractPurpose purpose) {
    libraryCalls++;
    std::string archive, member;
    SplitMemberPath(memberPath, &archive, &member);
    const int kind = ArchiveKindOfPath(memberPath, false);
    std::string output;
    return RunOwnArchiver(kind, ExtractCommandLine(kind, purpose, archive, destinationFolder, member).c_str(), &output);
}

class ProgramExtraction : public OwnArchiver {
   protected:
    void SetUp() override {
        OwnArchiver::SetUp();
        libraryCalls = 0;
        SetMemberExtractor(ExtractLikeALibrary);
    }
    void TearDown() override {
        SetMemberExtractor(nullptr);
    }
};

TEST_F(ProgramExtraction, NamesACommandLineCannotHoldNeverReachALibrary) {
    // "*.mid" is a member's name here, but a library would extract every
    // member it matches; '"' would split the command; a colon would write a
    // stream of "a"; a device would take the bytes.
    const std::vector<std::string> hostile = {"*.mid", "a?.mid", "a\" b.mid", "a:b.mid", "NUL.mid", "con/x.mid"};
    std::vector<std::string> names = hostile;
    names.insert(names.end(), {"a.mid", "b.mid", "a"});
    const std::string zip = folder_.File("names.zip");
    ASSERT_TRUE(WriteWholeFile(zip, StoredZip(names, "MThd")));
    ASSERT_TRUE(folder_.MakeFolder("out"));
    const std::string out = folder_.File("out");
    for (const std::string& name : hostile) {
        EXPECT_EQ(kArchiverErrorUnsafeName,
                  ExtractMember((zip + ">" + name).c_str(), out.c_str(), nullptr, ExtractPurpose::kQuiet))
            << name;
        EXPECT_EQ(kArchiveErrorCannotOpen, ExtractMemberOwn((zip + ">" + name).c_str(), out.c_str())) << name;
    }
    EXPECT_EQ(0, libraryCalls);
    EXPECT_EQ(std::vector<std::string>{}, FolderNames(out));
    // A plain name still goes to the library, and only that member comes out.
    EXPECT_EQ(0, ExtractMember((zip + ">b.mid").c_str(), out.c_str(), nullptr, ExtractPurpose::kQuiet));
    EXPECT_EQ(1, libraryCalls);
    EXPECT_EQ("MThd", ReadWholeFile(folder_.File("out/b.mid")));
    EXPECT_EQ(std::vector<std::string>{"b.mid"}, FolderNames(out));
}

TEST_F(OwnArchiver, MemoryExtractionFillsTheBuffer) {
    const std::string line = MemoryCommandLine(kArchiveZip, TestDataPath("zip/deflated.zip"), "songs/sub/b.mid");
    uint8_t buffer[64] = {};
    uint32_t written = 0;
    ArchiveEntry entry;
    ASSERT_EQ(0, ReadOwnArchiverMember(kArchiveZip, line.c_str(), buffer, sizeof buffer, &written, &entry));
    EXPECT_EQ(entry.size, written);
    EXPECT_EQ(0x3C21, entry.dosDate);
    EXPECT_EQ(0, std::string(reinterpret_cast<char*>(buffer), 4).compare("MThd"));
    // A smaller buffer gets the member's start.
    uint8_t small[4] = {};
    ASSERT_EQ(0, ReadOwnArchiverMember(kArchiveZip, line.c_str(), small, sizeof small, &written, &entry));
    EXPECT_EQ(4u, written);
    EXPECT_EQ(kArchiveErrorNotFound,
              ReadOwnArchiverMember(kArchiveZip,
                                    MemoryCommandLine(kArchiveZip, TestDataPath("zip/deflated.zip"), "no").c_str(),
                                    buffer, sizeof buffer, &written, &entry));
    EXPECT_EQ(0u, written);
}

}  // namespace
