#!/bin/sh
# What a stage of CI left running: a test must end everything it starts (X
# servers, Wine, browsers, buses, compositors, speech servers, games). The
# kernel's threads, this script and its own commands are left out, and so is
# whatever descends from a process that ran before the stage began (a
# terminal's, the machine's own services): what a stage leaves behind has
# outlived its parents and hangs from init, or from another of its kind.
#
#   leftovers.sh before <file>           notes the processes running now
#   leftovers.sh after <file> <stage>    fails, naming each process started
#                                        since and still running, once those
#                                        on their way out have ended
set -eu
# "pid ppid command" of every process but the kernel's threads and this
# script's.
running() {
    ps -eo pid=,ppid=,args= | awk -v self="$$" '
        { pid = $1; parent[pid] = $2; line[pid] = $0; sub(/^ *[0-9]+ +[0-9]+ +/, "", line[pid]) }
        END {
            for (pid in parent) {
                if (pid == 2 || parent[pid] == 2) continue
                ours = 0
                for (p = pid; p in parent && p > 1; p = parent[p]) if (p == self) { ours = 1; break }
                if (!ours) print pid, parent[pid], line[pid]
            }
        }' | sort -n
}
# "pid command" of each process started since $1 was noted and still
# running, but for those under a process that was running then.
new_since() {
    running | awk 'NR == FNR { seen[$1] = 1; next }
        { parent[$1] = $2; line[$1] = $0; sub(/^ *[0-9]+ +[0-9]+ +/, "", line[$1]) }
        END {
            for (pid in parent) {
                if (pid in seen) continue
                kept = 0
                for (p = parent[pid]; p in parent && p > 1; p = parent[p]) if (p in seen) { kept = 1; break }
                if (!kept) print pid, line[pid]
            }
        }' "$1" - | sort -n
}
fail() { echo "FAIL: $*"; exit 1; }
guard=${guard:-60}
# shellcheck source=../support/wait.sh
. "$(dirname "$0")/../support/wait.sh"

case $1 in
    before) running >"$2" ;;
    after)
        none_left() { [ -z "$(new_since "$1")" ]; }
        if ! (guard=$guard wait_until "nothing to be left running" none_left "$2") >/dev/null; then
            fail "$3 left running:
$(new_since "$2")"
        fi
        ;;
esac
