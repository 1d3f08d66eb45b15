// The main window's pure rules: status bar layout and texts, the minimized
// title, tool tips and band defaults.
#include "ui/rules/MainWindowRules.h"

#include <algorithm>
#include <cstring>

#include "ui/rules/ScreenLayout.h"

// Widths of parts 2 to 5 (emulation, play mode, cache, indicator), 96-DPI pixels.
static const int kFixedPartWidths[] = {145, 128, 87, 19};
// Below this client width less the fixed parts the player part is dropped.
static const int kPlayerPartThreshold = 490;

void StatusPartEdges(int clientWidth, int scrollBarWidth, int dpi, int edges[kStatusPartCount]) {
    const int width = clientWidth - (scrollBarWidth + ScaleFromBase(2, dpi));
    int fixedTotal = 0;
    for (int fixed : kFixedPartWidths) {
        fixedTotal += ScaleFromBase(fixed, dpi);
    }
    const int minimumCount = ScaleFromBase(kStatusMinimumCountWidth, dpi);
    const int playerWidth =
        width - ScaleFromBase(kPlayerPartThreshold, dpi) < minimumCount ? 0 : ScaleFromBase(kStatusPlayerWidth, dpi);
    edges[0] = std::max(width - playerWidth - fixedTotal, minimumCount);
    edges[1] = edges[0] + playerWidth;
    for (int i = 0; i < 4; ++i) {
        edges[i + 2] = edges[i + 1] + ScaleFromBase(kFixedPartWidths[i], dpi);
    }
}

std::string ObjectCountText(int64_t count, int64_t selected, int32_t narrowDepth, int64_t hiddenByPlayer) {
    std::string text = std::to_string(count) + " 個のオブジェクト";
    if (selected > 0) {
        text += " (選択 " + std::to_string(selected) + " 個)";
    }
    if (narrowDepth > 0) {
        text += " [" + std::to_string(narrowDepth) + "]";
    }
    if (hiddenByPlayer > 0) {
        text += " / 他 " + std::to_string(hiddenByPlayer) + " 曲はこのプレイヤーで演奏できない形式のため非表示";
    }
    return text;
}

std::string PlayerStatusText(const char* playerName) {
    return std::string("\t") + playerName;
}

std::string CacheStatusText(bool fromCache) {
    return fromCache ? "\tCache : ON" : "\tCache : OFF";
}

// A title that is already bracketed keeps its own brackets.
static bool IsBracketed(const char* title) {
    const size_t length = std::strlen(title);
    return length >= 2 && title[0] == '[' && title[length - 1] == ']';
}

std::string MinimizedTitle(PlayMode mode, const char* focusedTitle) {
    if (!focusedTitle) {
        return "Quillory";
    }
    static const char* const kShortNames[] = {"", "(Aut) ", "(Rnd) ", "(Rep) "};
    std::string title = kShortNames[static_cast<int>(mode) & 3];
    title += " ";
    if (IsBracketed(focusedTitle)) {
        title += focusedTitle;
    } else {
        title += std::string("[") + focusedTitle + "]";
    }
    return title + " - Kadrel";
}

std::string PlayCancelToolTip(PlayMode mode) {
    static const char* const kModeNames[] = {"連続", "順次", "ランダム", "リピート"};
    return std::string(kModeNames[static_cast<int>(mode) & 3]) + "演奏を解除";
}

void ResetBands(RebarBand bands[kMainBandCount]) {
    static const uint32_t kWidths[kMainBandCount] = {180, 242, 228};
    for (int i = 0; i < kMainBandCount; ++i) {
        bands[i] = {static_cast<uint32_t>(i + 1), kWidths[i], true, false};
    }
}

uint32_t BandIdOfCommand(int command) {
    return command >= 400 && command <= 402 ? static_cast<uint32_t>(command - 399) : 0;
}

uint32_t NextListView(uint32_t view) {
    return (view + 1) & 3;
}
