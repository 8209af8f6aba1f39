#!/usr/bin/env python3
"""End-to-end harness: the real Hueloom.exe under Xvfb and Wine.

    harness.py prepare --work DIR --arch x86_64|i686
        boots the shared Wine prefix once (DIR/prefix), Japanese locale.
    harness.py gtest --work DIR --arch A TEST.exe
        runs a GoogleTest binary under Wine inside its own Xvfb.
    harness.py run --work DIR --arch A --exe Hueloom.exe FILE NAME
        runs scenario_NAME(h) of FILE with a Session `h`.

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

SCREEN_W, SCREEN_H = 1280, 1024


class HarnessError(AssertionError):
    pass


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

    def save_png(self, path):
        ppm = b"P6 %d %d 255\n" % (self.width, self.height) + self.data
        subprocess.run(["convert", "ppm:-", path], input=ppm, check=True, timeout=30)


def write_ppm(path, width, height, fill):
    """fill(x, y) -> (r, g, b)."""
    out = bytearray(b"P6 %d %d 255\n" % (width, height))
    for y in range(height):
        for x in range(width):
            out += bytes(fill(x, y))
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- environment

class Display:
    """A private Xvfb display."""

    def __init__(self, workdir):
        self.proc = None
        for n in range(90 + os.getpid() % 200, 600):
            if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
                self.number = n
                break
        else:
            raise HarnessError("no free display number")
        self.name = f":{self.number}"
        self.log = open(os.path.join(workdir, f"xvfb{self.number}.log"), "wb")

    def start(self):
        self.proc = subprocess.Popen(
            ["Xvfb", self.name, "-screen", "0", f"{SCREEN_W}x{SCREEN_H}x24", "-nolisten", "tcp", "-ac"],
            stdout=self.log, stderr=self.log, start_new_session=True)
        wait_until(lambda: subprocess.run(["xdpyinfo", "-display", self.name], stdout=subprocess.DEVNULL,
                                          stderr=subprocess.DEVNULL, timeout=10).returncode == 0,
                   20, 0.1, "Xvfb")

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
        self.log.close()


def wine_env(work, display=None):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": os.path.join(work, "prefix"),
        "WINEARCH": "win64",
        "WINEDEBUG": "-all",
        "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        "LANG": "ja_JP.UTF-8",
        "LC_ALL": "ja_JP.UTF-8",
    })
    if display:
        env["DISPLAY"] = display
    else:
        env.pop("DISPLAY", None)
    return env


def wineserver_kill(env):
    subprocess.run(["wineserver", "-k"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   timeout=30)
    with contextlib.suppress(subprocess.TimeoutExpired):
        subprocess.run(["wineserver", "-w"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=15)


@contextlib.contextmanager
def prefix_lock(work):
    os.makedirs(work, exist_ok=True)
    with open(os.path.join(work, "prefix.lock"), "w") as f:
        fcntl.flock(f, fcntl.LOCK_EX)
        yield


def prepare(work):
    """Boots the shared prefix once; later calls find it ready."""
    with prefix_lock(work):
        ready = os.path.join(work, "prefix", ".hueloom-ready")
        if os.path.exists(ready):
            log("prefix ready")
            return
        shutil.rmtree(os.path.join(work, "prefix"), ignore_errors=True)
        display = Display(work)
        display.start()
        env = wine_env(work, display.name)
        try:
            t = time.monotonic()
            with open(os.path.join(work, "wineboot.log"), "wb") as out:
                subprocess.run(["wineboot", "-i"], env=env, stdout=out, stderr=out, timeout=240,
                               start_new_session=True)
                subprocess.run(["wineserver", "-w"], env=env, stdout=out, stderr=out, timeout=120)
                # Without a window manager, let Wine draw window captions itself.
                subprocess.run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated",
                                "/t", "REG_SZ", "/d", "N", "/f"], env=env, stdout=out, stderr=out, timeout=60,
                               start_new_session=True)
            log(f"prefix booted in {time.monotonic() - t:.1f}s")
            open(ready, "w").close()
        finally:
            wineserver_kill(env)
            display.stop()


# ---------------------------------------------------------------- session

class Session:
    """One run of the program: its own display, its own program folder."""

    def __init__(self, work, exe, name):
        self.work = work
        self.name = name
        self.dir = tempfile.mkdtemp(prefix=f"run-{name}-", dir=work)
        self.exe = os.path.join(self.dir, "Hueloom.exe")
        shutil.copy2(exe, self.exe)
        self.ini = os.path.join(self.dir, "Hueloom.ini")
        self.display = Display(self.dir)
        self.env = None
        self.proc = None
        self.helpers = []
        self.artifacts = os.path.join(work, "artifacts")
        os.makedirs(self.artifacts, exist_ok=True)

    # -- life cycle
    def __enter__(self):
        self.display.start()
        self.env = wine_env(self.work, self.display.name)
        self.xenv = dict(os.environ, DISPLAY=self.display.name)
        return self

    def __exit__(self, *exc):
        if exc[0] is not None:
            with contextlib.suppress(Exception):
                self.screenshot().save_png(os.path.join(self.artifacts, f"{self.name}-failure.png"))
        for p in self.helpers:
            with contextlib.suppress(Exception):
                os.killpg(p.pid, signal.SIGKILL)
        with contextlib.suppress(Exception):
            wineserver_kill(self.env)
        if self.proc:
            with contextlib.suppress(Exception):
                self.proc.wait(5)
        self.display.stop()
        return False

    def write_ini(self, text, encoding="cp932"):
        with open(self.ini, "wb") as f:
            f.write(text.replace("\n", "\r\n").encode(encoding))

    def read_ini(self, encoding="cp932"):
        with open(self.ini, "rb") as f:
            return f.read().decode(encoding)

    def start(self, wait_window=True, settle=1.0):
        """Launches the program and waits for its main window."""
        out = open(os.path.join(self.dir, "wine.log"), "wb")
        self.proc = subprocess.Popen(["wine", self.exe], cwd=self.dir, env=self.env, stdout=out, stderr=out,
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
        raw = subprocess.run(["import", "-display", self.display.name, "-window", "root", "-depth", "8", "ppm:-"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30, check=True).stdout
        return Image.from_ppm(raw)

    def save_screenshot(self, label):
        path = os.path.join(self.artifacts, f"{self.name}-{label}.png")
        self.screenshot().save_png(path)
        return path

    def clipboard(self):
        r = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.xenv, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, timeout=10)
        return r.stdout.decode("utf-8", errors="replace") if r.returncode == 0 else None

    def show_picture(self, x, y, width, height, fill, title="hueloom-test-picture"):
        """Shows a picture in a plain X window at (x, y) (ImageMagick display)."""
        path = os.path.join(self.dir, f"{title}.ppm")
        write_ppm(path, width, height, fill)
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
        """Clicks star button 1 (left) or 2 (right); its pop-up menu opens."""
        x, y, _, _ = self.main_geometry()
        bx = x + (18 if which == 1 else 159)
        self.click(bx, y + 12, settle=0.8)

    def choose_from_star_menu(self, which, *keys):
        self.open_star_menu(which)
        for k in keys:
            self.key(k, settle=0.3)
        time.sleep(0.4)

    def close_program(self, timeout=20):
        """Closes through the right star's menu: its last item ends the program."""
        self.choose_from_star_menu(2, "Up", "Return")
        return self.wait_exit(timeout)


