"""The end-to-end harness: a real X server (Xvfb, 24-bit) with openbox, a PulseAudio daemon
with a null sink, and TolvexApp copied into a program directory of its own.

Input goes through xdotool as real X events, one xdotool call per step with short sleeps
(a chained mousedown/mousemove/mouseup does not drag under openbox). The screen is read with
ImageMagick's `import`. The harness stops only the processes it started.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import Image

TWIPS_PER_PIXEL = 15
WINDOW_NAME = "^Tolvex App$"


def px(twips):
    return round(twips / TWIPS_PER_PIXEL)


def wait_for(condition, timeout=10.0, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(interval)
    raise TimeoutError(f"timed out waiting for {what}")


class Desktop:
    """One X display with an optional window manager and an optional sound server."""

    def __init__(self, window_manager=True, sound=True):
        self.root = tempfile.mkdtemp(prefix="tolvex-e2e-")
        self.processes = []
        self.env = dict(os.environ)
        for name in ("WAYLAND_DISPLAY", "PULSE_SERVER", "QT_QPA_PLATFORM", "BROWSER"):
            self.env.pop(name, None)
        self.env["HOME"] = self._dir("home")
        self.env["XDG_RUNTIME_DIR"] = self._dir("run")
        os.chmod(self.env["XDG_RUNTIME_DIR"], 0o700)
        self.env["TMPDIR"] = self._dir("tmp")
        self.sound = False
        try:
            self._start_x()
            if window_manager:
                self._start_openbox()
            if sound:
                self._start_pulseaudio()
        except Exception:
            self.stop()
            raise

    def _dir(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path, exist_ok=True)
        return path

    def _spawn(self, argv, **kwargs):
        process = subprocess.Popen(argv, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, **kwargs)
        self.processes.append(process)
        return process

    def _start_x(self):
        read_end, write_end = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                     "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number

    def _start_openbox(self):
        self._spawn(["openbox", "--sm-disable"])
        wait_for(lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]),
                 what="openbox")

    def _start_pulseaudio(self):
        subprocess.run(["pulseaudio", "--start", "--exit-idle-time=-1", "--disallow-exit",
                        "--log-target=stderr", "--log-level=0"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        self.sound = True
        self.run(["pactl", "load-module", "module-null-sink", "sink_name=nullsink"])
        self.run(["pactl", "set-default-sink", "nullsink"])

    def run(self, argv, check=False, timeout=20):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{argv} failed: {result.stderr}")
        return result.stdout

    def stop(self):
        if self.sound:
            subprocess.run(["pulseaudio", "--kill"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=20)
            self.sound = False
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        self.processes = []
        shutil.rmtree(self.root, ignore_errors=True)

    # Input, one xdotool call a step.
    def xdotool(self, *args):
        return self.run(["xdotool", *map(str, args)], check=True).strip()

    def move_pointer(self, x, y):
        self.xdotool("mousemove", x, y)
        time.sleep(0.08)

    def type_text(self, text):
        self.xdotool("type", "--delay", "20", text)
        time.sleep(0.1)

    def key(self, *keys):
        self.xdotool("key", *keys)
        time.sleep(0.1)


class App:
    """TolvexApp in a program directory of its own on a Desktop."""

    def __init__(self, desktop, extra_env=None):
        self.desktop = desktop
        self.program_dir = desktop._dir("program")
        self.binary = os.path.join(self.program_dir, "TolvexApp")
        shutil.copy2(os.environ["TOLVEX_APP"], self.binary)
        env = dict(desktop.env)
        env.update(extra_env or {})
        self.stderr_path = os.path.join(desktop.root, "app-stderr.txt")
        self.stderr = open(self.stderr_path, "w")
        self.started = time.monotonic()
        self.process = subprocess.Popen([self.binary], env=env, stdout=subprocess.DEVNULL,
                                        stderr=self.stderr, cwd=desktop.root)
        desktop.processes.append(self.process)
        self.window = None

    def wait_for_window(self, timeout=20):
        def find():
            if self.process.poll() is not None:
                raise RuntimeError(f"TolvexApp exited with {self.process.returncode}: {self.errors()}")
            out = self.desktop.run(["xdotool", "search", "--onlyvisible", "--name", WINDOW_NAME])
            return out.split()[0] if out.strip() else None
        self.window = wait_for(find, timeout=timeout, what="the TolvexApp window")
        time.sleep(0.3)
        return self.window

    def errors(self):
        self.stderr.flush()
        with open(self.stderr_path) as f:
            return f.read()

    def geometry(self):
        """Window position and size on the screen."""
        out = self.desktop.run(["xwininfo", "-id", self.window])
        fields = {}
        for line in out.splitlines():
            if ":" in line:
                key, _, value = line.strip().partition(":")
                fields[key.strip()] = value.strip()
        return (int(fields["Absolute upper-left X"]), int(fields["Absolute upper-left Y"]),
                int(fields["Width"]), int(fields["Height"]))

    def screen_point(self, x, y):
        left, top, _, _ = self.geometry()
        return left + x, top + y

    def move_to(self, x, y):
        """Moves the pointer to a point of the window, in window pixels."""
        self.desktop.move_pointer(*self.screen_point(x, y))

    def click(self, x, y, button=1):
        self.move_to(x, y)
        self.desktop.xdotool("mousedown", button)
        time.sleep(0.05)
        self.desktop.xdotool("mouseup", button)
        time.sleep(0.15)

    def drag(self, x, y, dx, dy, button=1, steps=5):
        """Presses at a point of the window and moves the pointer by (dx, dy) before releasing."""
        sx, sy = self.screen_point(x, y)
        self.desktop.move_pointer(sx, sy)
        self.desktop.xdotool("mousedown", button)
        time.sleep(0.2)
        for step in range(1, steps + 1):
            self.desktop.move_pointer(sx + dx * step // steps, sy + dy * step // steps)
        time.sleep(0.2)
        self.desktop.xdotool("mouseup", button)
        time.sleep(0.3)

    def screenshot(self, save_as=None):
        path = os.path.join(self.desktop.root, "shot.png")
        self.desktop.run(["import", "-window", self.window, path], check=True)
        image = Image.open(path).convert("RGB")
        image.load()
        if save_as:
            folder = os.environ.get("TOLVEX_SCREENSHOTS")
            if folder:
                os.makedirs(folder, exist_ok=True)
                image.save(os.path.join(folder, save_as))
        return image

    def wait_for_exit(self, timeout=10):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def running(self):
        return self.process.poll() is None

    def stop(self):
        if self.running():
            self.process.send_signal(signal.SIGTERM)
            self.wait_for_exit(5)
        self.stderr.close()
