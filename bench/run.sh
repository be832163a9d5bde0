#!/bin/sh
# The benchmark table: prints figures and asserts nothing. Runs on a built
# tree (the Makefile's `make bench` uses the optimised build in build/ci).
#
#   bench/run.sh <build folder> [runs]
#
# Side by side with bench/baseline.cpp, a bare SDL program doing only the
# unavoidable work, in the same run and as medians over `runs` runs:
# - under Xvfb: start-up to the first presented frame and peak resident
#   memory (and the game's start-up on a desktop whose D-Bus services never
#   answer, beside none at all); CPU per second on the main menu with vsync, without vsync
#   (SDL_RENDER_VSYNC=0) and with the window unmapped;
# - under the offscreen driver, where nothing paces a swap: resident memory
#   after 1 s and after 10 s on the main menu, and the time a SIGTERM then
#   takes to end the program.
# For the game alone: CPU per second on each screen (Xvfb), CPU and wall time
# to draw one frame of each screen (offscreen, frames back to back, drawing
# finished), and the peak resident memory after 10 and 1,000 games.
set -eu
build=$(cd "$1" && pwd)
runs=${2:-10}
program=$build/chalk-hangman assets=$(cd "$(dirname "$0")/../build/artwork" && pwd) out=$build/bench-out close_window=$build/tests/close_window
tests_dir=$(dirname "$0")/../tests
# shellcheck source=../tests/e2e/lib.sh
. "$tests_dir/e2e/lib.sh"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ticks_per_second=$(getconf CLK_TCK)
cpu_percent() {  # of the running program, over two seconds
    before=$(cpu_ticks); sleep 2; after=$(cpu_ticks)
    awk -v t=$((after - before)) -v hz="$ticks_per_second" 'BEGIN { printf "%.2f\n", 100 * t / hz / 2 }'
}
rss_kib() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
ratio() { awk -v g="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", g / b; else printf "-" }'; }
load() { cut -d' ' -f1-3 /proc/loadavg; }

load_before=$(load)
start_display
export SDL_VIDEODRIVER=x11

# ---- Start-up and memory against the baseline, alternating runs.
: >"$out/startup-game.txt"
: >"$out/startup-baseline.txt"
for _ in $(seq "$runs"); do
    (cd "$assets" && "$build/bench/baseline") >>"$out/startup-baseline.txt"
    (cd "$assets" && "$build/bench/startup_probe" 2>>"$out/startup-game.txt" >/dev/null)
done
game_us=$(cut -d' ' -f1 "$out/startup-game.txt" | median)
base_us=$(cut -d' ' -f1 "$out/startup-baseline.txt" | median)

# ---- Start-up on a desktop whose services never answer (a session bus
# whose settings portal and accessibility bus hold every question), beside
# no bus at all.
no_bus=$DBUS_SESSION_BUS_ADDRESS
start_session_bus
"$build/tests/desktop_settings" on off held >"$out/settings.txt" 2>&1 &
held_desktop=$!
on_exit="kill $held_desktop 2>/dev/null || true; ${on_exit:-:}"
wait_until "the desktop's stand-in to serve" grep -q serving "$out/settings.txt"
: >"$out/startup-held.txt"
: >"$out/startup-no-bus.txt"
for _ in $(seq "$runs"); do
    (cd "$assets" && "$build/bench/startup_probe" 2>>"$out/startup-held.txt" >/dev/null)
    (cd "$assets" && DBUS_SESSION_BUS_ADDRESS=$no_bus "$build/bench/startup_probe" 2>>"$out/startup-no-bus.txt" >/dev/null)
done
kill "$held_desktop"
DBUS_SESSION_BUS_ADDRESS=$no_bus
held_us=$(cut -d' ' -f1 "$out/startup-held.txt" | median)
no_bus_us=$(cut -d' ' -f1 "$out/startup-no-bus.txt" | median)
game_kib=$(cut -d' ' -f2 "$out/startup-game.txt" | median)
base_kib=$(cut -d' ' -f2 "$out/startup-baseline.txt" | median)

# ---- The menu's CPU per second, game and baseline alternating.
# $1: game or baseline; $2: vsync, novsync or unmapped.
menu_cpu() {
    if [ "$1" = baseline ]; then
        program=$build/bench/baseline program_args=menu title=baseline
    else
        program=$build/chalk-hangman program_args="" title=""
    fi
    if [ "$2" = novsync ]; then export SDL_RENDER_VSYNC=0; else unset SDL_RENDER_VSYNC; fi
    start_game "menu-$1-$2"
    point 500 200
    if [ "$2" = unmapped ]; then xdotool windowunmap --sync "$window"; fi
    sleep 0.5
    cpu_percent >>"$out/menu-$1-$2.txt"
    close_game
    unset SDL_RENDER_VSYNC
}
for mode in vsync novsync unmapped; do
    : >"$out/menu-game-$mode.txt"
    : >"$out/menu-baseline-$mode.txt"
    for _ in $(seq "$runs"); do
        menu_cpu game "$mode"
        menu_cpu baseline "$mode"
    done
done
program=$build/chalk-hangman program_args="" title=""

# ---- CPU per second on each screen, for the real program.
for screen in menu options difficulty game wait; do : >"$out/cpu-$screen.txt"; done
for _ in $(seq "$runs"); do
    start_game cpu
    point 500 200; cpu_percent >>"$out/cpu-menu.txt"
    click 460 390; click 230 367; point 400 250; cpu_percent >>"$out/cpu-options.txt"
    click 606 26; click 180 390; point 500 150; cpu_percent >>"$out/cpu-difficulty.txt"
    click 320 230; point 600 460; cpu_percent >>"$out/cpu-game.txt"
    submit "$(distinct_letters "$(secret_word)")"
    sleep 0.3; cpu_percent >>"$out/cpu-wait.txt"
    keys Return
    close_game
