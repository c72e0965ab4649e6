# Shared by the benchmark scripts; sourced after `root`, `build` and `out`
# are set.

# Builds the benchmark target $1 and makes (once) a Wine prefix of the
# build's own architecture, 32-bit for the windows preset, named after $2
# unless TAVREL_WINEPREFIX names one.
bench_prepare() {
    cmake --build "$build" --target "$1" >/dev/null ||
        { echo "cannot build $1 in $build (is bench/ added to the build?)" >&2; exit 1; }
    arch=$("$root/scripts/pe-arch.sh" "$build/app/win32/tavrel.exe")
    export TAVREL_WINEPREFIX=${TAVREL_WINEPREFIX:-/tmp/$2-$arch}
    [ -f "$TAVREL_WINEPREFIX/system.reg" ] || "$root/scripts/wine-prefix.sh" "$TAVREL_WINEPREFIX" "$arch" >/dev/null
}

# The machine the figures come from, into $out/machine.txt; each argument
# is one more line of it.
bench_machine() {
    {
        echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
        echo "processors: $(nproc)"
        echo "cpu: $(lscpu | sed -n 's/^Model name: *//p' | head -n1)"
        echo "wine: $(wine --version 2>/dev/null)"
        echo "kernel: $(uname -r)"
        for line in "$@"; do echo "$line"; done
        echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
    } >"$out/machine.txt"
}
