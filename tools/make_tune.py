"""Writes the background tune of Tolvex App Generator as a Standard MIDI File.

Run it by hand and commit its output:

    /usr/bin/python3 tools/make_tune.py resources/music/tune.mid

The piece is composed here as data: a small note and chord vocabulary, melodic
lines written bar by bar, and a list of sections saying what each part plays.
One function per part turns that into notes. The output is deterministic.

Form at 80 bpm in 4/4 (3 s a bar): intro 8 bars, theme A 16 (F major),
theme B 16, A again 8 with the clarinet leading in a variant of the theme's
first half, a bridge 16 in D minor, a breakdown 8 where the flute sings
softly in long notes, theme A 16 ornamented, the second half of B 8 with a
new close, an outro of 7 bars that closes on C7 and rings to the end of the
file. The program restarts the tune when it ends, so that dominant resolves
into the intro's F major.

The mix stays even, so a volume set during the intro suits the whole loop:
the leading line is the loudest part throughout, and the middle octave is the
clarinet's, with the electric piano under it and the pad softly above it.
"""

import sys
from dataclasses import dataclass

TICKS_PER_QUARTER = 120
BAR = 4 * TICKS_PER_QUARTER
TEMPO_US_PER_QUARTER = 750_000
# The program restarts the tune on a timer matched to this length (309.74375 s).
END_TICK = 49_559

# --- vocabulary -------------------------------------------------------------

PITCH_CLASSES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
DURATIONS = {"w": 480, "h": 240, "q": 120, "e": 60, "s": 30}

CHORD_QUALITIES = {"": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "maj7": (0, 4, 7, 11),
                   "m7": (0, 3, 7, 10), "7sus": (0, 5, 7, 10), "m7b5": (0, 3, 6, 10),
                   "add9": (0, 4, 7, 14)}


def semitone(name):
    """Semitones above C: 'Bb' -> 10, 'C#' -> 1."""
    return PITCH_CLASSES[name[0]] + sum({"#": 1, "b": -1}[a] for a in name[1:])


def note_number(name):
    """'A4' -> 69 (middle C is C4 = 60)."""
    return 12 * (int(name[-1]) + 1) + semitone(name[:-1])


def duration(code):
    """'q.' -> 180 ticks."""
    ticks = DURATIONS[code[0]]
    return ticks * 3 // 2 if code.endswith(".") else ticks


def line(*bars):
    """Parses bars like 'A4:q. C5:e r:q' into lists of (pitch or None, ticks)."""
    parsed = []
    for number, bar in enumerate(bars, 1):
        notes = []
        for token in bar.split():
            name, code = token.split(":")
            notes.append((None if name == "r" else note_number(name), duration(code)))
        if sum(ticks for _, ticks in notes) != BAR:
            raise ValueError(f"bar {number} '{bar}' does not fill 4/4")
        parsed.append(notes)
    return parsed


def rests(count):
    return [[(None, BAR)] for _ in range(count)]


@dataclass(frozen=True)
class Chord:
    root: int
    tones: tuple
    bass: int


def chord(symbol):
    """'Bbmaj7/D' -> Chord(root 10, tones {10, 2, 5, 9}, bass 2)."""
    symbol, _, bass = symbol.partition("/")
    split = 2 if len(symbol) > 1 and symbol[1] in "#b" else 1
    root = semitone(symbol[:split]) % 12
    tones = tuple((root + i) % 12 for i in CHORD_QUALITIES[symbol[split:]])
    return Chord(root, tones, semitone(bass) % 12 if bass else root)


def place(pc, low):
    """The pitch of class pc in the octave starting at low."""
    return low + (pc - low) % 12


def voicing(ch, low):
    """Close position: every chord tone in the octave above low."""
    return sorted(place(pc, low) for pc in ch.tones)


# --- melodic lines (one string per bar) -------------------------------------

