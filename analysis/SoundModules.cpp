// The sound module and detection tables: defaults, storage under the
// "Emulation" key, detection of a song's module and the player options.
#include "analysis/SoundModules.h"

#include <cstring>
#include <vector>

#include "core/SettingsStore.h"
#include "core/Text.h"

const char kOtherSoundModule[] = "その他";

// The quotes of the WRD File Player options belong to the option text.
const DefaultSoundModuleRow kDefaultSoundModules[kDefaultSoundModuleCount] = {
    {"00000001", "GM1", "GM1音源", "/D \"GM\"", "GM", "-MGM", "00000160", "GM;GM1;ＧＭ;ＧＭ１"},
    {"00000002", "GM2", "GM2音源", "/D \"GM2\"", "GM2", "-MGM2", "00000150", "GM2;ＧＭ２"},
    {"00000003", "GS", "GS音源", "/D \"GS\"", "GS", "-NAMP -NRST -RGS", "00000130", "GS;ＧＳ"},
    {"00000004", "XG", "XG音源", "/D \"XG\"", "XG", "-MXG", "00000140", "XG;ＸＧ"},
    {"00000005", "MT/CM", "Roland MT-32/CM-64", "/D \"CM\"", "CM-64", "-M6", "00000170", "CM;MT;ＣＭ;ＭＴ"},
    {"00000006", "SC-55", "Roland SC-55", "/D \"SC-55\"", "SC-55", "-M5", "00000020", "55;５５"},
    {"00000007", "SC-55mk2", "Roland SC-55mk2", "/D \"SC-55\"", "SC-55mk2", "-M5", "00000010", "5MK;５ＭＫ"},
    {"00000008", "SC-88", "Roland SC-88", "/D \"SC-88\"", "SC-88", "-M8", "00000050", "88;８８"},
    {"00000009", "SC-88Pro", "Roland SC-88Pro", "/D \"SC-88Pro\"", "SC-88PRO", "-M8P", "00000030", "8P;８Ｐ"},
    {"00000010", "SC-8850", "Roland SC-8850", "/D \"SC-8850\"", "SC-8850", "-M85", "00000040", "885;８８５"},
    {"00000011", "MU50", "YAMAHA MU50", "/D \"XG\"", "MU50", "-MXG", "00000060", "MU50;ＭＵ５０"},
    {"00000012", "MU80", "YAMAHA MU80", "/D \"XG\"", "MU80", "-MXG", "00000070", "MU80;ＭＵ８０"},
    {"00000013", "MU90", "YAMAHA MU90", "/D \"XG\"", "MU90", "-MXG", "00000080", "MU90;ＭＵ９０"},
    {"00000014", "MU100", "YAMAHA MU100", "/D \"XG\"", "MU100", "-MXG", "00000090", "MU100;ＭＵ１００"},
    {"00000015", "MU128", "YAMAHA MU128", "/D \"XG\"", "MU128", "-MXG", "00000100", "MU128;ＭＵ１２８"},
    {"00000016", "MU1000", "YAMAHA MU1000", "/D \"XG\"", "MU1000", "-MXG", "00000110", "MU1000;ＭＵ１０００"},
    {"00000017", "MU2000", "YAMAHA MU2000", "/D \"XG\"", "MU2000", "-MXG", "00000120", "MU2000;ＭＵ２０００"},
};

// The tables are a few dozen short rows.
static constexpr int kTableRows = 16;
static constexpr int kTableRowStep = 8;
static constexpr uint32_t kTableTextBytes = 256;
static constexpr uint32_t kTableTextStep = 128;

static const char kEmulationKey[] = "Emulation";
static const char kOrderValue[] = "Order";
static const char kCommentValue[] = "Comment";
static const char kOptWfpValue[] = "OptWFP";
static const char kOptTmidiValue[] = "OptTMIDI";
static const char kOptDecopValue[] = "OptDECOP";
static const char kSearchOrderValue[] = "SearchOrder";
static const char kSearchStrValue[] = "SearchStr";

