#!/usr/bin/env bash
# Our CSS texts, APCA figures and named colours held against programs we did
# not write: colorjs.io and apca-w3 (npm, installed by setup) for 50,000
# colours and 10,000 pairs, and headless Chromium, which paints 10,000 of
# the colours from each text onto a canvas and reads the pixel back.
# Usage: css_witnesses.sh CSS_TOOL WORKDIR
set -uo pipefail
tool="$1" work="$2" here="$(cd "$(dirname "$0")" && pwd)"
modules="${HUELOOM_DEPS:-/opt/hueloom-deps}/npm/node_modules"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
for need in "$modules/colorjs.io" "$modules/apca-w3"; do
    [ -d "$need" ] || { echo "FAIL: $need is missing (scripts/setup.sh installs it)"; exit 1; }
done
"$tool" texts 50000 >texts.txt && "$tool" apca 10000 >apca.txt && "$tool" names >names.txt || exit 1
node "$here/css_witnesses.mjs" "$modules" texts.txt apca.txt names.txt || exit 1

browser=$(command -v chromium || command -v chromium-browser || true)
[ -n "$browser" ] || { echo "FAIL: chromium is not installed (scripts/setup.sh installs it)"; exit 1; }
"$tool" texts 10000 >few.txt && "$tool" exact 10000 >exact.txt || exit 1
as_js() { sed 's/"/\\"/g; s/^/"/; s/$/",/' "$1"; }
{
    echo '<!DOCTYPE html><html><body><pre id="out"></pre><script>const rows = ['
    as_js few.txt
    echo '], exact_ = ['
    as_js exact.txt
    cat <<'JS'
];
const c = document.createElement("canvas"); c.width = c.height = 1;
const g = c.getContext("2d", { willReadFrequently: true });
const paint = (text) => {
  g.fillStyle = "#000"; g.fillStyle = text; g.fillRect(0, 0, 1, 1);
  const p = g.getImageData(0, 0, 1, 1).data;
  return `${p[0]} ${p[1]} ${p[2]}`;
};
// A text that paints another colour must paint what the colour's exact
// value paints: the difference is then Chromium's own arithmetic.
let bad = [], own = 0, n = 0;
rows.forEach((row, i) => {
  const [rgb, ...css] = row.split("\t"), exact = exact_[i].split("\t").slice(1);
  css.forEach((text, k) => {
    const got = paint(text); n++;
    if (got === rgb) return;
    if (got === paint(exact[k])) own++; else bad.push(`${text} paints ${got}, not ${rgb} (exact: ${paint(exact[k])})`);
  });
});
document.getElementById("out").textContent = `RESULT ${n} ${bad.length} ${own}\n` + bad.slice(0, 20).join("\n");
</script></body></html>
JS
} >page.html
out=$(timeout 120 "$browser" --headless --no-sandbox --disable-gpu --user-data-dir="$work/profile" \
      --force-color-profile=srgb --dump-dom "file://$work/page.html" 2>/dev/null)
result=$(grep -o 'RESULT [0-9]* [0-9]* [0-9]*' <<<"$out")
read -r _ painted wrong own <<<"$result"
if [ -z "$result" ] || [ "$wrong" != 0 ]; then
    echo "FAIL: Chromium: ${result:-no result}"; grep -v RESULT <<<"$out" | sed -n '/<pre/,/<\/pre>/p' | head -20; exit 1
fi
echo "ok: Chromium painted $painted texts of 10000 colours in their colour, but for $own that it paints so from the exact values too"