THEME_A = line(
    "A4:q. C5:e F5:q E5:e F5:e", "G5:h E5:q C5:q",
    "D5:q. F5:e A5:q G5:e F5:e", "F5:h D5:q r:q",
    "C5:q. F5:e A5:q G5:e F5:e", "G5:q. A5:e Bb5:q A5:e G5:e",
    "G5:q. E5:e C5:q D5:q", "E5:h r:e C5:e D5:e E5:e",
    "F5:q. C5:e F5:q A5:q", "G5:h. E5:q",
    "D5:q. F5:e A5:q C6:q", "Bb5:h. A5:e G5:e",
    "F5:q. G5:e Bb5:q A5:e G5:e", "E5:q G5:q C6:q Bb5:q",
    "A5:q. C6:e A5:q G5:q", "F5:h. r:q",
)

COUNTER_A = line(
    "F4:h. A4:q", "G4:h. E4:q", "F4:h A4:h", "D4:h F4:q Bb4:q",
    "A4:h C5:h", "Bb4:h G4:h", "E4:h G4:h", "Bb4:h G4:h",
    "A4:h C5:q A4:q", "C5:q G4:q E4:q G4:q", "F4:h A4:h", "D5:q C5:q Bb4:q A4:q",
    "G4:h Bb4:h", "Bb4:h G4:q Bb4:q", "A4:h C5:h", "F4:h. r:q",
)

THEME_B = line(
    "r:e D5:e F5:e Bb5:q. A5:q", "G5:e E5:q. C5:q r:q",
    "r:e C5:e E5:e A5:q. G5:q", "F5:e D5:q. A4:q r:q",
    "r:e Bb4:e D5:e G5:q. F5:e G5:e", "E5:q. G5:e E5:q C5:q",
    "F5:e G5:e A5:e C6:e A5:h", "G5:q F5:q Eb5:q C5:q",
    "r:e D5:e F5:e Bb5:q. C6:q", "D6:e C6:q. G5:q r:q",
    "r:e E5:e A5:e C6:q. A5:q", "D6:q. C6:e A5:q F5:q",
    "G5:q. A5:e Bb5:q D6:q", "C6:h Bb5:q A5:q",
    "G5:h. F5:q", "E5:h. r:q",
)

COUNTER_B = line(
    "D5:h. C5:q", "C5:h G4:h", "C5:h A4:h", "F4:h. A4:q",
    "Bb4:h. A4:q", "G4:h. Bb4:q", "A4:h C5:h", "C5:h A4:h",
    "Bb4:h D5:h", "C5:h. E5:q", "C5:h A4:h", "F4:h A4:h",
    "Bb4:h D5:h", "D5:h F4:h", "C5:h Bb4:h", "Bb4:h G4:q E4:q",
)

# The bridge sings in D minor; its raised seventh (C#) marks the new key.
THEME_BRIDGE = line(
    "D5:h. E5:e F5:e", "A5:h. G5:e F5:e", "F5:q. E5:e D5:h", "E5:h C#5:q A4:q",
    "Bb4:q. D5:e G5:h", "F5:q. E5:e D5:h", "G5:q. F5:e E5:q D5:q", "C#5:h E5:q A5:q",
    "A5:h. F5:e A5:e", "G5:h. E5:q", "F5:q. G5:e F5:q D5:q", "E5:h. C#5:q",
    "D5:q. E5:e F5:q G5:q", "A5:q. G5:e E5:q C#5:q", "D5:w", "r:w",
)

COUNTER_BRIDGE = line(
    "F4:w", "F4:h. A4:q", "D4:h F4:h", "G4:h E4:h",
    "G4:h Bb4:h", "A4:h F4:h", "G4:h Bb4:h", "E4:h G4:h",
    "F4:h A4:h", "G4:h E4:h", "F4:h D4:h", "E4:h. G4:q",
    "Bb4:h G4:h", "E4:h G4:h", "F4:q A4:q D5:q F5:q", "E5:q. D5:e C#5:q A4:q",
)

