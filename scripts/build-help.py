#!/usr/bin/env python3
"""Compiles a help file from its pages: Hueloom.chm from docs/help
(Japanese), Hueloom.en.chm from docs/help-en (English).

    build-help.py SOURCE_DIR STAGE_DIR OUTPUT.chm [en]

The pages, contents (.hhc), index (.hhk) and project (.hhp) are kept in
UTF-8. The HTML Help viewer reads contents and index in the code page of
the file's language (Japanese: Shift-JIS, code page 932; English:
Windows-1252), so everything is converted to it in STAGE_DIR (a character
that the code page cannot hold stops the build, except that an English page
writes it as a character reference), the project's [FILES] section is filled
with every page, style sheet and picture, and chmcmd (Free Pascal) compiles
the result.
"""
import os
import shutil
import subprocess
import sys

TEXT = (".html", ".hhc", ".hhk", ".hhp", ".css")


def main(src, stage, out, language="ja"):
    codepage, charset = ("cp1252", "windows-1252") if language == "en" else ("cp932", "Shift_JIS")
    shutil.rmtree(stage, ignore_errors=True)
    files = []
    for root, _, names in os.walk(src):
        for name in sorted(names):
            path = os.path.join(root, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            dest = os.path.join(stage, rel)
            os.makedirs(os.path.dirname(dest), exist_ok=True)
            if name.endswith(TEXT):
                with open(path, encoding="utf-8") as f:
                    text = f.read().replace("charset=UTF-8", "charset=" + charset)
                if name.endswith(".hhp"):
                    project = rel
                try:
                    data = text.encode(codepage, "xmlcharrefreplace" if language == "en" and name.endswith(".html")
                                       else "strict")
                except UnicodeEncodeError as e:
                    sys.exit(f"{path}: {text[e.start:e.end]!r} has no form in {codepage}")
                with open(dest, "wb") as f:
                    f.write(data)
            else:
                shutil.copyfile(path, dest)
            if name.endswith((".html", ".css", ".png")):
                files.append(rel.replace("/", "\\"))
    with open(os.path.join(stage, project), "ab") as f:
        f.write(("\r\n[FILES]\r\n" + "".join(p + "\r\n" for p in sorted(files))).encode(codepage))
    r = subprocess.run(["chmcmd", "--no-html-scan", project], cwd=stage, stdout=subprocess.PIPE,
                       stderr=subprocess.STDOUT, timeout=120)
    log = r.stdout.decode("utf-8", errors="replace")
    chm = os.path.join(stage, "Hueloom.chm")
    if r.returncode != 0 or not os.path.exists(chm) or "Error" in log:
        sys.exit(f"chmcmd failed (exit {r.returncode}):\n{log}")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    shutil.copyfile(chm, out)


if __name__ == "__main__":
    if len(sys.argv) not in (4, 5):
        sys.exit(__doc__)
    main(*sys.argv[1:])
