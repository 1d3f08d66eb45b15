// Drives the search matching with untrusted key and row texts: the first
// byte picks the flags and the multi-word mode, the rest is the key, a NUL,
// then the text. Checks what the searches rely on: a text matches itself as
// a key, and no matching reads past its bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "actions/Search.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint32_t flags = data[0] & 0x7;
    const uint32_t mode = (data[0] >> 3) % 3;
    const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const size_t split = rest.find('\0');
    const std::string keyText = rest.substr(0, split);
    const std::string text = split == std::string::npos ? std::string() : rest.substr(split + 1);

    SearchSettings settings;
    settings.strFlag = flags;
    settings.strAndOr = mode;
    SetSearchText(&settings, keyText.c_str());
    const SearchKeyText key = PrepareSearchKey(settings);
    MatchText(key, text.c_str());
    MatchText(key, RelatedFileText(text).c_str());
    UpperCp932(text.c_str());

    // The search text matched against itself: only a text without words may
    // fail, or several words each needing to be the whole text.
    const bool hasWord = settings.searchText.find_first_not_of(' ') != std::string::npos;
    if (hasWord && (mode == kWordsAsIs || (flags & kSearchContains))) {
        Check(MatchText(key, settings.searchText.c_str()));
    }
    Check(settings.history.Count() == 1);
    return 0;
}
