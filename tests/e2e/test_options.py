"""The options dialog "オプション設定": opened on the page of the menu command
used, framed in the active colour, every edit taken over when it closes and
applied at once (hot keys, frame colours, menu shortcuts, the colour-list
image).

The dialog is a 406 × 320 window centred on the screen; its pages start
below the tab row of the page control at (3, 50). Ctrl+Tab steps to the
next page.
"""
import re
import time

from harness import HarnessError, wait_until
from test_capture import close_capture_box, count_in_main
from test_hotkeys import assert_clipboard_stays_off, wait_clipboard
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
    # 表示(&V) ▸ 標準モード(&T): a single pixel again.
    h.choose_from_star_menu(1, "v", "t")
    h.move_pointer(130, 131, settle=0.6)
    h.wait_title(r"^rgb\((0,0,0|255,255,255)\)$")


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


SAMPLE = r"^Color選択"
SWATCH_RED, SWATCH_BLUE = (255, 0, 0), (0, 0, 255)


def choose_colour(h, label, cell):
    """Clicks a colour label of the 色の設定 page; in the colour sample window
    that opens, clicks a cell of the chart and closes it with Enter."""
    h.click(*label, settle=0.4)
    wid = wait_until(lambda: h.find_window(SAMPLE), 10, 0.2, "the colour sample window")
    time.sleep(0.5)
    x, y, _, _ = h.window_geometry(wid)
    h.click(x + 24 + cell[0], y + 32 + cell[1], settle=0.4)  # the chart starts at (24, 32)
    h.key("Return", window=wid, settle=0.4)
    wait_until(lambda: h.find_window(SAMPLE) is None, 10, 0.2, "the colour sample window to close")


def swatch_size(h):
    """Pixels of the red swatch in the main window, once both show."""
    return wait_until(lambda: (lambda a, b: a if a and a == b else None)(
        count_in_main(h, SWATCH_RED), count_in_main(h, SWATCH_BLUE)), 10, 0.4, "two equal swatches")


