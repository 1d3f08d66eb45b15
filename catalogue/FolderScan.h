// The folder scan: turns the current location (a folder, or a list file
// followed by '>') into ScanList, every music file found with its time stamp,
// and ObjectList, the sorted songs the current player can play. The scan runs
// on the user-interface thread; between entries it lets the host process
// pending messages, and a newer request arriving there stops it and makes
// OpenLocation start over on the newest location.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "analysis/FileTypes.h"
#include "catalogue/FolderSignature.h"
#include "catalogue/TitleCache.h"
#include "core/BagBox.h"
#include "core/FileFinder.h"
#include "core/MusicObject.h"

enum LocationKind : int32_t {
    kLocationNone = 0,
    kLocationFolder = 1,
    kLocationListFile = 2,
};

// Bit of a folder-tree node's attribute word that marks a list file.
constexpr uint32_t kListFileNodeBit = 0x400000;

// Song-list sort kinds (the "Sort" setting of "ListWindow").
enum SortKind : int32_t {
    kSortNone = -1,
    kSortByName = 0,
    kSortByTitle = 1,
    kSortByComment = 2,
    kSortBySoundModule = 3,
    kSortByDate = 4,
};

// The music file types a player can play: a union of the type bits of the
// file type table; 0 for an unknown player kind.
uint32_t PlayerTypeMask(int32_t playerKind);

// The include-sub-folders choice for a newly selected location: Shift and
// Ctrl together invert the setting, Shift alone turns it on, Ctrl alone off.
bool IncludeSubFoldersFor(bool shiftHeld, bool ctrlHeld, bool setting);

// What the scan needs from the user interface, besides what the title cache
// shows (status texts, progress, file errors). The defaults do nothing, so
// the command-line tool and tests override only what they use.
class CatalogueHost : public TitleCacheHost {
   public:
    // Lets pending messages be processed between entries. A message may start
    // a new OpenLocation, which only sets abort; returns true to stop the scan.
    // A host whose program is ending sets the state's quitting as well.
    virtual bool PumpMessages();
    // One more entry of a folder, an archive or a list file was looked at.
    virtual void NoteEntryScanned();
    // False drops a row while narrowing is active.
    virtual bool KeepRow(const char* path);
    // The location kind of the selected tree node.
    virtual LocationKind SelectedNodeKind();
    // Hands texts already read for the sort to the song list's display store;
    // null for a text that was not read.
    virtual void RememberTexts(int32_t row, const char* title, const char* comment, const char* soundModule);
    // Wait cursor on or off.
    virtual void ShowWaitCursor(bool on);
    // Empties the display store and the list view.
    virtual void ClearDisplay();
    // Selected row (-1 when none) and scroll position of the list view.
    virtual void SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition);
    // Shows count rows, selects a row (-1: none) and scrolls.
    virtual void ShowRows(int32_t count, int32_t selectedRow, int32_t scrollPosition);
    // Change watch of the location: dropped before a scan, set up after it.
    virtual void ReleaseWatch();
    virtual void SetUpWatch();
    // True when SetUpWatch really watches: a scan without sub-folders then
    // reads the folder's signature for the watch as it lists the folder.
    virtual bool WatchesChanges();
    // Updates the folder tree, expanding the node for folder locations.
    virtual void UpdateTree(bool expand);
    // Tells the user something went only partly well; nothing failed.
    virtual void ShowWarning(const std::string& text);
};

// Settings the scan reads ("ListWindow" and "Mode" subkeys).
struct ScanSettings {
    bool searchArchive = true;     // "SearchArchive": enter archives
    bool showFileNameExt = false;  // "ShowFileNameExt": names keep their extension
    bool autoCache = true;         // "AutoCache": refresh the cache after opening
    int32_t sortKind = kSortByName;
    bool sortDescending = false;
    bool focusLastRow = false;  // "TvnSelChangedLastSel": a new location focuses its last row
};

