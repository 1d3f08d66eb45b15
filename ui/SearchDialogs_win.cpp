// The find, narrow and select dialogs and the HTML export's save dialog.
// The dialog templates are built in memory: one layout, with the direction
// group shown only for find and "追加選択" only for select.
#include "ui/SearchDialogs_win.h"

#include <commdlg.h>

#include <memory>

#include "ui/framework/DialogTemplate_win.h"

namespace {

// Control identifiers.
constexpr int kTextCombo = 1001;
constexpr int kFirstTarget = 1010;  // seven check boxes, one per SearchTarget bit
constexpr int kFuzzyCheck = 1020;
constexpr int kIgnoreCaseCheck = 1021;
constexpr int kContainsCheck = 1022;
constexpr int kFirstWordMode = 1030;  // three radio buttons, by "StrAndOr"
constexpr int kUpRadio = 1040;
constexpr int kDownRadio = 1041;
constexpr int kDirectionGroup = 1042;
constexpr int kAddButton = 1050;

constexpr int kTargetCount = 7;

const char* const kTargetLabels[kTargetCount] = {
    "ファイル名(&F)",           "タイトル(&T)", "コメント(&C)", "音源(&M)", "更新日時(&D)", "WRDファイル(&W)",
    "ドキュメントファイル(&U)",
};
const char* const kWordModeLabels[] = {"そのまま(&H)", "AND検索(&A)", "OR検索(&O)"};

struct KindTexts {
    const char* caption;
    const char* defaultButton;
};
const KindTexts kKindTexts[] = {
    {"検索 - Quillory", "検索"},
    {"絞り込み - Quillory", "絞り込み"},
    {"選択 - Quillory", "選択"},
};

// The template of a kind, built once and kept for the program's life.
const DLGTEMPLATE* SearchTemplate(SearchDialogKind kind) {
    static std::unique_ptr<DialogTemplate> templates[3];
    std::unique_ptr<DialogTemplate>& writer = templates[kind];
    if (writer) {
        return writer->Template();
    }
    writer = std::make_unique<DialogTemplate>(kKindTexts[kind].caption, 320, 156);
    writer->Add(kStaticAtom, -1, SS_LEFT, 7, 9, 60, 8, "検索文字列(&N):");
    writer->Add(kComboAtom, kTextCombo, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 70, 7, 180, 120, "");
    writer->Add(kButtonAtom, -1, BS_GROUPBOX, 7, 26, 118, 114, "検索対象");
    for (int i = 0; i < kTargetCount; i++) {
        writer->Add(kButtonAtom, kFirstTarget + i, BS_AUTOCHECKBOX | WS_TABSTOP | (i == 0 ? WS_GROUP : 0), 14,
                    short(38 + 14 * i), 104, 10, kTargetLabels[i]);
    }
    writer->Add(kButtonAtom, -1, BS_GROUPBOX, 131, 26, 122, 50, "検索方法");
    writer->Add(kButtonAtom, kFuzzyCheck, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 138, 37, 110, 10, "曖昧検索(&Z)");
    writer->Add(kButtonAtom, kIgnoreCaseCheck, BS_AUTOCHECKBOX | WS_TABSTOP, 138, 49, 110, 10,
                "大・小文字を区別しない(&G)");
    writer->Add(kButtonAtom, kContainsCheck, BS_AUTOCHECKBOX | WS_TABSTOP, 138, 61, 110, 10, "検索文字を含むもの(&I)");
    writer->Add(kButtonAtom, -1, BS_GROUPBOX, 131, 80, 122, 48, "複数語");
    for (int i = 0; i < 3; i++) {
        writer->Add(kButtonAtom, kFirstWordMode + i, BS_AUTORADIOBUTTON | (i == 0 ? WS_GROUP | WS_TABSTOP : 0), 138,
                    short(91 + 12 * i), 110, 10, kWordModeLabels[i]);
    }
    if (kind == kFindDialog) {
        writer->Add(kButtonAtom, kDirectionGroup, BS_GROUPBOX, 131, 130, 122, 22, "方向");
        writer->Add(kButtonAtom, kUpRadio, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 138, 140, 50, 10, "上へ(&P)");
        writer->Add(kButtonAtom, kDownRadio, BS_AUTORADIOBUTTON, 192, 140, 50, 10, "下へ(&B)");
    }
    writer->Add(kButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 260, 7, 53, 14,
                kKindTexts[kind].defaultButton);
    short y = 24;
    if (kind == kSelectDialog) {
        writer->Add(kButtonAtom, kAddButton, BS_PUSHBUTTON | WS_TABSTOP, 260, y, 53, 14, "追加選択");
        y += 17;
    }
    writer->Add(kButtonAtom, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 260, y, 53, 14,
                kind == kFindDialog ? "閉じる" : "キャンセル");
    return writer->Template();
}

SearchDialog* openFindDialog = nullptr;

}  // namespace

