#!/usr/bin/env bash
# Holds our image files against third-party tools:
#  - every PNG we write passes `pngcheck -v`, carries its chunks in our order
#    and reads back in ImageMagick with the same pixels as the source;
#  - every BMP we write reads back in ImageMagick with the same pixels;
#  - djpeg decodes our JPEGs at quality 1 and 100; they are baseline JFIF
#    with three components, and quality 100 stays close to the source;
#  - our PNG decoder and BMP reader read ImageMagick's files (all PNG colour
#    types and row filters, BMP headers of every version and colour masks)
#    with the same pixels as ImageMagick.
# Usage: image_third_party.sh IMAGE_TOOL WORKDIR
set -uo pipefail

tool="$1"
work="$2"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ok() { echo "ok: $*"; }

for t in pngcheck convert compare identify djpeg; do
    command -v "$t" >/dev/null || { echo "FAIL: $t is not installed (scripts/setup.sh installs it)"; exit 1; }
done

rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
"$tool" samples . || { echo "FAIL: image_tool samples"; exit 1; }

# Number of differing pixels between two files as ImageMagick reads them.
differing() { compare -metric AE "$1" "$2" null: 2>&1; }

same_pixels() {  # reference, file, what
    local n
    n=$(differing "$1" "$2")
    if [ "$n" = "0" ]; then ok "$3: same pixels"; else fail "$3: $n pixels differ ($1 vs $2)"; fi
}

chunk_order() { pngcheck -v "$1" | sed -n 's/^ *chunk \([A-Za-z]\{4\}\) at .*/\1/p' | uniq | tr '\n' ' '; }

for bpp in 1 4 8 15 16 24 32; do
    png="sample_$bpp.png"
    if out=$(pngcheck -v "$png" 2>&1); then ok "pngcheck $png"; else fail "pngcheck $png: $out"; fi
    expected="IHDR tIME tEXt hlPW gAMA "
    case $bpp in 15|16) expected+="sBIT " ;; esac
    case $bpp in 1|4|8) expected+="PLTE " ;; esac
    expected+="IDAT IEND "
    order=$(chunk_order "$png")
    [ "$order" = "$expected" ] && ok "$png chunk order" || fail "$png chunk order: '$order', expected '$expected'"
    case $bpp in
        1|4|8) kind="$bpp-bit palette" ;;
        *) kind="24-bit RGB" ;;
    esac
    grep -q "$kind, non-interlaced" <<<"$out" && ok "$png is $kind" || fail "$png is not '$kind': $out"
    same_pixels "sample_$bpp.ppm" "$png" "ImageMagick reads $png"
    same_pixels "sample_$bpp.ppm" "sample_$bpp.bmp" "ImageMagick reads sample_$bpp.bmp"
done

