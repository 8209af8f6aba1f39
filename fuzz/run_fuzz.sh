#!/usr/bin/env bash
# Runs one fuzz target for a bounded time, seeded with small files written by
# our own encoders (pictures) or by this script (settings files). Fails when
# the fuzzer finds a crash, a hang, a leak, a value out of its range or a
# round-trip mismatch.
# Usage: run_fuzz.sh FUZZER IMAGE_TOOL WORKDIR png|bmp|ini SECONDS [extra libFuzzer flags]
set -euo pipefail
fuzzer=$1 tool=$2 work=$3 kind=$4 seconds=$5
shift 5
rm -rf "$work"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
if [ "$kind" = ini ]; then
    here="$(dirname "$0")"
    set -- -dict="$here/settings.dict" "$@"
    printf '[Window]\r\nTop=-500\r\nLeft=5000\r\n[Display]\r\nTOPMOST=on\r\nActiveColor=CLAQUA\r\nMaskColor=$00563412\r\n' \
        > "$work/seeds/display.ini"
    printf '[Window]\nTop=-2147483648\nLeft=-2147483648\n' > "$work/seeds/far.ini"
    printf '[Option]\nJPGQuality=0x7F\nPNGQuality=3\nOptionRectWidth=$32\nHotKeyGetColor=ctrl+shift+c\nHotKeyScreenCapture=^F5\nHotKeyWindowCapture=Alt+;\n[Capture]\nSleepTime=86400000\nCaptureCursor=19\n[Message]\nMsg_ID2=1\n[FileDir]\nInitialDirTxt="C:\\memo"\n' \
        > "$work/seeds/option.ini"
else
    "$tool" fuzz-seeds "$kind" "$work/seeds"
fi
exec "$fuzzer" "$work/corpus" "$work/seeds" -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=2048 \
    -timeout=10 -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$@"
