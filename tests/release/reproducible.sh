#!/bin/sh
# The release, bit for bit: makes it twice, in two fresh clones of the
# committed tree in different folders, the second with another umask and
# time zone and a library cache of its own, whose libraries were built from
# their sources apart from the machine's; both must list the same
# SHA256SUMS, and each must check against its files, and each artefact must
# keep within its size budget. The second cache is kept between runs, as
# the machine's is: whenever the libraries change, both are built anew, and
# the releases show that both builds gave the same bytes. Then `make deb` alone,
# under umask 077 and with the artwork deleted, must give the release's
# packages. Also checks that make release refuses a tree with an edited, a
# staged or an untracked file.
#
#   tests/release/reproducible.sh
set -eu
source_tree=$(git rev-parse --show-toplevel)
scratch=$(mktemp -d /tmp/hangman-release-XXXXXX)
keep=""
trap '[ -n "$keep" ] || rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*"
    keep=1
    echo "(the two clones stay in $scratch)"
    for job in ${libraries_jobs:-}; do
        kill -- "-${job#*:}" 2>/dev/null || true  # a library build still running, whole
    done
    exit 1
}

first=$scratch/one/chalk-hangman
second=$scratch/two/a/longer/path/to/the/game
git clone -q "$source_tree" "$first"
git clone -q "$source_tree" "$second"

# ---- Refused: each kind of change to the tree, one at a time.
for change in edited staged untracked; do
    case $change in
        edited) echo "# an edited file" >>"$first/README.md" ;;
        staged) echo "new" >"$first/new-file" && git -C "$first" add new-file ;;
        untracked) echo "new" >"$first/new-file" ;;
    esac
    status=0
    message=$(cd "$first" && make release 2>&1) || status=$?
    [ "$status" -ne 0 ] || fail "make release ran on a tree with a file $change"
    case $message in *"uncommitted changes"*) ;; *) fail "make release refused a file $change without saying why: $message" ;; esac
    git -C "$first" reset -q --hard && git -C "$first" clean -q -f
done
echo "release: refused with an edited, a staged and an untracked file"

# ---- Made twice. The second release's libraries come from a cache of its
# own (built from their sources, through the shell that make windows and
# make web build them in, where it has none yet) while the first release is
# made with the machine's cache: the two library builds and the first
# release overlap. Each build runs in a session of its own, so that a
# failure stops it whole.
second_cache=${HANGMAN_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/chalk-hangman}/second-release
libraries() {
    cd "$second" && HANGMAN_DEPS_CACHE="$second_cache" && export HANGMAN_DEPS_CACHE &&
        exec setsid scripts/reproducibly.sh -c "scripts/build-deps.sh $1" >"$scratch/deps-$1.log" 2>&1
}
started=$(date +%s)
libraries_jobs=""
for target in windows web; do
    libraries $target &
    libraries_jobs="$libraries_jobs $target:$!"
done
(cd "$first" && make release) >"$scratch/one.log" 2>&1 || { tail -n 30 "$scratch/one.log"; fail "the first release failed"; }
for job in $libraries_jobs; do
    target=${job%%:*}
    wait "${job#*:}" || { tail -n 30 "$scratch/deps-$target.log"; fail "building the second release's $target libraries failed"; }
done
libraries_jobs=""
(cd "$second" && umask 077 && TZ=Pacific/Auckland HANGMAN_DEPS_CACHE="$second_cache" make release) \
    >"$scratch/two.log" 2>&1 || { tail -n 30 "$scratch/two.log"; fail "the second release failed"; }
for target in windows web; do
    grep -q "build-deps ($target): reusing $second_cache/" "$scratch/two.log" ||
        fail "the second release did not use the $target libraries built for it"
done
echo "release: made twice, the second with its own library cache, in $(($(date +%s) - started)) s"

cat "$first/dist/SHA256SUMS"
for clone in "$first" "$second"; do
    (cd "$clone/dist" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not check in $clone/dist"
    # Every artefact the builds list: nothing else.
    expected=$(cd "$clone/build" && tail -q -n +2 package/release.txt windows/release.txt wasm/release.txt |
        xargs -n 1 basename | sort)
    listed=$(awk '{ print $2 }' "$clone/dist/SHA256SUMS" | sort)
    [ "$listed" = "$expected" ] || fail "SHA256SUMS lists $listed instead of $expected"
done
if ! cmp -s "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS"; then
    diff "$first/dist/SHA256SUMS" "$second/dist/SHA256SUMS" || true
    fail "the two releases differ"
fi
echo "release: both SHA256SUMS are the same and check against their files"

# ---- Every artefact within its size budget, in bytes, about a tenth above
# its size when the budget was set: growth is a decision, not an accident.
budget() {
    case $1 in
        *_amd64.deb) echo 190000 ;;  # with the accessibility tree (AT-SPI)
        *_arm64.deb) echo 182000 ;;
        *.dsc) echo 1500 ;;
        *.debian.tar.xz) echo 3600 ;;
        *-windows-x64.zip) echo 1640000 ;;  # SDL with controllers
        *-windows-x64-setup.exe) echo 1500000 ;;
        *-web.zip) echo 353000 ;;  # SDL and FreeType without what the page never uses
        *.orig.tar.gz) echo 630000 ;;  # the source of the commit, with the screen readers' tests
    esac
}
while read -r _ file; do
    size=$(stat -c %s "$first/dist/$file")
    limit=$(budget "$file")
    [ -n "$limit" ] || fail "$file has no size budget"
    [ "$size" -le "$limit" ] || fail "$file is $size bytes, over its budget of $limit"
    echo "release: $file $size bytes (budget $limit)"
done <"$first/dist/SHA256SUMS"

# ---- make deb alone, whatever the umask, gives the release's packages.
# The artwork is deleted too: a build folder must not rely on it.
rm -rf "$second/build/package" "$second/build/artwork"
(cd "$second" && umask 077 && make deb) >"$scratch/deb.log" 2>&1 || { tail -n 30 "$scratch/deb.log"; fail "make deb failed"; }
grep '\.deb$' "$second/build/package/release.txt" >"$scratch/debs.txt"
while read -r deb; do
    cmp -s "$deb" "$second/dist/$(basename "$deb")" || fail "make deb under umask 077 differs from the release's $deb"
done <"$scratch/debs.txt"
echo "release: make deb alone under umask 077 gives the release's packages"
