#!/bin/sh
# Makes every artefact of one version into dist/, from the committed tree:
# the Debian package, the Windows zip and installer, the web site as a zip,
# a source archive of the commit, and SHA256SUMS. The version is the CMake
# project's. Refuses a tree with uncommitted changes.
#
#   scripts/release.sh        (make release)
#
# Anyone can rebuild a release bit for bit: the files' times come from the
# commit (SOURCE_DATE_EPOCH), the umask, time zone and locale are fixed, the
# archives list their files in name order, and the Debian package's
# maintainer is the commit's author. The build folders are configured afresh.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if [ -n "$(git status --porcelain)" ]; then
    echo "release: the tree has uncommitted changes; commit or stash them first:" >&2
    git status --short >&2
    exit 1
fi

# The name and version of project() in CMakeLists.txt.
name=$(sed -n 's/^project(\([a-z-]*\) VERSION .*/\1/p' CMakeLists.txt)
version=$(sed -n 's/^project([a-z-]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
{ [ -n "$name" ] && [ -n "$version" ]; } || { echo "release: no name and version in CMakeLists.txt's project()" >&2; exit 1; }
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
DEBFULLNAME=$(git log -1 --format=%an)
DEBEMAIL=$(git log -1 --format=%ae)
TZ=UTC
LC_ALL=C.UTF-8
export SOURCE_DATE_EPOCH DEBFULLNAME DEBEMAIL TZ LC_ALL
umask 022
echo "release: $name $version of commit $(git rev-parse --short HEAD)"

rm -rf dist build/package build/windows build/wasm build/web
make deb windows web

mkdir dist
cp "build/package/${name}_${version}_amd64.deb" dist/
cp "build/windows/$name-$version-windows-x64.zip" "build/windows/$name-$version-windows-x64-setup.exe" dist/

# The site as a zip with one folder; strip-nondeterminism puts its members in
# name order with the commit's time and plain permissions.
site=build/web-zip/$name-$version-web
rm -rf build/web-zip
mkdir -p build/web-zip
cp -R build/web "$site"
(cd build/web-zip && cmake -E tar cf "$root/dist/$name-$version-web.zip" --format=zip "$name-$version-web")
strip-nondeterminism -t zip -T "$SOURCE_DATE_EPOCH" "dist/$name-$version-web.zip" >/dev/null

git archive --format=tar --prefix="$name-$version/" HEAD | gzip -9 -n >"dist/$name-$version.tar.gz"

(cd dist && sha256sum -- * >SHA256SUMS)
echo "release: dist/"
cat dist/SHA256SUMS
