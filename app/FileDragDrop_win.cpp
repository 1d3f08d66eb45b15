// Drag-and-drop of the main window's panes: songs dragged out of the list
// (with their related files unless Alt is held), folders, drives and list
// files dragged out of the tree, and files dropped on the list (into the
// current location's folder) or on a tree node (into that folder, after the
// question when "MesDragDrop" is on).
#include "app/FileCommands_win.h"

#include <windows.h>

#include <commctrl.h>

#include "actions/Clipboard_win.h"
#include "actions/DragDrop_win.h"
#include "app/BrowseSession_win.h"
#include "app/MainWindow_win.h"
#include "app/PlayRun_win.h"
#include "core/Text.h"
#include "ui/rules/BrowseRules.h"

namespace {

// Forwards the drops of one pane to the file commands.
class PaneDrop final : public DropHandler {
   public:
    PaneDrop(FileCommands* files, bool tree) : client_(files), tree_(tree) {
    }
    bool AcceptsDropAt(POINT screen) override {
        return !client_->DropTargetFolder(tree_, screen).empty();
    }
    DWORD Drop(IDataObject* data, POINT screen, DWORD effect, DWORD) override {
        return client_->DropFiles(tree_, data, screen, effect == DROPEFFECT_MOVE);
    }

   private:
    FileCommands* client_;
    bool tree_;
};

}  // namespace

void FileCommands::RegisterDropTargets() {
    listDrop_ = std::make_unique<PaneDrop>(this, false);
    treeDrop_ = std::make_unique<PaneDrop>(this, true);
    listDropTarget_ = CreateDropTarget(panes_.list->Handle(), listDrop_.get());
    treeDropTarget_ = CreateDropTarget(panes_.tree->Handle(), treeDrop_.get());
    panes_.list->RegisterDropTarget(listDropTarget_);
    panes_.tree->RegisterDropTarget(treeDropTarget_);
}

void FileCommands::RevokeDropTargets() {
    if (listDropTarget_) {
        panes_.list->RevokeDropTarget();
        listDropTarget_->Release();
        listDropTarget_ = nullptr;
    }
    if (treeDropTarget_) {
        panes_.tree->RevokeDropTarget();
        treeDropTarget_->Release();
        treeDropTarget_ = nullptr;
    }
}

// The list's drops go to the current location's folder (a list file's own
// folder); the tree's to the folder or drive under the point. Empty when the
// point takes no drop.
std::string FileCommands::DropTargetFolder(bool tree, POINT screen) {
    if (!tree) {
        return play_.IsLoadingList() ? std::string() : browse_.CurrentFolder();
    }
    HTREEITEM node = panes_.tree->NodeAt(screen);
    if (!(panes_.tree->Attributes(node) & (kNodeDriveBit | kNodeFolderBit))) {
        return std::string();
    }
    return panes_.tree->NodePath(node);
}

DWORD FileCommands::DropFiles(bool tree, IDataObject* data, POINT screen, bool move) {
    const std::string folder = DropTargetFolder(tree, screen);
    if (folder.empty()) {
        return DROPEFFECT_NONE;
    }
    bool listFiles = false;
    DWORD effect = DROPEFFECT_NONE;
    {
        CatalogueLockScope lock(browse_);
        if (tree && app_.settings.mode.mesDragDrop && !ConfirmDrop(FileOps(), folder, move)) {
            return DROPEFFECT_NONE;
        }
        browse_.ShowStatus(TransferStatus(move));
        effect = TransferDroppedFiles(FileOps(), folder, data, move, false, &listFiles);
        browse_.RestoreStatus();
    }
    selection_.RefreshCount();
    if (listFiles && effect != DROPEFFECT_NONE) {
        // The target shows its new list files; a move took them from wherever
        // they were shown, so every open branch is read again.
        HTREEITEM root = TreeView_GetRoot(panes_.tree->Handle());
        if (move) {
            panes_.tree->RescanShown(root);
        } else if (tree) {
            panes_.tree->RescanShown(panes_.tree->NodeAt(screen));
        } else {
            panes_.tree->UpdateTree(false);
        }
    }
    return effect;
}

// Dragging never starts while a list loads; with Alt held the related files
// stay behind. A move out of a list file's location reloads the list.
void FileCommands::StartDrag(bool) {
    if (play_.IsLoadingList()) {
        return;
    }
    selection_.RefreshCount();
    std::vector<std::string> files;
    std::vector<std::string> objectPaths;
    {
        CatalogueLockScope lock(browse_);
        if (!CollectFiles(SelectedObjects(), (GetKeyState(VK_MENU) & 0x8000) != 0, &files, &objectPaths)) {
            return;
        }
    }
    IDataObject* data = CreateSongDataObject(files, objectPaths);
    if (data == nullptr) {
        return;
    }
    const DWORD effect = DragData(data, true);
    data->Release();
    if (effect == DROPEFFECT_MOVE && browse_.Catalogue().kind != kLocationFolder) {
        browse_.ReloadList();
    }
}

// A folder or drive offers its files as "*.*" in the private format (a drive
// nothing for the shell); a list file its "|include" line. After a move the
// open branches are read again (the drop may have changed any of them).
void FileCommands::StartTreeDrag(HTREEITEM node) {
    if (play_.IsLoadingList()) {
        return;
    }
    const uint32_t attributes = panes_.tree->Attributes(node);
    if (!(attributes & (kNodeDriveBit | kNodeFolderBit | kListFileNodeBit))) {
        return;
    }
    const bool listFile = (attributes & kListFileNodeBit) != 0;
    const std::string path = panes_.tree->NodePath(node);
    const std::string item = listFile ? TreeItemFilePath(path) : path;
    IDataObject* data = CreateSongDataObject(TreeItemDropFiles(item), TreeItemPrivateStrings(item, listFile));
    if (data == nullptr) {
        return;
    }
    const DWORD effect = DragData(data, true);
    data->Release();
    if (effect == DROPEFFECT_MOVE) {
        panes_.tree->RescanShown(TreeView_GetRoot(panes_.tree->Handle()));
    }
}
