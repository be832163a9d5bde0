#!/bin/sh
# The set-up waits for another package manager: for each of apt's locks held
# by another program, scripts/install-deps.sh with a package missing must say
# which lock and which program it waits for, wait, and then install the
# package; and it must give up with a clear line and a non-zero status when
# the lock stays held past its limit. Each lock is held until the set-up has
# been seen to wait for it, however long it takes to get there. Then the
# lists lock is taken just as apt-get update starts and let go as soon as it
# has failed, which the set-up must try again; and two set-ups started
# together, as CI starts two platforms' tests, must both install. Removes and
# reinstalls one package of the test group (shellcheck): it needs root (or
# sudo) and is meant for CI.
#
#   apt_locks.sh
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
package=shellcheck
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
scratch=$(mktemp -d /tmp/hangman-locks-XXXXXX)
holder=""
# Takes the package away again (waiting for dpkg's lock like any apt-get).
remove() { $sudo apt-get -o DPkg::Lock::Timeout=600 remove -y -qq "$package" </dev/null >/dev/null 2>&1; }
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
guard=${guard:-600}
# shellcheck source=../support/wait.sh
. "$root/tests/support/wait.sh"

# Holds the lock $1 as apt does (an fcntl lock on the whole file; struct
# flock as on x86-64 and arm64), in the background ($holder), until killed.
hold() {
    rm -f "$scratch/locked"
    # shellcheck disable=SC2016 # Perl's own variables
    $sudo perl -MFcntl -e 'open(my $f, "+<", $ARGV[0]) || open($f, ">", $ARGV[0]) || die "$ARGV[0]: $!";
        my $lock = pack("s s x4 q q l x4", F_WRLCK, 0, 0, 0, 0);
        fcntl($f, F_SETLK, $lock) || die "$ARGV[0]: $!";
        open(my $ready, ">", $ARGV[1]); close($ready); sleep' "$1" "$scratch/locked" &
    holder=$!
    wait_until "the lock $1 to be taken" test -e "$scratch/locked"
}
release() {
    $sudo kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true
    holder=""
}
said_waiting() { grep -q "^Waiting for .* ($1), held by perl (process [0-9]*)" "$scratch/out.txt"; }

# lock, seconds the set-up may wait, expected status: 0 once the lock is let
# go after the set-up was seen waiting, 1 when the lock is never let go.
while read -r lock limit expected; do
    remove
    installed && fail "$package could not be removed for the test"
    hold "$lock"
    HANGMAN_APT_WAIT=$limit "$root/scripts/install-deps.sh" test </dev/null >"$scratch/out.txt" 2>&1 &
    setup=$!
    wait_until "the set-up to say it waits for $lock" said_waiting "$lock"
    [ "$expected" -ne 0 ] || release
    status=0
    wait "$setup" || status=$?
    [ "$status" -eq "$expected" ] || fail "with $lock held, status $status: $(cat "$scratch/out.txt")"
    if [ "$expected" -eq 0 ]; then
        installed || fail "$package was not installed once $lock was free"
        echo "apt locks: waited for $lock, then installed once it was let go"
    else
        grep -qF "gave up after $limit s: perl (process $holder) still holds $lock" "$scratch/out.txt" ||
            fail "giving up did not say why: $(cat "$scratch/out.txt")"
        installed && fail "$package was installed while $lock was held"
        echo "apt locks: gave up on $lock after $limit s, status $status"
    fi
    release
done <<EOF
/var/lib/apt/lists/lock 600 0
/var/lib/dpkg/lock-frontend 600 0
/var/lib/dpkg/lock 600 0
/var/cache/apt/archives/lock 600 0
/var/lib/apt/lists/lock 3 1
EOF

# ---- apt-get update finds the lists lock taken as it starts, by a program
# gone again once it has failed: a stand-in apt-get first in PATH does that
# to the first update, then hands on to the real one.
mkdir "$scratch/bin"
cat >"$scratch/bin/apt-get" <<EOF
#!/bin/sh
case " \$* " in *" update "*) ;; *) exec /usr/bin/apt-get "\$@" ;; esac
[ ! -e "$scratch/raced" ] || exec /usr/bin/apt-get "\$@"
: >"$scratch/raced"
. "$scratch/race.sh"
hold /var/lib/apt/lists/lock
status=0
/usr/bin/apt-get "\$@" || status=\$?
release
exit \$status
EOF
chmod +x "$scratch/bin/apt-get"
{
    echo "scratch=$scratch sudo=$sudo guard=$guard"
    sed -n '/^fail()/p; /^hold()/,/^}/p; /^release()/,/^}/p' "$0"
    echo ". $root/tests/support/wait.sh"
} >"$scratch/race.sh"
remove
PATH=$scratch/bin:$PATH "$root/scripts/install-deps.sh" test </dev/null >"$scratch/out.txt" 2>&1 ||
    fail "the lists lock taken as apt-get update started: $(cat "$scratch/out.txt")"
[ -e "$scratch/raced" ] || fail "the stand-in apt-get never ran update: $(cat "$scratch/out.txt")"
installed || fail "$package was not installed after the race for the lists lock"
echo "apt locks: apt-get update failed on the lists lock, taken as it started; the set-up tried again and installed"

# ---- Two set-ups at once, each with the package missing.
remove
"$root/scripts/install-deps.sh" test </dev/null >"$scratch/first.txt" 2>&1 &
first=$!
"$root/scripts/install-deps.sh" test </dev/null >"$scratch/second.txt" 2>&1 ||
    fail "the second of two set-ups at once: $(cat "$scratch/second.txt")"
wait "$first" || fail "the first of two set-ups at once: $(cat "$scratch/first.txt")"
installed || fail "$package was not installed by two set-ups at once"
echo "apt locks: two set-ups at once both installed"
