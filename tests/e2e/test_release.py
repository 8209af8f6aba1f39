"""The release: scripts/package.sh's zips and SHA256SUMS; the zip unpacked
into an empty folder starts there in Japanese, in English under LANG=en_US
(with its English help) and with Language=en under the Japanese locale."""
import os
import shutil
import signal
import subprocess
import zipfile

from harness import HarnessError, wait_until
from test_infobox import built_libraries
from test_magnifier import assert_eq

ROOT = os.path.join(os.path.dirname(__file__), "..", "..")
FILES = ["Hueloom.chm", "Hueloom.en.chm", "Hueloom.exe", "LICENSE", "README.txt", "THIRD-PARTY-NOTICES"]


def capture_texts(h, note=False):
    """ツール ▸ スクリーン・キャプチャ (Tools ▸ Screen capture: the same keys in
    both languages): the main window's caption and label then."""
    h.choose_from_star_menu(1, "t", "s")
    if note:  # the capture's note, at a first start
        box = wait_until(lambda: h.find_window(r"^情報！$"), 15, 0.3, "the capture note")
        h.key("Return", window=box, settle=0.5)
    title = wait_until(lambda: next((t for t in h.titles() if t in ("スクリーン・キャプチャ", "Screen capture")), None),
                       15, 0.3, "the capture's caption")
    label = next(t for c, t in h.window_texts() if c == "TLabel")
    return title, label


def scenario_zip_starts_from_an_empty_folder(h):
    dist = os.path.join(h.dir, "dist")
    subprocess.run(["bash", os.path.join(ROOT, "scripts", "package.sh"), dist], check=True, timeout=120,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["sha256sum", "--quiet", "-c", "SHA256SUMS"], cwd=dist, check=True, timeout=60)
    arch = "win32" if "mingw32" in h.bin else "win64"
    zips = sorted(n for n in os.listdir(dist) if n.endswith(".zip"))
    version = zips[0].split("-")[1]
    assert_eq(zips, [f"Hueloom-{version}-win32.zip", f"Hueloom-{version}-win64.zip"], "the zips")
    folder = os.path.join(h.lane.prefix, "drive_c", "Downloads")
    shutil.rmtree(folder, ignore_errors=True)
    try:
        with zipfile.ZipFile(os.path.join(dist, f"Hueloom-{version}-{arch}.zip")) as z:
            assert_eq(sorted(z.namelist()), [f"Hueloom-{version}/{f}" for f in FILES], "the zip's files")
            z.extractall(folder)
        h.dir = os.path.join(folder, f"Hueloom-{version}")
        h.exe, h.ini = os.path.join(h.dir, "Hueloom.exe"), os.path.join(h.dir, "Hueloom.ini")
        with open(os.path.join(h.dir, "THIRD-PARTY-NOTICES"), encoding="utf-8") as f:
            notices = f.read()
        for name, ver in built_libraries():
            if f"\n{name} {ver}\n" not in notices:
                raise HarnessError(f"THIRD-PARTY-NOTICES has no section for {name} {ver}")
        h.start(wait_window=False)
        # The start-up hint of a first start, then the magnifier.
        box = wait_until(lambda: h.find_window(r"^Hueloom.+Ver\. 1\.0 A4$"), 60, 0.3, "the start-up hint")
        h.key("Return", window=box, settle=0.5)
        h.main = wait_until(lambda: h.find_window(r"^\(15x15\)x10$"), 30, 0.2, "the main window")
        assert_eq(capture_texts(h, note=True), ("スクリーン・キャプチャ", "拡大鏡モード停止中"), "the texts in Japanese")
        h.close_program()
        h.write_ini("[Message]\nMsg_ID1=1\nMsg_ID2=1\n[Capture]\nSleepTime=300\n[Option]\n")
        for lang, ini in (("en_US.UTF-8", None), ("ja_JP.UTF-8", "[Option]\nLanguage=en\n")):
            h.env["LANG"] = h.env["LC_ALL"] = lang
            if ini:
                h.write_ini(h.read_ini().replace("\r\n", "\n").replace("[Option]\n", ini))
            h.start()
            if not ini:  # Help ▸ Help: the English help beside the program, in the system's viewer
                h.choose_from_star_menu(1, "h", "h")
                h.wait_title(r"^Hueloom Help$", 20)
                for pid, name in h.lane.wine_processes():
                    if name == "hh.exe":
                        os.kill(pid, signal.SIGKILL)
            assert_eq(capture_texts(h), ("Screen capture", "Magnifier stopped"), f"the texts with {lang}, {ini!r}")
            h.close_program()
        # Only its settings file beside it (wine.log is the harness's).
        assert_eq(sorted(set(os.listdir(h.dir)) - {"wine.log"}), sorted(FILES + ["Hueloom.ini"]),
                  "the folder after a run")
    finally:
        shutil.rmtree(folder, ignore_errors=True)
