#!/bin/sh
# The Debian package as a distribution and a user would take it: lintian
# --pedantic on the source package, both binary packages and the .changes
# (any error or warning fails; every override is explained in debian/), the
# desktop entry, the AppStream metainfo and the manual page validated as
# shipped; the package's own test (debian/tests) run by autopkgtest in a
# minimal Debian; then the package installed with
# apt-get beside the BSD games, the installed game started from another
# folder under Xvfb, as its desktop entry says, and closed, and the package
# purged without a trace. Then the same on a minimal Debian, where nothing
# else is installed: the package alone installed with apt into a copy of a
# debootstrap root (scripts/minimal-root.sh), played there as a user on the same
# Xvfb, and on Wayland in sway on that Xvfb, silent; then with the speech
# library it recommends and a stand-in speech server, telling its menu; and
# purged. Last, the arm64 package in another minimal Debian, with Debian's
# arm64 libraries, played under qemu-user on the same Xvfb: its menu, a game
# won by clicks and keys, a close request ending it with status 0. The
# mounts made for those roots, their /proc and the socket folders of sway
# and the speech server, are undone on every exit, failed or not. Installs
# and removes packages: it needs root (or sudo) and is meant for CI.
#
#   debian_package.sh <make deb's release.txt> <close_window binary>
set -eu
name=chalk-hangman
native=$(dpkg --print-architecture)
deb=$(grep "_$native\.deb\$" "$1")
arm64_deb=$(grep '_arm64\.deb$' "$1")
dsc=$(grep '\.dsc$' "$1")
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
lintian --fail-on error,warning --display-info --pedantic "$dsc" "$deb" "$arm64_deb" \
    "$(dirname "$dsc")"/*.changes >"$scratch/lintian.txt" 2>&1 ||
    { cat "$scratch/lintian.txt"; fail "lintian reports errors or warnings"; }
echo "lintian --pedantic on the source package, both packages and the .changes: no error, no warning;" \
    "informational tags: $(grep -c '^[IP]:' "$scratch/lintian.txt" || true)"
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

# ---- On a minimal Debian: a copy of a root made by debootstrap, with its
# /proc and the machine's resolver; apt's downloads are kept beside it, so a
# later run needs none.
pristine=$("$(dirname "$0")/../../scripts/minimal-root.sh") || fail "no minimal Debian root"
archives=$(dirname "$(dirname "$pristine")")/archives
mkdir -p "$archives"
# Mounts under the scratch folder's roots, deepest first.
root_mounts() { awk -v under="$scratch/" 'index($2, under) == 1 { print $2 }' /proc/self/mounts | sort -r; }
release_roots() {
    for mount in $(root_mounts); do $sudo umount "$mount" || $sudo umount -l "$mount"; done
    [ -z "$(root_mounts)" ] || { echo "FAIL: still mounted: $(root_mounts)"; exit 1; }
}
on_exit="release_roots; $on_exit"
new_root() {
    cp -a "$pristine" "$1"
    $sudo mount -t proc proc "$1/proc"
    cp /etc/resolv.conf "$1/etc/resolv.conf"
    find "$archives" -name '*.deb' -exec cp {} "$1/var/cache/apt/archives/" \;
}

# The package's own test, as Debian's CI runs it: autopkgtest installs the
# package and what the test needs into a minimal Debian, and runs it there.
new_root "$scratch/autopkgtest"
autopkgtest --no-built-binaries "$deb" "$dsc" -- chroot "$scratch/autopkgtest" >"$scratch/autopkgtest.log" 2>&1 ||
    { cat "$scratch/autopkgtest.log"; fail "autopkgtest"; }
grep -q '^starts-and-closes *PASS' "$scratch/autopkgtest.log" || fail "autopkgtest ran no test: $(tail -n 20 "$scratch/autopkgtest.log")"
echo "autopkgtest: the package's test passed in a minimal Debian ($(grep -c 'PASS' "$scratch/autopkgtest.log") passes)"

root=$scratch/minimal
new_root "$root"
cp "$deb" "$root/tmp/"
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

# ---- The arm64 package, as a Raspberry Pi or an arm64 Chromebook would run
# it: in a minimal Debian with Debian's arm64 libraries (apt resolves them
# for it), played under qemu-user on the same Xvfb, as a user, by clicks:
# developer mode on, an easy game won, a close request.
unset SWAYSOCK WAYLAND_DISPLAY SDL_VIDEODRIVER
arm64=$scratch/arm64
new_root "$arm64"
cp "$arm64_deb" "$arm64/tmp/"
cp "$(command -v qemu-aarch64-static)" "$arm64/usr/bin/"
in_root="$sudo chroot $arm64 env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive"
$in_root dpkg --add-architecture arm64
apt_get update
apt_get install --no-install-recommends "/tmp/$(basename "$arm64_deb")"
cp "$arm64/var/cache/apt/archives/"*.deb "$archives/"
printf '#!/bin/sh\n# The arm64 game, started as its launcher does, under qemu-user.\ncd /usr/share/games/%s && exec qemu-aarch64-static /usr/lib/games/%s/%s\n' \
    "$name" "$name" "$name" >"$arm64/usr/local/bin/play-arm64"
chmod 755 "$arm64/usr/local/bin/play-arm64"
program_args="$sudo chroot --userspec=65534:65534 $arm64 /usr/bin/env -i DISPLAY=$DISPLAY HOME=/nonexistent
    /usr/local/bin/play-arm64"
# Screens told apart by one pixel of the picture each.
# shellcheck disable=SC2086 # each pixel is three words
until_shown() { shot_until "$1" $2 "$1"; }
start_game arm64
until_shown arm64-menu "250 262 241,238,228"
click 460 390                      # Options
until_shown arm64-options "320 100 241,238,228"
click 230 367                      # developer mode on
console_has "dev_mode turned on."
click 606 26                       # Back
until_shown arm64-menu-again "250 262 241,238,228"
click 180 390                      # Start
until_shown arm64-levels "320 230 48,67,79"
click 320 230                      # Easy
word=$(secret_word)
until_shown arm64-game "429 400 242,177,52"
submit "$(distinct_letters "$word")"
until_shown arm64-won "20 130 116,201,116"
close_game
[ "$status" -eq 0 ] || fail "the arm64 game ended with status $status after a close request"
[ "$(head -n 3 "$console")" = "initialize complete!
load media complete!
dev_mode turned on." ] || fail "the arm64 game's console: $(cat "$console")"
echo "arm64 (qemu-user, Debian's arm64 libraries): the game showed its menu, won \"$word\" by clicks and keys," \
    "and closed with exit status 0"
