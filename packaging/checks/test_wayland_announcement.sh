#!/usr/bin/env bash
# Installs the Debian 13 package with apt and runs its window on a real Wayland compositor,
# Debian's Weston, headless, with Qt's Wayland platform, on a session bus and an accessibility
# bus of the check's own; then hear_announcement.py, listening as a screen reader does, chooses the
# typed speed, types 1024 and presses Calculate through AT-SPI, and hears the figures announced.
# Run by test_deb_on_debian13.sh in a throwaway Debian 13 root; bounded in time, and the
# compositor, the buses and the program are ended by process id however it ends.
#
# Usage: packaging/checks/test_wayland_announcement.sh dist/orvanta_VERSION~deb13_ARCH.deb
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 PACKAGE.deb" >&2
    exit 2
fi
deb=$(realpath "$1")
script_name=test-package-wayland
# shellcheck source=scripts/helpers.sh
source "$(dirname "$0")/../../scripts/helpers.sh"
make_scratch
pids=()
stop_started() {
    local pid
    for pid in "${pids[@]}"; do
        stop "$pid"
    done
}
run_at_exit stop_started

say "apt-get install $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" > "$scratch/apt.log" 2>&1 ||
    fail "apt-get install failed" "$scratch/apt.log"

export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --nofork --nopidfile --address="unix:dir=$scratch" --print-address=4 \
    4> "$scratch/bus" 2> "$scratch/bus.log" &
pids+=($!)
wait_for 100 grep -qs . "$scratch/bus" || fail "the session bus did not start" "$scratch/bus.log"
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$scratch/bus")
export DBUS_SESSION_BUS_ADDRESS
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    > /dev/null 2>> "$scratch/bus.log" ||
    fail "the accessibility bus did not start" "$scratch/bus.log"

# Headless: no display, no input devices, a real Wayland server all the same. Kiosk's shell
# shows the one window full-size and starts no panel of its own.
export WAYLAND_DISPLAY=orvanta-check
weston --backend=headless --shell=kiosk --socket="$WAYLAND_DISPLAY" --idle-time=0 \
    --no-config > "$scratch/weston.log" 2>&1 &
pids+=($!)
wait_for 100 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ||
    fail "Weston did not start" "$scratch/weston.log"
say "Weston $(weston --version | sed 's/^weston //') headless on $WAYLAND_DISPLAY"

(cd / && LC_ALL=el_GR.UTF-8 QT_QPA_PLATFORM=wayland QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    exec Orvanta) 2> "$scratch/program.log" &
pids+=($!)
timeout 60 /usr/bin/python3 "$(dirname "$0")/hear_announcement.py" \
    "Download: 128 Kbps, Upload: 32 Kbps" | sed "s/^/$script_name: /" ||
    fail "the announcement was not heard (above)" "$scratch/program.log" "$scratch/weston.log"
grep -q 'libQt6WaylandClient' /proc/"${pids[2]}"/maps ||
    fail "Orvanta is not using Qt's Wayland platform" "$scratch/program.log"
say "passed"
