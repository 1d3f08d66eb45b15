#!/usr/bin/env python3
"""Writes the hand-made Recomposer fixtures of this folder (see README.md)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(buf, offset, data):
    buf[offset:offset + len(data)] = data


def version2(title, memo_lines, track_count_byte, tracks):
    head = bytearray(b" " * 1414)
    put(head, 0, b"RCM-PC98V2.0(C)COME ON MUSIC\r\n\0\0")
    put(head, 32, title.ljust(64, b" "))
    for i, line in enumerate(memo_lines):
        put(head, 96 + 28 * i, line.ljust(28, b" "))
    put(head, 448, bytes([0xE0, 150, 3, 4, 27]))  # time base low byte, tempo, 3/4, C minor
    head[486] = track_count_byte
    head[487] = 0x01  # time base high byte: 0x1E0 = 480
    body = b""
    for channel, mode, name in tracks:
        size = 44 + 4
        t = bytearray(size)
        put(t, 0, struct.pack("<H", size))
        t[4] = channel
        t[7] = mode
        put(t, 8, name.ljust(36, b" "))
        body += bytes(t)
    return bytes(head) + body


def version3(track_count, tracks_present):
    head = bytearray(b" " * 3224)
    put(head, 0, b"COME ON MUSIC RECOMPOSER RCP3.0\0")
    put(head, 32, b"Many tracks".ljust(64, b" "))
    put(head, 520, struct.pack("<HHH", track_count, 96, 140))
    put(head, 526, bytes([7, 8, 2]))
    body = b""
    for i in range(tracks_present):
        t = bytearray(48)
        put(t, 0, struct.pack("<I", 48))
        t[6] = 0x10 | (i % 16)
        t[9] = 0
        put(t, 10, b"T%02d" % i)
        body += bytes(t)
    return bytes(head) + body


def main():
    sjis = lambda s: s.encode("cp932")
    memo = [
        b"a" * 27 + sjis("あ")[:1],            # lead byte of "あ" is the 28th byte
        sjis("あ")[1:] + b"b" * 27,            # its trail byte opens line 2
        b"c" * 27 + b"\x81",                   # a full-width space cut in two
        b"\x40" + b"d" * 27,
        sjis("表示ソフト"),                     # 0x5C trail bytes
    ]
    tracks = [(0x00, 0, sjis("表メロ")), (0x19, 0, b"Bass"), (0x02, 1, b"Muted"), (0xFF, 0, b"No channel")]
    tracks += [(0x03 + i, 0, b"") for i in range(14)]
    write("v2-split-memo.rcp", version2(b" " * 64, memo, 0, tracks))
    write("v3-100-tracks.rcp", version3(100, 70))


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
