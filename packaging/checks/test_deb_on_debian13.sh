#!/usr/bin/env bash
# Runs the package check (test_deb_package.sh) on Debian 13: the .deb built against Debian 13's
# Qt is installed with apt into a throwaway copy of a Debian 13 root, made once per machine like the
# Windows tools' root (scripts/windows-tools, ORVANTA_ROOT_PROFILE=package-test), pinned by
# cmake/debian13-package-test.lock, which holds Debian 13's Qt 6.8 and what the check runs. The
# copy is entered with bubblewrap, without the network: apt can take nothing but the package
# from outside the root. Then, in the same copy, its window runs under a headless Wayland
# compositor and announces its figures (test_wayland_announcement.sh). Nothing stays mounted,
# and the copy is deleted however the check ends.
#
# Usage: packaging/checks/test_deb_on_debian13.sh dist/orvanta_VERSION~deb13_ARCH.deb
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 PACKAGE.deb" >&2
    exit 2
fi
deb=$(realpath "$1")
here=$(cd "$(dirname "$0")/../.." && pwd)
script_name=test-package-debian13
# shellcheck source=scripts/helpers.sh
source "$here/scripts/helpers.sh"
[ -f "$deb" ] || fail "$1 does not exist"

export ORVANTA_ROOT_PROFILE=package-test
"$here/scripts/windows-tools" --make
root=$("$here/scripts/windows-tools" --path)

make_scratch
copy=$scratch
start=$(date +%s)
cp -a --reflink=auto "$root/." "$copy/"
# shellcheck disable=SC2016  # the format is dpkg-query's, not the shell's
qt=$(bwrap --ro-bind "$copy" / --proc /proc --dev /dev -- \
    dpkg-query -W -f='${Version}' libqt6core6t64)
say "a copy of the Debian 13 root $(basename "$root") in $(($(date +%s) - start)) s, with Qt $qt"

in_copy() {
    bwrap --bind "$copy" / --proc /proc --dev /dev --tmpfs /tmp --ro-bind "$here" "$here" \
        --ro-bind "$(dirname "$deb")" "$(dirname "$deb")" --unshare-pid --unshare-net \
        --die-with-parent --clearenv --setenv PATH /usr/sbin:/usr/bin:/sbin:/bin \
        --setenv HOME /tmp --setenv LC_ALL C.UTF-8 -- "$@"
}
in_copy "$here/packaging/checks/test_deb_package.sh" "$deb"
# Bounded as a whole: a compositor or a bus that hangs ends the check, not CI.
in_copy timeout 180 "$here/packaging/checks/test_wayland_announcement.sh" "$deb"
