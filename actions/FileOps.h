// File operations on songs: which files a selection stands for, the private
// clipboard format, the overwrite rules of a copy or move, and the texts of
// the common file error message. The Win32 side (FileOps_win.cpp) does the
// file system work and shows the windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One selected row of the song list: the object's full path and file type.
struct SelectedObject {
    std::string fullPath;
    int32_t fileType = 0;
};

// The files the selection stands for, in list order and without repeats
// (names compared ignoring case): an archive member brings its archive file,
// otherwise the song alone (withoutRelated) or its related set. objectPaths,
// when not null, receives every object's full path. False when nothing was selected.
bool CollectFiles(const std::vector<SelectedObject>& selection,
                  bool withoutRelated,
                  std::vector<std::string>* files,
                  std::vector<std::string>* objectPaths);

// True when list holds path, names compared ignoring case.
bool ContainsNoCase(const std::vector<std::string>& list, const std::string& path);

// The files of one selected object: its own file first (the song, or the
// archive a member lies in), then its related files, without repeats.
using FileGroup = std::vector<std::string>;

// The same files as CollectFiles, one group per selected object, so that an
// object's related files can be left alone when its own file stays. A file
// may appear in more than one group. Empty when nothing was selected.
std::vector<FileGroup> CollectFileGroups(const std::vector<SelectedObject>& selection, bool withoutRelated);

// Private clipboard data: a 12-byte header (header size, string count, bytes
// of the string area), then the NUL-terminated strings and one more NUL.
std::string PrivateClipboardBytes(const std::vector<std::string>& strings);

// Reads the strings back. False when the header does not fit the bytes; the
// strings read before a missing terminator are kept. At most kMaxClipboardStrings.
bool ParsePrivateClipboard(const uint8_t* bytes, size_t size, std::vector<std::string>* strings);
constexpr uint32_t kMaxClipboardStrings = 65536;

// What a dragged tree item offers: a list file as one "|include " line, a
// folder or drive as its path with "*.*"; the file list holds the path without
// its trailing backslash, and nothing for a drive ("C:\\").
std::vector<std::string> TreeItemPrivateStrings(const std::string& path, bool isListFile);
std::vector<std::string> TreeItemDropFiles(const std::string& path);

// The file system path of a tree item's location: a folder without its
// trailing backslash (a drive root keeps it), a list file without its ">".
std::string TreeItemFilePath(const std::string& nodePath);
// True when a name typed for a new or renamed folder or list file names
// one item in its folder: not empty, no '\\' or '/', not "." or "..".
// Anything else would create or move the item somewhere else.
bool IsSingleName(const std::string& name);
// The system's error for a name that is not a single name.
constexpr uint32_t kErrorInvalidName = 123;

// The file name of a new or renamed list file: ".lst" is added unless the
// name ends in it (in any case).
std::string ListFileNameOf(const std::string& entered);

// Overwrite modes of the overwrite dialog.
constexpr int32_t kOverwriteIfNewer = 0;
constexpr int32_t kOverwriteAlways = 1;
constexpr int32_t kOverwriteNever = 2;

// Answers of the overwrite dialog.
enum class OverwriteAnswer { kOk, kAll, kCancel };

// The overwrite state of one copy or move: the mode last chosen and whether
// "以降すべて" made it stand for every later file.
struct OverwritePolicy {
    int32_t mode = kOverwriteIfNewer;
    bool all = false;

    // True when the dialog has to be asked for an existing destination.
    bool NeedsQuestion(bool destinationExists) const;
    // Takes the dialog's answer and chosen mode; false when the user cancelled.
    bool Answer(OverwriteAnswer answer, int32_t chosenMode);
    // Whether an existing destination is replaced (times are file times).
    bool Replaces(uint64_t sourceTime, uint64_t destinationTime) const;
};

// The message of a file error code: the text for the code, "(code)", and two
// line breaks and extra when extra is not empty.
std::string FileErrorText(uint32_t code, bool writing, const std::string& extra);
// The caption: prefix and " - " when a prefix is given, then "Quillory".
std::string FileErrorCaption(const char* prefix);

// Texts that depend only on copying or moving.
const char* TransferCaption(bool move);    // "移動 - Quillory" / "コピー - Quillory"
const char* TransferStatus(bool move);     // "選択オブジェクトを移動中" / "...コピー中"
std::string SameFileText(bool move);       // "コピー先は同じファイルです。"
std::string OverwriteQuestion(bool move);  // "移動先に同名のファイルがありますが、置換しますか ?"
std::string DropQuestion(const std::string& folder, bool move);
// "コピー(関連ファイルを含まない) - Quillory" and its three siblings.
std::string CopyMoveDialogCaption(bool move, bool withoutRelated);

// The progress bar's percentage for file index of count.
int32_t TransferPercent(size_t index, size_t count);
