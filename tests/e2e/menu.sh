#!/bin/sh
# End to end: the real program in a real X window (Xvfb). Checks that the
# window has the game's icon, moves the pointer over Start and checks the
# hover look in a screenshot; resized to 16:10, the picture must fill the
# window's height, centred on the board colour, and Start must still answer
# the pointer where it is shown. Then closes the window and checks the
# console text and the exit status.
#
#   menu.sh <game binary> <folder with pngs/ and png/> <output folder> <close_window binary>
set -eu
program=$1 assets=$2 out=$3 close_window=$4 screen=1280x800
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_game menu
# The icon comes a moment after the window is mapped.
has_icon() { xprop -id "$window" _NET_WM_ICON | grep -q "Icon (64 x 64)"; }
wait_until "the window's 64 x 64 icon" has_icon
expect_start_hover menu-hover-start
xdotool windowmove "$window" 0 0 windowsize "$window" 1280 800
wait_until "the window to be resized to 1280 x 800" window_sized 1280x800
expect_start_hover menu-resized
for x in 0 100 1180 1279; do
    case "$(window_pixel menu-resized "$x" 400)" in *"35,49,58"*) ;; *) fail "the resized window at $x,400 is not the board colour" ;; esac
done
close_game
expect_console "initialize complete!
load media complete!"
[ "$status" -eq 0 ] || fail "exit status $status"
echo "end to end, menu: window icon set, hover shown, also resized to 1280 x 800, console text exact, exit status 0"

# ---- What the desktop asks for, over its D-Bus (a stand-in answers): with
# a screen reader running and animations off, the game speaks unbidden and
# its figure stands still, unless HANGMAN_SPEECH and HANGMAN_REDUCED_MOTION
# say otherwise; with neither, its figure moves. A desktop that holds its
# answers holds up nothing: the figure moves until they come, and from then
# on the game follows them, and what the desktop says changes later.
# A signature of the figure as the window shows it, in the screenshot $1.
crop_figure() {
    shot "$1"
    to_window 293 150
    convert "$out/$1.png" -crop "$((55 * vw / 640))x$((65 * vh / 480))+$tx+$ty" +repage -format %# info:
}
# True once the figure has stood still for 30 screenshots in a row (it
# changes every 24 frames when it moves).
stands_still() {
    still=$(crop_figure figure-0)
    for n in $(seq 30); do
        [ "$(crop_figure "figure-$n")" = "$still" ] || return 1
    done
}
moves() {
    first=$(crop_figure figure-moving)
    wait_until "the figure to move" moved
}
moved() { [ "$(crop_figure figure-moving)" != "$first" ]; }
# Presses Tab until the game says where the ring went.
speaks_on_tab() { keys Tab; said "Start, button" || said "Options, button"; }
start_session_bus
start_speech
speech_server_was=$speech_server
# The desktop's stand-in's settings, then HANGMAN_SPEECH and
# HANGMAN_REDUCED_MOTION ("system" leaves it to the desktop).
while read -r reader animations held speech motion; do
    [ "$held" != - ] || held=""
    HANGMAN_SPEECH=$speech HANGMAN_REDUCED_MOTION=$motion
    export HANGMAN_REDUCED_MOTION
    # shellcheck disable=SC2086 # held is a word or nothing
    "$(dirname "$close_window")/desktop_settings" "$reader" "$animations" $held >"$out/settings.txt" 2>&1 &
    settings_server=$!
    wait_until "the desktop's stand-in to serve" grep -q serving "$out/settings.txt"
    heard_before=$(wc -l <"$out/heard.txt")
    case "$reader $animations $held $speech $motion" in
        "on off  system system") # waits for the main menu to be told, unbidden
            start_game desktop-settings
            stands_still || fail "the figure moved although animations are off" ;;
        "on off  0 false")
            speech_server=""
            start_game desktop-overridden
            moves ;;
        "off on  system system")
            speech_server=""
            start_game desktop-defaults
            moves ;;
        "on off held system system")
            speech_server=""
            start_game desktop-held
            wait_until "the game to ask the desktop" grep -q asked "$out/settings.txt"
            moves
            kill -USR1 "$settings_server" # the answers: a screen reader, animations off
            wait_until "the figure to stand still once the desktop answered" stands_still
            wait_until "the game to speak once the desktop said a screen reader runs" speaks_on_tab
            kill -USR2 "$settings_server" # now neither
            moves ;;
    esac
    speech_server=$speech_server_was
    close_game
    [ "$status" -eq 0 ] || fail "exit status $status"
    if [ "$speech" = 0 ] && [ "$(wc -l <"$out/heard.txt")" -ne "$heard_before" ]; then
        fail "HANGMAN_SPEECH=0 yet the game spoke: $(tail -n 1 "$out/heard.txt")"
    fi
    kill "$settings_server"
    wait "$settings_server" || true
done <<EOF
on off - system system
on off - 0 false
off on - system system
on off held system system
EOF
echo "end to end, desktop settings: a screen reader running, the game spoke; animations off, its figure stood still; HANGMAN_SPEECH=0 and HANGMAN_REDUCED_MOTION=false won over them; else it moved; a desktop that held its answers held up nothing, and was followed once it answered and when it changed"
