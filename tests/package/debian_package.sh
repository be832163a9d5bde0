#!/bin/sh
# The Debian package as a distribution and a user would take it: lintian
# (any error or warning fails), the desktop entry, the AppStream metainfo and
# the manual page validated as shipped; then the package installed with
# apt-get beside the BSD games, the installed game started from another
# folder under Xvfb, as its desktop entry says, and closed, and the package
# purged without a trace.
# Installs and removes packages: it needs root (or sudo) and is meant for CI.
#
#   debian_package.sh <folder with the .deb> <close_window binary>
set -eu
name=chalk-hangman
deb=$(ls "$1"/${name}_*.deb)
close_window=$2
scratch=$(mktemp -d /tmp/hangman-package-XXXXXX)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -qq "$@" >"$scratch/apt.log" 2>&1 || { cat "$scratch/apt.log"; exit 1; }; }
on_exit='rm -rf "$scratch"'
trap 'eval "$on_exit"' EXIT
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
apt_get install "$(cd "$(dirname "$deb")" && pwd)/$(basename "$deb")"
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
. "$(dirname "$0")/../e2e/lib.sh"
start_display
expect_start_and_close installed
echo "the installed game started from / as its desktop entry says, and closed with exit status 0"

# ---- Purged without a trace.
apt_get remove --purge $name
if dpkg-query -W -f='${Status}' $name 2>/dev/null | grep -q installed; then
    fail "$name is still known to dpkg"
fi
while read -r file; do
    if [ -e "$file" ] || [ -L "$file" ]; then fail "$file is left after the purge"; fi
done <"$scratch/files"
for dir in /usr/share/games/$name /usr/lib/games/$name /usr/share/doc/$name; do
    [ ! -e "$dir" ] || fail "$dir is left after the purge"
done
echo "purged: none of its $(wc -l <"$scratch/files") files or its folders are left"
