#!/usr/bin/env python3
"""Uses the built program as a person would, on a private X display.

Keys and clicks are real X input events sent with xdotool; what the window shows is read from
outside, as pixels of the two result boxes. Nothing inside the program knows it is being
watched. Every wait is bounded, and the display and the program are ended by process id on
every way out, including a kill of this script.

With --wine the program is a Windows build, run as `wine PROGRAM` in the Wine prefix and on the
display (with its window manager) of the scripts/wine-session that this script runs in. There
the figures are also read as text, copied out of the result boxes through the clipboard with
xclip, to see that Windows' regional settings reach the program both ways: they must be shown
with, and typed with, the decimal separator of the Unix locale that Wine derives them from.

With --scale PERCENT as well, Windows' display scaling is set to that (as 96 * PERCENT / 100
dots per inch) for the run, and everything the user sees and touches is that much bigger. With
--dark, Windows is set to dark mode for apps for the run. Under Wine every caption, figure and
mark is measured against its background, in the colours of the run.

With --picture PATH the run saves the window after the calculations as a PNG, and checks no
more.

For readers with low vision: --text-size PERCENT sets Windows' Text size, and --message-font
PERCENT makes the system's message font that much larger than Windows' default, 9 points; either
way the window and everything in it grows by that much more. --contrast black or white gives
Windows the colours of a dark or a light contrast theme, with visual styles off, as Windows draws
classic controls under such a theme; then every caption, figure and mark must stand at 7 : 1.

On Linux, --xft-dpi DOTS sets the X resource Xft.dpi, which desktops raise for large text
(GNOME's Large Text to 1.25 times 96), and which Qt scales the whole window by.

Usage: run_e2e.py [--xft-dpi DOTS] PATH_TO_PROGRAM
       run_e2e.py --wine [--scale PERCENT] [--dark] [--text-size PERCENT]
                  [--message-font PERCENT] [--contrast black|white] [--picture PATH]
                  PATH_TO_PROGRAM
"""

import collections
import contextlib
import locale
import os
import re
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
# Sizes and rectangles as laid out at 100 %; the window shows them multiplied by SCALE.
CLIENT_SIZE = (363, 241)
# Window-relative rectangles (x, y, width, height) of the controls the user touches or reads.
DOWNLOAD_BOX = (80 + 8, 16 + 120, 145, 19)
UPLOAD_BOX = (80 + 8, 48 + 120, 145, 19)
TYPED_OPTION = (8 + 8, 64 + 8, 185, 33)
LIST_OPTION = (8 + 8, 24 + 8, 177, 25)
SPEED_BOX = (192 + 8, 64 + 8, 145, 25)
EXIT_BUTTON = (184, 208, 169, 25)
CALCULATE_BUTTON = (232 + 8, 16 + 120, 105, 49)
# The list's face, less its edge and its drop-down button: where Windows fills it with the
# selection colour while it has the focus.
LIST_FACE = (200 + 3, 32 + 3, 120, 15)
# A spot on the window's bare background, where the pointer rests without touching a control.
BACKGROUND = (2, 2)


class Indented(tuple):
    """A control's rectangle less a strip at its left, such as an option's round indicator,
    that the style draws at a size of its own, which grows with the display's scale alone."""

    def __new__(cls, rect, indent):
        self = super().__new__(cls, rect)
        self.indent = indent
        return self


# Where each caption is drawn in the Windows style: the control, less a radio button's indicator
# and a button's border, and for a frame the strip that its title interrupts, down into the
# frame. A label's text starts at its very left edge, so a column of the window's background is
# taken in there.
CAPTIONS = {
    "the first frame's title": (8 + 2, 8 - 6, 172, 20),
    "the first option": Indented((8 + 8, 24 + 8, 177, 25), 16),
    # The speed box's edge overlaps the option's last column.
    "the second option": Indented((8 + 8, 64 + 8, 185 - 1, 33), 16),
    "the second frame's title": (8 + 2, 120 - 6, 102, 20),
    "the download label": (8 + 8 - 1, 16 + 120, 57 + 1, 25),
    "the upload label": (8 + 8 - 1, 48 + 120, 41 + 1, 25),
    "the calculate button": (232 + 8 + 3, 16 + 120 + 3, 105 - 6, 49 - 6),
    "the about button": (8 + 3, 208 + 3, 169 - 6, 25 - 6),
    "the exit button": (184 + 3, 208 + 3, 169 - 6, 25 - 6),
}
# Where a frame's title is measured for contrast: within its letters' span, where the frame's line
# is broken for it, so that the line itself cannot pass for the title's ink.
TITLE_TEXTS = {
    "the first frame's title": (8 + 10, 8 - 6, 90, 20),
    "the second frame's title": (8 + 10, 120 - 6, 55, 20),
}
# A frame's title and a control that shows the same words: the same letters, as tall or as deep
# as each other's, and the frame's title cut short would be the lower.
SAME_WORDS = (("the second frame's title", "the calculate button"),
              ("the first frame's title", "the first option"))
