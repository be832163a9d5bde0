#!/bin/sh
# End to end: the real program in a real X window (Xvfb). Checks that the
# window has the game's icon, moves the pointer over Start and checks the
# hover look in a screenshot, then closes the window and checks the console
# text and the exit status.
#
#   menu.sh <game binary> <folder with pngs/ and png/> <output folder> <close_window binary>
set -eu
program=$1 assets=$2 out=$3 close_window=$4
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

start_display
start_game menu
xprop -id "$window" _NET_WM_ICON | grep -q "Icon (64 x 64)" ||
    fail "the window has no 64 x 64 icon: $(xprop -id "$window" _NET_WM_ICON | head -c 80)"
expect_start_hover menu-hover-start
close_game
expect_console "initialize complete!
load media complete!"
[ "$status" -eq 0 ] || fail "exit status $status"
echo "end to end, menu: window icon set, hover shown, console text exact, exit status 0"
