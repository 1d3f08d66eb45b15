// The song properties window on a template in memory. All five pages are
// controls of the one dialog; a tab shows its own and hides the others.
#include "ui/PropertyWindow_win.h"

#include <commctrl.h>

#include <memory>
#include <string>

#include "ui/framework/Controls_win.h"
#include "ui/framework/DialogTemplate_win.h"

namespace {

constexpr int kTabControl = 1001;
constexpr int kFirstLabel = 1100;  // song information labels
constexpr int kFirstValue = 1200;  // and their values
constexpr int kTrackList = 1300;
constexpr int kRelatedList = 1400;
constexpr int kCommentEdit = 1500;
constexpr int kDocumentEdit = 1600;
constexpr int kFirstDocumentRadio = 1610;

constexpr int kInfoFieldCount = 13;
constexpr int kTabCount = 5;
// Bytes of a document shown.
constexpr uint32_t kDocumentBytes = 60000;

const char* const kTabCaptions[kTabCount] = {"曲の情報", "トラックの情報", "関連ファイル", "コメント", "ドキュメント"};
const char* const kInfoLabels[kInfoFieldCount] = {
    "ファイル名 :", "タイトル :", "著作権 :", "形式 :",     "トラック数 :", "タイムベース :", "テンポ :",
    "調号 :",       "拍子 :",     "音源 :",   "更新日時 :", "サイズ :",     "WRDファイル :",
};
const char* const kDocumentLabels[kDocumentChoiceCount - 1] = {"hed(&H)", "txt(&T)", "doc(&D)", "log(&L)"};

PropertyWindow* openWindow = nullptr;

const DLGTEMPLATE* PropertyTemplate() {
    static std::unique_ptr<DialogTemplate> dialog;
    if (dialog) {
        return dialog->Template();
    }
    dialog = std::make_unique<DialogTemplate>("プロパティ - Quillory", 280, 236);
    dialog->Add(WC_TABCONTROLA, kTabControl, WS_TABSTOP, 6, 6, 268, 206, "");
    for (int i = 0; i < kInfoFieldCount; i++) {
        const short y = short(26 + 14 * i);
        dialog->Add(kStaticAtom, kFirstLabel + i, SS_LEFT, 14, y, 62, 8, kInfoLabels[i]);
        dialog->Add(kEditAtom, kFirstValue + i, ES_READONLY | ES_AUTOHSCROLL, 78, y, 188, 10, "");
    }
    const DWORD listStyle = LVS_REPORT | LVS_NOSORTHEADER | WS_BORDER | WS_TABSTOP;
    dialog->Add(WC_LISTVIEWA, kTrackList, listStyle, 12, 24, 256, 182, "");
    dialog->Add(WC_LISTVIEWA, kRelatedList, listStyle, 12, 24, 256, 182, "");
    const DWORD textStyle = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_HSCROLL | WS_BORDER;
    dialog->Edit(kCommentEdit, textStyle, 12, 24, 256, 182);
    dialog->Edit(kDocumentEdit, textStyle, 12, 24, 256, 164);
    for (int i = 0; i < kDocumentChoiceCount; i++) {
        dialog->Radio(kFirstDocumentRadio + i, i == 0, short(12 + 52 * i), 194, 50,
                      i < kDocumentChoiceCount - 1 ? kDocumentLabels[i] : "未定義");
    }
    dialog->Button(IDCANCEL, 224, 218, 50, "閉じる");
    return dialog->Template();
}

void SetCell(HWND list, int row, int column, const std::string& text) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    if (column == 0) {
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    } else {
        SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    }
}

// The controls of each tab.
bool OnTab(int id, int tab) {
    switch (tab) {
        case 0:
            return (id >= kFirstValue && id < kFirstValue + kInfoFieldCount) ||
                   (id >= kFirstLabel && id < kFirstLabel + kInfoFieldCount);
        case 1:
            return id == kTrackList;
        case 2:
            return id == kRelatedList;
        case 3:
            return id == kCommentEdit;
        default:
            return id == kDocumentEdit ||
                   (id >= kFirstDocumentRadio && id < kFirstDocumentRadio + kDocumentChoiceCount);
    }
}

BOOL CALLBACK ShowControlOfTab(HWND control, LPARAM tab) {
    const int id = GetDlgCtrlID(control);
    if (id == kTabControl || id == IDCANCEL) {
        return TRUE;
    }
    ShowWindow(control, OnTab(id, int(tab)) ? SW_SHOW : SW_HIDE);
    return TRUE;
}

}  // namespace

PropertyWindow::PropertyWindow(SWindow* owner, PropertySettings* place)
    : SDialog(PropertyTemplate(), owner), place_(place) {
}

