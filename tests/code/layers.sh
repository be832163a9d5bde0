#!/bin/sh
# The game's folders are layers, from the top down: app, screens, game,
# access, gfx, platform. A file includes only from its own layer and those
# below it; this names every include that runs up.
#
#   layers.sh <source folder>
set -eu
cd "$1/src"
rank() {
    case $1 in
        app) echo 1 ;; screens) echo 2 ;; game) echo 3 ;; access) echo 4 ;; gfx) echo 5 ;;
        platform) echo 6 ;; *) echo "unknown" ;;
    esac
}
# Every "<file> <folder it includes from>", one a line.
includes() {
    for file in */*.cpp */*.hpp; do
        sed -n "s#^\#include \"\([a-z_]*\)/.*\"\$#$file \1#p" "$file"
    done
}
upward=$(includes | while read -r file included; do
    own=$(rank "${file%%/*}") theirs=$(rank "$included")
    if [ "$own" = unknown ] || [ "$theirs" = unknown ] || [ "$theirs" -lt "$own" ]; then
        echo "FAIL: $file includes from $included/, a layer above it (or one not known)"
    fi
done)
[ -z "$upward" ] || { echo "$upward"; exit 1; }
echo "layers: every include runs down"
