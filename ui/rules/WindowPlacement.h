// Where the program's own windows open: every dialog centred on the window
// that owns it, and the play palette, the first time it is shown, where it
// hides none of the main window's caption, menu and tool bars. Rectangles are
// in screen pixels with right and bottom exclusive, as the system gives them.
#pragma once

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// True when the two rectangles share at least one pixel.
bool Overlaps(const ScreenRect& a, const ScreenRect& b);

// rect moved, not resized, so that it lies inside area; one larger than area
// is aligned with area's left or top edge, where its caption and close box are.
ScreenRect KeepInside(const ScreenRect& rect, const ScreenRect& area);

// A window of width by height pixels centred on owner, kept inside workArea.
ScreenRect CentreOn(int width, int height, const ScreenRect& owner, const ScreenRect& workArea);

// The play palette's place when no place of it is remembered, for a palette
// of width by height pixels. frame is the main window, keepClear its caption,
// menu and tool bars, client the area under them (the tree and the list), and
// inset how far the palette keeps from client's right and bottom edges (the
// list's scroll bars stay usable). The palette goes just below the main
// window, else just above it, when it fits there on the work area; else into
// client's lower right corner, kept on the work area; and when that would
// still cover keepClear (a main window smaller than the palette), right
// under keepClear.
ScreenRect PlacePalette(int width,
                        int height,
                        const ScreenRect& frame,
                        const ScreenRect& keepClear,
                        const ScreenRect& client,
                        int inset,
                        const ScreenRect& workArea);
