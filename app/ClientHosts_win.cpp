// The client window as the host of the browsing panes, the catalogue scan
// and its title cache, and the searches: the catalogue lock, the status bar
// texts, the song list's rows and selection, message pumping during scans.
#include <windows.h>

#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "core/CommandIds.h"
#include "player/PendingMessages_win.h"
#include "ui/CacheProgress_win.h"

CatalogueState& ClientWindow::Catalogue() {
    return catalogue_;
}

ClientSettings& ClientWindow::Settings() {
    return settings;
}

void ClientWindow::LockCatalogue() {
    EnterCriticalSection(&catalogueLock);
    lockDepth_++;
}

void ClientWindow::UnlockCatalogue() {
    lockDepth_--;
    LeaveCriticalSection(&catalogueLock);
}

void ClientWindow::SetStatusText(int part, const char* text) {
    if (part == 0) {
        main_->SetStatusText(text);
    } else if (main_->StatusBarHandle()) {
        SendMessageA(main_->StatusBarHandle(), SB_SETTEXTA, WPARAM(part), reinterpret_cast<LPARAM>(text));
    }
}

int32_t ClientWindow::NarrowDepth() {
    return narrow_.level;
}

bool ClientWindow::SequencedPlayRunning() {
    return CurrentPlayMode() != PlayMode::kNone;
}

bool ClientWindow::HandOverRunning() {
    return player_ && player_->handOverRunning();
}

void ClientWindow::PostMainCommand(int command) {
    main_->Post(WM_COMMAND, WPARAM(command), 0);
}

void ClientWindow::SendMainCommand(int command) {
    main_->Send(WM_COMMAND, WPARAM(command), 0);
}

HWND ClientWindow::ClientHandle() {
    return Handle();
}

void ClientWindow::CheckMenuRadio(int first, int last, int checked) {
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
bool ClientWindow::PumpMessages() {
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

bool ClientWindow::KeepRow(const char* path) {
    return NarrowKeepsPath(narrow_, path);
}

LocationKind ClientWindow::SelectedNodeKind() {
    return tree_ ? tree_->SelectedNodeKind() : kLocationNone;
}

void ClientWindow::RememberTexts(int32_t row, const char* title, const char* comment, const char* soundModule) {
    list_->RememberTexts(row, title, comment, soundModule);
}

void ClientWindow::ShowWaitCursor(bool on) {
    SetCursor(LoadCursor(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

// Another location than the one shown drops the narrowing; any list that
// replaces the shown one ends continuous play, whose order named its rows.
void ClientWindow::ClearDisplay() {
    if (lstrcmpiA(catalogue_.location.c_str(), catalogue_.previousPath.c_str()) != 0) {
        ClearNarrowing(&narrow_);
    }
    if (player_) {
        player_->LeaveList();
    }
    list_->ClearDisplay();
}

void ClientWindow::SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition) {
    list_->SaveListPosition(selectedRow, scrollPosition);
}

void ClientWindow::ShowRows(int32_t count, int32_t selectedRow, int32_t scrollPosition) {
    list_->ShowRows(count, selectedRow, scrollPosition);
    main_->SetStatusCache(catalogue_.cache.cacheLoaded);
    if (player_) {
        player_->BuildPlayOrder();
    }
    main_->UpdateButtonStates();
}

// Right after a scan of a folder location the tree takes the folder's
// children from that scan; they are used once, as they age from then on.
void ClientWindow::UpdateTree(bool expand) {
    tree_->UpdateTree(expand, &catalogue_.children);
    catalogue_.children = FolderChildren();
}

void ClientWindow::ShowStatus(const char* text) {
    main_->SetStatusText(text);
}

void ClientWindow::RestoreStatus() {
    if (list_ && list_->Handle()) {
        list_->UpdateCount();
    }
    main_->SetStatusCache(catalogue_.cache.cacheLoaded);
}

// The refresh's progress window; one refresh runs at a time.
static CacheProgress& RefreshProgress() {
    static CacheProgress progress;
    return progress;
}

void ClientWindow::OpenProgress(const char* caption) {
    RefreshProgress().Open(main_, caption, &catalogue_.cache.refreshRunning);
}

void ClientWindow::ShowProgress(const char* path, int32_t percent, int32_t unreadable) {
    RefreshProgress().Show(path, percent, unreadable);
}

void ClientWindow::CloseProgress() {
    RefreshProgress().Close();
    RestoreStatus();
}

// Escape cancels a cache refresh, and so does the end of the program: the
// cache file then stays as it was.
void ClientWindow::ProcessMessages(TitleCacheState& state) {
    if (EscapePressed()) {
        state.refreshRunning = false;
        DiscardPendingInput();
        return;
    }
    if (PumpMessages() && catalogue_.quitting) {
        state.refreshRunning = false;
    }
}

void ClientWindow::Redisplay() {
    list_->Invalidate(false);
}

void ClientWindow::ShowFileError(uint32_t error, const std::string& text) {
    char system[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, system, sizeof system,
                   nullptr);
    const std::string message = std::string(system) + text;
    MessageBoxA(main_->Handle(), message.c_str(), "Quillory", MB_OK | MB_ICONSTOP);
}

void ClientWindow::ShowWarning(const std::string& text) {
    MessageBoxA(main_->Handle(), text.c_str(), "Quillory", MB_OK | MB_ICONEXCLAMATION);
}

bool ClientWindow::EscapePressed() {
    return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void ClientWindow::DiscardPendingInput() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
            break;
        }
    }
    while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

int32_t ClientWindow::FocusedRow() {
    return list_ && list_->Handle() ? list_->FocusedRow() : -1;
}

void ClientWindow::FocusRow(int32_t row) {
    list_->SetItemState(-1, 0, LVIS_SELECTED);
    list_->SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list_->Send(LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
    list_->UpdateCount();
}

void ClientWindow::MoveFocus(int32_t row) {
    list_->SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
    list_->Send(LVM_ENSUREVISIBLE, WPARAM(row), FALSE);
}

bool ClientWindow::IsSelected(int32_t row) {
    return (list_->Send(LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void ClientWindow::SelectRow(int32_t row) {
    list_->SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

void ClientWindow::ClearSelection() {
    list_->SetItemState(-1, 0, LVIS_SELECTED);
}

void ClientWindow::RefreshCount() {
    list_->UpdateCount();
}

// Lists the location again with the narrowing in force, keeping the focused song.
void ClientWindow::ReloadList() {
    catalogue_.lastSelectedName = list_->FocusedPath();
    OpenLocation(catalogue_, false, false, false);
    list_->UpdateCount();
}
