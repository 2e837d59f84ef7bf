#!/usr/bin/env python3
"""Start-up time and peak memory of TolvexApp beside a bare Qt window with as many children
(build/scripts/bench/peer_window), in the same X server (Xvfb with openbox and a PulseAudio null
sink) and the same run, interleaved.

Start-up is from process start to the window mapped on the screen, as the X server reports it
to a watcher of the root window (xev), so that polling adds no delay of its own; peak memory is
the process's VmHWM once its music has loaded and played a while. Run after the test command has set everything up:

    /usr/bin/python3 scripts/bench_startup.py [runs]      (default 9)

Prints each program's median and runs, and TolvexApp's ratio to the bare window.
"""

import os
import queue
import statistics
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import Desktop  # noqa: E402

SETTLE_SECONDS = 4


class MapWatch:
    """The moments the X server maps a window at the top of the screen (the window manager's
    frame around a program's window), read from xev as they happen."""

    def __init__(self, desktop):
        self.process = desktop.spawn(["xev", "-root", "-event", "substructure"], stdout=subprocess.PIPE, text=True)
        self.maps = queue.Queue()
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        for line in self.process.stdout:
            if line.startswith("MapNotify"):
                self.maps.put(time.monotonic())

    def next_map_after(self, moment):
        while True:
            mapped = self.maps.get(timeout=30)
            if mapped > moment:
                return mapped


def start(desktop, watch, argv, name, measure_memory):
    """Seconds to the mapped window, and the peak resident memory in MB (or None)."""
    started = time.monotonic()
    process = subprocess.Popen(argv, env=desktop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               cwd=desktop.root)
    try:
        seconds = watch.next_map_after(started) - started
        while not desktop.windows(name, pid=process.pid):  # the window mapped was this program's
            if process.poll() is not None or time.monotonic() - started > 30:
                raise RuntimeError(f"{argv[0]} showed no window")
        if not measure_memory:
            return seconds, None
        time.sleep(SETTLE_SECONDS)
        with open(f"/proc/{process.pid}/status") as status:
            peak = next(int(line.split()[1]) for line in status if line.startswith("VmHWM"))
        return seconds, peak / 1024
    finally:
        process.terminate()
        process.wait()


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 9
    build = os.path.join(ROOT, "build")
    programs = [("TolvexApp", [os.path.join(build, "TolvexApp")], "^Tolvex App$"),
                ("bare Qt window", [os.path.join(build, "scripts", "bench", "peer_window")], "^Peer Window$")]
    desktop = Desktop()
    try:
        watch = MapWatch(desktop)
        time.sleep(0.5)
        for _, argv, name in programs:  # warm-up: both read their libraries from the cache
            start(desktop, watch, argv, name, False)
        times = {label: [] for label, _, _ in programs}
        peaks = {label: [] for label, _, _ in programs}
        for run in range(runs):
            for label, argv, name in programs:
                seconds, peak = start(desktop, watch, argv, name, run < 3)
                time.sleep(0.3)  # the program's end and its window's unmapping do not overlap the next start
                times[label].append(seconds * 1000)
                if peak:
                    peaks[label].append(peak)
        for label, _, _ in programs:
            print(f"{label:15s} start-up median {statistics.median(times[label]):6.1f} ms "
                  f"(runs: {', '.join(f'{t:.0f}' for t in times[label])}); "
                  f"peak memory {max(peaks[label]):.1f} MB")
        ratio = statistics.median(times["TolvexApp"]) / statistics.median(times["bare Qt window"])
        print(f"TolvexApp / bare Qt window: start-up {ratio:.2f} x")
    finally:
        desktop.stop()


if __name__ == "__main__":
    main()
