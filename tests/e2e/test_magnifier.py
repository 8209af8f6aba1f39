"""The magnifier window: shape, sampling, cut-out, display modes, nudging, close."""
import os
import re
import subprocess
import time

from harness import HarnessError, Image, wait_until

SCREEN_W, SCREEN_H = 1280, 1024
WIN_W, WIN_H = 177, 233
# Where the window opens without settings: centred on the screen.
WIN_X, WIN_Y = (SCREEN_W - WIN_W) // 2, (SCREEN_H - WIN_H) // 2
VIEW_X, VIEW_Y = 12, 49  # top-left of the 150 × 150 view inside the window

NO_HINT_INI = "[Message]\nMsg_ID1=1\n"


def start(h, ini=NO_HINT_INI):
    if ini is not None:
        h.write_ini(ini)
    h.start()
    x, y, w, ht = h.main_geometry()
    return x, y


def assert_eq(a, b, what):
    if a != b:
        raise HarnessError(f"{what}: expected {b!r}, got {a!r}")


def scenario_appears_and_samples(h):  # also-i686
    # A picture with two known colours away from the window.
    h.show_picture(100, 100, 80, 80, lambda x, y: (12, 34, 56) if x < 40 else (255, 0, 0))
    x, y = start(h)
    assert_eq((x, y), (WIN_X, WIN_Y), "window position without settings")
    assert_eq(h.main_geometry()[2:], (WIN_W, WIN_H), "window size")
    h.move_pointer(115, 130, settle=0.6)
    h.wait_title(r"^rgb\(12,34,56\)$")
    shot = h.screenshot()
    # Rounded corners are cut away: the top-left corner pixel is not ours.
    assert_eq(shot.pixel(x, y), (0, 0, 0), "corner outside the rounded shape")
    # The view shows the colour enlarged: a cell away from the marks.
    assert_eq(shot.pixel(x + VIEW_X + 25, y + VIEW_Y + 25), (12, 34, 56), "view colour")
    # Marks are drawn in the inverse colour across the centre row.
    assert_eq(shot.pixel(x + VIEW_X + 25, y + VIEW_Y + 70), (243, 221, 199), "mark colour")
    # The right star takes the picked colour.
    star = shot.count((12, 34, 56), x + 151, y + 4, x + 168, y + 21)
    if star < 5:
        raise HarnessError(f"right star does not show the picked colour ({star} pixels)")
    h.save_screenshot("sampled")
    h.save_screenshot("window", window=h.main)
    # Over the red half: red enlarged, title follows.
    h.move_pointer(160, 130, settle=0.6)
    h.wait_title(r"^rgb\(255,0,0\)$")
    shot = h.screenshot()
    assert_eq(shot.pixel(x + VIEW_X + 25, y + VIEW_Y + 25), (255, 0, 0), "view colour after moving")
    assert_eq(shot.pixel(x + VIEW_X + 25, y + VIEW_Y + 70), (0, 255, 255), "cyan marks over red")


def scenario_hexadecimal_format_from_menu(h):
    h.show_picture(100, 100, 40, 40, lambda x, y: (12, 34, 56))
    start(h)
    h.move_pointer(120, 120)
    h.wait_title(r"^rgb\(12,34,56\)$")
    # 表示(&V) ▸ 色の16進数表示(&6)
    h.choose_from_star_menu(1, "v", "6")
    h.move_pointer(121, 121)
    h.wait_title(r"^#0C2238$")


def scenario_view_cut_out_over_window(h):
    # A picture behind the whole window, so the cut-out shows it.
    h.show_picture(WIN_X - 50, WIN_Y - 50, WIN_W + 100, WIN_H + 100, lambda x, y: (0, 200, 90))
    x, y = start(h)
    h.move_pointer(50, 50)
    h.wait_title(r"^rgb\(0,0,0\)$")
    inside = (x + 80, y + 120)
    shot = h.screenshot()
    if shot.pixel(*inside) == (0, 200, 90):
        raise HarnessError("view area is see-through before the pointer is over it")
    h.move_pointer(x + 88, y + 215, settle=0.6)  # over the list strip: still the window
    h.wait_title(r"^Hueloom$")
    shot = h.screenshot()
    assert_eq(shot.pixel(*inside), (0, 200, 90), "view area cut out while the pointer is over the window")
    # The right star turns blue.
    if shot.count((0, 0, 255), x + 151, y + 4, x + 168, y + 21) < 5:
        raise HarnessError("right star is not blue over the window")
    h.save_screenshot("cut-out")
    # Moving inside the cut-out changes nothing.
    h.move_pointer(x + 80, y + 120, settle=0.6)
    assert_eq(h.screenshot().pixel(*inside), (0, 200, 90), "cut-out while inside it")
    # Leaving restores the full shape and sampling.
    h.move_pointer(20, 20, settle=0.6)
    h.wait_title(r"^rgb\(0,0,0\)$")
    if h.screenshot().pixel(*inside) == (0, 200, 90):
        raise HarnessError("view area still cut out after leaving the window")