def activate_image_layout(h):
    """Makes the program active: a plain click on the picture changes nothing."""
    x, y, w, ht = h.main_geometry()
    h.click(x + w // 2, y + ht // 2, settle=0.4)


def show_colour_list(h, box):
    """ツール ▸ 取得した色の一覧を画像として表示, from the menu bar; box: None
    when its note must not show, else whether to tick 今後表示しない."""
    activate_image_layout(h)
    h.key("alt+t", settle=0.5)
    h.key("c", settle=0.3)
    if box is None:
        time.sleep(0.7)
        if h.find_window("^情報！$"):
            raise HarnessError("the colour-list note showed again after 今後表示しない was ticked")
        return
    close_capture_box(h, tick=box)  # the same information box
    h.wait_title("^取得した色を画像として表示$")


def scenario_new_keys_and_frame_colours_take_effect_at_once(h):
    h.show_picture(100, 100, 80, 40, lambda x, y: SWATCH_RED if x < 40 else SWATCH_BLUE)
    h.write_ini(NO_HINT + "[Option]\nHookHotKey=On\n")
    h.start()
    witness = h.start_witness(60, 700, 160, 120)
    # The tool menu with the capture keys as they are.
    h.open_star_menu(1)
    h.key("t", settle=0.5)
    menu = h.open_menu_window()
    before = h.screenshot()
    h.key("Escape", window=None, settle=0.2)
    h.key("Escape", window=None, settle=0.3)

    wid, x, y = open_settings(h)
    next_page(h, wid, 4)  # 色の設定: the frame colours in the second box (40, 80)
    choose_colour(h, (x + PAGE_X + 77, y + PAGE_Y + 120), (165, 45))  # red
    choose_colour(h, (x + PAGE_X + 225, y + PAGE_Y + 120), (15, 15))  # (153, 255, 255)
    next_page(h, wid)  # ホットキー: the colour-copy and the screen-capture field
    h.click(x + PAGE_X + 270, y + PAGE_Y + 20, settle=0.3)
    h.key("ctrl+alt+j", window=wid, settle=0.3)
    h.click(x + PAGE_X + 270, y + PAGE_Y + 62, settle=0.3)
    h.key("ctrl+alt+k", window=wid, settle=0.3)
    close_dialog(h, x, y)

    # The frame in the new colours, following activation.
    mx, my, _, mh = h.main_geometry()
    h.focus_main()
    wait_until(lambda: h.screenshot().pixel(mx + 1, my + mh // 2) == (255, 0, 0), 5, 0.3, "the new active frame")
    h.click(80, 720, settle=0.5)  # the witness becomes the active program
    wait_until(lambda: h.screenshot().pixel(mx + 1, my + mh // 2) == (153, 255, 255), 5, 0.3,
               "the new inactive frame")
    # The new colour-copy key works at once with the other program active;
    # the old one reaches that program instead.
    h.move_pointer(110, 120, settle=0.5)
    h.wait_title(r"^rgb\(255,0,0\)$")
    h.key("shift+ctrl+c", window=witness, settle=0.3)
    assert_clipboard_stays_off(h, "rgb(255,0,0)", "the old colour-copy key")
    if not [k for k in h.witness_keys() if k[1] == ord("C")]:
        raise HarnessError("the old colour-copy key did not reach the active program")
    h.key("ctrl+alt+j", window=witness, settle=0.3)
    wait_clipboard(h, "rgb(255,0,0)", "the new colour-copy key")

    # The tool menu shows the new screen-capture key.
    h.open_star_menu(1)
    h.key("t", settle=0.5)
    moved = h.open_menu_window() != menu  # a wider shortcut text widens it
    after = h.screenshot()
    h.key("Escape", window=None, settle=0.2)
    h.key("Escape", window=None, settle=0.3)
    mx, my, mw, mh = menu
    if not moved and all(before.pixel(px, py) == after.pixel(px, py) for py in range(my, my + mh)
                         for px in range(mx, mx + mw)):
        raise HarnessError("the tool menu looks the same after the screen-capture key changed")
    h.close_program()
    ini = h.read_ini()
    for key, value in (("HotKeyScreenCapture", "Ctrl+Alt+K"), ("HotKeyGetColor", "Ctrl+Alt+J"),
                       ("HotKeyWindowCapture", "Shift+Ctrl+W"), ("ActiveColor", "clRed"),
                       ("DeactiveColor", "$00FFFF99"), ("HookHotKey", "On")):
        assert_eq(ini_value(ini, key), value, key)


def scenario_colour_list_note_and_a_new_swatch_size(h):
    h.show_picture(100, 100, 80, 40, lambda x, y: SWATCH_RED if x < 40 else SWATCH_BLUE)
    h.write_ini(NO_HINT + "[Option]\nOptionRectWidth=20\n")
    h.start()
    h.focus_main()
    for x, title in ((110, r"^rgb\(255,0,0\)$"), (160, r"^rgb\(0,0,255\)$")):
        h.move_pointer(x, 120, settle=0.5)
        h.wait_title(title)
        h.key("shift+ctrl+c", settle=0.4)
    h.choose_from_star_menu(1, "t", "c")  # its note, until ticked
    close_capture_box(h, tick=False)
    assert_eq(swatch_size(h), 400, "20 x 20 swatches")
    show_colour_list(h, box=True)
    # ツール ▸ 設定(&O) from the menu bar; one more pixel per swatch.
    activate_image_layout(h)
    h.key("alt+t", settle=0.5)
    h.key("o", settle=0.3)
    wid = wait_until(lambda: h.find_window(DIALOG), 15, 0.2, "options dialog")
    time.sleep(0.6)
    x, y, _, _ = h.window_geometry(wid)
    next_page(h, wid, 2)  # 色の画像: the up arrow beside Edit1 (138, 24)
    h.click(x + PAGE_X + 187, y + PAGE_Y + 29, settle=0.3)
    close_dialog(h, x, y)
    assert_eq(swatch_size(h), 441, "the colour-list image rebuilt with 21 x 21 swatches")
    show_colour_list(h, box=None)
    assert_eq(swatch_size(h), 441, "the colour-list image shown again")
    h.close_program()
    ini = h.read_ini()
    assert_eq((ini_value(ini, "OptionRectWidth"), ini_value(ini, "Msg_ID4")), ("21", "1"), "swatch size and Msg_ID4")


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
