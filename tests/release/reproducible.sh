#!/bin/sh
# The release, bit for bit: makes it twice, in two fresh clones of the
# committed tree in different folders, the second with another umask and
# time zone, and fails unless both SHA256SUMS are the same (the dependency
# caches in ~/.cache are shared). Also checks that make release refuses a
# tree with uncommitted changes.
#
#   tests/release/reproducible.sh
set -eu
source_tree=$(git rev-parse --show-toplevel)
scratch=$(mktemp -d /tmp/hangman-release-XXXXXX)
keep=""
trap '[ -n "$keep" ] || rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; keep=1; echo "(the two clones stay in $scratch)"; exit 1; }

first=$scratch/one/chalk-hangman
second=$scratch/two/a/longer/path/to/the/game
git clone -q "$source_tree" "$first"
git clone -q "$source_tree" "$second"

echo "# an edited file" >>"$first/README.md"
status=0
message=$(cd "$first" && make release 2>&1) || status=$?
[ "$status" -ne 0 ] || fail "make release ran on a tree with uncommitted changes"
case $message in *"uncommitted changes"*) ;; *) fail "make release refused without saying why: $message" ;; esac
git -C "$first" checkout -q README.md
echo "release: refused with uncommitted changes"

started=$(date +%s)
(cd "$first" && make release) >"$scratch/one.log" 2>&1 || { tail -n 30 "$scratch/one.log"; fail "the first release failed"; }
(cd "$second" && umask 077 && TZ=Pacific/Auckland make release) >"$scratch/two.log" 2>&1 ||
    { tail -n 30 "$scratch/two.log"; fail "the second release failed"; }
echo "release: made twice in $(($(date +%s) - started)) s"

cat "$first/dist/SHA256SUMS"
count=$(wc -l <"$first/dist/SHA256SUMS")
[ "$count" -eq 5 ] || fail "$count artefacts instead of 5"
if ! cmp -s "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS"; then
    diff "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS" || true
    fail "the two releases differ"
fi
echo "release: both SHA256SUMS are the same"
