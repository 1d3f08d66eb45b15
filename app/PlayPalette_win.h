// The floating play palette ("プレイパレット - Quillory"): a small tool window
// with the property and play buttons of the main tool bars, laid out
// horizontally with a caption or vertically without one.
#pragma once

#include <windows.h>

#include <memory>

#include "core/Settings.h"
#include "ui/framework/Controls_win.h"
#include "ui/framework/SWindow_win.h"

// The tool bars' button pictures, made from the program's strip for dpi.
bool MakeToolImages(SImageList* images, HBITMAP strip, int dpi);

// The palette's tool bar; its commands and tool tips go to notify.
std::unique_ptr<SToolBar> MakePaletteToolBar(SWindow* parent, HWND notify, HIMAGELIST images, bool vertical);

// Draws a picture of the play indicator into area: 0 stopped, 1 and 2
// playing, 3 and 4 paused (the status bar's part and the palette's copy).
void DrawPlayIndicator(HDC dc, RECT area, int picture);

class PlayPalette : public SWindow {
   public:
    // Opens at the remembered place of settings, else at firstPlace (its
    // top left corner on the screen). Its buttons show the pictures of
    // toolPictures, a strip the owner keeps while the palette lives, at the
    // scale of the palette's own screen.
    PlayPalette(SWindow* owner, const FloatingToolBarSettings& settings, HBITMAP toolPictures, POINT firstPlace);
    // The size of the palette's window, frame included, for its layout on
    // the screen of owner.
    static SIZE FrameSize(const FloatingToolBarSettings& settings, HWND owner);
    // The palette's tool bar (null before it is created).
    SToolBar* Bar() const {
        return bar_.get();
    }
    // Shows a picture of the play indicator after the buttons; the
    // indicator's text names its state for those who cannot see it.
    void SetIndicator(int picture);

   protected:
    void OnCreate(MessageContext& m) override;
    // Moved to a screen of another density: the palette takes the size the
    // system suggests and makes its buttons again at the new scale.
    void OnDpiChanged(MessageContext& m) override;
    void OnClose(MessageContext& m) override;
    void OnDrawItem(MessageContext& m) override;

   private:
    void MakeButtons();
    void PlaceIndicator(SIZE client);

    std::unique_ptr<SToolBar> bar_;
    std::unique_ptr<SControl> indicator_;
    int picture_ = 0;
    HBITMAP toolPictures_;
    SImageList images_;
    bool vertical_;
    int dpi_;  // of the palette's screen
};
