#!/bin/sh
# end_wait_cpu: the real program under Xvfb; prints the CPU time the process
# uses in five seconds on the main menu and in five seconds while the win
# picture waits for a key. Asserts nothing.
#
#   end_wait_cpu.sh <hangman binary> <folder with pngs/ and png/> <output folder> <close_window binary>
set -eu
program=$1 assets=$2 out=$3 close_window=$4
. "$(dirname "$0")/../tests/e2e/lib.sh"

ticks_per_second=$(getconf CLK_TCK)

# CPU ticks (user + system) the game has used so far.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$game/stat"
}

# CPU use over five seconds, as a percentage of one core.
cpu_percent_over_5s() {
    before=$(cpu_ticks)
    sleep 5
    after=$(cpu_ticks)
    awk -v t=$((after - before)) -v hz="$ticks_per_second" 'BEGIN { printf "%.1f", 100 * t / hz / 5 }'
}

start_display
start_game bench
point 500 200
menu=$(cpu_percent_over_5s)

click 460 390                      # Options
click 230 367                      # developer mode on, to read the word
click 606 26                       # Back
click 180 390                      # Start
click 320 230                      # Easy
sleep 0.3
word=$(sed -n 's/^word = //p' "$console" | tail -n 1)
letters=$word
while [ -n "$letters" ]; do
    rest=${letters#?}
    keys "${letters%"$rest"}" space
    letters=$rest
done
sleep 0.5
wait_cpu=$(cpu_percent_over_5s)
keys Return
close_game

printf '%-36s %10s\n' "what (5 s each, under Xvfb)" "CPU % of a core"
printf '%-36s %10s\n' "main menu (vsync-paced frames)" "$menu"
printf '%-36s %10s\n' "win picture waiting for a key" "$wait_cpu"
