#!/bin/sh
# Makes every artefact of one version into dist/, from the committed tree:
# what the package, windows and web builds list in their release.txt (the
# Debian source package, whose upstream tarball is the source of the
# commit, and its amd64 and arm64 packages; the Windows zip and installer;
# the web site as a zip), and SHA256SUMS. Refuses a tree with changes of any
# kind: edited, staged or untracked files.
#
#   scripts/release.sh        (make release, which runs it reproducibly)
#
# Anyone can rebuild a release bit for bit: make gives it the commit's time
# and a fixed umask, time zone and locale (scripts/reproducibly.sh), the
# archives list their files in name order, and the Debian packages are
# built from their source in a clean root, with the changelog's date. The
# build folders are configured afresh.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
: "${SOURCE_DATE_EPOCH:?run it as make release}"

if [ -n "$(git status --porcelain --untracked-files=all)" ]; then
    echo "release: the tree has uncommitted changes; commit or stash them first:" >&2
    git status --short --untracked-files=all >&2
    exit 1
fi

rm -rf dist build/package build/windows build/wasm build/web
make deb windows web
lists="build/package/release.txt build/windows/release.txt build/wasm/release.txt"
base=$(head -n 1 build/package/release.txt)
echo "release: $base of commit $(git rev-parse --short HEAD)"

mkdir dist
# shellcheck disable=SC2086 # one file per word
for file in $(tail -q -n +2 $lists); do
    cp "$file" dist/
done
(cd dist && sha256sum -- * >SHA256SUMS)
echo "release: dist/"
cat dist/SHA256SUMS
