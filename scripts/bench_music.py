#!/usr/bin/env python3
"""What the music costs: CPU share and peak memory of TolvexApp (its window's process and the
synthesizer's process it starts) while its tune plays, beside the
fluidsynth command-line player on the same MIDI file and sound font in the same private
PulseAudio; and every thread's wakeups a second while the music plays and after Ctrl+M has
turned it off.

Run after the test command has set everything up:  /usr/bin/python3 scripts/bench_music.py
"""

import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
os.environ["TOLVEX_APP"] = os.path.join(ROOT, "build", "TolvexApp")
from harness import App, Desktop  # noqa: E402
from tune_settings import PLAYER  # noqa: E402

WARM_UP, WINDOW = 5, 20
TICKS = os.sysconf("SC_CLK_TCK")


def family(pid):
    """The process and the processes it started."""
    children = []
    for tid in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{tid}/children") as f:
            children += [int(child) for child in f.read().split()]
    return [pid, *children]


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rpartition(")")[2].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def peak_mib(pid):
    with open(f"/proc/{pid}/status") as f:
        return int(next(line for line in f if line.startswith("VmHWM:")).split()[1]) / 1024


def cpu_and_peak(pid):
    """Percent of a core and peak memory (MB) of the process and those it started, each summed."""
    time.sleep(WARM_UP)
    processes = family(pid)
    started, before = time.monotonic(), sum(map(cpu_seconds, processes))
    time.sleep(WINDOW)
    cpu = (sum(map(cpu_seconds, processes)) - before) / (time.monotonic() - started) * 100
    return cpu, sum(map(peak_mib, processes))


def switches(pid):
    """Context switches so far of each thread of the process and those it started, by thread id
    and name."""
    counts = {}
    for process in family(pid):
        for tid in os.listdir(f"/proc/{process}/task"):
            with open(f"/proc/{process}/task/{tid}/comm") as f:
                name = f.read().strip()
            with open(f"/proc/{process}/task/{tid}/status") as f:
                counts[(tid, name)] = sum(int(line.split()[1]) for line in f if "ctxt_switches" in line)
    return counts


def wakeups_per_second(pid, seconds=10):
    before = switches(pid)
    time.sleep(seconds)
    after = switches(pid)
    return {f"{name} ({tid})": (after[key] - before.get(key, 0)) / seconds
            for key in after for tid, name in [key]}


def main():
    desktop = Desktop()
    try:
        app = App(desktop)
        app.wait_for_window()
        cpu, peak = cpu_and_peak(app.process.pid)
        print(f"TolvexApp playing:       CPU {cpu:5.2f} % of a core, peak memory {peak:.1f} MB, "
              f"sink RMS {desktop.sink_rms(2):.3f}")
        playing = wakeups_per_second(app.process.pid)
        app.focus()
        desktop.key("ctrl+m")
        time.sleep(2)
        silent = wakeups_per_second(app.process.pid)
        print("wakeups a second by thread, playing -> after Ctrl+M:")
        for thread in sorted(set(playing) | set(silent)):
            print(f"  {thread:28s} {playing.get(thread, 0):7.1f} -> "
                  f"{silent[thread] if thread in silent else 'gone':>5}")
        app.process.terminate()
        app.wait_for_exit()

        cli = desktop.spawn(PLAYER)
        cli_cpu, cli_peak = cpu_and_peak(cli.pid)
        print(f"fluidsynth CLI playing:  CPU {cli_cpu:5.2f} % of a core, peak memory {cli_peak:.1f} MB")
        print(f"TolvexApp / CLI: CPU {cpu / cli_cpu:.2f} x")
    finally:
        desktop.stop()


if __name__ == "__main__":
    main()
