// MainWindow: the program's frame ("Kadrel"). It owns the menu, the rebar
// with its three tool bars and the search bar, the six-part status bar, the
// tray icon, the floating play palette and the ClientWindow, and hands every
// command to the client's router.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/ClientWindow_win.h"
#include "core/Settings.h"
#include "ui/framework/Controls_win.h"
#include "ui/framework/Placement_win.h"
#include "ui/framework/SWindow_win.h"
#include "ui/rules/ScreenLayout.h"

class PlayPalette;
class SearchBar;

constexpr char kMainWindowClass[] = "Kadrel";

class MainWindow : public SWindow {
   public:
    // Chooses the title, initialises the common controls and OLE, sets the
    // program paths, loads the placement and reads the window-state options.
    // The application state outlives the window.
    explicit MainWindow(AppState& app);
    ~MainWindow() override;

    // Creates the frame hidden; true when it exists.
    bool CreateFrame();
    // Shows the window in its first state; minimized only after the start action.
    void ShowFirst(bool afterStartAction);

    void UpdateTitle();
    void SetStatusText(const char* text);
    void SetStatusCount(int64_t count, int64_t selected, int32_t narrowDepth);
    void SetStatusPlayer(const char* playerName);
    void SetStatusEmulation(const char* emulationName);
    void SetStatusPlayMode();
    void SetStatusCache(bool fromCache);
    void SetStatusIndicator(int value);
    void ShowTrayIcon(bool on);

    // Bar commands.
    void ToggleBand(uint32_t bandId);
    void ResetBands();
    void ToggleStatusBar();
    void TogglePlayPalette();
    void FocusSearchText();
    // The search bar's combo box (null without the bar).
    HWND SearchComboHandle() const;

    bool BandShown(uint32_t bandId);
    bool StatusBarShown() const;
    bool TrayIconShown() const;
    bool PaletteOpen() const;
    HWND StatusBarHandle() const;
    ClientWindow* Client() const;
    // Tool tip text of a tool bar command ("" when it has none).
    std::string ToolTipText(int command) const;
    // Remembers the pane that last had the keyboard focus.
    void RememberFocusedPane(HWND pane);
    // Closes the palette, remembering whether it was open and where.
    void ClosePlayPaletteForExit();
    // Brings the tool bar buttons' enabled states up to date.
    void UpdateButtonStates();
    // The density of the screen the frame is on, which its fixed sizes and
    // those of its panes are scaled to.
    int Dpi() const;

    MainPlacement placement;
    int32_t windowStateToRestore = 0;
    uint8_t shutdownPending = 0;

   protected:
    void OnCreate(MessageContext& m) override;
    void OnSize(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;
    void OnSysCommand(MessageContext& m) override;
    void OnNotify(MessageContext& m) override;
    void OnPrivateMessage(MessageContext& m) override;
    void OnMenuSelect(MessageContext& m) override;
    void OnClose(MessageContext& m) override;
    void OnQueryEndSession(MessageContext& m) override;
    void OnEndSession(MessageContext& m) override;
    void OnDestroy(MessageContext& m) override;
    void OnActivate(MessageContext& m) override;
    void OnDrawItem(MessageContext& m) override;
    void OnCopyData(MessageContext& m) override;
    void OnDpiChanged(MessageContext& m) override;

   private:
    // Bars (MainBars_win.cpp).
    bool CreateBars();
    void DestroyBars();
    void InsertBands();
    void ReadBandLayout();
    void CreateStatusBar();
    void LayOut();
    void LayOutStatusParts();
    void UpdateToolBarStates();
    bool AnswerToolTip(MessageContext& m);
    void ShowViewMenu(const NMTOOLBARA* toolBar);

    // Minimize, tray and system menu (MainTray_win.cpp).
    void OnMinimized();
    void OnRestoredFromMinimized();
    void AddPlayItemsToSystemMenu();
    void OnTrayIcon(LPARAM mouseMessage);
    void ShowTrayMenu();
    void RunWindowCommand(int command);
    LRESULT RaisePalette(WPARAM wParam, LPARAM lParam);
    LRESULT OpenPaletteWhenMinimized(WPARAM wParam, LPARAM lParam);
    LRESULT AnswerTrayIcon(WPARAM wParam, LPARAM lParam);
    LRESULT OpenHandedOver(WPARAM wParam, LPARAM lParam);

    bool CloseAllowed();
    void RescalePaneFonts(int previous, int dpi);
    void SavePlacement();
    // Where the play palette opens when it has no remembered place.
    ScreenRect PaletteFirstPlace(int width, int height) const;

    static const MessageRoute<MainWindow> kMessages[];

    std::string baseTitle_;
    AppState& app_;
    std::unique_ptr<ClientWindow> client_;
    std::unique_ptr<SReBar> rebar_;
    std::unique_ptr<SToolBar> toolBars_[2];  // bands 1 and 3
    std::unique_ptr<SearchBar> searchBar_;
    std::unique_ptr<SStatusBar> statusBar_;
    std::unique_ptr<PlayPalette> palette_;
    SImageList images_;
    HBITMAP toolBitmap_ = nullptr;
    bool oleReady_ = false;
    bool trayShown_ = false;
    bool trayMenuBusy_ = false;
    bool systemMenuExtended_ = false;
    int sizeState_ = 0;
    // The play indicator's picture, which the palette shows too.
    int indicatorPicture_ = 0;
    HWND lastFocusedPane_ = nullptr;
    std::string handedOver_;  // the command line of the last second start
    int dpi_ = kBaseDpi;
    // Fonts of the status bar, the tree and the list made for the density
    // the frame moved to; null until it first moves.
    HFONT paneFonts_[3] = {};
};
