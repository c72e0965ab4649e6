#!/bin/bash
# tavrel.exe as it ships: a 32-bit x86 program (it must start in the 32-bit
# Wine prefix the map editor usually lives in), a GUI program (no console
# window beside it on Windows), and loading nothing but Windows' KnownDLLs at
# start: no runtime DLLs beside it, nothing a stray file in its folder could
# stand in for.
set -euo pipefail
exe=${1:?usage: check_imports.sh tavrel.exe}
objdump=i686-w64-mingw32-objdump
# A 64-bit exe is "not recognized" by the i686 objdump: that too is a failure to report.
headers=$($objdump -p "$exe" 2>/dev/null) || true
file_header=$($objdump -f "$exe" 2>/dev/null) || true
passed=0 failed=0
check() {  # what, seen, expected
    if [ "$2" = "$3" ]; then
        echo "ok:   $1: $2"; passed=$((passed + 1))
    else
        echo "FAIL: $1: $2 (expected $3)"; failed=$((failed + 1))
    fi
}

format=$(echo "$file_header" | sed -n 's/.*file format //p')
check "file format" "${format:-not a 32-bit PE file}" "pei-i386"
check "machine" "$(echo "$file_header" | sed -n 's/^architecture: \([^,]*\).*/\1/p')" "i386"
check "subsystem" "$(echo "$headers" | awk '$1 == "Subsystem" {print $2}')" "00000002"

imports=$(echo "$headers" | awk '/DLL Name:/ {print toupper($3)}' | sort)
# ADVAPI32 (KnownDLL too): the integrity level of the window playback aims at.
allowed="ADVAPI32.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL"
strays=""
for dll in $imports; do
    case " $allowed " in *" $dll "*) ;; *) strays="$strays $dll" ;; esac
done
check "imports outside the KnownDLLs (of: $(echo $imports))" "${strays:- none}" " none"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
