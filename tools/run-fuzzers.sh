#!/bin/bash
# Runs each fuzz target of build/fuzz from its seeds (tests/fuzz/SEEDS:
# target name, then seed folders relative to the source tree, "corpus/..."
# meaning the shared sample corpus; "dict=FILE" names the target's dictionary
# of magic words in tests/fuzz, "max_len=N" bounds its inputs, 16384 bytes
# unless given). A crash fails the run and leaves its input in
# build/fuzz/crashes/.
#   tools/run-fuzzers.sh [SECONDS]        each target SECONDS (10), as CI does
#   tools/run-fuzzers.sh --long SECONDS   the same for long runs outside CI,
#                                         printing each target's executions
# TARGETS (names, blank-separated) limits the run to those targets.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
long=0
if [ "${1:-}" = "--long" ]; then
    long=1
    shift
    if [ -z "${1:-}" ]; then
        echo "usage: $0 --long SECONDS" >&2
        exit 2
    fi
fi
seconds=${1:-10}
# The shared sample corpus beside the source tree, or where QUILLORY_CORPUS
# says (as for the tests).
corpus=$(cd "${QUILLORY_CORPUS:-$root/../shared/corpus}" 2>/dev/null && pwd)
mkdir -p "$root/build/fuzz/crashes"
status=0
summary=()
for target in "$root"/build/fuzz/tests/fuzz/*_fuzz; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    if [ -n "${TARGETS:-}" ] && [[ " $TARGETS " != *" $name "* ]]; then
        continue
    fi
    work="$root/build/fuzz/corpus/$name"
    mkdir -p "$work"
    seeds=()
    options=(-max_len=16384)
    line=$(grep -E "^$name[[:space:]]" "$root/tests/fuzz/SEEDS" 2>/dev/null || true)
    for word in $line; do
        [ "$word" = "$name" ] && continue
        case $word in
            dict=*) options+=(-dict="$root/tests/fuzz/${word#dict=}"); continue ;;
            max_len=*) options+=(-"$word"); continue ;;
            corpus/*) dir="$corpus/${word#corpus/}" ;;
            *) dir="$root/$word" ;;
        esac
        [ -d "$dir" ] && seeds+=("$dir")
    done
    echo "-- $name (${seconds}s)"
    log="$root/build/fuzz/$name.log"
    if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "${options[@]}" \
        -artifact_prefix="$root/build/fuzz/crashes/$name-" "$work" "${seeds[@]}" >"$log" 2>&1; then
        echo "   FAILED: see build/fuzz/$name.log"
        tail -40 "$log"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    summary+=("$(printf '%-24s %12s executions in %ss' "$name" "${runs:-?}" "$seconds")")
done
if [ $long -eq 1 ]; then
    printf '%s\n' "${summary[@]}"
fi
exit $status
