#!/usr/bin/env bash
# Benchmark of tramis-cli --report at scale: the HTML protocol of N pairs (default 1e6)
# against the estimate alone on the same files. Prints wall time (median of alternating
# runs) and peak memory (maximum resident set size from /usr/bin/time, the figure
# `/usr/bin/time -v` shows) of both, their ratios (goal: the protocol's peak at most 1.5
# times the estimate's) and the size of the protocol. The protocol is written as a
# stream, so its size does not count against memory.
#
# The old-system file is generated (bench_generate_points), the new one is its image
# under a known transformation (tramis-cli --apply), both into bench/data/ (git-ignored).
#
# Usage: bench/report-memory.sh [PAIRS] [BUILD_DIR]
#   (default build; needs tramis-cli and bench_generate_points)
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
pairs=${1:-1000000}
build=${2:-$root/build}
cli=$build/cli/tramis-cli
generator=$build/bench/bench_generate_points
data=$root/bench/data
work=$(mktemp -d "${TMPDIR:-/tmp}/tramis-report-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
runs=3

for tool in "$cli" "$generator"; do
  [ -x "$tool" ] || { echo "missing $tool: cmake --build $build --target tramis-cli bench_generate_points" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (package time)" >&2; exit 1; }

# shellcheck source=bench/common.sh
source "$root/bench/common.sh"

old=$data/report-$pairs-alt.txt
new=$data/report-$pairs-neu.erg
if [ ! -s "$old" ] || [ ! -s "$new" ]; then
  mkdir -p "$data"
  echo "generating $pairs pairs into $data ..." >&2
  "$generator" "$pairs" "$old.part" && mv "$old.part" "$old"
  "$cli" --apply "$Xo $Yo $a $o" "$old" -o "$new" >/dev/null
fi
cat "$old" "$new" >/dev/null  # into the page cache

median() { printf "%s\n" "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", v[int((NR + 1) / 2)] }'; }
row() { printf "%-28s %10s %12s\n" "$@"; }

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
declare -A t mem
for ((run = 1; run <= runs; run++)); do
  measure "$cli" "$old" "$new"
  t[estimate]+=" $seconds"; mem[estimate]+=" $peak_mb"
  measure "$cli" "$old" "$new" --report "$work/protokoll.html"
  t[report]+=" $seconds"; mem[report]+=" $peak_mb"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# shellcheck disable=SC2086  # the runs' figures are lists of words
{
  time_estimate=$(median ${t[estimate]}); time_report=$(median ${t[report]})
  peak_estimate=$(median ${mem[estimate]}); peak_report=$(median ${mem[report]})
}
size_mb=$(awk -v b="$(stat -c %s "$work/protokoll.html")" 'BEGIN { printf "%.1f", b / 1048576 }')

echo "tramis-cli --report, $pairs pairs, median of $runs alternating runs"
echo "load average before: $load_before, after: $load_after"
row "" "time [s]" "peak [MB]"
row "estimate alone" "$time_estimate" "$peak_estimate"
row "estimate and --report" "$time_report" "$peak_report"
row "ratio" "$(ratio "$time_report" "$time_estimate")" "$(ratio "$peak_report" "$peak_estimate")"
echo "protocol: $size_mb MB; peak memory goal (at most 1.5 x the estimate's): $(verdict "$(ratio "$peak_report" "$peak_estimate")" 1.5 "<=")"
