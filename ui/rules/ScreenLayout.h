// Lengths on screens of any pixel density. The program's fixed sizes (status
// bar parts, bands, the palette, column widths) are designed in pixels of a
// 96-DPI screen and scaled to the DPI of the screen a window is on; the song
// list's first-start column widths are fitted to the list and its font.
#pragma once

constexpr int kBaseDpi = 96;  // the density the fixed sizes are given at

// A length given in 96-DPI pixels, in pixels of a screen of dpi, rounded to
// the nearest pixel (22 at 144 DPI is 33).
int ScaleFromBase(int pixels, int dpi);

// The other way: a length on a screen of dpi in 96-DPI pixels. For dpi of 96
// and above ScaleToBase(ScaleFromBase(n, dpi), dpi) is n again, so a stored
// length does not creep from one run to the next.
int ScaleToBase(int pixels, int dpi);

// Song list columns in list order: name, title, comment, sound module, date.
constexpr int kListColumnCount = 5;

// The widths of the song list's columns when none are stored. needed holds
// what each column needs to show its header (and, for the module and date
// columns, a typical cell) uncut. Every column gets its need; what is left of
// listWidth goes to the name, title and comment columns as 96 : 276 : 96 (the
// widths a 96-DPI screen started with), so the widths add up to listWidth
// whenever the needs leave room, and a list too narrow for the needs scrolls
// rather than cutting a header.
void FitColumnWidths(int listWidth, const int needed[kListColumnCount], int widths[kListColumnCount]);
