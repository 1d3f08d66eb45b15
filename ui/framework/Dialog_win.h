// Dialogs on the window framework: an SWindow of kind 2 made from a template,
// run modally (DoModal) or modeless (Create). OK and Cancel close it with
// their identifier unless the derived dialog routes them itself.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/framework/SWindow_win.h"

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

// A dialog with one text field and a browse button: the field starts with
// *text (limited to maxBytes - 1 bytes), the button lets browse replace the
// field's text, OK stores the field in *text and closes.
class BrowseFieldDialog : public SDialog {
   public:
    using Browser = std::function<bool(HWND owner, std::string* text)>;
    BrowseFieldDialog(const DLGTEMPLATE* memoryTemplate,
                      SWindow* owner,
                      int fieldId,
                      int browseId,
                      int maxBytes,
                      Browser browse,
                      std::string* text);

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;

   private:
    std::string FieldText() const;

    int fieldId_;
    int browseId_;
    int maxBytes_;
    Browser browse_;
    std::string* text_;
};

// The shell's folder browser; true with the chosen folder's path.
bool BrowseForFolder(HWND owner, const char* title, std::string* folder);
