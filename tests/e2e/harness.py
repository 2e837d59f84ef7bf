"""The end-to-end harness: a real X server (Xvfb, 24-bit) with openbox, a sound server with a null
sink (a PulseAudio daemon, or PipeWire with its PulseAudio service), a private D-Bus session bus,
and TolvexApp copied into a program directory of its own.

Input goes through xdotool as real X events, one call a step with short sleeps (a chained
mousedown/mousemove/mouseup does not drag under openbox); the screen is read with `import`.
The harness stops only the processes it started.
"""

import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import Image

MODULE = "libtolvexsynth.so"
WINDOW_LIBRARY = "libtolvexwindow.so"


def px(twips):
    return round(twips / 15)


def wait_for(condition, timeout=10.0, what="condition", why=None):
    """`why`, when given, tells on a timeout what may explain it."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise TimeoutError(f"timed out waiting for {what}" + (f": {why()}" if why else ""))


def last_words(process, stderr_path, lines=10):
    """A program's exit status, if it ended, and the last lines it wrote to standard error."""
    status = "still running" if process.poll() is None else f"exited with status {process.returncode}"
    with open(stderr_path, errors="replace") as f:
        tail = f.read().splitlines()[-lines:]
    return status + "; standard error: " + ("\n".join(["", *tail]) if tail else "nothing")


