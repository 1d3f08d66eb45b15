// The decisions of the folder tree and the song list; the windows only act
// on what these return.
#include "ui/rules/BrowseRules.h"

#include <cstring>
#include <memory>

#include "catalogue/OpenLocation.h"
#include "core/FileFinder.h"
#include "core/Location.h"
#include "core/SongFile.h"
#include "core/Text.h"

namespace {

// Command identifiers posted by the single keys and the node menu.
constexpr int32_t kPlayerFirstCommand = 600;
constexpr int32_t kCopyToCommand = 51;
constexpr int32_t kMoveToCommand = 52;
constexpr int32_t kChangeFolderCommand = 53;
constexpr int32_t kFolderNewCommand = 100;
constexpr int32_t kFolderRenameCommand = 101;
constexpr int32_t kFolderDeleteCommand = 102;
constexpr int32_t kListNewCommand = 103;
constexpr int32_t kListEditCommand = 104;
constexpr int32_t kDeleteCommand = 202;

// Letters with a command of their own; tree and list differ only in D and
// in C, M (list) against R (tree).
struct LetterCommand {
    char letter;
    int32_t listCommand;  // 0: none in the song list
    int32_t treeCommand;  // 0: none in the folder tree
};

constexpr LetterCommand kLetterCommands[] = {
    {'A', kPlayerFirstCommand, kPlayerFirstCommand},
    {'B', kPlayerFirstCommand + 1, kPlayerFirstCommand + 1},
    {'C', kCopyToCommand, 0},
    {'M', kMoveToCommand, 0},
    {'L', kChangeFolderCommand, kChangeFolderCommand},
    {'D', kDeleteCommand, kFolderDeleteCommand},
    {'E', kListEditCommand, kListEditCommand},
    {'I', kListNewCommand, kListNewCommand},
    {'K', kFolderNewCommand, kFolderNewCommand},
    {'R', 0, kFolderRenameCommand},
};

constexpr char kListFileStepEnd[] = ".lst>";

uint8_t FoldAscii(uint8_t c) {
    return (c >= 'a' && c <= 'z') ? uint8_t(c - 0x20) : c;
}

}  // namespace

std::string BuildNodePath(const std::vector<NodeStep>& upward, const BagBox& driveList) {
    std::string path;
    for (const NodeStep& step : upward) {
        if (step.attributes & kNodeRootBit) {
            break;
        }
        if (step.attributes & kNodeDriveBit) {
            const char* root = driveList.Read(int32_t(step.attributes & kNodeDriveRowMask), 0);
            path.insert(0, root ? root : "");
            break;
        }
        path.insert(0, step.text + ((step.attributes & kListFileNodeBit) ? kListFileStepEnd : "\\"));
    }
    return path;
}

void SelectLocation(CatalogueState& state,
                    const std::string& path,
                    bool shiftHeld,
                    bool ctrlHeld,
                    bool searchSubFolder) {
    state.location = path;
    if (CompareNoCase(path.c_str(), state.previousPath.c_str()) != 0) {
        state.includeSubFolders = IncludeSubFoldersFor(shiftHeld, ctrlHeld, searchSubFolder);
    }
    OpenOptions options;
    options.fromTree = true;
    options.updateTree = true;
    OpenLocation(state, options);
}

uint32_t LocationPathError(const std::string& location) {
    // A list file is looked for itself, a folder through its contents.
    const Location place(location);
    const std::string probe = place.EndsInMark() ? place.WithoutMark() : location + "*.*";
    FindRecord record;
    const std::unique_ptr<FileFinder> finder = FinderOpen(&record, probe.c_str(), nullptr);
    return !finder->Found() && finder->Error() == kErrorFilenameExcedRange ? kErrorFilenameExcedRange : 0;
}

LocationKind NodeLocationKind(uint32_t attributes) {
    return (attributes & kListFileNodeBit) ? kLocationListFile : kLocationFolder;
}

bool IsSameChild(const char* childText, uint32_t childAttributes, const char* foundText, uint32_t foundAttributes) {
    const uint32_t kindBits = kNodeFolderBit | kListFileNodeBit;
    return (childAttributes & kindBits) == (foundAttributes & kindBits) && std::strcmp(childText, foundText) == 0;
}

size_t MatchChildStep(const char* childText, uint32_t childAttributes, const char* remaining) {
    std::string step = childText;
    step += (childAttributes & kListFileNodeBit) ? kListFileStepEnd : "\\";
    if (std::strlen(remaining) < step.size()) {
        return 0;
    }
    // The text has to end at a character boundary of remaining, so that the
    // separator after it is not the trail byte of a double-byte character.
    const size_t textBytes = std::strlen(childText);
    size_t boundary = 0;
    while (boundary < textBytes) {
        boundary += CharBytes(remaining + boundary);
    }
    if (boundary != textBytes) {
        return 0;
    }
    return CompareNoCase(step.c_str(), std::string(remaining, step.size()).c_str()) == 0 ? step.size() : 0;
}

bool IsDriveNodeOfRow(uint32_t attributes, int32_t row) {
    return (attributes & kNodeDriveBit) && row >= 0 && (attributes & kNodeDriveRowMask) == uint32_t(row);
}

std::string DriveRootOfPath(const char* path) {
    if (path[0] == '\0' || IsLeadByte(uint8_t(path[0])) || path[1] != ':') {
        return std::string();
    }
    std::string root = UpperAscii(std::string(path, 2).c_str());
    return root + "\\";
}

