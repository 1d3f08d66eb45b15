#!/bin/bash
# Builds the three worlds from one source tree:
#   build/native   host g++ with ASan/UBSan: pure core, native tests
#   build/release  host g++ optimised: quillory-cli and the benchmarks (no tests)
#   build/fuzz     clang libFuzzer targets
#   build/win      mingw-w64: Quillory.exe, libraries, Windows tests
#   build/win32    32-bit mingw-w64: only what ships (program, CLI, archiver
#                  libraries); nothing there can run on this machine
# Usage: tools/build.sh [native|release|fuzz|win|win32 ...]   (default: all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

worlds=("$@")
if [ ${#worlds[@]} -eq 0 ]; then
    worlds=(native release fuzz win win32)
fi

configure() {
    local dir=$1
    shift
    if [ ! -f "$dir/build.ninja" ]; then
        cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    fi
}

jobs=$(nproc)
for world in "${worlds[@]}"; do
    echo "== building $world"
    case $world in
        native)
            configure build/native -DCMAKE_BUILD_TYPE=Debug -DQUILLORY_BENCH=OFF
            ;;
        release)
            configure build/release -DCMAKE_BUILD_TYPE=Release -DQUILLORY_SANITIZE=OFF -DQUILLORY_TESTS=OFF
            ;;
        fuzz)
            configure build/fuzz -DCMAKE_BUILD_TYPE=Debug -DQUILLORY_FUZZ=ON \
                -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
            ;;
        win)
            configure build/win -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"

            ;;
        win32)
            configure build/win32 -DCMAKE_BUILD_TYPE=Release -DQUILLORY_TESTS=OFF -DQUILLORY_BENCH=OFF \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake"
            ;;
        *)
            echo "unknown world: $world" >&2
            exit 2
            ;;
    esac
    # QUILLORY_BUILD_TARGET limits the build to some targets, separated by
    # spaces (the demo needs only the program, a package what ships).
    # shellcheck disable=SC2086
    cmake --build "build/$world" -j "$jobs" ${QUILLORY_BUILD_TARGET:+--target $QUILLORY_BUILD_TARGET}
done
