// The folder commands: copying or moving the selection into a folder chosen
// in the folder dialog, changing the current folder, the folder tree's
// create/rename/delete of folders and list files, ejecting a drive; the Edit
// commands and the shell's properties window of the focused song; the
// panes' context menus. Questions go through the FileOpsHost.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <memory>

#include "actions/EditCommands.h"
#include "actions/FileOps.h"
#include "analysis/FileTypes.h"
#include "analysis/MpegReader.h"
#include "app/BrowseSession_win.h"
#include "app/ClientWindow_win.h"
#include "app/FileCommands_win.h"
#include "app/MainWindow_win.h"
#include "app/PlayRun_win.h"
#include "catalogue/ListFile.h"
#include "catalogue/archive/ArchiveAccess.h"
#include "core/CommandIds.h"
#include "core/Location.h"
#include "core/Text.h"
#include "ui/ListEditor_win.h"
#include "ui/rules/BrowseRules.h"

namespace {

// An archive member is extracted into the working folder and the copy is
// used; a plain path is used as it is. Empty when extraction failed.
std::string UsablePath(const std::string& path, HWND owner) {
    const Location song(path);
    if (!song.HasMark()) {
        return path;
    }
    const std::string folder = WorkingFolder();
    CreateDirectoryA(folder.c_str(), nullptr);
    if (ExtractMember(path.c_str(), folder.c_str(), owner, ExtractPurpose::kQuiet) != 0) {
        return std::string();
    }
    return folder + "\\" + song.FileName();
}

std::string NameOfItem(const std::string& itemPath) {
    std::string name;
    SplitPath(itemPath.c_str(), nullptr, &name, false);
    return name;
}

}  // namespace

// 51 and 52: with Shift held the related files stay behind; moving needs
// that no sequenced play runs.
void FileCommands::CopyToFolder() {
    CopyMoveToFolder(false);
}

void FileCommands::MoveToFolder() {
    CopyMoveToFolder(true);
}

void FileCommands::CopyMoveToFolder(bool move) {
    if (selection_.SelectedRows().empty() || play_.IsLoadingList() || (move && browse_.SequencedPlayRunning())) {
        return;
    }
    const bool withoutRelated = play_.ShiftHeld();
    bool done = false;
    {
        CatalogueLockScope lock(browse_);
        std::string folder = lastTransferFolder_;
        if (!FileOps().AskFolder(CopyMoveDialogCaption(move, withoutRelated).c_str(), &folder) || folder.empty()) {
            return;
        }
        lastTransferFolder_ = folder;
        std::vector<std::string> files;
        if (!CollectFiles(SelectedObjects(), withoutRelated, &files, nullptr)) {
            return;
        }
        browse_.ShowStatus(TransferStatus(move));
        done = CopyOrMoveFiles(FileOps(), files, folder, move);
        browse_.RestoreStatus();
    }
    if (done && move && browse_.Catalogue().kind != kLocationFolder) {
        browse_.ReloadList();
    }
    selection_.RefreshCount();
}

// 53: a different folder entered becomes the current location.
void FileCommands::ChangeFolder() {
    std::string folder = browse_.CurrentFolder();
    const std::string before = folder;
    if (!FileOps().AskFolder("カレントフォルダを変更 - Quillory", &folder) || folder.empty()) {
        return;
    }
    if (LastSeparator(folder.c_str()) != int(folder.size()) - 1) {
        folder += '\\';
    }
    if (CompareNoCase(folder.c_str(), before.c_str()) == 0) {
        return;
    }
    if (!panes_.tree->SelectTreePath(folder)) {
        const uint32_t error = LocationPathError(folder);
        ::ShowFileError(FileOps(), error != 0 ? error : ERROR_PATH_NOT_FOUND, false, folder, MB_OK,
                        "カレントフォルダを変更");
    }
}

// The folder a new item goes into: a folder or drive node itself, a list
// file's parent; null for the root.
HTREEITEM FileCommands::FolderNodeForCommand() {
    HTREEITEM node = panes_.tree->CommandNode();
    const uint32_t attributes = panes_.tree->Attributes(node);
    if (attributes & kListFileNodeBit) {
        node = TreeView_GetParent(panes_.tree->Handle(), node);
    }
    return (panes_.tree->Attributes(node) & (kNodeDriveBit | kNodeFolderBit)) ? node : nullptr;
}

void FileCommands::NewFolder() {
    CreateTreeItem(false);
}

void FileCommands::NewListInTree() {
    CreateTreeItem(true);
}

