#!/bin/sh
# End to end: whole sessions with real mouse and keyboard input, the game
# speaking to a stand-in speech server. Run 1 turns developer mode on, goes
# back, starts an easy game, reads the secret word from the console and
# types it to a win, starts another game and loses it, then closes the
# window from the main menu; it takes a screenshot of every screen on the
# way. Run 2 plays as a keyboard alone would, menus included, and checks
# what the game says at each step: the menu, the focused button, a guess
# with the tries left, the win. Both check the whole console text and exit
# status 0. A third run closes the window in the middle of a game.
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

# The console of a session: developer mode turned on, then an easy game of
# the word $1 with the letters $2 guessed, and one of $3 with $4.
expect_session() {
    {
        printf 'initialize complete!\nload media complete!\n'
        printf 'dev_mode turned on.\nback button has been pressed.\n'
        printf 'start button has been pressed.\neasy button has been pressed.\n'
        game_lines "$1" "$2"
        if [ -n "${3:-}" ]; then
            printf 'start button has been pressed.\neasy button has been pressed.\n'
            game_lines "$3" "$4"
        fi
    } >"$out/expected-$session.txt"
    cmp -s "$out/expected-$session.txt" "$console" || {
        echo "FAIL: console text differs"; diff "$out/expected-$session.txt" "$console"; exit 1
    }
}

# The word $1 spelled as the game tells it, the letters of $2 found: "F blank O blank".
told_word() {
    echo "$1" | awk -v found="$2" '{
        out = ""; run = 0; after_run = 0
        for (i = 1; i <= length($0) + 1; i++) {
            l = substr($0, i, 1)
            if (l != "" && !index(found, l)) { run++; continue }
            if (run >= 3) {
                out = out (out == "" ? "" : ", ") run " unknown letters"; after_run = 1
            } else {
                for (j = 0; j < run; j++) { out = out (out == "" ? "" : (after_run ? ", " : " ")) "blank"; after_run = 0 }
            }
            run = 0
            if (l != "") { out = out (out == "" ? "" : (after_run ? ", " : " ")) toupper(l); after_run = 0 }
        }
        printf "%s", out
    }'
}

start_display
start_speech

# ---- Run 1: by the mouse, developer mode, a won game, a lost game, close from the menu.
session=session
start_game $session
point 500 200
shot menu
click 460 390                      # Options
heard "Options. Buttons: Developer mode, Back."
point 400 250
shot options-off
click 230 367                      # the switch: developer mode on
heard "Developer mode, switch, on."
console_has "dev_mode turned on." || fail "the line did not come through the pipe while the game ran"
point 400 250
shot options-on
click 606 26                       # Back
heard "Main menu."
point 500 200
shot_until menu-developer 460 375 "48,67,79" "Options at rest"
click 180 390                      # Start
heard "Choose a level."
point 320 310
shot_until difficulty 240 295 "242,177,52" "Medium's hover look"
click 320 230                      # Easy
heard "Game."
point 600 460
first=$(secret_word)
wrong=$(letters_not_in "$first" 1)
right=$(distinct_letters "$first")
last=${right#"${right%?}"}
submit "$wrong${right%?}"
keys "$last"
heard "Letter $(upper "$last")."
shot game
keys space
heard "You won!"
shot_until win 20 130 "116,201,116" "the win picture"
keys Return                        # back to the main menu
heard "Main menu."
click 180 390                      # Start
heard "Choose a level."
click 320 230                      # Easy
heard "Game."
point 600 460
second=$(secret_word)
losing=$(letters_not_in "$second" 6)
submit "$losing"
heard "You lost."
shot_until lose 20 130 "232,92,82" "the lose picture"
keys a                             # back to the main menu
heard "Main menu."
point 500 200
shot menu-after-games
close_game
[ "$status" -eq 0 ] || fail "exit status $status after the session"
expect_session "$first" "$wrong$right" "$second" "$losing"
echo "end to end, session: won \"$first\", lost \"$second\", console text exact, exit status 0"

# ---- Run 2: the keyboard alone, what the game says heard at each step.
session=keyboard
start_game $session
keys Tab
heard "Start, button"
keys Right
heard "Options, button"
keys Return
heard "Options. Buttons: Developer mode, Back. Focused: Developer mode, switch, off."
keys space                         # developer mode on
heard "Developer mode, switch, on."
keys Escape
heard "Main menu. Buttons: Start, Options. Focused: Options, button."
keys Left
heard "Start, button"
keys Return
heard "Choose a level. Buttons: Easy, 4 letters; Medium, 7 to 9 letters; Hard, 8 to 13 letters; Back. Focused: Easy, button, 4 letters."
shot keyboard-difficulty           # the focus ring, on Easy
keys Return
heard "Game. A word of 4 letters, 6 tries."
word=$(secret_word)
wrong=$(letters_not_in "$word" 1)
right=$(distinct_letters "$word")
keys "$wrong"
heard "Letter $(upper "$wrong")."
keys space
heard "$(upper "$wrong") is not in the word. The word: $(told_word "$word" ""), 0 of 4 letters found. 5 tries left."
submit "$right"
heard "You won! The word: $(told_word "$word" "$right"), 4 of 4 letters found. 5 tries left."
keys Shift_L Control_L             # a modifier alone stays on the win picture
keys Return
heard "Main menu. Buttons: Start, Options. Focused: Start, button."
close_game
[ "$status" -eq 0 ] || fail "exit status $status after the keyboard's session"
expect_session "$word" "$wrong$right"
echo "end to end, the keyboard alone: won \"$word\", each step heard, console text exact, exit status 0"

# ---- Run 3: the window closed in the middle of a game.
session=close-in-game
start_game $session
click 180 390                      # Start
heard "Choose a level."
click 320 300                      # Medium
heard "Game."
keys e
heard "Letter E."
close_game
[ "$status" -eq 0 ] || fail "exit status $status after closing in a game"
[ "$(tail -n 1 "$out/heard.txt")" = "Letter E." ] ||
    fail "the game spoke after the close request: $(tail -n 2 "$out/heard.txt")"
expect_console "initialize complete!
load media complete!"
echo "end to end, closed in a game: console text exact, exit status 0"
