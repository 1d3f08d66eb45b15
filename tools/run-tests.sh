#!/bin/bash
# Runs every test: native unit tests (ASan/UBSan), a short run of every fuzz
# target, then the Windows build's tests under Wine inside Xvfb.
# Installs what is missing and builds first. Exit code: 0 only when all pass.
# QUILLORY_FUZZ_SECONDS sets the time per fuzz target (default 10).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/tools/install-deps.sh" || exit 1
"$root/tools/build.sh" native fuzz win win32 release || exit 1

failed=()

echo "== native tests"
(cd build/native && ctest --output-on-failure -j "$(nproc)") || failed+=(native)

echo "== fuzz targets"
"$root/tools/run-fuzzers.sh" "${QUILLORY_FUZZ_SECONDS:-10}" || failed+=(fuzz)

echo "== Windows tests under Wine"
"$root/tools/wine-setup.sh" || exit 1
xvfb-run -a -s "-screen 0 1024x768x24" "$root/tools/ctest-under-x.sh" || failed+=(windows)

if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "all test groups passed"
