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

. "$root/bench/common.sh"
bench_prepare tavrel_list_load_bench tavrel-list-load-bench-prefix

bench_machine

"$root/scripts/wine-run.sh" "$build/bench/tavrel_list_load_bench.exe" >"$out/report.md" 2>"$out/wine-stderr.log" ||
    { grep -v '^ALSA' "$out/wine-stderr.log" >&2; exit 1; }

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)" >>"$out/machine.txt"
cat "$out/machine.txt"
echo
cat "$out/report.md"
grep -v '^ALSA' "$out/wine-stderr.log" >&2 || true
echo "machine.txt and report.md are in $out" >&2
