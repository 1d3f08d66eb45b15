// The emulation settings dialog and the module edit dialog, on templates in
// memory. The rules (name checks, moves, reset, rebuilding the tables) are
// SoundModuleEditor's; this file shows the list and the messages.
#include "ui/EmulationDialog_win.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/SoundModules.h"
#include "ui/framework/Controls_win.h"
#include "ui/framework/DialogTemplate_win.h"

namespace {

// Settings dialog controls.
constexpr int kModuleList = 1001;
constexpr int kEditButton = 1010;
constexpr int kAddButton = 1011;
constexpr int kDeleteButton = 1012;
constexpr int kUpButton = 1013;
constexpr int kDownButton = 1014;
constexpr int kResetButton = 1015;
constexpr int kFirstFlagBox = 1020;  // four boxes, one per SearchStrFlag bit
constexpr int kResetMessageBox = 1030;

// Edit dialog controls.
constexpr int kNameEdit = 1101;
constexpr int kCommentEdit = 1102;
constexpr int kSearchStrEdit = 1103;
constexpr int kOrderEdit = 1104;
constexpr int kOrderSpin = 1105;
constexpr int kWfpEdit = 1106;
constexpr int kTmidiEdit = 1107;
constexpr int kDecopEdit = 1108;

constexpr int kFlagBoxCount = 4;
const char* const kFlagLabels[kFlagBoxCount] = {"パス(&P)", "書庫ファイル名(&C)", "ファイル名(&F)", "タイトル(&T)"};

// Bytes an edit field takes, without the terminator.
constexpr int kFieldBytes = 255;

const DLGTEMPLATE* SettingsTemplate() {
    static std::unique_ptr<DialogTemplate> dialog;
    if (dialog) {
        return dialog->Template();
    }
    dialog = std::make_unique<DialogTemplate>(kSoundModuleSettingsCaption, 330, 214);
    dialog->Add(WC_LISTVIEWA, kModuleList, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7,
                7, 250, 140, "");
    const char* const labels[] = {"編集(&E)...", "追加(&A)...", "削除(&D)...",
                                  "上へ(&U)",    "下へ(&O)",    "標準に戻す(&R)..."};
    for (int i = 0; i < 6; i++) {
        dialog->Button(kEditButton + i, 264, short(7 + 18 * i), 59, labels[i]);
    }
    dialog->Group(7, 152, 250, 40, "判定文字を検索する対象");
    for (int i = 0; i < kFlagBoxCount; i++) {
        dialog->Check(kFirstFlagBox + i, short(14 + 118 * (i % 2)), short(164 + 13 * (i / 2)), 110, kFlagLabels[i]);
    }
    dialog->Check(kResetMessageBox, 7, 198, 250, "判定できないときは曲のリセットメッセージで判定する(&M)");
    dialog->Button(IDOK, 264, 160, 59, "OK");
    dialog->Button(IDCANCEL, 264, 178, 59, "キャンセル");
    return dialog->Template();
}

const DLGTEMPLATE* EditTemplate(bool adding) {
    static std::unique_ptr<DialogTemplate> dialogs[2];
    std::unique_ptr<DialogTemplate>& dialog = dialogs[adding ? 1 : 0];
    if (dialog) {
        return dialog->Template();
    }
    dialog = std::make_unique<DialogTemplate>(adding ? kAddSoundModuleCaption : kEditSoundModuleCaption, 250, 172);
    const char* const labels[] = {"音源(&M)", "説明(&I)", "判定文字(&S)", "判定順序(&O)"};
    const int ids[] = {kNameEdit, kCommentEdit, kSearchStrEdit, kOrderEdit};
    for (int i = 0; i < 4; i++) {
        dialog->Label(7, short(9 + 17 * i), 56, 8, labels[i]);
        dialog->Edit(ids[i], ES_AUTOHSCROLL | (i == 3 ? ES_NUMBER : 0), 66, short(7 + 17 * i), i == 3 ? 50 : 177, 13);
    }
    dialog->Add(UPDOWN_CLASSA, kOrderSpin,
                UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 116, 58, 10, 13,
                "");
    dialog->Group(7, 78, 236, 66, "プレイヤーに引き渡すコマンド");
    const char* const players[] = {"WRD File Player(&W)", "TMIDI Player(&T)", "DECOPLAY(&D)"};
    for (int i = 0; i < 3; i++) {
        dialog->Label(14, short(92 + 17 * i), 80, 8, players[i]);
        dialog->Edit(kWfpEdit + i, ES_AUTOHSCROLL, 96, short(90 + 17 * i), 140, 13);
    }
    dialog->Button(IDOK, 136, 151, 50, "OK");
    dialog->Button(IDCANCEL, 193, 151, 50, "キャンセル");
    return dialog->Template();
}

std::string FieldText(HWND dialog, int id) {
    const HWND item = GetDlgItem(dialog, id);
    std::vector<char> text(size_t(GetWindowTextLengthA(item)) + 1);
    GetWindowTextA(item, text.data(), int(text.size()));
    return text.data();
}

void SetCell(HWND list, int row, int column, const char* text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text);
    if (column == 0) {
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    }
}

}  // namespace

