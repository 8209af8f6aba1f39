#!/usr/bin/env bash
# Times the image engine against its peers on the same generated 4K pictures
# and prints the ratios (ours / peer; below 1 means we are faster).
#   ImageMagick  convert IMG +dither -colors 256 OUT      vs reduceTo256
#   libpng       filter none, same zlib settings          vs PngWriter (in hueloom_bench)
#   ImageMagick  PNG, filter none, same zlib level        (for reference)
#   cjpeg        -quality 90 -baseline -dct float         vs writeJpeg
# Peers run as commands are timed whole (start-up and reading the PPM file
# included); the best of several runs counts. Invert and grayscale have a
# rate target instead of a peer.
# Usage: bench/compare_image.sh [BUILD_DIR]   (default build/native)
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$here/build/native}"
bench="$build/bench/hueloom_bench"
images="$build/bench/hueloom_bench_images"
for f in "$bench" "$images"; do
    [ -x "$f" ] || { echo "missing $f: build the native preset first" >&2; exit 1; }
done
for t in convert cjpeg python3; do
    command -v "$t" >/dev/null || { echo "missing $t" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$images" "$work"

"$bench" --benchmark_format=json --benchmark_out="$work/ours.json" --benchmark_out_format=json \
    --benchmark_repetitions=3 --benchmark_report_aggregates_only=true >/dev/null

python3 - "$work" <<'PY'
import json, subprocess, sys, time
work = sys.argv[1]

def best(cmd, runs=3):
    times = []
    for _ in range(runs):
        t = time.perf_counter()
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - t)
    return min(times) * 1000.0

ours = {}
for b in json.load(open(f"{work}/ours.json"))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        ours[b["run_name"]] = b

def ms(name):
    b = ours[name]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}[b["time_unit"]]
    return b["real_time"] * scale

rows = []
def row(what, mine, peer_name, peer, target):
    rows.append((what, mine, peer_name, peer, mine / peer if peer else None, target))

for kind, img in ((0, "screenshot"), (1, "photo")):
    src = f"{work}/{img}.ppm"
    read = best(["convert", src, "null:"])
    im = best(["convert", src, "+dither", "-colors", "256", f"{work}/out.bmp"], runs=2)
    row(f"256 colours, {img}", ms(f"BM_Reduce256/{kind}/real_time"), "convert +dither -colors 256", im, "<= 0.10")
    print(f"(ImageMagick reads {img}.ppm alone in {read:.0f} ms)")
    for level in ((6, 1) if kind == 0 else (6,)):
        name = f"BM_PngEncode/{kind}/{level}/real_time"
        peer = f"BM_PeerLibpngEncode/{kind}/{level}/real_time"
        if peer in ours:
            row(f"PNG level {level}, {img}", ms(name), "libpng, filter none", ms(peer), "<= 1.15")
        imp = best(["convert", src, "-define", "png:compression-filter=0", "-define", f"png:compression-level={level}",
                    "-define", "png:compression-strategy=0", f"PNG24:{work}/out.png"])
        row(f"PNG level {level}, {img}", ms(name), "ImageMagick PNG24, filter none", imp, "(reference)")
    cj = best(["cjpeg", "-quality", "90", "-baseline", "-dct", "float", "-outfile", f"{work}/out.jpg", src])
    row(f"JPEG q90, {img}", ms(f"BM_JpegEncode/{kind}/real_time"), "cjpeg -quality 90 -baseline -dct float", cj,
        "<= 1.10")

print(f"{'operation':28} {'ours ms':>9}  {'peer':40} {'peer ms':>9} {'ratio':>7}  target")
for what, mine, pn, peer, ratio, target in rows:
    print(f"{what:28} {mine:9.1f}  {pn:40} {peer:9.1f} {ratio:7.3f}  {target}")

pixels = 3840 * 2160
for name, label in (("BM_Invert/24/real_time", "invert 24-bit"), ("BM_Invert/32/real_time", "invert 32-bit"),
                    ("BM_Grayscale/24/real_time", "grayscale 24-bit"), ("BM_Grayscale/32/real_time", "grayscale 32-bit")):
    rate = pixels / (ms(name) / 1000.0) / 1e6
    print(f"{label:28} {ms(name):9.1f} ms  {rate:8.0f} Mpixel/s  (target >= 300)")
for kind, img in ((0, "screenshot"), (1, "photo")):
    b = ours[f"BM_Reduce256/{kind}/real_time"]
    if "peak_extra_MB" in b:
        print(f"reduction peak extra memory, {img}: {b['peak_extra_MB']:.1f} MB "
              f"({b['peak_extra_B/px']:.2f} bytes/pixel), budget {b['budget_MB']:.1f} MB")
PY
