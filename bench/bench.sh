#!/usr/bin/env bash
# Benchmark (not a test): prints
#  1. the gap between the first program's end and the second program's start, median of
#     RUNS runs, for korvane.exe and for cmd.exe running the same two programs with
#     'start /wait', under the same Wine;
#  2. korvane.exe's CPU time while it waits 10 s on a first program;
#  3. for unattended shows, from the launcher's own log: how long an alert nobody answers stays
#     up against its ALERTWAIT, and the delay from TIMEOUT1 running out to the second start;
#  4. for a kept second program (RESTART2) that ends at once, the time from its logged end to
#     its next logged start less the wait, and the launcher's CPU time over a kept show of a
#     minute;
#  5. for a show kept for months: the launcher's CPU over a kept minute with HUNG2, DAILY2 and
#     EXITKEY set; from a kept program's hang to its new start, less the 5 s Windows takes to
#     call it hung and HUNG2; how long a second launcher for a kept show takes to end;
#  6. from the launcher's start to its backdrop on the screen, without a picture and with one
#     of 48 megapixels;
#  7. for a show that comes round: the launcher's CPU over a kept minute with IDLE2 and TREE2
#     set (a stub whose child runs the minute), and from the idle limit to the intro's new
#     start, less DELAY1;
#  8. for the screens of a kept show: the launcher's CPU over a kept minute with MONITOR2,
#     FULLSCREEN2, TASKBAR, HOURS (on all day) and BLANK2 set;
#  9. for the waits before a start: from a folder made (at a random moment) to the logged end of
#     WAIT1's wait, and from a loopback port opened to it, RUNS runs each; for fleets: the
#     status file's greatest age, sampled every 100 ms over a kept minute with STATUS and
#     EVENTLOG set, and the launcher's CPU meanwhile;
# 10. korvane.exe's size.
# Where this host cannot run 32-bit programs it measures the 64-bit build and says so; the
# size is always the shipped 32-bit exe's.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
source scripts/host-kind.sh
echo "measuring the $korvane_build build ($korvane_host_why)"
cmake --preset windows >/dev/null
cmake --build --preset windows --target korvane >/dev/null
cmake --preset "$korvane_build" >/dev/null
cmake --build --preset "$korvane_build" --target korvane standin test_pictures >/dev/null

export KORVANE_WINEPREFIX=$PWD/build/$korvane_build/wineprefix
source scripts/virtual-display.sh
run() { cmake/wine-run.sh "$korvane_winearch" "$KORVANE_WINEPREFIX" "$@"; }
runs=${RUNS:-7}

dir=$KORVANE_WINEPREFIX/drive_c/korvane-bench
win='C:\korvane-bench'
run cmd /c ver >/dev/null # makes the Wine prefix on the first run
mkdir -p "$dir"
cp "build/$korvane_build/korvane.exe" "build/$korvane_build/tests/standin.exe" \
    "build/$korvane_build/tests/pictures/large.jpg" "$dir/"
# The stand-in appends "TAG TICK ..." to STANDIN_LOG when it starts; the first one holds 300 ms.
export STANDIN_LOG="$win\\starts.log"
first="$win\\standin.exe 1 300"
second="$win\\standin.exe 2"
# Profiles keep blanks out of korvane.exe's arguments, which Wine would otherwise quote.
printf '[Gap]\r\nEXE1=%s\r\nEXE2=%s\r\nWDIR1=%s\r\nWDIR2=%s\r\nDELAY1=50\r\nDELAY2=0\r\n' \
    "$first" "$second" "$win" "$win" >"$dir/bench.ini"
printf '[Wait]\r\nEXE1=%s\r\nWDIR1=%s\r\nDELAY1=50\r\n' "$win\\standin.exe 1 10000" "$win" \
    >>"$dir/bench.ini"
# A first program that cannot start and an alert nobody answers; a first program that outlives
# TIMEOUT1.
printf '[Alert]\r\nEXE1=%s\r\nWDIR1=%s\r\nDELAY1=50\r\nALERTWAIT=1000\r\nLOG=%s\r\n' \
    "$win\\missing.exe" "$win" "$win\\bench.log" >>"$dir/bench.ini"