ModuleEditDialog::ModuleEditDialog(SWindow* owner, SoundModuleEditor* editor, int32_t editing)
    : SDialog(EditTemplate(editing < 0), owner), editor_(editor), editing_(editing) {
}

void ModuleEditDialog::OnInitDialog(MessageContext& m) {
    for (int id : {kNameEdit, kCommentEdit, kSearchStrEdit, kWfpEdit, kTmidiEdit, kDecopEdit}) {
        SendMessageA(Item(id), EM_LIMITTEXT, kFieldBytes, 0);
    }
    SendMessageA(Item(kOrderSpin), UDM_SETRANGE32, 0, kMaxModuleSearchOrder);
    SoundModuleEntry entry;
    if (editing_ >= 0 && size_t(editing_) < editor_->Rows().size()) {
        entry = editor_->Rows()[size_t(editing_)];
    }
    SetDlgItemTextA(Handle(), kNameEdit, entry.name.c_str());
    SetDlgItemTextA(Handle(), kCommentEdit, entry.comment.c_str());
    SetDlgItemTextA(Handle(), kSearchStrEdit, entry.searchStr.c_str());
    SendMessageA(Item(kOrderSpin), UDM_SETPOS32, 0, LPARAM(entry.searchOrder));
    SetDlgItemTextA(Handle(), kWfpEdit, entry.optWfp.c_str());
    SetDlgItemTextA(Handle(), kTmidiEdit, entry.optTmidi.c_str());
    SetDlgItemTextA(Handle(), kDecopEdit, entry.optDecop.c_str());
    m.handled = 1;
    m.result = TRUE;
}

void ModuleEditDialog::OnCommand(MessageContext& m) {
    if (LOWORD(m.wParam) == IDOK) {
        m.handled = 1;
        Accept();
        return;
    }
    SDialog::OnCommand(m);
}

void ModuleEditDialog::Accept() {
    SoundModuleEntry entry;
    entry.name = FieldText(Handle(), kNameEdit);
    entry.comment = FieldText(Handle(), kCommentEdit);
    entry.searchStr = FieldText(Handle(), kSearchStrEdit);
    const uint32_t order = ParseModuleOrder(FieldText(Handle(), kOrderEdit).c_str());
    entry.searchOrder = order > kMaxModuleSearchOrder ? kMaxModuleSearchOrder : order;
    entry.optWfp = FieldText(Handle(), kWfpEdit);
    entry.optTmidi = FieldText(Handle(), kTmidiEdit);
    entry.optDecop = FieldText(Handle(), kDecopEdit);
    if (const char* message = editor_->Store(editing_, entry)) {
        ShowMessageBox(message, editing_ < 0 ? kAddSoundModuleCaption : kEditSoundModuleCaption, MB_OK | MB_ICONSTOP);
        ::SetFocus(Item(kNameEdit));
        return;
    }
    Close(IDOK);
}

EmulationDialog::EmulationDialog(SWindow* owner, BagBox* modules, BagBox* detectors, EmulationSettings* emulation)
    : SDialog(SettingsTemplate(), owner),
      editor_(*modules, *detectors),
      modules_(modules),
      detectors_(detectors),
      emulation_(emulation) {
}

void EmulationDialog::OnInitDialog(MessageContext& m) {
    const HWND list = Item(kModuleList);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    InsertListColumn(list, 0, "音源", 80);
    InsertListColumn(list, 1, "説明", 150);
    InsertListColumn(list, 2, "判定文字", 110);
    InsertListColumn(list, 3, "判定順序", 60);
    for (int i = 0; i < kFlagBoxCount; i++) {
        CheckDlgButton(Handle(), kFirstFlagBox + i, (emulation_->searchStrFlag >> i) & 1 ? BST_CHECKED : BST_UNCHECKED);
    }
    CheckDlgButton(Handle(), kResetMessageBox, emulation_->searchResetMessage ? BST_CHECKED : BST_UNCHECKED);
    FillList(0);
    m.handled = 1;
    m.result = TRUE;
}

