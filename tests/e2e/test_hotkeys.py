"""Hot keys: the colour-copy key system-wide ("いつでも有効") or only while
the program is active, the scope chosen from the menu and kept in the
settings file, and the keys switched off around the memo save dialog.

"Another program is active" is Wine's notepad, started after the program (a
program that starts is activated). Key presses are sent to a Wine window;
a combination registered with the system is taken before any window sees it.
"""
import os
import re
import time

from harness import HarnessError, wait_until
from test_magnifier import assert_eq

COLOUR_A = (12, 34, 56)
COLOUR_B = (200, 100, 50)
TEXT_A = "rgb(12,34,56)"
TEXT_B = "rgb(200,100,50)"
# A two-colour picture at the top left, clear of the main window (centred)
# and of notepad (moved to the bottom right).
PICTURE = (60, 60, 80, 40)
POINT_A = (75, 80)
POINT_B = (125, 80)


def ini(scope=None):
    text = "[Message]\nMsg_ID1=1\n"
    if scope is not None:
        text += f"[Option]\nHookHotKey={scope}\n"
    return text


def show_picture(h):
    x, y, w, ht = PICTURE
    h.show_picture(x, y, w, ht, lambda px, py: COLOUR_A if px < w // 2 else COLOUR_B)


def start_notepad(h):
    """Starts Wine's notepad, which becomes the active program, and moves it
    out of the way. Returns its X window."""
    before = set(h.x("xdotool", "search", "--onlyvisible", "--class", "notepad", check=False).split())
    h.start_wine("notepad")

    def new_window():
        now = h.x("xdotool", "search", "--onlyvisible", "--class", "notepad", check=False).split()
        fresh = [w for w in now if w not in before]
        return fresh[0] if fresh else None

    wid = wait_until(new_window, 40, 0.3, "notepad window")
    time.sleep(1.0)
    h.x("xdotool", "windowsize", wid, "400", "300")
    h.x("xdotool", "windowmove", wid, "820", "680")
    time.sleep(0.5)
    return wid


def point_at(h, point, text):
    h.move_pointer(*point, settle=0.5)
    h.wait_title("^" + re.escape(text) + "$")


def copy_over(h, window, point, text):
    """Points at `point` (which shows `text`) and presses the copy key in `window`."""
    point_at(h, point, text)
    h.key("shift+ctrl+c", window=window, settle=0.5)


def wait_clipboard(h, text, what):
    wait_until(lambda: h.clipboard() == text, 5, 0.2, f"{what}: clipboard {text!r} (now {h.clipboard()!r})")


def assert_clipboard_stays_off(h, text, what, seconds=2.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if h.clipboard() == text:
            raise HarnessError(f"{what}: the value {text!r} was copied")
        time.sleep(0.2)


def choose_scope(h, always):
    """ツール(&T) ▸ ホットキーの有効範囲 ▸ one of its two items, from the left
    star's menu. The submenu has no mnemonic: it is the item above the last
    one, and its first item is the active-only one."""
    h.open_star_menu(1)
    h.key("t", settle=0.5)
    h.key("Up", settle=0.2)
    h.key("Up", settle=0.2)
    h.key("Right", settle=0.5)
    if always:
        h.key("Down", settle=0.2)
    h.key("Return", settle=0.6)


def scope_in(ini_text):
    m = re.search(r"^HookHotKey=(.*?)\r?$", ini_text, re.M)
    return m.group(1) if m else None


def scenario_always_scope_copies_while_another_program_is_active(h):
    show_picture(h)
    h.write_ini(ini("On"))
    h.start()
    notepad = start_notepad(h)
    copy_over(h, notepad, POINT_A, TEXT_A)
    wait_clipboard(h, TEXT_A, "copy key with notepad active")
    # Again over the other colour: the key keeps working.
    copy_over(h, notepad, POINT_B, TEXT_B)
    wait_clipboard(h, TEXT_B, "second copy key with notepad active")
    h.close_program()
    assert_eq(scope_in(h.read_ini()), "On", "HookHotKey written at exit")


def scenario_active_only_scope_ignores_the_key_elsewhere(h):
    show_picture(h)
    h.write_ini(ini("Off"))
    h.start()
    notepad = start_notepad(h)
    copy_over(h, notepad, POINT_A, TEXT_A)
    assert_clipboard_stays_off(h, TEXT_A, "copy key with notepad active in the active-only scope")
    # The same key does copy once the program is active: a click on the
    # window, then the pointer back over the picture.
    h.focus_main()
    point_at(h, POINT_A, TEXT_A)
    h.key("shift+ctrl+c", settle=0.5)
    wait_clipboard(h, TEXT_A, "copy key with the program active")
    h.close_program()
    assert_eq(scope_in(h.read_ini()), "Off", "HookHotKey written at exit")


def scenario_unknown_scope_text_means_active_only(h):
    show_picture(h)
    h.write_ini(ini("on"))  # not exactly "On"
    h.start()
    notepad = start_notepad(h)
    copy_over(h, notepad, POINT_A, TEXT_A)
    assert_clipboard_stays_off(h, TEXT_A, "copy key with HookHotKey=on")
    h.close_program()
    assert_eq(scope_in(h.read_ini()), "Off", "HookHotKey written at exit")


def scenario_scope_from_menu_is_saved_and_restored(h):
    show_picture(h)
    h.write_ini(ini())  # no HookHotKey: active-only
    h.start()
    choose_scope(h, always=True)
    h.close_program()
    assert_eq(scope_in(h.read_ini()), "On", "HookHotKey after choosing いつでも有効")

    # The next start comes up in the always scope.
    h.start()
    notepad = start_notepad(h)
    copy_over(h, notepad, POINT_A, TEXT_A)
    wait_clipboard(h, TEXT_A, "copy key after a restart in the always scope")

    # Back to active-only from the menu: written as Off.
    choose_scope(h, always=False)
    h.close_program()
    assert_eq(scope_in(h.read_ini()), "Off", "HookHotKey after choosing the active-only item")


def scenario_memo_save_dialog_switches_the_key_off(h):
    show_picture(h)
    h.write_ini(ini("On"))
    h.start()
    notepad = start_notepad(h)
    copy_over(h, notepad, POINT_A, TEXT_A)
    wait_clipboard(h, TEXT_A, "first copy")  # the list now has an entry: the memo can be saved

    # ファイル(&F) ▸ 色のメモの保存(&C) opens the save dialog.
    h.choose_from_star_menu(1, "f", "c")
    dlg = wait_until(lambda: h.find_window(".*保存.*") or h.find_window(".*Save.*"), 15, 0.3, "save dialog")
    time.sleep(1.0)
    # Sampling goes on behind the dialog; the key does not copy.
    copy_over(h, notepad, POINT_B, TEXT_B)
    assert_clipboard_stays_off(h, TEXT_B, "copy key while the memo save dialog is open")

    h.key("Escape", window=dlg, settle=0.5)
    wait_until(lambda: not h.find_window(".*保存.*") and not h.find_window(".*Save.*"), 10, 0.3,
               "save dialog closed")
    # Make another program active again, then the key works as before.
    notepad = start_notepad(h)
    copy_over(h, notepad, POINT_B, TEXT_B)
    wait_clipboard(h, TEXT_B, "copy key after the dialog closed")
    h.close_program()
    assert_eq(scope_in(h.read_ini()), "On", "HookHotKey written at exit")


def scenario_a_key_another_program_holds_is_named_and_the_others_work(h):
    holder = h.start_wine(os.path.join(h.bin, "hold_hotkey.exe"))
    time.sleep(1.5)
    if holder.poll() is not None:
        raise HarnessError("the helper could not take Shift+Ctrl+C")
    h.show_picture(100, 100, 80, 40, lambda x, y: COLOUR_A)
    h.write_ini(ini("On").replace("Msg_ID1=1\n", "Msg_ID1=1\nMsg_ID2=1\n"))
    h.start(wait_window=False)
    box = wait_until(lambda: h.find_window("^ホットキー$"), 30, 0.3, "the message naming the taken key")
    h.save_screenshot("hotkey-taken")
    h.key("Return", window=box, settle=0.8)
    h.main = wait_until(lambda: h.find_window(r"^\(15x15\)x10$"), 30, 0.2, "the main window")
    time.sleep(1.0)
    # The other keys are there: the screen-capture key captures.
    h.key("shift+ctrl+s", settle=0.5)
    h.wait_title("^スクリーン・キャプチャ$", timeout=15)
    h.close_program()
    if h.find_window("^ホットキー$"):
        raise HarnessError("the message came again")
