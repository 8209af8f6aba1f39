#!/usr/bin/env bash
# Sets up the machine (idempotent), builds Hueloom.exe and runs it under Wine.
# With a display (DISPLAY set) it opens there; otherwise it starts Xvfb and
# tells you how to look at it (e.g. `import -display :NN -window root shot.png`).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 -j2 --target Hueloom help_file

run_dir="${HUELOOM_RUN_DIR:-$PWD/build/run}"
mkdir -p "$run_dir"
# The help file goes beside the program, where its Help command looks.
cp build/mingw64/bin/Hueloom.exe build/mingw64/bin/Hueloom.chm "$run_dir/"

export WINEPREFIX="${WINEPREFIX:-$PWD/build/wine-run}"
export WINEARCH=win64 WINEDEBUG=-all LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
    n=77
    while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    echo "No display was set: Hueloom runs on Xvfb $DISPLAY."
    echo "Screenshot: import -display $DISPLAY -window root hueloom.png"
fi
cleanup() { wineserver -k 2>/dev/null || true; [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Preparing the Wine prefix (first run only)..."
    bash scripts/wine.sh wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
echo "Starting Hueloom (close it from the right star's menu: Hueloomの終了)."
bash scripts/wine.sh "$run_dir/Hueloom.exe"
