#!/usr/bin/env bash
# Usage: focus_test.sh WINE_RUN WINEARCH PREFIX KORVANE_EXE STANDIN_EXE
# The keyboard handover, on a display of its own under a window manager that guards the focus
# (metacity), with a Wine prefix whose windows it manages. A key typed during the second
# program's pause and one typed after the launcher has ended must both reach the second
# program, whose window must show above the backdrop; with RESTART2, a key typed into the
# restarted program likewise. Timing between processes decides some runs: each case runs
# three times and all must pass.
set -uo pipefail
wine_run=$1 arch=$2 prefix=$3 korvane=$4 standin=$5
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
xvfb=$! wm=
trap 'WINEPREFIX=$prefix wineserver -k 2>/dev/null; kill $wm $xvfb 2>/dev/null; rm -f "$display_file"' EXIT
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$display_file")"
metacity --sm-disable --compositor=none >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' && break; sleep 0.1; done 2>/dev/null
export KORVANE_WINE_MANAGED=yes STANDIN_LOG='C:\kf\starts.log' STANDIN_KEYS='C:\kf\keys.log'
run() { "$wine_run" "$arch" "$prefix" "$@"; }
run cmd /c ver >/dev/null # makes the prefix on the first run
dir=$prefix/drive_c/kf
mkdir -p "$dir"
cp "$korvane" "$dir/korvane.exe"
cp "$standin" "$dir/s.exe"
common='EXE1=C:\kf\s.exe 1|WDIR1=C:\kf|WDIR2=C:\kf|DELAY1=300|LOG=C:\kf\focus.log'
kept='EXE2=C:\kf\s.exe 2 2500 count|DELAY2=1000|RESTART2=300|QUIT2=2'
echo "[Once]|EXE2=C:\kf\s.exe 2 4500|DELAY2=2500|$common|[Kept]|$kept|$common" | tr '|' '\n' \
    >"$dir/focus.ini"

starts() { grep -c '^2 ' "$dir/starts.log" 2>/dev/null; }
failures=0
for section in Once Kept Once Kept Once Kept; do
    rm -f "$dir/starts.log" "$dir/keys.log" "$dir/focus.log"
    xdotool mousemove 0 0
    run 'C:\kf\korvane.exe' 'C:\kf\focus.ini,'"$section" &
    launcher=$!
    # A second after the second program (after its restart, when kept) has shown its window.
    want_starts=$([ $section = Once ] && echo 1 || echo 2)
    for _ in $(seq 300); do [ "$(starts)" = "$want_starts" ] && break; sleep 0.05; done
    sleep 1
    xdotool key a
    wait $launcher
    want="2 a|1"
    [ $section = Kept ] || { xdotool key b; want="2 ab|1"; }
    for _ in $(seq 200); do [ "$(grep -c '^2 ' "$dir/keys.log" 2>/dev/null)" = "$(starts)" ] && break; sleep 0.05; done
    seen=$(tail -n1 "$dir/keys.log" 2>/dev/null | tr -d '\r')
    if [ "$seen" = "$want" ]; then
        echo "focus $section: ok ($seen)"
    else
        echo "focus $section: FAIL: wanted '$want' (keys typed|shown above the backdrop), saw '$seen'"
        failures=$((failures + 1))
        tr -d '\r' <"$dir/focus.log" | grep -E 'second program|foreground'
    fi
done
[ $failures -eq 0 ]
