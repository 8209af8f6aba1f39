#!/usr/bin/env python3
"""Holds the source tree to its declared modules.

Every folder of src/ is a module that names the modules it uses
(hueloom_module in the top-level CMakeLists.txt, written to modules.txt as
lines "folder:used,used,..."). This fails, naming file and line, when
  - a file lies in a folder that is not a declared module,
  - a file includes a header of a module its own module does not use,
  - an included project header does not exist,
  - a portable file (not named *_win.*) includes a Win32 header or one of
    our *_win.h headers,
  - the declared uses form a cycle,
  - a module declares a use that none of its files makes.

    check_layers.py --src SRC --modules MODULES.TXT
    check_layers.py --self-test
"""
import argparse
import os
import re
import sys
import tempfile

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^">]+)[">]')
WIN32_HEADERS = {
    "windows.h", "windef.h", "winuser.h", "wingdi.h", "winbase.h", "commctrl.h", "commdlg.h",
    "shellapi.h", "shlobj.h", "objbase.h", "mmsystem.h", "htmlhelp.h", "winspool.h", "ole2.h",
}


def read_modules(path):
    modules = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line:
                continue
            folder, _, uses = line.partition(":")
            modules[folder] = [u for u in uses.split(",") if u]
    return modules


def find_cycle(modules):
    """A list of folders that closes a cycle of uses, or None."""
    state = {}
    stack = []

    def visit(m):
        state[m] = "open"
        stack.append(m)
        for u in modules.get(m, []):
            if state.get(u) == "open":
                return stack[stack.index(u):] + [u]
            if u not in state:
                found = visit(u)
                if found:
                    return found
        stack.pop()
        state[m] = "done"
        return None

    for m in sorted(modules):
        if m not in state:
            found = visit(m)
            if found:
                return found
    return None


def is_win32_file(name):
    stem = os.path.splitext(os.path.basename(name))[0]
    return stem.endswith("_win")


def check(src, modules):
    errors = []
    for m, uses in sorted(modules.items()):
        if not os.path.isdir(os.path.join(src, m)):
            errors.append(f"module {m}: no such folder")
        for u in uses:
            if u not in modules:
                errors.append(f"module {m} uses {u}, which is not a module")
    cycle = find_cycle(modules)
    if cycle:
        errors.append("modules use each other in a cycle: " + " -> ".join(cycle))

    made = {m: set() for m in modules}
    for dirpath, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith((".h", ".cpp")):
                continue
            path = os.path.join(dirpath, name)
            rel = os.path.relpath(path, src).replace(os.sep, "/")
            folder = os.path.dirname(rel)
            if folder not in modules:
                errors.append(f"{rel}: folder {folder or '.'} is not a declared module")
                continue
            allowed = set(modules[folder]) | {folder}
            with open(path, encoding="utf-8", errors="replace") as f:
                for number, line in enumerate(f, 1):
                    m = INCLUDE.match(line)
                    if not m:
                        continue
                    kind, header = m.groups()
                    where = f"{rel}:{number}"
                    if kind == "<":
                        if not is_win32_file(rel) and header.lower() in WIN32_HEADERS:
                            errors.append(f"{where}: portable file includes <{header}>")
                        continue
                    target = header if "/" in header else f"{folder}/{header}" if folder else header
                    if not os.path.isfile(os.path.join(src, target)):
                        errors.append(f"{where}: \"{header}\" does not exist")
                        continue
                    used = os.path.dirname(target)
                    made[folder].add(used)
                    if used not in allowed:
                        errors.append(f"{where}: includes \"{header}\" but module {folder} does not use {used}")
                    if not is_win32_file(rel) and is_win32_file(target):
                        errors.append(f"{where}: portable file includes Win32 header \"{header}\"")
    for m, uses in sorted(modules.items()):
        for u in uses:
            if u in modules and u not in made[m]:
                errors.append(f"module {m} declares a use of {u} that none of its files makes")
    return errors


def self_test():
    """The checker finds each kind of fault in a small tree, and passes a sound one."""
    def tree(files):
        root = tempfile.mkdtemp(prefix="layers-")
        for rel, text in files.items():
            p = os.path.join(root, rel)
            os.makedirs(os.path.dirname(p), exist_ok=True)
            with open(p, "w", encoding="utf-8") as f:
                f.write(text)
        return root

    sound = {"a/x.h": "#pragma once\n", "c/v.h": "", "b/y.h": '#include "a/x.h"\n', "b/y_win.cpp": "#include <windows.h>\n"}
    cases = [
        ("sound tree", sound, {"a": [], "b": ["a"], "c": []}, None),
        ("cycle", sound, {"a": ["b"], "b": ["a"]}, "cycle: a -> b -> a"),
        ("undeclared use", sound, {"a": [], "b": []}, "module b does not use a"),
        ("undeclared folder", sound, {"b": []}, "folder a is not a declared module"),
        ("windows.h in portable file", dict(sound, **{"a/z.cpp": "#include <windows.h>\n"}),
         {"a": [], "b": ["a"]}, "portable file includes <windows.h>"),
        ("_win.h in portable file", dict(sound, **{"a/w_win.h": "", "a/z.cpp": '#include "a/w_win.h"\n'}),
         {"a": [], "b": ["a"]}, "portable file includes Win32 header"),
        ("unused declaration", sound, {"a": [], "b": ["a"], "c": ["a"]}, "module c declares a use of a"),
        ("missing header", dict(sound, **{"a/z.cpp": '#include "a/none.h"\n'}),
         {"a": [], "b": ["a"]}, "does not exist"),
    ]
    failed = 0
    for title, files, modules, expected in cases:
        errors = check(tree(files), modules)
        ok = (not errors) if expected is None else any(expected in e for e in errors)
        if not ok:
            failed += 1
            print(f"self-test {title}: expected {expected!r}, got {errors}")
    print(f"self-test: {len(cases) - failed} of {len(cases)} cases as expected")
    return 1 if failed else 0


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--src")
    ap.add_argument("--modules")
    ap.add_argument("--self-test", action="store_true")
    args = ap.parse_args()
    if args.self_test:
        return self_test()
    if not args.src or not args.modules:
        ap.error("--src and --modules are required")
    errors = check(args.src, read_modules(args.modules))
    for e in errors:
        print(e, file=sys.stderr)
    if errors:
        print(f"{len(errors)} layering error(s)", file=sys.stderr)
        return 1
    print(f"includes keep to the {len(read_modules(args.modules))} declared modules; no cycle")
    return 0


if __name__ == "__main__":
    sys.exit(main())
