#!/bin/bash
# Installs the Debian packages the build and the tests need, only those
# missing; with nothing missing it touches no package tool at all.
# tavrel.exe is 32-bit: Wine runs it through wine32, which is an i386 package
# (so the i386 architecture is added), and in a 64-bit prefix through wine64
# and wine32 together. On a kernel that runs no 32-bit programs wine32 is left
# out: installed there, it would become the loader `wine` picks and break
# 64-bit Wine as well ("Exec format error"); the 64-bit cross compiler is
# installed instead. Wine comes with its recommended packages: the X
# extension libraries and the fonts it only recommends (RandR, XInput,
# cursors, fonts-wine with Marlett and Tahoma).
# `install-deps.sh run` checks only what building and running the program
# needs; `wine-tests` what running the Wine tests of a finished build needs
# too (the set scripts/i386-chroot.sh keeps in its chroot); with no argument,
# everything the build and the tests need.
# Where the Wine tests run through user-mode emulation (the kernel runs no
# 32-bit programs, or TAVREL_EMULATE_32BIT=1), debootstrap too, which makes
# the chroot they run in.
# Only root installs. Anyone else is told what is missing and how to install
# it, and the script fails.
set -euo pipefail
mode=${1:-}
case "$mode" in "" | run | wine-tests) ;; *) echo "install-deps.sh: unknown argument '$mode' (run or wine-tests)" >&2; exit 2 ;; esac
packages=(cmake ninja-build g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine64 fonts-wine
          xvfb xauth xdotool imagemagick)
if [ "$mode" != run ]; then
    packages+=(python3 zip x11-utils)
fi
if [ -z "$mode" ]; then
    packages+=(g++ clang libgtest-dev googletest)
    if [ "${TAVREL_EMULATE_32BIT:-}" = 1 ] || ! "$(dirname "$0")/runs-32-bit.sh"; then
        packages+=(debootstrap)
    fi
fi
if "$(dirname "$0")/runs-32-bit.sh"; then
    packages+=(wine32:i386)
else
    # Where 32-bit programs cannot run, the Wine tests run a 64-bit build.
    packages+=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64)
    if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
        echo "wine32:i386 is installed, but this machine's kernel runs no 32-bit programs: every" >&2
        echo "Wine command fails with 'Exec format error'. Remove it: apt-get remove wine32:i386" >&2
        exit 1
    fi
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
((${#missing[@]})) || exit 0

needs_i386=false
if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    needs_i386=true
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root, then run this again:" >&2
    echo "    sudo $(cd "$(dirname "$0")" && pwd)/install-deps.sh${1:+ $1}" >&2
    add_i386=""
    $needs_i386 && add_i386="dpkg --add-architecture i386 && "
    echo "(which runs: ${add_i386}apt-get update && apt-get install ${missing[*]})" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
if $needs_i386; then
    dpkg --add-architecture i386
fi
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
