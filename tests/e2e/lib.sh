# Shared steps of the end-to-end scripts: a private Xvfb display, the real
# program started in it with its console captured, and xdotool input in
# window coordinates. Source it after setting: program, assets, out,
# close_window.

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
    Xvfb -displayfd 3 -noreset -screen 0 800x600x24 -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true; eval "${on_exit:-:}"' EXIT
    for _ in $(seq 100); do
        [ -s "$out/display" ] && break
        sleep 0.1
    done
    [ -s "$out/display" ] || fail "Xvfb did not start: $(cat "$out/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$out/display")"
    for _ in $(seq 100); do
        xdotool getmouselocation >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb did not answer on $DISPLAY"
}

# Starts the game; its console goes unbuffered to $out/console-$1.txt.
start_game() {
    console="$out/console-$1.txt"
    (cd "$assets" && exec stdbuf -o0 "$program") >"$console" 2>"$out/stderr-$1.txt" &
    game=$!
    window=""
    for _ in $(seq 300); do
        window=$(xdotool search --name '^SDL Tutorial$' 2>/dev/null | head -n 1) || true
        [ -n "$window" ] && break
        kill -0 "$game" 2>/dev/null || fail "the game ended before its window appeared"
        sleep 0.1
    done
    [ -n "$window" ] || fail "no window appeared in 30 s; windows: $(xdotool search --name . 2>&1 | tr '\n' ' ')"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    wx=$X
    wy=$Y
    sleep 0.5
}

# Moves the pointer to window coordinates, optionally clicking there.
point() { xdotool mousemove $((wx + $1)) $((wy + $2)); sleep 0.25; }
click() { point "$1" "$2"; xdotool click 1; sleep 0.4; }
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.08; done; sleep 0.3; }

# Saves what the window shows as $out/$1.png.
shot() {
    sleep 0.3
    import -window root -crop "640x480+$wx+$wy" +repage "$out/$1.png"
}

# The colour of one window pixel, as ImageMagick writes it.
pixel() {
    convert "$out/$1.png" -format "%[pixel:p{$2,$3}]" info:
}

# Asks the window to close and waits for the program; sets $status.
close_game() {
    "$close_window" "$window" || fail "could not send the close request"
    status=0
    wait "$game" || status=$?
    game=""
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