# Text is drawn in black and smoothed into the background; borders and frames are lighter.
INK = 110
# The boxes' frames and the options' round indicators, at 100 %: the text boxes' whole frame; the
# left strip of each option, where its indicator is drawn, centred on the same height.
TEXT_BOXES = {"the speed box": SPEED_BOX, "the download box": DOWNLOAD_BOX,
              "the upload box": UPLOAD_BOX}
INDICATORS = ((8 + 8, 24 + 8 + 4, 16, 17), (8 + 8, 64 + 8 + 8, 16, 17))
# WCAG 2.1 AA: text at 4.5 : 1 against its background (1.4.3); what tells a control and its state
# apart, its edge, its focus, its mark, at 3 : 1 against what lies next to it (1.4.11). Under a
# contrast theme, all of them at 7 : 1, the enhanced contrast (1.4.6) that such themes are for.
TEXT_CONTRAST = 4.5
NON_TEXT_CONTRAST = 3.0
THEME_CONTRAST = 7.0

WINDOW_TIMEOUT = 15.0
SETTLE_TIMEOUT = 5.0
EXIT_TIMEOUT = 1.0
# How long Escape gets to do the harm it must not do.
ESCAPE_GRACE = 0.3
POLL = 0.02
# How long the result boxes must stay unchanged to count as settled.
SETTLED = 0.3
# What a look at the clipboard gives when its owner does not answer in time.
BUSY = object()
# How long the X clipboard gets to hand over a copied text, and each look at it.
CLIPBOARD_TIMEOUT = 15.0
CLIPBOARD_LOOK = 2.0


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


# The display's scale factor, set once from --scale, and how much larger the text is and the
# window lays itself out, from --text-size or --message-font.
SCALE = 1.0
TEXT = 1.0


def scaled(values):
    """A size, point or rectangle at 100 %, as the window shows it at TEXT and SCALE. A rectangle
    is scaled by its edges, as the window scales it, so that rectangles that meet still meet: by
    the text size and the display's scale at once."""
    def pixel(value):
        return int(value * TEXT * SCALE + 0.5)

    if isinstance(values, Indented):
        x, y, width, height = scaled(tuple(values))
        indent = int(values.indent * SCALE + 0.5)
        return x + indent, y, width - indent, height
    if len(values) == 4:
        x, y, width, height = values
        return pixel(x), pixel(y), pixel(x + width) - pixel(x), pixel(y + height) - pixel(y)
    return tuple(pixel(value) for value in values)


def center(rect):
    x, y, width, height = scaled(rect)
    return x + width // 2, y + height // 2


