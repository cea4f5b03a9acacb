#!/usr/bin/env bash
# The run command: installs what is missing, builds korvane.exe and plays a small show under
# Wine, on $DISPLAY when set or else on a virtual display. Where this host cannot run 32-bit
# programs, it plays the 64-bit build of the same sources under 64-bit Wine and says so. It needs no interaction and ends
# by itself; screenshots of its key moments go to build/demo/.
#   backdrop.png  the dark blue backdrop with the show's logo (a PNG with transparent edges) on
#                 each monitor, before the intro
#   intro.png     the intro (a program of this project) playing over the backdrop
#   menu.png      the second program (Wine's Notepad) started, the backdrop gone
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/host-kind.sh
if [ "$korvane_build" = windows ]; then
    echo "demo: playing the 32-bit korvane.exe ($korvane_host_why)"
else
    echo "demo: this host cannot run 32-bit programs ($korvane_host_why): playing the 64-bit build"
fi
cmake --preset "$korvane_build" >/dev/null
cmake --build --preset "$korvane_build" --target korvane demo_intro

export KORVANE_WINEPREFIX=$PWD/build/$korvane_build/wineprefix
source scripts/virtual-display.sh
run() { cmake/wine-run.sh "$korvane_winearch" "$KORVANE_WINEPREFIX" "$@"; }
shot() { import -window root "build/demo/$1.png" && echo "saved build/demo/$1.png"; }

run cmd /c ver >/dev/null # makes the Wine prefix on the first run
show=$KORVANE_WINEPREFIX/drive_c/korvane-demo
mkdir -p "$show" build/demo
cp "build/$korvane_build/korvane.exe" "build/$korvane_build/intro.exe" "$show/"
# The show's logo, drawn here: a screen with a play sign, as a PNG whose edges are transparent
# (a soft shadow half so), which the backdrop's dark blue shows through.
convert -size 360x200 xc:none -fill '#00000080' -draw 'roundrectangle 26,18 346,170 14,14' \
    -blur 0x4 -fill '#e8e8f0' -draw 'roundrectangle 20,12 340,164 14,14' \
    -fill '#101060' -draw 'rectangle 34,26 326,150' -fill '#ffb000' \
    -draw 'polygon 152,56 152,120 212,88' -fill '#e8e8f0' -draw 'rectangle 160,164 200,176' \
    -draw 'roundrectangle 110,176 250,186 4,4' PNG32:"$show/logo.png"
cat >"$show/demo.ini" <<'INI'
[Show]
IMAGE=C:\korvane-demo\logo.png
EXE1=C:\korvane-demo\intro.exe 3000
WDIR1=C:\korvane-demo
EXE2=notepad.exe C:\korvane-demo\demo.ini
WDIR2=C:\korvane-demo
DELAY1=2000
DELAY2=1000
RED=0
GREEN=0
BLUE=128
INI

echo "playing the show: korvane.exe C:\\korvane-demo\\demo.ini,Show"
run 'C:\korvane-demo\korvane.exe' 'C:\korvane-demo\demo.ini,Show' &
launcher=$!
sleep 1.2
shot backdrop
sleep 2.3
shot intro
wait "$launcher"
sleep 1
shot menu
echo "the launcher has ended; closing Notepad"
WINEPREFIX=$KORVANE_WINEPREFIX wineserver -k 2>/dev/null || true
