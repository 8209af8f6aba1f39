"""Two monitors side by side, the primary one on the left: the magnifier
reads the second monitor exactly, the rectangle capture freezes both and cuts
exactly across the border between them, and a window position on the second
monitor is kept from one run to the next. The second monitor has a colour
profile of its own (the settings file's): a cut across the border is
converted to sRGB there, the content's values are shown on request."""
import time

from harness import HarnessError, two_monitors, wait_until
from test_capture import image_menu
from test_colour import ICC, near, require_witnesses, transicc, value_at
from test_export import clipboard_bitmap, clipboard_targets
from test_magnifier import VIEW_X, VIEW_Y, assert_eq
from test_rectcapture import DONE, OVERLAY, drag, remove_picture, start_rect_capture, wait_overlay

PICTURE = (1280, 100, 320, 240)  # x, y, width, height: on the second monitor, at its left edge
WINDOW = (1800, 500)  # where the last run left the main window, on the second monitor
CUT = (1240, 150, 1340, 250)  # left, top, right, bottom: 40 columns on the primary, 60 on the second
INI = "[Window]\nLeft={}\nTop={}\n[Message]\nMsg_ID1=1\nMsg_ID2=1\nMsg_ID5=1\n[Capture]\nSleepTime=300\n"
# The second monitor's profile; the screen's own values shown at first.
PROFILE = ICC + "colord/ProPhotoRGB.icc"
COLOURS = "[ColorManagement]\nProfile2=Z:" + PROFILE.replace("/", "\\") + "\nScreenValues=1\n"


def picture_colour(x, y):
    """The picture's pixel (x, y): no two pixels alike."""
    return (x % 256, y % 256, 64 + 16 * (x // 256) + y // 256)


def find_picture(shot):
    """The screen position of the picture's first pixel (inside the frame
    that the window may have), as X shows it."""
    for y in range(PICTURE[1], PICTURE[1] + 8):
        for x in range(PICTURE[0], PICTURE[0] + 8):
            if all(shot.pixel(x + d, y + d) == picture_colour(d, d) for d in range(3)):
                return x, y
    raise HarnessError("X does not show the picture on the second monitor")


@two_monitors
def scenario_second_monitor_sampled_cut_across_the_border_and_position_kept(h):
    h.show_picture(*PICTURE, picture_colour)
    shot = h.screenshot()
    assert_eq((shot.width, shot.height), (2560, 1024), "the X screen of the two monitors")
    ox, oy = find_picture(shot)

    def on_screen(x, y):
        return picture_colour(x - ox, y - oy)

    require_witnesses()
    h.write_ini(INI.format(*WINDOW) + COLOURS)
    h.start()
    # Read from the settings file and kept: on one screen it would be moved back to 1280 - 177.
    assert_eq(h.main_geometry()[:2], WINDOW, "the window position on the second monitor")

    # The magnifier: the pixel under the pointer, and the 15 x 15 around it ten times enlarged.
    px, py = ox + 37, oy + 61
    h.move_pointer(px, py, settle=0.6)
    h.wait_title(r"^rgb\({},{},{}\)$".format(*on_screen(px, py)))
    shot = h.screenshot()
    wx, wy = WINDOW
    for i, j in ((2, 2), (12, 3), (4, 13), (13, 12)):
        got = shot.pixel(wx + VIEW_X + 10 * i + 5, wy + VIEW_Y + 10 * j + 5)
        assert_eq(got, on_screen(px - 7 + i, py - 7 + j), f"view cell ({i}, {j})")

    # The witness of what lies under the cut: X's own picture of the screen.
    left, top, right, bottom = CUT
    expected = h.screenshot().crop(left, top, right - left, bottom - top)
    for y in range(expected.height):
        for x in range(ox - left, expected.width):
            if expected.pixel(x, y) != on_screen(left + x, top + y):
                raise HarnessError(f"X does not show the picture at ({left + x}, {top + y})")

    start_rect_capture(h)
    overlay = wait_overlay(h)
    assert_eq(h.window_geometry(overlay), (0, 0, 2560, 1024), "the overlay covers both monitors")
    remove_picture(h)  # from now on only the frozen copy shows it
    frozen = h.screenshot()
    assert_eq(frozen.pixel(1500, 300), on_screen(1500, 300), "the frozen copy of the second monitor")
    drag(h, left, top, right, bottom)
    h.key("Return", window=overlay, settle=0.5)
    wait_until(lambda: h.find_window(OVERLAY) is None, 10, 0.2, "the overlay to close")
    h.wait_title(DONE, timeout=15)
    time.sleep(0.8)

    # The cut-out, copied to the clipboard, as ImageMagick reads it: the
    # primary monitor's part as it was, the second's converted from its
    # profile to sRGB (as transicc converts it).
    border = 1280 - left
    content = transicc([expected.pixel(x, y) for y in range(expected.height) for x in range(border, expected.width)],
                       PROFILE, "*sRGB")

    def want(x, y):
        return expected.pixel(x, y) if x < border else content[y * (expected.width - border) + x - border]

    image_menu(h, "b")  # コピー・BMP(&B)
    types = wait_until(lambda: [t for t in clipboard_targets(h) if t in ("image/png", "image/bmp")], 10, 0.3,
                       "a picture on the X clipboard")
    cut = clipboard_bitmap(h, types[0])
    if not cut:
        raise HarnessError("ImageMagick cannot read the cut-out from the clipboard")
    assert_eq((cut.width, cut.height), (right - left, bottom - top), "the cut-out's size")
    wrong = [(x, y) for y in range(cut.height) for x in range(cut.width)
             if not near(cut.pixel(x, y), want(x, y), 0 if x < border else 1)]
    if wrong:
        x, y = wrong[0]
        raise HarnessError(f"{len(wrong)} of {cut.width * cut.height} pixels differ from the screen, the first at "
                           f"({left + x}, {top + y}): {cut.pixel(x, y)} instead of {want(x, y)}")

    # Back to the magnifier, closed where it opened: the next run opens there again.
    h.key("alt+v", settle=0.5)
    h.key("k", settle=1.0)
    h.move_pointer(1500, 700)
    h.wait_title(r"^rgb\(0,0,0\)$")  # sampling the bare second monitor
    # 表示 ▸ 画面の値を表示 unticked: the content's value of a picture pixel.
    h.choose_from_star_menu(1, "v", "w")
    h.show_picture(*PICTURE, picture_colour)
    want = transicc([on_screen(px, py)], PROFILE, "*sRGB")[0]
    got = value_at(h, px, py, ((0, 0, 0), False))
    if not near(got[0], want, 1):
        raise HarnessError(f"the content's value on the second monitor: {got}, expected {want}")
    h.close_program()
    ini = h.read_ini()
    for key, value in zip(("Left", "Top"), WINDOW):
        if f"{key}={value}\r\n" not in ini:
            raise HarnessError(f"{key}={value} was not written back: {ini[:80]!r}")