class Program:
    """One run of the program under test, and the user sitting in front of it."""

    def __init__(self, command, display, env, managed):
        self._display = display
        self._env = env
        # Whether a window manager runs, which then decides where the keyboard goes.
        self._managed = managed
        self._log = tempfile.TemporaryFile()
        self.process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                                        stdout=self._log, stderr=subprocess.STDOUT,
                                        preexec_fn=xclient.die_with_parent)
        self.window = None

    def wait_for_window(self):
        self.window = wait_until("a window titled %r" % TITLE, WINDOW_TIMEOUT,
                                 self._find_window)
        size, expected = self._display.size(self.window), scaled(CLIENT_SIZE)
        if size != expected:
            raise Failure("the window is %dx%d, expected %dx%d" % (size + expected))
        passed("the window is %dx%d" % size)
        self._xdotool("mousemove", "--window", str(self.window), *map(str, scaled(BACKGROUND)))
        if self._managed:
            # The window manager gives a new window the keyboard, as the shell does on Windows.
            # It names the window active as it offers it the focus; the keyboard follows once the
            # program takes it (Wine does so when it next reads its events), and keys pressed
            # before then go elsewhere, for a user as for this test.
            wait_until("the window manager to make the window active", SETTLE_TIMEOUT,
                       lambda: self._display.active_window() == self.window
                       and self._display.has_keyboard(self.window))
        else:
            # No window manager runs, so the keyboard follows the pointer into the window.
            self._xdotool("windowfocus", "--sync", str(self.window))

    def _find_window(self):
        if self.process.poll() is not None:
            raise Failure("the program ended before showing its window (exit code %d)"
                          % self.process.returncode)
        for window in self._display.client_windows():
            try:
                # Wine runs the program in the very process that was started, so the window
                # names it as its owner there too; a window left by an earlier run cannot match.
                if (self._display.is_viewable(window) and self._display.title(window) == TITLE
                        and self._display.pid(window) == self.process.pid):
                    return window
            except xclient.XError:
                pass  # a window that is already gone again
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

    def pixels(self, rect):
        return self._display.pixels(self.window, *scaled(rect))

    def results(self):
        return self.pixels(DOWNLOAD_BOX), self.pixels(UPLOAD_BOX)

    def settled_results(self, what, unlike):
        """The result boxes once they differ from `unlike` and have stayed the same for
        SETTLED: the two figures are painted one after the other, and on a loaded machine one
        box can stand filled beside an empty one for more than a poll or two."""
        previous, since = None, None

        def changed_and_still():
            nonlocal previous, since
            current = self.results()
            if current == unlike or current != previous:
                previous, since = current, time.monotonic()
                return None
            return current if time.monotonic() - since >= SETTLED else None

        return wait_until(what, SETTLE_TIMEOUT, changed_and_still)

    def copied_text(self, rect):
        """A box's text as a user takes it: a click into the box, all of it selected, copied."""
        def answered():
            text = self._clipboard()
            # In a list, so that an empty clipboard, None, counts as an answer.
            return None if text is BUSY else [text]

        before = wait_until("the clipboard to answer", CLIPBOARD_TIMEOUT, answered)[0]
        self.click(rect)
        self.press("ctrl+a", "ctrl+c")

        def copy_arrived():
            text = self._clipboard()
            return text if text not in (before, BUSY) else None

        # Every two texts copied one after the other differ, so an unchanged clipboard means
        # that the copy has not yet reached the X selection.
        return wait_until("the text copied from a result box", CLIPBOARD_TIMEOUT, copy_arrived)

    def _clipboard(self):
        """The clipboard's text, None where it holds none, or BUSY where its owner, Wine, was
        too busy to answer in time and is to be asked again."""
        try:
            result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self._env,
                                    stdin=subprocess.DEVNULL, capture_output=True,
                                    timeout=CLIPBOARD_LOOK)
        except subprocess.TimeoutExpired:
            return BUSY
        return result.stdout.decode(errors="replace") if result.returncode == 0 else None

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
    _, _, width, height = scaled(rect)
    inset = scaled((4,))[0]
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


def shows_focus(pixels):
    """True when most of the list's face has a colour of its own, the selection colour (a blue, a
    cyan or a purple in each theme the runs use), rather than the white, grey or black of a list
    without the focus."""
    seen = colours(pixels)
    colour, count = collections.Counter(seen).most_common(1)[0]
    return count * 2 > len(seen) and max(colour) - min(colour) > 60


def use_the_calculator(program):
    if WINE:
        # Keys typed as soon as the window is seen must reach the list: the window has the focus
        # there before it is shown, and the first key waits for nothing else.
        wait_until("the focus on the list", SETTLE_TIMEOUT,
                   lambda: shows_focus(program.pixels(LIST_FACE)))
        passed("the list has the focus as the window appears")

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


# Typed speeds and the figures shown for them, "{0}" standing for the decimal separator: the
# program has to write it in the first row's figures and read it in the second row's speed.
FIGURES = (("100", "12{0}5 Kbps", "3{0}125 Kbps"),
           ("1{0}5", "192 Kbps", "48 Kbps"))