# The returns of the themes are written out anew rather than repeated.
THEME_A_CLARINET = line(
    "A4:q. C5:e F5:h", "E5:q. F5:e G5:q C5:q", "D5:q. F5:e A5:h", "G5:e F5:e D5:h r:q",
    "C5:q. F5:e A5:q G5:e F5:e", "G5:q. A5:e Bb5:q. G5:e", "G5:q E5:q C5:q. D5:e", "E5:h Bb4:q C5:q",
)

THEME_A_RETURN = line(
    "A4:e C5:e F5:q. E5:e F5:e G5:e", "G5:q. E5:e C5:q E5:q",
    "D5:q. F5:e A5:e G5:e F5:e A5:e", "F5:q D5:h r:e F5:e",
    "C6:q. A5:e F5:q G5:e A5:e", "Bb5:q. A5:e G5:q D5:q",
    "E5:q. F5:e G5:q C5:q", "E5:h r:e G5:e F5:e E5:e",
    "F5:q. A5:e C6:q A5:q", "G5:q. F5:e E5:q C5:q",
    "D5:q F5:q A5:q D6:q", "C6:q. Bb5:e F5:q D5:q",
    "G5:q. A5:e Bb5:q D6:q", "C6:q. Bb5:e G5:q E5:q",
    "F5:q. A5:e C6:q. A5:e", "F5:h. r:q",
)

THEME_B_CLOSE = THEME_B[8:12] + line("G5:q A5:q Bb5:q. C6:e", "D6:q. C6:e Bb5:h",
                                     "G5:q. A5:e G5:q F5:q", "G5:q. F5:e E5:h")

# Floats softly above the clarinet when it takes theme A.
DESCANT = line("A5:h C6:h", "D6:w", "C6:h. Bb5:q", "Bb5:h. r:q")

# Leads the ear back into theme A: the pickup lands on its first note, A4.
PICKUP = line("r:h. C5:e Bb4:e")

THEME_INTRO = line("r:q C5:q F5:q. E5:e", "D5:h. r:q", "r:q C5:q A5:q. G5:e", "F5:h. r:q",
                   "A4:q. C5:e F5:h", "D5:q. C5:e A4:h", "Bb4:q. A4:e G4:h") + PICKUP

COUNTER_INTRO = rests(4) + line("F4:w", "F4:h D4:h", "D4:h. E4:q", "F4:h E4:h")

# Long notes over the breakdown's held bass, the clarinet moving under them.
THEME_BREAKDOWN = line("D5:h. C5:e D5:e", "C5:h A4:h", "Bb4:h. C5:e D5:e", "E5:h. r:q",
                       "F5:h. E5:e D5:e", "C5:h. A4:q", "D5:q. C5:e Bb4:h") + PICKUP

COUNTER_BREAKDOWN = line("F4:h D4:h", "F4:h. E4:q", "D4:h G4:h", "G4:q. F4:e E4:q G4:q",
                         "D4:h F4:h", "A4:h. F4:q", "G4:h F4:h", "E4:h. G4:q")

THEME_OUTRO = line("A4:q. C5:e F5:h", "E5:q. D5:e A4:h", "r:q D5:q F5:q D5:q", "C5:w",
                   "r:h D5:q. C5:e", "D5:h. C5:q", "Bb4:w")

COUNTER_OUTRO = line("F4:h A4:h", "A4:h F4:h", "F4:h D4:h", "F4:h. A4:q", "Bb4:h G4:h", "F4:w", "E4:w")

# --- chord progressions (one string per bar; two symbols split the bar) -----

INTRO_CHORDS = ["Fmaj7", "Bbmaj7", "Fmaj7", "Bbmaj7", "Dm7", "Bbmaj7", "Gm7", "C7sus C7"]
A_CHORDS = ["F", "C/E", "Dm", "Bb", "F/A", "Gm", "C", "C7",
            "F", "C/E", "Dm", "Bb", "Gm7", "C7", "F", "F F7"]
B_CHORDS = ["Bb", "C", "Am", "Dm", "Gm", "C", "F", "F7",
            "Bb", "C", "Am", "Dm", "Gm", "Bbadd9", "C7sus", "C7"]
