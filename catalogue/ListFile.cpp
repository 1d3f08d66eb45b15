// Reading and writing list files.
#include "catalogue/ListFile.h"

#include <cstring>
#include <memory>

#include "analysis/FileTypes.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/AtomicFile.h"
#include "core/FileFinder.h"
#include "core/Location.h"
#include "core/SongFile.h"
#include "core/Text.h"

constexpr size_t kHeaderBytes = sizeof kListFileHeader - 1;        // 18
constexpr size_t kOldHeaderBytes = sizeof kOldListFileHeader - 1;  // 23
constexpr char kIncludeKeyword[] = "|include ";
constexpr size_t kIncludeBytes = sizeof kIncludeKeyword - 1;  // 9
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8ByteOrderMarkBytes = 3;
// Play lists are a few kilobytes; a bigger file is not read into memory.
constexpr uint32_t kMaxListFileBytes = 64u * 1024 * 1024;

// Bytes of the line end at bytes[at]: 2 for CR LF, 1 for a lone CR or LF,
// 0 when there is none. Lists edited on other systems end their lines with
// LF alone or CR alone, and hand edits mix the forms.
static size_t LineEndBytes(const char* bytes, size_t size, size_t at) {
    if (at >= size || (bytes[at] != '\r' && bytes[at] != '\n')) {
        return 0;
    }
    return (bytes[at] == '\r' && at + 1 < size && bytes[at + 1] == '\n') ? 2 : 1;
}

// Where the line starting at position ends: at its line end or at size. CR
// and LF are never trail bytes, so a byte search finds only line ends.
static size_t LineEnd(const char* bytes, size_t size, size_t position) {
    while (position < size && bytes[position] != '\r' && bytes[position] != '\n') {
        position++;
    }
    return position;
}

static bool StartsWith(const char* bytes, size_t size, const char* prefix, size_t prefixBytes) {
    return size >= prefixBytes && std::memcmp(bytes, prefix, prefixBytes) == 0;
}

size_t ListHeaderLength(const char* bytes, size_t size) {
    // Editors that save in UTF-8 put a byte order mark before the header.
    const size_t mark =
        StartsWith(bytes, size, kUtf8ByteOrderMark, kUtf8ByteOrderMarkBytes) ? kUtf8ByteOrderMarkBytes : 0;
    bytes += mark;
    size -= mark;
    size_t headerBytes = 0;
    if (StartsWith(bytes, size, kListFileHeader, kHeaderBytes)) {
        headerBytes = kHeaderBytes;
    } else if (StartsWith(bytes, size, kOldListFileHeader, kOldHeaderBytes)) {
        headerBytes = kOldHeaderBytes;
    } else {
        return 0;
    }
    // The header is a line of its own, ended in any form or by the end of
    // the file. Text after it on the same line would be lost by the editor's
    // next save, so such a file is no list.
    const size_t lineEnd = LineEndBytes(bytes, size, headerBytes);
    if (lineEnd == 0 && headerBytes < size) {
        return 0;
    }
    return mark + headerBytes + lineEnd;
}

bool OpenListFile(const char* path, std::string* body, uint32_t* lastError) {
    body->clear();
    if (std::strlen(path) > kMaxPathBytes) {
        *lastError = kErrorFilenameExcedRange;
        return false;
    }
    SongOpenRequest request;
    request.flags = 0;
    std::unique_ptr<SongFile> file = OpenPlainSongFile(path, request, lastError);
    if (!file) {
        return false;
    }
    uint32_t high = 0;
    const uint32_t size = file->Size(&high);
    if (high != 0 || size > kMaxListFileBytes) {
        *lastError = kErrorNotEnoughMemory;
        return false;
    }
    std::string bytes(size, '\0');
    uint32_t got = 0;
    if (!file->Read(&bytes[0], size, &got)) {
        *lastError = kErrorHandleEof;
        return false;
    }
    bytes.resize(got);
    const size_t headerLength = ListHeaderLength(bytes.data(), bytes.size());
    if (headerLength == 0) {
        *lastError = kErrorSuccess;
        return false;
    }
    body->assign(bytes, headerLength, std::string::npos);
    *lastError = kErrorSuccess;
    return true;
}

