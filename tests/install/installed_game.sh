#!/bin/sh
# Installs the game into a scratch prefix with `cmake --install`, checks that
# every file is in place, then starts the installed launcher from another
# folder in a headless X server, closes its window and checks its console
# text and exit status 0.
#
#   installed_game.sh <build folder> <close_window binary>
set -eu
build=$1
prefix=$(mktemp -d /tmp/hangman-install-XXXXXX)
on_exit='rm -rf "$prefix"'
trap 'eval "$on_exit"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/hangman libexec/hangman/hangman share/hangman/pngs/letters_sprites.png \
    share/hangman/png/AtariST8x16SystemFont.ttf share/applications/hangman.desktop \
    share/icons/hicolor/128x128/apps/hangman.png; do
    [ -e "$prefix/$file" ] || { echo "FAIL: $file was not installed"; exit 1; }
done
[ "$(ls "$prefix/share/hangman/pngs" | wc -l)" -eq 15 ] || { echo "FAIL: not 15 images"; exit 1; }

# The launcher is started from / under Xvfb and closed like a window manager
# would close it.
program="$prefix/bin/hangman" assets=/ out="$prefix/e2e" close_window=$2
. "$(dirname "$0")/../e2e/lib.sh"
start_display
start_game installed
close_game
expect_console "initialize complete!
load media complete!"
[ "$status" -eq 0 ] || fail "exit status $status"
echo "installed game: files in place, started from / by its launcher, closed with status 0"
