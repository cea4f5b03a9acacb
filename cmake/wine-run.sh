#!/usr/bin/env bash
# Runs a Windows program under Wine in the build folder's own prefix.
# Usage: wine-run.sh win32|win64 PREFIX PROGRAM [ARGS...]
# The loader is called directly: Debian's 'wine' wrapper always picks the 32-bit one, which
# some hosts cannot run. The prefix is made on first use (under a lock, so parallel callers
# wait for it).
set -euo pipefail
export WINEARCH="$1" WINEPREFIX="$2"
shift 2
export WINEDEBUG=${KORVANE_WINEDEBUG:--all} # the focus checks trace some calls
# Names beyond ASCII reach Unix file names only under a UTF-8 locale; C.UTF-8 always exists.
export LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$WINEARCH" = win64 ]; then
    export WINELOADER=/usr/lib/wine/wine64
else
    export WINELOADER=/usr/lib/wine/wine
fi

# The second lane of tests runs on the second display, when there is one.
if [ "${KORVANE_LANE:-}" = 2 ] && [ -n "${KORVANE_DISPLAY2:-}" ]; then
    export DISPLAY=$KORVANE_DISPLAY2
fi
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$WINEARCH" "$WINEPREFIX" "$@"
fi

mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    if [ ! -f "$WINEPREFIX/.korvane-ready" ]; then
        rm -rf "$WINEPREFIX"
        "$WINELOADER" wineboot -i >/dev/null 2>&1
        # No window manager runs here: without this, destroying a large window waits for one.
        # The focus checks run under one, which must manage the windows to guard their focus.
        if [ "${KORVANE_WINE_MANAGED:-}" != yes ]; then
            "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        fi
        "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        # Some prefixes lose the second monitor of the two-head test display without this.
        "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXVidMode /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.korvane-ready"
    fi
) 9>"$WINEPREFIX.lock"

exec "$WINELOADER" "$@"
