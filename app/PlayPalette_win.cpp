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

PlayPalette::PlayPalette(SWindow* owner, const FloatingToolBarSettings& settings, HIMAGELIST images)
    : SWindow("Kadrel PlayPalette", owner, kWindowKind), images_(images), vertical_(settings.vertical) {
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | (vertical_ ? WS_DLGFRAME : WS_CAPTION | WS_SYSMENU);
    const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | (settings.topMost ? WS_EX_TOPMOST : 0);
    const SIZE client = ClientSize(vertical_, owner->Handle());
    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    SetStyle(style, exStyle);
    SetTitle(vertical_ ? "" : "プレイパレット - Quillory");
    SetClassLook(nullptr, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const bool stored = settings.winX != kUseDefaultPosition && settings.winY != kUseDefaultPosition;
    SetBounds(stored ? settings.winX : CW_USEDEFAULT, stored ? settings.winY : CW_USEDEFAULT, frame.right - frame.left,
              frame.bottom - frame.top);
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
