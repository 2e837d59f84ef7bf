#!/usr/bin/env python3
"""Start-up time and peak memory of TolvexApp beside a bare Qt window with as many children
(build/scripts/bench/peer_window), in the same X server (Xvfb with openbox and a PulseAudio null
sink) and the same run, interleaved.

Start-up is from process start to the window mapped; peak memory is the process's VmHWM once its
music has loaded and played a while. Run after the test command has set everything up:

    /usr/bin/python3 scripts/bench_startup.py [runs]      (default 9)

Prints each program's median and runs, and TolvexApp's ratio to the bare window.
"""

import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import Desktop  # noqa: E402

SETTLE_SECONDS = 4


def start(desktop, argv, name, measure_memory):
    """Seconds to the mapped window, and the peak resident memory in MB (or None)."""
    started = time.monotonic()
    process = subprocess.Popen(argv, env=desktop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               cwd=desktop.root)
    try:
        while not desktop.windows(name, pid=process.pid):
            if process.poll() is not None or time.monotonic() - started > 30:
                raise RuntimeError(f"{argv[0]} showed no window")
        seconds = time.monotonic() - started
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
        for _, argv, name in programs:  # warm-up: both read their libraries from the cache
            start(desktop, argv, name, False)
        times = {label: [] for label, _, _ in programs}
        peaks = {label: [] for label, _, _ in programs}
        for run in range(runs):
            for label, argv, name in programs:
                seconds, peak = start(desktop, argv, name, run < 3)
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
