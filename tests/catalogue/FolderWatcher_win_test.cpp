// The change watchers on real folders under Wine: a hidden message-only
// window stands in for the client window and counts what the watcher threads
// send and post to it while a test changes a scratch folder.
#include "catalogue/FolderWatcher_win.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "TestPaths.h"
#include "core/CommandIds.h"

namespace {

std::vector<WPARAM> driveChanges;
int folderChanges = 0;
DWORD lastFolderChangeTick = 0;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRIVE_CHANGED) {
        driveChanges.push_back(wParam);
        return 0;
    }
    if (message == WM_FOLDER_CHANGED) {
        folderChanges++;
        lastFolderChangeTick = GetTickCount();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Dispatches messages for about ms milliseconds.
void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

// Long enough for the debounce delay and a comparison under Wine.
constexpr DWORD kSettle = kDebounceDelay + 1000;  // ms
// Watch hands the folder to the watcher thread, which then takes its baseline
// signature; a change made before that is part of the baseline. Tests that
// expect a change to be seen give the thread this long first.
constexpr DWORD kArm = 300;  // ms

class WatcherTest : public ::testing::Test {
   public:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = CountingProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuilloryWatchTest";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("QuilloryWatchTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, window_);
        InitializeCriticalSection(&catalogueLock_);
        driveChanges.clear();
        folderChanges = 0;
        song_ = TestDataPath("midi/conductor-format1.mid");
    }
    void TearDown() override {
        DestroyWindow(window_);
        DeleteCriticalSection(&catalogueLock_);
    }
    void CopySong(const std::string& name) const {
        ASSERT_TRUE(CopyFileA(song_.c_str(), folder_.File(name).c_str(), FALSE)) << name;
    }
    void WriteText(const std::string& name, const std::string& text) const {
        ASSERT_TRUE(WriteWholeFile(folder_.File(name), text)) << name;
    }
    HWND window_ = nullptr;
    CRITICAL_SECTION catalogueLock_;
    ScratchFolder folder_;
    std::string song_;
};

TEST_F(WatcherTest, OnlySongChangesRefreshTheListOnceAfterQuiet) {
    WriteText("notes.txt", "first");
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.Start(window_, &catalogueLock_));
    watcher.Watch(folder_.Path(), false);
    Pump(kArm);
    const struct {
        const char* what;
        std::function<void(WatcherTest*)> change;
        int refreshes;
    } steps[] = {
        {"text file rewritten", [](WatcherTest* t) { t->WriteText("notes.txt", "second, longer"); }, 0},
        {"text file added", [](WatcherTest* t) { t->WriteText("more.txt", "x"); }, 0},
        {"text file deleted", [](WatcherTest* t) { DeleteFileA(t->folder_.File("more.txt").c_str()); }, 0},
        {"song copied in", [](WatcherTest* t) { t->CopySong("a.mid"); }, 1},
        {"folder made without sub-folders", [](WatcherTest* t) { t->folder_.MakeFolder("sub"); }, 0},
        {"song renamed",
         [](WatcherTest* t) { MoveFileA(t->folder_.File("a.mid").c_str(), t->folder_.File("b.mid").c_str()); }, 1},
        {"song deleted", [](WatcherTest* t) { DeleteFileA(t->folder_.File("b.mid").c_str()); }, 1},
    };
    for (const auto& step : steps) {
        folderChanges = 0;
        step.change(this);
        Pump(kSettle);
        EXPECT_EQ(step.refreshes, folderChanges) << step.what;
    }
    watcher.Stop();
}

// Given the signature a scan read, the watch measures changes against the
// list the scan made: a song that arrived between the scan and the watch is
// seen with the next change of any file, where a signature taken at the
// watch would have taken it in.
TEST_F(WatcherTest, BaselineFromTheScanCountsSongsArrivedBeforeTheWatch) {
    CopySong("a.mid");
    const FolderSignature scanned = ReadFolderSignature(folder_.Path().c_str(), false);
    CopySong("b.mid");
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.Start(window_, &catalogueLock_));
    watcher.Watch(folder_.Path(), false, &scanned);
    Pump(kArm);
    EXPECT_EQ(0, folderChanges);
    WriteText("notes.txt", "x");
    Pump(kSettle);
    EXPECT_EQ(1, folderChanges);
    watcher.Stop();
}

TEST_F(WatcherTest, BurstOfCopiesRefreshesOnceAfterTheLast) {
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.Start(window_, &catalogueLock_));
    watcher.Watch(folder_.Path(), false);
    Pump(kArm);
    for (int i = 0; i < 20; i++) {
        CopySong("song" + std::to_string(i) + ".mid");
        Pump(50);
    }
    const DWORD lastCopy = GetTickCount();
    EXPECT_EQ(0, folderChanges);
    Pump(kSettle + 1000);
    EXPECT_EQ(1, folderChanges);
    EXPECT_GE(lastFolderChangeTick - lastCopy, kDebounceDelay - 100);
}

TEST_F(WatcherTest, SubFoldersAreWatchedWhenIncluded) {
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.Start(window_, &catalogueLock_));
    watcher.Watch(folder_.Path(), true);
    Pump(kArm);
    ASSERT_TRUE(folder_.MakeFolder("表"));  // a folder name is part of the signature
    Pump(kSettle);
    EXPECT_EQ(1, folderChanges);
}