BRIDGE_CHORDS = ["Dm", "Dm/C", "Bb", "A7", "Gm", "Dm/F", "Em7b5", "A7",
                 "Dm", "C", "Bb", "A7", "Gm7", "A7", "Dm", "A7sus A7"]
BREAKDOWN_CHORDS = ["Bb", "F/A", "Gm", "C", "Bb", "F/A", "Gm7", "C7"]
OUTRO_CHORDS = ["F", "Dm", "Bb", "F/A", "Gm7", "Bb/C", "C7"]

# --- accompaniment patterns: (start, length, velocity offset) within a bar --
# The harmony part has one more, "arp", an arpeggio written out by arpeggio().

HARMONY_PATTERNS = {
    "comp": [(0, 220, 6), (300, 60, -8), (360, 110, -2)],
    "pulse": [(0, 100, 8), (120, 90, -8), (240, 100, 2), (360, 90, -8), (420, 50, -14)],
    "halves": [(0, 230, 2), (240, 230, -4)],
    "hold": [(0, BAR, 0)],
}

# Bass degrees: R root (or the slash bass), 5 fifth, 8 octave, A approach to
# the next chord's bass from a semitone below.
BASS_PATTERNS = {
    "hold": [(0, BAR, "R", 0)],
    "halves": [(0, 230, "R", 4), (240, 230, "5", -4)],
    "pop": [(0, 170, "R", 8), (180, 50, "R", -10), (240, 110, "5", 0),
            (360, 50, "8", -8), (420, 50, "A", -6)],
    "drive": [(i * 60, 50, "R" if i < 6 else ("8" if i == 6 else "A"), 6 if i % 2 == 0 else -8)
              for i in range(8)],
    "halftime": [(0, 330, "R", 6), (360, 110, "5", -6)],
}

# --- drums: one row per instrument, 16 steps (sixteenths) per bar -----------
# o soft, x normal, X accented.

KICK, SIDE_STICK, SNARE, CLOSED_HAT, OPEN_HAT, CRASH, RIDE = 36, 37, 38, 42, 46, 49, 51
LOW_TOM, MID_TOM, HIGH_TOM, TAMBOURINE, SHAKER = 45, 47, 50, 54, 70
STEP_VELOCITY = {"o": 60, "x": 90, "X": 116}

DRUM_BARS = {
    "light": {SHAKER: "x.o.x.o.x.o.x.o.", KICK: "o...............", SIDE_STICK: "............o..."},
    "light_fill": {SHAKER: "x.o.x.o.x.o.....", KICK: "o.......o.......",
                   HIGH_TOM: "............o.o.", LOW_TOM: "..............ox"},
    "groove_a": {KICK: "X.....x.X.......", SIDE_STICK: "....x.......x...",
                 CLOSED_HAT: "x.o.x.o.x.o.x.oo"},
    "groove_b": {KICK: "X.....x.X.x.....", SNARE: "....X.......X...",
                 CLOSED_HAT: "x.o.x.o.x.o.x...", OPEN_HAT: "..............x.",
                 TAMBOURINE: "....o.......o..."},
    "groove_ride": {KICK: "X.....x.X.......", SIDE_STICK: "....x.......x...",
                    RIDE: "x.o.x.o.x.o.x.o."},
    "bridge": {KICK: "X.........x.....", SIDE_STICK: "........x.......",
               SHAKER: "oxooxoxooxooxoxo", LOW_TOM: "..............o."},
    "hats": {CLOSED_HAT: "x.o.x.o.x.o.x.o.", KICK: "o.......o......."},
    "ride_soft": {RIDE: "x...o...x...o...", KICK: "o..............."},
    "fill_small": {KICK: "X.....x.X.......", SIDE_STICK: "....x...........",
                   CLOSED_HAT: "x.o.x.o.x.o.....", SNARE: "..........o.xoxX"},
    "fill_toms": {KICK: "X.......X......x", SNARE: "....X...xoxo....",
                  HIGH_TOM: "............xx..", MID_TOM: "..............x.",
                  LOW_TOM: "...............X", CLOSED_HAT: "x.o.x.o........."},
    "build_1": {KICK: "x...x...x...x...", SNARE: "o...o...o.o.x.x."},
    "build_2": {KICK: "x...x...x...x...", SNARE: "x.x.x.x.xxxxXXXX", CRASH: "..............o."},
}


