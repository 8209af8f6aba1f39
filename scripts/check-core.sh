#!/usr/bin/env bash
# The portable core must build without Win32: no file outside src/toolkit and
# the *_win.* files may include a Win32 header or one of our Win32 headers.
set -euo pipefail
src="${1:-$(dirname "$0")/../src}"
bad=$(find "$src" -type f \( -name '*.cpp' -o -name '*.h' \) \
        ! -path '*/toolkit/*' ! -name '*_win.cpp' ! -name '*_win.h' -print0 |
      xargs -0 -r grep -lE '#\s*include\s*[<"]([a-z0-9_]+/)?((windows|windef|winuser|wingdi|winbase|commctrl|commdlg|shellapi|shlobj|objbase|mmsystem)\.h|[a-z0-9_/]*_win\.h|toolkit/)' || true)
if [ -n "$bad" ]; then
    echo "Win32 includes in the portable core:"; echo "$bad"; exit 1
fi
echo "core is free of Win32 includes"
