#!/bin/sh
# Builds the libraries the game needs on another platform, SDL2, SDL2_image
# and SDL2_ttf with FreeType inside it, from Debian's source packages, into a
# prefix in a cache folder outside the source tree. Prints that prefix on
# standard output; progress goes to standard error.
#
#   scripts/build-deps.sh windows   64-bit Windows DLLs, with mingw-w64
#   scripts/build-deps.sh web       static WebAssembly libraries, with Emscripten
#
# The prefix is <cache>/<target>-deps/<key>/prefix. <cache> is
# $HANGMAN_DEPS_CACHE, or else ~/.cache/chalk-hangman; <key> is a hash of this
# script, the toolchain file, the compiler's version and the upstream versions
# below, so a warm cache is found without the network and any change builds a
# new prefix. A failed build leaves no prefix.
#
# Several runs may share the cache (two clones, make windows beside make
# release): one builds at a time, and a run that finds another building waits
# for it and takes its prefix. A prefix goes only once no run has used it for
# a week; every run marks the one it uses.
#
# Only a cold cache reads Debian's source index. The archive is the one the
# machine's apt configuration names (apt-sources.sh asks apt), read for
# deb-src through apt settings of the script's own; $HANGMAN_DEBIAN_MIRROR
# and $HANGMAN_DEBIAN_SECURITY name other servers.
# The machine's apt configuration, lists and caches are left as they were.
set -eu

target=${1:-}
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
# Source package and upstream version; Debian's revision is the archive's.
sources="libsdl2=2.26.5 freetype=2.12.1 libsdl2-ttf=2.20.1 libsdl2-image=2.6.3"

say() { echo "build-deps ($target): $*" >&2; }
die() { say "$*"; exit 1; }

case $target in
    windows)
        toolchain=$root/cmake/mingw-w64-x86_64.cmake
        compiler=x86_64-w64-mingw32-gcc-win32
        variable=HANGMAN_WINDOWS_DEPS
        # Stripped by the linker, which writes no time into a DLL; strip
        # would write the build's time (or SOURCE_DATE_EPOCH's), and the same
        # sources would give other bytes at another time.
        shared=ON pic=ON link_flags="-Wl,--no-insert-timestamp -s"
        build_type=Release
        ;;
    web)
        toolchain=$root/cmake/emscripten.cmake
        compiler=emcc
        variable=HANGMAN_WEB_DEPS
        shared=OFF pic=OFF link_flags=""
        # Built for size: every byte is downloaded before the first frame.
        build_type=MinSizeRel
        ;;
    *) echo "usage: build-deps.sh windows|web" >&2; exit 2 ;;
esac

"$root/scripts/install-deps.sh" "$target" >&2
compiler_version=$("$compiler" --version | head -n 1)

cache=${HANGMAN_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/chalk-hangman}/$target-deps
key=$({ cat "$0" "$toolchain"; echo "$target $sources $compiler_version"; } | sha256sum | cut -c1-16)
prefix=$cache/$key/prefix
mkdir -p "$cache"
# Held while building or clearing away: one run at a time changes the cache.
exec 9>"$cache/.lock"

