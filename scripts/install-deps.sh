#!/bin/sh
# Installs the Debian packages that a make target needs, and only those that
# are missing. Uses sudo when not run as root. Waits for another package
# manager (apt, an unattended upgrade, a software centre) to let go of apt's
# locks, saying which lock and which program, for up to $HANGMAN_APT_WAIT
# seconds (10 minutes unless given).
#
#   install-deps.sh [group...]
#
# Building and running the game is always included. The groups add:
#   test           the test suite's tools (GoogleTest, Xvfb, xdotool, ...)
#   package        what making the Debian packages needs (a minimal Debian root among it)
#   test-package   what checking it needs, a minimal Debian root included
#   windows        the Windows cross compiler, the tools that fetch and build
#                  Debian's sources, NSIS
#   test-windows   Wine
#   web            Emscripten and the same source tools
#   test-web       Chromium and Firefox to play the page in
#   release        git, which the release reads the commit from, and what
#                  the package, windows and web groups need
set -eu

packages="cmake make g++ pkg-config libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libdbus-1-dev libspeechd-dev
fonts-dejavu-core optipng libgl1-mesa-dri libegl-mesa0"
sources="dpkg-dev xz-utils debian-archive-keyring"
package="dpkg-dev file git debootstrap"
windows="gcc-mingw-w64-x86-64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 nsis imagemagick $sources"
web="emscripten fonttools $sources"
for group in "$@"; do
    case $group in
        test) packages="$packages googletest libgtest-dev xvfb xdotool x11-utils imagemagick
            libx11-dev clang-format shellcheck groff-base sway grim jq openbox wmctrl dbus at-spi2-core
            python3-pyatspi orca" ;;
        package) packages="$packages $package" ;;
        test-package) packages="$packages lintian desktop-file-utils appstream man-db groff-base
            debootstrap autopkgtest qemu-user-static" ;;
        windows) packages="$packages $windows" ;;
        test-windows) packages="$packages wine wine64 liblnk-utils openbox libxml2-utils" ;;
        web) packages="$packages $web" ;;
        test-web) packages="$packages chromium firefox-esr xvfb xdotool" ;;
        release) packages="$packages git $package $windows $web" ;;
        *) echo "install-deps.sh: unknown group $group" >&2; exit 2 ;;
    esac
done

missing=""
for package in $packages; do
    case " $missing " in *" $package "*) continue ;; esac
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
limit=${HANGMAN_APT_WAIT:-600}
deadline=$(($(date +%s) + limit))

lists_lock=/var/lib/apt/lists/lock
dpkg_locks="/var/lib/dpkg/lock-frontend /var/lib/dpkg/lock /var/cache/apt/archives/lock"

# What a lock is for, in words.
lock_name() {
    case $1 in
        "$lists_lock") echo "apt's package lists" ;;
        /var/cache/apt/archives/lock) echo "apt's downloads" ;;
        *) echo "dpkg's lock" ;;
    esac
}

# "<lock> <process> <command>" of the first of the locks that a program
# holds, or nothing.
holder() {
    $sudo lslocks --noheadings --raw --output PATH,PID,COMMAND 2>/dev/null |
        awk -v locks=" $* " 'index(locks, " " $1 " ") { print; exit }'
}

# Returns once no program holds any of the locks; at the deadline, says
# so and ends the set-up.
wait_for() {
    said=""
    while held=$(holder "$@") && [ -n "$held" ]; do
        read -r lock process command <<EOF
$held
EOF
        if [ "$held" != "$said" ]; then
            echo "Waiting for $(lock_name "$lock") ($lock), held by $command (process $process);" \
                "up to $limit s in all"
            said=$held
        fi
        if [ "$(date +%s)" -ge "$deadline" ]; then
            echo "install-deps.sh: gave up after $limit s: $command (process $process) still holds" \
                "$lock. Let it finish, then run this again." >&2
            exit 1
        fi
        sleep 1
    done
}

# apt-get, once none of the locks is held; again whenever it failed on a
# lock, which another program may have taken between the wait and apt-get's
# own locking and let go of since (apt-get update never waits for a lock,
# whatever DPkg::Lock::Timeout says). What it says goes to standard error
# when it fails for good.
apt_get() {
    locks=$1
    shift
    said_apt=$(mktemp)
    while :; do
        # shellcheck disable=SC2086 # one lock per word
        wait_for $locks
        status=0
        left=$((deadline - $(date +%s)))
        DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=$((left > 0 ? left : 0)) \
            "$@" >"$said_apt" 2>&1 || status=$?
        if [ "$status" -ne 0 ] && grep -q -E 'Could not get lock|Unable to (acquire|lock)' "$said_apt"; then
            [ "$(date +%s)" -lt "$deadline" ] || {
                cat "$said_apt" >&2
                echo "install-deps.sh: gave up after $limit s: apt-get could not take its locks." >&2
                exit 1
            }
            sleep 1
            continue
        fi
        [ "$status" -eq 0 ] || cat "$said_apt" >&2
        rm -f "$said_apt"
        return "$status"
    done
}

apt_get "$lists_lock" update -qq
# shellcheck disable=SC2086 # one package per word
apt_get "$dpkg_locks" install -y -qq --no-install-recommends $missing