// The catalogue fields of the main window.
// What the last complete scan of a folder location found directly in it
// besides songs: its sub-folders and the files named like list files. The
// folder tree reads the location's children from here instead of listing a
// folder of many songs a second time.
struct FolderChildren {
    std::string folder;  // the location these belong to; empty: none known
    std::vector<std::string> folders;
    std::vector<std::string> listFiles;
    // The folder's signature as ReadFolderSignature(folder, false) gives it,
    // when the scan was not into sub-folders and the host watches changes:
    // the change watch's baseline.
    bool signatureRead = false;
    FolderSignature signature;
};

// How far one list location expands: the list files read (the list itself
// and every include, each time it is included), their bytes and the rows
// listed. A list
// that includes itself several times would otherwise multiply its rows at
// every level.
struct ListExpansionLimits {
    int32_t listReads = 4096;
    int32_t rows = 500000;
    // Bytes of list text read in all: a large list included many times
    // would be read again at every inclusion, and held once per level.
    uint32_t listBytes = 256u << 20;
};

struct CatalogueState {
    std::string location;      // folder ending in '\\', or list file path + '>'
    std::string previousPath;  // location of the last successful scan
    std::string driveBase;     // drive part of the location ("C:"), base of list entries
    LocationKind kind = kLocationNone;
    bool includeSubFolders = false;
    std::string lastSelectedName;  // path selected before the location was left
    bool busy = false;
    bool abort = false;
    // The program is ending: a stopped scan is not started over, and no
    // new one starts.
    bool quitting = false;
    uint32_t playerTypeMask = 0;
    int32_t hiddenByPlayer = 0;  // music files of the last scan the player cannot play
    ScanSettings settings;
    BagBox objectList = MakeObjectList();
    BagBox scanList = MakeScanList();
    TitleCacheState cache;             // TitleCache of the location
    bool cacheFileExisted = false;     // the last open found a cache file
    CatalogueHost* host = nullptr;     // null: a silent host
    SongAnalyzer* analyzer = nullptr;  // null: titles and comments only
    FolderChildren children;           // of the location, after a complete scan
    ListExpansionLimits listLimits;
    // Songs whose names have no code page form, which the scan reaches by
    // their short names: the row's path, and the long name as the code page
    // shows it (with '?' for what it cannot write), for the name column.
    std::map<std::string, std::string> shownNames;
};

// Walks folder + pattern (a folder path ending in '\\', or an archive path
// ending in '>'). Every music file goes to state.scanList, and those the
// player can play also to output (2 strings, 2 integers). Paths are full with
// absoluteNames, else relative to state.location. With recurse, a sub-folder
// that leads back to a folder the walk is inside (a link to it or to one of
// its ancestors) is not entered. Returns false only when the scan was
// stopped (abort).
bool ScanFolder(CatalogueState& state,
                const char* folder,
                BagBox* output,
                const char* pattern,
                bool absoluteNames,
                bool recurse,
                bool nested);

// Lets the host process pending messages; true when the scan has to stop
// (abort is set, by the host's answer or by a newer OpenLocation).
bool PumpAndCheckAbort(CatalogueState& state);
// The same, after telling the host that one more entry was looked at.
bool ScanOneEntry(CatalogueState& state);

// Adds a music file found by a scan, with the time and size of its record,
// to the scan list and, when the player can play its type, to output (else
// it counts as hidden by the player).
void AddFoundFile(CatalogueState& state,
                  const std::string& path,
                  const FindRecord& record,
                  MusicFileKind kind,
                  uint32_t typeBit,
                  BagBox* output);

// Rebuilds ObjectList (and ScanList) for the location and sorts it. False when
// the scan was stopped or the location cannot be scanned.
bool BuildObjectList(CatalogueState& state, bool includeSubFolders);

// The full path of an object of the current location.
std::string ObjectFullPath(const CatalogueState& state, const char* path);
