#!/bin/sh
# CI itself (.ci/run), with make replaced by a stand-in that notes where and
# how it is called: `make test` runs first, in the checkout; test-package,
# test-windows and test-web each run as the first command of a fresh clone
# of the commit (no build folder, nothing changed); test-release runs last,
# in the checkout. And a target that fails fails CI, whichever it is; a
# platform that fails keeps its clone, and only its, for a look; a target
# that leaves a process running fails CI, which names the process.
#
#   fresh_clones.sh <source tree>
set -eu
tree=$(cd "$1" && pwd)
scratch=$(mktemp -d /tmp/hangman-ci-test-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir "$scratch/bin"
cat >"$scratch/bin/make" <<'STUB'
#!/bin/sh
# Notes: folder | targets | commit | changed files | build folder | make commands seen here before
here=$(pwd)
before=$(grep -c "^$here|" "$MAKE_LOG" || true)
echo "$here|$*|$(git rev-parse HEAD)|$(git status --porcelain --untracked-files=all | wc -l)|$(test -e build && echo build || echo none)|$before" >>"$MAKE_LOG"
[ "$*" != "${MAKE_LEAVES:-}" ] || { (setsid sleep 600 </dev/null >/dev/null 2>&1 &) && touch "$MAKE_LOG.leaving"; }
[ "$*" != "${MAKE_FAILS:-}" ]
STUB
chmod +x "$scratch/bin/make"
export MAKE_LOG="$scratch/make.log"
commit=$(git -C "$tree" rev-parse HEAD)

: >"$MAKE_LOG"
PATH="$scratch/bin:$PATH" "$tree/.ci/run" >"$scratch/out.txt" 2>&1 || fail "CI failed: $(cat "$scratch/out.txt")"
entry() { awk -F'|' -v target="$1" '$2 == target' "$MAKE_LOG"; }
[ "$(head -n 1 "$MAKE_LOG" | cut -d'|' -f1,2)" = "$tree|test" ] || fail "make test did not run first, in the checkout: $(cat "$MAKE_LOG")"
[ "$(tail -n 1 "$MAKE_LOG" | cut -d'|' -f1,2)" = "$tree|test-release" ] || fail "make test-release did not run last, in the checkout: $(cat "$MAKE_LOG")"
for target in test-package test-windows test-web; do
    line=$(entry "$target")
    [ "$(echo "$line" | grep -c .)" -eq 1 ] || fail "make $target ran $(echo "$line" | grep -c .) times: $(cat "$MAKE_LOG")"
    folder=${line%%|*}
    [ "$folder" != "$tree" ] || fail "make $target ran in the checkout, not in a fresh clone"
    [ "$(echo "$line" | cut -d'|' -f3-6)" = "$commit|0|none|0" ] ||
        fail "make $target was not the first command of an unchanged clone of $commit (commit|changed|build|before: $(echo "$line" | cut -d'|' -f3-6))"
done
echo "ci: make test first; test-package, test-windows and test-web each first in a fresh clone; test-release last"

for target in test test-package test-windows test-web test-release; do
    : >"$MAKE_LOG"
    if MAKE_FAILS=$target PATH="$scratch/bin:$PATH" "$tree/.ci/run" >"$scratch/out.txt" 2>&1; then
        fail "CI passed although make $target failed"
    fi
    kept=$(sed -n 's/^CI: failed: .* (kept for a look in \(.*\))$/\1/p' "$scratch/out.txt")
    case $target in test-package | test-windows | test-web)
        [ -d "$kept/$target/.git" ] || fail "the failed clone of $target was not kept: $(cat "$scratch/out.txt")"
        [ "$(ls -d "$kept"/*/)" = "$kept/$target/" ] || fail "clones kept beside $target's: $(ls "$kept")"
        rm -rf "$kept"
        ;;
    esac
done
echo "ci: a failing target fails CI, whichever it is; a failing platform keeps its clone"

for target in test test-package test-web test-release; do
    : >"$MAKE_LOG"
    rm -f "$MAKE_LOG.leaving" "$scratch/neighbour"
    # A process that ran before CI starts one of its own meanwhile, as a
    # terminal would: not the stage's.
    (
        until [ -e "$MAKE_LOG.leaving" ]; do sleep 0.1; done
        sleep 599 &
        echo $! >"$scratch/neighbour"
        wait
    ) &
    neighbour=$!
    if guard=2 MAKE_LEAVES=$target PATH="$scratch/bin:$PATH" "$tree/.ci/run" >"$scratch/out.txt" 2>&1; then
        fail "CI passed although make $target left a process running"
    fi
    left=$(sed -n '/^FAIL: make .* left running:$/,$ s/^\([0-9]*\) sleep 600$/\1/p' "$scratch/out.txt")
    [ -n "$left" ] || fail "CI did not name what make $target left running: $(cat "$scratch/out.txt")"
    kill "$left"
    touch "$MAKE_LOG.leaving"
    until [ -s "$scratch/neighbour" ]; do sleep 0.1; done
    kill "$(cat "$scratch/neighbour")"
    wait "$neighbour" || true
    ! grep -q 'sleep 599' "$scratch/out.txt" || fail "CI named what another program started meanwhile: $(cat "$scratch/out.txt")"
done
echo "ci: a target that leaves a process running fails CI, which names it, and nothing another program started"