// Player kinds that take a module option.
static constexpr int32_t kWrdFilePlayerKind = 2;
static constexpr int32_t kTmidiPlayerKind = 4;
static constexpr int32_t kDecoplayKind = 5;

BagBox MakeSoundModuleTable() {
    return BagBox(nullptr, true, false, SoundModuleColumn::kStrings, 0, kTableRows, kTableRowStep, kTableTextBytes,
                  kTableTextStep);
}

BagBox MakeSoundModuleDetectorTable() {
    return BagBox(nullptr, true, false, SoundModuleDetectorColumn::kStrings, 0, kTableRows, kTableRowStep,
                  kTableTextBytes, kTableTextStep);
}

std::string FormatModuleOrder(uint32_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 8) {
        digits.insert(0, 8 - digits.size(), '0');
    }
    return digits;
}

uint32_t ParseModuleOrder(const char* text) {
    uint32_t value = 0;
    for (const char* p = text; *p >= '0' && *p <= '9'; ++p) {
        const uint32_t digit = static_cast<uint32_t>(*p - '0');
        if (value > (UINT32_MAX - digit) / 10) {
            return UINT32_MAX;
        }
        value = value * 10 + digit;
    }
    return value;
}

void ResetSoundModules(BagBox* modules, BagBox* detectors) {
    modules->Clear();
    detectors->Clear();
    modules->Add({"00000000", kOtherSoundModule, "エミュレーションをしない", "", "", ""});
}

// The reserved module stays in row 0 even when a stored module has the order
// "00000000" as well.
void SortSoundModules(BagBox* modules, BagBox* detectors) {
    modules->Sort(SoundModuleColumn::order, false, 1);
    detectors->Sort(SoundModuleDetectorColumn::searchOrder, false);
}

void SetDefaultSoundModules(BagBox* modules, BagBox* detectors) {
    ResetSoundModules(modules, detectors);
    for (const DefaultSoundModuleRow& row : kDefaultSoundModules) {
        modules->Add({row.order, row.name, row.comment, row.optWfp, row.optTmidi, row.optDecop});
        detectors->Add({row.searchOrder, row.name, row.searchStr});
    }
    SortSoundModules(modules, detectors);
}

static std::string ModuleKey(const std::string& name) {
    return std::string(kEmulationKey) + "\\" + name;
}

// A missing number reads as order 0.
static std::string ReadOrder(SettingsStore* store, const std::string& key, const char* value) {
    uint32_t number = 0;
    store->ReadNumber(key, value, &number);
    return FormatModuleOrder(number);
}

// A missing or oversized text reads as empty.
static std::string ReadString(SettingsStore* store, const std::string& key, const char* value) {
    std::string text;
    if (!store->ReadText(key, value, kSoundModuleTextBytes, &text)) {
        text.clear();
    }
    return text;
}

void LoadSoundModules(SettingsStore* store, BagBox* modules, BagBox* detectors) {
    if (!store->KeyExists(kEmulationKey)) {
        SetDefaultSoundModules(modules, detectors);
        return;
    }
    const std::vector<std::string> names = store->SubKeys(kEmulationKey);
    ResetSoundModules(modules, detectors);
    for (const std::string& name : names) {
        const std::string key = ModuleKey(name);
        // Names are enumerated into 512-byte buffers; a longer one is lost.
        if (name.size() >= kSoundModuleTextBytes || !store->KeyExists(key)) {
            continue;
        }
        const std::string order = ReadOrder(store, key, kOrderValue);
        const std::string comment = ReadString(store, key, kCommentValue);
        const std::string optWfp = ReadString(store, key, kOptWfpValue);
        const std::string optTmidi = ReadString(store, key, kOptTmidiValue);
        const std::string optDecop = ReadString(store, key, kOptDecopValue);
        const std::string searchOrder = ReadOrder(store, key, kSearchOrderValue);
        const std::string searchStr = ReadString(store, key, kSearchStrValue);
        modules->Add(
            {order.c_str(), name.c_str(), comment.c_str(), optWfp.c_str(), optTmidi.c_str(), optDecop.c_str()});
        if (!searchStr.empty()) {
            detectors->Add({searchOrder.c_str(), name.c_str(), searchStr.c_str()});
        }
    }
    SortSoundModules(modules, detectors);
}

