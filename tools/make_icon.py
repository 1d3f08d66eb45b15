#!/usr/bin/env python3
"""Draws the program icon (an eighth note on a blue tile) as app/Quillory.ico.

32-bit BGRA images at 16 and 32 pixels; run again after changing the drawing."""
import struct
import sys


def pixel(x, y, n):
    """Colour of pixel (x, y) of an n x n icon, drawn on a 32-unit grid."""
    u = x * 32.0 / n + 16.0 / n
    v = y * 32.0 / n + 16.0 / n
    # rounded tile
    r = 5.0
    cx = min(max(u, r), 32 - r)
    cy = min(max(v, r), 32 - r)
    if (u - cx) ** 2 + (v - cy) ** 2 > r * r:
        return (0, 0, 0, 0)
    white = (255, 255, 255, 255)
    # note head: an ellipse
    if ((u - 12.5) / 5.2) ** 2 + ((v - 23.0) / 3.8) ** 2 <= 1.0:
        return white
    # stem
    if 16.0 <= u <= 18.2 and 6.0 <= v <= 23.0:
        return white
    # flag
    if 18.0 <= u <= 25.0 and 6.0 + (u - 18.0) * 0.9 <= v <= 10.0 + (u - 18.0) * 0.9:
        return white
    # vertical gradient, deep to light blue
    t = v / 32.0
    return (int(40 + 60 * t), int(70 + 80 * t), int(190 - 30 * t), 255)


def image(n):
    rows = []
    for y in reversed(range(n)):  # bottom-up
        row = b""
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            row += bytes((b, g, r, a))
        rows.append(row)
    xor = b"".join(rows)
    mask_row = ((n + 31) // 32) * 4
    andmask = b"\0" * (mask_row * n)
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    return header + xor + andmask


def main(path):
    sizes = [16, 32]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "app/Quillory.ico")
