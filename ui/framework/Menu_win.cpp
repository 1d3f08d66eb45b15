// The menu wrapper: one-line forwards to the menu calls.
#include "ui/framework/Controls_win.h"

SMenu::~SMenu() {
    if (menu_ && owned_) {
        DestroyMenu(menu_);
    }
}

bool SMenu::Create() {
    menu_ = CreateMenu();
    owned_ = true;
    return menu_ != nullptr;
}

bool SMenu::CreatePopup() {
    menu_ = CreatePopupMenu();
    owned_ = true;
    return menu_ != nullptr;
}

bool SMenu::Load(int resourceId) {
    menu_ = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
    owned_ = true;
    return menu_ != nullptr;
}

HMENU SMenu::Release() {
    owned_ = false;
    return menu_;
}

HMENU SMenu::Handle() const {
    return menu_;
}

HMENU SMenu::SubMenu(int position) const {
    return GetSubMenu(menu_, position);
}

bool SMenu::Append(UINT flags, UINT_PTR id, const char* text) {
    return AppendMenuA(menu_, flags, id, text) != 0;
}

DWORD SMenu::Check(UINT id, bool check) {
    return CheckMenuItem(menu_, id, MF_BYCOMMAND | (check ? MF_CHECKED : MF_UNCHECKED));
}

bool SMenu::RadioCheck(UINT first, UINT last, UINT id) {
    return CheckMenuRadioItem(menu_, first, last, id, MF_BYCOMMAND) != 0;
}

bool SMenu::Enable(UINT id, bool enable) {
    return EnableMenuItem(menu_, id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED)) != -1;
}

bool SMenu::SetItemBitmaps(UINT id, HBITMAP unchecked, HBITMAP checked) {
    return SetMenuItemBitmaps(menu_, id, MF_BYCOMMAND, unchecked, checked) != 0;
}

int SMenu::Track(UINT flags, int x, int y, HWND owner) {
    return TrackPopupMenu(menu_, flags, x, y, 0, owner, nullptr);
}
