#!/usr/bin/env python3
"""Writes THIRD-PARTY-NOTICES: the full licence texts of the libraries the
.exe links statically, taken from the very files the build used (the MinGW
zlib header, libjpeg-turbo's and libdeflate's installed licence files), with
the versions their headers state.

notices.py OUT ZLIB_INCLUDE JPEG_INCLUDE DEFLATE_INCLUDE
"""
import os
import re
import sys


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def version(header, pattern):
    m = re.search(pattern, read(header))
    if not m:
        sys.exit(f"notices.py: no version in {header}")
    return m.group(1)


def section(text, start, end):
    """The lines of `text` from the one that is `start` to the one before `end`."""
    lines = text.splitlines()
    a = lines.index(start)
    b = next(i for i in range(a + 1, len(lines)) if lines[i] == end)
    return "\n".join(lines[a:b]).rstrip()


def main(out, zlib_dir, jpeg_dir, deflate_dir):
    zlib_h = os.path.join(zlib_dir, "zlib.h")
    jpeg_doc = os.path.join(jpeg_dir, "..", "share", "doc", "libjpeg-turbo")
    deflate_doc = os.path.join(deflate_dir, "..", "share", "doc", "libdeflate")
    zlib_licence = re.search(r"(Copyright \(C\).*?madler@alumni\.caltech\.edu)", read(zlib_h), re.S).group(1)
    parts = [
        ("zlib", version(zlib_h, r'#define ZLIB_VERSION "([^"]+)"'), zlib_licence),
        ("libjpeg-turbo", version(os.path.join(jpeg_dir, "jconfig.h"), r"#define LIBJPEG_TURBO_VERSION\s+(\S+)"),
         "This software is based in part on the work of the Independent JPEG Group.\n\n"
         + read(os.path.join(jpeg_doc, "LICENSE.md")).rstrip() + "\n\n"
         + section(read(os.path.join(jpeg_doc, "README.ijg")), "LEGAL ISSUES", "REFERENCES")),
        ("libdeflate", version(os.path.join(deflate_dir, "libdeflate.h"), r'LIBDEFLATE_VERSION_STRING\s+"([^"]+)"'),
         read(os.path.join(deflate_doc, "COPYING")).rstrip()),
    ]
    text = ("Hueloom.exe contains the following libraries, linked into it. Their licences\n"
            "ask that these notices go with the program.\n")
    for name, ver, licence in parts:
        rule = "=" * 78
        text += f"\n{rule}\n{name} {ver}\n{rule}\n\n{licence}\n"
    with open(out, "w", encoding="utf-8", newline="\r\n") as f:
        f.write(text)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
