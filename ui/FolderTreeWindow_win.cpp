// The folder tree: nodes with their attribute words, rescans of a node's
// children, selection of a location path, the node menu and the tree's keys.
#include "ui/FolderTreeWindow_win.h"

#include <shellapi.h>
#include <shlobj.h>
#include <winioctl.h>

#include <cstring>
#include <utility>
#include <vector>

#include "catalogue/Drives.h"
#include "catalogue/ListFile.h"
#include "core/CommandIds.h"
#include "core/Location.h"
#include "core/Text.h"
#include "ui/rules/BrowseRules.h"

namespace {

// SHGetFileInfoA flags of the tree's icons.
constexpr UINT kSpecialFolderInfo = SHGFI_DISPLAYNAME | SHGFI_ICON | SHGFI_PIDL | SHGFI_SMALLICON;  // 0x309
constexpr UINT kSmallIcon = SHGFI_ICON | SHGFI_SMALLICON;                                           // 0x101
constexpr UINT kSmallOpenIcon = SHGFI_ICON | SHGFI_SMALLICON | SHGFI_OPENICON;                      // 0x103

bool KeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// Shows the wait cursor for one scope.
class WaitCursor {
   public:
    WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {
    }
    ~WaitCursor() {
        SetCursor(previous_);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

   private:
    HCURSOR previous_;
};

// The display name and small icon of a special folder (My Computer, network).
std::string SpecialFolderInfo(int folder, HICON* icon) {
    *icon = nullptr;
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, folder, &pidl)) || pidl == nullptr) {
        return std::string();
    }
    SHFILEINFOA info = {};
    SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof info, kSpecialFolderInfo);
    CoTaskMemFree(pidl);
    *icon = info.hIcon;
    return info.szDisplayName;
}

// The name of a list file without its ".lst" extension; false for other files.
bool ListFileNodeText(const char* name, std::string* text) {
    std::string extension;
    SplitExtension(name, text, &extension);
    return CompareNoCase(extension.c_str(), "lst") == 0;
}

// A geometry request answered for the drive: its media type.
bool ReadMediaType(const char* root, int32_t* mediaType) {
    const std::string device = std::string("\\\\.\\") + std::string(root, 2);
    HANDLE file = CreateFileA(device.c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DISK_GEOMETRY geometry = {};
    DWORD bytes = 0;
    const bool read = DeviceIoControl(file, IOCTL_DISK_GET_DRIVE_GEOMETRY, nullptr, 0, &geometry, sizeof geometry,
                                      &bytes, nullptr) != FALSE;
    CloseHandle(file);
    *mediaType = int32_t(geometry.MediaType);
    return read;
}

}  // namespace

FolderTreeWindow::FolderTreeWindow(SWindow* parent, BrowsingHost& host)
    : STreeView(parent, kFolderTreeId, 0), host_(host), driveList_(MakeDriveList()) {
}

bool FolderTreeWindow::CreateTree() {
    SetStyle(
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
        WS_EX_CLIENTEDGE);
    return Create();
}

const BagBox& FolderTreeWindow::DriveList() const {
    return driveList_;
}

HTREEITEM FolderTreeWindow::MenuNode() const {
    return menuNode_;
}

HTREEITEM FolderTreeWindow::CommandNode() {
    return menuNode_ ? menuNode_ : GetNextItem(nullptr, TVGN_CARET);
}

HTREEITEM FolderTreeWindow::NodeAt(POINT screen) {
    TVHITTESTINFO hit = {};
    hit.pt = ScreenToClient(screen);
    const auto node = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & TVHT_ONITEM) ? node : nullptr;
}

uint32_t FolderTreeWindow::Attributes(HTREEITEM node) {
    if (node == nullptr) {
        return 0;
    }
    TVITEMA item = {};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = node;
    return GetItem(&item) ? uint32_t(item.lParam) : 0;
}

void FolderTreeWindow::SetAttributes(HTREEITEM node, uint32_t attributes) {
    TVITEMA item = {};
    item.mask = TVIF_PARAM | TVIF_HANDLE;
    item.hItem = node;
    item.lParam = LPARAM(attributes);
    SetItem(&item);
}

std::string FolderTreeWindow::Text(HTREEITEM node) {
    char text[MAX_PATH + 1] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    return GetItem(&item) ? text : "";
}

