#!/usr/bin/env bash
# The test command: installs what is missing, builds everything and runs every test: the
# native text rules under ASan/UBSan with a bounded fuzz run, and beside them korvane.exe and
# its tests under Wine on a virtual two-monitor display (or on $DISPLAY when one is given).
# Where this host cannot run 32-bit programs, the Wine tests run on the 64-bit build of the
# same sources.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/host-kind.sh

cmake --preset host
cmake --build --preset host
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
# The fuzz run takes one core for its 20 s; the Wine tests mostly wait, so they share the time.
# The focus checks have a display and a Wine prefix of their own, so they run alongside too.
ctest --preset host >build/host-tests.log 2>&1 &
host_tests=$!
ctest --preset "$korvane_build" -L focus -V >build/focus-tests.log 2>&1 &
focus_tests=$!
export KORVANE_WINEPREFIX=$PWD/build/$korvane_build/wineprefix
# The Wine tests come in two lanes that may run at once, each on a display of its own; on a
# display given by the user they take turns.
jobs=1
[ -z "${DISPLAY:-}" ] && jobs=2
export KORVANE_SECOND_DISPLAY=yes
source scripts/virtual-display.sh
wine_status=0
ctest --preset "$korvane_build" -LE focus -j "$jobs" || wine_status=$?
host_status=0 focus_status=0
wait "$host_tests" || host_status=$?
wait "$focus_tests" || focus_status=$?
echo "test: the keyboard handover under a window manager, alongside:"
cat build/focus-tests.log
echo "test: the text rules under ASan/UBSan and the fuzz run, alongside:"
cat build/host-tests.log
[ "$wine_status" -eq 0 ] && [ "$host_status" -eq 0 ] && [ "$focus_status" -eq 0 ]
