#!/usr/bin/env bash
# The C++ files follow .clang-format. Exit 77 (reported as skipped) when no
# clang-format is installed.
set -euo pipefail
root="$1"
fmt=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$fmt" ]; then echo "skipped: no clang-format on this machine"; exit 77; fi
cd "$root"
git ls-files '*.cpp' '*.h' | xargs "$fmt" --dry-run --Werror
echo "every C++ file follows .clang-format"