class Desktop:
    """One X display with a window manager, and optionally a sound server: sound=True or
    "pulseaudio" starts a PulseAudio daemon, "pipewire" PipeWire, WirePlumber and pipewire-pulse,
    each in the desktop's private runtime folder."""

    def __init__(self, sound=True):
        self.root = tempfile.mkdtemp(prefix="tolvex-e2e-")
        self.processes, self.sound = [], False
        self.server = "pulseaudio" if sound is True else sound
        # The user's own folders (XDG_CONFIG_HOME and the like) follow the desktop's HOME.
        self.env = {k: v for k, v in os.environ.items()
                    if k not in ("WAYLAND_DISPLAY", "PULSE_SERVER", "QT_QPA_PLATFORM", "BROWSER", "XDG_CONFIG_HOME",
                                 "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME")}
        for name in ("HOME", "XDG_RUNTIME_DIR", "TMPDIR"):
            self.env[name] = self.folder(name.lower())
        os.chmod(self.env["XDG_RUNTIME_DIR"], 0o700)
        try:
            bus = self.run(["dbus-daemon", "--session", "--fork", "--print-address=1", "--print-pid=1"])
            self.env["DBUS_SESSION_BUS_ADDRESS"], self.bus_pid = bus.split()
            read_end, write_end = os.pipe()
            self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                       pass_fds=(write_end,))
            os.close(write_end)
            with os.fdopen(read_end) as pipe:
                self.env["DISPLAY"] = ":" + pipe.readline().strip()
            openbox_log = os.path.join(self.root, "openbox.err")
            with open(openbox_log, "w") as log:
                openbox = self.spawn(["openbox", "--sm-disable"], stderr=log)
            # Seconds on a machine that builds beside the tests.
            wait_for(lambda: "window id" in self.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"]), timeout=30,
                     what="openbox", why=lambda: last_words(openbox, openbox_log))
            if sound:
                self.start_sound()
        except Exception:
            self.stop()
            raise

    def folder(self, name):
        path = os.path.join(self.root, name)
        os.makedirs(path, exist_ok=True)
        return path

    def spawn(self, argv, **kwargs):
        kwargs.setdefault("stdout", subprocess.DEVNULL)
        kwargs.setdefault("stderr", subprocess.DEVNULL)
        process = subprocess.Popen(argv, env=self.env, **kwargs)
        self.processes.append(process)
        return process

    def run(self, argv, check=False):
        result = subprocess.run(argv, env=self.env, capture_output=True, text=True, timeout=30)
        if check and result.returncode:
            raise RuntimeError(f"{argv} failed: {result.stderr}")
        return result.stdout

    def start_sound(self):
        if self.server == "pipewire":
            self.without_bluetooth()
            # WirePlumber gives up (status 69) when PipeWire's socket is not there yet.
            self.pipewire = [self.spawn(["pipewire"])]
            wait_for(lambda: os.path.exists(os.path.join(self.env["XDG_RUNTIME_DIR"], "pipewire-0")), what="pipewire")
            self.pipewire += [self.spawn([name]) for name in ("wireplumber", "pipewire-pulse")]
            wait_for(lambda: "on PipeWire" in self.run(["pactl", "info"]), what="pipewire-pulse")
        else:
            self.run(["pulseaudio", "--start", "--exit-idle-time=-1", "--disallow-exit"], check=True)
        self.sound = True
        self.run(["pactl", "load-module", "module-null-sink", "sink_name=nullsink"], check=True)
        # PipeWire's default sink is kept by WirePlumber, which may not be ready yet, and which
        # takes a new default a moment after accepting it.
        wait_for(lambda: subprocess.run(["pactl", "set-default-sink", "nullsink"], env=self.env,
                                        capture_output=True).returncode == 0
                 and self.run(["pactl", "get-default-sink"]).strip() == "nullsink", what="the default sink")

    def without_bluetooth(self):
        """WirePlumber's Bluetooth monitor would reach the machine's own devices, and it watches
        the seat through logind, without which WirePlumber 0.4 ends: both are turned off in the
        desktop's own configuration, in the files of WirePlumber 0.4 and of 0.5."""
        config = os.path.join(self.env["HOME"], ".config", "wireplumber")
        for name, text in (("bluetooth.lua.d/80-no-bluetooth.lua", "bluez_monitor.enabled = false\n"),
                           ("wireplumber.conf.d/80-no-bluetooth.conf",
                            "wireplumber.profiles = {\n  main = {\n    monitor.bluez = disabled\n"
                            "    support.logind = disabled\n  }\n}\n")):
            os.makedirs(os.path.dirname(os.path.join(config, name)), exist_ok=True)
            with open(os.path.join(config, name), "w") as f:
                f.write(text)

    def stop_sound(self):
        if self.sound:
            if self.server == "pipewire":
                for process in reversed(self.pipewire):
                    process.terminate()
                    process.wait(timeout=10)
            else:
                self.run(["pulseaudio", "--kill"])
            wait_for(lambda: self.run(["pactl", "info"]) == "", what="the sound server to go")
            self.sound = False

    def stop(self):
        self.stop_sound()
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
        if hasattr(self, "bus_pid"):
            os.kill(int(self.bus_pid), signal.SIGTERM)
        shutil.rmtree(self.root, ignore_errors=True)

    def xdotool(self, *args):
        return self.run(["xdotool", *map(str, args)], check=True).strip()

    def key(self, *keys):
        self.xdotool("key", "--delay", "60", *keys)
        time.sleep(0.15)

    def type(self, text):
        self.xdotool("type", "--delay", "20", text)
        time.sleep(0.1)

    def windows(self, name, pid=None):
        by_pid = ["--pid", pid] if pid else []
        return self.run(["xdotool", "search", "--onlyvisible", *map(str, by_pid), "--name", name]).split()

    def answer_box(self, name, keys=("Return",)):
        """Activates the message box titled `name` (it takes keys only once active) and answers it."""
        box = wait_for(lambda: self.windows(f"^{name}$"), timeout=20, what=f"the box {name}")[0]
        self.xdotool("windowactivate", "--sync", box)
        self.key(*keys)
        wait_for(lambda: box not in self.windows(f"^{name}$"), what=f"the box {name} to close")
        return box

    def sink_rms(self, seconds):
        """RMS amplitude of what the null sink carries during the next few seconds."""
        path = os.path.join(self.root, "sink.wav")
        # pipewire-pulse hands a recorder of default latency its sound in long fragments, and
        # the last one is lost when the recorder stops.
        latency = ["--latency-msec=50"] if self.server == "pipewire" else []
        recorder = self.spawn(["parecord", "--device=nullsink.monitor", "--file-format=wav", *latency, path])
        time.sleep(seconds)
        recorder.terminate()
        recorder.wait(timeout=10)
        stat = subprocess.run(["sox", path, "-n", "stat"], capture_output=True, text=True).stderr
        return float(next(line for line in stat.splitlines() if line.startswith("RMS     amp")).split(":")[1])


