# shellcheck shell=sh
# shellcheck disable=SC2154 # program, assets, out and close_window come from the script that sources this file
# Shared steps of the end-to-end scripts: a private Xvfb display (of
# $screen pixels, 800x600 unless set), the real program started in it with
# its console read through a pipe, and xdotool input. Points are given in the
# game's 640 x 480 picture, which fills its window at the largest 4:3 size,
# centred, whatever the window's size. Source it after setting: program,
# assets, out, close_window (cover_window is expected beside it). With
# start_sway, the same steps run on Wayland.

fail() {
    echo "FAIL: $*"
    [ -n "${game:-}" ] && kill "$game" 2>/dev/null
    exit 1
}

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
    for _ in $(seq 100); do
        [ -s "$out/display" ] && break
        sleep 0.1
    done
    [ -s "$out/display" ] || fail "Xvfb did not start: $(cat "$out/xvfb.log")"
    DISPLAY=":$(head -n 1 "$out/display")"
    export DISPLAY
    for _ in $(seq 100); do
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb did not answer on $DISPLAY"
}

# shellcheck disable=SC2034 # for the scripts that source this file
cover_window=$(dirname "$close_window")/cover_window

# Starts the game: $program with $program_args, in a window titled $title
# ("SDL Tutorial" unless set) that must appear within $window_wait seconds
# (30 unless set). Its console goes through a pipe, as into `| tee`, and on
# to $out/console-$1.txt: lines arrive while it runs only if the game sends
# each line at once.
start_game() {
    console="$out/console-$1.txt"
    rm -f "$out/pipe-$1"
    mkfifo "$out/pipe-$1"
    cat "$out/pipe-$1" >"$console" &
    reader=$!
    # A script's background jobs start with SIGINT ignored; the game gets it
    # back as it would in a terminal.
    # shellcheck disable=SC2086 # program_args holds separate words
    (cd "$assets" && exec env --default-signal=INT "$program" ${program_args:-}) \
        >"$out/pipe-$1" 2>"$out/stderr-$1.txt" &
    game=$!
    window=""
    for _ in $(seq $((${window_wait:-30} * 10))); do
        window=$(find_window) || true
        [ -n "$window" ] && break
        if ! kill -0 "$game" 2>/dev/null; then
            wait "$reader" || true
            fail "the game ended before its window appeared: $(cat "$console" "$out/stderr-$1.txt")"
        fi
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window appeared in ${window_wait:-30} s"
    sleep 0.5
    window_geometry
}

# The window titled $title, once it is there.
find_window() {
    if [ -n "${SWAYSOCK:-}" ]; then
        swaymsg -t get_tree | jq -e --arg t "${title:-SDL Tutorial}" '.. | objects | select(.name? == $t) | .id' |
            head -n 1
    else
        xdotool search --name "^${title:-SDL Tutorial}\$" 2>/dev/null | head -n 1
    fi
}

# The window's place and size in the screen's pixels: wx, wy, ww, wh (sway
# counts in points, which an output's scale makes larger).
window_geometry() {
    if [ -n "${SWAYSOCK:-}" ]; then
        scale=$(swaymsg -t get_outputs | jq '.[0].scale')
        eval "$(swaymsg -t get_tree | jq -r --argjson id "$window" --argjson s "$scale" '.. | objects |
            select(.id? == $id) | .rect | "wx=\(.x * $s) wy=\(.y * $s) ww=\(.width * $s) wh=\(.height * $s)"')"
    else
        eval "$(xdotool getwindowgeometry --shell "$window")"
        wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
    fi
}

# The window point (tx, ty) over the middle of the picture's pixel ($1, $2).
to_window() {
    if [ $((ww * 480)) -gt $((wh * 640)) ]; then vw=$((wh * 640 / 480)) vh=$wh; else vw=$ww vh=$((ww * 480 / 640)); fi
    tx=$(((ww - vw) / 2 + (2 * $1 + 1) * vw / 1280))
    ty=$(((wh - vh) / 2 + (2 * $2 + 1) * vh / 960))
}

# Moves the pointer to a point of the picture, optionally clicking there.
point() { to_window "$1" "$2"; xdotool mousemove $((wx + tx)) $((wy + ty)); sleep 0.25; }
click() { point "$1" "$2"; xdotool click 1; sleep 0.4; }
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.08; done; sleep 0.3; }

# Saves what the window shows as $out/$1.png.
shot() {
    sleep 0.3
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
    for _ in $(seq 100); do
        SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null) || true
        [ -n "$SWAYSOCK" ] && swaymsg -t get_version >/dev/null 2>&1 && break
        sleep 0.1
    done
    [ -n "$SWAYSOCK" ] || fail "sway did not start: $(tail -n 5 "$out/sway.log")"
    for socket in "$XDG_RUNTIME_DIR"/wayland-?; do WAYLAND_DISPLAY=${socket##*/}; done
    SDL_VIDEODRIVER=wayland
    export XDG_RUNTIME_DIR SWAYSOCK WAYLAND_DISPLAY SDL_VIDEODRIVER
}

# Waits for the program to end and its console to be read; sets $status.
finish_game() {
    status=0
    wait "$game" || status=$?
    wait "$reader" || true
    game=""
}

# Waits up to $1 seconds for the program to end by itself; false if it did not.
ends_within() {
    for _ in $(seq $(($1 * 10))); do
        kill -0 "$game" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# CPU time the program used, in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }

# The console so far has the line $1 (the program still running).
console_has() { sleep 0.3; grep -qxF "$1" "$console"; }

# The secret word from developer mode's console lines (the latest game's).
secret_word() {
    sleep 0.3
    sed -n 's/^word = //p' "$console" | tail -n 1
}

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

# Types each letter of $1 followed by Space.
submit() {
    letters=$1
    while [ -n "$letters" ]; do
        rest=${letters#?}
        keys "${letters%"$rest"}" space
        letters=$rest
    done
}

# Moves the pointer over Start and expects its hover look in the screenshot $1.
# The pointer comes from elsewhere, so that it moves even where an earlier
# window left it on Start.
expect_start_hover() {
    point 320 20
    point 150 390
    shot "$1"
    case "$(pixel "$1" 100 375)" in
        *"242,177,52"*) ;;
        *) fail "Start does not show its hover look ($(pixel "$1" 100 375))" ;;
    esac
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
