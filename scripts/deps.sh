#!/usr/bin/env bash
# Installs the Debian packages that building and testing Notarium needs, and only those missing.
# As root it runs apt-get; otherwise sudo; without sudo it prints the command to run.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev qt6-translations-l10n
  fonts-ipafont-gothic
  libx11-dev libxcb1-dev
  xvfb xauth xdotool
  dpkg-dev file lintian desktop-file-utils appstream xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  apt_get=(apt-get)
elif command -v sudo >/dev/null 2>&1; then
  apt_get=(sudo apt-get)
else
  echo "Please run as root: apt-get update && apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${apt_get[@]}" update -q
"${apt_get[@]}" install -y -q --no-install-recommends "${missing[@]}"
