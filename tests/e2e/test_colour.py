"""Colour management against Little CMS's transicc, and the program on a
display whose profile Wine reports (the X root's _ICC_PROFILE): content and
screen values, the profile in the saved files. The settings file's profile
and the conversion to sRGB are shown on two monitors (test_monitors.py)."""
import ctypes
import os
import random
import re
import shutil
import subprocess

from harness import HarnessError, wait_until, wine, wine_path
from test_capture import capture_screen
from test_export import png_header, read_with, save_as
from test_magnifier import assert_eq

ICC = "/usr/share/color/icc/"
PROFILES = ["colord/AdobeRGB1998.icc", "compatibleWithAdobeRGB1998.icc", "colord/ProPhotoRGB.icc",
            "colord/WideGamutRGB.icc", "colord/Rec709.icc"]


def transicc(colours, source, target):
    """Little CMS's conversion, relative colorimetric, clipped to 8 bits."""
    text = "".join(f"{r} {g} {b}\n" for r, g, b in colours)
    r = subprocess.run(["transicc", "-n", "-s", "-t1", "-i" + source, "-o" + target], input=text.encode(),
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=120, check=True)
    rows = [line.split() for line in r.stdout.decode().splitlines() if line.strip()]
    return [tuple(min(255, max(0, round(float(v)))) for v in row) for row in rows]


def require_witnesses():
    missing = [p for p in ("transicc", "exiftool", "pngcheck") if not shutil.which(p)]
    if missing or not os.path.exists(ICC + PROFILES[0]):
        raise HarnessError(f"colour witnesses missing: {missing or 'the ICC profiles'} (scripts/setup.sh installs them)")


