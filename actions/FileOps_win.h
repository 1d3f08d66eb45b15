// Copying, moving and deleting files on the file system, the tree's folder
// and list file operations, eject and the shell's properties window. What
// the user sees (message boxes, the overwrite dialog, progress) goes through
// FileOpsHost, so tests answer every question themselves; its windows live
// in ui/FileOpsDialogs_win.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "actions/FileOps.h"
#include "ui/framework/DialogTemplate_win.h"

class ProgressDialog;

class FileOpsHost {
   public:
    // owner may be null; it is disabled while the progress window is open.
    explicit FileOpsHost(HWND owner);
    virtual ~FileOpsHost();
    FileOpsHost(const FileOpsHost&) = delete;
    FileOpsHost& operator=(const FileOpsHost&) = delete;
    // A message box owned by the main window; the button pressed.
    virtual int ShowMessage(const std::string& text, const std::string& caption, UINT type);
    // The overwrite dialog with *mode preset; *mode receives the chosen mode.
    virtual OverwriteAnswer AskOverwrite(bool move, const std::string& destination, int32_t* mode);
    // The progress window: opened, updated per file, asked for a cancel, closed.
    virtual void OpenProgress(const char* caption);
    virtual void ShowProgress(const std::string& name, int32_t percent);
    virtual bool ProgressCancelled();
    virtual void CloseProgress();
    // The tree's name dialogs ("フォルダを新規作成 - Quillory", ...): *name is
    // proposed on entry; true with a non-empty name on OK.
    virtual bool AskName(const char* caption, std::string* name);
    // The folder dialog ("フォルダ(&F) :" with "参照(&B)..."): *folder is
    // prefilled; true with the folder entered on OK.
    virtual bool AskFolder(const char* caption, std::string* folder);
    // Opens a file through its shell association with a verb; 0 or the error.
    virtual uint32_t OpenWithShell(const std::string& verb, const std::string& file);
    // Starts a program from a command line; 0 or the error.
    virtual uint32_t StartProgram(const std::string& commandLine);
    // The overwrite dialog's mode as last chosen; the next copy or move
    // presets the dialog with it.
    int32_t lastOverwriteMode = kOverwriteIfNewer;

    HWND Owner() const {
        return owner_;
    }

   private:
    HWND owner_;
    DialogTemplate progressTemplate_{"", 0, 0};
    std::unique_ptr<ProgressDialog> progress_;
};

// The common file error box: nothing for code 0, else the code's text with
// buttons and the error icon; the button pressed (IDOK for code 0).
int ShowFileError(FileOpsHost& host,
                  uint32_t code,
                  bool writing,
                  const std::string& extra,
                  UINT buttons,
                  const char* captionPrefix);

// Copies or moves files into folder (ending in '\\' or not). True when at
// least one file was done.
bool CopyOrMoveFiles(FileOpsHost& host, const std::vector<std::string>& files, const std::string& folder, bool move);

// Deletes the files of each group (into the recycle bin with useRecycler),
// reporting each failure. When a group's first file, the object's own, cannot
// be deleted, the rest of its group is left alone. True when at least one
// file was deleted.
bool DeleteFiles(FileOpsHost& host, const std::vector<FileGroup>& groups, bool useRecycler);

// Moves one file or folder into the recycle bin; 0 or 1235.
uint32_t RecycleItem(const std::string& path);

// Creates folder name inside parent; 0 or the error number.
uint32_t CreateFolderIn(const std::string& parent, const std::string& name);
// Renames a folder or list file within its folder; a list file's title cache
// file goes along when it exists. 0 or the error number.
uint32_t RenameItem(const std::string& path, const std::string& newName, bool isListFile);
// Deletes a tree item after the question "<name> を削除します。"; a list file's
// cache file goes too. True when the item was deleted.
bool DeleteTreeItem(FileOpsHost& host, const std::string& path, bool isListFile, bool useRecycler);

// Ejects the medium of a removable drive ("E:"), reporting failures in
// "取り出し - Quillory" boxes. True when ejected.
bool EjectDisk(FileOpsHost& host, const std::string& drive);

// Opens the shell's properties window of path on page (may be empty).
void ShowShellProperties(HWND owner, const std::string& path, const std::string& page);
