# shellcheck shell=sh
# shellcheck disable=SC2154 # guard comes from the script that sources this file
# Waiting for a state, never for a time: sourced by the test scripts, which
# set $guard (seconds, a last resort far beyond what any step takes on a
# busy machine) and define fail().

# Runs the command until it succeeds; after $guard seconds, fails saying
# that it waited for $1.
wait_until() {
    what=$1
    shift
    deadline=$(($(date +%s) + guard))
    until "$@"; do
        [ "$(date +%s)" -lt "$deadline" ] || fail "waited $guard s for $what"
        sleep 0.05
    done
}
