#!/bin/bash
# tavrel.exe must load nothing but Windows' KnownDLLs at start: no runtime
# DLLs beside it, and nothing a stray file in its folder could stand in for.
set -euo pipefail
exe=${1:?usage: check_imports.sh tavrel.exe}
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print toupper($3)}' | sort)
echo "imports: $(echo $imports)"
allowed="GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL"
bad=0
for dll in $imports; do
    case " $allowed " in *" $dll "*) ;; *) echo "not allowed: $dll"; bad=1 ;; esac
done
[ $bad -eq 0 ] && echo "1 passed, 0 failed" || { echo "0 passed, 1 failed"; exit 1; }
