// The emulation settings dialog's working list and the rules of its buttons.
#include "analysis/SoundModuleEdit.h"

#include <utility>

#include "analysis/SoundModules.h"
#include "core/Text.h"

const char kSoundModuleSettingsCaption[] = "音源エミュレーションの設定 - Quillory";
const char kAddSoundModuleCaption[] = "追加 - Quillory";
const char kEditSoundModuleCaption[] = "編集 - Quillory";
const char kDeleteSoundModuleCaption[] = "削除 - Quillory";
const char kResetSoundModulesCaption[] = "標準に戻す - Quillory";
const char kResetSoundModulesQuestion[] = "音源別の設定を標準に戻します。";
const char kModuleNameBackslashMessage[] = "音源名に '\\' が含まれています。";
const char kModuleNameReservedMessage[] = "指定された音源は予約されていますので使用できません。";
const char kModuleNameTakenMessage[] = "すでに同じ音源があります。";

std::string DeleteSoundModuleQuestion(const char* name) {
    return std::string(name) + " を削除します。";
}

SoundModuleEditor::SoundModuleEditor(const BagBox& modules, const BagBox& detectors) {
    for (int32_t row = 1; row < modules.Count(); ++row) {
        SoundModuleEntry entry;
        entry.name = modules.Read(row, SoundModuleColumn::name);
        entry.comment = modules.Read(row, SoundModuleColumn::comment);
        entry.optWfp = modules.Read(row, SoundModuleColumn::optWfp);
        entry.optTmidi = modules.Read(row, SoundModuleColumn::optTmidi);
        entry.optDecop = modules.Read(row, SoundModuleColumn::optDecop);
        const int32_t detector = detectors.Find(entry.name.c_str(), SoundModuleDetectorColumn::name);
        if (detector >= 0) {
            entry.searchStr = detectors.Read(detector, SoundModuleDetectorColumn::searchStr);
            entry.searchOrder = ParseModuleOrder(detectors.Read(detector, SoundModuleDetectorColumn::searchOrder));
        }
        rows_.push_back(std::move(entry));
    }
}

const char* SoundModuleEditor::CheckName(int32_t editing, const char* name) const {
    // The order of the tests decides which message a name that breaks
    // several rules gets.
    if (FindEitherChar(name, '\\', '\0') >= 0) {
        return kModuleNameBackslashMessage;
    }
    if (CompareNoCase(name, kOtherSoundModule) == 0) {
        return kModuleNameReservedMessage;
    }
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (static_cast<int32_t>(i) != editing && CompareNoCase(name, rows_[i].name.c_str()) == 0) {
            return kModuleNameTakenMessage;
        }
    }
    return nullptr;
}

const char* SoundModuleEditor::Store(int32_t editing, const SoundModuleEntry& entry) {
    const bool editingRow = editing >= 0 && static_cast<size_t>(editing) < rows_.size();
    const int32_t checked = editingRow ? editing : -1;
    if (const char* message = CheckName(checked, entry.name.c_str())) {
        return message;
    }
    SoundModuleEntry stored = entry;
    // Typed text is not held to the spin control's range.
    if (stored.searchOrder > kMaxModuleSearchOrder) {
        stored.searchOrder = kMaxModuleSearchOrder;
    }
    if (editingRow) {
        rows_[static_cast<size_t>(editing)] = std::move(stored);
    } else {
        rows_.push_back(std::move(stored));
    }
    changed_ = true;
    return nullptr;
}

bool SoundModuleEditor::Delete(int32_t position) {
    if (position < 0 || static_cast<size_t>(position) >= rows_.size()) {
        return false;
    }
    rows_.erase(rows_.begin() + position);
    changed_ = true;
    return true;
}

int32_t SoundModuleEditor::Move(int32_t position, int32_t step) {
    const int64_t target = static_cast<int64_t>(position) + step;
    const int64_t count = static_cast<int64_t>(rows_.size());
    if (position < 0 || position >= count || target < 0 || target >= count || step == 0) {
        return position;
    }
    std::swap(rows_[static_cast<size_t>(position)], rows_[static_cast<size_t>(target)]);
    changed_ = true;
    return static_cast<int32_t>(target);
}

void SoundModuleEditor::ResetToDefaults() {
    rows_.clear();
    for (const DefaultSoundModuleRow& row : kDefaultSoundModules) {
        SoundModuleEntry entry;
        entry.name = row.name;
        entry.comment = row.comment;
        entry.searchStr = row.searchStr;
        entry.searchOrder = ParseModuleOrder(row.searchOrder);
        entry.optWfp = row.optWfp;
        entry.optTmidi = row.optTmidi;
        entry.optDecop = row.optDecop;
        rows_.push_back(std::move(entry));
    }
    changed_ = true;
}

bool SoundModuleEditor::Commit(BagBox* modules, BagBox* detectors) const {
    if (!changed_) {
        return false;
    }
    ResetSoundModules(modules, detectors);
    for (size_t i = 0; i < rows_.size(); ++i) {
        const SoundModuleEntry& row = rows_[i];
        const std::string order = FormatModuleOrder(static_cast<uint32_t>(i + 1));
        const std::string searchOrder = FormatModuleOrder(row.searchOrder);
        modules->Add({order.c_str(), row.name.c_str(), row.comment.c_str(), row.optWfp.c_str(), row.optTmidi.c_str(),
                      row.optDecop.c_str()});
        detectors->Add({searchOrder.c_str(), row.name.c_str(), row.searchStr.c_str()});
    }
    SortSoundModules(modules, detectors);
    return true;
}
