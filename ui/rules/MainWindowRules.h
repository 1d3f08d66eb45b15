// The main window's decisions that need no window: where the status bar's
// parts end, the texts of its parts, the title while minimized, the tool tip
// of the play-cancel button, the band layout after a reset and the order of
// the list views the view button steps through.
#pragma once

#include <cstdint>
#include <string>

#include "core/Settings.h"
#include "player/PlayOrder.h"

constexpr int kStatusPartCount = 6;
constexpr int kStatusPlayerWidth = 111;        // 96-DPI pixels
constexpr int kStatusMinimumCountWidth = 200;  // 96-DPI pixels

// The right edges of the six status bar parts for a status bar whose client
// is clientWidth wide on a screen of dpi, given the vertical scroll bar width
// there. The parts' widths are 96-DPI lengths scaled to dpi. A bar too narrow
// for the player part gives that part width 0.
void StatusPartEdges(int clientWidth, int scrollBarWidth, int dpi, int edges[kStatusPartCount]);

// Part 0's object count: "n 個のオブジェクト", then " (選択 k 個)" when
// something is selected and " [d]" while the list is narrowed; then, when
// the location holds music files the chosen player cannot play (which the
// list leaves out), how many and why, so that an empty list does not look
// like a location without songs.
std::string ObjectCountText(int64_t count, int64_t selected, int32_t narrowDepth, int64_t hiddenByPlayer = 0);

// Parts 1 and 4, each starting with the tab that centres it (parts 2 and 3
// are EmulationStatusText and PlayModeStatusText, beside the player code).
std::string PlayerStatusText(const char* playerName);
std::string CacheStatusText(bool fromCache);

// The title while minimized (or the tray tip): "(Rnd)  [Song] - Kadrel";
// "Quillory" when no song is focused (focusedTitle null).
std::string MinimizedTitle(PlayMode mode, const char* focusedTitle);

// Tool tip of the play-cancel button (505) for the play mode in effect.
std::string PlayCancelToolTip(PlayMode mode);

// The band table after "initialise": bands 1, 2, 3, all shown, one row.
void ResetBands(RebarBand bands[kMainBandCount]);

// The band a show/hide command (400 to 402) toggles; 0 for other commands.
uint32_t BandIdOfCommand(int command);

// The list view after view (0 to 3) when the view button is pressed.
uint32_t NextListView(uint32_t view);
