// Feeds arbitrary bytes to the NEO script scanner (see ScriptScanFuzz.h).
#include <cstddef>
#include <cstdint>

#include "ScriptScanFuzz.h"
#include "catalogue/RelatedFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckScriptNames(ScanNeoScript(data, size));
    return 0;
}
