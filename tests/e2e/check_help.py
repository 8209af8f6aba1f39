#!/usr/bin/env python3
"""The help file shipped beside the program, read by a program we did not
write: extract_chmLib (chmlib) must unpack Hueloom.chm; its project header
must name the default topic, contents and index that are inside it; every
command of the main window's menu table (src/main/commands.cpp, checked
against the Command enumeration so that a table that cannot be read fails)
has its page, which names the command's caption and is in the contents;
every page is in the contents and every picture a page shows is there.

    check_help.py HUELOOM.chm SOURCE_DIR
"""
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile


def fail(msg):
    print("FAIL:", msg)
    sys.exit(1)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def system_entries(data):
    """#SYSTEM: a version word, then records (code, length, bytes); the text
    ones: 0 contents file, 1 index file, 2 default topic, 3 title."""
    out, pos = {}, 4
    while pos + 4 <= len(data):
        code, size = struct.unpack_from("<HH", data, pos)
        if code in (0, 1, 2, 3):
            out[code] = data[pos + 4:pos + 4 + size].rstrip(b"\0").decode("cp932")
        pos += 4 + size
    return out


def menu_commands(src, language):
    header = read(os.path.join(src, "src/main/commands.h")).decode()
    enum = re.search(r"enum class Command \{(.*?)\};", header, re.S).group(1)
    names = set(re.findall(r"^\s*(\w+),", enum, re.M)) - {"None"}
    # Captions are the texts of the items' names (mnuFile) in the file's language.
    table = read(os.path.join(src, f"src/core/texts_{language}.cpp")).decode()
    texts = dict(re.findall(r'\{"(mnu\w+)",\s*"([^"]*)"\}', table))
    table = read(os.path.join(src, "src/main/commands.cpp")).decode()
    rows = re.findall(r'\{\d+, Command::(\w+)', table)
    listed = {n: texts.get("mnu" + n, "") for n in rows if n != "None"}
    if len(names) < 40 or set(listed) != names:
        fail(f"menu table and Command enumeration disagree: {sorted(set(listed) ^ names)} ({len(names)} commands)")
    return listed


def main(chm, src):
    if not shutil.which("extract_chmLib"):
        print("SKIP: extract_chmLib (libchm-bin) is not installed")
        sys.exit(77)
    with tempfile.TemporaryDirectory(prefix="hueloom-chm-") as out:
        check(chm, src, out)


def check(chm, src, out):
    r = subprocess.run(["extract_chmLib", chm, out], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
    if r.returncode != 0:
        fail(f"extract_chmLib could not read {chm}: {r.stdout.decode(errors='replace')}")
    system = system_entries(read(os.path.join(out, "#SYSTEM")))
    for code, what in ((0, "contents"), (1, "index"), (2, "default topic")):
        if not system.get(code) or not os.path.isfile(os.path.join(out, system[code])):
            fail(f"the {what} named in the header ({system.get(code)!r}) is not in the file")
    # Hueloom.chm is the Japanese help, Hueloom.en.chm the English one.
    language = "en" if chm.endswith(".en.chm") else "ja"
    if system.get(3) != {"ja": "Hueloom ヘルプ", "en": "Hueloom Help"}[language]:
        fail(f"title {system.get(3)!r}")

    def text(rel):
        data = read(os.path.join(out, rel))
        try:
            return data.decode("cp932" if language == "ja" else "cp1252")
        except UnicodeDecodeError:
            fail(f"{rel} is not text in the file's code page")

    contents = set(re.findall(r'name="Local" value="([^"]+)"', text(system[0])))
    index = re.findall(r'name="Local" value="([^"]+)"', text(system[1]))
    for rel in contents | set(index):
        if not os.path.isfile(os.path.join(out, rel)):
            fail(f"contents or index names {rel}, which is not in the file")
    if len(index) < 60:
        fail(f"the index has only {len(index)} entries")

    pages = [os.path.relpath(os.path.join(d, f), out).replace(os.sep, "/")
             for d, _, fs in os.walk(out) for f in fs if f.endswith(".html")]
    for rel in pages:
        page = text(rel)
        if "charset=" + {"ja": "Shift_JIS", "en": "windows-1252"}[language] not in page:
            fail(f"{rel} does not declare its code page")
        if rel not in contents:
            fail(f"{rel} is not in the contents")
        for img in re.findall(r'<img src="([^"]+)"', page):
            pic = os.path.normpath(os.path.join(out, os.path.dirname(rel), img))
            if read(pic)[:8] != b"\x89PNG\r\n\x1a\n":
                fail(f"{rel} shows {img}, which is not a PNG picture in the file")
    if "Hueloom" not in text(system[2]):
        fail("the default topic does not name the program")

    commands = menu_commands(src, language)
    for name, caption in commands.items():
        rel = f"menu/mnu{name}.html"
        plain = re.sub(r"\s*\(&.\)", "", caption).replace("&", "")
        # A copy format may be told of on its format's page, the nine
        # templates on one page of their own: there the caption and the
        # command's name appear, on its own page it heads the page.
        shared = re.sub(r"^Copy", "V", name) if name.startswith("Copy") else None
        shared = "menu/mnuCustom.html" if re.fullmatch(r"(V|Copy)Custom\d", name) else f"menu/mnu{shared}.html"
        if rel in pages:
            if f"<h1>{plain}</h1>" not in text(rel):
                fail(f"{rel} is not headed by its caption {plain!r}")
        elif shared not in pages or plain not in text(shared) or "mnu" + re.sub(r"\d$", "", name) not in text(shared):
            fail(f"no page for the menu command {name} ({caption})")
    print(f"ok: {len(pages)} pages, {len(commands)} menu commands each with its page, "
          f"{len(index)} index entries, default topic {system[2]}")


if __name__ == "__main__":
    main(*sys.argv[1:])
