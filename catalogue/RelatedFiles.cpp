// Finding a song's companions by name and collecting its related set. Both
// go through the finder and the song file reader, so a song inside an archive
// finds its companions among the archive's members.
#include "catalogue/RelatedFiles.h"

#include <memory>

#include "analysis/FileTypes.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/Location.h"
#include "core/SongFile.h"
#include "core/Text.h"

// Entries a search for companions never counts.
constexpr uint32_t kIgnoredAttributes = kAttrHidden | kAttrSystem | kAttrDirectory;
// Scripts are a few kilobytes; a larger "script" is not read into memory.
constexpr uint32_t kMaxScriptBytes = 16u * 1024 * 1024;

// Related sets are small: 16 rows, step 8, 128 text bytes, step 64.
BagBox MakeRelatedSet() {
    return BagBox(nullptr, true, false, 1, 0, 16, 8, 128, 64);
}

// What a search for a song's companions looks at: the folder (or
// "archive>" part) of a path, the song's base name, and base name + ".*" to
// list. A '*' or '?' in the base name works as a wildcard in the listing, so
// every name found is checked against the base name itself. The file
// system's search for base + ".*" also finds base itself, which the member
// patterns of an archive never match ("*.*" aside), so inside an archive
// every member is listed and the check against the base name decides.
struct SameNameSearch {
    std::string folder;
    std::string base;  // as the finder names entries
    std::string pattern;
};

static SameNameSearch SplitForSearch(const char* path) {
    SameNameSearch search;
    std::string name;
    SplitPath(path, &search.folder, &name, true);
    std::string base;
    SplitExtension(name.c_str(), &base, nullptr);
    const bool inArchive = !search.folder.empty() && search.folder.back() == '>';
    search.pattern = search.folder + (inArchive ? std::string("*.*") : base + ".*");
    SplitExtension(EntryNameOf(path).c_str(), &search.base, nullptr);
    return search;
}

// True for an entry the search counts: not hidden, system or a folder, and
// named like the song.
static bool IsCompanionEntry(const FindRecord& record, const SameNameSearch& search) {
    return (record.attributes & kIgnoredAttributes) == 0 && IsBaseNameOf(record.name.c_str(), search.base);
}

int32_t FindRelatedFiles(const char* path,
                         bool all,
                         std::initializer_list<const char*> extensions,
                         std::string* outPath,
                         FindRecord* outRecord) {
    // A member name keeps its archive folders ("dir/x.mid"), and a member
    // search lists full member names, so the pattern and the names found both
    // carry them; the folder part before the member name is the archive.
    const SameNameSearch search = SplitForSearch(path);
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, search.pattern.c_str(), nullptr);
    int32_t result = 0;
    for (bool more = finder->Found(); more; more = finder->Next(&record)) {
        if (!IsCompanionEntry(record, search)) {
            continue;
        }
        int32_t number = 0;
        if (extensions.size() == 0) {
            number = 1;
        } else {
            std::string extension;
            SplitExtension(record.name.c_str(), nullptr, &extension);
            int32_t n = 1;
            for (const char* candidate : extensions) {
                if (size_t(n) > kMaxRelatedExtensions) {
                    break;
                }
                if (candidate && CompareNoCase(extension.c_str(), candidate) == 0) {
                    number = n;
                    break;
                }
                n++;
            }
        }
        if (number == 0) {
            continue;
        }
        if (outPath) {
            *outPath = search.folder + record.name;
        }
        if (outRecord) {
            *outRecord = record;
        }
        if (extensions.size() == 0 || !all) {
            return number;
        }
        result |= 1 << (number - 1);
    }
    return result;
}

int32_t WrdFlags(const char* path) {
    return FindRelatedFiles(path, true, {"wrd", "sry", "nbf"}, nullptr, nullptr);
}

int32_t DocumentFlags(const char* path, const char* userExtension) {
    if (userExtension && *userExtension) {
        return FindRelatedFiles(path, true, {"hed", "txt", "doc", "log", userExtension}, nullptr, nullptr);
    }
    return FindRelatedFiles(path, true, {"hed", "txt", "doc", "log"}, nullptr, nullptr);
}

static void AddUnique(BagBox* set, const std::string& path) {
    if (set->Find(path.c_str(), 0) < 0) {
        set->Add({path.c_str()});
    }
}

