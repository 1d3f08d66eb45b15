// The song file reader over memory buffers and plain files, and the finder
// over a real scratch folder (natively and under Wine).
#include "core/SongFile.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "core/AtomicFile.h"
#include "core/FileFinder.h"

namespace {

std::vector<uint8_t> Counting(uint32_t n) {
    std::vector<uint8_t> bytes(n);
    for (uint32_t i = 0; i < n; i++) {
        bytes[i] = uint8_t(i);
    }
    return bytes;
}

TEST(MemorySongFile, ReadPastTheEndDeliversNothingAndKeepsPosition) {
    std::vector<uint8_t> bytes = Counting(64);
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    uint8_t buffer[16] = {};
    uint32_t got = 99;

    EXPECT_EQ(56u, file.Seek(-8, kSeekEnd));
    EXPECT_TRUE(file.Read(buffer, 16, &got));
    EXPECT_EQ(0u, got);
    EXPECT_EQ(56u, file.Seek(0, kSeekCurrent));

    EXPECT_TRUE(file.Read(buffer, 8, &got));
    EXPECT_EQ(8u, got);
    EXPECT_EQ(56, buffer[0]);
    EXPECT_EQ(63, buffer[7]);
    EXPECT_TRUE(file.Read(buffer, 1, &got));
    EXPECT_EQ(0u, got);
}

TEST(MemorySongFile, SeekOrigins) {
    std::vector<uint8_t> bytes = Counting(1000);
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    EXPECT_EQ(872u, file.Seek(-128, kSeekEnd));
    EXPECT_EQ(10u, file.Seek(10, kSeekBegin));
    EXPECT_EQ(25u, file.Seek(15, kSeekCurrent));
    EXPECT_EQ(25u, file.Seek(3, 7));  // unknown origin leaves the position
    uint32_t high = 5;
    EXPECT_EQ(1000u, file.Size(&high));
    EXPECT_EQ(0u, high);
    // A position past the end (seeking is unchecked) still reads nothing.
    file.Seek(5000, kSeekBegin);
    uint8_t b;
    uint32_t got = 1;
    EXPECT_TRUE(file.Read(&b, 1, &got));
    EXPECT_EQ(0u, got);
}

TEST(MemorySongFile, EmptyMember) {
    MemorySongFile file(nullptr, 0);
    uint8_t b;
    uint32_t got = 1;
    EXPECT_TRUE(file.Read(&b, 1, &got));
    EXPECT_EQ(0u, got);
    EXPECT_TRUE(file.Read(&b, 0, &got));
    EXPECT_EQ(0u, got);
}

TEST(OpenSongFile, PlainFileReadsSeeksAndSizes) {
    ScratchFolder folder;
    std::string data(5000, 'x');
    data[4999] = 'z';
    ASSERT_TRUE(WriteWholeFile(folder.File("song.mid"), data));

    uint32_t error = 99;
    auto file = OpenSongFile(folder.File("song.mid").c_str(), SongOpenRequest(), &error);
    ASSERT_TRUE(file);
    EXPECT_EQ(kErrorSuccess, error);
    EXPECT_EQ(5000u, file->Size(nullptr));
    EXPECT_EQ(4999u, file->Seek(-1, kSeekEnd));
    char c = 0;
    uint32_t got = 0;
    EXPECT_TRUE(file->Read(&c, 1, &got));
    EXPECT_EQ(1u, got);
    EXPECT_EQ('z', c);
    // A plain file's short read at the end delivers what is there.
    file->Seek(4990, kSeekBegin);
    char tail[64];
    EXPECT_TRUE(file->Read(tail, 64, &got));
    EXPECT_EQ(10u, got);
    EXPECT_EQ(folder.File("song.mid"), file->OpenedPath());
}

// Readers jump about a song (a tag at the start, a tail at the end, back to
// the start): every read must deliver the bytes at the position asked for,
// whether or not it follows on from the last one.
TEST(OpenSongFile, ReadsFollowEverySeekAndEveryEarlierRead) {
    ScratchFolder folder;
    std::string data(1000, '\0');
    for (size_t i = 0; i < data.size(); i++) {
        data[i] = char(i % 251);
    }
    ASSERT_TRUE(WriteWholeFile(folder.File("song.mp3"), data));
    uint32_t error = 0;
    auto file = OpenSongFile(folder.File("song.mp3").c_str(), SongOpenRequest(), &error);
    ASSERT_TRUE(file);
    auto readAt = [&](uint32_t n) {
        std::string got(n, '\0');
        uint32_t count = 0;
        EXPECT_TRUE(file->Read(&got[0], n, &count));
        got.resize(count);
        return got;
    };
    EXPECT_EQ(data.substr(0, 10), readAt(10));
    EXPECT_EQ(data.substr(10, 10), readAt(10));
    EXPECT_EQ(872u, file->Seek(-128, kSeekEnd));
    EXPECT_EQ(data.substr(872), readAt(200));
    EXPECT_EQ("", readAt(1));
    EXPECT_EQ(5u, file->Seek(5, kSeekBegin));
    EXPECT_EQ(data.substr(5, 3), readAt(3));
    EXPECT_EQ(10u, file->Seek(2, kSeekCurrent));
    EXPECT_EQ(data.substr(10, 4), readAt(4));
    // Refused: the position stays where it was.
    EXPECT_EQ(uint32_t(-1), file->Seek(-100, kSeekCurrent));
    EXPECT_EQ(data.substr(14, 2), readAt(2));
    file->Seek(0, kSeekBegin);
    EXPECT_EQ(data.substr(0, 1000), readAt(4096));
}

TEST(OpenSongFile, ErrorsMapToReaderResults) {
    ScratchFolder folder;
    uint32_t error = 0;
    EXPECT_FALSE(OpenSongFile(folder.File("missing.mid").c_str(), SongOpenRequest(), &error));
    EXPECT_EQ(kErrorFileNotFound, error);
    EXPECT_EQ(-2, ReaderResultOfOpenError(error));
    EXPECT_FALSE(OpenSongFile(folder.File("nofolder/x.mid").c_str(), SongOpenRequest(), &error));
    EXPECT_EQ(kErrorPathNotFound, error);
    EXPECT_EQ(-4, ReaderResultOfOpenError(kErrorAccessDenied));
    EXPECT_EQ(-3, ReaderResultOfOpenError(kErrorSharingViolation));
}

TEST(OpenSongFile, PrepareOnlyOpensNothingButRecordsThePath) {
    SongOpenRequest request;
    request.flags = kOpenPrepareOnly;
    uint32_t error = 99;
    auto file = OpenSongFile("no such folder\\song.mid", request, &error);
    ASSERT_TRUE(file);
    EXPECT_EQ(kErrorSuccess, error);
    EXPECT_STREQ("no such folder\\song.mid", file->OpenedPath());
    char c;
    uint32_t got = 7;
    EXPECT_FALSE(file->Read(&c, 1, &got));
    EXPECT_EQ(0u, got);
}

// Lists every entry of the folder, as a walk does.
void ListFolder(const ScratchFolder& folder) {
    FindRecord record;
    auto finder = FinderOpen(&record, folder.File("*.*").c_str(), nullptr);
    for (bool found = finder->Found(); found; found = finder->Next(&record)) {
    }
}

uint32_t SizeOnOpen(const std::string& path) {
    uint32_t error = 0;
    auto file = OpenSongFile(path.c_str(), SongOpenRequest(), &error);
    return file ? file->Size(nullptr) : uint32_t(-1);
}

// A command walks a folder and then reads its songs; whatever the file layer
// remembers of the walk must never hide a change the program made itself,
// nor outlive the command.
TEST(WalkedFoldersScope, ReadsSeeTheProgramsOwnWritesAndNothingOutlivesTheScope) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("a.mid"), std::string(100, 'a')));
    ASSERT_TRUE(WriteWholeFile(folder.File("b.mid"), std::string(40, 'b')));
    {
        const WalkedFoldersScope walked;
        ListFolder(folder);
        EXPECT_EQ(100u, SizeOnOpen(folder.File("a.mid")));
        // Rewritten through the file layer after the walk (as a title cache
        // is): read whole, not cut at the listed size.
        const std::string longer(300, 'c');
        ASSERT_EQ(0u, WriteFileAtomically(folder.File("a.mid").c_str(), longer.data(), longer.size()));
        uint32_t error = 0;
        auto file = OpenSongFile(folder.File("a.mid").c_str(), SongOpenRequest(), &error);
        ASSERT_TRUE(file);
        EXPECT_EQ(300u, file->Size(nullptr));
        EXPECT_EQ(299u, file->Seek(-1, kSeekEnd));
        char last = 0;
        uint32_t got = 0;
        EXPECT_TRUE(file->Read(&last, 1, &got));
        EXPECT_EQ(1u, got);
        EXPECT_EQ('c', last);
        // A song that came after the walk has its own size.
        ASSERT_TRUE(WriteWholeFile(folder.File("new.mid"), std::string(70, 'n')));
        EXPECT_EQ(70u, SizeOnOpen(folder.File("new.mid")));
    }
    // Changed by someone else once the command is over: seen as it is now.
    ASSERT_TRUE(WriteWholeFile(folder.File("b.mid"), std::string(900, 'b')));
    EXPECT_EQ(900u, SizeOnOpen(folder.File("b.mid")));
    const WalkedFoldersScope next;
    EXPECT_EQ(900u, SizeOnOpen(folder.File("b.mid")));
}

