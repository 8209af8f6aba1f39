"""The options dialog "オプション設定": opened on the page of the menu command
used, framed in the active colour, every edit taken over when it closes.

The dialog is a 406 × 320 window centred on the screen; its pages start
below the tab row of the page control at (3, 50). Ctrl+Tab steps to the
next page.
"""
import re
import time

from harness import HarnessError, wait_until
from test_magnifier import assert_eq

SCREEN_W, SCREEN_H = 1280, 1024
DLG_W, DLG_H = 406, 320
DIALOG = r"^オプション設定$"
NO_HINT = "[Message]\nMsg_ID1=1\n"
AQUA = (0, 255, 255)
PAGE_COLOURS = [(204, 255, 255), (204, 204, 255), (255, 204, 255), (255, 204, 204), (255, 255, 204),
                (204, 255, 204), (255, 204, 153)]
# Top-left of a page inside the dialog: the page control's left edge and
# border, and its tab row (about 20 pixels for the 12-pixel font).
PAGE_X, PAGE_Y = 5, 72


def ini_value(text, key):
    m = re.search(r"^" + re.escape(key) + r"=(.*?)\r?$", text, re.M)
    return m.group(1) if m else None


def open_dialog(h, *keys):
    """Opens the dialog through the left star's menu; returns its window and
    its top-left corner."""
    h.choose_from_star_menu(1, *keys)
    wid = wait_until(lambda: h.find_window(DIALOG), 15, 0.2, "options dialog")
    time.sleep(0.8)
    x, y, w, ht = h.window_geometry(wid)
    assert_eq((w, ht), (DLG_W, DLG_H), "dialog size")
    assert_eq((x, y), ((SCREEN_W - w) // 2, (SCREEN_H - ht) // 2), "dialog centred")
    return wid, x, y


def open_settings(h):
    return open_dialog(h, "t", "o")  # ツール(&T) ▸ 設定(&O)


def close_dialog(h, x, y):
    h.click(x + 352, y + 26, settle=0.6)  # the "X" button
    wait_until(lambda: h.find_window(DIALOG) is None, 10, 0.2, "the dialog to close")


def background(h, x, y):
    return h.screenshot().pixel(x + 250, y + 46)


def next_page(h, wid, times=1):
    for _ in range(times):
        h.key("ctrl+Tab", window=wid, settle=0.3)


def scenario_setting_opens_on_the_jpg_page_framed_in_the_active_colour(h):
    h.write_ini(NO_HINT + "[Option]\nJPGQuality=90\n")
    h.start()
    wid, x, y = open_settings(h)
    shot = h.screenshot()
    h.save_screenshot("dialog", window=wid)
    assert_eq(shot.pixel(x + 250, y + 46), PAGE_COLOURS[0], "background of the JPG page")
    assert_eq(shot.pixel(x + 1, y + 200), AQUA, "frame in the default ActiveColor")
    assert_eq(shot.pixel(x + 200, y + DLG_H - 2), AQUA, "square bottom edge framed")
    # The page follows Ctrl+Tab, and so does the background.
    next_page(h, wid)
    assert_eq(background(h, x, y), PAGE_COLOURS[1], "background of the PNG page")
    close_dialog(h, x, y)
    h.close_program()
    assert_eq(ini_value(h.read_ini(), "JPGQuality"), "90", "quality kept")


def scenario_average_command_opens_its_page_and_a_choice_averages_the_picker(h):
    # A one-pixel checkerboard: a single pixel is black or white, a 7 × 7
    # average is grey (25 of one colour, 24 of the other).
    h.show_picture(100, 100, 60, 60, lambda px, py: (255, 255, 255) if (px + py) % 2 else (0, 0, 0))
    h.write_ini(NO_HINT)
    h.start()
    h.move_pointer(130, 130, settle=0.6)
    h.wait_title(r"^rgb\((0,0,0|255,255,255)\)$")
    wid, x, y = open_dialog(h, "v", "v")  # 表示(&V) ▸ 平均値モード(&V)
    assert_eq(background(h, x, y), PAGE_COLOURS[3], "background of the average page")
    # "7ｘ7", the third item of the group at (72, 16), 96 × 204.
    h.click(x + PAGE_X + 100, y + PAGE_Y + 16 + 82, settle=0.4)
    close_dialog(h, x, y)
    h.move_pointer(131, 130, settle=0.6)
    h.wait_title(r"^rgb\((124,124,124|130,130,130)\)$")


def scenario_colour_command_opens_the_colour_page(h):
    h.write_ini(NO_HINT + "[Display]\nActiveColor=clRed\n")
    h.start()
    wid, x, y = open_dialog(h, "v", "Up", "Up", "Return")  # 表示(&V) ▸ 色の設定
    shot = h.screenshot()
    assert_eq(shot.pixel(x + 250, y + 46), PAGE_COLOURS[4], "background of the colour page")
    assert_eq(shot.pixel(x + 1, y + 200), (255, 0, 0), "frame in the stored ActiveColor")
    close_dialog(h, x, y)
    h.close_program()
    assert_eq(ini_value(h.read_ini(), "ActiveColor"), "clRed", "colour kept")


def scenario_new_hot_key_is_taken_and_written(h):
    h.write_ini(NO_HINT)
    h.start()
    wid, x, y = open_settings(h)
    next_page(h, wid, 5)
    assert_eq(background(h, x, y), PAGE_COLOURS[5], "background of the hot-key page")
    # The screen-capture field, second row at y 50 of the page, x 200, 145 × 25.
    h.click(x + PAGE_X + 270, y + PAGE_Y + 62, settle=0.4)
    h.key("ctrl+alt+k", window=wid, settle=0.5)
    close_dialog(h, x, y)
    h.close_program()
    assert_eq(ini_value(h.read_ini(), "HotKeyScreenCapture"), "Ctrl+Alt+K", "new screen-capture key")
    assert_eq(ini_value(h.read_ini(), "HotKeyGetColor"), "Shift+Ctrl+C", "other keys kept")


def scenario_delay_text_that_is_no_number_keeps_the_delay(h):
    for text, expected in (("abc", "1000"), ("500", "500")):
        h.write_ini(NO_HINT + "[Capture]\nSleepTime=1000\n")
        h.start()
        wid, x, y = open_settings(h)
        next_page(h, wid, 6)
        assert_eq(background(h, x, y), PAGE_COLOURS[6], "background of the capture page")
        h.click(x + PAGE_X + 60, y + PAGE_Y + 19, settle=0.3)  # edtSleep at (16, 8), 97 wide
        h.key("End", window=wid, settle=0.1)
        for _ in range(8):
            h.key("BackSpace", window=wid, settle=0.05)
        h.x("xdotool", "type", "--window", wid, text)
        time.sleep(0.3)
        close_dialog(h, x, y)
        h.close_program()
        assert_eq(ini_value(h.read_ini(), "SleepTime"), expected, f"delay after typing {text!r}")
