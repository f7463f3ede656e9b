# Shared by the tramis-cli benchmark scripts (sourced, not run): the tools they need, the
# transformation of the generated data, and measuring one run of a program. Expects $work.

# require_programs BUILD_TARGETS PROGRAM...: stops unless every program and cct and
# /usr/bin/time are there.
require_programs() {
  local targets=$1; shift
  for tool in "$@"; do
    [ -x "$tool" ] || { echo "missing $tool: cmake --build $build --target $targets" >&2; exit 1; }
  done
  command -v cct >/dev/null || { echo "cct is missing (package proj-bin)" >&2; exit 1; }
  [ -x /usr/bin/time ] || { echo "/usr/bin/time is missing (package time)" >&2; exit 1; }
}

# The transformation of the generated data: d = 0.0123 gon, m = 1.0000123, Xo, Yo below.
Xo=-123.456
Yo=234.567
read -r a o < <(awk 'BEGIN { pi = atan2(0, -1); m = 1.0000123; t = 0.0123 * pi / 200;
                             printf "%.17g %.17g\n", m * cos(t), m * sin(t) }')

# measure COMMAND...: runs the command once with its output files in $work; sets
# seconds (wall clock) and peak_mb (maximum resident set size).
measure() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o "$work/time.txt" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt" || {
    echo "failed: $*" >&2; cat "$work/stderr.txt" >&2; exit 1; }
  end=$(date +%s%N)
  seconds=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", (e - s) / 1e9 }')
  peak_mb=$(awk 'END { printf "%.1f", $1 / 1024 }' "$work/time.txt")
}

median() { printf "%s\n" "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", v[int((NR + 1) / 2)] }'; }
maximum() { printf "%s\n" "$@" | sort -g | tail -n 1; }

# alternate RUNS: runs the commands in the arrays `first` and `second` in turn, RUNS times
# each, so that a change in the machine's load hits both alike; sets first_seconds and
# second_seconds (medians of the wall times) and first_peak and second_peak (largest).
alternate() {
  local runs=$1 a=() b=() pa=() pb=()
  for _ in $(seq "$runs"); do
    measure "${first[@]}"; a+=("$seconds"); pa+=("$peak_mb")
    measure "${second[@]}"; b+=("$seconds"); pb+=("$peak_mb")
  done
  first_seconds=$(median "${a[@]}"); second_seconds=$(median "${b[@]}")
  first_peak=$(maximum "${pa[@]}"); second_peak=$(maximum "${pb[@]}")
}

# (Comparisons inside awk's printf are bracketed: a bare ">" there redirects the output.)
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0) ? a / b : 0 }'; }
verdict() { awk -v v="$1" -v g="$2" -v op="$3" 'BEGIN {
  ok = (op == "<=") ? (v <= g) : (v >= g); printf "%s", ok ? "met" : "MISSED" }'; }
