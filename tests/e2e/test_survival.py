"""What must not kill the program or lose an answer: a middle-click with nothing selected, a
damaged synthesizer module, and a quit signal before the window shows; and a missing or damaged
window library, which stops the program with one line instead of a crash."""

import os
import re
import shutil
import signal
import socket
import subprocess
import tempfile
import unittest

from harness import MODULE, WINDOW_LIBRARY, App, Desktop, wait_for

NICK = "Ziruzav"
# The multi-line boxes, by page: a point inside each, in the window's twips.
MULTI_LINE_BOXES = {3: (3442, 4395), 4: (3630, 3885), 5: (3675, 4305), 6: (3750, 3172)}
FIRST_WORD_IN_OTHER = (660, 2445)  # "kept" on the Other page's box's first line


class Survival(unittest.TestCase):
    def start(self, sound=True, **app_options):
        self.desktop = Desktop(sound=sound)
        self.addCleanup(self.desktop.stop)
        return App(self.desktop, **app_options)

    def begin(self, app):
        """The window shown, "Begin" pressed and the nick typed."""
        app.wait_for_window()
        app.focus()
        self.desktop.key("Return")
        self.desktop.type(NICK)

    def written(self, app):
        self.assertEqual(app.wait_for_exit(), 0, app.errors())
        with open(os.path.join(app.program_dir, f"{NICK}.app"), "rb") as f:
            return f.read().decode().split("\r\n")

    def test_a_middle_click_pastes_the_selection_and_without_one_inserts_nothing(self):
        app = self.start()
        self.begin(app)
        shown = 1
        for page, point in MULTI_LINE_BOXES.items():
            self.desktop.key(*["ctrl+Next"] * (page - shown))
            shown = page
            app.click(*point)
            self.desktop.type(f"kept {page}")
            app.click(*point, button=2)  # nothing owns the primary selection
            self.assertIsNone(app.process.poll(), f"a middle-click on page {page} ended the program")
        app.screenshot("middle-click-without-selection.png")
        # A selection made by a double-click is pasted by the middle button, at the pointer.
        self.desktop.xdotool("mousemove", *app.point(*FIRST_WORD_IN_OTHER))
        self.desktop.xdotool("click", "--repeat", "2", "--delay", "80", 1)
        app.click(*MULTI_LINE_BOXES[6], button=2)
        self.desktop.key("ctrl+Next", "Return")  # "Finish"
        lines = self.written(app)
        for page in (3, 4, 5):  # each answer whole, with nothing added
            self.assertIn(f"kept {page}", lines)
        self.assertEqual(lines[-2], "kept 6kept")

    def test_without_a_whole_window_library_one_line_says_why_and_the_program_exits_1(self):
        built = os.environ["TOLVEX_APP"]
        with open(os.path.join(os.path.dirname(built), WINDOW_LIBRARY), "rb") as f:
            library = f.read()
        with tempfile.TemporaryDirectory() as folder:
            shutil.copy2(built, folder)
            for damage, why in ((None, r"its window library is neither \S+ nor " + re.escape(folder)),
                                (library[:len(library) // 2], r"its window library \S+ is cut short")):
                with self.subTest(damage="cut to half" if damage else "missing"):
                    if damage:
                        with open(os.path.join(folder, WINDOW_LIBRARY), "wb") as f:
                            f.write(damage)
                    run = subprocess.run([os.path.join(folder, "TolvexApp")], capture_output=True, text=True,
                                         timeout=30, env={"PATH": os.environ["PATH"]})
                    self.assertEqual(run.returncode, 1, run.stderr)
                    self.assertRegex(run.stderr, f"^tolvex.window: TolvexApp cannot start: {why}")
                    self.assertEqual(len(run.stderr.splitlines()), 1, run.stderr)

    def test_a_module_cut_to_half_says_hi_once_and_the_window_works(self):
        with open(os.path.join(os.path.dirname(os.environ["TOLVEX_APP"]), MODULE), "rb") as f:
            module = f.read()
        app = self.start(module=module[: len(module) // 2])
        app.wait_for_window()
        self.desktop.answer_box("TolvexApp")
        self.begin(app)
        self.desktop.key("ctrl+shift+Tab", "ctrl+shift+Tab", "Return")  # "Finish"
        self.assertIn(f"Nick: {NICK}", self.written(app))
        self.assertEqual(self.desktop.windows("^TolvexApp$"), [], 'a second "hi"')
        module_path = re.escape(os.path.join(app.program_dir, MODULE))
        self.assertRegex(app.errors(), rf"^tolvex\.music: the synthesizer module {module_path} [^\n]*\n$")

    def test_a_quit_signal_ends_the_program_with_0_from_its_first_instant(self):
        """While it waits for a display server that is slow to answer, and while the start-up
        box "hi" shows (no sound output answers) before the window."""
        app = self.start(sound=False, env={"PULSE_SERVER": "unix:/nonexistent"})
        for sent in (signal.SIGTERM, signal.SIGINT, signal.SIGHUP):
            with self.subTest(signal=sent.name), socket.socket(socket.AF_UNIX) as server:
                number = next(n for n in range(900, 1000) if not os.path.exists(f"/tmp/.X11-unix/X{n}"))
                server.bind(f"\0/tmp/.X11-unix/X{number}")  # an X server that never answers
                server.listen()
                server.settimeout(20)
                early = App(self.desktop, env={"DISPLAY": f":{number}"}, program_dir=self.desktop.folder(sent.name))
                with server.accept()[0]:  # the program waits for the server's answer
                    early.process.send_signal(sent)
                    self.assertEqual(early.wait_for_exit(), 0)

        if os.path.exists("/proc/asound/cards") and "no soundcards" not in open("/proc/asound/cards").read():
            self.skipTest("this machine has a sound card")
        wait_for(lambda: self.desktop.windows("^TolvexApp$"), timeout=20, what='the box "hi"')
        app.process.send_signal(signal.SIGTERM)
        self.assertEqual(app.wait_for_exit(), 0, app.errors())
        self.assertEqual(self.desktop.windows("^Tolvex App$"), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
