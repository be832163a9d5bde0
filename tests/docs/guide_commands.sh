#!/bin/sh
# Runs, as written, the commands a guide gives under one of its headings:
# the lines of the first ```sh block after it (without their comments),
# each from the top of the source tree, in order; the first that fails
# fails the run, and says which. With a pattern, only the lines that match
# it run, or with -v, only those that do not (so that a make target runs
# the lines it has built for). Keeps the guides true.
#
#   guide_commands.sh <guide.md> <heading> [[-v] <pattern>]
set -eu
guide=$1 heading=$2
invert="" pattern="."
if [ "${3:-}" = -v ]; then invert=-v pattern=$4; elif [ -n "${3:-}" ]; then pattern=$3; fi
cd "$(dirname "$0")/../.."
lines=$(awk -v heading="## $heading" '
    $0 == heading { found = 1; next }
    found && /^```sh/ { inside = 1; next }
    inside && /^```/ { exit }
    inside { print }' "$guide")
[ -n "$lines" ] || { echo "FAIL: no commands under \"$heading\" in $guide"; exit 1; }
echo "$lines" | grep $invert -e "$pattern" | sed 's/[[:space:]]*#[^'\'']*$//' | while read -r command; do
    [ -n "$command" ] || continue
    echo "guide: $command"
    sh -c "$command" </dev/null || { echo "FAIL: $guide, \"$heading\": $command"; exit 1; }
done
