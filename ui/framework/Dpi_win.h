// The pixel density of the screen a window is on. The program declares itself
// aware of each monitor's density, so Windows no longer stretches its bitmap;
// the fixed sizes it lays out are 96-DPI lengths scaled with ScaleFromBase
// (core/ScreenLayout.h) to the density found here.
#pragma once

#include <windows.h>

// The density of the monitor window is on; on systems without per-monitor
// densities (before Windows 10) the system's, and 96 when nothing answers.
int WindowDpi(HWND window);

// A 96-DPI length on the screen of window.
int ScaledFor(HWND window, int pixels);

// A system metric (SM_CXVSCROLL, ...) at a density; the system's own value
// where the system cannot give it for another density.
int SystemMetricAt(int index, int dpi);

// The font a window draws with (the system's default GUI font when it was
// given none), its height scaled from the density previous to dpi; null when
// it cannot be made. The caller gives it to the window and deletes it once
// the window no longer uses it.
HFONT RescaledFont(HWND window, int previous, int dpi);

// Gives a window that received WM_DPICHANGED the rectangle the system
// suggests with it (its lParam; nothing when null).
void MoveToSuggestedRect(HWND window, LPARAM suggested);

// A copy of a bitmap drawn for 96 DPI, stretched to dpi pixel by pixel (no
// blending, so a mask colour stays exact); null when it cannot be made or
// dpi is 96. The caller deletes it.
HBITMAP StretchedBitmap(HBITMAP bitmap, int dpi);
