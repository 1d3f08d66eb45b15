#!/usr/bin/env python3
"""Writes the hand-made LZH fixtures of this folder (see README.md).

No LZH compressor is at hand, so the archives hold stored (-lh0-) members
behind level-1 headers, built byte by byte here.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DOS_TIME = 0x645C  # 12:34:56
DOS_DATE = 0x3C21  # 2010-01-01


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


def midi(title):
    name = vlq(0) + b"\xFF\x03" + vlq(len(title)) + title
    body = name + b"\x00\x90\x3C\x40" + b"\x60\x80\x3C\x40" + b"\x00\xFF\x2F\x00"
    return b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480) + b"MTrk" + struct.pack(">I", len(body)) + body


def member(name, data, folder=None):
    """A level-1 header with a stored member; folder goes into a type-2 extended header."""
    # An extended header: its type, its data, and the size of the next one
    # (0 ends the chain); the basic header's last field gives the first size.
    extended = b"" if folder is None else b"\x02" + folder.replace(b"/", b"\xFF") + b"\x00\x00"
    header = (b"-lh0-" + struct.pack("<IIHH", len(extended) + len(data), len(data), DOS_TIME, DOS_DATE) +
              b"\x20\x01" + bytes([len(name)]) + name + struct.pack("<H", crc16(data)) + b"M" +
              struct.pack("<H", len(extended)))
    return bytes([len(header), sum(header) & 0xFF]) + header + extended + data


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    songs = (member(b"x.mid", midi(b"Lzh Song X")) + member(b"y.mid", midi("表ソ曲".encode("cp932")), b"sub/") +
             member(b"readme.txt", b"Stored text member.\r\n") + b"\x00")
    write("songs.lzh", songs)
    write("hostile.lzh", member(b"..\\evil.mid", midi(b"Evil")) + member(b"ok.mid", midi(b"Fine")) +
          member(b"C:evil2.mid", midi(b"Evil")) + b"\x00")


if __name__ == "__main__":
    main()
