#!/usr/bin/env python3
"""Start-up time and peak memory of TolvexApp beside a bare Qt window with as many children
(build/scripts/bench/peer_window), in the same X server (Xvfb with openbox and a PulseAudio null
sink) and the same run, interleaved; with TOLVEX_PREVIOUS naming another build's TolvexApp (its
libraries beside it), that one too, to find what a change added.

Start-up is from process start to the window mapped on the screen, as the X server reports it
to a watcher of the root window (xev), so that polling adds no delay of its own. Memory is taken
in starts of their own, once the music has loaded and played a while: the peak resident memory
(VmHWM) of the program and of each process it started (the synthesizer's), and their
proportional share (Pss, shared pages split between the processes that map them) at that moment;
beside them the fluidsynth command-line player's, playing the same tune with the same sound font,
as a floor for the synthesizer's process. Run after the test command has set everything up:

    /usr/bin/python3 scripts/bench_startup.py [runs]      (default 9)

Prints each program's median and runs, and TolvexApp's ratio to the others: of the medians, and
round by round (each round's starts follow one another, so the ratios do not drift with the
machine's load over the run).
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
from tune_settings import PLAYER  # noqa: E402

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


def memory(pid):
    """The process's and its children's peak resident memory, and their summed Pss, in MB."""
    children = subprocess.run(["pgrep", "-P", str(pid)], capture_output=True, text=True).stdout.split()
    peaks, pss = [], 0
    for process in [pid, *map(int, children)]:
        with open(f"/proc/{process}/status") as status:
            peaks.append(next(int(line.split()[1]) for line in status if line.startswith("VmHWM")) / 1024)
        with open(f"/proc/{process}/smaps_rollup") as rollup:
            pss += next(int(line.split()[1]) for line in rollup if line.startswith("Pss:")) / 1024
    return peaks, pss


def player_memory(desktop):
    """The fluidsynth player's peak and Pss, in MB, once it has played the tune a while."""
    player = subprocess.Popen(PLAYER, env=desktop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(SETTLE_SECONDS)
        return memory(player.pid)
    finally:
        player.terminate()
        player.wait()


def start(desktop, watch, argv, name, measure_memory):
    """Seconds to the mapped window, and the memory (see memory()) or None."""
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
        return seconds, memory(process.pid)
    finally:
        process.terminate()
        process.wait()


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 9
    build = os.path.join(ROOT, "build")
    programs = [("TolvexApp", [os.path.join(build, "TolvexApp")], "^Tolvex App$"),
                ("bare Qt window", [os.path.join(build, "scripts", "bench", "peer_window")], "^Peer Window$")]
    if os.environ.get("TOLVEX_PREVIOUS"):
        programs.insert(1, ("previous build", [os.environ["TOLVEX_PREVIOUS"]], "^Tolvex App$"))
    desktop = Desktop()
    try:
        watch = MapWatch(desktop)
        time.sleep(0.5)
        for _, argv, name in programs:  # warm-up: each reads its libraries from the cache
            start(desktop, watch, argv, name, False)
        times = {label: [] for label, _, _ in programs}
        for run in range(runs):
            order = programs if run % 2 == 0 else list(reversed(programs))
            for label, argv, name in order:
                seconds, _ = start(desktop, watch, argv, name, False)
                time.sleep(0.3)  # the program's end and its window's unmapping do not overlap the next start
                times[label].append(seconds * 1000)
        memories = {label: start(desktop, watch, argv, name, True)[1] for label, argv, name in programs}
        player_peaks, player_pss = player_memory(desktop)
        for label, _, _ in programs:
            peaks, pss = memories[label]
            print(f"{label:15s} start-up median {statistics.median(times[label]):6.1f} ms "
                  f"(runs: {', '.join(f'{t:.0f}' for t in times[label])}); "
                  f"peak memory {' + '.join(f'{peak:.1f}' for peak in peaks)} MB, Pss {pss:.1f} MB")
        print(f"{'fluidsynth':15s} playing the tune: peak memory {player_peaks[0]:.1f} MB, Pss {player_pss:.1f} MB")
        ours = statistics.median(times["TolvexApp"])
        for label, _, _ in programs[1:]:
            ratios = [a / b for a, b in zip(times["TolvexApp"], times[label])]
            quartiles = statistics.quantiles(ratios, n=4)
            print(f"TolvexApp / {label}: start-up {ours / statistics.median(times[label]):.2f} x "
                  f"(round by round: median {statistics.median(ratios):.2f}, "
                  f"middle half {quartiles[0]:.2f} to {quartiles[2]:.2f})")
    finally:
        desktop.stop()


if __name__ == "__main__":
    main()
