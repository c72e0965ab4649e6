#!/bin/bash
# scripts/run.sh with no display, given the map editor's prefix: it runs
# Tavrel there, screenshots it and ends, leaving the prefix, what runs in it
# and its wineserver as they were; given anything that is not a Wine prefix,
# it refuses and changes nothing.
set -uo pipefail
exe=${1:?usage: run_sh_test.sh tavrel.exe}
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/run-sh-test.XXXXXX")
export TMPDIR=$work  # and Wine's own temporary files go with it
prefix=$work/editor-prefix
export WINEDEBUG=-all
passed=0 failed=0
check() {  # what, then a command that must succeed
    local what=$1; shift
    if "$@"; then echo "ok:   $what"; passed=$((passed + 1)); else echo "FAIL: $what"; failed=$((failed + 1)); fi
}
run() {  # output file, then run.sh's arguments; no display, the built exe
    local out=$1; shift
    env -u DISPLAY -u WINEPREFIX TAVREL_EXE="$exe" TAVREL_SCREENSHOT="$work/shot.png" \
        timeout 300 "$root/scripts/run.sh" "$@" >"$out" 2>&1
}
# Processes of a prefix whose command line names a program.
running_in() {  # prefix, program
    for pid in $(grep -lzxF "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
        grep -qaiF "$2" "/proc/$pid/cmdline" 2>/dev/null && echo "$pid"
    done
}
cleanup() {
    kill $(jobs -p) 2>/dev/null
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# The editor's prefix, with a program of the user's running in it (a command
# prompt waiting for input) and a file of the user's.
"$root/scripts/wine-prefix.sh" "$prefix" "$("$root/scripts/pe-arch.sh" "$exe")" >/dev/null || { echo "no prefix"; exit 1; }
echo "a save game" >"$prefix/drive_c/users/save.txt"
inode=$(stat -c %i "$prefix")
stand_in='system32\cmd.exe'  # as Wine names it once it runs
sleep 600 | WINEPREFIX=$prefix wine cmd.exe >/dev/null 2>&1 &
for _ in $(seq 1 100); do [ -n "$(running_in "$prefix" "$stand_in")" ] && break; sleep 0.2; done
editor=$(running_in "$prefix" "$stand_in")
server=$(running_in "$prefix" wineserver)
[ -n "$editor" ] && [ -n "$server" ] || { echo "the stand-in for the editor did not start"; exit 1; }

run "$work/out1" --prefix "$prefix"
status=$?
cat "$work/out1"
check "run.sh ran Tavrel in the given prefix and ended (status $status)" test "$status" -eq 0
check "it took a screenshot" test -s "$work/shot.png"
check "the prefix is the same folder, still a prefix" test "$(stat -c %i "$prefix")" = "$inode" -a -f "$prefix/system.reg"
check "the user's file is untouched" grep -qx "a save game" "$prefix/drive_c/users/save.txt"
check "the user's program still runs in it (was $editor, is $(running_in "$prefix" "$stand_in" | xargs))" \
    test "$(running_in "$prefix" "$stand_in")" = "$editor"
check "the prefix's wineserver still runs" test "$(running_in "$prefix" wineserver)" = "$server"
check "no Tavrel is left running" test -z "$(running_in "$prefix" tavrel.exe)"

# Folders that are no Wine prefix, and one that does not exist.
mkdir "$work/documents"
echo "my notes" >"$work/documents/notes.txt"
for row in "documents|not a Wine prefix" "missing|no Wine prefix at"; do
    folder=$work/${row%%|*} says=${row#*|}
    before=$(ls -A "$folder" 2>/dev/null)
    run "$work/out2" --prefix "$folder"
    status=$?
    cat "$work/out2"
    check "given $folder, run.sh refuses (status $status)" test "$status" -ne 0
    check "and says '$says'" grep -qF "$says" "$work/out2"
    check "and leaves $folder as it was" test "$(ls -A "$folder" 2>/dev/null)" = "$before"
done
check "the file in the refused folder is still there" grep -qx "my notes" "$work/documents/notes.txt"
check "no folder was made for the missing prefix" test ! -e "$work/missing"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
