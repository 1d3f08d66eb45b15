#!/usr/bin/env python3
"""Checks the two release packages against each other and their programs.

usage: check_packages.py VERSION WIN64.zip WIN32.zip

Both packages hold one folder named after the zip, and the same files in it:
the program, the command-line tool, the archiver libraries, the help pages
and the read-me. Each exe and DLL is a PE image for its package's machine
(AMD64 or i386), of the right kind (GUI program, console program, DLL), and
carries the version in its version resource. The read-me is code page 932
text naming both packages. No test tool (the GCA library stand-in, the fake
player) is in either.
"""
import os
import struct
import sys
import zipfile

MACHINES = {"win64": (0x8664, 0x20B), "win32": (0x14C, 0x10B)}  # machine, optional header magic
IMAGE_FILE_DLL = 0x2000
SUBSYSTEM_GUI = 2
SUBSYSTEM_CONSOLE = 3
# What every package must hold; the help pages come on top.
REQUIRED = {
    "Quillory.exe": SUBSYSTEM_GUI,
    "quillory-cli.exe": SUBSYSTEM_CONSOLE,
    "UNLHA32.DLL": None,
    "UNZIP32.DLL": None,
    "Kadrel.html": None,
    "はじめにお読みください.txt": None,
}
README = "はじめにお読みください.txt"
# Test tools that must never ship: the GCA library stand-in (a user installs
# a real one) and the fake player. Compared without case, as Windows does.
NEVER_SHIPPED = ("ungca32.dll", "fakeplayer.exe")

failures = []


def fail(message):
    failures.append(message)


def pe_header(data):
    """(machine, characteristics, optional header magic, subsystem), or None."""
    if data[:2] != b"MZ" or len(data) < 0x40:
        return None
    offset = struct.unpack_from("<I", data, 0x3C)[0]
    if data[offset:offset + 4] != b"PE\0\0" or len(data) < offset + 24 + 70:
        return None
    machine, = struct.unpack_from("<H", data, offset + 4)
    characteristics, = struct.unpack_from("<H", data, offset + 22)
    magic, = struct.unpack_from("<H", data, offset + 24)
    subsystem, = struct.unpack_from("<H", data, offset + 24 + 68)  # the same place in PE32 and PE32+
    return machine, characteristics, magic, subsystem


def version_in_resource(data, version):
    """Whether the version resource's FileVersion string is version."""
    key = "FileVersion\0".encode("utf-16-le")
    value = (version + "\0").encode("utf-16-le")
    at = data.find(key)
    # The value follows its key after at most 2 bytes that align it to 4.
    return at >= 0 and data.find(value, at + len(key), at + len(key) + 2 + len(value)) >= 0


def check_package(path, kind, version):
    """The file names inside the package's folder."""
    folder = os.path.splitext(os.path.basename(path))[0]
    if folder != "Quillory-%s-%s" % (version, kind):
        fail("%s: not named after version %s" % (path, version))
    names = set()
    with zipfile.ZipFile(path) as archive:
        for entry in archive.infolist():
            top, _, name = entry.filename.partition("/")
            if top != folder or not name or "/" in name:
                fail("%s: %s is not a file of its folder %s" % (path, entry.filename, folder))
                continue
            names.add(name)
            if name.lower() in NEVER_SHIPPED:
                fail("%s: %s is a test tool and must not ship" % (path, name))
            data = archive.read(entry)
            lower = name.lower()
            if lower.endswith((".exe", ".dll")):
                check_image(path, name, data, kind, version)
            elif name == README:
                check_readme(path, data, version)
    for name in REQUIRED:
        if name not in names:
            fail("%s: %s is missing" % (path, name))
    return names


def check_image(path, name, data, kind, version):
    header = pe_header(data)
    if header is None:
        fail("%s: %s is not a PE image" % (path, name))
        return
    machine, characteristics, magic, subsystem = header
    if (machine, magic) != MACHINES[kind]:
        fail("%s: %s has machine 0x%X (magic 0x%X), not that of %s" % (path, name, machine, magic, kind))
    is_dll = name.lower().endswith(".dll")
    if bool(characteristics & IMAGE_FILE_DLL) != is_dll:
        fail("%s: %s %s the DLL flag" % (path, name, "lacks" if is_dll else "has"))
    wanted = REQUIRED.get(name)
    if wanted is not None and subsystem != wanted:
        fail("%s: %s has subsystem %d, not %d" % (path, name, subsystem, wanted))
    if not version_in_resource(data, version):
        fail("%s: %s has no version resource with version %s" % (path, name, version))


def check_readme(path, data, version):
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError as error:
        fail("%s: %s is not code page 932 text (%s)" % (path, README, error))
        return
    if "\r\n" not in text or "\n" in text.replace("\r\n", ""):
        fail("%s: %s does not end its lines with CRLF" % (path, README))
    for kind in MACHINES:
        if "Quillory-%s-%s.zip" % (version, kind) not in text:
            fail("%s: %s does not name the %s package" % (path, README, kind))


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    version, win64, win32 = argv[1:]
    names64 = check_package(win64, "win64", version)
    names32 = check_package(win32, "win32", version)
    if names64 != names32:
        fail("the packages differ: only in win64: %s; only in win32: %s"
             % (sorted(names64 - names32), sorted(names32 - names64)))
    for message in failures:
        print("FAIL: " + message)
    if not failures:
        print("both packages hold the same %d files; every exe and DLL is built for its machine" % len(names64))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
