// The search bar band ("Kadrel SearchBar"): a drop-down combo box for the
// search text and a flat tool bar with the five search buttons. Enter in the
// text box searches down, Shift+Enter up; Tab and Escape give the focus back
// to the pane that had it.
#pragma once

#include <windows.h>

#include <memory>

#include "ui/framework/Controls_win.h"
#include "ui/framework/SWindow_win.h"

class MainWindow;

constexpr char kSearchBarClass[] = "Kadrel SearchBar";

class SearchBar : public SWindow {
   public:
    SearchBar(SWindow* parent, MainWindow* main);
    ~SearchBar() override;

    void FocusText();
    HWND ComboHandle() const;

   protected:
    void OnCreate(MessageContext& m) override;

   private:
    bool CreateCombo();
    void CreateButtons();
    static LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);
    bool OnEditKey(UINT message, WPARAM key);
    // A 96-DPI length on the main window's screen.
    int Scaled(int pixels) const;

    MainWindow* main_;
    std::unique_ptr<SComboBox> combo_;
    std::unique_ptr<SToolBar> buttons_;
    SImageList images_;
    SFont font_;
    HWND edit_ = nullptr;
};
