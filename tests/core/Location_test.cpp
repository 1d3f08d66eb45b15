// Stored locations and song paths as the registry, list files and title caches
// hold them: folders, list files and archives with their mark, members inside
// archives, and names whose trail byte is '\\' ("表" 95 5C, "ソ" 83 5C, "能"
// 94 5C) or whose characters only look like the mark ("＞" 81 84, "〉" 81 72).
#include "core/Location.h"

#include <gtest/gtest.h>

using Kind = Location::Kind;

TEST(Location, EachStoredFormSplitsIntoItsParts) {
    const struct {
        const char* stored;
        Kind kind;
        bool hasMark;
        bool endsInMark;
        const char* withoutMark;
        const char* archive;
        const char* member;
        const char* folder;
        const char* fileName;
    } cases[] = {
        // Nothing at all: a location not chosen yet.
        {"", Kind::kPlain, false, false, "", "", "", "", ""},
        // Folders, a drive's root among them.
        {"C:\\", Kind::kPlain, false, false, "C:\\", "C:\\", "", "C:\\", ""},
        {"D:\\midi\\", Kind::kPlain, false, false, "D:\\midi\\", "D:\\midi\\", "", "D:\\midi\\", ""},
        {"D:\\表\\ソ\\", Kind::kPlain, false, false, "D:\\表\\ソ\\", "D:\\表\\ソ\\", "", "D:\\表\\ソ\\", ""},
        // A song of its own; the trail byte 5C of "ソ" and "能" is no separator.
        {"D:\\表\\ソ能.mid", Kind::kPlain, false, false, "D:\\表\\ソ能.mid", "D:\\表\\ソ能.mid", "", "D:\\表\\",
         "ソ能.mid"},
        // Characters that look like the mark are part of the name.
        {"D:\\＞〉\\a.mid", Kind::kPlain, false, false, "D:\\＞〉\\a.mid", "D:\\＞〉\\a.mid", "", "D:\\＞〉\\",
         "a.mid"},
        // List files, any case, a name ending in a 5C trail byte among them.
        {"D:\\best.lst>", Kind::kListFile, true, true, "D:\\best.lst", "D:\\best.lst", "", "D:\\best.lst>", ""},
        {"D:\\BEST.LST>", Kind::kListFile, true, true, "D:\\BEST.LST", "D:\\BEST.LST", "", "D:\\BEST.LST>", ""},
        {"D:\\曲\\表.lst>", Kind::kListFile, true, true, "D:\\曲\\表.lst", "D:\\曲\\表.lst", "", "D:\\曲\\表.lst>", ""},
        // An archive opened as a folder, and places inside it.
        {"D:\\a\\set.lzh>", Kind::kArchive, true, true, "D:\\a\\set.lzh", "D:\\a\\set.lzh", "", "D:\\a\\set.lzh>", ""},
        {"D:\\a\\set.lzh>dir/x.mid", Kind::kInArchive, true, false, "D:\\a\\set.lzh>dir/x.mid", "D:\\a\\set.lzh",
         "dir/x.mid", "D:\\a\\set.lzh>dir/", "x.mid"},
        {"D:\\表\\set.zip>ソ\\能.mid", Kind::kInArchive, true, false, "D:\\表\\set.zip>ソ\\能.mid", "D:\\表\\set.zip",
         "ソ\\能.mid", "D:\\表\\set.zip>ソ\\", "能.mid"},
        {"D:\\a\\set.zip>表/", Kind::kInArchive, true, false, "D:\\a\\set.zip>表/", "D:\\a\\set.zip", "表/",
         "D:\\a\\set.zip>表/", ""},
        // A member whose name looks like a mark, or holds a second '>': the first '>' ends the archive.
        {"D:\\set.lzh>a＞b.mid", Kind::kInArchive, true, false, "D:\\set.lzh>a＞b.mid", "D:\\set.lzh", "a＞b.mid",
         "D:\\set.lzh>", "a＞b.mid"},
        {"D:\\set.lzh>a>b.mid", Kind::kInArchive, true, false, "D:\\set.lzh>a>b.mid", "D:\\set.lzh", "a>b.mid",
         "D:\\set.lzh>", "a>b.mid"},
        // A list file inside an archive path is still opened as a list.
        {"D:\\set.lzh>lists/best.lst>", Kind::kListFile, true, true, "D:\\set.lzh>lists/best.lst", "D:\\set.lzh",
         "lists/best.lst>", "D:\\set.lzh>lists/", "best.lst>"},
        // An entry of a list named on the command line: the list is the file before the mark.
        {"D:\\best.lst>song.mid", Kind::kInArchive, true, false, "D:\\best.lst>song.mid", "D:\\best.lst", "song.mid",
         "D:\\best.lst>", "song.mid"},
    };
    for (const auto& c : cases) {
        const Location location(c.stored);
        EXPECT_EQ(c.stored, location.Stored()) << c.stored;
        EXPECT_EQ(c.kind, location.GetKind()) << c.stored;
        EXPECT_EQ(c.hasMark, location.HasMark()) << c.stored;
        EXPECT_EQ(c.endsInMark, location.EndsInMark()) << c.stored;
        EXPECT_EQ(c.withoutMark, location.WithoutMark()) << c.stored;
        EXPECT_EQ(c.archive, location.ArchivePath()) << c.stored;
        EXPECT_EQ(c.member, location.Member()) << c.stored;
        EXPECT_EQ(c.folder, location.Folder()) << c.stored;
        EXPECT_EQ(c.fileName, location.FileName()) << c.stored;
    }
}

TEST(Location, PartsPutTogetherGiveTheStoredStringBack) {
    const char* const stored[] = {
        "C:\\",
        "D:\\表\\ソ能.mid",
        "D:\\best.lst>",
        "D:\\a\\set.lzh>",
        "D:\\表\\set.zip>ソ\\能.mid",
        "D:\\set.lzh>lists/best.lst>",
    };
    for (const char* text : stored) {
        const Location location(text);
        EXPECT_EQ(text, location.Folder() + location.FileName()) << text;
        if (location.HasMark()) {
            EXPECT_EQ(text, location.ArchivePath() + ">" + location.Member()) << text;
        }
        if (location.EndsInMark()) {
            EXPECT_EQ(text, location.WithoutMark() + ">") << text;
        }
    }
}
