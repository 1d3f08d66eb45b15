#!/bin/sh
# Fails when a pure source (one not ending in _win.cpp) includes <windows.h>
# or another Win32 header: the pure core must build on any host.
root=${1:-.}
bad=$(cd "$root" && grep -lE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](windows|winbase|winuser|windef|shlobj|commctrl|mmsystem|ddeml)\.h[>"]' \
    core/*.cpp core/*.h catalogue/archive/*.cpp catalogue/archive/*.h analysis/*.cpp analysis/*.h catalogue/*.cpp catalogue/*.h \
    player/*.cpp player/*.h ui/rules/*.cpp ui/rules/*.h actions/*.cpp actions/*.h 2>/dev/null \
    | grep -v '_win\.cpp$' | grep -v '_win\.h$')
if [ -n "$bad" ]; then
    echo "pure core sources include Win32 headers:" >&2
    echo "$bad" >&2
    exit 1
fi
exit 0
