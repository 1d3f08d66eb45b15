// The title cache refresh's progress window: a modeless window over the main
// window showing the song being read, the percentage and the songs that could
// not be read, with a cancel button that stops the refresh.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/framework/DialogTemplate_win.h"
#include "ui/framework/SWindow_win.h"

class CacheProgressDialog;

class CacheProgress {
   public:
    CacheProgress();
    ~CacheProgress();

    // Opens the window with the caption over owner (may be null) and disables
    // the owner while it is open; the cancel button, Escape in the window and
    // its close box clear *running. False when the window cannot be created.
    bool Open(SWindow* owner, const char* caption, bool* running);
    // Shows the song, the percentage and the unreadable count; between
    // percentage changes at most once every 50 ms. Does nothing when closed.
    void Show(const char* path, int32_t percent, int32_t unreadable);
    // Enables the owner again and destroys the window; harmless when closed.
    void Close();

    // The window, null when closed.
    HWND Handle() const;

   private:
    DialogTemplate template_{"", 0, 0};
    std::unique_ptr<CacheProgressDialog> dialog_;
    HWND owner_ = nullptr;
    int32_t shownPercent_ = -1;
    DWORD shownTick_ = 0;
};
