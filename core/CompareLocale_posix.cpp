// The locale comparison of the native build. There is no user locale to ask,
// so it stands in with the rule the program's tables need most: ASCII letters
// fold when kNormIgnoreCase is set (double-byte characters compare as their
// bytes), and everything else compares bytewise. The kana-type, width and
// symbol flags have no effect here.
#include "core/BagBox.h"

int CompareLocale(const char* a, const char* b, uint32_t flags) {
    if (flags & kNormIgnoreCase) {
        return CompareIgnoreCase(a, b, flags);
    }
    return CompareBytes(a, b, flags);
}
