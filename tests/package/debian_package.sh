#!/bin/sh
# The Debian package as a distribution and a user would take it: lintian
# (any error or warning fails), the desktop entry, the AppStream metainfo and
# the manual page validated as shipped; then the package installed with
# apt-get beside the BSD games, the installed game started from another
# folder under Xvfb, as its desktop entry says, and closed, and the package
# purged without a trace. Then the same on a minimal Debian, where nothing
# else is installed: the package alone installed with apt into a copy of a
# debootstrap root (minimal_root.sh), played there as a user on the same
# Xvfb, and on Wayland in sway on that Xvfb, silent; then with the speech
# library it recommends and a stand-in speech server, telling its menu; and
# purged. The mounts made for that root, its /proc and the socket folders of
# sway and the speech server, are undone on every exit, failed or not.
# Installs and removes packages: it needs root (or sudo) and is meant for CI.
#
#   debian_package.sh <the build's release.txt> <close_window binary>
set -eu
name=chalk-hangman
deb=$(grep '\.deb$' "$1")
close_window=$2
scratch=$(mktemp -d /tmp/hangman-package-XXXXXX)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# apt-get on this machine, or in the minimal root once $in_root names it.
apt_get() {
    DEBIAN_FRONTEND=noninteractive ${in_root:-$sudo} apt-get -o DPkg::Lock::Timeout=600 -y -qq "$@" \
        >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; fail "apt-get $*"; }
}
on_exit="rm -rf --one-file-system $scratch"
trap 'eval "$on_exit"' EXIT
trap 'exit 1' INT TERM HUP
fail() { echo "FAIL: $*"; exit 1; }

# ---- What a packager checks.
lintian --fail-on error,warning --display-info --pedantic "$deb" >"$scratch/lintian.txt" 2>&1 ||
    { cat "$scratch/lintian.txt"; fail "lintian reports errors or warnings"; }
echo "lintian: no error, no warning; informational tags: $(grep -c '^[IP]:' "$scratch/lintian.txt" || true)"
dpkg-deb -x "$deb" "$scratch/root"
desktop-file-validate "$scratch/root/usr/share/applications/$name.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$scratch/root/usr/share/metainfo/"*.metainfo.xml ||
    fail "appstreamcli validate"
