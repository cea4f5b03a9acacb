# Sourced after scripts/setup.sh: tells whether this host runs 32-bit programs, and so which
# build the Wine tests, the demo and the benchmark run. Some kernels refuse every 32-bit
# program; there the same sources run as a 64-bit build under 64-bit Wine.
# KORVANE_HOST_32BIT=yes or =no forces the answer (to try the other path on one host).
# Sets korvane_build (windows or windows64), korvane_winearch (win32 or win64) and
# korvane_host_why (the reason, in words).
korvane_loader32=/usr/lib/wine/wine
korvane_loader64=/usr/lib/wine/wine64
case "${KORVANE_HOST_32BIT:-}" in
yes) korvane_runs32=1 korvane_host_why="KORVANE_HOST_32BIT=yes says it can" ;;
no) korvane_runs32=0 korvane_host_why="KORVANE_HOST_32BIT=no says it cannot" ;;
*)
    if "$korvane_loader32" --version >/dev/null 2>&1; then
        korvane_runs32=1 korvane_host_why="the 32-bit Wine loader starts"
    else
        # The loader's refusal fails the pipeline: under set -e and pipefail that must not end
        # the sourcing script.
        korvane_runs32=0
        korvane_host_why="the 32-bit Wine loader does not start: $("$korvane_loader32" --version 2>&1 | head -n1 || true)"
    fi
    ;;
esac
if [ "$korvane_runs32" = 1 ]; then
    korvane_build=windows korvane_winearch=win32 korvane_loader=$korvane_loader32
else
    korvane_build=windows64 korvane_winearch=win64 korvane_loader=$korvane_loader64
fi
if [ ! -x "$korvane_loader" ]; then
    echo "korvane: $korvane_loader is missing, so no Windows program can run here." >&2
    echo "korvane: install the packages wine, wine32:i386 and wine64 (scripts/setup.sh, as root)." >&2
    exit 1
fi
