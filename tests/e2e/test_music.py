"""The music through the real audio stack: TolvexApp plays into a PulseAudio null sink of
the test's own, and the sink's monitor is recorded and measured."""

import os
import subprocess
import time
import unittest

from harness import App, Desktop, wait_for
from layout_points import CLOSE_X

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TUNE = os.path.join(ROOT, "resources", "music", "tune.mid")
BOX_NAME = "^TolvexApp$"


def rms_of_sink(desktop, seconds):
    """RMS amplitude of what the null sink carries during the next few seconds."""
    path = os.path.join(desktop.root, "sink.wav")
    recorder = subprocess.Popen(["parecord", "--device=nullsink.monitor", "--file-format=wav", path],
                                env=desktop.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    time.sleep(seconds)
    recorder.terminate()
    recorder.wait(timeout=10)
    stat = subprocess.run(["sox", path, "-n", "stat"], capture_output=True, text=True).stderr
    for line in stat.splitlines():
        if line.startswith("RMS     amplitude"):
            return float(line.split(":")[1])
    raise AssertionError("sox gave no RMS: " + stat)


def visible(desktop, name):
    return desktop.run(["xdotool", "search", "--onlyvisible", "--name", name]).split()


class MusicPlays(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop()
        self.addCleanup(self.desktop.stop)

    def test_tune_plays_while_the_window_is_open_and_stops_with_it(self):
        app = App(self.desktop)
        self.addCleanup(app.stop)
        app.wait_for_window()
        playing = rms_of_sink(self.desktop, 4)
        print(f"\n  RMS of the sink while the window is open: {playing:.4f}")
        self.assertGreater(playing, 0.01)
        app.click(*CLOSE_X)
        self.assertEqual(app.wait_for_exit(10), 0, app.errors())
        self.assertLess(rms_of_sink(self.desktop, 2), 0.0005)
        # The temporary file stays, holding the tune byte for byte.
        with open(os.path.join(self.desktop.env["TMPDIR"], "TXmidi.mid"), "rb") as f, open(TUNE, "rb") as g:
            self.assertEqual(f.read(), g.read())
        self.assertEqual(app.errors(), "")

    def test_temporary_folder_with_a_space_plays(self):
        folder = os.path.join(self.desktop.root, "temp folder")
        os.makedirs(folder)
        app = App(self.desktop, {"TMPDIR": folder})
        self.addCleanup(app.stop)
        app.wait_for_window()
        self.assertGreater(rms_of_sink(self.desktop, 3), 0.01)
        self.assertTrue(os.path.exists(os.path.join(folder, "TXmidi.mid")))


class NoMusic(unittest.TestCase):
    def test_no_sound_output_says_hi_once_before_the_window(self):
        desktop = Desktop(sound=False)
        self.addCleanup(desktop.stop)
        # No sound server, and an ALSA set-up with no device, whatever this machine has.
        app = App(desktop, {"PULSE_SERVER": "unix:/nonexistent", "ALSA_CONFIG_PATH": os.devnull})
        self.addCleanup(app.stop)
        box = wait_for(lambda: visible(desktop, BOX_NAME), timeout=20, what='the box "hi"')
        self.assertEqual(visible(desktop, "^Tolvex App$"), [])
        shot = os.path.join(os.environ.get("TOLVEX_SCREENSHOTS", desktop.root), "hi-box.png")
        os.makedirs(os.path.dirname(shot), exist_ok=True)
        desktop.run(["import", "-window", box[0], shot], check=True)
        desktop.xdotool("windowactivate", "--sync", box[0])
        desktop.key("Return")
        app.wait_for_window()
        time.sleep(1)
        self.assertEqual(visible(desktop, BOX_NAME), [])
        self.assertTrue(app.running())

    def test_unwritable_temporary_folder_opens_the_window_without_music(self):
        desktop = Desktop()
        self.addCleanup(desktop.stop)
        app = App(desktop, {"TMPDIR": os.path.join(desktop.root, "missing", "folder")})
        self.addCleanup(app.stop)
        box = wait_for(lambda: visible(desktop, BOX_NAME), timeout=20, what="the failure box")
        desktop.xdotool("windowactivate", "--sync", box[0])
        desktop.key("Return")
        app.wait_for_window()
        self.assertLess(rms_of_sink(desktop, 2), 0.0005)
        self.assertTrue(app.running())


if __name__ == "__main__":
    unittest.main(verbosity=2)