HTREEITEM FolderTreeWindow::AddNode(HTREEITEM parent, const char* text, uint32_t attributes, int image, int openImage) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.lParam = LPARAM(attributes);
    insert.item.iImage = image;
    insert.item.iSelectedImage = openImage;
    // Drives and folders show a button until a scan finds them empty.
    insert.item.cChildren = (attributes & (kNodeRootBit | kNodeDriveBit | kNodeFolderBit)) ? 1 : 0;
    return InsertItem(&insert);
}

std::string FolderTreeWindow::NodePath(HTREEITEM node) {
    std::vector<NodeStep> upward;
    for (HTREEITEM step = node; step != nullptr; step = GetNextItem(step, TVGN_PARENT)) {
        const uint32_t attributes = Attributes(step);
        upward.push_back({Text(step), attributes});
        if (attributes & (kNodeRootBit | kNodeDriveBit)) {
            break;
        }
    }
    return BuildNodePath(upward, driveList_);
}

LocationKind FolderTreeWindow::SelectedNodeKind() {
    return NodeLocationKind(Attributes(GetNextItem(nullptr, TVGN_CARET)));
}

int FolderTreeWindow::ShellImage(const std::string& path, UINT flags) {
    const bool shellImages = host_.Settings().mode.shellFolderImage;
    SHFILEINFOA info = {};
    if (shellImages) {
        SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, flags);
    } else {
        // One look for all folders and one for all list files.
        const bool listFile = Location(path).EndsInMark();
        SHGetFileInfoA(listFile ? "list.lst" : "folder", listFile ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_DIRECTORY,
                       &info, sizeof info, flags | SHGFI_USEFILEATTRIBUTES);
    }
    if (info.hIcon == nullptr) {
        return 0;
    }
    const auto known = shellImages_.find(info.iIcon);
    int image = known == shellImages_.end() ? images_->AddIcon(info.hIcon) : known->second;
    DestroyIcon(info.hIcon);
    if (known == shellImages_.end()) {
        shellImages_[info.iIcon] = image;
    }
    return image < 0 ? 0 : image;
}

void FolderTreeWindow::BuildImages() {
    images_ = std::make_unique<SImageList>();
    images_->Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 8, 8);
    shellImages_.clear();
    for (int folder : {CSIDL_DRIVES, CSIDL_NETWORK}) {
        HICON icon = nullptr;
        SpecialFolderInfo(folder, &icon);
        images_->AddIcon(icon);
        if (icon) {
            DestroyIcon(icon);
        }
    }
    SetImageList(images_->Handle(), TVSIL_NORMAL);
}

bool FolderTreeWindow::MarkOrInsert(HTREEITEM node, const std::string& text, uint32_t attributes) {
    for (HTREEITEM child = GetNextItem(node, TVGN_CHILD); child; child = GetNextItem(child, TVGN_NEXT)) {
        const uint32_t childAttributes = Attributes(child);
        if (IsSameChild(Text(child).c_str(), childAttributes, text.c_str(), attributes)) {
            SetAttributes(child, childAttributes | kNodeScanMarkBit);
            return false;
        }
    }
    const std::string path = NodePath(node) + text + ((attributes & kListFileNodeBit) ? ".lst" : "");
    AddNode(node, text.c_str(), attributes | kNodeScanMarkBit, ShellImage(path, kSmallIcon),
            ShellImage(path, kSmallOpenIcon));
    return true;
}

void FolderTreeWindow::Sweep(HTREEITEM node) {
    HTREEITEM child = GetNextItem(node, TVGN_CHILD);
    while (child) {
        const HTREEITEM next = GetNextItem(child, TVGN_NEXT);
        const uint32_t attributes = Attributes(child);
        if (attributes & kNodeScanMarkBit) {
            SetAttributes(child, attributes & ~kNodeScanMarkBit);
        } else {
            DeleteItem(child);
        }
        child = next;
    }
}

