// The LZH header walk over archives written by many LHA implementations
// (the shared corpus) and over hand-built hostile headers.
#include "catalogue/archive/LzhHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestPaths.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/SongFile.h"

namespace {

int64_t JapanTime(int64_t utc) {
    return utc + 9 * 3600;
}

int64_t NewYorkWinter(int64_t utc) {
    return utc - 5 * 3600;
}

struct Walk {
    std::vector<LzhEntry> entries;
    int end = 0;  // the result that ended the walk
    uint32_t firstHeader = 0;
    bool found = false;
};

Walk WalkBytes(const std::string& bytes, LocalTimeFn toLocal = JapanTime) {
    MemorySongFile file(bytes.data(), uint32_t(bytes.size()));
    ArchiveSource source(&file);
    Walk walk;
    walk.found = FindFirstLzhHeader(&source, &walk.firstHeader);
    if (!walk.found) {
        return walk;
    }
    uint32_t offset = walk.firstHeader;
    for (int guard = 0; guard < 100; guard++) {
        LzhEntry entry;
        uint32_t next = 0;
        walk.end = ReadLzhHeader(&source, offset, toLocal, &entry, &next);
        if (walk.end != 0) {
            break;
        }
        walk.entries.push_back(entry);
        offset = next;
    }
    return walk;
}

Walk WalkArchive(const std::string& rel, LocalTimeFn toLocal = JapanTime) {
    std::string bytes = ReadWholeFile(CorpusPath("lzh/archives/" + rel));
    EXPECT_FALSE(bytes.empty()) << rel;
    return WalkBytes(bytes, toLocal);
}

std::string Names(const Walk& walk) {
    std::string names;
    for (size_t i = 0; i < walk.entries.size(); i++) {
        names += (i == 0 ? "" : "|") + walk.entries[i].name;
    }
    return names;
}

TEST(LzhHeader, ListsMemberNamesAsLhasaDoes) {
    const struct {
        const char* archive;
        const char* names;
    } cases[] = {
        {"explzh_723/h0_lh5.lzh", "gpl-2"},
        {"explzh_723/h1_subdir.lzh", "subdir/|subdir/subdir2/|subdir/subdir2/hello.txt"},
        {"explzh_723/h2_subdir.lzh", "subdir/|subdir/subdir2/|subdir/subdir2/hello.txt"},
        {"explzh_723/h0_subdir.lzh", "||hello.txt"},  // level 0 keeps only the last element
        {"lha_x68k_213/h0_subdir.lzh", "HELLO.TXT"},
        {"lha213/subdir.lzh", "SUBDIR/SUBDIR2/HELLO.TXT"},
        {"lha_amiga_122/lh0_dirs_bug.lzh",
         "MainDir/00_File.txt|MainDir/01_Dir/File01.txt|MainDir/02_EmptyDir/|MainDir/03_Dir/File01.txt|"
         "MainDir/04_File.txt"},
        {"regression/multiple.lzh", "file1.txt|file2-1.txt|file2-2.txt|file3.txt|file4.txt"},
        {"lhmelt_16536/h2_subdir.lzh", "/subdir/subdir2/hello.txt|/subdir/subdir2/"},
        {"morphos_lha_2717/h0_metadata.lzh", "metadata.txt"},  // the comment after the NUL is dropped
        {"morphos_lha_2717/h2_metadata.lzh", "metadata.txt"},
        {"tascal_lha_051h/lh5.lzh", "Mounted Volume/gpl-2"},
        {"lha_osk_201/h2_lh5.lzh", "gpl-2"},  // header length two bytes short
        {"lha_os2_208/lfn.lzh", "Long Filename.txt"},
    };
    for (const auto& c : cases) {
        Walk walk = WalkArchive(c.archive);
        EXPECT_EQ(Names(walk), c.names) << c.archive;
        EXPECT_EQ(walk.end, kArchiveNoMore) << c.archive;
    }
}

TEST(LzhHeader, ReadsSizesTimesAndChecksums) {
    const struct {
        const char* archive;
        const char* method;
        uint32_t packed;
        uint32_t size;
        uint16_t date;
        uint16_t time;
        uint16_t crc;
        uint8_t level;
    } cases[] = {
        {"explzh_723/h0_lh5.lzh", "-lh5-", 6996, 18092, 0x3c21, 0x0800, 0xa33a, 0},
        {"explzh_723/h1_lh7.lzh", "-lh7-", 6832, 18092, 0x3c21, 0x0800, 0xa33a, 1},
        // Level 2: 2010-01-01 05:00 UTC is 14:00 in Japan.
        {"explzh_723/h2_lh6.lzh", "-lh6-", 6832, 18092, 0x3c21, 0x7000, 0xa33a, 2},
        {"lha213/lh5.lzh", "-lh5-", 7004, 18092, 0x3c21, 0x0000, 0xa33a, 1},
        {"larc333/lz5.lzs", "-lz5-", 8480, 18092, 0x3ca6, 0xba3b, 0xa33a, 0},
        {"generated/lzs/lzs.lzs", "-lzs-", 12667, 18092, 0x3ca6, 0xba3b, 0xa33a, 0},
        // OS-9 stores 58 seconds after 1970: before 1980, so 1980-01-01 00:00.
        {"lha_os9_211c/h2_lh1.lzh", "-lh1-", 7514, 18092, 0x0021, 0x0000, 0xa33a, 2},
        {"lha_unix114i/h2_lh5.lzh", "-lh5-", 6996, 18092, 0x3c21, 0x4800, 0xa33a, 2},
        {"lha_amiga_122/lh4_long.lzh", "-lh4-", 86725, 1241658, 0x00cc, 0xa982, 0x6a7c, 0},
    };
    for (const auto& c : cases) {
        Walk walk = WalkArchive(c.archive);
        ASSERT_FALSE(walk.entries.empty()) << c.archive;
        const LzhEntry& entry = walk.entries[0];
        EXPECT_STREQ(entry.method, c.method) << c.archive;
        EXPECT_EQ(entry.packedSize, c.packed) << c.archive;
        EXPECT_EQ(entry.size, c.size) << c.archive;
        EXPECT_EQ(entry.dosDate, c.date) << c.archive;
        EXPECT_EQ(entry.dosTime, c.time) << c.archive;
        EXPECT_EQ(entry.crc, c.crc) << c.archive;
        EXPECT_EQ(entry.level, c.level) << c.archive;
    }
}

TEST(LzhHeader, Level2TimeFollowsTheTimeZone) {
    Walk walk = WalkArchive("explzh_723/h2_lh5.lzh", NewYorkWinter);
    ASSERT_EQ(walk.entries.size(), 1u);
    // 2010-01-01 05:00 UTC is midnight in New York.
    EXPECT_EQ(walk.entries[0].dosDate, 0x3c21);
    EXPECT_EQ(walk.entries[0].dosTime, 0x0000);
    uint16_t date = 0, time = 0;
    DosDateTimeOfUnix(4354819200LL, JapanTime, &date, &time);  // 2108: past what MS-DOS dates hold
    EXPECT_EQ(date, 0x21);
    EXPECT_EQ(time, 0);
}

TEST(LzhHeader, FindsArchivesBehindSelfExtractingPrograms) {
    const struct {
        const char* archive;
        uint32_t firstHeader;
    } cases[] = {
        {"lha213/sfx.exe", 1636},
        {"explzh_723/declha_sfx_ansi.exe", 36352},  // its program text holds "-lhd-" earlier
        {"lhmelt_16536/sfx_winsfx32_213.exe", 31744},
        {"explzh_723/h0_lh5.lzh", 0},
    };
    for (const auto& c : cases) {
        Walk walk = WalkArchive(c.archive);
        EXPECT_TRUE(walk.found) << c.archive;
        EXPECT_EQ(walk.firstHeader, c.firstHeader) << c.archive;
        ASSERT_EQ(walk.entries.size(), 1u) << c.archive;
        EXPECT_EQ(walk.entries[0].size, 18092u) << c.archive;
    }
    EXPECT_FALSE(WalkBytes("").found);
    EXPECT_FALSE(WalkBytes("MZ no archive here at all, only - dashes - and -l text").found);
}

TEST(LzhHeader, RejectsHeaderLevelsAboveTwo) {
    for (const char* archive : {"lha_os2_208/h3_lh0.lzh", "lha_os2_208/h3_subdir.lzh"}) {
        Walk walk = WalkArchive(archive);
        EXPECT_TRUE(walk.entries.empty()) << archive;
        EXPECT_EQ(walk.end, kArchiveErrorLevel) << archive;
    }
}

// A level-2 header with the given extended headers (type byte + data each).
std::string Level2Header(const std::vector<std::string>& extended, uint32_t packed = 0) {
    std::string h(24, '\0');
    h.replace(2, 5, "-lh0-");
    for (int i = 0; i < 4; i++) {
        h[7 + i] = char(packed >> (8 * i));
        h[11 + i] = char(packed >> (8 * i));
    }
    h[20] = 2;
    for (const std::string& e : extended) {
        size_t size = e.size() + 2;
        h += char(size & 0xFF);
        h += char(size >> 8);
        h += e;
    }
    h += std::string(2, '\0');
    h[0] = char(h.size() & 0xFF);
    h[1] = char(h.size() >> 8);
    return h + std::string(packed, 'x');
}

// A level-0 header holding name.
std::string Level0Header(const std::string& name) {
    std::string h(22, '\0');
    h.replace(2, 5, "-lh0-");
    h[21] = char(name.size());
    h += name + std::string(2, '\0');
    h[0] = char(h.size() - 2);
    return h;
}

TEST(LzhHeader, BuildsNamesFromFolderAndFileHeaders) {
    Walk walk = WalkBytes(Level2Header({std::string("\x02") + "a\xff" + "b", "\x01song.mid"}) +
                          Level0Header("dir\\\x95\\.mid") + Level0Header("\x83\\x\\y.mid"));
    ASSERT_EQ(walk.entries.size(), 3u);
    EXPECT_EQ(walk.entries[0].name, "a/b/song.mid");
    EXPECT_EQ(walk.entries[1].name, "\x95\\.mid");  // 表: its trail byte 0x5C is no separator
    EXPECT_EQ(walk.entries[2].name, "y.mid");
    EXPECT_EQ(walk.end, kArchiveNoMore);  // the file simply ends
}

TEST(LzhHeader, HostileHeadersEndTheWalkCleanly) {
    const std::string good = Level2Header({"\x01ok.mid"}, 4);
    const struct {
        const char* what;
        std::string bytes;
        int end;
        size_t entries;
    } cases[] = {
        {"header cut short", good.substr(0, 20), kArchiveErrorBroken, 0},
        {"second header cut short", good + good.substr(0, 23), kArchiveErrorBroken, 1},
        {"zero byte ends the archive", good + std::string(1, '\0') + good, kArchiveNoMore, 1},
        {"no method name", good + "xx-zz5-" + std::string(30, 'x'), kArchiveErrorBroken, 1},
        {"name too long", Level2Header({"\x01" + std::string(300, 'n'), "\x02" + std::string(300, 'f')}),
         kArchiveErrorLongName, 0},
        {"extended header size below 3", Level2Header({}).replace(24, 2, "\x01\x00", 2), kArchiveErrorBroken, 0},
        {"extended header past the header", Level2Header({"\x01x"}).replace(24, 2, "\xff\x00", 2), kArchiveErrorBroken,
         0},
        {"header length past the file", Level2Header({"\x01x"}).replace(0, 2, "\xff\xff", 2), kArchiveErrorBroken, 0},
        {"packed size past the file", Level2Header({"\x01x"}, 0).replace(7, 4, "\xff\xff\xff\x7f", 4), kArchiveNoMore,
         1},
    };
    for (const auto& c : cases) {
        Walk walk = WalkBytes(c.bytes);
        EXPECT_EQ(walk.end, c.end) << c.what;
        EXPECT_EQ(walk.entries.size(), c.entries) << c.what;
    }
}

TEST(LzhHeader, Level1ExtendedHeadersAreTakenOffThePackedSize) {
    Walk walk = WalkArchive("lha213/subdir.lzh");
    ASSERT_EQ(walk.entries.size(), 1u);
    EXPECT_EQ(walk.entries[0].packedSize, 12u);
    EXPECT_EQ(walk.entries[0].size, 12u);
    Walk dirs = WalkArchive("explzh_723/h1_subdir.lzh");
    ASSERT_EQ(dirs.entries.size(), 3u);
    EXPECT_EQ(dirs.entries[0].attributes, 0x10);  // from the attribute extended header
    EXPECT_EQ(dirs.entries[2].attributes, 0x00);
}

}  // namespace
