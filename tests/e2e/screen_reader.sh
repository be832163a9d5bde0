#!/bin/sh
# End to end with the player's own screen reader: the real program under
# Xvfb, on a session bus of the script's own with the accessibility bus and
# the screen-reader flag on. First with its own speech off, an AT-SPI client
# (read_tree.py) finds the game's process as an application named Hangman,
# its window a frame, Start and Options push buttons, Start focused (also
# once Tab has shown the ring there); Enter on Start shows Easy, Medium, Hard
# and Back; Tab moves the focus to Medium; a close request ends it with
# status 0.
# Then Orca, Debian's screen reader started by hand (no flag set), reads the
# game to a stand-in speech server: each button the ring moves to, in its
# own words; a guess and what it did, as an announcement; and the game's
# own voice, left to the system, never speaks beside it.
#
#   screen_reader.sh <game binary> <folder with pngs/ and png/> <output folder> <close_window binary>
set -eu
program=$1 assets=$2 out=$3 close_window=$4
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
tree() { "$(dirname "$0")/read_tree.py" "$game" "$@" || fail "the accessibility tree"; }

start_display
start_session_bus
start_a11y_bus
start_speech
# ---- An AT-SPI client reads the tree; the game's own speech is off.
speech_server="" HANGMAN_SPEECH=off
start_game tree
tree "Main menu" Start push_button:Start push_button:Options
keys Tab
tree "Main menu" Start push_button:Start push_button:Options
keys Return
tree "Choose a level" Easy push_button:Easy push_button:Medium push_button:Hard push_button:Back
keys Tab
tree "Choose a level" Medium push_button:Easy push_button:Medium push_button:Hard push_button:Back
close_game
[ "$status" -eq 0 ] || fail "exit status $status"
echo "screen reader: the tree of the game's process showed its buttons and followed the focus; closed with status 0"

# ---- Orca, started by hand, reads the game aloud; the game's own voice is
# left to the system, which must keep it quiet beside a screen reader.
HANGMAN_SPEECH=system
mkdir -p "$out/orca-home"
HOME=$out/orca-home orca --replace >"$out/orca.log" 2>&1 &
on_exit="kill $! 2>/dev/null || true; ${on_exit:-:}"
heard "Screen reader on"
start_game orca
xdotool windowfocus --sync "$window"
keys Tab Tab
heard "Options push button"
keys Left Return
heard "Easy push button"
keys Return
keys q space
heard "notification Q"
close_game
[ "$status" -eq 0 ] || fail "exit status $status"
! grep -q ', button' "$out/heard.txt" || fail "the game's own voice spoke beside Orca: $(grep ', button' "$out/heard.txt")"
echo "screen reader: Orca said each button the ring moved to and the guess, the game's own voice kept quiet; closed with status 0"
