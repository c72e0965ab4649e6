#!/bin/bash
# Prints the kind of Wine prefix a Windows program is built for: win32 for a
# 32-bit x86 exe, win64 for an x86-64 one (from the machine field of its PE
# header); fails for anything else.
set -euo pipefail
exe=${1:?usage: pe-arch.sh PROGRAM.exe}
number() { od -A n -t u"$2" -j "$1" -N "$2" "$exe" | tr -d ' '; }
[ "$(head -c 2 "$exe")" = MZ ] || { echo "pe-arch.sh: $exe is no Windows program" >&2; exit 1; }
case "$(number $(($(number 60 4) + 4)) 2)" in
    332) echo win32 ;;    # 0x014c, i386
    34404) echo win64 ;;  # 0x8664, x86-64
    *) echo "pe-arch.sh: $exe is neither a 32-bit nor a 64-bit x86 program" >&2; exit 1 ;;
esac
