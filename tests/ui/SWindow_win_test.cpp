// The window framework on real windows: handler dispatch and routing tables,
// subclassed controls, modal and modeless dialogs with auto-delete, closing,
// failed creation and the splitter's limits.
#include "ui/framework/SWindow_win.h"

#include <windowsx.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/framework/Controls_win.h"
#include "ui/framework/Dialog_win.h"
#include "ui/framework/Splitter_win.h"

namespace {

constexpr UINT kPing = WM_USER + 100;  // above the dialog manager's own WM_USER messages
constexpr UINT kCloseWith = WM_USER + 101;
constexpr int kPlay = 101;
constexpr int kStop = 102;

// Every test window writes what happened to it here.
std::vector<std::string> events;

class TestWindow : public SWindow {
   public:
    TestWindow() : SWindow("QuilloryTestWindow", nullptr, kWindowKind) {
        SetStyle(WS_POPUP | WS_VISIBLE, 0);
        SetBounds(20, 20, 400, 300);
    }
    ~TestWindow() override {
        events.push_back("deleted");
    }
    bool refuseCreation = false;
    bool keepOpen = false;
    int draws = 0;

    void Play() {
        events.push_back("play");
    }
    void Stop() {
        events.push_back("stop");
    }
    LRESULT Ping(WPARAM wParam, LPARAM lParam) {
        return LRESULT(wParam + lParam);
    }

   protected:
    void OnCreate(MessageContext& m) override {
        events.push_back(Handle() == m.window ? "create bound" : "create unbound");
        if (refuseCreation) {
            m.handled = 1;
            m.result = -1;
        }
    }
    void OnAfterCreate() override {
        events.push_back("after create");
    }
    void OnCommand(MessageContext& m) override {
        static const CommandRoute<TestWindow> kCommands[] = {{kPlay, &TestWindow::Play}, {kStop, &TestWindow::Stop}};
        RouteCommand(this, kCommands, m);
    }
    void OnPrivateMessage(MessageContext& m) override {
        static const MessageRoute<TestWindow> kMessages[] = {{kPing, &TestWindow::Ping}};
        RouteMessage(this, kMessages, m);
    }
    void OnPaint(MessageContext& m) override {
        m.handled = 1;
        SWindow::OnPaint(m);
    }
    void Draw(HDC dc) override {
        draws += dc != nullptr;
    }
    void OnClose(MessageContext& m) override {
        events.push_back("close");
        m.handled = keepOpen;
    }
};

class SWindowTest : public ::testing::Test {
   protected:
    void SetUp() override {
        events.clear();
    }
};

TEST_F(SWindowTest, MessagesReachTheirHandlersAndTables) {
    TestWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ((std::vector<std::string>{"create bound", "after create"}), events);
    EXPECT_EQ(&window, SWindow::FromHandle(window.Handle()));

    window.Send(WM_COMMAND, MAKEWPARAM(kStop, 0), 0);
    window.Send(WM_COMMAND, MAKEWPARAM(kPlay, 0), 0);
    window.Send(WM_COMMAND, MAKEWPARAM(999, 0), 0);
    EXPECT_EQ((std::vector<std::string>{"create bound", "after create", "stop", "play"}), events);
    EXPECT_EQ(12, window.Send(kPing, 5, 7));
    EXPECT_EQ(0, window.Send(kPing + 1, 5, 7)) << "a message without a row gets the default processing";

    ASSERT_TRUE(window.Move(30, 40, 250, 120, true));
    RECT client = window.ClientRect();
    EXPECT_EQ(client.right, window.Width());
    EXPECT_EQ(client.bottom, window.Height());
    EXPECT_EQ(30, window.X());
    EXPECT_EQ(40, window.Y());

    window.draws = 0;
    window.Invalidate(true);
    window.Update();
    EXPECT_EQ(1, window.draws);
    EXPECT_TRUE(window.SetText("表示ソフト"));
    EXPECT_EQ("表示ソフト", window.GetText());
    EXPECT_TRUE(window.Close(0));
    EXPECT_EQ(nullptr, window.Handle());
}

TEST_F(SWindowTest, CloseDeletesAnAutoDeleteWindowUnlessTheHandlerKeepsIt) {
    struct Case {
        bool keepOpen;
        bool gone;
    };
    for (const Case c : {Case{false, true}, Case{true, false}}) {
        events.clear();
        TestWindow* window = new TestWindow;
        window->SetAutoDelete(true);
        window->keepOpen = c.keepOpen;
        ASSERT_TRUE(window->Create());
        HWND handle = window->Handle();
        SendMessageA(handle, WM_CLOSE, 0, 0);
        EXPECT_EQ(!c.gone, IsWindow(handle) != 0);
        EXPECT_EQ(c.gone, events.back() == "deleted");
        if (!c.gone) {
            DestroyWindow(handle);
            EXPECT_EQ("deleted", events.back()) << "an auto-delete object goes with its window";
        }
    }
}

TEST_F(SWindowTest, RefusedCreationLeavesNoHandle) {
    TestWindow window;
    window.refuseCreation = true;
    EXPECT_FALSE(window.Create());
    EXPECT_EQ(nullptr, window.Handle());
    EXPECT_EQ((std::vector<std::string>{"create bound"}), events) << "no after-creation hook";
}

// An edit control that swallows 'x' and leaves every other key to the control.
class NoXEdit : public SControl {
   public:
    NoXEdit(SWindow* parent, int id) : SControl("Edit", parent, id, ES_AUTOHSCROLL) {
        SetBounds(0, 0, 200, 24);
    }
    int created = 0;