TEST_F(WatcherTest, LeavingAFolderDropsItsPendingChanges) {
    ScratchFolder other;
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.Start(window_, &catalogueLock_));
    watcher.Watch(folder_.Path(), false);
    CopySong("a.mid");
    watcher.Watch(other.Path(), false);  // moved on before the delay ran out
    Pump(kSettle);
    EXPECT_EQ(0, folderChanges);

    CopySong("b.mid");  // the old folder is no longer watched
    Pump(kSettle);
    EXPECT_EQ(0, folderChanges);

    ASSERT_TRUE(CopyFileA(song_.c_str(), other.File("c.mid").c_str(), FALSE));
    Pump(kSettle);
    EXPECT_EQ(1, folderChanges);

    ASSERT_TRUE(CopyFileA(song_.c_str(), other.File("d.mid").c_str(), FALSE));
    watcher.Unwatch();
    Pump(kSettle);
    EXPECT_EQ(1, folderChanges);
}

TEST_F(WatcherTest, StoppingEndsTheThreadsPromptly) {
    FolderWatcher watcher;
    ASSERT_TRUE(watcher.Start(window_, &catalogueLock_));
    watcher.Watch(folder_.Path(), true);
    CopySong("a.mid");  // a comparison is pending
    Pump(100);
    const DWORD start = GetTickCount();
    watcher.Stop();
    EXPECT_LT(GetTickCount() - start, 1000u);
    Pump(kSettle);
    EXPECT_EQ(0, folderChanges);
    watcher.Stop();  // a second stop does nothing
}

// Drives of the tests' drive lists: the scratch folder stands for a drive,
// "Q:\" is a CD drive with no disc, every other root a fixed drive.
std::string scratchDrive;
UINT scratchDriveType = DRIVE_FIXED;

UINT TestDriveType(const char* root) {
    if (scratchDrive == root) {
        return scratchDriveType;
    }
    return std::string(root) == "Q:\\" ? DRIVE_CDROM : DRIVE_FIXED;
}

TEST_F(WatcherTest, FixedDriveWatcherReportsFolderChangesWithTheDriveIndex) {
    BagBox drives = MakeDriveList();
    drives.Add({"Q:\\"});
    drives.Add({folder_.Path().c_str()});
    scratchDrive = folder_.Path();
    scratchDriveType = DRIVE_FIXED;
    FixedDriveWatcher watcher;
    for (int cycle = 0; cycle < 2; cycle++) {
        driveChanges.clear();
        ASSERT_TRUE(watcher.Start(window_, drives, TestDriveType));
        Pump(200);
        WriteText("notes" + std::to_string(cycle) + ".txt", "file names are not watched");
        Pump(500);
        ASSERT_TRUE(folder_.MakeFolder("new" + std::to_string(cycle)));
        Pump(1000);
        EXPECT_EQ(std::vector<WPARAM>{1}, driveChanges) << cycle;
        const DWORD start = GetTickCount();
        watcher.Stop();
        EXPECT_LT(GetTickCount() - start, 1000u);
    }
    ASSERT_TRUE(folder_.MakeFolder("after"));
    Pump(500);
    EXPECT_EQ(std::vector<WPARAM>{1}, driveChanges);
}

TEST_F(WatcherTest, DriveWatcherSetWatchesOnlyStartedDrives) {
    BagBox drives = MakeDriveList();
    drives.Add({"C:\\"});
    drives.Add({folder_.Path().c_str()});
    drives.Add({"Q:\\"});
    scratchDrive = folder_.Path();
    scratchDriveType = DRIVE_REMOVABLE;
    DriveWatcherSet set;
    set.Build(window_, drives, TestDriveType);

    ASSERT_TRUE(folder_.MakeFolder("before"));
    Pump(500);
    EXPECT_TRUE(driveChanges.empty());

    std::string upper = folder_.Path();
    CharUpperA(&upper[0]);
    set.StartDrive(upper.c_str());
    set.StartDrive(folder_.Path().c_str());  // already watched: no second thread
    set.StartDrive("C:\\");                  // fixed drives are not in the set
    set.StartDrive("Q:\\");                  // no disc: its thread ends at once
    Pump(200);
    ASSERT_TRUE(folder_.MakeFolder("started"));
    Pump(1000);
    EXPECT_EQ(std::vector<WPARAM>{1}, driveChanges);

    set.StopDrive(folder_.Path().c_str());
    ASSERT_TRUE(folder_.MakeFolder("stopped"));
    Pump(500);
    EXPECT_EQ(std::vector<WPARAM>{1}, driveChanges);

    set.StartDrive(folder_.Path().c_str());
    Pump(200);
    ASSERT_TRUE(folder_.MakeFolder("again"));
    Pump(1000);
    EXPECT_EQ((std::vector<WPARAM>{1, 1}), driveChanges);
    const DWORD start = GetTickCount();
    set.StopAll();
    set.StopDrive("Q:\\");
    EXPECT_LT(GetTickCount() - start, 1000u);
}

}  // namespace
