#!/bin/sh
# Makes a minimal Debian root of this machine's release, as
# `debootstrap --variant=minbase` makes it from the archive that the machine's
# apt configuration names, with that archive's suites in its sources list.
# The root is cached (under $HANGMAN_DEPS_CACHE, or else
# ~/.cache/chalk-hangman, in debian-root/), keyed by debootstrap's version and
# the archive, and never changed once made: callers work on a copy. Prints
# the root's path; progress goes to standard error. Needs root.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null # the machine's own
. /etc/os-release
codename=$VERSION_CODENAME
sources=$("$here/apt-sources.sh")
mirror=$(echo "$sources" | awk -v release="$codename" '$2 == release { print $1; exit }')
[ -n "$mirror" ] || { echo "minimal-root.sh: apt names no archive for $codename" >&2; exit 1; }

cache=${HANGMAN_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/chalk-hangman}/debian-root
key=$(echo "$(debootstrap --version) minbase $codename $sources" | sha256sum | cut -c1-16)
root=$cache/roots/$key
if [ ! -f "$root.complete" ]; then
    echo "making a minimal Debian $codename from $mirror (once; about a minute)" >&2
    # Older roots go; --one-file-system never follows a mount that a killed
    # debootstrap may have left.
    rm -rf --one-file-system "$cache/roots"
    mkdir -p "$cache/roots"
    debootstrap --variant=minbase "$codename" "$root" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
        { cat "$cache/debootstrap.log" >&2; echo "minimal-root.sh: debootstrap failed" >&2; exit 1; }
    echo "$sources" | awk '{ print "deb", $1, $2, $3 }' >"$root/etc/apt/sources.list"
    chroot "$root" apt-get clean
    touch "$root.complete"
fi
echo "$root"
