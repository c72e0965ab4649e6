#!/bin/bash
# Takes the README's pictures: the main window with a path loaded, the
# keystroke list's menu, About, and Preview drawing that path. Tavrel runs on
# a Wine desktop (which draws the title bars, with Marlett's glyphs) on a
# virtual display, in a prefix of its own in the build folder, and is worked
# with real clicks; the pointer is moved onto the bare desktop before each
# picture, so no tool tip shows.
#
#   scripts/screenshots.sh [TAVREL_EXE [OUT_DIR]]
#
# Defaults: the exe of run.sh's build, and docs/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${TAVREL_SHOTS_ON_DISPLAY:-}" ]; then
    default=$root/build/app/app/win32/tavrel.exe
    "$root/scripts/runs-32-bit.sh" || default=$root/build/app-x64/app/win32/tavrel.exe
    exe=$(realpath "${1:-$default}")
    out=$(realpath -m "${2:-$root/docs}")
    [ -f "$exe" ] || { echo "screenshots.sh: no $exe (build it: scripts/run.sh, or give the exe)" >&2; exit 1; }
    exec xvfb-run -a -s "-screen 0 800x600x24" env TAVREL_SHOTS_ON_DISPLAY=1 "$0" "$exe" "$out"
fi
exe=$1 out=$2
arch=$("$root/scripts/pe-arch.sh" "$exe")
work="$root/build/screenshots-$arch"
export TAVREL_WINEPREFIX="$work/prefix"
[ -f "$TAVREL_WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh" "$TAVREL_WINEPREFIX" "$arch" >/dev/null
mkdir -p "$out"

# A program folder with a path that makes a recognisable drawing: a square
# spiral walked outwards.
folder="$work/Tavrel"
rm -rf "$folder" && mkdir -p "$folder"
cp "$exe" "$folder/tavrel.exe"
cp "$root/app/win32/res/key.wav" "$root/app/win32/res/click.wav" "$folder/"
for arm in $(seq 2 2 24); do
    for direction in RIGHT DOWN; do for _ in $(seq 1 "$arm"); do printf '%s\r\n' "$direction"; done; done
    for direction in LEFT UP; do for _ in $(seq 0 "$arm"); do printf '%s\r\n' "$direction"; done; done
done >"$folder/TavrelXP.txt"

mark="TAVREL_SCREENSHOTS=$$"
end_ours() { "$root/scripts/end-marked.sh" "$mark"; }
trap end_ours EXIT

window() {  # caption; prints the X window id once it shows
    for _ in $(seq 1 150); do
        xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 && return 0
        sleep 0.2
    done
    echo "screenshots.sh: no window \"$1\" showed" >&2
    return 1
}
gone() {  # caption
    for _ in $(seq 1 150); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    echo "screenshots.sh: \"$1\" did not close" >&2
    return 1
}
# X, Y, WIDTH, HEIGHT of a window on the screen. (xdotool's geometry counts
# the Wine desktop's offset twice for the windows inside it.)
geometry() {  # X window id
    eval "$(xwininfo -id "$1" | sed -n 's/^ *Absolute upper-left X: *\(-*[0-9]*\)/X=\1/p;
        s/^ *Absolute upper-left Y: *\(-*[0-9]*\)/Y=\1/p; s/^ *Width: *\([0-9]*\)/WIDTH=\1/p;
        s/^ *Height: *\([0-9]*\)/HEIGHT=\1/p')"
}
shoot() {  # X window id, file: the window alone, frame and title bar included
    xdotool mousemove 2 2
    sleep 1.5
    geometry "$1"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$2"
    echo "wrote $2"
}
# Clicks a point of the main window's client area, given in pixels.
click() {  # x y
    local client_w=383 client_h=253  # 5745 x 3795 twips
    geometry "$main"
    local border=$(((WIDTH - client_w) / 2))
    local top=$((HEIGHT - client_h - border))
    xdotool mousemove $((X + border + $1)) $((Y + top + $2)) click 1
}

cd "$folder"
env "$mark" "$root/scripts/wine-run.sh" explorer /desktop=Tavrel,640x480 "$folder/tavrel.exe" &
main=$(window "Tavrel for RMXP")
sleep 1
# Buttons' centres: frame "Actions" at (8, 8), each button's place inside it.
click 112 96  # Load
sleep 1
shoot "$main" "$out/main-window.png"

# The keystroke list's menu, opened on the fourth entry: it reaches past the
# window's right edge, so the picture takes that much more.
click 272 66
sleep 0.5
xdotool click 3
sleep 1.5
geometry "$main"
import -window root -crop "$((WIDTH + 120))x${HEIGHT}+${X}+${Y}" +repage "$out/list-menu.png"
echo "wrote $out/list-menu.png"
xdotool key Escape
sleep 0.5

click 48 88  # Preview
preview=$(window "Preview")
shoot "$preview" "$out/preview.png"
xdotool key alt+F4
gone "Preview"

click 176 96  # About
about=$(window "About")
shoot "$about" "$out/about.png"
xdotool key Return
gone "About"
