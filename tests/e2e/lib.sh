# shellcheck shell=sh
# shellcheck disable=SC2154 # program, assets, out and close_window come from the script that sources this file
# Shared steps of the end-to-end scripts: a private Xvfb display (of
# $screen pixels, 800x600 unless set), the real program started in it with
# its console read through a pipe, and xdotool input. Points are given in the
# game's 640 x 480 picture, which fills its window at the largest 4:3 size,
# centred, whatever the window's size. Source it after setting: program,
# assets, out, close_window (cover_window and speech_stand_in are expected
# beside it). With start_sway, the same steps run on Wayland.
#
# No step waits a fixed time for the game: input is sent at once, and a
# script waits for the state it needs (what the game says, a line on its
# console, a pixel of a screenshot, a window). Each wait gives up after
# $guard seconds (60 unless set, far beyond what any step takes on a busy
# machine) and says what it waited for.

guard=${guard:-60}

# What is started here sees no desktop of the machine's: no session bus
# (libdbus would start one through X11 for the asking, and portals with
# it) unless a script starts its own, and no speech server started for it
# (a configuration of the script's own refuses speech-dispatcher's autospawn).
mkdir -p "$out/config/speech-dispatcher"
echo DisableAutoSpawn >"$out/config/speech-dispatcher/speechd.conf"
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/hangman-tests/bus
XDG_CONFIG_HOME=$out/config
export DBUS_SESSION_BUS_ADDRESS XDG_CONFIG_HOME

fail() {
    echo "FAIL: $*"
    [ -n "${game:-}" ] && kill "$game" 2>/dev/null
    exit 1
}

# From a folder beside tests/support, unless $tests_dir names tests/.
# shellcheck source=../support/wait.sh
. "${tests_dir:-$(dirname "$0")/..}/support/wait.sh"

start_display() {
    mkdir -p "$out"
    # Xvfb picks a free display itself and writes its number to fd 3; it must
    # not reset when its last client leaves, or the next one may find no server.
    : >"$out/display"
    Xvfb -displayfd 3 -noreset -screen 0 "${screen:-800x600}x24" -nolisten tcp 3>"$out/display" \
        >"$out/xvfb.log" 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true; eval "${on_exit:-:}"' EXIT
    trap 'exit 1' INT TERM HUP
    wait_until "Xvfb to start ($(cat "$out/xvfb.log"))" test -s "$out/display"
    DISPLAY=":$(head -n 1 "$out/display")"
    export DISPLAY
    wait_until "Xvfb to answer on $DISPLAY" xdotool getmouselocation
}

# shellcheck disable=SC2034 # for the scripts that source this file
cover_window=$(dirname "$close_window")/cover_window
speech_stand_in=$(dirname "$close_window")/speech_stand_in

# Starts the stand-in speech server: the games started from then on speak
# to it, and heard() waits for what they say. Without it they are silent.
start_speech() {
    rm -f "$out/heard.txt" "$out/speech.sock"
    : >"$out/heard.txt"
    "$speech_stand_in" "$out/speech.sock" "$out/heard.txt" &
    speech_server=$!
    on_exit="kill $speech_server 2>/dev/null || true; ${on_exit:-:}"
    wait_until "the stand-in speech server" test -S "$out/speech.sock"
    SPEECHD_ADDRESS=unix_socket:$out/speech.sock
    HANGMAN_SPEECH=on
    export SPEECHD_ADDRESS HANGMAN_SPEECH
    heard_lines=0
}

# Stops the stand-in speech server: the games started from then on are silent.
stop_speech() {
    kill "$speech_server" 2>/dev/null || true
    wait "$speech_server" 2>/dev/null || true
    speech_server=""
    HANGMAN_SPEECH=off
}

# Starts a session bus of the script's own: the games started from then on
# find the desktop's services on it (the stand-ins that scripts put there).
start_session_bus() {
    rm -f "$out/bus"
    mkfifo "$out/bus"
    dbus-daemon --session --nofork --print-address=3 3>"$out/bus" >"$out/dbus.log" 2>&1 &
    on_exit="kill $! 2>/dev/null || true; ${on_exit:-:}"
    read -r DBUS_SESSION_BUS_ADDRESS <"$out/bus"
    export DBUS_SESSION_BUS_ADDRESS
}

