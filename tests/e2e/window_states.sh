#!/bin/sh
# End to end: the window hidden, shown again and covered on every screen,
# the win and lose pictures included. While hidden the game must use next to
# no CPU; shown again or uncovered, the window must show its screen, not
# black. Then a close request, SIGTERM and SIGINT each end a hidden game.
# Last, under a window manager (openbox): a maximised window made fullscreen
# and back is maximised again, and the click that brings the window to the
# front also presses the button under it.
#
#   window_states.sh <game binary> <folder with pngs/ and png/> <output folder> <close_window binary>
set -eu
program=$1 assets=$2 out=$3 close_window=$4
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

ticks_per_second=$(getconf CLK_TCK)
board="35,49,58"     # the screens' background
won="116,201,116"    # the win card's border
lost="232,92,82"     # the lose card's border

check_screen() {
    name=$1
    xdotool windowunmap --sync "$window"
    wait_asleep
    before=$(cpu_ticks)
    sleep 1                        # a second of rest, measured
    used=$(($(cpu_ticks) - before))
    echo "$name: $used clock ticks of CPU in 1 s hidden"
    # A loop that kept drawing would use a sixth of a core or more here.
    [ "$used" -le $((ticks_per_second / 20)) ] || fail "$name: $used ticks of CPU in 1 s while hidden"
    xdotool windowmap --sync "$window"
    xdotool windowfocus --sync "$window"   # no window manager gives the focus back
    shot_until "$name-shown" "$2" "$3" "$4" "$name, shown again"
    "$cover_window" "$window" 300
    shot_until "$name-uncovered" "$2" "$3" "$4" "$name, uncovered"
}

start_display
start_speech

start_game screens
check_screen menu 320 5 "$board"
click 460 390                      # Options
heard "Options."
click 230 367                      # developer mode on
heard "Developer mode, switch, on."
check_screen options 320 5 "$board"
click 606 26                       # Back
heard "Main menu."
click 180 390                      # Start
heard "Choose a level."
check_screen difficulty 320 5 "$board"
click 320 230                      # Easy
heard "Game."
word=$(secret_word)
check_screen game 320 5 "$board"
submit "$(distinct_letters "$word")"
check_screen win 20 130 "$won"
keys Return
heard "Main menu."
click 180 390                      # Start
heard "Choose a level."
click 320 230                      # Easy
heard "Game."
word=$(secret_word)
submit "$(letters_not_in "$word" 6)"
check_screen lose 20 130 "$lost"
keys Return
heard "Main menu."
xdotool windowunmap --sync "$window"
close_game
[ "$status" -eq 0 ] || fail "exit status $status after a close request while hidden"
echo "window states: every screen rests while hidden and shows itself again; closed while hidden"

for signal in TERM INT; do
    start_game "sig$signal"
    click 180 390                  # Start
    heard "Choose a level."
    click 320 310                  # Medium
    heard "Game."
    xdotool windowunmap --sync "$window"
    wait_asleep
    started=$(date +%s%N)
    kill -s "$signal" "$game"
    ends_within "$guard" || fail "SIG$signal did not end a hidden game within $guard s"
    finish_game
    echo "SIG$signal, hidden game: ended in $((($(date +%s%N) - started) / 1000000)) ms"
    [ "$status" -eq 0 ] || fail "exit status $status after SIG$signal"
    expect_console "initialize complete!
load media complete!"
done
echo "window states: SIGTERM and SIGINT end a hidden game with exit status 0"

# ---- Under a window manager.
openbox --sm-disable >"$out/openbox.log" 2>&1 &
on_exit="kill $! 2>/dev/null || true; ${on_exit:-:}"
wait_until "openbox to manage the screen" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
start_game managed
maximised() { xprop -id "$window" _NET_WM_STATE | grep -q 'MAXIMIZED_VERT.*MAXIMIZED_HORZ'; }
fullscreen() { xprop -id "$window" _NET_WM_STATE | grep -q FULLSCREEN; }
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
wait_until "the window to be maximised" maximised
xdotool windowactivate --sync "$window"
keys F11
wait_until "F11 to make the window fullscreen" fullscreen
keys F11
wait_until "F11 again to bring the window back maximised ($(xprop -id "$window" _NET_WM_STATE))" maximised
wait_until "the maximised window's place" window_geometry
# Another program in front; the one click on Start brings the game back and presses.
xmessage -geometry +0+0 "in front" &
other=$!
on_exit="kill $other 2>/dev/null || true; ${on_exit:-:}"
wait_until "the other window" sh -c 'xdotool search --onlyvisible --name "^xmessage\$" >/dev/null'
xdotool mousemove --sync 20 20 click 1
wait_until "the other window to have the focus" sh -c 'xdotool getactivewindow getwindowname | grep -qx xmessage'
click 180 390                      # Start
heard "Choose a level."
close_game
[ "$status" -eq 0 ] || fail "exit status $status under openbox"
echo "window states, openbox: maximised, fullscreen and back maximised; the click that focuses the window pressed Start"
