#!/bin/sh
# The benchmark table: prints figures and asserts nothing. Runs on a built
# tree (the Makefile's `make bench` uses the optimised build in build/ci).
#
#   bench/run.sh <build folder> [runs]
#
# Under Xvfb, side by side in the same run and as medians over `runs` runs:
# start-up to the first presented main-menu frame and peak resident memory of
# the game against bench/baseline.cpp, and the CPU the game uses per second on
# each screen. Under the offscreen driver: CPU time to draw one frame of each
# screen. And the peak resident memory after 10 and after 1,000 games.
set -eu
build=$(cd "$1" && pwd)
runs=${2:-10}
program=$build/hangman assets=$build out=$build/bench-out close_window=$build/tests/close_window
. "$(dirname "$0")/../tests/e2e/lib.sh"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

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
game_kib=$(cut -d' ' -f2 "$out/startup-game.txt" | median)
base_kib=$(cut -d' ' -f2 "$out/startup-baseline.txt" | median)

# ---- CPU per second on each screen, for the real program.
ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
cpu_percent() {  # over two seconds
    before=$(cpu_ticks); sleep 2; after=$(cpu_ticks)
    awk -v t=$((after - before)) -v hz="$ticks_per_second" 'BEGIN { printf "%.2f\n", 100 * t / hz / 2 }'
}
for screen in menu options difficulty game wait; do : >"$out/cpu-$screen.txt"; done
for _ in $(seq "$runs"); do
    start_game cpu
    point 500 200; cpu_percent >>"$out/cpu-menu.txt"
    click 460 390; click 230 367; point 400 250; cpu_percent >>"$out/cpu-options.txt"
    click 606 26; click 180 390; point 500 150; cpu_percent >>"$out/cpu-difficulty.txt"
    click 320 230; point 600 460; cpu_percent >>"$out/cpu-game.txt"
    word=$(sed -n 's/^word = //p' "$console" | tail -n 1)
    while [ -n "$word" ]; do rest=${word#?}; keys "${word%"$rest"}" space; word=$rest; done
    sleep 0.3; cpu_percent >>"$out/cpu-wait.txt"
    keys Return
    close_game
done

# ---- CPU time per frame, offscreen, and memory over many games.
frames=$(cd "$assets" && SDL_VIDEODRIVER=offscreen "$build/bench/frame_time" 2000 2>/dev/null)
memory=$(cd "$assets" && "$build/bench/memory_games" 1000 2>/dev/null)

echo "Machine: $(nproc) cores, $(awk -F': ' '/model name/ { print $2; exit }' /proc/cpuinfo), $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo), Mesa llvmpipe under Xvfb"
echo
echo "Start-up and memory, median of $runs runs each (under Xvfb, vsync):"
printf '%-40s %12s %12s %8s\n' "" "game" "baseline" "ratio"
awk -v g="$game_us" -v b="$base_us" 'BEGIN { printf "%-40s %10.1f ms %9.1f ms %8.2f\n", "start-up to the first presented frame", g / 1000, b / 1000, g / b }'
awk -v g="$game_kib" -v b="$base_kib" 'BEGIN { printf "%-40s %9.1f MiB %8.1f MiB %8.2f\n", "peak resident memory", g / 1024, b / 1024, g / b }'
echo
echo "CPU use of the game, % of one core, median of $runs runs of 2 s (under Xvfb, vsync):"
for screen in menu options difficulty game wait; do
    case $screen in
        menu) name="main menu" ;; options) name="options screen" ;;
        difficulty) name="difficulty screen" ;; game) name="game in progress" ;;
        wait) name="end picture waiting for a key" ;;
    esac
    printf '%-40s %8s\n' "$name" "$(median <"$out/cpu-$screen.txt")"
done
echo
echo "CPU time per frame, offscreen driver, frames back to back:"
echo "$frames"
echo
echo "Memory over many games (under Xvfb):"
echo "$memory"
