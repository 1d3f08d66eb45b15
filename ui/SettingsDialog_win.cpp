// The settings dialog: the tab control, the OK, Cancel, Apply and Help
// buttons, the pages shown one at a time and the remembered tab.
#include "ui/SettingsDialog_win.h"

#include <commctrl.h>
#include <shellapi.h>

#include "ui/SettingsPages_win.h"
#include "ui/framework/DialogTemplate_win.h"

namespace {

constexpr int kApplyButton = 50;
constexpr int kHelpButton = 51;
constexpr int kTabControl = 52;

SettingsDialog* openDialog = nullptr;

const DLGTEMPLATE* DialogTemplateOfSettings() {
    static std::unique_ptr<DialogTemplate> dialog;
    if (!dialog) {
        dialog = std::make_unique<DialogTemplate>("設定 - Quillory", 292, 240);
        dialog->Add(WC_TABCONTROLA, kTabControl, WS_TABSTOP | TCS_MULTILINE, 6, 6, 280, 208, "");
        dialog->Button(IDOK, 70, 220, 50, "OK");
        dialog->Button(IDCANCEL, 124, 220, 50, "キャンセル");
        dialog->Button(kApplyButton, 178, 220, 50, "適用(&A)");
        dialog->Button(kHelpButton, 232, 220, 54, "ヘルプ(&H)");
    }
    return dialog->Template();
}

}  // namespace

SettingsDialog::SettingsDialog(SWindow* owner, const SettingsDialogContext& context)
    : SDialog(DialogTemplateOfSettings(), owner), context_(context) {
}

SettingsDialog::~SettingsDialog() = default;

HWND SettingsDialog::PageWindow(int tab) const {
    return tab >= 0 && tab < kSettingsTabCount && pages_[tab] ? pages_[tab]->Handle() : nullptr;
}

void SettingsDialog::OnInitDialog(MessageContext& m) {
    openDialog = this;
    const HWND tabs = Item(kTabControl);
    for (int i = 0; i < kSettingsTabCount; i++) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kSettingsTabCaptions[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    // The pages cover the tab control's display area.
    RECT area = {};
    GetWindowRect(tabs, &area);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int i = 0; i < kSettingsTabCount; i++) {
        pages_[i] = MakeSettingsPage(i, this, &context_);
        if (pages_[i]->Create()) {
            SetWindowPos(pages_[i]->Handle(), HWND_TOP, area.left, area.top, area.right - area.left,
                         area.bottom - area.top, SWP_HIDEWINDOW);
        }
    }
    const int tab = context_.rememberedTab ? *context_.rememberedTab : 0;
    ShowTab(tab >= 0 && tab < kSettingsTabCount ? tab : 0);
    m.handled = 1;
    m.result = TRUE;
}

void SettingsDialog::ShowTab(int tab) {
    current_ = tab;
    SendMessageA(Item(kTabControl), TCM_SETCURSEL, WPARAM(tab), 0);
    for (int i = 0; i < kSettingsTabCount; i++) {
        if (pages_[i] && pages_[i]->Handle()) {
            ShowWindow(pages_[i]->Handle(), i == tab ? SW_SHOW : SW_HIDE);
        }
    }
}

void SettingsDialog::ApplyAll() {
    uint32_t refresh = 0;
    for (std::unique_ptr<SettingsPage>& page : pages_) {
        if (page && page->Handle()) {
            refresh |= page->Apply();
        }
    }
    if (context_.refresh) {
        context_.refresh(refresh);
    }
}

void SettingsDialog::Finish(int code) {
    if (context_.rememberedTab) {
        *context_.rememberedTab = current_;
    }
    openDialog = nullptr;
    Close(code);
}

void SettingsDialog::OpenHelp() {
    const std::string page = context_.programFolder + kSettingsTabHelpPages[current_];
    ShellExecuteA(Handle(), "open", page.c_str(), nullptr, context_.programFolder.c_str(), SW_SHOWNORMAL);
}

void SettingsDialog::OnCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    m.handled = 1;
    if (id == IDOK) {
        ApplyAll();
        Finish(IDOK);
    } else if (id == IDCANCEL) {
        Finish(IDCANCEL);
    } else if (id == kApplyButton) {
        ApplyAll();
    } else if (id == kHelpButton) {
        OpenHelp();
    } else {
        m.handled = 0;
    }
}

void SettingsDialog::OnNotify(MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom == kTabControl && header->code == TCN_SELCHANGE) {
        ShowTab(int(SendMessageA(Item(kTabControl), TCM_GETCURSEL, 0, 0)));
    }
}

INT_PTR ShowSettingsDialog(SWindow* owner, const SettingsDialogContext& context) {
    SettingsDialog dialog(owner, context);
    return dialog.DoModal();
}

HWND SettingsDialogWindow() {
    return openDialog ? openDialog->Handle() : nullptr;
}
