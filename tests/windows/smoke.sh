#!/bin/sh
# The Windows package, as a player would use it, under Wine and Xvfb: the zip
# unpacked into a new folder, the game started from there with a new Wine
# prefix. It must print exactly its two start-up lines, take a click on
# Start, a click on Easy, a few letters and Space, show a real picture, and
# end with exit status 0 on a close request. At 192 dpi its window must have
# twice the pixels and show the picture doubled. Then, with one image
# removed, it must print the loader's lines and "Failed to load media." and
# exit with 1.
# With speech on, played by the keyboard alone, a UI Automation client
# (uia_reader.exe, through Wine's UI Automation) must read the window's
# buttons, their names and the focus; and the game's own voice, against a
# stand-in for SAPI's (voice_check.exe), must cut each text short with the
# next.
# The program must carry its version information and its manifest. Last,
# the installer, in the same new prefix: a silent install must put the game
# and its licences in Program Files, a Start menu entry that starts the game
# in its folder, and an entry under installed apps with every value as it
# should be; while the installed game runs, a silent install or uninstall
# must end with status 2 and change nothing; the game must show its two
# lines and end with status 0 on a close request; an install into a new
# nested folder (/D) must remove the first installation, an install into
# yet another must remove the second with the folders made for it, and a
# silent uninstall must then leave no file, folder (the ones made for /D
# included) or registry key of it behind.
# The console text is compared byte for byte: on Windows the C runtime ends
# each line with CR LF. Wine's time limits are generous: a slow machine must
# not fail the test.
#
#   smoke.sh <the build's release.txt> <close_window binary> <folder of the Windows test programs>
set -eu
zip=$(grep '\.zip$' "$1")
setup=$(grep 'setup\.exe$' "$1")
close_window=$2
tests=$(cd "$3" && pwd)
scratch=$(mktemp -d /tmp/hangman-windows-XXXXXX)
out=$scratch/out
on_exit="wineserver -k 2>/dev/null || true; rm -rf $scratch"

export WINEPREFIX="$scratch/wine" WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko

