#!/usr/bin/python3
"""Reads the installed program's window as a screen reader does, through AT-SPI, and makes one
calculation with real key presses:

  read_window.py

Runs on the X display and the session bus (with the accessibility bus that at-spi2-core starts
on it) that the package check set up, with Orvanta already showing its window there and
QT_LINUX_ACCESSIBILITY_ALWAYS_ON set for it. Checks that every control is announced with its
Greek caption, then picks the first connection type from the keyboard, presses Enter, and reads
the two figures, which the Greek locale writes with a decimal comma. Debian's Python, which has
python3-pyatspi. Prints one line per check; exits 1 on the first failure.
"""
import os
import subprocess
import sys

import pyatspi

# Beside this script; the source tree stays clean of compiled modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from atspi_window import fail, wait_until, window  # noqa: E402

# (role, name) of what the window must show: its frames, options, labels and buttons. Roles by
# number: AT-SPI's names for them change between versions ("push button" became "button").
CAPTIONS = [
    (pyatspi.ROLE_PANEL, "Ταχύτητα σύνδεσης:"),
    (pyatspi.ROLE_RADIO_BUTTON, "Επιλέξτε ταχύτητα σύνδεσης:"),
    (pyatspi.ROLE_RADIO_BUTTON, "Εισάγετε ταχύτητα σύνδεσης:"),
    (pyatspi.ROLE_COMBO_BOX, "Επιλέξτε ταχύτητα σύνδεσης:"),
    (pyatspi.ROLE_PANEL, "Υπολογισμός"),
    (pyatspi.ROLE_LABEL, "Download:"),
    (pyatspi.ROLE_LABEL, "Upload:"),
    (pyatspi.ROLE_PUSH_BUTTON, "Υπολογισμός"),
    (pyatspi.ROLE_PUSH_BUTTON, "Περί..."),
    (pyatspi.ROLE_PUSH_BUTTON, "Έξοδος"),
]
# "PSTN 56kbps", the first entry: 56 / 8 and 56 / 32.
FIGURES = {"Download:": "7 Kbps", "Upload:": "1,75 Kbps"}


def controls(frame):
    found = []

    def walk(node):
        for child in node:
            if child is not None:
                found.append(child)
                walk(child)

    walk(frame)
    return found


def result_boxes(frame):
    """The read-only text boxes, by the name that their labels give them."""
    boxes = {}
    for node in controls(frame):
        if node.getRole() == pyatspi.ROLE_TEXT and node.name in FIGURES:
            boxes[node.name] = node.queryText()
    return boxes


def main():
    frame = wait_until(30, window)
    if not frame:
        fail("no window of Orvanta is announced on the accessibility bus within 30 s")
    print(f'ok - the window "{frame.name}" is announced on the accessibility bus')
    nodes = controls(frame)
    shown = {(node.getRole(), node.name) for node in nodes}
    missing = [f'{role} "{name}"' for role, name in CAPTIONS if (role, name) not in shown]
    if missing:
        described = sorted((node.getRoleName(), node.name) for node in nodes)
        fail(f"the window lacks {', '.join(missing)}; it shows: {described}")
    print(f"ok - every caption is the Greek one: {', '.join(name for _, name in CAPTIONS)}")

    boxes = wait_until(10, lambda: result_boxes(frame))
    if len(boxes) != len(FIGURES):
        fail(f"the result boxes are not both announced: {sorted(boxes)}")
    # The list has the keyboard when the window opens.
    subprocess.run(["xdotool", "key", "--clearmodifiers", "Down", "Return"], check=True)
    read = {}

    def figures_shown():
        read.update({name: box.getText(0, -1) for name, box in boxes.items()})
        return read == FIGURES

    if not wait_until(10, figures_shown):
        fail(f"after Down and Enter the figures are {read}, not {FIGURES}")
    print(f"ok - Down and Enter: Download {FIGURES['Download:']}, Upload {FIGURES['Upload:']}")


if __name__ == "__main__":
    main()