// Writes one module's subkey; false when it could not be created.
static bool SaveModule(SettingsStore* store, const BagBox& modules, int32_t row, const BagBox& detectors) {
    const std::string name = modules.Read(row, SoundModuleColumn::name);
    // The name is a key name: an empty one or one with a separator would
    // write into another key.
    if (name.empty() || FindEitherChar(name.c_str(), '\\', '\0') >= 0) {
        return false;
    }
    const std::string key = ModuleKey(name);
    if (!store->WriteNumber(key, kOrderValue, ParseModuleOrder(modules.Read(row, SoundModuleColumn::order)))) {
        return false;
    }
    store->WriteText(key, kCommentValue, modules.Read(row, SoundModuleColumn::comment));
    store->WriteText(key, kOptWfpValue, modules.Read(row, SoundModuleColumn::optWfp));
    store->WriteText(key, kOptTmidiValue, modules.Read(row, SoundModuleColumn::optTmidi));
    store->WriteText(key, kOptDecopValue, modules.Read(row, SoundModuleColumn::optDecop));
    const int32_t detector = detectors.Find(name.c_str(), SoundModuleDetectorColumn::name);
    if (detector >= 0) {
        store->WriteNumber(key, kSearchOrderValue,
                           ParseModuleOrder(detectors.Read(detector, SoundModuleDetectorColumn::searchOrder)));
        store->WriteText(key, kSearchStrValue, detectors.Read(detector, SoundModuleDetectorColumn::searchStr));
    } else {
        store->WriteNumber(key, kSearchOrderValue, 0);
        store->WriteText(key, kSearchStrValue, "");
    }
    return true;
}

void SaveSoundModules(SettingsStore* store, const BagBox& modules, const BagBox& detectors) {
    for (const std::string& name : store->SubKeys(kEmulationKey)) {
        store->DeleteKey(ModuleKey(name));
    }
    for (int32_t row = 1; row < modules.Count(); ++row) {
        SaveModule(store, modules, row, detectors);
    }
}

// Upper-cases ASCII letters and the full-width Latin letters of code page 932
// (0x8281-0x829A become 0x8260-0x8279) in place, sets startsChar (one flag
// per byte of text) to where each character begins, and marks in startBytes
// (256 flags) the bytes that begin a character.
static void UpperMultibyte(char* text, bool* startsChar, bool* startBytes) {
    for (char* p = text; *p != '\0';) {
        const size_t n = CharBytes(p);
        startsChar[p - text] = true;
        if (n == 2) {
            startsChar[p - text + 1] = false;
        }
        const uint8_t first = static_cast<uint8_t>(p[0]);
        if (n == 1 && first >= 'a' && first <= 'z') {
            p[0] = static_cast<char>(first - 0x20);
        } else if (n == 2 && first == 0x82) {
            const uint8_t second = static_cast<uint8_t>(p[1]);
            if (second >= 0x81 && second <= 0x9A) {
                p[1] = static_cast<char>(second - 0x21);
            }
        }
        startBytes[static_cast<uint8_t>(p[0])] = true;
        p += n;
    }
}

// True when token occurs in text starting on a character boundary, so that
// the trail byte of a double-byte character never begins a match. Places
// are found by the token's first byte, so a text is not walked character by
// character once per token.
static bool ContainsAtCharacter(const char* text,
                                size_t textBytes,
                                const bool* startsChar,
                                const char* token,
                                size_t tokenBytes) {
    if (tokenBytes == 0) {
        return true;
    }
    if (tokenBytes > textBytes) {
        return false;
    }
    const char* const last = text + (textBytes - tokenBytes);
    for (const char* p = text; p <= last; ++p) {
        p = static_cast<const char*>(std::memchr(p, token[0], static_cast<size_t>(last - p) + 1));
        if (!p) {
            return false;
        }
        if (startsChar[p - text] && std::memcmp(p + 1, token + 1, tokenBytes - 1) == 0) {
            return true;
        }
    }
    return false;
}

