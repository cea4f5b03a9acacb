# Sourced: when no display is given, starts a virtual one with two monitors side by side
# (Xorg's dummy driver with Xinerama: 800x600 primary, 640x480 to its right), so that every
# run of the launcher meets more than one screen. Xorg needs root; elsewhere, or without
# its packages, a one-monitor Xvfb stands in, and the script says so. Both go (and this
# build's Wine server) when the calling script exits.
korvane_cleanup() {
    if [ -n "${KORVANE_WINEPREFIX:-}" ] && [ -d "$KORVANE_WINEPREFIX" ]; then
        WINEPREFIX=$KORVANE_WINEPREFIX wineserver -k 2>/dev/null || true
    fi
    if [ -n "${korvane_display_pid:-}" ]; then
        kill "$korvane_display_pid" 2>/dev/null || true
    fi
}
trap korvane_cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    display_file=$(mktemp)
    korvane_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    if [ "$(id -u)" -eq 0 ] && [ -x /usr/lib/xorg/Xorg ] &&
        [ -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
        mkdir -p "$korvane_dir/../build"
        Xorg -displayfd 3 -config "$korvane_dir/xorg-two-heads.conf" -noreset -nolisten tcp \
            -logfile "$korvane_dir/../build/xorg.log" 3>"$display_file" >/dev/null 2>&1 &
        echo "display: two monitors (Xorg, dummy driver, Xinerama)"
    else
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
        echo "display: one monitor (Xvfb): two need root and Xorg's dummy driver" >&2
    fi
    korvane_display_pid=$!
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$display_file")"
    rm -f "$display_file"
fi
