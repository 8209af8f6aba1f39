#!/usr/bin/env python3
"""The real Hueloom.exe (x86_64) under Wine on a 3840 x 2160 Xvfb screen,
timed against its peers measured in the same run.

    python3 bench/ui_bench.py [--runs 5] [--rest 30] [--out bench/RESULTS.md]

Needs the mingw64 build (Hueloom.exe and bench/tools/minimal_window.exe) and
the native build's hueloom_bench_images (the 4K desktop picture):

    cmake --preset mingw64 && cmake --build --preset mingw64
    cmake --preset native && cmake --build --preset native --target hueloom_bench_images

and the packages of scripts/setup.sh. It takes about ten minutes and prints
a Markdown report (also written to --out): each figure the median of --runs
runs with min and max, beside its peer, the physical limit where one is
known, and its target.

How the program is timed: HUELOOM_TRACE makes it append marks to a file
(src/toolkit/trace_win.h): "idle" each time its message queue runs empty -
all painting done for the input before - and "keydown" / "mousemove" when
such a message is taken from the queue. Input is sent with XTest; a figure
runs from the moment the input is sent (or the process is started) to the
first "idle" after it, in the system clock both sides share. The start-up
yardstick bench/tools/minimal_window.c marks "idle" the same way.
"""
import argparse
import contextlib
import ctypes
import datetime
import math
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

os.environ["HUELOOM_E2E_SCREEN"] = "3840x2160"
os.environ["HUELOOM_E2E_LANES"] = "1"
REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "e2e"))
import harness  # noqa: E402
from harness import HarnessError, Lane, Session, wait_until, wine, wine_path  # noqa: E402

W, H = harness.SCREEN_W, harness.SCREEN_H
# ImageMagick itself: /usr/local/bin/convert may be a wrapper script.
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"


def now_us():
    return time.time_ns() // 1000


# ---------------------------------------------------------------- input

