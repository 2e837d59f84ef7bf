"""The Debian package that scripts/package.sh builds: it passes Debian's checks and its dependencies
resolve; installed, its /usr/bin/TolvexApp starts as the menu starts it, plays the tune and asks where
to save the application, by a normal account and by root alike.

"Installed" means the package's files laid over the machine's /usr (overlayfs) in a mount namespace of
the program's own: the machine's installed packages stay exactly as they were."""

import glob
import os
import shutil
import subprocess
import tempfile
import unittest

from harness import Desktop, last_words, wait_for

BUILD = os.path.dirname(os.environ["TOLVEX_APP"])
NICK = "Ziruzav"
NOBODY = 65534


def run(*argv):
    return subprocess.run(argv, capture_output=True, text=True, timeout=300)


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        packages = glob.glob(os.path.join(BUILD, "tolvexapp_*_amd64.deb"))
        if not packages:
            raise RuntimeError("no package: run scripts/package.sh first (the test command does)")
        cls.package = packages[0]
        cls.files = tempfile.mkdtemp(prefix="tolvex-package-")
        run("dpkg-deb", "-x", cls.package, cls.files)
        os.chmod(cls.files, 0o755)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.files, ignore_errors=True)

    def test_debians_checks_find_no_error_and_its_dependencies_resolve(self):
        lintian = run("lintian", "--fail-on", "error,warning", self.package)
        self.assertEqual(lintian.returncode, 0, lintian.stdout)
        desktop = run("desktop-file-validate", f"{self.files}/usr/share/applications/tolvexapp.desktop")
        self.assertEqual((desktop.returncode, desktop.stdout), (0, ""))
        metainfo = run("appstreamcli", "validate", "--no-net",
                       f"{self.files}/usr/share/metainfo/example.tolvex.TolvexApp.metainfo.xml")
        self.assertEqual(metainfo.returncode, 0, metainfo.stdout)
        self.assertIn("qt6-wayland", run("dpkg-deb", "-f", self.package, "Recommends").stdout)
        # --reinstall: with the same version installed already, apt would otherwise install nothing.
        simulated = run("apt-get", "install", "--simulate", "--reinstall", "--no-install-recommends",
                        os.path.abspath(self.package))
        self.assertEqual(simulated.returncode, 0, simulated.stdout + simulated.stderr)
        self.assertIn("Inst tolvexapp ", simulated.stdout)

    def start_installed(self, desktop, env, account=None, upper=None):
        """The installed program, started by the menu's command, as `account` (a user id) or root;
        `upper` makes the installed /usr writable, its changes kept there."""
        with open(f"{self.files}/usr/share/applications/tolvexapp.desktop") as f:
            command = next(line.split("=", 1)[1].strip() for line in f if line.startswith("Exec="))
        layers = f"lowerdir={self.files}/usr:/usr"
        if upper:
            os.makedirs(f"{upper}/changes")
            os.makedirs(f"{upper}/work")
            layers += f",upperdir={upper}/changes,workdir={upper}/work"
        become = f"setpriv --reuid={account} --regid={account} --clear-groups " if account else ""
        script = f"mount -t overlay overlay -o {layers} /usr && exec {become}{command}"
        self.stderr = os.path.join(desktop.root, "stderr.txt")
        with open(self.stderr, "w") as stderr:
            app = subprocess.Popen(["unshare", "-m", "sh", "-c", script], env=env, cwd="/",
                                   stdout=subprocess.DEVNULL, stderr=stderr)
        desktop.processes.append(app)
        window = wait_for(lambda: app.poll() is None and desktop.windows("^Tolvex App$", pid=app.pid), timeout=20,
                          what="the installed program's window", why=lambda: last_words(app, self.stderr))[0]
        return app, window

    def finish_and_save(self, desktop, app, window):
        """Types the nick and presses "Finish" by keys: the save dialog comes at once, with no failure
        box, and Return in it saves."""
        desktop.xdotool("windowactivate", "--sync", window)
        desktop.key("Return")  # "Begin"
        desktop.type(NICK)
        desktop.key("ctrl+shift+Tab", "ctrl+shift+Tab", "Return")  # General, Welcome, Finish
        desktop.answer_box("Save the application")
        self.assertEqual(desktop.windows("^Tolvex$"), [], "a failure box came")
        with open(self.stderr) as stderr:
            self.assertEqual(app.wait(10), 0, stderr.read())

    def assertWholeApplication(self, path):
        with open(path, "rb") as f:
            written = f.read()
        self.assertTrue(written.startswith(b"This file was generated with the Tolvex Application Generator\r\n"))
        self.assertIn(f"Nick: {NICK}\r\n".encode(), written)
        self.assertTrue(written.endswith(b"qualified for it.\r\n\r\n"), written[-80:])

    def test_a_normal_account_hears_the_music_and_saves_in_its_documents(self):
        desktop = Desktop()
        self.addCleanup(desktop.stop)
        os.chmod(desktop.root, 0o755)
        home, runtime = desktop.folder("applicant"), desktop.folder("applicant-runtime")
        os.makedirs(f"{home}/Documents")
        for folder in (home, f"{home}/Documents", runtime):
            os.chown(folder, NOBODY, NOBODY)
        os.chmod(runtime, 0o700)
        # A shared temporary folder where another account (root) left its tune file.
        shared = desktop.folder("shared-tmp")
        os.chmod(shared, 0o1777)
        with open(f"{shared}/TXmidi.mid", "wb") as f:
            f.write(b"root's tune")
        sound = f"{desktop.root}/sound"
        desktop.run(["pactl", "load-module", "module-native-protocol-unix", "auth-anonymous=1", f"socket={sound}"],
                    check=True)
        env = {"DISPLAY": desktop.env["DISPLAY"], "PATH": "/usr/bin:/bin", "HOME": home, "XDG_RUNTIME_DIR": runtime,
               "TMPDIR": shared, "PULSE_SERVER": f"unix:{sound}", "LANG": "C.UTF-8"}

        app, window = self.start_installed(desktop, env, account=NOBODY)
        self.assertGreater(desktop.sink_rms(2), 0.01)
        self.assertEqual(desktop.windows("^TolvexApp$"), [], 'a box "hi" came')
        self.assertEqual(os.stat(f"{shared}/TXmidi-{NOBODY}.mid").st_uid, NOBODY)
        with open(f"{shared}/TXmidi.mid", "rb") as f:
            self.assertEqual(f.read(), b"root's tune")

        self.finish_and_save(desktop, app, window)
        self.assertWholeApplication(f"{home}/Documents/{NICK}.app")
        self.assertEqual(os.stat(f"{home}/Documents/{NICK}.app").st_uid, NOBODY)

    def test_root_writes_nothing_into_the_bin_folder(self):
        desktop = Desktop()
        self.addCleanup(desktop.stop)
        upper = desktop.folder("installed")
        app, window = self.start_installed(desktop, desktop.env, upper=upper)
        self.finish_and_save(desktop, app, window)
        self.assertWholeApplication(os.path.join(desktop.env["HOME"], f"{NICK}.app"))
        self.assertEqual(glob.glob(f"{upper}/changes/**/*.app", recursive=True), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
