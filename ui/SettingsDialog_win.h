// The settings dialog: a tab control with seven child pages, one page object
// per tab. Each page fills its controls from the settings and writes them
// back through the page values of SettingsDialogRules; Apply reports the
// refresh bits to the caller. The selected tab is remembered by the caller.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "core/BagBox.h"
#include "core/Settings.h"
#include "ui/framework/Dialog_win.h"
#include "ui/rules/SettingsDialogRules.h"

// What the dialog edits and whom it tells.
struct SettingsDialogContext {
    ClientSettings* settings = nullptr;
    BagBox* modules = nullptr;  // the sound module tables, for the emulation dialog
    BagBox* detectors = nullptr;
    int* rememberedTab = nullptr;  // opened on, stored when the dialog closes
    bool locationOpen = false;
    // Receives the refresh bits after every apply (kRefreshLocation, ...).
    std::function<void(uint32_t)> refresh;
    // The program's folder, where the help pages are.
    std::string programFolder;
};

class SettingsPage;

class SettingsDialog : public SDialog {
   public:
    SettingsDialog(SWindow* owner, const SettingsDialogContext& context);
    ~SettingsDialog() override;

    // The page window of a tab, for tests; null before the dialog exists.
    HWND PageWindow(int tab) const;

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;
    void OnNotify(MessageContext& m) override;

   private:
    void ShowTab(int tab);
    void ApplyAll();
    void Finish(int code);
    void OpenHelp();

    SettingsDialogContext context_;
    std::unique_ptr<SettingsPage> pages_[kSettingsTabCount];
    int current_ = 0;
};

// Command 700: runs the dialog modally on the remembered tab. Returns IDOK
// or IDCANCEL.
INT_PTR ShowSettingsDialog(SWindow* owner, const SettingsDialogContext& context);

// The dialog window while it is open (tests drive it); null otherwise.
HWND SettingsDialogWindow();
