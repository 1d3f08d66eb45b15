// The control wrappers: one-line forwards to each control's messages.
#include "ui/framework/Controls_win.h"

#include "ui/framework/Dpi_win.h"
#include "ui/rules/ScreenLayout.h"

constexpr char kProgramFontFace[] = "MS UI Gothic";

static LPARAM ToLParam(const void* pointer) {
    return reinterpret_cast<LPARAM>(pointer);
}

SControl::SControl(const char* className, SWindow* parent, int childId, DWORD style)
    : SWindow(className, parent, kControlKind) {
    SetStyle(WS_CHILD | WS_VISIBLE | style, 0);
    SetChildId(childId);
}

SListView::SListView(SWindow* parent, int childId, DWORD style) : SControl(WC_LISTVIEWA, parent, childId, style) {
}

int InsertListColumn(HWND list, int index, const char* text, int width, int format) {
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(text);
    column.iSubItem = index;
    return int(SendMessageA(list, LVM_INSERTCOLUMNA, WPARAM(index), reinterpret_cast<LPARAM>(&column)));
}

int SListView::InsertColumn(int index, const char* text, int width, int format) {
    return InsertListColumn(Handle(), index, text, width, format);
}

bool SListView::SetColumnWidth(int index, int width) {
    return Send(LVM_SETCOLUMNWIDTH, WPARAM(index), MAKELPARAM(width, 0)) != 0;
}

int SListView::GetColumnWidth(int index) {
    return int(Send(LVM_GETCOLUMNWIDTH, WPARAM(index), 0));
}

DWORD SListView::SetExtendedStyle(DWORD mask, DWORD style) {
    return DWORD(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style));
}

int SListView::SetView(DWORD view) {
    return int(Send(LVM_SETVIEW, view, 0));
}

int SListView::GetItemCount() {
    return int(Send(LVM_GETITEMCOUNT, 0, 0));
}

bool SListView::SetItemCount(int count, DWORD flags) {
    return Send(LVM_SETITEMCOUNT, WPARAM(count), flags) != 0;
}

int SListView::InsertItem(const LVITEMA* item) {
    return int(Send(LVM_INSERTITEMA, 0, ToLParam(item)));
}

bool SListView::GetItem(LVITEMA* item) {
    return Send(LVM_GETITEMA, 0, ToLParam(item)) != 0;
}

bool SListView::SetItemState(int index, UINT state, UINT mask) {
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    return Send(LVM_SETITEMSTATE, WPARAM(index), ToLParam(&item)) != 0;
}

int SListView::GetNextItem(int start, UINT flags) {
    return int(Send(LVM_GETNEXTITEM, WPARAM(start), MAKELPARAM(flags, 0)));
}

bool SListView::EnsureVisible(int index, bool partialOk) {
    return Send(LVM_ENSUREVISIBLE, WPARAM(index), partialOk) != 0;
}

bool SListView::DeleteAllItems() {
    return Send(LVM_DELETEALLITEMS, 0, 0) != 0;
}

HIMAGELIST SListView::SetImageList(HIMAGELIST list, int which) {
    return reinterpret_cast<HIMAGELIST>(Send(LVM_SETIMAGELIST, WPARAM(which), ToLParam(list)));
}

bool SListView::RedrawItems(int first, int last) {
    return Send(LVM_REDRAWITEMS, WPARAM(first), last) != 0;
}

STreeView::STreeView(SWindow* parent, int childId, DWORD style) : SControl(WC_TREEVIEWA, parent, childId, style) {
}

HTREEITEM STreeView::InsertItem(const TVINSERTSTRUCTA* insert) {
    return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, ToLParam(insert)));
}

bool STreeView::DeleteItem(HTREEITEM item) {
    return Send(TVM_DELETEITEM, 0, ToLParam(item)) != 0;
}

bool STreeView::GetItem(TVITEMA* item) {
    return Send(TVM_GETITEMA, 0, ToLParam(item)) != 0;
}

