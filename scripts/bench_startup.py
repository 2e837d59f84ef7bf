#!/usr/bin/env python3
"""Start-up time of TolvexApp, from process start to its window mapped, beside a minimal Qt
window with as many children (build/peer_window), in the same X server and the same run.

Run after scripts/setup.sh --tests:  /usr/bin/python3 scripts/bench_startup.py [runs]
Prints each program's median of the runs and their ratio.
"""

import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import Desktop  # noqa: E402


def time_to_window(desktop, argv, name):
    started = time.monotonic()
    process = subprocess.Popen(argv, env=desktop.env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, cwd=desktop.root)
    try:
        while True:
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                                   env=desktop.env, capture_output=True, text=True).stdout.strip()
            if found:
                return time.monotonic() - started
            if process.poll() is not None:
                raise RuntimeError(f"{argv[0]} exited before showing its window")
            if time.monotonic() - started > 30:
                raise RuntimeError(f"{argv[0]} showed no window in 30 s")
    finally:
        process.terminate()
        process.wait()


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 5
    build = os.path.join(ROOT, "build")
    programs = [("TolvexApp", [os.path.join(build, "TolvexApp")], "^Tolvex App$"),
                ("minimal Qt window", [os.path.join(build, "scripts", "bench", "peer_window")],
                 "^Peer Window$")]
    desktop = Desktop()
    try:
        medians = {}
        # One warm-up start of each, so that both read their libraries from the cache.
        for _, argv, name in programs:
            time_to_window(desktop, argv, name)
        samples = {label: [] for label, _, _ in programs}
        for _ in range(runs):
            for label, argv, name in programs:
                samples[label].append(time_to_window(desktop, argv, name))
        for label, values in samples.items():
            medians[label] = statistics.median(values)
            print(f"{label:20s} median {medians[label] * 1000:7.1f} ms   runs: "
                  + ", ".join(f"{v * 1000:.0f}" for v in values))
        ratio = medians["TolvexApp"] / medians["minimal Qt window"]
        print(f"TolvexApp / minimal Qt window: {ratio:.2f}")
    finally:
        desktop.stop()


if __name__ == "__main__":
    main()
