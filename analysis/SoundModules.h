// Sound modules: the table of tone generators a MIDI song may be written for,
// the table of detection strings that infer a song's module from its folder,
// archive, file name and title, their defaults and their place in the
// settings store, and the per-player option that asks a player to emulate
// the module.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/BagBox.h"

class SettingsStore;

// SoundModule: string columns of the module table, sorted by order.
namespace SoundModuleColumn {
constexpr int32_t order = 0;  // eight zero-padded decimal digits
constexpr int32_t name = 1;   // unique ignoring case, never holds '\\'
constexpr int32_t comment = 2;
constexpr int32_t optWfp = 3;    // WRD File Player option
constexpr int32_t optTmidi = 4;  // TMIDI Player option
constexpr int32_t optDecop = 5;  // DECOPLAY option
constexpr int32_t kStrings = 6;
}  // namespace SoundModuleColumn

// SoundModuleDetector: string columns of the detection table, sorted by
// searchOrder (smaller is tried first).
namespace SoundModuleDetectorColumn {
constexpr int32_t searchOrder = 0;  // eight zero-padded decimal digits
constexpr int32_t name = 1;         // a module name
constexpr int32_t searchStr = 2;    // detection strings separated by ';'
constexpr int32_t kStrings = 3;
}  // namespace SoundModuleDetectorColumn

// Bits of SearchStrFlag: which texts of a song are searched.
constexpr uint32_t kSearchStrPath = 0x1;         // folder path
constexpr uint32_t kSearchStrArchiveName = 0x2;  // archive file name (members only)
constexpr uint32_t kSearchStrFileName = 0x4;     // file name or member path
constexpr uint32_t kSearchStrTitle = 0x8;        // title
constexpr uint32_t kDefaultSearchStrFlag = 0xF;

// Texts read from the store and searched texts: bytes including the terminator.
constexpr size_t kSoundModuleTextBytes = 512;

// The reserved module of row 0: songs nothing was detected for.
extern const char kOtherSoundModule[];

// One row of the built-in defaults: a module and its detection strings.
struct DefaultSoundModuleRow {
    const char* order;
    const char* name;
    const char* comment;
    const char* optWfp;
    const char* optTmidi;
    const char* optDecop;
    const char* searchOrder;
    const char* searchStr;
};
constexpr size_t kDefaultSoundModuleCount = 17;
extern const DefaultSoundModuleRow kDefaultSoundModules[kDefaultSoundModuleCount];

// Empty tables of the two layouts (names compare ignoring ASCII case).
BagBox MakeSoundModuleTable();
BagBox MakeSoundModuleDetectorTable();

// An order number as at least eight zero-padded decimal digits.
std::string FormatModuleOrder(uint32_t number);
// The number of the leading decimal digits of an order text (saturating; 0 without digits).
uint32_t ParseModuleOrder(const char* text);

// Empties both tables and adds row 0, the reserved module.
void ResetSoundModules(BagBox* modules, BagBox* detectors);
// Sorts each table by its first column; row 0 of the module table stays.
void SortSoundModules(BagBox* modules, BagBox* detectors);
// Row 0 plus the seventeen built-in modules, detection table sorted.
void SetDefaultSoundModules(BagBox* modules, BagBox* detectors);

// Fills both tables from the "Emulation" key; the defaults when the key is
// missing. Subkeys that cannot be opened are skipped; nothing is reported.
void LoadSoundModules(SettingsStore* store, BagBox* modules, BagBox* detectors);
// Replaces every subkey of "Emulation" with one per module after row 0.
// Subkeys that cannot be written are skipped; nothing is reported.
void SaveSoundModules(SettingsStore* store, const BagBox& modules, const BagBox& detectors);

// The module whose detection strings first occur in text, tried in table
// order; null when none does. The name points into the detection table and
// stays valid until the table changes.
const char* FindModuleInText(const BagBox& detectors, const char* text);

// Archive kind of a name by its extension, 0 when it names no archive whose
// archiver is available (the catalogue's archive layer provides it). A null
// function stands for no archiver at all.
using ArchiveKindOfNameFn = int (*)(const char* name);

// The module of a MIDI-like song from its path (an archive member written as
// "archive>member") and title (may be null), searching the texts that
// searchStrFlag selects. Never null: a name in the detection table (valid
// until it changes) or kOtherSoundModule.
const char* DetectSoundModule(const BagBox& detectors,
                              uint32_t searchStrFlag,
                              ArchiveKindOfNameFn archiveKindOfName,
                              const char* path,
                              const char* title);

// The module table column holding the option of a player kind (2 WRD File
// Player, 4 TMIDI Player, 5 DECOPLAY); -1 for players without one.
int32_t SoundModuleOptionColumn(int32_t playerKind);
// The option a player is given for a module: "" when the player takes none,
// the module is not in the table or its option is empty. The text points
// into the table and stays valid until it changes.
const char* SoundModuleOption(const BagBox& modules, const char* moduleName, int32_t playerKind);
