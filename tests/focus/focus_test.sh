#!/usr/bin/env bash
# Usage: focus_test.sh WINE_RUN WINEARCH PREFIX KORVANE_EXE STANDIN_EXE
# The keyboard handover, on a display of its own under a window manager that guards the focus
# (metacity), with a Wine prefix whose windows it manages. A key typed during the second
# program's pause and one typed after the launcher has ended must both reach the second
# program, whose window must show above the backdrop; with RESTART2, a key typed into the
# restarted program likewise. Timing between processes decides some runs: each case runs
# three times and all must pass. Then the exit key, pressed during a first program, during a
# kept show and while an alert is open, ends the show with 0, asks that program to close and
# starts nothing more; and the calls that keep the
# computer awake, as Wine's relay trace shows them, for each AWAKE value; and HOURS beginning
# during an intro with AWAKE: the displays off at the start, on when the hours begin (with a
# mouse move of no distance), the display's part of AWAKE given back meanwhile; and the events
# of EVENTLOG as Wine traces them.
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
exit_key='EXITKEY=Ctrl+Alt+Shift+F12|EXE2=C:\kf\s.exe 2 20000 window|RESTART2=300'
echo "[Once]|EXE2=C:\kf\s.exe 2 4500|DELAY2=2500|$common|[Kept]|$kept|$common" \
    "|[Exit1]|EXE1=C:\kf\s.exe 1 20000 window|$exit_key|$common|[Exit2]|$exit_key|$common" \
    "|[ExitAlert]|EXE1=C:\kf\absent.exe|$exit_key|$common" \
    "|[Awake1]|AWAKE=1|[AwakeDisplay]|AWAKE=display|[AwakeSystem]|AWAKE=SYSTEM" \
    "|[AwakeNone]|EXITKEY=Ctrl+Banana|LOG=C:\kf\focus.log" | tr '|' '\n' >"$dir/focus.ini"

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
fail() { echo "focus $1: FAIL: $2"; failures=$((failures + 1)); }
# The exit key during the first program, the kept program and an alert waiting for OK.
for tag in 1 2 Alert; do
    rm -f "$dir/starts.log" "$dir/keys.log" "$dir/focus.log"
    run 'C:\kf\korvane.exe' "C:\kf\focus.ini,Exit$tag" &
    launcher=$!
    ready="^$tag " in=starts.log
    [ $tag = Alert ] && ready='alert Error: Unable to launch' in=focus.log
    for _ in $(seq 200); do grep -q "$ready" "$dir/$in" 2>/dev/null && break; sleep 0.05; done
    [ $tag = Alert ] || sleep 1
    xdotool key ctrl+alt+shift+F12
    pressed=$(date +%s%N)
    wait $launcher
    status=$? took=$((($(date +%s%N) - pressed) / 1000000))
    [ $status -eq 0 ] || fail "exit key $tag" "the launcher ended with $status"
    [ $took -lt 3000 ] || fail "exit key $tag" "the launcher took $took ms to end"
    [ $tag = Alert ] || grep -q "^$tag closed" "$dir/keys.log" 2>/dev/null || fail "exit key $tag" "no WM_CLOSE reached the program"
    [ "$(grep -c 'second program started' "$dir/focus.log")" = $([ $tag = 2 ] && echo 1 || echo 0) ] ||
        fail "exit key $tag" "something started after it"
    [ $failures -eq 0 ] && echo "focus exit key during $tag: ok (ended with 0 after $took ms)"
done

# The prefix's screen saver is on, so that switching it off shows in the trace.
run reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveActive /d 1 /f >/dev/null 2>&1
run reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d 'SetThreadExecutionState;SystemParametersInfoW;SendMessageW;SendInput' /f >/dev/null 2>&1
for row in '1 80000003 1' 'Display 80000003 1' 'System 80000001 0' 'None none 0'; do
    read -r section state saver <<<"$row"
    trace=$(KORVANE_WINEDEBUG=+relay run 'C:\kf\korvane.exe' "C:\kf\focus.ini,Awake$section" 2>&1 >/dev/null |
        grep -E 'Call [A-Za-z0-9]+\.(SetThreadExecutionState|SystemParametersInfoW)\(')
    asked=$(grep -oE 'SetThreadExecutionState\(0*[0-9a-f]+' <<<"$trace" | sed 's/.*(0*//' | tr '\n' ' ')
    switched=$(grep -cE 'SystemParametersInfoW\(0*11,' <<<"$trace")
    want=$([ "$state" = none ] && echo "" || echo "$state 80000000 ")
    [ "$asked" = "$want" ] || fail "AWAKE $section" "execution states asked '$asked', wanted '$want'"
    [ "$switched" = $((saver * 2)) ] || fail "AWAKE $section" "screen saver switched $switched times, wanted $((saver * 2))"
