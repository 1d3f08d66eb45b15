// The folder tree: the left pane, My Computer with the drives, their folders
// and the list files in them. Selecting a node opens it as the catalogue's
// location; a right click offers the node's commands.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/BagBox.h"
#include "ui/BrowsingHost_win.h"
#include "ui/framework/Controls_win.h"

constexpr int kFolderTreeId = 95;

class FolderTreeWindow : public STreeView {
   public:
    FolderTreeWindow(SWindow* parent, BrowsingHost& host);

    // Creates the control; true when it exists.
    bool CreateTree();
    // Handles the control's notifications reaching the parent (WM_NOTIFY);
    // true when m came from this tree.
    bool HandleNotify(MessageContext& m);

    // Rebuilds the whole tree from the drives, keeping the selected location.
    void BuildTree();
    // Selects the node of a location path (empty: the root); false when the
    // path leads to no node (unknown drive, drive not ready, missing step).
    bool SelectTreePath(const std::string& path);
    // SelectTreePath for the location the program starts on: it is listed
    // with or without its sub-folders as includeSubFolders says (the
    // remembered choice or the command line's), whatever keys are held.
    bool SelectStartPath(const std::string& path, bool includeSubFolders);
    // Rescans the selected node, expanding it when asked; its children are
    // taken from known when that lists the node's folder.
    void UpdateTree(bool expand, const FolderChildren* known = nullptr);
    // Reads the folders of the drive list's row again wherever its branch is
    // shown; the selected node stays selected while its folder exists.
    void RescanDrive(int32_t row);
    // Told the outcome of every drive-ready check: the drive's root, and
    // whether it is ready or the user gave it up.
    using DriveCheckListener = std::function<void(const char* root, bool ready)>;
    void SetDriveCheckListener(DriveCheckListener listener);
    // The location kind of the selected node.
    LocationKind SelectedNodeKind();
    // The location path of a node.
    std::string NodePath(HTREEITEM node);
    // The node the open node menu applies to (null when no menu is open).
    HTREEITEM MenuNode() const;
    // The node a folder command applies to: the menu's node while the node
    // menu is open, else the selected node.
    HTREEITEM CommandNode();
    // The node under a screen point, or null.
    HTREEITEM NodeAt(POINT screen);
    // A node's attribute word (0 for null).
    uint32_t Attributes(HTREEITEM node);
    // Rescans a node and, while it is open, every node shown below it.
    void RescanShown(HTREEITEM node);
    // Shows the node menu of the node under the cursor or, from the
    // keyboard, of the selected node.
    void ShowNodeMenu(bool fromMouse);
    // Focus from the song list: with goBack the tree goes to the parent
    // node, else its selected node is scrolled into view.
    void TakeFocusFromList(bool goBack);
    const BagBox& DriveList() const;

   protected:
    void OnKeyDown(MessageContext& m) override;
    void OnChar(MessageContext& m) override;
    void OnContextMenu(MessageContext& m) override;

   private:
    void SetAttributes(HTREEITEM node, uint32_t attributes);
    std::string Text(HTREEITEM node);
    HTREEITEM AddNode(HTREEITEM parent, const char* text, uint32_t attributes, int image, int openImage);
    void Rescan(HTREEITEM node, const FolderChildren* known = nullptr);
    bool IsExpanded(HTREEITEM node);
    bool CheckDrive(const char* root);
    bool MarkOrInsert(HTREEITEM node, const std::string& text, uint32_t attributes);
    void Sweep(HTREEITEM node);
    bool PrepareExpand(HTREEITEM node);
    void BuildImages();
    int ShellImage(const std::string& path, UINT flags);
    bool OffersEjectFor(uint32_t attributes);
    void OnSelectionChanged();

    BrowsingHost& host_;
    BagBox driveList_;
    std::unique_ptr<SImageList> images_;  // made anew with every rebuild
    std::map<int, int> shellImages_;      // system icon index to ours
    HTREEITEM menuNode_ = nullptr;
    bool suppressSelection_ = false;
    std::optional<bool> startSubFolders_;  // set only while the start location is selected
    HTREEITEM justRescanned_ = nullptr;    // opened right after its rescan
    DriveCheckListener driveChecked_;
};
