#!/bin/bash
# Succeeds when this machine can run 32-bit x86 programs. Wine runs a 32-bit
# Windows program through its 32-bit loader (wine32), which needs the kernel's
# 32-bit emulation; some kernels have it switched off (ia32_emulation=off,
# "Exec format error"), and there no 32-bit Windows program, the map editor
# included, can run under Wine at all. Asks the kernel directly by running a
# 96-byte static 32-bit program that only exits with code 42, so no i386
# package is needed to find out.
set -uo pipefail
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
# ELF header, one loadable segment at 0x08048000, then
# mov eax,1 / mov ebx,42 / int 0x80 (exit(42)).
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'\
'\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'\
'\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
"$probe" 2>/dev/null
[ $? -eq 42 ]
