// What the two browsing panes (folder tree and song list) need from the
// window that holds them: the catalogue and the settings, catalogueLock, the
// status bar, the play state, and where commands and private messages go.
// The client window's BrowseSession implements it; the tests implement it with a
// window of their own.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstdint>

#include "catalogue/FolderScan.h"
#include "core/Settings.h"

class BrowsingHost {
   public:
    virtual ~BrowsingHost() = default;

    virtual CatalogueState& Catalogue() = 0;
    virtual ClientSettings& Settings() = 0;

    // catalogueLock: held around every change or walk of ObjectList as a whole.
    virtual void LockCatalogue() = 0;
    virtual void UnlockCatalogue() = 0;

    // Writes a part of the main window's status bar.
    virtual void SetStatusText(int part, const char* text) = 0;
    // The narrowing depth shown after the object count (0: not narrowed).
    virtual int32_t NarrowDepth() = 0;

    // True while a sequenced play (any play mode but Normal) runs.
    virtual bool SequencedPlayRunning() = 0;
    // True while a song is being handed over to a player.
    virtual bool HandOverRunning() = 0;

    // Commands for the main window, posted (queued) or sent (run at once).
    virtual void PostMainCommand(int command) = 0;
    virtual void SendMainCommand(int command) = 0;
    // The window the panes post their private messages to (sort column, play row).
    virtual HWND ClientHandle() = 0;
    // Checks one item of a radio group of the main menu.
    virtual void CheckMenuRadio(int first, int last, int checked) = 0;

    // The change watch of the folders, stopped while the tree is rebuilt.
    virtual void StopFolderWatchers() = 0;
    virtual void StartFolderWatchers() = 0;

    // Hands the song list's selection to drag-and-drop (left or right button).
    virtual void StartDrag(bool rightButton) = 0;
    // A node of the folder tree (not the root) is being dragged.
    virtual void StartTreeDrag(HTREEITEM node) {
        (void)node;
    }
};

// Holds catalogueLock for one scope.
class CatalogueLockScope {
   public:
    explicit CatalogueLockScope(BrowsingHost& host) : host_(host) {
        host_.LockCatalogue();
    }
    ~CatalogueLockScope() {
        host_.UnlockCatalogue();
    }
    CatalogueLockScope(const CatalogueLockScope&) = delete;
    CatalogueLockScope& operator=(const CatalogueLockScope&) = delete;

   private:
    BrowsingHost& host_;
};
