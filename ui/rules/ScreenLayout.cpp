// Scaling the fixed sizes to a screen's DPI and fitting the first-start
// columns of the song list.
#include "ui/rules/ScreenLayout.h"

#include <cstdint>

// n * to / from rounded half away from zero, in 64 bits so large lengths at
// large densities do not overflow.
static int Rescale(int n, int to, int from) {
    if (from <= 0 || to <= 0) {
        return n;
    }
    const int64_t scaled = int64_t(n) * to;
    const int64_t half = from / 2;
    return int(scaled >= 0 ? (scaled + half) / from : -((-scaled + half) / from));
}

int ScaleFromBase(int pixels, int dpi) {
    return Rescale(pixels, dpi, kBaseDpi);
}

int ScaleToBase(int pixels, int dpi) {
    return Rescale(pixels, kBaseDpi, dpi);
}

void FitColumnWidths(int listWidth, const int needed[kListColumnCount], int widths[kListColumnCount]) {
    // Shares of the name, title and comment columns in what is left over
    // once every column has what it needs.
    static const int kShares[3] = {96, 276, 96};
    static const int kShareTotal = 96 + 276 + 96;
    int extra = listWidth;
    for (int i = 0; i < kListColumnCount; ++i) {
        widths[i] = needed[i];
        extra -= needed[i];
    }
    if (extra <= 0) {
        return;
    }
    int given = 0;
    for (int i = 0; i < 3; ++i) {
        // The last share takes what rounding left over.
        const int share = i < 2 ? int(int64_t(extra) * kShares[i] / kShareTotal) : extra - given;
        given += share;
        widths[i] += share;
    }
}