void PropertyWindow::OnInitDialog(MessageContext& m) {
    const HWND tabs = Item(kTabControl);
    for (int i = 0; i < kTabCount; i++) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(kTabCaptions[i]);
        SendMessageA(tabs, TCM_INSERTITEMA, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    const HWND tracks = Item(kTrackList);
    ListView_SetExtendedListViewStyle(tracks, LVS_EX_FULLROWSELECT);
    InsertListColumn(tracks, 0, "", 20);
    InsertListColumn(tracks, 1, "トラック", 60);
    InsertListColumn(tracks, 2, "チャンネル", 70);
    InsertListColumn(tracks, 3, "メモ", 230);
    InsertListColumn(Item(kRelatedList), 0, "ファイル名", 360);
    fixedFont_ = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, FIXED_PITCH | FF_MODERN,
                             "ＭＳ ゴシック");
    SendMessageA(Item(kCommentEdit), WM_SETFONT, WPARAM(fixedFont_), FALSE);
    SendMessageA(Item(kDocumentEdit), WM_SETFONT, WPARAM(fixedFont_), FALSE);
    if (place_->winX != kUseDefaultPosition && place_->winY != kUseDefaultPosition) {
        SetWindowPos(Handle(), nullptr, place_->winX, place_->winY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ShowTab(place_->tabSelect < uint32_t(kTabCount) ? int(place_->tabSelect) : 0);
    m.handled = 1;
    m.result = TRUE;
}

void PropertyWindow::ShowTab(int tab) {
    SendMessageA(Item(kTabControl), TCM_SETCURSEL, WPARAM(tab), 0);
    EnumChildWindows(Handle(), ShowControlOfTab, tab);
}

void PropertyWindow::ClearPages() {
    for (int i = 0; i < kInfoFieldCount; i++) {
        SetDlgItemTextA(Handle(), kFirstValue + i, "");
    }
    SendMessageA(Item(kTrackList), LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(Item(kRelatedList), LVM_DELETEALLITEMS, 0, 0);
    SetDlgItemTextA(Handle(), kCommentEdit, "");
    SetDlgItemTextA(Handle(), kDocumentEdit, "");
    for (int i = 0; i < kDocumentChoiceCount; i++) {
        CheckDlgButton(Handle(), kFirstDocumentRadio + i, BST_UNCHECKED);
        EnableWindow(Item(kFirstDocumentRadio + i), FALSE);
    }
}

int32_t PropertyWindow::Fill(const SongPropertyRequest& request) {
    request_ = request;
    const HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SongPropertyTexts texts;
    FillSongProperties(request, &texts);
    ClearPages();
    SetText(texts.caption.c_str());
    SetDlgItemTextA(Handle(), kFirstLabel + 2, texts.thirdLabel.c_str());
    const std::string* values[kInfoFieldCount] = {
        &texts.fileName, &texts.title, &texts.thirdValue, &texts.format,        &texts.trackCount,
        &texts.timeBase, &texts.tempo, &texts.key,        &texts.timeSignature, &texts.module,
        &texts.modified, &texts.size,  &texts.wrdFile,
    };
    for (int i = 0; i < kInfoFieldCount; i++) {
        SetDlgItemTextA(Handle(), kFirstValue + i, values[i]->c_str());
    }
    const HWND tracks = Item(kTrackList);
    for (size_t i = 0; i < texts.tracks.size(); i++) {
        SetCell(tracks, int(i), 0, "");
        SetCell(tracks, int(i), 1, texts.tracks[i].number);
        SetCell(tracks, int(i), 2, texts.tracks[i].channel);
        SetCell(tracks, int(i), 3, texts.tracks[i].memo);
    }
    for (size_t i = 0; i < texts.relatedFiles.size(); i++) {
        SetCell(Item(kRelatedList), int(i), 0, texts.relatedFiles[i]);
    }
    SetDlgItemTextA(Handle(), kCommentEdit, texts.comment.c_str());
    SetDlgItemTextA(Handle(), kFirstDocumentRadio + kDocumentChoiceCount - 1,
                    UserDocumentLabel(request.userTextExt.c_str()).c_str());
    for (int i = 0; i < kDocumentChoiceCount; i++) {
        EnableWindow(Item(kFirstDocumentRadio + i), (texts.documentFlags >> i) & 1);
    }
    const int first = FirstDocumentChoice(texts.documentFlags);
    if (first >= 0) {
        CheckDlgButton(Handle(), kFirstDocumentRadio + first, BST_CHECKED);
        ShowDocument(first);
    }
    SetCursor(previous);
    return texts.result;
}

void PropertyWindow::ShowDocument(int choice) {
    const std::string text =
        ReadDocumentText(request_.path.c_str(), choice, request_.userTextExt.c_str(), kDocumentBytes);
    SetDlgItemTextA(Handle(), kDocumentEdit, text.c_str());
}

void PropertyWindow::OnCommand(MessageContext& m) {
    const int id = LOWORD(m.wParam);
    if (id >= kFirstDocumentRadio && id < kFirstDocumentRadio + kDocumentChoiceCount) {
        m.handled = 1;
        ShowDocument(id - kFirstDocumentRadio);
        return;
    }
    SDialog::OnCommand(m);
}

void PropertyWindow::OnNotify(MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom == kTabControl && header->code == TCN_SELCHANGE) {
        const int tab = int(SendMessageA(Item(kTabControl), TCM_GETCURSEL, 0, 0));
        place_->tabSelect = uint32_t(tab);
        ShowTab(tab);
    }
}

void PropertyWindow::OnDestroy(MessageContext& m) {
    // A minimized window has no place worth keeping.
    const bool minimized = IsIconic(Handle()) != 0;
    place_->window = minimized ? 1 : 0;
    if (!minimized) {
        const RECT own = WindowRect();
        place_->winX = own.left;
        place_->winY = own.top;
    }
    if (fixedFont_) {
        DeleteObject(fixedFont_);
        fixedFont_ = nullptr;
    }
    if (openWindow == this) {
        openWindow = nullptr;
    }
    SDialog::OnDestroy(m);
}

int32_t ShowSongProperties(SWindow* owner, PropertySettings* place, const SongPropertyRequest& request, bool activate) {
    if (!openWindow || !openWindow->Handle()) {
        auto* window = new PropertyWindow(owner, place);
        window->SetAutoDelete(true);
        openWindow = window;
        if (!window->Create()) {
            openWindow = nullptr;
            return -2;  // as for a song that cannot be read
        }
        window->Show(SW_SHOW);
    } else if (activate) {
        openWindow->Show(SW_SHOW);
        openWindow->SetForeground();
    }
    return openWindow->Fill(request);
}

HWND PropertyWindowHandle() {
    return openWindow ? openWindow->Handle() : nullptr;
}
