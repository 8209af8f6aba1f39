#!/usr/bin/env bash
# Times the image engine against its peers on the same generated 4K pictures
# and prints the ratios (ours / peer; below 1 means we are faster).
#   ImageMagick  convert IMG +dither -colors 256 OUT      vs reduceTo256
#   libpng       same zlib level, window, memory level and strategy, with its
#                own per-row filter choice and with filter none, in memory
#                (in hueloom_bench)                       vs PngWriter at the
#                zlib level of each PNGQuality (0, 1, 6, 9): time and size
#   ImageMagick  PNG, filter none, zlib level 6           (for reference)
#   cjpeg        -quality 90 -baseline -dct float         vs writeJpeg
# Peers run as commands are timed whole (start-up and reading the PPM file
# included); the best of several runs counts. In-process benchmarks count
# the median of 5 runs, in wall-clock time and in the process's CPU time
# (the better guide on a machine that other work shares). Invert and
# grayscale have a rate target instead of a peer.
# Usage: bench/compare_image.sh [--png] [BUILD_DIR]   (default build/native)
#   --png  only the PNG save table
set -euo pipefail

png_only=0
if [ "${1:-}" = "--png" ]; then
    png_only=1
    shift
fi
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
filter=.
if [ $png_only = 1 ]; then
    filter='Png|Libpng'
else
    "$images" "$work"
fi

"$bench" --benchmark_filter="$filter" --benchmark_format=json --benchmark_out="$work/ours.json" --benchmark_out_format=json \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true >/dev/null

python3 - "$work" "$png_only" <<'PY'
import json, subprocess, sys, time
work = sys.argv[1]
png_only = sys.argv[2] == "1"

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

def ms(name, key="real_time"):
    b = ours[name]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1000.0}[b["time_unit"]]
    return b[key] * scale

rows = []
def row(what, mine, peer_name, peer, target):
    rows.append((what, mine, peer_name, peer, mine / peer if peer else None, target))

for kind, img in (() if png_only else ((0, "screenshot"), (1, "photo"))):
    src = f"{work}/{img}.ppm"
    read = best(["convert", src, "null:"])
    im = best(["convert", src, "+dither", "-colors", "256", f"{work}/out.bmp"], runs=2)
    row(f"256 colours, {img}", ms(f"BM_Reduce256/{kind}/real_time"), "convert +dither -colors 256", im, "<= 0.10")
    print(f"(ImageMagick reads {img}.ppm alone in {read:.0f} ms)")
    imp = best(["convert", src, "-define", "png:compression-filter=0", "-define", "png:compression-level=6",
                "-define", "png:compression-strategy=0", f"PNG24:{work}/out.png"])
    row(f"PNG level 6, {img}", ms(f"BM_PngEncode/{kind}/6/process_time/real_time"),
        "ImageMagick PNG24, filter none", imp, "(reference)")
    cj = best(["cjpeg", "-quality", "90", "-baseline", "-dct", "float", "-outfile", f"{work}/out.jpg", src])
    row(f"JPEG q90, {img}", ms(f"BM_JpegEncode/{kind}/real_time"), "cjpeg -quality 90 -baseline -dct float", cj,
        "<= 1.10")

if rows:
    print(f"{'operation':28} {'ours ms':>9}  {'peer':40} {'peer ms':>9} {'ratio':>7}  target")
for what, mine, pn, peer, ratio, target in rows:
    print(f"{what:28} {mine:9.1f}  {pn:40} {peer:9.1f} {ratio:7.3f}  {target}")

# PNG save at the zlib level of each PNGQuality choice against libpng.
png = []
mem = {}
for kind, img in ((0, "screenshot"), (1, "photo")):
    for quality, level in ((0, 0), (1, 6), (2, 1), (3, 9)):
        name = f"BM_PngEncode/{kind}/{level}/process_time/real_time"
        if name not in ours:
            continue
        mine = (ms(name), ms(name, "cpu_time"), ours[name]["file_MB"])
        mem[(img, level)] = ours[name].get("peak_extra_MB")
        for adaptive, how in ((1, "own filters"), (0, "filter none")):
            peer = f"BM_PeerLibpngEncode/{kind}/{level}/{adaptive}/process_time/real_time"
            if peer in ours:
                png.append((img, quality, level, how, mine, (ms(peer), ms(peer, "cpu_time"), ours[peer]["file_MB"])))
if png:
    print()
    print("PNG save vs libpng at the same zlib level (target: time <= 0.5, size <= 1.0)")
    print(f"{'picture':11} {'Q':>1} {'lvl':>3} {'libpng':12} {'ours ms':>8} {'cpu':>6} {'MB':>7}  "
          f"{'libpng ms':>9} {'cpu':>6} {'MB':>7}  {'time':>5} {'cpu':>5} {'size':>5}")
    for img, quality, level, how, (m, mc, mb), (p, pc, pb) in png:
        print(f"{img:11} {quality:1} {level:3} {how:12} {m:8.1f} {mc:6.1f} {mb:7.3f}  {p:9.1f} {pc:6.1f} {pb:7.3f}  "
              f"{m / p:5.2f} {mc / pc:5.2f} {mb / pb:5.2f}")
    print("peak memory of one save beyond the picture (file included), MB: " +
          ", ".join(f"{img} level {level} {v:.1f}" for (img, level), v in mem.items() if v is not None))
else:
    print("(libpng not found at build time: no PNG comparison)")
if png_only:
    sys.exit(0)

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
