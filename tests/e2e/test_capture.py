"""Screen capture into the image layout, the filters with their progress
window, and the one-level undo through Undo.tmp; cursors stamped from files
of our own making; the capture keys and the PrintScreen keys pressed while
another program (the tests' witness) is active, in both hot-key scopes."""
import os
import re
import struct
import time

from harness import HarnessError, clipboard_bitmap, wait_until, wine_path
from test_infobox import check_box_point, ini_value, ok_button_point
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


def live_gdi_objects(h):
    """The program's live GDI objects, as Wine's gdi channel counts them in
    its last "allocated/freed TYPE HANDLE N/MAX" line."""
    with open(os.path.join(h.dir, "wine.log"), "rb") as f:
        counts = re.findall(rb"(?:allocated|freed) \S+ \S+ (\d+)/\d+", f.read())
    if not counts:
        raise HarnessError("Wine's gdi channel reported no GDI objects")
    return int(counts[-1])


def scenario_screen_capture_filters_and_undo(h):  # long
    # A band of thousands of colours above a plain area, so the reduction
    # to 256 colours shows.
    h.show_picture(0, 0, 400, 400, lambda x, y: (x % 256, y * 6, 200) if y < 40 else COLOUR)
    h.write_ini(INI)
    h.env["WINEDEBUG"] = "-all,+gdi"  # the live GDI objects, for the guard below
    h.start()
    undo = os.path.join(h.dir, "Undo.tmp")
    capture_screen(h)
    # The image layout shows the top-left corner of the capture: the picture.
    expect_colour(h, COLOUR, "the captured picture in the main window")
    h.save_screenshot("captured")
    h.save_screenshot("window", window=h.main)
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
    # No GDI object is left behind: the same cycles again, and the program
    # holds as many as before them.
    before = live_gdi_objects(h)
    for _ in range(2):
        capture_screen(h)
        for key in ("r", "g"):  # 反転, グレースケール, each undone
            image_menu(h, key)
            wait_until(lambda: os.path.exists(undo), 10, 0.2, "the filter's snapshot")
            h.key("ctrl+z", settle=0.5)
        h.key("alt+v", settle=0.5)
        h.key("k", settle=1.0)
        h.move_pointer(50, 50)
        h.wait_title(r"^rgb\(12,34,56\)$")
        h.move_pointer(60, 60, settle=0.5)
    after = live_gdi_objects(h)
    if after > before:
        raise HarnessError(f"live GDI objects grew from {before} to {after} over two capture cycles")
    h.close_program()
    if os.path.exists(undo):
        raise HarnessError("closing did not remove Undo.tmp")


