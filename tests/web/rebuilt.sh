#!/bin/sh
# An incremental `make web` after a change to the program (here its link,
# through LDFLAGS, as a changed source would change it): the site must name
# and serve the new program under its new content name, with no file of the
# old one left, and then, built again as it was, the first program again.
#
#   rebuilt.sh <source tree, its site built by make web>
set -eu
cd "$1"
fail() { echo "FAIL: $*"; exit 1; }
# The served name of the program's wasm that the site's page names.
named() { sed -n 's/.*"chalk-hangman.wasm": {"path": "\([^"]*\)".*/\1/p' build/web/index.html; }
before=$(named)
[ -f "build/web/$before" ] || fail "the site does not hold $before, which its page names"
LDFLAGS=-sTOTAL_STACK=1048576 make web >build/rebuilt.log 2>&1 || fail "make web with another link: $(tail -n 5 build/rebuilt.log)"
after=$(named)
[ "$after" != "$before" ] || fail "the changed program is still named $before"
[ -f "build/web/$after" ] || fail "the site does not hold $after, which its page names"
[ "$(sha256sum <"build/web/$after" | cut -c1-12)" = "$(echo "$after" | cut -d. -f2)" ] ||
    fail "$after does not hold what its name says"
left=$(find build/web -name 'chalk-hangman.*.wasm' ! -name "$after")
[ -z "$left" ] || fail "the old program is still there: $left"
make web >build/rebuilt.log 2>&1 || fail "make web again: $(tail -n 5 build/rebuilt.log)"
[ "$(named)" = "$before" ] || fail "built as it was, the site names $(named), not $before"
echo "rebuilt: the changed program served as $after, none of $before left; built as it was, $before again"