// A rescan reads the folder, or takes its children from a scan that has
// just listed it (known, when it is about this folder).
void FolderTreeWindow::Rescan(HTREEITEM node, const FolderChildren* known) {
    const uint32_t attributes = Attributes(node);
    if (!(attributes & (kNodeDriveBit | kNodeFolderBit))) {
        return;  // the root lists drives, list files have no children
    }
    const std::string folder = NodePath(node);
    const bool showListFiles = host_.Settings().treeWindow.showListFile;
    bool inserted = false;
    auto addListFile = [&](const std::string& name) {
        std::string text;
        if (ListFileNodeText(name.c_str(), &text) && IsListFileValid((folder + name).c_str())) {
            inserted |= MarkOrInsert(node, text, kListFileNodeBit);
        }
    };
    if (known && !known->folder.empty() && CompareNoCase(known->folder.c_str(), folder.c_str()) == 0) {
        for (const std::string& name : known->folders) {
            inserted |= MarkOrInsert(node, name, kNodeFolderBit);
        }
        for (const std::string& name : known->listFiles) {
            if (showListFiles) {
                addListFile(name);
            }
        }
    } else {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    if (name != "." && name != "..") {
                        inserted |= MarkOrInsert(node, name, kNodeFolderBit);
                    }
                } else if (showListFiles) {
                    addListFile(name);
                }
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
    }
    Sweep(node);
    uint32_t after = Attributes(node);
    if (inserted && host_.Settings().treeWindow.sort) {
        Send(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(node));
        after |= kNodeSortedBit;
        SetAttributes(node, after);
    }
    TVITEMA item = {};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = node;
    item.cChildren = GetNextItem(node, TVGN_CHILD) ? 1 : 0;
    SetItem(&item);
}

// Before a node opens: a drive has to be ready; the children are rescanned.
// False keeps the node closed.
bool FolderTreeWindow::PrepareExpand(HTREEITEM node) {
    const uint32_t attributes = Attributes(node);
    if (attributes & kNodeDriveBit) {
        const char* root = driveList_.Read(int32_t(attributes & kNodeDriveRowMask), 0);
        WaitCursor wait;
        if (root == nullptr || !CheckDrive(root)) {
            return false;
        }
    }
    if (node != justRescanned_) {
        Rescan(node);
    }
    return true;
}

// Asks for a drive that is not ready until it is or the user gives up, and
// tells the listener which it was.
bool FolderTreeWindow::CheckDrive(const char* root) {
    const bool ready = CheckDriveReady(root, false, Handle());
    if (driveChecked_) {
        driveChecked_(root, ready);
    }
    return ready;
}

void FolderTreeWindow::SetDriveCheckListener(DriveCheckListener listener) {
    driveChecked_ = std::move(listener);
}

void FolderTreeWindow::BuildTree() {
    CatalogueLockScope lock(host_);
    WaitCursor wait;
    host_.StopFolderWatchers();
    const HTREEITEM selected = GetNextItem(nullptr, TVGN_CARET);
    const std::string selectedPath = selected ? NodePath(selected) : std::string();
    suppressSelection_ = true;
    DeleteItem(TVI_ROOT);
    BuildImages();
    HICON icon = nullptr;
    const std::string computer = SpecialFolderInfo(CSIDL_DRIVES, &icon);
    if (icon) {
        DestroyIcon(icon);
    }
    const HTREEITEM root = AddNode(TVI_ROOT, computer.c_str(), kRootNodeAttributes, 0, 0);
    const int32_t drives = ReadDrives(&driveList_);
    for (int32_t row = 0; row < drives && row <= int32_t(kNodeDriveRowMask); row++) {
        const char* driveRoot = driveList_.Read(row, 0);
        const int image = ShellImage(driveRoot, kSmallIcon);
        AddNode(root, DriveDisplayName(driveRoot).c_str(), kNodeDriveBit | uint32_t(row), image, image);
    }
    Expand(root, TVE_EXPAND);
    if (!SelectTreePath(selectedPath)) {
        SelectItem(root);
    }
    suppressSelection_ = false;
    host_.StartFolderWatchers();
}

