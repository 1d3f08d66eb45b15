// The folder walker and the player type masks. ScanFolder enumerates a real
// folder (optionally its sub-folders and the archives in it) or an archive
// through the finder, which hides the difference between the two.
#include "catalogue/FolderScan.h"

#include <cstring>

#include "analysis/FileTypes.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/FileFinder.h"
#include "core/FileTime.h"
#include "core/FolderTrail.h"
#include "core/SongFile.h"
#include "core/Text.h"

namespace {

struct PlayerMaskRow {
    int32_t playerKind;
    uint32_t mask;
};

// The file types each player accepts; the bits are those of the type table.
constexpr PlayerMaskRow kPlayerMasks[] = {
    {0, 0xF009},      // Media Player
    {1, 0x6F009},     // Windows Media Player
    {2, 0xFF},        // WRD File Player
    {3, 0x39},        // MPVG
    {4, 0x10FD},      // TMIDI Player
    {5, 0xFF},        // DECOPLAY
    {6, 0x1FF0F9},    // KbMedia Player
    {7, 0x1FF001},    // WINAMP2
    {8, 0x1E000},     // SCMPX
    {9, 0x7F0F9},     // Gratzer Sound Station
    {10, 0x1E000},    // Audioactive Player
    {11, 0x1FF000},   // Lilith
    {100, 0x1FF0FF},  // user defined
};

}  // namespace

// Hidden and system entries of a real folder stay out of the list; inside an
// archive the bits mean nothing to the user and are ignored.
constexpr uint32_t kSkippedAttributes = kAttrHidden | kAttrSystem;

uint32_t PlayerTypeMask(int32_t playerKind) {
    for (const PlayerMaskRow& row : kPlayerMasks) {
        if (row.playerKind == playerKind) {
            return row.mask;
        }
    }
    return 0;
}

bool IncludeSubFoldersFor(bool shiftHeld, bool ctrlHeld, bool setting) {
    if (shiftHeld && ctrlHeld) {
        return !setting;
    }
    if (shiftHeld) {
        return true;
    }
    if (ctrlHeld) {
        return false;
    }
    return setting;
}

void AddFoundFile(CatalogueState& state,
                  const std::string& path,
                  const FindRecord& record,
                  MusicFileKind kind,
                  uint32_t typeBit,
                  BagBox* output) {
    const std::string timeText = TimeTextOfFileTime(record.lastWriteTime);
    const int32_t size = int32_t(uint32_t(record.size));
    const size_t rowText = path.size() + timeText.size() + 2;
    KeepRoomForRow(&state.scanList, rowText);
    state.scanList.Add({path.c_str(), timeText.c_str()}, {kind, size});
    if (output && (typeBit & state.playerTypeMask) != 0) {
        KeepRoomForRow(output, rowText);
        output->Add({path.c_str(), timeText.c_str()}, {kind, size});
    } else if (output) {
        state.hiddenByPlayer++;
    }
}

bool ScanOneEntry(CatalogueState& state) {
    if (state.host) {
        state.host->NoteEntryScanned();
    }
    return PumpAndCheckAbort(state);
}

bool PumpAndCheckAbort(CatalogueState& state) {
    if (state.host && state.host->PumpMessages()) {
        state.abort = true;
    }
    return state.abort;
}

// A path inside an archive holds the '>' that ends the archive part; '>' is
// never a trail byte, so a byte search is enough.
static bool IsRealFolder(const char* folder) {
    return FindEitherChar(folder, '>', '\0') < 0;
}

// The row's path: full, or relative to the location (sub-folder and archive
// parts stay, so "sub\\x.mid" and "a.lzh>x.mid").
static std::string RowPath(const CatalogueState& state, const std::string& full, bool absoluteNames) {
    const std::string& prefix = state.location;
    if (absoluteNames || full.size() < prefix.size() || full.compare(0, prefix.size(), prefix) != 0) {
        return full;
    }
    return full.substr(prefix.size());
}

// The name an entry is opened by. A name the code page cannot write comes
// with '?' for each character it has no form for ('?' is never part of a
// real name), and nothing opens by it; the short (8.3) name the file system
// gives such an entry does. Without one the name stays as it came.
static const std::string& OpenableName(const FindRecord& record) {
    const bool unwritable = FindEitherChar(record.name.c_str(), '?', '\0') >= 0;
    return unwritable && !record.alternateName.empty() ? record.alternateName : record.name;
}

