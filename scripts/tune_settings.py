"""How the program plays its tune, as resources/music/tune.conf says, for the scripts that play or
time it the same way: name=value lines, '#' comments."""

import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TUNE = os.path.join(ROOT, "resources", "music", "tune.mid")

with open(os.path.join(ROOT, "resources", "music", "tune.conf")) as conf:
    SETTINGS = dict(line.strip().split("=", 1) for line in conf if line.strip() and not line.startswith("#"))

# The fluidsynth command-line player with the same tune, sound font and gain: the benchmarks' peer.
PLAYER = ["fluidsynth", "-ni", "-a", "pulseaudio", "-g", SETTINGS["gain"], SETTINGS["sound_font"], TUNE]
