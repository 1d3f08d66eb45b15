// The window framework's core: creating windows of kinds 0 and 1, binding
// them to their objects and routing messages to the virtual handlers. The
// dialog half (kind 2) is in Dialog_win.cpp.
#include "ui/framework/SWindow_win.h"

static HINSTANCE ProgramInstance() {
    return GetModuleHandleA(nullptr);
}

// Handlers by message, in slot order.
const SWindow::HandlerRow SWindow::kHandlers[] = {
    {WM_COMMAND, &SWindow::OnCommand},
    {WM_SYSCOMMAND, &SWindow::OnSysCommand},
    {WM_APPCOMMAND, &SWindow::OnAppCommand},
    {WM_NOTIFY, &SWindow::OnNotify},
    {WM_CREATE, &SWindow::OnCreate},
    {WM_INITDIALOG, &SWindow::OnInitDialog},
    {WM_DESTROY, &SWindow::OnDestroy},
    {WM_QUERYENDSESSION, &SWindow::OnQueryEndSession},
    {WM_ENDSESSION, &SWindow::OnEndSession},
    {WM_SIZE, &SWindow::OnSize},
    {WM_MOVE, &SWindow::OnMove},
    {WM_PAINT, &SWindow::OnPaint},
    {WM_MOUSEMOVE, &SWindow::OnMouseMove},
    {WM_LBUTTONDOWN, &SWindow::OnLButtonDown},
    {WM_RBUTTONDOWN, &SWindow::OnRButtonDown},
    {WM_LBUTTONUP, &SWindow::OnLButtonUp},
    {WM_RBUTTONUP, &SWindow::OnRButtonUp},
    {WM_LBUTTONDBLCLK, &SWindow::OnLButtonDblClk},
    {WM_RBUTTONDBLCLK, &SWindow::OnRButtonDblClk},
    {WM_DROPFILES, &SWindow::OnDropFiles},
    {WM_KEYDOWN, &SWindow::OnKeyDown},
    {WM_CHAR, &SWindow::OnChar},
    {WM_CONTEXTMENU, &SWindow::OnContextMenu},
    {WM_MENUSELECT, &SWindow::OnMenuSelect},
    {WM_CLOSE, &SWindow::OnClose},
    {WM_DRAWITEM, &SWindow::OnDrawItem},
    {WM_TIMER, &SWindow::OnTimer},
    {WM_ACTIVATE, &SWindow::OnActivate},
    {WM_SETCURSOR, &SWindow::OnSetCursor},
    {WM_SETFOCUS, &SWindow::OnSetFocus},
    {WM_KILLFOCUS, &SWindow::OnKillFocus},
    {WM_SYSCOLORCHANGE, &SWindow::OnSysColorChange},
    {WM_CTLCOLOREDIT, &SWindow::OnCtlColorEdit},
    {WM_CTLCOLORLISTBOX, &SWindow::OnCtlColorListBox},
    {WM_COPYDATA, &SWindow::OnCopyData},
    {WM_DPICHANGED, &SWindow::OnDpiChanged},
};

SWindow::SWindow(const char* className, SWindow* parent, int kind)
    : icon_(LoadIcon(nullptr, IDI_APPLICATION)),
      cursor_(LoadCursor(nullptr, IDC_ARROW)),
      background_(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))),
      parent_(parent),
      kind_(kind),
      className_(className             ? className
                 : kind == kWindowKind ? kDefaultWindowClass
                                       : "") {
}

SWindow::~SWindow() {
    if (window_ && IsWindow(window_)) {
        Unbind(window_, this);
    } else if (kind_ == kWindowKind) {
        // Fails harmlessly while other windows of the class remain.
        UnregisterClassA(className_.c_str(), ProgramInstance());
    }
}

void SWindow::Bind(HWND window, SWindow* self) {
    self->window_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
}

void SWindow::Unbind(HWND window, SWindow* self) {
    if (FromHandle(window) == self) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    if (self->kind_ == kControlKind && self->previousProc_) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(self->previousProc_));
    }
    self->window_ = nullptr;
}

SWindow* SWindow::FromHandle(HWND window) {
    return reinterpret_cast<SWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HWND SWindow::ParentHandle() const {
    return parent_ ? parent_->window_ : nullptr;
}

bool SWindow::Create() {
    bool created = false;
    if (kind_ == kWindowKind) {
        created = CreateOwnClassWindow();
    } else if (kind_ == kControlKind) {
        created = CreateControl();
    } else {
        created = CreateModelessDialog();
    }
    if (created) {
        UpdateWindow(window_);
    }
    return created;
}

bool SWindow::CreateOwnClassWindow() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ProgramInstance();
    windowClass.hIcon = icon_;
    windowClass.hCursor = cursor_;
    windowClass.hbrBackground = background_;
    windowClass.lpszClassName = className_.c_str();
    // A second window of the same class finds it registered already.
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    HMENU menu = menu_ ? menu_ : reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId_));
    modeless_ = true;
    HWND window = CreateWindowExA(exStyle_, className_.c_str(), title_.c_str(), style_, x_, y_, width_, height_,
                                  ParentHandle(), menu, ProgramInstance(), this);
    return window != nullptr;
}