bool AddIfExists(BagBox* set, const char* path, const char* extension) {
    std::string wanted;
    if (extension) {
        std::string base;
        SplitExtension(path, &base, nullptr);
        wanted = base + "." + extension;
    } else {
        wanted = path;
    }
    std::string ownExtension;
    SplitExtension(wanted.c_str(), nullptr, &ownExtension);
    std::string found;
    if (FindRelatedFiles(wanted.c_str(), false, {ownExtension.c_str()}, &found, nullptr) == 0) {
        return false;
    }
    AddUnique(set, found);
    return true;
}

// Reads a whole script through the song file reader; empty when it cannot.
static std::vector<uint8_t> ReadScript(const std::string& path) {
    uint32_t lastError = kErrorSuccess;
    std::unique_ptr<SongFile> file = OpenSongFile(path.c_str(), SongOpenRequest(), &lastError);
    if (!file) {
        return {};
    }
    uint32_t high = 0;
    const uint32_t size = file->Size(&high);
    if (high != 0 || size > kMaxScriptBytes) {
        return {};
    }
    std::vector<uint8_t> bytes(size);
    uint32_t got = 0;
    if (size > 0 && (!file->Read(bytes.data(), size, &got) || got != size)) {
        return {};
    }
    return bytes;
}

// Adds every existing file a script names, relative to the script's folder.
static void AddScriptNames(BagBox* set,
                           const std::string& scriptPath,
                           std::vector<std::string> (*scan)(const uint8_t*, size_t)) {
    const std::vector<uint8_t> bytes = ReadScript(scriptPath);
    if (bytes.empty()) {
        return;
    }
    // The script's folder: inside an archive the member's own folder ("set.zip>songs/").
    const std::string folder = Location(scriptPath).Folder();
    for (const std::string& name : scan(bytes.data(), bytes.size())) {
        AddIfExists(set, (folder + name).c_str(), nullptr);
    }
}

// Adds the same-named files that are neither music files nor archives:
// documents and anything else that travels with the song. An audio song's
// "wrd" file belongs to a sequence song of the same name, never to it.
static void AddOtherSameNamed(BagBox* set, const char* songPath, bool audio) {
    const SameNameSearch search = SplitForSearch(songPath);
    FindRecord record;
    std::unique_ptr<FileFinder> finder = FinderOpen(&record, search.pattern.c_str(), nullptr);
    for (bool more = finder->Found(); more; more = finder->Next(&record)) {
        if (!IsCompanionEntry(record, search)) {
            continue;
        }
        const char* name = record.name.c_str();
        if (MusicFileTypes().GetMusicFileKind(name, nullptr) != kKindNotMusic ||
            ArchiveKindOfName(name) != kArchiveNone) {
            continue;
        }
        std::string extension;
        SplitExtension(name, nullptr, &extension);
        if (audio && CompareNoCase(extension.c_str(), "wrd") == 0) {
            continue;
        }
        AddUnique(set, search.folder + record.name);
    }
}

// The companion with extension, added when it exists; its path or empty.
static std::string AddCompanion(BagBox* set, const char* songPath, const char* extension) {
    std::string base;
    SplitExtension(songPath, &base, nullptr);
    std::string found;
    if (FindRelatedFiles((base + "." + extension).c_str(), false, {extension}, &found, nullptr) == 0) {
        return std::string();
    }
    AddUnique(set, found);
    return found;
}

void CollectRelatedSet(const char* songPath, int32_t fileType, BagBox* set) {
    AddUnique(set, songPath);
    const bool audio = IsAudioKind(fileType);
    std::string wrd;
    if (!audio) {
        wrd = AddCompanion(set, songPath, "wrd");
    }
    const std::string sry = AddCompanion(set, songPath, "sry");
    const std::string nbf = AddCompanion(set, songPath, "nbf");
    AddOtherSameNamed(set, songPath, audio);
    if (!wrd.empty()) {
        AddScriptNames(set, wrd, ScanWrdScript);
    }
    if (!sry.empty()) {
        AddScriptNames(set, sry, ScanSherryScript);
    }
    if (!nbf.empty()) {
        AddScriptNames(set, nbf, ScanNeoScript);
    }
}
