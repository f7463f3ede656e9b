#!/usr/bin/env bash
# Installs what is missing (the test profile of scripts/install-deps.sh), builds the program
# and runs the whole test suite twice:
# once in the normal build, once under AddressSanitizer and UndefinedBehaviorSanitizer.
# After the normal build it also builds and checks the Debian package, and cross-builds
# tramis-cli for Windows and compares it under Wine with the Linux build.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

# Tests and benchmarks on, also where scripts/run.sh last configured the same folder
# without them.
build_and_test() {
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DTRAMIS_BUILD_TESTS=ON -DTRAMIS_BUILD_BENCHMARKS=ON "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== Build and tests =="
build_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo

echo "== Debian package and its checks =="
package=$(bash scripts/package.sh build)
bash scripts/check-package.sh "$package"

echo "== tramis-cli for Windows: cross-build, and under Wine against the Linux build =="
bash scripts/windows-cli.sh build

echo "== Build and tests with AddressSanitizer and UndefinedBehaviorSanitizer =="
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
build_and_test build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTRAMIS_SANITIZE=ON

echo "== Fuzzing, 15 s per target =="
bash scripts/fuzz.sh 15
