"""The committed tune, read by a MIDI reader of its own: the program restarts it every
309.74375 s, so its layout must be exact.

Run: /usr/bin/python3 tests/music/tune_file_test.py resources/music/tune.mid
"""

import sys
import unittest
from fractions import Fraction

# Data bytes after a channel status, by the status's high nibble; the tune holds no system
# exclusive events, whose status fails the look-up.
DATA_LENGTH = {0x8: 2, 0x9: 2, 0xA: 2, 0xB: 2, 0xC: 1, 0xD: 1, 0xE: 2}
END_OF_TRACK, TEMPO = 0x2F, 0x51


def read_vlq(data, pos):
    value = 0
    for byte in data[pos:pos + 4]:
        value, pos = (value << 7) | (byte & 0x7F), pos + 1
        if not byte & 0x80:
            return value, pos
    raise ValueError("variable-length quantity unfinished after four bytes")


def parse_track(body):
    """(tick, meta type or None, data) of each event; the chunk must end with End of Track."""
    events, pos, tick, status = [], 0, 0, None
    while pos < len(body):
        delta, pos = read_vlq(body, pos)
        tick += delta
        meta = None
        if body[pos] == 0xFF:
            meta = body[pos + 1]
            length, pos = read_vlq(body, pos + 2)
        else:
            if body[pos] & 0x80:
                status, pos = body[pos], pos + 1
            elif status is None:
                raise ValueError("running status with no status before it")
            length = DATA_LENGTH[status >> 4]
        events.append((tick, meta, body[pos:pos + length]))
        pos += length
    if pos != len(body) or [e[1] for e in events].count(END_OF_TRACK) != 1 or events[-1][1] != END_OF_TRACK:
        raise ValueError("the chunk does not end exactly with its only End of Track")
    return events


def parse_file(data):
    """(format, track count, division, tracks, bytes after the last chunk)."""
    if data[:4] != b"MThd" or int.from_bytes(data[4:8], "big") != 6:
        raise ValueError("no MThd header of length 6")
    fmt, count, division = (int.from_bytes(data[i:i + 2], "big") for i in (8, 10, 12))
    pos, tracks = 14, []
    while data[pos:pos + 4] == b"MTrk":
        end = pos + 8 + int.from_bytes(data[pos + 4:pos + 8], "big")
        if end > len(data):
            raise ValueError(f"track {len(tracks) + 1} is longer than the file")
        tracks.append(parse_track(data[pos + 8:end]))
        pos = end
    return fmt, count, division, tracks, data[pos:]


class TuneFile(unittest.TestCase):
    path = None

    @classmethod
    def setUpClass(cls):
        with open(cls.path, "rb") as f:
            cls.data = f.read()
        cls.fmt, cls.count, cls.division, cls.tracks, cls.tail = parse_file(cls.data)
        cls.tempos = [(tick, int.from_bytes(data, "big"))
                      for track in cls.tracks for tick, meta, data in track if meta == TEMPO]

    def test_format_1_seven_tracks_120_ticks_a_quarter_note(self):
        self.assertEqual((self.fmt, self.count, len(self.tracks), self.division), (1, 7, 7, 120))

    def test_at_most_one_zero_byte_after_the_last_chunk(self):
        self.assertIn(self.tail, (b"", b"\x00"))

    def test_one_tempo_of_750000_at_the_start(self):
        self.assertEqual(self.tempos, [(0, 750_000)])

    def test_the_longest_track_ends_at_49559_after_309_74375_seconds(self):
        end = max(track[-1][0] for track in self.tracks)
        self.assertEqual(end, 49_559)
        (_, tempo), = self.tempos
        self.assertEqual(Fraction(end, self.division) * tempo / 1_000_000, Fraction("309.74375"))

    def test_the_reader_refuses_a_damaged_copy(self):
        first_length = self.data.index(b"MTrk") + 4
        longer = int.from_bytes(self.data[first_length:first_length + 4], "big") + 1
        for damaged in (self.data[:len(self.data) // 2],
                        self.data[:first_length] + longer.to_bytes(4, "big") + self.data[first_length + 4:]):
            with self.assertRaises((ValueError, IndexError)):
                parse_file(damaged)


if __name__ == "__main__":
    TuneFile.path = sys.argv.pop(1)
    unittest.main(argv=sys.argv + ["-v"])
