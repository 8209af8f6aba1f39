#!/usr/bin/env bash
# Runs one fuzz target for a bounded time, seeded with small files written by
# our own encoders. Fails when the fuzzer finds a crash, a leak or a
# round-trip mismatch.
# Usage: run_fuzz.sh FUZZER IMAGE_TOOL WORKDIR png|bmp SECONDS [extra libFuzzer flags]
set -euo pipefail
fuzzer=$1 tool=$2 work=$3 kind=$4 seconds=$5
shift 5
rm -rf "$work"
mkdir -p "$work/seeds" "$work/corpus" "$work/artifacts"
"$tool" fuzz-seeds "$kind" "$work/seeds"
exec "$fuzzer" "$work/corpus" "$work/seeds" -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=2048 \
    -timeout=10 -artifact_prefix="$work/artifacts/" -print_final_stats=1 "$@"
