// The splitter between two side-by-side panes: a 4-pixel strip at x that the
// user drags with the left button. While dragging, either the panes follow at
// once (full-window drag) or an inverted bar shows where they will go; the
// cursor is confined so that the splitter keeps 10 pixels from either side.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/framework/SWindow_win.h"

constexpr int kSplitterWidth = 4;    // pixels
constexpr int kSplitterMargin = 10;  // pixels kept to either side of the client area

// True when the user's "DragFullWindows" desktop setting reads as a non-zero
// number; false when it is missing.
bool ReadDragFullWindows();

// The splitter's x for a mouse x while dragging: the mouse is held between
// 10 pixels from the left edge and the client width minus the grab offset
// minus 10, and the splitter sits the grab offset to its left.
int SplitterPositionFor(int mouseX, int grabOffset, int clientWidth);

class Splitter {
   public:
    // owner holds the splitter in its client area; layOut places the panes
    // for a splitter x.
    Splitter(SWindow* owner, std::function<void(int x)> layOut);

    int Position() const;
    void SetPosition(int x);
    bool IsDragging() const;
    // True when client x lies on the splitter.
    bool Contains(int x) const;

    // Mouse handling in client coordinates; each returns true when it used
    // the event (a press on the splitter, a move or release while dragging).
    bool ButtonDown(int x, bool fullWindowDrag);
    bool MouseMove(int x);
    bool ButtonUp(int x);

   private:
    void InvertBar(int x);

    SWindow* owner_;
    std::function<void(int x)> layOut_;
    int position_ = 0;
    int barPosition_ = 0;
    int grabOffset_ = 0;
    bool dragging_ = false;
    bool fullWindowDrag_ = false;
};
