#!/usr/bin/env python3
"""End-to-end harness: the real Hueloom.exe under Xvfb and Wine.

    harness.py prepare --work DIR --arch x86_64|i686
        boots the shared Wine prefix once (DIR/prefix), Japanese locale.
    harness.py gtest --work DIR --arch A TEST.exe
        runs a GoogleTest binary under Wine inside its own Xvfb.
    harness.py run --work DIR --arch A --exe Hueloom.exe FILE NAME
        runs scenario_NAME(h) of FILE with a Session `h`.

A scenario marked @two_monitors runs on two monitors side by side (TwoMonitors).
Every wait has a timeout; every run tears down Wine and Xvfb, also on failure.
Scenarios observe the program through screenshots, the X clipboard and the
files it writes, and drive it with xdotool.
"""
import argparse
import contextlib
import fcntl
import importlib.util
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# The lanes' screen; the benchmarks ask for another with HUELOOM_E2E_SCREEN=WxH.
SCREEN_W, SCREEN_H = (int(v) for v in os.environ.get("HUELOOM_E2E_SCREEN", "1280x1024").split("x"))


class HarnessError(AssertionError):
    pass


class Skip(Exception):
    """Raised by a scenario that cannot run on this machine; says why."""


def log(*a):
    print("[e2e]", *a, flush=True)


def wait_until(pred, timeout, interval=0.1, what="condition"):
    end = time.monotonic() + timeout
    while True:
        v = pred()
        if v:
            return v
        if time.monotonic() > end:
            raise HarnessError(f"timed out after {timeout}s waiting for {what}")
        time.sleep(interval)


# ---------------------------------------------------------------- images

class Image:
    """An RGB screenshot: width, height and rows of (r, g, b)."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, data

    @staticmethod
    def from_ppm(raw):
        m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", raw)
        if not m:
            raise HarnessError("not a PPM image")
        w, h = int(m.group(1)), int(m.group(2))
        if int(m.group(3)) != 255:
            raise HarnessError("expected an 8-bit PPM image")
        return Image(w, h, raw[m.end():m.end() + w * h * 3])

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])

    def region_colours(self, x0, y0, x1, y1):
        """Set of colours in the rectangle [x0, x1) × [y0, y1)."""
        s = set()
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                s.add(self.pixel(x, y))
        return s

    def count(self, colour, x0=0, y0=0, x1=None, y1=None):
        x1 = self.width if x1 is None else x1
        y1 = self.height if y1 is None else y1
        n = 0
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.data[(y * self.width) * 3:(y * self.width + self.width) * 3]
            for x in range(max(0, x0), min(self.width, x1)):
                if tuple(row[x * 3:x * 3 + 3]) == colour:
                    n += 1
        return n

    def crop(self, x, y, w, h):
        """The part [x, x + w) × [y, y + h), clipped to the picture."""
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + w), min(self.height, y + h)
        rows = [self.data[(r * self.width + x0) * 3:(r * self.width + x1) * 3] for r in range(y0, y1)]
        return Image(x1 - x0, y1 - y0, b"".join(rows))

    def save(self, path):
        """Writes the picture in the format the extension names (ImageMagick)."""
        ppm = b"P6 %d %d 255\n" % (self.width, self.height) + self.data
        subprocess.run(["convert", "ppm:-", path], input=ppm, check=True, timeout=30)


def wine_path(path):
    """How a program under Wine names a file of ours."""
    return "Z:" + path.replace("/", "\\")


def write_ppm(path, width, height, fill):
    """fill(x, y) -> (r, g, b)."""
    out = bytearray(b"P6 %d %d 255\n" % (width, height))
    for y in range(height):
        for x in range(width):
            out += bytes(fill(x, y))
    with open(path, "wb") as f:
        f.write(out)


def clipboard_bitmap(h, target="image/bmp"):
    """The picture on the X clipboard as ImageMagick reads it, or None."""
    r = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", target], env=h.xenv,
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=20)
    picture = subprocess.run(["convert", "-", "-depth", "8", "ppm:-"], input=r.stdout, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=30)
    return Image.from_ppm(picture.stdout) if r.returncode == 0 and picture.returncode == 0 else None


# ---------------------------------------------------------------- environment

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
WINE_SH = os.path.join(REPO, "scripts", "wine.sh")
# Scenarios run side by side in lanes: each lane is one Xvfb, one Wine prefix
# and one persistent wineserver, shared by every scenario that runs in it
# (one at a time). As many lanes as CTest runs tests at once (scripts/test.sh).
LANES = max(1, int(os.environ.get("HUELOOM_E2E_LANES", "2")))
SKIP = 77  # CTest's SKIP_RETURN_CODE for these tests
# Wine's own processes that live as long as the lane's wineserver.
WINE_SERVICES = {"services.exe", "winedevice.exe", "plugplay.exe", "explorer.exe", "rpcss.exe", "svchost.exe"}


def wine(*args):
    """The command that starts a Windows program on this machine."""
    return [WINE_SH, *args]


def i686_missing():
    """Why 32-bit Windows programs cannot run here, or None."""
    r = subprocess.run([WINE_SH, "--i686"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=30)
    return None if r.returncode == 0 else (r.stdout.decode(errors="replace").strip() or "no 32-bit support")


def detached(args, env, log_path):
    """Starts a process that outlives the test (a server): its output goes to
    a file, never to CTest's pipe, which would stay open otherwise."""
    with open(log_path, "ab") as out:
        return subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                                start_new_session=True)


