// The window framework. Every window of the program is an SWindow: a window
// of its own class (kind 0), a platform control wrapped by subclassing
// (kind 1) or a dialog (kind 2). The framework binds the window handle to its
// object, routes each message to one virtual handler and runs the default
// processing for whatever a handler leaves alone. Windows override handlers;
// they never write a message switch of their own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

struct IDropTarget;

constexpr int kWindowKind = 0;   // a window of its own registered class
constexpr int kControlKind = 1;  // a platform control (or dialog control) wrapped by subclassing
constexpr int kDialogKind = 2;   // a dialog from a template

constexpr char kDefaultWindowClass[] = "SWindow Class";

// What every handler receives. A handler that fully handles its message sets
// handled and, where the message needs one, result; otherwise the default
// processing runs after it.
struct MessageContext {
    uint8_t autoDelete;
    int kind;
    HWND window;
    WNDPROC previousProc;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    uint8_t handled = 0;
    LRESULT result = 0;
};

class SWindow {
   public:
    // className null: "SWindow Class" (kind 0) or no class (dialogs). parent may be null.
    SWindow(const char* className, SWindow* parent, int kind);
    // A window that still exists is unbound (a subclassed control gets its own
    // procedure back); a kind-0 window that is gone unregisters its class.
    virtual ~SWindow();
    SWindow(const SWindow&) = delete;
    SWindow& operator=(const SWindow&) = delete;

    // Creates the window; true when it exists. A control whose parent is a
    // dialog attaches to the dialog's control with the child identifier.
    bool Create();
    // Runs the dialog modally; returns the code given to Close, -1 when the
    // dialog could not be created. With auto-delete the object is gone after.
    INT_PTR DoModal();
    // Ends a modal dialog with code, destroys any other window; true on
    // success. With auto-delete the object is gone afterwards.
    bool Close(INT_PTR code);

    // Set-up before Create.
    void SetStyle(DWORD style, DWORD exStyle);
    void SetBounds(int x, int y, int width, int height);
    void SetTitle(const char* title);
    void SetMenu(HMENU menu);
    void SetChildId(int id);
    void SetClassLook(HICON icon, HCURSOR cursor, HBRUSH background);
    void SetDialogTemplate(int resourceId);
    void SetDialogTemplate(const DLGTEMPLATE* memoryTemplate);
    void SetAutoDelete(bool autoDelete);

    // Null when the window does not exist (never created, failed or destroyed).
    HWND Handle() const;
    SWindow* Parent() const;
    int Kind() const;
    int ChildId() const;
    bool IsModeless() const;
    // Last client size seen by WM_SIZE and position seen by WM_MOVE.
    int Width() const;
    int Height() const;
    int X() const;
    int Y() const;
    // The object bound to a window, or null.
    static SWindow* FromHandle(HWND window);

