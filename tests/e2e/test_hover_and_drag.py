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

# Allowed difference between the window's place and the pointer's offset, in pixels.
SLACK = 2


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

    def orange_on_tab(self):
        return count(self.app.screenshot(), GENERAL_TAB_BOX, ORANGE)

    def red_in_corner(self):
        return count(self.app.screenshot(), CORNER_BOX, RED)

    def assert_window_at(self, before, expected, what):
        """The window settles at `expected` (give or take SLACK), its size unchanged, and still
        takes the pointer: nothing else answered the press."""
        def close(place):
            return all(abs(a - b) <= SLACK for a, b in zip(place, expected))

        def settled():
            now = self.app.geometry()
            return now if close(now[:2]) else None

        if expected == before[:2]:
            # A window that stays must still be there a moment later.
            time.sleep(0.5)
            after = self.app.geometry()
        else:
            try:
                after = wait_for(settled, timeout=3, what="the window's place")
            except TimeoutError:
                after = self.app.geometry()
        self.assertTrue(close(after[:2]), f"{what}: from {before[:2]} to {after[:2]}, expected {expected}")
        self.assertEqual(after[2:], before[2:])
        self.assertTrue(self.app.running())
        self.app.move_to(*PAGE)
        self.app.move_to(*GENERAL_TAB)
        self.assertGreater(wait_for(self.orange_on_tab, timeout=3, what="the lit tab"), 20)
        self.app.move_to(*PAGE)
        wait_for(lambda: self.orange_on_tab() == 0, timeout=3, what="the tab put out")

    def assert_drag(self, at, dx, dy, button=1, moves=True):
        """Drags from a point of the window by (dx, dy): the window moves with the pointer, or
        stays where it was."""
        before = self.app.geometry()
        self.app.drag(*at, dx, dy, button=button)
        expected = (before[0] + dx, before[1] + dy) if moves else before[:2]
        self.assert_window_at(before, expected, f"drag by ({dx}, {dy}) with button {button}")

    def test_tab_lights_under_the_pointer(self):
        self.app.move_to(*PAGE)
        wait_for(lambda: self.orange_on_tab() == 0, timeout=3, what="no lit tab")
        self.app.move_to(*GENERAL_TAB)
        lit = wait_for(self.orange_on_tab, timeout=3, what="the lit tab")
        self.assertGreater(lit, 20)
        shot = self.app.screenshot("lit-tab.png" if self.window_manager else None)
        self.assertEqual(count(shot, GENERAL_TAB_BOX, BUTTON_TEXT), 0)
        self.app.move_to(*PAGE)
        wait_for(lambda: self.orange_on_tab() == 0, timeout=3, what="the tab put out")
        self.assertGreater(count(self.app.screenshot(), GENERAL_TAB_BOX, BUTTON_TEXT), 20)

    def test_eye_lights_over_the_icon(self):
        self.app.move_to(*TITLE_STRIP)
        wait_for(lambda: self.red_in_corner() == 0, timeout=3, what="no eye lights")
        self.app.move_to(*ICON)
        shown = wait_for(self.red_in_corner, timeout=3, what="the eye lights")
        self.assertGreater(shown, 10)
        if self.window_manager:
            self.app.screenshot("eye-lights.png")
        self.app.move_to(*TITLE_STRIP)
        wait_for(lambda: self.red_in_corner() == 0, timeout=3, what="the eye lights put out")

    def test_drag_on_the_title_strip(self):
        self.assert_drag(TITLE_STRIP, 60, 40)

    def test_drag_on_the_grey_circle(self):
        self.assert_drag(GREY_CIRCLE, -50, 30)

    def test_right_click_during_a_drag_does_not_end_it(self):
        before = self.app.geometry()
        x, y = self.app.screen_point(*TITLE_STRIP)
        self.desktop.move_pointer(x, y)
        self.desktop.xdotool("mousedown", 1)
        time.sleep(0.2)
        self.desktop.move_pointer(x + 20, y + 10)
        self.desktop.xdotool("mousedown", 3)
        time.sleep(0.1)
        self.desktop.xdotool("mouseup", 3)
        time.sleep(0.1)
        for step in (1, 2):
            self.desktop.move_pointer(x + 20 + 20 * step, y + 10 + 10 * step)
        time.sleep(0.2)
        self.desktop.xdotool("mouseup", 1)
        time.sleep(0.3)
        self.assert_window_at(before, (before[0] + 60, before[1] + 30), "right click mid-drag")

    def test_right_button_drag_stays(self):
        self.assert_drag(TITLE_STRIP, 70, 50, button=3, moves=False)

    def test_drag_on_the_icon_stays(self):
        self.assert_drag(ICON, 70, 50, moves=False)


class UnderOpenbox(OnTheDesktop, unittest.TestCase):
    window_manager = True


class WithoutWindowManager(OnTheDesktop, unittest.TestCase):
    window_manager = False


if __name__ == "__main__":
    unittest.main(verbosity=2)