const char* FindModuleInText(const BagBox& detectors, const char* text) {
    char upper[kSoundModuleTextBytes];
    const size_t textBytes = CopyBounded(upper, text, kSoundModuleTextBytes - 1);
    bool startsChar[kSoundModuleTextBytes];
    bool startBytes[256] = {};
    UpperMultibyte(upper, startsChar, startBytes);
    for (int32_t row = 0; row < detectors.Count(); ++row) {
        // The ';'-separated tokens of the list, read in place (as NextToken
        // splits them: an empty token between two ';' matches any text).
        for (const char* p = detectors.Read(row, SoundModuleDetectorColumn::searchStr); *p != '\0';) {
            const char* const token = p;
            while (*p != '\0' && *p != ';') {
                p += static_cast<uint8_t>(*p) < 0x80 ? 1 : CharBytes(p);
            }
            // A token whose first byte begins no character of the text is
            // not in it.
            const size_t tokenBytes = static_cast<size_t>(p - token);
            const bool mayMatch = tokenBytes == 0 || startBytes[static_cast<uint8_t>(token[0])];
            if (mayMatch && ContainsAtCharacter(upper, textBytes, startsChar, token, tokenBytes)) {
                return detectors.Read(row, SoundModuleDetectorColumn::name);
            }
            if (*p == ';') {
                ++p;
            }
        }
    }
    return nullptr;
}

const char* DetectSoundModule(const BagBox& detectors,
                              uint32_t searchStrFlag,
                              ArchiveKindOfNameFn archiveKindOfName,
                              const char* path,
                              const char* title) {
    std::string folder;
    std::string name;
    SplitPath(path, &folder, &name, true);
    std::string archive;
    if (!folder.empty() && folder.back() == '>') {
        archive.assign(folder, 0, folder.size() - 1);
    }
    struct Place {
        uint32_t bit;
        const char* text;
    };
    // The texts in the order they are searched; each is searched completely
    // before the next, so the detection order only decides within one text.
    Place places[4];
    size_t placeCount = 0;
    std::string archiveFolder;
    std::string archiveName;
    if (!archive.empty() && archiveKindOfName && archiveKindOfName(archive.c_str()) != 0) {
        SplitPath(archive.c_str(), &archiveFolder, &archiveName, false);
        places[placeCount++] = {kSearchStrPath, archiveFolder.c_str()};
        places[placeCount++] = {kSearchStrArchiveName, archiveName.c_str()};
    } else {
        places[placeCount++] = {kSearchStrPath, folder.c_str()};
    }
    places[placeCount++] = {kSearchStrFileName, name.c_str()};
    places[placeCount++] = {kSearchStrTitle, title ? title : ""};
    for (size_t i = 0; i < placeCount; ++i) {
        if ((searchStrFlag & places[i].bit) == 0) {
            continue;
        }
        if (const char* found = FindModuleInText(detectors, places[i].text)) {
            return found;
        }
    }
    return kOtherSoundModule;
}

int32_t SoundModuleOptionColumn(int32_t playerKind) {
    switch (playerKind) {
        case kWrdFilePlayerKind:
            return SoundModuleColumn::optWfp;
        case kTmidiPlayerKind:
            return SoundModuleColumn::optTmidi;
        case kDecoplayKind:
            return SoundModuleColumn::optDecop;
        default:
            return -1;
    }
}

const char* SoundModuleOption(const BagBox& modules, const char* moduleName, int32_t playerKind) {
    const int32_t column = SoundModuleOptionColumn(playerKind);
    const int32_t row = column >= 0 && moduleName ? modules.Find(moduleName, SoundModuleColumn::name) : -1;
    return row >= 0 ? modules.Read(row, column) : "";
}
