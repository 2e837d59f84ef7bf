"""Checks the committed tune file with a parser of its own.

Run: /usr/bin/python3 tests/music/tune_file_test.py resources/music/tune.mid

The program restarts the tune on a timer of 309.74375 s and the player reads
the file from the program's resources, so its layout must be exact: format 1,
seven tracks, 120 ticks a quarter, one tempo of 750000 us a quarter, the last
event at tick 49559, and nothing after the tracks but one zero byte.
"""

import sys
import unittest
from fractions import Fraction

EXPECTED_TRACKS = 7
DIVISION = 120
TEMPO = 750_000
END_TICK = 49_559
PLAYING_SECONDS = Fraction("309.74375")
DRUM_CHANNEL = 9
# Data bytes after the status byte, by the status's high nibble.
CHANNEL_DATA_LENGTH = {0x8: 2, 0x9: 2, 0xA: 2, 0xB: 2, 0xC: 1, 0xD: 1, 0xE: 2}


class MidiError(Exception):
    pass


def read_vlq(data, pos):
    """A variable-length quantity is at most four bytes."""
    value = 0
    for count in range(4):
        if pos >= len(data):
            raise MidiError("variable-length quantity runs past the chunk")
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos
    raise MidiError("variable-length quantity longer than four bytes")


def parse_track(body):
    """Events as dicts with absolute ticks; the chunk must end with End of Track."""
    events, pos, tick, status = [], 0, 0, None
    while pos < len(body):
        delta, pos = read_vlq(body, pos)
        tick += delta
        if pos >= len(body):
            raise MidiError("event missing after its delta time")
        first = body[pos]
        if first == 0xFF:
            if pos + 2 > len(body):
                raise MidiError("meta event cut short")
            kind = body[pos + 1]
            length, pos = read_vlq(body, pos + 2)
            if pos + length > len(body):
                raise MidiError("meta event longer than its chunk")
            events.append({"tick": tick, "meta": kind, "data": body[pos:pos + length]})
            pos += length
            if kind == 0x2F and pos != len(body):
                raise MidiError("bytes after End of Track inside the chunk")
            continue
        if first in (0xF0, 0xF7):
            length, pos = read_vlq(body, pos + 1)
            pos += length
            events.append({"tick": tick, "sysex": True})
            continue
        running = first < 0x80
        if running:
            if status is None:
                raise MidiError("running status with no status before it")
        else:
            status = first
            pos += 1
        size = CHANNEL_DATA_LENGTH[status >> 4]
        if pos + size > len(body):
            raise MidiError("channel event cut short")
        data = body[pos:pos + size]
        if any(b & 0x80 for b in data):
            raise MidiError("data byte with its high bit set")
        pos += size
        events.append({"tick": tick, "kind": status >> 4, "channel": status & 0x0F,
                       "data": data, "running": running})
    if not events or events[-1].get("meta") != 0x2F:
        raise MidiError("track does not end with End of Track")
    return events


def parse_file(data):
    """(format, division, tracks as event lists, bytes after the last chunk)."""
    if len(data) < 14 or data[:4] != b"MThd":
        raise MidiError("no MThd header")
    header_length = int.from_bytes(data[4:8], "big")
    if header_length != 6:
        raise MidiError(f"header length {header_length}, not 6")
    fmt, count, division = (int.from_bytes(data[i:i + 2], "big") for i in (8, 10, 12))
    pos, tracks = 14, []
    while pos + 8 <= len(data) and data[pos:pos + 4] == b"MTrk":
        length = int.from_bytes(data[pos + 4:pos + 8], "big")
        if pos + 8 + length > len(data):
            raise MidiError(f"track {len(tracks) + 1} is longer than the file")
        tracks.append(parse_track(data[pos + 8:pos + 8 + length]))
        pos += 8 + length
    if len(tracks) != count:
        raise MidiError(f"header names {count} tracks, the file holds {len(tracks)}")
    return fmt, division, tracks, data[pos:]


def end_tick(track):
    return track[-1]["tick"]


