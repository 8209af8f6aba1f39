"""Display scaling: the program at 96 dpi and at 144 dpi (150 %), set for
this session only through Wine's LogPixels.

At 144 dpi every window is 1.5 times its size (lengths rounded halves away
from zero), its texts are drawn in fonts 1.5 times as high and still lie
inside their controls, and the magnifier still shows the 15 × 15 physical
screen pixels around the pointer, each as a solid 15 × 15 block of its exact
colour (a cell is the scaled 150-pixel view div 15): nothing is smoothed.
The 96-dpi run also sends the main window the message of a move to a 150 %
monitor (WM_DPICHANGED, tests/e2e/dpi_changed.c) and sees it lay itself out
at 144 dpi. Screenshots of the main window and the options dialog at both
scalings are kept in the artifacts folder ("…-main-96dpi.png",
"…-options-144dpi.png", "…-main-moved-to-144dpi.png").
"""
import os
import time

from harness import HarnessError, log, wait_until
from test_magnifier import assert_eq

SCREEN_W, SCREEN_H = 1280, 1024
NO_HINT = "[Message]\nMsg_ID1=1\n"
PICTURE_AT = 100  # a 31 × 31 picture of distinct colours near (100, 100)


def picture_colour(x, y):
    """Colour of the test picture's pixel (x, y): every pixel its own."""
    return (40 + 6 * x, 40 + 6 * y, 77)


def scale(v, dpi):
    """The program's rounding rule: v × dpi / 96, halves away from zero."""
    return (v * dpi + 48) // 96


def ink_box(shot, x0, y0, x1, y1, background):
    """Bounding box [x0, x1) × [y0, y1) of the pixels that are not the
    background, or None."""
    box = None
    for y in range(y0, y1):
        for x in range(x0, x1):
            if shot.pixel(x, y) != background:
                box = (x, y, x + 1, y + 1) if box is None else (min(box[0], x), min(box[1], y), max(box[2], x + 1),
                                                                 max(box[3], y + 1))
    return box


def text_inside(shot, rect, background, what, margin=1):
    """Finds the text drawn in a control and checks that it is whole: its
    ink keeps `margin` pixels from every edge of the control (a font too
    large for it would be cut at an edge). Returns the ink's size."""
    x0, y0, x1, y1 = rect
    box = ink_box(shot, x0, y0, x1, y1, background)
    if box is None:
        raise HarnessError(f"{what}: no text in {rect}")
    if box[0] < x0 + margin or box[1] < y0 + margin or box[2] > x1 - margin or box[3] > y1 - margin:
        raise HarnessError(f"{what}: the text {box} touches the edge of its control {rect}")
    return box[2] - box[0], box[3] - box[1]


def grown(a, b, what):
    """b is about 1.5 times a (fonts scale; glyphs round to whole pixels)."""
    if not (1.3 * a <= b <= 1.7 * a):
        raise HarnessError(f"{what}: {b} at 144 dpi is not about 1.5 times {a} at 96 dpi")


def open_window(h, title, *keys):
    h.choose_from_star_menu(1, *keys)
    wid = wait_until(lambda: h.find_window(title), 15, 0.2, f"window {title!r}")
    time.sleep(0.5)
    return wid, h.window_geometry(wid)


def locate_picture(h):
    """Where the picture's first pixel really is (the viewer may add a border)."""
    shot = h.screenshot()
    for y in range(PICTURE_AT, PICTURE_AT + 8):
        for x in range(PICTURE_AT, PICTURE_AT + 8):
            if shot.pixel(x, y) == picture_colour(0, 0):
                return x, y
    raise HarnessError("the test picture is not on the screen")


