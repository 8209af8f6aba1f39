"""The about window and the Help menu's shell commands, on the real program.

These scenarios need the main window's Help menu wired to the about window
and the shell commands; until then they are named pending_scenario_* so the
test registration does not pick them up. Rename to scenario_* once wired.
"""
import contextlib
import glob
import os
import shutil
import signal
import time

from harness import HarnessError, wait_until, wine_path
from test_infobox import built_libraries

SCREEN_W, SCREEN_H = 1280, 1024
ABOUT = r"^バージョン情報$"
ABOUT_W, ABOUT_H = 365, 364
NO_HINT_INI = "[Message]\nMsg_ID1=1\n"
SHORTCUT = "Hueloom 1.0A4.lnk"
APP_TITLE = r"^Hueloom( Ver\. 1\.0 A4)?$"

# The wheel's 30 segment colours, clockwise from the bottom.
WHEEL = []
for run, (r, g, b) in enumerate([(0, 255, None), (0, None, 255), (None, 0, 255),
                                  (255, 0, None), (255, None, 0), (None, 255, 0)]):
    for step in range(5):
        up, down = 0x33 * step, 255 - 0x33 * step
        ch = [r, g, b]
        var = ch.index(None)
        ch[var] = up if run in (0, 2, 4) else down
        WHEEL.append(tuple(ch))


def assert_eq(a, b, what):
    if a != b:
        raise HarnessError(f"{what}: expected {b!r}, got {a!r}")


def start(h):
    h.write_ini(NO_HINT_INI)
    h.start()


def help_menu(h, *keys):
    """Star button 1's pop-up, its Help submenu (ヘルプ(&H)), then keys."""
    h.choose_from_star_menu(1, "h", *keys)


def open_about(h):
    help_menu(h, "v")  # バージョン情報(&V)
    wid = wait_until(lambda: h.find_window(ABOUT), 15, 0.2, "the about window")
    time.sleep(0.8)
    return wid


def button_colours(shot, x, y):
    # The face of the OK button (158,203) 49 x 25, inside its 2-pixel bevel.
    return shot.region_colours(x + 161, y + 206, x + 204, y + 225)


