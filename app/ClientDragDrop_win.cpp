// Drag-and-drop of the main window's panes: songs dragged out of the list
// (with their related files unless Alt is held), folders, drives and list
// files dragged out of the tree, and files dropped on the list (into the
// current location's folder) or on a tree node (into that folder, after the
// question when "MesDragDrop" is on).
#include <windows.h>

#include <commctrl.h>

#include "actions/Clipboard_win.h"
#include "actions/DragDrop_win.h"
#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "core/Text.h"
#include "ui/rules/BrowseRules.h"

namespace {

// Forwards the drops of one pane to the client window.
class PaneDrop final : public DropHandler {
   public:
    PaneDrop(ClientWindow* client, bool tree) : client_(client), tree_(tree) {
    }
    bool AcceptsDropAt(POINT screen) override {
        return !client_->DropTargetFolder(tree_, screen).empty();
    }
    DWORD Drop(IDataObject* data, POINT screen, DWORD effect, DWORD) override {
        return client_->DropFiles(tree_, data, screen, effect == DROPEFFECT_MOVE);
    }

   private:
    ClientWindow* client_;
    bool tree_;
};

}  // namespace

void ClientWindow::RegisterDropTargets() {
    listDrop_ = std::make_unique<PaneDrop>(this, false);
    treeDrop_ = std::make_unique<PaneDrop>(this, true);
    listDropTarget_ = CreateDropTarget(list_->Handle(), listDrop_.get());
    treeDropTarget_ = CreateDropTarget(tree_->Handle(), treeDrop_.get());
    list_->RegisterDropTarget(listDropTarget_);
    tree_->RegisterDropTarget(treeDropTarget_);
}

void ClientWindow::RevokeDropTargets() {
    if (listDropTarget_) {
        list_->RevokeDropTarget();
        listDropTarget_->Release();
        listDropTarget_ = nullptr;
    }
    if (treeDropTarget_) {
        tree_->RevokeDropTarget();
        treeDropTarget_->Release();
        treeDropTarget_ = nullptr;
    }
}

// The list's drops go to the current location's folder (a list file's own
// folder); the tree's to the folder or drive under the point. Empty when the
// point takes no drop.
std::string ClientWindow::DropTargetFolder(bool tree, POINT screen) {
    if (!tree) {
        return IsLoadingList() ? std::string() : CurrentFolder();
    }
    HTREEITEM node = tree_->NodeAt(screen);
    if (!(tree_->Attributes(node) & (kNodeDriveBit | kNodeFolderBit))) {
        return std::string();
    }
    return tree_->NodePath(node);
}

DWORD ClientWindow::DropFiles(bool tree, IDataObject* data, POINT screen, bool move) {
    const std::string folder = DropTargetFolder(tree, screen);
    if (folder.empty()) {
        return DROPEFFECT_NONE;
    }
    bool listFiles = false;
    DWORD effect = DROPEFFECT_NONE;
    {
        CatalogueLockScope lock(*this);
        if (tree && settings.mode.mesDragDrop && !ConfirmDrop(FileOps(), folder, move)) {
            return DROPEFFECT_NONE;
        }
        ShowStatus(TransferStatus(move));
        effect = TransferDroppedFiles(FileOps(), folder, data, move, false, &listFiles);
        RestoreStatus();
    }
    RefreshObjectCount();
    if (listFiles && effect != DROPEFFECT_NONE) {
        // The target shows its new list files; a move took them from wherever
        // they were shown, so every open branch is read again.
        HTREEITEM root = TreeView_GetRoot(tree_->Handle());
        if (move) {
            tree_->RescanShown(root);
        } else if (tree) {
            tree_->RescanShown(tree_->NodeAt(screen));
        } else {
            tree_->UpdateTree(false);
        }
    }
    return effect;
}

// Dragging never starts while a list loads; with Alt held the related files
// stay behind. A move out of a list file's location reloads the list.
void ClientWindow::StartDrag(bool) {
    if (IsLoadingList()) {
        return;
    }
    RefreshObjectCount();
    std::vector<std::string> files;
    std::vector<std::string> objectPaths;
    {
        CatalogueLockScope lock(*this);
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
    if (effect == DROPEFFECT_MOVE && catalogue_.kind != kLocationFolder) {
        ReloadList();
    }
}

// A folder or drive offers its files as "*.*" in the private format (a drive
// nothing for the shell); a list file its "|include" line. After a move the
// open branches are read again (the drop may have changed any of them).
void ClientWindow::StartTreeDrag(HTREEITEM node) {
    if (IsLoadingList()) {
        return;
    }
    const uint32_t attributes = tree_->Attributes(node);
    if (!(attributes & (kNodeDriveBit | kNodeFolderBit | kListFileNodeBit))) {
        return;
    }
    const bool listFile = (attributes & kListFileNodeBit) != 0;
    const std::string path = tree_->NodePath(node);
    const std::string item = listFile ? TreeItemFilePath(path) : path;
    IDataObject* data = CreateSongDataObject(TreeItemDropFiles(item), TreeItemPrivateStrings(item, listFile));
    if (data == nullptr) {
        return;
    }
    const DWORD effect = DragData(data, true);
    data->Release();
    if (effect == DROPEFFECT_MOVE) {
        tree_->RescanShown(TreeView_GetRoot(tree_->Handle()));
    }
}
