// The seven pages of the settings dialog: child dialogs over the tab
// control, each copying its page values (SettingsDialogRules) into its
// controls and back.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "ui/SettingsDialog_win.h"

class SettingsPage : public SDialog {
   public:
    SettingsPage(const DLGTEMPLATE* pageTemplate, SWindow* dialog, SettingsDialogContext* context);
    // Fills the controls from the settings.
    virtual void Initialise() = 0;
    // Writes the controls into the settings; returns the refresh bits.
    virtual uint32_t Apply() = 0;

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;
    // A page's own buttons; true when the command was one of them.
    virtual bool RunButton(int id);

    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    std::string Text(int id) const;
    void SetText(int id, const std::string& text, int limit);
    // Lets the user choose a program; true with its path in the edit.
    bool BrowseProgram(int editId);

    SettingsDialogContext* context_;
};

// The page object of a tab (0 to 6).
std::unique_ptr<SettingsPage> MakeSettingsPage(int tab, SWindow* dialog, SettingsDialogContext* context);
