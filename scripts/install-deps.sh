#!/usr/bin/env bash
# Installs the Debian 12 packages Quillwave needs to build, run and test.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-webengine-dev-tools
  qt6-svg-dev qt6-tools-dev qt6-l10n-tools libqt6svg6 qt6-qpa-plugins
  libgl-dev libsqlite3-dev libbenchmark-dev
  xvfb xauth x11-utils xdotool openbox imagemagick ccache xdg-utils shared-mime-info
  fonts-dejavu-core adwaita-icon-theme lcov cloc
  # scripts/fuzz.sh: clang and its libFuzzer and sanitizer run-time libraries
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
