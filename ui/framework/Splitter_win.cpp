// The pane splitter: drag state, cursor confinement and the inverted bar.
#include "ui/framework/Splitter_win.h"

#include "core/Startup.h"

bool ReadDragFullWindows() {
    char value[16] = {};
    DWORD bytes = sizeof value;
    const bool found = RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "DragFullWindows", RRF_RT_REG_SZ,
                                    nullptr, value, &bytes) == ERROR_SUCCESS;
    return FullWindowDragOf(found ? value : nullptr);
}

int SplitterPositionFor(int mouseX, int grabOffset, int clientWidth) {
    const int right = clientWidth - grabOffset - kSplitterMargin;
    int x = mouseX > right ? right : mouseX;
    x = x < kSplitterMargin ? kSplitterMargin : x;
    return x - grabOffset;
}

Splitter::Splitter(SWindow* owner, std::function<void(int x)> layOut) : owner_(owner), layOut_(std::move(layOut)) {
}

int Splitter::Position() const {
    return position_;
}

void Splitter::SetPosition(int x) {
    position_ = x;
}

bool Splitter::IsDragging() const {
    return dragging_;
}

bool Splitter::Contains(int x) const {
    return x >= position_ && x < position_ + kSplitterWidth;
}

// Drawn straight over the panes (no clipping of child windows) and erased by
// drawing it a second time.
void Splitter::InvertBar(int x) {
    HWND window = owner_->Handle();
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
    if (!dc) {
        return;
    }
    RECT client = owner_->ClientRect();
    PatBlt(dc, x, 0, kSplitterWidth, client.bottom, DSTINVERT);
    ReleaseDC(window, dc);
}

bool Splitter::ButtonDown(int x, bool fullWindowDrag) {
    if (dragging_ || !Contains(x)) {
        return false;
    }
    dragging_ = true;
    fullWindowDrag_ = fullWindowDrag;
    grabOffset_ = x - position_;
    barPosition_ = position_;
    if (!fullWindowDrag_) {
        InvertBar(barPosition_);
    }
    RECT client = owner_->ClientRect();
    RECT confine = {kSplitterMargin, client.top, client.right - grabOffset_ - kSplitterMargin, client.bottom};
    MapWindowPoints(owner_->Handle(), nullptr, reinterpret_cast<POINT*>(&confine), 2);
    ClipCursor(&confine);
    owner_->SetCapture();
    return true;
}

bool Splitter::MouseMove(int x) {
    if (!dragging_) {
        return false;
    }
    const int next = SplitterPositionFor(x, grabOffset_, owner_->ClientRect().right);
    if (next == barPosition_) {
        return true;
    }
    if (fullWindowDrag_) {
        position_ = next;
        layOut_(position_);
    } else {
        InvertBar(barPosition_);
        InvertBar(next);
    }
    barPosition_ = next;
    return true;
}

bool Splitter::ButtonUp(int x) {
    if (!dragging_) {
        return false;
    }
    dragging_ = false;
    ClipCursor(nullptr);
    ReleaseCapture();
    if (!fullWindowDrag_) {
        InvertBar(barPosition_);
    }
    position_ = SplitterPositionFor(x, grabOffset_, owner_->ClientRect().right);
    layOut_(position_);
    return true;
}
