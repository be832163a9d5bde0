#!/bin/sh
# The Windows package, as a player would use it, under Wine and Xvfb: the zip
# unpacked into a new folder, the game started from there with a new Wine
# prefix. It must print exactly its two start-up lines, take a click on
# Start, a click on Easy, a few letters and Space, show a real picture, and
# end with exit status 0 on a close request. Then, with one image removed, it
# must print the loader's lines and "Failed to load media." and exit with 1.
# The console text is compared byte for byte: on Windows the C runtime ends
# each line with CR LF. Wine's time limits are generous: a slow machine must
# not fail the test.
#
#   smoke.sh <the zip> <close_window binary>
set -eu
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
close_window=$2
scratch=$(mktemp -d /tmp/hangman-windows-XXXXXX)
out=$scratch/out
on_exit='wineserver -k 2>/dev/null || true; rm -rf "$scratch"'

export WINEPREFIX="$scratch/wine" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko

mkdir -p "$scratch/unzipped" "$out"
(cd "$scratch/unzipped" && cmake -E tar xf "$zip")
folder=$(ls -d "$scratch"/unzipped/*/)
program=wine program_args=chalk-hangman.exe assets=$folder window_wait=300
. "$(dirname "$0")/../e2e/lib.sh"
start_display

# The console text must be $1, each line ended by CR LF.
expect_windows_console() {
    printf '%s\n' "$1" | sed 's/$/\r/' >"$out/expected.txt"
    cmp -s "$out/expected.txt" "$console" || {
        echo "FAIL: console text differs. Expected:"; od -c "$out/expected.txt"
        echo "Got:"; od -c "$console"; exit 1
    }
}

started=$(date +%s)
timeout 600 wineboot --init >"$out/wineboot.txt" 2>&1 || fail "wineboot: $(tail -n 5 "$out/wineboot.txt")"
timeout 600 wineserver -w || true
echo "a new Wine prefix in $(($(date +%s) - started)) s"

# ---- A short game.
start_game session
click 180 390                      # Start
click 320 230                      # Easy
keys e a s space
shot game
colours=$(convert "$out/game.png" -format %k info:)
[ "$colours" -gt 16 ] || fail "the window shows only $colours colours"
case "$(pixel game 320 5)" in *"35,49,58"*) ;; *) fail "no game screen ($(pixel game 320 5))" ;; esac
close_game
[ "$status" -eq 0 ] || fail "exit status $status after a close request"
expect_windows_console "initialize complete!
load media complete!"
echo "windows: two start-up lines, a game played ($colours colours on screen), closed with status 0"

# ---- One image missing.
rm "$folder/pngs/menu_screen.png"
status=0
(cd "$folder" && timeout 300 wine chalk-hangman.exe) >"$out/missing.txt" 2>"$out/missing-stderr.txt" || status=$?
[ "$status" -eq 1 ] || fail "exit status $status with an image missing"
console=$out/missing.txt
expect_windows_console "initialize complete!
Unable to load image pngs/menu_screen.png. SDL_image ERROR: Couldn't open pngs/menu_screen.png
Failed to load menu_screen texture
Failed to load media."
echo "windows: with an image missing, the loader's lines, \"Failed to load media.\" and status 1"
