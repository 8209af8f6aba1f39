"""Writing the captured image out: the picture save dialog and its
confirmation, the clipboard copies seen from X, paste, and printing with no
printer installed. The files we write are read back by programs we did not
write: pngcheck and ImageMagick, djpeg, libwmf, LibreOffice and Inkscape."""
import os
import re
import shutil
import struct
import subprocess
import time

from harness import HarnessError, Image, Printer, Skip, clipboard_bitmap, wait_until, wine_path
from test_capture import INI, capture_screen, count_in_main, expect_colour, image_menu
from test_magnifier import assert_eq

COLOUR = (200, 30, 60)
SAVE_DIALOG = r"^画像ファイルとして保存$"
CONFIRM_BOX = r"^Hueloom$"


def file_menu(h, key):
    h.key("alt+f", settle=0.5)
    h.key(key, settle=0.3)


def save_as(h, path, replace=False):
    """ファイル(&F) ▸ 画像の保存(&S), then types the file's name into the
    dialog, which starts in the path's folder (the program's folder on a first
    save, then the folder of the last one). Only the name is typed: the
    keyboard map under Wine's Japanese locale mangles drive colons and
    backslashes. With `replace`, the file exists and the dialog's question
    whether to replace it is answered yes."""
    file_menu(h, "s")
    dlg = wait_until(lambda: h.find_window(SAVE_DIALOG), 40, 0.3, "picture save dialog")
    time.sleep(1.5)
    h.key("ctrl+a", window=dlg, settle=0.2)
    h.x("xdotool", "type", "--window", dlg, "--delay", "30", os.path.basename(path))
    time.sleep(0.3)
    h.key("Return", window=dlg, settle=1.0)
    if replace:  # the question bears the dialog's title and is the smaller window
        question = wait_until(lambda: (lambda w: w[-1] if len(w) > 1 else None)(
            sorted(h.find_windows(SAVE_DIALOG), key=lambda w: -h.window_geometry(w)[2])), 10, 0.3,
            "the question whether to replace the file")
        h.key("Return", window=question, settle=1.0)  # はい(Y)
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


OTHER = (20, 140, 220)
# Points of the capture inside the two halves of the test picture.
POINTS = {(20, 20): COLOUR, (220, 150): OTHER, (140, 280): COLOUR}


def read_with(args, what):
    """Runs a reader we did not write; it must accept the file and give a PPM."""
    r = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    if r.returncode != 0:
        raise HarnessError(f"{what}: {args[0]} rejects the file: {r.stderr.decode(errors='replace')[:300]}")
    return Image.from_ppm(r.stdout)


def expect_picture(img, what, tolerance=0):
    assert_eq((img.width, img.height), (1280, 1024), f"{what}: size")
    for (x, y), colour in POINTS.items():
        got = img.pixel(x, y)
        if any(abs(a - b) > tolerance for a, b in zip(got, colour)):
            raise HarnessError(f"{what}: pixel ({x}, {y}) is {got}, expected {colour}")


