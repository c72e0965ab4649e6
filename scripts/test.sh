#!/bin/bash
# Builds everything and runs every test: the portable logic natively (with
# sanitizers), then tavrel.exe and the same unit tests plus the end-to-end
# tests cross-built and run under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake --preset native
cmake --build --preset native
ctest --preset native

cmake --preset windows
cmake --build --preset windows
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows
