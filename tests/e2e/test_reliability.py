"""Nothing crashes, nothing is lost: commands that arrive while a long image
command runs are refused, and the picture stays whole; a save onto a full
disk keeps the earlier file and says why in the system's words, and so does
the settings file that cannot be written at close."""
import contextlib
import os
import random
import re
import struct
import shutil
import subprocess
import time

from harness import HarnessError, Skip, wait_until, wine, wine_path
from test_capture import INI, capture_screen, image_menu
from test_export import clipboard_bitmap, save_as

# Large enough that the reduction outlasts the storm of commands below
# (the progress window no longer slows it down).
NOISE_W, NOISE_H = 5760, 3240


def write_noise_bmp(path, seed=7):
    """A 24-bit bottom-up BMP of random pixels; returns its rows top-down as RGB."""
    rnd = random.Random(seed)
    rgb = rnd.randbytes(NOISE_W * NOISE_H * 3)
    row = NOISE_W * 3  # a multiple of 4 for this width
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + row * NOISE_H, 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, NOISE_W, NOISE_H, 1, 24, 0, row * NOISE_H, 2835, 2835, 0, 0))
        for y in range(NOISE_H - 1, -1, -1):
            line = bytearray(rgb[y * row:(y + 1) * row])
            line[0::3], line[2::3] = line[2::3], line[0::3]  # RGB -> BGR
            f.write(line)
    return rgb


def scenario_commands_during_the_reduction_are_refused(h):
    h.write_ini(INI)
    h.start()
    capture_screen(h)
    noise = write_noise_bmp(os.path.join(h.dir, "noise.bmp"))
    h.helpers.append(subprocess.Popen(["xclip", "-selection", "clipboard", "-t", "image/bmp", "-i",
                                       os.path.join(h.dir, "noise.bmp")], env=h.xenv, stdout=subprocess.DEVNULL,
                                      stderr=subprocess.DEVNULL, start_new_session=True))
    time.sleep(0.5)
    h.key("ctrl+v", settle=0.5)
    x, y, w, ht = h.main_geometry()
    wait_until(lambda: len(h.screenshot().region_colours(x, y, x + w, y + ht)) > 5000, 30, 0.5, "the noise pasted")
    undo = os.path.join(h.dir, "Undo.tmp")
    if os.path.exists(undo):
        os.remove(undo)  # the paste's snapshot; the reduction writes its own
    # 画像編集 ▸ 256色に減色, and as soon as its progress window shows,
    # everything that would touch the picture while that window pumps
    # messages: paste, undo, the capture hot key, PrintScreen, the magnifier
    # command, Shift+click. (Commands that arrive after the reduction are
    # not refused, so the storm must not come later than the window.)
    h.x("xdotool", "key", "--window", h.main, "alt+e", "Down", "Return")
    wait_until(lambda: h.find_window("^減色処理中$"), 10, 0.02, "the reduction's progress window")
    h.x("xdotool", "key", "--window", h.main, "ctrl+v", "ctrl+z", "shift+ctrl+s", "Print", "alt+v", "k", "Escape",
        "keydown", "shift", "mousemove", str(x + 60), str(y + 100), "click", "1", "keyup", "shift")
    if not h.find_window("^減色処理中$"):
        raise Skip("the reduction ended before the commands could reach it: nothing was tried during it")
    def ended():
        if h.find_window("^プログラム エラー$") or h.proc.poll() is not None:
            raise HarnessError("the program crashed during the reduction")
        return os.path.exists(undo) and not h.find_window("^減色処理中$")

    wait_until(ended, 60, 0.3, "the reduction to end")
    time.sleep(1.0)
    if h.proc.poll() is not None:
        raise HarnessError(f"the program ended (exit {h.proc.returncode})")
    h.save_screenshot("after-storm")
    # The picture is the reduced one, whole: at most 256 colours, its size kept.
    image_menu(h, "b")  # コピー・BMP(&B)
    reduced = wait_until(lambda: clipboard_bitmap(h), 20, 0.5, "the reduced picture on the clipboard")
    if (reduced.width, reduced.height) != (NOISE_W, NOISE_H):
        raise HarnessError(f"the picture is {reduced.width} x {reduced.height} after the reduction")
    colours = len({reduced.data[i:i + 3] for i in range(0, len(reduced.data), 3 * 97)})
    if colours > 256:
        raise HarnessError(f"{colours} colours after the reduction")
    # Undo gives back the exact picture from before the reduction.
    h.key("ctrl+z", settle=1.0)
    image_menu(h, "b")
    back = wait_until(lambda: (lambda p: p if p and p.data != reduced.data else None)(clipboard_bitmap(h)), 20, 0.5,
                      "the picture after undo on the clipboard")
    if back.data != noise:
        raise HarnessError("undo did not give back the exact picture from before the reduction")
    h.close_program()


