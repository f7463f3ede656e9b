#!/usr/bin/env bash
# Makes docs/screenshot.png: starts the real program on a virtual X display, reads two
# sample coordinate files through its own menu commands, runs "Parameter" and takes a
# picture of the main window. Then makes docs/analysis.png: reads the twelve control
# points of samples/ (one with a blunder), opens "Paßpunkte prüfen..." and takes a picture
# of the "Paßpunktanalyse" with the blunder's row selected, and docs/analysis-aus.png with
# that pair switched off. Then docs/import.png, the import dialog with the preview of a
# file without header, and docs/pairing-report.png, the report "Paarung der Paßpunkte"
# after "Parameter" on a new file that lacks one control point. Needs Xvfb, xdotool and
# ImageMagick's import (scripts/install-deps.sh installs them).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

build=${BUILD_DIR:-build}
output=${1:-docs/screenshot.png}
analysis_output=${2:-docs/analysis.png}
switched_off_output=${3:-docs/analysis-aus.png}
import_output=${4:-docs/import.png}
report_output=${5:-docs/pairing-report.png}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tramis

work=$(mktemp -d)
xvfb_pid=""
program_pid=""
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Five control points in Gauss-Krueger coordinates, and two more points that only the
# transformation would carry over. The new system is the old one turned by 0.0125 gon,
# scaled by 23.5 ppm and shifted, with a few millimetres of noise.
cat >"$work/alt.txt" <<'DATA'
1001 4567123.456 5432987.654
1002 4567456.789 5433120.321
1003 4567301.234 5432650.987
1004 4566980.111 5432801.222
1005 4567250.500 5432890.750
2001 4567200.000 5432800.000
2002 4567350.250 5432950.125
DATA
cat >"$work/neu.txt" <<'DATA'
1001 4568149,163 5432431,102
1002 4568482,532 5432563,706
1003 4568326,880 5432094,394
1004 4568005,776 5432244,697
1005 4568276,188 5432334,173
DATA

source scripts/virtual-display.sh
start_virtual_display

# German regional settings: the values are shown with a decimal comma.
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 QT_QPA_PLATFORM=xcb
(cd "$work" && exec "$root/$build/app/tramis") &
program_pid=$!

window=$(xdotool search --sync --onlyvisible --name '^KEL Vovezorevarovaduvorir' | head -n 1)
xdotool windowfocus --sync "$window"

# Opens a coordinate file through the command behind `keys`: the dialog with `title`
# starts in the program's working folder, so the bare file name is enough.
open_file() {
  local keys=$1 title=$2 name=$3 dialog
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers "$keys"
  dialog=$(xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
  xdotool windowfocus --sync "$dialog"
  sleep 0.5
  xdotool type --delay 40 "$name"
  sleep 0.3
  xdotool key Return
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "^$title\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  echo "the dialog \"$title\" did not close" >&2
  return 1
}

open_file ctrl+a 'Koordinatendatei Altsystem öffnen' alt.txt
open_file ctrl+n 'Koordinatendatei Neusystem öffnen' neu.txt

# Berechnen > Parameter: the menu opens on its access key with its first item active.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+b
sleep 1
xdotool key Return
sleep 2

mkdir -p "$(dirname "$output")"
import -window "$window" "$output"
echo "written: $output"

# The control-point analysis of the sample files: twelve pairs, the seventh with a
# blunder of a few centimetres.
cp samples/passpunkte_alt.asc samples/passpunkte_neu.asc "$work/"
open_file ctrl+a 'Koordinatendatei Altsystem öffnen' passpunkte_alt.asc
open_file ctrl+n 'Koordinatendatei Neusystem öffnen' passpunkte_neu.asc
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+p
analysis=$(xdotool search --sync --onlyvisible --name '^Paßpunktanalyse$' | head -n 1)
xdotool windowfocus --sync "$analysis"
sleep 0.5
# The table has the focus on its first row: six times Down selects the seventh pair.
for _ in 1 2 3 4 5 6; do xdotool key Down; done
sleep 1
import -window "$analysis" "$analysis_output"
echo "written: $analysis_output"

# Space unticks the selected pair: the estimate without the blunder, which becomes a
# check point.
xdotool key space
sleep 1
import -window "$analysis" "$switched_off_output"
echo "written: $switched_off_output"
xdotool key Escape
sleep 0.5

# Datei > Importieren...: a file without header, fields between ';', with height, code and
# one line that holds no point. The dialog starts with what reading it without a choice
# would do and marks the bad line.
cat >"$work/messung.txt" <<'DATA'
1001;4567123,456;5432987,654;101,52;GS
1002;4567456,789;5433120,321;;GS
1003;4567301,234;5432650,987;99,87;MP
1004;4566980,111;54328O1,222;100,03;MP
1005;4567250,500;5432890,750;102,11;GS
DATA
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+d
sleep 0.5
xdotool key i
importer=$(xdotool search --sync --onlyvisible --name '^Importieren$' | head -n 1)
xdotool windowfocus --sync "$importer"
sleep 0.5
xdotool type --delay 30 "$work/messung.txt"
xdotool key Return
sleep 1
import -window "$importer" "$import_output"
echo "written: $import_output"
xdotool key Escape
sleep 0.5

# The new system without point 1004: paired by position, every pair after it is wrong, and
# the status bar's button opens the report that names them.
grep -v '^1004 ' samples/passpunkte_neu.asc >"$work/ohne1004_neu.asc"
open_file ctrl+n 'Koordinatendatei Neusystem öffnen' ohne1004_neu.asc
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+b
sleep 1
xdotool key Return
sleep 2
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove --window "$window" $((WIDTH - 40)) $((HEIGHT - 10)) click 1
report=$(xdotool search --sync --onlyvisible --name '^Paarung der Paßpunkte$' | head -n 1)
sleep 1
import -window "$report" "$report_output"
echo "written: $report_output"
