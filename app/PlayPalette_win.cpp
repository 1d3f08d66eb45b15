// The floating play palette window.
#include "app/PlayPalette_win.h"

#include <algorithm>

#include "core/CommandIds.h"
#include "ui/framework/Dpi_win.h"
#include "ui/rules/ScreenLayout.h"

static const int kHorizontalWidth = 330;  // client size, 96-DPI pixels
static const int kHorizontalHeight = 22;
static const int kVerticalWidth = 27;
static const int kVerticalHeight = 311;
static const int kIndicatorId = 2;

// The indicator's text, which names the state its picture shows.
static const char* IndicatorText(int picture) {
    if (picture == 1 || picture == 2) {
        return "演奏中";
    }
    return picture == 3 || picture == 4 ? "一時停止" : "停止";
}

// The palette's client size in its layout on a screen of dpi.
static SIZE ClientSize(bool vertical, int dpi) {
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
    const SIZE client = ClientSize(settings.vertical, WindowDpi(owner));
    RECT frame = {0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, PaletteStyle(settings.vertical), FALSE, PaletteExStyle(settings));
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

PlayPalette::PlayPalette(SWindow* owner, const FloatingToolBarSettings& settings, HBITMAP toolPictures, POINT firstPlace)
    : SWindow("Kadrel PlayPalette", owner, kWindowKind),
      toolPictures_(toolPictures),
      vertical_(settings.vertical),
      dpi_(WindowDpi(owner->Handle())) {
    SetStyle(PaletteStyle(vertical_), PaletteExStyle(settings));
    SetTitle(vertical_ ? "" : "プレイパレット - Quillory");
    SetClassLook(nullptr, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const bool stored = settings.winX != kUseDefaultPosition && settings.winY != kUseDefaultPosition;
    const SIZE size = FrameSize(settings, owner->Handle());
    SetBounds(stored ? settings.winX : firstPlace.x, stored ? settings.winY : firstPlace.y, size.cx, size.cy);
}

void PlayPalette::OnCreate(MessageContext&) {
    MakeButtons();
}

void PlayPalette::OnDpiChanged(MessageContext& m) {
    const int dpi = LOWORD(m.wParam);
    if (dpi <= 0 || dpi == dpi_) {
        return;
    }
    dpi_ = dpi;
    MoveToSuggestedRect(Handle(), m.lParam);
    MakeButtons();
    m.handled = 1;
}

// The tool bar and the indicator at the scale of the palette's screen (made
// again, letting go of the old, after a move to another density). The bar
// first gets the whole client area, so that a vertical bar wraps its buttons
// before the indicator is placed after them.
void PlayPalette::MakeButtons() {
    for (SWindow* part : {static_cast<SWindow*>(bar_.get()), static_cast<SWindow*>(indicator_.get())}) {
        if (part && part->Handle()) {
            DestroyWindow(part->Handle());
        }
    }
    indicator_.reset();
    MakeToolImages(&images_, toolPictures_, dpi_);
    bar_ = MakePaletteToolBar(this, Parent()->Handle(), images_.Handle(), vertical_);
    const SIZE client = ClientSize(vertical_, dpi_);
    if (bar_) {
        bar_->Move(0, 0, client.cx, client.cy, true);
    }
    PlaceIndicator(client);
}

// The indicator takes the room after the last button, and the tool bar is cut
// back to the buttons, so the two never paint over each other.
void PlayPalette::PlaceIndicator(SIZE client) {
    RECT last = {};
    const LRESULT count = bar_ ? bar_->Send(TB_BUTTONCOUNT, 0, 0) : 0;
    if (count > 0) {
        bar_->Send(TB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&last));
    }
    const RECT room =
        vertical_ ? RECT{0, last.bottom, client.cx, client.cy} : RECT{last.right, 0, client.cx, client.cy};
    if (bar_) {
        bar_->Move(0, 0, vertical_ ? client.cx : room.left, vertical_ ? room.top : client.cy, true);
    }
    const int width = room.right - room.left;
    const int height = room.bottom - room.top;
    const int side = std::max(0, std::min(width, height));
    indicator_ = std::make_unique<SControl>("Static", this, kIndicatorId, SS_OWNERDRAW);
    indicator_->SetTitle(IndicatorText(picture_));
    indicator_->SetBounds(room.left + (width - side) / 2, room.top + (height - side) / 2, side, side);
    indicator_->Create();
}

void PlayPalette::SetIndicator(int picture) {
    if (picture == picture_) {
        return;
    }
    picture_ = picture;
    if (indicator_ && indicator_->Handle()) {
        indicator_->SetText(IndicatorText(picture));
        indicator_->Invalidate(false);
    }
}

void PlayPalette::OnDrawItem(MessageContext& m) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam);
    if (!indicator_ || item->hwndItem != indicator_->Handle()) {
        return;
    }
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_BTNFACE));
    DrawPlayIndicator(item->hDC, item->rcItem, picture_);
    m.handled = 1;
    m.result = TRUE;
}

// Stopped is a grey square; playing is a green triangle and paused two amber
// bars, each in two shades that alternate while it lasts.
void DrawPlayIndicator(HDC dc, RECT area, int picture) {
    InflateRect(&area, -3, -3);
    const int side = std::min<int>(area.right - area.left, area.bottom - area.top);
    const RECT box = {area.left, area.top, area.left + side, area.top + side};
    const COLORREF colours[] = {GetSysColor(COLOR_BTNSHADOW), RGB(0, 192, 64), RGB(0, 128, 40), RGB(232, 160, 0),
                                RGB(176, 112, 0)};
    HBRUSH brush = CreateSolidBrush(colours[picture >= 0 && picture <= 4 ? picture : 0]);
    if (picture == 1 || picture == 2) {
        const POINT triangle[] = {{box.left, box.top}, {box.right, (box.top + box.bottom) / 2}, {box.left, box.bottom}};
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, triangle, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    } else if (picture == 3 || picture == 4) {
        const int bar = side / 3;
        const RECT left = {box.left, box.top, box.left + bar, box.bottom};
        const RECT right = {box.right - bar, box.top, box.right, box.bottom};
        FillRect(dc, &left, brush);
        FillRect(dc, &right, brush);
    } else {
        FillRect(dc, &box, brush);
    }
    DeleteObject(brush);
}

// The close box works like the menu command, so the main window keeps count.
void PlayPalette::OnClose(MessageContext& m) {
    Parent()->Post(WM_COMMAND, kCmdPlayPalette, 0);
    m.handled = 1;
}