#ifndef _WIN32
// A folder removed and made again under the same name while the scope lives
// is read where its path now leads. (Only the native file layer keeps
// folders open.)
TEST(WalkedFoldersScope, AFolderMadeAgainIsReadByItsPath) {
    ScratchFolder parent;
    const std::string sub = parent.File("sub");
    ASSERT_EQ(0, mkdir(sub.c_str(), 0700));
    ASSERT_TRUE(WriteWholeFile(sub + "/x.mid", std::string(10, 'x')));
    const WalkedFoldersScope walked;
    FindRecord record;
    auto finder = FinderOpen(&record, (sub + "/*.*").c_str(), nullptr);
    for (bool found = finder->Found(); found; found = finder->Next(&record)) {
    }
    finder.reset();
    EXPECT_EQ(10u, SizeOnOpen(sub + "/x.mid"));
    ASSERT_EQ(0, unlink((sub + "/x.mid").c_str()));
    ASSERT_EQ(0, rmdir(sub.c_str()));
    ASSERT_EQ(0, mkdir(sub.c_str(), 0700));
    ASSERT_TRUE(WriteWholeFile(sub + "/x.mid", std::string(25, 'y')));
    EXPECT_EQ(25u, SizeOnOpen(sub + "/x.mid"));
}
#endif

