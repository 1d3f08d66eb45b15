#!/bin/bash
# Builds the three worlds from one source tree:
#   build/native   host g++ with ASan/UBSan: pure core, native tests
#   build/release  host g++ optimised: quillory-cli and the benchmarks
#   build/fuzz     clang libFuzzer targets
#   build/win      mingw-w64: Quillory.exe, libraries, Windows tests
# Usage: tools/build.sh [native|release|fuzz|win ...]   (default: all)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

worlds=("$@")
if [ ${#worlds[@]} -eq 0 ]; then
    worlds=(native release fuzz win)
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
            configure build/native -DCMAKE_BUILD_TYPE=Debug
            ;;
        release)
            configure build/release -DCMAKE_BUILD_TYPE=Release -DQUILLORY_SANITIZE=OFF
            ;;
        fuzz)
            configure build/fuzz -DCMAKE_BUILD_TYPE=Debug -DQUILLORY_FUZZ=ON \
                -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
            ;;
        win)
            configure build/win -DCMAKE_BUILD_TYPE=Release \
                -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"

            ;;
        *)
            echo "unknown world: $world" >&2
            exit 2
            ;;
    esac
    # QUILLORY_BUILD_TARGET limits the build to one target (the demo needs only the program).
    cmake --build "build/$world" -j "$jobs" ${QUILLORY_BUILD_TARGET:+--target "$QUILLORY_BUILD_TARGET"}
done
