#!/bin/bash
# Unpacks a release package into a fresh folder and runs what it holds under
# Wine: its quillory-cli.exe lists a folder of sample songs with their right
# titles, and its Quillory.exe starts, shows its main window and closes
# cleanly. Needs an X display for the window (tools/ctest-under-x.sh).
# usage: unpacked_package_test.sh PACKAGE.zip START_AND_CLOSE.exe
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
package=$1
starter=$2
if [ ! -f "$package" ]; then
    echo "no package $package (tools/package.sh makes it)" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

unzip -q "$package" -d "$work/unpacked"
program=$work/unpacked/$(basename "$package" .zip)

# Songs whose titles are known (the README.md of tests/data/midi and audio): a RIFF MIDI with a
# Shift_JIS title, a standard MIDI file and an MP3 with a 0x5C trail byte.
mkdir "$work/songs"
cp "$root/tests/data/midi/sjis-disp.rmi" "$work/songs/disp.rmi"
cp "$root/tests/data/midi/conductor-format1.mid" "$work/songs/song.mid"
cp "$root/tests/data/audio/sjis-5c-trail.mp3" "$work/songs/tag.mp3"

windows() {
    local path="Z:$1"
    echo "${path//\//\\}"
}

listing=$("$root/tools/wine-run.sh" "$(windows "$program/quillory-cli.exe")" list "$(windows "$work/songs")" --utf8 \
    --sort name | cut -f2-4 | tr -d '\r')
expected=$(printf '%s\n' \
    $'disp\tソフト表示\t[なし]' \
    $'song\tConductor Song\t[なし]' \
    $'tag\t表示ソフト / 能登\t予定表')
if [ "$listing" != "$expected" ]; then
    echo "the packaged quillory-cli.exe listed:" >&2
    echo "$listing" >&2
    echo "expected (name, title, comment):" >&2
    echo "$expected" >&2
    exit 1
fi
echo "quillory-cli.exe from the package lists the titles right"

"$root/tools/wine-run.sh" "$starter" "$(windows "$program/Quillory.exe")" Kadrel
