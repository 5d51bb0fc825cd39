"""What the package checks share when they read the installed program's window through AT-SPI,
as a screen reader does: the window itself, bounded waits, and how a check fails."""
import sys
import time

import pyatspi


def fail(message):
    print(f"not ok - {message}")
    sys.exit(1)


def wait_until(seconds, probe):
    """Whether probe() gives something within the seconds; that something, if so."""
    deadline = time.monotonic() + seconds
    while True:
        found = probe()
        if found or time.monotonic() > deadline:
            return found
        time.sleep(0.2)


def window():
    """Orvanta's window on the accessibility bus, or None while it has none."""
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Orvanta":
            for child in app:
                if child is not None and child.getRole() in (pyatspi.ROLE_FRAME,
                                                             pyatspi.ROLE_DIALOG):
                    return child
    return None
