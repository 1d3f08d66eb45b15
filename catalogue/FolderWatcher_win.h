// The change watchers that keep the folder tree and the song list current
// while other programs change the disk. Each runs on threads of its own, one
// priority step below normal, and never touches a window: it only sends
// WM_DRIVE_CHANGED (the drive's index in the drive list) or posts
// WM_FOLDER_CHANGED to its owner, whose handlers re-read on the UI thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/ChangeDebounce.h"
#include "catalogue/Drives.h"
#include "core/BagBox.h"

// The type of a drive root (the system's DRIVE_ values); tests give their own.
using DriveTypeReader = UINT (*)(const char* root);
UINT ReadDriveType(const char* root);

// Folder names on all fixed drives, one thread for all of them.
class FixedDriveWatcher {
   public:
    FixedDriveWatcher() = default;
    ~FixedDriveWatcher();
    FixedDriveWatcher(const FixedDriveWatcher&) = delete;
    FixedDriveWatcher& operator=(const FixedDriveWatcher&) = delete;

    // Watches every fixed drive of driveList (roots in column 0). Call after
    // the list is built; stops an earlier watch first. False when the thread
    // could not be started.
    bool Start(HWND owner, const BagBox& driveList, DriveTypeReader readType = ReadDriveType);
    // Ends the thread and closes its handles; nothing when not running.
    void Stop();

   private:
    static DWORD WINAPI ThreadMain(void* self);

    HWND owner_ = nullptr;
    HANDLE thread_ = nullptr;
    // Slot 0 is the stop event, the others the drives' change handles.
    HANDLE handles_[MAXIMUM_WAIT_OBJECTS] = {};
    int32_t slotDrive_[MAXIMUM_WAIT_OBJECTS] = {};
    DWORD slotCount_ = 0;
    std::vector<std::string> fixedRoots_;
    std::vector<int32_t> fixedIndexes_;
};

// Folder names on each drive that is not fixed (removable, network, CD),
// one thread per drive, started once the drive has been found ready.
class DriveWatcherSet {
   public:
    DriveWatcherSet() = default;
    ~DriveWatcherSet();
    DriveWatcherSet(const DriveWatcherSet&) = delete;
    DriveWatcherSet& operator=(const DriveWatcherSet&) = delete;

    // Records every drive of driveList that is not fixed, none watched;
    // watches still running are stopped first.
    void Build(HWND owner, const BagBox& driveList, DriveTypeReader readType = ReadDriveType);
    // Watches a recorded drive (root in any case) unless it is watched
    // already; other roots are ignored.
    void StartDrive(const char* root);
    // Stops watching a recorded drive; other roots are ignored.
    void StopDrive(const char* root);
    void StopAll();

    struct Record {
        HWND owner = nullptr;
        int32_t driveIndex = 0;
        std::string root;
        HANDLE thread = nullptr;
        HANDLE stopEvent = nullptr;
        HANDLE change = INVALID_HANDLE_VALUE;  // stays open after the thread ends
    };

   private:
    Record* FindRecord(const char* root);

    BagBox roots_ = MakeDriveList();
    std::vector<std::unique_ptr<Record>> records_;
};

// Waits for quiet after changes of the watched folder, then posts
// WM_FOLDER_CHANGED when its songs changed (see ChangeDebounce).
class ChangeDebouncer {
   public:
    ChangeDebouncer();
    ~ChangeDebouncer();
    ChangeDebouncer(const ChangeDebouncer&) = delete;
    ChangeDebouncer& operator=(const ChangeDebouncer&) = delete;

    // Starts the thread. Signatures are taken while holding catalogueLock.
    // False when it could not be started.
    bool Start(HWND owner, CRITICAL_SECTION* catalogueLock);
    // A change arrived: compare after delayMs without another one.
    void Kick(uint32_t delayMs);
    // Watches another folder; its baseline is taken before anything else,
    // unless one is given.
    void Rearm(const std::string& folder, bool includeSubFolders, const FolderSignature* baseline);
    // Drops a pending comparison.
    void Cancel();
    void Stop();

   private:
    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    void RunStep(DebounceStep step, const DebounceTarget& target);

    HWND owner_ = nullptr;
    CRITICAL_SECTION* catalogueLock_ = nullptr;
    CRITICAL_SECTION stateLock_;  // guards state_
    ChangeDebounce state_;
    HANDLE thread_ = nullptr;
    HANDLE kickEvent_ = nullptr;
    std::atomic<bool> quit_{false};
};

// The files of the current folder (and, on request, its sub-folders).
class FolderWatcher {
   public:
    FolderWatcher() = default;
    ~FolderWatcher();
    FolderWatcher(const FolderWatcher&) = delete;
    FolderWatcher& operator=(const FolderWatcher&) = delete;

    // Starts the folder thread and its debouncer, idle. False when a thread
    // could not be started.
    bool Start(HWND owner, CRITICAL_SECTION* catalogueLock);
    // Watches a folder (ending in its separator) instead of the current one.
    // Returns once the notification has been requested; a folder that cannot
    // be watched is silently not watched. baseline: the folder's signature
    // as a scan has just read it (null: the debouncer reads it).
    void Watch(const std::string& path, bool includeSubfolders, const FolderSignature* baseline = nullptr);
    // Stops watching and drops a pending comparison.
    void Unwatch();
    void Stop();

   private:
    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    void WatchChanges();

    ChangeDebouncer debouncer_;
    HANDLE thread_ = nullptr;
    HANDLE readyEvent_ = nullptr;    // manual reset
    HANDLE commandEvent_ = nullptr;  // auto reset
    HANDLE wakeEvent_ = nullptr;     // auto reset
    HANDLE change_ = INVALID_HANDLE_VALUE;
    std::atomic<bool> quit_{false};
    std::atomic<bool> watching_{false};
    std::string path_;
    bool includeSubfolders_ = false;
    DWORD filter_ = 0;
};
