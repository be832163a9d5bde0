#!/bin/sh
# End to end on Wayland: the real program on sway (its X11 back end in an
# Xvfb, driven by xdotool), in a window that sway tiles to a 1280 x 800
# output. The picture must fill the window's height, centred on the board
# colour, with no white; a developer-mode game is won by presses where the
# buttons are shown and by typed keys; F11 makes the window fullscreen and
# leaves the win picture up; a close request ends the program with status 0.
# Then, on the output scaled by 2, the game must draw at the output's pixels:
# the same screen as at scale 1, pixel for pixel.
#
#   wayland.sh <game binary> <folder with pngs/ and png/> <output folder> <close_window binary>
set -eu
program=$1 assets=$2 out=$3 close_window=$4 screen=1280x800
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"
board="35,49,58"

start_display
start_sway 1280x800
start_speech
start_game wayland
[ "${ww}x$wh" = 1280x800 ] || fail "the window is ${ww}x$wh, not tiled to the 1280 x 800 output"
expect_start_hover menu
for x in 0 100 1180 1279; do
    case "$(window_pixel menu "$x" 400)" in *"$board"*) ;; *) fail "the window at $x,400 is not the board colour" ;; esac
done
white=$(convert "$out/menu.png" -fill black +opaque white -format '%[fx:round(mean*w*h)]' info:)
[ "$white" -eq 0 ] || fail "$white white pixels in the window"

click 460 390                      # Options
heard "Options."
click 230 367                      # developer mode on
heard "Developer mode, switch, on."
point 600 460
shot_until options 215 362 "116,201,116" "the switch on, at rest"
click 606 26                       # Back
heard "Main menu."
click 180 390                      # Start
heard "Choose a level."
click 320 230                      # Easy
heard "Game."
word=$(secret_word)
submit "$(distinct_letters "$word")"
heard "You won!"
shot_until win 20 130 "116,201,116" "the win picture"
keys F11
fullscreen() {
    swaymsg -t get_tree | jq -e --argjson id "$window" '.. | objects | select(.id? == $id) |
        .fullscreen_mode == 1' >/dev/null
}
wait_until "F11 to make the window fullscreen" fullscreen
shot_until fullscreen 20 130 "116,201,116" "the win picture, fullscreen"
close_game
[ "$status" -eq 0 ] || fail "exit status $status after a close request"
echo "wayland: tiled 1280 x 800, the picture letterboxed with no white; won \"$word\" by presses" \
    "and keys; F11 made it fullscreen and kept the win picture; closed with status 0"

# On an output scaled by 2 the window is 640 x 400 points of 1280 x 800 pixels.
swaymsg output '*' scale 2 >/dev/null
start_game high-dpi
click 460 390                      # Options
heard "Options."
click 230 367                      # developer mode on
heard "Developer mode, switch, on."
point 600 460
shot_until options-high-dpi 215 362 "116,201,116" "the switch on, at rest"
differing=$(compare -metric AE "$out/options.png" "$out/options-high-dpi.png" null: 2>&1) || true
[ "$differing" = 0 ] || fail "at scale 2, $differing pixels differ from scale 1 (not drawn at the output's pixels)"
close_game
[ "$status" -eq 0 ] || fail "exit status $status after a close request at scale 2"
echo "wayland: on an output scaled by 2, drawn at its pixels, the same as at scale 1; closed with status 0"
