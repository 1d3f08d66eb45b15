// FileCommands: the client's file operations. The song list's clipboard,
// paste and delete, copying or moving the selection into a folder, the
// folder tree's create/rename/delete of folders and list files and its
// drive eject, the Edit commands and the shell's properties window of the
// focused song, drag-and-drop of both panes and the panes' context menus.
// Questions and reports go through a FileOpsHost.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "actions/DragDrop_win.h"
#include "actions/EditCommands.h"
#include "actions/FileOps_win.h"
#include "app/AppState_win.h"
#include "app/ListSelection_win.h"
#include "ui/framework/SWindow_win.h"

class BrowseSession;
class MainWindow;
class PlayRun;

class FileCommands {
   public:
    FileCommands(MainWindow* main,
                 AppState& app,
                 ClientPanes& panes,
                 ListSelection& selection,
                 BrowseSession& browse,
                 PlayRun& play);
    ~FileCommands();
    FileCommands(const FileCommands&) = delete;
    FileCommands& operator=(const FileCommands&) = delete;

    // Runs a file command; true when it was one.
    bool RunCommand(MessageContext& m);
    // What the file operations show the user; a test puts its own host in
    // to answer the questions.
    FileOpsHost& FileOps();
    void SetFileOps(std::unique_ptr<FileOpsHost> host);
    // Drops on the panes (FileDragDrop_win.cpp): the folder a drop at a
    // screen point goes to (empty: refused), and the drop itself with its
    // effect for the drag source.
    std::string DropTargetFolder(bool tree, POINT screen);
    DWORD DropFiles(bool tree, IDataObject* data, POINT screen, bool move);
    void RegisterDropTargets();
    void RevokeDropTargets();
    // Drags out of the song list and the folder tree.
    void StartDrag(bool rightButton);
    void StartTreeDrag(HTREEITEM node);
    // A right click on the song list (WM_CONTEXTMENU); false when it was not
    // the list's.
    bool ShowContextMenu(HWND window, LPARAM screenPoint);

   private:
    std::vector<SelectedObject> SelectedObjects();
    // The song list's file commands.
    void CopyToClipboard();
    void PasteIntoLocation();
    void DeleteSelected();
    // The folder and tree commands, Edit and shell properties (FolderCommands_win.cpp).
    void CopyToFolder();
    void MoveToFolder();
    void CopyMoveToFolder(bool move);
    void ChangeFolder();
    HTREEITEM FolderNodeForCommand();
    void NewFolder();
    void NewListInTree();
    void CreateTreeItem(bool listFile);
    bool CommandFileItem(HTREEITEM* node, std::string* item, bool* listFile);
    void RenameTreeItem();
    void DeleteTreeItemCommand();
    void EditTreeList();
    void EjectTreeDrive();
    void EditSong();
    void EditWrd();
    void EditDocument();
    void EditFocused(EditWhat what);
    void OpenShellProperties();
    void ShowFocusedPaneMenu();
    void ShowListMenu(POINT at);

    static const CommandRoute<FileCommands> kCommands[];

    MainWindow* main_;
    AppState& app_;
    ClientPanes& panes_;
    ListSelection& selection_;
    BrowseSession& browse_;
    PlayRun& play_;
    std::unique_ptr<FileOpsHost> fileOps_;
    std::string lastTransferFolder_;  // the folder dialog's last choice
    std::unique_ptr<DropHandler> listDrop_;
    std::unique_ptr<DropHandler> treeDrop_;
    IDropTarget* listDropTarget_ = nullptr;
    IDropTarget* treeDropTarget_ = nullptr;
};
