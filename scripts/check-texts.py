#!/usr/bin/env python3
"""No text the user reads is written in the code: every string literal of
src/ with a Japanese word in it lives in the text tables
(src/core/texts_*.cpp), named by key; every key the code asks for is in the
tables, and each table has every key.

check-texts.py SRC"""
import glob
import os
import re
import sys

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
    faults = []
    for path in sorted(glob.glob(os.path.join(src, "**", "*.*"), recursive=True)):
        rel = os.path.relpath(path, src).replace(os.sep, "/")
        if not rel.endswith((".cpp", ".h")) or rel.startswith("core/texts_"):
            continue
        code = code_only(open(path, encoding="utf-8").read())
        texts = [m.group(1) for m in LITERAL.finditer(code) if JAPANESE.search(m.group(1))]
        faults += [f"{rel}: a text in the code, not in the tables: \"{t[:40]}\"" for t in texts]
        faults += [f"{rel}: no text for the key \"{k}\"" for k in KEY_USE.findall(code) if k not in keys]
    for path, k in tables.items():
        faults += [f"{os.path.basename(path)}: \"{x}\" is in no other table" for x in sorted(k - keys)]
    print("\n".join(faults) or f"every text is in the tables ({len(keys)} keys, each in {len(tables)} languages)")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