def figures_in_regional_settings(program):
    separator = decimal_separator()
    for typed, download, upload in FIGURES:
        typed, expected = typed.format(separator), (download.format(separator),
                                                    upload.format(separator))
        before = program.results()
        program.click(SPEED_BOX)
        program.press("ctrl+a")
        program.type(typed)
        calculate_and_read(program, before, "a typed speed of " + typed)
        shown = program.copied_text(DOWNLOAD_BOX), program.copied_text(UPLOAD_BOX)
        message = "a typed speed of %s shows %s and %s" % ((typed,) + expected)
        if shown != expected:
            raise Failure("%s, not %r and %r" % ((message,) + shown))
        passed(message)


def decimal_separator():
    """The one in the regional settings that Wine makes out of the Unix locale."""
    locale.setlocale(locale.LC_ALL, "")
    return locale.localeconv()["decimal_point"]


def ink_box(pixels, width, height):
    """The smallest rectangle (x, y, width, height) around the text in pixels that
    Display.pixels() read, or None when they show none. On a dark background the text is the
    light that stands out of it."""
    dark = luminance(collections.Counter(colours(pixels)).most_common(1)[0][0]) < 0.5
    xs, ys = set(), set()
    for y in range(height):
        for x in range(width):
            pixel = pixels[(y * width + x) * 4:(y * width + x) * 4 + 3]
            if (min(pixel) > 255 - INK) if dark else (max(pixel) < INK):
                xs.add(x)
                ys.add(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1


def captions_are_whole(program):
    ink = {}
    for name, rect in CAPTIONS.items():
        _, _, width, height = scaled(rect)
        box = ink_box(program.pixels(rect), width, height)
        if box is None:
            raise Failure("%s shows no caption" % name)
        x, y, ink_width, ink_height = box
        # Under a contrast theme a frame's line stands out as much as text does, and runs through
        # the title's strip from side to side: there a title is held to its top and bottom.
        sides = not (CONTRAST_THEME and name in TITLE_TEXTS)
        # Text cut off where its control ends leaves ink on that very edge.
        if (sides and (x == 0 or x + ink_width == width)) or y == 0 or y + ink_height == height:
            raise Failure("the caption of %s runs into the edge of its control" % name)
        ink[name] = box
    for title, control in SAME_WORDS:
        if ink[title][3] < ink[control][3]:
            raise Failure("%s is %d pixels tall, but %s in the same letters is %d: it is cut off"
                          % (title, ink[title][3], control, ink[control][3]))
    passed("every caption is whole, none cut off by its control or its frame")


def luminance(pixel):
    """WCAG's relative luminance of a pixel as Display.pixels() gives it: blue, green, red."""
    def linear(value):
        value /= 255
        return value / 12.92 if value <= 0.04045 else ((value + 0.055) / 1.055) ** 2.4

    blue, green, red = pixel
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue)


def contrast(one, other):
    lighter, darker = sorted((luminance(one), luminance(other)), reverse=True)
    return (lighter + 0.05) / (darker + 0.05)


def colours(pixels):
    return [tuple(pixels[offset:offset + 3]) for offset in range(0, len(pixels), 4)]


def text_contrast(pixels):
    """Text against what it is drawn on: the colour most of the rectangle has, and the colour
    that stands out from it most, which the strokes of the letters have at their core."""
    seen = colours(pixels)
    background = collections.Counter(seen).most_common(1)[0][0]
    return max(contrast(colour, background) for colour in set(seen))


def edge(rect):
    """The outermost two pixels of a rectangle, at 100 %, as rectangles."""
    x, y, width, height = rect
    return ((x, y, width, 2), (x, y + height - 2, width, 2),
            (x, y, 2, height), (x + width - 2, y, 2, height))


def check_contrast(what, ratio, least):
    """Fails below the least contrast; gives what was measured, for the report."""
    if ratio < least:
        raise Failure("%s stands at %.2f : 1 against its background, below %.1f : 1"
                      % (what, ratio, least))
    return what, ratio


def focus_contrast(program, parts, move, background, arrives):
    """The contrast against the background of the mark that shows the focus in the rectangles
    parts: what changes there when move() takes the focus away, or brings it if it arrives."""
    before = [program.pixels(part) for part in parts]
    move()

    def focus_moved():
        now = [program.pixels(part) for part in parts]
        return now if now != before else None

    after = wait_until("the focus to show that it moved", SETTLE_TIMEOUT, focus_moved)
    focused, unfocused = (after, before) if arrives else (before, after)
    changed = [mark for now, plain in zip(focused, unfocused)
               for mark, other in zip(colours(now), colours(plain)) if mark != other]
    return max(contrast(mark, background) for mark in changed)


