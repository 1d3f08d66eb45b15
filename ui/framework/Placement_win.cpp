// Dialog placement on the screen.
#include "ui/framework/Placement_win.h"

ScreenRect ToScreenRect(const RECT& rect) {
    return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

ScreenRect WorkAreaOf(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
        RECT area = {};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        return ToScreenRect(area);
    }
    return ToScreenRect(info.rcWork);
}

void CentreDialogOnOwner(HWND dialog) {
    if (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD) {
        return;
    }
    const HWND owner = GetWindow(dialog, GW_OWNER);
    // A minimized or hidden owner (in the tray) has no place to centre on.
    const bool ownerShown = owner && IsWindowVisible(owner) && !IsIconic(owner);
    const ScreenRect work = WorkAreaOf(ownerShown ? owner : dialog);
    RECT around = {work.left, work.top, work.right, work.bottom};
    if (ownerShown) {
        GetWindowRect(owner, &around);
    }
    RECT own = {};
    GetWindowRect(dialog, &own);
    const ScreenRect placed = CentreOn(own.right - own.left, own.bottom - own.top, ToScreenRect(around), work);
    SetWindowPos(dialog, nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