class App:
    """TolvexApp started on a Desktop from a program directory of its own, with its window library
    and its synthesizer module (module=False: none; bytes: a file of those bytes in its place);
    `argv_prefix` runs it through another command (unshare, say)."""

    def __init__(self, desktop, env=None, module=True, program_dir=None, argv_prefix=()):
        self.desktop = desktop
        self.program_dir = program_dir or desktop.folder("program")
        built = os.environ["TOLVEX_APP"]
        shutil.copy2(built, self.program_dir)
        shutil.copy2(os.path.join(os.path.dirname(built), WINDOW_LIBRARY), self.program_dir)
        if module is True:
            shutil.copy2(os.path.join(os.path.dirname(built), MODULE), self.program_dir)
        elif module:
            with open(os.path.join(self.program_dir, MODULE), "wb") as f:
                f.write(module)
        self.stderr_path = os.path.join(desktop.root, "stderr.txt")
        with open(self.stderr_path, "w") as stderr:
            self.process = subprocess.Popen([*argv_prefix, os.path.join(self.program_dir, "TolvexApp")],
                                            env={**desktop.env, **(env or {})}, cwd=desktop.root,
                                            stdout=subprocess.DEVNULL, stderr=stderr)
        desktop.processes.append(self.process)
        self.window = None

    def wait_for_window(self, timeout=20):
        def found():
            if self.process.poll() is not None:
                raise RuntimeError(f"no TolvexApp window: {last_words(self.process, self.stderr_path)}")
            # Under a command prefix the window belongs to the prefix's child: find it by name.
            return self.desktop.windows("^Tolvex App$")
        self.window = wait_for(found, timeout=timeout, what="the TolvexApp window",
                               why=lambda: last_words(self.process, self.stderr_path))[0]
        time.sleep(0.3)
        return self.window

    def geometry(self):
        out = self.desktop.run(["xdotool", "getwindowgeometry", "--shell", self.window])
        fields = dict(line.split("=") for line in out.split())
        return int(fields["X"]), int(fields["Y"]), int(fields["WIDTH"]), int(fields["HEIGHT"])

    def point(self, twips_x, twips_y):
        left, top, _, _ = self.geometry()
        return left + px(twips_x), top + px(twips_y)

    def click(self, twips_x, twips_y, button=1):
        self.desktop.xdotool("mousemove", *self.point(twips_x, twips_y))
        time.sleep(0.1)
        self.desktop.xdotool("click", button)
        time.sleep(0.2)

    def drag(self, twips_x, twips_y, dx, dy):
        x, y = self.point(twips_x, twips_y)
        self.desktop.xdotool("mousemove", x, y)
        self.desktop.xdotool("mousedown", 1)
        time.sleep(0.2)
        for step in range(1, 6):
            self.desktop.xdotool("mousemove", x + dx * step // 5, y + dy * step // 5)
            time.sleep(0.08)
        self.desktop.xdotool("mouseup", 1)
        time.sleep(0.3)

    def focus(self):
        self.desktop.xdotool("windowactivate", "--sync", self.window)
        time.sleep(0.2)

    def screenshot(self, name):
        path = os.path.join(os.environ.get("TOLVEX_SCREENSHOTS", self.desktop.root), name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        self.desktop.run(["import", "-window", self.window, path], check=True)
        return Image.open(path).convert("RGB")

    def wait_for_exit(self, timeout=10):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def errors(self):
        with open(self.stderr_path) as f:
            return f.read()
