#!/bin/bash
# Builds what ships, 64-bit and 32-bit, and writes the release zips:
#   dist/Quillory-<version>-win64.zip   (build/win)
#   dist/Quillory-<version>-win32.zip   (build/win32)
# The version is the project version of CMakeLists.txt. Only the shipped
# targets are built; worlds already built are reused as they are.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

"$root/tools/install-deps.sh"
QUILLORY_BUILD_TARGET="Quillory quillory-cli" "$root/tools/build.sh" win
"$root/tools/build.sh" win32

version=$(cat build/win/quillory-version.txt)
if [ "$version" != "$(cat build/win32/quillory-version.txt)" ]; then
    echo "package: build/win and build/win32 were configured with different versions; reconfigure one" >&2
    exit 1
fi
for world in win:win64 win32:win32; do
    dir=build/${world%%:*}
    python3 packaging/make_package.py "$version" "$dir/bin" "$dir/tools/cli/quillory-cli.exe" docs \
        "packaging/はじめにお読みください.txt" "dist/Quillory-$version-${world##*:}.zip"
done