# ---------------------------------------------------------------- commands

def run_gtest(work, exe):
    display = Display(work)
    display.start()
    env = wine_env(work, display.name)
    try:
        with open(os.path.join(work, "gtest-wine.log"), "wb") as err:
            r = subprocess.run(["wine", exe], env=env, stdout=subprocess.PIPE, stderr=err, timeout=580,
                               start_new_session=True)
        out = r.stdout.decode("utf-8", errors="replace")
        print(out)
        if r.returncode != 0 or "[  PASSED  ]" not in out or "[  FAILED  ]" in out:
            log(f"GoogleTest under Wine failed (exit {r.returncode})")
            return 1
        return 0
    finally:
        wineserver_kill(env)
        display.stop()


def run_scenario(work, exe, file, name):
    spec = importlib.util.spec_from_file_location("scenario_module", file)
    mod = importlib.util.module_from_spec(spec)
    sys.path.insert(0, os.path.dirname(file))
    spec.loader.exec_module(mod)
    fn = getattr(mod, "scenario_" + name)
    group = os.path.splitext(os.path.basename(file))[0].removeprefix("test_")
    t = time.monotonic()
    with Session(work, exe, f"{group}.{name}") as h:
        fn(h)
    log(f"scenario {group}.{name} passed in {time.monotonic() - t:.1f}s")
    return 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("command", choices=["prepare", "gtest", "run"])
    ap.add_argument("--work", required=True)
    ap.add_argument("--arch", default="x86_64")
    ap.add_argument("--exe")
    ap.add_argument("rest", nargs="*")
    a = ap.parse_intermixed_args()
    work = os.path.abspath(a.work)
    os.makedirs(work, exist_ok=True)
    if a.command == "prepare":
        prepare(work)
        return 0
    if a.command == "gtest":
        return run_gtest(work, a.rest[0])
    return run_scenario(work, a.exe, a.rest[0], a.rest[1])


if __name__ == "__main__":
    sys.exit(main())
