// The one-field text dialogs, the sound module choice and the version dialog.
#include "ui/SmallDialogs_win.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "QuilloryVersion.h"
#include "analysis/SoundModules.h"
#include "core/Text.h"
#include "ui/framework/DialogTemplate_win.h"
#include "ui/framework/Dpi_win.h"

namespace {

constexpr int kTextEdit = 1001;
constexpr int kModuleList = 1002;

// Name fields take a file name: at most this many bytes.
constexpr int kItemNameBytes = 255;

std::unique_ptr<DialogTemplate> MakeTextTemplate(const char* caption, const char* label) {
    auto dialog = std::make_unique<DialogTemplate>(caption, 260, 62);
    dialog->Label(7, 9, 246, 8, label);
    dialog->Edit(kTextEdit, ES_AUTOHSCROLL, 7, 20, 246, 13);
    dialog->Button(IDOK, 146, 41, 50, "OK");
    dialog->Button(IDCANCEL, 203, 41, 50, "キャンセル");
    return dialog;
}

std::string ItemText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    std::vector<char> text(size_t(GetWindowTextLengthA(item)) + 1);
    GetWindowTextA(item, text.data(), int(text.size()));
    return text.data();
}

}  // namespace

TextDialog::TextDialog(SWindow* owner, const char* caption, const char* label, int maxBytes, std::string* text)
    : SDialog(nullptr, owner), template_(MakeTextTemplate(caption, label)), maxBytes_(maxBytes), text_(text) {
    SetDialogTemplate(template_->Template());
}

void TextDialog::OnInitDialog(MessageContext& m) {
    SendMessageA(Item(kTextEdit), EM_LIMITTEXT, WPARAM(maxBytes_), 0);
    std::vector<char> bounded(size_t(maxBytes_) + 1);
    CopyBounded(bounded.data(), text_->c_str(), size_t(maxBytes_));
    SetDlgItemTextA(Handle(), kTextEdit, bounded.data());
    SendMessageA(Item(kTextEdit), EM_SETSEL, 0, -1);
    ::SetFocus(Item(kTextEdit));
    m.handled = 1;
    m.result = FALSE;  // the focus is placed
}

void TextDialog::OnCommand(MessageContext& m) {
    if (LOWORD(m.wParam) == IDOK) {
        *text_ = ItemText(Handle(), kTextEdit);
    }
    SDialog::OnCommand(m);
}

ModuleChoiceDialog::ModuleChoiceDialog(SWindow* owner, const BagBox& modules, std::string* name)
    : SDialog(nullptr, owner), modules_(modules), name_(name) {
    static std::unique_ptr<DialogTemplate> dialog;
    if (!dialog) {
        dialog = std::make_unique<DialogTemplate>("音源を変更 - Quillory", 240, 170);
        dialog->Add(WC_LISTVIEWA, kModuleList, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                    7, 7, 226, 136, "");
        dialog->Button(IDOK, 126, 149, 50, "OK");
        dialog->Button(IDCANCEL, 183, 149, 50, "キャンセル");
    }
    SetDialogTemplate(dialog->Template());
}

void ModuleChoiceDialog::OnInitDialog(MessageContext& m) {
    const HWND list = Item(kModuleList);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    // Column widths in 96-DPI pixels: the dialog itself grows with its font.
    column.cx = ScaledFor(list, 110);
    column.pszText = const_cast<char*>("音源");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    column.cx = ScaledFor(list, 200);
    column.pszText = const_cast<char*>("説明");
    SendMessageA(list, LVM_INSERTCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    int selected = -1;
    for (int32_t row = 0; row < modules_.Count(); row++) {
        const char* name = modules_.Read(row, SoundModuleColumn::name);
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = const_cast<char*>(name);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<char*>(modules_.Read(row, SoundModuleColumn::comment));
        SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
        if (selected < 0 && CompareNoCase(name, name_->c_str()) == 0) {
            selected = row;
        }
    }
    if (selected >= 0) {
        ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, selected, FALSE);
    }
    ::SetFocus(list);
    m.handled = 1;
    m.result = FALSE;
}

void ModuleChoiceDialog::OnNotify(MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom == kModuleList && header->code == NM_DBLCLK) {
        PostMessageA(Handle(), WM_COMMAND, IDOK, 0);
    }
}

void ModuleChoiceDialog::OnCommand(MessageContext& m) {
    if (LOWORD(m.wParam) == IDOK) {
        const int row = ListView_GetNextItem(Item(kModuleList), -1, LVNI_SELECTED);
        if (row < 0) {
            m.handled = 1;
            return;
        }
        *name_ = modules_.Read(row, SoundModuleColumn::name);
    }
    SDialog::OnCommand(m);
}

bool AskTitle(SWindow* owner, std::string* title) {
    TextDialog dialog(owner, "タイトルを変更 - Quillory", "タイトル(&T) :", kChangedTextBytes, title);
    return dialog.DoModal() == IDOK;
}

bool AskComment(SWindow* owner, std::string* comment) {
    TextDialog dialog(owner, "コメントを変更 - Quillory", "コメント(&C) :", kChangedTextBytes, comment);
    return dialog.DoModal() == IDOK;
}

bool ChooseSoundModule(SWindow* owner, const BagBox& modules, std::string* name) {
    ModuleChoiceDialog dialog(owner, modules, name);
    return dialog.DoModal() == IDOK;
}

bool AskItemName(SWindow* owner, const char* caption, std::string* name) {
    std::string entered = *name;
    TextDialog dialog(owner, caption, "名前(&N) :", kItemNameBytes, &entered);
    if (dialog.DoModal() != IDOK || entered.empty()) {
        return false;
    }
    *name = entered;
    return true;
}

void ShowVersionDialog(SWindow* owner) {
    static std::unique_ptr<DialogTemplate> dialog;
    if (!dialog) {
        dialog = std::make_unique<DialogTemplate>("バージョン情報 - Quillory", 200, 84);
        dialog->Add(kStaticAtom, -1, SS_ICON, 10, 10, 20, 20, "");
        dialog->Label(40, 10, 150, 8, (std::string("Quillory バージョン ") + kProgramVersion).c_str());
        dialog->Label(40, 22, 150, 8, "MIDI・オーディオファイルセレクタ");
        dialog->Label(40, 34, 150, 8, "タイトル・音源・関連ファイルを一覧できます。");
        dialog->Button(IDOK, 75, 62, 50, "OK");
    }
    SDialog version(dialog->Template(), owner);
    version.DoModal();
}
