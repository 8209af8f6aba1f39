#!/usr/bin/env bash
# Peak memory of each image command on a big picture, each in its own
# process (see tools/memory_peak.cpp). Usage: bench/memory.sh [SIZE] [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
tool=build/native/bench/hueloom_bench_memory
size="${1:-16384}"
folder="${2:-build/native/bench}"
for op in invert grayscale reduce256 fill-1000 pixelate-1000 snapshot-undo save-bmp snapshot-undo-in-memory save-bmp-in-memory; do
    "$tool" "$op" "$size" "$folder"
done
