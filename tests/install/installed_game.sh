#!/bin/sh
# Installs the game into a scratch prefix with `cmake --install`, checks that
# every file is in place, then starts the game as its desktop entry says,
# from another folder in a headless X server, closes its window and checks
# its console text and exit status 0. Then takes the data folder and then
# the program away and checks that the launcher names what is missing. Last,
# make uninstall, with another installation beside it.
#
#   installed_game.sh <build folder> <close_window binary>
set -eu
build=$1
name=chalk-hangman
prefix=$(mktemp -d /tmp/hangman-install-XXXXXX)
on_exit="rm -rf $prefix"
trap 'eval "$on_exit"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/$name libexec/$name/$name share/$name/pngs/letters_sprites.png \
    share/$name/png/AtariST8x16SystemFont.ttf share/$name/png/DejaVu-LICENSE.txt \
    share/$name/icon.png share/applications/$name.desktop \
    share/metainfo/io.github.chalk_hangman.chalk_hangman.metainfo.xml \
    share/man/man6/$name.6.gz share/doc/$name/LICENSE; do
    [ -e "$prefix/$file" ] || { echo "FAIL: $file was not installed"; exit 1; }
done
for size in 16 22 24 32 48 64 128 256; do
    [ -e "$prefix/share/icons/hicolor/${size}x$size/apps/$name.png" ] ||
        { echo "FAIL: no $size px icon"; exit 1; }
done
[ "$(find "$prefix/share/$name/pngs" -type f | wc -l)" -eq 15 ] || { echo "FAIL: not 15 images"; exit 1; }

# The desktop entry names the launcher by its full path; it is started from /
# under Xvfb and closed like a window manager would close it.
exec_line=$(grep '^Exec=' "$prefix/share/applications/$name.desktop")
[ "$exec_line" = "Exec=$prefix/bin/$name" ] || { echo "FAIL: the desktop entry says $exec_line"; exit 1; }
program=${exec_line#Exec=} assets=/ out="$prefix/e2e" close_window=$2
# shellcheck source=../e2e/lib.sh
. "$(dirname "$0")/../e2e/lib.sh"
start_display
expect_start_and_close installed

# Broken installations: the launcher says what is missing.
expect_launcher_error() {
    status=0
    message=$("$prefix/bin/$name" 2>&1 >/dev/null) || status=$?
    [ "$status" -eq 1 ] || fail "launcher exit status $status with $1 missing"
    [ "$message" = "$2" ] || fail "launcher said \"$message\", not \"$2\""
}
mv "$prefix/share/$name" "$prefix/share/moved"
expect_launcher_error "the data folder" "$name: its data folder $prefix/bin/../share/$name is missing"
mv "$prefix/share/moved" "$prefix/share/$name"
mv "$prefix/libexec/$name/$name" "$prefix/libexec/moved"
expect_launcher_error "the program" "$name: the program $prefix/bin/../libexec/$name/$name is missing"
mv "$prefix/libexec/moved" "$prefix/libexec/$name/$name"

# The launcher gives way to the program: a signal sent to it reaches the game.
start_game signal
kill -TERM "$game"
finish_game
[ "$status" -eq 0 ] || fail "exit status $status after SIGTERM to the launcher (does it exec the game?)"

# make uninstall takes away the installation in the prefix it is given, as
# that installation's record lists it, and nothing else: not another
# installation (made later, into another prefix), not a file or folder that
# was there before (an empty folder too), not a file put since into a folder
# it made (nor that folder). Given a prefix that holds none, it refuses with
# status 1.
# (The prefix given with a slash at its end, as a shell completes it.)
uninstall() { make -s -C "$(dirname "$0")/../.." uninstall PREFIX="$1" >"$out/uninstall.txt" 2>&1; }
other=$(mktemp -d /tmp/hangman-install-XXXXXX)
on_exit="rm -rf $other; $on_exit"
mkdir -p "$other/share/applications" "$other/share/man"
echo "another program's" >"$other/share/applications/other.desktop"
cmake --install "$build" --prefix "$other" >/dev/null
# Someone else's file, put since into a folder that the installation made.
echo "another icon" >"$other/share/icons/hicolor/48x48/apps/other.png"
uninstall "$prefix/" || fail "make uninstall failed: $(cat "$out/uninstall.txt")"
left=$(find "$prefix" -mindepth 1 -path "$prefix/e2e" -prune -o -print)
[ -z "$left" ] || fail "left after uninstalling: $left"
recorded=$(grep -c '^file ' "$other/share/$name/installed-files.txt")
if [ ! -x "$other/bin/$name" ] || [ "$(find "$other" -type f | wc -l)" -ne $((recorded + 2)) ]; then
    fail "uninstalling one prefix changed the installation in another: $(find "$other" -type f | wc -l) files there"
fi
if uninstall "$prefix"; then fail "make uninstall reported success where nothing is installed"; fi
grep -q "Nothing to uninstall in $prefix" "$out/uninstall.txt" || fail "no word of why: $(cat "$out/uninstall.txt")"
uninstall "$other" || fail "make uninstall failed: $(cat "$out/uninstall.txt")"
left=$(find "$other" -mindepth 1 | sort)
[ "$left" = "$other/share
$other/share/applications
$other/share/applications/other.desktop
$other/share/icons
$other/share/icons/hicolor
$other/share/icons/hicolor/48x48
$other/share/icons/hicolor/48x48/apps
$other/share/icons/hicolor/48x48/apps/other.png
$other/share/man" ] || fail "uninstalling took more or less than the installation: $left"
echo "installed game: files in place, started from / as its desktop entry says, closed with status 0;" \
    "a missing data folder or program is named; a signal to the launcher reaches the game; uninstalled" \
    "from its own prefix alone, what was there before kept, and refused where nothing is installed"