printf '[Timeout]\r\nEXE1=%s\r\nEXE2=%s\r\nWDIR1=%s\r\nWDIR2=%s\r\nDELAY1=50\r\nDELAY2=0\r\nTIMEOUT1=1500\r\nLOG=%s\r\n' \
    "$win\\standin.exe 1 5000" "$second" "$win" "$win" "$win\\bench.log" >>"$dir/bench.ini"

# A kept program that ends at once, six times (QUIT2 ends the show at its sixth start); one that
# runs 19 s, three times, for a kept show of about a minute.
printf '[Kept]\r\nEXE2=%s\r\nWDIR2=%s\r\nDELAY2=0\r\nRESTART2=100\r\nQUIT2=6\r\nLOG=%s\r\n' \
    "$win\\standin.exe 2 0 count" "$win" "$win\\kept.log" >>"$dir/bench.ini"
printf '[Minute]\r\nEXE2=%s\r\nWDIR2=%s\r\nDELAY2=0\r\nRESTART2=1000\r\nQUIT2=3\r\n' \
    "$win\\standin.exe 2 19000 count" "$win" >>"$dir/bench.ini"

tick() { awk -v tag="$1" '$1 == tag { print $2 }' "$dir/starts.log" 2>/dev/null | head -n1; }
wait_for() { for _ in $(seq 200); do [ -n "$(tick "$1")" ] && return; sleep 0.05; done; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Gap from the first program's end (its start and its 300 ms hold) to the second's start, in
# ms; the first program's own exit is part of it for both launchers alike.
gap() {
    wait_for 2
    echo $(( $(tick 2) - $(tick 1) - 300 ))
}

korvane_gaps=() cmd_gaps=()
for _ in $(seq "$runs"); do
    rm -f "$dir/starts.log"
    run "$win\\korvane.exe" "$win\\bench.ini,Gap"
    korvane_gaps+=("$(gap)")
    rm -f "$dir/starts.log"
    run cmd /c "start /wait $first & start $second"
    cmd_gaps+=("$(gap)")
done
k=$(printf '%s\n' "${korvane_gaps[@]}" | median)
c=$(printf '%s\n' "${cmd_gaps[@]}" | median)
echo "gap, first end to second start (ms): korvane.exe ${korvane_gaps[*]} -> median $k"
echo "                                     cmd.exe     ${cmd_gaps[*]} -> median $c"
awk -v k="$k" -v c="$c" 'BEGIN { printf "ratio korvane/cmd: %.2f\n", (c > 0) ? k / c : 0 }'

# Starts the launcher with section $1 in the background ($launcher) and finds its Wine process
# ($pid) 1 s after the stand-in tagged $2 has started.
start_measured() {
    rm -f "$dir/starts.log"
    run "$win\\korvane.exe" "$win\\bench.ini,$1" &
    launcher=$!
    wait_for "$2"
    sleep 1
    pid=$(pgrep -f 'korvane-bench.korvane\.exe' | head -n1)
}
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
# CPU of the launcher's process from now until it ends, after the words $1; a function named
# $2, if given, runs 5 s in.
cpu_until_end() {
    local t1 t2 now seconds=0
    t1=$(ticks) t2=$t1
    while kill -0 "$launcher" 2>/dev/null && now=$(ticks 2>/dev/null); do
        t2=$now
        seconds=$((seconds + 1))
        [ $seconds = 5 ] && [ -n "${2:-}" ] && "$2"
        sleep 1
    done
    wait "$launcher"
    echo "CPU over $1: $(( (t2 - t1) * 1000 / hz )) ms in about $seconds s (resolution $(( 1000 / hz )) ms)"
}

# CPU of the launcher's process over 8 s of a 10 s wait, scaled to 10 s.
start_measured Wait 1
command=$(tr '\0' ' ' <"/proc/$pid/cmdline")
t1=$(ticks)
sleep 8
t2=$(ticks)
wait "$launcher"
hz=$(getconf CLK_TCK)
echo "CPU while waiting on the first program: $(( (t2 - t1) * 1000 / hz * 10 / 8 )) ms per 10 s (resolution $(( 1000 / hz )) ms);" \
    "whole run $(( t2 * 1000 / hz )) ms; process $pid: $command"

# Milliseconds between the first log line holding $1 and the next one holding $2, per run.
between() {
    awk -v from="$1" -v to="$2" '
        function ms(t) { split(t, p, ":"); return ((p[1] * 60 + p[2]) * 60 + p[3]) * 1000 }
        index($0, from) { start = ms($2) }
        index($0, to) && start != "" { printf "%d ", ms($2) - start; start = "" }' "$dir/bench.log"
}
rm -f "$dir/bench.log"
for _ in $(seq "$runs"); do
    run "$win\\korvane.exe" "$win\\bench.ini,Alert"
    run "$win\\korvane.exe" "$win\\bench.ini,Timeout"
done
echo "alert up with ALERTWAIT=1000 (ms, logged alert to logged close): $(between 'alert Error' 'alert closed')"
echo "TIMEOUT1=1500 (ms, first start to run out): $(between 'first program started' 'TIMEOUT1 of')"
echo "TIMEOUT1 run out to second start (ms): $(between 'TIMEOUT1 of' 'second program started')"

# From each logged end of the kept program to its next logged start, less the logged wait. The
# last second program above may still be writing its start.
sleep 1
rm -f "$dir/kept.log" "$dir/starts.log"
run "$win\\korvane.exe" "$win\\bench.ini,Kept"
restarts=$(awk '
    function ms(t) { split(t, p, ":"); return ((p[1] * 60 + p[2]) * 60 + p[3]) * 1000 }
    /second program ended/ { ended = ms($2) }
    /starting the second program again in/ { wait = $(NF - 1) }
    /second program started/ && ended != "" { printf "%d ", ms($2) - ended - wait; ended = "" }' \
    "$dir/kept.log")
echo "kept program, logged end to next logged start less the wait (ms): $restarts"

# CPU of the launcher's process over a kept show of about a minute, from 1 s after the first
# start until its last second.
start_measured Minute 2
cpu_until_end "a kept show (3 runs of 19 s, RESTART2=1000)"

# A kept minute with the watches set: a program with a window that runs 58 s and ends with 0,
# the QUIT2 code; a second launcher for the same show 5 s into it.
printf '[Months]\r\nEXE2=%s\r\nWDIR2=%s\r\nDELAY2=0\r\nRESTART2=1000\r\nQUIT2=0\r\nHUNG2=5000\r\nDAILY2=%s\r\nEXITKEY=Ctrl+Alt+Shift+F11\r\nLOG=%s\r\n' \
    "$win\\standin.exe 2 58000 window" "$win" "$(date -d '-1 hour' +%H:%M)" "$win\\months.log" >>"$dir/bench.ini"
printf '[Hang]\r\nEXE2=%s\r\nWDIR2=%s\r\nDELAY2=0\r\nRESTART2=100\r\nHUNG2=1000\r\n' \
    "$win\\standin.exe 2 300 hang" "$win" >>"$dir/bench.ini"
printf '[Plain]\r\nEXE1=%s\r\nWDIR1=%s\r\nDELAY1=1500\r\nBLUE=128\r\n[Photo]\r\nIMAGE=%s\r\nEXE1=%s\r\nWDIR1=%s\r\nDELAY1=1500\r\nBLUE=128\r\n' \
    "$win\\standin.exe 1" "$win" "$win\\large.jpg" "$win\\standin.exe 1" "$win" >>"$dir/bench.ini"
rm -f "$dir/months.log"
second_keeper() {
    local before
    before=$(date +%s%N)
    run "$win\\korvane.exe" "$win\\bench.ini,Months"
    second_ms=$((($(date +%s%N) - before) / 1000000))
}
second_ms=
start_measured Months 2
cpu_until_end "a kept minute with HUNG2, DAILY2 and EXITKEY" second_keeper
echo "second launcher for a kept show: ended after $second_ms ms (the whole Wine process);" \
    "its log, start to end: $(awk -v from='start:' -v to='already kept' '
        function ms(t) { split(t, p, ":"); return ((p[1] * 60 + p[2]) * 60 + p[3]) * 1000 }
        index($0, to) { printf "%d ms", ms($2) - last } index($0, from) { last = ms($2) }' "$dir/months.log")"

# A kept program that stops reading its messages 300 ms after its start line: from then to its
# next start line, less Windows' 5 s and HUNG2 of 1000 ms.
hangs=()
for _ in $(seq "${HANG_RUNS:-3}"); do
    rm -f "$dir/starts.log"
    run "$win\\korvane.exe" "$win\\bench.ini,Hang" &
    launcher=$!
    for _ in $(seq 300); do [ "$(awk '$1 == 2' "$dir/starts.log" 2>/dev/null | wc -l)" -ge 2 ] && break; sleep 0.05; done
    hangs+=("$(awk '$1 == 2 { t[n++] = $2 } END { print t[1] - t[0] - 300 - 5000 - 1000 }' "$dir/starts.log")")
    pkill -f 'korvane-bench.korvane\.exe' || true
    pkill -f 'korvane-bench.standin\.exe' || true
    wait "$launcher" 2>/dev/null || true
done
echo "hang to new start, less 5 s and HUNG2 (ms): ${hangs[*]}"

# From the launcher's start to its backdrop's window shown on the display, without a picture
# and with a 48-megapixel one (decoded beside the show).
shown() {
    local section=$1 before
    before=$(date +%s%N)
    run "$win\\korvane.exe" "$win\\bench.ini,$section" &
    launcher=$!
    for _ in $(seq 400); do xdotool search --onlyvisible --name '^Korvane Window$' >/dev/null 2>&1 && break; sleep 0.005; done
    echo $((($(date +%s%N) - before) / 1000000))
    wait "$launcher"
}
plain=() photo=()
for _ in $(seq "$runs"); do
    plain+=("$(shown Plain)")
    photo+=("$(shown Photo)")
done
echo "start to backdrop shown (ms): no picture ${plain[*]} -> median $(printf '%s\n' "${plain[@]}" | median);" \
    "48-megapixel picture ${photo[*]} -> median $(printf '%s\n' "${photo[@]}" | median)"

# A kept stub whose child shows a window for 58 s, followed with its tree, IDLE2 far off; and a
# show that comes round every 2 s without input (the intro ends at once).
printf '[Round]\r\nEXE2=%s\r\nWDIR2=%s\r\nDELAY2=0\r\nRESTART2=1000\r\nQUIT2=0\r\nTREE2=1\r\nIDLE2=600000\r\n' \
    "$win\\standin.exe 2 58000 stub" "$win" >>"$dir/bench.ini"
printf '[Idle]\r\nEXE1=%s\r\nWDIR1=%s\r\nDELAY1=50\r\nEXE2=%s\r\nWDIR2=%s\r\nDELAY2=0\r\nRESTART2=1000\r\nIDLE2=2000\r\nLOG=%s\r\n' \
    "$win\\standin.exe 1" "$win" "$win\\standin.exe 2 60000 window" "$win" "$win\\idle.log" >>"$dir/bench.ini"
start_measured Round 4
cpu_until_end "a kept minute with IDLE2 and TREE2"
rm -f "$dir/idle.log"
run "$win\\korvane.exe" "$win\\bench.ini,Idle" &
launcher=$!
sleep "${IDLE_SECONDS:-12}"
pkill -f 'korvane-bench.korvane\.exe' || true
pkill -f 'korvane-bench.standin\.exe' || true
wait "$launcher" 2>/dev/null || true
# The idle limit is the kept program's start plus IDLE2 when no input came; the launcher logs
# when it saw the limit.
rounds() {
    awk -v from="$1" -v less="$2" '
        function ms(t) { split(t, p, ":"); return ((p[1] * 60 + p[2]) * 60 + p[3]) * 1000 }
        index($0, from) { start = ms($2) }
        /first program started/ && start != "" { printf "%d ", ms($2) - start - less; start = "" }' \
        "$dir/idle.log"
}
echo "idle limit to the intro's new start, less DELAY1 (ms): from the kept start + IDLE2" \
    "$(rounds 'second program started' 2050); from the logged limit $(rounds 'no input for IDLE2' 50)"

# A kept program with a window for 58 s, kept full screen on monitor 2 and looked at for one
# colour (its pattern is none) every second, the taskbar and the hours looked after.
printf '[Screens]\r\nEXE2=%s\r\nWDIR2=%s\r\nDELAY2=0\r\nRESTART2=1000\r\nQUIT2=0\r\nMONITOR2=2\r\nFULLSCREEN2=1\r\nTASKBAR=0\r\nHOURS=00:00-00:00\r\nBLANK2=30000\r\n' \
    "$win\\standin.exe 2 58000 pattern" "$win" >>"$dir/bench.ini"
start_measured Screens 2
cpu_until_end "a kept minute with MONITOR2, FULLSCREEN2, TASKBAR, HOURS and BLANK2"

# Waits: the moment a folder is made (or a port opened) against the log's "is there" line, both
# local times of this machine.
printf '[Folder]\r\nEXE1=%s\r\nWDIR1=%s\r\nDELAY1=50\r\nWAIT1=%s\r\nLOG=%s\r\n' \
    "$win\\standin.exe 1" "$win" "$win\\later" "$win\\world.log" >>"$dir/bench.ini"
printf '[Port]\r\nEXE1=%s\r\nWDIR1=%s\r\nDELAY1=50\r\nWAIT1=tcp:127.0.0.1:47011\r\nLOG=%s\r\n' \
    "$win\\standin.exe 1" "$win" "$win\\world.log" >>"$dir/bench.ini"
ms_of_line() { date -d "$(grep "$1" "$dir/world.log" | head -n1 | cut -c1-23)" +%s%3N; }
for kind in Folder Port; do
    reactions=()
    for _ in $(seq "$runs"); do
        rm -rf "$dir/later" "$dir/world.log"
        run "$win\\korvane.exe" "$win\\bench.ini,$kind" &
        launcher=$!
        for _ in $(seq 200); do grep -q 'WAIT1: waiting' "$dir/world.log" 2>/dev/null && break; sleep 0.05; done
        sleep "0.$((RANDOM % 10))$((RANDOM % 10))" # any phase of the 500 ms looks
        if [ $kind = Folder ]; then
            mkdir "$dir/later"
            made=$(date +%s%3N)
        else
            made=$(python3 -c 'import socket, sys, time
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", 47011))
s.listen(4)
print(int(time.time() * 1000), flush=True)
sys.stdout.close()
time.sleep(3)' | head -n1)
        fi
        wait "$launcher"
        reactions+=($(($(ms_of_line 'is there after') - made)))
    done
    echo "WAIT1 ($kind): made or opened to the wait's end (ms): ${reactions[*]}"
done

# A kept minute with STATUS and EVENTLOG: the status file's age (now less its time of writing)
# every 100 ms, the worst of them.
printf '[Status]\r\nEXE2=%s\r\nWDIR2=%s\r\nDELAY2=0\r\nRESTART2=1000\r\nQUIT2=0\r\nSTATUS=%s\r\nEVENTLOG=1\r\n' \
    "$win\\standin.exe 2 58000" "$win" "$win\\status.txt" >>"$dir/bench.ini"
start_measured Status 2
(
    worst=0
    while kill -0 "$launcher" 2>/dev/null; do
        age=$(($(date +%s%3N) - $(date -r "$dir/status.txt" +%s%3N 2>/dev/null || date +%s%3N)))
        [ $age -gt $worst ] && worst=$age
        sleep 0.1
    done
    echo "status file's greatest age over a kept minute: $worst ms (rewritten every 9 s and at each event)"
) &
ages=$!
cpu_until_end "a kept minute with STATUS and EVENTLOG"
wait $ages

size=$(stat -c %s build/windows/korvane.exe)
echo "korvane.exe (the shipped 32-bit build): $size bytes ($(( size / 1024 )) KiB; goal under 64 KiB)"
