#!/usr/bin/env bash
# A configure with tests, benchmarks and packaging off, as scripts/run.sh makes it, must not
# look for GoogleTest, Qt's test module or help2man (each search leaves its entry in the
# cache, found or not), and must still define the programs.
#   build-for-running.sh SOURCE_DIR BUILD_DIR GENERATOR
set -euo pipefail
source_dir=$1 build_dir=$2 generator=$3

rm -rf "$build_dir"
if ! cmake -S "$source_dir" -B "$build_dir" -G "$generator" -DTRAMIS_BUILD_TESTS=OFF \
    -DTRAMIS_BUILD_BENCHMARKS=OFF -DTRAMIS_PACKAGING=OFF >"$build_dir.log" 2>&1; then
  cat "$build_dir.log"
  echo "FAIL: the configure for running failed"
  exit 1
fi

status=0
searched=$(grep -E '^(GTest_DIR|GTEST_[A-Z_]*|Qt6Test_DIR|TRAMIS_HELP2MAN)[:=]' "$build_dir/CMakeCache.txt" || true)
if [ -n "$searched" ]; then
  echo "FAIL: a build for running looked for test or packaging tools:"
  echo "$searched"
  status=1
fi
for folder in tests packaging bench; do
  if [ -e "$build_dir/$folder" ]; then
    echo "FAIL: $folder/ is configured in a build for running"
    status=1
  fi
done
# Ninja lists "tramis: phony", Makefiles "... tramis". (Read whole: grep -q on the pipe
# would end the listing early and fail it.)
targets=$(cmake --build "$build_dir" --target help)
for target in tramis tramis-cli; do
  if ! grep -Eq "^(\.\.\. )?$target(:|\$)" <<<"$targets"; then
    echo "FAIL: no target $target"
    status=1
  fi
done
[ $status = 0 ] && echo "ok: no test or packaging tool looked for; tramis and tramis-cli defined"
exit $status
