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
xprop -id "$window" _NET_WM_ICON | grep -q "Icon (64 x 64)" ||
    fail "the window has no 64 x 64 icon: $(xprop -id "$window" _NET_WM_ICON | head -c 80)"
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