// A new folder, or a new list file holding the header and no entries, in
// the command's folder; an existing list file is never replaced.
void FileCommands::CreateTreeItem(bool listFile) {
    HTREEITEM node = FolderNodeForCommand();
    const char* action = listFile ? "リストファイルを新規作成" : "フォルダを新規作成";
    std::string name;
    if (node == nullptr || !FileOps().AskName((std::string(action) + " - Quillory").c_str(), &name)) {
        return;
    }
    const std::string folder = panes_.tree->NodePath(node);
    uint32_t error = 0;
    if (!listFile) {
        error = CreateFolderIn(folder, name);
    } else {
        const std::string path = folder + ListFileNameOf(name);
        error = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? ERROR_ALREADY_EXISTS
                                                                            : WriteListFile(path.c_str(), {});
    }
    if (error != 0) {
        ::ShowFileError(FileOps(), error, true, std::string(), MB_OK, action);
        return;
    }
    panes_.tree->RescanShown(node);
    TreeView_Expand(panes_.tree->Handle(), node, TVE_EXPAND);
}

// The folder or list file a command applies to, with its file system path;
// false for drives and the root.
// Refused while a location is being read: the scan holds its folder open and
// the tree is in the middle of selecting the node.
bool FileCommands::CommandFileItem(HTREEITEM* node, std::string* item, bool* listFile) {
    if (play_.IsLoadingList()) {
        return false;
    }
    *node = panes_.tree->CommandNode();
    const uint32_t attributes = panes_.tree->Attributes(*node);
    if (!(attributes & (kNodeFolderBit | kListFileNodeBit))) {
        return false;
    }
    *listFile = (attributes & kListFileNodeBit) != 0;
    *item = TreeItemFilePath(panes_.tree->NodePath(*node));
    return true;
}

// Folders and list files are renamed within their folder; drives and the
// root are not. The watches let go of the folders while the name changes.
void FileCommands::RenameTreeItem() {
    HTREEITEM node = nullptr;
    std::string item;
    bool listFile = false;
    if (!CommandFileItem(&node, &item, &listFile)) {
        return;
    }
    std::string base;
    SplitExtension(NameOfItem(item).c_str(), listFile ? &base : nullptr, nullptr);
    std::string name = listFile ? base : NameOfItem(item);
    const char* caption = listFile ? "リストファイルの名前を変更" : "フォルダの名前を変更";
    if (!FileOps().AskName((std::string(caption) + " - Quillory").c_str(), &name)) {
        return;
    }
    HTREEITEM parent = TreeView_GetParent(panes_.tree->Handle(), node);
    browse_.StopFolderWatchers();
    const uint32_t error = RenameItem(item, listFile ? ListFileNameOf(name) : name, listFile);
    browse_.StartFolderWatchers();
    if (error != 0) {
        ::ShowFileError(FileOps(), error, true, std::string(), MB_OK, caption);
        return;
    }
    panes_.tree->RescanShown(parent);
}

void FileCommands::DeleteTreeItemCommand() {
    HTREEITEM node = nullptr;
    std::string item;
    bool listFile = false;
    if (!CommandFileItem(&node, &item, &listFile)) {
        return;
    }
    HTREEITEM parent = TreeView_GetParent(panes_.tree->Handle(), node);
    browse_.StopFolderWatchers();
    const bool deleted = DeleteTreeItem(FileOps(), item, listFile, app_.settings.mode.useRecycler);
    browse_.StartFolderWatchers();
    if (deleted) {
        panes_.tree->RescanShown(parent);
    }
}

void FileCommands::EditTreeList() {
    HTREEITEM node = panes_.tree->CommandNode();
    if (panes_.tree->Attributes(node) & kListFileNodeBit) {
        OpenListEditor(TreeItemFilePath(panes_.tree->NodePath(node)));
    }
}

// The drive's watches stop while the medium is ejected and start again
// afterwards, whatever the outcome.
void FileCommands::EjectTreeDrive() {
    HTREEITEM node = panes_.tree->CommandNode();
    if (!(panes_.tree->Attributes(node) & kNodeDriveBit)) {
        return;
    }
    const std::string root = panes_.tree->NodePath(node);
    browse_.ShowWaitCursor(true);
    browse_.WatchDrive(root.c_str(), false);
    EjectDisk(FileOps(), root.substr(0, 2));
    browse_.ShowWaitCursor(false);
    browse_.WatchDrive(root.c_str(), true);
}

void FileCommands::EditSong() {
    EditFocused(EditWhat::kSong);
}

void FileCommands::EditWrd() {
    EditFocused(EditWhat::kWrdScript);
}

void FileCommands::EditDocument() {
    EditFocused(EditWhat::kDocument);
}

