// The song properties window: a modeless dialog with five tabs (song
// information, tracks, related files, comment, documents) filled from the
// texts of FillSongProperties for the song the list has in focus. It opens
// where it was last and on the tab last chosen, which its settings keep.
#pragma once

#include <windows.h>

#include "catalogue/SongProperties.h"
#include "core/Settings.h"
#include "ui/framework/Dialog_win.h"

class PropertyWindow : public SDialog {
   public:
    // place is read when the window opens and changed as it is used and closed.
    PropertyWindow(SWindow* owner, PropertySettings* place);
    // Reads the song and shows its texts; returns the read's result.
    int32_t Fill(const SongPropertyRequest& request);

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;
    void OnNotify(MessageContext& m) override;
    void OnDestroy(MessageContext& m) override;

   private:
    void ShowTab(int tab);
    void ShowDocument(int choice);
    void ClearPages();

    PropertySettings* place_;
    SongPropertyRequest request_;
    HFONT fixedFont_ = nullptr;
};

// Creates the window when there is none, at the place and on the tab that
// place holds; with activate, shows it and brings it to the front; then fills
// it for the song. Returns the read's result.
int32_t ShowSongProperties(SWindow* owner, PropertySettings* place, const SongPropertyRequest& request, bool activate);
// The open window, null when none is open.
HWND PropertyWindowHandle();
