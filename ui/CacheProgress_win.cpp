// The title cache refresh's progress window, from an in-memory template: the
// song's path, a progress bar, the percentage with the unreadable count, and
// キャンセル.
#include "ui/CacheProgress_win.h"

#include <commctrl.h>

#include <string>

#include "ui/framework/Dialog_win.h"

namespace {

constexpr int kPathText = 1000;
constexpr int kProgressBar = 1001;
constexpr int kCountText = 1002;
constexpr DWORD kRepaintInterval = 50;  // milliseconds between updates at one percentage

std::string CountText(int32_t percent, int32_t unreadable) {
    return std::to_string(percent) + "%    読めないファイル: " + std::to_string(unreadable) + " 個";
}

}  // namespace

class CacheProgressDialog : public SDialog {
   public:
    CacheProgressDialog(const DLGTEMPLATE* memoryTemplate, SWindow* owner, bool* running)
        : SDialog(memoryTemplate, owner), running_(running) {
    }

   protected:
    // キャンセル and the close box stop the refresh; the refresh loop sees
    // the cleared flag after its next message pump and closes the window.
    void OnCommand(MessageContext& m) override {
        if (LOWORD(m.wParam) == IDCANCEL) {
            Cancel();
            m.handled = 1;
        }
    }
    void OnClose(MessageContext& m) override {
        Cancel();
        m.handled = 1;
    }

   private:
    void Cancel() {
        *running_ = false;
        EnableWindow(Item(IDCANCEL), FALSE);
    }

    bool* running_;
};

CacheProgress::CacheProgress() = default;

CacheProgress::~CacheProgress() {
    Close();
}

bool CacheProgress::Open(SWindow* owner, const char* caption, bool* running) {
    Close();
    DialogTemplate t(caption, 240, 66);
    t.Add(kStaticAtom, kPathText, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS, 7, 7, 226, 10, "");
    t.Add(PROGRESS_CLASSA, kProgressBar, WS_CHILD | WS_VISIBLE, 7, 20, 226, 10, "");
    t.Add(kStaticAtom, kCountText, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 7, 34, 150, 10, "");
    t.Button(IDCANCEL, 178, 45, 55, "キャンセル");
    template_ = t;
    dialog_ = std::make_unique<CacheProgressDialog>(template_.Template(), owner, running);
    if (!dialog_->Create()) {
        dialog_.reset();
        return false;
    }
    owner_ = owner ? owner->Handle() : nullptr;
    shownPercent_ = -1;
    if (owner_) {
        EnableWindow(owner_, FALSE);
    }
    dialog_->Show(SW_SHOW);
    UpdateWindow(dialog_->Handle());
    return true;
}

void CacheProgress::Show(const char* path, int32_t percent, int32_t unreadable) {
    if (!dialog_) {
        return;
    }
    const DWORD now = GetTickCount();
    if (percent == shownPercent_ && now - shownTick_ < kRepaintInterval) {
        return;
    }
    shownPercent_ = percent;
    shownTick_ = now;
    SetDlgItemTextA(dialog_->Handle(), kPathText, path);
    SendMessageA(dialog_->Item(kProgressBar), PBM_SETPOS, WPARAM(percent), 0);
    SetDlgItemTextA(dialog_->Handle(), kCountText, CountText(percent, unreadable).c_str());
}

void CacheProgress::Close() {
    // The owner comes back before the window goes, so activation returns to it.
    if (owner_) {
        EnableWindow(owner_, TRUE);
    }
    owner_ = nullptr;
    if (dialog_) {
        dialog_->Close(0);
        dialog_.reset();
    }
}

HWND CacheProgress::Handle() const {
    return dialog_ ? dialog_->Handle() : nullptr;
}
