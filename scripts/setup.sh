#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need. Fast when all are present.
set -euo pipefail
packages=(wine wine32:i386 wine64 xvfb xauth g++-mingw-w64-i686 g++-mingw-w64-x86-64
          cmake ninja-build googletest clang libclang-rt-14-dev imagemagick procps
          xserver-xorg-core xserver-xorg-video-dummy libxinerama1 libxinerama1:i386
          metacity xdotool x11-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages: ${missing[*]}; run this script as root to install them" >&2
    exit 1
fi
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
apt-get update -q
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
