// The floating play palette window.
#include "app/PlayPalette_win.h"

#include "app/CommandIds.h"
#include "core/ScreenLayout.h"
#include "ui/Dpi_win.h"

static const int kHorizontalWidth = 330;  // client size, 96-DPI pixels
static const int kHorizontalHeight = 22;
static const int kVerticalWidth = 27;
static const int kVerticalHeight = 311;

// The palette's client size in its layout on the screen of window.
static SIZE ClientSize(bool vertical, HWND window) {
    const int dpi = WindowDpi(window);
    return {ScaleFromBase(vertical ? kVerticalWidth : kHorizontalWidth, dpi),
            ScaleFromBase(vertical ? kVerticalHeight : kHorizontalHeight, dpi)};
}

static DWORD PaletteStyle(bool vertical) {
    return WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | (vertical ? WS_DLGFRAME : WS_CAPTION | WS_SYSMENU);
}

static DWORD PaletteExStyle(const FloatingToolBarSettings& settings) {
    return WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | (settings.topMost ? WS_EX_TOPMOST : 0);
}

SIZE PlayPalette::FrameSize(const FloatingToolBarSettings& settings, HWND owner) {
    const SIZE client = ClientSize(settings.vertical, owner);
    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, PaletteStyle(settings.vertical), FALSE, PaletteExStyle(settings));
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

PlayPalette::PlayPalette(SWindow* owner, const FloatingToolBarSettings& settings, HIMAGELIST images, POINT firstPlace)
    : SWindow("Kadrel PlayPalette", owner, kWindowKind), images_(images), vertical_(settings.vertical) {
    SetStyle(PaletteStyle(vertical_), PaletteExStyle(settings));
    SetTitle(vertical_ ? "" : "プレイパレット - Quillory");
    SetClassLook(nullptr, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const bool stored = settings.winX != kUseDefaultPosition && settings.winY != kUseDefaultPosition;
    const SIZE size = FrameSize(settings, owner->Handle());
    SetBounds(stored ? settings.winX : firstPlace.x, stored ? settings.winY : firstPlace.y, size.cx, size.cy);
}

void PlayPalette::OnCreate(MessageContext&) {
    bar_ = MakePaletteToolBar(this, Parent()->Handle(), images_, vertical_);
    if (bar_) {
        const SIZE client = ClientSize(vertical_, Handle());
        bar_->Move(0, 0, client.cx, client.cy, true);
    }
}

// The close box works like the menu command, so the main window keeps count.
void PlayPalette::OnClose(MessageContext& m) {
    Parent()->Post(WM_COMMAND, kCmdPlayPalette, 0);
    m.handled = 1;
}
