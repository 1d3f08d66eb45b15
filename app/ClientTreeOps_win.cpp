// The folder commands: copying or moving the selection into a folder chosen
// in the folder dialog, changing the current folder, the folder tree's
// create/rename/delete of folders and list files, playing a node's songs,
// ejecting a drive; and the Edit commands and the shell's properties window
// of the focused song. Questions go through the client's FileOpsHost.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <memory>

#include "actions/EditCommands.h"
#include "actions/FileOps.h"
#include "analysis/FileTypes.h"
#include "analysis/MpegReader.h"
#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
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
void ClientWindow::CopyToFolder() {
    CopyMoveToFolder(false);
}

void ClientWindow::MoveToFolder() {
    CopyMoveToFolder(true);
}

void ClientWindow::CopyMoveToFolder(bool move) {
    if (SelectedRows().empty() || IsLoadingList() || (move && SequencedPlayRunning())) {
        return;
    }
    const bool withoutRelated = ShiftHeld();
    bool done = false;
    {
        CatalogueLockScope lock(*this);
        std::string folder = lastTransferFolder_;
        if (!FileOps().AskFolder(CopyMoveDialogCaption(move, withoutRelated).c_str(), &folder) || folder.empty()) {
            return;
        }
        lastTransferFolder_ = folder;
        std::vector<std::string> files;
        if (!CollectFiles(SelectedObjects(), withoutRelated, &files, nullptr)) {
            return;
        }
        ShowStatus(TransferStatus(move));
        done = CopyOrMoveFiles(FileOps(), files, folder, move);
        RestoreStatus();
    }
    if (done && move && catalogue_.kind != kLocationFolder) {
        ReloadList();
    }
    RefreshObjectCount();
}

// 53: a different folder entered becomes the current location.
void ClientWindow::ChangeFolder() {
    std::string folder = CurrentFolder();
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
    if (!tree_->SelectTreePath(folder)) {
        const uint32_t error = LocationPathError(folder);
        ::ShowFileError(FileOps(), error != 0 ? error : ERROR_PATH_NOT_FOUND, false, folder, MB_OK,
                        "カレントフォルダを変更");
    }
}

// The folder a new item goes into: a folder or drive node itself, a list
// file's parent; null for the root.
HTREEITEM ClientWindow::FolderNodeForCommand() {
    HTREEITEM node = tree_->CommandNode();
    const uint32_t attributes = tree_->Attributes(node);
    if (attributes & kListFileNodeBit) {
        node = TreeView_GetParent(tree_->Handle(), node);
    }
    return (tree_->Attributes(node) & (kNodeDriveBit | kNodeFolderBit)) ? node : nullptr;
}

void ClientWindow::NewFolder() {
    CreateTreeItem(false);
}

void ClientWindow::NewListInTree() {
    CreateTreeItem(true);
}

// A new folder, or a new list file holding the header and no entries, in
// the command's folder; an existing list file is never replaced.
void ClientWindow::CreateTreeItem(bool listFile) {
    HTREEITEM node = FolderNodeForCommand();
    const char* action = listFile ? "リストファイルを新規作成" : "フォルダを新規作成";
    std::string name;
    if (node == nullptr || !FileOps().AskName((std::string(action) + " - Quillory").c_str(), &name)) {
        return;
    }
    const std::string folder = tree_->NodePath(node);
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
    tree_->RescanShown(node);
    TreeView_Expand(tree_->Handle(), node, TVE_EXPAND);
}

// The folder or list file a command applies to, with its file system path;
// false for drives and the root.
// Refused while a location is being read: the scan holds its folder open and
// the tree is in the middle of selecting the node.
bool ClientWindow::CommandFileItem(HTREEITEM* node, std::string* item, bool* listFile) {
    if (IsLoadingList()) {
        return false;
    }
    *node = tree_->CommandNode();
    const uint32_t attributes = tree_->Attributes(*node);
    if (!(attributes & (kNodeFolderBit | kListFileNodeBit))) {
        return false;
    }
    *listFile = (attributes & kListFileNodeBit) != 0;
    *item = TreeItemFilePath(tree_->NodePath(*node));
    return true;
}

// Folders and list files are renamed within their folder; drives and the
// root are not. The watches let go of the folders while the name changes.
void ClientWindow::RenameTreeItem() {
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
    HTREEITEM parent = TreeView_GetParent(tree_->Handle(), node);
    StopFolderWatchers();
    const uint32_t error = RenameItem(item, listFile ? ListFileNameOf(name) : name, listFile);
    StartFolderWatchers();
    if (error != 0) {
        ::ShowFileError(FileOps(), error, true, std::string(), MB_OK, caption);
        return;
    }
    tree_->RescanShown(parent);
}

void ClientWindow::DeleteTreeItemCommand() {
    HTREEITEM node = nullptr;
    std::string item;
    bool listFile = false;
    if (!CommandFileItem(&node, &item, &listFile)) {
        return;
    }
    HTREEITEM parent = TreeView_GetParent(tree_->Handle(), node);
    StopFolderWatchers();
    const bool deleted = DeleteTreeItem(FileOps(), item, listFile, settings.mode.useRecycler);
    StartFolderWatchers();
    if (deleted) {
        tree_->RescanShown(parent);
    }
}

void ClientWindow::EditTreeList() {
    HTREEITEM node = tree_->CommandNode();
    if (tree_->Attributes(node) & kListFileNodeBit) {
        OpenListEditor(TreeItemFilePath(tree_->NodePath(node)));
    }
}

