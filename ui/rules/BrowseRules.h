// The decisions of the two browsing panes, kept apart from the windows that
// act on them: folder-tree node attributes and paths, the keys of both panes,
// the song list's column clicks, type-ahead and count text, the node menu's
// items and the eject test.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/FolderScan.h"
#include "core/BagBox.h"

// Bits of a folder-tree node's attribute word (kListFileNodeBit is the
// list-file bit).
constexpr uint32_t kNodeDriveRowMask = 0x0000FFFF;  // a drive node's row in the drive list
constexpr uint32_t kNodeSortedBit = 0x00010000;     // the children have been sorted
constexpr uint32_t kNodeScanMarkBit = 0x00040000;   // found again by the running rescan
constexpr uint32_t kNodeRootBit = 0x00080000;       // the My Computer node
constexpr uint32_t kNodeDriveBit = 0x00100000;
constexpr uint32_t kNodeFolderBit = 0x00200000;
constexpr uint32_t kRootNodeAttributes = kNodeRootBit | kNodeSortedBit;

// One node on the way from a node up to the root: its text and attributes.
struct NodeStep {
    std::string text;
    uint32_t attributes;
};

// The location path of a node from the steps starting at the node itself and
// going up: folders add "text\\", list files "text.lst>"; a drive node puts
// its root from driveList in front; the walk stops at a root or drive node.
std::string BuildNodePath(const std::vector<NodeStep>& upward, const BagBox& driveList);

// A new tree selection: makes path the location and, when it differs from
// the previous one, takes include-sub-folders from the keys held and the
// "SearchSubFolder" setting; then opens it from the tree.
void SelectLocation(CatalogueState& state,
                    const std::string& path,
                    bool shiftHeld,
                    bool ctrlHeld,
                    bool searchSubFolder);

// kErrorFilenameExcedRange when the system refuses a location (a folder
// ending in '\\' or a list file followed by '>') because its path is too
// long, else 0. The folder tree cannot reach such a location, so whoever
// asked for it is told why.
uint32_t LocationPathError(const std::string& location);

// The location kind a node opens: list file (2) with the list-file bit, else folder (1).
LocationKind NodeLocationKind(uint32_t attributes);

// True when an existing child and a found entry are the same node: equal
// text and the same folder or list-file kind.
bool IsSameChild(const char* childText, uint32_t childAttributes, const char* foundText, uint32_t foundAttributes);

// The bytes of remaining a child's step covers: its text followed by "\\"
// (folder) or ".lst>" (list file), compared ignoring case; 0 when it does not
// match the beginning of remaining.
size_t MatchChildStep(const char* childText, uint32_t childAttributes, const char* remaining);

// True when a node is the drive node of the drive list's row, whatever its
// other bits (children sorted, scan mark) say.
bool IsDriveNodeOfRow(uint32_t attributes, int32_t row);

// The drive root a location path begins with ("C:\\" of "c:\\music\\", in
// upper case); empty when it has no drive part.
std::string DriveRootOfPath(const char* path);

// Virtual-key codes the key tables use (those of the platform).
namespace KeyCode {
constexpr int backspace = 0x08;
constexpr int tab = 0x09;
constexpr int enter = 0x0D;
constexpr int space = 0x20;
constexpr int deleteKey = 0x2E;
constexpr int digit0 = 0x30;
constexpr int letterA = 0x41;
constexpr int apps = 0x5D;
constexpr int numpad0 = 0x60;
constexpr int f10 = 0x79;
}  // namespace KeyCode

// The command a single key posts to the main window while
// "KeyboardFileOperation" is on and Ctrl is not held; 0 when the key keeps
// its normal action. forTree: the folder tree's table, else the song list's.
int32_t SingleKeyCommand(int virtualKey, bool ctrlHeld, bool keyboardFileOperation, bool forTree);

// True when a typed character is swallowed because letters and digits are
// single-key commands ("KeyboardFileOperation" on).
bool SwallowsTypedChar(unsigned character, bool keyboardFileOperation);

// What the song list does with a key of its own table.
enum class ListKeyAction {
    none,         // the list view's own handling
    play,         // command 500
    deleteItems,  // command 202
    extend,       // the next row joins the selection
    treeBack,     // focus to the tree, which goes to the parent
    treeFocus,    // focus to the tree, its selection scrolled into view
    contextMenu,  // command 50
};
ListKeyAction ListKeyActionFor(int virtualKey, bool shiftHeld);

// A column click of the song list: whether to reverse the descending flag
// first and the column index posted to the client window (-1: no sorting).
struct ColumnClick {
    bool reverseFirst;
    int32_t postedColumn;
};
ColumnClick DecideColumnClick(int32_t column, int32_t sortKind, bool shiftHeld, bool ctrlHeld);

// The answer to the posted column: reverse the order of the current sort
// column, or sort by another column (or not at all for -1).
struct SortChange {
    bool changeOrder;  // true: SetSortOrder(descending), else SetSortKind(kind)
    bool descending;
    int32_t kind;
};
SortChange DecideSortChange(int32_t postedColumn, int32_t sortKind, bool descending);

// The header image of a column: 1 ascending, 2 descending on the sort
// column in report view, 0 (none) otherwise.
int HeaderSortImage(int32_t column, int32_t sortKind, bool descending, bool reportView);

// Type-ahead: the first row from start on whose displayName begins with the
// same character as typed (one character, double-byte ones whole, ASCII case
// ignored); -1 when none, without wrapping round.
int32_t FindTypeAheadRow(const BagBox& objectList, const char* typed, int32_t start);

// True when the columns are sized to their contents after filling the list.
bool AutoSizesColumns(bool columnAutoSize, uint32_t view, int32_t rows);

// The folder tree's node menu, entry by entry.
enum class MenuEntryKind { item, separator, beginSubMenu, endSubMenu };
struct MenuEntry {
    MenuEntryKind kind;
    int32_t command;  // 0 for separators and sub-menu ends
    const char* text;
};
std::vector<MenuEntry> NodeMenuEntries(uint32_t attributes, bool ejectable);

// Drive types of the platform that can eject.
constexpr uint32_t kDriveRemovable = 2;
constexpr uint32_t kDriveCdRom = 5;

// Whether the eject item is offered: a removable or CD drive that is ready,
// unless its geometry reports floppy media.
bool OffersEject(uint32_t driveType, bool ready, bool geometryRead, int32_t mediaType);
