// Feeds arbitrary bytes to the NEO script scanner: every name it returns is
// non-empty, at most 511 bytes, holds no NUL and never ends in a lone lead byte.
#include <cstddef>
#include <cstdint>

#include "catalogue/RelatedFiles.h"
#include "core/Text.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const std::string& name : ScanNeoScript(data, size)) {
        Check(!name.empty() && name.size() <= 511);
        for (size_t i = 0; i < name.size(); i++) {
            Check(name[i] != '\0');
            if (IsLeadByte(uint8_t(name[i]))) {
                Check(i + 1 < name.size());
                i++;
            }
        }
    }
    return 0;
}
