"""The information box: the start-up hint until "今後表示しない" is ticked, and
the hint command's box beside the main window."""
import os
import re
import subprocess
import time

from harness import HarnessError, wait_until

SCREEN_W, SCREEN_H = 1280, 1024
WIN_W, WIN_H = 177, 233
MAIN = r"^\(15x15\)x10$"
# The start-up hint's title, "Hueloom（Hueloom）－ Ver. 1.0 A4"; the pattern
# stays ASCII so the regular expression does not depend on the locale, and it
# does not match the application title "Hueloom Ver. 1.0 A4".
STARTUP_BOX = r"^Hueloom.+Hueloom.+Ver\. 1\.0 A4$"
HINT_BOX = r"^ヒント$"
AQUA = (0, 255, 255)


# Geometry of the box, from its window size (borderless: window = client):
# the check box sits 52 pixels above the bottom edge, 8 from the left, 105 × 15;
# the 65 × 25 OK button 35 pixels above the bottom edge, centred.
def check_box_point(box):
    x, y, w, h = box
    return x + 14, y + h - 52 + 7


def ok_button_point(box):
    x, y, w, h = box
    return x + w // 2, y + h - 35 + 12


def assert_eq(a, b, what):
    if a != b:
        raise HarnessError(f"{what}: expected {b!r}, got {a!r}")


def ini_value(text, section, key):
    m = re.search(r"^\[" + re.escape(section) + r"\]\r?$(.*?)(?=^\[|\Z)", text, re.M | re.S)
    if not m:
        return None
    k = re.search(r"^" + re.escape(key) + r"=(.*?)\r?$", m.group(1), re.M)
    return k.group(1) if k else None


def start_until_first_window(h):
    """Starts the program; returns ("box", wid) if the start-up hint shows,
    ("main", wid) if the main window shows without it."""
    h.start(wait_window=False)

    def first():
        box = h.find_window(STARTUP_BOX)
        if box:
            return "box", box
        main = h.find_window(MAIN)
        return ("main", main) if main else None

    kind, wid = wait_until(first, 60, 0.2, "start-up hint box or main window")
    time.sleep(0.8)  # let it paint
    return kind, wid


def close_box(h, regex, geometry):
    h.click(*ok_button_point(geometry), settle=0.6)
    wait_until(lambda: h.find_window(regex) is None, 10, 0.2, "the box to close")


def wait_main(h):
    h.main = wait_until(lambda: h.find_window(MAIN), 30, 0.2, "main window after the hint box")
    time.sleep(1.0)


def built_libraries():
    """The libraries in the .exe: Debian's MinGW zlib, and the libjpeg-turbo
    and libdeflate that scripts/setup.sh builds."""
    zlib = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", "libz-mingw-w64-dev"], stdout=subprocess.PIPE,
                          timeout=30, check=True).stdout.decode()
    with open(os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "setup.sh")) as f:
        setup = f.read()
    upstream = lambda v: re.sub(r"^\d+:", "", v).split("-")[0].split("+")[0]
    return [("zlib", upstream(zlib)), ("libjpeg-turbo", upstream(re.search(r'JPEG_VERSION="([^"]+)"', setup)[1])),
            ("libdeflate", upstream(re.search(r'DEFLATE_VERSION="([^"]+)"', setup)[1]))]


