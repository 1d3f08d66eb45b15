#!/bin/bash
# Runs a Windows program under Wine with the project's own prefix, a
# Japanese locale (code page 932) and no debug noise. Used as the test
# emulator and by the run scripts.
root=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX=${QUILLORY_WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export HOME=$root/build/home
export LC_ALL=ja_JP.UTF-8
mkdir -p "$HOME"
exec wine "$@"
