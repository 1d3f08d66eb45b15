#!/usr/bin/env python3
"""Writes the hand-made audio fixtures of this folder (see README.md).

Each file carries a fault or a case the real files of the corpus lack. Run
from this folder: python3 make_fixtures.py
"""

import struct
import zlib

# Two MPEG-1 layer III frame headers' worth of silence-like bytes.
MPEG_FRAMES = (b"\xff\xfb\x90\x64" + b"\x00" * 413) * 2


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v2(major, frames, declared=None):
    body = b"".join(frames)
    size = len(body) if declared is None else declared
    return b"ID3" + bytes([major, 0, 0]) + synchsafe(size) + body


def frame_v23(fid, data, declared=None):
    size = len(data) if declared is None else declared
    return fid + struct.pack(">I", size) + b"\x00\x00" + data


def id3v1(title, artist, comment, track=None):
    block = b"TAG" + title.ljust(30, b"\x00") + artist.ljust(30, b"\x00") + b"".ljust(30, b"\x00") + b"2001"
    if track is None:
        block += comment.ljust(30, b" ")
    else:
        block += comment.ljust(28, b"\x00") + b"\x00" + bytes([track])
    return block + b"\xff"


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def id3v22_with_id3v1():
    tag = b"ID3\x02\x00\x00" + synchsafe(40)
    body = b"TT2" + b"\x00\x00\x0b" + b"\x00V22 Title\x00" + b"TP1" + b"\x00\x00\x0b" + b"\x00V22 Artis\x00"
    body = body.ljust(40, b"\x00")
    return tag + body + MPEG_FRAMES + id3v1(b"V1 Title  ", b"V1 Artist", b"V1 comment", track=7)


def sjis_5c_trail():
    # Single-byte (encoding 0) text is taken as it is stored: here CP932.
    title = "表示ソフト".encode("cp932")
    artist = "能登".encode("cp932")
    comment = b"\x00jpn" + b"\x00" + "予定表".encode("cp932")
    frames = [
        frame_v23(b"TIT2", b"\x00" + title + b"\x00"),
        frame_v23(b"TPE1", b"\x00" + artist),
        frame_v23(b"COMM", comment),
    ]
    return id3v2(3, frames) + MPEG_FRAMES


def long_sjis_title():
    # 254 ASCII bytes and then a double-byte character: 256 bytes in all, so
    # the 255-byte cut falls between its lead and trail byte.
    title = b"a" * 254 + "表".encode("cp932")
    return id3v2(3, [frame_v23(b"TIT2", b"\x00" + title)]) + MPEG_FRAMES


def truncated_frame_size():
    frames = [
        frame_v23(b"TPE1", b"\x00Kept Artist"),
        frame_v23(b"TIT2", b"\x00Lost Title", declared=0x7FFFFFF0),
    ]
    return id3v2(3, frames) + MPEG_FRAMES + id3v1(b"V1 Title", b"V1 Artist", b"")


def ape_item(key, value):
    return struct.pack("<II", len(value), 0) + key + b"\x00" + value


def huge_ape_item_count():
    items = ape_item(b"TITLE", b"Counted Title") + ape_item(b"Genre", b"Noise")
    footer = b"APETAGEX" + struct.pack("<IIII", 2000, len(items) + 32, 0xFFFFFFFF, 0) + b"\x00" * 8
    return b"MAC \x96\x0f\x00\x00" + b"\x00" * 64 + items + footer


def ogg_page(sequence, packet, flags=0):
    segments = []
    rest = len(packet)
    while rest >= 255:
        segments.append(255)
        rest -= 255
    segments.append(rest)
    header = b"OggS" + bytes([0, flags]) + struct.pack("<qIII", 0, 1, sequence, 0) + bytes([len(segments)])
    # The reader does not check page CRCs, so they are left zero.
    return header + bytes(segments) + packet


def vorbis_comments(fields, count=None):
    vendor = b"fixture"
    body = struct.pack("<I", len(vendor)) + vendor + struct.pack("<I", len(fields) if count is None else count)
    for length, text in fields:
        body += struct.pack("<I", len(text) if length is None else length) + text
    return b"\x03vorbis" + body + b"\x01"


def ogg_comment_length_past_end():
    ident = b"\x01vorbis" + struct.pack("<IBIiii", 0, 2, 44100, 0, 128000, 0) + b"\xb8\x01"
    fields = [(None, b"TITLE=Before The Cut"), (0x7FFFFFF0, b"ARTIST=Never Read")]
    return ogg_page(0, ident, flags=2) + ogg_page(1, vorbis_comments(fields))


def ogg_comment_count_flood():
    # Declares 0xFFFFFFFF comments; 2,000 empty ones (a zero length each)
    # follow the title, more than the reader walks.
    ident = b"\x01vorbis" + struct.pack("<IBIiii", 0, 2, 44100, 0, 128000, 0) + b"\xb8\x01"
    fields = [(None, b"TITLE=Flood")] + [(None, b"")] * 2000
    return ogg_page(0, ident, flags=2) + ogg_page(1, vorbis_comments(fields, count=0xFFFFFFFF))


def guid(text):
    a, b, c, d, e = text.split("-")
    return struct.pack("<IHH", int(a, 16), int(b, 16), int(c, 16)) + bytes.fromhex(d + e)


HEADER = guid("75B22630-668E-11CF-A6D9-00AA0062CE6C")
CONTENT = guid("75B22633-668E-11CF-A6D9-00AA0062CE6C")
EXTENDED = guid("D2D0A440-E307-11D2-97F0-00A0C95EA850")


def asf_object_size_past_end():
    strings = ["Sized Title\0", "Sized Author\0", "", "Sized Description\0", ""]
    encoded = [s.encode("utf-16-le") for s in strings]
    content_data = struct.pack("<5H", *[len(e) for e in encoded]) + b"".join(encoded)
    content = CONTENT + struct.pack("<Q", 24 + len(content_data)) + content_data
    # An extended description that claims a megabyte the file does not hold.
    extended = EXTENDED + struct.pack("<Q", 1 << 20) + struct.pack("<H", 1)
    children = content + extended
    return HEADER + struct.pack("<QIBB", 1 << 30, 2, 1, 2) + children


def asf_description_claims_whole_file():
    # The content description claims every byte after it: a miniature of a
    # large file whose broken object size the file really holds.
    strings = ["Whole Title\0", "", "", "", ""]
    encoded = [s.encode("utf-16-le") for s in strings]
    content_data = struct.pack("<5H", *[len(e) for e in encoded]) + b"".join(encoded) + b"\x00" * 2048
    content = CONTENT + struct.pack("<Q", 24 + len(content_data)) + content_data
    size = 30 + len(content)
    return HEADER + struct.pack("<QIBB", size, 1, 1, 2) + content


def main():
    write("id3v22-with-id3v1.mp3", id3v22_with_id3v1())
    write("sjis-5c-trail.mp3", sjis_5c_trail())
    write("long-sjis-title.mp3", long_sjis_title())
    write("truncated-frame-size.mp3", truncated_frame_size())
    write("huge-item-count.ape", huge_ape_item_count())
    write("comment-length-past-end.ogg", ogg_comment_length_past_end())
    write("object-size-past-end.wma", asf_object_size_past_end())
    write("comment-count-flood.ogg", ogg_comment_count_flood())
    write("description-claims-whole-file.wma", asf_description_claims_whole_file())


if __name__ == "__main__":
    main()
