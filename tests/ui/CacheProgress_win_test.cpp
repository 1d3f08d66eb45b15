// The title cache refresh's progress window as the user sees it: its caption,
// the song, percentage and unreadable count it shows, the ways of cancelling
// that clear the running flag, the owner disabled only while it is open, and
// a burst of 20,000 songs that repaints the texts only a bounded number of
// times.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>

#include "ui/CacheProgress_win.h"

namespace {

constexpr int kPathText = 1000;
constexpr int kProgressBar = 1001;
constexpr int kCountText = 1002;

class OwnerWindow : public SWindow {
   public:
    OwnerWindow() : SWindow("QuilloryProgressOwner", nullptr, kWindowKind) {
        SetStyle(WS_POPUP | WS_VISIBLE, 0);
        SetBounds(20, 20, 400, 300);
    }
};

std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ItemText(HWND dialog, int id) {
    return Text(GetDlgItem(dialog, id));
}

int setTextCount = 0;
WNDPROC staticProc = nullptr;

LRESULT CALLBACK CountSetText(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        setTextCount++;
    }
    return CallWindowProcA(staticProc, window, message, wParam, lParam);
}

class CacheProgressTest : public ::testing::Test {
   protected:
    void SetUp() override {
        ASSERT_TRUE(owner.Create());
    }
    void TearDown() override {
        progress.Close();
        owner.Close(0);
    }
    OwnerWindow owner;
    CacheProgress progress;
    bool running = true;
};

TEST_F(CacheProgressTest, ShowsCaptionSongPercentageAndUnreadableCount) {
    const char* captions[] = {"タイトルキャッシュを更新 - Quillory", "タイトルキャッシュを新規作成 - Quillory"};
    for (const char* caption : captions) {
        ASSERT_TRUE(progress.Open(&owner, caption, &running));
        const HWND window = progress.Handle();
        EXPECT_EQ(Text(window), caption);
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner.Handle());
        EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
        EXPECT_EQ(ItemText(window, IDCANCEL), "キャンセル");

        // A path whose double-byte characters end in 0x5C stays whole.
        progress.Show("表示\\ソナタ.mid", 37, 2);
        EXPECT_EQ(ItemText(window, kPathText), "表示\\ソナタ.mid");
        EXPECT_EQ(SendDlgItemMessageA(window, kProgressBar, PBM_GETPOS, 0, 0), 37);
        EXPECT_EQ(ItemText(window, kCountText), "37%    読めないファイル: 2 個");

        // A new percentage is shown at once, however soon it follows.
        progress.Show("b.mid", 38, 3);
        EXPECT_EQ(ItemText(window, kPathText), "b.mid");
        EXPECT_EQ(ItemText(window, kCountText), "38%    読めないファイル: 3 個");

        progress.Close();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(progress.Handle(), nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }
    EXPECT_TRUE(running);
}

TEST_F(CacheProgressTest, CancelButtonAndCloseBoxClearTheRunningFlag) {
    struct Case {
        const char* name;
        UINT message;
        bool onButton;
    };
    const Case cases[] = {{"キャンセル clicked", BM_CLICK, true}, {"close box", WM_CLOSE, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        running = true;
        ASSERT_TRUE(progress.Open(&owner, "タイトルキャッシュを更新 - Quillory", &running));
        const HWND window = progress.Handle();
        progress.Show("a.mid", 10, 0);
        SendMessageA(c.onButton ? GetDlgItem(window, IDCANCEL) : window, c.message, 0, 0);
        EXPECT_FALSE(running);
        // The refresh closes the window when it sees the flag, not the click.
        EXPECT_TRUE(IsWindow(window));
        progress.Close();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    }
}

TEST_F(CacheProgressTest, ClosedWindowIgnoresCallsAndReopeningReplacesIt) {
    progress.Show("a.mid", 50, 0);
    progress.Close();
    EXPECT_EQ(progress.Handle(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));

    ASSERT_TRUE(progress.Open(&owner, "タイトルキャッシュを更新 - Quillory", &running));
    const HWND first = progress.Handle();
    ASSERT_TRUE(progress.Open(&owner, "タイトルキャッシュを新規作成 - Quillory", &running));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(Text(progress.Handle()), "タイトルキャッシュを新規作成 - Quillory");
    progress.Close();
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(CacheProgressTest, TwentyThousandSongsRepaintAtMostOncePerPercentOrInterval) {
    ASSERT_TRUE(progress.Open(&owner, "タイトルキャッシュを更新 - Quillory", &running));
    const HWND pathText = GetDlgItem(progress.Handle(), kPathText);
    staticProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(pathText, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountSetText)));
    setTextCount = 0;
    const int n = 20000;
    const DWORD start = GetTickCount();
    for (int i = 0; i < n; i++) {
        const std::string path = "song" + std::to_string(i) + ".mid";
        progress.Show(path.c_str(), int32_t((i + 1) * 100 / n), i / 100);
    }
    const DWORD elapsed = GetTickCount() - start;
    SetWindowLongPtrA(pathText, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(staticProc));
    EXPECT_LE(setTextCount, int(100 + elapsed / 50 + 1));
    EXPECT_EQ(ItemText(progress.Handle(), kPathText), "song19999.mid");
    EXPECT_EQ(ItemText(progress.Handle(), kCountText), "100%    読めないファイル: 199 個");
}

}  // namespace
