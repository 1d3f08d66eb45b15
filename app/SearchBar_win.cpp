// The search bar: text box, buttons and the keys of the text box.
#include "app/SearchBar_win.h"

#include <commctrl.h>

#include "app/ClientWindow_win.h"
#include "app/MainWindow_win.h"
#include "core/CommandIds.h"
#include "ui/framework/Dpi_win.h"
#include "ui/framework/ProgramValues_win.h"

static const int kComboId = 1;
static const int kButtonsId = 2;
static const int kFirstSearchImage = 15;  // the search glyphs in image resource 4
static const int kSearchImageCount = 5;
// Sizes in 96-DPI pixels, scaled to the main window's screen.
static const int kBarWidth = 242;  // combo, gap and buttons
static const int kBarHeight = 24;
static const int kImageSide = 16;

SearchBar::SearchBar(SWindow* parent, MainWindow* main) : SWindow(kSearchBarClass, parent, kWindowKind), main_(main) {
    SetStyle(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0);
    SetBounds(0, 0, Scaled(kBarWidth), Scaled(kBarHeight));
    SetClassLook(nullptr, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    SetChildId(12);
}

int SearchBar::Scaled(int pixels) const {
    return ScaleFromBase(pixels, main_->Dpi());
}

SearchBar::~SearchBar() {
    if (edit_) {
        RemoveWindowSubclass(edit_, EditProc, 0);
    }
}

void SearchBar::OnCreate(MessageContext&) {
    if (CreateCombo()) {
        CreateButtons();
    }
}

// The text box with its history list; false when it could not be made.
bool SearchBar::CreateCombo() {
    combo_ = std::make_unique<SComboBox>(this, kComboId, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP);
    combo_->SetBounds(0, Scaled(1), Scaled(112), Scaled(176));
    if (!combo_->Create()) {
        combo_.reset();
        return false;
    }
    if (font_.Create(-Scaled(12), FW_NORMAL)) {
        combo_->Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
    }
    edit_ = GetWindow(combo_->Handle(), GW_CHILD);
    if (edit_) {
        SetWindowSubclass(edit_, EditProc, 0, reinterpret_cast<DWORD_PTR>(this));
    }
    return true;
}

// The search, select, narrow and widen buttons beside the text box.
void SearchBar::CreateButtons() {
    buttons_ = std::make_unique<SToolBar>(
        this, kButtonsId, TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN);
    buttons_->SetBounds(Scaled(114), 0, Scaled(128), Scaled(22));
    if (!buttons_->Create()) {
        buttons_.reset();
        return;
    }
    buttons_->SetButtonStructSize();
    buttons_->Send(TB_SETPARENT, reinterpret_cast<WPARAM>(main_->Handle()), 0);
    HBITMAP bitmap = LoadBitmapA(Program().instance, MAKEINTRESOURCEA(4));
    if (images_.CreateFromStrip(bitmap, kImageSide, 20, RGB(0xC0, 0xC0, 0xC0), main_->Dpi())) {
        buttons_->SetImageList(images_.Handle());
    }
    if (bitmap) {
        DeleteObject(bitmap);
    }
    static const int kCommands[kSearchImageCount] = {kCmdBarSearchDown, kCmdBarSearchUp, kCmdBarSelect, kCmdBarNarrow,
                                                     kCmdBarWiden};
    static const int kImages[kSearchImageCount] = {1, 0, 2, 3, 4};
    TBBUTTON rows[kSearchImageCount] = {};
    for (int i = 0; i < kSearchImageCount; ++i) {
        rows[i].iBitmap = kFirstSearchImage + kImages[i];
        rows[i].idCommand = kCommands[i];
        rows[i].fsState = TBSTATE_ENABLED;
        rows[i].fsStyle = BTNS_BUTTON;
    }
    buttons_->AddButtons(kSearchImageCount, rows);
}

void SearchBar::FocusText() {
    if (combo_) {
        combo_->SetFocus();
    }
}

HWND SearchBar::ComboHandle() const {
    return combo_ ? combo_->Handle() : nullptr;
}

// True when the key belongs to the search bar and must not reach the edit.
bool SearchBar::OnEditKey(UINT message, WPARAM key) {
    if (message == WM_CHAR) {
        return key == '\r' || key == '\t' || key == 0x1B;
    }
    if (message != WM_KEYDOWN) {
        return false;
    }
    if (key == VK_RETURN) {
        const bool up = GetKeyState(VK_SHIFT) < 0;
        main_->Post(WM_COMMAND, up ? kCmdBarSearchUp : kCmdBarSearchDown, 0);
        return true;
    }
    if (key == VK_TAB || key == VK_ESCAPE) {
        ClientWindow* client = main_->Client();
        HWND pane = client ? client->ListHandle() : nullptr;
        main_->Send(WM_ACTIVATE, WA_ACTIVE, 0);
        if (GetFocus() == edit_ && pane) {
            ::SetFocus(pane);
        }
        return true;
    }
    return false;
}

LRESULT CALLBACK SearchBar::EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (reinterpret_cast<SearchBar*>(data)->OnEditKey(message, wParam)) {
        return 0;
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}