SearchDialog::SearchDialog(SearchDialogKind kind,
                           SWindow* owner,
                           SearchSettings* settings,
                           std::function<void(bool)> find)
    : SDialog(SearchTemplate(kind), owner), kind_(kind), settings_(settings), find_(std::move(find)) {
}

void SearchDialog::SetListPosition(int32_t rows, int32_t focusedRow) {
    rows_ = rows;
    focusedRow_ = focusedRow;
}

void SearchDialog::OnInitDialog(MessageContext& m) {
    LoadFields();
    if (settings_->winX != kUseDefaultPosition && settings_->winY != kUseDefaultPosition) {
        SetWindowPos(Handle(), nullptr, settings_->winX, settings_->winY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    m.handled = 1;
    m.result = TRUE;  // the focus goes to the combo box, the first tab stop
}

void SearchDialog::LoadFields() {
    const HWND combo = Item(kTextCombo);
    SendMessageA(combo, CB_LIMITTEXT, kSearchTextBytes - 1, 0);
    for (const std::string& entry : HistoryEntries(settings_->history)) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SetWindowTextA(combo, settings_->searchText.c_str());
    for (int i = 0; i < kTargetCount; i++) {
        CheckDlgButton(Handle(), kFirstTarget + i, (settings_->subIndex >> i) & 1 ? BST_CHECKED : BST_UNCHECKED);
    }
    CheckDlgButton(Handle(), kFuzzyCheck, settings_->strFlag & kSearchFuzzy ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), kIgnoreCaseCheck, settings_->strFlag & kSearchIgnoreCase ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(Handle(), kContainsCheck, settings_->strFlag & kSearchContains ? BST_CHECKED : BST_UNCHECKED);
    const uint32_t mode = settings_->strAndOr <= kWordsOr ? settings_->strAndOr : kWordsAnd;
    CheckRadioButton(Handle(), kFirstWordMode, kFirstWordMode + 2, kFirstWordMode + int(mode));
    if (kind_ == kFindDialog) {
        bool up = settings_->up;
        if (rows_ > 1 && focusedRow_ == 0) {
            up = false;
        } else if (rows_ > 1 && focusedRow_ == rows_ - 1) {
            up = true;
        }
        CheckRadioButton(Handle(), kUpRadio, kDownRadio, up ? kUpRadio : kDownRadio);
    }
    FollowFuzzy();
    UpdateButtons();
}

void SearchDialog::StoreFields() {
    SetSearchText(settings_, ComboText(false).c_str());
    uint32_t targets = 0;
    for (int i = 0; i < kTargetCount; i++) {
        if (IsDlgButtonChecked(Handle(), kFirstTarget + i) == BST_CHECKED) {
            targets |= 1u << i;
        }
    }
    settings_->subIndex = targets;
    uint32_t flags = 0;
    flags |= IsDlgButtonChecked(Handle(), kFuzzyCheck) == BST_CHECKED ? kSearchFuzzy : 0;
    flags |= IsDlgButtonChecked(Handle(), kIgnoreCaseCheck) == BST_CHECKED ? kSearchIgnoreCase : 0;
    flags |= IsDlgButtonChecked(Handle(), kContainsCheck) == BST_CHECKED ? kSearchContains : 0;
    settings_->strFlag = flags;
    for (uint32_t mode = kWordsAsIs; mode <= kWordsOr; mode++) {
        if (IsDlgButtonChecked(Handle(), kFirstWordMode + int(mode)) == BST_CHECKED) {
            settings_->strAndOr = mode;
        }
    }
    if (kind_ == kFindDialog) {
        settings_->up = IsDlgButtonChecked(Handle(), kUpRadio) == BST_CHECKED;
    }
    // The combo's list follows the history.
    const HWND combo = Item(kTextCombo);
    const std::string text = ComboText(false);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : HistoryEntries(settings_->history)) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    SetWindowTextA(combo, text.c_str());
}

// While fuzzy is ticked, case is always ignored.
void SearchDialog::FollowFuzzy() {
    const bool fuzzy = IsDlgButtonChecked(Handle(), kFuzzyCheck) == BST_CHECKED;
    if (fuzzy) {
        CheckDlgButton(Handle(), kIgnoreCaseCheck, BST_CHECKED);
    }
    EnableWindow(Item(kIgnoreCaseCheck), !fuzzy);
}

std::string SearchDialog::ComboText(bool selectionChanged) const {
    const HWND combo = Item(kTextCombo);
    char text[kSearchTextBytes] = {};
    const LRESULT selection = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    // At CBN_SELCHANGE the edit box still shows the old text.
    if (selectionChanged && selection != CB_ERR &&
        SendMessageA(combo, CB_GETLBTEXTLEN, WPARAM(selection), 0) < LRESULT(sizeof text)) {
        SendMessageA(combo, CB_GETLBTEXT, WPARAM(selection), reinterpret_cast<LPARAM>(text));
        return text;
    }
    GetWindowTextA(combo, text, sizeof text);
    return text;
}

void SearchDialog::UpdateButtons() {
    bool anyTarget = false;
    for (int i = 0; i < kTargetCount; i++) {
        anyTarget = anyTarget || IsDlgButtonChecked(Handle(), kFirstTarget + i) == BST_CHECKED;
    }
    const bool enable = anyTarget && !ComboText(false).empty();
    EnableWindow(Item(IDOK), enable);
    if (kind_ == kSelectDialog) {
        EnableWindow(Item(kAddButton), enable);
    }
}

void SearchDialog::OnCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    const int code = HIWORD(m.wParam);
    m.handled = 1;
    if (id == kTextCombo && code == CBN_SELCHANGE) {
        SetWindowTextA(Item(kTextCombo), ComboText(true).c_str());
        UpdateButtons();
    } else if (id == kTextCombo && code == CBN_EDITCHANGE) {
        UpdateButtons();
    } else if (id == kFuzzyCheck) {
        FollowFuzzy();
    } else if (id >= kFirstTarget && id < kFirstTarget + kTargetCount) {
        UpdateButtons();
    } else if (id == IDOK && kind_ == kFindDialog) {
        StoreFields();
        if (find_) {
            find_(settings_->up);
        }
    } else if (id == IDOK || id == kAddButton || id == IDCANCEL) {
        StoreFields();
        Close(id);
    } else {
        m.handled = 0;
    }
}

