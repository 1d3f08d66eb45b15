// DialogCommands: the client's dialog commands. The title, comment and sound
// module the user sets by hand for the selected songs, the song properties
// window that follows the focused song, the settings dialog with the
// refreshes its changes need, and the version dialog.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/AppState_win.h"
#include "app/ListSelection_win.h"
#include "ui/framework/SWindow_win.h"

class BrowseSession;
class MainWindow;

class DialogCommands {
   public:
    // owner is the window the dialogs belong to.
    DialogCommands(MainWindow* main,
                   SWindow& owner,
                   AppState& app,
                   ClientPanes& panes,
                   ListSelection& selection,
                   BrowseSession& browse);
    DialogCommands(const DialogCommands&) = delete;
    DialogCommands& operator=(const DialogCommands&) = delete;

    // Runs a dialog command; true when it was one.
    bool RunCommand(MessageContext& m);
    // Fills the properties window for the focused song; without activate
    // only an open window follows.
    void ShowPropertiesOfFocus(bool activate);
    // An open properties window follows the list's focus (a WM_NOTIFY).
    void FollowFocus(const MessageContext& m);

   private:
    void ChangeTitle();
    void ChangeComment();
    void ChangeModule();
    void ShowProperties();
    void OpenSettings();
    void ShowVersion();
    void ChangeSelectionText(int32_t column);
    void StoreHandSetText(const std::vector<int32_t>& rows, int32_t column, const std::string& text);
    void ApplyChangedSettings(uint32_t refresh);

    static const CommandRoute<DialogCommands> kCommands[];

    MainWindow* main_;
    SWindow& owner_;
    AppState& app_;
    ClientPanes& panes_;
    ListSelection& selection_;
    BrowseSession& browse_;
    int settingsTab_ = 0;  // the settings dialog's tab when it last closed
};
