#!/usr/bin/env bash
# Benchmark of tramis-cli against PROJ's cct and against reading alone. Prints one table:
#   - applying known parameters to 1e6 points: tramis-cli --apply vs cct, alternating runs,
#     medians (goal >= 3x cct);
#   - estimating from two 1e6-point files vs only reading them (goal <= 1.5x);
#   - 1e7 points vs 1e6 points (goal <= 11x);
#   - peak memory vs the size of the input files (goal <= 2 x input + 50 MB).
# Test files of named points are generated into bench/data/ (git-ignored) and reused.
#
# Usage: bench/cli-vs-cct.sh [BUILD_DIR]   (default: build; needs tramis-cli and bench_cli_read)
set -euo pipefail
export LC_ALL=C

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cli=$build/cli/tramis-cli
reader=$build/bench/bench_cli_read
data=$root/bench/data
work=$(mktemp -d "${TMPDIR:-/tmp}/tramis-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT

# shellcheck source=bench/common.sh
source "$root/bench/common.sh"
require_programs "tramis-cli bench_cli_read" "$cli" "$reader"

# Old points: "P<i> rw hw" in a 100 km square of Gauss-Krueger size; new points: the old
# ones transformed, with up to +-2 mm of deterministic noise. Generated once.
generate() {
  local count=$1 tag=$2
  local old=$data/old-$tag.txt new=$data/new-$tag.txt
  if [ -s "$old" ] && [ -s "$new" ]; then return; fi
  mkdir -p "$data"
  echo "generating $count points into $data ($tag) ..." >&2
  awk -v n="$count" -v a="$a" -v o="$o" -v Xo="$Xo" -v Yo="$Yo" \
      -v old="$old.part" -v new="$new.part" 'BEGIN {
    s = 12345
    for (i = 1; i <= n; i++) {
      s = (s * 1103515245 + 12345) % 2147483648; rw = 3450000 + s / 21474.83648
      s = (s * 1103515245 + 12345) % 2147483648; hw = 5750000 + s / 21474.83648
      e = ((i * 7) % 5 - 2) * 0.001
      printf "P%d %.4f %.4f\n", i, rw, hw > old
      printf "P%d %.4f %.4f\n", i, Yo + a * rw + o * hw + e, Xo + a * hw - o * rw - e > new
    }
  }'
  mv "$old.part" "$old"
  mv "$new.part" "$new"
}

generate 100000 1e5
generate 1000000 1e6
generate 10000000 1e7

# The PROJ operation for the parameters, as tramis-cli itself states it.
echo "1 0 0" > "$work/one.txt"
proj=$("$cli" --proj --apply "$Xo $Yo $a $o" "$work/one.txt" -o "$work/one.erg")

# best TIMES NAME COMMAND...: the fastest of TIMES runs (peak memory of that run).
best() {
  local times=$1; shift
  local best_seconds="" best_peak=""
  for _ in $(seq "$times"); do
    measure "$@"
    if [ -z "$best_seconds" ] || awk -v a="$seconds" -v b="$best_seconds" 'BEGIN { exit !(a < b) }'; then
      best_seconds=$seconds; best_peak=$peak_mb
    fi
  done
  seconds=$best_seconds; peak_mb=$best_peak
}

size_mb() { du -bc "$@" | awk 'END { printf "%.1f", $1 / 1048576 }'; }
rate() { awk -v n="$1" -v s="$2" 'BEGIN { printf "%.0f", (s > 0) ? n / s : 0 }'; }

row() { printf "%-44s %6s %9s %12s %10s %11s\n" "$@"; }