def contrast_is_enough(program):
    """Every caption and figure, the chosen option's mark and the focus stand out enough from
    what they are drawn on, in the colours of the run; the text boxes' edges are measured too."""
    text_least, mark_least = ((THEME_CONTRAST, THEME_CONTRAST) if CONTRAST_THEME
                              else (TEXT_CONTRAST, NON_TEXT_CONTRAST))
    background = colours(program.pixels(BACKGROUND + (1, 1)))[0]
    texts = [check_contrast(name, text_contrast(program.pixels(rect)), text_least)
             for name, rect in {**CAPTIONS, **TITLE_TEXTS, **TEXT_BOXES}.items()]
    # The window is left with the typed option chosen and the focus in the speed box.
    chosen, other = (colours(program.pixels(rect)) for rect in reversed(INDICATORS))
    marks = [check_contrast("the chosen option's mark, against the other option's",
                            max(map(contrast, chosen, other)), mark_least)]
    # Windows' text box shows the focus by its caret alone, a button by its focus frame: from
    # the speed box past the two result boxes to Calculate.
    face = collections.Counter(colours(program.pixels(CALCULATE_BUTTON))).most_common(1)[0][0]
    focus = focus_contrast(program, (CALCULATE_BUTTON,),
                           lambda: program.press("Tab", "Tab", "Tab"), face, True)
    marks.append(check_contrast("the focus on the calculate button", focus, mark_least))
    # The edges are the system theme's own drawing, not the program's: under Wine its stand-in
    # theme's, whose grey is lighter than Windows' own. So they are measured, not held to 3 : 1.
    edges = min(max(contrast(colour, background) for part in edge(rect)
                    for colour in colours(program.pixels(part)))
                for rect in (DOWNLOAD_BOX, UPLOAD_BOX))
    least_text, least_mark = (min(measured, key=lambda item: item[1])
                              for measured in (texts, marks))
    passed("contrast: the least of the texts is %s at %.2f : 1, of the marks %s at %.2f : 1; "
           "the text boxes' edges are at %.2f : 1" % (least_text + least_mark + (edges,)))


def picture_taker(path):
    """A step that saves the window as it stands, without the window manager's frame: on Windows
    the title bar is Windows' own, which Wine's stand-in does not look like. No time stamps in
    the file, so that an unchanged window gives an unchanged file."""
    def take_picture(program):
        # Back in list mode, "DSL 512kbps" calculated from the keyboard, so that no caret blinks.
        before = program.results()
        program.click(LIST_OPTION)
        program.press("shift+Tab", *["Down"] * 6)
        calculate_and_read(program, before, "DSL 512kbps")
        subprocess.run(["import", "-window", str(program.window), "-strip",
                        "-define", "png:exclude-chunks=date,time", path],
                       env=dict(os.environ, DISPLAY=os.environ["DISPLAY"]), check=True)
        passed("the window is saved as " + path)
    return take_picture


def leave_through_exit(program):
    program.click(EXIT_BUTTON)
    program.wait_for_exit("a click on Exit")
    passed("a click on Exit ends the program with exit code 0 within a second")


def close_from_window_system(program):
    program.close_from_window_system()
    program.wait_for_exit("the window system asked the window to close")
    passed("closing the window ends the program with exit code 0 within a second")


def run(command, display, env, managed, steps):
    program = Program(command, display, env, managed)
    try:
        program.wait_for_window()
        for step in steps:
            step(program)
    except Failure:
        print(program.output(), file=sys.stderr)
        raise
    finally:
        program.stop()


def run_sessions(command, display, env, managed, calculator_steps):
    run(command, display, env, managed, calculator_steps + (leave_through_exit,))
    run(command, display, env, managed, (close_from_window_system,))


def reg(*args):
    """Wine's reg, on the session's prefix."""
    return subprocess.run(["wine", "reg", *args], stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=60)


# Where Wine 10 keeps each display's own scale, which per-monitor aware programs such as Orvanta
# read: one Dpi value per display adapter and per source of its picture.
DISPLAYS = r"HKCC\System\CurrentControlSet\Control\Video"