def wmf_picture(path):
    """libwmf reads the metafile and hands out the picture it draws."""
    svg = path + ".svg"
    subprocess.run(["wmf2svg", "-o", svg, path], check=True, timeout=60, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    with open(svg) as f:
        m = re.search(r'<image[^>]*width="([\d.]+)"[^>]*height="([\d.]+)"[^>]*'
                      r'transform="matrix\(([\d.]+) 0 0 ([\d.]+)[^>]*xlink:href="([^"]+)"', f.read())
    if not m:
        raise HarnessError("libwmf found no picture in the metafile")
    shown = (round(float(m.group(1)) / float(m.group(3))), round(float(m.group(2)) / float(m.group(4))))
    assert_eq(shown, (1280, 1024), "the metafile's picture size as libwmf draws it")
    return read_with(["convert", m.group(5), "-depth", "8", "ppm:-"], "WMF picture")


def placed(page):
    """The box (left, top, width, height) of what is not white on a page."""
    rows = [y for y in range(page.height) if any(page.pixel(x, y) != (255, 255, 255)
                                                  for x in range(0, page.width, 4))]
    if not rows:
        raise HarnessError("the page is empty")
    cols = [x for x in range(page.width) if any(page.pixel(x, y) != (255, 255, 255)
                                                 for y in range(rows[0], rows[-1] + 1, 4))]
    return cols[0], rows[0], cols[-1] + 1 - cols[0], rows[-1] + 1 - rows[0]


def expect_scaled_capture(page, box, what, tolerance):
    """The 1280 x 1024 capture drawn into box: its aspect and its colours."""
    left, top, w, ht = box
    if abs(w / ht - 1280 / 1024) > 0.02:
        raise HarnessError(f"{what}: the picture, {w} x {ht}, lost the capture's aspect")
    for (x, y), colour in POINTS.items():
        got = page.pixel(left + x * w // 1280, top + y * ht // 1024)
        if any(abs(a - b) > tolerance for a, b in zip(got, colour)):
            raise HarnessError(f"{what}: pixel for ({x}, {y}) is {got}, expected {colour}")


def emf_page(h, path):
    """LibreOffice draws the enhanced metafile on a page of its own."""
    if not shutil.which("soffice"):
        raise Skip("LibreOffice (the independent EMF reader) is not installed")
    profile = "file://" + os.path.join(h.dir, "lo-profile")
    subprocess.run(["soffice", f"-env:UserInstallation={profile}", "--headless", "--convert-to", "png",
                    "--outdir", h.dir, path], check=True, timeout=120, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    png = os.path.join(h.dir, os.path.splitext(os.path.basename(path))[0] + ".png")
    return read_with(["convert", png, "-background", "white", "-flatten", "-depth", "8", "ppm:-"], "EMF page")


def drawn_by(h, reader, path):
    """A metafile drawn by another program: Inkscape (WMF and EMF), libwmf's
    wmf2gd, or its wmf2svg with the SVG drawn by librsvg."""
    png = f"{path}.{reader}.png"
    steps = {"inkscape": [["inkscape", "--export-type=png", f"--export-filename={png}", path]],
             "wmf2gd": [["wmf2gd", "-t", "png", "-o", png, path]],
             "wmf2svg": [["wmf2svg", "-o", path + ".svg", path], ["rsvg-convert", "-o", png, path + ".svg"]]}[reader]
    for args in steps:
        if not shutil.which(args[0]):
            raise Skip(f"{args[0]} (a metafile reader) is not installed")
        subprocess.run(args, check=True, timeout=180, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       env=dict(os.environ, HOME=h.dir))
    return read_with(["convert", png, "-background", "white", "-flatten", "-depth", "8", "ppm:-"], reader)


def scenario_five_formats_through_the_dialog_read_by_other_programs(h):  # long
    h.show_picture(0, 0, 300, 300, lambda x, y: COLOUR if x < 150 else OTHER)
    out = os.path.join(h.dir, "out")
    os.makedirs(out)
    # The first dialog starts in the folder the settings file names.
    h.write_ini(INI + f"[FileDir]\nInitialDirImg={wine_path(out)}\n")
    h.start()
    capture_screen(h)
    expect_colour(h, COLOUR, "the captured picture")
    path = lambda name: os.path.join(out, name)
    save_as(h, path("shot.png"))
    close_confirmation(h, tick=False)  # asked each time until 今後表示しない is ticked
    save_as(h, path("shot.jpg"))
    close_confirmation(h, tick=True)
    for name in ("shot.bmp", "shot.emf", "shot.wmf"):
        save_as(h, path(name))
        time.sleep(0.5)
        if confirmation_box(h):
            raise HarnessError(f"confirmation shown again for {name} after ticking 今後表示しない")
        wait_until(lambda: os.path.exists(path(name)), 10, 0.2, name)
    w, ht, depth, colour_type, chunks = png_header(path("shot.png"))
    assert_eq((depth, colour_type), (8, 2), "PNG of a 32-bit capture: truecolour, no alpha")
    assert_eq(chunks[:6], ["IHDR", "tIME", "tEXt", chunks[3], "gAMA", "IDAT"], "chunk order")
    subprocess.run(["pngcheck", "-q", path("shot.png")], check=True, timeout=30)
    expect_picture(read_with(["convert", path("shot.png"), "-depth", "8", "ppm:-"], "PNG"), "PNG")
    expect_picture(read_with(["djpeg", "-pnm", path("shot.jpg")], "JPEG"), "JPEG", tolerance=8)
    expect_picture(read_with(["convert", path("shot.bmp"), "-depth", "8", "ppm:-"], "BMP"), "BMP")
    expect_picture(wmf_picture(path("shot.wmf")), "WMF")
    with open(path("shot.emf"), "rb") as f:
        head = f.read(44)
    assert_eq(struct.unpack("<I", head[:4])[0], 1, "EMR_HEADER record first")
    assert_eq(head[40:44], b" EMF", "enhanced metafile signature")
    page = emf_page(h, path("shot.emf"))
    expect_scaled_capture(page, placed(page), "EMF", 0)
    # The picture's bitmap record, drawn by the other metafile readers too.
    # (wmf2svg's own SVG of a picture is no valid XML for librsvg: wmf_picture
    # above reads the picture it writes.)
    for reader, name in (("inkscape", "shot.emf"), ("inkscape", "shot.wmf"), ("wmf2gd", "shot.wmf"),
                         ("libreoffice", "shot.wmf")):
        page = emf_page(h, path(name)) if reader == "libreoffice" else drawn_by(h, reader, path(name))
        expect_scaled_capture(page, placed(page), f"{name} drawn by {reader}", 0)
    # 256 colours: the two colours stay exact, in an 8-bit BMP and a palette PNG.
    image_menu(h, "Down")  # 256色に減色, see test_capture
    h.key("Return", settle=0.3)
    wait_until(lambda: os.path.exists(os.path.join(h.dir, "Undo.tmp")), 20, 0.3, "the reduction")
    time.sleep(1.0)
    save_as(h, path("256.bmp"))
    save_as(h, path("256.png"))
    wait_until(lambda: os.path.exists(path("256.png")), 10, 0.2, "256.png")
    with open(path("256.bmp"), "rb") as f:
        assert_eq(struct.unpack("<H", f.read(30)[28:30])[0], 8, "bits per pixel of the 256-colour BMP")
    assert_eq(png_header(path("256.png"))[3], 3, "PNG colour type of the 256-colour picture (palette)")
    subprocess.run(["pngcheck", "-q", path("256.png")], check=True, timeout=30)
    for name in ("256.bmp", "256.png"):
        expect_picture(read_with(["convert", path(name), "-depth", "8", "ppm:-"], name), name)
    h.close_program()
    ini = h.read_ini()
    if "Msg_ID3=1" not in ini:
        raise HarnessError("Msg_ID3 not stored")
    if ("InitialDirImg=" + wine_path(out)).lower() not in ini.lower():
        raise HarnessError("InitialDirImg is not the folder of the saved files")


def clipboard_targets(h):
    r = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "TARGETS"], env=h.xenv,
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=10)
    return r.stdout.decode("utf-8", errors="replace").split()


def offer(h, picture, target="image/bmp"):
    """Another program (xclip) puts a picture file on the X clipboard."""
    h.helpers.append(subprocess.Popen(["xclip", "-selection", "clipboard", "-t", target, "-i", picture],
                                      env=h.xenv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                      start_new_session=True))
    time.sleep(0.5)


# The image area's colour in the settings file ($00BBGGRR), which pixels a
# pasted PNG leaves transparent show.
BACK = (0x99, 0x66, 0x33)
PASTE_INI = INI + "[Display]\nImgBKColor=$00336699\n"


def rgba_picture(h):
    """A 64 x 48 picture with alpha, as a PAM file: stripes; the left half
    transparent, a band across the right half half-transparent. Returns it
    and what it shows over BACK."""
    w, ht = 64, 48
    px = [((x * 4) % 256, (y * 5) % 256, 200, 0 if x < 32 else 128 if 20 <= y < 28 else 255)
          for y in range(ht) for x in range(w)]
    path = os.path.join(h.dir, "rgba.pam")
    with open(path, "wb") as f:
        f.write(f"P7\nWIDTH {w}\nHEIGHT {ht}\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n".encode())
        f.write(bytes(v for p in px for v in p))
    shown = bytes((c * a + b * (255 - a) + 127) // 255 for *rgb, a in px for c, b in zip(rgb, BACK))
    return path, Image(w, ht, shown)


def paste_pngs(h):
    """Pictures another program offers only as PNG (image/png, which Wine
    hands on as the registered format "PNG"): palette, grey, 16-bit,
    interlaced and with alpha, each pasted exactly (alpha over the image
    area's colour) and copied back out; a damaged one is refused with a
    message naming the format, and the picture stays."""
    src = os.path.join(h.dir, "stripes.ppm")
    Image(64, 48, bytes(v for y in range(48) for x in range(64) for v in ((x * 4) % 256, y * 5, 90))).save(src)
    rgba, over = rgba_picture(h)
    cases = [("palette", [src, "-colors", "200", "PNG8:"]), ("grey", [src, "-colorspace", "Gray", "PNG:"]),
             ("16-bit", [src, "-depth", "16", "PNG48:"]), ("interlaced", [src, "-interlace", "PNG", "PNG24:"]),
             ("alpha", [rgba, "PNG32:"])]
    for name, args in cases:
        png = os.path.join(h.dir, f"paste-{name}.png")
        subprocess.run(["convert"] + args[:-1] + [args[-1] + png], check=True, timeout=30)
        expected = over if name == "alpha" else read_with(["convert", png, "-depth", "8", "ppm:-"], name)
        offer(h, png, "image/png")
        h.key("ctrl+v", settle=1.0)
        image_menu(h, "b")  # copied back out
        back = wait_until(lambda: (lambda p: p if p and p.data == expected.data else None)(clipboard_bitmap(h)), 10,
                          0.5, f"the pasted {name} PNG, exact, on the clipboard")
    damaged = bytearray(open(png, "rb").read())
    damaged[60] ^= 0xFF
    with open(os.path.join(h.dir, "damaged.png"), "wb") as f:
        f.write(damaged)
    offer(h, os.path.join(h.dir, "damaged.png"), "image/png")
    h.key("ctrl+v", settle=1.0)
    box = wait_until(lambda: confirmation_box(h) or h.find_window("^Hueloom$"), 10, 0.3, "the damaged PNG's message")
    texts = [t for c, t in h.window_texts() if "PNG" in t]
    if not any("クリップボードの画像（PNG）" in t for t in texts):
        raise HarnessError(f"the message does not name the PNG on the clipboard: {texts}")
    h.key("Return", window=box, settle=0.6)
    image_menu(h, "b")
    wait_until(lambda: (lambda p: p if p and p.data == back.data else None)(clipboard_bitmap(h)), 10, 0.5,
               "the picture kept after the damaged PNG")


def scenario_copy_bitmap_and_metafile_reach_other_programs(h):
    h.show_picture(0, 0, 300, 300, lambda x, y: COLOUR if x < 150 else OTHER)
    h.write_ini(PASTE_INI)
    h.start()
    capture_screen(h)
    expect_colour(h, COLOUR, "the captured picture")
    image_menu(h, "b")  # コピー・BMP(&B)
    # Another program takes the bitmap from the X clipboard.
    types = wait_until(lambda: [t for t in clipboard_targets(h) if t in ("image/png", "image/bmp")], 10, 0.3,
                       "a picture format on the X clipboard")
    picture = clipboard_bitmap(h, types[0])
    if not picture:
        raise HarnessError(f"ImageMagick cannot read the {types[0]} from the clipboard")
    expect_picture(picture, f"the clipboard's {types[0]}")
    image_menu(h, "e")  # コピー・EMF(&E)
    # The X side offers it as Wine's own target; its bytes are the metafile,
    # which LibreOffice draws.
    emf = wait_until(lambda: subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "WCF_ENHMETAFILE"],
                                            env=h.xenv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                            timeout=20).stdout, 10, 0.3, "the metafile on the X clipboard")
    with open(os.path.join(h.dir, "clipboard.emf"), "wb") as f:
        f.write(emf)
    page = emf_page(h, os.path.join(h.dir, "clipboard.emf"))
    expect_scaled_capture(page, placed(page), "the clipboard's metafile", 0)
    # Invert, then paste the metafile back: it is played into a white picture
    # of the capture's size, so the colour from before the inversion returns.
    image_menu(h, "r")  # 反転(&R)
    inverted = tuple(255 - c for c in COLOUR)
    expect_colour(h, inverted, "the inverted picture")
    h.key("ctrl+v", settle=1.5)
    expect_colour(h, COLOUR, "the pasted metafile")
    if count_in_main(h, inverted):
        raise HarnessError("the inverted picture still shows after the paste")
    # Another program puts a picture on the clipboard; paste takes it.
    foreign = (90, 200, 40)
    bmp = os.path.join(h.dir, "foreign.bmp")
    Image(64, 48, bytes(foreign) * 64 * 48).save(bmp)
    offer(h, bmp)
    h.key("ctrl+v", settle=1.5)
    expect_colour(h, foreign, "the picture another program put on the clipboard", least=64 * 48 - 100)
    # A palette picture from another program comes in pixel-exact.
    stripes = [(250, 10, 10), (10, 250, 10), (10, 10, 250)]
    palette_bmp = os.path.join(h.dir, "palette.bmp")
    Image(60, 40, b"".join(bytes(stripes[x // 20]) for y in range(40) for x in range(60))).save(palette_bmp)
    subprocess.run(["mogrify", "-type", "Palette", "-format", "bmp", "-define", "bmp:format=bmp3", palette_bmp],
                   check=True, timeout=30)
    offer(h, palette_bmp)
    h.key("ctrl+v", settle=1.5)
    image_menu(h, "b")  # copied back out: the same pixels
    back = wait_until(lambda: (lambda p: p if (p.width, p.height) == (60, 40) else None)(clipboard_bitmap(h)),
                      10, 0.5, "the pasted palette picture on the clipboard")
    for x, colour in ((5, stripes[0]), (30, stripes[1]), (55, stripes[2])):
        assert_eq(back.pixel(x, 20), colour, f"pasted palette picture at x={x}")
    # A broken one (its header promises far more pixels than it holds) gives
    # a message and leaves the picture as it was.
    broken = os.path.join(h.dir, "broken.bmp")
    with open(broken, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 70, 0, 0, 54)
                + struct.pack("<IiiHHIIiiII", 40, 100000, 100000, 1, 24, 0, 0, 0, 0, 0, 0) + bytes(16))
    offer(h, broken)
    h.key("ctrl+v", settle=1.0)
    box = wait_until(lambda: confirmation_box(h), 10, 0.3, "the message about the broken picture")
    h.key("Return", window=box, settle=0.6)
    expect_colour(h, stripes[1], "the palette picture kept after the broken paste", least=300)
    paste_pngs(h)


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


def printed_pdf(before, timeout=40):
    """The PDF cups-pdf writes for our job, once it is complete."""
    def done():
        new = [f for f in os.listdir(Printer.OUT) if f not in before and "Hueloom_Print_Image" in f]
        if not new:
            return None
        path = os.path.join(Printer.OUT, new[0])
        r = subprocess.run(["pdfinfo", path], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=10)
        return (path, r.stdout.decode()) if r.returncode == 0 else None
    return wait_until(done, timeout, 0.5, "the printed PDF")


def scenario_print_on_a_real_printer(h):
    why = Printer.missing()
    if why:
        raise Skip(f"no PDF printer: {why}")
    Printer.up(h.work)
    h.env = Printer.env(h.env)
    os.makedirs(Printer.OUT, exist_ok=True)
    before = set(os.listdir(Printer.OUT))
    h.show_picture(0, 0, 300, 300, lambda x, y: COLOUR if x < 150 else OTHER)
    h.write_ini(INI)
    h.start()
    capture_screen(h)
    expect_colour(h, COLOUR, "the captured picture")
    file_menu(h, "p")  # 画像を印刷(&P): the print dialog, OK prints
    dlg = wait_until(lambda: (h.find_windows("印刷", min_size=100) or [None])[0], 20, 0.3, "the print dialog")
    time.sleep(1.0)
    h.key("Return", window=dlg, settle=1.0)
    path, info = printed_pdf(before)
    try:
        pages = re.search(r"^Pages:\s+(\d+)", info, re.M)
        assert_eq(pages and int(pages.group(1)), 1, "pages printed")
        size = re.search(r"^Page size:\s+([\d.]+) x ([\d.]+) pts", info, re.M)
        assert_eq(size and (round(float(size.group(1))), round(float(size.group(2)))), (595, 842), "A4 page")
        dpi = 50
        page = read_with(["pdftoppm", "-r", str(dpi), "-singlefile", path], "the printed page")
    finally:
        os.remove(path)
    # The capture (1280 x 1024) is larger than the page: shrunk with its aspect
    # kept until its width spans the printable width, and centred.
    left, top, w, ht = box = placed(page)
    right, bottom = left + w, top + ht
    if abs(left - (page.width - right)) > 2 or abs(top - (page.height - bottom)) > 2:
        raise HarnessError(f"printed picture at {left},{top}-{right},{bottom} is not centred on the page")
    if w < page.width - 2 * 0.5 * dpi:  # at most half an inch of margin on each side
        raise HarnessError(f"printed picture {w} px wide does not span the printable width of {page.width} px")
    expect_scaled_capture(page, box, "printed page", 24)
    # The printer refuses the next job: the failure is reported, not taken for success.
    before = set(os.listdir(Printer.OUT))
    Printer.refuse(True)
    try:
        file_menu(h, "p")
        dlg = wait_until(lambda: (h.find_windows("印刷", min_size=100) or [None])[0], 20, 0.3, "the print dialog")
        time.sleep(1.0)
        h.key("Return", window=dlg, settle=1.0)
        box = wait_until(lambda: confirmation_box(h), 20, 0.3, "the message that printing failed")
        h.save_screenshot("printer-refused")
        h.key("Return", window=box, settle=0.6)
    finally:
        Printer.refuse(False)
    if [f for f in os.listdir(Printer.OUT) if f not in before]:
        raise HarnessError("a job the printer refused still came out")
    h.close_program()


def swatches(img, what):
    """The red and the blue swatch of the colour list in a picture: their
    pixel counts and whether blue follows red on the same row."""
    red = [(x, y) for y in range(img.height) for x in range(img.width) if img.pixel(x, y) == (255, 0, 0)]
    blue = [(x, y) for y in range(img.height) for x in range(img.width) if img.pixel(x, y) == (0, 0, 255)]
    if not red or not blue:
        raise HarnessError(f"{what}: no red or no blue swatch")
    if abs(len(red) - len(blue)) > len(red) // 20:
        raise HarnessError(f"{what}: swatches of {len(red)} and {len(blue)} pixels")
    if min(p[0] for p in blue) <= max(p[0] for p in red) or min(p[1] for p in blue) != min(p[1] for p in red):
        raise HarnessError(f"{what}: the blue swatch does not follow the red one")
    return len(red)


def scenario_colour_list_image_shown_and_saved_as_drawings(h):
    h.show_picture(100, 100, 80, 40, lambda x, y: (255, 0, 0) if x < 40 else (0, 0, 255))
    h.write_ini("[Message]\nMsg_ID1=1\nMsg_ID3=1\nMsg_ID4=1\n[Option]\nOptionRectWidth=30\n")
    h.start()
    h.focus_main()
    for x, title in ((110, r"^rgb\(255,0,0\)$"), (160, r"^rgb\(0,0,255\)$")):
        h.move_pointer(x, 120, settle=0.5)
        h.wait_title(title)
        h.key("shift+ctrl+c", settle=0.5)
    # ツール(&T) ▸ 取得した色の一覧を画像として表示(&C)
    h.choose_from_star_menu(1, "t", "c")
    h.wait_title("^取得した色を画像として表示$", timeout=15)
    # Two 30 × 30 swatches, red then blue.
    expect_colour(h, (255, 0, 0), "the red swatch", least=850)
    expect_colour(h, (0, 0, 255), "the blue swatch", least=850)
    x, y, w, ht = h.main_geometry()
    shot = h.screenshot()
    window = Image(w, ht, b"".join(bytes(shot.pixel(px, py)) for py in range(y, y + ht) for px in range(x, x + w)))
    assert_eq(swatches(window, "the window"), 900, "swatch size in the window")
    # Saved: the metafiles are the swatch drawing itself, not a bitmap of it.
    for name in ("list.png", "list.wmf", "list.emf"):
        save_as(h, os.path.join(h.dir, name))
    wait_until(lambda: os.path.exists(os.path.join(h.dir, "list.emf")), 10, 0.2, "list.emf")
    png = read_with(["convert", os.path.join(h.dir, "list.png"), "-depth", "8", "ppm:-"], "PNG")
    assert_eq(swatches(png, "PNG"), 900, "swatch size in the PNG")
    wmf = os.path.join(h.dir, "list.wmf")
    # Two filled rectangles take a few hundred bytes; a 60 x 30 bitmap alone 5 KB.
    if os.path.getsize(wmf) > 4000 or os.path.getsize(os.path.join(h.dir, "list.emf")) > 4000:
        raise HarnessError("the metafiles hold a bitmap of the swatches, not their drawing")
    # Every reader draws the same two swatches: LibreOffice and Inkscape both
    # files, libwmf (wmf2gd, and wmf2svg drawn by librsvg) the WMF.
    emf = os.path.join(h.dir, "list.emf")
    for reader, path in (("wmf2gd", wmf), ("wmf2svg", wmf), ("inkscape", wmf), ("inkscape", emf)):
        swatches(drawn_by(h, reader, path), f"{os.path.basename(path)} drawn by {reader}")
    for path in (wmf, emf):
        swatches(emf_page(h, path), f"{os.path.basename(path)} drawn by LibreOffice")
    # Clearing the list takes the swatches from the picture itself: saving
    # then finds no picture instead of writing swatches nobody sees.
    h.key("alt+v", settle=0.5)
    h.key("d", settle=0.8)  # 表示 ▸ 取得色の一覧のクリア(&D)
    if count_in_main(h, (255, 0, 0)) or count_in_main(h, (0, 0, 255)):
        raise HarnessError("the swatches still show after clearing the list")
    file_menu(h, "s")
    box = wait_until(lambda: h.find_window("^確認$"), 10, 0.3, "the no-picture message")
    if h.find_window(SAVE_DIALOG):
        raise HarnessError("the save dialog opened for a cleared colour list")
    h.key("Return", window=box, settle=0.6)
    h.close_program()


def coded(x, y):
    """Each pixel of the picture tells where it is."""
    return (x, y, 77) if x < 256 and y < 256 else (0, 0, 0)


def picture_origin(h):
    """Where the picture's pixel (0, 0) is on the screen, from a coded pixel
    shown in the main window."""
    x, y, w, ht = h.main_geometry()
    shot = h.screenshot()
    for px, py in ((px, py) for py in range(y + ht // 4, y + ht, 7) for px in range(x + 40, x + w, 7)):
        r, g, b = shot.pixel(px, py)
        if b == 77 and shot.pixel(px + 1, py + 1) == coded(r + 1, g + 1):
            return px - r, py - g
    raise HarnessError("no coded pixel of the captured picture in the main window")


def select(h, x0, y0, x1, y1):
    """Drags over the picture from its pixel (x0, y0) to (x1, y1)."""
    ox, oy = picture_origin(h)
    h.x("xdotool", "mousemove", str(ox + x0), str(oy + y0), "sleep", "0.2", "mousedown", "1")
    for f in (0.5, 1.0):
        h.x("xdotool", "sleep", "0.15", "mousemove", str(ox + round(x0 + (x1 - x0) * f)),
            str(oy + round(y0 + (y1 - y0) * f)))
    h.x("xdotool", "sleep", "0.2", "mouseup", "1", "sleep", "0.5")


def saved(h, out, name):
    save_as(h, os.path.join(out, name))
    wait_until(lambda: os.path.exists(os.path.join(out, name)), 10, 0.2, name)  # written whole, then renamed
    return read_with(["convert", os.path.join(out, name), "-depth", "8", "ppm:-"], name)


def expect_only_inside(img, orig, parts, what):
    """Inside each (rect, inside) of parts each pixel is inside(x, y); every
    other pixel as in orig."""
    want = bytearray(orig.data)
    for (l, t, r, b), inside in parts:
        for y, x in ((y, x) for y in range(t, b) for x in range(l, r)):
            want[(y * orig.width + x) * 3:(y * orig.width + x) * 3 + 3] = bytes(inside(x, y))
    if img.data != bytes(want):
        i = next(i for i in range(len(want)) if img.data[i] != want[i]) // 3
        raise HarnessError(f"{what}: pixel {i % orig.width, i // orig.width} is {tuple(img.data[i * 3:i * 3 + 3])}, "
                           f"expected {tuple(want[i * 3:i * 3 + 3])}")
    return img


def scenario_select_crop_fill_pixelate_and_undo(h):  # long
    h.show_picture(0, 0, 256, 256, coded)
    out = os.path.join(h.dir, "out")
    os.makedirs(out)
    # The fill colour from the settings file ($00BBGGRR): green.
    h.write_ini("[Message]\nMsg_ID1=1\nMsg_ID2=1\nMsg_ID3=1\n[Capture]\nSleepTime=300\nFillColor=$0000FF00\n"
                f"[FileDir]\nInitialDirImg={wine_path(out)}\n")
    h.start()
    capture_screen(h)
    orig = saved(h, out, "orig.png")
    # The picture's place in the capture (its window may have a border).
    dx, dy = next((x, y) for y in range(8) for x in range(8) if orig.pixel(x, y) == (0, 0, 77))
    at = lambda l, t, r, b: (l + dx, t + dy, r + dx, b + dy)
    # Dragged from (40, 30) to (140, 90), then one step right with the arrow key.
    select(h, 40, 30, 140, 90)
    h.key("Right", settle=0.4)
    image_menu(h, "t")  # 選択範囲で切り抜き(&T)
    crop = saved(h, out, "crop.png")
    assert_eq((crop.width, crop.height, crop.data == orig.crop(41 + dx, 30 + dy, 100, 60).data), (100, 60, True),
              "the cut-out: its size, and its pixels those of the picture")
    h.key("ctrl+z", settle=0.8)
    # Filled (dragged up and to the left), and pixelated apart from it in
    # squares of 12 from the selection's corner; the last ones are what is
    # left (50 = 4 × 12 + 2 across, 30 = 2 × 12 + 6 down).
    select(h, 130, 100, 70, 50)
    image_menu(h, "f")  # 選択範囲を塗りつぶし(&F)
    h.key("Escape", settle=0.4)  # the selection cleared: the picture undimmed
    select(h, 10, 10, 60, 40)
    image_menu(h, "m")  # 選択範囲をモザイク(&M)
    l, t, r, b = at(10, 10, 60, 40)

    def mean(x, y):
        bx, by = l + (x - l) // 12 * 12, t + (y - t) // 12 * 12
        xs, ys = range(bx, min(bx + 12, r)), range(by, min(by + 12, b))
        n = len(xs) * len(ys)
        return tuple((sum(orig.pixel(i, j)[c] for i in xs for j in ys) + n // 2) // n for c in range(3))

    fill = (at(70, 50, 130, 100), lambda x, y: (0, 255, 0))
    edits = expect_only_inside(saved(h, out, "edits.png"), orig, [fill, ((l, t, r, b), mean)], "fill and pixelate")
    # Invert acts on the selection only, and undo gives back the very picture.
    image_menu(h, "r")
    expect_only_inside(saved(h, out, "inverted.png"), orig,
                       [fill, ((l, t, r, b), lambda x, y: tuple(255 - c for c in mean(x, y)))], "invert on the selection")
    h.key("ctrl+z", settle=0.8)
    assert_eq(saved(h, out, "undone.png").data == edits.data, True, "the edited picture back after undo")
    h.close_program()
