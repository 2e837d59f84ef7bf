#!/usr/bin/env bash
# Renders resources/music/tune.mid as the program plays it (same sound font, sample rate, voices and
# gain) and encodes it as Ogg Opus for listening from the README, by default to docs/tune.ogg.
# 22 kbit/s keeps the file under 1 MB; a fixed stream serial makes the output reproducible.
# Needs the Debian packages fluidsynth, timgm6mb-soundfont and opus-tools (the test set-up installs them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/docs/tune.ogg}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The sound font, gain and voices the program plays with.
. "$root/resources/music/tune.conf"
fluidsynth -ni -q -g "$gain" -r 44100 -o synth.polyphony="$polyphony" -o synth.dynamic-sample-loading=1 \
  -F "$work/tune.wav" "$sound_font" "$root/resources/music/tune.mid"
opusenc --quiet --cvbr --bitrate 22 --serial 1 "$work/tune.wav" "$out"
