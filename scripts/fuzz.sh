#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while on a scratch copy of
# its seed corpus. Exits non-zero when any target finds a crash (the reproducer is left in
# the build folder as crash-*, leak-* or timeout-*).
#
#   scripts/fuzz.sh [seconds per target, default 30] [build folder, default build-fuzz]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
build=${2:-build-fuzz}
targets=(fuzz_str_to_double fuzz_file_name_part fuzz_coordinate_reader fuzz_line_block_reader
         fuzz_result_line fuzz_float_to_str fuzz_option_parser fuzz_point_formats fuzz_terminal_text
         fuzz_html_protocol)

cmake -S . -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRAMIS_FUZZ=ON -DTRAMIS_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz_targets

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=()
for target in "${targets[@]}"; do
  seeds=fuzz/corpus/${target#fuzz_}
  scratch=fuzz/corpus-run/${target#fuzz_}
  mkdir -p "$scratch"
  cp -n "$seeds"/* "$scratch"/ 2>/dev/null || true
  echo "== $target: ${seconds} s =="
  # Crash files go to the build folder, never into the source tree.
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$build/$target-" -print_final_stats=1 "$scratch" 2>"$build/$target.log"; then
    failed+=("$target")
    tail -n 40 "$build/$target.log"
  fi
  grep -E '^stat::number_of_executed_units|^Done [0-9]+ runs' "$build/$target.log" || true
done

if ((${#failed[@]})); then
  echo "Fuzzing found crashes in: ${failed[*]} (reproducers: $build/<target>-crash-*)" >&2
  exit 1
fi
echo "No target found a crash."
