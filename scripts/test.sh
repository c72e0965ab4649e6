#!/bin/bash
# Builds everything and runs every test: the portable logic natively (with
# sanitizers), then the 32-bit tavrel.exe that ships, cross-built, with the
# same unit tests, the end-to-end tests, run.sh's test and the release's
# test run under Wine on a virtual display against that exe, in a 32-bit Wine
# prefix, and a smoke test in a 64-bit one.
#
# Where the kernel runs no 32-bit programs, those Wine tests run in a chroot
# in which a user-mode emulator runs the 32-bit programs (scripts/i386-chroot.sh;
# made on the first run, about 10 minutes and 4 GB, then kept). Set
# TAVREL_EMULATE_32BIT=1 to take that way on any machine.
# Each stage says how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
took() { echo "test.sh: $1 took $((SECONDS - started)) s"; started=$SECONDS; }

emulate=false
if [ "${TAVREL_EMULATE_32BIT:-}" = 1 ] || ! scripts/runs-32-bit.sh; then
    emulate=true
fi
scripts/install-deps.sh
took "installing missing packages"

cmake --preset native
cmake --build --preset native
ctest --preset native
took "the native build and tests"

cmake --preset windows
cmake --build --preset windows
took "the 32-bit build"

display=(xvfb-run -a -s "-screen 0 1280x1024x24")
if $emulate; then
    echo "The Wine tests run the 32-bit build through user-mode emulation, in a chroot (this machine's"
    echo "kernel runs no 32-bit programs, or TAVREL_EMULATE_32BIT=1 asks for it)."
    scripts/i386-chroot.sh true
    took "the 32-bit chroot (made when missing, its packages installed when missing)"
    scripts/i386-chroot.sh "${display[@]}" ctest --preset windows
    took "the Wine tests through emulation"
else
    "${display[@]}" ctest --preset windows
    took "the Wine tests"
fi
