// The song list's file commands: copying the selection to the clipboard,
// pasting files into the current location's folder and deleting the
// selection. Questions and reports go through the client's FileOpsHost.
#include <windows.h>

#include "actions/Clipboard_win.h"
#include "actions/DragDrop_win.h"
#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "core/Text.h"

// The folder of the location: a folder as it is, a list file's own folder
// ending in its separator; empty when there is none.
std::string ClientWindow::CurrentFolder() const {
    if (catalogue_.kind == kLocationFolder) {
        return catalogue_.location;
    }
    if (catalogue_.kind != kLocationListFile) {
        return std::string();
    }
    const int separator = LastSeparator(catalogue_.location.c_str());
    return separator < 0 ? std::string() : catalogue_.location.substr(0, size_t(separator) + 1);
}

FileOpsHost& ClientWindow::FileOps() {
    if (!fileOps_) {
        fileOps_ = std::make_unique<FileOpsHost>(main_->Handle());
    }
    return *fileOps_;
}

void ClientWindow::SetFileOps(std::unique_ptr<FileOpsHost> host) {
    fileOps_ = std::move(host);
}

std::vector<SelectedObject> ClientWindow::SelectedObjects() {
    std::vector<SelectedObject> selection;
    for (int32_t row : SelectedRows()) {
        selection.push_back({SongPath(row), SongFileType(row)});
    }
    return selection;
}

// With Shift held the related files stay behind.
void ClientWindow::CopyToClipboard() {
    CatalogueLockScope lock(*this);
    std::vector<std::string> files;
    std::vector<std::string> objectPaths;
    if (CollectFiles(SelectedObjects(), ShiftHeld(), &files, &objectPaths)) {
        PutOnClipboard(files, objectPaths);
    }
}

void ClientWindow::PasteIntoLocation() {
    if (IsLoadingList()) {
        return;
    }
    bool pasted = false;
    {
        CatalogueLockScope lock(*this);
        const std::string folder = CurrentFolder();
        pasted = !folder.empty() && PasteFromClipboard(FileOps(), folder);
    }
    if (pasted) {
        ReloadList();
    }
}

// Refused while a list loads, during continuous play and without a selection;
// with Shift held the related files stay.
void ClientWindow::DeleteSelected() {
    if (IsLoadingList() || SequencedPlayRunning() || SelectedRows().empty()) {
        return;
    }
    const bool withoutRelated = ShiftHeld();
    bool deleted = false;
    {
        CatalogueLockScope lock(*this);
        const char* caption = withoutRelated ? "削除(関連ファイルを含まない) - Quillory" : "削除 - Quillory";
        if (FileOps().ShowMessage("選択オブジェクトを削除します。", caption, MB_OKCANCEL | MB_ICONEXCLAMATION) !=
            IDOK) {
            return;
        }
        const std::vector<FileGroup> groups = CollectFileGroups(SelectedObjects(), withoutRelated);
        if (groups.empty()) {
            return;
        }
        ShowStatus("選択オブジェクトを削除中");
        deleted = DeleteFiles(FileOps(), groups, settings.mode.useRecycler);
        RestoreStatus();
    }
    if (deleted) {
        // The folder's watch starts again from what is there now, so the
        // deletion does not bring a second reload.
        if (catalogue_.kind == kLocationFolder) {
            RefreshFolderWatch(nullptr, true);
        }
        ReloadList();
    }
}