# Warm the page cache so that every program reads from memory alike.
cat "$data"/*.txt >/dev/null

declare -A t mem
for tag in 1e5 1e6 1e7; do
  runs=3; [ "$tag" = 1e7 ] && runs=1
  # tramis-cli --apply and cct in turn (medians of 7 runs, 3 at 1e7), so that a change in
  # the machine's load hits both alike.
  first=("$cli" --apply "$Xo $Yo $a $o" "$data/old-$tag.txt" -o "$work/apply.erg")
  # shellcheck disable=SC2206  # the PROJ operation is a list of words
  second=(cct -z 0 -t 0 -c 2,3 -o "$work/cct.txt" $proj "$data/old-$tag.txt")
  alternate $([ "$tag" = 1e7 ] && echo 3 || echo 7)
  t[apply,$tag]=$first_seconds; mem[apply,$tag]=$first_peak
  t[cct,$tag]=$second_seconds; mem[cct,$tag]=$second_peak
  best $runs "$reader" "$data/old-$tag.txt" "$data/new-$tag.txt"
  t[read,$tag]=$seconds; mem[read,$tag]=$peak_mb
  best $runs "$cli" "$data/old-$tag.txt" "$data/new-$tag.txt"
  t[estimate,$tag]=$seconds; mem[estimate,$tag]=$peak_mb
  best $runs "$cli" --proj "$data/old-$tag.txt" "$data/new-$tag.txt"
  t[estproj,$tag]=$seconds; mem[estproj,$tag]=$peak_mb
done

# The two programs must agree: compare the first lines of both outputs at 1e6.
check=$(paste <(head -n 1000 "$work/apply.erg" | tr -d '\r') <(head -n 1000 "$work/cct.txt") | awk '
  { d1 = $2 - $4; d2 = $3 - $5; if (d1 < 0) d1 = -d1; if (d2 < 0) d2 = -d2;
    if (d1 > m) m = d1; if (d2 > m) m = d2 } END { printf "%.2g", m }')

echo
echo "tramis-cli against cct and reading alone   ($(nproc) CPUs, $(date +%F))"
echo "PROJ operation: $proj"
echo
row "run" "points" "time [s]" "points/s" "peak [MB]" "input [MB]"
row "--------------------------------------------" "------" "---------" "------------" "----------" "-----------"
for tag in 1e5 1e6 1e7; do
  n=$(awk -v t="$tag" 'BEGIN { printf "%d", t + 0 }')
  in_old=$(size_mb "$data/old-$tag.txt")
  in_both=$(size_mb "$data/old-$tag.txt" "$data/new-$tag.txt")
  row "apply: tramis-cli --apply" "$tag" "${t[apply,$tag]}" "$(rate "$n" "${t[apply,$tag]}")" "${mem[apply,$tag]}" "$in_old"
  row "apply: cct +proj=helmert" "$tag" "${t[cct,$tag]}" "$(rate "$n" "${t[cct,$tag]}")" "${mem[cct,$tag]}" "$in_old"
  row "read both files (same reader)" "$tag" "${t[read,$tag]}" "$(rate "$n" "${t[read,$tag]}")" "${mem[read,$tag]}" "$in_both"
  row "estimate: tramis-cli ALT NEU (protocol)" "$tag" "${t[estimate,$tag]}" "$(rate "$n" "${t[estimate,$tag]}")" "${mem[estimate,$tag]}" "$in_both"
  row "estimate: tramis-cli --proj ALT NEU" "$tag" "${t[estproj,$tag]}" "$(rate "$n" "${t[estproj,$tag]}")" "${mem[estproj,$tag]}" "$in_both"
done

in6_old=$(size_mb "$data/old-1e6.txt"); in7_old=$(size_mb "$data/old-1e7.txt")
in6_both=$(size_mb "$data/old-1e6.txt" "$data/new-1e6.txt"); in7_both=$(size_mb "$data/old-1e7.txt" "$data/new-1e7.txt")
limit() { awk -v i="$1" 'BEGIN { printf "%.1f", 2 * i + 50 }'; }

g1=$(ratio "${t[cct,1e6]}" "${t[apply,1e6]}")
g2=$(ratio "${t[estimate,1e6]}" "${t[read,1e6]}")
g2p=$(ratio "${t[estproj,1e6]}" "${t[read,1e6]}")
g3a=$(ratio "${t[apply,1e7]}" "${t[apply,1e6]}")
g3e=$(ratio "${t[estimate,1e7]}" "${t[estimate,1e6]}")
echo
echo "goals"
printf "  %-58s %8s  goal %-8s %s\n" "apply 1e6: tramis-cli speed / cct speed" "${g1}x" ">= 3x" "$(verdict "$g1" 3 ">=")"
printf "  %-58s %8s  goal %-8s %s\n" "estimate 1e6 (protocol) / read both files" "${g2}x" "<= 1.5x" "$(verdict "$g2" 1.5 "<=")"
printf "  %-58s %8s  goal %-8s %s\n" "estimate 1e6 (--proj) / read both files" "${g2p}x" "<= 1.5x" "$(verdict "$g2p" 1.5 "<=")"
printf "  %-58s %8s  goal %-8s %s\n" "apply time 1e7 / 1e6" "${g3a}x" "<= 11x" "$(verdict "$g3a" 11 "<=")"
printf "  %-58s %8s  goal %-8s %s\n" "estimate time 1e7 / 1e6" "${g3e}x" "<= 11x" "$(verdict "$g3e" 11 "<=")"
for tag in 1e6 1e7; do
  io=$([ "$tag" = 1e6 ] && echo "$in6_old" || echo "$in7_old")
  ib=$([ "$tag" = 1e6 ] && echo "$in6_both" || echo "$in7_both")
  printf "  %-58s %8s  goal %-8s %s\n" "apply $tag peak memory [MB] (input $io MB)" "${mem[apply,$tag]}" "<= $(limit "$io")" "$(verdict "${mem[apply,$tag]}" "$(limit "$io")" "<=")"
  printf "  %-58s %8s  goal %-8s %s\n" "estimate $tag peak memory [MB] (input $ib MB)" "${mem[estimate,$tag]}" "<= $(limit "$ib")" "$(verdict "${mem[estimate,$tag]}" "$(limit "$ib")" "<=")"
done
echo "  largest difference tramis-cli vs cct over the first 1000 points of 1e7: $check m"
echo "  (result file: 11 significant digits, i.e. 1e-4 m at this size; cct: 4 decimals)"