# Prefixes that no run has used for a week, but for the one in use now;
# never a build in progress, which is not complete yet. Only when no other
# run holds the lock.
clear_unused() {
    flock -n 9 || return 0
    for old in "$cache"/*/prefix/.complete; do
        old=${old%/prefix/.complete}
        [ "$old" = "$cache/$key" ] || [ -z "$(find "$old" -maxdepth 0 -mtime +7)" ] || rm -rf "$old"
    done
    flock -u 9
}

# The prefix, marked as used now.
reuse() {
    touch "$cache/$key"
    clear_unused
    say "reusing $prefix"
    echo "$prefix"
    exit 0
}

[ ! -f "$prefix/.complete" ] || reuse
if ! flock -n 9; then
    say "waiting for another run to finish building the libraries in $cache"
    flock 9
fi
[ ! -f "$prefix/.complete" ] || reuse

# ---- The deb-src lines of the archive the machine installs from.
# shellcheck source=/dev/null # the machine's own
. /etc/os-release
codename=${VERSION_CODENAME:?cannot tell the Debian release from /etc/os-release}
apt_dir=$cache/apt
rm -rf "$apt_dir/sources"
mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
if [ -n "${HANGMAN_DEBIAN_MIRROR:-}${HANGMAN_DEBIAN_SECURITY:-}" ]; then
    if [ -z "${HANGMAN_DEBIAN_MIRROR:-}" ] || [ -z "${HANGMAN_DEBIAN_SECURITY:-}" ]; then
        die "set both HANGMAN_DEBIAN_MIRROR and HANGMAN_DEBIAN_SECURITY, or neither"
    fi
    archives="$HANGMAN_DEBIAN_MIRROR $codename main
$HANGMAN_DEBIAN_MIRROR $codename-updates main
$HANGMAN_DEBIAN_SECURITY $codename-security main"
else
    archives=$("$root/scripts/apt-sources.sh")
    [ -n "$archives" ] ||
        die "the apt configuration names no archive for $codename; set HANGMAN_DEBIAN_MIRROR and HANGMAN_DEBIAN_SECURITY"
fi
echo "$archives" | sed 's|^|deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] |' \
    >"$apt_dir/sources/archives.list"
set -- -o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$apt_dir/sources" \
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o Debug::NoLocking=1
[ "$(id -u)" -ne 0 ] || set -- "$@" -o APT::Sandbox::User=root
say "no libraries in $prefix yet: reading Debian's source index for $codename"
apt-get "$@" -qq --error-on=any update >&2 ||
    die "cannot read Debian's source index (the archive of $apt_dir/sources)"

versions=""
for entry in $sources; do
    package=${entry%%=*}
    upstream=${entry#*=}
    version=$(apt-cache "$@" showsrc "$package" 2>/dev/null |
        awk -v want="$upstream" '/^Version:/ && index($2, want "+") == 1 { print $2 }' |
        sort -V | tail -n 1)
    [ -n "$version" ] || die "Debian $codename has no source of $package $upstream"
    versions="$versions $package=$version"
done

# ---- Build everything in a scratch folder; only a complete prefix is kept.
say "building$versions (minutes the first time)"
work=$(mktemp -d "$cache/build-XXXXXX")
trap 'rm -rf "$work"' EXIT
stage=$work/prefix
mkdir -p "$work/src" "$work/logs" "$stage/licenses"
echo "$versions" | tr ' ' '\n' | sed '/^$/d' >"$stage/versions.txt"

for entry in $versions; do
    (cd "$work/src" && apt-get "$@" -qq source "$entry") >"$work/logs/sources.log" 2>&1 ||
        { cat "$work/logs/sources.log" >&2; die "cannot fetch the source of $entry"; }
done
# The unpacked source of package $1.
source_dir() {
    for entry in $sources; do
        [ "${entry%%=*}" = "$1" ] && ls -d "$work/src/$1-${entry#*=}"*/ && return 0
    done
    die "no unpacked source of $1"
}

# The same libraries from the same sources, wherever the scratch folder lies.
flags="-ffile-prefix-map=$work=/deps"

# $1 name, $2 source folder, then CMake options; $extra_flags (for this
# build only) add to the C compiler's flags.
build() {
    name=$1 src=$2
    shift 2
    say "building $name"
    log=$work/logs/$name.log
    if ! { CFLAGS="$flags ${extra_flags:-}" CXXFLAGS="$flags" LDFLAGS="$link_flags" cmake -S "$src" \
        -B "$work/build/$name" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -D$variable="$stage" \
        -DCMAKE_BUILD_TYPE=$build_type -DCMAKE_INSTALL_PREFIX="$stage" "$@" &&
        cmake --build "$work/build/$name" -j "$jobs" &&
        cmake --install "$work/build/$name"; } >"$log" 2>&1; then
        cp "$log" "$cache/failed-$name.log"
        tail -n 20 "$log" >&2
        die "building $name failed; its whole log is $cache/failed-$name.log"
    fi
}

sdl=$(source_dir libsdl2)
if [ "$target" = web ]; then
    # No threads on the web page; the renderer is GLES2 on WebGL, in the
    # page's own canvas, so no other video driver either. Controllers come
    # through the browser's Gamepad API (SDL's web joystick, no HIDAPI). Of
    # SDL's own code, no software renderer (the game asks for an accelerated
    # one), no YUV, no RLE and none of its generated or palette blitters:
    # loading the images needs only the colour key's blits and SDL's
    # general one.
    lean="-DSDL_VIDEO_RENDER_SW=0 -DSDL_HAVE_YUV=0 -DSDL_HAVE_RLE=0 -DSDL_HAVE_BLIT_AUTO=0"
    extra_flags="$lean -DSDL_HAVE_BLIT_0=0 -DSDL_HAVE_BLIT_1=0" \
        build SDL2 "$sdl" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_AUDIO=OFF \
        -DSDL_JOYSTICK=ON -DSDL_HAPTIC=OFF -DSDL_HIDAPI=OFF -DSDL_SENSOR=OFF -DSDL_POWER=OFF \
        -DSDL_THREADS=OFF -DSDL_DUMMYVIDEO=OFF -DSDL_OFFSCREEN=OFF