bool FolderTreeWindow::SelectTreePath(const std::string& path) {
    const HTREEITEM root = GetNextItem(nullptr, TVGN_ROOT);
    if (path.empty()) {
        return root && SelectItem(root);
    }
    const std::string driveRoot = DriveRootOfPath(path.c_str());
    const int32_t row = driveList_.Find(driveRoot.c_str(), 0);
    if (row < 0) {
        return false;
    }
    {
        WaitCursor wait;
        if (!CheckDrive(driveRoot.c_str())) {
            return false;
        }
    }
    HTREEITEM node = GetNextItem(root, TVGN_CHILD);
    while (node && !IsDriveNodeOfRow(Attributes(node), row)) {
        node = GetNextItem(node, TVGN_NEXT);
    }
    size_t position = driveRoot.size();
    while (node) {
        // The node found last becomes the location: its scan lists the
        // folder once for the list and the tree (UpdateTree), so it is not
        // read here as well.
        if (position >= path.size() && !suppressSelection_ && node != GetNextItem(nullptr, TVGN_CARET)) {
            return SelectItem(node);
        }
        // Rescanned once: opening the node does not read a folder of many
        // files a second time.
        Rescan(node);
        justRescanned_ = node;
        Expand(node, TVE_EXPAND);
        justRescanned_ = nullptr;
        if (position >= path.size()) {
            return SelectItem(node);
        }
        HTREEITEM child = GetNextItem(node, TVGN_CHILD);
        size_t step = 0;
        for (; child; child = GetNextItem(child, TVGN_NEXT)) {
            step = MatchChildStep(Text(child).c_str(), Attributes(child), path.c_str() + position);
            if (step > 0) {
                break;
            }
        }
        node = child;
        position += step;
    }
    return false;
}

bool FolderTreeWindow::SelectStartPath(const std::string& path, bool includeSubFolders) {
    startSubFolders_ = includeSubFolders;
    const bool selected = SelectTreePath(path);
    startSubFolders_.reset();
    return selected;
}

void FolderTreeWindow::UpdateTree(bool expand, const FolderChildren* known) {
    const HTREEITEM selected = GetNextItem(nullptr, TVGN_CARET);
    if (selected == nullptr) {
        return;
    }
    Rescan(selected, known);
    if (expand) {
        Expand(selected, TVE_EXPAND);
    }
}

void FolderTreeWindow::RescanDrive(int32_t row) {
    if (row < 0 || row >= driveList_.Count()) {
        return;
    }
    const char* driveRoot = driveList_.Read(row, 0);
    const HTREEITEM root = GetNextItem(nullptr, TVGN_ROOT);
    HTREEITEM node = root ? GetNextItem(root, TVGN_CHILD) : nullptr;
    while (node && CompareNoCase(NodePath(node).c_str(), driveRoot) != 0) {
        node = GetNextItem(node, TVGN_NEXT);
    }
    if (node) {
        RescanShown(node);
    }
}

bool FolderTreeWindow::IsExpanded(HTREEITEM node) {
    TVITEMA item = {};
    item.mask = TVIF_STATE | TVIF_HANDLE;
    item.hItem = node;
    item.stateMask = TVIS_EXPANDED;
    return GetItem(&item) && (item.state & TVIS_EXPANDED);
}

// Rescans a node and, while it is open, every node shown below it.
void FolderTreeWindow::RescanShown(HTREEITEM node) {
    Rescan(node);
    if (!IsExpanded(node)) {
        return;
    }
    for (HTREEITEM child = GetNextItem(node, TVGN_CHILD); child; child = GetNextItem(child, TVGN_NEXT)) {
        RescanShown(child);
    }
}

bool FolderTreeWindow::HandleNotify(MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom != UINT_PTR(kFolderTreeId) || header->hwndFrom != Handle()) {
        return false;
    }
    const NMTREEVIEWA* tree = reinterpret_cast<const NMTREEVIEWA*>(m.lParam);
    switch (header->code) {
        case TVN_ITEMEXPANDINGA:
            if (tree->action & TVE_EXPAND) {
                m.result = PrepareExpand(tree->itemNew.hItem) ? FALSE : TRUE;
                m.handled = 1;
            }
            break;
        case TVN_SELCHANGEDA:
            OnSelectionChanged();
            m.handled = 1;
            break;
        case NM_RCLICK:
            // Answered here, so the control sends no WM_CONTEXTMENU as well.
            ShowNodeMenu(true);
            m.result = TRUE;
            m.handled = 1;
            break;
        case TVN_BEGINDRAGA:
        case TVN_BEGINRDRAGA:
            if (!(Attributes(tree->itemNew.hItem) & kNodeRootBit)) {
                host_.StartTreeDrag(tree->itemNew.hItem);
            }
            m.handled = 1;
            break;
        default:
            break;
    }
    return true;
}