def check_view(shot, wx, wy):
    """At 144 dpi: the 15 × 15 screen pixels around the pointer, each a
    15 × 15 block of its exact colour; the marks (the view's outline, the
    centre row and column) are the only other pixels."""
    cell, size = 15, 225
    first = picture_colour(15 - 7, 15 - 7)  # the pointer is on the picture's pixel (15, 15)
    # The view lies at the top left of its frame's client area (inside the
    # frame's sunken edge, whatever its width): find its first block.
    frame_x, frame_y = wx + scale(10, 144), wy + scale(47, 144)
    edge = next((e for e in range(6) if shot.pixel(frame_x + e + 1, frame_y + e + 1) == first), None)
    if edge is None:
        raise HarnessError(f"the view's first block {first} is not at the top left of the view frame")
    vx, vy = frame_x + edge, frame_y + edge
    marks = {0, size - 1, 7 * cell, 8 * cell - 1}
    for j in range(15):
        for i in range(15):
            want = picture_colour(15 - 7 + i, 15 - 7 + j)
            for y in range(j * cell, (j + 1) * cell):
                if y in marks:
                    continue
                for x in range(i * cell, (i + 1) * cell):
                    if x not in marks and shot.pixel(vx + x, vy + y) != want:
                        raise HarnessError(f"view pixel ({x}, {y}) of block ({i}, {j}): expected {want}, "
                                           f"got {shot.pixel(vx + x, vy + y)}")
    # The marks in the inverse of the colour under the pointer.
    centre = picture_colour(15, 15)
    assert_eq(shot.pixel(vx + 3, vy + 7 * cell), tuple(255 - c for c in centre), "mark across the centre row")


