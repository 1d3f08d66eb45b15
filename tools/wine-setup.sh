#!/bin/bash
# Creates the project's Wine prefix (build/wineprefix) once: Japanese font
# substitutes, a virtual desktop with a tray, Wine's own fonts. Reused later.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
prefix=${QUILLORY_WINEPREFIX:-$root/build/wineprefix}
marker=$prefix/.quillory-ready
if [ -f "$marker" ] && [ "$marker" -nt "$root/tools/wine-setup.reg" ]; then
    exit 0
fi
echo "== preparing the Wine environment in $prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
export HOME=$root/build/home LC_ALL=ja_JP.UTF-8
mkdir -p "$HOME"
wine wineboot -i >/dev/null 2>&1 || true
wineserver -w
wine regedit /S "$(winepath -w "$root/tools/wine-setup.reg" 2>/dev/null)" >/dev/null 2>&1
mkdir -p "$prefix/drive_c/windows/Fonts"
for font in marlett tahoma tahomabd; do
    if [ -f "/usr/share/wine/fonts/$font.ttf" ]; then
        cp "/usr/share/wine/fonts/$font.ttf" "$prefix/drive_c/windows/Fonts/"
    fi
done
wineserver -w
touch "$marker"
