// The location as the host of the browsing panes, the catalogue scan and its
// title cache: the catalogue lock, the status bar texts, the song list's
// rows, message pumping during scans.
#include <windows.h>

#include "app/BrowseSession_win.h"
#include "app/ClientWindow_win.h"
#include "app/FileCommands_win.h"
#include "app/MainWindow_win.h"
#include "app/PlayRun_win.h"
#include "core/CommandIds.h"
#include "player/PendingMessages_win.h"
#include "ui/CacheProgress_win.h"

CatalogueState& BrowseSession::Catalogue() {
    return catalogue_;
}

ClientSettings& BrowseSession::Settings() {
    return app_.settings;
}

void BrowseSession::LockCatalogue() {
    EnterCriticalSection(&catalogueLock);
    lockDepth_++;
}

void BrowseSession::UnlockCatalogue() {
    lockDepth_--;
    LeaveCriticalSection(&catalogueLock);
}

void BrowseSession::SetStatusText(int part, const char* text) {
    if (part == 0) {
        main_->SetStatusText(text);
    } else if (main_->StatusBarHandle()) {
        SendMessageA(main_->StatusBarHandle(), SB_SETTEXTA, WPARAM(part), reinterpret_cast<LPARAM>(text));
    }
}

int32_t BrowseSession::NarrowDepth() {
    return narrow_->level;
}

bool BrowseSession::SequencedPlayRunning() {
    return play_->CurrentPlayMode() != PlayMode::kNone;
}

bool BrowseSession::HandOverRunning() {
    return play_->HandOverRunning();
}

void BrowseSession::PostMainCommand(int command) {
    main_->Post(WM_COMMAND, WPARAM(command), 0);
}

void BrowseSession::SendMainCommand(int command) {
    main_->Send(WM_COMMAND, WPARAM(command), 0);
}

HWND BrowseSession::ClientHandle() {
    return client_.Handle();
}

void BrowseSession::CheckMenuRadio(int first, int last, int checked) {
    if (HMENU menu = GetMenu(main_->Handle())) {
        CheckMenuRadioItem(menu, UINT(first), UINT(last), UINT(checked), MF_BYCOMMAND);
    }
}

// How often a scan runs the queue. Looking at the queue once per file costs
// more than reading the file; a few times a second keeps the window live and
// a newer request still stops the scan almost at once.
constexpr DWORD kPumpIntervalMs = 30;

// True when the queue was last run kPumpIntervalMs or more ago.
static bool PumpDue() {
    static DWORD lastPump = 0;
    const DWORD now = GetTickCount();
    if (now - lastPump < kPumpIntervalMs) {
        return false;
    }
    lastPump = now;
    return true;
}

// Runs the queued messages, at most every kPumpIntervalMs; a new tree
// selection among them sets abort.
bool BrowseSession::PumpMessages() {
    if (catalogue_.quitting) {
        return true;
    }
    if (!PumpDue()) {
        return catalogue_.abort;
    }
    if (DispatchPendingMessages()) {
        // The quit request stays queued for the program's loop; what runs
        // now only has to end.
        catalogue_.quitting = true;
        return true;
    }
    return catalogue_.abort;
}

bool BrowseSession::KeepRow(const char* path) {
    return NarrowKeepsPath(*narrow_, path);
}

LocationKind BrowseSession::SelectedNodeKind() {
    return panes_.tree ? panes_.tree->SelectedNodeKind() : kLocationNone;
}

void BrowseSession::RememberTexts(int32_t row, const char* title, const char* comment, const char* soundModule) {
    panes_.list->RememberTexts(row, title, comment, soundModule);
}

void BrowseSession::ShowWaitCursor(bool on) {
    SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

// Another location than the one shown drops the narrowing; any list that
// replaces the shown one ends continuous play, whose order named its rows.
void BrowseSession::ClearDisplay() {
    if (lstrcmpiA(catalogue_.location.c_str(), catalogue_.previousPath.c_str()) != 0) {
        ClearNarrowing(narrow_);
    }
    play_->Player()->LeaveList();
    panes_.list->ClearDisplay();
}

void BrowseSession::SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition) {
    panes_.list->SaveListPosition(selectedRow, scrollPosition);
}

void BrowseSession::ShowRows(int32_t count, int32_t selectedRow, int32_t scrollPosition) {
    panes_.list->ShowRows(count, selectedRow, scrollPosition);
    main_->SetStatusCache(catalogue_.cache.cacheLoaded);
    play_->Player()->BuildPlayOrder();
    main_->UpdateButtonStates();
}

// Right after a scan of a folder location the tree takes the folder's
// children from that scan; they are used once, as they age from then on.
void BrowseSession::UpdateTree(bool expand) {
    panes_.tree->UpdateTree(expand, &catalogue_.children);
    catalogue_.children = FolderChildren();
}

void BrowseSession::ShowStatus(const char* text) {
    main_->SetStatusText(text);
}

void BrowseSession::RestoreStatus() {
    if (panes_.list && panes_.list->Handle()) {
        panes_.list->UpdateCount();
    }
    main_->SetStatusCache(catalogue_.cache.cacheLoaded);
}

// The refresh's progress window; one refresh runs at a time.
static CacheProgress& RefreshProgress() {
    static CacheProgress progress;
    return progress;
}

void BrowseSession::OpenProgress(const char* caption) {
    RefreshProgress().Open(main_, caption, &catalogue_.cache.refreshRunning);
}

void BrowseSession::ShowProgress(const char* path, int32_t percent, int32_t unreadable) {
    RefreshProgress().Show(path, percent, unreadable);
}

void BrowseSession::CloseProgress() {
    RefreshProgress().Close();
    RestoreStatus();
}

// Escape cancels a cache refresh, and so does the end of the program: the
// cache file then stays as it was.
void BrowseSession::ProcessMessages(TitleCacheState& state) {
    if (EscapePressed()) {
        state.refreshRunning = false;
        DiscardPendingInput();
        return;
    }
    if (PumpMessages() && catalogue_.quitting) {
        state.refreshRunning = false;
    }
}

void BrowseSession::Redisplay() {
    panes_.list->Invalidate(false);
}

void BrowseSession::ShowFileError(uint32_t error, const std::string& text) {
    char system[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, system, sizeof system,
                   nullptr);
    const std::string message = std::string(system) + text;
    MessageBoxA(main_->Handle(), message.c_str(), "Quillory", MB_OK | MB_ICONSTOP);
}

void BrowseSession::ShowWarning(const std::string& text) {
    MessageBoxA(main_->Handle(), text.c_str(), "Quillory", MB_OK | MB_ICONEXCLAMATION);
}

bool BrowseSession::EscapePressed() {
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void BrowseSession::DiscardPendingInput() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            break;
        }
    }
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

void BrowseSession::StartDrag(bool rightButton) {
    files_->StartDrag(rightButton);
}

void BrowseSession::StartTreeDrag(HTREEITEM node) {
    files_->StartTreeDrag(node);
}