def scenario_save_onto_a_full_disk_keeps_the_earlier_file_and_names_it(h):  # long
    """The picture is saved over a file on a 1 MB tmpfs: the write fails
    half-way. The tmpfs is mounted where Wine's server sees it too (the server
    opens the files for the program, so a mount namespace of the program alone
    would show the two different folders), and unmounted whatever happens."""
    small = os.path.join(h.dir, "small")
    os.makedirs(small)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1M", "tmpfs", small], stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL, timeout=10).returncode != 0:
        raise Skip("cannot mount a small tmpfs here (needs root)")
    try:
        earlier = os.urandom(3000)
        for name in ("keep.bmp", "keep.emf"):
            with open(os.path.join(small, name), "wb") as f:
                f.write(earlier)
        h.write_ini(INI.replace("[Message]\n", "[Message]\nMsg_ID3=1\n") + "[FileDir]\nInitialDirImg=" +
                    wine_path(small) + "\n")
        h.start()
        capture_screen(h)  # a 32-bit capture of the screen: 5 MB as a BMP
        # BMP from the picture's rows, EMF as the system records it: both
        # through the atomic writer.
        for name in ("keep.bmp", "keep.emf"):
            save_as(h, name, replace=True)
            boxes = lambda: h.find_windows(r"^Hueloom", min_size=50)
            box = wait_until(lambda: boxes()[0] if boxes() else None, 20, 0.3, f"the message of the failed save of {name}")
            h.save_screenshot(f"full-disk-{name}")
            text = message_box_text(h, box)
            h.key("Return", window=box, settle=0.5)
            expect_write_message(text, os.path.join(small, name))
            with open(os.path.join(small, name), "rb") as f:
                if f.read() != earlier:
                    raise HarnessError(f"the earlier {name} was not kept")
            left = sorted(os.listdir(small))
            if left != ["keep.bmp", "keep.emf"]:
                raise HarnessError(f"the failed save of {name} left files behind: {left}")
        h.close_program()
        settings_kept_when_they_cannot_be_written(h)
    finally:
        if h.proc and h.proc.poll() is None:
            h.lane.kill_programs()
        for folder in (small, os.path.join(h.dir, "ro"), os.path.join(h.dir, "prog")):
            subprocess.run(["umount", "-l", folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=10)


def message_box_text(h, box):
    """The text of a message box as it shows it, read by a program of our own."""
    title = h.window_name(box)
    return wait_until(lambda: subprocess.run(
        wine(os.path.join(h.bin, "read_message_box.exe"), title), env=h.env, stdout=subprocess.PIPE,
        stderr=subprocess.DEVNULL, timeout=60).stdout.decode("utf-8", errors="replace"), 20, 0.5,
        f"the text of the message box {title!r}")


def expect_write_message(text, path):
    """The message of a failed write: the file on the first line, the
    system's reason (in its Japanese words) on the next."""
    lines = [line.strip() for line in text.replace("\r", "").split("\n")]
    if len(lines) < 2 or not re.fullmatch(f"ファイル「{re.escape(wine_path(path))}」(に書き込めません|を作成できません)。",
                                          lines[0]):
        raise HarnessError(f"the message does not say which file it could not write: {text!r}")
    if re.search(r"No space|bad_alloc|error 0x", lines[1]) or not re.search(r"[\u3040-\u30ff\u4e00-\u9fff]", lines[1]):
        raise HarnessError(f"no reason in the system's (Japanese) words under the file name: {text!r}")


def settings_kept_when_they_cannot_be_written(h):
    """The program run from a folder on a full disk, then from a read-only
    one: closing, it cannot write its settings file; it says so once, names
    the file and the reason, closes, and the user's file stays as it was."""
    users = "[Window]\r\nTop=100\r\nLeft=200\r\n[Message]\r\nMsg_ID1=1\r\n"
    prog, rw, ro = (os.path.join(h.dir, n) for n in ("prog", "rw", "ro"))
    session_exe = h.exe

    def install(folder):
        os.makedirs(folder, exist_ok=True)
        shutil.copy2(session_exe, folder)
        with open(os.path.join(folder, "Hueloom.ini"), "w", newline="") as f:
            f.write(users)

    def full():  # a disk just large enough for the program, then filled up
        os.makedirs(prog)
        size = os.path.getsize(session_exe) + (1 << 20)
        subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size}", "tmpfs", prog], check=True, timeout=10)
        install(prog)
        with contextlib.suppress(OSError), open(os.path.join(prog, "filler"), "wb", buffering=0) as f:
            while f.write(bytes(65536)):
                pass
        return prog

    def read_only():  # the program's folder bound read-only elsewhere
        install(rw)
        os.makedirs(ro)
        subprocess.run(["mount", "--bind", rw, ro], check=True, timeout=10)
        subprocess.run(["mount", "-o", "remount,bind,ro", ro], check=True, timeout=10)
        return ro

    try:
        for setup in (full, read_only):
            folder = setup()
            h.exe = os.path.join(folder, "Hueloom.exe")
            h.start()
            h.choose_from_star_menu(2, "Up", "Return")
            box = wait_until(lambda: (h.find_windows(r"^Hueloom", min_size=50) or [None])[0], 20, 0.3,
                             f"the message of the settings that cannot be written ({setup.__name__})")
            expect_write_message(message_box_text(h, box), os.path.join(folder, "Hueloom.ini"))
            h.key("Return", window=box, settle=0.3)
            h.wait_exit()
            with open(os.path.join(folder, "Hueloom.ini"), newline="") as f:
                if f.read() != users:
                    raise HarnessError(f"the user's settings file changed ({setup.__name__})")
            left = sorted(set(os.listdir(folder)) - {"Hueloom.exe", "Hueloom.ini", "filler"})
            if left:
                raise HarnessError(f"the failed settings write left files behind ({setup.__name__}): {left}")
    finally:
        h.exe = session_exe
