// Drag-and-drop between the program's windows and the shell: the transfer of
// dropped files, the drop menu of the right mouse button, the drag loop and
// a drop target that hands drops to its window.
#pragma once

#include <windows.h>

#include <ole2.h>

#include <string>

class FileOpsHost;

// Copies or moves the CF_HDROP files of data into target. With confirm the
// user is asked first ("MesDragDrop" on a tree drop). *listFiles (may be
// null) tells whether a list file was among them. The effect for the drag
// source: none when nothing was done, move when files were moved and no list
// file was among them, else copy.
DWORD TransferDroppedFiles(FileOpsHost& host,
                           const std::string& target,
                           IDataObject* data,
                           bool move,
                           bool confirm,
                           bool* listFiles);

// The question before files dropped on the tree are transferred: the main
// window comes to the front; true when the user chose OK.
bool ConfirmDrop(FileOpsHost& host, const std::string& target, bool move);
// Pastes the clipboard's files into folder as a copy; true when any was copied.
bool PasteFromClipboard(FileOpsHost& host, const std::string& folder);

// The effect a drop asks for: move with Shift held, else copy.
DWORD DropEffectOfKeys(DWORD keys);

// The drop menu at a screen point: "ここに移動(&M)" and "ここにコピー(&C)"
// (the current effect first), "キャンセル". The chosen effect, none on cancel.
DWORD ChooseDropEffect(HWND owner, POINT screen, DWORD current);

// Runs the drag loop for data with copy and move allowed; the drop's effect.
// fromMainWindow marks drags of the song list and the folder tree.
DWORD DragData(IDataObject* data, bool fromMainWindow);
// True while a drag started by the main window is running.
bool MainWindowDragActive();

// What a window does with drops on it.
class DropHandler {
   public:
    virtual ~DropHandler() = default;
    // Whether a drop at the screen point is accepted.
    virtual bool AcceptsDropAt(POINT screen) = 0;
    // Handles a drop with the effect chosen; the effect reported back.
    virtual DWORD Drop(IDataObject* data, POINT screen, DWORD effect, DWORD keys) = 0;
};

// A drop target for RegisterDragDrop forwarding to a handler; the right
// mouse button's drop shows the drop menu first. The window owns one reference.
IDropTarget* CreateDropTarget(HWND window, DropHandler* handler);
