// Drives sound module detection over arbitrary bytes: the input is searched as
// a title and as a song path with the built-in detection table, and its first
// part becomes a detection string list of its own. Every answer must be a
// module of the table or the reserved one, and nothing may be read outside
// the texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "analysis/SoundModules.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

static int AnyArchive(const char* name) {
    return std::strlen(name) >= 5 ? 1 : 0;
}

static bool IsDetectorName(const BagBox& detectors, const char* name) {
    return detectors.Find(name, SoundModuleDetectorColumn::name) >= 0;
}

static void FuzzTable(const BagBox& detectors, const char* text, uint32_t flags) {
    const char* found = FindModuleInText(detectors, text);
    Check(!found || IsDetectorName(detectors, found));
    const char* detected = DetectSoundModule(detectors, flags, AnyArchive, text, text);
    Check(detected == kOtherSoundModule || IsDetectorName(detectors, detected));
    Check(DetectSoundModule(detectors, 0, AnyArchive, text, text) == kOtherSoundModule);
    DetectSoundModule(detectors, flags, nullptr, text, nullptr);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<char[]> text(new char[size + 1]);
    std::memcpy(text.get(), data, size);
    text[size] = '\0';
    const uint32_t flags = size > 0 ? data[0] & 0xF : 0;

    static BagBox modules = MakeSoundModuleTable();
    static BagBox defaults = MakeSoundModuleDetectorTable();
    if (modules.Count() == 0) {
        SetDefaultSoundModules(&modules, &defaults);
    }
    FuzzTable(defaults, text.get(), flags);

    // The bytes up to the first NUL, cut at a third, as a detection string
    // list searched in the rest.
    const size_t length = std::strlen(text.get());
    const std::string searchStr(text.get(), length / 3);
    // One table for the run, emptied for each input: making a table per
    // input cost more than the search itself.
    static BagBox detectors = MakeSoundModuleDetectorTable();
    detectors.Clear();
    detectors.Add({"00000000", "Fuzz", searchStr.c_str()});
    FuzzTable(detectors, text.get() + length / 3, flags);
    return 0;
}
