"""Picking colours: the copy hot key, the picked-colour list, the colour memo,
the menu items that depend on them, and the settings file read at start and
written at close."""
import os
import re
import sys
import time
from pathlib import Path

from harness import HarnessError, wait_until, wine_path
from test_infobox import ok_button_point
from test_magnifier import NO_HINT_INI, WIN_X, WIN_Y, assert_eq, start

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "unit" / "picking"))
import palette_readers  # noqa: E402  (GIMP-format reader, Python's json, css-tree)

# The 30 keys the settings file has always had; nothing more is written
# unless the user chooses one of the newer settings.
TODAYS_KEYS = {"Top", "Left", "TOPMOST", "ColorMode", "MojiColor", "MojiBKColor", "ActiveColor", "DeactiveColor",
               "ImgBKColor", "MaskColor", "HookHotKey", "JPGQuality", "PNGQuality", "OptionRectWidth",
               "HotKeyGetColor", "HotKeyScreenCapture", "HotKeyWindowCapture", "HotKeyRectCapture",
               "HookPrintScreenKey", "HookAltPrintScreenKey", "Msg_ID1", "Msg_ID2", "Msg_ID3", "Msg_ID4", "Msg_ID5",
               "SleepTime", "CaptureCursor", "flgCursorCapture", "InitialDirTxt", "InitialDirImg"}


def ini_keys(ini):
    return {m.group(1) for m in re.finditer(r"^([^\[=;\r\n]+)=", ini, re.M)}


def pick_at(h, x, y, title_regex):
    """Moves the pointer to (x, y), waits for the value, presses the copy key."""
    h.move_pointer(x, y, settle=0.5)
    h.wait_title(title_regex)
    h.key("shift+ctrl+c", settle=0.6)


def save_memo(h, name):
    """Saves the memo under `name` in the dialog's start folder (the program's
    folder on a first save)."""
    # ファイル(&F) ▸ 色のメモの保存(&C), then the save dialog.
    return save_from_file_menu(h, "c", name)


def save_from_file_menu(h, key, name, keys=()):
    """Chooses ファイル ▸ `key` from the left star's menu and saves under
    `name` in the save dialog's start folder; `keys` go to the dialog after
    the name (to choose the file type)."""
    h.choose_from_star_menu(1, "f", key)
    dlg = wait_until(lambda: h.find_window(".*保存.*") or h.find_window(".*Save.*"), 15, 0.3, "save dialog")
    time.sleep(1.5)
    # The file name field has the focus with the proposed name selected.
    h.x("xdotool", "type", "--window", dlg, "--delay", "30", name)
    time.sleep(0.3)
    for k in keys:
        h.key(k, window=dlg, settle=0.3)
    h.key("Return", window=dlg, settle=1.0)
    return dlg


def scenario_copy_key_fills_clipboard_list_and_memo(h):
    h.show_picture(100, 100, 80, 40, lambda x, y: (12, 34, 56) if x < 40 else (255, 255, 255))
    # A settings file of today: the value formats and the memo as they were.
    start(h, NO_HINT_INI + "[Display]\nColorMode=Decimal\n")
    h.focus_main()
    pick_at(h, 110, 120, r"^rgb\(12,34,56\)$")
    wait_until(lambda: h.clipboard() == "rgb(12,34,56)", 5, 0.2, "clipboard rgb(12,34,56)")
    # Hexadecimal display, then a second pick over white.
    h.choose_from_star_menu(1, "v", "6")
    pick_at(h, 160, 120, r"^#FFFFFF$")
    wait_until(lambda: h.clipboard() == "#FFFFFF", 5, 0.2, "clipboard #FFFFFF")
    # Over the window the value is empty: the key does nothing.
    x, y, _, _ = h.main_geometry()
    h.move_pointer(x + 88, y + 215, settle=0.6)
    h.wait_title(r"^Hueloom$")
    h.key("shift+ctrl+c", settle=0.6)
    assert_eq(h.clipboard(), "#FFFFFF", "clipboard after copying over the window")
    memo = os.path.join(h.dir, "memo.txt")
    save_memo(h, "memo.txt")
    wait_until(lambda: os.path.exists(memo), 10, 0.2, "memo file")
    with open(memo, "rb") as f:
        assert_eq(f.read(), b"C1: rgb(12,34,56)\r\nC2: #FFFFFF\r\n", "memo contents")
    h.close_program()
    ini = h.read_ini()
    # The memo's folder becomes the next start folder.
    m = re.search(r"^InitialDirTxt=(.*)$", ini, re.M)
    assert_eq(m and m.group(1).strip(), wine_path(h.dir), "InitialDirTxt after saving the memo")
    assert_eq(ini_keys(ini), TODAYS_KEYS, "keys written at close for a settings file of today")
    assert_eq(re.search(r"^ColorMode=(.*)$", ini, re.M).group(1).strip(), "Hexadecimal", "ColorMode at close")


