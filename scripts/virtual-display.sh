# Sourced: when no display is given, starts a virtual one with two monitors side by side
# (Xorg's dummy driver with Xinerama: 800x600 primary, 640x480 to its right), so that every
# run of the launcher meets more than one screen. Xorg needs root; elsewhere, or without
# its packages, a one-monitor Xvfb stands in, and the script says so. With
# KORVANE_SECOND_DISPLAY=yes it starts a second such display for a second lane of tests and
# names it in KORVANE_DISPLAY2. All of them (and this build's Wine servers) go when the
# calling script exits.
korvane_display_pids=()
korvane_cleanup() {
    for prefix in "${KORVANE_WINEPREFIX:-}" "${KORVANE_WINEPREFIX:-}2"; do
        if [ -n "${KORVANE_WINEPREFIX:-}" ] && [ -d "$prefix" ]; then
            WINEPREFIX=$prefix wineserver -k 2>/dev/null || true
        fi
    done
    [ ${#korvane_display_pids[@]} -eq 0 ] || kill "${korvane_display_pids[@]}" 2>/dev/null || true
}
trap korvane_cleanup EXIT

# Starts a display and prints its name (":N").
korvane_start_display() {
    local display_file korvane_dir
    display_file=$(mktemp)
    korvane_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    if [ "$(id -u)" -eq 0 ] && [ -x /usr/lib/xorg/Xorg ] &&
        [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
        mkdir -p "$korvane_dir/../build"
        Xorg -displayfd 3 -config "$korvane_dir/xorg-two-heads.conf" -noreset -nolisten tcp \
            -logfile "$korvane_dir/../build/xorg-$$-$RANDOM.log" 3>"$display_file" >/dev/null 2>&1 &
        echo "display: two monitors (Xorg, dummy driver, Xinerama)" >&2
    else
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
        echo "display: one monitor (Xvfb): two need root and Xorg's dummy driver" >&2
    fi
    echo "$!" >"$display_file.pid"
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    echo ":$(head -n1 "$display_file") $(cat "$display_file.pid")"
    rm -f "$display_file" "$display_file.pid"
}

if [ -z "${DISPLAY:-}" ]; then
    read -r DISPLAY korvane_pid < <(korvane_start_display)
    korvane_display_pids+=("$korvane_pid")
    export DISPLAY
    if [ "${KORVANE_SECOND_DISPLAY:-}" = yes ]; then
        read -r KORVANE_DISPLAY2 korvane_pid < <(korvane_start_display)
        korvane_display_pids+=("$korvane_pid")
        export KORVANE_DISPLAY2
    fi
fi
