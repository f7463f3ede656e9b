#!/usr/bin/env bash
# Checks the Debian package: its file list, lintian, the desktop entry and the AppStream
# metainfo, and the programs unpacked into a scratch folder: tramis-cli on the samples,
# and the window program started on a virtual display and quit through its menu.
# Usage: scripts/check-package.sh PACKAGE.deb
set -euo pipefail
cd "$(dirname "$0")/.."
package=$(realpath "$1")
version=$(sed -n 's/^set(TRAMIS_FILE_VERSION "\(.*\)")$/\1/p' CMakeLists.txt)
app_id=example.kel.tramis

fail() { echo "check-package: $*" >&2; exit 1; }

[ "$(basename "$package")" = "tramis_${version}_amd64.deb" ] ||
  fail "package name $(basename "$package") does not carry the version $version"

echo "-- contents"
contents=$(dpkg-deb --contents "$package" | awk '{print $NF}' | sed 's|^\./|/|')
echo "$contents" | grep -v '/$'
for file in /usr/bin/tramis /usr/bin/tramis-cli /usr/share/tramis/Tramis.hlp \
            /usr/share/applications/tramis.desktop \
            /usr/share/icons/hicolor/48x48/apps/tramis.png \
            /usr/share/icons/hicolor/256x256/apps/tramis.png \
            "/usr/share/metainfo/$app_id.metainfo.xml" \
            /usr/share/man/man1/tramis-cli.1.gz /usr/share/man/man1/tramis.1.gz \
            /usr/share/doc/tramis/copyright /usr/share/doc/tramis/changelog.gz \
            /usr/share/tramis/samples/passpunkte_alt.asc \
            /usr/share/tramis/samples/passpunkte_neu.asc \
            /usr/share/tramis/samples/neupunkte_alt.asc; do
  echo "$contents" | grep -qxF "$file" || fail "$file is missing from the package"
done
dpkg-deb --field "$package" Depends | grep -q 'libqt6widgets6' ||
  fail "the dependencies found from the binaries are missing"

echo "-- lintian"
lintian --fail-on error "$package"

scratch=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
root=$scratch/root
dpkg-deb -x "$package" "$root"

echo "-- desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/tramis.desktop"
echo "-- appstreamcli validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml"
echo "-- manual page"
man -l "$root/usr/share/man/man1/tramis-cli.1.gz" 2>/dev/null | grep -q -- '--apply' ||
  fail "the manual page does not describe the options"

echo "-- tramis-cli from the package"
cli=$root/usr/bin/tramis-cli
samples=$root/usr/share/tramis/samples
export LC_ALL=C.UTF-8
"$cli" --help | grep -qxF "Version $version" || fail "tramis-cli --help does not show $version"
protocol=$("$cli" "$samples/passpunkte_alt.asc" "$samples/passpunkte_neu.asc" -o "$scratch/alt.erg")
echo "$protocol" | grep -q 'n = 12' || fail "tramis-cli did not pair the twelve sample points"
# Twelve lines separated by CR LF.
[ "$(awk 'END {print NR}' "$scratch/alt.erg")" = 12 ] || fail "the result file has not 12 lines"
head -n -1 "$scratch/alt.erg" | grep -qv $'\r$' && fail "the result file has a line end without CR"
parameters=$(echo "$protocol" | awk '$2 == "=" && ($1 == "Xo" || $1 == "Yo" || $1 == "a" || $1 == "o") {print $3}' | tr '\n' ' ')
"$cli" --apply "$parameters" "$samples/neupunkte_alt.asc" -o "$scratch/neu.erg" >/dev/null
[ "$(awk 'END {print NR}' "$scratch/neu.erg")" = 20 ] || fail "--apply did not transform the 20 further points"
echo "tramis-cli: --help, estimate and --apply on the samples ok"

echo "-- tramis from the package, on a virtual display"
# The help is found beside the program as /usr/bin/../share/tramis/Tramis.hlp.
[ -f "$root/usr/bin/../share/tramis/Tramis.hlp" ] || fail "the help is not where the program looks"
source scripts/virtual-display.sh
start_virtual_display
QT_QPA_PLATFORM=xcb "$root/usr/bin/tramis" &
program_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^KEL Vovezorevarovaduvorir' | head -n 1)
[ -n "$window" ] || fail "the main window did not appear"
echo "window: $(xdotool getwindowname "$window")"
# Datei > Exit, through the menu's access keys.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers alt+d
sleep 0.5
xdotool key --clearmodifiers e
status=0
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "tramis did not quit through Datei > Exit"
wait "$program_pid" || status=$?
program_pid=
[ "$status" = 0 ] || fail "tramis ended with status $status"
echo "tramis: started and quit with status 0"
echo "package checks passed"
