"""A small X11 client on the core protocol, for watching and reading windows from outside.

Speaks just enough of the wire protocol to start a private Xvfb display, notice windows being
mapped, read their titles, pixels and state, and ask one to close the way a window manager
does. It never sends input: keys and clicks go through xdotool, as a user's would.
"""

import os
import select
import socket
import struct
import subprocess
import time

_SUBSTRUCTURE_NOTIFY = 0x80000
_CW_EVENT_MASK = 0x800
_MAP_NOTIFY = 19
_CLIENT_MESSAGE = 33
_Z_PIXMAP = 2
_STRING = 31  # the predefined atom of the STRING type
_MAP_STATE_VIEWABLE = 2


class XError(Exception):
    """The server answered a request with an error."""


def _pad(length):
    return (4 - length % 4) % 4


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
        number = name.lstrip(":").split(".")[0]
        self._sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._sock.connect("/tmp/.X11-unix/X" + number)
        self._events = []
        self._atoms = {}
        self._setup()

    def close(self):
        self._sock.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # --- wire -----------------------------------------------------------------------------------

    def _recv_exactly(self, size):
        data = b""
        while len(data) < size:
            chunk = self._sock.recv(size - len(data))
            if not chunk:
                raise ConnectionError("the X server closed the connection")
            data += chunk
        return data

    def _setup(self):
        self._sock.sendall(struct.pack("<BxHHHHxx", ord("l"), 11, 0, 0, 0))
        head = self._recv_exactly(8)
        extra = self._recv_exactly(struct.unpack_from("<H", head, 6)[0] * 4)
        if head[0] != 1:
            raise ConnectionError("X server refused the connection: "
                                  + extra[:head[1]].decode(errors="replace"))
        vendor_length, = struct.unpack_from("<H", extra, 16)
        format_count = extra[21]
        screen = 32 + vendor_length + _pad(vendor_length) + 8 * format_count
        self.root, = struct.unpack_from("<I", extra, screen)

    def _read_packet(self):
        packet = self._recv_exactly(32)
        if packet[0] == 1:
            packet += self._recv_exactly(struct.unpack_from("<I", packet, 4)[0] * 4)
        return packet

    def _request(self, opcode, detail, body, reply=True):
        length = 1 + len(body) // 4
        self._sock.sendall(struct.pack("<BBH", opcode, detail, length) + body)
        if not reply:
            # A round trip that has a reply flushes out any error the request caused.
            self.intern("WM_PROTOCOLS")
            return None
        while True:
            packet = self._read_packet()
            if packet[0] == 0:
                raise XError("request %d failed with error %d" % (opcode, packet[1]))
            if packet[0] == 1:
                return packet
            self._events.append(packet)

    # --- requests -------------------------------------------------------------------------------

    def intern(self, name):
        if name not in self._atoms:
            raw = name.encode()
            body = struct.pack("<Hxx", len(raw)) + raw + b"\0" * _pad(len(raw))
            self._atoms[name] = struct.unpack_from("<I", self._request(16, 0, body), 8)[0]
        return self._atoms[name]

    def watch_top_level_windows(self):
        """From now on, wait_for_map() sees every top-level window that is mapped."""
        body = struct.pack("<III", self.root, _CW_EVENT_MASK, _SUBSTRUCTURE_NOTIFY)
        self._request(2, 0, body, reply=False)

    def wait_for_map(self, timeout):
        """The first top-level window mapped since the last call, and monotonic time it was seen,
        or None when none was mapped in time."""
        deadline = time.monotonic() + timeout
        while True:
            while self._events:
                event = self._events.pop(0)
                if event[0] & 0x7F == _MAP_NOTIFY:
                    return struct.unpack_from("<I", event, 8)[0], time.monotonic()
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([self._sock], [], [], remaining)[0]:
                return None
            packet = self._read_packet()
            if packet[0] > 1:
                self._events.append(packet)

    def property(self, window, name):
        """The raw bytes of a window's property; empty when it has none."""
        body = struct.pack("<IIIII", window, self.intern(name), 0, 0, 0x10000)
        reply = self._request(20, 0, body)
        unit = reply[1] // 8
        return reply[32:32 + struct.unpack_from("<I", reply, 16)[0] * unit]

    def set_resources(self, text):
        """Replaces the X resources that programs read at start, as xrdb does (Xft.dpi...)."""
        raw = text.encode()
        body = struct.pack("<IIIBxxxI", self.root, self.intern("RESOURCE_MANAGER"),
                           _STRING, 8, len(raw)) + raw + b"\0" * _pad(len(raw))
        self._request(18, 0, body, reply=False)

    def title(self, window):
        return (self.property(window, "_NET_WM_NAME")
                or self.property(window, "WM_NAME")).decode(errors="replace")

    def pid(self, window):
        raw = self.property(window, "_NET_WM_PID")
        return struct.unpack("<I", raw)[0] if len(raw) == 4 else None

    def children(self, window):
        reply = self._request(15, 0, struct.pack("<I", window))
        count, = struct.unpack_from("<H", reply, 16)
        return list(struct.unpack_from("<%dI" % count, reply, 32))

    def active_window(self):
        """The window that a window manager has made active, if one runs and any is."""
        raw = self.property(self.root, "_NET_ACTIVE_WINDOW")
        return struct.unpack("<I", raw)[0] if len(raw) == 4 else None

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
            reply = self._request(3, 0, struct.pack("<I", window))
        except XError:
            return False
        return reply[26] == _MAP_STATE_VIEWABLE

    def size(self, window):
        reply = self._request(14, 0, struct.pack("<I", window))
        return struct.unpack_from("<HH", reply, 16)

    def pixels(self, window, x, y, width, height):
        """The window's pixels in that rectangle, as raw bytes: equal bytes, equal picture."""
        body = struct.pack("<IhhHHI", window, x, y, width, height, 0xFFFFFFFF)
        return self._request(73, _Z_PIXMAP, body)[32:]

    def request_close(self, window):
        """Asks the window to close, exactly as a window manager's close button does."""
        data = struct.pack("<IIIII", self.intern("WM_DELETE_WINDOW"), 0, 0, 0, 0)
        event = struct.pack("<BBHII", _CLIENT_MESSAGE, 32, 0, window,
                            self.intern("WM_PROTOCOLS")) + data
        self._request(25, 0, struct.pack("<II", window, 0) + event, reply=False)
