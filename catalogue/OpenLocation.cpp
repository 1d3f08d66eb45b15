// Opening a location: gather the rows of a folder or list file, sort them by
// the song list's sort kind and fill ObjectList, restarting while newer
// requests arrive during the scan, and keeping the selection of a redisplay.
#include <cstring>

#include "catalogue/FolderScan.h"
#include "catalogue/ListFile.h"
#include "catalogue/OpenLocation.h"
#include "core/Text.h"

namespace {

// Columns of the table the rows are gathered and sorted in.
namespace Gathered {
constexpr int32_t path = 0;
constexpr int32_t displayName = 1;
constexpr int32_t title = 2;
constexpr int32_t comment = 3;
constexpr int32_t soundModule = 4;
constexpr int32_t timeText = 5;
constexpr int32_t fileType = 0;
constexpr int32_t fileSize = 1;
constexpr int32_t fromCache = 2;
}  // namespace Gathered

// How each sort kind orders the rows: the first key and its comparison; the
// display name breaks ties with the name comparison.
struct SortRule {
    int32_t kind;
    int32_t keyColumn;
    bool keyUsesLocale;  // false: bytewise (time texts sort as written)
    uint32_t keyFlags;
    bool nameBreaksTies;
};

constexpr SortRule kSortRules[] = {
    {kSortByName, Gathered::displayName, true, kNameCompareFlags, false},
    {kSortByTitle, Gathered::title, true, kTextCompareFlags, true},
    {kSortByComment, Gathered::comment, true, kNameCompareFlags, true},
    {kSortBySoundModule, Gathered::soundModule, true, kNameCompareFlags, true},
    {kSortByDate, Gathered::timeText, false, 0, true},
};

// The songs-list layout of the rows a scan or list file delivers.
BagBox MakeFoundTable() {
    return BagBox(nullptr, false, false, ScanListColumn::kStrings, ScanListColumn::kIntegers, kListInitialRows,
                  kListRowStep, kListInitialTextBytes, kListTextStep);
}

}  // namespace

static CatalogueHost& HostOf(CatalogueState& state) {
    static CatalogueHost silent;
    return state.host ? *state.host : silent;
}

static SongAnalyzer& AnalyzerOf(CatalogueState& state) {
    static SongAnalyzer plain;
    return state.analyzer ? *state.analyzer : plain;
}

bool CatalogueHost::PumpMessages() {
    return false;
}
void CatalogueHost::NoteEntryScanned() {
}
bool CatalogueHost::KeepRow(const char*) {
    return true;
}
LocationKind CatalogueHost::SelectedNodeKind() {
    return kLocationFolder;
}
void CatalogueHost::RememberTexts(int32_t, const char*, const char*, const char*) {
}
void CatalogueHost::ShowWaitCursor(bool) {
}
void CatalogueHost::ClearDisplay() {
}
void CatalogueHost::SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition) {
    *selectedRow = -1;
    *scrollPosition = 0;
}
void CatalogueHost::ShowRows(int32_t, int32_t, int32_t) {
}
void CatalogueHost::ReleaseWatch() {
}
void CatalogueHost::SetUpWatch() {
}
bool CatalogueHost::WatchesChanges() {
    return false;
}
void CatalogueHost::UpdateTree(bool) {
}
void CatalogueHost::ShowWarning(const std::string&) {
}

std::string ObjectFullPath(const CatalogueState& state, const char* path) {
    // Rows of a list file are always full paths, also where paths hold no
    // drive colon (outside Windows).
    if (state.kind == kLocationListFile) {
        return path;
    }
    return FullObjectPath(state.location.c_str(), path);
}

// Fills found with the rows of the location. False when stopped or when the
// location kind cannot be scanned.
static bool FindLocationRows(CatalogueState& state, bool includeSubFolders, BagBox* found) {
    if (state.kind == kLocationFolder) {
        return ScanFolder(state, state.location.c_str(), found, "*.*", false, includeSubFolders, false);
    }
    if (state.kind == kLocationListFile) {
        const std::string listPath = state.location.substr(0, state.location.size() - 1);
        return ReadListFile(state, listPath.c_str(), found, 0);
    }
    return false;
}