int32_t SingleKeyCommand(int virtualKey, bool ctrlHeld, bool keyboardFileOperation, bool forTree) {
    if (!keyboardFileOperation || ctrlHeld) {
        return 0;
    }
    if (virtualKey >= KeyCode::digit0 && virtualKey <= KeyCode::digit0 + 9) {
        return kPlayerFirstCommand + 2 + (virtualKey - KeyCode::digit0);
    }
    if (virtualKey >= KeyCode::numpad0 && virtualKey <= KeyCode::numpad0 + 9) {
        return kPlayerFirstCommand + 2 + (virtualKey - KeyCode::numpad0);
    }
    for (const LetterCommand& row : kLetterCommands) {
        if (virtualKey == row.letter) {
            return forTree ? row.treeCommand : row.listCommand;
        }
    }
    return 0;
}

bool SwallowsTypedChar(unsigned character, bool keyboardFileOperation) {
    const bool letterOrDigit = (character >= '0' && character <= '9') || (character >= 'A' && character <= 'Z') ||
                               (character >= 'a' && character <= 'z');
    return keyboardFileOperation && letterOrDigit;
}

ListKeyAction ListKeyActionFor(int virtualKey, bool shiftHeld) {
    switch (virtualKey) {
        case KeyCode::enter:
            return ListKeyAction::play;
        case KeyCode::deleteKey:
            return ListKeyAction::deleteItems;
        case KeyCode::space:
            return ListKeyAction::extend;
        case KeyCode::backspace:
            return ListKeyAction::treeBack;
        case KeyCode::tab:
            return ListKeyAction::treeFocus;
        case KeyCode::apps:
            return ListKeyAction::contextMenu;
        case KeyCode::f10:
            return shiftHeld ? ListKeyAction::contextMenu : ListKeyAction::none;
        default:
            return ListKeyAction::none;
    }
}

ColumnClick DecideColumnClick(int32_t column, int32_t sortKind, bool shiftHeld, bool ctrlHeld) {
    ColumnClick click;
    click.reverseFirst = shiftHeld && column != sortKind;
    click.postedColumn = ctrlHeld ? kSortNone : column;
    return click;
}

SortChange DecideSortChange(int32_t postedColumn, int32_t sortKind, bool descending) {
    SortChange change;
    change.changeOrder = postedColumn != kSortNone && postedColumn == sortKind;
    change.descending = change.changeOrder ? !descending : descending;
    change.kind = postedColumn;
    return change;
}

int HeaderSortImage(int32_t column, int32_t sortKind, bool descending, bool reportView) {
    if (!reportView || column != sortKind) {
        return 0;
    }
    return descending ? 2 : 1;
}

int32_t FindTypeAheadRow(const BagBox& objectList, const char* typed, int32_t start) {
    if (typed == nullptr || typed[0] == '\0') {
        return -1;
    }
    const size_t typedBytes = CharBytes(typed);
    for (int32_t row = start < 0 ? 0 : start; row < objectList.Count(); row++) {
        const char* name = objectList.Read(row, ObjectListColumn::displayName);
        if (name == nullptr || CharBytes(name) != typedBytes) {
            continue;
        }
        if (typedBytes == 2 ? (name[0] == typed[0] && name[1] == typed[1])
                            : FoldAscii(uint8_t(name[0])) == FoldAscii(uint8_t(typed[0]))) {
            return row;
        }
    }
    return -1;
}

bool AutoSizesColumns(bool columnAutoSize, uint32_t view, int32_t rows) {
    constexpr uint32_t kReportView = 3;
    return columnAutoSize && view == kReportView && rows > 0;
}

std::vector<MenuEntry> NodeMenuEntries(uint32_t attributes, bool ejectable) {
    std::vector<MenuEntry> entries = {
        {MenuEntryKind::item, 570, "順次演奏(&U)"},
        {MenuEntryKind::item, 571, "ランダム演奏(&R)"},
    };
    const auto separatorUnlessLast = [&entries]() {
        if (entries.back().kind != MenuEntryKind::separator) {
            entries.push_back({MenuEntryKind::separator, 0, nullptr});
        }
    };
    const bool listFile = (attributes & kListFileNodeBit) != 0;
    const bool drive = (attributes & kNodeDriveBit) != 0;
    if (listFile) {
        entries.push_back({MenuEntryKind::separator, 0, nullptr});
        entries.push_back({MenuEntryKind::item, 572, "編集(&E)..."});
        entries.push_back({MenuEntryKind::separator, 0, nullptr});
    } else {
        separatorUnlessLast();
        entries.push_back({MenuEntryKind::beginSubMenu, 0, "新規作成(&N)"});
        entries.push_back({MenuEntryKind::item, 573, "フォルダ(&F)..."});
        entries.push_back({MenuEntryKind::item, 574, "リストファイル(&L)..."});
        entries.push_back({MenuEntryKind::endSubMenu, 0, nullptr});
    }
    if (!drive) {
        separatorUnlessLast();
        entries.push_back({MenuEntryKind::item, 575, "名前を変更(&A)..."});
        entries.push_back({MenuEntryKind::item, 576, "削除(&D)..."});
    }
    if (drive && ejectable) {
        entries.push_back({MenuEntryKind::separator, 0, nullptr});
        entries.push_back({MenuEntryKind::item, 577, "取り出し(&J)"});
    }
    return entries;
}

bool OffersEject(uint32_t driveType, bool ready, bool geometryRead, int32_t mediaType) {
    if ((driveType != kDriveRemovable && driveType != kDriveCdRom) || !ready) {
        return false;
    }
    if (!geometryRead) {
        return true;  // CD drives have no disk geometry
    }
    const bool floppy = (mediaType >= 1 && mediaType <= 10) || (mediaType >= 13 && mediaType <= 19) || mediaType == 22;
    return !floppy;
}