warnings=$(man --warnings -l "$scratch/root/usr/share/man/man6/$name.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
echo "desktop entry, metainfo and manual page: valid"

# ---- Installed beside the BSD games.
if ! dpkg-query -W -f='${Status}' bsdgames 2>/dev/null | grep -q "install ok installed"; then
    apt_get install --no-install-recommends bsdgames
    on_exit="$on_exit; DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -qq purge bsdgames >/dev/null 2>&1"
fi
apt_get install "$deb"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' >"$scratch/files"
[ "$(dpkg -S /usr/games/hangman | cut -d: -f1)" = bsdgames ] || fail "/usr/games/hangman is not BSD's any more"
# A user's PATH on Debian (root's has no games folder).
user_path=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
[ "$(PATH=$user_path command -v hangman)" = /usr/games/hangman ] || fail "hangman is not BSD's in PATH"
[ "$(PATH=$user_path command -v $name)" = "/usr/games/$name" ] || fail "$name is not /usr/games/$name in PATH"
[ "$(man -w $name)" = "/usr/share/man/man6/$name.6.gz" ] || fail "man $name shows $(man -w $name)"
[ "$(man -w hangman)" != "/usr/share/man/man6/$name.6.gz" ] || fail "man hangman shows ours"
echo "installed beside bsdgames: $name and hangman each have their own command and manual page"

desktop=/usr/share/applications/$name.desktop
desktop-file-validate "$desktop" || fail "the installed desktop entry is not valid"
exec_line=$(grep '^Exec=' "$desktop")
[ "$exec_line" = "Exec=/usr/games/$name" ] || fail "the desktop entry says $exec_line"
program=${exec_line#Exec=} assets=/ out="$scratch/e2e"
# shellcheck source=../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"
start_display
expect_start_and_close installed
echo "the installed game started from / as its desktop entry says, and closed with exit status 0"

# ---- Purged without a trace: nothing of the package is left under the root $1.
expect_purged() {
    if ${in_root:-} dpkg-query -W -f='${Status}' $name 2>/dev/null | grep -q installed; then
        fail "$name is still known to dpkg"
    fi
    while read -r file; do
        if [ -e "$1$file" ] || [ -L "$1$file" ]; then fail "$1$file is left after the purge"; fi
    done <"$scratch/files"
    for dir in /usr/share/games/$name /usr/lib/games/$name /usr/share/doc/$name; do
        [ ! -e "$1$dir" ] || fail "$1$dir is left after the purge"
    done
    echo "purged: none of its $(wc -l <"$scratch/files") files or its folders are left"
}
apt_get remove --purge $name
expect_purged ""

# ---- On a minimal Debian.
pristine=$("$(dirname "$0")/minimal_root.sh") || fail "no minimal Debian root"
root=$scratch/minimal
cp -a "$pristine" "$root"
# Mounts under the root, deepest first.
root_mounts() { awk -v root="$root/" 'index($2, root) == 1 { print $2 }' /proc/self/mounts | sort -r; }
release_root() {
    for mount in $(root_mounts); do $sudo umount "$mount" || $sudo umount -l "$mount"; done
    [ -z "$(root_mounts)" ] || { echo "FAIL: still mounted: $(root_mounts)"; exit 1; }
}
on_exit="release_root; $on_exit"
$sudo mount -t proc proc "$root/proc"
cp /etc/resolv.conf "$root/etc/resolv.conf"
cp "$deb" "$root/tmp/"
# apt's downloads are kept beside the root, so a later run needs none.
archives=$(dirname "$(dirname "$pristine")")/archives
mkdir -p "$archives"
find "$archives" -name '*.deb' -exec cp {} "$root/var/cache/apt/archives/" \;
in_root="$sudo chroot $root env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive"
apt_get update
apt_get install --no-install-recommends "/tmp/$(basename "$deb")"
cp "$root/var/cache/apt/archives/"*.deb "$archives/"
echo "minimal Debian: the package installed with apt, $($in_root dpkg-query -W -f='${binary:Package}\n' | wc -l) packages in all"
# A user (nobody) with a user's PATH and nothing else from this machine but the X server.
program=/usr/bin/env
program_args="$sudo chroot --userspec=65534:65534 $root /usr/bin/env -i DISPLAY=$DISPLAY HOME=/nonexistent PATH=$user_path $name"
expect_start_and_close minimal-root
# With the library the package recommends, and a speech server (the
# stand-in, its socket bound into the root): the game speaks there. (Above,
# without them, it played silently.)
apt_get install --no-install-recommends libspeechd2
start_speech
mkdir -p "$root/run/speech"
$sudo mount --bind "$out" "$root/run/speech"
program_args="$sudo chroot --userspec=65534:65534 $root /usr/bin/env -i DISPLAY=$DISPLAY HOME=/nonexistent
    PATH=$user_path HANGMAN_SPEECH=on SPEECHD_ADDRESS=unix_socket:/run/speech/speech.sock $name"
expect_start_and_close minimal-root-speech
stop_speech
echo "minimal Debian: with libspeechd2 and a speech server, the game told its menu and closed with exit status 0"
# The same on Wayland, where SDL draws through EGL: sway on the same Xvfb,
# its socket bound into the root.
start_sway 800x600
mkdir -p "$root/run/wayland"
$sudo mount --bind "$XDG_RUNTIME_DIR" "$root/run/wayland"
program_args="$sudo chroot --userspec=65534:65534 $root /usr/bin/env -i XDG_RUNTIME_DIR=/run/wayland
    WAYLAND_DISPLAY=$WAYLAND_DISPLAY SDL_VIDEODRIVER=wayland HOME=/nonexistent PATH=$user_path $name"
expect_start_and_close minimal-root-wayland
echo "minimal Debian: the game started as a user, on X11 and on Wayland, showed its menu and closed" \
    "with exit status 0"
apt_get purge $name
expect_purged "$root"