class XTest:
    """Pointer and keys through the XTest extension: the moment an event is
    sent is known to the microsecond (xdotool would add its own start-up)."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.dpy = self.x11.XOpenDisplay(display.encode())
        if not self.dpy:
            raise HarnessError(f"cannot open display {display}")

    def close(self):
        self.x11.XCloseDisplay(self.dpy)

    def _sync(self):
        self.x11.XSync(self.dpy, 0)

    def move(self, x, y):
        t = now_us()
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self._sync()
        return t

    def button(self, down, button=1):
        t = now_us()
        self.xtst.XTestFakeButtonEvent(self.dpy, button, 1 if down else 0, 0)
        self._sync()
        return t

    def key(self, combo):
        """Presses "ctrl+shift+s" style combinations; returns when the last
        key went down."""
        codes = [self.x11.XKeysymToKeycode(self.dpy, self.x11.XStringToKeysym(
            {"ctrl": b"Control_L", "shift": b"Shift_L", "alt": b"Alt_L"}.get(k, k.encode())))
            for k in combo.split("+")]
        for c in codes[:-1]:
            self.xtst.XTestFakeKeyEvent(self.dpy, c, 1, 0)
        self._sync()
        time.sleep(0.02)
        t = now_us()
        self.xtst.XTestFakeKeyEvent(self.dpy, codes[-1], 1, 0)
        self._sync()
        time.sleep(0.02)
        for c in reversed(codes):
            self.xtst.XTestFakeKeyEvent(self.dpy, c, 0, 0)
        self._sync()
        return t


class ScreenPixel:
    """Reads one pixel of the X screen (XGetImage of the root window), as the
    user's eye would see the program's window."""

    def __init__(self, display):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(ctypes.c_void_p)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                       ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.dpy = self.x11.XOpenDisplay(display.encode())
        self.root = self.x11.XDefaultRootWindow(self.dpy)

    def close(self):
        self.x11.XCloseDisplay(self.dpy)

    def rgb(self, x, y):
        img = self.x11.XGetImage(self.dpy, self.root, x, y, 1, 1, 0xFFFFFFFF, 2)  # ZPixmap
        # XImage: int width, height, xoffset, format; char *data; ... (24-bit
        # visual, 32 bits per pixel, B G R X).
        data = ctypes.cast(img[2], ctypes.POINTER(ctypes.c_ubyte))
        b, g, r = data[0], data[1], data[2]
        self.x11.XFree(img[2])
        self.x11.XFree(img)
        return r, g, b


# ---------------------------------------------------------------- the marks

class Trace:
    def __init__(self, path):
        self.path = path
        open(path, "w").close()

    def events(self):
        out = []
        with open(self.path) as f:
            for line in f:
                parts = line.split()
                if len(parts) == 3 and line.endswith("\n"):
                    out.append((parts[0], float(parts[1]), int(parts[2])))
        return out

    def first(self, event, after, timeout=60, follows=None):
        """The system time (µs) of the first `event` after `after`; with
        `follows`, the first one after the first `follows` mark after `after`."""
        def find():
            since = after
            evs = self.events()
            if follows:
                starts = [e[2] for e in evs if e[0] == follows and e[2] >= after]
                if not starts:
                    return None
                since = starts[0]
            hits = [e[2] for e in evs if e[0] == event and e[2] >= since]
            return hits[0] if hits else None
        return wait_until(find, timeout, 0.002, f"'{event}' in the trace")


def cpu_ns(pid):
    """CPU time of all threads of a process so far, in ns."""
    total = 0
    with contextlib.suppress(OSError):
        for t in os.listdir(f"/proc/{pid}/task"):
            with contextlib.suppress(OSError), open(f"/proc/{pid}/task/{t}/schedstat") as f:
                total += int(f.read().split()[0])
    return total


def pids_named(lane, name):
    return [p for p, n in lane.wine_processes() if n == name]


def server_pid(lane):
    found = [p for p, n in lane.wine_processes(include_server=True) if n.startswith("wineserver")]
    return found[0] if found else None


def xvfb_pid(lane):
    return lane._read("xvfb.pid")


# ---------------------------------------------------------------- stats

class Figure:
    def __init__(self, name, unit="ms"):
        self.name, self.unit, self.values = name, unit, []
        self.parts = []

    def add(self, v):
        self.values.append(v)

    def text(self, digits=1):
        if not self.values:
            return "n/a"
        m = statistics.median(self.values)
        if len(self.values) == 1:
            return f"{m:.{digits}f}"
        return f"{m:.{digits}f} ({min(self.values):.{digits}f}–{max(self.values):.{digits}f})"

    @property
    def median(self):
        return statistics.median(self.values) if self.values else None


def timed(cmd, env=None):
    t = time.perf_counter()
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env, timeout=300)
    return (time.perf_counter() - t) * 1000.0


# ---------------------------------------------------------------- the program

class Program:
    """Hueloom.exe (or the yardstick) started by hand with the trace on."""

    def __init__(self, h, exe, name):
        self.h = h
        self.exe = os.path.join(h.dir, name)
        if os.path.abspath(exe) != self.exe:
            shutil.copy2(exe, self.exe)
        self.trace = Trace(os.path.join(h.dir, name + ".trace"))
        self.proc = None

    def start(self, trace=True):
        env = dict(self.h.env)
        if trace:
            env["HUELOOM_TRACE"] = self.trace.path
        t0 = now_us()
        self.proc = subprocess.Popen(wine(self.exe), cwd=self.h.dir, env=env, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, start_new_session=True)
        self.h.helpers.append(self.proc)
        return t0

    def stop(self):
        with contextlib.suppress(Exception):
            os.killpg(self.proc.pid, 9)
            self.proc.wait(10)
        self.h.lane.kill_programs()


def write_ini(h, text):
    h.write_ini(text)


BASE_INI = "[Message]\nMsg_ID1=1\nMsg_ID2=1\nMsg_ID3=1\nMsg_ID5=1\n[Capture]\nSleepTime=0\n"

FULL_INI = """[Window]
Top=300
Left=600
[Display]
TOPMOST=0
ColorMode=0
MojiColor=clBlack
MojiBKColor=clWhite
ActiveColor=clRed
DeactiveColor=clGray
ImgBKColor=clBtnFace
MaskColor=clRed
[Option]
HookHotKey=Off
JPGQuality=90
PNGQuality=1
OptionRectWidth=64
HotKeyGetColor=Shift+Ctrl+C
HotKeyScreenCapture=Shift+Ctrl+S
HotKeyWindowCapture=Shift+Ctrl+W
HotKeyRectCapture=Shift+Ctrl+R
HookPrintScreenKey=0
HookAltPrintScreenKey=0
[Message]
Msg_ID1=1
Msg_ID2=1
Msg_ID3=1
Msg_ID4=1
Msg_ID5=1
[Capture]
SleepTime=0
CaptureCursor=0
flgCursorCapture=0
[FileDir]
InitialDirTxt={dir}
InitialDirImg={dir}
"""


def ini_keys(text):
    return sum(1 for line in text.splitlines() if "=" in line)


# ---------------------------------------------------------------- the sections

def bench_startup(lane, work, args, res):
    ours, ours30, minimal = Figure("start-up"), Figure("start-up, 30 keys"), Figure("minimal window")
    with Session(work, args.exe, "startup", lane) as h:
        prog = Program(h, args.exe, "Hueloom.exe")
        mini = Program(h, args.minimal, "minimal_window.exe")
        full = FULL_INI.format(dir=wine_path(h.dir))
        assert ini_keys(full) == 30, ini_keys(full)
        for i in range(args.runs + 1):  # the first round warms the caches
            for fig, p, ini in ((minimal, mini, None), (ours, prog, "[Message]\nMsg_ID1=1\n"), (ours30, prog, full)):
                if ini is not None:
                    h.write_ini(ini)
                t0 = p.start()
                t1 = p.trace.first("idle", t0)
                tm = p.trace.first("main", t0)
                cpu = cpu_ns(p.proc.pid) / 1e6  # the loader execs into the program: same process
                p.stop()
                time.sleep(1.0)  # Wine's services settle after the killed program
                if i:
                    fig.add((t1 - t0) / 1000)
                    fig.parts.append(((tm - t0) / 1000, (t1 - tm) / 1000, cpu))
    res["startup"] = (minimal, ours, ours30)


def show_desktop(h, picture):
    """The 4K picture fills the screen, as a desktop full of windows would."""
    wid = h.show_file(picture, 0, 0, "hueloom-bench-desktop")
    g = h.window_geometry(wid)
    if g[2] < W or g[3] < H:
        raise HarnessError(f"the desktop picture shows at {g}, not full screen")
    return wid


def hueloom_up(h, args, xt, ini):
    h.write_ini(ini)
    prog = Program(h, args.exe, "Hueloom.exe")
    t0 = prog.start()
    prog.trace.first("idle", t0)
    h.main = wait_until(lambda: h.find_window(r"^\(15x15\)x10$"), 30, 0.1, "main window")
    time.sleep(1.5)
    return prog


MAIN = r"^(\(15x15\)x10|スクリーン・キャプチャ|矩形領域キャプチャ)$"


def focus(h, regex=MAIN):
    """Gives the X focus to our window (there is no window manager to do it)."""
    wid = wait_until(lambda: h.find_window(regex), 20, 0.1, f"window {regex}")
    h.x("xdotool", "windowfocus", "--sync", wid)
    time.sleep(0.3)
    return wid


def idle_after_key(prog, xt, combo, follows="keydown", timeout=60):
    focus(prog.h)
    t0 = xt.key(combo)
    return (prog.trace.first("idle", t0, timeout, follows=follows) - t0) / 1000


def managed(lane, on):
    """Whether Wine lets a window manager manage the programs' windows. There
    is none on the benchmark's Xvfb, and Wine waits up to 2 s for it each time
    a managed window hides; the figures are taken with unmanaged windows, as a
    desktop with a window manager would hide them at once."""
    for name in ("Hueloom.exe", "minimal_window.exe"):
        key = rf"HKCU\Software\Wine\AppDefaults\{name}\X11 Driver"
        if on:
            lane.run_wine("reg", "delete", key, "/v", "Managed", "/f")
        else:
            lane.run_wine("reg", "add", key, "/v", "Managed", "/t", "REG_SZ", "/d", "N", "/f")


# The capture's trace marks, in their order: the window hidden, the screen's
# pixels in hand, colour-managed, made the working image and the window shown.
CAPTURE_MARKS = ("capture-hidden", "capture-grabbed", "capture-prepared", "capture-shown")


# An image command's marks: the filter started (the snapshot's writer beside
# it), its result in hand, the snapshot on disk, the result shown, the
# progress window gone.
FILTER_MARKS = ("filter-start", "filter-done", "filtered", "filter-shown", "filter-end")


def bench_capture_and_edit(lane, work, args, res):
    capture, capture_managed = Figure("capture"), Figure("capture, managed windows")
    with Session(work, args.exe, "capture-managed", lane) as h:
        xt = XTest(h.display)
        try:
            managed(lane, True)
            show_desktop(h, args.picture)
            prog = hueloom_up(h, args, xt, BASE_INI)
            for i in range(args.runs):
                capture_managed.add(idle_after_key(prog, xt, "shift+ctrl+s"))
                time.sleep(0.5)
        finally:
            managed(lane, False)
            xt.close()
    res["capture_managed"] = capture_managed
    reduce256, invert, grey, undo_fig = Figure("256 colours"), Figure("invert"), Figure("grayscale"), Figure("undo")
    png, jpg = Figure("PNG save"), Figure("JPEG save")
    with Session(work, args.exe, "capture", lane) as h:
        xt = XTest(h.display)
        try:
            show_desktop(h, args.picture)
            out = os.path.join(h.dir, "out")
            os.makedirs(out)
            prog = hueloom_up(h, args, xt, BASE_INI + f"[FileDir]\nInitialDirImg={wine_path(out)}\n")
            steps = {m: Figure(m) for m in CAPTURE_MARKS}
            for i in range(args.runs + 1):
                focus(h)
                t0 = xt.key("shift+ctrl+s")
                t1 = prog.trace.first("idle", t0, 60, follows="keydown")
                h.wait_title("^スクリーン・キャプチャ$", timeout=15)
                if i:
                    capture.add((t1 - t0) / 1000)
                    for m in CAPTURE_MARKS:
                        steps[m].add((prog.trace.first(m, t0, 5) - t0) / 1000)
                time.sleep(0.5)
            res["capture_steps"] = list(steps.values())
            # The image layout shows the capture: check the picture is ours.
            x, y, w, ht = h.main_geometry()
            shot = h.screenshot()
            res["capture_check"] = (x, y, w, ht)
            for i in range(args.runs):
                for fig, name in ((png, f"shot{i}.png"), (jpg, f"shot{i}.jpg")):
                    fig.add(save_through_dialog(h, prog, xt, os.path.join(out, name)))
            undo = os.path.join(h.dir, "Undo.tmp")

            def edit(fig, *keys):
                """画像編集 ▸ the item the keys choose: from the last key to idle, the snapshot written."""
                focus(h)
                xt.key("alt+e")
                time.sleep(0.6)
                for k in keys[:-1]:
                    xt.key(k)
                    time.sleep(0.4)
                t0 = xt.key(keys[-1])
                t1 = prog.trace.first("idle", t0, 120)
                if not os.path.exists(undo):
                    raise HarnessError("the command left no undo snapshot: did it run?")
                fig.add((max(t1, os.stat(undo).st_mtime_ns // 1000) - t0) / 1000)
                steps = res.setdefault("filter_steps", {}).setdefault(fig.name, {m: Figure(m) for m in FILTER_MARKS})
                for m in FILTER_MARKS:
                    steps[m].add((prog.trace.first(m, t0, 5) - t0) / 1000)
                time.sleep(0.5)

            # Each command on the capture, undone (Ctrl+Z, timed after the
            # reduction) so the next starts from the same picture.
            for i in range(args.runs):
                edit(reduce256, "Down", "Return")
                undo_fig.add(idle_after_key(prog, xt, "ctrl+z"))
                time.sleep(0.5)
                edit(invert, "r")
                idle_after_key(prog, xt, "ctrl+z")
                time.sleep(0.5)
                edit(grey, "g")
                idle_after_key(prog, xt, "ctrl+z")
                time.sleep(0.5)
            res["files"] = {n: os.path.getsize(os.path.join(out, n)) for n in ("shot0.png", "shot0.jpg")}
            shutil.copy2(os.path.join(out, "shot0.png"), os.path.join(work, "hueloom-capture.png"))
            del shot
        finally:
            xt.close()
    res["capture"] = capture
    res["edit"] = (reduce256, png, jpg)
    res["commands"] = (reduce256, invert, grey, undo_fig)
    # The engine's own time for the same commands on the same picture.
    engine = os.path.join(os.path.dirname(args.images), "hueloom_bench_engine")
    out = subprocess.run([engine, os.path.join(work, "hueloom-capture.png"), work], stdout=subprocess.PIPE,
                         text=True, check=True).stdout.split()
    res["engine"] = dict(zip(out[0::2], (float(v) for v in out[1::2])))


SAVE_DIALOG = r"^画像ファイルとして保存$"


def save_through_dialog(h, prog, xt, path):
    """ファイル ▸ 画像の保存, the name typed, then Enter: timed from Enter to
    the program idle again with the file written."""
    focus(h)
    xt.key("alt+f")
    time.sleep(0.5)
    xt.key("s")
    dlg = wait_until(lambda: h.find_window(SAVE_DIALOG), 40, 0.2, "picture save dialog")
    time.sleep(1.2)
    h.key("ctrl+a", window=dlg, settle=0.2)
    h.x("xdotool", "type", "--window", dlg, "--delay", "20", os.path.basename(path))
    time.sleep(0.4)
    focus(h, SAVE_DIALOG)
    t0 = xt.key("Return")
    t1 = prog.trace.first("idle", t0, 120)
    wait_until(lambda: h.find_window(SAVE_DIALOG) is None, 20, 0.2, "the dialog to close")
    if not os.path.exists(path):
        raise HarnessError(f"{path} was not written")
    # The file is complete when the program is idle again, or later.
    t1 = max(t1, os.stat(path).st_mtime_ns // 1000)
    time.sleep(0.3)
    return (t1 - t0) / 1000


DRAG_STEPS = 90


def bench_selection(lane, work, args, res):
    overlay = Figure("hot key → overlay shown")
    frame, frame_max, latency = Figure("frame"), Figure("frame, worst"), Figure("send → painted")
    cut = Figure("Enter → picture")
    cpu_prog, cpu_x = Figure("CPU/frame program", "ms"), Figure("CPU/frame X", "ms")
    moves = Figure("mouse moves handled", "")
    with Session(work, args.exe, "selection", lane) as h:
        xt = XTest(h.display)
        try:
            show_desktop(h, args.picture)
            prog = hueloom_up(h, args, xt, BASE_INI)
            pid = pids_named(lane, "hueloom.exe")[0]
            for i in range(args.runs + 1):
                overlay_ms = idle_after_key(prog, xt, "shift+ctrl+r")
                wait_until(lambda: h.find_window(r"^VirtualDesktop$"), 20, 0.1, "the overlay")
                focus(h, r"^VirtualDesktop$")
                x0, y0 = 600, 400
                xt.move(x0, y0)
                time.sleep(0.3)
                xt.button(True)
                time.sleep(0.3)
                steps, sent = DRAG_STEPS, []
                c0 = (cpu_ns(pid), cpu_ns(xvfb_pid(lane)))
                for k in range(1, steps + 1):
                    sent.append(xt.move(x0 + 28 * k, y0 + 15 * k))
                    time.sleep(1 / 60)
                prog.trace.first("idle", sent[-1], 10, follows="mousemove")
                c1 = (cpu_ns(pid), cpu_ns(xvfb_pid(lane)))
                xt.button(False)
                time.sleep(0.8)
                frames, lat = drag_frames(prog.trace.events(), sent)
                focus(h, r"^VirtualDesktop$")
                t0 = xt.key("Return")
                cut_ms = (prog.trace.first("idle", t0, 60, follows="keydown") - t0) / 1000
                h.wait_title(r"^矩形領域キャプチャ$", timeout=15)
                time.sleep(0.8)
                if i:
                    overlay.add(overlay_ms)
                    frame.add(statistics.median(frames))
                    frame_max.add(max(frames))
                    latency.add(statistics.median(lat))
                    cut.add(cut_ms)
                    cpu_prog.add((c1[0] - c0[0]) / 1e6 / len(frames))
                    cpu_x.add((c1[1] - c0[1]) / 1e6 / len(frames))
                    moves.add(len(frames))
            x, y, w, ht = h.main_geometry()
            res["cut_size"] = (w, ht)
        finally:
            xt.close()
    res["selection"] = (overlay, frame, frame_max, latency, cut, cpu_prog, cpu_x, moves)


def drag_frames(events, sent):
    """Per WM_MOUSEMOVE of the drag: from taking it from the queue to the
    next idle (everything it asked for painted) or to the next mouse move,
    whichever comes first; and per motion sent, from sending to that idle."""
    evs = [e for e in events if e[2] >= sent[0] - 1000]
    frames, ends = [], []
    for i, (name, qpc, t) in enumerate(evs):
        if name != "mousemove":
            continue
        nxt = next((e for e in evs[i + 1:] if e[0] in ("mousemove", "idle")), None)
        if nxt is None:
            continue
        frames.append((nxt[1] - qpc) / 1000)
        if nxt[0] == "idle":
            ends.append(nxt[2])
    lat = []
    for s in sent:
        done = next((e for e in ends if e >= s), None)
        if done is not None:
            lat.append((done - s) / 1000)
    if not frames:
        raise HarnessError("no mouse move reached the overlay")
    return frames, lat


FOLLOW_JUMPS = 80
FOLLOW_A, FOLLOW_B = (250, 40, 40), (40, 40, 250)


def bench_follow(lane, work, args, res, exe, key):
    """The pointer jumps, at random moments after it was still, between two
    areas of known colour; timed from the jump (XTest) to the view's centre
    pixel on the screen showing the new colour."""
    rng = __import__("random").Random(24)
    lat = []
    with Session(work, exe, "follow-" + key, lane) as h:
        xt = XTest(h.display)
        px = ScreenPixel(h.display)
        try:
            h.show_picture(200, 200, 400, 200, lambda x, y: FOLLOW_A if x < 200 else FOLLOW_B)
            h.write_ini(BASE_INI)
            prog = Program(h, exe, "Hueloom.exe")
            prog.start(trace=False)
            h.main = wait_until(lambda: h.find_window(r"^\(15x15\)x10$"), 60, 0.2, "main window")
            x, y, _, _ = h.main_geometry()
            cx, cy = x + 10 + 75, y + 47 + 75  # the view's centre cell at 96 dpi
            spots = ((300, 300, FOLLOW_A), (500, 300, FOLLOW_B))
            xt.move(*spots[0][:2])
            wait_until(lambda: px.rgb(cx, cy) == FOLLOW_A, 10, 0.05, "the view showing the first area")
            for k in range(FOLLOW_JUMPS):
                time.sleep(rng.uniform(0.15, 0.45))  # still, then a jump at a moment of its own
                sx, sy, colour = spots[(k + 1) % 2]
                t0 = now_us()
                xt.move(sx, sy)
                deadline = t0 + 2_000_000
                while px.rgb(cx, cy) != colour:
                    if now_us() > deadline:
                        raise HarnessError(f"the view did not follow jump {k} within 2 s")
                lat.append((now_us() - t0) / 1000)
            prog.stop()
        finally:
            px.close()
            xt.close()
    lat.sort()
    res["follow_" + key] = (statistics.median(lat), lat[int(0.9 * (len(lat) - 1))], lat[-1])


def bench_rest(lane, work, args, res, exe=None, key="rest"):
    exe = exe or args.exe
    still, moving = Figure("still", "%"), Figure("moving", "%")
    still_srv, moving_srv = Figure("wineserver still", "%"), Figure("wineserver moving", "%")
    still_x, moving_x = Figure("Xvfb still", "%"), Figure("Xvfb moving", "%")
    with Session(work, exe, key, lane) as h:
        xt = XTest(h.display)
        try:
            show_desktop(h, args.picture)
            h.write_ini(BASE_INI)
            prog = Program(h, exe, "Hueloom.exe")
            prog.start(trace=False)  # no marks: nothing but the program
            h.main = wait_until(lambda: h.find_window(r"^\(15x15\)x10$"), 60, 0.2, "main window")
            xt.move(W // 3, H // 3)
            time.sleep(3)
            pid = pids_named(lane, "hueloom.exe")[0]
            procs = (pid, server_pid(lane), xvfb_pid(lane))
            for _ in range(args.runs):
                for figs, move in (((still, still_srv, still_x), False), ((moving, moving_srv, moving_x), True)):
                    c0 = [cpu_ns(p) for p in procs]
                    t0 = time.monotonic()
                    k = 0
                    while time.monotonic() - t0 < args.rest:
                        if move:
                            # A slow circle away from the window, 60 moves a second.
                            a = k / 60 * 2 * math.pi / 4
                            xt.move(int(W / 3 + 400 * math.cos(a)), int(H / 2 + 400 * math.sin(a)))
                            k += 1
                            time.sleep(1 / 60)
                        else:
                            time.sleep(0.5)
                    dt = time.monotonic() - t0
                    c1 = [cpu_ns(p) for p in procs]
                    for fig, a, b in zip(figs, c0, c1):
                        fig.add((b - a) / 1e9 / dt * 100)
                    xt.move(W // 3, H // 3)
                    time.sleep(0.5)
        finally:
            xt.close()
    res[key] = (still, moving, still_srv, moving_srv, still_x, moving_x)


def bench_peers(work, args, res):
    tmp = tempfile.mkdtemp(prefix="peers-", dir=work)
    env = dict(os.environ, DISPLAY=res["display"])
    grab_import, grab_xwd, grab_xwd_conv = Figure("import"), Figure("xwd"), Figure("xwd + convert")
    red, png, jpg = Figure("convert 256"), Figure("convert png"), Figure("cjpeg")
    for i in range(args.runs + 1):
        a = timed(["import", "-window", "root", "-depth", "8", f"{tmp}/root.ppm"], env)
        b = timed(["xwd", "-root", "-silent", "-out", f"{tmp}/root.xwd"], env)
        c = b + timed([CONVERT, f"xwd:{tmp}/root.xwd", f"{tmp}/root-xwd.ppm"])
        d = timed([CONVERT, args.picture, "+dither", "-colors", "256", f"BMP3:{tmp}/256.bmp"])
        e = timed([CONVERT, args.picture, f"PNG24:{tmp}/out.png"])
        f = timed(["cjpeg", "-quality", "90", "-baseline", "-dct", "float", "-outfile", f"{tmp}/out.jpg",
                   args.picture])
        if i:
            for fig, v in zip((grab_import, grab_xwd, grab_xwd_conv, red, png, jpg), (a, b, c, d, e, f)):
                fig.add(v)
    res["peer_files"] = {n: os.path.getsize(f"{tmp}/{n}") for n in ("out.png", "out.jpg")}
    res["peers"] = (grab_import, grab_xwd, grab_xwd_conv, red, png, jpg)
    cc = shutil.which("cc") or shutil.which("gcc")
    exe = os.path.join(tmp, "memcpy_bandwidth")
    subprocess.run([cc, "-O2", "-o", exe, os.path.join(REPO, "bench", "tools", "memcpy_bandwidth.c")], check=True)
    ms, gbs = (float(v) for v in subprocess.run([exe, str(W), str(H)], stdout=subprocess.PIPE, check=True,
                                                text=True).stdout.split())
    res["memcpy"] = (ms, gbs)


# ---------------------------------------------------------------- report

def machine():
    cpu = ""
    with contextlib.suppress(Exception):
        for line in subprocess.run(["lscpu"], stdout=subprocess.PIPE, text=True).stdout.splitlines():
            if line.startswith("Model name:"):
                cpu = line.split(":", 1)[1].strip()
    mem = ""
    with contextlib.suppress(Exception):
        with open("/proc/meminfo") as f:
            mem = f"{int(f.readline().split()[1]) / 1024 / 1024:.0f} GiB"
    wine_v = subprocess.run(wine("--version"), stdout=subprocess.PIPE, text=True).stdout.strip()
    return f"{platform.system()} {platform.release()}, {os.cpu_count()} cores ({cpu}), {mem}; {wine_v}, Xvfb {W}×{H}×24"


def verdict(value, target):
    return "yes" if value is not None and target is not None and value <= target else "no"


def report(res, args):
    lines = []
    add = lines.append
    add("# Hueloom under Wine at 3840 × 2160: start-up, capture, selection, edits, rest")
    add("")
    add(f"Measured {datetime.datetime.now(datetime.timezone.utc):%Y-%m-%d %H:%M} UTC by `python3 bench/ui_bench.py "
        f"--runs {args.runs} --rest {args.rest:g}` on: {machine()}.")
    add("")
    add(f"Each figure: median of {args.runs} runs (min–max). Times run from the input sent with XTest (or the "
        "process started) to the first moment the program's message queue is empty again, all painting done "
        "(opt-in marks, HUELOOM_TRACE). Peers run as whole commands on the same picture in the same run.")
    add("")
    add("The image engine alone, without Wine: PNG save against libpng at each PNGQuality level in "
        "`RESULTS-png.md` (`bench/compare_image.sh --png`), peak memory per operation at 16384 × 16384 in "
        "`RESULTS-memory.md`.")
    add("")
    add(f"Load average (1 min) of the machine at the start and the end of the run: {res['load'][0]:.1f}, "
        f"{res['load'][1]:.1f}; at the start of each part: "
        + ", ".join(f"{n} {v:.1f}" for n, v in res.get("section_load", [])) + " (other work shares its 2 cores). There is no window manager on the Xvfb screen: the "
        "programs' windows are unmanaged (Wine's `Managed=N` for Hueloom.exe and minimal_window.exe), as otherwise "
        "Wine waits up to 2 s for a window manager each time a window hides (the capture row below shows that "
        "case once).")
    add("")
    if "startup" in res:
        minimal, ours, ours30 = res["startup"]
        t = 1.3 * minimal.median
        add("## Start-up: process start → main window shown and painted")
        add("")
        add("| program | ms | target | met |")
        add("|---|---|---|---|")
        add(f"| minimal Win32 window (bench/tools/minimal_window.c, MinGW x86_64 static) | {minimal.text()} | "
            "yardstick | |")
        add(f"| Hueloom.exe, settings file with 1 key (Msg_ID1=1: no start-up hint) | {ours.text()} | "
            f"≤ 1.3 × minimal = {t:.0f} | {verdict(ours.median, t)} |")
        add(f"| Hueloom.exe, settings file with 30 keys | {ours30.text()} | ≤ {t:.0f} | {verdict(ours30.median, t)} |")
        add("")
        add("Where the time goes (medians): process start → entry point (Wine's loader, the DLLs) / entry point → "
            "window painted / CPU time the process used until then: " + "; ".join(
                f"{name} {statistics.median(x[0] for x in f.parts):.0f} / {statistics.median(x[1] for x in f.parts):.0f}"
                f" / {statistics.median(x[2] for x in f.parts):.0f}"
                for name, f in (("minimal", minimal), ("Hueloom", ours), ("Hueloom 30 keys", ours30))) + " ms.")
        add("")
    if "peers" not in res:
        res["peers"] = tuple(Figure("not measured") for _ in range(6))
        res["memcpy"] = (float("nan"), float("nan"))
    if "capture" in res:
        gi, gx, gxc, red, png, jpg = res["peers"]
        ms, gbs = res["memcpy"]
        add("## Screen capture: hot key (Shift+Ctrl+S) → picture shown in the image layout")
        add("")
        add("| what | ms | target | met |")
        add("|---|---|---|---|")
        limit = 0.8 * gx.median if gx.median is not None else None
        add(f"| Hueloom.exe, 4K desktop (SleepTime=0) | {res['capture'].text()} | ≤ 0.8 × xwd"
            f"{f' = {limit:.1f}' if limit else ''} | {verdict(res['capture'].median, limit)} |")
        if "capture_managed" in res:
            add(f"| Hueloom.exe, its windows managed by Wine with no window manager running (Wine waits 2 s for "
                f"each hidden window) | {res['capture_managed'].text()} | | |")
        add(f"| peer: ImageMagick `import -window root` (to a PPM file) | {gi.text()} | | |")
        add(f"| peer: `xwd -root` (to a file) | {gx.text()} | | |")
        add(f"| peer: `xwd -root` + `convert` to PPM | {gxc.text()} | | |")
        add(f"| limit: memcpy of one 3840 × 2160 × 32-bit picture | {ms:.1f} ({gbs:.1f} GB/s) | | |")
        add("")
        if "capture_steps" in res:
            add("Where the capture's time goes (trace marks, ms after the key, medians): "
                + ", ".join(f"{f.name.split('-')[-1]} {f.median:.1f}" for f in res["capture_steps"])
                + f", idle {res['capture'].median:.1f}.")
            add("")
    if "selection" in res:
        ov, fr, fmax, lat, cut, cp, cx, moves = res["selection"]
        add("## Rectangle selection on the frozen 4K desktop")
        add("")
        add("| what | ms | target | met |")
        add("|---|---|---|---|")
        add(f"| hot key (Shift+Ctrl+R) → overlay shown | {ov.text()} | | |")
        add(f"| mouse-move frame while dragging, message → painted (median frame of a drag of {DRAG_STEPS} moves) | "
            f"{fr.text(2)} | ≤ 4 | "
            f"{verdict(fr.median, 4)} |")
        add(f"| worst frame of a drag | {fmax.text(2)} | | |")
        add(f"| motion sent (XTest) → painted, median of a drag | {lat.text(2)} | | |")
        add(f"| CPU per frame: program / Xvfb | {cp.text(2)} / {cx.text(2)} | | |")
        add(f"| WM_MOUSEMOVE handled per drag ({DRAG_STEPS} motions sent, 60 a second) | {moves.text(0)} | | |")
        add(f"| Enter → cut-out shown in the image layout | {cut.text()} | | |")
        add("")
        add("A frame runs from taking WM_MOUSEMOVE from the queue to the queue empty again (or the next move "
            "taken): the selection drawn into the window. Wine then copies the changed part to the X server as the "
            "program waits; the CPU row counts that too, per frame, in the program and in Xvfb.")
        add("")
    if "edit" in res:
        red_o, png_o, jpg_o = res["edit"]
        gi, gx, gxc, red, png, jpg = res["peers"]
        add("## Edits and writes of the captured 4K desktop, through the menus and the save dialog")
        add("")
        add("Ours: from the key that runs the command (Enter on the menu item, Enter in the save dialog) to the "
            "program idle with the work done. Peers: the whole command, reading the same picture from a PPM file.")
        add("")
        add("| what | Hueloom ms | peer | peer ms | target | met |")
        add("|---|---|---|---|---|---|")
        for what, o, pn, p in (("PNG save (PNGQuality 1)", png_o, "`convert` PNG24", png),
                               ("JPEG save (quality 90)", jpg_o, "`cjpeg -quality 90 -baseline -dct float`", jpg)):
            add(f"| {what} | {o.text()} | {pn} | {p.text()} | ≤ 0.8 × peer = {0.8 * p.median:.1f} | "
                f"{verdict(o.median, 0.8 * p.median)} |")
        add(f"| 256 colours, for comparison | {red_o.text()} | `convert +dither -colors 256` | {red.text()} | | |")
        if "commands" in res and "engine" in res:
            add("")
            add("The image-edit commands against the engine's own time for them on the same captured picture "
                "(`hueloom_bench_engine`, native, median of 5; undo: reading the snapshot back):")
            add("")
            add("| command | Hueloom ms | engine ms | target: 2 × engine + 30 | met |")
            add("|---|---|---|---|---|")
            for (what, key), o in zip((("256 colours", "reduce256"), ("invert", "invert"), ("grayscale", "grayscale"),
                                       ("undo (Ctrl+Z)", "undo")), res["commands"]):
                e = res["engine"][key]
                add(f"| {what} | {o.text()} | {e:.1f} | {2 * e + 30:.1f} | {verdict(o.median, 2 * e + 30)} |")
            for name, steps in res.get("filter_steps", {}).items():
                add("")
                add(f"Where {name}'s time goes (trace marks, ms after the key, medians): "
                    + ", ".join(f"{f.name.split('-')[-1]} {f.median:.1f}" for f in steps.values()) + ".")
        if "files" in res and "peer_files" in res:
            f, pf = res["files"], res["peer_files"]
            add("")
            add(f"File sizes: ours PNG {f['shot0.png']:,} B, JPEG {f['shot0.jpg']:,} B; peers PNG "
                f"{pf['out.png']:,} B, JPEG {pf['out.jpg']:,} B.")
        add("")
    if "follow_now" in res:
        add(f"## The view follows the pointer: jump → new pixels on the screen ({FOLLOW_JUMPS} jumps, ms)")
        add("")
        add("The pointer jumps (XTest) at random moments, after 150–450 ms still, between two areas of known "
            "colour away from the window; the view's centre pixel is read from the X screen until it shows the "
            "new colour.")
        add("")
        add("| program | median | 90th percentile | worst | target | met |")
        add("|---|---|---|---|---|---|")
        for key, name in (("before", f"before (`{args.baseline}`)"), ("now", "Hueloom.exe")):
            if "follow_" + key in res:
                med, p90, worst = res["follow_" + key]
                met = "yes" if med <= 8 and p90 <= 17 else "no"
                add(f"| {name} | {med:.1f} | {p90:.1f} | {worst:.1f} | median ≤ 8, p90 ≤ 17 | "
                    f"{met if key == 'now' else ''} |")
        add("")
    if "rest" in res:
        still, moving, ss, ms_, sx, mx = res["rest"]
        add(f"## At rest: CPU used in {args.rest:g} s, magnifier running (% of one core)")
        add("")
        add("| pointer | Hueloom.exe | wineserver | Xvfb | target | met |")
        add("|---|---|---|---|---|---|")
        add(f"| still | {still.text(3)} | {ss.text(3)} | {sx.text(3)} | ≤ 0.5 | {verdict(still.median, 0.5)} |")
        add(f"| moving (60 moves/s) | {moving.text(3)} | {ms_.text(3)} | {mx.text(3)} | ≤ 3 | "
            f"{verdict(moving.median, 3)} |")
        if "rest_before" in res:
            b_still, b_moving, b_ss, b_ms, b_sx, b_mx = res["rest_before"]
            add(f"| still, before (`{args.baseline}`) | {b_still.text(3)} | {b_ss.text(3)} | {b_sx.text(3)} | | |")
            add(f"| moving, before | {b_moving.text(3)} | {b_ms.text(3)} | {b_mx.text(3)} | | |")
        add("")
    return "\n".join(lines) + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--exe", default=os.path.join(REPO, "build", "mingw64", "bin", "Hueloom.exe"))
    ap.add_argument("--minimal", default=os.path.join(REPO, "build", "mingw64", "bin", "minimal_window.exe"))
    ap.add_argument("--images", default=os.path.join(REPO, "build", "native", "bench", "hueloom_bench_images"))
    ap.add_argument("--work", default=os.path.join(REPO, "build", "uibench"))
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--rest", type=float, default=30.0)
    ap.add_argument("--only", default="startup,peers,capture,selection,follow,rest")
    ap.add_argument("--baseline", help="an earlier Hueloom.exe timed beside this one where a part compares them")
    ap.add_argument("--out", default=os.path.join(REPO, "bench", "RESULTS.md"))
    args = ap.parse_args()
    for f in (args.exe, args.minimal, args.images):
        if not os.path.exists(f):
            sys.exit(f"missing {f}: build it first (see the top of this file)")
    for tool in ("Xvfb", "xdotool", "import", "xwd", "cjpeg", "display"):
        if not shutil.which(tool):
            sys.exit(f"missing {tool}: run scripts/setup.sh")
    work = os.path.abspath(args.work)
    os.makedirs(work, exist_ok=True)
    subprocess.run([args.images, work], check=True)
    args.picture = os.path.join(work, "screenshot.ppm")
    only = args.only.split(",")
    res = {"load": [os.getloadavg()[0]]}
    harness.prepare(work)
    lane = Lane.acquire(work)
    try:
        lane.up()
        managed(lane, False)
        res["display"] = lane.display
        steps = (("startup", bench_startup), ("capture", bench_capture_and_edit), ("selection", bench_selection),
                 ("rest", bench_rest))
        res["section_load"] = []
        if "peers" in only:
            harness.log("peers")
            res["section_load"].append(("peers", os.getloadavg()[0]))
            bench_peers(work, args, res)
        for name, fn in steps:
            if name in only:
                harness.log(name)
                res["section_load"].append((name, os.getloadavg()[0]))
                fn(lane, work, args, res)
        if "rest" in only and args.baseline:
            bench_rest(lane, work, args, res, args.baseline, "rest_before")
        if "follow" in only:
            harness.log("follow")
            res["section_load"].append(("follow", os.getloadavg()[0]))
            if args.baseline:
                bench_follow(lane, work, args, res, args.baseline, "before")
            bench_follow(lane, work, args, res, args.exe, "now")
    finally:
        lane.unlock()
        harness.teardown(work)
    res["load"].append(os.getloadavg()[0])
    text = report(res, args)
    print(text)
    if args.out:
        with open(args.out, "w") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
