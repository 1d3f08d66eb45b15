// The command router: whatever its source (menu, accelerator, tool bar, tray
// or system menu, palette), a command goes to the part whose table has a row
// for it; the play and player commands go to the play run.
#include <windows.h>

#include <shellapi.h>

#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "app/RegistryStore_win.h"
#include "core/CommandIds.h"
#include "ui/framework/ProgramValues_win.h"
#include "ui/rules/MainWindowRules.h"

using C = ClientWindow;

const CommandRoute<ClientWindow> ClientWindow::kCommands[] = {
    {kCmdExit, &C::Exit},
    {kCmdDeleteSettingsAndExit, &C::DeleteSettingsAndExit},
    {kCmdBandReset, &C::ResetBandLayout},
    {kCmdStatusBar, &C::ToggleStatusBar},
    {kCmdPlayPalette, &C::TogglePlayPalette},
    {kCmdManual, &C::OpenManual},
};

// Each part runs its own commands; the window keeps those of the frame.
bool ClientWindow::RunCommand(MessageContext& m) {
    if (play_->RunCommand(m)) {
        return true;
    }
    if (const uint32_t band = BandIdOfCommand(LOWORD(m.wParam))) {
        m.handled = 1;
        main_->ToggleBand(band);
        return true;
    }
    return browse_->RunCommand(m) || search_->RunCommand(m) || files_->RunCommand(m) || dialogs_->RunCommand(m) ||
           RouteCommand(this, kCommands, m);
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

void ClientWindow::OpenManual() {
    const std::string manual = Program().programFolder + "Kadrel.html";
    ShellExecuteA(main_->Handle(), "open", manual.c_str(), nullptr, Program().programFolder.c_str(), SW_SHOWNORMAL);
}
