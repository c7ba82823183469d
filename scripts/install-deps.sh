#!/usr/bin/env bash
# Installs the Debian 12 packages the designer needs to build, run and test.
# Only what is missing is installed, so a second run costs a second.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev libxkbcommon-dev
  qt6-webengine-dev qt6-svg-dev
  libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev
  fonts-dejavu-core xvfb xauth
  # building the Debian package and checking it as users get it
  dpkg-dev file lintian appstream man-db bash-completion libxml2-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root (or install them with sudo apt-get install ${missing[*]})." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
