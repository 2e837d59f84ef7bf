"""Where the application file goes when things go wrong: a full disk, a link planted at its name,
and an installed copy whose folder cannot be written. The folders are mounted by the test in a
mount namespace of the program's own (it runs as root, which file modes do not stop)."""

import os
import subprocess
import unittest

from harness import App, Desktop, wait_for

NICK = "Ziruzav"


def finish(app, nick=NICK):
    """Types the nick on the General page and presses "Finish", by keys."""
    app.focus()
    app.desktop.key("Return")  # "Begin"
    app.desktop.type(nick)
    app.desktop.key("ctrl+shift+Tab", "ctrl+shift+Tab", "Return")  # General, Welcome, Finish


def in_namespace(app, *argv):
    # -r: the program's own root, which is not the namespace's where the tests run in a chroot.
    return subprocess.run(["nsenter", "-t", str(app.process.pid), "-m", "-r", *argv], capture_output=True)


class Files(unittest.TestCase):
    def setUp(self):
        if subprocess.run(["unshare", "-m", "true"]).returncode:
            self.skipTest("no mount namespace can be made here")
        self.desktop = Desktop()
        self.addCleanup(self.desktop.stop)

    def start_mounted(self, mount, then, after="true"):
        """TolvexApp run from the folder `target`, which the shell commands `mount` mount in a
        namespace of the program's own; `then` runs once the program is copied there, `after`
        once it has ended."""
        target = self.target = self.desktop.folder("target")
        script = f'{mount} && cp "$0" "$(dirname "$0")/libtolvexsynth.so" "$(dirname "$0")/libtolvexwindow.so" {target}/ && {then}; {target}/TolvexApp && {after}'
        app = App(self.desktop, argv_prefix=["unshare", "-m", "sh", "-c", script])
        app.wait_for_window()
        return app

    def test_a_full_disk_keeps_the_earlier_file_and_every_answer(self):
        for earlier in (b"", b"the earlier application\r\n"):
            with self.subTest(earlier=bool(earlier)):
                target = self.desktop.folder("target")
                result = os.path.join(self.desktop.root, "result.app")
                app = self.start_mounted(f"mount -t tmpfs -o size=24m tmpfs {target}",
                                         f"printf '{earlier.decode()}' > {target}/{NICK}.app; "
                                         f"{'' if earlier else f'rm {target}/{NICK}.app; '}"
                                         f"head -c 100M /dev/zero > {target}/filler 2>/dev/null",
                                         after=f"cp {target}/{NICK}.app {result}")
                finish(app)
                self.desktop.answer_box("Tolvex")
                self.assertIsNone(app.wait_for_exit(1), "the window closed")
                listing = in_namespace(app, "ls", "-A", self.target).stdout.decode().split()
                self.assertEqual(sorted(listing), sorted(["TolvexApp", "libtolvexsynth.so", "libtolvexwindow.so", "filler"]
                                                         + ([f"{NICK}.app"] if earlier else [])))
                if earlier:
                    self.assertEqual(in_namespace(app, "cat", f"{self.target}/{NICK}.app").stdout, earlier)
                # With room again, "Finish" writes every answer the window kept.
                in_namespace(app, "rm", f"{target}/filler")
                app.focus()
                self.desktop.key("Return")
                self.assertEqual(app.wait_for_exit(), 0, app.errors())
                with open(result, "rb") as f:
                    self.assertIn(f"Nick: {NICK}\r\n".encode(), f.read())

    def test_a_link_is_replaced_and_a_read_only_copy_saves_the_same_bytes_elsewhere(self):
        elsewhere = os.path.join(self.desktop.root, "elsewhere.txt")
        with open(elsewhere, "w") as f:
            f.write("someone else's file")
        app = App(self.desktop)
        os.symlink(elsewhere, os.path.join(app.program_dir, f"{NICK}.app"))
        app.wait_for_window()
        finish(app)
        self.assertEqual(app.wait_for_exit(), 0, app.errors())
        with open(elsewhere) as f:
            self.assertEqual(f.read(), "someone else's file")
        with open(os.path.join(app.program_dir, f"{NICK}.app"), "rb") as f:
            written = f.read()

        target = self.desktop.folder("target")
        app = self.start_mounted(f"mount --bind {target} {target}", f"mount -o remount,bind,ro {target}")
        finish(app)
        self.desktop.answer_box("Tolvex", keys=("Tab", "Return"))  # "Save elsewhere…"
        # A name that the nick's rules refuse (white space at its start) brings the dialog back.
        self.desktop.answer_box("Save the application", keys=("ctrl+a", "space", "b", "Return"))
        self.desktop.answer_box("Tolvex")
        self.desktop.answer_box("Save the application", keys=("Return",))
        self.assertEqual(app.wait_for_exit(), 0, app.errors())
        with open(os.path.join(self.desktop.env["HOME"], f"{NICK}.app"), "rb") as f:
            self.assertEqual(f.read(), written)


if __name__ == "__main__":
    unittest.main(verbosity=2)
