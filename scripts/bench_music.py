#!/usr/bin/env python3
"""CPU and memory of TolvexApp while its tune plays, beside the fluidsynth command-line player
playing the same MIDI file with the same sound font, in the same private PulseAudio.

For each program alone, after a warm-up: its CPU share over a 20 s window (user + system time
of all its threads, /proc/<pid>/stat, in percent of one core) and its peak RSS (VmHWM,
/proc/<pid>/status). 3 s of the window are recorded from the null sink's monitor, and their
RMS shows that the figures are of real playing. The command-line player runs with its own
defaults, as a user would get it. A minimal Qt window with as many children
(build/scripts/bench/peer_window) gives the memory a window of its own takes.

Run after scripts/setup.sh --tests:  /usr/bin/python3 scripts/bench_music.py
Prints the settings, each program's figures, CPU TolvexApp / CLI (target at most 0.25) and
whether TolvexApp's peak RSS is at most the CLI's plus the minimal window's.
"""

import filecmp
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
os.environ["TOLVEX_APP"] = os.path.join(BUILD, "TolvexApp")
from harness import App, Desktop, wait_for  # noqa: E402

WARM_UP, WINDOW, RECORD = 5, 20, 3
MIDI = os.path.join(ROOT, "resources", "music", "tune.mid")
SOUND_FONT = "/usr/share/sounds/sf3/default-GM.sf3"
CLI = ["fluidsynth", "-ni", "-a", "pulseaudio", SOUND_FONT, MIDI]
TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rpartition(")")[2].split()
    return (int(fields[11]) + int(fields[12])) / TICKS_PER_SECOND  # utime and stime


def peak_rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        return int(next(line for line in f if line.startswith("VmHWM:")).split()[1])


def rms(path):
    report = subprocess.run(["sox", path, "-n", "stat"], capture_output=True, text=True).stderr
    return float(re.search(r"RMS\s+amplitude:\s+(\S+)", report).group(1))


def stream(desktop, pid):
    """The program's stream as PulseAudio sees it."""
    for block in desktop.run(["pactl", "list", "sink-inputs"]).split("Sink Input #"):
        if f'application.process.id = "{pid}"' in block:
            # pactl's "Sample S...:" line: format, channels and rate.
            sample_format = re.search(r"Sample S\w+: (.*)", block).group(1)
            latency = int(re.search(r"Buffer Latency: (\d+) usec", block).group(1))
            return f"{sample_format}, buffer latency {latency} us"
    return "no stream"


def measure(desktop, process, label):
    """CPU %, peak RSS and the RMS of 3 s recorded inside the window, of a playing program."""
    time.sleep(WARM_UP)
    pid, wav = process.pid, os.path.join(desktop.root, label + ".wav")
    started, cpu_before = time.monotonic(), cpu_seconds(pid)
    recorder = subprocess.Popen(["parecord", "--device=nullsink.monitor", "--file-format=wav",
                                 wav], env=desktop.env)
    time.sleep(RECORD)
    recorder.terminate()
    recorder.wait()
    time.sleep(max(0.0, started + WINDOW - time.monotonic()))
    if process.poll() is not None:
        raise RuntimeError(f"{label} stopped during the measurement")
    cpu = (cpu_seconds(pid) - cpu_before) / (time.monotonic() - started) * 100
    return {"cpu": cpu, "rss": peak_rss_kib(pid), "rms": rms(wav), "stream": stream(desktop, pid)}


def library_defaults():
    listing = subprocess.run(["fluidsynth", "-o", "help"], capture_output=True, text=True).stdout
    return dict(re.findall(r"^(\S+)\s+\S+\s+\[.*?def='?([^'\]]*)'?\]", listing, re.M))


def app_settings():
    with open(os.path.join(ROOT, "music", "FluidEngine.cpp")) as f:
        return dict(re.findall(r"constexpr \w+ (k\w+) = ([\d.]+);", f.read()))


def main():
    defaults, ours = library_defaults(), app_settings()
    rate = f"{float(defaults['synth.sample-rate']):g} Hz"
    print(f"sound font: {SOUND_FONT} -> {os.path.realpath(SOUND_FONT)}"
          f" (TolvexApp loads synth.default-soundfont = {defaults['synth.default-soundfont']})")
    print(f"TolvexApp  settings: period-size {ours['kPeriodSize']}, periods {ours['kPeriods']},"
          f" gain {ours['kGain']}, sample rate {rate}"
          " (music/FluidEngine.cpp; the rate is the library's)")
    print(f"CLI        settings: period-size {defaults['audio.period-size']},"
          f" periods {defaults['audio.periods']}, gain {float(defaults['synth.gain']):g},"
          f" sample rate {rate} (library defaults, `fluidsynth -o help`)")
    print("CLI        command:  " + " ".join(os.path.relpath(a, ROOT) if a == MIDI else a
                                            for a in CLI))
    print(f"window {WINDOW} s after {WARM_UP} s of warm-up, {RECORD} s recorded inside it\n")

    desktop = Desktop()
    try:
        app = App(desktop)
        app.wait_for_window()
        results = {"TolvexApp": measure(desktop, app.process, "TolvexApp")}
        played = os.path.join(desktop.env["TMPDIR"], "TXmidi.mid")
        same = filecmp.cmp(played, MIDI, shallow=False)
        app.stop()
        cli = desktop._spawn(CLI)
        results["fluidsynth CLI"] = measure(desktop, cli, "fluidsynth CLI")
        cli.terminate()
        cli.wait()
        peer = desktop._spawn([os.path.join(BUILD, "scripts", "bench", "peer_window")])
        wait_for(lambda: desktop.run(["xdotool", "search", "--onlyvisible", "--name",
                                      "^Peer Window$"]).strip(), timeout=20, what="peer window")
        time.sleep(WARM_UP)
        peer_rss = peak_rss_kib(peer.pid)
    finally:
        desktop.stop()

    print(f"TolvexApp plays {os.path.basename(played)}, the same bytes as"
          f" resources/music/tune.mid: {'yes' if same else 'NO'}")
    print(f"{'':16s} {'CPU % of a core':>15s} {'peak RSS':>12s} {'RMS':>8s}  PulseAudio stream")
    for label, r in results.items():
        print(f"{label:16s} {r['cpu']:15.1f} {r['rss']:8d} KiB {r['rms']:8.4f}  {r['stream']}"
              + ("" if r["rms"] > 0.001 else "   SILENT: the figures are not of playing"))
    print(f"{'minimal window':16s} {'':>15s} {peer_rss:8d} KiB")
    app_r, cli_r = results["TolvexApp"], results["fluidsynth CLI"]
    ratio = app_r["cpu"] / cli_r["cpu"]
    verdict = "met" if ratio <= 0.25 else "NOT met"
    print(f"\nCPU TolvexApp / CLI: {ratio:.3f} (target at most 0.25: {verdict})")
    bound = cli_r["rss"] + peer_rss
    print(f"RSS TolvexApp {app_r['rss']} KiB <= CLI {cli_r['rss']} KiB + minimal window"
          f" {peer_rss} KiB = {bound} KiB: {'yes' if app_r['rss'] <= bound else 'no'}")


if __name__ == "__main__":
    main()