bool STreeView::SetItem(const TVITEMA* item) {
    return Send(TVM_SETITEMA, 0, ToLParam(item)) != 0;
}

bool STreeView::SelectItem(HTREEITEM item) {
    return Send(TVM_SELECTITEM, TVGN_CARET, ToLParam(item)) != 0;
}

HTREEITEM STreeView::GetNextItem(HTREEITEM item, UINT relation) {
    return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, relation, ToLParam(item)));
}

bool STreeView::Expand(HTREEITEM item, UINT action) {
    return Send(TVM_EXPAND, action, ToLParam(item)) != 0;
}

bool STreeView::EnsureVisible(HTREEITEM item) {
    return Send(TVM_ENSUREVISIBLE, 0, ToLParam(item)) != 0;
}

HIMAGELIST STreeView::SetImageList(HIMAGELIST list, int which) {
    return reinterpret_cast<HIMAGELIST>(Send(TVM_SETIMAGELIST, WPARAM(which), ToLParam(list)));
}

SToolBar::SToolBar(SWindow* parent, int childId, DWORD style) : SControl(TOOLBARCLASSNAMEA, parent, childId, style) {
}

void SToolBar::SetButtonStructSize() {
    Send(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
}

HIMAGELIST SToolBar::SetImageList(HIMAGELIST list) {
    return reinterpret_cast<HIMAGELIST>(Send(TB_SETIMAGELIST, 0, ToLParam(list)));
}

bool SToolBar::AddButtons(int count, const TBBUTTON* buttons) {
    return Send(TB_ADDBUTTONSA, WPARAM(count), ToLParam(buttons)) != 0;
}

bool SToolBar::CheckButton(int command, bool check) {
    return Send(TB_CHECKBUTTON, WPARAM(command), MAKELPARAM(check, 0)) != 0;
}

bool SToolBar::EnableButton(int command, bool enable) {
    return Send(TB_ENABLEBUTTON, WPARAM(command), MAKELPARAM(enable, 0)) != 0;
}

DWORD SToolBar::GetButtonSize() {
    return DWORD(Send(TB_GETBUTTONSIZE, 0, 0));
}

void SToolBar::AutoSize() {
    Send(TB_AUTOSIZE, 0, 0);
}

SReBar::SReBar(SWindow* parent, int childId, DWORD style) : SControl(REBARCLASSNAMEA, parent, childId, style) {
}

bool SReBar::InsertBand(int index, const REBARBANDINFOA* band) {
    return Send(RB_INSERTBANDA, WPARAM(index), ToLParam(band)) != 0;
}

bool SReBar::GetBandInfo(int index, REBARBANDINFOA* band) {
    return Send(RB_GETBANDINFOA, WPARAM(index), ToLParam(band)) != 0;
}

bool SReBar::SetBandInfo(int index, const REBARBANDINFOA* band) {
    return Send(RB_SETBANDINFOA, WPARAM(index), ToLParam(band)) != 0;
}

int SReBar::GetBandCount() {
    return int(Send(RB_GETBANDCOUNT, 0, 0));
}

bool SReBar::ShowBand(int index, bool show) {
    return Send(RB_SHOWBAND, WPARAM(index), show) != 0;
}

int SReBar::IdToIndex(UINT id) {
    return int(Send(RB_IDTOINDEX, id, 0));
}

UINT SReBar::GetBarHeight() {
    return UINT(Send(RB_GETBARHEIGHT, 0, 0));
}

SStatusBar::SStatusBar(SWindow* parent, int childId, DWORD style) : SControl(STATUSCLASSNAMEA, parent, childId, style) {
}

bool SStatusBar::SetParts(int count, const int* rightEdges) {
    return Send(SB_SETPARTS, WPARAM(count), ToLParam(rightEdges)) != 0;
}

bool SStatusBar::SetPartText(int part, const char* text) {
    return Send(SB_SETTEXTA, WPARAM(part), ToLParam(text)) != 0;
}

bool SStatusBar::SetSimple(bool simple) {
    return Send(SB_SIMPLE, simple, 0) != 0;
}

STab::STab(SWindow* parent, int childId, DWORD style) : SControl(WC_TABCONTROLA, parent, childId, style) {
}

int STab::InsertItem(int index, const char* text) {
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(text);
    return int(Send(TCM_INSERTITEMA, WPARAM(index), ToLParam(&item)));
}

int STab::GetCurSel() {
    return int(Send(TCM_GETCURSEL, 0, 0));
}

int STab::SetCurSel(int index) {
    return int(Send(TCM_SETCURSEL, WPARAM(index), 0));
}

void STab::AdjustRect(bool larger, RECT* rect) {
    Send(TCM_ADJUSTRECT, larger, ToLParam(rect));
}

SProgressBar::SProgressBar(SWindow* parent, int childId, DWORD style)
    : SControl(PROGRESS_CLASSA, parent, childId, style) {
}

DWORD SProgressBar::SetRange(int low, int high) {
    return DWORD(Send(PBM_SETRANGE32, WPARAM(low), high));
}

int SProgressBar::SetPos(int position) {
    return int(Send(PBM_SETPOS, WPARAM(position), 0));
}

SButton::SButton(SWindow* parent, int childId, DWORD style) : SControl("Button", parent, childId, style) {
}

int SButton::GetCheck() {
    return int(Send(BM_GETCHECK, 0, 0));
}

void SButton::SetCheck(int state) {
    Send(BM_SETCHECK, WPARAM(state), 0);
}

void SButton::Click() {
    Send(BM_CLICK, 0, 0);
}

SComboBox::SComboBox(SWindow* parent, int childId, DWORD style) : SControl("ComboBox", parent, childId, style) {
}

int SComboBox::AddString(const char* text) {
    return int(Send(CB_ADDSTRING, 0, ToLParam(text)));
}

int SComboBox::InsertString(int index, const char* text) {
    return int(Send(CB_INSERTSTRING, WPARAM(index), ToLParam(text)));
}

void SComboBox::ResetContent() {
    Send(CB_RESETCONTENT, 0, 0);
}

int SComboBox::GetCount() {
    return int(Send(CB_GETCOUNT, 0, 0));
}

int SComboBox::GetCurSel() {
    return int(Send(CB_GETCURSEL, 0, 0));
}

int SComboBox::SetCurSel(int index) {
    return int(Send(CB_SETCURSEL, WPARAM(index), 0));
}

bool SComboBox::LimitText(int bytes) {
    return Send(CB_LIMITTEXT, WPARAM(bytes), 0) != 0;
}

SImageList::~SImageList() {
    if (list_) {
        ImageList_Destroy(list_);
    }
}

bool SImageList::Create(int width, int height, UINT flags, int initial, int grow) {
    list_ = ImageList_Create(width, height, flags, initial, grow);
    return list_ != nullptr;
}

bool SImageList::CreateFromStrip(HBITMAP strip, int side, int count, COLORREF mask, int dpi) {
    if (list_) {
        ImageList_Destroy(list_);
        list_ = nullptr;
    }
    const int scaled = ScaleFromBase(side, dpi);
    if (!strip || !Create(scaled, scaled, ILC_COLOR24 | ILC_MASK, count, 0)) {
        return false;
    }
    HBITMAP stretched = StretchedBitmap(strip, dpi);
    AddMasked(stretched ? stretched : strip, mask);
    if (stretched) {
        DeleteObject(stretched);
    }
    return true;
}

int SImageList::AddMasked(HBITMAP bitmap, COLORREF mask) {
    return ImageList_AddMasked(list_, bitmap, mask);
}

int SImageList::AddIcon(HICON icon) {
    return ImageList_AddIcon(list_, icon);
}

HIMAGELIST SImageList::Handle() const {
    return list_;
}

SFont::~SFont() {
    if (font_) {
        DeleteObject(font_);
    }
}

bool SFont::Create(int height, int weight) {
    font_ = CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, kProgramFontFace);
    return font_ != nullptr;
}

HFONT SFont::Handle() const {
    return font_;
}
