// Feeds arbitrary bytes to the Sherry WRD script scanner (see ScriptScanFuzz.h).
#include <cstddef>
#include <cstdint>

#include "ScriptScanFuzz.h"
#include "catalogue/RelatedFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckScriptNames(ScanSherryScript(data, size));
    return 0;
}