// Opens the focused song, its WRD script or its document through the shell
// association with the class's verb, or with the class's editor program.
void FileCommands::EditFocused(EditWhat what) {
    const int32_t row = selection_.FocusedRow();
    if (row < 0) {
        return;
    }
    static const char* const kMissing[] = {"", "WRDファイル", "ドキュメントファイル"};
    EditTarget target;
    if (!FindEditTarget(what, browse_.SongPath(row), app_.settings.mode.userTextExt, &target)) {
        ::ShowFileError(FileOps(), ERROR_FILE_NOT_FOUND, false, kMissing[int(what)], MB_OK, "編集");
        return;
    }
    const std::string file = UsablePath(target.path, main_->Handle());
    if (file.empty()) {
        ::ShowFileError(FileOps(), ERROR_FILE_NOT_FOUND, false, target.path, MB_OK, "編集");
        return;
    }
    const EditorLaunch launch = ChooseEditor(app_.settings.editor, target.kind);
    uint32_t error = 0;
    if (launch.viaShell) {
        error = FileOps().OpenWithShell(launch.verb, file);
    } else if (launch.program.empty()) {
        error = ERROR_FILE_NOT_FOUND;
    } else {
        error = FileOps().StartProgram(EditorCommandLine(launch.program, file));
    }
    if (error != 0) {
        ::ShowFileError(FileOps(), error, false, file, MB_OK, "編集");
    }
}

// 117: the shell's own properties window of the focused object, opened on
// the page its kind and the settings choose.
void FileCommands::OpenShellProperties() {
    const int32_t row = selection_.FocusedRow();
    if (row < 0) {
        return;
    }
    const std::string path = UsablePath(browse_.SongPath(row), main_->Handle());
    if (path.empty()) {
        return;
    }
    const int32_t fileType = browse_.SongFileType(row);
    int tagKind = kMp3TagNone;
    if (fileType == kKindMpeg || fileType == kKindRiffMpeg) {
        SongOpenRequest request;
        request.flags = 0;
        uint32_t error = 0;
        if (std::unique_ptr<SongFile> file = OpenSongFile(path.c_str(), request, &error)) {
            tagKind = DetectMp3TagKind(*file);
        }
    }
    const std::string page = ShellPropertyPage(app_.settings.listWindow.shellPropertySel, fileType, tagKind,
                                               app_.settings.listWindow.shellPropertyTab);
    ShowShellProperties(main_->Handle(), path, page);
}

// 50: the context menu of the pane that has the focus, the song list's at
// its focused row.
void FileCommands::ShowFocusedPaneMenu() {
    if (GetFocus() == panes_.tree->Handle()) {
        panes_.tree->ShowNodeMenu(false);
        return;
    }
    if (GetFocus() != panes_.list->Handle()) {
        return;
    }
    POINT at = {0, 0};
    const int32_t row = selection_.FocusedRow();
    RECT rect = {LVIR_BOUNDS, 0, 0, 0};
    if (row >= 0 &&
        SendMessageA(panes_.list->Handle(), LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&rect))) {
        at = {rect.left, rect.bottom};
    }
    ::ClientToScreen(panes_.list->Handle(), &at);
    ShowListMenu(at);
}

// A right click on the song list: the row under the pointer becomes the one
// the menu is for, selected alone unless it was already among the selected,
// as Explorer does. The keys reach the menu through command 50 instead.
bool FileCommands::ShowContextMenu(HWND window, LPARAM screenPoint) {
    if (!panes_.list || window != panes_.list->Handle() || screenPoint == -1) {
        return false;
    }
    POINT at = {GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    LVHITTESTINFO hit = {};
    hit.pt = at;
    ::ScreenToClient(panes_.list->Handle(), &hit.pt);
    const int row = int(SendMessageA(panes_.list->Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row >= 0 && !selection_.IsSelected(row)) {
        selection_.FocusRow(row);
    } else if (row >= 0) {
        panes_.list->SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    ShowListMenu(at);
    return true;
}

// The song list's menu at a screen point; its texts come from the main menu.
void FileCommands::ShowListMenu(POINT at) {
    static const int kItems[] = {kCmdPlay, 0, kCmdCopy, kCmdPaste, kCmdDelete, 0, kCmdProperties, kCmdShellProperties};
    HMENU mainMenu = GetMenu(main_->Handle());
    HMENU menu = CreatePopupMenu();
    for (int command : kItems) {
        char text[128] = {};
        if (command == 0) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else if (GetMenuStringA(mainMenu, UINT(command), text, sizeof text, MF_BYCOMMAND) > 0) {
            AppendMenuA(menu, MF_STRING, UINT_PTR(command), text);
        }
    }
    const int command =
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, main_->Handle(), nullptr);
    DestroyMenu(menu);
    if (command != 0) {
        main_->Post(WM_COMMAND, WPARAM(command), 0);
    }
}
