#!/usr/bin/python3
"""Listens, as a screen reader does, for what the installed program announces after Calculate:

  hear_announcement.py EXPECTED

Runs on the session bus (with the accessibility bus that at-spi2-core starts on it) that the
Wayland check set up, with Orvanta showing its window under a Wayland compositor and
QT_LINUX_ACCESSIBILITY_ALWAYS_ON set for it. Registers for AT-SPI's announcement event, then
through AT-SPI's own actions chooses the typed speed, types 1024 and presses Calculate, as a
screen reader user's commands would, and waits a bounded time for the announcement. Passes when
EXPECTED, and nothing else, is announced once, politely. Prints one line per check; exits 1 on
the first failure.
"""
import os
import sys
import time

import pyatspi
from gi.repository import GLib

# Beside this script; the source tree stays clean of compiled modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_window import fail, wait_until, window  # noqa: E402

TYPED_MODE = "Εισάγετε ταχύτητα σύνδεσης:"
CALCULATE = "Υπολογισμός"
# AT-SPI's politeness levels, as the event's first detail carries them.
POLITE = 1

heard = []


def find(frame, role, name):
    def walk(node):
        for child in node:
            if child is None:
                continue
            if child.getRole() == role and child.name == name:
                return child
            found = walk(child)
            if found:
                return found
        return None

    return walk(frame)


def press(node):
    actions = node.queryAction()
    if actions.nActions < 1 or not actions.doAction(0):
        fail(f'"{node.name}" cannot be pressed through AT-SPI')


def on_event(event):
    if event.type.startswith("object:announcement"):
        heard.append((event.detail1, str(event.any_data)))


def listen(seconds):
    """Hands AT-SPI's events to on_event for the seconds."""
    # AT-SPI delivers events through GLib's main loop, which nothing else runs here.
    context = GLib.MainContext.default()
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not context.iteration(False):
            time.sleep(0.05)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    expected = sys.argv[1]
    pyatspi.Registry.registerEventListener(on_event, "object:announcement")
    frame = wait_until(30, window)
    if not frame:
        fail("no window of Orvanta is announced on the accessibility bus within 30 s")
    print(f'ok - the window "{frame.name}" is announced on the accessibility bus')

    option = find(frame, pyatspi.ROLE_RADIO_BUTTON, TYPED_MODE)
    speed = find(frame, pyatspi.ROLE_TEXT, TYPED_MODE)
    calculate = find(frame, pyatspi.ROLE_PUSH_BUTTON, CALCULATE)
    if not (option and speed and calculate):
        fail("the typed-speed option, its box or Calculate is missing")
    press(option)
    if not wait_until(10, lambda: speed.getState().contains(pyatspi.STATE_EDITABLE)
                      and speed.getState().contains(pyatspi.STATE_ENABLED)):
        fail("the speed box is not enabled after the typed-speed option")
    if not speed.queryEditableText().setTextContents("1024"):
        fail("the speed box took no text through AT-SPI")
    listen(1)
    heard.clear()
    press(calculate)
    listen(5)
    if heard != [(POLITE, expected)]:
        fail(f"after Calculate the announcements were {heard}, not one polite {expected!r}")
    print(f'ok - after Calculate, announced once, politely: "{expected}"')


if __name__ == "__main__":
    main()
