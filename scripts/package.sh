#!/usr/bin/env bash
# Builds the Debian package tramis_<version>_amd64.deb with CPack and prints its path.
# Usage: scripts/package.sh [BUILD_DIR]   (default build-package; an existing build folder
# of the program, such as the one scripts/test.sh makes, is reused with its settings, and
# the package's pieces, manual pages and changelog, are switched on in it)
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:-build-package}
if [ -f "$dir/CMakeCache.txt" ]; then
  cmake -S . -B "$dir" -DTRAMIS_PACKAGING=ON >&2
else
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRAMIS_BUILD_TESTS=OFF \
    -DTRAMIS_BUILD_BENCHMARKS=OFF -DTRAMIS_PACKAGING=ON >&2
fi
cmake --build "$dir" -j "$(nproc)" >&2
# CPack writes into the build folder; the package is named after the one version definition.
(cd "$dir" && cpack -G DEB >&2)
package=$(ls -t "$dir"/tramis_*_amd64.deb | head -n 1)
echo "$package"
