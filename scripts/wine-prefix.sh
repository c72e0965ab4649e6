#!/bin/bash
# Makes a fresh, quiet Wine prefix for the tests: no crash dialog, no menu
# entries, no Mono or Gecko prompts.
set -euo pipefail
prefix=${1:?usage: wine-prefix.sh PREFIX}
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
rm -rf "$prefix"
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
test -f "$prefix/system.reg" || { echo "wineboot made no prefix at $prefix" >&2; exit 1; }
echo "Wine prefix ready at $prefix"
