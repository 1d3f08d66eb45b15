// ClientWindow: the client area of the main window ("Kadrel Client"). It
// holds the folder tree and the song list with the splitter between them,
// the client timer and the command router, and owns the parts that do the
// work: the location and its catalogue (BrowseSession), the play run
// (PlayRun), the searches (SearchSession), the file commands (FileCommands)
// and the dialog commands (DialogCommands). The application state comes
// from the application, made before the window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/AppState_win.h"
#include "app/BrowseSession_win.h"
#include "app/DialogCommands_win.h"
#include "app/FileCommands_win.h"
#include "app/ListSelection_win.h"
#include "app/PlayRun_win.h"
#include "app/SearchSession_win.h"
#include "ui/framework/SWindow_win.h"
#include "ui/framework/Splitter_win.h"

class MainWindow;

constexpr char kClientWindowClass[] = "Kadrel Client";

class ClientWindow : public SWindow {
   public:
    // The window comes with Create.
    ClientWindow(MainWindow* main, AppState& app);
    ~ClientWindow() override;

    // Runs a command from any source; true when the router has a row for it.
    bool RunCommand(MessageContext& m);
    // Whether the program may close now; a refusal leaves everything running.
    bool PrepareExit();
    // True while player control waits on a DDE transaction.
    bool PlayerInTransaction() const;
    // Keeps a message for the timer to post to the main window again.
    void HoldMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Restores the last location and starts the start-up play mode.
    void RunStartAction();
    // Opens the location or song a second start's command line names.
    void OpenHandedOver(const std::string& commandLine);
    // Writes every setting (only while saving on exit is on).
    void SaveAllSettings();
    // Once the frame has its first size: the first-start column widths.
    void FitFirstStartColumns();
    // The frame moved to a screen of another density: the tree pane and the
    // columns keep their share of the screen.
    void RescaleForDpi(int previous, int dpi);
    // Brings the tree's selected node and the list's focused song into view.
    void ScrollSelectionIntoView();

    HWND TreeHandle() const;
    HWND ListHandle() const;
    PlayMode CurrentPlayMode() const;
    // Title of the focused song as the list shows it; false when none is focused.
    bool FocusedTitle(std::string* title) const;
    FolderTreeWindow* Tree() const;
    SongListWindow* List() const;
    PlayController* Player() const;
    // The parts.
    BrowseSession& Browse();
    PlayRun& Play();
    SearchSession& Search();
    FileCommands& Files();
    ListSelection& Selection();

    ClientSettings& settings;
    ExitFlags& exitFlags;

   protected:
    void OnCreate(MessageContext& m) override;
    void OnSize(MessageContext& m) override;
    void OnTimer(MessageContext& m) override;
    void OnDestroy(MessageContext& m) override;
    void OnNotify(MessageContext& m) override;
    void OnPrivateMessage(MessageContext& m) override;
    void OnLButtonDown(MessageContext& m) override;
    void OnMouseMove(MessageContext& m) override;
    void OnLButtonUp(MessageContext& m) override;
    void OnSetCursor(MessageContext& m) override;
    void OnContextMenu(MessageContext& m) override;

   private:
    void LayOutPanes(int splitterX);
    // Commands of the window itself (ClientCommands_win.cpp).
    void Exit();
    void DeleteSettingsAndExit();
    void ResetBandLayout();
    void ToggleStatusBar();
    void TogglePlayPalette();
    void OpenManual();

    static const CommandRoute<ClientWindow> kCommands[];

    MainWindow* main_;
    AppState& app_;
    ClientPanes panes_;
    ListSelection selection_;
    Splitter splitter_;
    HCURSOR splitterCursor_ = nullptr;
    std::unique_ptr<BrowseSession> browse_;
    std::unique_ptr<SearchSession> search_;
    std::unique_ptr<DialogCommands> dialogs_;
    std::unique_ptr<PlayRun> play_;
    std::unique_ptr<FileCommands> files_;
};
