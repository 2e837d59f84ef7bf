#!/usr/bin/env python3
"""A long paste into an answer box: how long until the window answers again, and how long each
key typed after it takes, for the program's box of several lines (build/scripts/bench/
paste_bench box) beside a plain QPlainTextEdit set up as the box was before it chose its
wrapping and shaping (paste_bench plain), and for the program's single-line box (line) beside
a plain QLineEdit set up as that box was before it chose its shaping (plainline), with and
without spaces, in an X server of its own (Xvfb with openbox). Each time runs until the box
has laid out and painted the change. Run after the test command has set everything up:

    /usr/bin/python3 scripts/bench_paste.py [characters]      (default 200000)

Prints, per box and text, the paste's milliseconds until painted; for the keys typed after it,
the median and the worst of the time until each key's change is painted, of the whole key
(also painted again after its release, where the box does that), and of the whole key's
processor time, which other work on a busy machine does not inflate; and whether the box holds
exactly what was pasted and typed.
"""

import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import Desktop  # noqa: E402

HELPER = os.path.join(ROOT, "build", "scripts", "bench", "paste_bench")
# The plain box takes seconds a key without spaces: fewer keys there.
RUNS = [("answer box", "box", "nospaces", 20), ("answer box", "box", "spaces", 20),
        ("plain QPlainTextEdit", "plain", "nospaces", 5), ("plain QPlainTextEdit", "plain", "spaces", 20),
        ("single-line box", "line", "nospaces", 20), ("single-line box", "line", "spaces", 20),
        ("plain QLineEdit", "plainline", "nospaces", 20), ("plain QLineEdit", "plainline", "spaces", 20)]


def main():
    characters = int(sys.argv[1]) if len(sys.argv) > 1 else 200000
    desktop = Desktop(sound=False)
    try:
        print(f"{characters} characters pasted, then keys typed (ms)")
        print(f"{'':<37}{'key shown':^16}{'whole key':^16}{'processor':^16}")
        print(f"{'box':<22}{'text':<10}{'paste':>5}" + f"{'median':>8}{'worst':>8}" * 3 + "  content")
        for name, kind, text, keys in RUNS:
            out = subprocess.run([HELPER, kind, text, str(characters), str(keys)], env=desktop.env,
                                 capture_output=True, text=True, timeout=900, check=True).stdout.split()
            figures = "".join(f"{figure:>8}" for figure in out[1:7])
            print(f"{name:<22}{text:<10}{out[0]:>5}{figures}  {out[7]}")
    finally:
        desktop.stop()


if __name__ == "__main__":
    main()
