"""Writing the captured image out: the picture save dialog and its
confirmation, the clipboard copies seen from X, paste, and printing with no
printer installed. The two saving scenarios are still pending: typed into
Wine's save dialog from the main window, the name does not end up as a file in
the dialog's folder yet (the save path itself is tested through the real
dialog in tests/win/export_test.cpp)."""
import os
import struct
import time

from harness import HarnessError, wait_until
from test_capture import INI, capture_screen, expect_colour, image_menu
from test_magnifier import assert_eq

COLOUR = (200, 30, 60)
SAVE_DIALOG = r"^画像ファイルとして保存$"
CONFIRM_BOX = r"^Hueloom$"


def wine_path(path):
    return "Z:" + path.replace("/", "\\")


def file_menu(h, key):
    h.key("alt+f", settle=0.5)
    h.key(key, settle=0.3)


def save_as(h, path):
    """ファイル(&F) ▸ 画像の保存(&S), then types the file's name into the
    dialog, which starts in the path's folder (the program's folder on a first
    save, then the folder of the last one). Only the name is typed: the
    keyboard map under Wine's Japanese locale mangles drive colons and
    backslashes."""
    file_menu(h, "s")
    dlg = wait_until(lambda: h.find_window(SAVE_DIALOG), 40, 0.3, "picture save dialog")
    time.sleep(1.5)
    h.key("ctrl+a", window=dlg, settle=0.2)
    h.x("xdotool", "type", "--window", dlg, "--delay", "30", os.path.basename(path))
    time.sleep(0.3)
    h.key("Return", window=dlg, settle=1.0)
    wait_until(lambda: h.find_window(SAVE_DIALOG) is None, 20, 0.3, "the dialog to close")


def png_header(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise HarnessError("not a PNG file")
    w, ht, depth, colour_type = struct.unpack(">IIBB", data[16:26])
    chunks, pos = [], 8
    while pos < len(data):
        n, = struct.unpack(">I", data[pos:pos + 4])
        chunks.append(data[pos + 4:pos + 8].decode("latin-1"))
        pos += 12 + n
    return w, ht, depth, colour_type, chunks


def confirmation_box(h):
    boxes = h.find_windows(CONFIRM_BOX, min_size=50)
    return boxes[0] if boxes else None


def close_confirmation(h, tick):
    box = wait_until(lambda: confirmation_box(h), 15, 0.3, "the saved confirmation")
    x, y, w, ht = h.window_geometry(box)
    if tick:  # 今後表示しない
        h.click(x + 14, y + ht - 52 + 7, settle=0.4)
    h.click(x + w // 2, y + ht - 35 + 12, settle=0.6)
    wait_until(lambda: confirmation_box(h) is None, 10, 0.2, "the box to close")


def pending_scenario_save_png_confirm_once_and_remember_folder(h):
    h.show_picture(0, 0, 300, 300, lambda x, y: COLOUR)
    h.write_ini(INI)
    h.start()
    capture_screen(h)
    expect_colour(h, COLOUR, "the captured picture")
    out = h.dir
    shot = os.path.join(out, "shot.png")
    save_as(h, shot)
    close_confirmation(h, tick=True)
    w, ht, depth, colour_type, chunks = png_header(shot)
    assert_eq((w, ht, depth, colour_type), (1280, 1024, 8, 2), "PNG of a 32-bit capture: truecolour, no alpha")
    assert_eq(chunks[:6], ["IHDR", "tIME", "tEXt", chunks[3], "gAMA", "IDAT"], "chunk order")
    # Ticked: a second save (BMP, upper-case extension) asks nothing.
    bmp = os.path.join(out, "again.BMP")
    save_as(h, bmp)
    time.sleep(1.5)
    if confirmation_box(h):
        raise HarnessError("confirmation shown again after ticking 今後表示しない")
    with open(bmp, "rb") as f:
        assert_eq(f.read(2), b"BM", "bitmap file signature")
    h.close_program()
    ini = h.read_ini()
    if "Msg_ID3=1" not in ini:
        raise HarnessError("Msg_ID3 not stored")
    if ("InitialDirImg=" + wine_path(out)).lower() not in ini.lower():
        raise HarnessError("InitialDirImg is not the folder of the saved file")


def pending_scenario_metafiles_start_with_their_headers(h):
    h.show_picture(0, 0, 300, 300, lambda x, y: COLOUR)
    h.write_ini(INI.replace("Msg_ID2=1\n", "Msg_ID2=1\nMsg_ID3=1\n"))
    h.start()
    capture_screen(h)
    expect_colour(h, COLOUR, "the captured picture")
    emf, wmf = os.path.join(h.dir, "pic.emf"), os.path.join(h.dir, "pic.wmf")
    save_as(h, emf)
    save_as(h, wmf)
    wait_until(lambda: os.path.exists(wmf), 10, 0.2, "the .wmf file")
    with open(emf, "rb") as f:
        head = f.read(44)
    assert_eq(struct.unpack("<I", head[:4])[0], 1, "EMR_HEADER record first")
    assert_eq(head[40:44], b" EMF", "enhanced metafile signature")
    with open(wmf, "rb") as f:
        head = f.read(22)
    assert_eq(head[:4], bytes([0xD7, 0xCD, 0xC6, 0x9A]), "placeable metafile key")


def clipboard_targets(h):
    import subprocess
    r = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"], env=h.xenv,
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=10)
    return r.stdout.decode("utf-8", errors="replace").split()


def scenario_copy_bitmap_and_metafile_reach_other_programs(h):
    h.show_picture(0, 0, 300, 300, lambda x, y: COLOUR)
    h.write_ini(INI)
    h.start()
    capture_screen(h)
    expect_colour(h, COLOUR, "the captured picture")
    image_menu(h, "b")  # コピー・BMP(&B)
    wait_until(lambda: any(t.startswith("image/") for t in clipboard_targets(h)), 10, 0.3,
               "a picture format on the X clipboard")
    image_menu(h, "e")  # コピー・EMF(&E)
    time.sleep(1.0)
    # Paste it back: the metafile is played into a white picture of the
    # capture's size, so the colour shows again.
    h.key("ctrl+v", settle=1.5)
    expect_colour(h, COLOUR, "the pasted metafile")


def scenario_print_without_printer_says_so(h):
    h.show_picture(0, 0, 300, 300, lambda x, y: COLOUR)
    h.write_ini(INI)
    h.start()
    capture_screen(h)
    file_menu(h, "p")  # 画像を印刷(&P)
    # The error box carries the application title; its text names the missing printer.
    box = wait_until(lambda: (h.find_windows(r"^Hueloom$", min_size=50) or [None])[0], 20, 0.3,
                     "the no-printer message")
    h.save_screenshot("no-printer")
    h.key("Return", window=box, settle=0.8)
    wait_until(lambda: not h.find_windows(r"^Hueloom$", min_size=50), 10, 0.3, "the message to close")
