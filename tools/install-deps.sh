#!/bin/bash
# Installs what the build and the tests need on a Debian 12 machine, only
# when something is missing. Safe to run again.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest zlib1g-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix libz-mingw-w64-dev
    wine wine64 libwine fonts-wine libfreetype6 libfontconfig1 libxrender1 libxcursor1 libxrandr2
    libxi6 libxinerama1 libxcomposite1 libxfixes3 xvfb xauth x11-utils fonts-ipafont-gothic locales imagemagick
    zip unzip python3 lhasa libtag1-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    if [ "$(id -u)" != 0 ]; then
        sudo_cmd="sudo"
    fi
    extra=()
    # A 32-bit Wine pulled in through recommends breaks wine on this kernel.
    if dpkg --print-foreign-architectures | grep -q i386; then
        extra+=("wine32:i386-")
    fi
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends \
        "${missing[@]}" "${extra[@]}" >/dev/null
fi

# Wine decodes Unix file names with the locale: without the compiled
# ja_JP.UTF-8 locale, Japanese file names come out garbled.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    sudo_cmd=""
    if [ "$(id -u)" != 0 ]; then
        sudo_cmd="sudo"
    fi
    $sudo_cmd localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
