// Dropped files, the drop menu, the drag loop and the drop target.
#include "actions/DragDrop_win.h"

#include <vector>

#include "actions/Clipboard_win.h"
#include "actions/FileOps_win.h"
#include "catalogue/ListFile.h"

namespace {

constexpr UINT kDropCopy = 900;
constexpr UINT kDropMove = 901;
constexpr UINT kDropCancel = 910;

bool mainWindowDrag = false;

bool HasListFile(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (IsListFileName(file.c_str()) && IsListFileValid(file.c_str())) {
            return true;
        }
    }
    return false;
}

// Ends the drag when the button goes up and cancels it on Escape.
class DropSource final : public IDropSource {
   public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return 2;
    }
    ULONG STDMETHODCALLTYPE Release() override {
        return 1;
    }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape) {
            return DRAGDROP_S_CANCEL;
        }
        return (keys & (MK_LBUTTON | MK_RBUTTON)) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override {
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
};

class DropTarget final : public ComObject<IDropTarget> {
   public:
    DropTarget(HWND window, DropHandler* handler) : ComObject(IID_IDropTarget), window_(window), handler_(handler) {
    }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD keys, POINTL point, DWORD* effect) override {
        rightButton_ = (keys & MK_RBUTTON) != 0;
        return DragOver(keys, point, effect);
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override {
        keys_ = keys;
        *effect = handler_->AcceptsDropAt({point.x, point.y}) ? (DropEffectOfKeys(keys) & *effect) : DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override {
        const POINT screen = {point.x, point.y};
        if (!handler_->AcceptsDropAt(screen)) {
            *effect = DROPEFFECT_NONE;
            return S_OK;
        }
        // The buttons are up by now; the state seen while dragging tells them.
        DWORD chosen = DropEffectOfKeys(keys_ | keys);
        if (rightButton_) {
            chosen = ChooseDropEffect(window_, screen, chosen);
        }
        *effect = chosen == DROPEFFECT_NONE ? DROPEFFECT_NONE : handler_->Drop(data, screen, chosen, keys_ | keys);
        return S_OK;
    }

   private:
    HWND window_;
    DropHandler* handler_;
    DWORD keys_ = 0;
    bool rightButton_ = false;
};

}  // namespace

DWORD TransferDroppedFiles(FileOpsHost& host,
                           const std::string& target,
                           IDataObject* data,
                           bool move,
                           bool confirm,
                           bool* listFiles) {
    if (confirm && !ConfirmDrop(host, target, move)) {
        return DROPEFFECT_NONE;
    }
    std::vector<std::string> files;
    if (!ReadDropFiles(data, &files) || files.empty()) {
        return DROPEFFECT_NONE;
    }
    const bool anyList = HasListFile(files);
    if (listFiles) {
        *listFiles = anyList;
    }
    if (!CopyOrMoveFiles(host, files, target, move)) {
        return DROPEFFECT_NONE;
    }
    return move && !anyList ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

bool ConfirmDrop(FileOpsHost& host, const std::string& target, bool move) {
    if (host.Owner()) {
        SetForegroundWindow(GetAncestor(host.Owner(), GA_ROOT));
    }
    return host.ShowMessage(DropQuestion(target, move), TransferCaption(move), MB_OKCANCEL | MB_ICONINFORMATION) ==
           IDOK;
}

bool PasteFromClipboard(FileOpsHost& host, const std::string& folder) {
    IDataObject* data = nullptr;
    if (FAILED(OleGetClipboard(&data)) || !data) {
        return false;
    }
    const DWORD effect = TransferDroppedFiles(host, folder, data, false, false, nullptr);
    data->Release();
    return effect != DROPEFFECT_NONE;
}

DWORD DropEffectOfKeys(DWORD keys) {
    return (keys & MK_SHIFT) ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
}

DWORD ChooseDropEffect(HWND owner, POINT screen, DWORD current) {
    HMENU menu = CreatePopupMenu();
    const bool moveFirst = current == DROPEFFECT_MOVE;
    AppendMenuA(menu, MF_STRING, moveFirst ? kDropMove : kDropCopy, moveFirst ? "ここに移動(&M)" : "ここにコピー(&C)");
    AppendMenuA(menu, MF_STRING, moveFirst ? kDropCopy : kDropMove, moveFirst ? "ここにコピー(&C)" : "ここに移動(&M)");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kDropCancel, "キャンセル");
    SetMenuDefaultItem(menu, 0, TRUE);
    const UINT chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
    DestroyMenu(menu);
    if (chosen == kDropMove) {
        return DROPEFFECT_MOVE;
    }
    return chosen == kDropCopy ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

DWORD DragData(IDataObject* data, bool fromMainWindow) {
    DropSource source;
    DWORD effect = DROPEFFECT_NONE;
    mainWindowDrag = fromMainWindow;
    const HRESULT result = DoDragDrop(data, &source, DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect);
    mainWindowDrag = false;
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

bool MainWindowDragActive() {
    return mainWindowDrag;
}

IDropTarget* CreateDropTarget(HWND window, DropHandler* handler) {
    return new DropTarget(window, handler);
}
