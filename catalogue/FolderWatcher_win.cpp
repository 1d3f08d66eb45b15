// The change watchers' threads: drive folder structure for the tree, the
// current folder's files for the song list, and the debouncer between the
// folder watch and the song list.
#include "catalogue/FolderWatcher_win.h"

#include "core/CommandIds.h"

// What the drive watches and the folder watch report.
constexpr DWORD kDriveFilter = FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr DWORD kFolderFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;
constexpr DWORD kStopWait = 5000;       // ms a thread gets to end when asked
constexpr DWORD kTerminateWait = 3000;  // ms after terminating one that did not

UINT ReadDriveType(const char* root) {
    return GetDriveTypeA(root);
}

// Creates a watcher thread: suspended, one step below normal, then resumed.
// Null when it cannot be created.
static HANDLE StartWatcherThread(LPTHREAD_START_ROUTINE main, void* param) {
    HANDLE thread = CreateThread(nullptr, 0, main, param, CREATE_SUSPENDED, nullptr);
    if (!thread) {
        return nullptr;
    }
    SetThreadPriority(thread, THREAD_PRIORITY_BELOW_NORMAL);
    ResumeThread(thread);
    return thread;
}

// Waits for a thread to end. A drive thread may be blocked sending to the
// window of the thread that waits here, so sent messages are let through
// meanwhile. True when the thread ended within timeoutMs.
static bool WaitForThread(HANDLE thread, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) {
            return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        }
        const DWORD result = MsgWaitForMultipleObjects(1, &thread, FALSE, timeoutMs - spent, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) {
            return result == WAIT_OBJECT_0;
        }
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// Ends a thread that has been asked to stop, terminating it when it does not
// end in time, and closes its handle.
static void EndWatcherThread(HANDLE* thread) {
    if (!*thread) {
        return;
    }
    if (!WaitForThread(*thread, kStopWait)) {
        TerminateThread(*thread, 0);
        WaitForSingleObject(*thread, kTerminateWait);
    }
    CloseHandle(*thread);
    *thread = nullptr;
}

static void CloseEvent(HANDLE* event) {
    if (*event) {
        CloseHandle(*event);
        *event = nullptr;
    }
}

static void CloseChange(HANDLE* change) {
    if (*change != INVALID_HANDLE_VALUE) {
        FindCloseChangeNotification(*change);
        *change = INVALID_HANDLE_VALUE;
    }
}

// The loop of a drive thread: handles[0] is its stop event, the others change
// handles of the drives in drives[]. Each change is sent to the owner, which
// re-reads the drive before the send returns. Returns when stopped, or when
// a wait or a re-arm fails.
static void ReportDriveChanges(HWND owner, const HANDLE* handles, const int32_t* drives, DWORD count) {
    for (;;) {
        const DWORD result = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
        if (result == WAIT_OBJECT_0 || result >= WAIT_OBJECT_0 + count) {
            return;
        }
        const DWORD slot = result - WAIT_OBJECT_0;
        SendMessageA(owner, WM_DRIVE_CHANGED, WPARAM(drives[slot]), 0);
        if (WaitForSingleObject(handles[0], 0) == WAIT_OBJECT_0) {
            return;
        }
        if (!FindNextChangeNotification(handles[slot])) {
            return;
        }
    }
}

FixedDriveWatcher::~FixedDriveWatcher() {
    Stop();
}

bool FixedDriveWatcher::Start(HWND owner, const BagBox& driveList, DriveTypeReader readType) {
    Stop();
    owner_ = owner;
    fixedRoots_.clear();
    fixedIndexes_.clear();
    for (int32_t i = 0; i < driveList.Count() && fixedRoots_.size() + 1 < MAXIMUM_WAIT_OBJECTS; i++) {
        if (readType(driveList.Read(i, 0)) == DRIVE_FIXED) {
            fixedRoots_.push_back(driveList.Read(i, 0));
            fixedIndexes_.push_back(i);
        }
    }
    handles_[0] = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    slotCount_ = 1;
    if (!handles_[0]) {
        return false;
    }
    thread_ = StartWatcherThread(ThreadMain, this);
    return thread_ != nullptr;
}

DWORD WINAPI FixedDriveWatcher::ThreadMain(void* param) {
    FixedDriveWatcher* self = static_cast<FixedDriveWatcher*>(param);
    for (size_t i = 0; i < self->fixedRoots_.size(); i++) {
        const HANDLE change = FindFirstChangeNotificationA(self->fixedRoots_[i].c_str(), TRUE, kDriveFilter);
        if (change != INVALID_HANDLE_VALUE) {
            self->handles_[self->slotCount_] = change;
            self->slotDrive_[self->slotCount_] = self->fixedIndexes_[i];
            self->slotCount_++;
        }
    }
    ReportDriveChanges(self->owner_, self->handles_, self->slotDrive_, self->slotCount_);
    return 0;
}