void ClientWindow::PlayTreeSequential() {
    PlayTreeNode(kCmdPlaySequential);
}

void ClientWindow::PlayTreeRandom() {
    PlayTreeNode(kCmdPlayRandom);
}

// The node becomes the current location and its songs are played from the
// first one.
void ClientWindow::PlayTreeNode(int playCommand) {
    HTREEITEM node = tree_->CommandNode();
    if (node == nullptr || (tree_->Attributes(node) & kNodeRootBit)) {
        return;
    }
    const std::string path = tree_->NodePath(node);
    if (CompareNoCase(path.c_str(), catalogue_.location.c_str()) != 0 && !tree_->SelectTreePath(path)) {
        return;
    }
    if (ObjectCount() == 0) {
        return;
    }
    ClearSelection();
    FocusRow(0);
    SelectRow(0);
    RunPlayCommand(playCommand);
}

// The drive's watches stop while the medium is ejected and start again
// afterwards, whatever the outcome.
void ClientWindow::EjectTreeDrive() {
    HTREEITEM node = tree_->CommandNode();
    if (!(tree_->Attributes(node) & kNodeDriveBit)) {
        return;
    }
    const std::string root = tree_->NodePath(node);
    ShowWaitCursor(true);
    driveWatchers_.StopDrive(root.c_str());
    RefreshFolderWatch(root.c_str(), false);
    EjectDisk(FileOps(), root.substr(0, 2));
    ShowWaitCursor(false);
    driveWatchers_.StartDrive(root.c_str());
    RefreshFolderWatch(root.c_str(), true);
}

void ClientWindow::EditSong() {
    EditFocused(EditWhat::kSong);
}

void ClientWindow::EditWrd() {
    EditFocused(EditWhat::kWrdScript);
}

void ClientWindow::EditDocument() {
    EditFocused(EditWhat::kDocument);
}

// Opens the focused song, its WRD script or its document through the shell
// association with the class's verb, or with the class's editor program.
void ClientWindow::EditFocused(EditWhat what) {
    const int32_t row = FocusedRow();
    if (row < 0) {
        return;
    }
    static const char* const kMissing[] = {"", "WRDファイル", "ドキュメントファイル"};
    EditTarget target;
    if (!FindEditTarget(what, SongPath(row), settings.mode.userTextExt, &target)) {
        ::ShowFileError(FileOps(), ERROR_FILE_NOT_FOUND, false, kMissing[int(what)], MB_OK, "編集");
        return;
    }
    const std::string file = UsablePath(target.path, main_->Handle());
    if (file.empty()) {
        ::ShowFileError(FileOps(), ERROR_FILE_NOT_FOUND, false, target.path, MB_OK, "編集");
        return;
    }
    const EditorLaunch launch = ChooseEditor(settings.editor, target.kind);
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
void ClientWindow::OpenShellProperties() {
    const int32_t row = FocusedRow();
    if (row < 0) {
        return;
    }
    const std::string path = UsablePath(SongPath(row), main_->Handle());
    if (path.empty()) {
        return;
    }
    const int32_t fileType = SongFileType(row);
    int tagKind = kMp3TagNone;
    if (fileType == kKindMpeg || fileType == kKindRiffMpeg) {
        SongOpenRequest request;
        request.flags = 0;
        uint32_t error = 0;
        if (std::unique_ptr<SongFile> file = OpenSongFile(path.c_str(), request, &error)) {
            tagKind = DetectMp3TagKind(*file);
        }
    }
    const std::string page = ShellPropertyPage(settings.listWindow.shellPropertySel, fileType, tagKind,
                                               settings.listWindow.shellPropertyTab);
    ShowShellProperties(main_->Handle(), path, page);
}

// 50: the context menu of the pane that has the focus, the song list's at
// its focused row.
void ClientWindow::ShowFocusedPaneMenu() {
    if (GetFocus() == tree_->Handle()) {
        tree_->ShowNodeMenu(false);
        return;
    }
    if (GetFocus() != list_->Handle()) {
        return;
    }
    POINT at = {0, 0};
    const int32_t row = FocusedRow();
    RECT rect = {LVIR_BOUNDS, 0, 0, 0};
    if (row >= 0 && SendMessageA(list_->Handle(), LVM_GETITEMRECT, WPARAM(row), reinterpret_cast<LPARAM>(&rect))) {
        at = {rect.left, rect.bottom};
    }
    ::ClientToScreen(list_->Handle(), &at);
    ShowListMenu(at);
}

// A right click on the song list: the row under the pointer becomes the one
// the menu is for, selected alone unless it was already among the selected,
// as Explorer does. The keys reach the menu through command 50 instead.
void ClientWindow::OnContextMenu(MessageContext& m) {
    if (!list_ || HWND(m.wParam) != list_->Handle() || m.lParam == -1) {
        return;
    }
    m.handled = 1;
    POINT at = {GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    LVHITTESTINFO hit = {};
    hit.pt = at;
    ::ScreenToClient(list_->Handle(), &hit.pt);
    const int row = int(SendMessageA(list_->Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (row >= 0 && !IsSelected(row)) {
        FocusRow(row);
    } else if (row >= 0) {
        list_->SetItemState(row, LVIS_FOCUSED, LVIS_FOCUSED);
    }
    ShowListMenu(at);
}

// The song list's menu at a screen point; its texts come from the main menu.
void ClientWindow::ShowListMenu(POINT at) {
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