def scenario_double_click_cycles_shapes(h):
    # Nothing lies under the window but the black root, so clicks that pass
    # through a cut-out reach no other program; the pointer rests over green,
    # which the view then shows.
    h.show_picture(0, 0, 100, 100, lambda x, y: (0, 200, 90))
    x, y = start(h)
    h.move_pointer(30, 30)
    in_view = (x + 80, y + 120)   # inside the view frame
    in_label = (x + 20, y + 34)   # on the value label, below the strip

    def shown(pt):
        return h.screenshot().pixel(*pt) != (0, 0, 0)

    def double_click(px, py):
        h.click(px, py, repeat=2, settle=0.5)
        h.move_pointer(30, 30 + int(time.monotonic() * 10) % 50, settle=0.3)

    def expect(view, label, strip, what):
        wait_until(lambda: (shown(in_view), shown(in_label), shown((x + 60, y + 12))) == (view, label, strip),
                   8, 0.3, what)

    # A double-click on the label does not change the display.
    double_click(*in_label)
    time.sleep(0.5)
    expect(True, True, True, "normal display after a double-click below the strip")
    double_click(x + 60, y + 12)
    expect(False, True, True, "bar 1 (strip and label) after the first double-click")
    h.save_screenshot("bar1")
    double_click(x + 60, y + 12)
    expect(False, False, True, "bar 2 (the strip only) after the second double-click")
    h.save_screenshot("bar2")
    double_click(x + 60, y + 12)
    expect(True, True, True, "normal display after the third double-click")


def scenario_arrow_keys_nudge_pointer(h):
    x, y = start(h)
    h.focus_main()
    px, py = h.pointer()
    h.key("Right")
    assert_eq(h.pointer(), (px + 1, py), "Right moves 1 pixel")
    h.key("shift+Right")
    assert_eq(h.pointer(), (px + 11, py), "Shift+Right moves 10 pixels")
    h.key("shift+Down")
    h.key("Up")
    assert_eq(h.pointer(), (px + 11, py + 9), "Shift+Down then Up")
    h.key("Left")
    assert_eq(h.pointer(), (px + 10, py + 9), "Left moves 1 pixel back")


def scenario_close_removes_undo_snapshot(h):
    undo = os.path.join(h.dir, "Undo.tmp")
    with open(undo, "wb") as f:
        f.write(b"BM" + b"\0" * 60)
    start(h)
    h.close_program()
    if os.path.exists(undo):
        raise HarnessError("Undo.tmp is still there after closing")


def frame_colour(h, x, y):
    """The outline's colour on the window's left edge."""
    raw = subprocess.run(["import", "-display", h.display, "-window", "root", "-crop", f"1x1+{x + 1}+{y + WIN_H // 2}",
                          "-depth", "8", "ppm:-"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30,
                         check=True).stdout
    return Image.from_ppm(raw).pixel(0, 0)


def scenario_frame_blinks_at_start_and_a_lower_case_colour_mode_is_kept(h):
    h.show_picture(100, 100, 40, 40, lambda x, y: (12, 34, 56))
    h.write_ini(NO_HINT_INI + "[Display]\nColorMode=decimal\nActiveColor=clRed\nDeactiveColor=clLime\n")
    h.start(settle=0)
    x, y, _, _ = h.main_geometry()
    seen, end = set(), time.monotonic() + 2.0
    while time.monotonic() < end:
        seen.add(frame_colour(h, x, y))
    if not {(255, 0, 0), (0, 255, 0)} <= seen:
        raise HarnessError(f"the frame did not blink in the active and inactive colours: {seen}")
    time.sleep(1.5)  # the blink is over: it ends in the active colour
    for _ in range(4):
        assert_eq(frame_colour(h, x, y), (255, 0, 0), "the frame after the blink")
        time.sleep(0.25)
    # "decimal" is neither format: the value label stays empty.
    h.move_pointer(120, 120, settle=1.0)
    shot = h.screenshot()
    label = shot.region_colours(x + 10, y + 25, x + 164, y + 43)
    assert_eq(len(label), 1, "colours in the value label")
    h.close_program()
    if not re.search(r"^ColorMode=decimal\r?$", h.read_ini(), re.M):
        raise HarnessError("ColorMode=decimal was not kept")