std::set<std::string> FindAll(const std::string& pattern) {
    std::set<std::string> names;
    FindRecord record;
    auto finder = FinderOpen(&record, pattern.c_str(), nullptr);
    for (bool found = finder->Found(); found; found = finder->Next(&record)) {
        names.insert(record.name);
    }
    return names;
}

TEST(FileFinder, EnumeratesWithPatternsAndAttributes) {
    ScratchFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("one.mid"), "12345"));
    ASSERT_TRUE(WriteWholeFile(folder.File("TWO.MID"), ""));
    ASSERT_TRUE(WriteWholeFile(folder.File("three.mp3"), "abc"));
    ASSERT_TRUE(folder.MakeFolder("sub"));

    std::set<std::string> all = FindAll(folder.File("*"));
    for (const char* name : {"one.mid", "TWO.MID", "three.mp3", "sub"}) {
        EXPECT_TRUE(all.count(name)) << name;
    }
    EXPECT_EQ((std::set<std::string>{"one.mid", "TWO.MID"}), FindAll(folder.File("*.mid")));
    EXPECT_EQ((std::set<std::string>{"one.mid"}), FindAll(folder.File("o?e.*")));

    FindRecord record;
    auto finder = FinderOpen(&record, folder.File("sub").c_str(), nullptr);
    ASSERT_TRUE(finder->Found());
    EXPECT_TRUE(record.attributes & kAttrDirectory);
    finder = FinderOpen(&record, folder.File("one.mid").c_str(), nullptr);
    ASSERT_TRUE(finder->Found());
    EXPECT_FALSE(record.attributes & kAttrDirectory);
    EXPECT_EQ(5u, record.size);
    EXPECT_GT(record.lastWriteTime, 116444736000000000ULL);  // after 1970
}

TEST(FileFinder, MissingFolderReportsTheSystemError) {
    ScratchFolder folder;
    FindRecord record;
    auto finder = FinderOpen(&record, folder.File("nothing\\*").c_str(), nullptr);
    EXPECT_FALSE(finder->Found());
    EXPECT_EQ(kErrorPathNotFound, finder->Error());
    auto empty = FinderOpen(&record, folder.File("*.xyz").c_str(), nullptr);
    EXPECT_FALSE(empty->Found());
    EXPECT_EQ(kErrorFileNotFound, empty->Error());
}

TEST(MatchesWildcard, SystemSearchRules) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"song.mid", "*.mid", true},      {"SONG.MID", "*.mid", true},    {"song.midi", "*.mid", false},
        {"song", "*.*", true},            {"a.b.c", "*.c", true},         {"abc", "a?c", true},
        {"ac", "a?c", false},             {"表.mid", "?.mid", true},      {"表.mid", "\x95*", false},
        {"ソ\\x", "ソ*", true},           {"x", "", false},               {"", "*", true},
        {"aaa", "a*a*a", true},           {"aa", "a*a*a", false},
        // "*" and an extension: the name's end, in any case, never a part of it.
        {"song.WRD", "*.wrd", true},      {".wrd", "*.wrd", true},        {"wrd", "*.wrd", false},
        {"a.wrd.x", "*.wrd", false},      {"a.wrd.wrd", "*.wrd", true},   {"表.wrd", "*.wrd", true},
        {"a.wr", "*.wrd", false},         {"song", "*.", true},           {"x.mid", "*mid", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.matches, MatchesWildcard(c.name, c.pattern)) << c.name << " ~ " << c.pattern;
    }
}

}  // namespace
