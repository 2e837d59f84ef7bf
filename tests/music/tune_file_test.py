"""The committed tune and how the program plays it (tune.conf beside it). The program restarts
it on a timer, so the timer's loop must be its playing time; and a volume set during the intro
must suit the whole loop.

Run: /usr/bin/python3 tests/music/tune_file_test.py resources/music/tune.mid
Needs the fluidsynth program and the sound font of the package timgm6mb-soundfont.
"""

import array, math, operator, os, subprocess, sys, tempfile, unittest, wave

END_OF_TRACK, TEMPO = 0x2F, 0x51
RATE = 44100
# 10 s windows from the end of the intro's soft opening to the last bar, the held closing chord.
FIRST_SECOND, HELD_CHORD_SECOND, WINDOW = 10, 306, 10


def read_vlq(data, pos):
    value = 0
    while True:
        value, pos = (value << 7) | (data[pos] & 0x7F), pos + 1
        if data[pos - 1] < 0x80:
            return value, pos


def read_midi(data):
    """(format, division, each track's events as (tick, meta type or channel status, data), the
    rest). Reads meta and channel events, all the tune holds; no system exclusive."""
    fmt, count, division = (int.from_bytes(data[i:i + 2], "big") for i in (8, 10, 12))
    pos, tracks = 8 + int.from_bytes(data[4:8], "big"), []
    for _ in range(count):
        end, pos = pos + 8 + int.from_bytes(data[pos + 4:pos + 8], "big"), pos + 8
        events, tick, status = [], 0, None
        while pos < end:
            delta, pos = read_vlq(data, pos)
            tick += delta
            if data[pos] == 0xFF:
                kind, (length, pos) = data[pos + 1], read_vlq(data, pos + 2)
            else:
                if data[pos] & 0x80:  # otherwise running status
                    status, pos = data[pos], pos + 1
                kind, length = status, 1 if status >> 4 in (0xC, 0xD) else 2
            events.append((tick, kind, data[pos:pos + length]))
            pos += length
        if pos != end or events[-1][1] != END_OF_TRACK:
            raise ValueError(f"track {len(tracks) + 1} does not end with its End of Track")
        tracks.append(events)
    return fmt, division, tracks, data[pos:]


def rms_db(samples):
    """Below full scale, of 16-bit samples."""
    return 10 * math.log10(sum(map(operator.mul, samples, samples)) / len(samples) / 32768 ** 2)


def read_conf(path):
    with open(path) as f:
        return dict(line.strip().split("=", 1) for line in f if line.strip() and not line.startswith("#"))


class Tune(unittest.TestCase):
    path = None

    @classmethod
    def setUpClass(cls):
        with open(cls.path, "rb") as f:
            _, cls.division, cls.tracks, cls.rest = read_midi(f.read())
        cls.conf = read_conf(os.path.join(os.path.dirname(cls.path), "tune.conf"))

    def test_the_loop_is_the_playing_time_rounded_up_to_a_millisecond(self):
        tempos = [(tick, data) for track in self.tracks for tick, kind, data in track if kind == TEMPO]
        self.assertEqual([tick for tick, _ in tempos], [0], "one tempo, from the start")
        tempo, last_tick = tempos[0][1], max(track[-1][0] for track in self.tracks)
        playing_us = last_tick * int.from_bytes(tempo, "big") / self.division
        loop_ms = int(self.conf["loop_ticks"]) * int(self.conf["loop_tick_ms"])
        self.assertEqual(loop_ms, math.ceil(playing_us / 1000))

    def test_the_instruments_read_are_the_presets_the_tune_plays(self):
        """The synthesizer reads only the instruments named: a preset missing there is silent."""
        played, program = set(), {}  # program: each channel's, once it has changed it
        for tick, kind, data in sorted((event for track in self.tracks for event in track), key=lambda e: e[0]):
            if kind is None or kind < 0x80:
                continue
            channel, drums = kind & 0x0F, kind & 0x0F == 9
            self.assertFalse(kind >> 4 == 0xB and data[0] in (0, 32), "a bank select: only banks 0 and 128 are read")
            if kind >> 4 == 0xC:
                program[channel] = data[0]
            elif kind >> 4 == 0x9 and data[1] > 0:
                played.add((128 if drums else 0, program.get(channel, 0)))
        listed = {tuple(map(int, pair.split(":"))) for pair in self.conf["instruments"].split(",")}
        self.assertEqual(listed, played)

    def test_nothing_but_zero_bytes_after_the_last_chunk(self):
        self.assertEqual(self.rest, bytes(len(self.rest)))

    def test_10_second_windows_differ_by_at_most_6_db(self):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run(["fluidsynth", "-ni", "-q", "-g", self.conf["gain"], "-r", str(RATE),
                            "-o", "synth.polyphony=" + self.conf["polyphony"], "-F", f"{folder}/tune.wav",
                            self.conf["sound_font"], self.path], check=True)
            with wave.open(f"{folder}/tune.wav") as w:  # 16-bit, fluidsynth's default
                step = RATE * w.getnchannels()
                samples = array.array("h", w.readframes(w.getnframes()))
        self.assertGreaterEqual(len(samples), HELD_CHORD_SECOND * step, "rendering too short")
        levels = [rms_db(samples[t * step:min(t + WINDOW, HELD_CHORD_SECOND) * step])
                  for t in range(FIRST_SECOND, HELD_CHORD_SECOND, WINDOW)]
        self.assertLessEqual(max(levels) - min(levels), 6, [round(level, 1) for level in levels])


if __name__ == "__main__":
    Tune.path = sys.argv.pop(1)
    unittest.main(argv=sys.argv + ["-v"])
