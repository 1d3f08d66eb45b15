// The list file editor's document and rules.
#include "ui/rules/ListEditorRules.h"

#include <algorithm>

#include "catalogue/ListFile.h"
#include "catalogue/TitleCache.h"
#include "core/Location.h"
#include "core/Text.h"

namespace {

constexpr char kInclude[] = "|include ";
constexpr size_t kIncludeBytes = sizeof(kInclude) - 1;
constexpr char kUntitled[] = "(無題)";

bool StartsWithInclude(const std::string& entry) {
    return entry.size() >= kIncludeBytes && CompareNoCase(entry.substr(0, kIncludeBytes).c_str(), kInclude) == 0;
}

bool IsComment(const std::string& entry) {
    return entry.compare(0, 2, "//") == 0 || entry[0] == ';' || entry[0] == ':';
}

bool EndsWithNoCase(const std::string& text, const char* suffix) {
    const size_t n = std::char_traits<char>::length(suffix);
    return text.size() > n && CompareNoCase(text.c_str() + text.size() - n, suffix) == 0;
}

// An archive entry names the archive itself or a member pattern after '>'.
bool NamesArchive(const std::string& path) {
    const std::string archive = Location(path).ArchivePath();
    for (const char* extension : {".lzh", ".zip", ".neo", ".gca"}) {
        if (EndsWithNoCase(archive, extension)) {
            return true;
        }
    }
    return false;
}

bool HasWildcard(const std::string& name) {
    return FindEitherChar(name.c_str(), '*', '?') >= 0;
}

// Splits a leading "|include " off an entry.
std::string SplitInclude(const std::string& entry, std::string* rest) {
    if (StartsWithInclude(entry)) {
        *rest = entry.substr(kIncludeBytes);
        return entry.substr(0, kIncludeBytes);
    }
    *rest = entry;
    return std::string();
}

std::vector<size_t> SortedUnique(std::vector<size_t> positions, size_t limit) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    positions.erase(std::remove_if(positions.begin(), positions.end(), [limit](size_t p) { return p >= limit; }),
                    positions.end());
    return positions;
}

}  // namespace

int32_t ListEntryKind(const std::string& entry) {
    if (entry.empty()) {
        return kEntryEmpty;
    }
    if (StartsWithInclude(entry)) {
        return kEntryInclude;
    }
    if (IsComment(entry)) {
        return kEntryComment;
    }
    std::string path = entry;
    const bool recurse = ParseListOptions(&path);
    const bool archive = NamesArchive(path);
    if (recurse) {
        return archive ? kEntryArchiveRecursive : kEntryFolderRecursive;
    }
    std::string name;
    SplitPath(path.c_str(), nullptr, &name, false);
    if (!name.empty() && !HasWildcard(name)) {
        return kEntrySong;
    }
    return archive ? kEntryArchive : kEntryFolder;
}

const char* ListEntryDescription(int32_t kind) {
    switch (kind) {
        case kEntryEmpty:
            return "[NULL]";
        case kEntryInclude:
            return "[結合リストファイル]";
        case kEntryComment:
            return "[コメント]";
        case kEntryFolderRecursive:
            return "[フォルダ検索 (サブフォルダを含む)]";
        case kEntryArchiveRecursive:
        case kEntryArchive:
            return "[書庫ファイル検索]";
        case kEntryFolder:
            return "[フォルダ検索]";
        default:
            return "";
    }
}

std::string ListEntryFullPath(const std::string& entry, const std::string& listPath) {
    std::string path = entry;
    ParseListOptions(&path);
    ListPathBase base;
    SplitPath(listPath.c_str(), &base.folder, nullptr, false);
    if (listPath.size() >= 2 && listPath[1] == ':') {
        base.drive = listPath.substr(0, 2);
    }
    return ResolveListPath(path, base);
}

bool IsEntryProtected(const std::string& entry) {
    return entry.empty() || IsComment(entry);
}

std::string RemoveDriveName(const std::string& entry) {
    std::string rest;
    const std::string prefix = SplitInclude(entry, &rest);
    const int colon = FindDriveColon(rest.c_str());
    if (colon < 0) {
        return entry;
    }
    return prefix + rest.substr(colon + 1);
}

std::string RemovePath(const std::string& entry) {
    std::string rest;
    const std::string prefix = SplitInclude(entry, &rest);
    std::string name;
    SplitPath(rest.c_str(), nullptr, &name, false);
    if (name.empty()) {
        return prefix + "*.*";
    }
    if (name.compare(0, 2, " /") == 0) {
        return prefix + "*.*" + name;
    }
    return prefix + name;
}