void FixedDriveWatcher::Stop() {
    if (handles_[0]) {
        SetEvent(handles_[0]);
    }
    EndWatcherThread(&thread_);
    CloseEvent(&handles_[0]);
    for (DWORD i = 1; i < slotCount_; i++) {
        CloseChange(&handles_[i]);
    }
    slotCount_ = 0;
}

DriveWatcherSet::~DriveWatcherSet() {
    StopAll();
}

void DriveWatcherSet::Build(HWND owner, const BagBox& driveList, DriveTypeReader readType) {
    StopAll();
    roots_.Clear();
    records_.clear();
    for (int32_t i = 0; i < driveList.Count(); i++) {
        const char* root = driveList.Read(i, 0);
        if (readType(root) == DRIVE_FIXED) {
            continue;
        }
        roots_.Add({root});
        auto record = std::make_unique<Record>();
        record->owner = owner;
        record->driveIndex = i;
        record->root = root;
        records_.push_back(std::move(record));
    }
}

DriveWatcherSet::Record* DriveWatcherSet::FindRecord(const char* root) {
    const int32_t row = roots_.Find(root, 0);
    return row < 0 ? nullptr : records_[size_t(row)].get();
}

// Stops a drive's thread and closes what it left open.
static void StopDriveRecord(DriveWatcherSet::Record* record) {
    if (record->stopEvent) {
        SetEvent(record->stopEvent);
    }
    EndWatcherThread(&record->thread);
    CloseEvent(&record->stopEvent);
    CloseChange(&record->change);
}

static DWORD WINAPI DriveThreadMain(void* param) {
    DriveWatcherSet::Record* record = static_cast<DriveWatcherSet::Record*>(param);
    record->change = FindFirstChangeNotificationA(record->root.c_str(), TRUE, kDriveFilter);
    if (record->change == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const HANDLE handles[2] = {record->stopEvent, record->change};
    const int32_t drives[2] = {-1, record->driveIndex};
    ReportDriveChanges(record->owner, handles, drives, 2);
    return 0;
}

void DriveWatcherSet::StartDrive(const char* root) {
    Record* record = FindRecord(root);
    if (!record) {
        return;
    }
    if (record->thread && WaitForSingleObject(record->thread, 0) == WAIT_TIMEOUT) {
        return;
    }
    StopDriveRecord(record);
    record->stopEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (record->stopEvent) {
        record->thread = StartWatcherThread(DriveThreadMain, record);
    }
}

void DriveWatcherSet::StopDrive(const char* root) {
    if (Record* record = FindRecord(root)) {
        StopDriveRecord(record);
    }
}

void DriveWatcherSet::StopAll() {
    for (auto& record : records_) {
        StopDriveRecord(record.get());
    }
}

ChangeDebouncer::ChangeDebouncer() {
    InitializeCriticalSection(&stateLock_);
}

ChangeDebouncer::~ChangeDebouncer() {
    Stop();
    DeleteCriticalSection(&stateLock_);
}

bool ChangeDebouncer::Start(HWND owner, CRITICAL_SECTION* catalogueLock) {
    Stop();
    owner_ = owner;
    catalogueLock_ = catalogueLock;
    quit_ = false;
    kickEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!kickEvent_) {
        return false;
    }
    thread_ = StartWatcherThread(ThreadMain, this);
    return thread_ != nullptr;
}

DWORD WINAPI ChangeDebouncer::ThreadMain(void* self) {
    static_cast<ChangeDebouncer*>(self)->Run();
    return 0;
}

void ChangeDebouncer::Run() {
    for (;;) {
        EnterCriticalSection(&stateLock_);
        const DWORD delay = state_.Delay();
        LeaveCriticalSection(&stateLock_);
        const DWORD result = WaitForSingleObject(kickEvent_, delay);
        if (quit_ || result == WAIT_FAILED) {
            return;
        }
        EnterCriticalSection(&stateLock_);
        const DebounceStep step = state_.Wake(result == WAIT_TIMEOUT);
        const DebounceTarget target = state_.Target();
        LeaveCriticalSection(&stateLock_);
        RunStep(step, target);
    }
}

void ChangeDebouncer::RunStep(DebounceStep step, const DebounceTarget& target) {
    if (step == DebounceStep::kTakeBaseline) {
        const FolderSignature baseline = ReadFolderSignature(target.folder.c_str(), target.includeSubFolders);
        EnterCriticalSection(&stateLock_);
        state_.SetBaseline(target, baseline);
        LeaveCriticalSection(&stateLock_);
    } else if (step == DebounceStep::kCompare) {
        // The song list is not being rebuilt while its folder is measured.
        EnterCriticalSection(catalogueLock_);
        const FolderSignature current = ReadFolderSignature(target.folder.c_str(), target.includeSubFolders);
        EnterCriticalSection(&stateLock_);
        const bool changed = state_.Settle(target, current);
        LeaveCriticalSection(&stateLock_);
        if (changed) {
            PostMessageA(owner_, WM_FOLDER_CHANGED, 0, 0);
        }
        LeaveCriticalSection(catalogueLock_);
    }
}

