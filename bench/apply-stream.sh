#!/usr/bin/env bash
# Benchmark of the streaming tramis-cli --apply. Prints one table:
#   - 1e6 named points: tramis-cli --apply against cct -z 0 -t 0 +proj=helmert on the same
#     file, wall time, median of alternating runs (goal: at least 5x faster);
#   - peak memory (maximum resident set size from /usr/bin/time) at 1e6, 1e7 and, with
#     --1e8, at 1e8 points (goal: at most 64 MB each);
#   - time 1e7 / 1e6 and 1e8 / 1e7 (goal: at most 10.5 each);
#   - the 1e6 result byte for byte against reading the whole file and writeResultFile, and
#     streamed with 0, 1 and 2 worker threads beside the calling thread (bench_apply);
#   - tramis-cli --apply at 1e6 against the two-core bound that bench_apply measures, half
#     the time of reading the whole file plus writing the result file (goal: at most 1.3x).
# The 1e6 and 1e7 files are generated into bench/data/ (git-ignored) and kept; the 1e8 file
# (about 3.5 GB, and its 4.6 GB result) only with --1e8, and both are deleted afterwards.
#
# Usage: bench/apply-stream.sh [--1e8] [BUILD_DIR]
#   (default build; needs tramis-cli, bench_apply and bench_generate_points)
set -euo pipefail
export LC_ALL=C

big=0
if [ "${1:-}" = "--1e8" ]; then big=1; shift; fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli=$build/cli/tramis-cli
compare=$build/bench/bench_apply
generator=$build/bench/bench_generate_points
data=$root/bench/data
work=$(mktemp -d "${TMPDIR:-/tmp}/tramis-stream-bench-XXXXXX")
trap 'rm -rf "$work" "$data/stream-1e8.txt" "$data/stream-1e8.txt.part"' EXIT

# shellcheck source=bench/common.sh
source "$root/bench/common.sh"
require_programs "tramis-cli bench_apply bench_generate_points" "$cli" "$compare" "$generator"

parameters="$Xo $Yo $a $o"
echo "1 0 0" > "$work/one.txt"
proj=$("$cli" --proj --apply "$parameters" "$work/one.txt" -o "$work/one.erg")

generate() {  # generate COUNT TAG
  local file=$data/stream-$2.txt
  [ -s "$file" ] && return
  mkdir -p "$data"
  echo "generating $1 points into $file ..." >&2
  "$generator" "$1" "$file.part"
  mv "$file.part" "$file"
}

row() { printf "%-34s %6s %5s %10s %10s\n" "$@"; }

# The two commands compared; /usr/bin/time runs programs, not shell functions.
# shellcheck disable=SC2206  # the PROJ operation is a list of words
cct_command=(cct -z 0 -t 0 -c 2,3 -o "$work/cct.txt" $proj)
cli_command=("$cli" --apply "$parameters" -o "$work/apply.erg")

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
generate 1000000 1e6
generate 10000000 1e7
cat "$data/stream-1e6.txt" "$data/stream-1e7.txt" >/dev/null  # into the page cache

declare -A t mem runs
# 1e6: tramis-cli and cct in turn, so that a change in the machine's load hits both alike.
first=("${cli_command[@]}" "$data/stream-1e6.txt") second=("${cct_command[@]}" "$data/stream-1e6.txt")
alternate 7
t[cli,1e6]=$first_seconds; mem[cli,1e6]=$first_peak; runs[1e6]=7
t[cct,1e6]=$second_seconds; mem[cct,1e6]=$second_peak
cp "$work/apply.erg" "$work/apply-1e6.erg"
"$compare" "$parameters" "$data/stream-1e6.txt" "$work" 3 > "$work/ways.txt"
cmp -s "$work/apply-1e6.erg" "$work/whole.erg" && identity=identical || identity=DIFFERENT
rm -f "$work"/*.erg

cli_times=() cli_peaks=()
for _ in 1 2 3; do
  measure "${cli_command[@]}" "$data/stream-1e7.txt"; cli_times+=("$seconds"); cli_peaks+=("$peak_mb")
done
t[cli,1e7]=$(median "${cli_times[@]}"); mem[cli,1e7]=$(maximum "${cli_peaks[@]}"); runs[1e7]=3
rm -f "$work/apply.erg"

tags="1e6 1e7"
if [ "$big" = 1 ]; then
  generate 100000000 1e8
  cat "$data/stream-1e8.txt" >/dev/null
  measure "${cli_command[@]}" "$data/stream-1e8.txt"
  t[cli,1e8]=$seconds; mem[cli,1e8]=$peak_mb; runs[1e8]=1
  in8=$(du -b "$data/stream-1e8.txt" | awk '{ printf "%.2f", $1 / 1e9 }')
  out8=$(du -b "$work/apply.erg" | awk '{ printf "%.2f", $1 / 1e9 }')
  rm -f "$work/apply.erg" "$data/stream-1e8.txt"
  tags="$tags 1e8"
fi
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo
echo "streaming tramis-cli --apply   ($(nproc) CPUs, shared; load average before $load_before, after $load_after; $(date -u +%FT%TZ))"
echo "PROJ operation: $proj"
echo
row "run" "points" "runs" "time [s]" "peak [MB]"
row "----------------------------------" "------" "-----" "----------" "----------"
row "cct -z 0 -t 0 +proj=helmert" 1e6 7 "${t[cct,1e6]}" "${mem[cct,1e6]}"
for tag in $tags; do
  row "tramis-cli --apply" "$tag" "${runs[$tag]}" "${t[cli,$tag]}" "${mem[cli,$tag]}"
done
[ "$big" = 1 ] && echo "(1e8: input $in8 GB, result file $out8 GB)"
echo
sed 's/^/  /' "$work/ways.txt"

speed=$(ratio "${t[cct,1e6]}" "${t[cli,1e6]}")
bound=$(awk '/^two-core bound/ { print $NF }' "$work/ways.txt")
to_bound=$(ratio "${t[cli,1e6]}" "$bound")
echo
echo "goals"
printf "  %-46s %8s  goal %-8s %s\n" "1e6: cct time / tramis-cli time" "${speed}x" ">= 5x" "$(verdict "$speed" 5 ">=")"
printf "  %-46s %8s  goal %-8s %s\n" "1e6: tramis-cli time / two-core bound" "${to_bound}x" "<= 1.3x" "$(verdict "$to_bound" 1.3 "<=")"
for tag in $tags; do
  printf "  %-46s %8s  goal %-8s %s\n" "peak memory at $tag [MB]" "${mem[cli,$tag]}" "<= 64" "$(verdict "${mem[cli,$tag]}" 64 "<=")"
done
r76=$(ratio "${t[cli,1e7]}" "${t[cli,1e6]}")
printf "  %-46s %8s  goal %-8s %s\n" "time 1e7 / time 1e6" "$r76" "<= 10.5" "$(verdict "$r76" 10.5 "<=")"
if [ "$big" = 1 ]; then
  r87=$(ratio "${t[cli,1e8]}" "${t[cli,1e7]}")
  printf "  %-46s %8s  goal %-8s %s\n" "time 1e8 / time 1e7" "$r87" "<= 10.5" "$(verdict "$r87" 10.5 "<=")"
fi
printf "  %-46s %8s\n" "1e6 result vs whole file + writeResultFile" "$identity"
