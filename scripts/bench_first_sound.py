#!/usr/bin/env python3
"""How soon the music is heard: milliseconds from the process's start to the first audible sample
on the null sink, for TolvexApp and for the fluidsynth command-line player with the same tune
file, sound font and gain, started in turn (interleaved, the order alternating) in the same X
server and sound server. Runs on PulseAudio and, where it is installed, on PipeWire with its
PulseAudio service, each started in a private runtime folder.

The sink is recorded all along by a low-latency recorder, which also keeps an idle PulseAudio
null sink from working in 2-second blocks; a recorded block's samples are dated by the moment
the block arrives. The method is checked first with a click written to a low-latency player at a
known moment: the time until it is heard is the measuring path's own delay.

Run after the test command has set everything up:
    /usr/bin/python3 scripts/bench_first_sound.py [rounds]      (default 12)
TOLVEX_APP names another TolvexApp to measure (its two libraries beside it); default build/.
"""

import array
import math
import os
import shutil
import statistics
import subprocess
import sys
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import Desktop  # noqa: E402
from tune_settings import PLAYER  # noqa: E402

RATE = 44100
AUDIBLE = 0.001  # -60 dBFS
TIMEOUT = 10
APP = os.environ.get("TOLVEX_APP", os.path.join(ROOT, "build", "TolvexApp"))
PROGRAMS = {"TolvexApp": [APP], "fluidsynth": PLAYER}


class Listener:
    """Records the null sink's monitor (mono, 32-bit float) and dates the first audible sample
    after the moment it is armed."""

    def __init__(self, desktop):
        self.process = desktop.spawn(["parec", "--device=nullsink.monitor", "--latency-msec=10", "--raw",
                                      "--format=float32le", "--channels=1", f"--rate={RATE}"],
                                     stdout=subprocess.PIPE)
        self.armed, self.heard, self.flowing = None, threading.Event(), threading.Event()
        self.moment = None
        threading.Thread(target=self.read, daemon=True).start()
        # The sink's current block ends first: on an idle PulseAudio null sink, up to 2 s.
        if not self.flowing.wait(TIMEOUT):
            raise RuntimeError("the recorder receives nothing")
        time.sleep(0.5)

    def read(self):
        pending = b""
        while chunk := os.read(self.process.stdout.fileno(), 65536):
            arrived = time.monotonic()
            self.flowing.set()
            pending += chunk
            whole = len(pending) // 4 * 4
            samples = array.array("f", pending[:whole])
            pending = pending[whole:]
            if self.armed is None or self.heard.is_set() or not samples:
                continue
            if max(samples) < AUDIBLE and -min(samples) < AUDIBLE:
                continue
            first = next(i for i, s in enumerate(samples) if abs(s) >= AUDIBLE)
            moment = arrived - (len(samples) - first) / RATE
            if moment > self.armed:
                self.moment = moment
                self.heard.set()

    def arm(self):
        self.heard.clear()
        self.armed = time.monotonic()
        return self.armed

    def wait(self):
        if not self.heard.wait(TIMEOUT):
            raise RuntimeError("nothing was heard")
        self.armed = None
        return self.moment


def check_method(desktop, listener, clicks=5):
    """Milliseconds from writing a click to a running low-latency player until it is heard."""
    player = desktop.spawn(["pacat", "--playback", "--latency-msec=10", "--raw", "--format=float32le",
                            "--channels=1", f"--rate={RATE}"], stdin=subprocess.PIPE)
    time.sleep(1)
    # 30 ms of a 1 kHz tone: a click too short could fall wholly in what the sink renders again
    # (rewinds) when a stream starts.
    click = array.array("f", [0.5 * math.sin(2 * math.pi * 1000 * i / RATE) for i in range(RATE * 3 // 100)]
                        + [0.0] * (RATE // 10)).tobytes()
    delays = []
    for _ in range(clicks):
        time.sleep(0.4)
        written = listener.arm()
        player.stdin.write(click)
        player.stdin.flush()
        delays.append((listener.wait() - written) * 1000)
    player.stdin.close()
    player.wait(timeout=10)
    return delays


def first_sound(desktop, listener, argv):
    time.sleep(0.5)  # the last run's sound has ended
    started = listener.arm()
    process = subprocess.Popen(argv, env=desktop.env, cwd=desktop.root,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        return (listener.wait() - started) * 1000
    finally:
        process.terminate()
        process.wait(timeout=10)


def summary(values):
    return f"median {statistics.median(values):6.1f} ms (min {min(values):.0f}, max {max(values):.0f})"


def measure(server, rounds):
    desktop = Desktop(sound=server)
    try:
        listener = Listener(desktop)
        clicks = check_method(desktop, listener)
        for argv in PROGRAMS.values():  # warm-up: both read their files from the cache
            first_sound(desktop, listener, argv)
        times = {label: [] for label in PROGRAMS}
        for round_ in range(rounds):
            order = list(PROGRAMS) if round_ % 2 == 0 else list(reversed(PROGRAMS))
            for label in order:
                times[label].append(first_sound(desktop, listener, PROGRAMS[label]))
    finally:
        desktop.stop()
    print(f"== {server}: {rounds} rounds")
    print(f"  method check, a click heard after it was written: {summary(clicks)}")
    for label, values in times.items():
        print(f"  {label:11s} first sound {summary(values)}; runs: {', '.join(f'{t:.0f}' for t in values)}")
    ratios = [a / b for a, b in zip(times["TolvexApp"], times["fluidsynth"])]
    print(f"  TolvexApp / fluidsynth: {statistics.median(times['TolvexApp']) / statistics.median(times['fluidsynth']):.2f} x "
          f"(round by round: median {statistics.median(ratios):.2f}, min {min(ratios):.2f}, max {max(ratios):.2f})")


def main():
    rounds = int(sys.argv[1]) if len(sys.argv) > 1 else 12
    measure("pulseaudio", rounds)
    if shutil.which("pipewire") and shutil.which("pipewire-pulse") and shutil.which("wireplumber"):
        measure("pipewire", rounds)
    else:
        print("== pipewire: not installed")


if __name__ == "__main__":
    main()
