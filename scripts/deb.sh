#!/bin/sh
# The Debian package, as a distribution builds it (make deb). First the
# source package of the tree: the upstream tarball of its tracked files as
# they are (a clean tree's are its commit's) and debian/. Then its binaries,
# built from that source alone with dpkg-buildpackage in a clean, minimal
# Debian root: for this machine's architecture, and cross-built for arm64.
# It leaves in build/package/ the .dsc with its two tarballs, a .deb for
# each architecture and a .changes for each build (with its .buildinfo),
# and release.txt, which lists what a release takes.
#
# The build root is a minimal Debian (scripts/minimal-root.sh) with the
# build's dependencies for both architectures, made once for each
# debian/control and kept beside it, with apt's downloads; each build works
# on a layer over it (overlayfs), so the root stays as it was. Needs root
# (or sudo).
#
#   scripts/deb.sh     (make deb, which runs it reproducibly)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cd "$here/.."
name=chalk-hangman
version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}
native=$(dpkg --print-architecture)
cross=arm64
out=build/package
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
die() { echo "deb: $*" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out"
orig=${name}_$upstream.orig.tar.gz
snapshot=$(git stash create)
git archive --format=tar --prefix="$name-$upstream/" "${snapshot:-HEAD}" | gzip -9 -n >"$out/$orig"

# ---- The build root, made once for these dependencies.
pristine=$("$here/minimal-root.sh")
cache=$(dirname "$(dirname "$pristine")")
archives=$cache/archives
key=$( { basename "$pristine"; echo "$native $cross"; cat debian/control; } | sha256sum | cut -c1-16)
base=$cache/build-roots/$key
scratch=$(mktemp -d /tmp/hangman-deb-XXXXXX)
work=$scratch/root
# Mounts under $1, deepest first.
mounts() { awk -v under="$1/" 'index($2 "/", under) == 1 { print $2 }' /proc/self/mounts | sort -r; }
release() {
    for mount in $(mounts "$scratch") $(mounts "$base"); do
        $sudo umount "$mount" || $sudo umount -l "$mount"
    done
    $sudo rm -rf --one-file-system "$scratch"
}
trap release EXIT
trap 'exit 1' INT TERM HUP
in_root() {
    $sudo chroot "$work" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/build LC_ALL=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive DEB_BUILD_OPTIONS=noautodbgsym "$@"
}
run_in_root() {  # $1: what for, in words; then the command
    what=$1
    shift
    in_root "$@" >"$scratch/log" 2>&1 || { tail -n 40 "$scratch/log" >&2; die "$what failed"; }
}
enter() {  # the root at $1, as $work, with /proc
    mkdir -p "$work"
    if [ "$1" != "$work" ]; then
        mkdir -p "$scratch/upper" "$scratch/layer"
        $sudo mount -t overlay overlay -o "lowerdir=$1,upperdir=$scratch/upper,workdir=$scratch/layer" "$work"
    fi
    $sudo mount -t proc proc "$work/proc"
}
if [ ! -f "$base.complete" ]; then
    echo "deb: a build root for $native and $cross (once for these dependencies; minutes)" >&2
    $sudo rm -rf --one-file-system "$cache/build-roots"
    mkdir -p "$cache/build-roots" "$archives"
    $sudo cp -a "$pristine" "$base"
    work=$base
    enter "$base"
    $sudo cp /etc/resolv.conf "$work/etc/resolv.conf"
    find "$archives" -name '*.deb' -exec $sudo cp {} "$work/var/cache/apt/archives/" \;
    $sudo mkdir -p "$work/tmp/needs/debian"
    $sudo cp debian/control "$work/tmp/needs/debian/"
    run_in_root "adding $cross" dpkg --add-architecture "$cross"
    run_in_root "apt-get update" apt-get update
    run_in_root "installing the compilers" apt-get install -y --no-install-recommends build-essential \
        "crossbuild-essential-$cross" fakeroot
    run_in_root "installing the build's dependencies" apt-get build-dep -y /tmp/needs
    run_in_root "installing the build's dependencies for $cross" apt-get build-dep -y -a "$cross" /tmp/needs
    cp "$work"/var/cache/apt/archives/*.deb "$archives/" 2>/dev/null || true
    run_in_root "cleaning" sh -c 'apt-get clean && rm -rf /tmp/needs'
    $sudo umount "$work/proc"
    $sudo touch "$base.complete"
    work=$scratch/root
fi

# ---- The source package, and the binaries built from it alone.
enter "$base"
$sudo mkdir "$work/build"
$sudo cp "$out/$orig" "$work/build/"
run_in_root "unpacking" tar -C /build -xzf "/build/$orig"
run_in_root "building the source and $native packages" \
    sh -c "cd /build/$name-$upstream && dpkg-buildpackage -us -uc"
run_in_root "building the $cross package" sh -c "cd /build && rm -rf $name-$upstream &&
    dpkg-source -x ${name}_$version.dsc $name-$upstream && cd $name-$upstream &&
    dpkg-buildpackage -us -uc -B -a $cross"
for file in "$work"/build/*.dsc "$work"/build/*.debian.tar.xz "$work"/build/*.deb \
    "$work"/build/*.changes "$work"/build/*.buildinfo; do
    cp "$file" "$out/"
done
for arch in "$native" "$cross"; do
    [ -f "$out/${name}_${version}_$arch.deb" ] || die "no package for $arch"
done
# As CMake's builds list theirs: the name, then each file by its full path.
at=$(pwd)/$out
printf '%s\n' "$name-$upstream" "$at/${name}_$version.dsc" "$at/$orig" \
    "$at/${name}_$version.debian.tar.xz" "$at/${name}_${version}_$native.deb" \
    "$at/${name}_${version}_$cross.deb" >"$out/release.txt"
echo "deb: the source package ${name}_$version.dsc, its packages for $native and $cross, in $out/"
