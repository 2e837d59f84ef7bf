"""The music through the real audio stack: TolvexApp plays into a null sink of the test's own
(PulseAudio's, or PipeWire's through its PulseAudio service), whose monitor is recorded and
measured."""

import os
import shutil
import tempfile
import time
import unittest

from harness import App, Desktop, wait_for

SILENT, SOUNDING = 0.0005, 0.01


class Music(unittest.TestCase):
    def start(self, sound=True, **app_options):
        self.desktop = Desktop(sound=sound)
        self.addCleanup(self.desktop.stop)
        return App(self.desktop, **app_options)

    def test_the_tune_plays_named_in_the_mixer_ctrl_m_silences_it_and_x_stops_it(self):
        """From a temporary folder whose name holds a double quote and the open command's words."""
        tmp = tempfile.mkdtemp(prefix='tolvex "q" alias midi ')
        self.addCleanup(shutil.rmtree, tmp)
        app = self.start(env={"TMPDIR": tmp})
        app.wait_for_window()
        self.assertGreater(self.desktop.sink_rms(2), SOUNDING)
        streams = self.desktop.run(["pactl", "list", "sink-inputs"])
        for wanted in ('application.name = "Tolvex App"', 'media.role = "music"', 'application.icon_name = "tolvexapp"'):
            self.assertIn(wanted, streams)
        app.focus()
        self.desktop.key("ctrl+m")
        self.assertLess(self.desktop.sink_rms(2), SILENT)
        self.assertEqual(self.desktop.run(["pactl", "list", "short", "sink-inputs"]), "")
        self.desktop.key("ctrl+m")
        self.assertGreater(self.desktop.sink_rms(3), SOUNDING)
        app.click(7245 + 90, 170)  # "X"
        self.assertEqual(app.wait_for_exit(), 0, app.errors())
        self.assertLess(self.desktop.sink_rms(2), SILENT)
        self.assertTrue(os.path.exists(os.path.join(tmp, "TXmidi.mid")))
        self.assertEqual(app.errors(), "")

    def test_the_music_comes_back_when_the_sound_server_does(self):
        for server in ("pulseaudio", "pipewire"):
            with self.subTest(server=server):
                app = self.start(sound=server)
                app.wait_for_window()
                self.assertGreater(self.desktop.sink_rms(2), SOUNDING)
                self.desktop.stop_sound()
                time.sleep(3)
                self.desktop.start_sound()
                wait_for(lambda: self.desktop.run(["pactl", "list", "short", "sink-inputs"]), timeout=10,
                         what="the music's stream to come back")
                self.assertGreater(self.desktop.sink_rms(2), SOUNDING)
                self.assertEqual(self.desktop.windows("^TolvexApp$"), [], 'a box "hi" came')

    def test_ctrl_m_off_and_on_while_the_sound_server_is_away_plays_when_it_returns_with_no_box(self):
        app = self.start()
        app.wait_for_window()
        self.assertGreater(self.desktop.sink_rms(2), SOUNDING)
        self.desktop.stop_sound()
        app.focus()
        self.desktop.key("ctrl+m")
        self.desktop.key("ctrl+m")
        time.sleep(1)
        self.assertEqual(self.desktop.windows("^TolvexApp$"), [], 'a box "hi" came')
        returned = time.monotonic()
        self.desktop.start_sound()
        wait_for(lambda: self.desktop.run(["pactl", "list", "short", "sink-inputs"]),
                 timeout=max(0.1, 2 - (time.monotonic() - returned)), what="the music within 2 s")
        self.assertGreater(self.desktop.sink_rms(3), SOUNDING)  # the null sink's first block may take 2 s
        self.assertEqual(self.desktop.windows("^TolvexApp$"), [], 'a box "hi" came')

    def test_without_any_sound_output_hi_comes_once_before_the_window(self):
        app = self.start(sound=False, env={"PULSE_SERVER": "unix:/nonexistent"})
        if os.path.exists("/proc/asound/cards") and "no soundcards" not in open("/proc/asound/cards").read():
            self.skipTest("this machine has a sound card")
        wait_for(lambda: self.desktop.windows("^TolvexApp$"), timeout=20, what='the box "hi"')
        self.assertEqual(self.desktop.windows("^Tolvex App$"), [])
        self.desktop.answer_box("TolvexApp")
        app.wait_for_window()
        time.sleep(1)
        self.assertEqual(self.desktop.windows("^TolvexApp$"), [])
        self.assertRegex(app.errors(), r"^tolvex\.music: no PulseAudio server answers \(tried /nonexistent\)[^\n]*\n$")


if __name__ == "__main__":
    unittest.main(verbosity=2)
