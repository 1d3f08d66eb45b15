// The list file editor's document: the entries of one list file, their
// kinds and second column, the remove-drive and remove-path rules, the
// window title and the save question. The window (ui/ListEditor_win.cpp)
// shows this document and adds a final "[EOF]" row that is never an entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Entry kinds; each has its own icon.
constexpr int32_t kEntryEmpty = 0;
constexpr int32_t kEntryInclude = 1;
constexpr int32_t kEntryComment = 2;
constexpr int32_t kEntryFolderRecursive = 3;
constexpr int32_t kEntryFolder = 4;
constexpr int32_t kEntryArchiveRecursive = 5;
constexpr int32_t kEntryArchive = 6;
constexpr int32_t kEntrySong = 7;

// The kind of an entry text.
int32_t ListEntryKind(const std::string& entry);

// The second column of every kind but kEntrySong (whose column is the title).
const char* ListEntryDescription(int32_t kind);

// The path a song entry names: options removed, relative entries resolved
// against the folder of the list (listPath may be empty for an untitled list).
std::string ListEntryFullPath(const std::string& entry, const std::string& listPath);

// The title of a song entry as the song list shows a song read from its
// file: the list's title reading (titleSearch: the "TitleSearch" setting,
// audio titles joined with their artist), its spaces compacted when
// cutTitleSpace (the "CutTitleSpace" setting) is on.
std::string ListEntryTitle(const std::string& fullPath, bool titleSearch, bool cutTitleSpace);

// True for the entries the remove commands leave alone (empty and comments).
bool IsEntryProtected(const std::string& entry);

// The entry without its drive name: a leading "|include " stays, and the rest
// loses everything up to and including its drive ':' (FindDriveColon).
std::string RemoveDriveName(const std::string& entry);

// The entry reduced to its name part: a leading "|include " stays; an empty
// name becomes "*.*", a name that is only options (" /s") "*.*" and the options.
std::string RemovePath(const std::string& entry);

// The entry for a path dropped from the shell: a folder is its path and
// "\\*.*" (and " /s" with Alt held); other paths go through MakeListEntry.
std::string DroppedPathEntry(const std::string& path, bool isFolder, bool altHeld);

// The entry for a private-format string; dragged from the main window with
// Alt held, a string ending in "*.*" gets " /s".
std::string PrivateStringEntry(const std::string& text, bool fromMainWindow, bool altHeld);

// "(無題)" or the file name of the path.
std::string ListDisplayName(const std::string& listPath);
// The window title: the path or "(無題)", "(変更)" when modified, " - リストファイルの編集".
std::string ListEditorTitle(const std::string& listPath, bool modified);
// The save question: the display name and " は更新されています。\n保存しますか ?".
std::string SaveQuestionText(const std::string& listPath);

// The entries and the modified state of one editor.
class ListDocument {
   public:
    const std::vector<std::string>& Entries() const;
    const std::string& Path() const;
    bool Modified() const;

    // Inserts texts before position (clamped to the end); returns the first new index.
    size_t Insert(size_t position, const std::vector<std::string>& texts);
    // Replaces one entry; false when position is past the end or the text is the same.
    bool Replace(size_t position, const std::string& text);
    // Deletes the entries at the given positions (any order, repeats ignored).
    void Delete(std::vector<size_t> positions);
    // Moves the entries at positions before the entry at destination (or to the
    // end); returns the new index of the first moved entry.
    size_t MoveBefore(std::vector<size_t> positions, size_t destination);
    // Applies RemoveDriveName or RemovePath to the selected, unprotected
    // entries; the number changed.
    size_t StripDriveNames(const std::vector<size_t>& positions);
    size_t StripPaths(const std::vector<size_t>& positions);
    // Empties the document and forgets its path.
    void Reset();

    // Reads a list: every non-empty line is an entry. 0, the error number, or
    // kNotAListFile when the header is missing; the document stays as it was on failure.
    uint32_t Open(const std::string& path);
    // Writes the entries (atomically) to path, which becomes the document's
    // path. 0 or the error number; on failure the old file and path stay.
    uint32_t SaveAs(const std::string& path);

   private:
    std::vector<std::string> entries_;
    std::string path_;
    bool modified_ = false;
};

// ListDocument::Open's answer for a file without the list header.
constexpr uint32_t kNotAListFile = 0xFFFFFFFF;
