// Minimizing and restoring the main window: the tray icon and its menu, the
// play items of the system menu while the window sits on the task bar, and
// the floating palette's behaviour around a minimize.
#include <windows.h>

#include <shellapi.h>

#include <cstring>

#include "app/MainWindow_win.h"
#include "app/PlayPalette_win.h"
#include "core/CommandIds.h"
#include "ui/ListEditor_win.h"
#include "ui/PropertyWindow_win.h"
#include "ui/framework/ProgramValues_win.h"

const MessageRoute<MainWindow> MainWindow::kMessages[] = {
    {kMsgTrayIcon, &MainWindow::AnswerTrayIcon},
    {kMsgRaisePalette, &MainWindow::RaisePalette},
    {kMsgOpenPalette, &MainWindow::OpenPaletteWhenMinimized},
    {kMsgOpenHandedOver, &MainWindow::OpenHandedOver},
};

void MainWindow::OnPrivateMessage(MessageContext& m) {
    RouteMessage(this, kMessages, m);
}

// The play items shared by the tray menu and the system menu.
static void AppendPlayItems(HMENU menu) {
    HMENU sequenced = CreatePopupMenu();
    AppendMenuA(sequenced, MF_STRING, kCmdPlaySequential, "順次演奏(&U)");
    AppendMenuA(sequenced, MF_STRING, kCmdPlayRandom, "ランダム演奏(&R)");
    AppendMenuA(sequenced, MF_STRING, kCmdPlayRandomFromHere, "このオブジェクトからランダム演奏(&L)");
    AppendMenuA(sequenced, MF_STRING, kCmdPlayRepeat, "リピート演奏(&T)");
    AppendMenuA(menu, MF_STRING, kCmdPlay, "演奏(&O)");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sequenced), "連続演奏(&Y)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kCmdPlayCancel, "連続演奏を解除(&N)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kCmdPause, "一時停止(&P)");
    AppendMenuA(menu, MF_STRING, kCmdStop, "停止(&S)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kCmdPrevious, "前に戻る(&B)");
    AppendMenuA(menu, MF_STRING, kCmdNext, "次に進む(&F)");
}

void MainWindow::AddPlayItemsToSystemMenu() {
    HMENU system = GetSystemMenu(Handle(), FALSE);
    AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
    AppendPlayItems(system);
    systemMenuExtended_ = true;
}

void MainWindow::OnMinimized() {
    const ModeSettings& mode = client_->settings.mode;
    if (!mode.storeTaskTray) {
        AddPlayItemsToSystemMenu();
    } else if (!trayShown_) {
        Show(SW_HIDE);
        ShowTrayIcon(true);
    }
    if (PaletteOpen()) {
        Post(kMsgRaisePalette, 0, 0);
    } else if (client_->settings.floatingToolBar.showMinOnly) {
        Post(kMsgOpenPalette, 0, 0);
    }
}

void MainWindow::OnRestoredFromMinimized() {
    if (systemMenuExtended_) {
        GetSystemMenu(Handle(), TRUE);
        systemMenuExtended_ = false;
    }
    if (trayShown_) {
        ShowTrayIcon(false);
    } else {
        SetText("Quillory");
    }
    client_->ScrollSelectionIntoView();
    if (client_->settings.floatingToolBar.showMinOnly && PaletteOpen()) {
        TogglePlayPalette();
    }
}

void MainWindow::ShowTrayIcon(bool on) {
    if (on == trayShown_) {
        return;
    }
    NOTIFYICONDATAA icon = {};
    icon.cbSize = sizeof icon;
    icon.hWnd = Handle();
    icon.uID = 0;
    if (!on) {
        Shell_NotifyIconA(NIM_DELETE, &icon);
        trayShown_ = false;
        return;
    }
    icon.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    icon.uCallbackMessage = kMsgTrayIcon;
    icon.hIcon = static_cast<HICON>(LoadImageA(Program().instance, "ICON_KADREL", IMAGE_ICON, 16, 16, 0));
    lstrcpynA(icon.szTip, GetText().c_str(), sizeof icon.szTip);
    trayShown_ = Shell_NotifyIconA(NIM_ADD, &icon) != FALSE;
    if (icon.hIcon) {
        DestroyIcon(icon.hIcon);
    }
    UpdateTitle();
}

LRESULT MainWindow::AnswerTrayIcon(WPARAM, LPARAM lParam) {
    if (lParam == WM_MOUSEMOVE || trayMenuBusy_) {
        return 0;
    }
    if (lParam == WM_RBUTTONDOWN) {
        ShowTrayMenu();
    } else if (lParam == WM_LBUTTONDOWN) {
        RunWindowCommand(kCmdRestore);
    }
    return 0;
}

void MainWindow::ShowTrayMenu() {
    SMenu menu;
    menu.CreatePopup();
    HMENU popup = menu.Handle();
    AppendMenuA(popup, MF_STRING, kCmdRestore, "元のサイズに戻す(&R)");
    AppendMenuA(popup, MF_STRING, kCmdMaximize, "最大化(&X)");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING, kCmdClose, "閉じる(&C)");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendPlayItems(popup);
    POINT cursor;
    GetCursorPos(&cursor);
    trayMenuBusy_ = true;
    // The menu closes properly only while our window is the foreground one.
    SetForeground();
    const int command = menu.Track(TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x, cursor.y, Handle());
    Post(WM_NULL, 0, 0);
    trayMenuBusy_ = false;
    if (command) {
        Send(WM_COMMAND, WPARAM(command), 0);
    }
}

void MainWindow::RunWindowCommand(int command) {
    if (command == kCmdClose) {
        Post(WM_CLOSE, 0, 0);
        return;
    }
    Show(command == kCmdMaximize ? SW_SHOWMAXIMIZED : SW_RESTORE);
    SetForeground();
}

// The palette comes to the front after a minimize, unless the user is working
// in a list editor or the properties window, which it would cover.
LRESULT MainWindow::RaisePalette(WPARAM, LPARAM) {
    if (PaletteOpen() && !AnyListEditorOpen() && !PropertyWindowHandle()) {
        palette_->SetForeground();
    }
    return 0;
}

LRESULT MainWindow::OpenPaletteWhenMinimized(WPARAM, LPARAM) {
    if (!PaletteOpen()) {
        TogglePlayPalette();
    }
    return 0;
}

// A second start's command line: taken now, opened once the second program
// has its answer and has ended.
void MainWindow::OnCopyData(MessageContext& m) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(m.lParam);
    if (!data || data->dwData != kCopyDataCommandLine || !data->lpData) {
        return;
    }
    handedOver_.assign(static_cast<const char*>(data->lpData),
                       strnlen(static_cast<const char*>(data->lpData), data->cbData));
    Post(kMsgOpenHandedOver, 0, 0);
    m.handled = 1;
    m.result = TRUE;
}

LRESULT MainWindow::OpenHandedOver(WPARAM, LPARAM) {
    if (client_) {
        client_->OpenHandedOver(handedOver_);
    }
    return 0;
}
