#!/usr/bin/env bash
# Makes docs/protocol.png: the first page of a PDF "Transformationsprotokoll" of the sample
# control points (samples/passpunkte_alt.asc, samples/passpunkte_neu.asc) with the point
# carrying a blunder, Pkt. 7, switched off, drawn by the program's own PDF writer and
# rendered by poppler's pdftoppm at 80 dpi (scripts/install-deps.sh installs it).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build}
output=${1:-docs/protocol.png}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tramis_protocol

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# German regional settings, as an office would file it.
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen
"$build/protocol/tramis_protocol" samples/passpunkte_alt.asc samples/passpunkte_neu.asc \
  "$work/protokoll.pdf" 7
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/protokoll.pdf" "$work/seite"
mkdir -p "$(dirname "$output")"
cp "$work/seite.png" "$output"
echo "written: $output"
