// The rules of the sound module emulation settings dialog: a working list of
// the modules (every one except the reserved one), the checks on an entered
// name, the effects of the edit, add, delete, move and reset buttons, and how
// OK turns the list back into the two tables. The dialog only shows the list
// and the messages these functions give.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/BagBox.h"

// Captions and texts of the dialog's message boxes.
extern const char kSoundModuleSettingsCaption[];  // the settings dialog
extern const char kAddSoundModuleCaption[];       // the edit dialog when adding
extern const char kEditSoundModuleCaption[];      // the edit dialog when editing
extern const char kDeleteSoundModuleCaption[];
extern const char kResetSoundModulesCaption[];
extern const char kResetSoundModulesQuestion[];
extern const char kModuleNameBackslashMessage[];
extern const char kModuleNameReservedMessage[];
extern const char kModuleNameTakenMessage[];

// The highest detection order the edit dialog accepts.
constexpr uint32_t kMaxModuleSearchOrder = 32767;

// One row of the working list: a module with its detection strings.
struct SoundModuleEntry {
    std::string name;
    std::string comment;
    std::string searchStr;
    uint32_t searchOrder = 0;
    std::string optWfp;
    std::string optTmidi;
    std::string optDecop;
};

// The question Delete asks: the module's name and " を削除します。".
std::string DeleteSoundModuleQuestion(const char* name);

class SoundModuleEditor {
   public:
    // The working list: the modules after row 0 in table order, each with the
    // detection row of its name (empty strings and order 0 without one).
    SoundModuleEditor(const BagBox& modules, const BagBox& detectors);

    const std::vector<SoundModuleEntry>& Rows() const {
        return rows_;
    }
    // True once a row was stored, deleted, moved or the list reset.
    bool Changed() const {
        return changed_;
    }

    // The message of the first rule the name breaks, or null when it may be
    // stored. editing is the position of the edited row, -1 when adding.
    const char* CheckName(int32_t editing, const char* name) const;

    // Checks entry.name and, when it passes, stores the entry at editing or
    // appends it (editing -1). Returns the message of the broken rule, or
    // null when stored.
    const char* Store(int32_t editing, const SoundModuleEntry& entry);

    // True when the row existed and was deleted.
    bool Delete(int32_t position);
    // Moves a row one place up (step -1) or down (step 1); returns its new
    // position, the old one when it is already at that end or out of range.
    int32_t Move(int32_t position, int32_t step);
    // Replaces the list with the built-in modules.
    void ResetToDefaults();

    // The dialog's OK: when anything changed, rebuilds both tables from the
    // list, the list position giving the order. True when rebuilt.
    bool Commit(BagBox* modules, BagBox* detectors) const;

   private:
    std::vector<SoundModuleEntry> rows_;
    bool changed_ = false;
};
