#!/usr/bin/env bash
# Sets up the machine (idempotent), builds the three configurations and runs
# every test: native unit tests, the Windows-side tests under Wine and the
# end-to-end scenarios against the real Hueloom.exe, in one CTest run.
# Extra arguments go to ctest (e.g. -R e2e.picking).
set -euo pipefail
cd "$(dirname "$0")/.."
start=$(date +%s)

bash scripts/setup.sh

# The compiler cache hits across clones of the tree, not only in this one.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
for preset in native mingw64 mingw32; do
    echo "== configure and build: $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j2
done
echo "== built in $(( $(date +%s) - start ))s"

# One CTest tree over the three builds, so one summary closes the run.
cat > build/CTestTestfile.cmake <<'CTEST'
subdirs("native")
subdirs("mingw64")
subdirs("mingw32")
CTEST

i686_missing="$(bash scripts/wine.sh --i686 || true)"
if [ -n "$i686_missing" ]; then
    echo "== the i686 build's Wine tests will be skipped: $i686_missing"
fi
# The Wine lanes (Xvfb, wineserver) end with the run, whatever happens.
trap 'python3 tests/e2e/harness.py teardown --work build/e2e >/dev/null 2>&1 || true' EXIT

# The Wine tests spend most of their time waiting (for a window, for Wine),
# so five of them side by side, each in its own lane, keep two cores busy
# (four left the cores idle a fifth of the run: 335 s against 273 s here).
jobs=5
export HUELOOM_E2E_LANES=$jobs

log=build/ctest.log
set +e
# A test that fails is run once more (the GUI tests share two cores with
# Wine's own services); every test that needed the second run is named below.
ctest --test-dir build --output-on-failure --no-tests=error -j$jobs --timeout 600 --repeat until-pass:2 "$@" \
    2>&1 | tee "$log"
rc=${PIPESTATUS[0]}
set -e

# "Test #N: NAME ...***Failed" followed later by "Test #N: NAME ... Passed".
rerun="$(sed -nE 's/.*Test +#[0-9]+: ([^ ]+) .*\*\*\*(Failed|Timeout|Exception).*/F \1/p; s/.*Test +#[0-9]+: ([^ ]+) .* Passed .*/P \1/p' "$log" \
         | awk '$1 == "F" { bad[$2] = 1 } $1 == "P" && ($2 in bad) { print $2 }' | sort -u | paste -sd' ' -)"
skipped="$(grep -c '(Skipped)$' "$log" || true)"
total="$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$log" | tail -n1)"
failed="$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$log" | tail -n1)"
summary="== ${total:-?} tests: ${failed:-?} failed, $skipped skipped"
if [ "$skipped" != 0 ]; then
    summary+=" (${i686_missing:-see the list above})"
fi
summary+=", passed on rerun: ${rerun:-none}; $(( $(date +%s) - start ))s in all"
echo "$summary"
exit $rc