def scenario_settings_read_at_start_written_at_close(h):
    h.show_picture(100, 100, 40, 40, lambda x, y: (1, 2, 3))
    folder = "C:\\色の\\表示"  # Shift-JIS text whose second bytes include '\\'
    h.write_ini(
        "[Extra]\nFoo=Bar\n"
        "[Window]\nTop=100\nLeft=200\n"
        "[Display]\nTOPMOST=Off\nColorMode=Hexadecimal\nMojiColor=clRed\nActiveColor=CLAQUA\n"
        "[Option]\nHotKeyGetColor=ctrl+shift+c\nJPGQuality=77\nSecret=kept\n"
        "[Message]\nMsg_ID1=1\n"
        f"[FileDir]\nInitialDirTxt={folder}\n")
    h.start()
    x, y, w, ht = h.main_geometry()
    assert_eq((x, y), (200, 100), "window position from the settings file")
    h.move_pointer(110, 110)
    h.wait_title(r"^#010203$")
    # MojiColor=clRed: the value is written in red on the label.
    shot = h.screenshot()
    red = sum(1 for yy in range(y + 25, y + 43) for xx in range(x + 10, x + 164)
              if (lambda p: p[0] > 180 and p[1] < 80 and p[2] < 80)(shot.pixel(xx, yy)))
    if red < 10:
        raise HarnessError(f"the value label is not drawn in red ({red} red pixels)")
    h.close_program()
    ini = h.read_ini()
    lines = ini.replace("\r\n", "\n")
    for expected in ["Top=100", "Left=200", "TOPMOST=Off", "ColorMode=Hexadecimal", "MojiColor=clRed",
                     "ActiveColor=clAqua", "HotKeyGetColor=Shift+Ctrl+C", "JPGQuality=77", "Foo=Bar",
                     "Secret=kept", "Msg_ID1=1", f"InitialDirTxt={folder}", "HookHotKey=Off",
                     "SleepTime=1000"]:
        if not re.search("^" + re.escape(expected) + "$", lines, re.M):
            raise HarnessError(f"settings file lacks {expected!r}:\n{ini}")


def menu_of(h, key, star=True):
    """The items of a submenu, opened from the left star's menu (magnifier)
    or from the menu bar (image layout): whether each is enabled."""
    if star:
        h.open_star_menu(1)
        h.key(key, settle=0.5)
    else:
        h.key("alt+" + key, settle=0.6)
    items = h.menu_items()
    h.key("Escape", window=None, settle=0.1)
    h.key("Escape", window=None, settle=0.2)
    return items