def check_startup_box(h, wid):
    """The start-up box: centred, framed in the default active colour, shown
    before the main window."""
    geo = h.window_geometry(wid)
    x, y, w, ht = geo
    assert_eq((x, y), ((SCREEN_W - w) // 2, (SCREEN_H - ht) // 2), "start-up hint box centred")
    if w < 121:
        raise HarnessError(f"box narrower than its minimum: {w}")
    if h.find_window(MAIN) is not None:
        raise HarnessError("main window visible while the start-up hint is open")
    shot = h.screenshot()
    assert_eq(shot.pixel(x + 1, y + ht // 2), AQUA, "frame colour at the left edge")
    if shot.pixel(x, y) == AQUA:
        raise HarnessError("top-left corner not cut away by the rounded shape")
    return geo


def scenario_startup_hint_until_ticked(h):
    # First start without a settings file: the hint box comes first.
    kind, wid = start_until_first_window(h)
    assert_eq(kind, "box", "first start without settings")
    geo = check_startup_box(h, wid)
    h.save_screenshot("startup-hint")
    # Its credits name the libraries this build links, at the versions set up.
    text = next((t for c, t in h.window_texts() if "zlib" in t), "")
    for name, version in built_libraries():
        if f"{name} {version} " not in text:
            raise HarnessError(f"the hint does not name {name} {version}: {text[-400:]!r}")

    # Tick "今後表示しない": the check box changes its look.
    cx, cy = check_box_point(geo)
    before = h.screenshot().region_colours(cx - 6, cy - 7, cx + 6, cy + 8)
    h.click(cx, cy, settle=0.5)
    after = h.screenshot().region_colours(cx - 6, cy - 7, cx + 6, cy + 8)
    if before == after:
        raise HarnessError("clicking the check box changed nothing on screen")
    close_box(h, STARTUP_BOX, geo)
    wait_main(h)

    h.close_program()
    ini = h.read_ini()
    assert_eq(ini_value(ini, "Message", "Msg_ID1"), "1", "Msg_ID1 after ticking")

    # The next start shows no hint.
    kind, _ = start_until_first_window(h)
    assert_eq(kind, "main", "second start after ticking")
    time.sleep(1.0)
    if h.find_window(STARTUP_BOX, visible=False):
        raise HarnessError("a hint box exists on the second start")
    h.main = h.find_window(MAIN)
    h.close_program()
    assert_eq(ini_value(h.read_ini(), "Message", "Msg_ID1"), "1", "Msg_ID1 kept")


def scenario_startup_hint_again_when_not_ticked(h):
    kind, wid = start_until_first_window(h)
    assert_eq(kind, "box", "first start")
    geo = h.window_geometry(wid)
    close_box(h, STARTUP_BOX, geo)  # OK without ticking
    wait_main(h)
    h.close_program()
    assert_eq(ini_value(h.read_ini(), "Message", "Msg_ID1"), "0", "Msg_ID1 without ticking")
    kind, _ = start_until_first_window(h)
    assert_eq(kind, "box", "second start without ticking")


def scenario_hint_command_box_flush_with_screen_edge(h):
    # The window at the right edge of the screen; a red frame colour.
    h.write_ini("[Window]\nTop=100\nLeft=1110\n[Display]\nActiveColor=clRed\n[Message]\nMsg_ID1=1\n")
    h.start()
    mx, my, mw, _ = h.main_geometry()
    assert_eq((mx, my), (1110, 100), "main window from the settings")
    # ヘルプ(&H) ▸ ヒント(&I)
    h.choose_from_star_menu(1, "h", "i")
    wid = wait_until(lambda: h.find_window(HINT_BOX), 10, 0.2, "hint box")
    time.sleep(0.8)
    x, y, w, ht = geo = h.window_geometry(wid)
    # Beside the window would be x = 1110 + 177, off the screen: flush instead.
    assert_eq((x + w, y), (SCREEN_W, my), "hint box flush with the right edge, at the window's top")
    h.wait_title(r"^Hueloom$")
    shot = h.screenshot()
    assert_eq(shot.pixel(x + 1, y + ht // 2), (255, 0, 0), "frame in the active colour")
    # No check box: its place stays empty (the box's background).
    cx, cy = check_box_point(geo)
    colours = shot.region_colours(cx - 6, cy - 6, cx + 6, cy + 6)
    if len(colours) != 1:
        raise HarnessError(f"something drawn where the hidden check box would be: {colours}")
    h.save_screenshot("hint-command")
    close_box(h, HINT_BOX, geo)
    h.close_program()
    # The hint command never changes the flag.
    assert_eq(ini_value(h.read_ini(), "Message", "Msg_ID1"), "1", "Msg_ID1 after the hint command")
