// The folder scan over real folder trees: what is listed and cached, how rows
// are named and sorted, the restart when a newer location arrives during a
// scan, and the selection kept across a redisplay.
#include "catalogue/FolderScan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <string>
#include <vector>
#ifdef _WIN32
#include <sys/utime.h>
#else
#include <utime.h>
#endif

#include "TableTestSupport.h"
#include "TestPaths.h"
#include "catalogue/Drives.h"
#include "catalogue/OpenLocation.h"
#include "core/FileTime.h"

namespace {

using Rows = std::vector<std::string>;

// Sets a file's last-write time to a local calendar time.
bool SetLocalTime(const std::string& path, int year, int month, int day, int hour, int minute, int second) {
    struct tm fields = {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    struct utimbuf times;
    times.actime = times.modtime = mktime(&fields);
    return utime(path.c_str(), &times) == 0;
}

// Records what the scan shows and lets a test act between entries.
class RecordingHost : public CatalogueHost {
   public:
    bool PumpMessages() override {
        pumps++;
        return onPump ? onPump() : false;
    }
    void ShowFileError(uint32_t error, const std::string& text) override {
        errors.push_back(text + " " + std::to_string(error));
    }
    void SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition) override {
        *selectedRow = shownRow;
        *scrollPosition = 7;
    }
    void ShowRows(int32_t count, int32_t selectedRow, int32_t scrollPosition) override {
        shownCount = count;
        shownRow = selectedRow;
        shownScroll = scrollPosition;
    }
    bool WatchesChanges() override {
        return watches;
    }
    std::function<bool()> onPump;
    bool watches = true;
    int pumps = 0;
    Rows errors;
    int32_t shownCount = -1;
    int32_t shownRow = -1;
    int32_t shownScroll = -1;
};

class FolderScanTest : public ::testing::Test {
   protected:
    void SetUp() override {
        state_.host = &host_;
        state_.playerTypeMask = PlayerTypeMask(100);
        midi_ = ReadWholeFile(TestDataPath("midi/conductor-format1.mid"));
        ASSERT_FALSE(midi_.empty());
    }
    void Make(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(WriteWholeFile(folder_.File(name), bytes)) << name;
    }
    // Three songs, a text file, a sub-folder with a song and, outside
    // Windows, a hidden song.
    void MakeSongsAmongOthers() {
        Make("b.mid", midi_);
        Make("a.MID", midi_);
        Make("notes.txt", "text");
        Make("song.mp3", "");
        ASSERT_TRUE(folder_.MakeFolder("sub"));
        Make("sub/c.mid", midi_);
#ifndef _WIN32
        Make(".hidden.mid", midi_);  // dot files are hidden outside Windows
#endif
    }
    void Open(const std::string& location) {
        state_.location = location;
        OpenLocation(state_, OpenOptions());
    }
    ScratchFolder folder_;
    RecordingHost host_;
    CatalogueState state_;
    std::string midi_;
};

TEST(PlayerTypeMasks, KnownPlayersAndUnknownKinds) {
    const struct {
        int32_t player;
        uint32_t mask;
    } cases[] = {{0, 0xF009},    {1, 0x6F009},    {2, 0xFF}, {6, 0x1FF0F9}, {8, 0x1E000},
                 {11, 0x1FF000}, {100, 0x1FF0FF}, {12, 0},   {-1, 0},       {99, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.mask, PlayerTypeMask(c.player)) << c.player;
    }
}

TEST(IncludeSubFolders, KeysOverrideTheSetting) {
    for (bool setting : {false, true}) {
        EXPECT_EQ(!setting, IncludeSubFoldersFor(true, true, setting));
        EXPECT_TRUE(IncludeSubFoldersFor(true, false, setting));
        EXPECT_FALSE(IncludeSubFoldersFor(false, true, setting));
        EXPECT_EQ(setting, IncludeSubFoldersFor(false, false, setting));
    }
}

TEST(Drives, TextsAndTheNativeDrive) {
    EXPECT_EQ("DVD/CD-ROM (Q:)", CdRomDisplayName("Q:\\"));
    EXPECT_EQ("Q:\\ にアクセスできません。\nデバイスの準備ができていません。", DriveNotReadyMessage("Q:\\"));
    BagBox drives = MakeDriveList();
    ASSERT_GE(ReadDrives(&drives), 1);
    EXPECT_EQ(drives.Count(), ReadDrives(&drives));  // read again: not appended
}

TEST_F(FolderScanTest, SubFoldersHiddenFilesAndNonMusicFiles) {
    MakeSongsAmongOthers();
    Open(folder_.Path());
    EXPECT_EQ((Rows{"a.MID", "b.mid", "song.mp3"}), Column(state_.objectList, ObjectListColumn::path));
    EXPECT_EQ((Rows{"a", "b", "song"}), Column(state_.objectList, ObjectListColumn::displayName));

    state_.includeSubFolders = true;
    state_.settings.showFileNameExt = true;
    state_.previousPath.clear();
    Open(folder_.Path());
    EXPECT_EQ((Rows{"a.MID", "b.mid", "c.mid", "song.mp3"}), Column(state_.objectList, ObjectListColumn::displayName));
    EXPECT_EQ("sub\\c.mid", std::string(state_.objectList.Read(2, ObjectListColumn::path)));
    EXPECT_EQ(4, state_.scanList.Count());
    EXPECT_TRUE(host_.errors.empty());
}

// A complete scan of a folder location also tells the tree the folder's
// own sub-folders and list files, and nothing from deeper down.
TEST_F(FolderScanTest, ScanOfTheLocationListsItsSubFoldersAndListFiles) {
    Make("a.mid", midi_);
    Make("mix.lst", "x");
    Make("OLD.LST", "x");
    Make("notes.lst.txt", "x");
    ASSERT_TRUE(folder_.MakeFolder("sub"));
    ASSERT_TRUE(folder_.MakeFolder("曲集"));
    ASSERT_TRUE(folder_.MakeFolder("sub/deeper"));
    Make("sub/inner.lst", "x");
    state_.includeSubFolders = true;
    Open(folder_.Path());
    const std::string location = state_.location;
    EXPECT_EQ(location, state_.children.folder);
    Rows folders = state_.children.folders;
    Rows lists = state_.children.listFiles;
    std::sort(folders.begin(), folders.end());
    std::sort(lists.begin(), lists.end());
    EXPECT_EQ((Rows{"sub", "曲集"}), folders);
    EXPECT_EQ((Rows{"OLD.LST", "mix.lst"}), lists);

    // A list file location says nothing about any folder's children.
    state_.children = FolderChildren();
    ASSERT_TRUE(WriteWholeFile(folder_.File("songs.lst"), "Kadrel MakeList\r\na.mid\r\n"));
    state_.location = location + "songs.lst>";
    state_.kind = kLocationListFile;
    OpenLocation(state_, OpenOptions());
    EXPECT_TRUE(state_.children.folder.empty());
}

// The same listing gives the change watch the folder's signature, as its own
// walk of the folder would read it: hidden songs, archives and names it
// counts, whatever the list shows. A scan into sub-folders gives none, and
// so does a scan for a host that does not watch (the command-line tool).
TEST_F(FolderScanTest, ScanOfTheLocationGivesTheWatchTheFolderSignature) {
    MakeSongsAmongOthers();
    Make("pack.lzh", "not really an archive");
    Open(folder_.Path());
    ASSERT_TRUE(state_.children.signatureRead);
    const FolderSignature first = state_.children.signature;
    EXPECT_EQ(ReadFolderSignature(folder_.Path().c_str(), false), first);
    EXPECT_NE(FolderSignature(), first);

    ASSERT_TRUE(SetLocalTime(folder_.File("b.mid"), 2001, 2, 3, 4, 5, 6));
    Make("d.mid", midi_);
    Open(folder_.Path());
    ASSERT_TRUE(state_.children.signatureRead);
    EXPECT_NE(first, state_.children.signature);
    EXPECT_EQ(ReadFolderSignature(folder_.Path().c_str(), false), state_.children.signature);

    state_.includeSubFolders = true;
    Open(folder_.Path());
    EXPECT_EQ(state_.location, state_.children.folder);
    EXPECT_FALSE(state_.children.signatureRead);

    state_.includeSubFolders = false;
    host_.watches = false;
    Open(folder_.Path());
    EXPECT_EQ(state_.location, state_.children.folder);
    EXPECT_FALSE(state_.children.signatureRead);
}

TEST_F(FolderScanTest, PlayerMaskHidesWhatItCannotPlayButScanListKeepsIt) {
    Make("x.mid", midi_);
    Make("y.mp3", "");
    Make("z.wav", "");
    state_.playerTypeMask = PlayerTypeMask(2);  // WRD File Player: sequences only
    Open(folder_.Path());
    EXPECT_EQ((Rows{"x.mid"}), Column(state_.objectList, ObjectListColumn::path));
    // The scan list keeps the folder's order until a cache refresh sorts it.
    Rows scanned = Column(state_.scanList, ScanListColumn::path);
    std::sort(scanned.begin(), scanned.end());
    EXPECT_EQ((Rows{"x.mid", "y.mp3", "z.wav"}), scanned);
    EXPECT_EQ(2, state_.hiddenByPlayer);
    // Counted afresh for each location: a player of every kind hides none.
    state_.playerTypeMask = PlayerTypeMask(100);
    Open(folder_.Path());
    EXPECT_EQ(3, state_.objectList.Count());
    EXPECT_EQ(0, state_.hiddenByPlayer);
}

TEST_F(FolderScanTest, TimeTextIsTheLocalLastWriteTime) {
    Make("t.mid", midi_);
    ASSERT_TRUE(SetLocalTime(folder_.File("t.mid"), 2001, 2, 3, 4, 5, 6));
    Open(folder_.Path());
    ASSERT_EQ(1, state_.objectList.Count());
    EXPECT_EQ("2001/02/03 04:05:06", std::string(state_.objectList.Read(0, ObjectListColumn::timeText)));
    EXPECT_EQ("2001/02/03 04:05:06", std::string(state_.scanList.Read(0, ScanListColumn::timeText)));
}

TEST_F(FolderScanTest, SortKindsAndDirection) {
    // Titles come from the files; the MIDI fixtures carry distinct ones.
    Make("1.mid", ReadWholeFile(TestDataPath("midi/sjis-5c-title.mid")));  // "表示ソフト能力テスト"
    Make("2.mid", ReadWholeFile(TestDataPath("midi/crlf-title.mid")));     // "CRLF Title"
    Make("3.mid", midi_);                                                  // "Conductor Song"
    ASSERT_TRUE(SetLocalTime(folder_.File("1.mid"), 2010, 1, 1, 0, 0, 0));
    ASSERT_TRUE(SetLocalTime(folder_.File("2.mid"), 2012, 1, 1, 0, 0, 0));
    ASSERT_TRUE(SetLocalTime(folder_.File("3.mid"), 2011, 1, 1, 0, 0, 0));
    const struct {
        int32_t kind;
        bool descending;
        Rows names;
    } cases[] = {
        {kSortByName, false, {"1", "2", "3"}},        {kSortByName, true, {"3", "2", "1"}},
        {kSortByTitle, false, {"3", "2", "1"}},       {kSortByTitle, true, {"1", "2", "3"}},
        {kSortByDate, false, {"1", "3", "2"}},        {kSortByDate, true, {"2", "3", "1"}},
        {kSortBySoundModule, false, {"1", "2", "3"}},
    };
    for (const auto& c : cases) {
        state_.settings.sortKind = c.kind;
        state_.settings.sortDescending = c.descending;
        state_.previousPath.clear();
        Open(folder_.Path());
        EXPECT_EQ(c.names, Column(state_.objectList, ObjectListColumn::displayName)) << c.kind << c.descending;
    }
}

TEST_F(FolderScanTest, RedisplayKeepsTheSelectedSongAcrossAResort) {
    for (const char* name : {"a.mid", "b.mid", "c.mid"}) {
        Make(name, midi_);
    }
    Open(folder_.Path());
    EXPECT_EQ(0, host_.shownRow);
    EXPECT_EQ(0, host_.shownScroll);
    state_.lastSelectedName = "a.mid";
    state_.settings.sortDescending = true;
    Open(folder_.Path());  // same location: a redisplay
    EXPECT_EQ(2, host_.shownRow);
    EXPECT_EQ(7, host_.shownScroll);
    // A name that is gone leaves the remembered row, kept inside the list.
    state_.lastSelectedName = "gone.mid";
    host_.shownRow = 9;
    Open(folder_.Path());
    EXPECT_EQ(2, host_.shownRow);
}

// Two sort commands in quick succession: the second arrives while the first
// redisplay is still scanning, when the list shows no focus of its own. The
// song focused before the first stays focused, where the list was scrolled.
TEST_F(FolderScanTest, ASecondRequestDuringARedisplayKeepsTheFocusedSong) {
    for (int i = 0; i < 20; i++) {
        Make(std::to_string(i) + ".mid", midi_);
    }
    Open(folder_.Path());
    const Rows before = Column(state_.objectList, ObjectListColumn::path);
    host_.shownRow = int32_t(std::find(before.begin(), before.end(), "5.mid") - before.begin());
    RememberFocusedSong(state_, "5.mid");
    state_.settings.sortDescending = true;
    host_.pumps = 0;
    bool asked = false;
    host_.onPump = [&]() {
        if (host_.pumps == 5) {
            asked = true;
            host_.ShowRows(0, -1, 0);  // the list, being filled again, focuses nothing
            RememberFocusedSong(state_, "");
            state_.settings.sortKind = kSortByDate;
            OpenLocation(state_, OpenOptions());
        }
        return state_.abort;
    };
    Open(folder_.Path());
    ASSERT_TRUE(asked);
    ASSERT_EQ(20, host_.shownCount);
    ASSERT_GE(host_.shownRow, 0);
    EXPECT_EQ("5.mid", Column(state_.objectList, ObjectListColumn::path)[size_t(host_.shownRow)]);
    EXPECT_EQ(7, host_.shownScroll);
    EXPECT_FALSE(state_.busy);
    // A newer location is still a new location: its first row is focused.
    asked = false;
    host_.onPump = [&]() {
        if (host_.pumps == 5) {
            asked = true;
            state_.location = folder_.File("other/");
            OpenLocation(state_, OpenOptions());
        }
        return state_.abort;
    };
    ASSERT_TRUE(folder_.MakeFolder("other"));
    Make("other/x.mid", midi_);
    Make("other/y.mid", midi_);
    host_.pumps = 0;
    Open(folder_.Path());
    ASSERT_TRUE(asked);
    Rows other = Column(state_.objectList, ObjectListColumn::path);
    std::sort(other.begin(), other.end());
    EXPECT_EQ((Rows{"x.mid", "y.mid"}), other);
    EXPECT_EQ(0, host_.shownRow);
    EXPECT_EQ(0, host_.shownScroll);
}

TEST_F(FolderScanTest, NewerLocationDuringAScanRestartsOnIt) {
    ASSERT_TRUE(folder_.MakeFolder("one"));
    ASSERT_TRUE(folder_.MakeFolder("two"));
    for (int i = 0; i < 20; i++) {
        Make("one/" + std::to_string(i) + ".mid", midi_);
    }
    Make("two/only.mid", midi_);
    const std::string two = folder_.File("two/");
    host_.onPump = [&]() {
        if (host_.pumps == 5) {
            // What a tree selection arriving between entries does.
            state_.location = two;
            OpenOptions selection;
            selection.fromTree = true;
            selection.updateTree = true;
            OpenLocation(state_, selection);
        }
        return state_.abort;
    };
    Open(folder_.File("one/"));
    EXPECT_EQ((Rows{"only.mid"}), Column(state_.objectList, ObjectListColumn::path));
    EXPECT_EQ(two, state_.previousPath);
    EXPECT_EQ(state_.location, state_.children.folder);  // not the stopped scan's folder
    EXPECT_FALSE(state_.busy);
    EXPECT_FALSE(state_.abort);
}

// The program's end arriving between entries stops the scan for good: it
// is not started over, and no later request starts another.
TEST_F(FolderScanTest, QuitDuringAScanEndsItWithoutStartingOver) {
    for (int i = 0; i < 20; i++) {
        Make(std::to_string(i) + ".mid", midi_);
    }
    int pumpsAfterQuit = 0;
    host_.onPump = [&]() {
        if (host_.pumps == 5) {
            state_.quitting = true;  // what the window's host does on a quit request
        }
        if (state_.quitting) {
            pumpsAfterQuit++;
            if (pumpsAfterQuit > 50) {
                state_.location.clear();  // lets a scan that starts over end
            }
        }
        return state_.quitting;
    };
    Open(folder_.Path());
    EXPECT_EQ(1, pumpsAfterQuit) << "the stopped scan was started over";
    EXPECT_FALSE(state_.busy);
    EXPECT_TRUE(state_.previousPath.empty());

    const int pumps = host_.pumps;
    Open(folder_.Path());
    EXPECT_EQ(pumps, host_.pumps) << "a scan started after the quit";
}

TEST_F(FolderScanTest, MissingFolderIsReportedAndEmptyLocationClearsEverything) {
    Make("x.mid", midi_);
    Open(folder_.Path());
    ASSERT_EQ(1, state_.objectList.Count());
    const std::string missing = folder_.File("missing/");
    Open(missing);
    EXPECT_EQ(0, state_.objectList.Count());
    ASSERT_EQ(1u, host_.errors.size());
    EXPECT_EQ(missing + " 3", host_.errors[0]);

    Open("");
    EXPECT_EQ(kLocationNone, state_.kind);
    EXPECT_EQ(0, state_.scanList.Count());
    EXPECT_TRUE(state_.previousPath.empty());
}

}  // namespace
