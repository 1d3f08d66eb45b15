// The folder watcher's decisions: which changes of a folder alter its
// signature, and how the debouncer turns a burst of change notifications into
// one comparison after the folder has been quiet.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>
#include <vector>
#ifdef _WIN32
#include <sys/utime.h>
#else
#include <utime.h>
#endif

#include "TestPaths.h"
#include "catalogue/ChangeDebounce.h"
#include "catalogue/FolderSignature.h"
#include "catalogue/archive/ArchiveKind.h"

namespace {

bool SetWriteTime(const std::string& path, time_t when) {
    struct utimbuf times;
    times.actime = times.modtime = when;
    return utime(SystemPath(path).c_str(), &times) == 0;
}

// A scratch folder holding a.mid, readme.txt and sub/b.mid, all with the
// same write time.
struct SongTree {
    SongTree() {
        song = ReadWholeFile(TestDataPath("midi/conductor-format1.mid"));
        EXPECT_FALSE(song.empty());
        Write("a.mid", song);
        Write("readme.txt", "notes");
        EXPECT_TRUE(folder.MakeFolder("sub"));
        Write("sub/b.mid", song);
    }
    void Write(const std::string& name, const std::string& bytes) const {
        EXPECT_TRUE(WriteWholeFile(File(name), bytes)) << name;
        EXPECT_TRUE(SetWriteTime(File(name), 1000000000)) << name;
    }
    std::string File(const std::string& name) const {
        return folder.File(name);
    }
    FolderSignature Read(bool includeSubFolders) const {
        return ReadFolderSignature(folder.Path().c_str(), includeSubFolders);
    }
    ScratchFolder folder;
    std::string song;
};

TEST(FolderSignatures, OnlyChangesOfSongsChangeTheSignature) {
    const struct {
        const char* what;
        std::function<void(const SongTree&)> change;
        bool changesFlat;     // signature of the folder alone
        bool changesSubTree;  // signature with its sub-folders
    } cases[] = {
        {"text file rewritten", [](const SongTree& t) { t.Write("readme.txt", "longer notes"); }, false, false},
        {"text file added", [](const SongTree& t) { t.Write("new.txt", "x"); }, false, false},
        {"text file removed", [](const SongTree& t) { std::remove(SystemPath(t.File("readme.txt")).c_str()); }, false,
         false},
        {"song copied in", [](const SongTree& t) { t.Write("c.mid", t.song); }, true, true},
        {"song removed", [](const SongTree& t) { std::remove(SystemPath(t.File("a.mid")).c_str()); }, true, true},
        {"song renamed",
         [](const SongTree& t) {
             std::rename(SystemPath(t.File("a.mid")).c_str(), SystemPath(t.File("z.mid")).c_str());
         },
         true, true},
        {"song touched, same size", [](const SongTree& t) { SetWriteTime(t.File("a.mid"), 1000000002); }, true, true},
        {"song rewritten, same time", [](const SongTree& t) { t.Write("a.mid", t.song + "x"); }, true, true},
        {"upper-case extension", [](const SongTree& t) { t.Write("LOUD.MID", t.song); }, true, true},
        {"empty folder added", [](const SongTree& t) { t.folder.MakeFolder("empty"); }, false, true},
        {"song in a sub-folder", [](const SongTree& t) { t.Write("sub/d.mp3", ""); }, false, true},
        {"text in a sub-folder", [](const SongTree& t) { t.Write("sub/e.txt", "x"); }, false, false},
        {"song under folders with 0x5C trail bytes",
         [](const SongTree& t) {
             t.folder.MakeFolder("表");
             t.folder.MakeFolder("表/ソ");
             t.Write("表/ソ/f.mid", t.song);
         },
         false, true},
    };
    for (const auto& c : cases) {
        const SongTree tree;
        const FolderSignature flat = tree.Read(false);
        const FolderSignature whole = tree.Read(true);
        c.change(tree);
        EXPECT_EQ(c.changesFlat, tree.Read(false) != flat) << c.what;
        EXPECT_EQ(c.changesSubTree, tree.Read(true) != whole) << c.what;
    }
}

TEST(FolderSignatures, ArchivesCountOnlyWhileTheirArchiverIsAvailable) {
    const bool wasAvailable = ArchiveAvailable(kArchiveLzh);
    const SongTree tree;
    tree.Write("set.lzh", "-lh5-");
    SetArchiveAvailable(kArchiveLzh, false);
    const FolderSignature without = tree.Read(false);
    SetArchiveAvailable(kArchiveLzh, true);
    const FolderSignature with = tree.Read(false);
    SetArchiveAvailable(kArchiveLzh, wasAvailable);
    EXPECT_NE(without, with);
    std::remove(SystemPath(tree.File("set.lzh")).c_str());
    EXPECT_EQ(without, tree.Read(false));
}

TEST(FolderSignatures, HashesFoldSignedBytesAndBothHalvesOfTimesAndSizes) {
    FolderSignature signature;
    FindRecord record;
    record.name = "\x95\x5C";  // a lead byte above 0x7F counts as negative
    record.lastWriteTime = 0x0000000700000003ull;
    record.size = 0x0000000200000005ull;
    AddFileToSignature(&signature, record);
    AddFileToSignature(&signature, record);
    EXPECT_EQ(((0xFFFFFF95u * 37u + 0x5Cu) * 37u + 0xFFFFFF95u) * 37u + 0x5Cu, signature.nameHash);
    EXPECT_EQ(7u * 37u + 7u, signature.writeTimeHighHash);
    EXPECT_EQ(3u * 37u + 3u, signature.writeTimeLowHash);
    EXPECT_EQ(2u * 37u + 2u, signature.sizeHighHash);
    EXPECT_EQ(5u * 37u + 5u, signature.sizeLowHash);
}

TEST(FolderSignatures, MissingOrEmptyFolderIsAllZero) {
    const ScratchFolder empty;
    EXPECT_EQ(FolderSignature(), ReadFolderSignature(empty.Path().c_str(), true));
    EXPECT_EQ(FolderSignature(), ReadFolderSignature((empty.Path() + "missing/").c_str(), true));
}

// Runs the debouncer thread's loop against change notifications at the given
// times (ms), modelling its wait: a kick before the delay runs out restarts
// the wait, otherwise the wait times out. The folder's signature at a given
// time comes from signatureAt.
struct DebounceRun {
    std::vector<uint32_t> comparedAt;
    std::vector<uint32_t> notifiedAt;
};

DebounceRun RunDebouncer(ChangeDebounce* debounce,
                         const std::vector<uint32_t>& kicks,
                         const std::function<FolderSignature(uint32_t)>& signatureAt) {
    DebounceRun run;
    uint32_t now = 0;
    size_t next = 0;
    for (;;) {
        const uint32_t delay = debounce->Delay();
        bool timedOut = false;
        if (next < kicks.size() && (delay == kDebounceDisarmed || kicks[next] - now < delay)) {
            now = kicks[next++];
            debounce->Kick(kDebounceDelay);
        } else if (delay != kDebounceDisarmed) {
            now += delay;
            timedOut = true;
        } else {
            return run;
        }
        const DebounceTarget target = debounce->Target();
        switch (debounce->Wake(timedOut)) {
            case DebounceStep::kTakeBaseline:
                debounce->SetBaseline(target, signatureAt(now));
                break;
            case DebounceStep::kCompare:
                run.comparedAt.push_back(now);
                if (debounce->Settle(target, signatureAt(now))) {
                    run.notifiedAt.push_back(now);
                }
                break;
            case DebounceStep::kNone:
                break;
        }
    }
}

FolderSignature SignatureOf(uint32_t songs) {
    FolderSignature signature;
    signature.nameHash = songs;
    return signature;
}

TEST(ChangeDebouncing, BurstsAreComparedOnceAfterQuiet) {
    std::vector<uint32_t> hundredCopies;
    for (uint32_t i = 0; i < 100; i++) {
        hundredCopies.push_back(10 + i * 40);  // last at 3970
    }
    const struct {
        const char* what;
        std::vector<uint32_t> kicks;
        std::function<FolderSignature(uint32_t)> folder;
        std::vector<uint32_t> compared;
        std::vector<uint32_t> notified;
    } cases[] = {
        {"100 songs copied", hundredCopies, [](uint32_t t) { return SignatureOf(t >= 10 ? 100 : 0); }, {5470}, {5470}},
        {"text file edits only", {10, 700, 1400}, [](uint32_t) { return SignatureOf(0); }, {2900}, {}},
        {"two bursts apart",
         {10, 20, 5000},
         [](uint32_t t) {
             return SignatureOf(t >= 5000 ? 2 : t >= 10 ? 1 : 0);
         },
         {1520, 6500},
         {1520, 6500}},
        {"a change 1,499 ms after the last restarts the wait",
         {0, 1499, 2998},
         [](uint32_t t) { return SignatureOf(t > 0 ? 1 : 0); },
         {4498},
         {4498}},
        {"no change, no comparison", {}, [](uint32_t) { return SignatureOf(0); }, {}, {}},
    };
    for (const auto& c : cases) {
        ChangeDebounce debounce;
        debounce.Rearm("C:\\songs\\", false);
        debounce.SetBaseline(debounce.Target(), c.folder(0));
        const DebounceRun run = RunDebouncer(&debounce, c.kicks, c.folder);
        EXPECT_EQ(c.compared, run.comparedAt) << c.what;
        EXPECT_EQ(c.notified, run.notifiedAt) << c.what;
        EXPECT_FALSE(debounce.Pending()) << c.what;
    }
}

TEST(ChangeDebouncing, AnotherFolderIsNeverMeasuredAgainstTheOld) {
    ChangeDebounce debounce;
    debounce.Rearm("C:\\old\\", false);
    debounce.SetBaseline(debounce.Target(), SignatureOf(1));
    debounce.Kick(kDebounceDelay);
    EXPECT_TRUE(debounce.Pending());

    // The old folder's signature is being taken when the user moves on.
    ASSERT_EQ(DebounceStep::kCompare, debounce.Wake(true));
    const DebounceTarget old = debounce.Target();
    debounce.Rearm("C:\\new\\", true);
    EXPECT_FALSE(debounce.Pending());
    EXPECT_FALSE(debounce.Settle(old, SignatureOf(2)));

    // Even a time-out takes the new folder's baseline before anything else.
    EXPECT_EQ(DebounceStep::kTakeBaseline, debounce.Wake(true));
    const DebounceTarget now = debounce.Target();
    EXPECT_EQ("C:\\new\\", now.folder);
    EXPECT_TRUE(now.includeSubFolders);
    debounce.SetBaseline(old, SignatureOf(2));  // a late baseline of the old folder is dropped
    EXPECT_EQ(DebounceStep::kTakeBaseline, debounce.Wake(false));
    debounce.SetBaseline(now, SignatureOf(7));
    EXPECT_EQ(DebounceStep::kNone, debounce.Wake(false));
    EXPECT_FALSE(debounce.Settle(now, SignatureOf(7)));
    EXPECT_TRUE(debounce.Settle(now, SignatureOf(8)));
}

// A folder whose signature was read just before it is watched starts from
// that baseline instead of taking one, and the next re-arm without one takes
// one again.
TEST(ChangeDebouncing, BaselineGivenWithTheFolderIsNotTakenAgain) {
    ChangeDebounce debounce;
    const FolderSignature listed = SignatureOf(3);
    debounce.Rearm("C:\\songs\\", false, &listed);
    EXPECT_FALSE(debounce.Pending());
    EXPECT_EQ(DebounceStep::kNone, debounce.Wake(false));
    debounce.Kick(kDebounceDelay);
    ASSERT_EQ(DebounceStep::kCompare, debounce.Wake(true));
    EXPECT_FALSE(debounce.Settle(debounce.Target(), SignatureOf(3)));
    EXPECT_TRUE(debounce.Settle(debounce.Target(), SignatureOf(4)));

    debounce.Rearm("C:\\other\\", false);
    EXPECT_EQ(DebounceStep::kTakeBaseline, debounce.Wake(false));
}

TEST(ChangeDebouncing, ChangeDuringComparisonArmsTheNextOne) {
    ChangeDebounce debounce;
    debounce.Rearm("C:\\songs\\", false);
    debounce.SetBaseline(debounce.Target(), SignatureOf(0));
    debounce.Kick(kDebounceDelay);
    ASSERT_EQ(DebounceStep::kCompare, debounce.Wake(true));
    debounce.Kick(kDebounceDelay);  // a file arrives while the signature is taken
    EXPECT_TRUE(debounce.Settle(debounce.Target(), SignatureOf(1)));
    EXPECT_EQ(kDebounceDelay, debounce.Delay());
}

}  // namespace