    // Thin wrappers over the window calls; each returns what the call returns.
    std::string GetText() const;
    bool SetText(const char* text);
    bool Show(int command);
    bool Update();
    bool Enable(bool enable);
    bool Invalidate(bool erase);
    bool Move(int x, int y, int width, int height, bool repaint);
    bool GetPlacement(WINDOWPLACEMENT* placement) const;
    bool SetPlacement(const WINDOWPLACEMENT* placement);
    RECT ClientRect() const;
    RECT WindowRect() const;
    POINT ScreenToClient(POINT point) const;
    POINT ClientToScreen(POINT point) const;
    HWND SetFocus();
    bool HasFocus() const;
    HWND SetCapture();
    bool SetForeground();
    HWND SetActive();
    UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds);
    bool KillTimer(UINT_PTR id);
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    bool Post(UINT message, WPARAM wParam, LPARAM lParam);
    int ShowMessageBox(const char* text, const char* caption, UINT type);
    void AcceptFiles(bool accept);
    HRESULT RegisterDropTarget(IDropTarget* target);
    HRESULT RevokeDropTarget();
    HDC GetDC();
    int ReleaseDC(HDC dc);
    HDC BeginPaint(PAINTSTRUCT* paint);
    bool EndPaint(const PAINTSTRUCT* paint);

   protected:
    // Runs right after a kind-0 window has handled WM_CREATE and right after
    // a control has been subclassed.
    virtual void OnAfterCreate();
    // Every message from WM_USER to 0x7FFF.
    virtual void OnPrivateMessage(MessageContext& m);
    virtual void OnCommand(MessageContext& m);
    virtual void OnSysCommand(MessageContext& m);
    virtual void OnAppCommand(MessageContext& m);
    virtual void OnNotify(MessageContext& m);
    virtual void OnCreate(MessageContext& m);
    virtual void OnInitDialog(MessageContext& m);
    virtual void OnDestroy(MessageContext& m);
    virtual void OnQueryEndSession(MessageContext& m);
    virtual void OnEndSession(MessageContext& m);
    // Records the new client size.
    virtual void OnSize(MessageContext& m);
    // Records the new position.
    virtual void OnMove(MessageContext& m);
    // Once a derived handler has marked the message handled, paints through Draw.
    virtual void OnPaint(MessageContext& m);
    virtual void Draw(HDC dc);
    virtual void OnMouseMove(MessageContext& m);
    virtual void OnLButtonDown(MessageContext& m);
    virtual void OnRButtonDown(MessageContext& m);
    virtual void OnLButtonUp(MessageContext& m);
    virtual void OnRButtonUp(MessageContext& m);
    virtual void OnLButtonDblClk(MessageContext& m);
    virtual void OnRButtonDblClk(MessageContext& m);
    virtual void OnDropFiles(MessageContext& m);
    virtual void OnKeyDown(MessageContext& m);
    virtual void OnChar(MessageContext& m);
    virtual void OnContextMenu(MessageContext& m);
    virtual void OnMenuSelect(MessageContext& m);
    virtual void OnClose(MessageContext& m);
    virtual void OnDrawItem(MessageContext& m);
    virtual void OnTimer(MessageContext& m);
    virtual void OnActivate(MessageContext& m);
    virtual void OnSetCursor(MessageContext& m);
    virtual void OnSetFocus(MessageContext& m);
    virtual void OnKillFocus(MessageContext& m);
    virtual void OnSysColorChange(MessageContext& m);
    virtual void OnCtlColorEdit(MessageContext& m);
    virtual void OnCtlColorListBox(MessageContext& m);
    // Data another program hands over (WM_COPYDATA).
    virtual void OnCopyData(MessageContext& m);
    // The window moved to a screen of another density (WM_DPICHANGED): the
    // new density in the low word of wParam, the suggested window rectangle
    // at lParam.
    virtual void OnDpiChanged(MessageContext& m);

   private:
    using Handler = void (SWindow::*)(MessageContext& m);
    struct HandlerRow {
        UINT message;
        Handler handler;
    };
    static const HandlerRow kHandlers[];

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void Dispatch(SWindow* self, MessageContext& m);
    static void RunDefault(MessageContext& m);
    static void Bind(HWND window, SWindow* self);
    static void Unbind(HWND window, SWindow* self);
    MessageContext MakeContext(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;
    HWND ParentHandle() const;
    bool CreateOwnClassWindow();
    bool CreateControl();
    bool CreateModelessDialog();

    DWORD style_ = WS_VISIBLE;
    DWORD exStyle_ = 0;
    HMENU menu_ = nullptr;
    HICON icon_;
    HCURSOR cursor_;
    HBRUSH background_;
    int dialogTemplateId_ = 0;
    const DLGTEMPLATE* dialogTemplate_ = nullptr;
    int childId_ = 0;
    int x_ = CW_USEDEFAULT;
    int y_ = CW_USEDEFAULT;
    int width_ = CW_USEDEFAULT;
    int height_ = CW_USEDEFAULT;
    SWindow* parent_;
    HWND window_ = nullptr;
    int kind_;
    bool modeless_ = false;
    WNDPROC previousProc_ = nullptr;
    std::string title_;
    std::string className_;
    uint8_t autoDelete_ = 0;
};

// Command routing: one row per command identifier and the method that runs it.
template <typename Window>
struct CommandRoute {
    int id;
    void (Window::*run)();
};

// Runs the row of the command in m (WM_COMMAND) and marks m handled; false
// when the table has no row for it.
template <typename Window, size_t N>
bool RouteCommand(Window* window, const CommandRoute<Window> (&table)[N], MessageContext& m) {
    const int id = LOWORD(m.wParam);
    for (const CommandRoute<Window>& row : table) {
        if (row.id == id) {
            m.handled = 1;
            (window->*row.run)();
            return true;
        }
    }
    return false;
}

// Private message routing: one row per message and the method that answers it.
template <typename Window>
struct MessageRoute {
    UINT message;
    LRESULT (Window::*run)(WPARAM wParam, LPARAM lParam);
};

// Runs the row of m's message, storing its answer in m; false when none.
template <typename Window, size_t N>
bool RouteMessage(Window* window, const MessageRoute<Window> (&table)[N], MessageContext& m) {
    for (const MessageRoute<Window>& row : table) {
        if (row.message == m.message) {
            m.handled = 1;
            m.result = (window->*row.run)(m.wParam, m.lParam);
            return true;
        }
    }
    return false;
}
