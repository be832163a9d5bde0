#!/bin/sh
# End to end: the window hidden, shown again and covered on every screen,
# the win and lose pictures included. While hidden the game must use next to
# no CPU; shown again or uncovered, the window must show its screen, not
# black. Then a close request, SIGTERM and SIGINT each end a hidden game.
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

# Hides the window (unmapping it, as minimising does), checks that the game
# rests, shows it again, then covers and uncovers it; after each, pixel
# ($2, $3) of the window must have the colour $4.
check_screen() {
    name=$1
    xdotool windowunmap --sync "$window"
    sleep 0.3
    before=$(cpu_ticks)
    sleep 1
    used=$(($(cpu_ticks) - before))
    echo "$name: $used clock ticks of CPU in 1 s hidden"
    # A loop that kept drawing would use a sixth of a core or more here.
    [ "$used" -le $((ticks_per_second / 20)) ] || fail "$name: $used ticks of CPU in 1 s while hidden"
    xdotool windowmap --sync "$window"
    xdotool windowfocus --sync "$window"   # no window manager gives the focus back
    shot "$name-shown"
    case "$(pixel "$name-shown" "$2" "$3")" in *"$4"*) ;; *) fail "$name: shown again, the window shows $(pixel "$name-shown" "$2" "$3")" ;; esac
    "$cover_window" "$window" 300
    shot "$name-uncovered"
    case "$(pixel "$name-uncovered" "$2" "$3")" in *"$4"*) ;; *) fail "$name: uncovered, the window shows $(pixel "$name-uncovered" "$2" "$3")" ;; esac
}

start_display

# ---- Every screen, in developer mode to read the secret words.
start_game screens
check_screen menu 320 5 "$board"
click 460 390                      # Options
click 230 367                      # developer mode on
check_screen options 320 5 "$board"
click 606 26                       # Back
click 180 390                      # Start
check_screen difficulty 320 5 "$board"
click 320 230                      # Easy
word=$(secret_word)
[ -n "$word" ] || fail "no secret word on the console"
check_screen game 320 5 "$board"
submit "$(distinct_letters "$word")"
check_screen win 20 130 "$won"
keys Return
click 180 390                      # Start
click 320 230                      # Easy
word=$(secret_word)
submit "$(letters_not_in "$word" 6)"
check_screen lose 20 130 "$lost"
keys Return
xdotool windowunmap --sync "$window"
close_game
[ "$status" -eq 0 ] || fail "exit status $status after a close request while hidden"
echo "window states: every screen rests while hidden and shows itself again; closed while hidden"

# ---- Signals while hidden: the game ends at once, with its usual shutdown.
for signal in TERM INT; do
    start_game "sig$signal"
    click 180 390                  # Start
    click 320 310                  # Medium
    xdotool windowunmap --sync "$window"
    sleep 0.5
    started=$(date +%s%N)
    kill -s "$signal" "$game"
    ends_within 20 || fail "SIG$signal did not end a hidden game within 20 s"
    finish_game
    echo "SIG$signal, hidden game: ended in $((($(date +%s%N) - started) / 1000000)) ms"
    [ "$status" -eq 0 ] || fail "exit status $status after SIG$signal"
    expect_console "initialize complete!
load media complete!"
done
echo "window states: SIGTERM and SIGINT end a hidden game with exit status 0"
