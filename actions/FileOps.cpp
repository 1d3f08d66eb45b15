// Which files a selection stands for, the private clipboard bytes, the
// overwrite rules and the texts of file operations.
#include "actions/FileOps.h"

#include <cstring>

#include "catalogue/RelatedFiles.h"
#include "catalogue/archive/ArchiveKind.h"
#include "core/Location.h"
#include "core/Text.h"

namespace {

constexpr uint32_t kClipboardHeaderBytes = 12;

void AddOnce(std::vector<std::string>* files, const std::string& path) {
    if (!ContainsNoCase(*files, path)) {
        files->push_back(path);
    }
}

void PutUint32(std::string* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

uint32_t GetUint32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool EndsWithBackslash(const std::string& path) {
    return !path.empty() && LastSeparator(path.c_str()) == static_cast<int>(path.size()) - 1;
}

bool IsDriveRoot(const std::string& path) {
    return path.size() <= 3 && path.size() >= 2 && path[1] == ':';
}

}  // namespace

bool ContainsNoCase(const std::vector<std::string>& list, const std::string& path) {
    for (const std::string& item : list) {
        if (CompareNoCase(item.c_str(), path.c_str()) == 0) {
            return true;
        }
    }
    return false;
}

std::vector<FileGroup> CollectFileGroups(const std::vector<SelectedObject>& selection, bool withoutRelated) {
    std::vector<FileGroup> groups;
    for (const SelectedObject& object : selection) {
        FileGroup group;
        std::string archive;
        std::string member;
        if (SplitMemberPath(object.fullPath.c_str(), &archive, &member)) {
            group.push_back(archive);
        } else if (withoutRelated) {
            group.push_back(object.fullPath);
        } else {
            BagBox set = MakeRelatedSet();
            CollectRelatedSet(object.fullPath.c_str(), object.fileType, &set);
            // The set lists the song first.
            AddOnce(&group, object.fullPath);
            for (int32_t i = 0; i < set.Count(); ++i) {
                AddOnce(&group, set.Read(i, 0));
            }
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

bool CollectFiles(const std::vector<SelectedObject>& selection,
                  bool withoutRelated,
                  std::vector<std::string>* files,
                  std::vector<std::string>* objectPaths) {
    if (selection.empty()) {
        return false;
    }
    if (objectPaths) {
        for (const SelectedObject& object : selection) {
            objectPaths->push_back(object.fullPath);
        }
    }
    for (const FileGroup& group : CollectFileGroups(selection, withoutRelated)) {
        for (const std::string& file : group) {
            AddOnce(files, file);
        }
    }
    return true;
}

std::string PrivateClipboardBytes(const std::vector<std::string>& strings) {
    uint32_t area = 1;
    for (const std::string& s : strings) {
        area += static_cast<uint32_t>(std::strlen(s.c_str())) + 1;
    }
    std::string out;
    PutUint32(&out, kClipboardHeaderBytes);
    PutUint32(&out, static_cast<uint32_t>(strings.size()));
    PutUint32(&out, area);
    for (const std::string& s : strings) {
        out.append(s.c_str());
        out.push_back('\0');
    }
    out.push_back('\0');
    return out;
}

bool ParsePrivateClipboard(const uint8_t* bytes, size_t size, std::vector<std::string>* strings) {
    if (size < kClipboardHeaderBytes) {
        return false;
    }
    const uint32_t offset = GetUint32(bytes);
    uint32_t count = GetUint32(bytes + 4);
    if (offset < kClipboardHeaderBytes || offset > size) {
        return false;
    }
    if (count > kMaxClipboardStrings) {
        count = kMaxClipboardStrings;
    }
    size_t pos = offset;
    for (uint32_t i = 0; i < count && pos < size; ++i) {
        const void* end = std::memchr(bytes + pos, 0, size - pos);
        if (!end) {
            break;
        }
        const size_t length = static_cast<const uint8_t*>(end) - (bytes + pos);
        strings->emplace_back(reinterpret_cast<const char*>(bytes + pos), length);
        pos += length + 1;
    }
    return true;
}

std::vector<std::string> TreeItemPrivateStrings(const std::string& path, bool isListFile) {
    if (isListFile) {
        return {"|include " + path};
    }
    return {EndsWithBackslash(path) ? path + "*.*" : path + "\\*.*"};
}

std::vector<std::string> TreeItemDropFiles(const std::string& path) {
    if (IsDriveRoot(path)) {
        return {};
    }
    if (EndsWithBackslash(path)) {
        return {path.substr(0, path.size() - 1)};
    }
    return {path};
}

std::string TreeItemFilePath(const std::string& nodePath) {
    const Location node(nodePath);
    if (node.EndsInMark()) {
        return node.WithoutMark();
    }
    if (EndsWithBackslash(nodePath) && !IsDriveRoot(nodePath)) {
        return nodePath.substr(0, nodePath.size() - 1);
    }
    return nodePath;
}

bool IsSingleName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && LastSeparator(name.c_str()) < 0;
}

std::string ListFileNameOf(const std::string& entered) {
    std::string extension;
    SplitExtension(entered.c_str(), nullptr, &extension);
    return CompareNoCase(extension.c_str(), "lst") == 0 ? entered : entered + ".lst";
}

bool OverwritePolicy::NeedsQuestion(bool destinationExists) const {
    return destinationExists && !all;
}

bool OverwritePolicy::Answer(OverwriteAnswer answer, int32_t chosenMode) {
    if (answer == OverwriteAnswer::kCancel) {
        return false;
    }
    mode = chosenMode;
    all = answer == OverwriteAnswer::kAll;
    return true;
}

bool OverwritePolicy::Replaces(uint64_t sourceTime, uint64_t destinationTime) const {
    switch (mode) {
        case kOverwriteAlways:
            return true;
        case kOverwriteNever:
            return false;
        default:
            return destinationTime < sourceTime;
    }
}

namespace {

struct FileErrorRow {
    uint32_t code;
    const char* text;
};

const FileErrorRow kFileErrors[] = {
    {2, "ファイルがありません。"},
    {18, "ファイルがありません。"},
    {3, "パスが無効です。"},
    {161, "パスが無効です。"},
    {5, "アクセスが拒否されました。"},
    {19, "メディアが書き込み禁止です。"},
    {21, "ドライブの準備ができていません。"},
    {32, "他のプロセスがファイルを使用しているのでアクセスできません。"},
    {39, "ドライブに十分な容量がありません。"},
    {112, "ドライブに十分な容量がありません。"},
    {145, "ディレクトリが空ではありません。"},
    {183, "同じ名前のファイルがあります。"},
    {206, "ファイル名または拡張子が長すぎます。"},
    {267, "ディレクトリが無効です。"},
    // What an archive listing reports for an archive it cannot walk.
    {kArchiveErrorBroken, "書庫ファイルが壊れています。"},
    {kArchiveErrorLevel, "書庫ファイルが壊れています。"},
    {kArchiveErrorLongName, "書庫ファイルが壊れています。"},
};

constexpr uint32_t kErrorCancelled = 1235;

const char* FileErrorMessage(uint32_t code, bool writing) {
    for (const FileErrorRow& row : kFileErrors) {
        if (row.code == code) {
            return row.text;
        }
    }
    if (code == kErrorCancelled) {
        return writing ? "書き込みを中止しました。" : "読み込みを中止しました。";
    }
    return writing ? "書き込みできません。" : "読み込みできません。";
}

}  // namespace

std::string FileErrorText(uint32_t code, bool writing, const std::string& extra) {
    std::string text = FileErrorMessage(code, writing);
    text += "(" + std::to_string(code) + ")";
    if (!extra.empty()) {
        text += "\n\n" + extra;
    }
    return text;
}

std::string FileErrorCaption(const char* prefix) {
    if (prefix && *prefix) {
        return std::string(prefix) + " - Quillory";
    }
    return "Quillory";
}

const char* TransferCaption(bool move) {
    return move ? "移動 - Quillory" : "コピー - Quillory";
}

const char* TransferStatus(bool move) {
    return move ? "選択オブジェクトを移動中" : "選択オブジェクトをコピー中";
}

std::string SameFileText(bool move) {
    return std::string(move ? "移動" : "コピー") + "先は同じファイルです。";
}

std::string OverwriteQuestion(bool move) {
    return std::string(move ? "移動" : "コピー") + "先に同名のファイルがありますが、置換しますか ?";
}

std::string DropQuestion(const std::string& folder, bool move) {
    return "選択されたオブジェクトを " + folder + (move ? " に移動します。" : " にコピーします。");
}

std::string CopyMoveDialogCaption(bool move, bool withoutRelated) {
    return std::string(move ? "移動" : "コピー") + (withoutRelated ? "(関連ファイルを含まない)" : "") + " - Quillory";
}

int32_t TransferPercent(size_t index, size_t count) {
    if (count == 0) {
        return 0;
    }
    return static_cast<int32_t>(100 * (index + 1) / count);
}
