#!/bin/sh
# Prints the Debian archives that the machine's apt configuration installs
# this release from, one "uri suite component" line each, as apt itself lists
# them (whatever the format of its source files, and before any index has been
# downloaded). Only the release's own suites are kept: <codename>,
# <codename>-updates and <codename>-security. Prints nothing when apt names
# none.
set -eu
# shellcheck source=/dev/null # the machine's own
. /etc/os-release
codename=${VERSION_CODENAME:?cannot tell the Debian release from /etc/os-release}
# shellcheck disable=SC2016 # apt fills in the $(...) fields itself
apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' |
    awk -v release="$codename" '$2 == release || $2 == release "-updates" || $2 == release "-security"' |
    sort -u