else
    # Game controllers: XInput, DirectInput, Windows.Gaming.Input and HIDAPI.
    build SDL2 "$sdl" -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_AUDIO=OFF \
        -DSDL_JOYSTICK=ON -DSDL_HAPTIC=OFF -DSDL_HIDAPI=ON -DSDL_SENSOR=OFF -DSDL_POWER=OFF
fi

freetype=$(source_dir freetype)
# The game's font is TrueType: FreeType registers only the modules that read
# and render it, and the linker leaves every other font format out.
cat >"$freetype/include/freetype/config/ftmodule.h" <<'EOF'
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Module_Class, psnames_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
EOF
if [ "$target" = web ]; then
    # The game opens its font and never draws with it: on the web page,
    # where every byte is downloaded, FreeType reads a plain TrueType file
    # and no more (no hinting, no glyph names, no compressed, Mac, bitmap,
    # colour, SVG or variable fonts).
    sed -i '/psnames_module_class/d' "$freetype/include/freetype/config/ftmodule.h"
    for option in FT_CONFIG_OPTION_ENVIRONMENT_PROPERTIES FT_CONFIG_OPTION_SUBPIXEL_RENDERING \
        FT_CONFIG_OPTION_USE_LZW FT_CONFIG_OPTION_USE_ZLIB FT_CONFIG_OPTION_POSTSCRIPT_NAMES \
        FT_CONFIG_OPTION_ADOBE_GLYPH_LIST FT_CONFIG_OPTION_MAC_FONTS \
        FT_CONFIG_OPTION_GUESSING_EMBEDDED_RFORK FT_CONFIG_OPTION_INCREMENTAL FT_CONFIG_OPTION_SVG \
        TT_CONFIG_OPTION_EMBEDDED_BITMAPS TT_CONFIG_OPTION_COLOR_LAYERS \
        TT_CONFIG_OPTION_POSTSCRIPT_NAMES TT_CONFIG_OPTION_BYTECODE_INTERPRETER \
        TT_CONFIG_OPTION_SUBPIXEL_HINTING TT_CONFIG_OPTION_GX_VAR_SUPPORT TT_CONFIG_OPTION_BDF; do
        sed -i "s|^#define $option\\b.*|/* $option: left out */|" \
            "$freetype/include/freetype/config/ftoption.h"
    done
fi
build FreeType "$freetype" -DBUILD_SHARED_LIBS=OFF -DCMAKE_POSITION_INDEPENDENT_CODE=$pic \
    -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON \
    -DFT_DISABLE_BROTLI=ON

ttf=$(source_dir libsdl2-ttf)
build SDL2_ttf "$ttf" -DBUILD_SHARED_LIBS=$shared -DSDL2TTF_VENDORED=OFF -DSDL2TTF_HARFBUZZ=OFF \
    -DSDL2TTF_SAMPLES=OFF

# PNG through stb_image and nothing else: no other format, no saving.
image=$(source_dir libsdl2-image)
formats=""
for format in AVIF BMP GIF JPG JXL LBM PCX PNM QOI SVG TGA TIF WEBP XCF XPM XV; do
    formats="$formats -DSDL2IMAGE_$format=OFF"
done
# shellcheck disable=SC2086 # one option per word
build SDL2_image "$image" -DBUILD_SHARED_LIBS=$shared -DSDL2IMAGE_VENDORED=ON \
    -DSDL2IMAGE_BACKEND_STB=ON -DSDL2IMAGE_BACKEND_WIC=OFF -DSDL2IMAGE_PNG=ON \
    -DSDL2IMAGE_PNG_SAVE=OFF -DSDL2IMAGE_SAMPLES=OFF -DSDL2IMAGE_DEPS_SHARED=OFF $formats

# ---- The licence of everything that ends up in the program.
cp "$sdl/LICENSE.txt" "$stage/licenses/SDL2.txt"
cp "$image/LICENSE.txt" "$stage/licenses/SDL2_image.txt"
cp "$ttf/LICENSE.txt" "$stage/licenses/SDL2_ttf.txt"
cp "$freetype/docs/FTL.TXT" "$stage/licenses/FreeType.txt"
# FreeType's gzip module carries parts of zlib; stb_image reads the PNGs.
sed -n '/Copyright (C) [0-9-]* Jean-loup Gailly and Mark Adler/,/madler@alumni.caltech.edu/p' \
    "$freetype/src/gzip/zlib.h" >"$stage/licenses/zlib.txt"
sed -n '/This software is available under 2 licenses/,/^\*\//p' "$image/stb_image.h" |
    sed '$d' >"$stage/licenses/stb_image.txt"
for file in "$stage"/licenses/*.txt; do
    [ -s "$file" ] || die "no licence text in $file"
done

touch "$stage/.complete"
mkdir -p "$cache/$key"
mv "$stage" "$prefix"
flock -u 9
say "built $prefix"
reuse
