#!/usr/bin/env bash
# Installs the Debian 12 packages of one of two profiles; only what is missing is installed.
# Run as root or through sudo.
#
#   scripts/install-deps.sh run     what building and starting the program needs
#                                   (scripts/run.sh): compiler, CMake, Qt, fonts, Qt's
#                                   translations and the header-only libraries
#   scripts/install-deps.sh test    that and everything the test command needs
#                                   (scripts/test.sh): GoogleTest, clang for the fuzzers,
#                                   MinGW-w64 and Wine, the package tools, Xvfb, poppler,
#                                   ... and the German locale the tests run under
#   scripts/install-deps.sh         the same as "test"
#   scripts/install-deps.sh PROFILE --list   prints the profile's packages, installs nothing
set -euo pipefail

run_packages=(
  build-essential cmake ninja-build
  qt6-base-dev qt6-qpa-plugins qt6-translations-l10n libgl-dev fonts-dejavu-core
  libeigen3-dev libboost-dev libcgal-dev nlohmann-json3-dev libcli11-dev
)
test_packages=(
  "${run_packages[@]}"
  libgtest-dev googletest
  clang libclang-rt-14-dev
  locales
  xvfb xauth imagemagick xdotool
  proj-bin time
  dpkg-dev file help2man man-db lintian desktop-file-utils appstream
  g++-mingw-w64-x86-64-posix wine64
  poppler-utils libxml2-utils libxml2-dev
)

usage() { sed -n '2,13s/^# \{0,1\}//p' "$0" >&2; exit 2; }

profile=${1:-test}
case $profile in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${test_packages[@]}") ;;
  *) usage ;;
esac
case ${2:-} in
  "") ;;
  --list) printf '%s\n' "${packages[@]}"; exit 0 ;;
  *) usage ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  as_root apt-get update
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests check number input and display under a German locale; the program itself
# takes whatever locale the user has.
if [ "$profile" = test ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
fi
