// The command router: one row per command identifier, whatever its source
// (menu, accelerator, tool bar, tray or system menu, palette); the play and
// player commands go to play control.
#include <windows.h>

#include <shellapi.h>

#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "app/RegistryStore_win.h"
#include "core/CommandIds.h"
#include "core/Location.h"
#include "ui/ListEditor_win.h"
#include "ui/framework/ProgramValues_win.h"

using C = ClientWindow;

const CommandRoute<ClientWindow> ClientWindow::kCommands[] = {
    {kCmdContextMenu, &C::ShowFocusedPaneMenu},
    {kCmdCopyTo, &C::CopyToFolder},
    {kCmdMoveTo, &C::MoveToFolder},
    {kCmdChangeFolder, &C::ChangeFolder},
    {kCmdFolderNew, &C::NewFolder},
    {kCmdFolderRename, &C::RenameTreeItem},
    {kCmdFolderDelete, &C::DeleteTreeItemCommand},
    {kCmdListNew, &C::NewListFile},
    {kCmdListEdit, &C::EditListFile},
    {kCmdCacheUpdate, &C::UpdateCache},
    {kCmdCacheForceUpdate, &C::ForceUpdateCache},
    {kCmdCacheNew, &C::NewCache},
    {kCmdCacheDelete, &C::DeleteCache},
    {kCmdEditSong, &C::EditSong},
    {kCmdEditWrd, &C::EditWrd},
    {kCmdEditDocument, &C::EditDocument},
    {kCmdChangeTitle, &C::ChangeTitle},
    {kCmdChangeComment, &C::ChangeComment},
    {kCmdChangeModule, &C::ChangeModule},
    {kCmdExportHtml, &C::ExportHtmlList},
    {kCmdProperties, &C::ShowProperties},
    {kCmdShellProperties, &C::OpenShellProperties},
    {kCmdExit, &C::Exit},
    {kCmdDeleteSettingsAndExit, &C::DeleteSettingsAndExit},
    {kCmdCopy, &C::CopyToClipboard},
    {kCmdPaste, &C::PasteIntoLocation},
    {kCmdDelete, &C::DeleteSelected},
    {kCmdSelectAll, &C::SelectAll},
    {kCmdInvertSelection, &C::InvertSelection},
    {kCmdFind, &C::Find},
    {kCmdFindPrevious, &C::FindPrevious},
    {kCmdFindNext, &C::FindNext},
    {kCmdSelect, &C::SelectByDialog},
    {kCmdNarrow, &C::NarrowByDialog},
    {kCmdNarrowSelection, &C::NarrowSelection},
    {kCmdWidenOne, &C::WidenOne},
    {kCmdWidenAll, &C::WidenAll},
    {kCmdBarSearchUp, &C::BarSearchUp},
    {kCmdBarSearchDown, &C::BarSearchDown},
    {kCmdBarSelect, &C::BarSelect},
    {kCmdBarNarrow, &C::BarNarrow},
    {kCmdBarWiden, &C::WidenOne},
    {kCmdFocusSearchBar, &C::FocusSearchBar},
    {kCmdBandReset, &C::ResetBandLayout},
    {kCmdStatusBar, &C::ToggleStatusBar},
    {kCmdPlayPalette, &C::TogglePlayPalette},
    {kCmdViewButton, &C::NextView},
    {kCmdViewLargeIcons, &C::ViewLargeIcons},
    {kCmdViewSmallIcons, &C::ViewSmallIcons},
    {kCmdViewList, &C::ViewList},
    {kCmdViewDetails, &C::ViewDetails},
    {kCmdSortAscending, &C::SortAscending},
    {kCmdSortDescending, &C::SortDescending},
    {kCmdSortByName, &C::SortByName},
    {kCmdSortByTitle, &C::SortByTitle},
    {kCmdSortByComment, &C::SortByComment},
    {kCmdSortByModule, &C::SortByModule},
    {kCmdSortByDate, &C::SortByDate},
    {kCmdSortNone, &C::SortNone},
    {kCmdRefresh, &C::Refresh},
    {kCmdTreePlaySequential, &C::PlayTreeSequential},
    {kCmdTreePlayRandom, &C::PlayTreeRandom},
    {kCmdTreeEditList, &C::EditTreeList},
    {kCmdTreeNewFolder, &C::NewFolder},
    {kCmdTreeNewList, &C::NewListInTree},
    {kCmdTreeRename, &C::RenameTreeItem},
    {kCmdTreeDelete, &C::DeleteTreeItemCommand},
    {kCmdTreeEject, &C::EjectTreeDrive},
    {kCmdSettings, &C::OpenSettings},
    {kCmdManual, &C::OpenManual},
    {kCmdVersion, &C::ShowVersion},
};

