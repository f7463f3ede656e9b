#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the program need.
# Only what is missing is installed; run as root or through sudo.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n qt6-qpa-plugins
  libgl-dev
  libeigen3-dev libboost-dev nlohmann-json3-dev libcli11-dev libcgal-dev
  libgtest-dev googletest
  clang libclang-rt-14-dev
  locales fonts-dejavu-core
  xvfb xauth imagemagick xdotool
  proj-bin time
  dpkg-dev file help2man man-db lintian desktop-file-utils appstream
  g++-mingw-w64-x86-64-posix wine64
  poppler-utils libxml2-utils
)

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

# The tests check number input and display under a German locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  as_root sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen
fi