@contextlib.contextmanager
def windows_scaling(percent):
    """Windows' display scaling in the session's Wine prefix, as its settings set it, for the
    programs started meanwhile: the system's (LogPixels) and every display's (Dpi), which Wine
    reads anew in every program it starts. The other suites share the prefix, so the values are
    put back after."""
    def set_value(key, name, value):
        if reg("add", key, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f").returncode:
            raise Failure("could not set %s to %d in %s" % (name, value, key))

    # Every key under DISPLAYS with a Dpi value, and the value it has, as reg lists them.
    before = {}
    key = None
    for line in reg("query", DISPLAYS, "/s").stdout.decode(errors="replace").splitlines():
        if line.startswith("HKEY_"):
            key = line.strip()
        found = re.match(r"\s+Dpi\s+REG_DWORD\s+0x([0-9a-fA-F]+)", line)
        if found and key:
            before[(key, "Dpi")] = int(found.group(1), 16)
    if not before:
        raise Failure("Wine keeps no display's Dpi under %s" % DISPLAYS)
    desktop = r"HKCU\Control Panel\Desktop"
    found = re.search(rb"LogPixels\s+REG_DWORD\s+0x([0-9a-fA-F]+)",
                      reg("query", desktop, "/v", "LogPixels").stdout)
    dots_per_inch = 96 * percent // 100
    for key, name in before:
        set_value(key, name, dots_per_inch)
    set_value(desktop, "LogPixels", dots_per_inch)
    try:
        yield
    finally:
        for (key, name), value in before.items():
            set_value(key, name, value)
        if found:
            set_value(desktop, "LogPixels", int(found.group(1), 16))
        else:
            reg("delete", desktop, "/v", "LogPixels", "/f")


@contextlib.contextmanager
def registry_values(values):
    """Values in the session's Wine prefix, (key, name, type, data) each, for the programs
    started meanwhile; the other suites share the prefix, so each is put back after."""
    before = []
    for key, name, _, _ in values:
        found = re.search(r"^\s+%s\s+(REG_\w+)\s+(.*?)\s*$" % re.escape(name),
                          reg("query", key, "/v", name).stdout.decode(errors="replace"),
                          re.MULTILINE)
        before.append((key, name) + (found.groups() if found else (None, None)))
    try:
        for key, name, kind, data in values:
            if reg("add", key, "/v", name, "/t", kind, "/d", data, "/f").returncode:
                raise Failure("could not set %s in %s" % (name, key))
        yield
    finally:
        for key, name, kind, data in before:
            if kind is None:
                reg("delete", key, "/v", name, "/f")
            else:
                if kind == "REG_DWORD":
                    data = str(int(data, 16))
                reg("add", key, "/v", name, "/t", kind, "/d", data, "/f")


# Where Windows keeps whether apps are to be light or dark, which Qt follows.
PERSONALIZE = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize"


def dark_mode():
    return [(PERSONALIZE, "AppsUseLightTheme", "REG_DWORD", "0")]


# Where the Settings page keeps Text size, in percent.
ACCESSIBILITY = r"HKCU\Software\Microsoft\Accessibility"


def text_size(percent):
    return [(ACCESSIBILITY, "TextScaleFactor", "REG_DWORD", str(percent))]


# The system's fonts, as LOGFONTW structures, the message font among them.
WINDOW_METRICS = r"HKCU\Control Panel\Desktop\WindowMetrics"
DEFAULT_MESSAGE_FONT_POINTS = 9


def message_font(percent):
    """The message font percent times as large as Windows' default, in the face the session
    gave it: its height, the LOGFONTW's first field, in pixels at 96 dots per inch."""
    found = re.search(r"REG_BINARY\s+([0-9A-Fa-f]+)",
                      reg("query", WINDOW_METRICS, "/v", "MessageFont").stdout.decode())
    if not found:
        raise Failure("Wine has no message font in " + WINDOW_METRICS)
    height = -round(DEFAULT_MESSAGE_FONT_POINTS * percent / 100 * 96 / 72)
    font = (height & 0xFFFFFFFF).to_bytes(4, "little").hex() + found.group(1)[8:]
    return [(WINDOW_METRICS, "MessageFont", "REG_BINARY", font)]


# The system colours that Qt takes its palette from, in a dark and a light contrast theme: the
# colours Windows 10's High Contrast Black and High Contrast White give those roles.
CONTRAST_COLOURS = {
    "black": {"Window": "0 0 0", "WindowText": "255 255 255", "ButtonFace": "0 0 0",
              "ButtonText": "255 255 255", "ButtonHilight": "255 255 255",
              "ButtonLight": "255 255 255", "ButtonShadow": "128 128 128",
              "ButtonDkShadow": "255 255 255", "Hilight": "26 235 255", "HilightText": "0 0 0",
              "GrayText": "63 242 63"},
    "white": {"Window": "255 255 255", "WindowText": "0 0 0", "ButtonFace": "255 255 255",
              "ButtonText": "0 0 0", "ButtonHilight": "0 0 0", "ButtonLight": "0 0 0",
              "ButtonShadow": "128 128 128", "ButtonDkShadow": "0 0 0", "Hilight": "55 0 110",
              "HilightText": "255 255 255", "GrayText": "96 0 0"},
}
# Wine keeps the colours in two places: the user's, and the session's own copy, which the visual
# style's colours were put in at its start and which comes first.
COLOURS = (r"HKCU\Control Panel\Colors",
           r"HKCU\Software\Wine\Temporary System Parameters\Control Panel\Colors")
THEME_MANAGER = r"HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager"


def contrast_theme(name):
    """A contrast theme's colours as the system's, and visual styles off, as Windows draws
    classic controls under such a theme (Wine cannot switch on the theme's flag itself)."""
    return ([(key, role, "REG_SZ", rgb) for key in COLOURS
             for role, rgb in CONTRAST_COLOURS[name].items()]
            + [(THEME_MANAGER, "ThemeActive", "REG_SZ", "0")])


# A contrast theme, black or white, from --contrast.
CONTRAST_THEME = None
# Whether the program is a Windows build, run under Wine (--wine).
WINE = False


def main():
    global SCALE, TEXT, CONTRAST_THEME, WINE
    arguments = sys.argv[1:]
    wine = WINE = arguments[:1] == ["--wine"]
    if wine:
        arguments.pop(0)
        if not (os.environ.get("DISPLAY") and os.environ.get("WINEPREFIX")):
            sys.exit("run_e2e.py: --wine runs inside scripts/wine-session")
    percent, settings, dots_per_inch, picture = 100, [], None, None
    if not wine and arguments[:1] == ["--xft-dpi"] and len(arguments) > 2 \
            and arguments[1].isdigit():
        dots_per_inch = int(arguments[1])
        percent = dots_per_inch * 100 // 96
        del arguments[:2]
    while wine and len(arguments) > 1 and arguments[0].startswith("--"):
        option = arguments.pop(0)
        if option == "--dark":
            settings += dark_mode()
        elif option in ("--scale", "--text-size", "--message-font") and arguments[0].isdigit():
            value = int(arguments.pop(0))
            if option == "--scale":
                percent = value
            else:
                TEXT = value / 100
                settings += text_size(value) if option == "--text-size" else message_font(value)
        elif option == "--picture":
            picture = arguments.pop(0)
        elif option == "--contrast" and arguments[0] in CONTRAST_COLOURS:
            CONTRAST_THEME = arguments.pop(0)
            settings += contrast_theme(CONTRAST_THEME)
        else:
            sys.exit(__doc__)
    if len(arguments) != 1:
        sys.exit(__doc__)
    executable = os.path.abspath(arguments[0])
    SCALE = percent / 100

    # A kill from the test runner still reaches the finally blocks below.
    for sig in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
        signal.signal(sig, lambda number, frame: sys.exit(128 + number))

    try:
        if wine:
            with xclient.Display(os.environ["DISPLAY"]) as display, windows_scaling(percent), \
                    registry_values(settings):
                steps = (use_the_calculator, contrast_is_enough, figures_in_regional_settings,
                         captions_are_whole)
                if picture:
                    steps = (use_the_calculator, picture_taker(picture))
                run_sessions(["wine", executable], display, dict(os.environ), True, steps)
        else:
            server, name = xclient.start_xvfb()
            try:
                with tempfile.TemporaryDirectory() as runtime, xclient.Display(name) as display:
                    if dots_per_inch:
                        display.set_resources("Xft.dpi:\t%d\n" % dots_per_inch)
                    env = xclient.program_environment(name, runtime)
                    run_sessions([executable], display, env, False, (use_the_calculator,))
            finally:
                server.kill()
                server.wait()
    except Failure as failure:
        print("FAILED -", failure, file=sys.stderr)
        return 1
    print("e2e: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
