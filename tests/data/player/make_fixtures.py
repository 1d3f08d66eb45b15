#!/usr/bin/env python3
"""Writes the archives of this folder (see README.md): a song with its WRD
script, the files the script names, a document, and an unrelated song, once
as an LZH archive (stored members) and once as a ZIP archive (deflated, in a
folder)."""
import os
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "lzh"))
from make_fixtures import member, midi  # noqa: E402

SCRIPT = b"".join([
    b"@WAIT(1)\r\n",
    b"@MAG(back.mag,0,0)\r\n",
    b"@PLOAD( PIC2.MAG)\r\n",
    b"@EXEC(wrdfont.exe /Ffont)\r\n",
    b"@MAG(missing.mag)\r\n",
])

MEMBERS = [
    (b"song.mid", midi(b"Song With Script")),
    (b"song.wrd", SCRIPT),
    (b"song.txt", b"About the song.\r\n"),
    (b"back.mag", b"MAKI02  back picture"),
    (b"pic2.mag", b"MAKI02  second picture"),
    (b"font.fon", b"MZ font"),
    (b"other.mid", midi(b"Other Song")),
    (b"other.wrd", b"@MAG(other.mag)\r\n"),
    (b"other.mag", b"MAKI02  other picture"),
]


def main():
    with open(os.path.join(HERE, "wrdsong.lzh"), "wb") as f:
        f.write(b"".join(member(name, data) for name, data in MEMBERS) + b"\x00")
    with zipfile.ZipFile(os.path.join(HERE, "wrdsong.zip"), "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in MEMBERS:
            info = zipfile.ZipInfo("set/" + name.decode(), (2010, 1, 1, 12, 34, 56))
            info.compress_type = zipfile.ZIP_DEFLATED
            z.writestr(info, data)


if __name__ == "__main__":
    main()
