#!/bin/sh
# Installs the Debian packages that building, running and testing the game
# need, and only those that are missing. Uses sudo when not run as root.
set -eu

packages="cmake make g++ pkg-config
libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev fonts-dejavu-core
libgl1-mesa-dri libegl-mesa0 googletest libgtest-dev
xvfb xdotool imagemagick libx11-dev clang-format"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
