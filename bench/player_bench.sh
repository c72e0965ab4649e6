#!/bin/bash
# Benchmarks the player under Wine on a virtual display of its own: a long
# path played into the receiving dialog in each speed mode, then the same
# keys typed into the same dialog by xdotool at its default delay and at
# delay 0, for reference. Prints a Markdown report (see docs/benchmarks.md)
# and leaves the logs, the report and a plot in the output folder.
#
# Usage: bench/player_bench.sh [BUILD_DIR] [ENTRIES] [MODES]
#   BUILD_DIR  a build of the "windows" or "windows-x64" preset (default build/windows)
#   ENTRIES    path length (default 1000); MODES digits of the modes, "s" for
#              the start-up against a bare window, "l" for the load of
#              32,767 lines, "b" mode 0 into a dialog busy 40 ms a press (default 012sl)
# Environment: TAVREL_BENCH_OUT output folder (default a fresh one in /tmp),
#              TAVREL_WINEPREFIX Wine prefix (default /tmp/tavrel-bench-prefix-win32 or -win64),
#              TAVREL_BENCH_BASELINE another tavrel.exe (an older build) to
#              measure the same way, each step run by both in turns; its
#              figures go to OUT/baseline, the build's to OUT.
# Needs xvfb-run, xdotool, python3; python3-matplotlib for the plot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${TAVREL_BENCH_ON_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" env TAVREL_BENCH_ON_DISPLAY=1 "$0" "$@"
fi

build=$(cd "${1:-$root/build/windows}" && pwd)
entries=${2:-1000}
modes=${3:-012sl}
out=${TAVREL_BENCH_OUT:-$(mktemp -d /tmp/tavrel-player-bench.XXXXXX)}
mkdir -p "$out"
wine_log="$out/wine-stderr.log"

. "$root/bench/common.sh"
bench_prepare tavrel_player_bench tavrel-bench-prefix
winpath() { WINEPREFIX=$TAVREL_WINEPREFIX WINEDEBUG=-all winepath -w "$1" 2>/dev/null; }

bench_machine "xdotool: $(xdotool version 2>/dev/null | head -n1)"

# The baseline runs from a copy of the bench folder with its own tavrel.exe.
baseline_programs=
if [ -n "${TAVREL_BENCH_BASELINE:-}" ]; then
    baseline_programs="$out/baseline-programs"
    mkdir -p "$baseline_programs" "$out/baseline"
    cp "$build"/bench/*.exe "$build"/bench/*.wav "$baseline_programs/"
    cp "$TAVREL_BENCH_BASELINE" "$baseline_programs/tavrel.exe"
    cp "$out/machine.txt" "$out/baseline/machine.txt"
fi
for (( k = 0; k < ${#modes}; k++ )); do
    step=${modes:k:1}
    if [ -n "$baseline_programs" ]; then
        echo "== baseline tavrel.exe, step $step" >&2
        "$root/scripts/wine-run.sh" "$baseline_programs/tavrel_player_bench.exe" "$(winpath "$out/baseline")" \
            "$entries" "$step" 2>>"$wine_log" >&2
        echo "load: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
    fi
    echo "== tavrel.exe, $entries entries, step $step" >&2
    "$root/scripts/wine-run.sh" "$build/bench/tavrel_player_bench.exe" "$(winpath "$out")" "$entries" "$step" \
        2>>"$wine_log" >&2
    echo "load: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
done

# The same keys as the player's key strings: down to the button, space, back up.
keys=$(awk '{ n = ($1 == "DOWN") ? 0 : ($1 == "LEFT") ? 1 : ($1 == "RIGHT") ? 2 : 3;
              for (i = 0; i < n; i++) printf "Down "; printf "space "; for (i = 0; i < n; i++) printf "Up " }' \
           "$out/path.txt")

# Polls a condition every 0.1 s for at most $1 seconds.
wait_for() {
    local limit=$1
    shift
    for _ in $(seq $((limit * 10))); do "$@" && return 0; sleep 0.1; done
    return 1
}
presses_at_least() { [ "$(grep -c ' PRESS ' "$1" 2>/dev/null || true)" -ge "$2" ]; }

for delay in ${TAVREL_BENCH_XDOTOOL_DELAYS-12 0}; do
    echo "== xdotool key --delay $delay" >&2
    log="$out/xdotool-delay$delay.log"
    ready="$out/ready-$delay"
    rm -f "$log" "$ready"
    "$root/scripts/wine-run.sh" "$build/bench/tavrel_receiver.exe" "$(winpath "$log")" --ready "$(winpath "$ready")" \
        2>>"$wine_log" &
    receiver=$!
    wait_for 60 test -s "$ready" || { echo "the receiver did not get ready" >&2; exit 1; }
    window=$(xdotool search --onlyvisible --name '^Tavrel Receiver$' | head -n1)
    xdotool windowfocus --sync "$window"
    # shellcheck disable=SC2086  # one argument per key
    xdotool key --delay "$delay" $keys
    wait_for 120 presses_at_least "$log" "$(wc -l <"$out/path.txt")" ||
        echo "not every press arrived; the report shows how many did" >&2
    xdotool key Escape  # the dialog's cancel: it closes itself
    wait_for 30 sh -c "! kill -0 $receiver 2>/dev/null" || kill "$receiver"
    wait "$receiver" || true
done

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
python=python3
for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c 'import matplotlib' 2>/dev/null; then python=$candidate; break; fi
done
cat "$out/machine.txt"
echo
if [ -n "$baseline_programs" ]; then
    cp "$out"/xdotool-delay*.log "$out/baseline/" 2>/dev/null || true
    echo "### Baseline ($TAVREL_BENCH_BASELINE)"
    echo
    "$python" "$root/bench/player_bench_report.py" "$out/baseline"
    echo
    echo "### This build"
    echo
fi
"$python" "$root/bench/player_bench_report.py" "$out"
echo
echo "logs, report.md and player_gaps.png (when matplotlib is there) are in $out" >&2