def scenario_conversion_agrees_with_transicc(h):
    """10,000 colours per profile, converted by the system's colour management, within 1 of transicc."""
    require_witnesses()
    rng = random.Random(22)
    colours = [(r, g, b) for r in (0, 255) for g in (0, 255) for b in (0, 255)]
    colours += [tuple(rng.randrange(256) for _ in range(3)) for _ in range(10000 - len(colours))]
    src = os.path.join(h.dir, "colours.txt")
    with open(src, "w") as f:
        f.writelines(f"{r} {g} {b}\n" for r, g, b in colours)
    for name in PROFILES:
        out = os.path.join(h.dir, "out.txt")
        subprocess.run(wine(os.path.join(h.bin, "colour_tool.exe"), wine_path(ICC + name),
                            "colours.txt", "out.txt"), cwd=h.dir, env=h.env, timeout=120, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(out) as f:
            ours = [tuple(int(v) for v in line.split()) for line in f]
        theirs = transicc(colours, ICC + name, "*sRGB")
        assert_eq(len(ours), len(colours), f"{name}: colours converted")
        worst = max(max(abs(a - b) for a, b in zip(p, q)) for p, q in zip(ours, theirs))
        exact = sum(p == q for p, q in zip(ours, theirs))
        print(f"{name}: {exact} of {len(colours)} exact, worst {worst}")
        if worst > 1:
            raise HarnessError(f"{name}: a colour differs from transicc's by {worst}")


def set_display_profile(h, path):
    """Puts a profile on the X root window as _ICC_PROFILE (None: takes it
    away), where Wine's X11 driver finds the display's profile."""
    if path is None:
        subprocess.run(["xprop", "-root", "-remove", "_ICC_PROFILE"], env=h.xenv, timeout=10)
        return
    x = ctypes.cdll.LoadLibrary("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XChangeProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                  ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    with open(path, "rb") as f:
        data = f.read()
    d = x.XOpenDisplay(h.display.encode())
    if not d:
        raise HarnessError("cannot open the display")
    x.XChangeProperty(d, x.XDefaultRootWindow(d), x.XInternAtom(d, b"_ICC_PROFILE", 0),
                      x.XInternAtom(d, b"CARDINAL", 0), 8, 0, data, len(data))
    x.XCloseDisplay(d)


def shown(h):
    """The value the program shows (its title): the colour and whether it is marked."""
    title = wait_until(lambda: next((t for t in h.titles() if re.match(r"^≈?rgb\(\d+,\d+,\d+\)$", t)), None), 10,
                       0.2, "a value in the title")
    return tuple(int(v) for v in re.findall(r"\d+", title)), title.startswith("≈")


def value_at(h, x, y, previous=None):
    h.move_pointer(x, y, settle=0.6)
    if previous is not None:
        wait_until(lambda: shown(h) != previous, 10, 0.2, "the value at the new place")
    return shown(h)


def near(a, b, tolerance):
    return max(abs(p - q) for p, q in zip(a, b)) <= tolerance


def scenario_profiles_change_what_is_reported_and_saved(h):  # long
    require_witnesses()
    adobe = ICC + PROFILES[0]
    with open(adobe, "rb") as f:
        adobe_bytes = f.read()
    # Colours a colour-managed program shows on an Adobe RGB screen: sRGB
    # colours converted into the screen's space, and the screen's own green,
    # which lies outside sRGB.
    content = [(230, 20, 20), (30, 144, 255), (128, 128, 128)]
    device = transicc(content, "*sRGB", adobe) + [(0, 255, 0)]
    h.show_picture(100, 100, 240, 60, lambda x, y: device[x // 60])
    places = [(130 + 60 * i, 130) for i in range(4)]
    set_display_profile(h, adobe)
    try:
        # The profile Wine reports for its display.
        out = os.path.join(h.dir, "out")
        os.makedirs(out)
        h.write_ini("[Message]\nMsg_ID1=1\nMsg_ID2=1\nMsg_ID3=1\n[Capture]\nSleepTime=300\n"
                    f"[FileDir]\nInitialDirImg={wine_path(out)}\n")
        h.start()
        back = transicc(device, adobe, "*sRGB")
        seen = None
        for i, (x, y) in enumerate(places):
            seen = value_at(h, x, y, seen)
            colour, marked = seen
            if i < 3 and not (near(colour, back[i], 1) and near(colour, content[i], 2)) or marked != (i == 3):
                raise HarnessError(f"value over {device[i]}: {seen}, expected {back[i]} (transicc), "
                                   f"{'marked' if i == 3 else 'unmarked'}")
        # The right star's tooltip names the profile and the screen's value.
        x, y, w, _ = h.main_geometry()
        h.move_pointer(x + w - 18, y + 12, settle=0.3)
        tips = wait_until(lambda: [t for c, t in h.window_texts() if c == "tooltips_class32" and "sRGB" in t], 10,
                          0.5, "the right star's tooltip naming the profile")
        want = "表示状態の変更\\r\\nCompatible with Adobe RGB (1998) → sRGB（sRGB の外: ≈ 最も近い色）\\r\\n画面の値: rgb(0,255,0)"
        assert_eq(tips, [want], "the right star's tooltip")
        # 表示 ▸ 画面の値を表示: the screen's own values, exactly.
        h.choose_from_star_menu(1, "v", "w")
        seen = value_at(h, *places[1], seen)
        assert_eq(seen, (device[1], False), "the screen's value")
        h.choose_from_star_menu(1, "v", "w")
        # A capture keeps the screen's pixels and carries their profile.
        capture_screen(h)
        for name in ("shot.png", "shot.jpg", "shot.bmp"):
            save_as(h, os.path.join(out, name))
            wait_until(lambda: os.path.exists(os.path.join(out, name)), 10, 0.2, name)
        png = os.path.join(out, "shot.png")
        chunks = png_header(png)[4]
        assert_eq(("iCCP" in chunks, "gAMA" in chunks), (True, False), f"the profile for the gamma in {chunks}")
        check = subprocess.run(["pngcheck", "-v", png], stdout=subprocess.PIPE, timeout=30, check=True).stdout.decode()
        if "iCCP" not in check or "Adobe RGB (1998)" not in check:
            raise HarnessError(f"pngcheck -v: {check[:400]}")
        for name in ("shot.png", "shot.jpg", "shot.bmp"):  # the profile ImageMagick extracts
            icc = subprocess.run(["convert", os.path.join(out, name), "icc:-"], stdout=subprocess.PIPE, timeout=60)
            assert_eq(icc.stdout == adobe_bytes, True, f"{name}: the screen's profile")
        jpeg_icc = subprocess.run(["exiftool", "-b", "-ICC_Profile", os.path.join(out, "shot.jpg")],
                                  stdout=subprocess.PIPE, timeout=60, check=True).stdout
        assert_eq(jpeg_icc == adobe_bytes, True, "the JPEG's profile as exiftool reads it")
        pixels = read_with(["convert", png, "-depth", "8", "ppm:-"], "PNG")
        assert_eq(pixels.pixel(*places[1]), device[1], "the saved pixel, as the screen has it")
        h.close_program()
        if "ScreenValues=0" not in h.read_ini():
            raise HarnessError("the screen values' switch was not kept")
    finally:
        set_display_profile(h, None)