bool IsListFileValid(const char* path) {
    std::string body;
    uint32_t error = 0;
    return OpenListFile(path, &body, &error);
}

bool ReadLine(const std::string& body, size_t* position, std::string* line) {
    if (*position >= body.size()) {
        return false;
    }
    const size_t end = LineEnd(body.data(), body.size(), *position);
    line->assign(body, *position, end - *position);
    *position = end + LineEndBytes(body.data(), body.size(), end);
    return true;
}

bool ParseListOptions(std::string* entry) {
    bool recurse = false;
    size_t optionStart = std::string::npos;
    const char* text = entry->c_str();
    for (size_t i = 0; i < entry->size(); i += CharBytes(text + i)) {
        if (text[i] != ' ' || text[i + 1] != '/') {
            continue;
        }
        if (optionStart == std::string::npos) {
            optionStart = i;
        }
        if (text[i + 2] == 's' || text[i + 2] == 'S') {
            recurse = true;
        }
    }
    if (optionStart != std::string::npos) {
        entry->resize(optionStart);
    }
    return recurse;
}

std::string ResolveListPath(const std::string& path, const ListPathBase& base) {
    // A network path ("\\\\server\\share") names its own root.
    if (path.compare(0, 2, "\\\\") == 0) {
        return path;
    }
    if (!path.empty() && path[0] == '\\') {
        return base.drive + path;
    }
    // Outside Windows an absolute path starts with '/'; only include lines
    // can start so, as entries beginning with '/' are comments.
    if (FindDriveColon(path.c_str()) >= 0 || (!path.empty() && path[0] == '/')) {
        return path;
    }
    return base.folder + path;
}

static bool IsCommentLine(const std::string& line) {
    const char first = line[0];
    return first == '/' || first == ';' || first == ':' || (line.size() > 1 && line[1] == '/');
}

ListLine ParseListLine(const std::string& line, const ListPathBase& base) {
    ListLine parsed;
    // A line that does not fit the line buffer is skipped whole: cut short it
    // could name another file or folder than the one meant.
    if (line.empty() || line.size() >= kListLineBytes) {
        return parsed;
    }
    if (line.size() >= kIncludeBytes && CompareNoCase(line.substr(0, kIncludeBytes).c_str(), kIncludeKeyword) == 0) {
        const size_t start = line.find_first_not_of(" \t", kIncludeBytes);
        parsed.kind = ListLine::kInclude;
        parsed.path = ResolveListPath(start == std::string::npos ? std::string() : line.substr(start), base);
        return parsed;
    }
    if (IsCommentLine(line)) {
        return parsed;
    }
    std::string entry = line;
    parsed.recurse = ParseListOptions(&entry);
    parsed.kind = ListLine::kEntry;
    parsed.path = ResolveListPath(entry, base);
    return parsed;
}

// The base of the list location: its drive part and the folder of the list
// file (the location less its trailing '>', cut after the last '\\').
static ListPathBase BaseOf(const CatalogueState& state) {
    ListPathBase base;
    base.drive = state.driveBase;
    SplitPath(Location(state.location).WithoutMark().c_str(), &base.folder, nullptr, false);
    return base;
}

// A single file entry: listed when it is a music file that exists.
static void AddSingleFile(CatalogueState& state, const std::string& path, BagBox* output) {
    FileTypeEntry entry = {};
    const MusicFileKind kind = MusicFileTypes().GetMusicFileKind(path.c_str(), &entry);
    if (kind == kKindNotMusic) {
        return;
    }
    FindRecord record;
    const std::unique_ptr<FileFinder> finder = FinderOpen(&record, path.c_str(), nullptr);
    if (!finder->Found() || (record.attributes & kAttrDirectory) != 0) {
        return;
    }
    AddFoundFile(state, path, record, kind, entry.typeBit, output);
}