   protected:
    void OnAfterCreate() override {
        created++;
    }
    void OnChar(MessageContext& m) override {
        m.handled = m.wParam == 'x';
    }
};

TEST_F(SWindowTest, SubclassedControlKeepsItsOwnBehaviour) {
    TestWindow parent;
    ASSERT_TRUE(parent.Create());
    HWND edit = nullptr;
    WNDPROC original = nullptr;
    {
        NoXEdit wrapped(&parent, 7);
        ASSERT_TRUE(wrapped.Create());
        edit = wrapped.Handle();
        EXPECT_EQ(1, wrapped.created);
        EXPECT_EQ(edit, GetDlgItem(parent.Handle(), 7));
        for (char c : std::string("axbx")) {
            wrapped.Send(WM_CHAR, WPARAM(c), 0);
        }
        EXPECT_EQ("ab", wrapped.GetText());
        HWND plain = CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 30, 100, 24, parent.Handle(), nullptr,
                                     GetModuleHandleA(nullptr), nullptr);
        original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(plain, GWLP_WNDPROC));
        EXPECT_NE(original, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC)));
    }
    EXPECT_TRUE(IsWindow(edit)) << "the object's end leaves the control";
    EXPECT_EQ(original, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(edit, GWLP_WNDPROC)));
    SendMessageA(edit, WM_CHAR, 'x', 0);
    char text[16] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ("abx", text);
    parent.Close(0);
}

// A dialog template in memory: a caption and push buttons, no font.
class DialogTemplate {
   public:
    DialogTemplate(DWORD style, const std::vector<std::pair<int, const char*>>& buttons) {
        Dword(style);
        Dword(0);
        words_.push_back(WORD(buttons.size()));
        for (short value : {10, 10, 200, 100}) {
            words_.push_back(WORD(value));
        }
        words_.push_back(0);  // no menu
        words_.push_back(0);  // the dialog class
        Text("Test");
        short y = 10;
        for (const auto& button : buttons) {
            if (words_.size() % 2) {
                words_.push_back(0);
            }
            Dword(WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
            Dword(0);
            for (short value : {short(10), y, short(60), short(14)}) {
                words_.push_back(WORD(value));
            }
            y += 20;
            words_.push_back(WORD(button.first));
            words_.push_back(0xFFFF);
            words_.push_back(0x0080);  // button
            Text(button.second);
            words_.push_back(0);  // no creation data
        }
    }
    const DLGTEMPLATE* Get() const {
        return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
    }

   private:
    void Dword(DWORD value) {
        words_.push_back(LOWORD(value));
        words_.push_back(HIWORD(value));
    }
    void Text(const char* ascii) {
        while (*ascii) {
            words_.push_back(WORD(*ascii++));
        }
        words_.push_back(0);
    }
    std::vector<WORD> words_;
};

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

class TestDialog : public SDialog {
   public:
    TestDialog(const DLGTEMPLATE* dialogTemplate, SWindow* parent) : SDialog(dialogTemplate, parent) {
    }
    ~TestDialog() override {
        events.push_back("dialog deleted");
    }
    UINT firstMessage = 0;  // posted from WM_INITDIALOG
    WPARAM firstWParam = 0;

