#!/usr/bin/env bash
# check-version.sh ARCH EXE VERSION
# The version resource of EXE, as the system's tools read it back: the one
# version number of the build in the fixed part and in both string blocks
# (Japanese and English), with every field a file's properties show.
set -euo pipefail
arch="$1" exe="$2" version="$3"
IFS=. read -r major minor patch <<<"$version"
rc="$("$arch-w64-mingw32-windres" --input "$exe" --output-format rc 2>/dev/null)"
fail() { echo "FAIL $exe: $*"; exit 1; }
grep -q "FILEVERSION $major, $minor, $patch, 0" <<<"$rc" || fail "FILEVERSION is not $version"
grep -q "PRODUCTVERSION $major, $minor, $patch, 0" <<<"$rc" || fail "PRODUCTVERSION is not $version"
for block in 041104B0 040904B0; do
    text="$(sed -n "/BLOCK \"$block\"/,/END/p" <<<"$rc")"
    [ -n "$text" ] || fail "no string block $block"
    for field in CompanyName FileDescription InternalName LegalCopyright OriginalFilename ProductName; do
        grep -q "VALUE \"$field\"" <<<"$text" || fail "$block has no $field"
    done
    for field in FileVersion ProductVersion; do
        grep -q "VALUE \"$field\", \"$version\"" <<<"$text" || fail "$block: $field is not $version"
    done
done
grep -q 'VALUE "Translation", 0x411, 1200, 0x409, 1200' <<<"$rc" || fail "no translation list of both languages"
echo "version $version in $exe"
