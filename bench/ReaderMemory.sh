#!/usr/bin/env bash
# Measures the peak memory of reading a large coordinate file: runs the reader benchmark
# (which generates the file and reads it through the open commands' reader) under
# /usr/bin/time and prints the maximum resident size, in total and per point.
#
#   bench/ReaderMemory.sh [points, default 10000000] [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."

points=${1:-10000000}
build=${2:-build}

cmake --build "$build" --target bench_reader >/dev/null
report=$(mktemp)
trap 'rm -f "$report"' EXIT
/usr/bin/time -v -o "$report" "$build/bench/bench_reader" "$points"
peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
awk -v kb="$peak_kb" -v n="$points" \
  'BEGIN { printf "peak resident size %.1f MB for %d points: %.1f bytes per point\n", kb / 1024, n, kb * 1024 / n }'
