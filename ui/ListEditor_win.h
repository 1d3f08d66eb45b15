// The list file editor: a top-level window ("Kadrel MakeList") showing one
// ListDocument as a report list with a final "[EOF]" row, with its own menu,
// accelerators, drag-and-drop and clipboard. Several may be open at once;
// the main window closes them all at exit.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "actions/DragDrop_win.h"
#include "actions/FileOps_win.h"
#include "core/Settings.h"
#include "ui/framework/Controls_win.h"
#include "ui/framework/SWindow_win.h"
#include "ui/rules/ListEditorRules.h"

constexpr char kListEditorClass[] = "Kadrel MakeList";

class ListEditor : public SWindow, public DropHandler {
   public:
    // messages, when given, shows every message box (tests answer them);
    // otherwise the editor shows its own. The editor deletes itself when closed.
    explicit ListEditor(std::unique_ptr<FileOpsHost> messages);
    ~ListEditor() override;

    // Creates the window, reading path when it is not empty. True when the
    // window exists (a list that cannot be read leaves it empty).
    bool OpenWindow(const std::string& path);

    // When modified, asks whether to save; false when the user cancelled.
    bool AskToSave();
    // Selects the entries at the positions (and only those).
    void SelectEntries(const std::vector<size_t>& positions);

    const ListDocument& Document() const;
    HWND ListHandle() const;
    // The second column of an entry row (titles are read once).
    std::string SecondColumn(size_t position);

    // DropHandler.
    bool AcceptsDropAt(POINT screen) override;
    DWORD Drop(IDataObject* data, POINT screen, DWORD effect, DWORD keys) override;

   protected:
    void OnCreate(MessageContext& m) override;
    void OnSize(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;
    void OnNotify(MessageContext& m) override;
    void OnContextMenu(MessageContext& m) override;
    void OnClose(MessageContext& m) override;
    void OnDestroy(MessageContext& m) override;

   private:
    // Commands.
    void NewList();
    void OpenList();
    void Save();
    void SaveAs();
    void CloseEditor();
    void AddEntry();
    void ChangeEntry();
    void RemoveDriveNames();
    void RemovePaths();
    void CutEntries();
    void CopyEntries();
    void PasteEntries();
    void SelectAll();
    void InvertSelection();
    void ToggleToolBar();
    void ToggleStatusBar();
    void Redraw();
    void ShowContextMenu();
    void OpenListHelp();
    void OpenEditorHelp();

    void LoadFile(const std::string& path);
    bool SaveTo(const std::string& path);
    std::vector<size_t> SelectedEntries() const;
    size_t FocusedPosition() const;
    void InsertEntries(size_t position, const std::vector<std::string>& texts);
    bool InsertFromData(IDataObject* data, size_t position, bool altHeld);
    IDataObject* MakeDataObject() const;
    void DragRows();
    void Refill();
    void RefreshTitle();
    void RefreshStatus();
    bool ConfirmRemoval(const char* text);
    int Message(const std::string& text, const char* caption, UINT type);

    static const CommandRoute<ListEditor> kCommands[];

    std::unique_ptr<FileOpsHost> messages_;
    ListDocument document_;
    std::map<std::string, std::string> titles_;
    std::unique_ptr<SListView> list_;
    std::unique_ptr<SStatusBar> status_;
    std::unique_ptr<SReBar> rebar_;
    std::unique_ptr<SToolBar> toolBar_;
    IDropTarget* dropTarget_ = nullptr;
    bool draggingRows_ = false;
    bool showStatusBar_ = true;
    bool showToolBar_ = true;
    int columnWidths_[2] = {258, 294};
    void CreateToolBar(const RebarBand& band);
    void RememberLayout();
    void LetGoOfWindow();
    void LayOut();
};

// The settings every editor opens with and leaves its layout in (window
// place, columns, bars); null: the defaults, nothing remembered.
void SetListEditorSettings(MakeListSettings* settings);

// The title settings the song list reads titles with, which the editor's
// title column follows; null: the defaults.
void SetListEditorTitleSettings(const ModeSettings* mode);

// Closes every open editor, asking to save each modified one; false (and
// the rest left open) when the user cancelled a question.
bool CloseAllListEditors();

// True while any list editor window is open.
bool AnyListEditorOpen();

// Translates the editor accelerators for a message to an editor window.
bool TranslateListEditorMessage(MSG* msg, HACCEL accelerators);

// Opens an editor on path (empty: a new list); null when it cannot be created.
ListEditor* OpenListEditor(const std::string& path);
