// The dialog half of the window framework (kind 2): modal and modeless
// creation and the dialog procedure that binds the object and dispatches.
#include "ui/Dialog_win.h"

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
    Dispatch(self, m);
    if (message == WM_INITDIALOG) {
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
