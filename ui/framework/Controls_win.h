// Wrappers of the platform controls the program uses: each one an SWindow of
// kind 1 with child style, made of one-line forwards to the control's
// messages, plus owners of image lists, fonts and menus. Each forward returns
// what the control's message returns.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/framework/SWindow_win.h"

// A platform control: class name, child style, parent and child identifier.
class SControl : public SWindow {
   public:
    SControl(const char* className, SWindow* parent, int childId, DWORD style);
};

// Inserts a report column into a list view control; its index, or -1.
int InsertListColumn(HWND list, int index, const char* text, int width, int format = LVCFMT_LEFT);

class SListView : public SControl {
   public:
    SListView(SWindow* parent, int childId, DWORD style);
    int InsertColumn(int index, const char* text, int width, int format);
    bool SetColumnWidth(int index, int width);
    int GetColumnWidth(int index);
    DWORD SetExtendedStyle(DWORD mask, DWORD style);
    int SetView(DWORD view);
    int GetItemCount();
    bool SetItemCount(int count, DWORD flags);
    int InsertItem(const LVITEMA* item);
    bool GetItem(LVITEMA* item);
    bool SetItemState(int index, UINT state, UINT mask);
    int GetNextItem(int start, UINT flags);
    bool EnsureVisible(int index, bool partialOk);
    bool DeleteAllItems();
    HIMAGELIST SetImageList(HIMAGELIST list, int which);
    bool RedrawItems(int first, int last);
};

class STreeView : public SControl {
   public:
    STreeView(SWindow* parent, int childId, DWORD style);
    HTREEITEM InsertItem(const TVINSERTSTRUCTA* insert);
    bool DeleteItem(HTREEITEM item);
    bool GetItem(TVITEMA* item);
    bool SetItem(const TVITEMA* item);
    bool SelectItem(HTREEITEM item);
    HTREEITEM GetNextItem(HTREEITEM item, UINT relation);
    bool Expand(HTREEITEM item, UINT action);
    bool EnsureVisible(HTREEITEM item);
    HIMAGELIST SetImageList(HIMAGELIST list, int which);
};

class SToolBar : public SControl {
   public:
    SToolBar(SWindow* parent, int childId, DWORD style);
    void SetButtonStructSize();
    HIMAGELIST SetImageList(HIMAGELIST list);
    bool AddButtons(int count, const TBBUTTON* buttons);
    bool CheckButton(int command, bool check);
    bool EnableButton(int command, bool enable);
    DWORD GetButtonSize();
    void AutoSize();
};

class SReBar : public SControl {
   public:
    SReBar(SWindow* parent, int childId, DWORD style);
    bool InsertBand(int index, const REBARBANDINFOA* band);
    bool GetBandInfo(int index, REBARBANDINFOA* band);
    bool SetBandInfo(int index, const REBARBANDINFOA* band);
    int GetBandCount();
    bool ShowBand(int index, bool show);
    int IdToIndex(UINT id);
    UINT GetBarHeight();
};

class SStatusBar : public SControl {
   public:
    SStatusBar(SWindow* parent, int childId, DWORD style);
    bool SetParts(int count, const int* rightEdges);
    bool SetPartText(int part, const char* text);
    bool SetSimple(bool simple);
};

class STab : public SControl {
   public:
    STab(SWindow* parent, int childId, DWORD style);
    int InsertItem(int index, const char* text);
    int GetCurSel();
    int SetCurSel(int index);
    void AdjustRect(bool larger, RECT* rect);
};

class SProgressBar : public SControl {
   public:
    SProgressBar(SWindow* parent, int childId, DWORD style);
    DWORD SetRange(int low, int high);
    int SetPos(int position);
};

class SButton : public SControl {
   public:
    SButton(SWindow* parent, int childId, DWORD style);
    int GetCheck();
    void SetCheck(int state);
    void Click();
};

class SComboBox : public SControl {
   public:
    SComboBox(SWindow* parent, int childId, DWORD style);
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    void ResetContent();
    int GetCount();
    int GetCurSel();
    int SetCurSel(int index);
    bool LimitText(int bytes);
};

// An image list owned by its object.
class SImageList {
   public:
    SImageList() = default;
    ~SImageList();
    SImageList(const SImageList&) = delete;
    SImageList& operator=(const SImageList&) = delete;
    bool Create(int width, int height, UINT flags, int initial, int grow);
    // Makes the list (letting go of what it held) from a strip of count
    // square pictures of side pixels at 96 DPI, stretched for dpi, with mask
    // as the transparent colour.
    bool CreateFromStrip(HBITMAP strip, int side, int count, COLORREF mask, int dpi);
    int AddMasked(HBITMAP bitmap, COLORREF mask);
    int AddIcon(HICON icon);
    HIMAGELIST Handle() const;

   private:
    HIMAGELIST list_ = nullptr;
};

// The program's font ("MS UI Gothic"), owned by its object.
class SFont {
   public:
    SFont() = default;
    ~SFont();
    SFont(const SFont&) = delete;
    SFont& operator=(const SFont&) = delete;
    // height in logical units, negative for the character height.
    bool Create(int height, int weight);
    HFONT Handle() const;

   private:
    HFONT font_ = nullptr;
};

// A menu bar or pop-up menu. A menu the object created is destroyed with it
// unless it was handed to a window.
class SMenu {
   public:
    SMenu() = default;
    ~SMenu();
    SMenu(const SMenu&) = delete;
    SMenu& operator=(const SMenu&) = delete;
    bool Create();
    bool CreatePopup();
    bool Load(int resourceId);
    // Gives up ownership, as when the menu becomes a window's menu bar.
    HMENU Release();
    HMENU Handle() const;
    HMENU SubMenu(int position) const;
    bool Append(UINT flags, UINT_PTR id, const char* text);
    DWORD Check(UINT id, bool check);
    bool RadioCheck(UINT first, UINT last, UINT id);
    bool Enable(UINT id, bool enable);
    bool SetItemBitmaps(UINT id, HBITMAP unchecked, HBITMAP checked);
    // The chosen command with TPM_RETURNCMD, else whether the menu ran.
    int Track(UINT flags, int x, int y, HWND owner);

   private:
    HMENU menu_ = nullptr;
    bool owned_ = false;
};