// Turns the found rows into gathered rows with display names and, for the
// text sorts, the texts the sort needs. False when stopped or failed.
static bool GatherRows(CatalogueState& state, bool includeSubFolders, BagBox* rows) {
    BagBox found = MakeFoundTable();
    state.shownNames.clear();
    if (!FindLocationRows(state, includeSubFolders, &found)) {
        return false;
    }
    CatalogueHost& host = HostOf(state);
    const int32_t sortKind = state.settings.sortKind;
    // found is only read here, so its cells stay put.
    for (int32_t i = 0; i < found.Count(); i++) {
        const char* const path = found.Read(i, ScanListColumn::path);
        const char* const timeText = found.Read(i, ScanListColumn::timeText);
        const int32_t fileType = found.iRead(i, ScanListColumn::fileType);
        const int32_t fileSize = found.iRead(i, ScanListColumn::fileSize);
        if (!host.KeepRow(path)) {
            continue;
        }
        const char* shownName = path;
        if (!state.shownNames.empty()) {
            const auto shown = state.shownNames.find(path);
            shownName = shown == state.shownNames.end() ? path : shown->second.c_str();
        }
        const std::string displayName = MakeDisplayName(shownName, state.settings.showFileNameExt);
        std::string title;
        std::string comment;
        std::string soundModule;
        bool fromCache = false;
        if (sortKind == kSortByTitle || sortKind == kSortByComment) {
            fromCache =
                LookUpTitleAndComment(state.cache, AnalyzerOf(state), path, timeText, fileType, &title, &comment);
        } else if (sortKind == kSortBySoundModule) {
            fromCache = LookUpSoundModule(state.cache, AnalyzerOf(state), path, timeText, fileType, &soundModule);
        }
        if (PumpAndCheckAbort(state)) {
            return false;
        }
        KeepRoomForRow(rows, std::strlen(path) + displayName.size() + title.size() + comment.size() +
                                 soundModule.size() + std::strlen(timeText) + 6);
        rows->Add({path, displayName.c_str(), title.c_str(), comment.c_str(), soundModule.c_str(), timeText},
                  {fileType, fileSize, fromCache ? 1 : 0});
    }
    return true;
}

static void SortRows(BagBox* rows, int32_t sortKind, bool descending) {
    for (const SortRule& rule : kSortRules) {
        if (rule.kind != sortKind) {
            continue;
        }
        if (rule.keyUsesLocale) {
            rows->SetPrimaryComparer(true, true);
            rows->SetPrimaryCompareFlags(rule.keyFlags);
        } else {
            rows->SetPrimaryComparer(false, false);
        }
        if (!rule.nameBreaksTies) {
            rows->Sort(rule.keyColumn, descending);
            return;
        }
        rows->SetSecondaryComparer(true, true);
        rows->SetSecondaryCompareFlags(kNameCompareFlags);
        rows->Sort2(rule.keyColumn, Gathered::displayName, descending);
        return;
    }
}

bool BuildObjectList(CatalogueState& state, bool includeSubFolders) {
    BagBox rows(nullptr, true, true, 6, 3, kListInitialRows, kListRowStep, kListInitialTextBytes, kListTextStep);
    if (!GatherRows(state, includeSubFolders, &rows)) {
        state.cache.TitleCache.Clear();
        return false;
    }
    const int32_t sortKind = state.settings.sortKind;
    SortRows(&rows, sortKind, state.settings.sortDescending);
    // scanList is sorted on path by the cache refresh, the one reader that
    // needs it so: a list that refreshes no cache is never sorted.
    const bool textsRead = sortKind == kSortByTitle || sortKind == kSortByComment;
    const bool moduleRead = sortKind == kSortBySoundModule;
    CatalogueHost& host = HostOf(state);
    state.objectList.Reserve(rows.Count());
    state.objectList.ReserveText(rows.TextUsed());  // more than its three columns of them need
    for (int32_t i = 0; i < rows.Count(); i++) {
        if ((textsRead || moduleRead) && rows.iRead(i, Gathered::fromCache) == 0) {
            host.RememberTexts(state.objectList.Count(), textsRead ? rows.Read(i, Gathered::title) : nullptr,
                               textsRead ? rows.Read(i, Gathered::comment) : nullptr,
                               moduleRead ? rows.Read(i, Gathered::soundModule) : nullptr);
        }
        state.objectList.Add(
            {rows.Read(i, Gathered::path), rows.Read(i, Gathered::displayName), rows.Read(i, Gathered::timeText)},
            {rows.iRead(i, Gathered::fileType), rows.iRead(i, Gathered::fileSize)});
    }
    return true;
}

// The drive part of a location ("C:" of "C:\\music\\"), the base of list
// entries that begin with a backslash; empty when the location has none.
static std::string DrivePartOf(const std::string& location) {
    const int colon = FindEitherChar(location.c_str(), ':', '\0');
    return colon < 0 ? std::string() : location.substr(0, size_t(colon) + 1);
}

