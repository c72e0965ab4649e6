#!/bin/bash
# Benchmarks the recorder under Wine on a virtual display of its own: the
# processor time and poll passes per second of an idle recording, and the
# shortest tap still caught (see recorder_bench.cpp for the methods). Prints
# the machine and a Markdown report (see docs/benchmarks.md) and keeps both
# in the output folder.
#
# Usage: bench/recorder_bench.sh [BUILD_DIR] [TAPS] [SECONDS]
#   BUILD_DIR  a build of the "windows" or "windows-x64" preset (default build/windows)
#   TAPS       taps per hold time (default 200)
#   SECONDS    length of the idle recording (default 10)
# Environment: TAVREL_BENCH_OUT output folder (default a fresh one in /tmp),
#              TAVREL_WINEPREFIX Wine prefix (default /tmp/tavrel-recorder-bench-prefix-win32 or -win64),
#              TAVREL_BENCH_BASELINE another tavrel.exe (an older build) to
#              measure first, the same way (report-baseline.md).
# Needs xvfb-run. Keep the machine otherwise idle: the figures are shares of it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${TAVREL_BENCH_ON_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" env TAVREL_BENCH_ON_DISPLAY=1 "$0" "$@"
fi

build=$(cd "${1:-$root/build/windows}" && pwd)
taps=${2:-200}
seconds=${3:-10}
out=${TAVREL_BENCH_OUT:-$(mktemp -d /tmp/tavrel-recorder-bench.XXXXXX)}
mkdir -p "$out"

. "$root/bench/common.sh"
bench_prepare tavrel_recorder_bench tavrel-recorder-bench-prefix

bench_machine

if [ -n "${TAVREL_BENCH_BASELINE:-}" ]; then
    baseline_programs="$out/baseline-programs"
    mkdir -p "$baseline_programs"
    cp "$build"/bench/tavrel_recorder_bench.exe "$build"/bench/*.wav "$baseline_programs/"
    cp "$TAVREL_BENCH_BASELINE" "$baseline_programs/tavrel.exe"
    "$root/scripts/wine-run.sh" "$baseline_programs/tavrel_recorder_bench.exe" "$taps" "$seconds" \
        >"$out/report-baseline.md" 2>"$out/wine-stderr-baseline.log" ||
        { grep -v '^ALSA' "$out/wine-stderr-baseline.log" >&2; exit 1; }
    echo "load between: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
fi
"$root/scripts/wine-run.sh" "$build/bench/tavrel_recorder_bench.exe" "$taps" "$seconds" \
    >"$out/report.md" 2>"$out/wine-stderr.log" ||
    { grep -v '^ALSA' "$out/wine-stderr.log" >&2; exit 1; }

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
cat "$out/machine.txt"
echo
if [ -f "$out/report-baseline.md" ]; then
    echo "## Baseline ($TAVREL_BENCH_BASELINE)"
    echo
    cat "$out/report-baseline.md"
    echo
    echo "## This build"
    echo
fi
cat "$out/report.md"
echo "machine.txt and report.md are in $out" >&2
