#!/bin/sh
# Installs the Debian packages that building, running and testing the game
# need, and only those that are missing. Uses sudo when not run as root.
#
#   install-deps.sh            the build, the game and its tests
#   install-deps.sh package    also what making and checking the .deb needs,
#                              a minimal Debian root included
#   install-deps.sh windows    also the Windows cross compiler, the tools that
#                              fetch and build Debian's sources, and Wine
#   install-deps.sh web        also Emscripten, the same source tools, and
#                              Chromium and Firefox to play the page in
#   install-deps.sh release    also git, which the release reads the commit
#                              from
set -eu

packages="cmake make g++ pkg-config
libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev fonts-dejavu-core
libgl1-mesa-dri libegl-mesa0 googletest libgtest-dev
xvfb xdotool x11-utils imagemagick libx11-dev clang-format shellcheck groff-base optipng"
case "${1:-}" in
    package) packages="$packages dpkg-dev file lintian desktop-file-utils appstream man-db groff-base
        debootstrap" ;;
    windows) packages="$packages gcc-mingw-w64-x86-64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
        dpkg-dev xz-utils debian-archive-keyring wine wine64 nsis liblnk-utils" ;;
    web) packages="$packages emscripten dpkg-dev xz-utils debian-archive-keyring fonttools
        chromium firefox-esr" ;;
    release) packages="$packages git" ;;
    "") ;;
    *) echo "install-deps.sh: unknown group $1" >&2; exit 2 ;;
esac

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
# Another apt or an unattended upgrade may hold dpkg's lock: wait for it.
if command -v fuser >/dev/null && $sudo fuser /var/lib/dpkg/lock-frontend >/dev/null 2>&1; then
    echo "Waiting (up to 10 minutes) for another package manager to release dpkg's lock"
fi
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; }
apt_get update -qq
# shellcheck disable=SC2086 # one package per word
apt_get install -y -qq --no-install-recommends $missing
