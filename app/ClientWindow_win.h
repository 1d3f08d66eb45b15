// ClientWindow: the client area of the main window ("Kadrel Client") and the
// owner of the application state: settings, the catalogue lock, the client
// timer with its pending message, the panes and the command router.
#pragma once

#include <windows.h>

#include <memory>

#include "core/MainWindowRules.h"
#include "core/RandomGenerator.h"
#include "core/Settings.h"
#include "core/Startup.h"
#include "ui/SWindow_win.h"
#include "ui/Splitter_win.h"

class MainWindow;

constexpr char kClientWindowClass[] = "Kadrel Client";
constexpr UINT_PTR kClientTimerId = 1;
constexpr UINT kClientTimerPeriod = 500;  // milliseconds

// A window message held back while the player is busy, replayed later.
struct PendingMessage {
    bool waiting = false;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class ClientWindow : public SWindow {
   public:
    // Loads the settings, reads the command line, extends the search path and
    // seeds the random generator; the window comes with Create.
    explicit ClientWindow(MainWindow* main);
    ~ClientWindow() override;

    // Runs a command from any source; true when the router has a row for it.
    bool RunCommand(MessageContext& m);
    // Whether the program may close now; a refusal leaves everything running.
    bool PrepareExit();
    // False until player control holds a transaction open.
    bool PlayerInTransaction() const;
    // Keeps a message for the timer to post to the main window again.
    void HoldMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Restores the last location and starts the start-up play mode.
    void RunStartAction();
    // Writes every setting (only while saving on exit is on).
    void SaveAllSettings();
    // Sets "Path" to the saved search path and the player's "ExecPath".
    void ApplySearchPath();

    HWND TreeHandle() const;
    HWND ListHandle() const;
    PlayMode CurrentPlayMode() const;
    // Title of the focused song, or null when none is focused.
    const char* FocusedTitle() const;

    ClientSettings settings;
    ExitFlags exitFlags;
    CRITICAL_SECTION catalogueLock;
    RandomGenerator random;
    int32_t startPlayMode = 0;
    bool highColourIcons = false;
    bool fullWindowDrag = false;
    std::string savedSearchPath;

   protected:
    void OnCreate(MessageContext& m) override;
    void OnSize(MessageContext& m) override;
    void OnTimer(MessageContext& m) override;
    void OnDestroy(MessageContext& m) override;
    void OnLButtonDown(MessageContext& m) override;
    void OnMouseMove(MessageContext& m) override;
    void OnLButtonUp(MessageContext& m) override;
    void OnSetCursor(MessageContext& m) override;

   private:
    void LayOutPanes(int splitterX);
    void ReadDesktopFlags();
    void ParseCommandLine();
    void SetListView(uint32_t view);

    // Commands.
    void NotYetAvailable();
    void Exit();
    void DeleteSettingsAndExit();
    void ToggleBandProperty();
    void ToggleBandSearch();
    void ToggleBandPlay();
    void ResetBandLayout();
    void ToggleStatusBar();
    void TogglePlayPalette();
    void NextView();
    void ViewLargeIcons();
    void ViewSmallIcons();
    void ViewList();
    void ViewDetails();
    void FocusSearchBar();
    void OpenManual();
    void ShowVersion();

    static const CommandRoute<ClientWindow> kCommands[];

    MainWindow* main_;
    std::unique_ptr<SWindow> tree_;
    std::unique_ptr<SWindow> list_;
    Splitter splitter_;
    PendingMessage pending_;
    HCURSOR splitterCursor_ = nullptr;
};
