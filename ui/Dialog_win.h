// Dialogs on the window framework: an SWindow of kind 2 made from a template,
// run modally (DoModal) or modeless (Create). OK and Cancel close it with
// their identifier unless the derived dialog routes them itself.
#pragma once

#include <windows.h>

#include "ui/SWindow_win.h"

class SDialog : public SWindow {
   public:
    // A dialog from the program's template resource.
    SDialog(int templateId, SWindow* parent);
    // A dialog from a template in memory, which must outlive the dialog.
    SDialog(const DLGTEMPLATE* memoryTemplate, SWindow* parent);

    // The window of one of the dialog's controls, or null.
    HWND Item(int id) const;

   protected:
    void OnCommand(MessageContext& m) override;
};
