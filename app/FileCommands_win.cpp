// The song list's file commands: copying the selection to the clipboard,
// pasting files into the current location's folder and deleting the
// selection; and the command table of all file commands. Questions and
// reports go through the FileOpsHost.
#include "app/FileCommands_win.h"

#include <windows.h>

#include "actions/Clipboard_win.h"
#include "actions/DragDrop_win.h"
#include "app/BrowseSession_win.h"
#include "app/MainWindow_win.h"
#include "app/PlayRun_win.h"
#include "core/CommandIds.h"
#include "core/Text.h"

FileCommands::FileCommands(MainWindow* main,
                           AppState& app,
                           ClientPanes& panes,
                           ListSelection& selection,
                           BrowseSession& browse,
                           PlayRun& play)
    : main_(main), app_(app), panes_(panes), selection_(selection), browse_(browse), play_(play) {
}

FileCommands::~FileCommands() = default;

using F = FileCommands;

const CommandRoute<FileCommands> FileCommands::kCommands[] = {
    {kCmdContextMenu, &F::ShowFocusedPaneMenu},
    {kCmdCopyTo, &F::CopyToFolder},
    {kCmdMoveTo, &F::MoveToFolder},
    {kCmdChangeFolder, &F::ChangeFolder},
    {kCmdFolderNew, &F::NewFolder},
    {kCmdFolderRename, &F::RenameTreeItem},
    {kCmdFolderDelete, &F::DeleteTreeItemCommand},
    {kCmdEditSong, &F::EditSong},
    {kCmdEditWrd, &F::EditWrd},
    {kCmdEditDocument, &F::EditDocument},
    {kCmdShellProperties, &F::OpenShellProperties},
    {kCmdCopy, &F::CopyToClipboard},
    {kCmdPaste, &F::PasteIntoLocation},
    {kCmdDelete, &F::DeleteSelected},
    {kCmdTreeEditList, &F::EditTreeList},
    {kCmdTreeNewFolder, &F::NewFolder},
    {kCmdTreeNewList, &F::NewListInTree},
    {kCmdTreeRename, &F::RenameTreeItem},
    {kCmdTreeDelete, &F::DeleteTreeItemCommand},
    {kCmdTreeEject, &F::EjectTreeDrive},
};

bool FileCommands::RunCommand(MessageContext& m) {
    return RouteCommand(this, kCommands, m);
}

FileOpsHost& FileCommands::FileOps() {
    if (!fileOps_) {
        fileOps_ = std::make_unique<FileOpsHost>(main_->Handle());
    }
    return *fileOps_;
}

void FileCommands::SetFileOps(std::unique_ptr<FileOpsHost> host) {
    fileOps_ = std::move(host);
}

std::vector<SelectedObject> FileCommands::SelectedObjects() {
    std::vector<SelectedObject> selection;
    for (int32_t row : selection_.SelectedRows()) {
        selection.push_back({browse_.SongPath(row), browse_.SongFileType(row)});
    }
    return selection;
}

// With Shift held the related files stay behind.
void FileCommands::CopyToClipboard() {
    CatalogueLockScope lock(browse_);
    std::vector<std::string> files;
    std::vector<std::string> objectPaths;
    if (CollectFiles(SelectedObjects(), play_.ShiftHeld(), &files, &objectPaths)) {
        PutOnClipboard(files, objectPaths);
    }
}

void FileCommands::PasteIntoLocation() {
    if (play_.IsLoadingList()) {
        return;
    }
    bool pasted = false;
    {
        CatalogueLockScope lock(browse_);
        const std::string folder = browse_.CurrentFolder();
        pasted = !folder.empty() && PasteFromClipboard(FileOps(), folder);
    }
    if (pasted) {
        browse_.ReloadList();
    }
}

// Refused while a list loads, during continuous play and without a selection;
// with Shift held the related files stay.
void FileCommands::DeleteSelected() {
    if (play_.IsLoadingList() || browse_.SequencedPlayRunning() || selection_.SelectedRows().empty()) {
        return;
    }
    const bool withoutRelated = play_.ShiftHeld();
    bool deleted = false;
    {
        CatalogueLockScope lock(browse_);
        const char* caption = withoutRelated ? "削除(関連ファイルを含まない) - Quillory" : "削除 - Quillory";
        if (FileOps().ShowMessage("選択オブジェクトを削除します。", caption, MB_OKCANCEL | MB_ICONEXCLAMATION) !=
            IDOK) {
            return;
        }
        const std::vector<FileGroup> groups = CollectFileGroups(SelectedObjects(), withoutRelated);
        if (groups.empty()) {
            return;
        }
        browse_.ShowStatus("選択オブジェクトを削除中");
        deleted = DeleteFiles(FileOps(), groups, app_.settings.mode.useRecycler);
        browse_.RestoreStatus();
    }
    if (deleted) {
        // The folder's watch starts again from what is there now, so the
        // deletion does not bring a second reload.
        if (browse_.Catalogue().kind == kLocationFolder) {
            browse_.RefreshFolderWatch(nullptr, true);
        }
        browse_.ReloadList();
    }
}