def pid_alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except (ProcessLookupError, PermissionError):
        return False


def free_display(first):
    for n in range(first, 1000):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return n
    raise HarnessError("no free display number")


def wait_display(n, what):
    wait_until(lambda: subprocess.run(["xdpyinfo", "-display", f":{n}"], stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL, timeout=10).returncode == 0, 20, 0.1, what)


# A booted prefix is kept beside the dependencies, so that a new clone copies
# it (~3 s) instead of booting Wine (~15 s). Its key names what it depends
# on: Wine's version, whether 32-bit programs run, and how we set it up.
PREFIX_SETUP = "decorated-n,tests-unmanaged"
PREFIX_CACHE = os.environ.get("HUELOOM_WINE_CACHE", os.path.join(os.environ.get("HUELOOM_DEPS", "/opt/hueloom-deps"),
                                                                 "wine-prefix"))


def prefix_key():
    r = subprocess.run([WINE_SH, "--version"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30)
    return f"{r.stdout.decode(errors='replace').strip()} i686={i686_missing() is None} {PREFIX_SETUP}"


def prefix_cache_dir():
    # One kept prefix per way of starting Wine (with or without 32-bit).
    return PREFIX_CACHE + ("" if i686_missing() is None else "-64only")


def prefix_cache():
    """The kept prefix when it fits this machine, or None."""
    cache = prefix_cache_dir()
    try:
        with open(os.path.join(cache, ".hueloom-key")) as f:
            return cache if f.read() == prefix_key() else None
    except OSError:
        return None


def keep_prefix(prefix):
    """Keeps a copy of a freshly booted prefix for later runs (best effort)."""
    cache = prefix_cache_dir()
    tmp = cache + f".tmp{os.getpid()}"
    try:
        subprocess.run(["cp", "-a", prefix, tmp], check=True, timeout=120, stderr=subprocess.DEVNULL)
        with open(os.path.join(tmp, ".hueloom-key"), "w") as f:
            f.write(prefix_key())
        shutil.rmtree(cache, ignore_errors=True)
        os.rename(tmp, cache)
    except (OSError, subprocess.SubprocessError):
        shutil.rmtree(tmp, ignore_errors=True)


class Lane:
    """One Xvfb and one booted Wine prefix with its persistent wineserver."""

    def __init__(self, work, index):
        self.index = index
        self.dir = os.path.join(work, f"lane{index}")
        os.makedirs(self.dir, exist_ok=True)
        self.prefix = os.path.join(self.dir, "prefix")
        self.lock_file = None

    # -- exclusive use by one test at a time
    def try_lock(self):
        f = open(os.path.join(self.dir, "lock"), "w")
        try:
            fcntl.flock(f, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            f.close()
            return False
        self.lock_file = f
        return True

    def unlock(self):
        if self.lock_file:
            self.lock_file.close()
            self.lock_file = None

    @staticmethod
    def acquire(work, timeout=900):
        """Takes the first free lane, waiting for one if all are busy."""
        end = time.monotonic() + timeout
        while True:
            for i in range(LANES):
                lane = Lane(work, i)
                if lane.try_lock():
                    return lane
            if time.monotonic() > end:
                raise HarnessError(f"no free Wine lane within {timeout}s")
            time.sleep(0.2)

    # -- display
    def _read(self, name):
        try:
            with open(os.path.join(self.dir, name)) as f:
                return int(f.read().strip())
        except (OSError, ValueError):
            return None

    @property
    def display(self):
        return f":{self._read('display')}"

    def display_up(self):
        pid, n = self._read("xvfb.pid"), self._read("display")
        return bool(pid and n is not None and pid_alive(pid)) and subprocess.run(
            ["xdpyinfo", "-display", f":{n}"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            timeout=10).returncode == 0

    def start_display(self):
        n = free_display(90 + self.index * 7 + os.getpid() % 300)
        p = detached(["Xvfb", f":{n}", "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp", "-ac"],
                     os.environ, os.path.join(self.dir, "xvfb.log"))
        wait_display(n, "Xvfb")
        for name, v in (("xvfb.pid", p.pid), ("display", n)):
            with open(os.path.join(self.dir, name), "w") as f:
                f.write(str(v))

    # -- Wine
    def env(self, display=True):
        env = dict(os.environ)
        env.update({
            "WINEPREFIX": self.prefix,
            "WINEARCH": "win64",
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            "LANG": "ja_JP.UTF-8",
            "LC_ALL": "ja_JP.UTF-8",
            # No printer unless a test asks for one (Printer.env).
            "CUPS_SERVER": os.path.join(self.dir, "no-print-server"),
        })
        if display:
            env["DISPLAY"] = self.display
        else:
            env.pop("DISPLAY", None)
        return env

    def run_wine(self, *args, timeout=120, env=None):
        with open(os.path.join(self.dir, "wine.log"), "ab") as out:
            return subprocess.run(wine(*args), env=env or self.env(), stdin=subprocess.DEVNULL, stdout=out,
                                  stderr=out, timeout=timeout, start_new_session=True).returncode

    def boot(self, template=None):
        """Creates the prefix: a copy of a booted one, or booted here."""
        ready = os.path.join(self.prefix, ".hueloom-ready")
        if os.path.exists(ready):
            return
        shutil.rmtree(self.prefix, ignore_errors=True)
        t = time.monotonic()
        if not template:
            template = prefix_cache()
        if template:
            subprocess.run(["cp", "-a", template, self.prefix], check=True, timeout=120)
        else:
            if not self.display_up():
                self.start_display()
            env = self.env()
            self.run_wine("wineboot", "-i", timeout=240, env=env)
            subprocess.run(["wineserver", "-w"], env=env, timeout=120)
            # There is no window manager: Wine draws window captions itself.
            self.run_wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated", "/t", "REG_SZ",
                          "/d", "N", "/f", env=env)
            # The Windows-side tests drive windows by messages, not through X:
            # their windows stay unmanaged, so Wine does not wait (2 s each
            # time) for a window manager to confirm that a hidden window is gone.
            self.run_wine("reg", "add", r"HKCU\Software\Wine\AppDefaults\hueloom_win_tests.exe\X11 Driver",
                          "/v", "Managed", "/t", "REG_SZ", "/d", "N", "/f", env=env)
            subprocess.run(["wineserver", "-k"], env=env, timeout=30)
            subprocess.run(["wineserver", "-w"], env=env, timeout=60)
            if not os.path.exists(os.path.join(self.prefix, "drive_c", "windows", "system32", "kernel32.dll")):
                raise HarnessError(f"wineboot did not create a prefix (see {self.dir}/wine.log)")
            keep_prefix(self.prefix)
        open(os.path.join(self.prefix, ".hueloom-ready"), "w").close()
        log(f"lane {self.index}: prefix ready in {time.monotonic() - t:.1f}s")

    def up(self):
        """Makes sure the display and a persistent wineserver are running."""
        if not self.display_up():
            self.start_display()
        # Starting a persistent server is a no-op when one runs for the prefix;
        # the first program then starts Wine's services, detached from us.
        first = not self.server_running()
        detached(["wineserver", "-p"], self.env(), os.path.join(self.dir, "wineserver.log")).wait(30)
        if first:
            self.run_wine("cmd", "/c", "exit", timeout=120)

    def server_running(self):
        return any(name.startswith("wineserver") for _, name in self.wine_processes(include_server=True))

    def wine_processes(self, include_server=False):
        """(pid, program name) of the processes living in this lane's prefix."""
        found = []
        key = b"WINEPREFIX=" + self.prefix.encode() + b"\0"
        for d in os.listdir("/proc"):
            if not d.isdigit() or int(d) == os.getpid():
                continue
            try:
                with open(f"/proc/{d}/environ", "rb") as f:
                    if key not in f.read() + b"\0":
                        continue
                with open(f"/proc/{d}/cmdline", "rb") as f:
                    argv0 = f.read().split(b"\0")[0].decode(errors="replace")
            except OSError:
                continue
            name = re.split(r"[\\/]", argv0)[-1].lower()
            if name.startswith("wineserver") and not include_server:
                continue
            if name in ("wine.sh", "bash", "python3") or name.startswith("python"):
                continue
            found.append((int(d), name))
        return found

    @staticmethod
    def command_line(pid):
        """A process's arguments (Wine shows a program's Windows command line)."""
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return [a.decode(errors="replace") for a in f.read().split(b"\0") if a]

    def kill_programs(self):
        """Ends every Windows program in the lane but Wine's own services."""
        for pid, name in self.wine_processes():
            if name not in WINE_SERVICES and name != "wine64-preloader" and name != "wine-preloader":
                with contextlib.suppress(OSError):
                    os.kill(pid, signal.SIGKILL)
        with contextlib.suppress(HarnessError):
            wait_until(lambda: not [p for p, n in self.wine_processes() if n not in WINE_SERVICES], 10, 0.1,
                       "the lane's programs to end")

    # -- display scaling
    DESKTOP_KEY = r"HKCU\Control Panel\Desktop"

    def set_log_pixels(self, dpi):
        """The dots per inch Wine gives the lane's programs from now on
        (LogPixels of the prefix; Wine reads it when a program starts). A
        marker file remembers a value other than 96, so that the lane is put
        back even after a run that was killed."""
        marker = os.path.join(self.dir, "log-pixels")
        if dpi == 96:
            self.run_wine("reg", "delete", self.DESKTOP_KEY, "/v", "LogPixels", "/f")
            with contextlib.suppress(OSError):
                os.remove(marker)
            return
        with open(marker, "w") as f:
            f.write(str(dpi))
        if self.run_wine("reg", "add", self.DESKTOP_KEY, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(dpi),
                         "/f") != 0:
            raise HarnessError(f"could not set LogPixels {dpi} in the lane's prefix")

    def reset_log_pixels(self):
        """Back to 96 dpi if a session left the lane scaled."""
        if os.path.exists(os.path.join(self.dir, "log-pixels")):
            self.set_log_pixels(96)

    def stop(self):
        with contextlib.suppress(Exception):
            env = self.env(display=False)
            subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=30)
            subprocess.run(["wineserver", "-w"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           timeout=30)
        pid = self._read("xvfb.pid")
        if pid and pid_alive(pid):
            with contextlib.suppress(OSError):
                os.kill(pid, signal.SIGTERM)
        with contextlib.suppress(OSError):
            os.remove(os.path.join(self.dir, "xvfb.pid"))


class Printer:
    """A real printer: the CUPS daemon with cups-pdf, which writes each job
    as a PDF into $HOME/PDF. Started for the run if none is running, and then
    stopped with it."""
    NAME = "HueloomPDF"
    SOCKET = "/run/cups/cups.sock"
    PPD = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"
    OUT = os.path.join(os.path.expanduser("~"), "PDF")

    @classmethod
    def missing(cls):
        for tool in ("cupsd", "lpadmin", "pdftoppm"):
            if not shutil.which(tool):
                return f"{tool} is not installed"
        if not os.path.exists(cls.PPD):
            return "cups-pdf is not installed"
        return None

    @classmethod
    def running(cls):
        return subprocess.run(["lpstat", "-h", cls.SOCKET, "-r"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               timeout=10).stdout.startswith(b"scheduler is running")

    @classmethod
    def up(cls, work):
        with open(os.path.join(work, "printer.lock"), "w") as f:
            fcntl.flock(f, fcntl.LOCK_EX)
            if not cls.running():
                p = detached(["cupsd", "-f"], os.environ, os.path.join(work, "cupsd.log"))
                with open(os.path.join(work, "cupsd.pid"), "w") as pf:
                    pf.write(str(p.pid))
                wait_until(cls.running, 20, 0.2, "the CUPS daemon")
            if subprocess.run(["lpstat", "-h", cls.SOCKET, "-p", cls.NAME], stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL, timeout=10).returncode != 0:
                subprocess.run(["lpadmin", "-h", cls.SOCKET, "-p", cls.NAME, "-v", "cups-pdf:/", "-E", "-P", cls.PPD],
                               check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
                subprocess.run(["lpadmin", "-h", cls.SOCKET, "-d", cls.NAME], check=True, timeout=30)

    @classmethod
    def env(cls, env):
        return dict(env, CUPS_SERVER=cls.SOCKET)

    @classmethod
    def refuse(cls, refuse):
        """Makes the printer reject jobs, or take them again."""
        for tool in (("cupsreject", "cupsdisable") if refuse else ("cupsaccept", "cupsenable")):
            subprocess.run([tool, "-h", cls.SOCKET, cls.NAME], check=True, timeout=30, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)

    @classmethod
    def stop(cls, work):
        pid_file = os.path.join(work, "cupsd.pid")
        if not os.path.exists(pid_file):
            return  # not ours
        with contextlib.suppress(Exception):
            subprocess.run(["lpadmin", "-h", cls.SOCKET, "-x", cls.NAME], timeout=30, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
        with open(pid_file) as f, contextlib.suppress(OSError, ValueError):
            os.kill(int(f.read()), signal.SIGTERM)
        os.remove(pid_file)


def prepare(work):
    """Boots lane 0's prefix, copies it for the other lanes, starts them."""
    with open(os.path.join(work, "prepare.lock"), "w") as f:
        fcntl.flock(f, fcntl.LOCK_EX)
        first = Lane(work, 0)
        first.boot()
        for i in range(1, LANES):
            Lane(work, i).boot(template=first.prefix)


def teardown(work):
    for name in os.listdir(work):
        if re.fullmatch(r"lane\d+", name):
            Lane(work, int(name[4:])).stop()
    Printer.stop(work)


# ---------------------------------------------------------------- two monitors

MONITORS = ((0, 0, SCREEN_W, SCREEN_H), (SCREEN_W, 0, SCREEN_W, SCREEN_H))  # x, y, width, height; primary first


def two_monitors(scenario):
    """Marks a scenario that runs on two monitors side by side (TwoMonitors)."""
    scenario.monitors = 2
    return scenario


class TwoMonitors:
    """Two 1280 × 1024 monitors side by side, the primary one on the left, for
    one session. Xvfb stacks the heads of its own Xinerama at (0, 0), so a
    nested Xephyr on the lane's Xvfb lays them out; Wine reports Xinerama's
    heads as monitors once its X11 driver leaves XRandR alone. That setting
    and the server that goes with the display stay out of the lane: the
    session gets a Wine prefix of its own, a copy of the booted one whose
    folders of Wine's own DLLs, which Wine never writes, are hard links."""
    LINKED = ("system32", "syswow64", "winsxs")

    def __init__(self, session):
        self.session = session
        self.dir = os.path.join(session.dir, "two-monitors")
        self.prefix = os.path.join(self.dir, "prefix")
        self.xephyr = None
        self.display = None

    @staticmethod
    def missing():
        return None if shutil.which("Xephyr") else "Xephyr (Debian's xserver-xephyr) is not installed"

    def heads(self):
        out = subprocess.run(["xdpyinfo", "-display", self.display, "-ext", "XINERAMA"], stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, timeout=10).stdout.decode(errors="replace")
        return tuple((int(x), int(y), int(w), int(h))
                     for w, h, x, y in re.findall(r"head #\d+: (\d+)x(\d+) @ (\d+),(\d+)", out))

    def start(self, lane):
        os.makedirs(self.dir)
        n = free_display(400 + lane.index * 7 + os.getpid() % 300)
        self.display = f":{n}"
        self.xephyr = detached(["Xephyr", self.display, "+xinerama", "-screen", f"{SCREEN_W}x{SCREEN_H}", "-screen",
                                f"{SCREEN_W}x{SCREEN_H}", "-nolisten", "tcp", "-ac", "-noreset"],
                               dict(os.environ, DISPLAY=lane.display), os.path.join(self.dir, "xephyr.log"))
        wait_display(n, "Xephyr")
        if self.heads() != MONITORS:
            raise Skip(f"Xephyr did not lay out two monitors side by side (heads {self.heads()})")
        template = prefix_cache() or lane.prefix
        windows = os.path.join(template, "drive_c", "windows")
        shutil.copytree(template, self.prefix, symlinks=True,
                        ignore=lambda d, names: [n for n in names if d == windows and n in self.LINKED])
        for name in self.LINKED:
            src, dst = os.path.join(windows, name), os.path.join(self.prefix, "drive_c", "windows", name)
            if os.path.isdir(src) and subprocess.run(["cp", "-al", src, dst], stderr=subprocess.DEVNULL,
                                                     timeout=120).returncode != 0:
                shutil.rmtree(dst, ignore_errors=True)  # another file system: a plain copy
                subprocess.run(["cp", "-a", src, dst], check=True, timeout=300)
        env = self.env(lane)
        with open(os.path.join(self.dir, "wine.log"), "ab") as out:
            subprocess.run(wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "UseXRandR", "/t", "REG_SZ",
                                "/d", "N", "/f"), env=env, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                           timeout=120, start_new_session=True, check=True)
        return env

    def env(self, lane):
        return dict(lane.env(), WINEPREFIX=self.prefix, DISPLAY=self.display)

    def stop(self, lane):
        if os.path.isdir(self.prefix):
            env = self.env(lane)
            with contextlib.suppress(Exception):
                subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               timeout=30)
                subprocess.run(["wineserver", "-w"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                               timeout=30)
        if self.xephyr:
            with contextlib.suppress(OSError):
                os.killpg(self.xephyr.pid, signal.SIGTERM)
            with contextlib.suppress(subprocess.TimeoutExpired):
                self.xephyr.wait(10)
        shutil.rmtree(self.prefix, ignore_errors=True)


# ---------------------------------------------------------------- session

class Session:
    """One run of the program in a lane: its own program folder, the lane's
    display and Wine. It leaves the lane as it found it: its programs ended,
    the clipboard emptied, the pointer in the middle of the screen."""

    def __init__(self, work, exe, name, lane, monitors=1):
        self.work = work
        self.name = name
        self.lane = lane
        self.dir = tempfile.mkdtemp(prefix=f"run-{name}-", dir=work)
        self.exe = os.path.join(self.dir, "Hueloom.exe")
        self.desk = TwoMonitors(self) if monitors == 2 else None
        self.bin = os.path.dirname(os.path.abspath(exe))  # the build's programs
        shutil.copy2(exe, self.exe)
        self.ini = os.path.join(self.dir, "Hueloom.ini")
        self.env = None
        self.proc = None
        self.launcher = []  # a command the program is started through
        self.helpers = []
        self.artifacts = os.path.join(work, "artifacts")
        os.makedirs(self.artifacts, exist_ok=True)

    # -- life cycle
    def __enter__(self):
        self.lane.up()
        self.display = self.lane.display
        self.env = self.lane.env()
        if self.desk:
            try:
                self.env = self.desk.start(self.lane)
            except BaseException:
                self.desk.stop(self.lane)
                raise
            self.display = self.desk.display
        self.xenv = dict(os.environ, DISPLAY=self.display)
        self.lane.kill_programs()
        # No display colour profile left on the screen by a test that was
        # stopped before it could take it away (test_colour.py).
        subprocess.run(["xprop", "-root", "-remove", "_ICC_PROFILE"], env=self.xenv, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=10)
        # An empty clipboard owned by X, so nothing an earlier run copied shows.
        subprocess.run(["xclip", "-selection", "clipboard", "-i", "/dev/null"], env=self.xenv,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=10)
        self.x("xdotool", "mousemove", str(SCREEN_W // 2), str(SCREEN_H // 2))
        self.lane.reset_log_pixels()
        return self

    def __exit__(self, *exc):
        if exc[0] is not None:
            with contextlib.suppress(Exception):
                self.screenshot().save(os.path.join(self.artifacts, f"{self.name}-failure.png"))
        for p in self.helpers:
            with contextlib.suppress(Exception):
                os.killpg(p.pid, signal.SIGKILL)
        if self.proc:
            with contextlib.suppress(Exception):
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait(5)
        self.lane.kill_programs()
        if self.desk:
            self.desk.stop(self.lane)
        with contextlib.suppress(Exception):
            self.lane.reset_log_pixels()
        return False

    def set_dpi(self, dpi):
        """Starts the session's programs at a display scaling (96 = 100 %):
        only this session's, the lane is back at 96 when it ends."""
        self.lane.set_log_pixels(dpi)

    def start_wine(self, *args):
        """Starts another Windows program (e.g. notepad) in the lane."""
        p = subprocess.Popen(wine(*args), cwd=self.dir, env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL, start_new_session=True)
        self.helpers.append(p)
        return p

    def start_witness(self, x, y, width, height):
        """Starts the tests' own other program (witness.c): a window at
        (x, y) whose pixel (i, j) is (i % 256, j % 256, 99), active from its
        start and again whenever it is clicked. Returns its X window."""
        self.start_wine(os.path.join(self.bin, "witness.exe"), str(x), str(y), str(width), str(height))
        wid = wait_until(lambda: self.find_window("^hueloom-witness$"), 40, 0.2, "the witness window")
        time.sleep(0.8)
        return wid

    def witness_keys(self):
        """The key presses the witness received: (message, VK, scan code)."""
        try:
            with open(os.path.join(self.dir, "witness.log")) as f:
                return [(m, int(vk, 16), int(scan, 16)) for m, vk, scan in (line.split() for line in f)]
        except OSError:
            return []

    def window_texts(self):
        """The texts of the lane's windows and their child windows, read by
        window_texts.exe through WM_GETTEXT: (class, text) pairs."""
        r = subprocess.run(wine(os.path.join(self.bin, "window_texts.exe")), cwd=self.dir, env=self.env,
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60)
        lines = r.stdout.decode("utf-8", errors="replace").splitlines()
        return [tuple(line.split("\t", 1)) for line in lines if "\t" in line]

    @staticmethod
    def witness_pixel(x, y):
        return x % 256, y % 256, 99

    def write_ini(self, text, encoding="cp932"):
        with open(self.ini, "wb") as f:
            f.write(text.replace("\n", "\r\n").encode(encoding))

    def read_ini(self, encoding="cp932"):
        with open(self.ini, "rb") as f:
            return f.read().decode(encoding)

    def start(self, wait_window=True, settle=1.0):
        """Launches the program and waits for its main window."""
        out = open(os.path.join(self.dir, "wine.log"), "wb")
        self.proc = subprocess.Popen(self.launcher + wine(self.exe), cwd=self.dir, env=self.env, stdout=out, stderr=out,
                                     start_new_session=True)
        if wait_window:
            self.main = wait_until(lambda: self.find_window(r"^\(15x15\)x10$"), 90, 0.2, "main window")
            time.sleep(settle)
        return self

    def wait_exit(self, timeout=20):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError(f"program did not exit within {timeout}s")

    # -- X helpers
    def x(self, *args, timeout=20, check=True):
        r = subprocess.run(list(args), env=self.xenv, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           timeout=timeout)
        if check and r.returncode != 0:
            raise HarnessError(f"{args[0]} failed: {r.stderr.decode(errors='replace')}")
        return r.stdout.decode("utf-8", errors="replace")

    def find_window(self, name_regex, visible=True):
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name_regex]
        out = self.x(*args, check=False).split()
        return out[0] if out else None

    def find_windows(self, name_regex, visible=True, min_size=0):
        """All matching windows at least min_size wide and high (the
        application window, which carries the title too, is 1 × 1)."""
        args = ["xdotool", "search"] + (["--onlyvisible"] if visible else []) + ["--name", name_regex]
        found = []
        for wid in self.x(*args, check=False).split():
            try:
                g = self.window_geometry(wid)
            except HarnessError:
                continue
            if g[2] >= min_size and g[3] >= min_size:
                found.append(wid)
        return found

    def window_geometry(self, wid):
        out = self.x("xdotool", "getwindowgeometry", "--shell", wid)
        vals = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(vals["X"]), int(vals["Y"]), int(vals["WIDTH"]), int(vals["HEIGHT"])

    def window_name(self, wid):
        return self.x("xdotool", "getwindowname", wid).strip()

    def move_pointer(self, x, y, settle=0.4):
        self.x("xdotool", "mousemove", str(x), str(y))
        time.sleep(settle)

    def pointer(self):
        out = self.x("xdotool", "getmouselocation", "--shell")
        vals = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return int(vals["X"]), int(vals["Y"])

    def key(self, *keys, window="main", settle=0.3):
        """Sends keys to a window (default: the main window; None: the X focus)."""
        if window == "main":
            window = getattr(self, "main", None)
        args = ["xdotool", "key"] + (["--window", window] if window else []) + list(keys)
        self.x(*args)
        time.sleep(settle)

    def click(self, x, y, button=1, repeat=1, settle=0.4):
        self.x("xdotool", "mousemove", str(x), str(y))
        time.sleep(0.15)
        self.x("xdotool", "click", "--repeat", str(repeat), "--delay", "80", str(button))
        time.sleep(settle)

    def screenshot(self):
        raw = subprocess.run(["import", "-display", self.display, "-window", "root", "-depth", "8", "ppm:-"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30, check=True).stdout
        return Image.from_ppm(raw)

    def save_screenshot(self, label, window=None):
        """Keeps a screenshot in the artifacts folder; with `window`, only
        that window (scripts/refresh-help-images.sh takes some of these
        into the help file)."""
        path = os.path.join(self.artifacts, f"{self.name}-{label}.png")
        shot = self.screenshot()
        if window:
            shot = shot.crop(*self.window_geometry(window))
        shot.save(path)
        return path

    def clipboard(self):
        r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.xenv, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, timeout=10)
        return r.stdout.decode("utf-8", errors="replace") if r.returncode == 0 else None

    def offer_text(self, text):
        """Puts text on the X clipboard (for Wine programs to paste)."""
        p = subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], env=self.xenv, stdin=subprocess.PIPE,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
        self.helpers.append(p)
        p.stdin.write(text.encode())
        p.stdin.close()
        wait_until(lambda: self.clipboard() == text, 5, 0.1, "the text on the clipboard")

    def show_picture(self, x, y, width, height, fill, title="hueloom-test-picture"):
        """Shows a picture in a plain X window at (x, y) (ImageMagick display)."""
        path = os.path.join(self.dir, f"{title}.ppm")
        write_ppm(path, width, height, fill)
        return self.show_file(path, x, y, title)

    def show_file(self, path, x, y, title):
        """Shows a picture file in a plain X window at (x, y) (ImageMagick display)."""
        wid = None
        for attempt in range(3):
            p = subprocess.Popen(["display", "-title", title, "-geometry", f"+{x}+{y}", "-immutable", path],
                                 env=self.xenv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                 start_new_session=True)
            self.helpers.append(p)
            try:
                wid = wait_until(lambda: self.find_window("^" + title + "$"), 20, 0.2, "test picture")
                break
            except HarnessError:
                with contextlib.suppress(Exception):
                    os.killpg(p.pid, signal.SIGKILL)
        if not wid:
            raise HarnessError("the test picture did not appear")
        # display may be placed with an offset; move it exactly.
        self.x("xdotool", "windowmove", wid, str(x), str(y))
        time.sleep(0.5)
        return wid

    def main_geometry(self):
        return self.window_geometry(self.main)

    # -- the program's own windows
    def wait_title(self, regex, timeout=10):
        """Waits until some window of ours (the application window carries
        the application title) has a name matching regex."""
        return wait_until(lambda: self.find_window(regex, visible=False), timeout, 0.2, f"title {regex!r}")

    def titles(self):
        out = self.x("xdotool", "search", "--name", ".", check=False).split()
        return [self.window_name(w) for w in out]

    def focus_main(self):
        """Activates the main window by clicking the middle of its star strip."""
        x, y, _, _ = self.main_geometry()
        self.click(x + 60, y + 12, settle=0.5)

    def open_star_menu(self, which):
        """Clicks star button 1 (left) or 2 (right); its pop-up menu opens.
        The right one is as far from the right edge at every display scaling."""
        x, y, w, _ = self.main_geometry()
        bx = x + (18 if which == 1 else w - 18)
        self.click(bx, y + 12, settle=0.8)

    def choose_from_star_menu(self, which, *keys):
        self.open_star_menu(which)
        for k in keys:
            self.key(k, settle=0.3)
        time.sleep(0.4)

    def open_menu_window(self):
        """The menu opened last: the nameless window of ours (menus have no
        title) created last, as (x, y, width, height)."""
        found = []
        for wid in self.x("xdotool", "search", "--onlyvisible", "--class", "hueloom.exe", check=False).split():
            try:
                g = self.window_geometry(wid)
                if g[2] >= 40 and g[3] >= 30 and not self.window_name(wid):
                    found.append((int(wid), g))
            except HarnessError:
                continue
        if not found:
            raise HarnessError("no menu is open")
        return max(found)[1]

    def menu_items(self):
        """Whether each item of the menu opened last is enabled, top to
        bottom, separators left out: an enabled caption is drawn in the menu
        text colour (dark; white on the highlighted item), a disabled one in
        grey. Rows of text are told apart by the background between them."""
        x, y, w, ht = self.open_menu_window()
        shot = self.screenshot()
        rows = []
        for py in range(y + 2, y + ht - 2):
            line = [shot.pixel(px, py) for px in range(x + 2, x + w - 2)]
            back = max(set(line), key=line.count)
            # Inside the background's span: the highlight bar is inset.
            lo, hi = line.index(back), len(line) - line[::-1].index(back)
            ink = [c for c in line[lo:hi] if sum(abs(a - b) for a, b in zip(c, back)) > 90]
            rows.append((back, ink))
        items, band = [], []
        for back, ink in rows + [(None, [])]:
            if ink:
                band.append((back, ink))
                continue
            if len(band) > 3:  # a caption; thinner bands are separators
                enabled = False
                for back_, ink_ in band:
                    highlighted = sum(back_) < 450
                    if any((min(c) > 220) if highlighted else (max(c) < 90) for c in ink_):
                        enabled = True
                items.append(enabled)
            band = []
        return items

    def close_program(self, timeout=20):
        """Closes through the right star's menu: its last item ends the program."""
        self.choose_from_star_menu(2, "Up", "Return")
        return self.wait_exit(timeout)


# ---------------------------------------------------------------- commands

def skip_if_unsupported(arch):
    why = i686_missing() if arch == "i686" else None
    if why:
        print(f"SKIP: the i686 build cannot run under Wine here: {why}", flush=True)
        sys.exit(SKIP)


def run_gtest(work, exe, shard):
    """Runs one shard ("I/N") of a GoogleTest binary in a lane."""
    index, total = (int(v) for v in shard.split("/"))
    lane = Lane.acquire(work)
    try:
        lane.up()
        lane.kill_programs()
        env = dict(lane.env(), GTEST_SHARD_INDEX=str(index), GTEST_TOTAL_SHARDS=str(total))
        # Each shard runs its own copy: the tests write files beside the
        # program (settings, the about window's picture), and shards of the
        # same binary run side by side.
        own = tempfile.mkdtemp(prefix=f"gtest-{index}-of-{total}-", dir=work)
        copy = os.path.join(own, os.path.basename(exe))
        shutil.copy2(exe, copy)
        with open(os.path.join(own, "wine.log"), "wb") as err:
            r = subprocess.run(wine(copy), cwd=own, env=env, stdout=subprocess.PIPE, stderr=err, timeout=580,
                               start_new_session=True)
        out = r.stdout.decode("utf-8", errors="replace")
        print(out)
        ran = re.search(r"\[==========\] (\d+) tests? from .* ran", out)
        if r.returncode != 0 or "[  PASSED  ]" not in out or "[  FAILED  ]" in out or not ran \
                or int(ran.group(1)) == 0:
            log(f"GoogleTest under Wine failed (exit {r.returncode})")
            return 1
        return 0
    finally:
        lane.kill_programs()
        lane.unlock()


def rehearse_without_i386(work, exe):
    """Behaves as a machine whose kernel refuses 32-bit programs: in a mount
    namespace Wine's 32-bit loader is replaced by an ELF file the kernel
    cannot execute, so Debian's `wine` fails there with "Exec format error"
    for every program. Our launcher must see it, say why, and still run the
    64-bit program."""
    wine32 = "/usr/lib/wine/wine"
    wrap = []
    if os.path.exists(wine32):
        if subprocess.run(["unshare", "-m", "true"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=10).returncode != 0:
            print("SKIP: cannot make a mount namespace here (needs root)", flush=True)
            return SKIP
        bad = os.path.join(work, "not-for-this-kernel")
        with open(bad, "wb") as f:
            f.write(b"\x7fELF\x01\x01\x01" + bytes(9) + b"\x02\x00\xff\xff")
        os.chmod(bad, 0o755)
        wrap = ["unshare", "-m", "sh", "-c", 'mount --bind "$0" ' + wine32 + ' && exec "$@"', bad]
        debian = subprocess.run(wrap + ["wine", "--version"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                timeout=30)
        if debian.returncode == 0:
            raise HarnessError("the rehearsal did not take: Debian's wine still starts")
    r = subprocess.run(wrap + [WINE_SH, "--i686"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=30)
    said = r.stdout.decode(errors="replace").strip()
    if r.returncode != 1 or "32-bit" not in said:
        raise HarnessError(f"the launcher did not see that 32-bit programs cannot run (exit {r.returncode}: {said!r})")
    lane = Lane.acquire(work)
    try:
        with Session(work, exe, "without-i386", lane) as h:
            h.launcher = wrap
            h.write_ini("[Message]\nMsg_ID1=1\n")
            h.start()
            h.close_program()
    finally:
        lane.unlock()
    log(f"without 32-bit programs: {said}; Hueloom.exe started and closed")
    return 0


def run_scenario(work, exe, file, name):
    spec = importlib.util.spec_from_file_location("scenario_module", file)
    mod = importlib.util.module_from_spec(spec)
    sys.path.insert(0, os.path.dirname(file))
    spec.loader.exec_module(mod)
    fn = getattr(mod, "scenario_" + name)
    group = os.path.splitext(os.path.basename(file))[0].removeprefix("test_")
    lane = Lane.acquire(work)
    try:
        t = time.monotonic()
        with Session(work, exe, f"{group}.{name}", lane, monitors=getattr(fn, "monitors", 1)) as h:
            fn(h)
        log(f"scenario {group}.{name} passed in {time.monotonic() - t:.1f}s (lane {lane.index})")
    except Skip as why:
        print(f"SKIP: {why}", flush=True)
        return SKIP
    finally:
        lane.unlock()
    return 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("command", choices=["prepare", "teardown", "gtest", "run", "without-i386"])
    ap.add_argument("--work", required=True)
    ap.add_argument("--arch", default="x86_64")
    ap.add_argument("--exe")
    ap.add_argument("--shard", default="0/1")
    ap.add_argument("rest", nargs="*")
    a = ap.parse_intermixed_args()
    work = os.path.abspath(a.work)
    os.makedirs(work, exist_ok=True)
    if a.command == "teardown":
        teardown(work)
        return 0
    if a.command == "prepare":
        prepare(work)
        return 0
    if a.command == "without-i386":
        prepare(work)
        return rehearse_without_i386(work, a.exe)
    skip_if_unsupported(a.arch)
    prepare(work)
    if a.command == "gtest":
        return run_gtest(work, a.rest[0], a.shard)
    return run_scenario(work, a.exe, a.rest[0], a.rest[1])


if __name__ == "__main__":
    sys.exit(main())
