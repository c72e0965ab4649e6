#!/bin/bash
# Runs every libFuzzer target for a bounded time (default 60 s each):
#   fuzz/run.sh [SECONDS]
# New inputs go to fuzz/corpus-work/<target>; the committed seeds stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
mkdir -p build/fuzz-bin
core=$(ls core/*.cpp app/*.cpp platform/*.cpp 2>/dev/null)
for src in fuzz/*_fuzz.cpp; do
    name=$(basename "$src" .cpp)
    bin=build/fuzz-bin/$name
    clang++ -std=c++20 -g -O1 -I. -fsanitize=fuzzer,address,undefined \
        -fno-sanitize-recover=all "$src" $core -o "$bin"
    work=fuzz/corpus-work/$name
    mkdir -p "$work"
    echo "== $name for ${seconds}s"
    "$bin" -max_total_time="$seconds" -print_final_stats=1 "$work" "fuzz/corpus/$name"
done
