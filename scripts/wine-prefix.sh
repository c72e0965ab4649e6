#!/bin/bash
# Makes a fresh, quiet Wine prefix of our own: no crash dialog, no menu
# entries, no Mono or Gecko prompts, and the fonts Wine ships (Debian's Wine
# finds no Marlett in a new prefix, and every close box then shows the letter
# "r"). 32-bit by default, as the map editor's prefix usually is; pass win64
# for a 64-bit one.
#
# It removes only what it made itself: a folder carrying its mark is made
# anew, an empty folder is used, and any other existing path is refused and
# left as it is.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX [win32|win64]}
arch=${2:-win32}
case "$arch" in win32 | win64) ;; *) echo "wine-prefix.sh: unknown architecture '$arch' (win32 or win64)" >&2; exit 2 ;; esac
if [ "$arch" = win32 ] && ! "$(dirname "$0")/runs-32-bit.sh"; then
    echo "wine-prefix.sh: this machine's kernel runs no 32-bit programs (its 32-bit emulation is off)," >&2
    echo "so no 32-bit Wine prefix can work here. scripts/test.sh runs the Wine tests on such a" >&2
    echo "machine in a chroot where an emulator runs 32-bit programs (scripts/i386-chroot.sh)." >&2
    exit 1
fi
mark=.made-by-tavrel-wine-prefix
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

if [ -f "$prefix/$mark" ]; then
    # Ours: end its programs, then make it anew.
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
elif [ -d "$prefix" ] && [ -z "$(ls -A "$prefix")" ]; then
    rmdir "$prefix"
elif [ -e "$prefix" ] || [ -L "$prefix" ]; then
    echo "wine-prefix.sh: $prefix already exists and was not made by this script; leaving it untouched." >&2
    exit 1
fi

mkdir -p "$prefix"
echo "Made by Tavrel's scripts/wine-prefix.sh, which may remove and remake this folder." >"$prefix/$mark"
# A prefix left half made would be refused as no prefix by the next run.
trap 'rm -rf "$prefix"' ERR

wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
test -f "$prefix/system.reg" || { echo "wineboot made no prefix at $prefix" >&2; false; }
grep -qx "#arch=$arch" "$prefix/system.reg" || { echo "wineboot made no $arch prefix at $prefix" >&2; false; }

fonts=/usr/share/wine/fonts
[ -f "$fonts/marlett.ttf" ] || { echo "no Wine fonts in $fonts: install fonts-wine" >&2; false; }
cp -n "$fonts"/* "$prefix/drive_c/windows/Fonts/"
trap - ERR
echo "Wine prefix ($arch) ready at $prefix"
