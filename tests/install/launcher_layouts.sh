#!/bin/sh
# The launcher for every kind of layout: folders relative to the prefix or
# absolute, a prefix with spaces and shell characters in its name, the
# program beside the launcher. Writes each launcher with
# packaging/write_launcher.cmake, puts a stand-in program (it prints its
# working folder and arguments) where the layout says, starts the launcher
# from / and checks that the program ran in the data folder with the
# arguments given. An installation whose folders all lie in the prefix must
# still run after the prefix is moved, and every launcher must also run when
# started through a symbolic link to it. The desktop entry written with each
# launcher must name it by its full path, quoted where the path needs it, and
# the manual page the folders of that very layout.
#
#   launcher_layouts.sh <source folder>
set -eu
source_dir=$1
scratch=$(mktemp -d /tmp/hangman-layouts-XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# $1 name, $2 prefix, $3 bindir, $4 programdir, $5 datadir; $6 "movable" or "fixed".
check_layout() {
    prefix=$2
    full() { case $1 in /*) echo "$1" ;; *) echo "$prefix/$1" ;; esac; }
    cmake -DLAUNCHER_TEMPLATE="$source_dir/packaging/launcher.sh.in" \
        -DLAUNCHER_OUTPUT="$(full "$3")/game" -DLAUNCHER_NAME=game -DLAUNCHER_PREFIX="$prefix" \
        -DLAUNCHER_BINDIR="$3" -DLAUNCHER_PROGRAMDIR="$4" -DLAUNCHER_DATADIR="$5" \
        -DDESKTOP_TEMPLATE="$source_dir/packaging/chalk-hangman.desktop.in" \
        -DDESKTOP_OUTPUT="$scratch/game.desktop" \
        -DMANUAL_TEMPLATE="$source_dir/packaging/chalk-hangman.6.in" -DMANUAL_OUTPUT="$scratch/game.6" \
        -DMANUAL_VERSION=1 \
        -P "$source_dir/packaging/write_launcher.cmake" || fail "$1: no launcher written"
    exec_line=$(grep '^Exec=' "$scratch/game.desktop")
    [ "$exec_line" = "${7:-Exec=$(full "$3")/game}" ] || fail "$1: the desktop entry says $exec_line"
    # The manual's folders, as groff shows them to a reader: every backslash,
    # minus, quote and space of the path comes out as it is.
    groff -man -Tutf8 -rLL=2000n -P-cbou "$scratch/game.6" 2>&1 | sed 's/^ *//' >"$scratch/game.6.text"
    for path in "$(full "$5")/pngs/" "$(full "$4")/game" "$(full "$3")/game"; do
        grep -qxF "$path" "$scratch/game.6.text" || fail "$1: the manual page does not show $path"
    done
    chmod +x "$(full "$3")/game"
    mkdir -p "$(full "$4")" "$(full "$5")"
    if [ "$(full "$4")" != "$(full "$3")" ]; then
        printf '#!/bin/sh\npwd -P\nprintf "[%%s]" "$@"\necho\n' >"$(full "$4")/game"
        chmod +x "$(full "$4")/game"
    fi
    run_it "$1" "$(full "$3")/game" "$(full "$5")"
    if [ "$6" = movable ]; then
        mv "$prefix" "$prefix-moved"
        run_it "$1, moved" "$prefix-moved/$3/game" "$prefix-moved/$5"
        mv "$prefix-moved" "$prefix"
    fi
    echo "layout $1: ok"
}

run_it() {
    mkdir -p "$scratch/links"
    ln -sfn "$2" "$scratch/links/game"
    for launcher in "$2" "$scratch/links/game"; do
        got=$(cd / && "$launcher" "one arg" 'two $x' 2>&1) || fail "$1: $launcher failed: $got"
        expected="$(cd "$3" && pwd -P)
[one arg][two \$x]"
        [ "$got" = "$expected" ] || fail "$1, started as $launcher: expected
$expected
got
$got"
    done
}

p="$scratch/usr"
check_layout "usual" "$p" bin libexec/game share/game movable
check_layout "Debian games" "$scratch/deb/usr" games lib/games/game share/games/game movable
check_layout "absolute data folder" "$scratch/abs" bin libexec/game "$scratch/elsewhere/share/game" fixed
check_layout "absolute launcher folder" "$scratch/abs2" "$scratch/abs2-bin" lib/game share/game fixed
check_layout "all absolute" "$scratch/abs3" "$scratch/a3/bin" "$scratch/a3/lib" "$scratch/a3/data" fixed
# Quoted for the desktop entry, then each backslash doubled as in any of its strings.
check_layout "odd prefix" "$scratch/my \"games\" \$HOME \`x\` 100%" bin libexec/game share/game movable \
    "$(printf 'Exec="%s/my \\\\"games\\\\" \\\\$HOME \\\\`x\\\\` 100%%%%/bin/game"' "$scratch")"
check_layout "prefix with a space" "$scratch/my games" bin libexec/game share/game movable \
    "Exec=\"$scratch/my games/bin/game\""
odd="$scratch/odd \$HOME \`x\` \"q\" back\\slash"
check_layout "absolute folders with shell characters" "$scratch/abs4" bin "$odd/lib" "$odd/data" fixed
check_layout "data beside the launcher" "$scratch/flat" bin libexec/game bin movable
echo "launcher layouts: every layout starts the program in its data folder"
