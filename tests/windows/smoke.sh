#!/bin/sh
# The Windows package, as a player would use it, under Wine and Xvfb: the zip
# unpacked into a new folder, the game started from there with a new Wine
# prefix. It must print exactly its two start-up lines, take a click on
# Start, a click on Easy, a few letters and Space, show a real picture, and
# end with exit status 0 on a close request. Then, with one image removed, it
# must print the loader's lines and "Failed to load media." and exit with 1.
# The program must carry its version information and its manifest. Last,
# the installer, in the same new prefix: a silent install must put the game
# and its licences in Program Files, a Start menu entry and an entry under
# installed apps in the registry; the installed game must show its two lines
# and end with status 0 on a close request; a silent uninstall must leave no
# file, folder or registry key of it behind.
# The console text is compared byte for byte: on Windows the C runtime ends
# each line with CR LF. Wine's time limits are generous: a slow machine must
# not fail the test.
#
#   smoke.sh <the build's release.txt> <close_window binary>
set -eu
zip=$(grep '\.zip$' "$1")
setup=$(grep 'setup\.exe$' "$1")
close_window=$2
scratch=$(mktemp -d /tmp/hangman-windows-XXXXXX)
out=$scratch/out
on_exit="wineserver -k 2>/dev/null || true; rm -rf $scratch"

export WINEPREFIX="$scratch/wine" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko

mkdir -p "$scratch/unzipped" "$out"
(cd "$scratch/unzipped" && cmake -E tar xf "$zip")
folder=$(ls -d "$scratch"/unzipped/*/)
program=wine program_args=chalk-hangman.exe assets=$folder window_wait=300
# shellcheck source=../e2e/lib.sh
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

# ---- What Explorer shows of the program, and its manifest.
strings -e l "$folder/chalk-hangman.exe" >"$out/strings.txt"
version=$(basename "$zip" | sed 's/^chalk-hangman-\(.*\)-windows-x64\.zip$/\1/')
for value in "Chalk Hangman" "Chalk Hangman, a word-guessing game" "The Chalk Hangman developers" \
    "$version"; do
    grep -qxF "$value" "$out/strings.txt" || fail "the version information lacks \"$value\""
done
grep -q '<dpiAwareness[^>]*>unaware</dpiAwareness>' "$folder/chalk-hangman.exe" ||
    fail "the program has no manifest"
echo "windows: version information and manifest in the program"

# ---- The installer: install, play, uninstall, silently.
installed="$WINEPREFIX/drive_c/Program Files/Chalk Hangman"
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Chalk Hangman.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\chalk-hangman'
timeout 300 wine "$setup" /S >"$out/setup.txt" 2>&1 || fail "the installer failed: $(cat "$out/setup.txt")"
timeout 300 wineserver -w || true
for file in chalk-hangman.exe SDL2.dll pngs/menu_screen.png png/AtariST8x16SystemFont.ttf \
    licences/Chalk-Hangman.txt licences/SDL2.txt uninstall.exe; do
    [ -f "$installed/$file" ] || fail "the installer did not install $file"
done
[ -f "$entry" ] || fail "no Start menu entry"
grep -q "chalk-hangman.exe" "$entry" || fail "the Start menu entry does not start the game"
wine reg query "$key" /reg:64 2>/dev/null | tr -d '\r' >"$out/registry.txt" ||
    fail "no entry under installed apps"
for value in "DisplayName    REG_SZ    Chalk Hangman" "Publisher    REG_SZ    The Chalk Hangman developers" \
    "DisplayVersion    REG_SZ    $version" "EstimatedSize    REG_DWORD" "UninstallString    REG_SZ" \
    "QuietUninstallString    REG_SZ" "DisplayIcon    REG_SZ"; do
    grep -qF "$value" "$out/registry.txt" || fail "the registry entry lacks $value: $(cat "$out/registry.txt")"
done
assets=$installed
start_game installed
close_game
[ "$status" -eq 0 ] || fail "exit status $status of the installed game"
expect_windows_console "initialize complete!
load media complete!"
echo "windows: installed silently with its Start menu and registry entries; the installed game played"

timeout 300 wine "$installed/uninstall.exe" /S >"$out/uninstall.txt" 2>&1 || fail "the uninstaller failed"
timeout 300 wineserver -w || true
[ ! -e "$installed" ] || fail "the uninstaller left $(find "$installed" | head -n 5)"
[ ! -e "$entry" ] || fail "the uninstaller left the Start menu entry"
if wine reg query "$key" /reg:64 >/dev/null 2>&1; then fail "the uninstaller left the registry entry"; fi
echo "windows: uninstalled silently, no file, folder or registry entry left"
