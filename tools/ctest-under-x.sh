#!/bin/bash
# Runs the Windows tests inside an X server (started by xvfb-run). A
# persistent wineserver and an explorer started up front keep ctest from
# waiting on Wine's lingering processes after every test. The tests run one
# at a time: GUI tests share the desktop, the focus and named objects.
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${QUILLORY_WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export HOME=$root/build/home LC_ALL=ja_JP.UTF-8
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
cd "$root/build/win"
ctest --output-on-failure "$@"
code=$?
wineserver -k
exit $code
