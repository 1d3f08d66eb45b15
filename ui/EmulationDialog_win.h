// The sound module emulation settings dialog and its edit dialog: a working
// list of the modules held by SoundModuleEditor, shown in a list view and
// changed by the edit, add, delete, move and reset buttons; OK writes the
// detection flags, the reset message switch and, when anything changed, both
// tables.
#pragma once

#include <windows.h>

#include <cstdint>

#include "analysis/SoundModuleEdit.h"
#include "core/BagBox.h"
#include "core/Settings.h"
#include "ui/framework/Dialog_win.h"

// The edit dialog ("追加 - Quillory" or "編集 - Quillory"). On OK the name
// is checked; a broken rule is shown and the dialog stays open.
class ModuleEditDialog : public SDialog {
   public:
    // editing: the row edited, -1 to add a row.
    ModuleEditDialog(SWindow* owner, SoundModuleEditor* editor, int32_t editing);

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;

   private:
    void Accept();

    SoundModuleEditor* editor_;
    int32_t editing_;
};

class EmulationDialog : public SDialog {
   public:
    EmulationDialog(SWindow* owner, BagBox* modules, BagBox* detectors, EmulationSettings* emulation);

   protected:
    void OnInitDialog(MessageContext& m) override;
    void OnCommand(MessageContext& m) override;
    void OnNotify(MessageContext& m) override;

   private:
    void FillList(int32_t select);
    int32_t SelectedRow() const;
    void EditRow(int32_t row);
    void DeleteRow();
    void MoveRow(int32_t step);
    void Reset();
    void Commit();
    void UpdateButtons();

    SoundModuleEditor editor_;
    BagBox* modules_;
    BagBox* detectors_;
    EmulationSettings* emulation_;
};

// Runs the emulation settings dialog; true when OK stored the settings.
bool ShowEmulationDialog(SWindow* owner, BagBox* modules, BagBox* detectors, EmulationSettings* emulation);
