// The song list: columns and views, the texts and images it shows, column
// clicks, type-ahead, its keys and its selection commands.
#include "ui/SongListWindow_win.h"

#include <shellapi.h>

#include <algorithm>

#include "analysis/FileTypes.h"
#include "catalogue/OpenLocation.h"
#include "core/CommandIds.h"
#include "core/MusicObject.h"
#include "core/Text.h"
#include "ui/FolderTreeWindow_win.h"
#include "ui/framework/Dpi_win.h"
#include "ui/rules/BrowseRules.h"
#include "ui/rules/MainWindowRules.h"
#include "ui/rules/ScreenLayout.h"

namespace {

struct ColumnRow {
    const char* header;
    uint32_t WindowSettings::*width;
};

constexpr ColumnRow kColumns[kSongListColumns] = {
    {"ファイル名", &WindowSettings::listWindFileNameWidth},    {"タイトル", &WindowSettings::listWindTitleWidth},
    {"コメント", &WindowSettings::listWindCommentWidth},       {"音源", &WindowSettings::listWindModuleWidth},
    {"更新日時", &WindowSettings::listWindLastWriteTimeWidth},
};

static_assert(kSongListColumns == kListColumnCount, "the fitted widths are the list's columns");

constexpr DWORD kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
constexpr uint32_t kReportView = 3;

// Images of the rows: sequence songs and audio songs.
constexpr int32_t kSequenceImage = 0;
constexpr int32_t kAudioImage = 1;

bool KeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// The shell's icon of a file kind, by extension; null when there is none.
HICON ExtensionIcon(const char* extension, UINT sizeFlag) {
    SHFILEINFOA info = {};
    SHGetFileInfoA(extension, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                   SHGFI_USEFILEATTRIBUTES | SHGFI_ICON | sizeFlag);
    return info.hIcon;
}

void AddExtensionIcons(SImageList* list, UINT sizeFlag) {
    for (const char* extension : {".mid", ".wav"}) {
        HICON icon = ExtensionIcon(extension, sizeFlag);
        list->AddIcon(icon);
        if (icon) {
            DestroyIcon(icon);
        }
    }
}

// An 8 by 8 header mark: blank, a triangle pointing up (ascending) or down.
HBITMAP MakeSortMark(HDC screen, int image) {
    constexpr COLORREF kMaskColour = RGB(255, 0, 255);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    const RECT all = {0, 0, 8, 8};
    HBRUSH mask = CreateSolidBrush(kMaskColour);
    FillRect(dc, &all, mask);
    DeleteObject(mask);
    if (image > 0) {
        const POINT up[] = {{4, 1}, {0, 6}, {7, 6}};
        const POINT down[] = {{0, 1}, {7, 1}, {4, 6}};
        HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNSHADOW));
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Polygon(dc, image == 1 ? up : down, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
    }
    SelectObject(dc, oldBitmap);
    DeleteDC(dc);
    return bitmap;
}

}  // namespace

SongListWindow::SongListWindow(SWindow* parent, BrowsingHost& host)
    : SListView(parent, kSongListId, LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS), host_(host) {
}

uint32_t& SongListWindow::ColumnWidth(int column) {
    return host_.Settings().window.*kColumns[column].width;
}

bool SongListWindow::CreateList(FolderTreeWindow* tree, int dpi) {
    tree_ = tree;
    const ClientSettings& settings = host_.Settings();
    const uint32_t view = settings.listWindow.show < 4 ? settings.listWindow.show : kReportView;
    SetStyle(WS_CHILD | WS_VISIBLE | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS | kViewStyles[view],
             WS_EX_CLIENTEDGE);
    if (!Create()) {
        return false;
    }
    DWORD extended = 0;
    if (settings.listWindow.fullRowSelect) {
        extended |= LVS_EX_FULLROWSELECT;
    }
    if (settings.mode.playMouseSingleClk) {
        extended |= LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT;
    }
    SetExtendedStyle(extended, extended);
    dpi_ = dpi;
    // Stored widths are 96-DPI lengths: what the program wrote before it knew
    // about densities, when Windows showed it as on a 96-DPI screen.
    for (int i = 0; i < kSongListColumns; i++) {
        InsertColumn(i, kColumns[i].header, ScaleFromBase(int(ColumnWidth(i)), dpi), LVCFMT_LEFT);
    }
    CreateImageLists();
    // An owner-data list keeps only focus and selection; the cut state of
    // the play-range mark is asked of the display store row by row.
    Send(LVM_SETCALLBACKMASK, LVIS_CUT, 0);
    SetView(view, true);
    return true;
}

