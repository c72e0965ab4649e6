#!/bin/bash
# Builds tavrel.exe and starts it under Wine. On a machine with no display it
# runs on a virtual one, saves a screenshot and says where.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset windows -B build/app -DTAVREL_TESTS=OFF >/dev/null
cmake --build build/app --target tavrel
exe=build/app/app/win32/tavrel.exe
export TAVREL_WINEPREFIX="${TAVREL_WINEPREFIX:-$HOME/.wine-tavrel}"
export WINEPREFIX="$TAVREL_WINEPREFIX"
[ -f "$TAVREL_WINEPREFIX/system.reg" ] || scripts/wine-prefix.sh "$TAVREL_WINEPREFIX"

if [ -n "${DISPLAY:-}" ]; then
    exec scripts/wine-run.sh "$exe"
fi

shot=${TAVREL_SCREENSHOT:-$PWD/build/tavrel-screenshot.png}
# A Wine desktop window draws the title bar that a window manager would.
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
    scripts/wine-run.sh explorer /desktop=Tavrel,520x340 "$1" & app=$!
    for _ in $(seq 1 150); do
        xdotool search --name "^Tavrel for RMXP$" >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 1
    import -window root "$2"
    kill $app 2>/dev/null; wineserver -k 2>/dev/null || true
' _ "$exe" "$shot"
echo "No display: Tavrel ran on a virtual one. Screenshot: $shot"
