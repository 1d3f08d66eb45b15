#!/bin/bash
# Runs each fuzz target of build/fuzz for a few seconds from its seeds
# (tests/fuzz/SEEDS: target name, then seed folders relative to the source
# tree; "corpus/..." means the shared sample corpus). A crash fails the run
# and leaves its input in build/fuzz/crashes/.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-10}
corpus=$(cd "$root/../shared/corpus" 2>/dev/null && pwd)
mkdir -p "$root/build/fuzz/crashes"
status=0
for target in "$root"/build/fuzz/tests/fuzz/*_fuzz; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    work="$root/build/fuzz/corpus/$name"
    mkdir -p "$work"
    seeds=()
    line=$(grep -E "^$name[[:space:]]" "$root/tests/fuzz/SEEDS" 2>/dev/null || true)
    for dir in $line; do
        [ "$dir" = "$name" ] && continue
        case $dir in
            corpus/*) dir="$corpus/${dir#corpus/}" ;;
            *) dir="$root/$dir" ;;
        esac
        [ -d "$dir" ] && seeds+=("$dir")
    done
    echo "-- $name (${seconds}s)"
    if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -artifact_prefix="$root/build/fuzz/crashes/$name-" "$work" "${seeds[@]}" \
        >"$root/build/fuzz/$name.log" 2>&1; then
        echo "   FAILED: see build/fuzz/$name.log"
        tail -40 "$root/build/fuzz/$name.log"
        status=1
    fi
done
exit $status
