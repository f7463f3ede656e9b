#!/usr/bin/env bash
# Installs what building and starting the program needs (the run profile of
# scripts/install-deps.sh, none of the test tools), builds the program alone and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTRAMIS_BUILD_TESTS=OFF -DTRAMIS_BUILD_BENCHMARKS=OFF -DTRAMIS_PACKAGING=OFF -DTRAMIS_FUZZ=OFF
cmake --build build -j "$(nproc)" --target tramis
exec build/app/tramis