def tempo_events(tracks):
    return [(n, e) for n, t in enumerate(tracks) for e in t if e.get("meta") == 0x51]


def unmatched_notes(track):
    """Note-ons left without a note-off, or offs without an on; [] when all pair."""
    sounding, faults = {}, []
    for event in track:
        if event.get("kind") not in (0x8, 0x9):
            continue
        key = (event["channel"], event["data"][0])
        is_on = event["kind"] == 0x9 and event["data"][1] > 0
        if is_on:
            if key in sounding:
                faults.append(f"note {key} struck again at {event['tick']} while sounding")
            sounding[key] = event["tick"]
        elif sounding.pop(key, None) is None:
            faults.append(f"note-off {key} at {event['tick']} without a note-on")
    faults += [f"note {key} from tick {tick} never ends" for key, tick in sounding.items()]
    return faults


def note_ons(track):
    return [e for e in track if e.get("kind") == 0x9 and e["data"][1] > 0]


class TuneFile:
    path = None

    @classmethod
    def load(cls):
        with open(cls.path, "rb") as f:
            return f.read()


class HeaderAndChunks(unittest.TestCase):
    def setUp(self):
        self.data = TuneFile.load()
        self.fmt, self.division, self.tracks, self.tail = parse_file(self.data)

    def test_header(self):
        self.assertEqual(self.data[:4], b"MThd")
        self.assertEqual(int.from_bytes(self.data[4:8], "big"), 6)
        self.assertEqual(self.fmt, 1)
        self.assertEqual(int.from_bytes(self.data[10:12], "big"), EXPECTED_TRACKS)
        self.assertEqual(self.division, DIVISION)

    def test_seven_chunks_whose_lengths_match_their_events(self):
        # parse_file reads each chunk by its length and parse_track demands that
        # the events end exactly there with End of Track.
        self.assertEqual(len(self.tracks), EXPECTED_TRACKS)

    def test_at_most_one_zero_byte_after_the_last_chunk(self):
        self.assertIn(self.tail, (b"", b"\x00"))

    def test_plain_events_without_running_status(self):
        for number, track in enumerate(self.tracks, 1):
            with self.subTest(track=number):
                self.assertFalse(any(e.get("running") for e in track))
                self.assertFalse(any(e.get("sysex") for e in track))


class TimeAndTempo(unittest.TestCase):
    def setUp(self):
        _, self.division, self.tracks, _ = parse_file(TuneFile.load())

    def test_only_tempo_is_750000_at_tick_0_in_the_tempo_track(self):
        tempos = tempo_events(self.tracks)
        self.assertEqual(len(tempos), 1)
        track, event = tempos[0]
        self.assertEqual(track, 0)
        self.assertEqual(event["tick"], 0)
        self.assertEqual(int.from_bytes(event["data"], "big"), TEMPO)

    def test_tempo_track_is_named_in_four_four_and_holds_no_notes(self):
        track = self.tracks[0]
        self.assertTrue(any(e.get("meta") == 0x03 and e["data"] for e in track))
        signatures = [e for e in track if e.get("meta") == 0x58]
        self.assertEqual(len(signatures), 1)
        self.assertEqual(signatures[0]["tick"], 0)
        self.assertEqual(signatures[0]["data"][:2], bytes([4, 2]))
        self.assertEqual(note_ons(track), [])

    def test_longest_track_ends_at_49559(self):
        ends = [end_tick(t) for t in self.tracks]
        self.assertEqual(max(ends), END_TICK)

    def test_playing_time_is_309_74375_seconds(self):
        ticks = max(end_tick(t) for t in self.tracks)
        (_, tempo), = tempo_events(self.tracks)
        seconds = Fraction(ticks, self.division) * int.from_bytes(tempo["data"], "big") / 1_000_000
        self.assertEqual(seconds, PLAYING_SECONDS)


