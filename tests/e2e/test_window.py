"""The real window under Xvfb and openbox: its designed pixels, a drag by its title strip, the
road of one application driven by keys alone, and a start without a display."""

import os
import re
import shutil
import socket
import subprocess
import tempfile
import unittest

from harness import App, Desktop, px, wait_for

GREY, TITLE_TEXT, BLACK, TAB_ROW = (128, 128, 128), (224, 224, 224), (0, 0, 0), (64, 0, 0)
PAGE, BUTTON_TEXT, RED = (84, 44, 169), (192, 192, 255), (255, 0, 0)
ICON_FACE = (60, 46, 92)

# The worked example, as keys type it: Tab walks the General page's boxes in order.
ANSWER = (b"This file was generated with the Tolvex Application Generator\r\n\r\n\r\n"
          b"--General Information--\r\nNick: Ziruzav\r\nAge: 19\r\nCountry: Norway\r\nConnection Speed: T1\r\n"
          b"E-mail: \r\nHow long have you been on the scene? 2 years\r\nPast Affiliations: none\r\n"
          b"Current Affiliations: none\r\n\r\n--Courrier--\r\nHow many megs can you curry in a week? 500\r\n"
          b"Which program(s) do you use to transfer software? \r\n\r\n--Site Op--\r\nSpeed of the site: \r\n"
          b"How many gigs can the site store? \r\nCan you supply individual user accounts? \r\n"
          b"Name other groups, if any, that your site shares:\r\n\r\n\r\n--Bot Master--\r\n"
          b"How long have you been a bot master? \r\nHow Many Bots Can You Supply? \r\n"
          b"Is the bot on any other channel? If so, specify:\r\n\r\n\r\n--Coder--\r\n"
          b"How long have you been coding? \r\nWhat language(s) do you program in? \r\n"
          b"How did you learn to program? \r\nWhat can you do?\r\n\r\n\r\n--Other--\r\n"
          b"Tell us as much as you can about this position and why you would be qualified for it.\r\n"
          b"I am online every evening\r\nand learn fast\r\n")


def count(image, box, colour):
    return sum(1 for pixel in image.crop(box).getdata() if pixel == colour)


