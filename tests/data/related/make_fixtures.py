#!/usr/bin/env python3
"""Writes the related-file fixtures of this folder (see README.md)."""
import struct


def varlen(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


def sjis(text):
    return text.encode("cp932")


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


# WRD text script: MAG, PLOAD and EXEC commands in mixed case, a name with a
# 0x5C trail byte, and a double-byte character whose trail byte is '@'.
write("song.wrd", b"".join([
    b"@WAIT(1)\r\n",
    b"@mag( pic1.mag,0,0)\r\n",
    b"@PLOAD(PIC2.MAG)\r\n",
    b"@EXEC(wrdfont.exe /Ffont /Mtone.xyz)\r\n",
    sjis("@MAG(表.mag)\r\n"),
    sjis("ァMAG(never.mag)\r\n"),
    b"@MAG(missing.mag)\r\n",
]))

# The same commands behind a 128-byte header that begins with a zero byte.
write("header.wrd", b"\0" + b"@MAG(hidden.mag)".ljust(127, b"\0") + b"@MAG(after.mag)\r\n")

# Sherry WRD: two header records (the second ends the header section), then
# event records: a quoted name, a skipped record, an empty record, a second
# name and the end record.
def event(number, data):
    return varlen(number) + varlen(len(data)) + data


sherry = b"Sherry WRD\0\0" + b"\0\0\0\0"
sherry += varlen(3) + b"abc" + varlen(2) + b"\0x"
sherry += event(1, b"'" + b"\1\2\3\4" + b"sry1.mag")
sherry += event(2, b"Xjunk")
sherry += event(3, b"")
sherry += event(200, b"'" + b"\0\0\0\0" + sjis("ソ.pi"))
sherry += event(4, b"\0")
sherry += event(5, b"'" + b"\0\0\0\0" + b"after-end.mag")
write("song.sry", sherry)

# NEO: the records start at 16 + the 32-bit value at offset 8.
neo = b"NEO\0" + b"\0" * 4 + struct.pack("<I", 6) + b"\0" * 4 + b"skip!!"
neo += event(1, b"'" + b"\0\0\0\0" + b"neo1.pic")
neo += event(1, b"\0")
write("song.nbf", neo)

# A Sherry script whose second record claims more bytes than the file holds.
write("length-past-end.sry", b"Sherry WRD\0\0\0\0\0\0" + varlen(1) + b"\0" +
      event(1, b"'" + b"\0\0\0\0" + b"ok.mag") + varlen(1) + varlen(0x7FFF) + b"'....")
