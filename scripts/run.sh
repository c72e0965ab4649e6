#!/bin/bash
# Builds tavrel.exe and starts it under Wine, in the Wine prefix of the map
# editor when given one:
#
#   scripts/run.sh [--prefix DIR]
#
# The prefix is DIR, else $WINEPREFIX, else Tavrel's own ~/.wine-tavrel.
# Tavrel must run in the editor's prefix: keys it sends reach only windows of
# its own prefix, and it sees only keys typed into them. A prefix given is used
# as it is: never made, wiped or ended. Only ~/.wine-tavrel is ever made, and
# only when it does not exist. Root is needed only to install missing
# packages; run it as the user who owns the prefix.
#
# With no display it runs on a virtual one, saves a screenshot, ends the
# programs it started and says where the screenshot is.
# Environment: TAVREL_EXE runs that exe instead of building one;
# TAVREL_SCREENSHOT where the screenshot goes (default build/tavrel-screenshot.png).
set -euo pipefail
cd "$(dirname "$0")/.."
fail() { printf '%s\n' "$@" >&2; exit 1; }

own_prefix="$HOME/.wine-tavrel"
prefix=${WINEPREFIX:-}
while (($#)); do
    case "$1" in
        --prefix) (($# >= 2)) || fail "run.sh: --prefix needs a folder"; prefix=$2; shift 2 ;;
        --prefix=*) prefix=${1#--prefix=}; shift ;;
        -h | --help) sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) fail "run.sh: unknown argument '$1' (usage: scripts/run.sh [--prefix DIR])" ;;
    esac
done
[ -n "$prefix" ] || prefix=$own_prefix
prefix=$(realpath -m "$prefix")

# The prefix first: a wrong one is refused before anything is installed or built.
if [ -e "$prefix" ]; then
    [ -d "$prefix" ] || fail "run.sh: $prefix is not a folder, so not a Wine prefix. Nothing was changed."
    [ -f "$prefix/system.reg" ] || fail \
        "run.sh: $prefix is not a Wine prefix (it has no system.reg), so Tavrel will not use it." \
        "Nothing in it was changed. Give the folder your map editor runs in (usually ~/.wine or" \
        "the WINEPREFIX you start the editor with), or leave out --prefix to use $own_prefix."
    owner=$(stat -c %u "$prefix")
    [ "$owner" = "$(id -u)" ] || fail \
        "run.sh: $prefix belongs to $(id -nu "$owner" 2>/dev/null || echo "user $owner"), and Wine runs a prefix only as its owner." \
        "Run scripts/run.sh as that user; root is needed only to install packages (sudo scripts/install-deps.sh run)."
elif [ "$prefix" != "$(realpath -m "$own_prefix")" ]; then
    fail "run.sh: there is no Wine prefix at $prefix. Tavrel makes no prefix but its own ($own_prefix):" \
         "give the folder your map editor runs in, or leave out --prefix."
fi

scripts/install-deps.sh run

command -v wine >/dev/null || fail "run.sh: Wine is not installed (no 'wine' command). As root: scripts/install-deps.sh run"

if [ -n "${TAVREL_EXE:-}" ]; then
    exe=$(realpath "$TAVREL_EXE")
else
    # A 32-bit program needs the kernel's 32-bit emulation; where it is off no
    # 32-bit Windows program runs under Wine, and a 64-bit build runs instead.
    if scripts/runs-32-bit.sh; then
        preset=windows build=build/app
    else
        preset=windows-x64 build=build/app-x64
        echo "This machine's kernel runs no 32-bit programs (its 32-bit emulation is off): running a"
        echo "64-bit build of Tavrel. The map editor, a 32-bit program, cannot run here either."
    fi
    cmake --preset "$preset" -B "$build" -DTAVREL_TESTS=OFF >/dev/null
    cmake --build "$build" --target tavrel
    exe=$PWD/$build/app/win32/tavrel.exe
fi
exe_arch=$(scripts/pe-arch.sh "$exe")
if [ "$exe_arch" = win32 ] && ! scripts/runs-32-bit.sh; then
    fail "run.sh: $exe is a 32-bit program, and this machine's kernel runs no 32-bit programs." \
         "Leave out TAVREL_EXE: run.sh then builds and runs a 64-bit Tavrel."
fi

if [ -f "$prefix/system.reg" ]; then
    prefix_arch=$(sed -n 's/^#arch=//p' "$prefix/system.reg" | head -n 1)
    case "$exe_arch/$prefix_arch" in
        win32/win32)
            [ -x /usr/lib/wine/wine ] || fail "run.sh: $prefix is a 32-bit Wine prefix, and 32-bit Wine (wine32) is not installed." \
                "As root: dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386" ;;
        win32/win64)
            { [ -x /usr/lib/wine/wine64 ] && [ -x /usr/lib/wine/wine ]; } || fail \
                "run.sh: $prefix is a 64-bit Wine prefix; a 32-bit program runs there only with both wine64 and wine32." \
                "As root: dpkg --add-architecture i386 && apt-get update && apt-get install wine64 wine32:i386" ;;
        win64/win32)
            fail "run.sh: $prefix is a 32-bit Wine prefix, and this machine runs no 32-bit programs:" \
                 "neither Tavrel nor the map editor can run in it here." ;;
        win64/win64)
            [ -x /usr/lib/wine/wine64 ] || fail "run.sh: $prefix is a 64-bit Wine prefix, and wine64 is not installed. As root: apt-get install wine64" ;;
        *) echo "run.sh: $prefix names no architecture; trying it as it is." >&2 ;;
    esac
else
    # Only here, and only because it does not exist: Tavrel's own prefix.
    scripts/wine-prefix.sh "$prefix" "$exe_arch"
fi
fonts=/usr/share/wine/fonts
if [ "$prefix" = "$(realpath -m "$own_prefix")" ]; then
    # Tavrel's own prefix may be older than the fonts it now gets when made.
    cp -n "$fonts"/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
elif [ ! -f "$prefix/drive_c/windows/Fonts/marlett.ttf" ]; then
    echo "Note: $prefix has no Marlett font, so Wine draws the close box of title bars as an \"r\"."
    echo "To give it the fonts Wine ships: cp -n $fonts/* '$prefix/drive_c/windows/Fonts/'"
fi

export TAVREL_WINEPREFIX="$prefix" WINEPREFIX="$prefix"
if [ -n "${DISPLAY:-}" ]; then
    exec scripts/wine-run.sh "$exe"
fi

shot=$(realpath -m "${TAVREL_SCREENSHOT:-build/tavrel-screenshot.png}")
mkdir -p "$(dirname "$shot")"
# A Wine desktop window draws the title bar that a window manager would. The
# programs started here carry a mark in their environment, so exactly they
# are ended afterwards; whatever else runs in the prefix is left alone.
mark="TAVREL_RUN_SH=$$-$RANDOM"
xvfb-run -a -s "-screen 0 640x480x24" bash -c '
    mark=$3
    env "$mark" scripts/wine-run.sh explorer /desktop=Tavrel,520x340 "$1" &
    for _ in $(seq 1 300); do
        xdotool search --name "^Tavrel for RMXP$" >/dev/null 2>&1 && break
        sleep 0.2
    done
    # The pointer onto the bare desktop, so no tool tip shows in the picture.
    xdotool mousemove 4 4
    sleep 1.5
    import -window root "$2"
    scripts/end-marked.sh "$mark"
    wait
' _ "$exe" "$shot" "$mark"
[ -f "$shot" ] || fail "run.sh: no screenshot was taken"
echo "No display: Tavrel ran on a virtual one in $prefix. Screenshot: $shot"
