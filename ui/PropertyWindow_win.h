// The song properties window: a modeless dialog with five tabs (song
// information, tracks, related files, comment, documents) filled from the
// texts of FillSongProperties for the song the list has in focus.
#pragma once

#include <windows.h>

#include "analysis/SongProperties.h"
#include "ui/Dialog_win.h"

class PropertyWindow : public SDialog {
   public:
    explicit PropertyWindow(SWindow* owner);
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

    SongPropertyRequest request_;
    HFONT fixedFont_ = nullptr;
};

// Creates the window when there is none; with activate, shows it and brings
// it to the front; then fills it for the song. Returns the read's result.
int32_t ShowSongProperties(SWindow* owner, const SongPropertyRequest& request, bool activate);
// The open window, null when none is open.
HWND PropertyWindowHandle();
