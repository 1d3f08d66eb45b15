// The command router: one row per command identifier, whatever its source
// (menu, accelerator, tool bar, tray or system menu, palette). Commands whose
// owners are not in the program yet route to NotYetAvailable.
#include <windows.h>

#include <shellapi.h>

#include "app/ClientWindow_win.h"
#include "app/CommandIds.h"
#include "app/MainWindow_win.h"
#include "app/ProgramValues_win.h"
#include "app/RegistryStore_win.h"

using C = ClientWindow;

const CommandRoute<ClientWindow> ClientWindow::kCommands[] = {
    {kCmdContextMenu, &C::NotYetAvailable},
    {kCmdCopyTo, &C::NotYetAvailable},
    {kCmdMoveTo, &C::NotYetAvailable},
    {kCmdChangeFolder, &C::NotYetAvailable},
    {kCmdFolderNew, &C::NotYetAvailable},
    {kCmdFolderRename, &C::NotYetAvailable},
    {kCmdFolderDelete, &C::NotYetAvailable},
    {kCmdListNew, &C::NotYetAvailable},
    {kCmdListEdit, &C::NotYetAvailable},
    {kCmdCacheUpdate, &C::NotYetAvailable},
    {kCmdCacheForceUpdate, &C::NotYetAvailable},
    {kCmdCacheNew, &C::NotYetAvailable},
    {kCmdCacheDelete, &C::NotYetAvailable},
    {kCmdEditSong, &C::NotYetAvailable},
    {kCmdEditWrd, &C::NotYetAvailable},
    {kCmdEditDocument, &C::NotYetAvailable},
    {kCmdChangeTitle, &C::NotYetAvailable},
    {kCmdChangeComment, &C::NotYetAvailable},
    {kCmdChangeModule, &C::NotYetAvailable},
    {kCmdExportHtml, &C::NotYetAvailable},
    {kCmdProperties, &C::NotYetAvailable},
    {kCmdShellProperties, &C::NotYetAvailable},
    {kCmdExit, &C::Exit},
    {kCmdDeleteSettingsAndExit, &C::DeleteSettingsAndExit},
    {kCmdCopy, &C::NotYetAvailable},
    {kCmdPaste, &C::NotYetAvailable},
    {kCmdDelete, &C::NotYetAvailable},
    {kCmdSelectAll, &C::NotYetAvailable},
    {kCmdInvertSelection, &C::NotYetAvailable},
    {kCmdFind, &C::NotYetAvailable},
    {kCmdFindPrevious, &C::NotYetAvailable},
    {kCmdFindNext, &C::NotYetAvailable},
    {kCmdSelect, &C::NotYetAvailable},
    {kCmdNarrow, &C::NotYetAvailable},
    {kCmdNarrowSelection, &C::NotYetAvailable},
    {kCmdWidenOne, &C::NotYetAvailable},
    {kCmdWidenAll, &C::NotYetAvailable},
    {kCmdBarSearchUp, &C::NotYetAvailable},
    {kCmdBarSearchDown, &C::NotYetAvailable},
    {kCmdBarSelect, &C::NotYetAvailable},
    {kCmdBarNarrow, &C::NotYetAvailable},
    {kCmdBarWiden, &C::NotYetAvailable},
    {kCmdFocusSearchBar, &C::FocusSearchBar},
    {kCmdBandProperty, &C::ToggleBandProperty},
    {kCmdBandSearch, &C::ToggleBandSearch},
    {kCmdBandPlay, &C::ToggleBandPlay},
    {kCmdBandReset, &C::ResetBandLayout},
    {kCmdStatusBar, &C::ToggleStatusBar},
    {kCmdPlayPalette, &C::TogglePlayPalette},
    {kCmdViewButton, &C::NextView},
    {kCmdViewLargeIcons, &C::ViewLargeIcons},
    {kCmdViewSmallIcons, &C::ViewSmallIcons},
    {kCmdViewList, &C::ViewList},
    {kCmdViewDetails, &C::ViewDetails},
    {kCmdSortAscending, &C::NotYetAvailable},
    {kCmdSortDescending, &C::NotYetAvailable},
    {kCmdSortByName, &C::NotYetAvailable},
    {kCmdSortByTitle, &C::NotYetAvailable},
    {kCmdSortByComment, &C::NotYetAvailable},
    {kCmdSortByModule, &C::NotYetAvailable},
    {kCmdSortByDate, &C::NotYetAvailable},
    {kCmdSortNone, &C::NotYetAvailable},
    {kCmdRefresh, &C::NotYetAvailable},
    {kCmdPlay, &C::NotYetAvailable},
    {kCmdPlaySequential, &C::NotYetAvailable},
    {kCmdPlayRandom, &C::NotYetAvailable},
    {kCmdPlayRandomFromHere, &C::NotYetAvailable},
    {kCmdPlayRepeat, &C::NotYetAvailable},
    {kCmdPlayCancel, &C::NotYetAvailable},
    {kCmdPause, &C::NotYetAvailable},
    {kCmdStop, &C::NotYetAvailable},
    {kCmdPrevious, &C::NotYetAvailable},
    {kCmdNext, &C::NotYetAvailable},
    {kCmdTreePlaySequential, &C::NotYetAvailable},
    {kCmdTreePlayRandom, &C::NotYetAvailable},
    {kCmdTreeEditList, &C::NotYetAvailable},
    {kCmdTreeNewFolder, &C::NotYetAvailable},
    {kCmdTreeNewList, &C::NotYetAvailable},
    {kCmdTreeRename, &C::NotYetAvailable},
    {kCmdTreeDelete, &C::NotYetAvailable},
    {kCmdTreeEject, &C::NotYetAvailable},
    {kCmdPlayerFirst + 0, &C::NotYetAvailable},
    {kCmdPlayerFirst + 1, &C::NotYetAvailable},
    {kCmdPlayerFirst + 2, &C::NotYetAvailable},
    {kCmdPlayerFirst + 3, &C::NotYetAvailable},
    {kCmdPlayerFirst + 4, &C::NotYetAvailable},
    {kCmdPlayerFirst + 5, &C::NotYetAvailable},
    {kCmdPlayerFirst + 6, &C::NotYetAvailable},
    {kCmdPlayerFirst + 7, &C::NotYetAvailable},
    {kCmdPlayerFirst + 8, &C::NotYetAvailable},
    {kCmdPlayerFirst + 9, &C::NotYetAvailable},
    {kCmdPlayerFirst + 10, &C::NotYetAvailable},
    {kCmdPlayerFirst + 11, &C::NotYetAvailable},
    {kCmdPlayerUser, &C::NotYetAvailable},
    {kCmdLaunchPlayer, &C::NotYetAvailable},
    {kCmdSettings, &C::NotYetAvailable},
    {kCmdManual, &C::OpenManual},
    {kCmdVersion, &C::ShowVersion},
};

bool ClientWindow::RunCommand(MessageContext& m) {
    return RouteCommand(this, kCommands, m);
}

void ClientWindow::NotYetAvailable() {
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

void ClientWindow::ToggleBandProperty() {
    main_->ToggleBand(1);
}

void ClientWindow::ToggleBandSearch() {
    main_->ToggleBand(2);
}

void ClientWindow::ToggleBandPlay() {
    main_->ToggleBand(3);
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

void ClientWindow::ShowVersion() {
    ShowMessageBox("Quillory 1.0.0\nMIDI・オーディオファイルセレクタ", "バージョン情報 - Quillory",
                   MB_OK | MB_ICONINFORMATION);
}
