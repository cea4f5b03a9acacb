# Sourced: starts a virtual X display when none is given, and stops it (and this build's
# Wine server) when the calling script exits.
korvane_cleanup() {
    if [ -n "${KORVANE_WINEPREFIX:-}" ] && [ -d "$KORVANE_WINEPREFIX" ]; then
        WINEPREFIX=$KORVANE_WINEPREFIX wineserver -k 2>/dev/null || true
    fi
    if [ -n "${korvane_xvfb_pid:-}" ]; then
        kill "$korvane_xvfb_pid" 2>/dev/null || true
    fi
}
trap korvane_cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    korvane_xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$display_file" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n1 "$display_file")"
    rm -f "$display_file"
fi
