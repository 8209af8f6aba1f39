"""Screen capture into the image layout, the filters with their progress
window, and the one-level undo through Undo.tmp."""
import os
import time

from harness import HarnessError, wait_until
from test_magnifier import assert_eq

INI = "[Message]\nMsg_ID1=1\nMsg_ID2=1\n[Capture]\nSleepTime=300\n"
COLOUR = (12, 34, 56)


def count_in_main(h, colour):
    x, y, w, ht = h.main_geometry()
    return h.screenshot().count(colour, x, y, x + w, y + ht)


def capture_screen(h):
    # ツール(&T) ▸ スクリーン・キャプチャ(&S)
    h.choose_from_star_menu(1, "t", "s")
    h.wait_title("^スクリーン・キャプチャ$", timeout=15)
    time.sleep(0.8)


def image_menu(h, key):
    h.key("alt+e", settle=0.5)
    h.key(key, settle=0.3)


def expect_colour(h, colour, what, least=3000):
    wait_until(lambda: count_in_main(h, colour) >= least, 15, 0.5, what)


def band_colours(h):
    """Distinct colours of the 40-row band shown right above the plain area."""
    x, y, w, ht = h.main_geometry()
    shot = h.screenshot()
    plain = [(px, py) for py in range(y, y + ht) for px in range(x, x + w) if shot.pixel(px, py) == COLOUR]
    if not plain:
        raise HarnessError("the plain part of the picture is not in the window")
    left, right, top = min(p[0] for p in plain), max(p[0] for p in plain) + 1, min(p[1] for p in plain)
    return len(shot.region_colours(left, max(y, top - 40), right, top))


def scenario_screen_capture_filters_and_undo(h):
    # A band of thousands of colours above a plain area, so the reduction
    # to 256 colours shows.
    h.show_picture(0, 0, 400, 400, lambda x, y: (x % 256, y * 6, 200) if y < 40 else COLOUR)
    h.write_ini(INI)
    h.start()
    undo = os.path.join(h.dir, "Undo.tmp")
    capture_screen(h)
    # The image layout shows the top-left corner of the capture: the picture.
    expect_colour(h, COLOUR, "the captured picture in the main window")
    h.save_screenshot("captured")
    if os.path.exists(undo):
        raise HarnessError("a capture must not leave an undo snapshot")
    image_menu(h, "r")  # 反転(&R)
    expect_colour(h, (243, 221, 199), "the inverted picture")
    if not os.path.exists(undo):
        raise HarnessError("invert did not write Undo.tmp")
    h.key("ctrl+z", settle=0.8)
    expect_colour(h, COLOUR, "the picture back after undo")
    if os.path.exists(undo):
        raise HarnessError("undo did not remove Undo.tmp")
    image_menu(h, "g")  # グレースケール(&G): (12,34,56) shows grey 30
    expect_colour(h, (30, 30, 30), "the grey picture")
    h.save_screenshot("grey")
    h.key("ctrl+z", settle=0.8)
    expect_colour(h, COLOUR, "the picture back after undoing grayscale")
    # 256色に減色: its caption loses "(&S)" once the menu has opened, so
    # reach it with the arrow key (the first item is highlighted on opening).
    before = band_colours(h)
    image_menu(h, "Down")
    h.key("Return", settle=0.3)
    time.sleep(1.0)
    expect_colour(h, COLOUR, "the picture after the reduction")
    after = band_colours(h)
    if before < 1000 or after > 256:
        raise HarnessError(f"{before} colours in the window before the reduction, {after} after")
    if not os.path.exists(undo):
        raise HarnessError("the reduction did not write Undo.tmp")
    # Back to the magnifier: 表示(&V) ▸ 拡大鏡モード(&K).
    h.key("alt+v", settle=0.5)
    h.key("k", settle=1.0)
    wait_until(lambda: h.main_geometry()[2:] == (177, 233), 10, 0.3, "the magnifier layout again")
    h.move_pointer(50, 50)
    h.wait_title(r"^rgb\(12,34,56\)$")
    # Ctrl+Z under the running magnifier neither loads the snapshot out of
    # sight nor uses it up.
    h.key("ctrl+z", settle=0.8)
    if not os.path.exists(undo):
        raise HarnessError("Ctrl+Z in the magnifier used up the undo snapshot")
    assert_eq(h.main_geometry()[2:], (177, 233), "the magnifier layout after Ctrl+Z")
    h.move_pointer(60, 60)
    h.wait_title(r"^rgb\(12,34,56\)$")
    h.close_program()
    if os.path.exists(undo):
        raise HarnessError("closing did not remove Undo.tmp")


def scenario_shift_click_stamps_cursor_and_undo_removes_it(h):
    h.show_picture(0, 0, 400, 400, lambda x, y: COLOUR)
    # CaptureCursor 9 is crDrag, one of our own monochrome cursors.
    h.write_ini(INI + "CaptureCursor=9\n")
    h.start()
    undo = os.path.join(h.dir, "Undo.tmp")
    capture_screen(h)
    expect_colour(h, COLOUR, "the captured picture")
    x, y, w, ht = h.main_geometry()
    cx, cy = x + 50, y + ht // 2

    def inked():
        shot = h.screenshot()
        return shot.count((0, 0, 0), cx - 5, cy - 5, cx + 40, cy + 40)

    assert_eq(inked(), 0, "black pixels before stamping")
    h.click(cx, cy, settle=0.6)  # a plain click stamps nothing
    assert_eq(inked(), 0, "black pixels after a plain click")
    if os.path.exists(undo):
        raise HarnessError("a plain click wrote an undo snapshot")
    h.x("xdotool", "mousemove", str(cx), str(cy))
    h.x("xdotool", "keydown", "--window", h.main, "shift")
    h.x("xdotool", "click", "3")  # any button stamps
    h.x("xdotool", "keyup", "--window", h.main, "shift")
    h.move_pointer(cx + 200, cy, settle=0.3)
    wait_until(lambda: inked() > 40, 10, 0.4, "the stamped cursor in the image")
    shot = h.screenshot()
    # The hot spot (0, 0) of the arrow lands on the clicked pixel.
    assert_eq(shot.pixel(cx, cy), (0, 0, 0), "the cursor's tip at the clicked pixel")
    h.save_screenshot("stamped")
    if not os.path.exists(undo):
        raise HarnessError("stamping did not write Undo.tmp")
    h.key("ctrl+z", settle=0.8)
    wait_until(lambda: inked() == 0, 10, 0.4, "the image without the stamp after undo")