def visit(h, dpi, origin):
    """Starts the program at `dpi`, checks and photographs its windows, and
    returns what the 96-dpi run is compared with."""
    s = lambda v: scale(v, dpi)  # noqa: E731
    seen = {}
    if dpi != 96:
        h.set_dpi(dpi)
    h.write_ini(NO_HINT)
    h.start()
    x, y, w, ht = h.main_geometry()
    assert_eq((w, ht), (s(177), s(233)), f"main window size at {dpi} dpi")
    assert_eq((x, y), ((SCREEN_W - w) // 2, (SCREEN_H - ht) // 2), f"main window centred at {dpi} dpi")
    h.move_pointer(origin[0] + 15, origin[1] + 15, settle=0.6)
    h.wait_title(r"^rgb\(130,130,77\)$")
    time.sleep(0.3)
    shot = h.screenshot()
    h.save_screenshot(f"main-{dpi}dpi", window=h.main)
    # The value label: white, the value in black inside it.
    label = (x + s(10), y + s(25), x + s(164), y + s(43))
    assert_eq(shot.pixel(label[0] + 1, label[1] + 1), (255, 255, 255), f"value label background at {dpi} dpi")
    seen["value"] = text_inside(shot, label, (255, 255, 255), f"value text at {dpi} dpi")
    if dpi == 144:
        check_view(shot, x, y)
    # The right star, found where the scaled layout puts it: the picked colour.
    star = shot.count((130, 130, 77), x + s(151), y + s(4), x + s(168), y + s(21))
    if star < 5 * dpi // 96:
        raise HarnessError(f"the right star does not show the picked colour at {dpi} dpi ({star} pixels)")

    # The options dialog: its title in dark red over the first page's colour.
    wid, (dx, dy, dw, dh) = open_window(h, r"^オプション設定$", "t", "o")
    assert_eq((dw, dh), (s(406), s(320)), f"options dialog size at {dpi} dpi")
    shot = h.screenshot()
    h.save_screenshot(f"options-{dpi}dpi", window=wid)
    seen["options title"] = text_inside(shot, (dx + s(40), dy + s(19), dx + s(201), dy + s(41)), (204, 255, 255),
                                        f"options title at {dpi} dpi", margin=0)
    assert_eq(shot.pixel(dx + 1, dy + dh // 2), (0, 255, 255), f"options frame at {dpi} dpi")
    h.click(dx + s(352), dy + s(26), settle=0.6)  # its "X" button
    wait_until(lambda: h.find_window(r"^オプション設定$") is None, 10, 0.2, "the options dialog to close")

    # The hint box sizes itself to its text in the scaled font.
    wid, (bx, by, bw, bh) = open_window(h, r"^ヒント$", "h", "i")
    seen["hint box"] = (bw, bh)
    shot = h.screenshot()
    ok_top = by + bh - s(35)  # the "OK" button, the lowest control
    _, text_h = text_inside(shot, (bx + s(4), by + s(34) - s(4), bx + bw - s(4), ok_top - s(30)),
                                 shot.pixel(bx + s(5), by + s(34) - s(3)), f"hint text at {dpi} dpi")
    if text_h < 19 * s(13):
        raise HarnessError(f"the hint's 19 + 7 lines are {text_h} pixels high at {dpi} dpi")
    h.click(bx + bw // 2, ok_top + s(12), settle=0.6)
    wait_until(lambda: h.find_window(r"^ヒント$") is None, 10, 0.2, "the hint box to close")

    if dpi == 96:
        # Dragged onto a 150 % monitor, the window hears WM_DPICHANGED and lays
        # itself out at 144 dpi where the system suggests, view and all.
        helper = h.start_wine(os.path.join(h.bin, "dpi_changed.exe"), "144")
        if helper.wait(30) != 0:
            raise HarnessError("dpi_changed.exe did not find the main window")
        wait_until(lambda: h.main_geometry() == (x, y, scale(177, 144), scale(233, 144)), 10, 0.2,
                   "the main window laid out for 144 dpi at its place")
        h.move_pointer(origin[0] + 15, origin[1] + 15, settle=0.3)
        h.wait_title(r"^rgb\(130,130,77\)$")
        time.sleep(0.3)
        shot = h.screenshot()
        h.save_screenshot("main-moved-to-144dpi", window=h.main)
        check_view(shot, x, y)
        text_inside(shot, (x + scale(10, 144), y + scale(25, 144), x + scale(164, 144), y + scale(43, 144)),
                    (255, 255, 255), "value text after the move")

    if dpi == 144:
        # The colour sample window: the chart's cells are whole 15 × 15 squares.
        wid, (cx, cy, cw, ch) = open_window(h, r"^Color Sample", "v", "s")
        assert_eq((cw, ch), (s(439), s(182)), "colour sample window size at 144 dpi")
        shot = h.screenshot()
        h.save_screenshot("colorsample-144dpi", window=wid)
        chart_x, chart_y, cell = cx + s(24), cy + s(32), 15
        inner = shot.region_colours(chart_x + 3 * cell + 1, chart_y + 2 * cell + 1, chart_x + 4 * cell - 1,
                                    chart_y + 3 * cell - 1)
        if len(inner) != 1:
            raise HarnessError(f"a chart cell is not one colour at 144 dpi: {inner}")
        assert_eq(shot.pixel(chart_x + 4 * cell - 1, chart_y + 2 * cell + 5), (0, 0, 0), "grid line after a cell")
        h.click(cx + s(352) + s(65) // 2, cy + s(136) + s(25) // 2, settle=0.6)  # 閉じる
        wait_until(lambda: h.find_window(r"^Color Sample") is None, 10, 0.2, "the colour sample window to close")
        # The about window: the wheel drawn afresh at 548 × 546, the program's
        # name in red on the card.
        wid, (ax, ay, aw, ah) = open_window(h, r"^バージョン情報$", "h", "v")
        assert_eq((aw, ah), (s(365), s(364)), "about window size at 144 dpi")
        shot = h.screenshot()
        h.save_screenshot("about-144dpi", window=wid)
        card = (ax + s(93), ay + s(129), ax + s(273), ay + s(235))
        red = shot.count((255, 0, 0), *card)
        outside = shot.count((255, 0, 0), ax + s(93), ay + s(235), ax + s(273), ay + s(250))
        if red < 150 or outside:
            raise HarnessError(f"the program's name is not on the card ({red} red pixels, {outside} below)")
        assert_eq(shot.pixel(ax + s(182), ay + s(20)), (255, 0, 255), "top of the wheel at 144 dpi")
        assert_eq(shot.pixel(ax + 1, ay + 1), (0, 0, 0), "the about window's corner is cut away")
        # Last: the session ends the program while the about window is open.
        return seen

    h.close_program()
    return seen


def scenario_windows_and_texts_scale_and_the_view_keeps_screen_pixels(h):
    h.show_picture(PICTURE_AT, PICTURE_AT, 31, 31, picture_colour)
    origin = locate_picture(h)
    at96 = visit(h, 96, origin)
    at144 = visit(h, 144, origin)
    for what in ("value", "options title"):
        grown(at96[what][0], at144[what][0], f"width of the {what} text")
        grown(at96[what][1], at144[what][1], f"height of the {what} text")
    grown(at96["hint box"][0], at144["hint box"][0], "hint box width")
    grown(at96["hint box"][1], at144["hint box"][1], "hint box height")
    log(f"measured at 96 / 144 dpi (width x height): {at96} / {at144}")
