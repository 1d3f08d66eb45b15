// The windows of the file operations: the overwrite dialog (three modes,
// OK, "以降すべて" and Cancel), the modeless progress window with its cancel
// button, the folder dialog with its browse button and the tree's name
// dialogs, all from in-memory templates.
#include <windows.h>

#include <commctrl.h>

#include "actions/FileOps_win.h"
#include "ui/SmallDialogs_win.h"
#include "ui/framework/DialogTemplate_win.h"
#include "ui/framework/Dialog_win.h"

namespace {

constexpr int kNameText = 1000;
constexpr int kModeFirst = 1001;  // three radio buttons, one per mode
constexpr int kAllButton = 1010;
constexpr int kProgressBar = 1011;
constexpr int kFolderField = 1012;
constexpr int kBrowseButton = 1013;

class OverwriteDialog : public SDialog {
   public:
    OverwriteDialog(const DLGTEMPLATE* memoryTemplate, SWindow* owner, const std::string& destination, int32_t mode)
        : SDialog(memoryTemplate, owner), destination_(destination), mode_(mode) {
    }
    int32_t Mode() const {
        return mode_;
    }

   protected:
    void OnInitDialog(MessageContext& m) override {
        SetDlgItemTextA(Handle(), kNameText, destination_.c_str());
        CheckRadioButton(Handle(), kModeFirst, kModeFirst + 2, kModeFirst + mode_);
        m.handled = 1;
        m.result = TRUE;
    }
    void OnCommand(MessageContext& m) override {
        const int id = LOWORD(m.wParam);
        if (id == IDOK || id == kAllButton) {
            for (int32_t mode = 0; mode < 3; ++mode) {
                if (IsDlgButtonChecked(Handle(), kModeFirst + mode) == BST_CHECKED) {
                    mode_ = mode;
                }
            }
            m.handled = 1;
            Close(id);
            return;
        }
        SDialog::OnCommand(m);
    }

   private:
    std::string destination_;
    int32_t mode_;
};

}  // namespace

class ProgressDialog : public SDialog {
   public:
    ProgressDialog(const DLGTEMPLATE* memoryTemplate, SWindow* owner) : SDialog(memoryTemplate, owner) {
    }
    bool cancelled = false;

   protected:
    void OnCommand(MessageContext& m) override {
        if (LOWORD(m.wParam) == IDCANCEL) {
            cancelled = true;
            m.handled = 1;
        }
    }
};

FileOpsHost::FileOpsHost(HWND owner) : owner_(owner) {
}

FileOpsHost::~FileOpsHost() {
    CloseProgress();
}

int FileOpsHost::ShowMessage(const std::string& text, const std::string& caption, UINT type) {
    return MessageBoxA(owner_, text.c_str(), caption.c_str(), type);
}

OverwriteAnswer FileOpsHost::AskOverwrite(bool move, const std::string& destination, int32_t* mode) {
    DialogTemplate t(TransferCaption(move), 250, 110);
    t.Label(7, 7, 236, 10, OverwriteQuestion(move).c_str());
    t.Add(kStaticAtom, kNameText, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 7, 20, 236, 10, "");
    t.Group(7, 34, 236, 48, "");
    t.Radio(kModeFirst, true, 14, 44, 200, "更新日時の新しいもの(&T)");
    t.Radio(kModeFirst + 1, false, 14, 56, 200, "上書き(&O)");
    t.Radio(kModeFirst + 2, false, 14, 68, 200, "しない(&I)");
    t.Button(IDOK, 40, 89, 55, "OK");
    t.Button(kAllButton, 100, 89, 55, "以降すべて");
    t.Button(IDCANCEL, 160, 89, 55, "キャンセル");
    OverwriteDialog dialog(t.Template(), SWindow::FromHandle(owner_), destination, *mode);
    const INT_PTR result = dialog.DoModal();
    if (result != IDOK && result != kAllButton) {
        return OverwriteAnswer::kCancel;
    }
    *mode = dialog.Mode();
    return result == kAllButton ? OverwriteAnswer::kAll : OverwriteAnswer::kOk;
}

void FileOpsHost::OpenProgress(const char* caption) {
    DialogTemplate t(caption, 220, 62);
    t.Add(kStaticAtom, kNameText, WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 7, 7, 206, 10, "");
    t.Add(PROGRESS_CLASSA, kProgressBar, WS_CHILD | WS_VISIBLE, 7, 21, 206, 10, "");
    t.Button(IDCANCEL, 83, 40, 55, "キャンセル");
    progressTemplate_ = t;
    progress_ = std::make_unique<ProgressDialog>(progressTemplate_.Template(), SWindow::FromHandle(owner_));
    if (!progress_->Create()) {
        progress_.reset();
        return;
    }
    if (owner_) {
        EnableWindow(owner_, FALSE);
    }
    progress_->Show(SW_SHOW);
}

void FileOpsHost::ShowProgress(const std::string& name, int32_t percent) {
    if (!progress_) {
        return;
    }
    SetDlgItemTextA(progress_->Handle(), kNameText, name.c_str());
    SendMessageA(progress_->Item(kProgressBar), PBM_SETPOS, WPARAM(percent), 0);
}

bool FileOpsHost::ProgressCancelled() {
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!progress_ || !IsDialogMessageA(progress_->Handle(), &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return progress_ && progress_->cancelled;
}

void FileOpsHost::CloseProgress() {
    if (owner_) {
        EnableWindow(owner_, TRUE);
    }
    if (progress_) {
        progress_->Close(0);
        progress_.reset();
    }
}

bool FileOpsHost::AskName(const char* caption, std::string* name) {
    return AskItemName(SWindow::FromHandle(owner_), caption, name);
}

bool FileOpsHost::AskFolder(const char* caption, std::string* folder) {
    DialogTemplate t(caption, 250, 52);
    t.Label(7, 9, 40, 10, "フォルダ(&F) :");
    t.Edit(kFolderField, ES_AUTOHSCROLL, 50, 7, 135, 12);
    t.Button(kBrowseButton, 190, 6, 53, "参照(&B)...");
    t.Button(IDOK, 76, 31, 50, "OK");
    t.Button(IDCANCEL, 131, 31, 50, "キャンセル");
    std::string entered = *folder;
    BrowseFieldDialog dialog(
        t.Template(), SWindow::FromHandle(owner_), kFolderField, kBrowseButton, MAX_PATH,
        [](HWND owner, std::string* chosen) { return BrowseForFolder(owner, "フォルダを選択してください。", chosen); },
        &entered);
    if (dialog.DoModal() != IDOK) {
        return false;
    }
    *folder = entered;
    return true;
}