# Starts the accessibility bus on the session bus (start_session_bus first),
# as a desktop does, with the screen-reader flag on: the games started from
# then on serve their accessibility tree there.
start_a11y_bus() {
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$out/a11y.log" 2>&1 &
    on_exit="kill $! 2>/dev/null || true; ${on_exit:-:}"
    wait_until "the accessibility bus" a11y_bus_answers
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:ScreenReaderEnabled \
        variant:boolean:true >/dev/null
}
a11y_bus_answers() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
        >/dev/null 2>&1
}

# Waits until the game says a text that begins with $1, after the last one
# waited for.
heard() { wait_until "the game to say \"$1\"" said "$1"; }
said() {
    line=$(awk -v from="$heard_lines" -v want="$1" 'NR > from && index($0, want) == 1 { print NR; exit }' \
        "$out/heard.txt")
    [ -n "$line" ] && heard_lines=$line
}

# Starts the game: $program with $program_args, in a window titled $title
# ("SDL Tutorial" unless set) that must appear within $window_wait seconds
# ($guard unless set). Its console goes through a pipe, as into `| tee`, and
# on to $out/console-$1.txt: lines arrive while it runs only if the game
# sends each line at once. With speech, it returns once the main menu has
# been told; without, once the window is mapped.
start_game() {
    console="$out/console-$1.txt"
    rm -f "$out/pipe-$1"
    mkfifo "$out/pipe-$1"
    cat "$out/pipe-$1" >"$console" &
    reader=$!
    # A script's background jobs start with SIGINT ignored; the game gets it
    # back as it would in a terminal. It speaks only to the stand-in server.
    # shellcheck disable=SC2086 # program_args holds separate words
    (cd "$assets" && exec env --default-signal=INT HANGMAN_SPEECH="${HANGMAN_SPEECH:-off}" \
        "$program" ${program_args:-}) >"$out/pipe-$1" 2>"$out/stderr-$1.txt" &
    game=$!
    window=""
    steps=$guard
    guard=${window_wait:-$guard}
    wait_until "the game's window" game_window_shown "$1"
    guard=$steps
    [ -z "${speech_server:-}" ] || heard "Main menu."
}

# True once the game's window is there and mapped; fails at once if the
# game ended first.
game_window_shown() {
    if ! kill -0 "$game" 2>/dev/null; then
        wait "$reader" || true
        fail "the game ended before its window appeared: $(cat "$console" "$out/stderr-$1.txt")"
    fi
    window=$(find_window) && [ -n "$window" ] && window_mapped && window_geometry
}

# The window titled $title, once it is there.
find_window() {
    if [ -n "${SWAYSOCK:-}" ]; then
        swaymsg -t get_tree | jq -e --arg t "${title:-SDL Tutorial}" '.. | objects | select(.name? == $t) | .id' |
            head -n 1
    else
        xdotool search --onlyvisible --name "^${title:-SDL Tutorial}\$" 2>/dev/null | head -n 1
    fi
}

# True while $window is shown (on sway, whenever it is in the tree).
window_mapped() {
    [ -n "${SWAYSOCK:-}" ] || xwininfo -id "$window" 2>/dev/null | grep -q 'Map State: IsViewable'
}

# The window's place and size in the screen's pixels: wx, wy, ww, wh (sway
# counts in points, which an output's scale makes larger); false, with
# nothing set, when the window is not there (any more).
window_geometry() {
    if [ -n "${SWAYSOCK:-}" ]; then
        scale=$(swaymsg -t get_outputs | jq '.[0].scale') &&
            geometry=$(swaymsg -t get_tree | jq -r --argjson id "$window" --argjson s "$scale" '.. | objects |
                select(.id? == $id) | .rect | "wx=\(.x * $s) wy=\(.y * $s) ww=\(.width * $s) wh=\(.height * $s)"') ||
            return 1
    else
        # xwininfo's absolute corner: right also inside a window manager's frame.
        geometry=$(xwininfo -id "$window" 2>/dev/null | awk -F: '/Absolute upper-left X/ { print "wx=" $2 }
            /Absolute upper-left Y/ { print "wy=" $2 } /Width/ { print "ww=" $2 } /Height/ { print "wh=" $2 }' |
            tr -d ' ') || return 1
    fi
    case $geometry in *wx=*wy=*ww=*wh=*) eval "$geometry" ;; *) return 1 ;; esac
}