def scenario_about_ring_orbit_and_iris(h):
    start(h)
    png = os.path.join(h.dir, "Hueloom.png")
    if os.path.exists(png):
        raise HarnessError("a Hueloom.png exists before the about window opens")
    wid = open_about(h)
    x, y, w, ht = h.window_geometry(wid)
    assert_eq((w, ht), (ABOUT_W, ABOUT_H), "about window size")
    assert_eq((x, y), ((SCREEN_W - w) // 2, (SCREEN_H - ht) // 2), "about window centred")
    if not os.path.exists(png):
        raise HarnessError("the picture is not beside the program while the window is open")

    shot = h.screenshot()
    h.save_screenshot("about-open")
    h.save_screenshot("window", window=wid)
    # Ring shape: the wheel at the top (magenta segment), nothing of ours in
    # the corners or in the hole beside the card; the light-yellow card.
    assert_eq(shot.pixel(x + 182, y + 20), (255, 0, 255), "top of the wheel")
    for px, py, what in [(1, 1, "corner"), (183, 90, "hole above the card"), (80, 183, "hole left of the card")]:
        if shot.pixel(x + px, y + py) in ((255, 255, 255), (255, 255, 204)):
            raise HarnessError(f"{what} is painted: the window is not ring-shaped")
    card = shot.count((255, 255, 204), x + 93, y + 129, x + 273, y + 235)
    if card < 5000:
        raise HarnessError(f"card not shown ({card} light-yellow pixels)")

    # The orbit: the button takes wheel colours, and they change.
    seen = set()
    for _ in range(4):
        seen |= button_colours(h.screenshot(), x, y) & set(WHEEL)
        time.sleep(0.45)
    if len(seen) < 2:
        raise HarnessError(f"the button did not follow the orbit (wheel colours seen: {seen})")
    # The OK button's tip names the libraries of the build.
    h.move_pointer(x + 182, y + 215, settle=0.3)
    tip = wait_until(lambda: next((t for c, t in h.window_texts() if c == "tooltips_class32" and "zlib" in t), None),
                     10, 0.3, "the OK button's tip")
    for name, version in built_libraries():
        if f"{name} {version} " not in tip:
            raise HarnessError(f"the about window does not name {name} {version}: {tip!r}")

    # The system close key starts the iris instead of closing at once.
    h.key("alt+F4", window=wid, settle=1.0)
    if h.find_window(ABOUT) is None:
        raise HarnessError("Alt+F4 closed the about window at once")
    shot = h.screenshot()
    if shot.pixel(x + 5, y + 182) in WHEEL:
        raise HarnessError("the iris did not start shrinking the window")
    if (0, 0, 0) not in button_colours(shot, x, y):
        raise HarnessError("the button did not turn black during the iris")
    wait_until(lambda: h.find_window(ABOUT) is None, 15, 0.2, "the iris to close the window")
    wait_until(lambda: not os.path.exists(png), 5, 0.2, "the temporary picture to be deleted")
    # The program goes on.
    if h.find_window(r"^\(15x15\)x10$") is None:
        raise HarnessError("the main window is gone")
    h.close_program()


def scenario_about_ok_twice_same_iris(h):
    start(h)
    wid = open_about(h)
    x, y, _, _ = h.window_geometry(wid)
    t = time.monotonic()
    h.click(x + 182, y + 215, settle=0.3)
    h.click(x + 182, y + 215, settle=0.1)  # changes nothing
    wait_until(lambda: h.find_window(ABOUT) is None, 20, 0.2, "the iris to close the window")
    took = time.monotonic() - t
    if took < 5.0:
        raise HarnessError(f"the iris ended after {took:.1f}s; the second click must not shorten it")
    if os.path.exists(os.path.join(h.dir, "Hueloom.png")):
        raise HarnessError("temporary picture left behind")
    h.close_program()


def scenario_help_missing_then_shown_by_the_viewer(h):
    start(h)
    titles_before = set(h.titles())
    help_menu(h, "h")  # ヘルプ(&H) inside the Help submenu
    # A plain message box titled with the application title appears; Return
    # closes it. (Its text, the help file's full path followed by
    # "が見つかりません。", is checked by the Windows-side tests.)
    box = wait_until(lambda: h.find_window(APP_TITLE), 10, 0.2, "the missing-help message box")
    h.save_screenshot("help-missing")
    h.key("Return", window=box, settle=0.6)
    wait_until(lambda: h.find_window(APP_TITLE) is None, 10, 0.2, "the message box to close")
    if set(h.titles()) - titles_before - {""}:
        raise HarnessError(f"unexpected windows remain: {set(h.titles()) - titles_before}")

    # With the help file the build ships beside the program, the system's
    # viewer (hh.exe) starts on it and shows the file's own title.
    chm = os.path.join(h.dir, "Hueloom.chm")
    shutil.copy2(os.path.join(h.bin, "Hueloom.chm"), chm)
    help_menu(h, "h")

    def viewer():
        for pid, name in h.lane.wine_processes():
            if name == "hh.exe":
                return pid, " ".join(h.lane.command_line(pid))
        return None

    pid, cmdline = wait_until(viewer, 15, 0.2, "the help viewer hh.exe")
    if wine_path(chm).lower() not in cmdline.lower():
        raise HarnessError(f"the viewer was not given {wine_path(chm)}: {cmdline!r}")
    h.wait_title(r"^Hueloom ヘルプ$", 15)
    if h.find_window(APP_TITLE):
        raise HarnessError("the missing-help message appeared although the file is there")
    os.kill(pid, signal.SIGKILL)
    h.close_program()


def _desktop(h):
    users = os.path.join(h.env["WINEPREFIX"], "drive_c", "users")
    for d in glob.glob(os.path.join(users, "*", "Desktop")):
        if os.path.basename(os.path.dirname(d)) != "Public":
            return os.path.realpath(d)
    raise HarnessError("no desktop folder in the Wine prefix")


def scenario_desktop_shortcut_twice_one_file(h):
    desktop = _desktop(h)
    link = os.path.join(desktop, SHORTCUT)
    if os.path.exists(link):
        raise HarnessError(f"{link} exists already; not touching someone else's file")
    start(h)
    try:
        for _ in range(2):
            # ヒント, ヘルプ, (separator), ショートカットの作成 ▶ デスクトップ
            help_menu(h, "Down", "Down", "Right", "Return")
            wait_until(lambda: os.path.exists(link), 10, 0.2, "the desktop shortcut")
            time.sleep(0.5)
        lnks = [f for f in os.listdir(desktop) if f.startswith("Hueloom") and f.endswith(".lnk")]
        assert_eq(lnks, [SHORTCUT], "shortcut files on the desktop")
        with open(link, "rb") as f:
            data = f.read()
        # A shell link: header size 0x4C and the link CLSID.
        assert_eq(data[:4], b"\x4c\x00\x00\x00", "shell link header")
        if "Hueloom.exe".encode("utf-16-le") not in data and b"Hueloom.exe" not in data:
            raise HarnessError("the shortcut does not name the program")
        h.close_program()
    finally:
        with contextlib.suppress(OSError):
            os.remove(link)