# Cursor files of our own making. A monochrome 32 x 32 cursor is an AND mask
# and an XOR picture: AND 0 with XOR 0 draws black, AND 0 with XOR 1 white,
# AND 1 with XOR 0 leaves the picture as it is.
def cur_file(black, white, hot):
    """A .cur file (icon directory of type 2, one 1-bit image) drawing the
    black and white (x, y) pixels, its hot spot at hot."""
    xor, andm = bytearray(32 * 4), bytearray(b"\xff" * 32 * 4)
    for pixels, ink in ((black, 0), (white, 1)):
        for x, y in pixels:
            row = (31 - y) * 4  # bottom-up rows
            andm[row + x // 8] &= ~(0x80 >> (x % 8)) & 0xFF
            if ink:
                xor[row + x // 8] |= 0x80 >> (x % 8)
    image = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, len(xor) + len(andm), 0, 0, 2, 0)
    image += bytes((0, 0, 0, 0, 255, 255, 255, 0)) + xor + andm
    return struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", 32, 32, 2, 0, hot[0], hot[1], len(image), 22) + image


def riff_chunk(tag, data):
    return tag + struct.pack("<I", len(data)) + data + (b"\0" if len(data) % 2 else b"")


def ani_file(frames):
    """An animated cursor: RIFF "ACON" with its header and the frames, each
    a whole .cur file, shown 10 jiffies each."""
    header = struct.pack("<9I", 36, len(frames), len(frames), 32, 32, 1, 1, 10, 1)  # AF_ICON
    icons = b"".join(riff_chunk(b"icon", f) for f in frames)
    body = b"ACON" + riff_chunk(b"anih", header) + riff_chunk(b"LIST", b"fram" + icons)
    return riff_chunk(b"RIFF", body)


def square(x0, y0, size, hollow=False):
    return {(x, y) for x in range(x0, x0 + size) for y in range(y0, y0 + size)
            if not hollow or x in (x0, x0 + size - 1) or y in (y0, y0 + size - 1)}


# A plus sign in black with a white square apart, hot spot at the crossing;
# the animated one: a hollow square, then a filled one (never stamped).
CUR_HOT = (9, 6)
CUR_BLACK = {(x, 6) for x in range(3, 16)} | {(9, y) for y in range(0, 13)}
CUR_WHITE = square(18, 18, 4)
ANI_HOT = (5, 5)
ANI_BLACK = square(0, 0, 11, hollow=True)


def stamp_at(h, point, button=1):
    h.x("xdotool", "mousemove", str(point[0] + 3), str(point[1] + 3))
    time.sleep(0.15)
    h.x("xdotool", "mousemove", str(point[0]), str(point[1]))
    time.sleep(0.2)
    h.x("xdotool", "keydown", "--window", h.main, "shift")
    h.x("xdotool", "click", str(button))
    h.x("xdotool", "keyup", "--window", h.main, "shift")
    h.move_pointer(point[0] + 300, point[1], settle=0.6)


def stamped(h, point):
    """What is drawn over the plain picture around point: {(dx, dy): colour}."""
    shot = h.screenshot()
    px, py = point
    return {(x - px, y - py): shot.pixel(x, y) for y in range(py - 8, py + 28) for x in range(px - 8, px + 28)
            if shot.pixel(x, y) != COLOUR}


def drawn(black, white, hot):
    """The pixels a monochrome cursor draws, relative to its hot spot."""
    d = {(x - hot[0], y - hot[1]): (0, 0, 0) for x, y in black}
    d.update({(x - hot[0], y - hot[1]): (255, 255, 255) for x, y in white})
    return d


def load_cursor_file(h, name):
    """ツール(&T) ▸ ファイルからカーソルを読み込む (no mnemonic: the third item
    from the bottom), then the file in the open dialog. The dialog starts in
    the folder the system remembers for the program, which another run may
    have set, so the whole path is pasted into it (typed, the Japanese
    keyboard map under Wine mangles backslashes and drive colons)."""
    h.key("alt+t", settle=0.5)
    for _ in range(3):
        h.key("Up", settle=0.15)
    h.key("Return", settle=0.3)
    dlg = wait_until(lambda: h.find_window("^(開く|Open)$"), 20, 0.3, "the cursor file dialog")
    time.sleep(1.0)
    h.offer_text(wine_path(os.path.join(h.dir, name)))
    h.key("ctrl+a", window=dlg, settle=0.1)
    h.key("ctrl+v", window=dlg, settle=0.3)
    h.key("Return", window=dlg, settle=0.6)
    wait_until(lambda: h.find_window("^(開く|Open)$") is None, 10, 0.3, "the cursor file dialog to close")


def scenario_shift_click_stamps_cursor_files_and_undo_removes_it(h):
    h.show_picture(0, 0, 400, 400, lambda x, y: COLOUR)
    with open(os.path.join(h.dir, "plus.cur"), "wb") as f:
        f.write(cur_file(CUR_BLACK, CUR_WHITE, CUR_HOT))
    with open(os.path.join(h.dir, "squares.ani"), "wb") as f:
        f.write(ani_file([cur_file(ANI_BLACK, set(), ANI_HOT), cur_file(square(0, 0, 11), set(), ANI_HOT)]))
    with open(os.path.join(h.dir, "broken.cur"), "wb") as f:
        f.write(cur_file(CUR_BLACK, CUR_WHITE, CUR_HOT)[:30])  # the picture cut off
    h.write_ini(INI)  # CaptureCursor 0: the arrow
    h.start()
    undo = os.path.join(h.dir, "Undo.tmp")
    capture_screen(h)
    expect_colour(h, COLOUR, "the captured picture")
    x, y, w, ht = h.main_geometry()
    shot = h.screenshot()
    plain = [(px, py) for py in range(y, y + ht) for px in range(x, x + w) if shot.pixel(px, py) == COLOUR]
    left, top = min(p[0] for p in plain), min(p[1] for p in plain)
    right, bottom = max(p[0] for p in plain), max(p[1] for p in plain)
    if (right - left, bottom - top) < (120, 90):
        raise HarnessError(f"the image area is too small for four stamps: {right - left} x {bottom - top}")
    points = [(left + 10, top + 10), (left + 80, top + 10), (left + 10, top + 60), (left + 80, top + 60)]

    assert_eq(stamped(h, points[0]), {}, "pixels drawn before stamping")
    h.click(*points[0], settle=0.6)  # a plain click stamps nothing
    assert_eq(stamped(h, points[0]), {}, "pixels drawn after a plain click")
    if os.path.exists(undo):
        raise HarnessError("a plain click wrote an undo snapshot")
    stamp_at(h, points[0], button=3)  # any button stamps
    arrow = wait_until(lambda: (lambda s: s if len(s) > 40 else None)(stamped(h, points[0])), 10, 0.4,
                       "the stamped arrow in the image")
    # The arrow's hot spot, its tip, lands on the clicked pixel.
    tip = min(arrow, key=lambda p: (p[1], p[0]))
    if tip[1] < 0 or abs(tip[0]) > 1 or tip[1] > 1:
        raise HarnessError(f"the arrow's tip is at {tip} from the clicked pixel")
    h.save_screenshot("stamped")
    if not os.path.exists(undo):
        raise HarnessError("stamping did not write Undo.tmp")
    h.key("ctrl+z", settle=0.8)
    wait_until(lambda: stamped(h, points[0]) == {}, 10, 0.4, "the image without the stamp after undo")

    # Our own cursor files: every pixel where the hot spot says.
    load_cursor_file(h, "plus.cur")
    stamp_at(h, points[1])
    assert_eq(stamped(h, points[1]), drawn(CUR_BLACK, CUR_WHITE, CUR_HOT), "the .cur file's cursor stamped")
    load_cursor_file(h, "squares.ani")
    stamp_at(h, points[2])
    assert_eq(stamped(h, points[2]), drawn(ANI_BLACK, set(), ANI_HOT), "the first frame of the .ani file")
    # A file that is no cursor: the arrow again.
    load_cursor_file(h, "broken.cur")
    stamp_at(h, points[3])
    assert_eq(stamped(h, points[3]), arrow, "the stamp after loading a broken cursor file")
    h.save_screenshot("cursor-files")


# The other program of the capture keys: the tests' witness, away from the
# main window (centred) and from the test pictures (top left).
WITNESS = (60, 700, 160, 120)
CAPTURE_BOX = "^情報！$"
KEYS_INI = ("[Message]\nMsg_ID1=1\nMsg_ID5=1\n{messages}[Option]\nHookHotKey={scope}\nHookPrintScreenKey=1\n"
            "HookAltPrintScreenKey=1\n[Capture]\nSleepTime={sleep}\n")


def activate_witness(h):
    h.click(WITNESS[0] + 20, WITNESS[1] + 20, settle=0.5)


def expect_witness_picture(h, what):
    """The picture is exactly the witness window: its size and every pixel."""
    image_menu(h, "b")  # コピー・BMP(&B)
    pic = wait_until(lambda: (lambda p: p if p and (p.width, p.height) == WITNESS[2:] else None)(
        clipboard_bitmap(h)), 10, 0.5, f"{what}: a {WITNESS[2]} x {WITNESS[3]} picture on the clipboard")
    wrong = [(x, y) for y in range(pic.height) for x in range(pic.width) if pic.pixel(x, y) != h.witness_pixel(x, y)]
    if wrong:
        raise HarnessError(f"{what}: {len(wrong)} pixels differ from the window, first at {wrong[0]}")


def close_capture_box(h, tick):
    box = wait_until(lambda: h.find_window(CAPTURE_BOX), 15, 0.2, "the capture note")
    time.sleep(0.5)
    geo = h.window_geometry(box)
    if tick:
        h.click(*check_box_point(geo), settle=0.4)
    h.click(*ok_button_point(geo), settle=0.6)
    wait_until(lambda: h.find_window(CAPTURE_BOX) is None, 10, 0.2, "the capture note to close")


def expect_no_capture_box(h):
    time.sleep(0.8)
    if h.find_window(CAPTURE_BOX):
        raise HarnessError("the capture note showed again after 今後表示しない was ticked")


def visible(h, wid):
    return "IsViewable" in h.x("xwininfo", "-id", wid, check=False)


def scenario_capture_keys_and_print_screen_from_another_program(h):
    # Green at the top left; a blue picture waits to the right and is moved
    # over the green one while the program waits before grabbing the screen.
    h.show_picture(0, 0, 200, 200, lambda x, y: (0, 200, 0))
    late = h.show_picture(900, 0, 200, 200, lambda x, y: (0, 0, 230), title="hueloom-late-picture")
    h.write_ini(KEYS_INI.format(messages="", scope="On", sleep=600))
    h.start()
    witness = h.start_witness(*WITNESS)

    # Shift+Ctrl+W with the witness active: its window, title bar-less and
    # exact; the capture note until 今後表示しない is ticked.
    h.key("shift+ctrl+w", window=witness, settle=0.2)
    close_capture_box(h, tick=False)
    h.wait_title("^アクティブウインドウ・キャプチャ$")
    expect_witness_picture(h, "Shift+Ctrl+W")

    # Shift+Ctrl+S: the picture is what the screen shows after the delay.
    activate_witness(h)
    h.key("shift+ctrl+s", window=witness, settle=0)
    wait_until(lambda: not visible(h, h.main), 5, 0.05, "the program's window to hide")
    # Halfway through the 600 ms: a grab without the delay shows green.
    time.sleep(0.3)
    h.x("xdotool", "windowmove", late, "0", "0")
    close_capture_box(h, tick=True)
    h.wait_title("^スクリーン・キャプチャ$")
    expect_colour(h, (0, 0, 230), "the picture moved in during the delay")
    if count_in_main(h, (0, 200, 0)):
        raise HarnessError("the capture shows the screen from before the delay")

    # Alt+PrintScreen taken over (PrintScreen: the next scenario), the note
    # not shown again.
    activate_witness(h)
    h.key("alt+Print", window=witness, settle=0.2)
    h.wait_title("^アクティブウインドウ・キャプチャ$", timeout=15)
    expect_no_capture_box(h)
    expect_witness_picture(h, "Alt+PrintScreen")

    # Shift+Ctrl+R: the overlay over the frozen screen; Enter cuts.
    activate_witness(h)
    h.key("shift+ctrl+r", window=witness, settle=0.2)
    overlay = wait_until(lambda: h.find_window("^VirtualDesktop$"), 15, 0.2, "the rectangle overlay")
    time.sleep(0.5)
    h.key("Return", window=overlay, settle=0.5)
    h.wait_title("^矩形領域キャプチャ$", timeout=15)
    expect_no_capture_box(h)
    # None of these keys reached the witness: the system gave them to us.
    taken = [k for k in h.witness_keys() if k[1] in (ord("W"), ord("S"), ord("R"), 0x2C)]
    assert_eq(taken, [], "keys the witness received")
    h.close_program()
    assert_eq(ini_value(h.read_ini(), "Message", "Msg_ID2"), "1", "Msg_ID2 after ticking the capture note")


def scenario_capture_keys_only_while_active_and_print_screen_handed_back(h):
    h.show_picture(0, 0, 200, 200, lambda x, y: (0, 200, 0))
    # Alt+PrintScreen is not taken over here (the scenario above takes it).
    h.write_ini(KEYS_INI.format(messages="Msg_ID2=1\n", scope="Off", sleep=300).replace(
        "HookAltPrintScreenKey=1", "HookAltPrintScreenKey=0"))
    h.start()
    witness = h.start_witness(*WITNESS)
    for k in ("shift+ctrl+s", "shift+ctrl+w", "shift+ctrl+r", "Print", "alt+Print"):
        h.key(k, window=witness, settle=0.3)
    # PrintScreen handed back: the active program gets the press, with scan
    # code 0 for PrintScreen and 1 for Alt+PrintScreen.
    wait_until(lambda: ("sysdown", 0x2C, 1) in h.witness_keys(), 5, 0.2, "Alt+PrintScreen handed back")
    keys = h.witness_keys()
    for k in (("down", ord("S"), None), ("down", ord("W"), None), ("down", ord("R"), None), ("down", 0x2C, 0)):
        if not [got for got in keys if got[:2] == k[:2] and (k[2] is None or got[2] == k[2])]:
            raise HarnessError(f"the witness did not receive {k} (it got {keys})")
    time.sleep(0.5)
    assert_eq((visible(h, h.main), h.main_geometry()[2:]), (True, (177, 233)),
              "the magnifier shown after the keys went to another program")
    if h.find_window("^VirtualDesktop$"):
        raise HarnessError("the rectangle overlay opened for a key pressed in another program")

    # The program active: Alt+PrintScreen, not taken over, is handed back;
    # the capture keys and PrintScreen capture.
    h.focus_main()
    h.key("alt+Print", settle=1.5)
    # A capture would have hidden the window by now (and keeps it hidden for
    # the delay and longer).
    if not visible(h, h.main) or h.find_window("キャプチャ$", visible=False) or h.main_geometry()[2:] != (177, 233):
        raise HarnessError("Alt+PrintScreen captured although its setting is off")
    h.key("shift+ctrl+w", settle=0.2)
    h.wait_title("^アクティブウインドウ・キャプチャ$", timeout=15)
    h.key("Print", settle=0.2)
    h.wait_title("^スクリーン・キャプチャ$", timeout=15)
    expect_colour(h, (0, 200, 0), "the screen after PrintScreen")
    h.key("shift+ctrl+r", settle=0.2)
    overlay = wait_until(lambda: h.find_window("^VirtualDesktop$"), 15, 0.2, "the rectangle overlay")
    time.sleep(0.5)
    h.key("Return", window=overlay, settle=0.5)
    h.wait_title("^矩形領域キャプチャ$", timeout=15)
    h.close_program()
