// Placement of dialogs and the play palette from rectangles alone.
#include "ui/rules/WindowPlacement.h"

#include <algorithm>
#include <initializer_list>

static ScreenRect Sized(int left, int top, int width, int height) {
    return ScreenRect{left, top, left + width, top + height};
}

// The common part must hold a pixel: an empty rectangle overlaps nothing.
bool Overlaps(const ScreenRect& a, const ScreenRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

// One axis of KeepInside: the start of a span of length n inside [low, high).
static int KeepSpanInside(int start, int n, int low, int high) {
    if (start + n > high) {
        start = high - n;
    }
    return start < low ? low : start;
}

ScreenRect KeepInside(const ScreenRect& rect, const ScreenRect& area) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    return Sized(KeepSpanInside(rect.left, width, area.left, area.right),
                 KeepSpanInside(rect.top, height, area.top, area.bottom), width, height);
}

ScreenRect CentreOn(int width, int height, const ScreenRect& owner, const ScreenRect& workArea) {
    const int left = owner.left + (owner.right - owner.left - width) / 2;
    const int top = owner.top + (owner.bottom - owner.top - height) / 2;
    return KeepInside(Sized(left, top, width, height), workArea);
}

ScreenRect PlacePalette(int width,
                        int height,
                        const ScreenRect& frame,
                        const ScreenRect& keepClear,
                        const ScreenRect& client,
                        int inset,
                        const ScreenRect& workArea) {
    // Outside the main window it covers nothing of it, when the work area
    // has the room there without moving it up or down.
    const int left = frame.right - width;
    for (const int top : {frame.bottom, frame.top - height}) {
        const ScreenRect placed = KeepInside(Sized(left, top, width, height), workArea);
        if (placed.top == top) {
            return placed;
        }
    }
    const ScreenRect inside =
        KeepInside(Sized(client.right - inset - width, client.bottom - inset - height, width, height), workArea);
    if (!Overlaps(inside, keepClear)) {
        return inside;
    }
    // A main window too small for the palette below its bars: under them.
    return KeepInside(Sized(inside.left, keepClear.bottom, width, height), workArea);
}
