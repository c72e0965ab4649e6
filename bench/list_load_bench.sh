#!/bin/bash
# Benchmarks loading huge list files under Wine on a virtual display of its
# own: peak working set and the longest time the window did not answer (see
# list_load_bench.cpp). Prints the machine and a Markdown table (see
# docs/benchmarks.md) and keeps both in the output folder.
#
# Usage: bench/list_load_bench.sh [BUILD_DIR]
#   BUILD_DIR  a build of the "windows" or "windows-x64" preset (default build/windows)
# Environment: TAVREL_BENCH_OUT output folder (default a fresh one in /tmp),
#              TAVREL_WINEPREFIX Wine prefix (default /tmp/tavrel-list-load-bench-prefix-win32 or -win64).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${TAVREL_BENCH_ON_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" env TAVREL_BENCH_ON_DISPLAY=1 "$0" "$@"
fi

build=$(cd "${1:-$root/build/windows}" && pwd)
out=${TAVREL_BENCH_OUT:-$(mktemp -d /tmp/tavrel-list-load-bench.XXXXXX)}
mkdir -p "$out"

cmake --build "$build" --target tavrel_list_load_bench >/dev/null ||
    { echo "cannot build tavrel_list_load_bench in $build (is bench/ added to the build?)" >&2; exit 1; }
# A prefix of the build's own architecture: 32-bit for the windows preset.
arch=$("$root/scripts/pe-arch.sh" "$build/app/win32/tavrel.exe")
export TAVREL_WINEPREFIX=${TAVREL_WINEPREFIX:-/tmp/tavrel-list-load-bench-prefix-$arch}
[ -f "$TAVREL_WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh" "$TAVREL_WINEPREFIX" "$arch" >/dev/null

{
    echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
    echo "processors: $(nproc)"
    echo "cpu: $(lscpu | sed -n 's/^Model name: *//p' | head -n1)"
    echo "wine: $(wine --version 2>/dev/null)"
    echo "kernel: $(uname -r)"
    echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$out/machine.txt"

"$root/scripts/wine-run.sh" "$build/bench/tavrel_list_load_bench.exe" >"$out/report.md" 2>"$out/wine-stderr.log" ||
    { grep -v '^ALSA' "$out/wine-stderr.log" >&2; exit 1; }

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
cat "$out/machine.txt"
echo
cat "$out/report.md"
grep -v '^ALSA' "$out/wine-stderr.log" >&2 || true
echo "machine.txt and report.md are in $out" >&2
