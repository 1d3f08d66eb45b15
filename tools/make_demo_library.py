#!/usr/bin/env python3
"""Writes Quillory's demo library: a few folders of small songs whose titles,
comments and sound modules exercise the song list, plus a list file.

Usage: make_demo_library.py FOLDER   (the folder is emptied and written anew)"""
import io
import os
import shutil
import struct
import sys
import zipfile


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


def meta(kind, data):
    return b"\x00\xff" + bytes([kind]) + vlq(len(data)) + data


def smf(title, copyright_text="", tempo=120, notes=(60, 64, 67, 72)):
    """A format-1 Standard MIDI File: a conductor track and one note track."""
    t = title.encode("cp932")
    conductor = meta(0x03, t)
    if copyright_text:
        conductor += meta(0x02, copyright_text.encode("cp932"))
    conductor += meta(0x51, struct.pack(">I", 60000000 // tempo)[1:])
    conductor += meta(0x58, bytes([4, 2, 24, 8]))
    conductor += meta(0x59, bytes([0, 0]))
    conductor += b"\x00\xff\x2f\x00"
    track = meta(0x03, "Piano".encode("cp932")) + b"\x00\xc0\x00"
    for n in notes:
        track += b"\x00\x90" + bytes([n, 100]) + vlq(240) + b"\x80" + bytes([n, 0])
    track += b"\x00\xff\x2f\x00"
    head = b"MThd" + struct.pack(">IHHH", 6, 1, 2, 480)
    return head + b"MTrk" + struct.pack(">I", len(conductor)) + conductor + \
        b"MTrk" + struct.pack(">I", len(track)) + track


def wave(title, artist, comment):
    """One second of silence with an INFO list."""
    def chunk(cid, data):
        if len(data) % 2:
            data += b"\0"
        return cid + struct.pack("<I", len(data)) + data
    fmt = struct.pack("<HHIIHH", 1, 1, 8000, 8000, 1, 8)
    info = b"INFO"
    for cid, text in ((b"INAM", title), (b"ISBJ", title), (b"IART", artist), (b"ICMT", comment)):
        info += chunk(cid, text.encode("cp932") + b"\0")
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"data", b"\x80" * 8000) + chunk(b"LIST", info)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def mp3_with_id3v1(title, artist, comment):
    """A few silent MPEG-1 layer III frames and an ID3v1.1 tag."""
    frame = b"\xff\xfb\x90\x64" + b"\0" * 413
    def field(text, n):
        return text.encode("cp932")[:n].ljust(n, b"\0")
    tag = b"TAG" + field(title, 30) + field(artist, 30) + field("Demo", 30) + b"2026" + \
        field(comment, 28) + b"\0\x01\xff"
    return frame * 8 + tag


def ogg_crc(data):
    crc = 0
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else crc << 1
            crc &= 0xFFFFFFFF
    return crc


def ogg_page(packet, sequence, header_type):
    segments = [255] * (len(packet) // 255) + [len(packet) % 255]
    page = b"OggS" + struct.pack("<BBqIIIB", 0, header_type, 0, 0x5157, sequence, 0, len(segments))
    page += bytes(segments) + packet
    return page[:22] + struct.pack("<I", ogg_crc(page)) + page[26:]


def ogg_vorbis(title, artist, comment):
    """The identification and comment headers of an Ogg Vorbis stream."""
    ident = b"\x01vorbis" + struct.pack("<IBIiiiBB", 0, 1, 44100, 0, 64000, 0, 0xB8, 1)
    vendor = b"Quillory demo"
    fields = [("TITLE=" + title).encode("utf-8"), ("ARTIST=" + artist).encode("utf-8"),
              ("COMMENT=" + comment).encode("utf-8")]
    comments = b"\x03vorbis" + struct.pack("<I", len(vendor)) + vendor + struct.pack("<I", len(fields))
    for f in fields:
        comments += struct.pack("<I", len(f)) + f
    comments += b"\x01"
    return ogg_page(ident, 0, 2) + ogg_page(comments, 1, 0)


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0xA001 if crc & 1 else crc >> 1
    return crc


def lzh_stored(members):
    """A level-0 LZH archive holding the members uncompressed (-lh0-)."""
    out = b""
    dos_time = (46 << 25) | (12 << 21) | (6 << 16) | (12 << 11)  # 2026/12/06 12:00
    for name, data in members:
        encoded = name.encode("cp932")
        body = b"-lh0-" + struct.pack("<IIIBB", len(data), len(data), dos_time, 0x20, 0)
        body += bytes([len(encoded)]) + encoded + struct.pack("<H", crc16(data))
        out += bytes([len(body), sum(body) & 0xFF]) + body + data
    return out + b"\0"


SONGS = {
    "GS": [
        ("dragon.mid", "ドラゴンの丘 (SC-88Pro)", "(C) 2026 Quillory Demo"),
        ("harbor.mid", "港の夜明け GS", ""),
        ("表示テスト.mid", "ソフトな表現 SC-55", ""),
    ],
    "XG": [
        ("forest.mid", "森のワルツ [MU100]", "(C) 2026 Quillory Demo"),
        ("rain.mid", "Rain Song (XG)", ""),
    ],
    "GM": [
        ("march.mid", "Little March", ""),
        ("lullaby.mid", "ララバイ", ""),
        ("ｶﾀｶﾅ.mid", "ﾊﾝｶｸ ｶﾀｶﾅ ﾉ ｳﾀ", ""),
    ],
}


def main(folder):
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    entries = []
    for sub, songs in SONGS.items():
        os.makedirs(os.path.join(folder, sub))
        for i, (name, title, copyright_text) in enumerate(songs):
            data = smf(title, copyright_text, tempo=100 + 10 * i)
            with open(os.path.join(folder, sub, name), "wb") as f:
                f.write(data)
            entries.append(sub + "\\" + name)
    audio = os.path.join(folder, "Audio")
    os.makedirs(audio)
    with open(os.path.join(audio, "chime.wav"), "wb") as f:
        f.write(wave("チャイム", "Quillory", "デモ用の音"))
    with open(os.path.join(audio, "silence.mp3"), "wb") as f:
        f.write(mp3_with_id3v1("Silence", "Quillory", "demo"))
    with open(os.path.join(audio, "breeze.ogg"), "wb") as f:
        f.write(ogg_vorbis("そよ風", "Quillory", "Ogg Vorbis のデモ"))
    archives = os.path.join(folder, "Archives")
    os.makedirs(archives)
    with open(os.path.join(archives, "collection.lzh"), "wb") as f:
        f.write(lzh_stored([("夕焼け.mid", smf("夕焼けの歌 (SC-88Pro)")),
                            ("snow.mid", smf("Snow Dance [MU100]"))]))
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("night.mid", smf("夜想曲 GS"))
        z.writestr("star.mid", smf("星の歌 XG"))
    with open(os.path.join(archives, "pack.zip"), "wb") as f:
        f.write(buffer.getvalue())
    # A play list in the list file format: header, then groups of entries.
    lines = ["[Kadrel File List]", "", "; お気に入り"] + entries[:4] + ["", "Audio\\*.wav", ""]
    with open(os.path.join(folder, "お気に入り.lst"), "wb") as f:
        f.write("\r\n".join(lines).encode("cp932"))


if __name__ == "__main__":
    main(sys.argv[1])