# IDAT chunks of 32768 bytes and a non-empty rest.
sizes=$(pngcheck -v big_24.png | sed -n 's/^ *chunk IDAT at .*, length \([0-9]*\).*/\1/p' | tr '\n' ' ')
read -r -a idat <<<"$sizes"
n=${#idat[@]}
good=1
[ "$n" -ge 2 ] || good=0
for ((i = 0; i < n - 1; i++)); do [ "${idat[$i]}" = 32768 ] || good=0; done
[ "$n" -ge 1 ] && [ "${idat[$((n - 1))]}" -gt 0 ] && [ "${idat[$((n - 1))]}" -le 32768 ] || good=0
[ $good = 1 ] && ok "IDAT chunk sizes: $sizes" || fail "IDAT chunk sizes: $sizes"
pngcheck -q big_24.png >/dev/null && ok "pngcheck big_24.png" || fail "pngcheck big_24.png"
same_pixels big_24.ppm big_24.png "ImageMagick reads big_24.png"

# Truecolour rows compressed in pieces: pngcheck inflates the one zlib
# stream across them and lists every row's filter; the four-colour rows stay
# unfiltered, the photo-like ones are filtered; ImageMagick (libpng) reads
# the same pixels.
if trace=$(pngcheck -vv pieces_24.png 2>&1); then ok "pngcheck pieces_24.png"; else fail "pngcheck pieces_24.png: $(tail -n2 <<<"$trace")"; fi
filters=$(sed -n '/row filters/,/out of/{/row filters/d;s/(.*//;p}' <<<"$trace" | tr -s ' ' '\n' | grep -v '^$')
none=$(grep -c '^0$' <<<"$filters")
other=$(grep -c '^[1-4]$' <<<"$filters")
if [ $((none + other)) = 2801 ] && [ "$none" -ge 1397 ] && [ "$other" -ge 1000 ]; then
    ok "pieces_24.png row filters: $none none, $other filtered"
else
    fail "pieces_24.png row filters: $none none, $other filtered (2801 rows)"
fi
same_pixels pieces_24.ppm pieces_24.png "ImageMagick reads pieces_24.png"

# Filter results as exported.
for f in reduced.png grey.png; do
    pngcheck -q "$f" >/dev/null && ok "pngcheck $f" || fail "pngcheck $f"
    grep -q "8-bit palette" <<<"$(pngcheck "$f")" && ok "$f is 8-bit palette" || fail "$f is not 8-bit palette"
done
same_pixels reduced.ppm reduced.png "ImageMagick reads reduced.png"
same_pixels reduced.ppm reduced.bmp "ImageMagick reads reduced.bmp"
same_pixels grey.ppm grey.png "ImageMagick reads grey.png"
colours=$(identify -format '%k' reduced.png)
[ "$colours" -le 256 ] && ok "reduced.png has $colours colours" || fail "reduced.png has $colours colours"

# JPEG: djpeg decodes, baseline (SOF0), JFIF, three components.
for q in q1 q100 q90_32; do
    if trace=$(djpeg -verbose -verbose -outfile "$q.ppm" "$q.jpg" 2>&1); then ok "djpeg $q.jpg"; else fail "djpeg $q.jpg: $trace"; fi
    grep -q "Start Of Frame 0xc0" <<<"$trace" && ok "$q.jpg is baseline" || fail "$q.jpg is not baseline"
    grep -qi "JFIF APP0 marker" <<<"$trace" && ok "$q.jpg is JFIF" || fail "$q.jpg has no JFIF marker"
    grep -q "components=3" <<<"$trace" && ok "$q.jpg has 3 components" || fail "$q.jpg: not 3 components"
    grep -q "width=160, height=120" <<<"$trace" || fail "$q.jpg has the wrong size"
done
# Mean absolute error as a fraction of the full scale.
mae() { compare -metric MAE "$1" "$2" null: 2>&1 | sed -n 's/.*(\(.*\))/\1/p'; }
e100=$(mae photo.ppm q100.ppm)
e1=$(mae photo.ppm q1.ppm)
e90=$(mae photo.ppm q90_32.ppm)
awk -v a="$e100" -v b="$e1" -v c="$e90" 'BEGIN { exit !(a < 0.01 && c < 0.02 && b > a) }' \
    && ok "JPEG errors: q100 $e100, q90 $e90, q1 $e1" || fail "JPEG errors: q100 $e100, q90 $e90, q1 $e1"

# Our PNG decoder on ImageMagick's files.
make_png() {  # name, output format prefix, source and options...
    local name=$1 format=$2
    shift 2
    convert "$@" "${format}im_$name.png" 2>/dev/null || { fail "convert for $name"; return 1; }
}
for src in sample_24.ppm photo.ppm; do
    base=${src%.ppm}
    make_png "${base}_none" PNG24: "$src" -define png:compression-filter=0
    make_png "${base}_adaptive" PNG24: "$src" -define png:compression-filter=5
    make_png "${base}_palette" PNG8: "$src" -colors 200
    make_png "${base}_grey" PNG: "$src" -colorspace Gray -depth 8
    make_png "${base}_mono" PNG: "$src" -monochrome
    make_png "${base}_rgba" PNG32: "$src" -alpha set
    make_png "${base}_48" PNG48: "$src" -depth 16
    make_png "${base}_greyalpha" PNG: "$src" -colorspace Gray -alpha set -define png:color-type=4
done
for f in im_*.png; do
    if "$tool" decode-png "$f" "ours_${f%.png}.ppm"; then
        same_pixels "$f" "ours_${f%.png}.ppm" "our decoder reads $f ($(pngcheck "$f" | sed 's/.*(\(.*\), [-0-9.]*%).*/\1/'))"
    else
        fail "our decoder rejects $f"
    fi
done

# Our PNG decoder on the PngSuite (from Debian's libpng source, unpacked by
# setup): every file, interlaced ones included, gives ImageMagick's RGBA
# samples; the same files cut short or with a damaged chunk are refused.
suite="${HUELOOM_DEPS:-/opt/hueloom-deps}/pngsuite"
if [ -f "$suite/basn0g01.png" ]; then
    n=0
    for f in "$suite"/*.png "$suite"/interlaced/*.png; do
        name=$(basename "$(dirname "$f")")_$(basename "$f" .png)
        # The samples as stored (ImageMagick would apply the suite's gAMA), at
        # 16 bits, rounded to 8 as our decoder does: v / 257 to the nearest.
        convert "$f" -set colorspace sRGB -depth 16 "RGBA:ref_$name.rgba16" 2>/dev/null \
            && python3 -c 'import sys, array; a = array.array("H", open(sys.argv[1], "rb").read()); open(sys.argv[2], "wb").write(bytes((v + 128) // 257 for v in a))' \
                "ref_$name.rgba16" "ref_$name.rgba" || { fail "ImageMagick cannot read $name"; continue; }
        if "$tool" decode-rgba "$f" "ours_$name.rgba" && cmp -s "ref_$name.rgba" "ours_$name.rgba"; then
            n=$((n + 1))
        else
            fail "PngSuite $name: our RGBA differs from ImageMagick's"
        fi
    done
    ok "PngSuite: $n files decoded exactly"
    head -c 200 "$suite/ibasn2c16.png" >cut.png
    { head -c 60 "$suite/basn6a08.png"; printf '\377'; tail -c +62 "$suite/basn6a08.png"; } >damaged.png
    for f in cut.png damaged.png; do
        if "$tool" decode-rgba "$f" /dev/null 2>/dev/null; then fail "a broken PngSuite file is accepted: $f"; else ok "refused: $f"; fi
    done
else
    fail "the PngSuite is not unpacked (scripts/setup.sh does it)"
fi

# Our BMP reader on ImageMagick's files.
make_bmp() {  # name, output format prefix, options...
    local name=$1 format=$2
    shift 2
    convert sample_24.ppm "$@" "${format}im_$name.bmp" 2>/dev/null || { fail "convert for $name"; return 1; }
}
make_bmp v3_24 BMP3:
make_bmp v5_24 BMP:
make_bmp v3_mono BMP3: -monochrome
make_bmp v3_pal8 BMP3: -colors 100 -compress none
make_bmp v5_565 BMP: -define bmp:subtype=RGB565
make_bmp v5_555 BMP: -define bmp:subtype=RGB555
make_bmp v5_argb BMP: -alpha set
for f in im_*.bmp; do
    if "$tool" read-bmp "$f" "ours_${f%.bmp}.ppm"; then
        same_pixels "$f" "ours_${f%.bmp}.ppm" "our reader reads $f"
    else
        fail "our reader rejects $f"
    fi
done
# Run-length compressed files are refused with a clear message.
convert sample_24.ppm -colors 100 BMP3:rle.bmp
if msg=$("$tool" read-bmp rle.bmp rle.ppm 2>&1); then
    fail "RLE BMP accepted"
else
    grep -q "compressed" <<<"$msg" && ok "RLE BMP refused: $msg" || fail "RLE BMP message: $msg"
fi

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all third-party checks passed"