   protected:
    void OnInitDialog(MessageContext&) override {
        events.push_back("init");
        if (firstMessage) {
            Post(firstMessage, firstWParam, 0);
        }
    }
    void OnPrivateMessage(MessageContext& m) override {
        if (m.message == kCloseWith) {
            m.handled = 1;
            Close(INT_PTR(m.wParam));
        }
    }
};

TEST_F(SWindowTest, ModalDialogReturnsItsCloseCode) {
    struct Case {
        UINT message;
        WPARAM wParam;
        bool autoDelete;
        INT_PTR code;
    };
    const Case cases[] = {
        {kCloseWith, 42, false, 42},
        {WM_COMMAND, IDCANCEL, false, IDCANCEL},
        {WM_COMMAND, IDOK, true, IDOK},
    };
    DialogTemplate dialogTemplate(kDialogStyle, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}});
    for (const Case& c : cases) {
        events.clear();
        TestDialog* dialog = new TestDialog(dialogTemplate.Get(), nullptr);
        dialog->SetAutoDelete(c.autoDelete);
        dialog->firstMessage = c.message;
        dialog->firstWParam = c.wParam;
        EXPECT_EQ(c.code, dialog->DoModal());
        if (c.autoDelete) {
            EXPECT_EQ((std::vector<std::string>{"init", "dialog deleted"}), events);
        } else {
            EXPECT_FALSE(dialog->IsModeless());
            EXPECT_EQ(nullptr, dialog->Handle());
            delete dialog;
        }
    }
}

TEST_F(SWindowTest, ModelessDialogClosesAndDeletesItself) {
    DialogTemplate dialogTemplate(kDialogStyle | WS_VISIBLE, {{IDOK, "OK"}, {IDCANCEL, "Cancel"}, {300, "Other"}});
    TestWindow owner;
    ASSERT_TRUE(owner.Create());
    events.clear();
    TestDialog* dialog = new TestDialog(dialogTemplate.Get(), &owner);
    dialog->SetAutoDelete(true);
    ASSERT_TRUE(dialog->Create());
    HWND handle = dialog->Handle();
    EXPECT_TRUE(dialog->IsModeless());
    EXPECT_EQ(owner.Handle(), GetWindow(handle, GW_OWNER));

    // A wrapped dialog control attaches to the button the template made.
    SButton other(dialog, 300, 0);
    ASSERT_TRUE(other.Create());
    EXPECT_EQ(GetDlgItem(handle, 300), other.Handle());
    other.SetText("別");
    char text[8] = {};
    GetDlgItemTextA(handle, 300, text, sizeof text);
    EXPECT_STREQ("別", text);

    SendMessageA(handle, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ((std::vector<std::string>{"init", "dialog deleted"}), events);
    EXPECT_EQ(nullptr, other.Handle()) << "the control's object hears of its window's end";
    owner.Close(0);
}

// A window with a splitter at x = 100 whose panes are laid out on demand.
class SplitWindow : public TestWindow {
   public:
    SplitWindow() : splitter(this, [this](int x) { layouts.push_back(x); }) {
        splitter.SetPosition(100);
    }
    Splitter splitter;
    std::vector<int> layouts;
    bool fullWindowDrag = false;

   protected:
    void OnLButtonDown(MessageContext& m) override {
        m.handled = splitter.ButtonDown(GET_X_LPARAM(m.lParam), fullWindowDrag);
    }
    void OnMouseMove(MessageContext& m) override {
        m.handled = splitter.MouseMove(GET_X_LPARAM(m.lParam));
    }
    void OnLButtonUp(MessageContext& m) override {
        m.handled = splitter.ButtonUp(GET_X_LPARAM(m.lParam));
    }
};

TEST_F(SWindowTest, SplitterStaysTenPixelsFromEitherSide) {
    struct Case {
        int down;  // press x; the splitter spans 100-103
        std::vector<int> moves;
        bool fullWindowDrag;
        int position;
        std::vector<int> layouts;
    };
    // The client area is 400 pixels wide.
    const Case cases[] = {
        {100, {50, 2}, false, 10, {10}},
        {100, {380, 399}, false, 390, {390}},
        {100, {50, 50, 2}, true, 10, {50, 10, 10}},
        {102, {399}, true, 386, {386, 386}},
        {102, {0}, false, 8, {8}},
        {98, {2}, false, 100, {}},
        {104, {2}, false, 100, {}},
    };
    for (const Case& c : cases) {
        SplitWindow window;
        ASSERT_TRUE(window.Create());
        ASSERT_EQ(400, window.ClientRect().right);
        window.fullWindowDrag = c.fullWindowDrag;
        window.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.down, 50));
        EXPECT_EQ(!c.layouts.empty(), window.splitter.IsDragging());
        for (int x : c.moves) {
            window.Send(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, 50));
        }
        window.Send(WM_LBUTTONUP, 0, MAKELPARAM(c.moves.back(), 50));
        EXPECT_EQ(c.position, window.splitter.Position()) << c.down << " to " << c.moves.back();
        EXPECT_EQ(c.layouts, window.layouts) << c.down << " to " << c.moves.back();
        EXPECT_FALSE(window.splitter.IsDragging());
        EXPECT_EQ(nullptr, GetCapture());
        window.Close(0);
    }
}

}  // namespace
