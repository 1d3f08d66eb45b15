// Loads arbitrary bytes as a title cache file. Whatever is accepted must
// write back to bytes that load to the same rows, and the rows can never
// outnumber what the bytes can hold.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "catalogue/TitleCache.h"

static void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BagBox table = MakeTitleCache();
    if (!ParseTitleCache(data, size, &table)) {
        Check(table.Count() == 0);
        return 0;
    }
    Check(size_t(table.Count()) <= size / 6);
    const std::string bytes = TitleCacheBytes(table);
    BagBox again = MakeTitleCache();
    Check(ParseTitleCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &again));
    Check(again.Count() == table.Count());
    for (int32_t i = 0; i < table.Count(); i++) {
        for (int32_t column = 0; column < TitleCacheColumn::kStrings; column++) {
            Check(std::strcmp(table.Read(i, column), again.Read(i, column)) == 0);
        }
        Check(table.iRead(i, TitleCacheColumn::relatedFlags) == again.iRead(i, TitleCacheColumn::relatedFlags));
    }
    return 0;
}