void SearchDialog::OnDestroy(MessageContext& m) {
    const RECT own = WindowRect();
    settings_->winX = own.left;
    settings_->winY = own.top;
    if (this == openFindDialog) {
        openFindDialog = nullptr;
    }
    SDialog::OnDestroy(m);
}

void OpenFindDialog(SWindow* owner,
                    SearchSettings* settings,
                    int32_t rows,
                    int32_t focusedRow,
                    std::function<void(bool)> find) {
    if (openFindDialog && openFindDialog->Handle()) {
        openFindDialog->SetActive();
        return;
    }
    auto* dialog = new SearchDialog(kFindDialog, owner, settings, std::move(find));
    dialog->SetListPosition(rows, focusedRow);
    dialog->SetAutoDelete(true);
    openFindDialog = dialog;
    if (!dialog->Create()) {
        openFindDialog = nullptr;
        return;
    }
    dialog->Show(SW_SHOW);
}

HWND FindDialogWindow() {
    return openFindDialog ? openFindDialog->Handle() : nullptr;
}

bool RunNarrowDialog(SWindow* owner, SearchSettings* settings) {
    SearchDialog dialog(kNarrowDialog, owner, settings, nullptr);
    return dialog.DoModal() == IDOK;
}

int RunSelectDialog(SWindow* owner, SearchSettings* settings) {
    SearchDialog dialog(kSelectDialog, owner, settings, nullptr);
    const INT_PTR result = dialog.DoModal();
    return result == IDOK ? kSelectReplace : result == kAddButton ? kSelectAdd : kSelectCancelled;
}

bool AskHtmlExportPath(HWND owner, std::string* path) {
    static const char kFilter[] = "htmlファイル (html,htm)\0*.html;*.htm\0すべてのファイル (*)\0*.*\0";
    char file[512] = {};
    OPENFILENAMEA dialog = {};
    // The full structure; 64-bit Windows has no older, shorter form of it.
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file - 1;
    dialog.lpstrTitle = "一覧の書き出し";
    dialog.lpstrDefExt = "html";
    dialog.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&dialog)) {
        return false;
    }
    *path = file;
    return true;
}

bool ExportHtml(HWND owner,
                SongRows& rows,
                const std::vector<int32_t>& selected,
                const HtmlListSummary& summary,
                SearchHost& host,
                std::string* path,
                uint32_t* error) {
    *error = 0;
    if (selected.empty() || !AskHtmlExportPath(owner, path)) {
        return false;
    }
    host.LockCatalogue();
    host.ShowWaitCursor(true);
    host.ShowStatus("一覧を書き込み中");
    *error = WriteHtmlList(path->c_str(), rows, selected, summary);
    host.RefreshCount();
    host.ShowWaitCursor(false);
    host.UnlockCatalogue();
    return *error == 0;
}