static void ExpandEntry(CatalogueState& state, const ListLine& entry, BagBox* output) {
    std::string folder;
    std::string name;
    SplitPath(entry.path.c_str(), &folder, &name, true);
    // Entries that name nothing are skipped quietly, so scans run as nested.
    if (entry.recurse || name.empty()) {
        const std::string pattern = name.empty() ? "*.*" : name;
        ScanFolder(state, folder.c_str(), output, pattern.c_str(), true, entry.recurse, true);
    } else if (name.find_first_of("*?") != std::string::npos) {
        ScanFolder(state, folder.c_str(), output, name.c_str(), true, false, true);
    } else {
        AddSingleFile(state, entry.path, output);
    }
}

namespace {

// What one expansion has taken so far, against state.listLimits.
struct ListExpansion {
    int32_t reads = 0;
    uint64_t bytes = 0;    // of list text read
    int32_t firstRow = 0;  // ScanList rows before the expansion
    bool stopped = false;  // a limit was reached: nothing more is read
};

}  // namespace

static bool LimitReached(const CatalogueState& state, ListExpansion& expansion) {
    if (expansion.reads > state.listLimits.listReads ||
        state.scanList.Count() - expansion.firstRow >= state.listLimits.rows) {
        expansion.stopped = true;
    }
    return expansion.stopped;
}

static bool ExpandListFile(CatalogueState& state,
                           const char* path,
                           BagBox* output,
                           int32_t depth,
                           ListExpansion& expansion) {
    if (depth > kMaxListDepth) {
        return true;
    }
    expansion.reads++;
    if (LimitReached(state, expansion)) {
        return !state.abort;
    }
    std::string body;
    uint32_t error = 0;
    if (!OpenListFile(path, &body, &error)) {
        if (depth == 0 && error != kErrorSuccess && state.host) {
            state.host->ShowFileError(error, path);
        }
        return !state.abort;
    }
    expansion.bytes += body.size();
    if (expansion.bytes > state.listLimits.listBytes) {
        expansion.stopped = true;
        return !state.abort;
    }
    const ListPathBase base = BaseOf(state);
    size_t position = 0;
    std::string line;
    while (ReadLine(body, &position, &line)) {
        if (ScanOneEntry(state) || LimitReached(state, expansion)) {
            break;
        }
        const ListLine parsed = ParseListLine(line, base);
        if (parsed.kind == ListLine::kInclude) {
            ExpandListFile(state, parsed.path.c_str(), output, depth + 1, expansion);
        } else if (parsed.kind == ListLine::kEntry) {
            ExpandEntry(state, parsed, output);
        }
    }
    return !state.abort;
}

bool ReadListFile(CatalogueState& state, const char* path, BagBox* output, int32_t depth) {
    ListExpansion expansion;
    expansion.firstRow = state.scanList.Count();
    const bool complete = ExpandListFile(state, path, output, depth, expansion);
    if (expansion.stopped && !state.abort && state.host) {
        state.host->ShowWarning(
            std::string(path) + "\n\nリストファイルの展開が上限 (リストファイル " +
            std::to_string(state.listLimits.listReads) + " 回・" + std::to_string(state.listLimits.listBytes >> 20) +
            " MB、" + std::to_string(state.listLimits.rows) + " 曲) に達したため、残りの項目は読み込みませんでした。");
    }
    return complete;
}

std::string MakeListEntry(const char* path, bool shiftHeld) {
    if (IsListFileName(path)) {
        return std::string(kIncludeKeyword) + path;
    }
    if (ArchiveKindOfName(path) != kArchiveNone) {
        return std::string(path) + ">*.*" + (shiftHeld ? " /s" : "");
    }
    return path;
}

static bool IsCommentGroup(const std::string& entry) {
    return entry.compare(0, 2, "//") == 0 || (!entry.empty() && (entry[0] == ';' || entry[0] == ':'));
}

std::string ListFileBytes(const std::vector<std::string>& entries) {
    std::string out = std::string(kListFileHeader) + "\r\n";
    for (size_t i = 0; i < entries.size(); i++) {
        if (i == 0 || IsCommentGroup(entries[i]) != IsCommentGroup(entries[i - 1])) {
            out += "\r\n";
        }
        out += entries[i] + "\r\n";
    }
    return out;
}

uint32_t WriteListFile(const char* path, const std::vector<std::string>& entries) {
    const std::string bytes = ListFileBytes(entries);
    return WriteFileAtomically(path, bytes.data(), bytes.size());
}
