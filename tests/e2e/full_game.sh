#!/bin/sh
# End to end: a whole session with real mouse and keyboard input. Turns
# developer mode on, goes back, starts an easy game, reads the secret word
# from the console and types it to a win, starts another game and loses it,
# then closes the window from the main menu. Checks the whole console text
# and exit status 0, and takes a screenshot of every screen on the way.
# A second run closes the window in the middle of a game.
#
#   full_game.sh <game binary> <folder with pngs/ and png/> <output folder> <close_window binary>
set -eu
program=$1 assets=$2 out=$3 close_window=$4
# shellcheck source=lib.sh
. "$(dirname "$0")/lib.sh"

# What a game of the word $1 prints in developer mode, the letters $2 each
# submitted: the desktop build's own text (reference_frame).
game_lines() {
    "$(dirname "$close_window")/reference_frame" - game-console "$1" "$(echo "$2" | sed 's/./& /g')"
}

start_display

# ---- Run 1: developer mode, a won game, a lost game, close from the menu.
start_game session
point 500 200
shot menu
click 460 390                      # Options
shot options-off
click 230 367                      # the switch: developer mode on
console_has "dev_mode turned on." || fail "the line did not come through the pipe while the game ran"
point 400 250
shot options-on
click 606 26                       # Back
point 500 200
sleep 1
shot menu-developer
click 180 390                      # Start
point 320 310
shot difficulty
click 320 230                      # Easy
point 600 460
first=$(secret_word)
[ -n "$first" ] || fail "no secret word on the console"
wrong=$(letters_not_in "$first" 1)
right=$(distinct_letters "$first")
last=${right#"${right%?}"}
submit "$wrong${right%?}"
keys "$last"
shot game
keys space
shot win
case "$(pixel win 20 130)" in *"116,201,116"*) ;; *) fail "no win picture ($(pixel win 20 130))" ;; esac
keys Return                        # back to the main menu
click 180 390                      # Start
click 320 230                      # Easy
point 600 460
second=$(secret_word)
[ -n "$second" ] || fail "no second secret word on the console"
losing=$(letters_not_in "$second" 6)
submit "$losing"
shot lose
case "$(pixel lose 20 130)" in *"232,92,82"*) ;; *) fail "no lose picture ($(pixel lose 20 130))" ;; esac
keys a                             # back to the main menu
point 500 200
shot menu-after-games
close_game
[ "$status" -eq 0 ] || fail "exit status $status after the session"

expected="$out/expected-session.txt"
{
    printf 'initialize complete!\nload media complete!\n'
    printf 'dev_mode turned on.\nback button has been pressed.\n'
    printf 'start button has been pressed.\neasy button has been pressed.\n'
    game_lines "$first" "$wrong$right"
    printf 'start button has been pressed.\neasy button has been pressed.\n'
    game_lines "$second" "$losing"
} >"$expected"
cmp -s "$expected" "$console" || {
    echo "FAIL: console text differs"; diff "$expected" "$console"; exit 1
}
echo "end to end, session: won \"$first\", lost \"$second\", console text exact, exit status 0"

# ---- Run 2: the window closed in the middle of a game.
start_game close-in-game
click 180 390                      # Start
click 320 300                      # Medium
keys e
close_game
[ "$status" -eq 0 ] || fail "exit status $status after closing in a game"
expect_console "initialize complete!
load media complete!"
echo "end to end, closed in a game: console text exact, exit status 0"