# Items: ファイル  色のメモの保存, パレットの保存, 画像の保存, 終了 (the menu bar
#                 adds 画像を印刷);
#        表示     10進, 16進, HSL, HSV, CMYK, L*a*b*, COLORREF 16進, 10進, HWB,
#                 LCH, OKLab, OKLCH, display-p3, L*a*b* D65, 色の名前 (the
#                 templates when there are any), コピーする形式, 画面の値を表示,
#                 標準, 平均値,
#                 一覧のクリア, カラー・サンプル,
#                 常に手前, 解除, 色の設定, 拡大鏡モード;
#        ツール   一覧を画像として表示, … (the menu bar adds ファイルからカーソル).
def scenario_menu_rules_in_both_layouts_and_the_list_cleared(h):
    h.show_picture(100, 100, 80, 40, lambda x, y: (12, 34, 56) if x < 40 else (255, 255, 255))
    start(h, NO_HINT_INI + "Msg_ID2=1\n[Capture]\nSleepTime=300\n")
    h.focus_main()
    # An empty list, the magnifier running.
    assert_eq(menu_of(h, "f"), [False, False, False, True], "ファイル: no memo or palette to save, no picture")
    view = menu_of(h, "v")
    assert_eq((view[19], view[20], view[23]), (False, True, True), "表示: nothing to clear")
    assert_eq(menu_of(h, "t")[0], False, "ツール: no list to show as a picture")
    pick_at(h, 110, 120, r"^rgb\(12,34,56\)$")
    pick_at(h, 160, 120, r"^rgb\(255,255,255\)$")
    assert_eq(menu_of(h, "f"), [True, True, False, True], "ファイル with two colours picked")
    assert_eq(menu_of(h, "t")[0], True, "ツール: the list can be shown as a picture")
    # 表示(&V) ▸ 取得色の一覧のクリア(&D): the list is empty, numbering restarts.
    h.choose_from_star_menu(1, "v", "d")
    assert_eq(menu_of(h, "f"), [False, False, False, True], "ファイル after clearing the list")
    pick_at(h, 110, 120, r"^rgb\(12,34,56\)$")
    memo = os.path.join(h.dir, "memo.txt")
    save_memo(h, "memo.txt")
    wait_until(lambda: os.path.exists(memo), 10, 0.2, "memo file")
    with open(memo, "rb") as f:
        assert_eq(f.read(), b"C1: rgb(12,34,56)\r\n", "memo after clearing and one more pick")
    # The image layout: the picture can be saved, the sample chart and the
    # colour settings wait for the magnifier.
    h.choose_from_star_menu(1, "t", "s")
    h.wait_title("^スクリーン・キャプチャ$", timeout=15)
    time.sleep(0.8)
    assert_eq(menu_of(h, "f", star=False)[:3], [True, True, True], "ファイル in the image layout")
    view = menu_of(h, "v", star=False)
    assert_eq((view[19], view[20], view[23]), (True, False, False), "表示 in the image layout")
    h.close_program()


# Items of 表示 ▸ コピーする形式, from the top: 表示と同じ, 10進, 16進, HSL, HSV,
# CMYK, L*a*b*, COLORREF 16進, COLORREF 10進, HWB, LCH, OKLab, OKLCH,
# display-p3, L*a*b* D65, 色の名前, then the user's templates.

# The Show menu's key of each format, and its texts of navy (12,34,56) and
# orange (255,128,0); the jumps alternate between them.
JUMP_TEXTS = [
    ("1", ("rgb(12,34,56)", "rgb(255,128,0)")),
    ("6", ("#0C2238", "#FF8000")),
    ("l", ("hsl(210 64.7% 13.3%)", "hsl(30.1 100% 50%)")),
    ("b", ("hsv(210, 79%, 22%)", "hsv(30, 100%, 100%)")),
    ("y", ("cmyk(79%, 39%, 0%, 78%)", "cmyk(0%, 50%, 100%, 0%)")),
    ("a", ("lab(12.405 -2.16 -17.168)", "lab(67.817 45.488 74.841)")),
    ("r", ("0x0038220C", "0x000080FF")),
    ("e", ("3678732", "33023")),
    ("h", ("hwb(210 4.7% 78%)", "hwb(30.1 0% 0%)")),
    ("c", ("lch(12.405 17.304 262.83)", "lch(67.817 87.58 58.709)")),
    ("j", ("oklab(24.6717% -0.016798 -0.047711)", "oklab(73.1895% 0.111859 0.148359)")),
    ("g", ("oklch(24.6717% 0.050582 250.603)", "oklch(73.1895% 0.185803 52.985)")),
    ("p", ("color(display-p3 0.06897 0.13131 0.21278)", "color(display-p3 0.93612 0.52902 0.19873)")),
    ("5", ("L*a*b* D65 12.66 0.13 -16.83", "L*a*b* D65 67.05 42.82 74.02")),
    ("i", ("\u2248midnightblue", "\u2248darkorange")),
]


