"""The road of one application as a screen reader's user takes it: everything found by role and
name on the accessibility bus (AT-SPI), everything done by the accessible actions and text."""

import os
import subprocess
import sys
import unittest
import warnings

import pyatspi

from harness import App, Desktop, wait_for


def find(node, role, name):
    """The first accessible below `node` with this role (a pyatspi.ROLE_ constant: the roles' names
    change between releases of at-spi2-core) and name."""
    return pyatspi.findDescendant(node, lambda a: a.getRole() == role and a.name == name, breadth_first=True)


def window_of(app_name):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == app_name and app.childCount:
            return app[0]
    return None


class ScreenReader(unittest.TestCase):
    def test_an_application_through_the_accessibility_bus(self):
        desktop = Desktop()
        self.addCleanup(desktop.stop)
        app = App(desktop, env={"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
        app.wait_for_window()
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = desktop.env["DBUS_SESSION_BUS_ADDRESS"]
        window = wait_for(lambda: window_of("TolvexApp"), timeout=20, what="the window on the bus")
        self.assertEqual((window.getRole(), window.name), (pyatspi.ROLE_FRAME, "Tolvex Devoz - App Generator"))
        for decoration in ("..", ""):
            self.assertIsNone(find(window, pyatspi.ROLE_LABEL, decoration))

        find(window, pyatspi.ROLE_PAGE_TAB, "General").queryAction().doAction(0)
        general = find(window, pyatspi.ROLE_PAGE_TAB, "General")
        self.assertTrue(general.getState().contains(pyatspi.STATE_SELECTED))
        for question, answer in (("Nick:", "Ziruzav"), ("Age:", "19"), ("Country:", "Norway")):
            box = find(window, pyatspi.ROLE_TEXT, question)
            self.assertEqual(box.getRelationSet()[0].getRelationType(), pyatspi.RELATION_LABELLED_BY)
            box.queryEditableText().setTextContents(answer)
        find(window, pyatspi.ROLE_PAGE_TAB, "Finish").queryAction().doAction(0)
        # "Finish" ends the program, so its action answers late or never: call it from elsewhere.
        press = ("import pyatspi, sys; sys.path.insert(0, %r); from test_screen_reader import find, window_of; "
                 "find(window_of('TolvexApp'), pyatspi.ROLE_PUSH_BUTTON, 'Finish').queryAction().doAction(0)"
                 % os.path.dirname(os.path.abspath(__file__)))
        presser = subprocess.Popen([sys.executable, "-W", "ignore", "-c", press], env=desktop.env)
        self.addCleanup(presser.kill)
        self.assertEqual(app.wait_for_exit(20), 0, app.errors())
        with open(os.path.join(app.program_dir, "Ziruzav.app"), "rb") as f:
            self.assertIn(b"Nick: Ziruzav\r\nAge: 19\r\nCountry: Norway\r\nConnection Speed: \r\n", f.read())


if __name__ == "__main__":
    warnings.simplefilter("ignore", DeprecationWarning)  # pyatspi's own use of the library
    unittest.main(verbosity=2)
