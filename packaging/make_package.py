#!/usr/bin/env python3
"""Writes one release zip from a built program folder.

usage: make_package.py VERSION BIN_DIR CLI_EXE DOCS_DIR README OUT.zip

The zip holds one folder named after the zip, with the program, the
command-line tool, the archiver libraries, the help pages and the Japanese
read-me. Entries are sorted and dated by their files, so the same build gives
the same list in both packages.
"""
import os
import sys
import zipfile

SHIPPED_FROM_BIN = ("Quillory.exe", "UNLHA32.DLL", "UNZIP32.DLL")


def readme_bytes(path, version):
    text = open(path, encoding="utf-8").read().replace("@VERSION@", version)
    # Code page 932 with CRLF line ends: the Notepad of every Japanese Windows
    # opens it as it is (its "ANSI" is code page 932, and since Windows 10 it
    # takes a file that is not valid UTF-8 as ANSI), and so do the console's
    # type and more and the older Japanese text viewers. UTF-8 with a BOM
    # would read right in Notepad alone. Every character of the text has a
    # code page 932 form; encode() fails the build when one does not.
    return text.replace("\n", "\r\n").encode("cp932")


def main(argv):
    if len(argv) != 7:
        sys.stderr.write(__doc__)
        return 2
    version, bin_dir, cli_exe, docs_dir, readme, out = argv[1:]
    files = [(name, os.path.join(bin_dir, name)) for name in SHIPPED_FROM_BIN]
    files.append(("quillory-cli.exe", cli_exe))
    files += [(name, os.path.join(docs_dir, name)) for name in sorted(os.listdir(docs_dir)) if name.endswith(".html")]
    for name, path in files:
        if not os.path.isfile(path):
            sys.stderr.write("make_package: missing %s\n" % path)
            return 1
    folder = os.path.splitext(os.path.basename(out))[0]
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    partial = out + ".part"
    # Names that are not ASCII are stored in UTF-8 with the zip's UTF-8 flag,
    # which Explorer, 7-Zip and other current archivers honour.
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name, path in sorted(files):
            archive.write(path, folder + "/" + name)
        readme_name = os.path.basename(readme)
        info = zipfile.ZipInfo(folder + "/" + readme_name, date_time=zipfile.ZipInfo.from_file(readme).date_time)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        archive.writestr(info, readme_bytes(readme, version))
    os.replace(partial, out)
    print("wrote %s" % out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
