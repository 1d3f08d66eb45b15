// Screen densities through the calls of Windows 10, looked up at run time so
// that the program still starts on older systems.
#include "ui/framework/Dpi_win.h"

#include "ui/rules/ScreenLayout.h"

namespace {

using DpiForWindowCall = UINT(WINAPI*)(HWND);
using MetricsForDpiCall = int(WINAPI*)(int, UINT);

template <typename Call>
Call UserCall(const char* name) {
    HMODULE user = GetModuleHandleA("user32.dll");
    return user ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(user, name))) : nullptr;
}

int SystemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}

}  // namespace

int WindowDpi(HWND window) {
    static const DpiForWindowCall dpiForWindow = UserCall<DpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = dpiForWindow && window ? dpiForWindow(window) : 0;
    return dpi > 0 ? int(dpi) : SystemDpi();
}

int ScaledFor(HWND window, int pixels) {
    return ScaleFromBase(pixels, WindowDpi(window));
}

int SystemMetricAt(int index, int dpi) {
    static const MetricsForDpiCall metricsForDpi = UserCall<MetricsForDpiCall>("GetSystemMetricsForDpi");
    return metricsForDpi ? metricsForDpi(index, UINT(dpi)) : GetSystemMetrics(index);
}

HBITMAP StretchedBitmap(HBITMAP bitmap, int dpi) {
    BITMAP size = {};
    if (dpi == kBaseDpi || !GetObjectA(bitmap, sizeof size, &size)) {
        return nullptr;
    }
    const int width = ScaleFromBase(size.bmWidth, dpi);
    const int height = ScaleFromBase(size.bmHeight, dpi);
    HDC screen = GetDC(nullptr);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HBITMAP stretched = CreateCompatibleBitmap(screen, width, height);
    if (from && to && stretched) {
        HGDIOBJ oldFrom = SelectObject(from, bitmap);
        HGDIOBJ oldTo = SelectObject(to, stretched);
        SetStretchBltMode(to, COLORONCOLOR);
        StretchBlt(to, 0, 0, width, height, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(to, oldTo);
        SelectObject(from, oldFrom);
    }
    if (from) {
        DeleteDC(from);
    }
    if (to) {
        DeleteDC(to);
    }
    ReleaseDC(nullptr, screen);
    return stretched;
}

HFONT RescaledFont(HWND window, int previous, int dpi) {
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    LOGFONTA look = {};
    if (previous <= 0 || !GetObjectA(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof look, &look)) {
        return nullptr;
    }
    look.lfHeight = MulDiv(look.lfHeight, dpi, previous);
    look.lfWidth = MulDiv(look.lfWidth, dpi, previous);
    return CreateFontIndirectA(&look);
}

void MoveToSuggestedRect(HWND window, LPARAM suggested) {
    const RECT* rect = reinterpret_cast<const RECT*>(suggested);
    if (rect) {
        SetWindowPos(window, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
