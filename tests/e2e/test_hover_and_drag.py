"""Hover highlighting, the eye lights and dragging the window by its title bar, with the real
pointer on a real X server: under openbox, which takes the move over, and with no window
manager at all, where the window follows the pointer itself."""

import time
import unittest

from harness import App, Desktop, px, wait_for

ORANGE = (255, 128, 0)
BUTTON_TEXT = (192, 192, 255)
RED = (255, 0, 0)

# Points of the window, in window pixels.
GENERAL_TAB = (px(135 + 1815 + 900), px(1215 + 135))
GENERAL_TAB_BOX = (px(135 + 1815), px(1215), px(135 + 1815 + 1800), px(1215 + 270))
PAGE = (px(2000), px(4700))
TITLE_STRIP = (px(3000), px(150))
GREY_CIRCLE = (px(600), px(450))  # inside the circle, outside the icon
ICON = (px(90), px(300))          # on the icon, beside where the eye lights lie
CORNER_BOX = (0, 0, px(540), px(560))
SLACK = 2  # pixels the window's move may differ from the pointer's


def count(image, box, colour):
    return sum(1 for pixel in image.crop(box).getdata() if pixel == colour)


class OnTheDesktop:
    """The checks every desktop shares; a subclass says which desktop."""

    window_manager = True

    @classmethod
    def setUpClass(cls):
        cls.desktop = Desktop(window_manager=cls.window_manager)
        try:
            cls.app = App(cls.desktop)
            cls.app.wait_for_window()
        except Exception:
            cls.desktop.stop()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.app.stop()
        cls.desktop.stop()

    def setUp(self):
        self.assertTrue(self.app.running(), self.app.errors())

    def hover(self, at, box, colour, shown, save_as=None):
        """Moves the pointer to `at` and waits until `box` shows `colour`, or until it shows none."""
        def done():
            n = count(self.app.screenshot(), box, colour)
            return n > 10 if shown else n == 0

        self.app.move_to(*at)
        wait_for(done, timeout=3, what=f"{colour} {'shown' if shown else 'gone'} with the pointer at {at}")
        return self.app.screenshot(save_as if self.window_manager else None)

    def assert_tab_lights(self):
        self.hover(PAGE, GENERAL_TAB_BOX, ORANGE, False)
        lit = self.hover(GENERAL_TAB, GENERAL_TAB_BOX, ORANGE, True, "lit-tab.png")
        self.assertEqual(count(lit, GENERAL_TAB_BOX, BUTTON_TEXT), 0)
        out = self.hover(PAGE, GENERAL_TAB_BOX, ORANGE, False)
        self.assertGreater(count(out, GENERAL_TAB_BOX, BUTTON_TEXT), 20)

    def assert_drag(self, at, dx, dy, button=1, moves=True):
        """Drags from a point of the window by (dx, dy): the window moves with the pointer, or stays."""
        before = self.app.geometry()
        self.app.drag(*at, dx, dy, button=button)
        expected = (before[0] + dx, before[1] + dy) if moves else before[:2]
        self.assert_placed(before, expected, f"drag by ({dx}, {dy}) with button {button}")

    def assert_placed(self, before, expected, what):
        def there():
            return all(abs(a - b) <= SLACK for a, b in zip(self.app.geometry(), expected))

        if expected == before[:2]:
            time.sleep(0.5)  # a window that stays must still be there a moment later
        try:
            wait_for(there, timeout=3, what="the window's place")
        except TimeoutError:
            pass
        after = self.app.geometry()
        self.assertTrue(there(), f"{what}: from {before[:2]} to {after[:2]}, expected {expected}")
        self.assertEqual(after[2:], before[2:])
        self.assert_tab_lights()  # the window still takes the pointer: nothing kept the press

    def test_tab_lights_under_the_pointer(self):
        self.assert_tab_lights()

    def test_eye_lights_over_the_icon(self):
        self.hover(TITLE_STRIP, CORNER_BOX, RED, False)
        self.hover(ICON, CORNER_BOX, RED, True, "eye-lights.png")
        self.hover(TITLE_STRIP, CORNER_BOX, RED, False)

    def test_left_drag_on_the_title_bar_moves_the_window(self):
        self.assert_drag(TITLE_STRIP, 60, 40)
        self.assert_drag(GREY_CIRCLE, -50, 30)

    def test_right_click_during_a_drag_does_not_end_it(self):
        before = self.app.geometry()
        x, y = self.app.screen_point(*TITLE_STRIP)
        for step in (("mousemove", x, y), ("mousedown", 1), ("mousemove", x + 20, y + 10),
                     ("mousedown", 3), ("mouseup", 3), ("mousemove", x + 40, y + 20),
                     ("mousemove", x + 60, y + 30), ("mouseup", 1)):
            self.desktop.xdotool(*step)
            time.sleep(0.2)
        self.assert_placed(before, (before[0] + 60, before[1] + 30), "right click mid-drag")

    def test_right_drag_and_drag_on_the_icon_stay(self):
        self.assert_drag(TITLE_STRIP, 70, 50, button=3, moves=False)
        self.assert_drag(ICON, 70, 50, moves=False)


class UnderOpenbox(OnTheDesktop, unittest.TestCase):
    window_manager = True


class WithoutWindowManager(OnTheDesktop, unittest.TestCase):
    window_manager = False


if __name__ == "__main__":
    unittest.main(verbosity=2)