done

# ---- Offscreen: memory over 10 s on the menu, and the time to end.
# $1: game or baseline. Appends "rss-at-1s highest-rss-from-2s-to-10s
# rss-at-10s ms-to-end". Mesa's software renderer collects the frames' work
# until it flushes on its own, so memory there is a sawtooth: the highest
# value after the first second shows whether it is bounded.
offscreen_run() {
    if [ "$1" = baseline ]; then
        set -- baseline "$build/bench/baseline" menu
    else
        set -- game "$build/chalk-hangman"
    fi
    name=$1
    shift
    (cd "$assets" && SDL_VIDEODRIVER=offscreen exec "$@") >/dev/null 2>&1 &
    pid=$!
    sleep 1
    at_one=$(rss_kib "$pid")
    highest=0
    for _ in $(seq 9); do
        sleep 1
        at_ten=$(rss_kib "$pid")
        if [ "$at_ten" -gt "$highest" ]; then highest=$at_ten; fi
    done
    started=$(date +%s%N)
    kill -TERM "$pid"
    wait "$pid" || true
    echo "$at_one $highest $at_ten $((($(date +%s%N) - started) / 1000000))" >>"$out/offscreen-$name.txt"
}
: >"$out/offscreen-game.txt"
: >"$out/offscreen-baseline.txt"
for _ in $(seq 3); do
    offscreen_run game
    offscreen_run baseline
done

# ---- CPU time per frame, offscreen, and memory over many games.
frames=$(cd "$assets" && SDL_VIDEODRIVER=offscreen "$build/bench/frame_time" 1000 2>/dev/null)
memory=$(cd "$assets" && "$build/bench/memory_games" 1000 2>/dev/null)

echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), Mesa llvmpipe under Xvfb"
echo "Load average (1, 5, 15 min): $load_before at the start, $(load) at the end"
echo
echo "Start-up and memory, median of $runs runs each (under Xvfb, vsync):"
printf '%-44s %12s %12s %8s\n' "" "game" "baseline" "ratio"
printf '%-44s %9.1f ms %9.1f ms %8s\n' "start-up to the first presented frame" \
    "$(awk -v v="$game_us" 'BEGIN { print v / 1000 }')" "$(awk -v v="$base_us" 'BEGIN { print v / 1000 }')" \
    "$(ratio "$game_us" "$base_us")"
printf '%-44s %8.1f MiB %8.1f MiB %8s\n' "peak resident memory" \
    "$(awk -v v="$game_kib" 'BEGIN { print v / 1024 }')" "$(awk -v v="$base_kib" 'BEGIN { print v / 1024 }')" \
    "$(ratio "$game_kib" "$base_kib")"
echo
echo "The game's start-up, median of $runs runs each (under Xvfb, vsync):"
printf '%-44s %12s %12s %8s\n' "" "no answer" "no bus" "ratio"
printf '%-44s %9.1f ms %9.1f ms %8s\n' "start-up to the first presented frame" \
    "$(awk -v v="$held_us" 'BEGIN { print v / 1000 }')" "$(awk -v v="$no_bus_us" 'BEGIN { print v / 1000 }')" \
    "$(ratio "$held_us" "$no_bus_us")"
echo
echo "Main menu, CPU % of one core, median of $runs runs of 2 s (under Xvfb):"
printf '%-44s %12s %12s %8s\n' "" "game" "baseline" "ratio"
for mode in vsync novsync unmapped; do
    case $mode in
        vsync) name="vsync on" ;; novsync) name="vsync off (SDL_RENDER_VSYNC=0)" ;;
        unmapped) name="window unmapped" ;;
    esac
    g=$(median <"$out/menu-game-$mode.txt")
    b=$(median <"$out/menu-baseline-$mode.txt")
    printf '%-44s %12s %12s %8s\n' "$name" "$g" "$b" "$(ratio "$g" "$b")"
done
echo
echo "Main menu under the offscreen driver, median of 3 runs:"
printf '%-44s %12s %12s\n' "" "game" "baseline"
for column in 1 2 3 4; do
    case $column in
        1) name="resident memory after 1 s (MiB)" ;;
        2) name="highest resident memory, 2 s to 10 s (MiB)" ;;
        3) name="resident memory after 10 s (MiB)" ;; 4) name="SIGTERM to exit (ms)" ;;
    esac
    g=$(cut -d' ' -f$column "$out/offscreen-game.txt" | median)
    b=$(cut -d' ' -f$column "$out/offscreen-baseline.txt" | median)
    if [ "$column" -lt 4 ]; then
        g=$(awk -v v="$g" 'BEGIN { printf "%.1f", v / 1024 }')
        b=$(awk -v v="$b" 'BEGIN { printf "%.1f", v / 1024 }')
    fi
    printf '%-44s %12s %12s\n' "$name" "$g" "$b"
done
echo
echo "CPU use of the game, % of one core, median of $runs runs of 2 s (under Xvfb, vsync):"
for screen in menu options difficulty game wait; do
    case $screen in
        menu) name="main menu" ;; options) name="options screen" ;;
        difficulty) name="difficulty screen" ;; game) name="game in progress" ;;
        wait) name="end picture waiting for a key" ;;
    esac
    printf '%-44s %8s\n' "$name" "$(median <"$out/cpu-$screen.txt")"
done
echo
echo "Time to draw one frame, offscreen driver, frames back to back, drawing finished:"
echo "$frames"
echo
echo "Memory over many games (under Xvfb):"
echo "$memory"
