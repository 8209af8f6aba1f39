#!/usr/bin/env python3
"""No text the user reads is written in the code: every string literal of
src/ with a Japanese word in it lives in the text
tables (src/core/texts_*.cpp), named by key; and every key the code asks
for is in the tables. Files still being moved over are listed in PENDING
and only counted.

check-texts.py SRC"""
import glob
import os
import re
import sys

PENDING = {
    "capture/rect_overlay_win.cpp", "capture/selection.cpp", "capture/selection.h", "capture/size_dialog_win.cpp",
    "colour_management/colour_transform_win.cpp", "colour_management/icc_profile.cpp", "dialogs/about/about.h",
    "dialogs/about/about_win.cpp", "dialogs/infobox/info_box_win.cpp", "dialogs/options/option.cpp",
    "dialogs/options/option_pages_win.cpp", "dialogs/options/option_win.cpp", "editing/clipboard_win.cpp",
    "editing/export_win.cpp", "editing/print_win.cpp", "image/file_io.cpp", "image/image_error.h",
    "image/win/dib_win.cpp", "magnifier/magnifier.cpp", "main/magnify_model.cpp", "picking/colour_chart.cpp",
    "shell/shell.cpp", "toolkit/application_win.cpp", "toolkit/clipboard_win.cpp", "toolkit/gdi_win.cpp",
}
# Kana, kanji and the full-width forms: signs such as ★ or ≈ are no words.
JAPANESE = re.compile(r"[\u3000-\u30ff\u4e00-\u9fff\uff00-\uffef]")
LITERAL = re.compile(r'(?:L|u8)?"((?:[^"\\\n]|\\.)*)"')
KEY_USE = re.compile(r'\b(?:wideText|text)\("([A-Za-z0-9_.]+)"\)')


def code_only(src):
    """The source without its comments (string and character literals kept)."""
    return re.sub(r'//[^\n]*|/\*.*?\*/|"(?:[^"\\\n]|\\.)*"|\'(?:[^\'\\\n]|\\.)*\'',
                  lambda m: m.group(0) if m.group(0)[0] in "\"'" else " ", src, flags=re.S)


def main(src):
    tables = {}
    for path in glob.glob(os.path.join(src, "core", "texts_*.cpp")):
        tables[path] = set(re.findall(r'\{"([^"]+)",\s*"', open(path, encoding="utf-8").read()))
    keys = set.intersection(*tables.values())
    faults, pending = [], 0
    for path in sorted(glob.glob(os.path.join(src, "**", "*.*"), recursive=True)):
        rel = os.path.relpath(path, src).replace(os.sep, "/")
        if not rel.endswith((".cpp", ".h")) or rel.startswith("core/texts_"):
            continue
        code = code_only(open(path, encoding="utf-8").read())
        texts = [m.group(1) for m in LITERAL.finditer(code) if JAPANESE.search(m.group(1))]
        if rel in PENDING:
            pending += len(texts)
        else:
            faults += [f"{rel}: a text in the code, not in the tables: \"{t[:40]}\"" for t in texts]
        faults += [f"{rel}: no text for the key \"{k}\"" for k in KEY_USE.findall(code) if k not in keys]
    for path, k in tables.items():
        faults += [f"{os.path.basename(path)}: \"{x}\" is in no other table" for x in sorted(k - keys)]
    print("\n".join(faults) or f"every text is in the tables; {len(keys)} keys, {pending} texts still to move "
                                 f"from {len(PENDING)} files")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