bool ClientWindow::RunCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    if (IsPlayerCommand(id)) {
        m.handled = 1;
        RunPlayCommand(id);
        return true;
    }
    if (const uint32_t band = BandIdOfCommand(id)) {
        m.handled = 1;
        main_->ToggleBand(band);
        return true;
    }
    return RouteCommand(this, kCommands, m);
}

void ClientWindow::NewListFile() {
    OpenListEditor("");
}

// Edits the list file that is the current location, else starts a new list.
void ClientWindow::EditListFile() {
    std::string path;
    if (catalogue_.kind == kLocationListFile) {
        path = Location(catalogue_.location).WithoutMark();
    }
    OpenListEditor(path);
}

void ClientWindow::Exit() {
    main_->Post(WM_CLOSE, 0, 0);
}

void ClientWindow::DeleteSettingsAndExit() {
    if (ShowMessageBox("レジストリを削除して終了します。\n本当によろしいですか ?", "終了 - Quillory",
                       MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    RegistryStore store(Program().settingsRoot);
    DeleteAllSettings(&store);
    exitFlags.saveSettingsOnExit = false;
    main_->Post(WM_CLOSE, 0, 0);
}

void ClientWindow::ResetBandLayout() {
    main_->ResetBands();
}

void ClientWindow::ToggleStatusBar() {
    main_->ToggleStatusBar();
}

void ClientWindow::TogglePlayPalette() {
    main_->TogglePlayPalette();
}

// The view button steps through the views only while no sequenced play runs.
void ClientWindow::NextView() {
    if (CurrentPlayMode() == PlayMode::kNone) {
        SetListView(NextListView(settings.listWindow.show));
    }
}

void ClientWindow::SelectAll() {
    list_->SelectAll();
}

void ClientWindow::InvertSelection() {
    list_->InvertSelection();
}

void ClientWindow::SortAscending() {
    list_->SetSortOrder(false, false);
}

void ClientWindow::SortDescending() {
    list_->SetSortOrder(true, false);
}

void ClientWindow::SortByName() {
    list_->SetSortKind(kSortByName, false);
}

void ClientWindow::SortByTitle() {
    list_->SetSortKind(kSortByTitle, false);
}

void ClientWindow::SortByComment() {
    list_->SetSortKind(kSortByComment, false);
}

void ClientWindow::SortByModule() {
    list_->SetSortKind(kSortBySoundModule, false);
}

void ClientWindow::SortByDate() {
    list_->SetSortKind(kSortByDate, false);
}

void ClientWindow::SortNone() {
    list_->SetSortKind(kSortNone, false);
}

// F5: the tree node and the list read again.
void ClientWindow::Refresh() {
    catalogue_.lastSelectedName = list_->FocusedPath();
    OpenLocation(catalogue_, false, true, false);
}

void ClientWindow::ViewLargeIcons() {
    SetListView(0);
}

void ClientWindow::ViewSmallIcons() {
    SetListView(1);
}

void ClientWindow::ViewList() {
    SetListView(2);
}

void ClientWindow::ViewDetails() {
    SetListView(3);
}

void ClientWindow::FocusSearchBar() {
    main_->FocusSearchText();
}

void ClientWindow::OpenManual() {
    const std::string manual = Program().programFolder + "Kadrel.html";
    ShellExecuteA(main_->Handle(), "open", manual.c_str(), nullptr, Program().programFolder.c_str(), SW_SHOWNORMAL);
}
