// ZIP member names flagged as UTF-8 (general purpose bit 11, written by
// Python's zipfile: tests/data/zip/utf8-names.zip) show, match and read in
// the program's code page.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"
#include "catalogue/archive/ArchiveList.h"
#include "catalogue/archive/ZipNames.h"
#include "core/FileFinder.h"
#include "core/SongFile.h"
#include "tools/cli/CliCommands.h"

namespace {

class ZipUtf8Names : public ::testing::Test {
   protected:
    void SetUp() override {
        SetArchiveAvailable(kArchiveZip, true);
        InstallArchiveAccess();
    }
    static std::string Archive() {
        return TestDataPath("zip/utf8-names.zip");
    }
    static std::vector<std::string> List(const char* pattern) {
        std::unique_ptr<ArchiveList> list = OpenArchiveList(kArchiveZip, Archive().c_str(), nullptr);
        std::vector<std::string> names;
        ArchiveEntry entry;
        for (int result = FindFirstMember(list.get(), pattern, &entry); result == 0;
             result = FindNextMember(list.get(), &entry)) {
            names.push_back(entry.name);
        }
        return names;
    }
};

TEST_F(ZipUtf8Names, NamesShowInTheCodePage) {
    const std::vector<std::string> expected = {
        "曲/表ソ.mid",  // trail bytes 0x5C in both characters
        "ｶﾞｲﾄﾞ～.mid",  // WAVE DASH takes CP932's FULLWIDTH TILDE
        "がくぷ.mid",   // stored decomposed: kana and combining marks
        "___.mid",      // Korean: not in the code page
        "_.mid",        // a character outside the basic plane
        "plain.mid",    // no flag: as stored
    };
    EXPECT_EQ(List("*.*"), expected);
    EXPECT_EQ(List("曲/*.MID"), std::vector<std::string>{"曲/表ソ.mid"});
    EXPECT_EQ(List("*～.mid"), std::vector<std::string>{"ｶﾞｲﾄﾞ～.mid"});
}

TEST_F(ZipUtf8Names, MembersAreFoundReadAndExtractedByTheirShownNames) {
    for (const char* member : {"曲/表ソ.mid", "がくぷ.mid", "___.mid", "ｶﾞｲﾄﾞ～.mid"}) {
        const std::string path = Archive() + ">" + member;
        FindRecord record;
        EXPECT_TRUE(FindExact(path.c_str(), &record)) << member;
        EXPECT_EQ(record.name, member);
        SongOpenRequest request;
        uint32_t error = 99;
        std::unique_ptr<SongFile> song = OpenSongFile(path.c_str(), request, &error);
        ASSERT_NE(song, nullptr) << member;
        EXPECT_EQ(error, 0u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(song->Buffer()), 4), "MThd") << member;
    }
    ScratchFolder folder;
    const std::string destination = folder.Path().substr(0, folder.Path().size() - 1);
    ASSERT_EQ(0, ExtractMemberOwn((Archive() + ">曲/表ソ.mid").c_str(), destination.c_str()));
    EXPECT_EQ(48u, ReadWholeFile(folder.File("表ソ.mid")).size());
}

TEST_F(ZipUtf8Names, AFolderListsThemWithTheirTitles) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("u.zip"), ReadWholeFile(Archive())));
    std::ostringstream out, err;
    ASSERT_EQ(kCliSuccess, RunCli({"list", folder.Path(), "--no-cache-update"}, out, err));
    for (const char* row : {"u.zip>曲/表ソ.mid\t曲/表ソ\tZip Song A\t", "u.zip>ｶﾞｲﾄﾞ～.mid\tｶﾞｲﾄﾞ～\t表ソ Song\t",
                            "u.zip>がくぷ.mid\tがくぷ\tZip Song A\t", "u.zip>_.mid\t_\t表ソ Song\t"}) {
        EXPECT_NE(std::string::npos, out.str().find(row)) << row << "\n" << out.str();
    }
}

TEST(ZipNames, OnlyWellFormedUtf8IsConverted) {
    std::string out = "unchanged";
    const std::string malformed[] = {
        "\xE6\x9B",          // cut inside a character
        "\xC0\xAF.mid",      // overlong '/'
        "\xED\xA0\x80.mid",  // a surrogate
        "\x95\x5C.mid",      // CP932 bytes that some tools flag anyway
    };
    for (const std::string& name : malformed) {
        EXPECT_FALSE(ZipUtf8NameToCp932(name, &out)) << name;
        EXPECT_EQ(ZipDisplayName(name, kZipFlagUtf8Name), name);
    }
    EXPECT_EQ(out, "unchanged");
    // Never a wildcard or a folder separator where the name had none.
    ASSERT_TRUE(ZipUtf8NameToCp932("\xC2\xA5\xE2\x88\x95?.mid", &out));  // YEN SIGN, DIVISION SLASH
    EXPECT_EQ(out, "__?.mid");
}

}  // namespace