bool SWindow::CreateControl() {
    HWND window = nullptr;
    if (parent_ && parent_->kind_ == kDialogKind) {
        window = GetDlgItem(parent_->window_, childId_);
    } else {
        HMENU menu = menu_ ? menu_ : reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId_));
        window = CreateWindowExA(exStyle_, className_.c_str(), title_.c_str(), style_, x_, y_, width_, height_,
                                 ParentHandle(), menu, ProgramInstance(), nullptr);
    }
    if (!window) {
        return false;
    }
    modeless_ = true;
    Bind(window, this);
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SWindow::WindowProc)));
    OnAfterCreate();
    return true;
}

MessageContext SWindow::MakeContext(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
    MessageContext m = {autoDelete_, kind_, window, previousProc_, message, wParam, lParam};
    return m;
}

LRESULT CALLBACK SWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SWindow* self = nullptr;
    if (message == WM_CREATE) {
        self = static_cast<SWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self) {
            Bind(window, self);
        }
    } else {
        self = FromHandle(window);
    }
    if (!self) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    MessageContext m = self->MakeContext(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // The window is gone after this; the object forgets it and, when it
        // is its window's only owner, goes with it.
        RunDefault(m);
        Unbind(window, self);
        if (m.autoDelete) {
            delete self;
        }
        return m.result;
    }
    Dispatch(self, m);
    if (message == WM_CREATE && m.result != -1 && FromHandle(window) == self) {
        self->OnAfterCreate();
    }
    return m.result;
}

// Runs after the handler returns only through m: a handler may have closed
// the window and deleted the object.
void SWindow::Dispatch(SWindow* self, MessageContext& m) {
    if (m.message >= WM_USER && m.message <= 0x7FFF) {
        self->OnPrivateMessage(m);
    } else {
        for (const HandlerRow& row : kHandlers) {
            if (row.message == m.message) {
                (self->*row.handler)(m);
                break;
            }
        }
    }
    if (m.message == WM_CLOSE && m.autoDelete && m.kind != kDialogKind && !m.handled && FromHandle(m.window) == self) {
        // The destructor unbinds, so the default processing below destroys a
        // window that no longer has an object.
        delete self;
    }
    if (!m.handled) {
        RunDefault(m);
    }
}

void SWindow::RunDefault(MessageContext& m) {
    if (m.kind == kControlKind) {
        m.result = CallWindowProcA(m.previousProc, m.window, m.message, m.wParam, m.lParam);
    } else if (m.kind == kWindowKind) {
        m.result = DefWindowProcA(m.window, m.message, m.wParam, m.lParam);
    }
}

bool SWindow::Close(INT_PTR code) {
    if (kind_ == kDialogKind && !modeless_) {
        return EndDialog(window_, code) != 0;
    }
    // Destroying the window deletes an auto-delete object on the way.
    return DestroyWindow(window_) != 0;
}

void SWindow::SetStyle(DWORD style, DWORD exStyle) {
    style_ = style;
    exStyle_ = exStyle;
}

void SWindow::SetBounds(int x, int y, int width, int height) {
    x_ = x;
    y_ = y;
    width_ = width;
    height_ = height;
}

void SWindow::SetTitle(const char* title) {
    title_ = title;
}

void SWindow::SetMenu(HMENU menu) {
    menu_ = menu;
}

void SWindow::SetChildId(int id) {
    childId_ = id;
}

void SWindow::SetClassLook(HICON icon, HCURSOR cursor, HBRUSH background) {
    icon_ = icon;
    cursor_ = cursor;
    background_ = background;
}

void SWindow::SetDialogTemplate(int resourceId) {
    dialogTemplateId_ = resourceId;
    dialogTemplate_ = nullptr;
}

void SWindow::SetDialogTemplate(const DLGTEMPLATE* memoryTemplate) {
    dialogTemplate_ = memoryTemplate;
    dialogTemplateId_ = 0;
}

void SWindow::SetAutoDelete(bool autoDelete) {
    autoDelete_ = autoDelete ? 1 : 0;
}

HWND SWindow::Handle() const {
    return window_;
}

SWindow* SWindow::Parent() const {
    return parent_;
}

int SWindow::Kind() const {
    return kind_;
}

int SWindow::ChildId() const {
    return childId_;
}

bool SWindow::IsModeless() const {
    return modeless_;
}

int SWindow::Width() const {
    return width_;
}

int SWindow::Height() const {
    return height_;
}

int SWindow::X() const {
    return x_;
}

int SWindow::Y() const {
    return y_;
}
