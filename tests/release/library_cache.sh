#!/bin/sh
# The library cache that several runs share (two clones, make windows beside
# make release): a run clears away only prefixes that no run has used for a
# week, never another run's build in progress nor a prefix in use; and a run
# that finds another building waits for it and takes its prefix instead of
# building again. Works offline in a cache of its own, with a stand-in for
# the libraries: the script only looks for its prefix's mark of completion.
#
#   library_cache.sh
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
scratch=$(mktemp -d /tmp/hangman-cache-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cache=$scratch/web-deps
offline() { if [ "$(id -u)" -eq 0 ]; then unshare -n "$@"; else unshare -rn "$@"; fi; }
run() {
    status=0
    HANGMAN_DEPS_CACHE=$scratch offline "$root/scripts/build-deps.sh" web >"$scratch/out.txt" \
        2>"$scratch/err.txt" || status=$?
    if [ "$status" -ne 0 ] || [ "$(cat "$scratch/out.txt")" != "$cache/$key/prefix" ]; then
        fail "$1: status $status, printed $(cat "$scratch/out.txt" "$scratch/err.txt")"
    fi
}

# The prefix this script builds into, as a cold cache without the network
# names it, then a stand-in for it.
HANGMAN_DEPS_CACHE=$scratch offline "$root/scripts/build-deps.sh" web >/dev/null 2>"$scratch/err.txt" &&
    fail "the libraries were built without the network"
prefix=$(sed -n 's/.*: no libraries in \(.*\) yet.*/\1/p' "$scratch/err.txt")
[ -n "$prefix" ] || fail "a cold cache did not name its prefix: $(cat "$scratch/err.txt")"
key=$(basename "$(dirname "$prefix")")
mkdir -p "$scratch/libraries/prefix"
touch "$scratch/libraries/prefix/.complete"

# Another run's build in progress, a prefix another clone uses, one unused
# for a month.
mkdir -p "$cache/build-Ab12Cd/prefix" "$cache/0123456789abcdef/prefix" "$cache/fedcba9876543210/prefix"
touch "$cache/0123456789abcdef/prefix/.complete" "$cache/fedcba9876543210/prefix/.complete"
touch -d '30 days ago' "$cache/fedcba9876543210"
ln -s "$scratch/libraries" "$cache/$key"
run "a warm cache"
[ -d "$cache/build-Ab12Cd/prefix" ] || fail "another run's build in progress was deleted"
[ -d "$cache/0123456789abcdef/prefix" ] || fail "a prefix used today was deleted"
[ ! -e "$cache/fedcba9876543210" ] || fail "a prefix unused for a month was kept"
echo "library cache: kept a build in progress and a prefix in use, cleared one unused for a month"

# Another run is building this very prefix: wait for it, then take it. The
# other run holds the cache's lock until this one has been seen waiting,
# however long it takes to get there; then it finishes its prefix.
guard=${guard:-600}
# shellcheck source=../support/wait.sh
. "$root/tests/support/wait.sh"
rm "$cache/$key"
: >"$scratch/err.txt"
flock "$cache/.lock" sh -c 'touch "$3"; while [ ! -e "$4" ]; do sleep 0.1; done; ln -s "$1" "$2"' - \
    "$scratch/libraries" "$cache/$key" "$scratch/holding" "$scratch/finish" &
other=$!
wait_until "the other run to take the lock" test -e "$scratch/holding"
run "another run building" &
this=$!
wait_until "this run to say it waits" grep -q "waiting for another run" "$scratch/err.txt"
touch "$scratch/finish"
wait "$other"
wait "$this" || fail "the run that waited failed"
echo "library cache: waited for another run's build and took its prefix"
