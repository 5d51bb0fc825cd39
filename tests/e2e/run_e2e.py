#!/usr/bin/env python3
"""Uses the built program as a person would, on a private X display.

Keys and clicks are real X input events sent with xdotool; what the window shows is read from
outside, as pixels of the two result boxes. Nothing inside the program knows it is being
watched. Every wait is bounded, and the display and the program are ended by process id on
every way out, including a kill of this script.

Usage: run_e2e.py PATH_TO_PROGRAM
"""

import os
import signal
import subprocess
import sys
import tempfile
import time

# The source tree stays clean of compiled helper modules.
sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import xclient  # noqa: E402

TITLE = "Orvanta"
CLIENT_SIZE = (363, 241)
# Window-relative rectangles (x, y, width, height) of the controls the user touches or reads.
DOWNLOAD_BOX = (80 + 8, 16 + 120, 145, 19)
UPLOAD_BOX = (80 + 8, 48 + 120, 145, 19)
TYPED_OPTION = (8 + 8, 64 + 8, 185, 33)
SPEED_BOX = (192 + 8, 64 + 8, 145, 25)
EXIT_BUTTON = (184, 208, 169, 25)
# A spot on the window's bare background, where the pointer rests without touching a control.
BACKGROUND = (2, 2)

WINDOW_TIMEOUT = 15.0
SETTLE_TIMEOUT = 5.0
EXIT_TIMEOUT = 1.0
# How long Escape gets to do the harm it must not do.
ESCAPE_GRACE = 0.3
POLL = 0.02


class Failure(Exception):
    pass


def wait_until(what, timeout, probe):
    """Polls probe() until it returns something true; returns that, or fails naming what."""
    deadline = time.monotonic() + timeout
    while True:
        value = probe()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Failure("gave up after %.1f s waiting for %s" % (timeout, what))
        time.sleep(POLL)


def center(rect):
    x, y, width, height = rect
    return x + width // 2, y + height // 2


class Program:
    """One run of the program under test, and the user sitting in front of it."""

    def __init__(self, executable, display, env):
        self._display = display
        self._env = env
        self._log = tempfile.TemporaryFile()
        self.process = subprocess.Popen([executable], env=env, stdin=subprocess.DEVNULL,
                                        stdout=self._log, stderr=subprocess.STDOUT,
                                        preexec_fn=xclient.die_with_parent)
        self.window = None

    def wait_for_window(self):
        self.window = wait_until("a window titled %r" % TITLE, WINDOW_TIMEOUT,
                                 self._find_window)
        size = self._display.size(self.window)
        if size != CLIENT_SIZE:
            raise Failure("the window is %dx%d, expected %dx%d" % (size + CLIENT_SIZE))
        # No window manager runs, so the keyboard follows the pointer into the window.
        self._xdotool("mousemove", "--window", str(self.window), *map(str, BACKGROUND))
        self._xdotool("windowfocus", "--sync", str(self.window))

    def _find_window(self):
        if self.process.poll() is not None:
            raise Failure("the program ended before showing its window (exit code %d)"
                          % self.process.returncode)
        for window in self._display.top_level_windows():
            if self._display.is_viewable(window) and self._display.title(window) == TITLE:
                return window
        return None

    def output(self):
        self._log.seek(0)
        return self._log.read().decode(errors="replace")

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self._log.close()

    # --- what the user does ---------------------------------------------------------------------

    def _xdotool(self, *args):
        subprocess.run(["xdotool", *args], env=self._env, check=True, timeout=10,
                       stdout=subprocess.DEVNULL)

    def press(self, *keys):
        self._xdotool("key", "--clearmodifiers", *keys)

    def type(self, text):
        self._xdotool("type", "--clearmodifiers", text)

    def click(self, rect):
        x, y = center(rect)
        self._xdotool("mousemove", "--window", str(self.window), str(x), str(y), "click", "1")

    # --- what the user sees ---------------------------------------------------------------------

    def is_open(self):
        return self.process.poll() is None and self._display.is_viewable(self.window)

    def close_from_window_system(self):
        self._display.request_close(self.window)

    def results(self):
        return (self._display.pixels(self.window, *DOWNLOAD_BOX),
                self._display.pixels(self.window, *UPLOAD_BOX))

    def settled_results(self, what, unlike):
        """The result boxes once they differ from `unlike` and have stopped changing."""
        previous = None

        def changed_and_still():
            nonlocal previous
            current = self.results()
            if current == unlike or current != previous:
                previous = current
                return None
            return current

        return wait_until(what, SETTLE_TIMEOUT, changed_and_still)

    def wait_for_exit(self, what):
        try:
            code = self.process.wait(timeout=EXIT_TIMEOUT)
        except subprocess.TimeoutExpired:
            raise Failure("the program still runs %.1f s after %s" % (EXIT_TIMEOUT, what))
        if code != 0:
            raise Failure("the program ended with exit code %d after %s" % (code, what))


