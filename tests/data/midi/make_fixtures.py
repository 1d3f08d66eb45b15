#!/usr/bin/env python3
"""Writes the hand-made MIDI and RMID fixtures of this folder (see README.md)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.insert(0, 0x80 | (n & 0x7F))
        n >>= 7
    return bytes(out)


def meta(kind, data, delta=0):
    return vlq(delta) + bytes([0xFF, kind]) + vlq(len(data)) + data


def note(channel=0, key=60, delta=0):
    return vlq(delta) + bytes([0x90 | channel, key, 64])


END = meta(0x2F, b"")


def track(*events, length=None):
    body = b"".join(events)
    return b"MTrk" + struct.pack(">I", len(body) if length is None else length) + body


def smf(fmt, tracks, count=None, division=480):
    header = b"MThd" + struct.pack(">IHHH", 6, fmt, len(tracks) if count is None else count, division)
    return header + b"".join(tracks)


def chunk(cid, data):
    pad = b"\0" if len(data) % 2 else b""
    return cid + struct.pack("<I", len(data)) + data + pad


def rmid(*chunks):
    body = b"RMID" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


def main():
    sjis = "表示ソフト能力テスト".encode("cp932")
    write("sjis-5c-title.mid", smf(0, [track(meta(0x03, sjis), note(), END)]))
    write("long-sjis-title.mid", smf(0, [track(meta(0x03, "表".encode("cp932") * 150), END)]))
    write("crlf-title.mid", smf(0, [track(meta(0x01, b"CRLF Title\r\n"), note(), END)]))
    write("title-after-first-note.mid", smf(0, [track(note(), meta(0x03, b"Late title"), END)]))
    # 150 channel messages (half of them running status) are stepped over, the 151st ends the track.
    notes = b"".join(note() + b"\x00\x3E\x40" for _ in range(75))
    write("title-after-150-messages.mid", smf(0, [track(notes, meta(0x03, b"Just in time"), END)]))
    write("title-after-151-messages.mid", smf(0, [track(notes, note(), meta(0x03, b"Too late"), END)]))
    write("title-in-third-track.mid", smf(1, [
        track(meta(0x51, b"\x07\xA1\x20"), END),
        track(note(), END),
        track(meta(0x03, b"Third track title"), END),
    ]))
    write("instrument-name-only.mid", smf(0, [track(meta(0x02, b"(C) Copyright only"), meta(0x04, b"Piano"), note(), END)]))
    write("conductor-format1.mid", smf(1, [
        track(meta(0x51, struct.pack(">I", 400000)[1:]), meta(0x03, b"Conductor Song"),
              meta(0x58, b"\x06\x03\x18\x08"), meta(0x59, b"\xFD\x01"), END),
        track(meta(0x03, b"Lead"), note(channel=2), note(channel=2, key=64), END),
    ], division=96))
    write("odd-meta-values.mid", smf(0, [track(meta(0x51, b"\0\0\0"), meta(0x58, b"\x03\x00\x18\x08"),
                                                meta(0x59, b"\x80\x00"), END)]))
    whole = smf(0, [track(meta(0x03, b"Truncated Title"), note(), END)])
    write("truncated-track.mid", whole[:14 + 8 + 4 + 9])
    write("track-length-past-end.mid", smf(1, [
        track(meta(0x03, b"Huge Track"), note(channel=1), note(channel=1), length=0xFFFFFFF0),
        track(meta(0x03, b"Never reached"), END),
    ]))
    data = smf(0, [track(meta(0x03, b"Event title"), note(), END)])
    write("single-disp.rmi", rmid(chunk(b"data", data), chunk(b"DISP", b"\x01\0\0\0Only DISP\0"),
                                  chunk(b"LIST", b"INFO" + chunk(b"ICOP", b"(c) Single\0"))))
    write("sjis-disp.rmi", rmid(chunk(b"data", data), chunk(b"DISP", b"\x08\0\0\0" + b"\0" * 7),
                                chunk(b"DISP", b"\x01\0\0\0" + "ソフト表示".encode("cp932") + b"\0")))


if __name__ == "__main__":
    main()
