#!/bin/sh
# The set-up waits for another package manager: for each of apt's locks held
# by another program, scripts/install-deps.sh with a package missing must say
# which lock and which program it waits for, wait, and then install the
# package; and it must give up with a clear line and a non-zero status when
# the lock stays held past its limit. Removes and reinstalls one package of
# the test group (shellcheck): it needs root (or sudo) and is meant for CI.
#
#   apt_locks.sh
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
package=shellcheck
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
scratch=$(mktemp -d /tmp/hangman-locks-XXXXXX)
holder=""
installed() { dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; }
# However it ends, the machine keeps its package (the holder may have ended
# already: its kill must not cut this short).
restore() {
    [ -z "$holder" ] || $sudo kill "$holder" 2>/dev/null || true
    installed || "$root/scripts/install-deps.sh" test </dev/null >/dev/null 2>&1 ||
        { echo "FAIL: $package could not be installed again"; exit 1; }
    rm -rf "$scratch"
}
trap restore EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Holds the lock $1 for $2 seconds as apt does (an fcntl lock on the whole
# file; struct flock as on x86-64 and arm64), in the background ($holder).
hold() {
    rm -f "$scratch/locked"
    # shellcheck disable=SC2016 # Perl's own variables
    $sudo perl -MFcntl -e 'open(my $f, "+<", $ARGV[0]) || open($f, ">", $ARGV[0]) || die "$ARGV[0]: $!";
        my $lock = pack("s s x4 q q l x4", F_WRLCK, 0, 0, 0, 0);
        fcntl($f, F_SETLK, $lock) || die "$ARGV[0]: $!";
        open(my $ready, ">", $ARGV[2]); close($ready); sleep $ARGV[1]' "$1" "$2" "$scratch/locked" &
    holder=$!
    for _ in $(seq 50); do [ -e "$scratch/locked" ] && return 0; sleep 0.1; done
    fail "could not take $1"
}

# lock, seconds held, seconds the set-up may wait, expected status
while read -r lock held limit expected; do
    $sudo apt-get remove -y -qq "$package" </dev/null >/dev/null 2>&1
    installed && fail "$package could not be removed for the test"
    hold "$lock" "$held"
    status=0
    HANGMAN_APT_WAIT=$limit "$root/scripts/install-deps.sh" test </dev/null >"$scratch/out.txt" 2>&1 || status=$?
    grep -q "^Waiting for .* ($lock), held by perl (process [0-9]*)" "$scratch/out.txt" ||
        fail "with $lock held, the set-up did not say what it waits for: $(cat "$scratch/out.txt")"
    [ "$status" -eq "$expected" ] || fail "with $lock held for $held s, status $status: $(cat "$scratch/out.txt")"
    if [ "$expected" -eq 0 ]; then
        installed || fail "$package was not installed once $lock was free"
        echo "apt locks: waited for $lock ($held s), then installed"
    else
        grep -qF "gave up after $limit s: perl (process $holder) still holds $lock" "$scratch/out.txt" ||
            fail "giving up did not say why: $(cat "$scratch/out.txt")"
        installed && fail "$package was installed while $lock was held"
        echo "apt locks: gave up on $lock after $limit s, status $status"
    fi
    $sudo kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true
    holder=""
done <<EOF
/var/lib/apt/lists/lock 25 600 0
/var/lib/dpkg/lock-frontend 8 600 0
/var/lib/dpkg/lock 5 600 0
/var/cache/apt/archives/lock 5 600 0
/var/lib/apt/lists/lock 60 3 1
EOF
