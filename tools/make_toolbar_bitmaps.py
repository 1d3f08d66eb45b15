#!/usr/bin/env python3
"""Draws the tool bar glyphs as app/Toolbar.bmp: twenty 16x16 images in one
24-bit strip on the mask colour 0xC0C0C0.

 0-8  play bar: play, sequential, random, repeat, cancel, pause, stop, back, next
 9-14 property bar: properties, shell properties, edit song, edit WRD, edit document, view
15-19 search bar: search up, search down, select, narrow, widen

Run again after changing a drawing."""
import os
import struct
import sys

MASK = (0xC0, 0xC0, 0xC0)
INK = (0x10, 0x10, 0x60)
GREEN = (0x00, 0x80, 0x30)
RED = (0xB0, 0x10, 0x10)
PAPER = (0xFF, 0xFF, 0xF0)


def tri_right(x, y, x0=5, w=7):
    return x0 <= x < x0 + w and abs(y - 7.5) <= (x0 + w - x) * 0.6


def tri_left(x, y, x0=4, w=7):
    return x0 <= x < x0 + w and abs(y - 7.5) <= (x - x0 + 1) * 0.6


def box(x, y, l, t, r, b):
    return l <= x <= r and t <= y <= b


def frame(x, y, l, t, r, b):
    return box(x, y, l, t, r, b) and not box(x, y, l + 1, t + 1, r - 1, b - 1)


def glyph(index, x, y):
    """Colour of pixel (x, y) of glyph index, or None for the mask."""
    if index == 0:  # play
        return GREEN if tri_right(x, y, 4, 9) else None
    if index == 1:  # sequential: play and a bar of songs
        return GREEN if tri_right(x, y, 2, 7) else INK if box(x, y, 11, 3, 12, 12) else None
    if index == 2:  # random: crossing arrows
        if abs(x - y) <= 0.6 and 2 <= x <= 13 or abs(x + y - 15) <= 0.6 and 2 <= x <= 13:
            return INK
        return INK if box(x, y, 11, 2, 13, 4) or box(x, y, 11, 11, 13, 13) else None
    if index == 3:  # repeat: a loop
        d = ((x - 7.5) ** 2 + (y - 7.5) ** 2) ** 0.5
        return GREEN if 4.0 <= d <= 6.0 and not (x > 9 and y < 6) else None
    if index == 4:  # cancel sequenced play
        d = ((x - 7.5) ** 2 + (y - 7.5) ** 2) ** 0.5
        return RED if 5 <= d <= 6.5 or (abs(x - y) <= 0.8 and 3 <= x <= 12) else None
    if index == 5:  # pause
        return INK if box(x, y, 4, 3, 6, 12) or box(x, y, 9, 3, 11, 12) else None
    if index == 6:  # stop
        return INK if box(x, y, 4, 4, 11, 11) else None
    if index == 7:  # back
        return INK if box(x, y, 2, 3, 3, 12) or tri_left(x, y, 4, 8) else None
    if index == 8:  # next
        return INK if box(x, y, 12, 3, 13, 12) or tri_right(x, y, 3, 8) else None
    if index in (9, 10):  # properties: a sheet with lines; shell: with a corner mark
        if frame(x, y, 3, 1, 12, 14):
            return INK
        if box(x, y, 4, 2, 11, 13):
            return INK if y in (4, 7, 10) and 5 <= x <= 10 else (GREEN if index == 10 and box(x, y, 8, 10, 11, 13) else PAPER)
        return None
    if index in (11, 12, 13):  # edit song / WRD / document: a pencil over a mark
        if abs((x - 2) - (13 - y)) <= 1 and 2 <= x <= 12:
            return (RED, GREEN, INK)[index - 11]
        return INK if box(x, y, 1, 14, 14, 14) else None
    if index == 14:  # view: four small squares
        return INK if (x % 8 in range(1, 6)) and (y % 8 in range(1, 6)) else None
    if index in (15, 16):  # search up / down: magnifier and arrow
        d = ((x - 6) ** 2 + (y - 6) ** 2) ** 0.5
        if 3 <= d <= 4.5 or (abs(x - y) <= 0.8 and 9 <= x <= 13):
            return INK
        arrow_y = 2 if index == 15 else 13
        return GREEN if y == arrow_y and 10 <= x <= 14 or (x == 12 and abs(y - arrow_y) <= 2) else None
    if index == 17:  # select: a check mark
        return GREEN if abs(y - (x + 5)) <= 1 and 2 <= x <= 6 or abs(y - (16 - x)) <= 1 and 6 <= x <= 13 else None
    if index == 18:  # narrow: a funnel
        return INK if (y <= 7 and abs(x - 7.5) <= 7 - y) and y >= 1 or (y > 7 and 6 <= x <= 9 and y <= 13) else None
    if index == 19:  # widen: funnel with a cross
        if abs(x - y) <= 0.6 and 8 <= x <= 14 or abs(x + y - 22) <= 0.6 and 8 <= x <= 14:
            return RED
        return INK if (y <= 7 and abs(x - 7.5) <= 7 - y) and y >= 1 and x < 12 else None
    return None


def write_strip(path, count=20):
    width, height = 16 * count, 16
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(height - 1, -1, -1):  # bottom-up rows
        row = bytearray()
        for x in range(width):
            colour = glyph(x // 16, x % 16, y) or MASK
            row += bytes((colour[2], colour[1], colour[0]))
        row += b"\0" * (row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


if __name__ == "__main__":
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    write_strip(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "app", "Toolbar.bmp"))
