// The base handlers of SWindow and its thin wrappers over the window calls.
#include "ui/framework/SWindow_win.h"

#include <ole2.h>
#include <shellapi.h>

#include <vector>

// The base handlers leave the message unhandled, so the default processing
// runs; size, move and paint also keep the object's own record.

void SWindow::OnAfterCreate() {
}

void SWindow::OnPrivateMessage(MessageContext&) {
}

void SWindow::OnCommand(MessageContext&) {
}

void SWindow::OnSysCommand(MessageContext&) {
}

void SWindow::OnAppCommand(MessageContext&) {
}

void SWindow::OnNotify(MessageContext&) {
}

void SWindow::OnCreate(MessageContext&) {
}

void SWindow::OnInitDialog(MessageContext&) {
}

void SWindow::OnDestroy(MessageContext&) {
}

void SWindow::OnQueryEndSession(MessageContext&) {
}

void SWindow::OnEndSession(MessageContext&) {
}

void SWindow::OnSize(MessageContext& m) {
    width_ = LOWORD(m.lParam);
    height_ = HIWORD(m.lParam);
}

void SWindow::OnMove(MessageContext& m) {
    x_ = static_cast<short>(LOWORD(m.lParam));
    y_ = static_cast<short>(HIWORD(m.lParam));
}

void SWindow::OnPaint(MessageContext& m) {
    if (!m.handled) {
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m.window, &paint);
    Draw(dc);
    ::EndPaint(m.window, &paint);
    m.result = 0;
}

void SWindow::Draw(HDC) {
}

void SWindow::OnMouseMove(MessageContext&) {
}

void SWindow::OnLButtonDown(MessageContext&) {
}

void SWindow::OnRButtonDown(MessageContext&) {
}

void SWindow::OnLButtonUp(MessageContext&) {
}

void SWindow::OnRButtonUp(MessageContext&) {
}

void SWindow::OnLButtonDblClk(MessageContext&) {
}

void SWindow::OnRButtonDblClk(MessageContext&) {
}

void SWindow::OnDropFiles(MessageContext&) {
}

void SWindow::OnKeyDown(MessageContext&) {
}

void SWindow::OnChar(MessageContext&) {
}

void SWindow::OnContextMenu(MessageContext&) {
}

void SWindow::OnMenuSelect(MessageContext&) {
}

void SWindow::OnClose(MessageContext&) {
}

void SWindow::OnDrawItem(MessageContext&) {
}

void SWindow::OnTimer(MessageContext&) {
}

void SWindow::OnActivate(MessageContext&) {
}

void SWindow::OnSetCursor(MessageContext&) {
}

void SWindow::OnSetFocus(MessageContext&) {
}

void SWindow::OnKillFocus(MessageContext&) {
}

void SWindow::OnSysColorChange(MessageContext&) {
}

void SWindow::OnCtlColorEdit(MessageContext&) {
}

void SWindow::OnCtlColorListBox(MessageContext&) {
}

void SWindow::OnCopyData(MessageContext&) {
}

void SWindow::OnDpiChanged(MessageContext&) {
}

std::string SWindow::GetText() const {
    int length = GetWindowTextLengthA(window_);
    std::vector<char> text(size_t(length > 0 ? length : 0) + 1);
    int copied = GetWindowTextA(window_, text.data(), int(text.size()));
    return std::string(text.data(), size_t(copied > 0 ? copied : 0));
}

bool SWindow::SetText(const char* text) {
    return SetWindowTextA(window_, text) != 0;
}

bool SWindow::Show(int command) {
    return ShowWindow(window_, command) != 0;
}

bool SWindow::Update() {
    return UpdateWindow(window_) != 0;
}

bool SWindow::Enable(bool enable) {
    return EnableWindow(window_, enable) != 0;
}

bool SWindow::Invalidate(bool erase) {
    return InvalidateRect(window_, nullptr, erase) != 0;
}

bool SWindow::Move(int x, int y, int width, int height, bool repaint) {
    return MoveWindow(window_, x, y, width, height, repaint) != 0;
}

bool SWindow::GetPlacement(WINDOWPLACEMENT* placement) const {
    placement->length = sizeof *placement;
    return GetWindowPlacement(window_, placement) != 0;
}

bool SWindow::SetPlacement(const WINDOWPLACEMENT* placement) {
    return SetWindowPlacement(window_, placement) != 0;
}

RECT SWindow::ClientRect() const {
    RECT rect = {};
    GetClientRect(window_, &rect);
    return rect;
}

RECT SWindow::WindowRect() const {
    RECT rect = {};
    GetWindowRect(window_, &rect);
    return rect;
}

POINT SWindow::ScreenToClient(POINT point) const {
    ::ScreenToClient(window_, &point);
    return point;
}

POINT SWindow::ClientToScreen(POINT point) const {
    ::ClientToScreen(window_, &point);
    return point;
}

HWND SWindow::SetFocus() {
    return ::SetFocus(window_);
}

bool SWindow::HasFocus() const {
    return window_ && GetFocus() == window_;
}

HWND SWindow::SetCapture() {
    return ::SetCapture(window_);
}

bool SWindow::SetForeground() {
    return SetForegroundWindow(window_) != 0;
}

HWND SWindow::SetActive() {
    return SetActiveWindow(window_);
}

UINT_PTR SWindow::SetTimer(UINT_PTR id, UINT milliseconds) {
    return ::SetTimer(window_, id, milliseconds, nullptr);
}

bool SWindow::KillTimer(UINT_PTR id) {
    return ::KillTimer(window_, id) != 0;
}

LRESULT SWindow::Send(UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(window_, message, wParam, lParam);
}

bool SWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageA(window_, message, wParam, lParam) != 0;
}

int SWindow::ShowMessageBox(const char* text, const char* caption, UINT type) {
    return MessageBoxA(window_, text, caption, type);
}

void SWindow::AcceptFiles(bool accept) {
    DragAcceptFiles(window_, accept);
}

HRESULT SWindow::RegisterDropTarget(IDropTarget* target) {
    return RegisterDragDrop(window_, target);
}

HRESULT SWindow::RevokeDropTarget() {
    return RevokeDragDrop(window_);
}

HDC SWindow::GetDC() {
    return ::GetDC(window_);
}

int SWindow::ReleaseDC(HDC dc) {
    return ::ReleaseDC(window_, dc);
}

HDC SWindow::BeginPaint(PAINTSTRUCT* paint) {
    return ::BeginPaint(window_, paint);
}

bool SWindow::EndPaint(const PAINTSTRUCT* paint) {
    return ::EndPaint(window_, paint) != 0;
}
