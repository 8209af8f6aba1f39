#!/usr/bin/env bash
# package.sh [OUT]: the release a user downloads, from the two Windows builds
# (bash scripts/test.sh or scripts/run.sh builds them):
# OUT/Hueloom-<version>-win64.zip and -win32.zip, each with the program, its
# help, a user's README, LICENSE and THIRD-PARTY-NOTICES in one folder
# Hueloom-<version>, and OUT/SHA256SUMS of the zips. OUT is build/dist
# unless given. The zips hold the same bytes for the same builds (fixed
# times and order).
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$here/build/dist}"
version="$(sed -n 's/^project(Hueloom VERSION \([0-9.]*\) .*/\1/p' "$here/CMakeLists.txt")"
[ -n "$version" ] || { echo "package.sh: no version in CMakeLists.txt" >&2; exit 1; }
mkdir -p "$out"
zips=()
for arch in 64 32; do
    bin="$here/build/mingw$arch/bin"
    for f in Hueloom.exe Hueloom.chm Hueloom.en.chm LICENSE THIRD-PARTY-NOTICES; do
        [ -f "$bin/$f" ] || { echo "package.sh: $bin/$f is missing (build the mingw$arch preset first)" >&2; exit 1; }
    done
    zip="Hueloom-$version-win$arch.zip"
    python3 - "$out/$zip" "Hueloom-$version" "$version" "$here/docs/release/README.txt" \
        "$bin/Hueloom.exe" "$bin/Hueloom.chm" "$bin/Hueloom.en.chm" "$bin/LICENSE" "$bin/THIRD-PARTY-NOTICES" <<'PY'
import os, sys, zipfile
zip_path, folder, version, readme, *files = sys.argv[1:]
with open(readme, encoding="utf-8") as f:
    text = f.read().replace("@VERSION@", version).replace("\n", "\r\n").encode("utf-8-sig")
entries = [("README.txt", text)] + [(os.path.basename(p), open(p, "rb").read()) for p in files]
with zipfile.ZipFile(zip_path + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name, data in sorted(entries):
        info = zipfile.ZipInfo(f"{folder}/{name}", date_time=(2026, 1, 1, 0, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        z.writestr(info, data)
os.replace(zip_path + ".part", zip_path)
PY
    zips+=("$zip")
done
(cd "$out" && sha256sum "${zips[@]}" > SHA256SUMS)
echo "package.sh: ${zips[*]} and SHA256SUMS in $out"