// Adds one music file to ScanList and, when the player can play it, to output.
static void AddMusicFile(CatalogueState& state,
                         const std::string& folder,
                         const FindRecord& record,
                         BagBox* output,
                         bool absoluteNames) {
    const std::string& name = OpenableName(record);
    FileTypeEntry entry = {};
    const MusicFileKind kind = MusicFileTypes().GetMusicFileKind(name.c_str(), &entry);
    if (kind == kKindNotMusic) {
        return;
    }
    const std::string path = RowPath(state, folder + name, absoluteNames);
    if (&name != &record.name) {
        state.shownNames[path] = record.name;
    }
    AddFoundFile(state, path, record, kind, entry.typeBit, output);
}

// A sub-folder (not "." or "..") or a file whose name ends in ".lst"; a file
// goes into the signature as the signature's own walk of the folder counts it.
static void NoteChild(const FindRecord& record, FolderChildren* children) {
    if (record.attributes & kAttrDirectory) {
        if (record.name != "." && record.name != "..") {
            children->folders.push_back(record.name);
        }
        return;
    }
    if (children->signatureRead && CountsForSignature(record.name.c_str())) {
        AddFileToSignature(&children->signature, record);
    }
    std::string extension;
    SplitExtension(record.name.c_str(), nullptr, &extension);
    if (CompareNoCase(extension.c_str(), "lst") == 0) {
        children->listFiles.push_back(record.name);
    }
}

// What stays the same through one walk, and the real folders it is inside.
struct FolderWalk {
    CatalogueState& state;
    BagBox* output;
    const char* pattern;
    bool absoluteNames;
    bool recurse;
    FolderTrail trail;
};

// One folder or archive of a walk.
static bool ScanWalkFolder(FolderWalk& walk, const std::string& folderPath, bool nested) {
    CatalogueState& state = walk.state;
    const bool realFolder = IsRealFolder(folderPath.c_str());
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, (folderPath + walk.pattern).c_str(), nullptr);
    if (!finder->Found()) {
        const uint32_t error = finder->Error();
        const bool missingInRealFolder = error == kErrorFileNotFound && realFolder;
        if (error != kErrorSuccess && !nested && !missingInRealFolder && state.host) {
            state.host->ShowFileError(error, folderPath);
        }
        return true;
    }
    // The whole listing of the location itself also tells its children and,
    // without sub-folders, the signature the change watch starts from (for a
    // host that watches): the folder is not listed again for it.
    const bool listsChildren = !nested && realFolder && std::strcmp(walk.pattern, "*.*") == 0;
    FolderChildren children;
    children.folder = folderPath;
    children.signatureRead = !walk.recurse && state.host && state.host->WatchesChanges();
    for (bool more = true; more; more = finder->Next(&record)) {
        if (ScanOneEntry(state)) {
            break;
        }
        if (listsChildren) {
            NoteChild(record, &children);
        }
        if (realFolder && (record.attributes & kSkippedAttributes) != 0) {
            continue;
        }
        if (record.attributes & kAttrDirectory) {
            if (walk.recurse && realFolder && record.name != "." && record.name != "..") {
                const std::string sub = folderPath + OpenableName(record) + "\\";
                if (walk.trail.Enter(sub.c_str())) {
                    ScanWalkFolder(walk, sub, true);
                    walk.trail.Leave();
                }
            }
            continue;
        }
        if (realFolder && state.settings.searchArchive && ArchiveKindOfName(record.name.c_str()) != kArchiveNone) {
            ScanWalkFolder(walk, folderPath + OpenableName(record) + ">", true);
            continue;
        }
        AddMusicFile(state, folderPath, record, walk.output, walk.absoluteNames);
    }
    if (listsChildren && !state.abort) {
        state.children = std::move(children);
    }
    return !state.abort;
}

bool ScanFolder(CatalogueState& state,
                const char* folder,
                BagBox* output,
                const char* pattern,
                bool absoluteNames,
                bool recurse,
                bool nested) {
    FolderWalk walk = {state, output, pattern, absoluteNames, recurse, FolderTrail()};
    // Only a walk into sub-folders can come round to a folder again, so only
    // that one reads identities: one for each real folder it enters.
    if (recurse && IsRealFolder(folder)) {
        walk.trail.Enter(folder);
    }
    return ScanWalkFolder(walk, folder, nested);
}