mkdir -p "$scratch/unzipped" "$out"
(cd "$scratch/unzipped" && cmake -E tar xf "$zip")
folder=$(ls -d "$scratch"/unzipped/*/)
program=wine program_args=chalk-hangman.exe assets=$folder window_wait=300 screen=1280x1024
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

# Screens told apart by one pixel of the picture each.
menu="250 262 241,238,228"         # the main menu, its title
level="320 230 48,67,79"           # the level choice, Easy at rest
in_game="429 400 242,177,52"       # the game, the box of the letter to guess
options="320 100 241,238,228"      # the options
won="20 130 116,201,116"           # the win picture
# shellcheck disable=SC2086 # each holds separate words
until_shown() { shot_until "$1" $2 "$1"; }
# Waits until a UI Automation client reads the lines $1 of the window.
uia_reads() { wait_until "UI Automation to read: $1" uia_shows "$1"; }
uia_shows() {
    wine "$tests/uia_reader.exe" 2>/dev/null | tr -d '\r' >"$out/uia.txt"
    [ "$(cat "$out/uia.txt")" = "$1" ]
}

# ---- A short game.
start_game session
until_shown menu "$menu"
click 180 390                      # Start
point 600 460
until_shown difficulty "$level"
click 320 230                      # Easy
until_shown game "$in_game"
keys e a s space
colours=$(convert "$out/game.png" -format %k info:)
[ "$colours" -gt 16 ] || fail "the window shows only $colours colours"
close_game
[ "$status" -eq 0 ] || fail "exit status $status after a close request"
expect_windows_console "initialize complete!
load media complete!"
echo "windows: two start-up lines, a game played ($colours colours on screen), closed with status 0"

# ---- The keyboard alone, speech on (SAPI, whatever Wine makes of it): a
# developer-mode game won, menus included; speech holds nothing up.
# Keys typed before a screen shows would go to the screen before it.
HANGMAN_SPEECH=on
start_game keyboard
HANGMAN_SPEECH=off
until_shown keyboard-menu "$menu"
uia_reads "window Hangman
button Start (focused)
button Options"
keys Tab Right Return
until_shown keyboard-options "$options"
uia_reads "window Hangman
button Developer mode (focused)
button Back"
keys space
console_has "dev_mode turned on."
keys Escape
until_shown keyboard-menu-developer "$menu"
keys Left Return
until_shown keyboard-difficulty "$level"
keys Return
word=$(secret_word)
until_shown keyboard-game "$in_game"
letters=$(distinct_letters "$word")
for letter in $(echo "$letters" | sed 's/./& /g'); do keys "$letter" space; done
until_shown keyboard-won "$won"
keys Return
until_shown keyboard-menu-again "$menu"
close_game
[ "$status" -eq 0 ] || fail "exit status $status after the keyboard's game"
expect_windows_console "$(printf 'initialize complete!\nload media complete!\ndev_mode turned on.\nback button has been pressed.\nstart button has been pressed.\neasy button has been pressed.\n'
    "$(dirname "$close_window")/reference_frame" - game-console "$word" "$(echo "$letters" | sed 's/./& /g')")"
echo "windows: the keyboard alone won \"$word\" in developer mode, speech on, read by UI Automation; closed with status 0"
cp "$tests/voice_check.exe" "$folder"
(cd "$folder" && timeout 300 wine voice_check.exe) >"$out/voice.txt" 2>&1 || fail "$(cat "$out/voice.txt")"
rm "$folder/voice_check.exe"
echo "windows: $(tr -d '\r' <"$out/voice.txt")"


# ---- A display at 200 % (192 dots per inch): the window keeps its size in
# points, so it has twice the pixels, and the game draws into them, each
# pixel of the picture a square of four, instead of Windows stretching it.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
start_game high-dpi
[ "${ww}x$wh" = 1280x960 ] || fail "at 192 dpi the window has ${ww}x$wh pixels, not 1280x960"
until_shown menu-high-dpi "$menu"
click 180 390                      # Start
point 600 460
until_shown difficulty-high-dpi "$level"
convert "$out/difficulty.png" -filter point -resize 200% "$out/difficulty-doubled.png"
differing=$(compare -metric AE "$out/difficulty-doubled.png" "$out/difficulty-high-dpi.png" null: 2>&1) || true
[ "$differing" = 0 ] || fail "at 192 dpi $differing pixels differ from the picture doubled"
close_game
[ "$status" -eq 0 ] || fail "exit status $status at 192 dpi"
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
wineserver -k 2>/dev/null || true
echo "windows: at 192 dpi the window has 1280 x 960 pixels and shows the picture doubled, pixel for pixel"

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
# The manifest as the program carries it, read as XML: the DPI awareness
# that Windows 10 and 11 read, and the one that Windows 7 and 8 read.
LC_ALL=C sed -n '/<assembly /,/<\/assembly>/p' "$folder/chalk-hangman.exe" |
    sed 's/^.*<assembly /<assembly /; s/<\/assembly>.*$/<\/assembly>/' >"$out/manifest.xml"
setting() { xmllint --xpath "string(//*[local-name()='$1'])" "$out/manifest.xml" 2>/dev/null; }
if [ "$(setting dpiAwareness)" != PerMonitorV2 ] || [ "$(setting dpiAware)" != true/pm ]; then
    fail "the manifest is not per-monitor DPI aware: dpiAwareness \"$(setting dpiAwareness)\", dpiAware \"$(setting dpiAware)\""
fi
echo "windows: version information and manifest in the program"

# ---- The installer: install, play, uninstall, silently.
installed="$WINEPREFIX/drive_c/Program Files/Chalk Hangman"
windows_installed='C:\Program Files\Chalk Hangman'
entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Chalk Hangman.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\chalk-hangman'
# Runs the installer or uninstaller $1 with the arguments that follow; sets
# $status. A plain uninstaller runs a copy of itself and ends at once: then
# wait_for_wine waits for the copy.
run_setup() {
    status=0
    timeout 300 wine "$@" >"$out/setup.txt" 2>&1 || status=$?
}
wait_for_wine() { timeout 300 wineserver -w || true; }
# What an installation looks like from outside: the files of drive C: with
# their sums, and the registry key.
snapshot() {
    { (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -path ./users -prune -o \
        -type f -print | sort | xargs -d '\n' sha256sum) 2>/dev/null
      wine reg query "$key" /reg:64 2>/dev/null | tr -d '\r'; } >"$out/$1.txt"
}
run_setup "$setup" /S
[ "$status" -eq 0 ] || fail "the installer failed with status $status: $(cat "$out/setup.txt")"
for file in chalk-hangman.exe SDL2.dll pngs/menu_screen.png png/AtariST8x16SystemFont.ttf \
    licences/Chalk-Hangman.txt licences/SDL2.txt uninstall.exe; do
    [ -f "$installed/$file" ] || fail "the installer did not install $file"
done
[ -f "$entry" ] || fail "no Start menu entry"
lnkinfo "$entry" | tr -d '\r' >"$out/entry.txt"
grep -qxF "	Local path			: $windows_installed\chalk-hangman.exe" "$out/entry.txt" ||
    fail "the Start menu entry does not start the game: $(cat "$out/entry.txt")"
grep -qxF "	Working directory		: $windows_installed" "$out/entry.txt" ||
    fail "the Start menu entry does not start the game in its folder: $(cat "$out/entry.txt")"
wine reg query "$key" /reg:64 2>/dev/null | tr -d '\r' >"$out/registry.txt" ||
    fail "no entry under installed apps"
size_kb=$(find "$installed" -type f ! -name uninstall.exe -printf '%s\n' |
    awk '{ n += $1 } END { print int((n + 1023) / 1024) }')
while read -r value; do
    grep -qxF "    $value" "$out/registry.txt" || fail "the registry entry lacks $value: $(cat "$out/registry.txt")"
done <<EOF
DisplayName    REG_SZ    Chalk Hangman
DisplayVersion    REG_SZ    $version
Publisher    REG_SZ    The Chalk Hangman developers
InstallLocation    REG_SZ    $windows_installed
DisplayIcon    REG_SZ    "$windows_installed\chalk-hangman.exe",0
UninstallString    REG_SZ    "$windows_installed\uninstall.exe"
QuietUninstallString    REG_SZ    "$windows_installed\uninstall.exe" /S
EstimatedSize    REG_DWORD    $(printf '0x%x' "$size_kb")
NoModify    REG_DWORD    0x1
NoRepair    REG_DWORD    0x1
EOF
echo "windows: installed silently, its Start menu entry and registry values as they should be"

# The Start menu entry starts the console minimised (show command 7,
# SW_SHOWMINNOACTIVE). Started so (`start /min`, as Explorer starts the
# entry) under a window manager, the game comes up in front with the focus,
# its console minimised.
show=$(od -An -tu4 -j60 -N4 "$entry" | tr -d ' ')
[ "$show" = 7 ] || fail "the Start menu entry starts the console with show command $show, not 7 (minimised)"
openbox --sm-disable >"$out/openbox.log" 2>&1 &
openbox=$!
wait_until "openbox to manage the screen" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
wine start /min /d "$windows_installed" chalk-hangman.exe >"$out/start-menu.txt" 2>&1
wait_until "the game's window" sh -c 'window=$(xdotool search --onlyvisible --name "^SDL Tutorial\$") &&
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$window" ]'
console_window=$(xdotool search --name 'chalk-hangman\.exe$' | head -n 1)
xprop -id "$console_window" WM_STATE | grep -q 'window state: Iconic' ||
    fail "the console is not minimised: $(xprop -id "$console_window" WM_STATE)"
"$close_window" "$(xdotool search --onlyvisible --name '^SDL Tutorial$')"
wait_for_wine
kill "$openbox"
wait "$openbox" || true
echo "windows: the Start menu entry starts the console minimised; the game came up in front, with the focus"

# While the game runs, neither the installer nor the uninstaller changes
# anything. The uninstaller runs in place (_?=, which takes the folder
# unquoted, so from a batch file), where it gives its own exit status: a plain
# one hands the work to a copy of itself and ends at once.
printf '@"%s\\uninstall.exe" /S _?=%s\r\n@exit %%ERRORLEVEL%%\r\n' "$windows_installed" \
    "$windows_installed" >"$WINEPREFIX/drive_c/uninstall-in-place.bat"
assets=$installed
start_game installed
snapshot before
run_setup "$setup" /S
[ "$status" -eq 2 ] || fail "installing over the running game gave status $status, not 2"
snapshot after-install
cmp -s "$out/before.txt" "$out/after-install.txt" || fail "installing over the running game changed it"
run_setup cmd /c 'C:\uninstall-in-place.bat'
[ "$status" -eq 2 ] || fail "uninstalling the running game gave status $status, not 2"
snapshot after-uninstall
cmp -s "$out/before.txt" "$out/after-uninstall.txt" || fail "uninstalling the running game changed it"
close_game
[ "$status" -eq 0 ] || fail "exit status $status of the installed game"
expect_windows_console "initialize complete!
load media complete!"
echo "windows: the installed game played; while it ran, installing and uninstalling changed nothing (status 2)"

# Installed into another folder, made for it: the first installation goes.
elsewhere="$WINEPREFIX/drive_c/Games/Deep/Chalk-Hangman"
# (No space in it: /D takes its folder unquoted, and wine would quote it.)
run_setup "$setup" /S '/D=C:\Games\Deep\Chalk-Hangman'
[ "$status" -eq 0 ] || fail "installing into another folder failed with status $status"
[ -f "$elsewhere/chalk-hangman.exe" ] || fail "nothing installed into C:\\Games\\Deep\\Chalk-Hangman"
[ ! -e "$installed" ] || fail "the first installation is left: $(find "$installed" | head -n 5)"
wine reg query "$key" /v InstallLocation /reg:64 2>/dev/null | tr -d '\r' |
    grep -qxF '    InstallLocation    REG_SZ    C:\Games\Deep\Chalk-Hangman' || fail "the registry names another folder"
# Installed once more into yet another new folder: the installation it
# replaces goes with the folders that were made for it.
run_setup "$setup" /S '/D=C:\Other\Chalk-Hangman'
[ "$status" -eq 0 ] || fail "installing into a third folder failed with status $status"
[ ! -e "$WINEPREFIX/drive_c/Games" ] ||
    fail "replacing an installation left the folders made for it: $(find "$WINEPREFIX/drive_c/Games" | head -n 5)"
elsewhere="$WINEPREFIX/drive_c/Other/Chalk-Hangman"
run_setup "$elsewhere/uninstall.exe" /S
wait_for_wine
[ ! -e "$WINEPREFIX/drive_c/Other" ] || fail "the uninstaller left $(find "$WINEPREFIX/drive_c/Other" | head -n 5)"
[ ! -e "$entry" ] || fail "the uninstaller left the Start menu entry"
if wine reg query "$key" /reg:64 >/dev/null 2>&1; then fail "the uninstaller left the registry entry"; fi
echo "windows: installed into a new folder, the first installation removed; then into another, the" \
    "folders made for the second removed; uninstalled silently, the folders made for it too, no file," \
    "folder or registry entry left"