void SongListWindow::CreateImageLists() {
    smallImages_.Create(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), ILC_COLOR32 | ILC_MASK, 2, 0);
    largeImages_.Create(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), ILC_COLOR32 | ILC_MASK, 2, 0);
    AddExtensionIcons(&smallImages_, SHGFI_SMALLICON);
    AddExtensionIcons(&largeImages_, SHGFI_LARGEICON);
    SetImageList(smallImages_.Handle(), LVSIL_SMALL);
    SetImageList(largeImages_.Handle(), LVSIL_NORMAL);
    headerImages_.Create(8, 8, ILC_COLOR24 | ILC_MASK, 3, 0);
    HDC screen = ::GetDC(nullptr);
    for (int image = 0; image < 3; image++) {
        HBITMAP mark = MakeSortMark(screen, image);
        headerImages_.AddMasked(mark, RGB(255, 0, 255));
        DeleteObject(mark);
    }
    ::ReleaseDC(nullptr, screen);
    HWND header = ListView_GetHeader(Handle());
    SendMessageA(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(headerImages_.Handle()));
}

bool SongListWindow::HandleNotify(MessageContext& m) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (header->idFrom != UINT_PTR(kSongListId) || header->hwndFrom != Handle()) {
        return false;
    }
    const bool singleClick = host_.Settings().mode.playMouseSingleClk;
    switch (header->code) {
        case LVN_GETDISPINFOA:
            FillItem(&reinterpret_cast<NMLVDISPINFOA*>(m.lParam)->item);
            break;
        case NM_CUSTOMDRAW:
            m.result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(m.lParam));
            break;
        case LVN_ODFINDITEMA:
            m.result = FindTyped(reinterpret_cast<const NMLVFINDITEMA*>(m.lParam));
            break;
        case LVN_ODFINDITEMW:
            m.result = FindTypedWide(reinterpret_cast<const NMLVFINDITEMW*>(m.lParam));
            break;
        case LVN_COLUMNCLICK:
            ClickColumn(reinterpret_cast<const NMLISTVIEW*>(m.lParam)->iSubItem);
            break;
        case NM_DBLCLK:
        case LVN_ITEMACTIVATE:
            if ((header->code == LVN_ITEMACTIVATE) == singleClick &&
                reinterpret_cast<const NMITEMACTIVATE*>(m.lParam)->iItem >= 0) {
                PostMessageA(host_.ClientHandle(), kMsgPlayControl2, 0, 0);
            }
            break;
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
            UpdateCount();
            break;
        case LVN_BEGINDRAG:
        case LVN_BEGINRDRAG:
            host_.StartDrag(header->code == LVN_BEGINRDRAG);
            break;
        default:
            return true;
    }
    m.handled = 1;
    return true;
}

void SongListWindow::FillItem(LVITEMA* item) {
    const int32_t row = item->iItem;
    if (row < 0 || row >= host_.Catalogue().objectList.Count()) {
        return;
    }
    if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        const std::string text = CellText(row, item->iSubItem);
        CopyBounded(item->pszText, text.c_str(), size_t(item->cchTextMax) - 1);
    }
    if (item->mask & LVIF_IMAGE) {
        item->iImage = ImageOf(row);
    }
    if ((item->mask & LVIF_STATE) && (item->stateMask & LVIS_CUT) && store_.HasRangeMark(row)) {
        item->state |= LVIS_CUT;
    }
}

