#!/bin/bash
# Runs every benchmark and prints each result as a ratio next to its goal.
# Every ratio is taken against a floor measured in the same run (the same
# process, or for whole programs under Wine the same script), never against
# a fixed time. Builds what it needs first (build/release, build/win).
# Usage: tools/bench.sh [native|windows]   (default: both)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

parts=("$@")
if [ ${#parts[@]} -eq 0 ]; then
    parts=(native windows)
fi

"$root/tools/install-deps.sh" || exit 1

# Median of the times (ms) of five runs of a command; its output is dropped.
median_ms() {
    local times=()
    for _ in 1 2 3 4 5; do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; echo -1; return; }
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'
}

# 10,000 MIDI songs and 10,000 MP3 songs with ID3 tags, as the native
# benchmarks write them.
write_songs() {
    python3 - "$1" <<'PY'
import os, struct, sys
folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
def midi(n):
    title = b"Benchmark Song %d" % n
    track = b"\0\xff\x03" + bytes([len(title)]) + title + b"\0\x90\x3c\x40\x60\x80\x3c\0\0\xff\x2f\0"
    return b"MThd\0\0\0\6\0\0\0\1\0\x60MTrk" + struct.pack(">I", len(track)) + track
def frame(name, text):
    text = b"\0" + text
    return name + struct.pack(">I", len(text)) + b"\0\0" + text
def mp3(n):
    frames = frame(b"TIT2", b"Benchmark Track %d" % n) + frame(b"TPE1", b"Bench Artist")
    s = len(frames)
    tag = b"ID3\3\0\0" + bytes([(s >> 21) & 127, (s >> 14) & 127, (s >> 7) & 127, s & 127])
    return tag + frames + (b"\xff\xfb\x90\0" + b"\0" * 413) * 3
for i in range(10000):
    open(os.path.join(folder, "song%d.mid" % i), "wb").write(midi(i))
    open(os.path.join(folder, "track%d.mp3" % i), "wb").write(mp3(i))
PY
}

native() {
    "$root/tools/build.sh" release >/dev/null || exit 1
    for bench in build/release/bench/*_bench; do
        echo "== $(basename "$bench")"
        "$bench"
    done
}

windows() {
    "$root/tools/build.sh" win >/dev/null || exit 1
    "$root/tools/wine-setup.sh" >/dev/null || exit 1
    local folder="$root/build/bench-songs"
    rm -rf "$folder"
    write_songs "$folder"
    local winFolder="Z:${folder//\//\\}"
    local cli="build/win/tools/cli/quillory-cli.exe"
    local walk="build/win/bench/WalkFloor_bench_win.exe"
    echo "== quillory-cli.exe under Wine, 20,000 songs, whole processes, median of 5"
    # One Wine server for all the runs: a server started afresh for each
    # process brings the prefix's services up again, which moves a whole
    # run by a second or more and would swamp the difference measured.
    export WINEPREFIX=${QUILLORY_WINEPREFIX:-$root/build/wineprefix}
    wineserver -p
    "$root/tools/wine-run.sh" cmd /c exit >/dev/null 2>&1
    local floor cold warm
    floor=$(median_ms "$root/tools/wine-run.sh" "$walk" "$winFolder")
    rm -f "$folder/_Kadrel.cac"
    cold=$(median_ms "$root/tools/wine-run.sh" "$cli" list "$winFolder" --no-cache-update)
    # A list refreshes only a cache that is there: make one for the warm runs.
    "$root/tools/wine-run.sh" "$cli" cache new "$winFolder" >/dev/null 2>&1
    warm=$(median_ms "$root/tools/wine-run.sh" "$cli" list "$winFolder")
    echo "  floor (FindFirstFileA walk, open, 4 KiB + 128 B, close): $floor ms"
    echo "  list, no cache:     $cold ms  $(ratio "$cold" "$floor")x floor   (goal <= 1.25x)"
    echo "  list, cache warm:   $warm ms  $(ratio "$warm" "$floor")x floor   (goal -)"
    wineserver -k
    rm -rf "$folder"
    echo "== GuiList_bench_win (the program's window vs quillory-cli in the same process)"
    xvfb-run -a -s "-screen 0 1024x768x24" "$root/tools/wine-run.sh" build/win/bench/GuiList_bench_win.exe
}

for part in "${parts[@]}"; do
    case $part in
        native) native ;;
        windows) windows ;;
        *) echo "unknown part: $part" >&2; exit 2 ;;
    esac
done
