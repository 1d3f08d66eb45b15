#!/bin/bash
# Runs the Windows tests inside an X server (started by xvfb-run). A
# persistent wineserver and Wine's service processes started up front keep
# ctest from waiting on Wine's lingering processes after every test. The
# tests run one at a time: GUI tests share the desktop, the focus and named
# objects.
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${QUILLORY_WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export HOME=$root/build/home LC_ALL=ja_JP.UTF-8
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
cd "$root/build/win"
ctest --output-on-failure "$@"
code=$?
if [ $code -ne 0 ]; then
    # What a failed run left behind, for telling a broken display or Wine
    # session from failures of the program itself.
    if xdpyinfo >/dev/null 2>&1; then x=answering; else x="NOT answering"; fi
    echo "after the tests: X server $DISPLAY $x; explorer processes: $(pgrep -c -f 'explorer\.exe')"
fi
wineserver -k
exit $code
