#!/usr/bin/env python3
"""When the tune starts again: TolvexApp plays into a null sink that is recorded from before the
program starts for 16 ticks of its timer (or twice, thrice that) and a little more; the opening's
loudness envelope is then found again near each restart, and the time from each opening to the
next printed beside the tune's length. Takes five and a half minutes a restart.

Run after the test command has set everything up:
    /usr/bin/python3 scripts/bench_restart.py [restarts]      (default 1)
"""

import array
import math
import os
import sys
import time
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
os.environ["TOLVEX_APP"] = os.path.join(ROOT, "build", "TolvexApp")
from harness import App, Desktop  # noqa: E402
from tune_settings import SETTINGS  # noqa: E402

RATE, STEP = 44100, 441  # the envelope has one value every 10 ms
PERIOD = int(SETTINGS["loop_ticks"]) * int(SETTINGS["loop_tick_ms"]) / 1000


def envelope(path):
    with wave.open(path) as w:
        samples = array.array("h", w.readframes(w.getnframes()))[::w.getnchannels()]
    return [math.sqrt(sum(s * s for s in samples[i:i + STEP]) / STEP) for i in range(0, len(samples) - STEP, STEP)]


def onset(values, start=0):
    """The first 10 ms step from `start` on whose loudness reaches a tenth of the opening's peak."""
    threshold = max(values[start:start + 300]) / 10
    return next(i for i in range(start, len(values)) if values[i] >= threshold)


def main():
    restarts = int(sys.argv[1]) if len(sys.argv) > 1 else 1
    desktop = Desktop()
    try:
        path = os.path.join(desktop.root, "sink.wav")
        recorder = desktop.spawn(["parecord", "--device=nullsink.monitor", "--rate=44100", "--format=s16le",
                                  "--file-format=wav", path])
        time.sleep(1)
        App(desktop).wait_for_window()
        time.sleep(PERIOD * restarts + 8)
        recorder.terminate()
        recorder.wait()
        values = envelope(path)
        start = onset(values)
        opening = values[start:start + 500]
        print(f"the timer restarts the tune {PERIOD} s after it began to sound")
        for restart in range(1, restarts + 1):
            # The lag near one period where the opening's 5 s envelope matches best.
            lags = range(start + int((PERIOD - 2) * 100), start + int((PERIOD + 2) * 100))
            best = min(lags, key=lambda lag: sum((a - b) ** 2 for a, b in zip(opening, values[lag:lag + 500])))
            print(f"restart {restart}: the opening came again {(best - start) / 100:.2f} s after the last one")
            start = best
    finally:
        desktop.stop()


if __name__ == "__main__":
    main()
