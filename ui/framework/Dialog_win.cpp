// The dialog half of the window framework (kind 2): modal and modeless
// creation and the dialog procedure that binds the object and dispatches.
#include "ui/framework/Dialog_win.h"

#include <shlobj.h>

#include <vector>

#include "ui/framework/Placement_win.h"

static HINSTANCE ProgramInstance() {
    return GetModuleHandleA(nullptr);
}

INT_PTR SWindow::DoModal() {
    modeless_ = false;
    LPARAM self = reinterpret_cast<LPARAM>(this);
    if (dialogTemplate_) {
        return DialogBoxIndirectParamA(ProgramInstance(), dialogTemplate_, ParentHandle(), DialogProc, self);
    }
    return DialogBoxParamA(ProgramInstance(), MAKEINTRESOURCEA(dialogTemplateId_), ParentHandle(), DialogProc, self);
}

bool SWindow::CreateModelessDialog() {
    modeless_ = true;
    LPARAM self = reinterpret_cast<LPARAM>(this);
    HWND window = dialogTemplate_
                      ? CreateDialogIndirectParamA(ProgramInstance(), dialogTemplate_, ParentHandle(), DialogProc, self)
                      : CreateDialogParamA(ProgramInstance(), MAKEINTRESOURCEA(dialogTemplateId_), ParentHandle(),
                                           DialogProc, self);
    return window != nullptr;
}

// The dialog manager does the default processing itself: the procedure only
// tells it whether the object handled the message.
INT_PTR CALLBACK SWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SWindow* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<SWindow*>(lParam);
        Bind(window, self);
    } else {
        self = FromHandle(window);
    }
    if (!self) {
        return FALSE;
    }
    MessageContext m = self->MakeContext(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        Unbind(window, self);
        if (m.autoDelete) {
            delete self;
        }
        return FALSE;
    }
    RECT opened = {};
    if (message == WM_INITDIALOG) {
        GetWindowRect(window, &opened);
    }
    Dispatch(self, m);
    if (message == WM_INITDIALOG) {
        // A dialog opens centred on its owner unless its handler placed it
        // (at a place it remembers), and after the handler sized it.
        RECT placed = {};
        GetWindowRect(window, &placed);
        if (placed.left == opened.left && placed.top == opened.top) {
            CentreDialogOnOwner(window);
        }
        // Unless the handler placed the focus itself, the dialog manager
        // gives it to the first control.
        return m.handled ? m.result : TRUE;
    }
    if (!m.handled) {
        return FALSE;
    }
    if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) {
        return m.result;  // the brush
    }
    SetWindowLongPtrA(window, DWLP_MSGRESULT, m.result);
    return TRUE;
}

SDialog::SDialog(int templateId, SWindow* parent) : SWindow(nullptr, parent, kDialogKind) {
    SetDialogTemplate(templateId);
}

SDialog::SDialog(const DLGTEMPLATE* memoryTemplate, SWindow* parent) : SWindow(nullptr, parent, kDialogKind) {
    SetDialogTemplate(memoryTemplate);
}

HWND SDialog::Item(int id) const {
    return GetDlgItem(Handle(), id);
}

void SDialog::OnCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    if (id == IDOK || id == IDCANCEL) {
        m.handled = 1;
        Close(id);
    }
}

BrowseFieldDialog::BrowseFieldDialog(const DLGTEMPLATE* memoryTemplate,
                                     SWindow* owner,
                                     int fieldId,
                                     int browseId,
                                     int maxBytes,
                                     Browser browse,
                                     std::string* text)
    : SDialog(memoryTemplate, owner),
      fieldId_(fieldId),
      browseId_(browseId),
      maxBytes_(maxBytes),
      browse_(std::move(browse)),
      text_(text) {
}

void BrowseFieldDialog::OnInitDialog(MessageContext& m) {
    SendMessageA(Item(fieldId_), EM_LIMITTEXT, WPARAM(maxBytes_ - 1), 0);
    SetDlgItemTextA(Handle(), fieldId_, text_->c_str());
    m.handled = 1;
    m.result = TRUE;
}

void BrowseFieldDialog::OnCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    if (id == browseId_) {
        std::string chosen = FieldText();
        if (browse_ && browse_(Handle(), &chosen)) {
            SetDlgItemTextA(Handle(), fieldId_, chosen.c_str());
        }
        m.handled = 1;
        return;
    }
    if (id == IDOK) {
        *text_ = FieldText();
    }
    SDialog::OnCommand(m);
}

std::string BrowseFieldDialog::FieldText() const {
    std::vector<char> buffer(size_t(maxBytes_), '\0');
    GetDlgItemTextA(Handle(), fieldId_, buffer.data(), maxBytes_);
    return buffer.data();
}

bool BrowseForFolder(HWND owner, const char* title, std::string* folder) {
    char chosen[MAX_PATH] = {};
    BROWSEINFOA browse = {};
    browse.hwndOwner = owner;
    browse.pszDisplayName = chosen;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST list = SHBrowseForFolderA(&browse);
    if (list == nullptr) {
        return false;
    }
    const bool named = SHGetPathFromIDListA(list, chosen) != FALSE;
    CoTaskMemFree(list);
    if (named) {
        *folder = chosen;
    }
    return named;
}
