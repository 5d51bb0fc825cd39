#!/usr/bin/env bash
# Installs the Debian package on this machine as a user would, with apt, and checks it for real:
# lintian finds no errors; the program on the PATH opens its window on a private X display, in
# Greek regional settings, where a screen reader (through AT-SPI, on a session bus of the check's
# own) finds every caption in Greek and a calculation made from the keyboard gives its figures;
# the installed desktop entry and metainfo validate; and purging leaves none of its files behind.
# packaging/checks/test_deb_on_debian13.sh runs this same check in a Debian 13 root.
# Needs root (or sudo) for apt. Whatever happens, the package is not installed afterwards, and
# the display and the program are ended by process id.
#
# Usage: packaging/checks/test_deb_package.sh dist/orvanta_VERSION_ARCH.deb
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 PACKAGE.deb" >&2
    exit 2
fi
deb=$(realpath "$1")
package=orvanta
app_id=org.example.Orvanta

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
# Another apt run on the machine holds the lock for a while; wait for it, but not for ever.
apt_get() {
    timeout 900 $sudo env DEBIAN_FRONTEND=noninteractive \
        apt-get -o DPkg::Lock::Timeout=300 "$@"
}

script_name=test-package
# shellcheck source=scripts/helpers.sh
source "$(dirname "$0")/../../scripts/helpers.sh"
xvfb_pid=""
bus_pid=""
program_pid=""
installed=false
make_scratch
stop_all() {
    stop "$program_pid"
    stop "$bus_pid"
    stop "$xvfb_pid"
    ! $installed || apt_get purge -y -qq "$package" >/dev/null 2>&1
}
run_at_exit stop_all

[ -f "$deb" ] || fail "$1 does not exist"
field() {
    dpkg-deb --field "$deb" "$1"
}
expected_name="$(field Package)_$(field Version)_$(field Architecture).deb"
[ "$(basename "$deb")" = "$expected_name" ] ||
    fail "$(basename "$deb") holds $expected_name"
# This machine has Qt's display plugins anyway, so installing here cannot show that the package
# asks for them, nor that dpkg-shlibdeps ran.
depends=$(field Depends)
for needed in libqt6widgets6 qt6-qpa-plugins; do
    grep -Eq "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
say "$(basename "$deb"), $(stat -c %s "$deb") bytes; Depends: $depends"

say "lintian"
lintian_status=0
lintian --fail-on error "$deb" >"$scratch/lintian.out" 2>"$scratch/lintian.err" ||
    lintian_status=$?
cat "$scratch/lintian.out"
grep -v '^running with root privileges' "$scratch/lintian.err" >&2 || true
[ "$lintian_status" -eq 0 ] || fail "lintian reports errors"

say "apt-get install $deb"
installed=true
apt_get install -y -qq "$deb" >"$scratch/apt.log" 2>&1 ||
    fail "apt-get install failed" "$scratch/apt.log"
dpkg-query -W -f='${Status}' "$package" | grep -q 'install ok installed' || fail "not installed"
# Its files, not its folders: those it shares with other packages stay.
dpkg-query -L "$package" | while IFS= read -r path; do
    [ -d "$path" ] || echo "$path"
done >"$scratch/files"

for path in /usr/bin/Orvanta /usr/share/applications/$app_id.desktop \
    /usr/share/metainfo/$app_id.metainfo.xml /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
    /usr/share/icons/hicolor/48x48/apps/$app_id.png /usr/share/man/man1/Orvanta.1.gz \
    /usr/share/doc/$package/copyright /usr/share/doc/$package/changelog.gz; do
    grep -qx "$path" "$scratch/files" || fail "the package does not install $path"
done

[ "$(cd / && command -v Orvanta)" = /usr/bin/Orvanta ] ||
    fail "Orvanta on the PATH is '$(command -v Orvanta || true)', not /usr/bin/Orvanta"

say "desktop-file-validate and appstreamcli on the installed files"
desktop-file-validate /usr/share/applications/$app_id.desktop || fail "desktop entry rejected"
appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml || fail "metainfo rejected"

say "the window of the installed program, on a private display"
# Xvfb chooses a free display itself and writes its number to descriptor 3. It must not reset
# when its last client leaves: the accessibility bus's launcher is one, and a program that
# connects while the server resets is turned away.
Xvfb -displayfd 3 -screen 0 640x400x24 -nolisten tcp -noreset 3>"$scratch/display" \
    2>"$scratch/xvfb.log" &
xvfb_pid=$!
wait_for 100 grep -qs . "$scratch/display" ||
    fail "the virtual display did not start" "$scratch/xvfb.log"
DISPLAY=":$(head -n1 "$scratch/display")"
export DISPLAY
# A session bus of the check's own, and on it the accessibility bus, which must be there before
# the program starts for Qt to offer its window to screen readers. Their sockets go in the
# scratch folder; the accessibility bus ends with the session bus.
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --nofork --nopidfile --address="unix:dir=$scratch" --print-address=4 \
    4>"$scratch/bus" 2>"$scratch/bus.log" &
bus_pid=$!
wait_for 100 grep -qs . "$scratch/bus" || fail "the session bus did not start" "$scratch/bus.log"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$scratch/bus")
export DBUS_SESSION_BUS_ADDRESS
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>>"$scratch/bus.log" || fail "the accessibility bus did not start" "$scratch/bus.log"
# Through X, with the plugin the package depends on, started by name from the PATH as a
# launcher would, away from the source tree, in Greek regional settings.
(cd / && LC_ALL=el_GR.UTF-8 QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec Orvanta) \
    2>"$scratch/program.log" &
program_pid=$!
window_shown() {
    kill -0 "$program_pid" 2>/dev/null ||
        fail "Orvanta ended before its window appeared" "$scratch/program.log"
    xdotool search --onlyvisible --name '^Orvanta$' >/dev/null 2>&1
}
wait_for 300 window_shown || fail "the window did not appear within 30 s" "$scratch/program.log"
say "the window appeared; read as a screen reader reads it, and used from the keyboard"
/usr/bin/python3 "$(dirname "$0")/read_window.py" | sed "s/^/$script_name: /" ||
    fail "the window is not what it should be (above)" "$scratch/program.log"
stop "$program_pid"
program_pid=""

say "apt-get purge $package"
apt_get purge -y -qq "$package" >"$scratch/apt.log" 2>&1 ||
    fail "apt-get purge failed" "$scratch/apt.log"
installed=false
# Purged means not even its configuration is remembered.
state=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
case "$state" in
    "" | not-installed) ;;
    *) fail "dpkg still has $package as $state" ;;
esac
left=()
while IFS= read -r path; do
    if [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done <"$scratch/files"
[ -e /usr/share/doc/$package ] && left+=("/usr/share/doc/$package")
[ ${#left[@]} -eq 0 ] || fail "left behind after purge: ${left[*]}"
say "purged: none of its $(wc -l <"$scratch/files") files is left"
say "OK"
