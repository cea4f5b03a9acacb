#!/usr/bin/env bash
# The test command: installs what is missing, builds both presets and runs every test:
# the native text rules under ASan/UBSan with a bounded fuzz run, then korvane.exe and its
# tests under Wine on a virtual display (or on $DISPLAY when one is given).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

cmake --preset host
cmake --build --preset host
ctest --preset host

cmake --preset windows
cmake --build --preset windows
export KORVANE_WINEPREFIX=$PWD/build/windows/wineprefix
source scripts/virtual-display.sh
ctest --preset windows