COLORREF_HEX = ("Home",) + ("Down",) * 7  # the copy format's COLORREF (16進)


def choose_copy_format(h, *keys):
    """表示 ▸ コピーする形式 ▸ the item the keys reach from its first."""
    h.choose_from_star_menu(1, "v", "o", *keys)
    h.key("Return", window=None, settle=0.4)


def scenario_value_formats_copy_format_contrast_and_palettes(h):  # long
    orange, navy = (255, 128, 0), (12, 34, 56)
    h.show_picture(100, 100, 80, 40, lambda x, y: orange if x < 40 else navy)
    # A template of the user's own, and one that cannot be read (its message
    # is closed at start).
    h.write_ini(NO_HINT_INI + "Msg_ID4=1\n[Format]\nCustom1=C#|Color.FromArgb({r}, {g}, {b})\nCustom2=Bad|{nope}\n")
    h.start(wait_window=False)
    box = wait_until(lambda: h.find_window("^書式$"), 60, 0.3, "the message about the template it cannot read")
    if not any("Custom2=Bad|{nope}" in t for _, t in h.window_texts()):
        raise HarnessError("the message does not name the template it cannot read")
    h.click(*ok_button_point(h.window_geometry(box)), settle=0.6)
    h.main = wait_until(lambda: h.find_window(r"^\(15x15\)x10$"), 30, 0.2, "main window")
    h.focus_main()
    # 表示 ▸ HSL表示(&L): shown and copied as HSL.
    h.choose_from_star_menu(1, "v", "l")
    pick_at(h, 110, 120, r"^hsl\(30\.1 100% 50%\)$")
    wait_until(lambda: h.clipboard() == "hsl(30.1 100% 50%)", 5, 0.2, "clipboard in HSL")
    # CMYK表示(&Y) over the navy half.
    h.choose_from_star_menu(1, "v", "y")
    pick_at(h, 160, 120, r"^cmyk\(79%, 39%, 0%, 78%\)$")
    wait_until(lambda: h.clipboard() == "cmyk(79%, 39%, 0%, 78%)", 5, 0.2, "clipboard in CMYK")
    # Copy COLORREF (hexadecimal) while L*a*b*表示(&A) is shown.
    choose_copy_format(h, *COLORREF_HEX)
    h.choose_from_star_menu(1, "v", "a")
    pick_at(h, 110, 120, r"^lab\(67\.817 45\.488 74\.841\)$")
    wait_until(lambda: h.clipboard() == "0x000080FF", 5, 0.2, "clipboard in the copy format")
    # The list's tooltip: the newest colour (orange) against navy, white and black.
    x, y, _, _ = h.main_geometry()
    h.move_pointer(x + 88, y + 215, settle=0.3)
    contrast = ["C3/C2 6.40:1 AA, Lc -50.9 large text", "C3/white 2.51:1 fail, Lc 48.7 large text",
                "C3/black 8.33:1 AAA, Lc -53.3 large text"]
    tips = wait_until(lambda: [t for c, t in h.window_texts() if c == "tooltips_class32" and t.startswith("C3:")],
                      10, 0.3, "the list's tooltip")
    assert_eq(tips, ["\\r\\n".join(["C3: \u2248darkorange"] + contrast)], "the list's tooltip")
    # The palette files: GIMP by the name's extension, CSS and JSON by the
    # dialog's file type (the type list follows the name field).
    expected = [("C1", *orange), ("C2", *navy), ("C3", *orange)]
    saved = {"gpl": ("pal.gpl", ()), "css": ("pal", ("Tab", "Down")), "json": ("pal", ("Tab", "Down", "Down"))}
    for kind, (name, keys) in saved.items():
        save_from_file_menu(h, "l", name, keys)
        path = Path(h.dir) / f"pal.{kind}"
        wait_until(path.exists, 10, 0.2, f"palette file {path.name}")  # written whole, then renamed
        read = {"gpl": lambda p: palette_readers.read_gpl(p, "pal", "0"), "json": palette_readers.read_json,
                "css": palette_readers.read_css}[kind]
        assert_eq(read(path), expected, f"colours read back from {path.name}")
    # The memo in one format for the whole list: its save dialog's fourth
    # type is HSL (after "as copied", Decimal and Hexadecimal).
    save_from_file_menu(h, "c", "memo", ("Tab", "Down", "Down", "Down"))
    memo = Path(h.dir) / "memo.txt"
    wait_until(memo.exists, 10, 0.2, "memo in HSL")
    assert_eq(memo.read_bytes(), b"C1: hsl(30.1 100% 50%)\r\nC2: hsl(210 64.7% 13.3%)\r\nC3: hsl(30.1 100% 50%)\r\n",
              "memo written in HSL")
    # Each format shown and copied at once after a jump, without a pause
    # for a timer step: the copy is the colour now under the pointer, never
    # the one before the jump. Copy format back to "表示と同じ" first.
    choose_copy_format(h, "Home")
    for i, (key, (navy_text, orange_text)) in enumerate(JUMP_TEXTS):
        h.choose_from_star_menu(1, "v", key)
        # Even turns jump from orange to navy, odd ones back.
        (x0, before), (x1, after) = [(110, orange_text), (160, navy_text)][::1 if i % 2 == 0 else -1]
        h.move_pointer(x0, 120, settle=0)
        h.wait_title("^" + re.escape(before) + "$")
        h.move_pointer(x1, 120, settle=0)
        h.key("shift+ctrl+c", settle=0)
        wait_until(lambda: h.clipboard() == after, 5, 0.1, f"clipboard {after!r} at once after the jump")
    # The template, the copy format's last item, by its name.
    choose_copy_format(h, "End")
    h.move_pointer(110, 120, settle=0)
    h.key("shift+ctrl+c", settle=0)
    wait_until(lambda: h.clipboard() == "Color.FromArgb(255, 128, 0)", 5, 0.1, "clipboard through the template")
    choose_copy_format(h, *COLORREF_HEX)  # COLORREF (16進) copied again, kept at close
    # The colour-list image: the line under it gives the contrast of the
    # newest colour (orange) with the one before (navy).
    h.choose_from_star_menu(1, "t", "c")
    h.wait_title("^取得した色を画像として表示$", timeout=15)
    texts = wait_until(lambda: [t for c, t in h.window_texts() if c != "tooltips_class32" and t.startswith("C19/")],
                       15, 0.5, "contrast line")
    assert_eq(texts, ["C19/C18 6.40:1 AA, Lc -50.9 large text"], "contrast line under the colour-list image")
    # ファイル(&F) ▸ 終了(&X) from the menu bar of the image layout.
    h.key("alt+f", settle=0.5)
    h.key("x", window=None, settle=0.3)
    h.wait_exit()
    ini = h.read_ini()
    assert_eq(re.search(r"^ColorMode=(.*)$", ini, re.M).group(1).strip(), "Name", "ColorMode at close")
    if "Custom1=C#|Color.FromArgb({r}, {g}, {b})" not in ini:
        raise HarnessError("the user's template was not kept as written")
    assert_eq(re.search(r"^CopyColorMode=(.*)$", ini, re.M).group(1).strip(), "ColorRefHex", "CopyColorMode")
