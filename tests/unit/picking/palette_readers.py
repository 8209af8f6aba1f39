#!/usr/bin/env python3
"""Reads the palette files that palette_tool writes with other programs'
parsers and holds their colours against the picked list the tool builds.

  palette_readers.py gpl|json|css PALETTE_TOOL WORKDIR

gpl:  GIMP's palette format as GIMP documents and loads it: the magic line
      "GIMP Palette", optional "Name:" and "Columns:" lines, "#" comments,
      then one colour a line: three integers 0..255 separated by white space
      and the rest of the line, after white space, as the colour's name.
json: Python's json module, strict (duplicate keys refused too).
css:  css-tree from the npm registry (installed by scripts/setup.sh): the
      file parses without error, and every custom property's value matches
      the <color> syntax in css-tree's own grammar.
"""
import json
import os
import re
import shutil
import subprocess
import sys
from pathlib import Path

# The list palette_tool picks.
EXPECTED = [("C1", 255, 0, 0), ("C2", 255, 128, 0), ("C3", 0, 0, 0), ("C4", 255, 255, 255),
            ("C5", 12, 34, 56), ("C6", 102, 51, 153), ("C7", 1, 2, 3)]
HERE = Path(__file__).resolve().parent


class ReadError(AssertionError):
    pass


def fail(message):
    raise ReadError(message)


def text_of(path):
    data = path.read_bytes()
    if b"\r" in data:
        fail(f"{path.name} has CR line ends")
    if not data.endswith(b"\n"):
        fail(f"{path.name} does not end with a line break")
    return data.decode("utf-8")  # raises on anything but UTF-8


def read_gpl(path, name="Hueloom picked colours", columns="4"):
    lines = text_of(path).split("\n")[:-1]
    if not lines or lines[0] != "GIMP Palette":
        fail(f"no 'GIMP Palette' magic line: {lines[:1]}")
    header, colours = {}, []
    for line in lines[1:]:
        m = re.match(r"^(Name|Columns):\s*(.*)$", line)
        if m and not colours:
            header[m.group(1)] = m.group(2)
            continue
        if line.startswith("#") or not line.strip():
            continue
        m = re.match(r"^\s*(\d+)\s+(\d+)\s+(\d+)(?:\s+(.*))?$", line)
        if not m:
            fail(f"not a colour line: {line!r}")
        r, g, b = (int(m.group(i)) for i in (1, 2, 3))
        if max(r, g, b) > 255:
            fail(f"channel out of range: {line!r}")
        if "\t" not in line:
            fail(f"no tab before the name: {line!r}")
        colours.append((m.group(4) or "Untitled", r, g, b))
    if header.get("Name") != name:
        fail(f"Name: {header.get('Name')!r}")
    if header.get("Columns") != columns:
        fail(f"Columns: {header.get('Columns')!r}")
    return colours


def read_json(path):
    def no_duplicates(pairs):
        keys = [k for k, _ in pairs]
        if len(keys) != len(set(keys)):
            fail(f"duplicate keys {keys}")
        return dict(pairs)

    doc = json.loads(text_of(path), object_pairs_hook=no_duplicates)
    if not isinstance(doc, list):
        fail("the document is not an array")
    colours = []
    for item in doc:
        if set(item) != {"name", "hex", "rgb"}:
            fail(f"keys {sorted(item)}")
        rgb = item["rgb"]
        if not (isinstance(rgb, list) and len(rgb) == 3 and all(isinstance(v, int) for v in rgb)):
            fail(f"rgb {rgb!r}")
        if item["hex"] != "#%02X%02X%02X" % tuple(rgb):
            fail(f"hex {item['hex']} does not match rgb {rgb}")
        colours.append((item["name"], *rgb))
    return colours


def read_css(path):
    node = shutil.which("node")
    if not node:
        fail("node is not installed (scripts/setup.sh installs it)")
    modules = Path(os.environ.get("HUELOOM_DEPS", "/opt/hueloom-deps")) / "npm" / "node_modules"
    if not (modules / "css-tree").is_dir():
        fail(f"css-tree is not installed in {modules} (scripts/setup.sh installs it)")
    run = subprocess.run([node, str(HERE / "palette_css_reader.js"), str(path)], capture_output=True, text=True,
                         timeout=60, env={**os.environ, "NODE_PATH": str(modules)})
    if run.returncode != 0:
        fail(f"css-tree: {run.stdout}{run.stderr}")
    colours = []
    for prop, value in json.loads(run.stdout):
        m = re.fullmatch(r"--c(\d+)", prop)
        h = re.fullmatch(r"#([0-9A-F]{2})([0-9A-F]{2})([0-9A-F]{2})", value)
        if not m or not h:
            fail(f"declaration {prop}: {value}")
        colours.append((f"C{m.group(1)}", *(int(x, 16) for x in h.groups())))
    return colours


def main():
    try:
        check()
    except ReadError as e:
        print(f"FAIL: {e}")
        sys.exit(1)


def check():
    kind, tool, work = sys.argv[1], sys.argv[2], Path(sys.argv[3]) / sys.argv[1]
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    subprocess.run([tool, str(work)], check=True, timeout=60)
    reader = {"gpl": read_gpl, "json": read_json, "css": read_css}[kind]
    colours = reader(work / f"picked.{kind}")
    if colours != [tuple(e) for e in EXPECTED]:
        fail(f"colours read: {colours}\n  expected:   {EXPECTED}")
    print(f"ok: {len(colours)} colours read back from picked.{kind}")


if __name__ == "__main__":
    main()