// Rows of the play range are drawn on a tinted ground, so that the range
// stays in sight while the selection moves on.
LRESULT SongListWindow::CustomDraw(NMLVCUSTOMDRAW* draw) const {
    constexpr COLORREF kRangeGround = RGB(255, 240, 200);
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            if (store_.HasRangeMark(int32_t(draw->nmcd.dwItemSpec))) {
                draw->clrTextBk = kRangeGround;
                return CDRF_NEWFONT;
            }
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}

void SongListWindow::SetRangeMark(int32_t row, bool on) {
    store_.SetRangeMark(row, on);
    RedrawItems(row, row);
}

bool SongListWindow::HasRangeMark(int32_t row) const {
    return store_.HasRangeMark(row);
}

std::string SongListWindow::CellText(int32_t row, int column) {
    const BagBox& list = host_.Catalogue().objectList;
    switch (column) {
        case 0:
            return list.Read(row, ObjectListColumn::displayName);
        case 1: {
            std::string title = CachedText(row, DisplayText::title);
            if (host_.Settings().mode.cutTitleSpace) {
                CompactSpaces(&title[0]);
                title.resize(std::char_traits<char>::length(title.c_str()));
            }
            return title;
        }
        case 2:
            return CachedText(row, DisplayText::comment);
        case 3:
            return CachedText(row, DisplayText::soundModule);
        case 4:
            return DateColumnText(list.Read(row, ObjectListColumn::timeText));
        default:
            return std::string();
    }
}

// The cached text of a row, fetched through the title cache (or the song
// itself) the first time.
const char* SongListWindow::CachedText(int32_t row, DisplayText which) {
    const char* cached = store_.Text(row, which);
    if (cached) {
        return cached;
    }
    CatalogueState& state = host_.Catalogue();
    static SongAnalyzer plain;
    SongAnalyzer& analyzer = state.analyzer ? *state.analyzer : plain;
    const char* path = state.objectList.Read(row, ObjectListColumn::path);
    const char* timeText = state.objectList.Read(row, ObjectListColumn::timeText);
    const int32_t fileType = state.objectList.iRead(row, ObjectListColumn::fileType);
    if (which == DisplayText::soundModule) {
        std::string module;
        LookUpSoundModule(state.cache, analyzer, path, timeText, fileType, &module);
        store_.SetText(row, which, module.c_str());
    } else {
        std::string title;
        std::string comment;
        LookUpTitleAndComment(state.cache, analyzer, path, timeText, fileType, &title, &comment);
        store_.SetText(row, DisplayText::title, title.c_str());
        store_.SetText(row, DisplayText::comment, comment.c_str());
    }
    cached = store_.Text(row, which);
    return cached ? cached : "";
}

int32_t SongListWindow::ImageOf(int32_t row) {
    int32_t image = store_.Image(row);
    if (image < 0) {
        const int32_t fileType = host_.Catalogue().objectList.iRead(row, ObjectListColumn::fileType);
        image = IsAudioKind(fileType) ? kAudioImage : kSequenceImage;
        store_.SetImage(row, image);
    }
    return image;
}

int32_t SongListWindow::FindTyped(const NMLVFINDITEMA* find) {
    if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL))) {
        return -1;
    }
    return FindTypeAheadRow(host_.Catalogue().objectList, find->lvfi.psz, find->iStart);
}

