#!/bin/sh
# End to end: the real program in a real X window (Xvfb). Moves the pointer
# over Start and takes a screenshot of the hover look, then closes the window
# and checks the console text and the exit status.
#
#   menu.sh <hangman binary> <folder with pngs/ and png/> <folder for output>
#           <close_window binary>
set -eu
program=$1
assets=$2
out=$3
close_window=$4
mkdir -p "$out"

display=:$((90 + $$ % 100))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

cd "$assets"
"$program" >"$out/console.txt" 2>"$out/stderr.txt" &
game=$!

window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^SDL Tutorial$' 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "FAIL: no window appeared"; kill "$game"; exit 1; }

eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 150)) $((Y + 390))
sleep 0.5
import -window root "$out/menu-hover-start.png"

# The hover look is yellow: sample the middle of the Start button.
colour=$(convert "$out/menu-hover-start.png" -format '%[pixel:p{'$((X + 100))','$((Y + 375))'}]' info:)
case "$colour" in
    *"242,177,52"*|*F2B134*|*f2b134*) ;;
    *) echo "FAIL: Start does not show its hover look (pixel $colour)"; kill "$game"; exit 1 ;;
esac

"$close_window" "$window"
status=0
wait "$game" || status=$?

expected="initialize complete!
load media complete!"
actual=$(cat "$out/console.txt")
if [ "$actual" != "$expected" ]; then
    echo "FAIL: console text differs:"; cat "$out/console.txt"; exit 1
fi
[ "$status" -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
echo "end to end: hover shown, console text exact, exit status 0"
