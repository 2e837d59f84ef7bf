"""The real window under Xvfb and openbox, checked point by point against the design."""

import os
import subprocess
import unittest

from harness import App, Desktop, px

GREY = (128, 128, 128)
TITLE_TEXT = (224, 224, 224)
BLACK = (0, 0, 0)
TAB_ROW = (64, 0, 0)
PAGE = (84, 44, 169)
BUTTON_TEXT = (192, 192, 255)
RED = (255, 0, 0)


def count(image, box, colour):
    region = image.crop(box)
    return sum(1 for pixel in region.getdata() if pixel == colour)


class RealWindow(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop()
        cls.app = App(cls.desktop)
        cls.app.wait_for_window()
        cls.shot = cls.app.screenshot("window.png")

    @classmethod
    def tearDownClass(cls):
        cls.app.stop()
        cls.desktop.stop()

    def test_size_and_place(self):
        self.assertEqual(self.shot.size, (501, 359))
        left, top, width, height = self.app.geometry()
        self.assertEqual((width, height), (501, 359))
        # Centred on the 1024 x 768 screen.
        self.assertLessEqual(abs(left - (1024 - 501) / 2), 1)
        self.assertLessEqual(abs(top - (768 - 359) / 2), 1)

    def test_title_strip(self):
        # The title label's grey, the circle's grey outside the icon, and light grey text.
        self.assertEqual(self.shot.getpixel((px(7000), px(330))), GREY)
        self.assertEqual(self.shot.getpixel((px(600), px(450))), GREY)
        self.assertEqual(self.shot.getpixel((px(60), px(15))), GREY)
        self.assertGreater(count(self.shot, (px(720), 0, px(6500), px(360)), TITLE_TEXT), 200)
        # Outside the circle, below the strip, the window is black.
        self.assertEqual(self.shot.getpixel((px(900), px(600))), BLACK)
        self.assertEqual(self.shot.getpixel((px(3750), px(700))), BLACK)
        self.assertEqual(self.shot.getpixel((px(4500), px(5200))), BLACK)

    def test_close_label_drawn_over_title(self):
        self.assertGreater(count(self.shot, (px(7245), 0, 501, px(345)), BUTTON_TEXT), 10)
        self.assertEqual(self.shot.getpixel((px(7400), px(330))), GREY)

    def test_tab_rows(self):
        for row_top in (930, 1215):
            y = px(row_top + 135)
            # The 15-twip gaps between tabs and the 45 twips after the last show the row.
            for gap in (1800, 3615, 5430, 7260):
                self.assertEqual(self.shot.getpixel((px(135 + gap), y)), TAB_ROW, (row_top, gap))
        # The Welcome tab has the page's colour; the other seven are grey.
        corner = lambda left, top: (px(135 + left + 30), px(top + 240))
        self.assertEqual(self.shot.getpixel(corner(0, 1215)), PAGE)
        for left in (1815, 3630, 5445):
            self.assertEqual(self.shot.getpixel(corner(left, 1215)), GREY)
        for left in (0, 1815, 3630, 5445):
            self.assertEqual(self.shot.getpixel(corner(left, 930)), GREY)
        self.assertGreater(count(self.shot, (px(135), px(1215), px(1935), px(1485)), BUTTON_TEXT), 20)

    def test_welcome_page_is_the_only_page(self):
        page = (px(135), px(1485), px(7380), px(4980))
        self.assertEqual(self.shot.getpixel((px(4000), px(4800))), PAGE)
        self.assertEqual(self.shot.getpixel((px(200), px(4900))), PAGE)
        # Welcome text and "Begin" in light violet, and no red question of another page.
        self.assertGreater(count(self.shot, (px(3180), px(1950), px(7275), px(4245)), BUTTON_TEXT), 500)
        self.assertGreater(count(self.shot, (px(6360), px(4530), px(7245), px(4875)), BUTTON_TEXT), 50)
        self.assertEqual(count(self.shot, page, RED), 0)
        # The logo fills its box: few pixels of it are the page colour.
        logo = (px(360), px(1950), px(2985), px(4260))
        self.assertLess(count(self.shot, logo, PAGE), 0.2 * (logo[2] - logo[0]) * (logo[3] - logo[1]))

    def test_eye_lights_hidden(self):
        self.assertEqual(count(self.shot, (0, 0, px(540), px(560)), RED), 0)


class WithoutDisplay(unittest.TestCase):
    def run_app(self, env):
        binary = os.environ["TOLVEX_APP"]
        base = {k: v for k, v in os.environ.items()
                if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        base.update(env)
        return subprocess.run([binary], env=base, capture_output=True, text=True, timeout=20)

    def test_no_display_set(self):
        result = self.run_app({})
        self.assertNotEqual(result.returncode, 0)
        self.assertGreater(result.returncode, 0, "exited by a signal, not by a clear exit")
        lines = result.stderr.strip().splitlines()
        self.assertEqual(len(lines), 1, result.stderr)
        self.assertIn("display", lines[0])

    def test_display_with_no_server(self):
        result = self.run_app({"DISPLAY": ":87"})
        self.assertGreater(result.returncode, 0)
        lines = result.stderr.strip().splitlines()
        self.assertEqual(len(lines), 1, result.stderr)
        self.assertIn(":87", lines[0])


if __name__ == "__main__":
    unittest.main(verbosity=2)
