#!/bin/bash
# Installs the Debian packages the build and the tests need, only those missing.
# With their recommended packages: Wine needs the X extension libraries and
# fonts it only recommends (RandR, XInput, cursors, fonts-wine).
set -euo pipefail
packages=(cmake ninja-build g++ clang libgtest-dev googletest g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine wine64 xvfb xauth xdotool imagemagick python3 zip)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