// Empties everything for the "none" location.
static void CloseLocation(CatalogueState& state, bool updateTree) {
    CatalogueHost& host = HostOf(state);
    host.ClearDisplay();
    state.kind = kLocationNone;
    state.objectList.Clear();
    state.scanList.Clear();
    state.hiddenByPlayer = 0;
    state.cache.TitleCache.Clear();
    state.cache.cacheLoaded = false;
    host.ShowWaitCursor(false);
    host.RestoreStatus();
    state.previousPath.clear();
    if (updateTree) {
        host.UpdateTree(false);
    }
    state.busy = false;
}

// The row selected after the scan: the last selected name when it is still
// listed, else the remembered row, kept inside the list.
static int32_t RowToSelect(const CatalogueState& state, int32_t rememberedRow) {
    const int32_t count = state.objectList.Count();
    int32_t row = rememberedRow;
    if (!state.lastSelectedName.empty()) {
        const int32_t found = state.objectList.Find(state.lastSelectedName.c_str(), ObjectListColumn::path);
        if (found >= 0) {
            row = found;
        }
    }
    if (row >= count) {
        row = count - 1;
    }
    return row;
}

void RememberFocusedSong(CatalogueState& state, const std::string& focusedPath) {
    // While a scan runs the list is being filled again: the song it showed
    // focused is the one already remembered.
    if (!state.busy) {
        state.lastSelectedName = focusedPath;
    }
}

void OpenLocation(CatalogueState& state, const OpenOptions& options) {
    if (state.quitting) {
        return;
    }
    if (state.busy) {
        // The running scan sees this at its next check and starts over.
        state.abort = true;
        return;
    }
    CatalogueHost& host = HostOf(state);
    int32_t selectedRow = -1;
    int32_t scrollPosition = 0;
    bool positionKept = false;  // saved by an attempt stopped for the same location
    for (;;) {
        state.busy = true;
        state.abort = false;
        host.ReleaseWatch();
        host.ShowWaitCursor(true);
        if (state.location.empty()) {
            CloseLocation(state, options.updateTree);
            return;
        }
        const bool redisplay = CompareNoCase(state.location.c_str(), state.previousPath.c_str()) == 0;
        if (!redisplay) {
            selectedRow = -1;
            scrollPosition = 0;
        } else if (!positionKept) {
            host.SaveListPosition(&selectedRow, &scrollPosition);
            if (options.resetSelection) {
                selectedRow = -1;
            }
        }
        host.ClearDisplay();
        state.driveBase = DrivePartOf(state.location);
        state.kind = host.SelectedNodeKind();
        state.objectList.Clear();
        state.scanList.Clear();
        state.hiddenByPlayer = 0;
        state.cache.location = state.location;
        state.cache.kind = state.kind;
        state.cacheFileExisted = LoadTitleCache(state.cache);
        host.ShowStatus("オブジェクトを検索中");
        if (!BuildObjectList(state, state.includeSubFolders)) {
            state.busy = false;
            const bool restart = state.abort && !state.quitting;
            // A newer request for the location being redisplayed (a second
            // sort command, say) starts over as a redisplay of it: the
            // location stays the one shown, and the row and scroll position
            // saved before the first attempt are kept, the list being empty
            // by now. Any other stop leaves nothing shown.
            positionKept =
                restart && redisplay && CompareNoCase(state.location.c_str(), state.previousPath.c_str()) == 0;
            if (!positionKept) {
                state.previousPath.clear();
            }
            if (restart) {
                continue;  // a newer request came during the scan
            }
            host.ShowWaitCursor(false);
            host.RestoreStatus();
            return;
        }
        const int32_t count = state.objectList.Count();
        if (redisplay) {
            host.ShowRows(count, RowToSelect(state, selectedRow), scrollPosition);
        } else {
            host.ShowRows(count, count == 0 ? -1 : state.settings.focusLastRow ? count - 1 : 0, 0);
        }
        host.SetUpWatch();
        state.previousPath = state.location;
        if (options.updateTree) {
            host.UpdateTree(state.kind == kLocationFolder);
        }
        host.ShowWaitCursor(false);
        if (options.fromTree && state.cacheFileExisted && state.settings.autoCache) {
            RefreshTitleCache(state.cache, state.scanList, host, AnalyzerOf(state), true, true);
        } else {
            host.RestoreStatus();
        }
        state.busy = false;
        return;
    }
}