void ChangeDebouncer::Kick(uint32_t delayMs) {
    EnterCriticalSection(&stateLock_);
    state_.Kick(delayMs);
    LeaveCriticalSection(&stateLock_);
    if (kickEvent_) {
        SetEvent(kickEvent_);
    }
}

void ChangeDebouncer::Rearm(const std::string& folder, bool includeSubFolders, const FolderSignature* baseline) {
    EnterCriticalSection(&stateLock_);
    state_.Rearm(folder, includeSubFolders, baseline);
    LeaveCriticalSection(&stateLock_);
    if (kickEvent_) {
        SetEvent(kickEvent_);
    }
}

void ChangeDebouncer::Cancel() {
    EnterCriticalSection(&stateLock_);
    const bool pending = state_.Pending();
    LeaveCriticalSection(&stateLock_);
    if (pending) {
        Kick(kDebounceDisarmed);
    }
}

void ChangeDebouncer::Stop() {
    quit_ = true;
    if (kickEvent_) {
        SetEvent(kickEvent_);
    }
    EndWatcherThread(&thread_);
    CloseEvent(&kickEvent_);
}

FolderWatcher::~FolderWatcher() {
    Stop();
}

bool FolderWatcher::Start(HWND owner, CRITICAL_SECTION* catalogueLock) {
    Stop();
    quit_ = false;
    readyEvent_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    commandEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    wakeEvent_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!readyEvent_ || !commandEvent_ || !wakeEvent_ || !debouncer_.Start(owner, catalogueLock)) {
        return false;
    }
    thread_ = StartWatcherThread(ThreadMain, this);
    return thread_ != nullptr;
}

DWORD WINAPI FolderWatcher::ThreadMain(void* self) {
    static_cast<FolderWatcher*>(self)->Run();
    return 0;
}

void FolderWatcher::Run() {
    for (;;) {
        WaitForSingleObject(commandEvent_, INFINITE);
        if (quit_) {
            return;
        }
        // A wake that arrives while idle was meant for the watch just ended.
        ResetEvent(wakeEvent_);
        change_ = FindFirstChangeNotificationA(path_.c_str(), includeSubfolders_, filter_);
        watching_ = change_ != INVALID_HANDLE_VALUE;
        SetEvent(readyEvent_);
        if (change_ != INVALID_HANDLE_VALUE) {
            WatchChanges();
            CloseChange(&change_);
        }
    }
}

// Hands every change to the debouncer until woken, or until the watch cannot
// be re-armed.
void FolderWatcher::WatchChanges() {
    const HANDLE handles[2] = {wakeEvent_, change_};
    for (;;) {
        const DWORD result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (result != WAIT_OBJECT_0 + 1) {
            watching_ = false;
            return;
        }
        const bool rearmed = FindNextChangeNotification(change_);
        if (!watching_) {
            // The watch ended while the change was taken: a kick now would
            // outlive the debouncer's cancel and report the folder left.
            return;
        }
        debouncer_.Kick(kDebounceDelay);
        if (!rearmed) {
            watching_ = false;
            return;
        }
    }
}

void FolderWatcher::Watch(const std::string& path, bool includeSubfolders, const FolderSignature* baseline) {
    if (!thread_) {
        return;
    }
    if (watching_.exchange(false)) {
        SetEvent(wakeEvent_);
    }
    path_ = path;
    includeSubfolders_ = includeSubfolders;
    filter_ = kFolderFilter | (includeSubfolders ? FILE_NOTIFY_CHANGE_DIR_NAME : 0);
    debouncer_.Rearm(path, includeSubfolders, baseline);
    ResetEvent(readyEvent_);
    SetEvent(commandEvent_);
    WaitForSingleObject(readyEvent_, INFINITE);
}

void FolderWatcher::Unwatch() {
    if (watching_.exchange(false)) {
        SetEvent(wakeEvent_);
    }
    debouncer_.Cancel();
}

void FolderWatcher::Stop() {
    quit_ = true;
    if (commandEvent_) {
        SetEvent(commandEvent_);
    }
    if (wakeEvent_) {
        SetEvent(wakeEvent_);
    }
    EndWatcherThread(&thread_);
    debouncer_.Stop();
    CloseChange(&change_);
    CloseEvent(&readyEvent_);
    CloseEvent(&commandEvent_);
    CloseEvent(&wakeEvent_);
    watching_ = false;
}