std::string DroppedPathEntry(const std::string& path, bool isFolder, bool altHeld) {
    if (!isFolder) {
        return MakeListEntry(path.c_str(), false);
    }
    const int last = LastSeparator(path.c_str());
    const bool endsInSeparator = last >= 0 && static_cast<size_t>(last) + 1 == path.size();
    return path + (endsInSeparator ? "*.*" : "\\*.*") + (altHeld ? " /s" : "");
}

std::string PrivateStringEntry(const std::string& text, bool fromMainWindow, bool altHeld) {
    if (fromMainWindow && altHeld && text.size() >= 3 && text.compare(text.size() - 3, 3, "*.*") == 0) {
        return text + " /s";
    }
    return text;
}

std::string ListDisplayName(const std::string& listPath) {
    if (listPath.empty()) {
        return kUntitled;
    }
    std::string name;
    SplitPath(listPath.c_str(), nullptr, &name, false);
    return name;
}

std::string ListEditorTitle(const std::string& listPath, bool modified) {
    return (listPath.empty() ? std::string(kUntitled) : listPath) + (modified ? "(変更)" : "") +
           " - リストファイルの編集";
}

std::string SaveQuestionText(const std::string& listPath) {
    return ListDisplayName(listPath) + " は更新されています。\n保存しますか ?";
}

const std::vector<std::string>& ListDocument::Entries() const {
    return entries_;
}

const std::string& ListDocument::Path() const {
    return path_;
}

bool ListDocument::Modified() const {
    return modified_;
}

size_t ListDocument::Insert(size_t position, const std::vector<std::string>& texts) {
    position = std::min(position, entries_.size());
    entries_.insert(entries_.begin() + position, texts.begin(), texts.end());
    if (!texts.empty()) {
        modified_ = true;
    }
    return position;
}

bool ListDocument::Replace(size_t position, const std::string& text) {
    if (position >= entries_.size() || entries_[position] == text) {
        return false;
    }
    entries_[position] = text;
    modified_ = true;
    return true;
}

void ListDocument::Delete(std::vector<size_t> positions) {
    positions = SortedUnique(std::move(positions), entries_.size());
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        entries_.erase(entries_.begin() + *it);
    }
    if (!positions.empty()) {
        modified_ = true;
    }
}

size_t ListDocument::MoveBefore(std::vector<size_t> positions, size_t destination) {
    positions = SortedUnique(std::move(positions), entries_.size());
    destination = std::min(destination, entries_.size());
    std::vector<std::string> moved;
    size_t before = 0;
    for (size_t p : positions) {
        moved.push_back(entries_[p]);
        if (p < destination) {
            ++before;
        }
    }
    Delete(positions);
    return Insert(destination - before, moved);
}

size_t ListDocument::StripDriveNames(const std::vector<size_t>& positions) {
    size_t changed = 0;
    for (size_t p : SortedUnique(positions, entries_.size())) {
        if (!IsEntryProtected(entries_[p]) && Replace(p, RemoveDriveName(entries_[p]))) {
            ++changed;
        }
    }
    return changed;
}

size_t ListDocument::StripPaths(const std::vector<size_t>& positions) {
    size_t changed = 0;
    for (size_t p : SortedUnique(positions, entries_.size())) {
        if (!IsEntryProtected(entries_[p]) && Replace(p, RemovePath(entries_[p]))) {
            ++changed;
        }
    }
    return changed;
}

void ListDocument::Reset() {
    entries_.clear();
    path_.clear();
    modified_ = false;
}

uint32_t ListDocument::Open(const std::string& path) {
    std::string body;
    uint32_t error = 0;
    if (!OpenListFile(path.c_str(), &body, &error)) {
        return error != 0 ? error : kNotAListFile;
    }
    std::vector<std::string> entries;
    std::string line;
    size_t position = 0;
    while (ReadLine(body, &position, &line)) {
        if (!line.empty()) {
            entries.push_back(line);
        }
    }
    entries_ = std::move(entries);
    path_ = path;
    modified_ = false;
    return 0;
}

uint32_t ListDocument::SaveAs(const std::string& path) {
    const uint32_t error = WriteListFile(path.c_str(), entries_);
    if (error != 0) {
        return error;
    }
    path_ = path;
    modified_ = false;
    return 0;
}

std::string ListEntryTitle(const std::string& fullPath, bool titleSearch, bool cutTitleSpace) {
    SongAnalyzer analyzer;
    analyzer.titleSearch = titleSearch;
    std::string title;
    std::string comment;
    analyzer.ReadTexts(fullPath.c_str(), -1, &title, &comment);
    if (cutTitleSpace) {
        CompactSpaces(&title[0]);
        title.resize(std::char_traits<char>::length(title.c_str()));
    }
    return title;
}
