#!/bin/sh
# Installs what a fresh Debian machine lacks and builds the game folder.
# Usage: scripts/setup.sh [build-dir [extra cmake options...]]
set -eu
cd "$(dirname "$0")/.."

PACKAGES="cmake make g++ pkg-config libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
libsdl-ttf2.0-dev ttf-bitstream-vera vorbis-tools libgtest-dev librsvg2-bin fonts-dejavu-core
python3 zlib1g-dev desktop-file-utils appstream dpkg-dev groff-base
xvfb xdotool libx11-dev clang libclang-rt-14-dev"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
fi

BUILD=${1:-build}
[ $# -gt 0 ] && shift
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$BUILD" -j"$(nproc)"