// Some list views ask in UTF-16 whatever their parent's character set.
int32_t SongListWindow::FindTypedWide(const NMLVFINDITEMW* find) {
    if (!(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || find->lvfi.psz == nullptr) {
        return -1;
    }
    char typed[8] = {};
    WideCharToMultiByte(CP_ACP, 0, find->lvfi.psz, find->lvfi.psz[0] ? 1 : 0, typed, sizeof typed - 1, nullptr,
                        nullptr);
    return FindTypeAheadRow(host_.Catalogue().objectList, typed, find->iStart);
}

void SongListWindow::ClickColumn(int column) {
    if (host_.SequencedPlayRunning()) {
        return;  // the row order is fixed while songs play in order
    }
    CatalogueState& state = host_.Catalogue();
    const ColumnClick click =
        DecideColumnClick(column, state.settings.sortKind, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL));
    if (click.reverseFirst) {
        state.settings.sortDescending = !state.settings.sortDescending;
        host_.Settings().listWindow.sortFlag = state.settings.sortDescending;
    }
    PostMessageA(host_.ClientHandle(), kMsgSortColumn, WPARAM(click.postedColumn), 0);
}

void SongListWindow::OnSortColumn(int32_t column) {
    const CatalogueState& state = host_.Catalogue();
    const SortChange change = DecideSortChange(column, state.settings.sortKind, state.settings.sortDescending);
    if (change.changeOrder) {
        SetSortOrder(change.descending, false);
    } else {
        SetSortKind(change.kind, false);
    }
}

void SongListWindow::SetView(uint32_t view, bool force) {
    if (view >= 4) {
        return;
    }
    host_.CheckMenuRadio(kCmdViewLargeIcons, kCmdViewDetails, int(kCmdViewLargeIcons + view));
    uint32_t& current = host_.Settings().listWindow.show;
    const DWORD style = DWORD(GetWindowLongPtrA(Handle(), GWL_STYLE));
    const bool shownAsIs = (style & LVS_TYPEMASK) == kViewStyles[view];
    if (current == view && shownAsIs && !force) {
        return;
    }
    if ((style & LVS_TYPEMASK) == LVS_REPORT) {
        SaveColumnWidths();
    }
    SetWindowLongPtrA(Handle(), GWL_STYLE, LONG_PTR((style & ~LVS_TYPEMASK) | kViewStyles[view]));
    current = view;
    if (view == kReportView) {
        ApplyHeaderMarks();
        AutoSizeColumns();
    }
    ReopenKeepingFocus();
}

void SongListWindow::SetSortKind(int32_t kind, bool force) {
    const int32_t checked = kind == kSortNone ? kCmdSortNone : kCmdSortByName + kind;
    host_.CheckMenuRadio(kCmdSortByName, kCmdSortNone, checked);
    CatalogueState& state = host_.Catalogue();
    if (state.settings.sortKind == kind && !force) {
        return;
    }
    state.settings.sortKind = kind;
    host_.Settings().listWindow.sort = uint32_t(kind);
    ApplyHeaderMarks();
    ReopenKeepingFocus();
}

void SongListWindow::SetSortOrder(bool descending, bool force) {
    host_.CheckMenuRadio(kCmdSortAscending, kCmdSortDescending, descending ? kCmdSortDescending : kCmdSortAscending);
    CatalogueState& state = host_.Catalogue();
    if (state.settings.sortDescending == descending && !force) {
        return;
    }
    state.settings.sortDescending = descending;
    host_.Settings().listWindow.sortFlag = descending;
    if (state.settings.sortKind == kSortNone) {
        return;
    }
    ApplyHeaderMarks();
    ReopenKeepingFocus();
}

void SongListWindow::ReopenKeepingFocus() {
    CatalogueState& state = host_.Catalogue();
    if (state.location.empty()) {
        return;
    }
    RememberFocusedSong(state, FocusedPath());
    OpenLocation(state, OpenOptions());
}

void SongListWindow::ApplyHeaderMarks() {
    const CatalogueState& state = host_.Catalogue();
    const bool report = host_.Settings().listWindow.show == kReportView;
    HWND header = ListView_GetHeader(Handle());
    for (int column = 0; column < kSongListColumns; column++) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT;
        SendMessageA(header, HDM_GETITEMA, WPARAM(column), reinterpret_cast<LPARAM>(&item));
        const int image = HeaderSortImage(column, state.settings.sortKind, state.settings.sortDescending, report);
        item.mask = HDI_FORMAT | HDI_IMAGE;
        item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
        if (image > 0) {
            item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
        }
        item.iImage = image;
        SendMessageA(header, HDM_SETITEMA, WPARAM(column), reinterpret_cast<LPARAM>(&item));
    }
}

