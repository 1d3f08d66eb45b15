#!/bin/bash
# Starts Quillory on its demo library: installs what is missing, builds the
# Windows program, prepares the Wine environment, writes the demo library to
# build/demo and opens it at its GS folder (the tree shows the rest). Without
# a display it starts a virtual one (Xvfb) and saves a screenshot to
# build/demo-screenshot.png after a few seconds.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/tools/install-deps.sh"
QUILLORY_BUILD_TARGET=Quillory "$root/tools/build.sh" win
"$root/tools/wine-setup.sh"
python3 "$root/tools/make_demo_library.py" "$root/build/demo"

exe="$root/build/win/bin/Quillory.exe"
demo_win=$(QUILLORY_QUIET=1 "$root/tools/wine-run.sh" winepath -w "$root/build/demo" 2>/dev/null)

if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:57
    if ! xdpyinfo >/dev/null 2>&1; then
        Xvfb "$DISPLAY" -screen 0 1024x768x24 >/dev/null 2>&1 &
        sleep 1
    fi
    "$root/tools/wine-run.sh" "$exe" "$demo_win\\GS\\" &
    sleep "${QUILLORY_DEMO_WAIT:-8}"
    import -window root "$root/build/demo-screenshot.png"
    echo "Quillory is running on virtual display $DISPLAY;"
    echo "screenshot: build/demo-screenshot.png"
    wait
else
    exec "$root/tools/wine-run.sh" "$exe" "$demo_win\\GS\\"
fi