def with_fills(groove, count, fills):
    """count bars of groove, with fills = {bar number from 1: pattern}."""
    return [fills.get(n, groove) for n in range(1, count + 1)]


# --- sections ---------------------------------------------------------------

@dataclass
class Section:
    name: str
    chords: list
    level: tuple      # loudness at the first and last bar, 0..1
    melody: list      # bars of (pitch, ticks)
    counter: list
    harmony: list     # pattern name per bar, None is silence
    bass: list
    pad: list
    drums: list
    crashes: tuple = ()  # bars (from 1) that open with a crash cymbal
    lead: str = "melody"  # the line played out; the other one answers under it

    def __post_init__(self):
        parts = (self.melody, self.counter, self.harmony, self.bass, self.pad, self.drums)
        if any(len(part) != len(self.chords) for part in parts):
            raise ValueError(f"section {self.name}: parts differ in length")


def each(pattern, count):
    return [pattern] * count


SECTIONS = [
    Section("intro", INTRO_CHORDS, (0.86, 0.9),
            melody=THEME_INTRO, counter=COUNTER_INTRO,
            harmony=each("arp", 8), bass=each(None, 2) + each("hold", 6), pad=each("hold", 8),
            drums=each(None, 4) + each("light", 3) + ["light_fill"]),
    Section("theme A", A_CHORDS, (0.86, 0.9),
            melody=THEME_A, counter=COUNTER_A,
            harmony=each("comp", 16), bass=each("pop", 16), pad=each(None, 8) + each("hold", 8),
            drums=with_fills("groove_a", 16, {8: "fill_small", 16: "fill_toms"}), crashes=(1,)),
    Section("theme B", B_CHORDS, (0.88, 0.9),
            melody=THEME_B, counter=COUNTER_B,
            harmony=each("pulse", 16), bass=each("drive", 16), pad=each("hold", 16),
            drums=with_fills("groove_b", 16, {8: "fill_small", 16: "fill_toms"}), crashes=(1, 9)),
    # The clarinet takes the theme; the flute answers above it in the second half.
    Section("theme A, clarinet", A_CHORDS[:8], (0.88, 0.88),
            melody=rests(4) + DESCANT, counter=THEME_A_CLARINET,
            harmony=each("arp", 8), bass=each("halves", 8), pad=each("hold", 8),
            drums=with_fills("groove_ride", 8, {8: "fill_toms"}), lead="counter"),
    Section("bridge", BRIDGE_CHORDS, (0.84, 0.88),
            melody=THEME_BRIDGE, counter=COUNTER_BRIDGE,
            harmony=each("halves", 16), bass=each("halftime", 16), pad=each("hold", 16),
            drums=with_fills("bridge", 16, {8: "light_fill", 16: "fill_toms"}), crashes=(1,)),
    Section("breakdown", BREAKDOWN_CHORDS, (0.88, 0.9),
            melody=THEME_BREAKDOWN, counter=COUNTER_BREAKDOWN,
            harmony=each("arp", 8), bass=each("hold", 6) + each("halves", 2), pad=each("hold", 8),
            drums=each(None, 2) + each("hats", 4) + ["build_1", "build_2"]),
    Section("theme A, return", A_CHORDS, (0.88, 0.9),
            melody=THEME_A_RETURN, counter=COUNTER_A,
            harmony=each("comp", 16), bass=each("pop", 16), pad=each("hold", 16),
            drums=with_fills("groove_b", 16, {8: "fill_small", 16: "fill_toms"}), crashes=(1, 9)),
    Section("theme B, second half", B_CHORDS[8:], (0.9, 0.88),
            melody=THEME_B_CLOSE, counter=COUNTER_B[8:],
            harmony=each("pulse", 8), bass=each("drive", 8), pad=each("hold", 8),
            drums=with_fills("groove_b", 8, {8: "fill_toms"}), crashes=(1,)),
    Section("outro", OUTRO_CHORDS, (0.9, 0.84),
            melody=THEME_OUTRO, counter=COUNTER_OUTRO,
            harmony=each("comp", 2) + each("hold", 5), bass=each("pop", 2) + each("hold", 5),
            pad=each("hold", 7), drums=each("groove_a", 2) + each("ride_soft", 3) + each(None, 2),
            crashes=(1,)),
]