class Parts(unittest.TestCase):
    def setUp(self):
        _, _, self.tracks, _ = parse_file(TuneFile.load())
        self.instruments = self.tracks[1:]

    def test_every_note_on_has_its_note_off(self):
        for number, track in enumerate(self.tracks, 1):
            with self.subTest(track=number):
                self.assertEqual(unmatched_notes(track), [])

    def test_note_offs_come_before_note_ons_at_the_same_tick(self):
        for number, track in enumerate(self.tracks, 1):
            notes = [e for e in track if e.get("kind") in (0x8, 0x9)]
            for earlier, later in zip(notes, notes[1:]):
                with self.subTest(track=number, tick=later["tick"]):
                    if earlier["tick"] == later["tick"] and later["kind"] == 0x8:
                        self.assertNotEqual(earlier["kind"], 0x9)

    def test_six_named_instrument_tracks_with_notes(self):
        self.assertEqual(len(self.instruments), 6)
        for number, track in enumerate(self.instruments, 2):
            with self.subTest(track=number):
                self.assertTrue(any(e.get("meta") == 0x03 and e["data"] for e in track))
                self.assertGreater(len(note_ons(track)), 0)
                channels = {e["channel"] for e in track if "kind" in e}
                self.assertEqual(len(channels), 1, "one channel per track")

    def test_melodic_tracks_choose_a_program_before_their_first_note(self):
        for number, track in enumerate(self.instruments, 2):
            if note_ons(track)[0]["channel"] == DRUM_CHANNEL:
                continue
            with self.subTest(track=number):
                programs = [e for e in track if e.get("kind") == 0xC]
                self.assertGreater(len(programs), 0)
                self.assertLessEqual(programs[0]["tick"], note_ons(track)[0]["tick"])

    def test_channel_10_carries_the_drums_in_one_track(self):
        drum_tracks = [t for t in self.instruments
                       if any(e["channel"] == DRUM_CHANNEL for e in note_ons(t))]
        self.assertEqual(len(drum_tracks), 1)
        keys = {e["data"][0] for e in note_ons(drum_tracks[0])}
        # General MIDI percussion: kick and snare family at least, all on the kit map.
        self.assertTrue(keys <= set(range(35, 82)), sorted(keys))
        self.assertIn(36, keys)
        self.assertTrue(keys & {37, 38, 40})

    def test_no_track_ends_after_49559(self):
        for number, track in enumerate(self.tracks, 1):
            with self.subTest(track=number):
                self.assertLessEqual(end_tick(track), END_TICK)


class ParserCatchesDamage(unittest.TestCase):
    """The checks above rely on the parser; it must refuse a damaged file."""

    def setUp(self):
        self.data = TuneFile.load()

    def first_track_length_at(self):
        return self.data.index(b"MTrk") + 4

    def test_truncated_file(self):
        with self.assertRaises(MidiError):
            parse_file(self.data[:len(self.data) // 2])

    def test_chunk_length_one_short(self):
        at = self.first_track_length_at()
        length = int.from_bytes(self.data[at:at + 4], "big")
        damaged = self.data[:at] + (length - 1).to_bytes(4, "big") + self.data[at + 4:]
        with self.assertRaises(MidiError):
            parse_file(damaged)

    def test_five_byte_delta_time(self):
        body = bytes([0x80, 0x80, 0x80, 0x80, 0x00, 0xFF, 0x2F, 0x00])
        with self.assertRaises(MidiError):
            parse_track(body)

    def test_missing_note_off_is_reported(self):
        track = parse_track(bytes([0x00, 0x90, 60, 100, 0x00, 0xFF, 0x2F, 0x00]))
        self.assertEqual(len(unmatched_notes(track)), 1)

    def test_running_status_is_seen(self):
        track = parse_track(bytes([0x00, 0x90, 60, 100, 0x10, 60, 0, 0x00, 0xFF, 0x2F, 0x00]))
        self.assertEqual([e["running"] for e in track if "kind" in e], [False, True])


def main():
    if len(sys.argv) != 2:
        sys.stderr.write(f"usage: {sys.argv[0]} TUNE.mid\n")
        return 2
    TuneFile.path = sys.argv[1]
    result = unittest.main(argv=[sys.argv[0], "-v"], exit=False).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
