// The locale comparison of the Windows build: the user's default locale with
// the table's flags. CompareStringA gives 1, 2 or 3 (0 on failure), so the
// result is -1, 0 or 1, or -2 when the call fails.
#include <windows.h>

#include "core/BagBox.h"

int CompareLocale(const char* a, const char* b, uint32_t flags) {
    return CompareStringA(LOCALE_USER_DEFAULT, flags, a, -1, b, -1) - 2;
}
