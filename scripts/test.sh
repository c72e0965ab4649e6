#!/bin/bash
# Builds everything and runs every test: the portable logic natively (with
# sanitizers), then the 32-bit tavrel.exe that ships and the same unit tests
# plus the end-to-end tests cross-built and run under Wine on a virtual
# display, in a 32-bit Wine prefix, with a smoke test in a 64-bit one.
#
# Where the kernel runs no 32-bit programs, Wine cannot run the 32-bit build
# at all: its exe and release ZIP are still built and checked, and the Wine
# tests run on a 64-bit build of the same sources in a 64-bit prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset windows
if scripts/runs-32-bit.sh; then
    cmake --build --preset windows
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows
else
    echo "This machine's kernel runs no 32-bit programs (its 32-bit emulation is off), so Wine"
    echo "cannot run the 32-bit tavrel.exe here: checking the exe as built, then running the"
    echo "Wine tests on a 64-bit build."
    cmake --build --preset windows --target tavrel release
    ctest --preset windows -R '^exe_'
    cmake --preset windows-x64
    cmake --build --preset windows-x64
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows-x64
fi
