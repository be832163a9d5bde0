#!/bin/sh
# The shell of everything that ships (the Makefile's deb, windows, web and
# release): files carry the time of the last commit, and the umask, time zone
# and locale are fixed, so that one source gives the same bytes wherever, by
# whomever and under whatever settings it is built.
#
#   reproducibly.sh -c <command>      as sh -c <command>
umask 022
TZ=UTC
LC_ALL=C.UTF-8
export TZ LC_ALL
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || SOURCE_DATE_EPOCH=""
fi
if [ -n "$SOURCE_DATE_EPOCH" ]; then
    export SOURCE_DATE_EPOCH
fi
exec /bin/sh "$@"
