"""The colour sample window: opened from the magnifier's menu, it reads colours
from its chart, copies a clicked colour like the copy hot key, can be dragged by
its background, and hands the magnifier back when it closes.

These run once the window is wired into the main window's menu; until then
they are named pending_scenario_* so that the test registration skips them."""
import os
import time

from harness import HarnessError, wait_until
from test_magnifier import assert_eq, start
from test_picking import pick_at, save_memo

COPY_TITLE = "Color Sample（クリックすれば色をコピーします）"
CHART_X, CHART_Y = 24, 32      # the chart inside the window
CLOSE_X, CLOSE_Y = 352 + 32, 136 + 12  # middle of 閉じる
NAVY = (0, 0, 128)


def open_sample_window(h):
    """表示(&V) ▸ カラー・サンプルの表示(&S) from the left star's menu."""
    h.choose_from_star_menu(1, "v", "s")
    return wait_until(lambda: h.find_window("^Color Sample"), 10, 0.2, "colour sample window")


def chart_point(win, cx, cy):
    return win[0] + CHART_X + cx, win[1] + CHART_Y + cy


def scenario_click_copies_the_colour_as_the_next_entry(h):
    h.show_picture(100, 100, 80, 40, lambda x, y: (12, 34, 56) if x < 40 else (255, 255, 255))
    start(h)
    h.focus_main()
    pick_at(h, 110, 120, r"^rgb\(12,34,56\)$")
    pick_at(h, 160, 120, r"^rgb\(255,255,255\)$")
    wid = open_sample_window(h)
    assert_eq(h.window_name(wid), COPY_TITLE, "caption in copy mode")
    win = h.window_geometry(wid)
    main = h.main_geometry()
    assert_eq(win[:2], main[:2], "opens at the main window's top-left")
    h.save_screenshot("window", window=wid)
    assert_eq(win[2:], (439, 182), "window size")

    # Hover over cell (1, 1): the title follows the chart, not the screen.
    h.move_pointer(*chart_point(win, 15, 15), settle=0.6)
    h.wait_title(r"^rgb\(153,255,255\)$")
    shot = h.screenshot()
    assert_eq(shot.pixel(win[0] + 20, win[1] + 140), (153, 255, 255), "read-out in the colour")
    # A grid line keeps the value.
    h.move_pointer(*chart_point(win, 19, 15), settle=0.5)
    h.wait_title(r"^rgb\(153,255,255\)$")

    h.click(*chart_point(win, 15, 15), settle=0.6)
    wait_until(lambda: h.clipboard() == "rgb(153,255,255)", 5, 0.2, "clipboard rgb(153,255,255)")

    # 閉じる: the window goes and the magnifier samples again.
    h.click(win[0] + CLOSE_X, win[1] + CLOSE_Y, settle=0.8)
    wait_until(lambda: not h.find_window("^Color Sample"), 10, 0.2, "colour sample window closed")
    h.move_pointer(115, 120, settle=0.6)
    h.wait_title(r"^rgb\(12,34,56\)$")

    memo = os.path.join(h.dir, "memo.txt")
    save_memo(h, "memo.txt")
    wait_until(lambda: os.path.exists(memo), 10, 0.2, "memo file")
    with open(memo, "rb") as f:
        assert_eq(f.read(), b"C1: rgb(12,34,56)\r\nC2: rgb(255,255,255)\r\nC3: rgb(153,255,255)\r\n",
                  "memo with the chart colour as the third entry")


def scenario_hexadecimal_display_and_background_drag(h):
    start(h)
    h.focus_main()
    h.choose_from_star_menu(1, "v", "6")  # 色の16進数表示
    wid = open_sample_window(h)
    win = h.window_geometry(wid)
    h.move_pointer(*chart_point(win, 165, 45), settle=0.6)
    h.wait_title(r"^#FF0000$")
    shot = h.screenshot()
    assert_eq(shot.pixel(win[0] + 20, win[1] + 140), (255, 0, 0), "read-out in red")

    # Back on the background: the read-out empties (navy shows through).
    h.move_pointer(win[0] + 430, win[1] + 100, settle=0.6)
    shot = h.screenshot()
    assert_eq(shot.pixel(win[0] + 20, win[1] + 140), NAVY, "read-out emptied off the chart")

    # Dragging the background moves the window.
    h.x("xdotool", "mousedown", "1")
    for step in range(1, 6):
        h.move_pointer(win[0] + 430 + 10 * step, win[1] + 100 + 12 * step, settle=0.1)
    h.x("xdotool", "mouseup", "1")
    time.sleep(0.5)
    moved = h.window_geometry(wid)
    if (moved[0] - win[0], moved[1] - win[1]) != (50, 60):
        raise HarnessError(f"dragged by (50, 60) but moved to {moved[:2]} from {win[:2]}")

    # Closing with Enter (閉じる is the default button).
    h.key("Return", window=wid, settle=0.8)
    wait_until(lambda: not h.find_window("^Color Sample"), 10, 0.2, "colour sample window closed")