def is_empty_box(pixels, rect):
    """True for a text box that has been painted and holds no text: its frame stands out from
    an inside, inset from the frame, of one flat colour. An unpainted window is flat all over."""
    _, _, width, height = rect
    inset = 4
    rows = [pixels[(y * width + inset) * 4:(y * width + width - inset) * 4]
            for y in range(inset, height - inset)]
    inside = rows[0][:4]
    left_edge = pixels[(height // 2) * width * 4:][:4]
    return left_edge != inside and all(row == inside * (len(row) // 4) for row in rows)


def both_empty(results):
    return all(is_empty_box(box, rect) for box, rect in zip(results, (DOWNLOAD_BOX, UPLOAD_BOX)))


def both_filled(results):
    return not any(is_empty_box(box, rect)
                   for box, rect in zip(results, (DOWNLOAD_BOX, UPLOAD_BOX)))


def passed(message):
    print("ok -", message, flush=True)


def check(condition, message):
    if not condition:
        raise Failure(message)
    passed(message)


def calculate_and_read(program, before, what):
    program.press("Return")
    return program.settled_results("the results of " + what, before)


def use_the_calculator(program):
    def painted_and_empty():
        results = program.results()
        return results if both_empty(results) else None

    blank = wait_until("the window's first paint with empty result boxes", SETTLE_TIMEOUT,
                       painted_and_empty)
    passed("the result boxes start empty")

    program.press("Down")
    first_entry = calculate_and_read(program, blank, "the first list entry")
    check(both_filled(first_entry), "Enter on the first list entry fills both result boxes")

    program.press("Down")
    second_entry = calculate_and_read(program, first_entry, "the second list entry")
    check(second_entry[0] != first_entry[0] and second_entry[1] != first_entry[1],
          "another entry shows other download and upload figures")

    program.press("Up")
    again = calculate_and_read(program, second_entry, "the first entry, again")
    check(again == first_entry, "the same entry again shows the very same figures")

    program.click(TYPED_OPTION)
    program.click(SPEED_BOX)
    program.type("1000")
    typed = calculate_and_read(program, again, "a typed speed")
    check(both_filled(typed) and typed != first_entry and typed != second_entry,
          "a typed speed of 1000 shows figures unlike either entry's")

    program.press("ctrl+a")
    program.type("56")
    typed_like_entry = calculate_and_read(program, typed, "a typed speed of 56")
    check(typed_like_entry == first_entry,
          "typing 56 shows the same figures as the 56 kbps entry")

    program.press("Escape")
    time.sleep(ESCAPE_GRACE)
    check(program.is_open(), "Escape leaves the window open")
    check(program.results() == first_entry, "Escape leaves the results as they were")

    program.click(EXIT_BUTTON)
    program.wait_for_exit("a click on Exit")
    passed("a click on Exit ends the program with exit code 0 within a second")


def close_from_window_system(program):
    program.close_from_window_system()
    program.wait_for_exit("the window system asked the window to close")
    passed("closing the window ends the program with exit code 0 within a second")


def run(executable, display, env, scenario):
    program = Program(executable, display, env)
    try:
        program.wait_for_window()
        scenario(program)
    except Failure:
        print(program.output(), file=sys.stderr)
        raise
    finally:
        program.stop()


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    executable = os.path.abspath(sys.argv[1])

    # A kill from the test runner still reaches the finally blocks below.
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda number, frame: sys.exit(128 + number))

    server, name = xclient.start_xvfb()
    try:
        with tempfile.TemporaryDirectory() as runtime, xclient.Display(name) as display:
            env = xclient.program_environment(name, runtime)
            run(executable, display, env, use_the_calculator)
            run(executable, display, env, close_from_window_system)
    except Failure as failure:
        print("FAILED -", failure, file=sys.stderr)
        return 1
    finally:
        server.kill()
        server.wait()
    print("e2e: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