# The window point (tx, ty) over the middle of the picture's pixel ($1, $2).
to_window() {
    if [ $((ww * 480)) -gt $((wh * 640)) ]; then vw=$((wh * 640 / 480)) vh=$wh; else vw=$ww vh=$((ww * 480 / 640)); fi
    tx=$(((ww - vw) / 2 + (2 * $1 + 1) * vw / 1280))
    ty=$(((wh - vh) / 2 + (2 * $2 + 1) * vh / 960))
}

# Moves the pointer to a point of the picture, optionally clicking there;
# types keys. The game takes them in order; a script waits for what they do.
point() { to_window "$1" "$2"; xdotool mousemove --sync $((wx + tx)) $((wy + ty)); }
click() { point "$1" "$2"; xdotool click 1; }
keys() { xdotool key "$@"; }

# Saves what the window shows as $out/$1.png.
shot() {
    if [ -n "${SWAYSOCK:-}" ]; then
        grim - | convert - -crop "${ww}x$wh+$wx+$wy" +repage "$out/$1.png"
    else
        import -window root -crop "${ww}x$wh+$wx+$wy" +repage "$out/$1.png"
    fi
}

# The colour of the picture's pixel ($2, $3) in the screenshot $1, as
# ImageMagick writes it; window_pixel takes window coordinates.
pixel() { to_window "$2" "$3"; window_pixel "$1" "$tx" "$ty"; }
window_pixel() { convert "$out/$1.png" -format "%[pixel:p{$2,$3}]" info:; }

# Takes screenshots as $out/$1.png until the picture's pixel ($2, $3) has
# the colour $4 ("r,g,b"), for $5 (what it shows then).
shot_until() {
    wait_until "$5 (the pixel $2,$3 to be $4)" shows "$@"
}
shows() {
    shot "$1"
    case "$(pixel "$1" "$2" "$3")" in *"$4"*) return 0 ;; *) return 1 ;; esac
}

# Asks the window to close and waits for the program; sets $status.
close_game() {
    if [ -n "${SWAYSOCK:-}" ]; then
        swaymsg "[con_id=$window] kill" >/dev/null || fail "could not send the close request"
    else
        "$close_window" "$window" || fail "could not send the close request"
    fi
    finish_game
}

# Starts sway on its X11 back end in the Xvfb (start_display first), with one
# output of $1 pixels; sway refuses root, so as root it runs as nobody. The
# games started from then on play on Wayland.
start_sway() {
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/hangman-wayland-XXXXXX)
    as_user=""
    if [ "$(id -u)" -eq 0 ]; then
        chown nobody "$XDG_RUNTIME_DIR"
        as_user="setpriv --reuid=nobody --regid=nogroup --clear-groups"
    fi
    printf 'xwayland disable\ndefault_border none\noutput * mode %s bg #000000 solid_color\n' "$1" \
        >"$XDG_RUNTIME_DIR/config"
    chmod 644 "$XDG_RUNTIME_DIR/config"
    # shellcheck disable=SC2086 # as_user holds separate words
    env XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" HOME="$XDG_RUNTIME_DIR" WLR_BACKENDS=x11 \
        WLR_RENDERER=pixman WLR_X11_OUTPUTS=1 $as_user sway -c "$XDG_RUNTIME_DIR/config" \
        >"$out/sway.log" 2>&1 &
    sway=$!
    on_exit="kill $sway 2>/dev/null || true; rm -rf $XDG_RUNTIME_DIR; ${on_exit:-:}"
    wait_until "sway to start ($(tail -n 5 "$out/sway.log"))" sway_answers
    for socket in "$XDG_RUNTIME_DIR"/wayland-?; do WAYLAND_DISPLAY=${socket##*/}; done
    SDL_VIDEODRIVER=wayland
    export XDG_RUNTIME_DIR SWAYSOCK WAYLAND_DISPLAY SDL_VIDEODRIVER
}
sway_answers() {
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null) && [ -n "$SWAYSOCK" ] &&
        SWAYSOCK=$SWAYSOCK swaymsg -t get_version >/dev/null 2>&1
}

