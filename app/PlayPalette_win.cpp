// The floating play palette window.
#include "app/PlayPalette_win.h"

#include "app/CommandIds.h"

static const int kHorizontalWidth = 330;  // client pixels
static const int kHorizontalHeight = 22;
static const int kVerticalWidth = 27;
static const int kVerticalHeight = 311;

static DWORD PaletteStyle(bool vertical) {
    return WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | (vertical ? WS_DLGFRAME : WS_CAPTION | WS_SYSMENU);
}

static DWORD PaletteExStyle(const FloatingToolBarSettings& settings) {
    return WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | (settings.topMost ? WS_EX_TOPMOST : 0);
}

SIZE PlayPalette::FrameSize(const FloatingToolBarSettings& settings) {
    const bool vertical = settings.vertical;
    RECT frame = {0, 0, vertical ? kVerticalWidth : kHorizontalWidth, vertical ? kVerticalHeight : kHorizontalHeight};
    AdjustWindowRectEx(&frame, PaletteStyle(vertical), FALSE, PaletteExStyle(settings));
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

PlayPalette::PlayPalette(SWindow* owner, const FloatingToolBarSettings& settings, HIMAGELIST images, POINT firstPlace)
    : SWindow("Kadrel PlayPalette", owner, kWindowKind), images_(images), vertical_(settings.vertical) {
    SetStyle(PaletteStyle(vertical_), PaletteExStyle(settings));
    SetTitle(vertical_ ? "" : "プレイパレット - Quillory");
    SetClassLook(nullptr, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const bool stored = settings.winX != kUseDefaultPosition && settings.winY != kUseDefaultPosition;
    const SIZE size = FrameSize(settings);
    SetBounds(stored ? settings.winX : firstPlace.x, stored ? settings.winY : firstPlace.y, size.cx, size.cy);
}

void PlayPalette::OnCreate(MessageContext&) {
    bar_ = MakePaletteToolBar(this, Parent()->Handle(), images_, vertical_);
    if (bar_) {
        bar_->Move(0, 0, vertical_ ? kVerticalWidth : kHorizontalWidth, vertical_ ? kVerticalHeight : kHorizontalHeight,
                   true);
    }
}

// The close box works like the menu command, so the main window keeps count.
void PlayPalette::OnClose(MessageContext& m) {
    Parent()->Post(WM_COMMAND, kCmdPlayPalette, 0);
    m.handled = 1;
}
