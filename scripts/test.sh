#!/usr/bin/env bash
# The test command: installs what is missing, builds everything and runs every test: the
# native text rules under ASan/UBSan with a bounded fuzz run, then korvane.exe and its tests
# under Wine on a virtual display (or on $DISPLAY when one is given). Where this host cannot
# run 32-bit programs, the Wine tests run on the 64-bit build of the same sources.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/host-kind.sh

cmake --preset host
cmake --build --preset host
ctest --preset host

cmake --preset windows
cmake --build --preset windows
cmake --preset windows64
cmake --build --preset windows64
if [ "$korvane_build" = windows ]; then
    echo "test: this host runs 32-bit programs ($korvane_host_why): the Wine tests run on the" \
        "32-bit korvane.exe; the 64-bit build is only compiled"
else
    echo "test: this host cannot run 32-bit programs ($korvane_host_why): the 32-bit korvane.exe" \
        "is checked without running it, then the Wine tests run on the 64-bit build under 64-bit Wine"
    ctest --preset windows -R '^exe_size_and_imports$'
fi
export KORVANE_WINEPREFIX=$PWD/build/$korvane_build/wineprefix
source scripts/virtual-display.sh
ctest --preset "$korvane_build"
