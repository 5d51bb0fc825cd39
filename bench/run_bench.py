#!/usr/bin/env python3
"""Start-up time and memory of Orvanta against a bare window showing the same controls, built
alike: on Linux both of Qt's widgets, on Windows both of Windows' own controls.

Both programs run, taking turns, on a private Xvfb display. Each run is timed from outside:

  exec    the monotonic clock just before the child process is spawned;
  mapped  the MapNotify for its top-level window, seen by an X client of this script that
          listens on the root window (no window manager runs, so the map is immediate and the
          event arrives within a fraction of a millisecond of the program's request);
  painted the first moment the window's Exit button shows drawn content, polled every
          millisecond from the map on with GetImage; before its first paint the window is
          one flat colour;
  CPU     the CPU time of all its threads (schedstat) when its memory is read.

After the paint the program is left alone for a moment, then its peak resident set size
(VmHWM in /proc/PID/status) is read and it is terminated. The first run of each is a warm-up
and is not counted, so that both find the fonts and libraries in the page cache.

With --wine both are Windows builds, run as `wine PROGRAM` in the Wine prefix and on the display
of the scripts/wine-session that this script runs in. There a window manager runs, so "mapped"
is when it shows the window's frame; the CPU time is the program's process alone, without the
wineserver it calls on. What is measured is Wine on Linux: the ratios say how the two programs
compare, the times and memory say little about Windows itself.

Usage: run_bench.py [--wine] PROGRAM MINIMAL_WINDOW [RUNS]
"""

import os
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import xclient  # noqa: E402

DEFAULT_RUNS = 31
EXIT_BUTTON = (184, 208, 169, 25)
MAP_TIMEOUT = 15.0
PAINT_TIMEOUT = 5.0
# Time for the first paint's follow-ups (focus frame, cursor) to finish before memory is read.
SETTLE = 0.3
# On Windows the window is Windows' own, and what Orvanta adds to it must barely show; on Linux it
# also loads its translation of Qt's texts and its icons.
TARGETS = {"mapped": 1.15, "painted": 1.15, "peak_kib": 1.10}
WINDOWS_TARGETS = {"mapped": 1.05, "painted": 1.05, "peak_kib": 1.10}


class Run:
    def __init__(self, mapped, painted, cpu, peak_kib):
        self.mapped = mapped
        self.painted = painted
        self.cpu = cpu
        self.peak_kib = peak_kib


def peak_resident_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmHWM:"):
                return int(line.split()[1])
    raise RuntimeError("no VmHWM for process %d" % pid)


def cpu_milliseconds(pid):
    """Time spent on a CPU by all of the process's threads so far; unlike the wall-clock
    figures it does not grow when other work on the machine delays the program."""
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/schedstat" % (pid, task)) as schedstat:
            total += int(schedstat.read().split()[0])
    return total / 1e6


def is_drawn(pixels):
    return pixels != pixels[:4] * (len(pixels) // 4)


def own_window(display, mapped_window, pid):
    """The process's window, if it is the one mapped or, when a window manager has framed it,
    inside the frame that was mapped."""
    try:
        for window in [mapped_window] + display.children(mapped_window):
            if display.pid(window) == pid:
                return window
    except xclient.XError:
        pass  # a window that is already gone again
    return None


def launch_once(display, command, env):
    executable = command[-1]
    while display.wait_for_map(0):
        pass  # maps left over from earlier runs
    started = time.monotonic()
    process = subprocess.Popen(command, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               preexec_fn=xclient.die_with_parent)
    try:
        while True:
            seen = display.wait_for_map(MAP_TIMEOUT)
            if seen is None:
                raise RuntimeError("%s showed no window" % executable)
            window, mapped = own_window(display, seen[0], process.pid), seen[1]
            if window is not None:
                break
        deadline = mapped + PAINT_TIMEOUT
        while not is_drawn(display.pixels(window, *EXIT_BUTTON)):
            if time.monotonic() > deadline:
                raise RuntimeError("%s never painted its window" % executable)
            time.sleep(0.001)
        painted = time.monotonic()
        time.sleep(SETTLE)
        cpu = cpu_milliseconds(process.pid)
        peak = peak_resident_kib(process.pid)
        return Run((mapped - started) * 1000, (painted - started) * 1000, cpu, peak)
    finally:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def measure(display, programs, prefix, env, runs):
    display.watch_top_level_windows()
    results = {label: [] for label in programs}
    for round_number in range(runs + 1):
        for label, executable in programs.items():
            run = launch_once(display, prefix + [executable], env)
            if round_number > 0:
                results[label].append(run)
    return results


def main():
    arguments = sys.argv[1:]
    wine = arguments[:1] == ["--wine"]
    if wine:
        arguments.pop(0)
    if len(arguments) not in (2, 3):
        sys.exit(__doc__)
    programs = {"Orvanta": os.path.abspath(arguments[0]),
                "minimal": os.path.abspath(arguments[1])}
    runs = int(arguments[2]) if len(arguments) == 3 else DEFAULT_RUNS

    if wine:
        if not (os.environ.get("DISPLAY") and os.environ.get("WINEPREFIX")):
            sys.exit("run_bench.py: --wine runs inside scripts/wine-session")
        with xclient.Display(os.environ["DISPLAY"]) as display:
            results = measure(display, programs, ["wine"], dict(os.environ), runs)
    else:
        server, name = xclient.start_xvfb()
        try:
            with tempfile.TemporaryDirectory() as runtime, xclient.Display(name) as display:
                env = xclient.program_environment(name, runtime)
                results = measure(display, programs, [], env, runs)
        finally:
            server.kill()
            server.wait()

    report(programs, results, runs, wine)


def report(programs, results, runs, wine):
    def median(label, field):
        return statistics.median(getattr(run, field) for run in results[label])

    def spread(label, field):
        values = [getattr(run, field) for run in results[label]]
        return "%.1f-%.1f" % (min(values), max(values))

    print("%d runs of each, alternating, after one warm-up run each" % runs)
    if wine:
        print("Windows builds under Wine on Linux: compare the ratios; the times and memory are\n"
              "Wine's, not what either program takes on Windows")
    print()
    header = "%-34s %10s %10s %7s %8s" % ("median", "Orvanta", "minimal", "ratio", "target")
    print(header)
    print("-" * len(header))
    rows = (("exec to window mapped (ms)", "mapped", 1.0),
            ("exec to window painted (ms)", "painted", 1.0),
            ("CPU time until idle (ms)", "cpu", 1.0),
            ("peak resident memory (MiB)", "peak_kib", 1 / 1024))
    for title, field, scale in rows:
        program, minimal = median("Orvanta", field), median("minimal", field)
        ratio = program / minimal
        line = "%-34s %10.1f %10.1f %7.3f" % (title, program * scale, minimal * scale, ratio)
        targets = WINDOWS_TARGETS if wine else TARGETS
        if field in targets:
            verdict = "ok" if ratio <= targets[field] else "MISSED"
            line += " %7.2f %s" % (targets[field], verdict)
        print(line)
    sizes = {label: os.path.getsize(path) / 1024 for label, path in programs.items()}
    print("%-34s %10.1f %10.1f %7.3f"
          % ("executable size (KiB)", sizes["Orvanta"], sizes["minimal"],
             sizes["Orvanta"] / sizes["minimal"]))
    print("\nrange (min-max): mapped %s vs %s ms, painted %s vs %s ms"
          % (spread("Orvanta", "mapped"), spread("minimal", "mapped"),
             spread("Orvanta", "painted"), spread("minimal", "painted")))


if __name__ == "__main__":
    main()