done
[ $failures -eq 0 ] && echo "focus AWAKE: the calls traced for 1, DISPLAY, SYSTEM and none: ok"
# EVENTLOG: Wine writes no event log, but traces each ReportEventW call (type, category, id) and
# its strings. Events of an id come at most once a minute: the restart's wait, start and end are
# held back.
printf '[Events]\r\nEXE1=C:\\kf\\absent.exe\r\nALERTWAIT=500\r\nEXE2=C:\\kf\\s.exe 2 0 count\r\nWDIR1=C:\\kf\r\nWDIR2=C:\\kf\r\nRESTART2=300\r\nQUIT2=2\r\nWAIT2=C:\\kf\\never\r\nWAITLIMIT=300\r\nEXITKEY=Ctrl+Banana\r\nEVENTLOG=1\r\nRestrat2=1\r\nExtra=2\r\n' >"$dir/events.ini"
rm -f "$dir/starts.log"
events=$(KORVANE_WINEDEBUG=+eventlog run 'C:\kf\korvane.exe' 'C:\kf\events.ini,Events' 2>&1 >/dev/null |
    grep -E 'ReportEventW' | sed -E 's/^[0-9a-f]+://' |
    awk '/fixme/ { split($0, f, ","); printf "\n%s %s", f[2], f[4]; next } /L""/ { next } { sub(/.*ReportEventW L"/, ""); printf " %s", $0 }')
want=("0x0004 0x00000001 start: arguments 'C:\\\\kf\\\\events.ini,Events'"
    "0x0002 0x0000000c unknown keys in [Events]: 'Restrat2', 'Extra'; ignored"
    "0x0002 0x0000000d EXITKEY 'Ctrl+Banana' does not read as a key combination"
    "0x0001 0x0000000e alert Error: Unable to launch : C:\\\\kf\\\\absent.exe"
    "0x0002 0x0000000b WAIT2: WAITLIMIT ran out after "
    "0x0004 0x00000003 second program started: process id "
    "0x0004 0x00000005 second program ended: exit code 1 "
    "0x0002 0x00000007 starting the second program again in 300 ms"
    "0x0004 0x00000006 end")
mapfile -t seen < <(sed '/^$/d' <<<"$events")
[ ${#seen[@]} -eq ${#want[@]} ] || fail EVENTLOG "${#seen[@]} events traced, wanted ${#want[@]}: $events"
for i in "${!want[@]}"; do
    [[ "${seen[$i]:-}" == "${want[$i]}"* ]] || fail EVENTLOG "event $i: '${seen[$i]:-}', wanted '${want[$i]}...'"
done
[ $failures -eq 0 ] && echo "focus EVENTLOG: the events traced with their types and ids, the repeats held back: ok"
# HOURS that begin at the next minute, after the AWAKE rows: its own AWAKE holds the screen saver.
[ "$(date +%S | sed 's/^0//')" -lt 50 ] || sleep 11
minute=$((($(date +%s) / 60 + 1) * 60))
begin=$(date -d "@$minute" +%H:%M) end=$(date -d "@$((minute + 60))" +%H:%M)
hold=$(((minute - $(date +%s)) * 1000 + 2500))
printf '[Hours]\r\nEXE1=C:\\kf\\s.exe 1 %s\r\nWDIR1=C:\\kf\r\nDELAY1=300\r\nAWAKE=1\r\nHOURS=%s-%s\r\nLOG=C:\\kf\\hours.log\r\n' \
    "$hold" "$begin" "$end" >"$dir/hours.ini"
rm -f "$dir/hours.log"
KORVANE_WINEDEBUG=+relay run 'C:\kf\korvane.exe' 'C:\kf\hours.ini,Hours' 2>"$dir/hours.trace" >/dev/null
calls=$(grep -oE 'Call [A-Za-z0-9]+\.(SendMessageW\([0-9a-f]+,0*112,0*f170,[0-9a-f]+|SendInput|SetThreadExecutionState\([0-9a-f]+)' "$dir/hours.trace" |
    sed -E 's/.*SendMessageW\([0-9a-f]+,0*112,0*f170,(f*|0*)/power /; s/.*SetThreadExecutionState\(0*/awake /; s/.*SendInput/input/' | tr '\n' ' ')
want="awake 80000003 awake 80000001 power 2 awake 80000003 power  input awake 80000000 "
[ "$calls" = "$want" ] || fail HOURS "calls traced '$calls', wanted '$want'"
grep -q "outside HOURS $begin-$end: the displays are switched off" "$dir/hours.log" || fail HOURS "no switch off logged"
grep -q "HOURS $begin-$end begin: the displays are switched on" "$dir/hours.log" || fail HOURS "no switch on logged"
[ $failures -eq 0 ] && echo "focus HOURS: off at the start, on at $begin, traced and logged: ok"
grep -q "EXITKEY 'Ctrl+Banana' does not read as a key combination" "$dir/focus.log" 2>/dev/null ||
    fail "exit key" "a combination that does not read is not logged"
[ $failures -eq 0 ]