# True once the window has the size $1 (as "<width>x<height>").
window_sized() { window_geometry; [ "${ww}x$wh" = "$1" ]; }

# Waits for the program to end and its console to be read; sets $status.
finish_game() {
    status=0
    wait "$game" || status=$?
    wait "$reader" || true
    game=""
}

# Waits up to $1 seconds for the program to end by itself; false if it did not.
ends_within() {
    deadline=$(($(date +%s) + $1))
    while kill -0 "$game" 2>/dev/null; do
        [ "$(date +%s)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# CPU time the program used, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }

# Waits until the program uses no CPU for a while: asleep, waiting for input.
wait_asleep() { wait_until "the game to go to sleep" no_cpu_since_last_look; }
no_cpu_since_last_look() {
    now=$(cpu_ticks)
    [ "$now" = "${last_ticks:-}" ] && sleep 0.2 && [ "$(cpu_ticks)" = "$now" ]
    quiet=$?
    last_ticks=$now
    return $quiet
}

# Waits for the console line $1 (the program still running; a Windows
# program's line ends may be CR LF).
console_has() { wait_until "the console line \"$1\"" has_line "$1"; }
has_line() { tr -d '\r' <"$console" | grep -qxF "$1"; }

# The secret word from developer mode's console lines, once the latest game
# has printed it.
secret_word() {
    wait_until "a secret word on the console ($(grep -c '^word = ' "$console") so far)" \
        test "$(grep -c '^word = ' "$console")" -gt "${words_seen:-0}"
    words_seen=$(grep -c '^word = ' "$console")
    sed -n 's/^word = //p' "$console" | tail -n 1 | tr -d '\r'
}

# $1 in capitals, as the game tells letters.
upper() { echo "$1" | tr '[:lower:]' '[:upper:]'; }

# Letters not in the word $1, as many as $2.
letters_not_in() {
    echo qxzjkvwybfhmpgdcultsrnoiea | awk -v word="$1" -v n="$2" '{
        out = ""
        for (i = 1; i <= length($0) && length(out) < n; i++) {
            l = substr($0, i, 1)
            if (!index(word, l)) out = out l
        }
        print out
    }'
}

# Distinct letters of a word, in order.
distinct_letters() {
    echo "$1" | awk '{ out = ""; for (i = 1; i <= length($0); i++) { l = substr($0, i, 1); if (!index(out, l)) out = out l } print out }'
}

# Types each letter of $1 followed by Space; with speech, waits for each
# guess to be told.
submit() {
    letters=$1
    while [ -n "$letters" ]; do
        rest=${letters#?}
        letter=${letters%"$rest"}
        keys "$letter" space
        [ -z "${speech_server:-}" ] || heard "$(upper "$letter") "
        letters=$rest
    done
}

# Moves the pointer over Start and expects its hover look in the screenshot $1.
# The pointer comes from elsewhere, so that it moves even where an earlier
# window left it on Start. It moves again whenever the window has moved or
# changed size since (a window manager may still be placing a new window),
# and after every 20 looks without the hover (a motion the game took while
# its window was still changing), as a player's hand would.
expect_start_hover() {
    pointed="" looks=0
    wait_until "Start's hover look (the pixel 100,375 to be 242,177,52)" start_hovered "$1"
}
start_hovered() {
    window_geometry || return 1
    looks=$((looks + 1))
    if [ "$pointed" != "$wx $wy $ww $wh" ] || [ $((looks % 20)) -eq 0 ]; then
        point 320 20
        point 150 390
        pointed="$wx $wy $ww $wh"
    fi
    shows "$1" 100 375 "242,177,52"
}

# Starts the game, checks that its menu answers the pointer, asks its window
# to close, and expects the two start-up lines and exit status 0.
expect_start_and_close() {
    start_game "$1"
    expect_start_hover "menu-$1"
    close_game
    expect_console "initialize complete!
load media complete!"
    [ "$status" -eq 0 ] || fail "exit status $status after a close request"
}

expect_console() {
    if [ "$(cat "$console")" != "$1" ]; then
        echo "FAIL: console text differs. Expected:"
        printf '%s\n' "$1"
        echo "Got:"
        cat "$console"
        exit 1
    fi
}