# --- turning sections into notes -------------------------------------------


@dataclass
class Note:
    start: int
    length: int
    pitch: int
    velocity: int


@dataclass
class Bar:
    start: int
    level: float
    chords: list      # (start within the bar, Chord)
    section: Section
    index: int        # bar number within its section, from 0


def timeline():
    """Every bar of the piece with its absolute start, loudness and chords."""
    bars, tick = [], 0
    for section in SECTIONS:
        count = len(section.chords)
        for index, symbols in enumerate(section.chords):
            a, b = section.level
            level = a + (b - a) * index / max(count - 1, 1)
            names = symbols.split()
            chords = [(i * BAR // len(names), chord(n)) for i, n in enumerate(names)]
            bars.append(Bar(tick, level, chords, section, index))
            tick += BAR
    return bars


# Base velocities of the line that leads a section and of the one answering it.
LEAD_VELOCITY, ANSWER_VELOCITY = 112, 84
# From C6 up the flute pierces; it plays no harder than this there.
TOP_OCTAVE, TOP_VELOCITY = 84, 100


def velocity(base, level, offset=0):
    return max(1, min(127, round(base * level + offset)))


def accent(position):
    """Metric weight of a position within the bar."""
    return {0: 8, BAR // 2: 4}.get(position, 0 if position % TICKS_PER_QUARTER == 0 else -5)


def chord_spans(bar, next_bar):
    """(start, end, chord, chord after it) for each chord of the bar."""
    spans = []
    for i, (start, ch) in enumerate(bar.chords):
        if i + 1 < len(bar.chords):
            end, following = bar.chords[i + 1]
        else:
            end, following = BAR, next_bar.chords[0][1] if next_bar else ch
        spans.append((start, end, ch, following))
    return spans


def pattern_hits(pattern, spans):
    """Cuts each pattern event at chord changes: yields (start, length, offset, span)."""
    for start, length, *rest in pattern:
        for span in spans:
            lo, hi = max(start, span[0]), min(start + length, span[1])
            if lo < hi and (lo == start or lo == span[0]):
                yield lo, hi - lo, rest, span


def melodic_part(bars, which, legato):
    notes = []
    for bar in bars:
        base = LEAD_VELOCITY if bar.section.lead == which else ANSWER_VELOCITY
        position = 0
        for pitch, ticks in getattr(bar.section, which)[bar.index]:
            if pitch is not None:
                # Higher notes carry a little more weight, as a singer's would, below the top octave.
                v = velocity(base, bar.level, accent(position) + (pitch - 72) * 0.5)
                notes.append(Note(bar.start + position, max(20, round(ticks * legato)), pitch,
                                  min(v, TOP_VELOCITY) if pitch >= TOP_OCTAVE else v))
            position += ticks
    return notes


def harmony_part(bars):
    notes = []
    for i, bar in enumerate(bars):
        name = bar.section.harmony[bar.index]
        if name is None:
            continue
        spans = chord_spans(bar, bars[i + 1] if i + 1 < len(bars) else None)
        if name == "arp":
            notes += arpeggio(bar, spans)
            continue
        for start, length, (offset,), (_, _, ch, _) in pattern_hits(HARMONY_PATTERNS[name], spans):
            # Under the clarinet, which owns the octave around middle C.
            for pitch in voicing(ch, 50):
                notes.append(Note(bar.start + start, length, pitch,
                                  velocity(96, bar.level, offset + accent(start) // 2)))
    return notes


def arpeggio(bar, spans):
    """Eighth notes up and down the chord, restarting at each chord change."""
    notes = []
    for span_start, span_end, ch, _ in spans:
        tones = voicing(ch, 48)
        tones.append(tones[0] + 12)
        cycle = tones + tones[-2:0:-1]
        for step, start in enumerate(range(span_start, span_end, 60)):
            notes.append(Note(bar.start + start, 110, cycle[step % len(cycle)],
                              velocity(92, bar.level, accent(start) // 2 - (step % 2) * 4)))
    return notes


def bass_part(bars):
    notes = []
    for i, bar in enumerate(bars):
        name = bar.section.bass[bar.index]
        if name is None:
            continue
        spans = chord_spans(bar, bars[i + 1] if i + 1 < len(bars) else None)
        for start, length, (degree, offset), (_, _, ch, following) in pattern_hits(
                BASS_PATTERNS[name], spans):
            root = place(ch.bass, 34)
            if degree == "R":
                pitch = root
            elif degree == "5":
                pitch = place((ch.root + 7) % 12, root + 1)
            elif degree == "8":
                pitch = root + 12
            elif following.bass != ch.bass:
                pitch = place(following.bass, 34) - 1
            else:
                pitch = place((ch.root + 7) % 12, root + 1)
            notes.append(Note(bar.start + start, length, pitch, velocity(110, bar.level, offset)))
    return notes


def pad_part(bars):
    notes = []
    for bar in bars:
        if bar.section.pad[bar.index] is None:
            continue
        for start, end, ch, _ in chord_spans(bar, None):
            # Two tones that colour the chord, its third (or fourth) and its top one.
            for pc in (ch.tones[1], ch.tones[-1]):
                notes.append(Note(bar.start + start, end - start, place(pc, 72), velocity(70, bar.level)))
    return tie_repeats(notes)


def tie_repeats(notes):
    """A held pad note that the next chord keeps sounds on instead of restriking."""
    open_notes, tied = {}, []
    for note in sorted(notes, key=lambda n: (n.start, n.pitch)):
        held = open_notes.get(note.pitch)
        if held and held.start + held.length == note.start:
            held.length += note.length
            continue
        open_notes[note.pitch] = note
        tied.append(note)
    return tied


def drum_part(bars):
    notes = []
    for bar in bars:
        name = bar.section.drums[bar.index]
        rows = dict(DRUM_BARS[name]) if name else {}
        if bar.index + 1 in bar.section.crashes:
            rows[CRASH] = "X" + rows.get(CRASH, "." * 16)[1:]
        for instrument, steps in rows.items():
            for step, mark in enumerate(steps):
                if mark != ".":
                    notes.append(Note(bar.start + step * 30, 60 if instrument != CRASH else 240,
                                      instrument, velocity(STEP_VELOCITY[mark], bar.level * 1.1)))
    return notes


def let_ring(notes, last_bar_start):
    """The closing dominant rings on to the file's end, where the loop restarts."""
    for note in notes:
        if note.start >= last_bar_start and note.start + note.length >= last_bar_start + BAR - 60:
            note.length = END_TICK - note.start
    return notes


def separate_repeats(notes):
    """Ends a note where the same key is struck again, so every on has its off."""
    kept, sounding = [], {}
    for note in sorted(notes, key=lambda n: (n.start, n.pitch)):
        previous = sounding.get(note.pitch)
        if previous and previous.start == note.start:
            previous.velocity = max(previous.velocity, note.velocity)
            previous.length = max(previous.length, note.length)
            continue
        if previous and previous.start + previous.length > note.start:
            previous.length = note.start - previous.start
        sounding[note.pitch] = note
        kept.append(note)
    return kept


# --- Standard MIDI File writing --------------------------------------------

@dataclass(frozen=True)
class Instrument:
    name: str
    channel: int
    program: int      # General MIDI, from 0; None on the drum channel
    volume: int
    pan: int
    reverb: int
    part: object


INSTRUMENTS = [
    Instrument("Melody (flute)", 0, 73, 127, 70, 50, lambda bars: melodic_part(bars, "melody", 0.94)),
    Instrument("Counter-melody (clarinet)", 1, 71, 116, 44, 50, lambda bars: melodic_part(bars, "counter", 0.96)),
    Instrument("Harmony (electric piano)", 2, 4, 110, 86, 60, harmony_part),
    Instrument("Bass (fingered)", 3, 33, 120, 64, 20, bass_part),
    Instrument("Drums", 9, None, 116, 64, 36, drum_part),
    Instrument("Pad (warm)", 4, 89, 104, 58, 70, pad_part),
]


def vlq(value):
    """Variable-length quantity: 7 bits a byte, high bit set on all but the last."""
    if not 0 <= value <= 0x0FFFFFFF:
        raise ValueError(f"delta time {value} out of range")
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def meta(kind, data):
    return bytes([0xFF, kind]) + vlq(len(data)) + data


# Sort order at equal ticks: set-up first, then note-offs, then note-ons.
SETUP, NOTE_OFF, NOTE_ON = 0, 1, 2


def track_chunk(events):
    """events: (tick, order, bytes); every event carries its own status byte."""
    body, now = bytearray(), 0
    for tick, _, data in sorted(events, key=lambda e: (e[0], e[1])):
        body += vlq(tick - now) + data
        now = tick
    body += vlq(END_TICK - now) + meta(0x2F, b"")
    return b"MTrk" + len(body).to_bytes(4, "big") + bytes(body)


def tempo_track():
    return track_chunk([
        (0, SETUP, meta(0x03, b"Tolvex App Generator")),
        (0, SETUP, meta(0x51, TEMPO_US_PER_QUARTER.to_bytes(3, "big"))),
        (0, SETUP, meta(0x58, bytes([4, 2, 24, 8]))),
    ])


def instrument_track(instrument, bars):
    ch = instrument.channel
    events = [(0, SETUP, meta(0x03, instrument.name.encode("ascii")))]
    if instrument.program is not None:
        events.append((0, SETUP, bytes([0xC0 | ch, instrument.program])))
    for controller, value in ((7, instrument.volume), (10, instrument.pan), (91, instrument.reverb)):
        events.append((0, SETUP, bytes([0xB0 | ch, controller, value])))
    notes = separate_repeats(let_ring(instrument.part(bars), bars[-1].start))
    for note in notes:
        if note.length <= 0 or note.start + note.length > END_TICK:
            raise ValueError(f"{instrument.name}: note {note} does not fit the piece")
        events.append((note.start, NOTE_ON, bytes([0x90 | ch, note.pitch, note.velocity])))
        events.append((note.start + note.length, NOTE_OFF, bytes([0x80 | ch, note.pitch, 64])))
    return track_chunk(events)


def midi_file():
    bars = timeline()
    if not 0 <= END_TICK - len(bars) * BAR < BAR:
        raise ValueError(f"{len(bars)} bars do not end in the last bar before tick {END_TICK}")
    tracks = [tempo_track()] + [instrument_track(i, bars) for i in INSTRUMENTS]
    header = b"MThd" + (6).to_bytes(4, "big") + b"".join(
        n.to_bytes(2, "big") for n in (1, len(tracks), TICKS_PER_QUARTER))
    # The program's copy of the tune carries one zero byte after the last track.
    return header + b"".join(tracks) + b"\x00"


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(f"usage: {argv[0]} OUTPUT.mid\n")
        return 2
    data = midi_file()
    with open(argv[1], "wb") as out:
        out.write(data)
    print(f"wrote {argv[1]}: {len(data)} bytes, {len(timeline())} bars, end tick {END_TICK}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