void FolderTreeWindow::OnSelectionChanged() {
    if (suppressSelection_) {
        return;
    }
    const HTREEITEM selected = GetNextItem(nullptr, TVGN_CARET);
    const std::string path = selected ? NodePath(selected) : std::string();
    if (startSubFolders_) {
        SelectLocation(host_.Catalogue(), path, false, false, *startSubFolders_);
        return;
    }
    SelectLocation(host_.Catalogue(), path, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL),
                   host_.Settings().listWindow.searchSubFolder);
}

bool FolderTreeWindow::OffersEjectFor(uint32_t attributes) {
    const char* root = driveList_.Read(int32_t(attributes & kNodeDriveRowMask), 0);
    if (root == nullptr) {
        return false;
    }
    const uint32_t type = GetDriveTypeA(root);
    if (type != kDriveRemovable && type != kDriveCdRom) {
        return false;
    }
    WaitCursor wait;
    const bool ready = CheckDriveReady(root, true, nullptr);
    int32_t mediaType = 0;
    const bool geometryRead = ready && ReadMediaType(root, &mediaType);
    return OffersEject(type, ready, geometryRead, mediaType);
}

void FolderTreeWindow::ShowNodeMenu(bool fromMouse) {
    POINT at = {};
    HTREEITEM node = nullptr;
    if (fromMouse) {
        GetCursorPos(&at);
        node = NodeAt(at);
    } else {
        node = GetNextItem(nullptr, TVGN_CARET);
        // TVM_GETITEMRECT takes the item in the rectangle it fills.
        RECT rect = {};
        std::memcpy(&rect, &node, sizeof node);
        if (node && Send(TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) {
            at = ClientToScreen(POINT{rect.left, rect.bottom});
        }
    }
    const uint32_t attributes = node ? Attributes(node) : 0;
    if (node == nullptr || (attributes & kNodeRootBit)) {
        return;
    }
    const bool ejectable = (attributes & kNodeDriveBit) && OffersEjectFor(attributes);
    HMENU menu = CreatePopupMenu();
    HMENU target = menu;
    for (const MenuEntry& entry : NodeMenuEntries(attributes, ejectable)) {
        switch (entry.kind) {
            case MenuEntryKind::item:
                AppendMenuA(target, MF_STRING, UINT_PTR(entry.command), entry.text);
                break;
            case MenuEntryKind::separator:
                AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
                break;
            case MenuEntryKind::beginSubMenu: {
                HMENU sub = CreatePopupMenu();
                AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), entry.text);
                target = sub;
                break;
            }
            case MenuEntryKind::endSubMenu:
                target = menu;
                break;
        }
    }
    menuNode_ = node;
    const int command =
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, Handle(), nullptr);
    if (command != 0) {
        host_.SendMainCommand(command);
    }
    menuNode_ = nullptr;
    DestroyMenu(menu);
}

void FolderTreeWindow::TakeFocusFromList(bool goBack) {
    SetFocus();
    if (goBack) {
        Send(WM_KEYDOWN, VK_BACK, 0);
    } else {
        EnsureVisible(GetNextItem(nullptr, TVGN_CARET));
    }
}

void FolderTreeWindow::OnKeyDown(MessageContext& m) {
    const int key = int(m.wParam);
    if (key == VK_DELETE) {
        host_.SendMainCommand(kCmdFolderDelete);
        m.handled = 1;
        return;
    }
    const bool commandKey =
        (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') || (key >= VK_NUMPAD0 && key <= VK_NUMPAD9);
    const bool ctrl = KeyHeld(VK_CONTROL);
    if (!commandKey || ctrl || !host_.Settings().mode.keyboardFileOperation) {
        return;
    }
    const int32_t command = SingleKeyCommand(key, ctrl, true, true);
    if (command != 0) {
        host_.PostMainCommand(command);
    }
    m.handled = 1;
}

void FolderTreeWindow::OnChar(MessageContext& m) {
    const unsigned character = unsigned(m.wParam);
    if (character == '\b' || character == '\t' ||
        SwallowsTypedChar(character, host_.Settings().mode.keyboardFileOperation)) {
        m.handled = 1;
    }
}

void FolderTreeWindow::OnContextMenu(MessageContext& m) {
    ShowNodeMenu(m.lParam != -1);
    m.handled = 1;
}