void EmulationDialog::FillList(int32_t select) {
    const HWND list = Item(kModuleList);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    const std::vector<SoundModuleEntry>& rows = editor_.Rows();
    for (size_t i = 0; i < rows.size(); i++) {
        const int row = int(i);
        SetCell(list, row, 0, rows[i].name.c_str());
        SetCell(list, row, 1, rows[i].comment.c_str());
        SetCell(list, row, 2, rows[i].searchStr.c_str());
        SetCell(list, row, 3, std::to_string(rows[i].searchOrder).c_str());
    }
    if (select >= 0 && size_t(select) < rows.size()) {
        ListView_SetItemState(list, select, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, select, FALSE);
    }
    UpdateButtons();
}

int32_t EmulationDialog::SelectedRow() const {
    return int32_t(ListView_GetNextItem(Item(kModuleList), -1, LVNI_SELECTED));
}

void EmulationDialog::UpdateButtons() {
    const int32_t row = SelectedRow();
    const int32_t count = int32_t(editor_.Rows().size());
    EnableWindow(Item(kEditButton), row >= 0);
    EnableWindow(Item(kDeleteButton), row >= 0);
    EnableWindow(Item(kUpButton), row > 0);
    EnableWindow(Item(kDownButton), row >= 0 && row + 1 < count);
}

void EmulationDialog::EditRow(int32_t row) {
    ModuleEditDialog edit(this, &editor_, row);
    if (edit.DoModal() == IDOK) {
        FillList(row >= 0 ? row : int32_t(editor_.Rows().size()) - 1);
    }
}

void EmulationDialog::DeleteRow() {
    const int32_t row = SelectedRow();
    if (row < 0) {
        return;
    }
    const std::string question = DeleteSoundModuleQuestion(editor_.Rows()[size_t(row)].name.c_str());
    if (ShowMessageBox(question.c_str(), kDeleteSoundModuleCaption, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    editor_.Delete(row);
    const int32_t count = int32_t(editor_.Rows().size());
    FillList(row < count ? row : count - 1);
}

void EmulationDialog::MoveRow(int32_t step) {
    const int32_t row = SelectedRow();
    if (row >= 0) {
        FillList(editor_.Move(row, step));
    }
}

void EmulationDialog::Reset() {
    if (ShowMessageBox(kResetSoundModulesQuestion, kResetSoundModulesCaption, MB_OKCANCEL | MB_ICONEXCLAMATION) ==
        IDOK) {
        editor_.ResetToDefaults();
        FillList(0);
    }
}

void EmulationDialog::Commit() {
    uint32_t flags = 0;
    for (int i = 0; i < kFlagBoxCount; i++) {
        flags |= IsDlgButtonChecked(Handle(), kFirstFlagBox + i) == BST_CHECKED ? 1u << i : 0;
    }
    emulation_->searchStrFlag = flags;
    emulation_->searchResetMessage = IsDlgButtonChecked(Handle(), kResetMessageBox) == BST_CHECKED;
    editor_.Commit(modules_, detectors_);
}

void EmulationDialog::OnCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    m.handled = 1;
    switch (id) {
        case kEditButton:
            EditRow(SelectedRow());
            break;
        case kAddButton:
            EditRow(-1);
            break;
        case kDeleteButton:
            DeleteRow();
            break;
        case kUpButton:
            MoveRow(-1);
            break;
        case kDownButton:
            MoveRow(1);
            break;
        case kResetButton:
            Reset();
            break;
        case IDOK:
            Commit();
            Close(IDOK);
            break;
        default:
            m.handled = 0;
            SDialog::OnCommand(m);
    }
}

void EmulationDialog::OnNotify(MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom != kModuleList) {
        return;
    }
    if (header->code == LVN_ITEMCHANGED) {
        UpdateButtons();
    } else if (header->code == NM_DBLCLK && SelectedRow() >= 0) {
        EditRow(SelectedRow());
    }
}

bool ShowEmulationDialog(SWindow* owner, BagBox* modules, BagBox* detectors, EmulationSettings* emulation) {
    EmulationDialog dialog(owner, modules, detectors, emulation);
    return dialog.DoModal() == IDOK;
}
