"""The Debian package that scripts/package.sh builds: it passes Debian's checks, installs with
apt, and its /usr/bin/TolvexApp shows the window and plays the tune from its own library folder."""

import glob
import os
import subprocess
import tempfile
import unittest

from harness import Desktop, wait_for

BUILD = os.path.dirname(os.environ["TOLVEX_APP"])


def run(*argv):
    return subprocess.run(argv, capture_output=True, text=True, timeout=300)


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        packages = glob.glob(os.path.join(BUILD, "tolvexapp_*_amd64.deb"))
        if not packages:
            raise RuntimeError("no package: run scripts/package.sh first (the test command does)")
        cls.package = packages[0]

    def test_debians_checks_find_no_error(self):
        lintian = run("lintian", "--fail-on", "error,warning", self.package)
        self.assertEqual(lintian.returncode, 0, lintian.stdout)
        with tempfile.TemporaryDirectory() as folder:
            run("dpkg-deb", "-x", self.package, folder)
            desktop = run("desktop-file-validate", f"{folder}/usr/share/applications/tolvexapp.desktop")
            self.assertEqual((desktop.returncode, desktop.stdout), (0, ""))
            metainfo = run("appstreamcli", "validate", "--no-net",
                           f"{folder}/usr/share/metainfo/example.tolvex.TolvexApp.metainfo.xml")
            self.assertEqual(metainfo.returncode, 0, metainfo.stdout)

    def test_installed_it_starts_from_the_menus_command_with_its_music(self):
        installed = run("apt-get", "install", "-y", "--no-install-recommends", os.path.abspath(self.package))
        self.assertEqual(installed.returncode, 0, installed.stderr)
        self.addCleanup(run, "apt-get", "remove", "-y", "tolvexapp")
        with open("/usr/share/applications/tolvexapp.desktop") as f:
            self.assertIn("Exec=TolvexApp\n", f.read())
        desktop = Desktop()
        self.addCleanup(desktop.stop)
        app = desktop.spawn(["TolvexApp"])
        wait_for(lambda: desktop.windows("^Tolvex App$"), timeout=20, what="the installed program's window")
        self.assertGreater(desktop.sink_rms(2), 0.01)
        app.terminate()
        self.assertEqual(app.wait(10), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