class RealWindow(unittest.TestCase):
    def setUp(self):
        self.desktop = Desktop()
        self.addCleanup(self.desktop.stop)
        self.app = App(self.desktop)
        self.app.wait_for_window()

    def test_designed_pixels_then_a_drag_by_the_title_strip(self):
        shot = self.app.screenshot("window.png")
        left, top, width, height = self.app.geometry()
        self.assertEqual((width, height), (501, 359))
        self.assertLessEqual(abs(left - (1024 - 501) / 2) + abs(top - (768 - 359) / 2), 2)
        # Title strip: grey with light grey text, the circle's grey, "X" over the strip.
        self.assertEqual(shot.getpixel((px(7000), px(330))), GREY)
        self.assertEqual(shot.getpixel((px(600), px(450))), GREY)
        self.assertGreater(count(shot, (px(720), 0, px(6500), px(360)), TITLE_TEXT), 200)
        self.assertGreater(count(shot, (px(7245), 0, 501, px(345)), BUTTON_TEXT), 10)
        self.assertEqual(shot.getpixel((px(900), px(600))), BLACK)
        # Tab rows: the row shows in the gaps; Welcome has the page's colour, the rest are grey.
        for row_top in (930, 1215):
            for gap in (1800, 3615, 5430, 7260):
                self.assertEqual(shot.getpixel((px(135 + gap), px(row_top + 135))), TAB_ROW)
            for tab_left in (0, 1815, 3630, 5445):
                welcome = row_top == 1215 and tab_left == 0
                self.assertEqual(shot.getpixel((px(135 + tab_left + 30), px(row_top + 240))), PAGE if welcome else GREY)
        # The icon's dark face and the logo over the page.
        self.assertGreater(count(shot, (px(60), px(75), px(540), px(555)), ICON_FACE), 200)
        logo = (px(360), px(1950), px(2985), px(4260))
        self.assertLess(count(shot, logo, PAGE), (logo[2] - logo[0]) * (logo[3] - logo[1]) // 10)
        # The welcome page alone: its text and "Begin", no red question, no eye lights.
        self.assertGreater(count(shot, (px(3180), px(1950), px(7275), px(4245)), BUTTON_TEXT), 500)
        self.assertEqual(count(shot, (px(135), px(1485), px(7380), px(4980)), RED), 0)
        self.assertEqual(count(shot, (0, 0, px(540), px(560)), RED), 0)

        self.app.drag(3000, 150, 80, 60)
        self.assertEqual(self.app.geometry()[:2], (left + 80, top + 60))
        self.app.drag(600, 450, -40, 20)  # the grey circle outside the icon
        self.assertEqual(self.app.geometry()[:2], (left + 40, top + 80))
        self.app.drag(4000, 3000, 50, 50)  # a page is no handle
        self.assertEqual(self.app.geometry()[:2], (left + 40, top + 80))

    def test_an_application_by_keys_alone(self):
        desktop, app = self.desktop, self.app
        app.focus()
        desktop.key("Return")  # "Begin": the focus is in the nick box
        for text in ("what?", "19", "Norway", "T1", "", "2 years", "none", "none"):
            if text:
                desktop.type(text)
            desktop.key("Tab")
        desktop.key("ctrl+Next")
        desktop.type("500")
        desktop.key("ctrl+Next", "ctrl+Next", "ctrl+Next", "ctrl+Next")  # on to Other
        desktop.type("I am online every evening")
        desktop.key("Return")
        desktop.type("and learn fast")
        desktop.key("ctrl+Tab", "Return")  # "Finish": the nick is refused, the window stays
        desktop.answer_box("Tolvex")
        self.assertIsNone(app.wait_for_exit(1))
        app.focus()
        desktop.key("ctrl+Tab", "ctrl+Tab", "ctrl+a")
        desktop.type("Ziruzav")
        desktop.key("ctrl+shift+Tab", "ctrl+shift+Tab", "KP_Enter")
        self.assertEqual(app.wait_for_exit(), 0, app.errors())
        with open(os.path.join(app.program_dir, "Ziruzav.app"), "rb") as f:
            self.assertEqual(f.read(), ANSWER)


QT_PLATFORMS = "/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms"


class WithoutDisplay(unittest.TestCase):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}

    def wayland_session(self):
        """A Wayland compositor (weston, headless) in a runtime folder of its own, and no X server."""
        runtime = tempfile.mkdtemp(prefix="tolvex-wayland-")
        self.addCleanup(shutil.rmtree, runtime, ignore_errors=True)
        env = {**self.env, "XDG_RUNTIME_DIR": runtime, "XDG_SESSION_TYPE": "wayland", "WAYLAND_DISPLAY": "wayland-1"}
        weston = subprocess.Popen(["weston", "--backend=headless-backend.so", "--socket=wayland-1", "--idle-time=0"],
                                  env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(weston.wait)
        self.addCleanup(weston.terminate)
        wait_for(lambda: os.path.exists(os.path.join(runtime, "wayland-1")), what="weston")
        return env

    def test_on_wayland_the_window_names_its_desktop_entry(self):
        env = {**self.wayland_session(), "WAYLAND_DEBUG": "client"}
        # A socket that accepts, so that the music's check passes and no box comes before the window.
        sound = socket.socket(socket.AF_UNIX)
        sound.bind(os.path.join(env["XDG_RUNTIME_DIR"], "sound"))
        sound.listen()
        self.addCleanup(sound.close)
        env["PULSE_SERVER"] = "unix:" + sound.getsockname()
        protocol = os.path.join(env["XDG_RUNTIME_DIR"], "protocol.log")
        with open(protocol, "w") as log:
            app = subprocess.Popen([os.environ["TOLVEX_APP"]], env=env, stderr=log)
        self.addCleanup(app.kill)

        def app_id_of_the_window():
            with open(protocol) as f:
                requests = f.read()
            # libwayland writes an object as xdg_toplevel@15, and from 1.23 on as xdg_toplevel#15.
            window = re.search(r'(xdg_toplevel[@#]\d+)\.set_title\("Tolvex App"\)', requests)
            return window and re.findall(rf'{re.escape(window.group(1))}\.set_app_id\("([^"]*)"\)', requests)
        self.assertEqual(wait_for(app_id_of_the_window, timeout=20, what="the window on Wayland"), ["tolvexapp"])
        app.terminate()
        self.assertEqual(app.wait(10), 0)

    def test_a_wayland_session_without_the_plugin_gives_one_line_and_status_1(self):
        env = self.wayland_session()
        hide = f"mount --bind /dev/null {QT_PLATFORMS}/libqwayland-generic.so 2>/dev/null; exec \"$0\""
        result = subprocess.run(["unshare", "-m", "sh", "-c", hide, os.environ["TOLVEX_APP"]], capture_output=True,
                                text=True, timeout=20, env=env)
        self.assertEqual((result.returncode, len(result.stderr.splitlines())), (1, 1), result.stderr)
        self.assertIn("Qt Wayland platform plugin is not installed", result.stderr)

    def test_one_clear_line_and_status_1(self):
        env = self.env
        for display, named in ((None, "DISPLAY is not set"), (":87", ":87")):
            result = subprocess.run([os.environ["TOLVEX_APP"]], capture_output=True, text=True, timeout=20,
                                    env=env if display is None else {**env, "DISPLAY": display})
            self.assertEqual(result.returncode, 1)
            self.assertEqual(len(result.stderr.splitlines()), 1, result.stderr)
            self.assertIn(named, result.stderr)


if __name__ == "__main__":
    unittest.main(verbosity=2)
