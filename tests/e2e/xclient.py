"""Watching and reading windows from outside, through python-xlib.

Starts a private Xvfb display, notices windows being mapped, reads their titles, pixels and
state, and asks one to close the way a window manager does. It never sends input: keys and
clicks go through xdotool, as a user's would.
"""

import os
import select
import subprocess
import time

from Xlib import X, Xatom
from Xlib import display as xdisplay
from Xlib import error as xerror
from Xlib.protocol import event as xevent


class XError(Exception):
    """The server answered a request with an error."""


def die_with_parent():
    """For preexec_fn: the child is killed when the process that started it dies, whatever way."""
    import ctypes

    pr_set_pdeathsig = 1
    ctypes.CDLL(None, use_errno=True).prctl(pr_set_pdeathsig, 9)


def start_xvfb(timeout=10.0):
    """Starts Xvfb on a display number it picks as free; returns (process, display name)."""
    read_end, write_end = os.pipe()
    try:
        server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=die_with_parent)
    finally:
        os.close(write_end)
    number = b""
    deadline = time.monotonic() + timeout
    try:
        while not number.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([read_end], [], [], remaining)[0]:
                server.kill()
                server.wait()
                raise RuntimeError("Xvfb did not report its display in time")
            chunk = os.read(read_end, 16)
            if not chunk:
                server.wait()
                raise RuntimeError("Xvfb exited before reporting its display")
            number += chunk
    finally:
        os.close(read_end)
    return server, ":" + number.decode().strip()


def program_environment(display_name, runtime_dir):
    """The environment for a Qt program on that display: the X platform, nothing inherited
    that would send it elsewhere, and a private runtime directory."""
    env = {key: value for key, value in os.environ.items()
           if not key.startswith(("QT_", "WAYLAND_"))}
    env.update(DISPLAY=display_name, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime_dir)
    return env


class Display:
    """One connection to a local display, e.g. Display(":5")."""

    def __init__(self, name):
        self._display = xdisplay.Display(name)
        self.root = self._display.screen().root.id

    def close(self):
        self._display.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _window(self, window):
        return self._display.create_resource_object("window", window)

    def _ask(self, request, *arguments):
        """A request that has a reply; an X error becomes XError."""
        try:
            return request(*arguments)
        except xerror.XError as error:
            raise XError(str(error)) from error

    def _send(self, request, *arguments, **options):
        """A request without a reply, whose error, if any, a round trip brings back."""
        errors = []
        request(*arguments, onerror=lambda error, *_: errors.append(error), **options)
        self._display.sync()
        if errors:
            raise XError(str(errors[0]))

    def intern(self, name):
        return self._display.intern_atom(name)

    def watch_top_level_windows(self):
        """From now on, wait_for_map() sees every top-level window that is mapped."""
        self._send(self._window(self.root).change_attributes,
                   event_mask=X.SubstructureNotifyMask)

    def wait_for_map(self, timeout):
        """The first top-level window mapped since the last call, and monotonic time it was seen,
        or None when none was mapped in time."""
        deadline = time.monotonic() + timeout
        while True:
            while self._display.pending_events():
                event = self._display.next_event()
                if event.type == X.MapNotify:
                    return event.window.id, time.monotonic()
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([self._display.fileno()], [], [],
                                                   remaining)[0]:
                return None

    def _property(self, window, name):
        found = self._ask(self._window(window).get_full_property, self.intern(name),
                          X.AnyPropertyType)
        return found.value if found else None

    def set_resources(self, text):
        """Replaces the X resources that programs read at start, as xrdb does (Xft.dpi...)."""
        self._send(self._window(self.root).change_property, self.intern("RESOURCE_MANAGER"),
                   Xatom.STRING, 8, text.encode())

    def title(self, window):
        value = self._property(window, "_NET_WM_NAME") or self._property(window, "WM_NAME")
        if not value:
            return ""
        return value.decode(errors="replace") if isinstance(value, bytes) else str(value)

    def pid(self, window):
        value = self._property(window, "_NET_WM_PID")
        return int(value[0]) if value is not None and len(value) == 1 else None

    def children(self, window):
        return [child.id for child in self._ask(self._window(window).query_tree).children]

    def active_window(self):
        """The window that a window manager has made active, if one runs and any is."""
        value = self._property(self.root, "_NET_ACTIVE_WINDOW")
        return int(value[0]) if value is not None and len(value) == 1 else None

    def has_keyboard(self, window):
        """True when the keyboard's input focus is on the window or inside it: where a key that
        is pressed now goes."""
        try:
            focus = self._ask(self._display.get_input_focus).focus
            focus = focus if isinstance(focus, int) else focus.id
            while focus not in (window, self.root, X.NONE, X.PointerRoot):
                focus = self._ask(self._window(focus).query_tree).parent.id
        except XError:
            return False  # the focus window went away as it was looked at: asked again
        return focus == window

    def top_level_windows(self):
        return self.children(self.root)

    def client_windows(self):
        """The windows that programs made at top level, wherever they are now: a window manager
        moves each into a frame window of its own, which is then the top-level window."""
        found = []
        for window in self.top_level_windows():
            found.append(window)
            try:
                found.extend(self.children(window))
            except XError:
                pass  # a window that is already gone again
        return found

    def is_viewable(self, window):
        try:
            attributes = self._ask(self._window(window).get_attributes)
        except XError:
            return False
        return attributes.map_state == X.IsViewable

    def size(self, window):
        geometry = self._ask(self._window(window).get_geometry)
        return geometry.width, geometry.height

    def pixels(self, window, x, y, width, height):
        """The window's pixels in that rectangle, as raw bytes: equal bytes, equal picture."""
        image = self._ask(self._window(window).get_image, x, y, width, height, X.ZPixmap,
                          0xFFFFFFFF)
        return bytes(image.data)

    def request_close(self, window):
        """Asks the window to close, exactly as a window manager's close button does."""
        target = self._window(window)
        message = xevent.ClientMessage(
            window=target, client_type=self.intern("WM_PROTOCOLS"),
            data=(32, [self.intern("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        self._send(target.send_event, message, event_mask=0)