void SongListWindow::AutoSizeColumns() {
    const ClientSettings& settings = host_.Settings();
    if (!AutoSizesColumns(settings.listWindow.columnAutoSize, settings.listWindow.show,
                          host_.Catalogue().objectList.Count())) {
        return;
    }
    for (int column = 0; column < kSongListColumns; column++) {
        SetColumnWidth(column, LVSCW_AUTOSIZE);
    }
}

void SongListWindow::SaveColumnWidths() {
    if ((GetWindowLongPtrA(Handle(), GWL_STYLE) & LVS_TYPEMASK) != LVS_REPORT) {
        return;
    }
    for (int column = 0; column < kSongListColumns; column++) {
        ColumnWidth(column) = uint32_t(ScaleToBase(GetColumnWidth(column), dpi_));
    }
}

int SongListWindow::TextWidth(HWND window, const char* text) {
    HDC dc = ::GetDC(window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return size.cx;
}

void SongListWindow::FitFirstStartColumns() {
    if (host_.Settings().window.columnWidthsStored) {
        return;
    }
    // Room around a text: the cell's margins, and in a header the sort mark.
    const int cellMargin = ScaleFromBase(12, dpi_);
    const int headerMargin = cellMargin + ScaleFromBase(16, dpi_);
    HWND header = ListView_GetHeader(Handle());
    int needed[kListColumnCount];
    for (int i = 0; i < kListColumnCount; i++) {
        needed[i] = TextWidth(header, kColumns[i].header) + headerMargin;
    }
    // The widest date of every digit, and a sound module name of the longer kind.
    for (char digit = '0'; digit <= '9'; digit++) {
        std::string date = "00/00/00 00:00";
        for (char& c : date) {
            c = c == '0' ? digit : c;
        }
        needed[4] = std::max(needed[4], TextWidth(Handle(), date.c_str()) + cellMargin);
    }
    needed[3] = std::max(needed[3], TextWidth(Handle(), "SC-55mk2") + cellMargin);
    // Room for the vertical scroll bar a longer list brings.
    const RECT client = ClientRect();
    const int width = client.right - client.left - SystemMetricAt(SM_CXVSCROLL, dpi_);
    int widths[kListColumnCount];
    FitColumnWidths(width, needed, widths);
    for (int i = 0; i < kListColumnCount; i++) {
        SetColumnWidth(i, widths[i]);
    }
}

void SongListWindow::RescaleForDpi(int previous, int dpi) {
    for (int column = 0; column < kSongListColumns; column++) {
        SetColumnWidth(column, MulDiv(GetColumnWidth(column), dpi, previous));
    }
    dpi_ = dpi;
}

void SongListWindow::SelectAll() {
    {
        CatalogueLockScope lock(host_);
        SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    }
    UpdateCount();
}

void SongListWindow::InvertSelection() {
    {
        CatalogueLockScope lock(host_);
        const int32_t count = host_.Catalogue().objectList.Count();
        for (int32_t row = 0; row < count; row++) {
            const UINT state = UINT(Send(LVM_GETITEMSTATE, WPARAM(row), LVIS_SELECTED));
            SetItemState(row, (state & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
        }
    }
    UpdateCount();
}

int32_t SongListWindow::FocusedRow() {
    return GetNextItem(-1, LVNI_FOCUSED);
}

std::string SongListWindow::FocusedPath() {
    const int32_t row = FocusedRow();
    const BagBox& objects = host_.Catalogue().objectList;
    if (row < 0 || row >= objects.Count()) {
        return std::string();  // no focus, or a list emptied under it
    }
    const char* path = objects.Read(row, ObjectListColumn::path);
    return path ? path : "";
}

bool SongListWindow::FocusedTitle(std::string* title) {
    const int32_t row = FocusedRow();
    if (row < 0 || row >= host_.Catalogue().objectList.Count()) {
        return false;
    }
    *title = CellText(row, 1);
    return true;
}

void SongListWindow::UpdateCount() {
    const int32_t selected = int32_t(Send(LVM_GETSELECTEDCOUNT, 0, 0));
    const CatalogueState& catalogue = host_.Catalogue();
    const std::string text =
        ObjectCountText(catalogue.objectList.Count(), selected, host_.NarrowDepth(), catalogue.hiddenByPlayer);
    host_.SetStatusText(0, text.c_str());
}

void SongListWindow::ClearDisplay() {
    store_.Clear();
    SetItemCount(0, 0);
}

void SongListWindow::RememberTexts(int32_t row, const char* title, const char* comment, const char* soundModule) {
    store_.SetText(row, DisplayText::title, title);
    store_.SetText(row, DisplayText::comment, comment);
    store_.SetText(row, DisplayText::soundModule, soundModule);
}

void SongListWindow::UpdateText(int32_t row, DisplayText which, const char* text) {
    store_.SetText(row, which, text);
    RedrawItems(row, row);
}

void SongListWindow::SaveListPosition(int32_t* selectedRow, int32_t* scrollPosition) {
    *selectedRow = FocusedRow();
    *scrollPosition = int32_t(Send(LVM_GETTOPINDEX, 0, 0));
}

void SongListWindow::ShowRows(int32_t count, int32_t selectedRow, int32_t scrollPosition) {
    {
        CatalogueLockScope lock(host_);
        SetItemCount(count, 0);
        if (scrollPosition > 0 && count > 0) {
            // Scroll the old top row back to the top: first to the end, then to it.
            EnsureVisible(count - 1, false);
            EnsureVisible(scrollPosition < count ? scrollPosition : count - 1, false);
        }
        if (selectedRow >= 0) {
            SetItemState(selectedRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
            EnsureVisible(selectedRow, false);
        }
    }
    AutoSizeColumns();
    UpdateCount();
}

void SongListWindow::ExtendSelection() {
    const int32_t next = FocusedRow() + 1;
    if (next <= 0 || next >= host_.Catalogue().objectList.Count()) {
        return;
    }
    SetItemState(next, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EnsureVisible(next, false);
    UpdateCount();
}

void SongListWindow::OnKeyDown(MessageContext& m) {
    const int key = int(m.wParam);
    const int32_t command =
        SingleKeyCommand(key, KeyHeld(VK_CONTROL), host_.Settings().mode.keyboardFileOperation, false);
    if (command != 0) {
        host_.PostMainCommand(command);
        m.handled = 1;
        return;
    }
    m.handled = 1;
    switch (ListKeyActionFor(key, KeyHeld(VK_SHIFT))) {
        case ListKeyAction::play:
            if (!host_.HandOverRunning()) {
                host_.PostMainCommand(kCmdPlay);
            }
            break;
        case ListKeyAction::deleteItems:
            host_.PostMainCommand(kCmdDelete);
            break;
        case ListKeyAction::extend:
            ExtendSelection();
            break;
        case ListKeyAction::treeBack:
            tree_->TakeFocusFromList(true);
            break;
        case ListKeyAction::treeFocus:
            tree_->TakeFocusFromList(false);
            break;
        case ListKeyAction::contextMenu:
            host_.PostMainCommand(kCmdContextMenu);
            break;
        case ListKeyAction::none:
            m.handled = 0;
            break;
    }
}

void SongListWindow::OnChar(MessageContext& m) {
    // The keys the list handles itself start no type-ahead search either.
    const unsigned character = unsigned(m.wParam);
    const bool ownKey = character == ' ' || character == '\t' || character == '\b' || character == '\r';
    if (ownKey || SwallowsTypedChar(character, host_.Settings().mode.keyboardFileOperation)) {
        m.handled = 1;
    }
}
