// Companions found by name, the related set of a song, and the three script
// scanners over hand-made scripts and broken bytes.
#include "catalogue/RelatedFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "analysis/FileTypes.h"
#include "catalogue/FullSongAnalyzer.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "catalogue/archive/ArchiveKind.h"

namespace {

using Names = std::vector<std::string>;

Names ScanFixture(const std::string& name, Names (*scan)(const uint8_t*, size_t)) {
    const std::string bytes = ReadWholeFile(TestDataPath("related/" + name));
    EXPECT_FALSE(bytes.empty()) << name;
    return scan(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

Names ScanText(const std::string& text) {
    return ScanWrdScript(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(RelatedScripts, FixturesNameTheirFiles) {
    EXPECT_EQ((Names{"pic1.mag", "PIC2.MAG", "wrdfont.exe", "font.fon", "tone.xyz", "表.mag", "missing.mag"}),
              ScanFixture("song.wrd", ScanWrdScript));
    EXPECT_EQ((Names{"after.mag"}), ScanFixture("header.wrd", ScanWrdScript));
    EXPECT_EQ((Names{"sry1.mag", "ソ.pi"}), ScanFixture("song.sry", ScanSherryScript));
    EXPECT_EQ((Names{"neo1.pic"}), ScanFixture("song.nbf", ScanNeoScript));
    EXPECT_EQ((Names{"ok.mag"}), ScanFixture("length-past-end.sry", ScanSherryScript));
}

TEST(RelatedScripts, WrdCommandsCutShortOrBrokenNameNothingOrStopAtTheEnd) {
    struct Case {
        std::string text;
        Names names;
    } cases[] = {
        {"@MAG(", {}},
        {"@MAG", {}},
        {"@MA@MAG(x.mag)", {"x.mag"}},
        {"@@PLOAD(y.mag,1)", {"y.mag"}},
        {"@MAG(   )", {}},
        {"@EXEC(prog /f)", {"prog"}},
        {"@EXEC(prog /Fbig.fnt", {"prog", "big.fnt"}},
        {"@EXEC(prog) /Flater", {"prog"}},
        {"@MAG(name\r\n@MAG(next.mag)", {"name", "next.mag"}},
        {std::string("@MAG(a\x81", 7), {"a"}},  // lead byte at the cut
        {"@MXG(no.mag)@exec(run.exe)", {"run.exe"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.names, ScanText(c.text)) << c.text;
    }
}

TEST(RelatedScripts, BadMagicOrHeaderPastTheEndNamesNothing) {
    const std::string badSherry = std::string("Sherry WRD\0\1", 12) + std::string(8, '\0');
    const std::string shortNeo("NEO\0", 4);
    std::string neoOffsetPastEnd("NEO\0\0\0\0\0\xFF\xFF\xFF\x7F\0\0\0\0", 16);
    // Header lengths that run past the end stop the walk at once.
    const std::string sherryHuge = std::string("Sherry WRD\0\0\0\0\0\0", 16) + "\x8F\xFF\xFF\xFF\x7F";
    for (const std::string& bytes : {badSherry, shortNeo, neoOffsetPastEnd, sherryHuge}) {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(bytes.data());
        EXPECT_TRUE(ScanSherryScript(p, bytes.size()).empty());
        EXPECT_TRUE(ScanNeoScript(p, bytes.size()).empty());
    }
}

class RelatedFilesTest : public ::testing::Test {
   protected:
    void Make(const std::string& name, const std::string& bytes = "x") {
        ASSERT_TRUE(WriteWholeFile(folder_.File(name), bytes)) << name;
    }
    void CopyFixture(const std::string& fixture, const std::string& name) {
        Make(name, ReadWholeFile(TestDataPath("related/" + fixture)));
    }
    // A path in the catalogue's form: separators are '\\' in both worlds.
    std::string Song(const std::string& name) const {
        std::string path = folder_.File(name);
        for (char& c : path) {
            if (c == '/') {
                c = '\\';
            }
        }
        return path;
    }
    Names SetNames(const BagBox& set) const {
        Names names;
        for (int32_t i = 0; i < set.Count(); i++) {
            names.push_back(std::string(set.Read(i, 0)).substr(folder_.Path().size()));
        }
        return names;
    }
    ScratchFolder folder_;
};

TEST_F(RelatedFilesTest, FindRelatedFilesCountsListedExtensionsOnly) {
    Make("song.mid");
    Make("song.sry");
    Make("song.txt");
    ASSERT_TRUE(folder_.MakeFolder("song.log"));  // a folder never counts
    const std::string song = Song("song.mid");
    std::string found;
    EXPECT_EQ(2, FindRelatedFiles(song.c_str(), false, {"wrd", "sry"}, &found, nullptr));
    EXPECT_EQ(Song("song.sry"), found);
    EXPECT_EQ(kRelatedSry, WrdFlags(song.c_str()));
    EXPECT_EQ(kDocumentTxt, DocumentFlags(song.c_str(), ""));
    EXPECT_EQ(0, FindRelatedFiles(song.c_str(), true, {"doc", "log"}, nullptr, nullptr));
    EXPECT_EQ(1, FindRelatedFiles(song.c_str(), true, {}, nullptr, nullptr));
    EXPECT_EQ(0, FindRelatedFiles(Song("other.mid").c_str(), true, {}, nullptr, nullptr));
    Make("SONG.WRD");
    Make("song.kar");
    EXPECT_EQ(kRelatedWrd | kRelatedSry, WrdFlags(song.c_str()));
    EXPECT_EQ(kDocumentTxt | kDocumentUser, DocumentFlags(song.c_str(), "KAR"));
}

#ifndef _WIN32
// '?' and '*' are ordinary characters of a name here (and what Windows shows
// for a name it cannot write in its code page): a search for a song's
// companions or for one file takes them as they are, never as wildcards.
TEST_F(RelatedFilesTest, WildcardCharactersInANameMatchOnlyThemselves) {
    Make("?.mid", "song");
    Make("*x.mid", "song");
    for (const char* other : {"a.txt", "b.doc", "x.wrd", "e.jpg", "zx.txt", "a.mid"}) {
        Make(other);
    }
    BagBox set = MakeRelatedSet();
    CollectRelatedSet(Song("?.mid").c_str(), kKindMidi, &set);
    EXPECT_EQ((Names{"?.mid"}), SetNames(set));
    EXPECT_EQ(0, WrdFlags(Song("?.mid").c_str()));
    EXPECT_EQ(0, DocumentFlags(Song("*x.mid").c_str(), ""));

    Make("?.txt");
    set.Clear();
    CollectRelatedSet(Song("?.mid").c_str(), kKindMidi, &set);
    EXPECT_EQ((Names{"?.mid", "?.txt"}), SetNames(set));

    FindRecord record;
    ASSERT_TRUE(FindExact(Song("?.mid").c_str(), &record));
    EXPECT_EQ("?.mid", record.name);
    EXPECT_EQ(4u, record.size);
    EXPECT_FALSE(FindExact(Song("?.doc").c_str(), &record)) << record.name;
}
#endif

TEST_F(RelatedFilesTest, RelatedSetHoldsSongCompanionsDocumentsAndScriptNames) {
    Make("song.mid");
    CopyFixture("song.wrd", "song.wrd");
    Make("SONG.TXT");
    Make("song.mp3");  // a music file of its own: never related
    for (const char* name : {"pic1.mag", "PIC2.MAG", "wrdfont.exe", "font.fon", "表.mag", "never.mag"}) {
        Make(name);
    }
    BagBox set = MakeRelatedSet();
    CollectRelatedSet(Song("song.mid").c_str(), kKindMidi, &set);
    EXPECT_EQ((Names{"song.mid", "song.wrd", "SONG.TXT", "pic1.mag", "PIC2.MAG", "wrdfont.exe", "font.fon", "表.mag"}),
              SetNames(set));
}

TEST_F(RelatedFilesTest, AudioSongsNeverTakeTheWrdCompanion) {
    Make("song.mp3");
    CopyFixture("song.wrd", "song.wrd");
    CopyFixture("song.sry", "song.sry");
    Make("sry1.mag");
    BagBox set = MakeRelatedSet();
    CollectRelatedSet(Song("song.mp3").c_str(), kKindMpeg, &set);
    EXPECT_EQ((Names{"song.mp3", "song.sry", "sry1.mag"}), SetNames(set));

    FullSongAnalyzer analyzer(nullptr, 0);
    EXPECT_EQ(kRelatedSry, analyzer.RelatedFlags(Song("song.mp3").c_str(), kKindMpeg));
    EXPECT_EQ(kRelatedWrd | kRelatedSry, analyzer.RelatedFlags(Song("song.mid").c_str(), kKindMidi));
}

TEST_F(RelatedFilesTest, FolderListingGivesTheSameFlagsAsOneSearchPerSong) {
    // e.wrdx and f.nbf2 end in no companion's extension, though a search for
    // "*.wrd" finds them through their short names where the system has them.
    for (const char* name : {"a.mid", "a.wrd", "B.MID", "b.NBF", "c.mid", "c.x.sry", "d.mid", "dd.wrd", "e.mid",
                             "e.wrdx", "f.mid", "f.nbf2", "g.mid"}) {
        Make(name);
    }
    ASSERT_TRUE(folder_.MakeFolder("g.wrd"));  // a folder is no companion
    FullSongAnalyzer listing(nullptr, 0);
    listing.KeepFolderListing(true);
    FullSongAnalyzer searching(nullptr, 0);
    for (const char* name : {"a.mid", "B.MID", "c.mid", "d.mid", "e.mid", "f.mid", "g.mid"}) {
        const std::string song = Song(name);
        EXPECT_EQ(searching.RelatedFlags(song.c_str(), kKindMidi), listing.RelatedFlags(song.c_str(), kKindMidi))
            << name;
    }
    EXPECT_EQ(kRelatedSry, listing.RelatedFlags(Song("c.mid").c_str(), kKindMidi));
    EXPECT_EQ(0, listing.RelatedFlags(Song("d.mid").c_str(), kKindMidi));
    EXPECT_EQ(kRelatedNbf, listing.RelatedFlags(Song("B.MID").c_str(), kKindMidi));
    for (const char* name : {"e.mid", "f.mid", "g.mid"}) {
        EXPECT_EQ(0, listing.RelatedFlags(Song(name).c_str(), kKindMidi)) << name;
    }
}

// Inside an archive the names a script gives are members of the script's
// own folder in the archive, whether that is the top or a folder ("set/").
TEST_F(RelatedFilesTest, ScriptNamesInsideAnArchiveAreMembersBesideTheScript) {
    SetArchiveAvailable(kArchiveLzh, true);
    SetArchiveAvailable(kArchiveZip, true);
    InstallArchiveAccess();
    struct Case {
        const char* archive;
        const char* folder;
    };
    for (const Case& c : {Case{"wrdsong.lzh", ""}, Case{"wrdsong.zip", "set/"}}) {
        SCOPED_TRACE(c.archive);
        ASSERT_TRUE(
            WriteWholeFile(folder_.File(c.archive), ReadWholeFile(TestDataPath(std::string("player/") + c.archive))));
        const std::string prefix = Song(c.archive) + ">" + c.folder;
        BagBox set = MakeRelatedSet();
        CollectRelatedSet((prefix + "song.mid").c_str(), kKindMidi, &set);
        Names members;
        for (int32_t i = 0; i < set.Count(); i++) {
            const std::string path = set.Read(i, 0);
            ASSERT_EQ(0u, path.find(prefix)) << path;
            members.push_back(path.substr(prefix.size()));
        }
        EXPECT_EQ((Names{"song.mid", "song.wrd", "song.txt", "back.mag", "pic2.mag", "font.fon"}), members);
    }
}

}  // namespace
