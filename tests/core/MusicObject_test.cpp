// The song-list row: its time text, date column, name column and full path,
// with names whose double-byte characters end in '\\'.
#include "core/MusicObject.h"

#include <gtest/gtest.h>

#include <string>

TEST(MusicObject, TimeTextIsZeroPadded) {
    struct Case {
        LocalTimeFields time;
        const char* expected;
    };
    const Case cases[] = {
        {{2024, 5, 6, 7, 8, 9}, "2024/05/06 07:08:09"},
        {{1999, 12, 31, 23, 59, 59}, "1999/12/31 23:59:59"},
        {{980, 1, 1, 0, 0, 0}, "0980/01/01 00:00:00"},
        {{0, 0, 0, 0, 0, 0}, "0000/00/00 00:00:00"},
        // Fields outside the usual widths are written whole, never cut.
        {{10000, 1, 2, 3, 4, 5}, "10000/01/02 03:04:05"},
        {{-5, 1, 2, 3, 4, 5}, "-005/01/02 03:04:05"},
        {{2024, 100, 2, 3, 4, -1}, "2024/100/02 03:04:-1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, FormatTimeText(c.time));
    }
}

TEST(MusicObject, DateColumnDropsCenturyAndSeconds) {
    struct Case {
        const char* timeText;
        const char* expected;
    };
    const Case cases[] = {
        {"2024/05/06 07:08:09", "24/05/06 07:08"},
        {"1999/12/31 23:59:59", "99/12/31 23:59"},
        {"2024/05", "24/05"},
        {"2", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, DateColumnText(c.timeText)) << c.timeText;
    }
}

TEST(MusicObject, DisplayNameIsTheLastNameOrTheArchiveMember) {
    struct Case {
        const char* path;
        bool showExtension;
        const char* expected;
    };
    const Case cases[] = {
        {"song.mid", false, "song"},
        {"song.mid", true, "song.mid"},
        {"sub\\dir\\song.rcp", false, "song"},
        // "表" and "ソ" end in 0x5C: neither may split the name.
        {"曲\\表.mid", false, "表"},
        {"ソング\\ソ.mid", false, "ソ"},
        {"表", true, "表"},
        {"v1.0\\readme", false, "readme"},
        {"C:\\music\\pack.lzh>inner\\song.mid", false, "inner\\song"},
        {"C:\\music\\pack.lzh>inner\\song.mid", true, "inner\\song.mid"},
        {"C:\\list.kdl>C:\\x\\a>b.mid", true, "C:\\x\\a>b.mid"},
        {"no.ext.", false, "no.ext"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, MakeDisplayName(c.path, c.showExtension)) << c.path;
    }
}

TEST(MusicObject, FullPathJoinsRelativePathsOnly) {
    struct Case {
        const char* location;
        const char* path;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\music\\", "song.mid", "C:\\music\\song.mid"},
        {"C:\\music\\", "sub\\表.mid", "C:\\music\\sub\\表.mid"},
        {"C:\\music\\", "D:\\other\\song.mid", "D:\\other\\song.mid"},
        {"C:\\music\\", "pack.lzh>song.mid", "C:\\music\\pack.lzh>song.mid"},
        {"C:\\lists\\", "E:\\pack.zip>song.mid", "E:\\pack.zip>song.mid"},
        // A ':' in a member's name is part of the name: the row stays relative.
        {"C:\\music\\", "pack.lzh>a:b.mid", "C:\\music\\pack.lzh>a:b.mid"},
        {"C:\\music\\", "pack.zip>d/C:\\x.mid", "C:\\music\\pack.zip>d/C:\\x.mid"},
        {"C:\\music\\", "E:\\pack.zip>a:b.mid", "E:\\pack.zip>a:b.mid"},
        {"C:\\music\\pack.zip>", "a:b.mid", "C:\\music\\pack.zip>a:b.mid"},
        {"C:\\music\\pack.zip>dir/", "C:x.mid", "C:\\music\\pack.zip>dir/C:x.mid"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, FullObjectPath(c.location, c.path)) << c.path;
    }
}

TEST(MusicObject, ListTablesHoldTheirRows) {
    BagBox objects = MakeObjectList();
    EXPECT_EQ(3, objects.StringColumns());
    EXPECT_EQ(2, objects.IntegerColumns());
    EXPECT_EQ(512, objects.RowCapacity());
    EXPECT_EQ(8192u, objects.TextCapacity());
    for (int i = 0; i <= 512; i++) {
        const std::string path = "Song" + std::to_string(i) + ".MID";
        objects.Add({path.c_str(), MakeDisplayName(path.c_str(), false).c_str(), "2024/05/06 07:08:09"}, {0, i});
    }
    EXPECT_EQ(768, objects.RowCapacity());
    // Paths compare without regard to case.
    EXPECT_EQ(7, objects.Find("song7.mid", ObjectListColumn::path));
    EXPECT_STREQ("Song7", objects.Read(7, ObjectListColumn::displayName));
    EXPECT_EQ(7, objects.iRead(7, ObjectListColumn::fileSize));

    BagBox scan = MakeScanList();
    EXPECT_EQ(2, scan.StringColumns());
    EXPECT_EQ(2, scan.IntegerColumns());
    scan.Add({"b.mid", "2024/05/06 07:08:09"}, {1, 10});
    scan.Add({"B.mid", "2024/05/06 07:08:10"}, {2, 20});
    scan.Sort(ScanListColumn::path, false);
    // Bytewise: capitals first, and no match across case.
    EXPECT_EQ(0, scan.Find("B.mid", ScanListColumn::path));
    EXPECT_EQ(-1, scan.Find("b.MID", ScanListColumn::path));
    EXPECT_EQ(20, scan.iRead(0, ScanListColumn::fileSize));
}
